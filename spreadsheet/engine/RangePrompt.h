// The range prompt: how a command asks the user for a range on the main
// window's prompt line, typed or pointed at on the sheet. One prompt runs at a
// time; the command's callback receives the range text when the user accepts,
// and on cancel only while the call-back-on-cancel flag stays set.
//
// The screen side goes through the window services: the preset range becomes
// the active grid's selection, the main menus are disabled, the prompt line
// shows the caption and the range text, the mode indicator says "RANGE" and
// the grid has the focus; the end puts all of it back, and the selection that
// was there before the prompt.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "spreadsheet/engine/Range.h"

namespace corvane {

inline constexpr const char* kRangeModeText = "RANGE";
inline constexpr int kRangeModeColour = 177;
// The preset range's text handed to the callback on cancel is cut to this.
inline constexpr std::size_t kCancelTextChars = 20;

// The callback parses the text (RangeText.h) and reports its own errors; what
// it returns is what RangePromptEnd returns.
using TRangePromptFn = std::function<bool(std::string_view rangeText)>;

// Begins a prompt with " " + caption on the prompt line and the preset range's
// text (RangeToText) as its text; the call-back-on-cancel flag is set. False,
// changing nothing, while another prompt is active.
bool RangePromptStart(std::string_view caption, TRangePromptFn callback, const TRange& preset);

// Clears (or sets) the flag of the active prompt; the insert and delete
// commands clear it right after the start, so a cancel does nothing.
void RangePromptSetCallBackOnCancel(bool callBack);

// Ends the active prompt: READY, menus enabled, prompt line hidden, the saved
// selection back. Accept calls the callback with the prompt line's text;
// cancel calls it with the preset range's text while the flag is set. The
// callback's result, or false when nothing was called or no prompt was active.
// The callback may start the next prompt.
bool RangePromptEnd(bool accept);

// True while a prompt is active.
bool RangePromptActive();

}  // namespace corvane
