// The values of the data dialog (TSortDlg, caption "Data"): ten pages, one
// per data command, each with range and value fields. The form copies its
// controls to and from a TDataDialogValues; everything the dialog decides
// (presets, page sizes, the term grid, validation and the page's command) is
// here, so it runs without a window.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "spreadsheet/engine/Range.h"

namespace corvane {

enum TDataPage : int {
  kPageFill = 0,
  kPageSort,
  kPageQuestion,
  kPageBin,
  kPageParse,
  kPageGoal,
  kPageRegress,
  kPageMultiRegress,
  kPageTable,
  kPageForm,
  kDataPageCount
};

struct TDataPageInfo {
  const char* word;   // caption word: "Data: " and this
  int width, height;  // at 96 pixels per inch
};
const TDataPageInfo& DataPageInfo(int page);

// The texts of every page's fields (kept between uses) and its choices.
struct TDataDialogValues {
  int page = kPageFill;
  // The grid's selection when the page was first activated: it presets the
  // page and becomes the selection again after the page's command.
  TRange savedSelection;
  // FILL
  std::string fillOutput, fillStart = "0", fillStep = "1";
  int fillType = 1;    // 1 linear, 2 multiply, 3 power
  bool fillByRow = false;
  // SORT
  std::string sortData;
  std::array<std::string, 4> sortKeys;
  std::array<bool, 4> sortAscending = {true, true, true, true};
  // QUESTION
  std::string queryInput, queryCriteria, queryOutput;
  // BIN
  std::string binInput, binOutput;
  bool binUpperIncluded = false;
  // PARSE
  std::string parseInput;
  // GOAL
  std::string goalInput, goalOutput, goalDesire, goalTolerance = "0.000001";
  // REGRESS and MULTIREGRESS
  std::string regressX, regressY, regressOutput;
  std::string fitX, fitY, fitOutput;
  std::array<std::array<bool, 3>, 9> terms = {};  // [form][X column]
  // TABLE
  std::string tableInput1, tableInput2, tableOutput;
  // FORM
  std::string formRange;
  // The range the data form is to run on, once the FORM page's Ok read it.
  TRange formTarget;
};

// "Data: " and the page's word.
std::string DataDialogCaption(int page);
// The caption of a range prompt for the page's field named `name`: the
// caption's text after its colon, then ":", the name and " Range".
std::string DataPromptCaption(int page, std::string_view name);
// The page's size for a screen of `pixelsPerInch`.
void DataPageSize(int page, int pixelsPerInch, int& width, int& height);

// What the first activation after showing a page does to the values: keeps
// `selection` as the saved selection, loads the term grid from the fit masks,
// the sort order and the bins interval from the program's and the document's
// settings, and, when `selection` covers more than one cell, puts its text in
// the page's first range field (on the GOAL page also the value of the
// selection's last cell in "Desire").
void PresetDataPage(TDataDialogValues& values, const TRange& selection);

// A value field on leaving: its text read as a formula (so "1/3" or a cell
// reference may be typed) and replaced by the number's general text. A text
// that gives no number stays as typed; the page's Ok then refuses it.
void SettleValueField(std::string& text);

// The dialog stops being the active window: the working settings block (with
// the ranges the page stored) goes back into the current document's slot.
void DataDialogDeactivated();

// Empties the page's range fields where the page has a Reset button (SORT:
// the data range and the keys; QUESTION: its three ranges).
void ResetDataPage(TDataDialogValues& values);

enum class TDataApply {
  kRefused,   // a field was refused (its message shown); nothing ran
  kRan,       // the page's command ran (it may have refused on its own)
  kNothing,   // TABLE with no usable input cell: nothing to run
  kOpenForm,  // FORM: the data form is to run on the stored range
};

// The page's Ok: reads every field of the page (range texts as ranges, value
// texts as numbers), refusing with the field's message before anything is
// stored; then stores the ranges and choices where the commands read them
// and runs the page's command. TABLE runs with two inputs when both input
// cells are set, with one when only the first is, and not at all otherwise.
// GOAL shows the WAIT mode while it searches and beeps at its end; FORM
// leaves the range in formTarget for the data form.
// Unless a field was refused, the saved selection becomes the grid's
// selection again and the sheet is repainted.
TDataApply ApplyDataPage(TDataDialogValues& values);

}  // namespace corvane
