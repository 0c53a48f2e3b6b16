// The macro toolbar without its window: a vertical bar of up to 50 buttons,
// each a line "name|hint|macro" of the macro library file and a 20 x 20
// glyph slot of the glyph strip. Here are what a line shows and runs, the
// bar's layout and hit test, scrolling limits, what the "Define Button"
// dialog edits, and the library file itself.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "classlib/Graphics.h"

namespace corvane {

inline constexpr int kMacroBarButtons = 50;
inline constexpr int kMacroBarPitch = 20;    // button pitch and glyph size
inline constexpr int kMacroBarStripHeight = kMacroBarButtons * kMacroBarPitch;
inline constexpr int kMacroBarUpArrow = -1, kMacroBarDownArrow = -2;
inline constexpr char kUnassignedMacro[] = "Unassigned Macro";

// The macro a button runs: the line after its second "|" (after the first
// when it has one, the whole line when none).
std::string MacroBarMacro(std::string_view line);
// The hint over a button: the line cut to 80 characters; with a "|", the
// text after the first up to the second (or the end). "Unassigned Macro" when
// that is empty or one blank.
std::string MacroBarHint(std::string_view line);
// The letters over a button's glyph: the first two of its name (the text
// before the first "|", at most 30 characters).
std::string MacroBarLetters(std::string_view line);

// How a bar of inner height `innerHeight` lays out: the whole buttons that
// fit, and the top arrow strip's height (the rest goes to the bottom strip).
struct TMacroBarLayout {
  int visible = 0;
  int margin = 0;
};
TMacroBarLayout MacroBarLayout(int innerHeight, int pitch = kMacroBarPitch);
// The button at height y of the inner area: -1 the up arrow strip, -2 below
// the last whole button.
int MacroBarHit(int y, const TMacroBarLayout& layout, int firstVisible, int pitch = kMacroBarPitch);
// Button i's rectangle in a bar `width` wide whose inner area starts at
// `top`; empty when i lies above the first visible button.
classlib::TRect MacroBarButtonRect(int i, const TMacroBarLayout& layout, int firstVisible, int top, int width,
                                   int pitch = kMacroBarPitch);
// The first visible button after scrolling by `delta`, kept between 0 and
// 52 less the bar's height divided by 22.
int MacroBarScrolled(int firstVisible, int delta, int barHeight);

// The "Define Button" dialog's fields for a line, and the line they make (the
// macro's lines run together).
struct TDefineButtonValue {
  std::string name, hint;
  std::vector<std::string> macroLines;
};
TDefineButtonValue DefineButtonValue(std::string_view line);
std::string DefineButtonLine(const TDefineButtonValue& value);

// The macro library file: one line per button, ended by CR LF. A missing
// file gives no lines; false when it could not be read or written.
bool ReadMacroLibrary(const std::string& path, std::vector<std::string>& lines);
bool WriteMacroLibrary(const std::string& path, const std::vector<std::string>& lines);

}  // namespace corvane
