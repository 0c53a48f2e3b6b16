// Picture cells on Windows: bitmap files drawn on a GDI canvas.
#pragma once

#include "spreadsheet/windows/CellPainter.h"

namespace corvane {

// Draws a cell's bitmap file, loaded once through the engine's bitmap cache
// (which keeps it by name). Names on another machine ("\\server\...") and
// device names are refused, so that painting a document never reaches the
// network or a device.
TPictureSource& WindowsPictureSource();

}  // namespace corvane
