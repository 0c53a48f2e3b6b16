// Shared drawing routines.
#include "classlib/Drawing.h"

namespace classlib {

void Frame3D(TCanvas& canvas, TRect& rect, TColor topColor, TColor bottomColor, int width) {
  const TPen saved = canvas.Pen;
  canvas.Pen.Width = 1;
  canvas.Pen.Style = TPenStyle::psSolid;
  canvas.Pen.Mode = TPenMode::pmCopy;
  for (int i = 0; i < width && !rect.IsEmpty(); ++i) {
    const int right = rect.Right - 1, bottom = rect.Bottom - 1;
    canvas.Pen.Color = topColor;
    const TPoint top[] = {{rect.Left, bottom}, {rect.Left, rect.Top}, {right, rect.Top}};
    canvas.Polyline(top);
    canvas.Pen.Color = bottomColor;
    // The last point is not drawn, so the bottom line ends at the left edge.
    const TPoint low[] = {{right, rect.Top}, {right, bottom}, {rect.Left - 1, bottom}};
    canvas.Polyline(low);
    rect = rect.Inflate(-1, -1);
  }
  canvas.Pen = saved;
}

}  // namespace classlib
