// The chart library's packed font: one 32-bit word per font, as the chart
// control sends and reads it. Bits 0..7 the size in points, 0x100 bold,
// 0x200 italic, 0x400 underline, 0x800 strike-out, bits 16..19 a face
// number: 1 Courier, 2 Courier New, 3 Helvetica, 4 Modern, 5 Roman,
// 6 Script, 7 Symbol, 8 Times, 9 Times New Roman, 10 Wingdings, 0 any other
// face (shown as Arial).
#pragma once

#include <cstdint>

#include "classlib/Graphics.h"

namespace chartlib {

// Faces compare without regard to case and blanks, so "TimesNewRoman" and
// "Times New Roman" are one face.
std::uint32_t PackChartFont(const classlib::TFont& font);
// Sets name, size and style; unpacking gives the real face names, so a font
// read back and packed again keeps its face. The colour is left as it is.
void UnpackChartFont(std::uint32_t packed, classlib::TFont& font);

}  // namespace chartlib
