// Which of a document's macros may start without the user naming them: the
// AUTOEXEC macro, which runs when the document opens, and the Ctrl+letter
// macros (range names "\" and a letter or digit), which run on a key. A
// worksheet that holds any of them asks once when it is opened; after a No
// those names stay refused until the document is closed, and nothing else of
// it starts by itself. Names made later are the user's own and run.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace corvane {

// AUTOEXEC or "\" followed by a letter or digit, in any case.
bool IsAutoMacroName(std::string_view name);
// The current document's names of that kind, upper case, in table order.
std::vector<std::string> AutoMacroNames();
// The names as the open-time question lists them, one a line: the name (and
// its key) and the first line of its macro.
std::string AutoMacroList(const std::vector<std::string>& names);

// Refuses `names` in the current document until it is closed.
void RefuseDocumentMacros(const std::vector<std::string>& names);
// Whether the current document's macro of range name `name` may start on its
// key; false for a name refused when the document was opened.
bool MacroNameAllowed(std::string_view name);
// Whether the user refused the current document's macros when it was opened.
bool DocumentMacrosRefused();

}  // namespace corvane
