#pragma once

#include <QPalette>

// The program's windows keep one light palette whatever colours the desktop hands out. Their
// design pairs fixed colours with the light window and button-face colours: blue and fuchsia
// charts on white, a red caption on the tab in front, the blue title with its olive shadow, the
// black, navy, red and blue lines of the About box. On a dark palette half of those pairs could no
// longer be read, so the windows stay light as a whole rather than half dark.

// Light grey window and button faces, white lists, black text, and a navy highlight that white
// text reads well on; greyed text for controls that cannot be used.
QPalette designPalette();

// Makes the design palette the application's: for every kind of control (a desktop may hand some
// kinds a palette of their own) and for the hints. Call it once the application object exists and
// before the first window is made; Qt keeps a palette set this way when the desktop changes its
// colours later.
void useDesignPalette();
