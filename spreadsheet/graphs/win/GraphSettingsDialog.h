// TGrange: the graph settings dialog, one notebook of nine pages (type,
// ranges, series options, scales, names, headings, colours, fonts, legends).
// The form only copies its controls to and from a TGraphSettings, which holds
// the rules; controls other than the range and scale edits change the current
// graph at once, "&Ok" stores the edits, "&Cancel" undoes everything since
// the dialog was shown, the named-graph table included.
//
// The program's own pickers (glyph grids, colour boxes, glyph combos, the
// number-format and font pickers) stand here as buttons, drop-down lists and
// check boxes of the standard controls.
#pragma once

#include <array>
#include <functional>
#include <string>

#include "classlib/win/StdCtrls.h"
#include "spreadsheet/graphs/GraphSettings.h"

namespace corvane {

class tabbar;
class TGraphView;

class TGrange : public classlib::TForm {
 public:
  explicit TGrange(classlib::TComponent* AOwner);
  ~TGrange() override;

  // Shows the dialog at the page and tab of `code` (page in the low four
  // bits); a negative code (its bits complemented) runs it until it closes.
  void ShowPage(int code);
  int Page() const { return page_; }
  int Tab() const;

  TGraphSettings& Settings() { return settings_; }
  // "&Use" made a named graph current: the program shows the graph window.
  classlib::TNotifyEvent OnShowGraph;
  // The current graph changed (a control, "&Ok" or "&Cancel").
  classlib::TNotifyEvent OnGraphChanged;
  // The Insert key went down in the dialog: the main window takes it (its
  // insert mode and INS panel).
  classlib::TNotifyEvent OnInsertKey;

  // "&Ok" and "&Cancel" as the buttons do them; Ok gives false (showing the
  // problem and focusing its edit) when an edit does not read.
  bool OkClick();
  void CancelClick();

  // Controls, for the program's tests.
  classlib::TButton* OkButton() const { return ok_; }
  classlib::TButton* CancelButton() const { return cancel_; }
  classlib::TButton* TypeButton(bool threeD, int index) const;
  tabbar* TabBar(int page) const { return tabs_[static_cast<std::size_t>(page)]; }
  classlib::TEdit* RangeEdit(int index) const { return rangeEdits_[static_cast<std::size_t>(index)]; }
  classlib::TEdit* LabelEdit(int series) const { return labelEdits_[static_cast<std::size_t>(series - 1)]; }
  classlib::TEdit* ScaleEdit(int row) const { return scaleEdits_[static_cast<std::size_t>(row)]; }
  // The Scales page's "&Normal"/"&Exp" (axis) and "&Manual"/"&Auto" (scaling) buttons.
  classlib::TRadioButton* AxisButton(int index) const { return axisKind_.buttons[static_cast<std::size_t>(index)]; }
  classlib::TRadioButton* ScalingButton(int index) const { return scaling_.buttons[static_cast<std::size_t>(index)]; }
  classlib::TEdit* NameEdit() const { return nameEdit_; }
  classlib::TListBox* NameList() const { return nameList_; }
  classlib::TButton* NameButton(int index) const { return nameButtons_[static_cast<std::size_t>(index)]; }
  classlib::TEdit* HeadingEdit(int heading) const { return headingEdits_[static_cast<std::size_t>(heading - 1)]; }
  classlib::TEdit* LegendEdit(int series) const { return legendEdits_[static_cast<std::size_t>(series - 1)]; }
  classlib::TComboBox* OptionChoice(int row) const { return optionChoices_[static_cast<std::size_t>(row)]; }
  classlib::TRadioButton* LocationButton(int index) const { return location_.buttons[static_cast<std::size_t>(index)]; }

 protected:
  void FormKeyDown(classlib::TObject* Sender, int& Key, classlib::TShiftState Shift);

