// The merge dialog as values: the file being merged, the target cell, whether
// the whole file or one of its range names is taken, and how its numbers
// combine with the sheet's. The form copies its controls to and from these
// fields; Apply runs the merge.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace corvane {

// Merge kinds, as the Merge command asks for them.
inline constexpr int kMergeByValue = 1;
inline constexpr int kMergeByFormula = 2;
// Actions (the tags of the action buttons).
inline constexpr int kMergeReplace = 1;
inline constexpr int kMergeSum = 2;
inline constexpr int kMergeDifference = 3;

inline constexpr const char* kMergeInsertCellCaption = "Specify Insert Cell";

struct TMergeDialog {
  std::string fileName;
  int kind = kMergeByValue;
  int action = kMergeReplace;
  std::string targetText;               // "&Insert at Cell: "
  bool wholeFile = true;                // "&All" checked, else "Ra&nge:"
  std::vector<std::string> rangeNames;  // the list: "NAME: A1..B5"
  std::string rangeChoice;              // the list's text
  bool fill = false;                    // the next activation fills the dialog

  // Opens the dialog for `file`: kind 1 (by value) or 2 (by formula); the
  // next activation fills it.
  void Setup(std::string_view file, int mergeKind);
  // "Merge Value" or "Merge by Formula".
  std::string Caption() const;
  // The action buttons are offered for a merge by value only.
  bool ActionsEnabled() const { return kind == kMergeByValue; }
  // The first activation after Setup: the file's range names (the first one
  // shown), the cursor cell as the target, "&Replace". Later activations
  // (after a range prompt) keep what the user set.
  void Activate(int cursorRow, int cursorCol);
  // Choosing or typing in the list checks "Ra&nge:".
  void ChooseRange(std::string_view text);

  // The LoadWorksheet mode: by value 21, 22 or 23 by action; by formula
  // always 25 (replace).
  int Mode() const;
  // The range name handed to the merge: "" for "&All" or an empty list text;
  // else the list text up to its ": " (a typed range text such as "A1..B5"
  // or "B:A1..B:C5" is taken whole).
  std::string RangeName() const;
  // Reads the target cell: false, with the reason shown, when it is no cell.
  bool Validate() const;
  // Validates and merges. False, merging nothing, when the target does not
  // read or the merge failed; either has shown why.
  bool Apply() const;

 private:
  bool ReadTarget(int& row, int& col) const;
};

}  // namespace corvane
