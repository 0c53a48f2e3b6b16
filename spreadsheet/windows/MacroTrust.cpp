// The open-time refusal of a document's self-starting macros.
#include "spreadsheet/windows/MacroTrust.h"

#include <algorithm>
#include <cctype>

#include "spreadsheet/engine/DocumentTable.h"
#include "spreadsheet/engine/RangeNames.h"
#include "spreadsheet/engine/TextCase.h"
#include "spreadsheet/windows/FileCommands.h"

namespace corvane {

namespace {

constexpr std::string_view kAutoExec = "AUTOEXEC";

TDocSlot* CurrentSlot() {
  TDocSlot* doc = DocSlot(CurrentDocSlot());
  return doc != nullptr && doc->rowHeads != nullptr ? doc : nullptr;
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

std::string AutoMacroList(const std::vector<std::string>& names) {
  std::string list;
  for (const std::string& name : names) {
    const int index = FindRangeName(name);
    if (index <= 0) continue;
    const TRange start = RangeNameRange(*RangeNameAt(index));
    if (!list.empty()) list += '\n';
    list += name == kAutoExec ? name : name + " (Ctrl+" + name.substr(1) + ")";
    list += ": " + AutoExecFirstLine(std::min(start.firstRow, start.lastRow), std::min(start.firstCol, start.lastCol));
  }
  return list;
}

void RefuseDocumentMacros(const std::vector<std::string>& names) {
  if (TDocSlot* doc = CurrentSlot()) doc->refusedMacros.insert(doc->refusedMacros.end(), names.begin(), names.end());
}

bool MacroNameAllowed(std::string_view name) {
  const TDocSlot* doc = CurrentSlot();
  if (doc == nullptr) return true;
  const std::string upper = UpperCaseText(name);
  return std::find(doc->refusedMacros.begin(), doc->refusedMacros.end(), upper) == doc->refusedMacros.end();
}

bool DocumentMacrosRefused() {
  const TDocSlot* doc = CurrentSlot();
  return doc != nullptr && !doc->refusedMacros.empty();
}

}  // namespace corvane