 private:
  class TPreview;
  // Exclusive choices: radio buttons in a captioned group box.
  struct TRadioGroup {
    classlib::TGroupBox* box = nullptr;
    std::vector<classlib::TRadioButton*> buttons;
    int Index() const;  // -1 when none is checked
    void SetIndex(int index) const;
  };
  TRadioGroup NewRadioGroup(classlib::TWinControl* parent, const std::string& caption, int x, int y, int w, int h,
                            const std::vector<std::string>& items, int columns, std::function<void(int)> onPick);
  void BuildTypePage();
  void BuildRangesPage();
  void BuildOptionsPage();
  void BuildScalesPage();
  void BuildNamesPage();
  void BuildTextPages();
  void BuildFontsPage();
  classlib::TPanel* NewPage(int page);
  classlib::TPanel* NewPanel(classlib::TWinControl* parent, int x, int y, int w, int h);
  tabbar* NewTabs(int page, std::vector<std::string> items);
  classlib::TEdit* NewEdit(classlib::TWinControl* parent, const std::string& caption, int x, int y, int width);
  // An edit whose every change is stored into the graph at once.
  classlib::TEdit* NewTextEdit(classlib::TWinControl* parent, const std::string& caption, int x, int y, int width,
                               std::size_t maxChars, std::function<void(TGraphRecord&, const std::string&)> store);
  classlib::TComboBox* NewChoice(classlib::TWinControl* parent, const std::string& caption, int x, int y, int width,
                                 const std::vector<std::string>& items);
  classlib::TButton* NewButton(classlib::TWinControl* parent, const std::string& caption, int x, int y, int width,
                               classlib::TNotifyEvent onClick);

  void Activate(int page, int tab);
  void SelectPage(int page, int tab);
  void SelectTab(int page, int tab);
  void LoadControls();
  void LoadTypeLabel();
  void LoadSeriesOptions();
  void LoadAxis();
  void StoreAxis();
  void LoadFont();
  void LoadNames();
  // A control's change stored into the graph (not while loading controls).
  void Store(const std::function<void(TGraphRecord&)>& change);
  void Changed();
  // Closes the dialog after "&Ok", "&Cancel" or "&Use" (ending a modal run
  // with `result`).
  void Answer(int result);
  void PointRange(classlib::TEdit* edit, const std::string& letter);

  TGraphSettings settings_;
  int page_ = 0;
  int scaleTab_ = 0;      // the Scales page's tab
  int series_ = 1;        // the Options page's series tab (7: "&Other")
  int labelSeries_ = 1;   // the label edit last entered
  int fontElement_ = 1;
  bool loading_ = false;   // controls are being filled from the settings
  bool answered_ = false;  // "&Ok", "&Cancel" or "&Use" closes the dialog

  std::array<classlib::TPanel*, 9> pages_{};
  std::array<tabbar*, 9> tabs_{};
  classlib::TButton* ok_ = nullptr;
  classlib::TButton* cancel_ = nullptr;
  // Select Type.
  std::array<classlib::TButton*, 12> types2D_{};
  std::array<classlib::TButton*, 6> types3D_{};
  classlib::TPanel* grid2D_ = nullptr;
  classlib::TPanel* grid3D_ = nullptr;
  classlib::TLabel* typeLabel_ = nullptr;
  // Specify Ranges: X and series 1-6, then the label ranges.
  classlib::TPanel* seriesRanges_ = nullptr;
  classlib::TPanel* labelRanges_ = nullptr;
  std::array<classlib::TEdit*, 7> rangeEdits_{};
  std::array<classlib::TEdit*, 6> labelEdits_{};
  TRadioGroup location_;
  // Options: marks, hatch, thickness, style, fore, back; inside, outside.
  classlib::TPanel* formatPanel_ = nullptr;
  classlib::TPanel* otherPanel_ = nullptr;
  std::array<classlib::TComboBox*, 8> optionChoices_{};
  TRadioGroup display_, grid_, gridStyle_;
  TPreview* preview_ = nullptr;
  // Scales: lower, upper, step, div; format, axis, scaling.
  std::array<classlib::TEdit*, 4> scaleEdits_{};
  classlib::TComboBox* format_ = nullptr;
  TRadioGroup axisKind_, scaling_;
  // Names.
  classlib::TEdit* nameEdit_ = nullptr;
  classlib::TListBox* nameList_ = nullptr;
  std::array<classlib::TButton*, 3> nameButtons_{};
  // Headings, legends, fonts.
  std::array<classlib::TEdit*, 4> headingEdits_{};
  std::array<classlib::TEdit*, 6> legendEdits_{};
  TRadioGroup legendForm_;
  classlib::TListBox* fontList_ = nullptr;
  classlib::TComboBox* fontFace_ = nullptr;
  classlib::TEdit* fontSize_ = nullptr;
  std::array<classlib::TCheckBox*, 4> fontStyles_{};
  classlib::TComboBox* fontColour_ = nullptr;
};

// Ties the graph window and the dialog together: an element page opens the
// dialog modally and the window repaints after; every change of the graph
// repaints the window; "&Use" shows the window at the current graph.
void ConnectGraphViewAndSettings(TGraphView& view, TGrange& dialog);

}  // namespace corvane
