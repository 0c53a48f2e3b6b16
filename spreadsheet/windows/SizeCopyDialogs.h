// The width-or-height dialog and the special copy dialog as values: their
// fields, the presets each takes from the selection when it opens, and what
// "&Ok" does with them. The forms copy their controls to and from these.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "spreadsheet/engine/BlockCopy.h"
#include "spreadsheet/engine/Range.h"

namespace corvane {

inline constexpr const char* kWidthHeightCaption = "Set  Width or Height";
inline constexpr const char* kSpecialCopyCaption = "Copy";
inline constexpr const char* kWidthPromptCaption = "PROPERTY : Specify Range";
inline constexpr const char* kCopyPromptCaption = "PROPERTY: Specify Range";
// Sizes a column or row may be given: 255 is the default marker, so a typed
// size stops below it.
inline constexpr int kLargestLineSize = 254;

// A number field left by the user: its text evaluated as a formula and given
// back in general number text (an empty text stays empty; one that does not
// evaluate gives the error result, -1).
std::string EvaluateNumberField(std::string_view text);
// The number a field holds (an empty field holds 0); false, with the error
// flag set to "Invalid Number", when its text does not evaluate to one.
bool NumberFieldValue(std::string_view text, double& x);

// Sets both panes' default column width (`columns`) or row height, in pixels.
using TDefaultSizeSetter = std::function<void(bool columns, int pixels)>;

struct TWidthHeightDialog {
  std::string rangeText;        // PEdit1 "R&ange: "
  std::string widthText;        // PEdit4 "&Width: ", characters
  std::string skipColumnsText;  // PEdit5 "&Skip Columns: "
  bool globalWidth = false;     // cb1 "&Global:"
  bool resetWidth = false;      // cbcolreset "R&eset:"
  std::string heightText;       // PEdit2 "&Height: ", pixels
  std::string skipRowsText;     // PEdit3 "&Skip Rows: "
  bool globalHeight = false;    // cb2 "&Global:"
  bool resetHeight = false;     // cbrowht "R&eset:"
  TRange selection;             // seen at activation
  bool reload = false;          // the next activation takes the presets
  unsigned changed = 0;         // bit 0: a width control was used, bit 1: a height control

  // Opening at a page: the next activation loads the presets.
  void Open() { reload = true; }
  // Activation: only after Open, the selection and the first row's height
  // and first column's width; the changed mask and both "&Global:" boxes are
  // cleared. False when nothing was loaded.
  bool Activate(const TRange& gridSelection);
  // "&Ok": the range field read and the sizes of the pages used set, every
  // (skip + 1)-th column or row counted from column A or row 1. A range that
  // does not read, or a size that is not a number from 0 to 254, changes
  // nothing (the error is shown). `setDefault` takes a "&Global:" size.
  bool Apply(const TDefaultSizeSetter& setDefault);
};

struct TSpecialCopyDialog {
  std::string fromText;    // PEdit1 "&From: "
  std::string toText;      // PEdit2 "&To: "
  int mode = kCopyValues;  // the "Type of Copy" radio buttons
  std::string factorText = "1";
  TRange selection;
  bool reload = true;

  // Activation: only the first after creation (and after each prompt) takes
  // the selection into "&From: ". False when nothing was loaded.
  bool Activate(const TRange& gridSelection);
  // "&Ok": both ranges read, then the engine's special copy in the chosen
  // mode. A range or factor that does not read changes nothing (the error is
  // shown).
  bool Apply();
};

}  // namespace corvane
