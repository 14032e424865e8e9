#pragma once

namespace platform {

// Whether standard error is a terminal a person watches, and how many columns it has (0 when it
// cannot say). A progress line is drawn only there, never into a file or a pipe.
bool standardErrorIsTerminal();
int standardErrorColumns();

} // namespace platform
