// Small drawing routines that controls share, on any canvas.
#pragma once

#include "classlib/Canvas.h"

namespace classlib {

// Draws a frame `width` pixels wide along the inside of `rect`, its top and
// left edges in `topColor` and its bottom and right edges in `bottomColor`
// (a raised look with light over dark, sunken the other way round), and
// shrinks `rect` by it. The canvas's pen is left as it was.
void Frame3D(TCanvas& canvas, TRect& rect, TColor topColor, TColor bottomColor, int width);

}  // namespace classlib
