#pragma once

namespace platform {

// Whether someone carries out a window's request to be maximised. On X11 that is a window manager
// that has announced itself on the root window; without one a maximised window keeps its normal
// size, so the program fills the screen itself. Other platforms always have a compositor that
// does it, and the off-screen platform maximises on its own.
bool windowManagerRuns();

} // namespace platform
