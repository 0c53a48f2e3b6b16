// The graph settings dialog as values: its page codes and sizes, the type
// buttons, the texts of its range and scale edits, and the rules of its
// controls, its "&Ok", "&Cancel" and its names page. The form only copies
// controls to and from a TGraphSettings.
//
// Controls other than the range and scale edits change the working graph at
// once (Edit), and the current graph with it, so that the graph window can
// show each change; "&Ok" checks and stores the edits; "&Cancel" puts back
// the current graph and the named-graph table as they were at Begin.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "classlib/Canvas.h"
#include "spreadsheet/graphs/GraphRecord.h"

namespace corvane {

// The dialog's pages, and a page code: the page in the low four bits, the
// series or axis tab above them.
inline constexpr int kGraphPageType = 0, kGraphPageRanges = 1, kGraphPageOptions = 2, kGraphPageScales = 3,
                     kGraphPageNames = 4, kGraphPageHeadings = 5, kGraphPageColors = 6, kGraphPageFonts = 7,
                     kGraphPageLegends = 8;
inline constexpr int GraphPageCode(int page, int tab) { return page | (tab << 4); }

// A page code: page in the low four bits, the series or axis tab above them;
// a negative code (its bits complemented) asks for a modal showing.
struct TGraphPageRequest {
  int page = 0;
  int tab = 0;
  bool modal = false;
};
TGraphPageRequest GraphDecodePageCode(int code);
// The form's size and caption on a page (unknown pages: 404 x 320, no caption).
classlib::TSize GraphPageFormSize(int page);
std::string GraphPageCaption(int page);
// The caption the Scales page takes for its X (tab 0) or Y tab.
std::string GraphScalesCaption(int tab);

// Type buttons: the 2D grid X B P S L M H R A D O C and the 3D grid S P D W B
// T. Buttons outside the grids give -1.
int GraphTypeOf2DButton(int index);
int GraphTypeOf3DButton(int index);
struct TGraphTypeButton {
  bool threeD = false;
  int index = 0;
};
TGraphTypeButton GraphTypeButtonOf(int type);

// The texts the form's edits show.
struct TGraphSettingsFields {
  std::string xRange;
  std::array<std::string, kGraphSeries> seriesRanges, labelRanges;
  struct TAxis {
    std::string lower, upper, step, divisions;
    bool manual = false, exponential = false;
    int format = 0;
  };
  std::array<TAxis, 2> axes;  // 0 X, 1 Y
};

// Which edit a problem found by Ok lies in.
enum class TGraphSettingsField { kNone, kXRange, kSeriesRange, kLabelRange, kLower, kUpper, kStep, kDivisions };
struct TGraphSettingsProblem {
  TGraphSettingsField field = TGraphSettingsField::kNone;
  int index = 0;  // the series (1-6) or axis (0 X, 1 Y)
  std::string message;
};

class TGraphSettings {
 public:
  // Activation: keeps the current graph and the named-graph table for
  // "&Cancel", takes the current graph as the working graph and loads the
  // fields from it.
  void Begin();
  const TGraphRecord& Record() const { return record_; }
  // Changes the working graph and stores it as the current graph.
  void Edit(const std::function<void(TGraphRecord&)>& change);

  TGraphSettingsFields fields;

  // Type buttons: a 2D choice (index 11 is Contour) or a 3D choice.
  void Choose2DType(int index);
  void Choose3DType(int index);
  // Pickers store the item + 1; a thickness resets the style to its first
  // item and a style the thickness (wide lines are solid only).
  void ChooseThickness(int series, int item);
  void ChooseStyle(int series, int item);
  // The Scales page's "&Manual"/"&Auto" and "&Normal"/"&Exp" buttons of an
  // axis (0 X, 1 Y): the flag or the exponential bit changes at once, in the
  // graph and in the fields that "&Ok" stores.
  void ChooseManual(int axis, bool manual);
  void ChooseExponential(int axis, bool exponential);
  // "&Reset Ranges" unsets the X and series ranges, "&Reset Labels" the label
  // ranges, the legends' "&Clear" empties the six legends; edits and graph alike.
  void ResetRanges();
  void ResetLabels();
  void ClearLegends();

  // A scale edit's text read as a formula, on leaving the edit: the text
  // becomes the number's text. False, with a message and the text kept, for a
  // text that gives no finite number.
  bool EvaluateScaleText(std::string& text, std::string& message) const;

  // "&Ok": reads every range and scale edit and stores them with the manual,
  // exponential and format choices into the working graph and the current
  // graph. False, storing nothing, at the first edit that does not read.
  bool Ok(TGraphSettingsProblem& problem);
  // "&Cancel": the current graph and the named-graph table as at Begin. False
  // only when the pool cannot give back a removed graph's block.
  bool Cancel();

  // Names page. New stores the working graph under the edit's name (spaces
  // removed); an empty name is refused, as is a 51st graph ("Named
  // Graphs>50"). Delete removes the named graph; Use makes it current. Each
  // gives false (and New a message) when nothing changed.
  bool New(const std::string& name, std::string& message);
  bool Delete(const std::string& name);
  bool Use(const std::string& name);
  std::vector<std::string> Names() const;

 private:
  void Load();

  TGraphRecord record_;
  TGraphRecord saved_;
  std::vector<TGraphRecord> savedNamed_;
};

// The options page's preview of a series: its line across the box, 12 pixels
// in from each side, when it shows lines, and four size-5 marks at one to four
// fifths of the box's width when it shows symbols.
void DrawGraphSeriesPreview(classlib::TCanvas& canvas, const classlib::TRect& box, const TGraphRecord& graph,
                            int series);
// A sample of the series' pattern in its foreground and background colours.
void DrawGraphHatchSample(classlib::TCanvas& canvas, const classlib::TRect& box, const TGraphRecord& graph,
                          int series);

}  // namespace corvane
