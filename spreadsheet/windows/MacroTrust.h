// Which of a document's macros may start without the user naming them: the
// AUTOEXEC macro, which runs when the document opens, the Ctrl+letter macros
// (range names "\" and a letter or digit), which run on a key, and the sheet
// buttons, which run on a click anywhere over them. A worksheet that holds
// any of them asks once when it is opened; after a No those names and the
// buttons that came with the file stay refused until the document is closed,
// and nothing else of it starts by itself. Names and buttons made later are
// the user's own and run.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "spreadsheet/engine/WindowServices.h"

namespace corvane {

inline constexpr const char* kMacrosOffText = " are off: No was answered when it was opened. Close it and open it "
                                              "again to let them run.";

// AUTOEXEC or "\" followed by a letter or digit, in any case.
bool IsAutoMacroName(std::string_view name);
// The current document's names of that kind, upper case, in table order.
std::vector<std::string> AutoMacroNames();
// The names and the sheet buttons as the open-time question lists them, one
// a line: the name (and its key) or the button's caption, and the first line
// of its macro.
std::string AutoMacroList(const std::vector<std::string>& names, const std::vector<TSheetButton>& buttons = {});

// Refuses `names` and the sheet buttons of the file in the document open in
// `slot` until it is closed.
void RefuseDocumentMacros(int slot, const std::vector<std::string>& names);
// Whether the current document's macro of range name `name` may start on its
// key; false for a name refused when the document was opened.
bool MacroNameAllowed(std::string_view name);
// Whether the user refused the macros of the current document (or of the
// document open in `slot`) when it was opened.
bool DocumentMacrosRefused();
bool DocumentMacrosRefused(int slot);
// What a refused sheet button says: the macros of the document `fileName`
// are off.
std::string MacrosOffMessage(std::string_view fileName);

}  // namespace corvane
