// The engine platform of the Windows program: the C heap, the system's beep,
// speaker tones, tick count and time-stamp counter, bitmap files loaded as GDI
// bitmaps, and the system's upper case of the ANSI code page.
#pragma once

#include "spreadsheet/engine/EnginePlatform.h"

namespace corvane {

// The one Windows platform object; it lives until the program ends.
TEnginePlatform& WindowsEnginePlatform();

}  // namespace corvane
