// The "Range Name" dialog as values: its two fields, the list of names with
// its total, and what each button does to the current document's range names.
// The form copies its controls to and from these fields, asks the reset
// question, hides itself for the range prompts and beeps when told.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "spreadsheet/engine/Range.h"

namespace corvane {

inline constexpr const char* kRangeNameCaption = "Range Name";
inline constexpr const char* kResetNamesQuestion = "Reset All Names: Are You Sure?";
inline constexpr const char* kSpecifyRangeCaption = "Specify Range";

struct TRangeNameDialog {
  std::string name;       // "&Name: "
  std::string rangeText;  // "&Range: "
  std::vector<std::string> names;  // the list, in table order
  TRange selection;       // the selection the dialog saw when it opened

  // Activation after opening: the selection becomes the default range, the
  // fields are cleared, the range field shows the selection's text and the
  // list is read again.
  void Activate(const TRange& currentSelection);
  void LoadNames();
  std::string TotalText() const;

  // A click on list entry `index`: its name and range.
  void Pick(int index);
  // "&Create": false (nothing created) for an empty name or a range field
  // that does not read; the error flag then says why.
  bool Create();
  // "&Delete": false for a name that is not there (the form beeps); else the
  // entry goes from the list and both fields are cleared.
  bool Delete();
  // "&Reset..." after the question was answered yes.
  void Reset();
  // The preset of the range prompt of a double click on the range field, of
  // "&Build ..." and of "&Table ...": the range field's text when it reads,
  // else the selection.
  TRange PromptPreset() const;
};

// What the range prompts of "&Build ..." and "&Table ..." do with the text
// accepted: read it as a range (false, with the error flag set, when it does
// not read) and build the names from the two-column table there, or write
// the table of names there.
bool RangeNameBuildFromText(std::string_view rangeText);
bool RangeNameTableFromText(std::string_view rangeText);

}  // namespace corvane
