// The open-time refusal of a document's self-starting macros.
#include "spreadsheet/windows/MacroTrust.h"

#include <algorithm>
#include <cctype>

#include "spreadsheet/engine/CellStore.h"
#include "spreadsheet/engine/DocumentTable.h"
#include "spreadsheet/engine/FormulaText.h"
#include "spreadsheet/engine/RangeNames.h"
#include "spreadsheet/engine/TextCase.h"
#include "spreadsheet/engine/TextRoutines.h"
#include "spreadsheet/windows/FileCommands.h"

namespace corvane {

namespace {

constexpr std::string_view kAutoExec = "AUTOEXEC";

TDocSlot* OpenSlot(int slot) {
  TDocSlot* doc = DocSlot(slot);
  return doc != nullptr && doc->rowHeads != nullptr ? doc : nullptr;
}

TDocSlot* CurrentSlot() { return OpenSlot(CurrentDocSlot()); }

// A macro's first line or a button's caption as the question shows it: on
// one line (a line break or other control character from the file shows as
// a blank, so the file cannot add lines of its own to the question), cut to
// 80 characters with "..." after.
std::string ShownLine(std::string text) {
  constexpr std::size_t kShown = 80;
  for (char& c : text)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
  if (text.size() > kShown) text = text.substr(0, kShown) + "...";
  return text;
}

// The first line of a named macro: the cell's text without a label prefix.
std::string FirstMacroLine(int row, int col) {
  if (row < 0 || col < 0) return "";
  TCellHandle handle = CellFind(row, col);
  std::string text = CellContentsText(handle);
  if (CellKindOf(CellPtr(handle)) == kKindLabel && !text.empty() && IsLabelPrefix(text.front())) text.erase(0, 1);
  return ShownLine(std::move(text));
}

}  // namespace

bool IsAutoMacroName(std::string_view name) {
  if (UpperCaseText(name) == kAutoExec) return true;
  return name.size() == 2 && name[0] == '\\' && std::isalnum(static_cast<unsigned char>(name[1])) != 0;
}

std::vector<std::string> AutoMacroNames() {
  std::vector<std::string> names;
  for (int index = 1; index <= RangeNameCount(); ++index) {
    const TRangeName* entry = RangeNameAt(index);
    if (entry == nullptr) continue;
    std::string name = UpperCaseText(RangeNameText(*entry));
    if (IsAutoMacroName(name)) names.push_back(name);
  }
  return names;
}

std::string AutoMacroList(const std::vector<std::string>& names, const std::vector<TSheetButton>& buttons) {
  // A file may hold any number of buttons: the question lists the first
  // ones and counts the rest, so its Yes and No stay on the screen.
  constexpr std::size_t kListed = 20;
  std::vector<std::string> lines;
  for (const std::string& name : names) {
    const int index = FindRangeName(name);
    if (index <= 0) continue;
    const TRange start = RangeNameRange(*RangeNameAt(index));
    lines.push_back((name == kAutoExec ? name : name + " (Ctrl+" + name.substr(1) + ")") + ": " +
                    FirstMacroLine(std::min(start.firstRow, start.lastRow), std::min(start.firstCol, start.lastCol)));
  }
  for (const TSheetButton& button : buttons) lines.push_back("Button \"" + ShownLine(button.caption) + "\": " + ShownLine(button.macro));
  std::string list;
  for (std::size_t i = 0; i < lines.size() && i < kListed; ++i) list += (i > 0 ? "\n" : "") + lines[i];
  if (lines.size() > kListed) list += "\nand " + std::to_string(lines.size() - kListed) + " more";
  return list;
}

void RefuseDocumentMacros(int slot, const std::vector<std::string>& names) {
  TDocSlot* doc = OpenSlot(slot);
  if (doc == nullptr) return;
  doc->macrosRefused = true;
  doc->refusedMacros.insert(doc->refusedMacros.end(), names.begin(), names.end());
}

bool MacroNameAllowed(std::string_view name) {
  const TDocSlot* doc = CurrentSlot();
  if (doc == nullptr) return true;
  const std::string upper = UpperCaseText(name);
  return std::find(doc->refusedMacros.begin(), doc->refusedMacros.end(), upper) == doc->refusedMacros.end();
}

bool DocumentMacrosRefused() { return DocumentMacrosRefused(CurrentDocSlot()); }

bool DocumentMacrosRefused(int slot) {
  const TDocSlot* doc = OpenSlot(slot);
  return doc != nullptr && doc->macrosRefused;
}

std::string MacrosOffMessage(std::string_view fileName) {
  return "The macros of " + FileNameOnly(fileName) + kMacrosOffText;
}

}  // namespace corvane
