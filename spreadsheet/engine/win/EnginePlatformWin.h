// The engine platform of the Windows program: the C heap, the system's beep,
// speaker tones, tick count and time-stamp counter, and bitmap files loaded
// as GDI bitmaps.
#pragma once

#include "spreadsheet/engine/EnginePlatform.h"

namespace corvane {

// The one Windows platform object; it lives until the program ends.
TEnginePlatform& WindowsEnginePlatform();

}  // namespace corvane
