#pragma once

#include <QIcon>
#include <QSize>
#include <functional>

class QPainter;

// Draws a glyph in its own square of design units (16 by 16 unless said otherwise), with the
// painter already scaled to whatever size the glyph is drawn at.
using GlyphShapes = std::function<void(QPainter &painter)>;

// A button glyph drawn from its shapes for each size and pixel ratio asked of it, so that it is as
// sharp as the text beside it at every scale of the screen; a disabled glyph is drawn faded.
QIcon vectorGlyph(GlyphShapes shapes, QSize design = QSize(16, 16));

// The glyphs the program's windows share.
namespace glyphs {
// A blue "i" in a white disc: something to read.
void information(QPainter &painter);
// A small printer with a sheet coming out of it.
void printer(QPainter &painter);
// Three bars of used (blue) and free (fuchsia) space on a base line: the disk statistics.
void diskBars(QPainter &painter);
// An open door with an arrow leading out of it: leaving the program.
void exitDoor(QPainter &painter);
} // namespace glyphs
