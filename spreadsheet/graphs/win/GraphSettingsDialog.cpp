// The graph settings dialog's form: its pages built in code, and the copying
// between its controls and the dialog's values.
#include "spreadsheet/graphs/win/GraphSettingsDialog.h"

#include <algorithm>
#include <cctype>

#include "spreadsheet/controls/win/TabBarWindow.h"
#include "spreadsheet/engine/EngineError.h"
#include "spreadsheet/engine/RangePrompt.h"
#include "spreadsheet/engine/RangeText.h"
#include "spreadsheet/engine/ShowError.h"
#include "spreadsheet/engine/WindowServices.h"
#include "spreadsheet/graphs/NamedGraphs.h"
#include "spreadsheet/graphs/win/GraphView.h"

namespace corvane {

using namespace classlib;

namespace {

constexpr int kRowHeight = 26;
constexpr int kComboRow = 24;
constexpr int kCaptionWidth = 52;
constexpr int kButtonRow = 34;
constexpr int kOtherTab = 6;

const std::vector<std::string> kColours = {"Black", "Navy",   "Green", "Teal", "Maroon", "Purple", "Olive",   "Silver",
                                           "Gray",  "Blue",   "Lime",  "Aqua", "Red",    "Fuchsia", "Yellow", "White"};
const std::vector<std::string> kMarks = {"Cross",          "Crossed square",  "Plus",          "Plus square",
                                         "Square",         "Filled square",   "Bow-tie",       "Filled bow-tie",
                                         "Circle",         "Filled circle",   "Diamond",       "Filled diamond",
                                         "Down triangle",  "Filled down triangle", "Up triangle", "Filled up triangle"};
const std::vector<std::string> kHatches = {"Solid", "Horizontal", "Vertical", "Diagonal cross", "Backward diagonal",
                                           "Forward diagonal", "Cross", "No fill"};
const std::vector<std::string> kStyles = {"Solid", "Dash", "Dot", "Dash dot", "Dash dot dot", "No line"};
const char* const kFontStyles[4] = {"&Bold", "&Italic", "&Underline", "S&trike-out"};

// Option rows of the Options page.
enum { kMarkRow, kHatchRow, kThicknessRow, kStyleRow, kForeRow, kBackRow, kInsideRow, kOutsideRow };
// Scale edits and choices.
enum { kLowerRow, kUpperRow, kStepRow, kDivRow };

struct TFormatChoice {
  const char* name;
  int format;
};
constexpr TFormatChoice kFormats[] = {{"Fixed 0", 0x00},   {"Fixed 1", 0x01},    {"Fixed 2", 0x02},
                                      {"Scientific 2", 0x12}, {"Currency 2", 0x22}, {"Percent 1", 0x31},
                                      {"Comma 0", 0x40},   {"General", 0x71}};

std::string UpperCase(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::toupper(c); });
  return text;
}

struct TEnableContext {
  HWND keep;
  std::vector<HWND> enabled;
};

BOOL CALLBACK EnableOne(HWND hwnd, LPARAM data) {
  auto* c = reinterpret_cast<TEnableContext*>(data);
  if (hwnd != c->keep && IsWindowVisible(hwnd) && !IsWindowEnabled(hwnd)) {
    EnableWindow(hwnd, TRUE);
    c->enabled.push_back(hwnd);
  }
  return TRUE;
}

// Other top-level windows of the thread that a modal run disabled, enabled
// again while the user points at a range on the sheet.
std::vector<HWND> EnableOtherWindows(HWND keep) {
  TEnableContext context{keep, {}};
  EnumThreadWindows(GetCurrentThreadId(), EnableOne, reinterpret_cast<LPARAM>(&context));
  return context.enabled;
}

}  // namespace

// The Options page's preview: the series' line and marks, and its pattern.
class TGrange::TPreview : public TCustomControl {
 public:
  TPreview(TGrange* dialog) : TCustomControl(dialog), dialog_(dialog) { ControlStyle |= csOpaque; }

 protected:
  void Paint(TCanvas& Canvas) override {
    TRect r = ClientRect();
    Canvas.Brush = {clWhite, TBrushStyle::bsSolid, clNone};
    Canvas.FillRect(r);
    int series = std::clamp(dialog_->series_, 1, kGraphSeries);
    int split = r.Width() * 2 / 3;
    DrawGraphSeriesPreview(Canvas, {r.Left, r.Top, split, r.Bottom}, dialog_->settings_.Record(), series);
    DrawGraphHatchSample(Canvas, {split + 6, r.Top + 6, r.Right - 6, r.Bottom - 6}, dialog_->settings_.Record(),
                         series);
  }

 private:
  TGrange* dialog_;
};

TGrange::TGrange(TComponent* AOwner) : TForm(AOwner, "Select Type") {
  BorderStyle = TFormBorderStyle::bsDialog;
  Position = TPosition::poScreenCenter;
  KeyPreview = true;
  SetBounds(0, 0, 404, 320);
  OnKeyDown = [this](TObject* s, int& k, TShiftState sh) { FormKeyDown(s, k, sh); };
  // Closing by the window's own close box undoes like "&Cancel".
  OnClose = [this](TObject*, TCloseAction&) {
    if (!answered_) {
      if (!settings_.Cancel()) ShowError(kOutOfMemoryText);
      Changed();
    }
    answered_ = false;
  };
  // The main window (the owner) is disabled while the dialog is up, also when
  // it is shown without a modal run; a modal run disables it by itself.
  OnShow = [this](TObject*) {
    auto* owner = dynamic_cast<TWinControl*>(Owner());
    if (Modal() || owner == nullptr || !owner->HandleAllocated()) return;
    HWND hwnd = owner->Handle();
    if (disabledOwner_ == nullptr && IsWindowEnabled(hwnd)) {
      EnableWindow(hwnd, FALSE);
      disabledOwner_ = hwnd;
    }
  };
  OnHide = [this](TObject*) {
    if (disabledOwner_ != nullptr && IsWindow(disabledOwner_)) EnableWindow(disabledOwner_, TRUE);
    disabledOwner_ = nullptr;
  };
  BuildTypePage();
  BuildRangesPage();
  BuildOptionsPage();
  BuildScalesPage();
  BuildNamesPage();
  BuildTextPages();
  BuildFontsPage();
  NewPage(6);  // Colors: nothing of its own
  // Made last, so that Tab reaches them after the page's own controls.
  ok_ = NewButton(this, "&Ok", 0, 0, 70, [this](TObject*) { OkClick(); });
  ok_->SetDefault(true);
  cancel_ = NewButton(this, "&Cancel", 0, 0, 70, [this](TObject*) { CancelClick(); });
  cancel_->Cancel = true;
}

TGrange::~TGrange() = default;

// ---- Building -----------------------------------------------------------------

TPanel* TGrange::NewPanel(TWinControl* parent, int x, int y, int w, int h) {
  auto* panel = new TPanel(this);
  panel->SetBevelOuter(TBevelCut::bvNone);
  panel->SetBounds(x, y, w, h);
  panel->SetParent(parent);
  return panel;
}

TPanel* TGrange::NewPage(int page) {
  TPanel* panel = NewPanel(this, 0, 0, 400, 300);
  panel->SetVisible(false);
  pages_[static_cast<std::size_t>(page)] = panel;
  return panel;
}

tabbar* TGrange::NewTabs(int page, std::vector<std::string> items) {
  auto* tabs = new tabbar(this);
  tabs->SetBounds(4, 4, 320, 22);
  tabs->Model().SetMax(static_cast<int>(items.size()));
  tabs->Model().SetBody(316);
  tabs->Model().SetItems(std::move(items));
  tabs->Model().SetItemIndex(0);
  tabs->Model().OnChange = [this, page, tabs] {
    if (!loading_) SelectTab(page, tabs->Model().ItemIndex());
  };
  tabs->SetParent(pages_[static_cast<std::size_t>(page)]);
  tabs_[static_cast<std::size_t>(page)] = tabs;
  return tabs;
}

TEdit* TGrange::NewEdit(TWinControl* parent, const std::string& caption, int x, int y, int width) {
  auto* label = new TLabel(this);
  label->SetText(caption);
  label->SetBounds(x, y + 4, kCaptionWidth, 18);
  label->SetParent(parent);
  auto* edit = new TEdit(this);
  edit->SetBounds(x + kCaptionWidth, y, width, 22);
  edit->SetParent(parent);
  edit->SetTabStop(true);
  label->SetFocusControl(edit);
  return edit;
}

TEdit* TGrange::NewTextEdit(TWinControl* parent, const std::string& caption, int x, int y, int width,
                            std::size_t maxChars, std::function<void(TGraphRecord&, const std::string&)> store) {
  TEdit* edit = NewEdit(parent, caption, x, y, width);
  edit->SetMaxLength(static_cast<int>(maxChars));
  edit->OnChange = [this, edit, store](TObject*) {
    Store([&](TGraphRecord& g) { store(g, edit->Text()); });
  };
  return edit;
}

int TGrange::TRadioGroup::Index() const {
  for (std::size_t i = 0; i < buttons.size(); ++i)
    if (buttons[i]->Checked()) return static_cast<int>(i);
  return -1;
}

void TGrange::TRadioGroup::SetIndex(int index) const {
  for (std::size_t i = 0; i < buttons.size(); ++i) buttons[i]->SetChecked(static_cast<int>(i) == index);
}

TGrange::TRadioGroup TGrange::NewRadioGroup(TWinControl* parent, const std::string& caption, int x, int y, int w, int h,
                                            const std::vector<std::string>& items, int columns,
                                            std::function<void(int)> onPick) {
  TRadioGroup group;
  group.box = new TGroupBox(this);
  group.box->SetText(caption);
  group.box->SetBounds(x, y, w, h);
  group.box->SetParent(parent);
  int width = (w - 12) / columns;
  for (std::size_t i = 0; i < items.size(); ++i) {
    auto* button = new TRadioButton(this);
    button->SetText(items[i]);
    int column = static_cast<int>(i) % columns, row = static_cast<int>(i) / columns;
    button->SetBounds(6 + column * width, 16 + row * 20, width - 2, 18);
    button->SetParent(group.box);
    button->SetTabStop(true);
    if (onPick) button->OnClick = [onPick, i](TObject*) { onPick(static_cast<int>(i)); };
    group.buttons.push_back(button);
  }
  return group;
}

TComboBox* TGrange::NewChoice(TWinControl* parent, const std::string& caption, int x, int y, int width,
                              const std::vector<std::string>& items) {
  auto* label = new TLabel(this);
  label->SetText(caption);
  label->SetBounds(x, y + 4, kCaptionWidth + 10, 18);
  label->SetParent(parent);
  auto* choice = new TComboBox(this);
  choice->Style = TComboBoxStyle::csDropDownList;
  choice->DropDownCount = 12;
  choice->SetBounds(x + kCaptionWidth + 10, y, width, 22);
  choice->SetItems(items);
  choice->SetParent(parent);
  choice->SetTabStop(true);
  label->SetFocusControl(choice);
  return choice;
}

TButton* TGrange::NewButton(TWinControl* parent, const std::string& caption, int x, int y, int width,
                            TNotifyEvent onClick) {
  auto* button = new TButton(this);
  button->SetText(caption);
  button->SetBounds(x, y, width, 24);
  button->OnClick = std::move(onClick);
  button->SetParent(parent);
  button->SetTabStop(true);
  return button;
}

void TGrange::BuildTypePage() {
  TPanel* page = NewPage(kGraphPageType);
  NewTabs(kGraphPageType, {"&2D", "&3D"});
  grid2D_ = NewPanel(page, 4, 30, 252, 120);
  grid3D_ = NewPanel(page, 4, 30, 252, 120);
  // Alt+O and Alt+C are Ok's and Cancel's: Polar, whose every letter another
  // control of the page takes, has none, and Contour takes its N.
  const char* names2D[12] = {"&Xy",    "&Bar",   "&Pie",  "&Stack", "&Line",  "Cu&m",
                             "&Hilo",  "&Radar", "&Area", "&Delta", "Polar",  "Co&ntour"};
  for (int i = 0; i < 12; ++i)
    types2D_[static_cast<std::size_t>(i)] = NewButton(grid2D_, names2D[i], (i % 3) * 84, (i / 3) * 28, 80, [this, i](TObject*) {
      settings_.Choose2DType(i);
      LoadTypeLabel();
      Changed();
    });
  const char* names3D[6] = {"&Strip", "&Pie", "&Donut", "&Wall", "&Bar", "S&tack"};
  for (int i = 0; i < 6; ++i)
    types3D_[static_cast<std::size_t>(i)] = NewButton(grid3D_, names3D[i], (i % 3) * 84, (i / 3) * 28, 80, [this, i](TObject*) {
      settings_.Choose3DType(i);
      LoadTypeLabel();
      Changed();
    });
  typeLabel_ = new TLabel(this);
  typeLabel_->SetBounds(8, 156, 240, 18);
  typeLabel_->SetParent(page);
}

void TGrange::BuildRangesPage() {
  TPanel* page = NewPage(kGraphPageRanges);
  // The Labels tab takes E and Reset Labels T: L and R are the locations'.
  NewTabs(kGraphPageRanges, {"&Series", "Lab&els"});
  seriesRanges_ = NewPanel(page, 0, 30, 230, 230);
  labelRanges_ = NewPanel(page, 0, 30, 230, 230);
  for (int i = 0; i < 7; ++i) {
    std::string letter = i == 0 ? "X" : std::to_string(i);
    TEdit* edit = NewEdit(seriesRanges_, "&" + letter + ": ", 4, i * kRowHeight, 160);
    edit->OnDblClick = [this, edit, letter](TObject*) { PointRange(edit, letter); };
    rangeEdits_[static_cast<std::size_t>(i)] = edit;
  }
  NewButton(seriesRanges_, "&Reset Ranges", 56, 7 * kRowHeight, 110, [this](TObject*) {
    settings_.ResetRanges();
    for (TEdit* edit : rangeEdits_) edit->SetText("");
    Changed();
  });
  for (int s = 1; s <= kGraphSeries; ++s) {
    std::string letter = std::to_string(s);
    TEdit* edit = NewEdit(labelRanges_, "&" + letter + ": ", 4, (s - 1) * kRowHeight, 160);
    edit->OnDblClick = [this, edit, letter](TObject*) { PointRange(edit, letter); };
    // Entering a label edit shows its series' location.
    edit->OnEnter = [this, s](TObject*) {
      labelSeries_ = s;
      location_.SetIndex(settings_.Record().LabelLocation(s) - 1);
    };
    labelEdits_[static_cast<std::size_t>(s - 1)] = edit;
  }
  NewButton(labelRanges_, "Rese&t Labels", 56, 6 * kRowHeight, 110, [this](TObject*) {
    settings_.ResetLabels();
    for (TEdit* edit : labelEdits_) edit->SetText("");
    Changed();
  });
  location_ = NewRadioGroup(labelRanges_, " Location ", 4, 7 * kRowHeight, 222, 58,
                            {"&Above", "&Below", "&Left", "&Right", "&None"}, 3,
                            [this](int i) { Store([&](TGraphRecord& g) { g.SetLabelLocation(labelSeries_, i + 1); }); });
}

void TGrange::BuildOptionsPage() {
  TPanel* page = NewPage(kGraphPageOptions);
  // Letters apart from Ok's O and from each other: Other takes R, Style E,
  // Back A, Options P, the grid style T.
  NewTabs(kGraphPageOptions, {"&1", "&2", "&3", "&4", "&5", "&6", "Othe&r"});
  formatPanel_ = NewPanel(page, 0, 30, 276, 240);
  otherPanel_ = NewPanel(page, 0, 30, 276, 240);
  auto choice = [this](TPanel* panel, int row, int y, const char* caption, const std::vector<std::string>& items,
                       std::function<void(TGraphRecord&, int)> store) {
    TComboBox* box = NewChoice(panel, caption, 4, y, 150, items);
    box->OnChange = [this, box, store](TObject*) {
      if (loading_ || box->ItemIndex() < 0) return;
      settings_.Edit([&](TGraphRecord& g) { store(g, box->ItemIndex()); });
      LoadSeriesOptions();
      Changed();
    };
    optionChoices_[static_cast<std::size_t>(row)] = box;
  };
  choice(formatPanel_, kMarkRow, 0, "&Marks:", kMarks, [this](TGraphRecord& g, int i) { g.SetMark(series_, i + 1); });
  choice(formatPanel_, kHatchRow, kComboRow, "&Hatchs:", kHatches,
         [this](TGraphRecord& g, int i) { g.SetHatch(series_, i + 1); });
  // Thickness and style reset each other, through the dialog's rule.
  for (int row : {kThicknessRow, kStyleRow}) {
    bool thickness = row == kThicknessRow;
    TComboBox* box = NewChoice(formatPanel_, thickness ? "&Thickness:" : "Styl&e:", 4, row * kComboRow, 150,
                               thickness ? std::vector<std::string>{"1", "2", "3", "4", "5"} : kStyles);
    box->OnChange = [this, box, thickness](TObject*) {
      if (loading_ || box->ItemIndex() < 0) return;
      if (thickness) {
        settings_.ChooseThickness(series_, box->ItemIndex());
      } else {
        settings_.ChooseStyle(series_, box->ItemIndex());
      }
      LoadSeriesOptions();
      Changed();
    };
    optionChoices_[static_cast<std::size_t>(row)] = box;
  }
  // The colour rows and the display buttons lie below thickness and style:
  // made after them, so that Tab goes down the page.
  choice(formatPanel_, kForeRow, 4 * kComboRow, "&Fore ", kColours,
         [this](TGraphRecord& g, int i) { g.SetSeriesColour(series_, i); });
  choice(formatPanel_, kBackRow, 5 * kComboRow, " B&ack ", kColours,
         [this](TGraphRecord& g, int i) { g.SetSeriesBackground(series_, i); });
  display_ = NewRadioGroup(formatPanel_, "O&ptions", 4, 6 * kComboRow, 266, 58, {"&None", "&Lines", "&Symbols", "&Both"},
                           2, [this](int i) {
                             Store([&](TGraphRecord& g) { g.SetSeriesDisplay(series_, i); });
                             LoadSeriesOptions();
                           });
  // The Typeface sub-page and back: the button swaps the sub-page in view.
  typefaceButton_ = NewButton(this, "T&ypeface", 0, 0, 76, [this](TObject*) {
    typeface_ = !typeface_;
    ShowOptionsSubPage();
    if (typeface_ && Visible()) fontList_->SetFocus();
  });
  typefaceButton_->SetVisible(false);
  preview_ = new TPreview(this);
  preview_->SetBounds(4, 6 * kComboRow + 62, 266, 32);
  preview_->SetParent(formatPanel_);

  grid_ = NewRadioGroup(otherPanel_, " &Grid ", 4, 0, 266, 40, {"&None", "&Horiz", "&Vert", "&Both"}, 4, [this](int i) {
    Store([&](TGraphRecord& g) { g.SetOptions((g.Options() & ~3) | i); });
  });
  gridStyle_ = NewRadioGroup(otherPanel_, " S&tyle", 4, 44, 266, 40, {"&Solid", "&Dots"}, 2, [this](int i) {
    Store([&](TGraphRecord& g) { g.SetOptions(i == 0 ? g.Options() | 0x04 : g.Options() & ~0x04); });
  });
  choice(otherPanel_, kInsideRow, 92, " Inside ", kColours, [](TGraphRecord& g, int i) { g.SetInsideColour(i); });
  choice(otherPanel_, kOutsideRow, 92 + kComboRow, " Outside ", kColours,
         [](TGraphRecord& g, int i) { g.SetOutsideColour(i); });
}

void TGrange::BuildScalesPage() {
  TPanel* page = NewPage(kGraphPageScales);
  NewTabs(kGraphPageScales, {"&X-Axis", "&Y-Axis"});
  const char* captions[4] = {"&Lower: ", "&Upper: ", "&Step: ", "&Div: "};
  for (int row = 0; row < 4; ++row) {
    TEdit* edit = NewEdit(page, captions[row], 4, 30 + row * kRowHeight, 120);
    // On leaving, an expression becomes its number.
    edit->OnExit = [this, edit](TObject*) {
      if (loading_ || !Visible()) return;
      std::string text = edit->Text(), message;
      if (settings_.EvaluateScaleText(text, message)) {
        edit->SetText(text);
      } else {
        ShowError(message);
      }
    };
    scaleEdits_[static_cast<std::size_t>(row)] = edit;
  }
  std::vector<std::string> formats;
  for (const TFormatChoice& f : kFormats) formats.push_back(f.name);
  format_ = NewChoice(page, "Format", 4, 30 + 4 * kRowHeight, 140, formats);
  // The axis and scaling buttons change the graph when picked.
  axisKind_ = NewRadioGroup(page, " Axis", 4, 34 + 5 * kRowHeight, 150, 40, {"&Normal", "&Exp"}, 2, [this](int i) {
    if (loading_) return;
    settings_.ChooseExponential(scaleTab_, i == 1);
    Changed();
  });
  scaling_ = NewRadioGroup(page, " Scaling ", 160, 34 + 5 * kRowHeight, 150, 40, {"&Manual", "&Auto"}, 2, [this](int i) {
    if (loading_) return;
    settings_.ChooseManual(scaleTab_, i == 0);
    Changed();
  });
}

void TGrange::BuildNamesPage() {
  TPanel* page = NewPage(kGraphPageNames);
  nameEdit_ = NewEdit(page, "N&ame:", 4, 8, 150);
  nameEdit_->SetMaxLength(static_cast<int>(kGraphNameChars));
  nameEdit_->OnChange = [this](TObject*) {
    std::string text = nameEdit_->Text(), upper = UpperCase(text);
    if (text != upper) {
      int at = nameEdit_->SelStart();
      nameEdit_->SetText(upper);
      nameEdit_->SetSelection(at, 0);
    }
  };
  nameList_ = new TListBox(this);
  nameList_->SetBounds(4, 36, 210, 130);
  nameList_->SetParent(page);
  nameList_->SetTabStop(true);
  nameList_->OnClick = [this](TObject*) {
    if (nameList_->ItemIndex() >= 0) nameEdit_->SetText(nameList_->Item(nameList_->ItemIndex()));
  };
  auto use = [this](TObject*) {
    if (!settings_.Use(nameEdit_->Text())) {
      MessageBeep(0);
      return;
    }
    Changed();
    Answer(mrOk);
    Fire(OnShowGraph, this);
  };
  nameList_->OnDblClick = [this, use](TObject* sender) {
    if (nameList_->ItemIndex() >= 0) nameEdit_->SetText(nameList_->Item(nameList_->ItemIndex()));
    use(sender);
  };
  nameButtons_[0] = NewButton(page, "&New", 4, 172, 66, [this](TObject*) {
    std::string message;
    if (!settings_.New(nameEdit_->Text(), message)) {
      ShowError(message);
      return;
    }
    LoadNames();
    Changed();
  });
  nameButtons_[1] = NewButton(page, "&Delete", 76, 172, 66, [this](TObject*) {
    if (!settings_.Delete(nameEdit_->Text())) MessageBeep(0);
    LoadNames();
  });
  nameButtons_[2] = NewButton(page, "&Use", 148, 172, 66, use);
}

void TGrange::BuildTextPages() {
  TPanel* headings = NewPage(kGraphPageHeadings);
  const char* captions[4] = {"&Main: ", "&Second: ", "&X-Axis: ", "&Y-Axis: "};
  for (int h = 1; h <= kGraphHeadings; ++h) {
    headingEdits_[static_cast<std::size_t>(h - 1)] =
        NewTextEdit(headings, captions[h - 1], 4, 8 + (h - 1) * kRowHeight, 250, kGraphHeadingChars,
                    [h](TGraphRecord& g, const std::string& text) { g.SetHeading(h, text); });
  }
  TPanel* legends = NewPage(kGraphPageLegends);
  auto* group = new TGroupBox(this);
  group->SetText(" L&egend ");
  group->SetBounds(4, 4, 224, 6 * kRowHeight + 26);
  group->SetParent(legends);
  for (int s = 1; s <= kGraphSeries; ++s) {
    legendEdits_[static_cast<std::size_t>(s - 1)] =
        NewTextEdit(group, "&" + std::to_string(s) + ": ", 6, 18 + (s - 1) * kRowHeight, 150, kGraphLegendChars,
                    [s](TGraphRecord& g, const std::string& text) { g.SetLegend(s, text); });
  }
  NewButton(legends, "C&lear", 4, 6 * kRowHeight + 36, 66, [this](TObject*) {
    settings_.ClearLegends();
    loading_ = true;
    for (TEdit* edit : legendEdits_) edit->SetText("");
    loading_ = false;
    Changed();
  });
  legendForm_ = NewRadioGroup(legends, " Type ", 76, 6 * kRowHeight + 30, 150, 40, {"&Row", "&Table"}, 2, [this](int i) {
    Store([&](TGraphRecord& g) { g.SetOptions(i == 1 ? g.Options() | 0x08 : g.Options() & ~0x08); });
  });
}

void TGrange::BuildFontsPage() {
  // The picker lives on a panel of its own, which the Options page borrows
  // for its Typeface sub-page.
  fontPanel_ = NewPanel(NewPage(kGraphPageFonts), 0, 0, 276, 170);
  TPanel* page = fontPanel_;
  fontList_ = new TListBox(this);
  fontList_->SetBounds(4, 4, 100, 130);
  fontList_->SetItems({"Main", "Second", "X-axis", "Y-Axis", "Values", "Labels", "Legend"});
  fontList_->SetParent(page);
  fontList_->SetTabStop(true);
  fontList_->OnClick = [this](TObject*) {
    fontElement_ = std::clamp(fontList_->ItemIndex() + 1, 1, kGraphTextElements);
    LoadFont();
  };
  fontFace_ = new TComboBox(this);
  fontFace_->SetBounds(110, 4, 160, 22);
  fontFace_->SetItems({"ARIAL", "Courier New", "Times New Roman"});
  fontFace_->SetParent(page);
  fontFace_->OnChange = [this](TObject*) {
    Store([&](TGraphRecord& g) { g.SetFontName(fontElement_, fontFace_->Text()); });
  };
  fontSize_ = NewEdit(page, "Size", 110, 4 + kRowHeight, 50);
  fontSize_->OnChange = [this](TObject*) {
    int size = std::atoi(fontSize_->Text().c_str());
    if (size > 0 && size < 256) Store([&](TGraphRecord& g) { g.SetFontSize(fontElement_, size); });
  };
  for (int bit = 0; bit < 4; ++bit) {
    auto* box = new TCheckBox(this);
    box->SetText(kFontStyles[bit]);
    box->SetBounds(110 + (bit % 2) * 92, 8 + 2 * kRowHeight + (bit / 2) * 22, 90, 20);
    box->SetParent(page);
    box->SetTabStop(true);
    box->OnClick = [this, bit, box](TObject*) {
      int mask = 1 << bit;
      Store([&](TGraphRecord& g) {
        int style = g.FontStyle(fontElement_);
        g.SetFontStyle(fontElement_, box->Checked() ? style | mask : style & ~mask);
      });
    };
    fontStyles_[static_cast<std::size_t>(bit)] = box;
  }
  fontColour_ = NewChoice(page, "Colour", 110, 12 + 4 * kRowHeight, 98, kColours);
  fontColour_->OnChange = [this](TObject*) {
    if (fontColour_->ItemIndex() >= 0)
      Store([&](TGraphRecord& g) { g.SetTextColour(fontElement_, fontColour_->ItemIndex()); });
  };
}

// ---- Showing and loading ------------------------------------------------------

void TGrange::ShowPage(int code) {
  TGraphPageRequest request = GraphDecodePageCode(code);
  Activate(request.page, request.tab);
  if (request.modal) {
    if (!Visible()) ShowModal();
  } else {
    Show();
  }
}

void TGrange::Activate(int page, int tab) {
  Handle();  // the controls' windows exist before they are filled
  if (!Visible()) {
    answered_ = false;
    settings_.Begin();
    LoadControls();
  }
  SelectPage(page, tab);
}

int TGrange::Tab() const {
  tabbar* tabs = tabs_[static_cast<std::size_t>(page_)];
  return tabs ? tabs->Model().ItemIndex() : 0;
}

void TGrange::SelectPage(int page, int tab) {
  classlib::TSize size = GraphPageFormSize(page);
  if (page < 0 || page > 8) page = 0;
  page_ = page;
  SetBounds(Left(), Top(), size.cx, size.cy);
  SetText(GraphPageCaption(page));
  int w = ClientWidth(), h = ClientHeight();
  for (int p = 0; p < 9; ++p) {
    TPanel* panel = pages_[static_cast<std::size_t>(p)];
    panel->SetBounds(0, 0, w, std::max(0, h - kButtonRow));
    panel->SetVisible(p == page);
  }
  typeface_ = false;
  ShowOptionsSubPage();
  typefaceButton_->SetBounds(6, h - 30, 76, 24);
  typefaceButton_->SetVisible(page == kGraphPageOptions);
  ok_->SetBounds(w - 152, h - 30, 70, 24);
  cancel_->SetBounds(w - 76, h - 30, 70, 24);
  if (tabbar* tabs = tabs_[static_cast<std::size_t>(page)]) {
    int count = tabs->Model().Count();
    loading_ = true;
    tabs->Model().SetItemIndex(std::clamp(tab, 0, count - 1));
    loading_ = false;
    SelectTab(page, tabs->Model().ItemIndex());
  }
  // A page changed under the keyboard: it goes to the new page's first control.
  if (Visible()) FocusFirstControl();
}

void TGrange::SelectTab(int page, int tab) {
  switch (page) {
    case kGraphPageType:
      grid2D_->SetVisible(tab == 0);
      grid3D_->SetVisible(tab == 1);
      break;
    case kGraphPageRanges:
      seriesRanges_->SetVisible(tab == 0);
      labelRanges_->SetVisible(tab == 1);
      break;
    case kGraphPageOptions:
      series_ = tab + 1;
      typeface_ = false;
      ShowOptionsSubPage();
      LoadSeriesOptions();
      break;
    case kGraphPageScales:
      StoreAxis();
      scaleTab_ = std::clamp(tab, 0, 1);
      LoadAxis();
      SetText(GraphScalesCaption(scaleTab_));
      break;
    default:
      break;
  }
  // The keyboard never stays on a control the tab has hidden.
  const HWND focus = GetFocus();
  if (Visible() && focus != nullptr && IsChild(Handle(), focus) && !IsWindowVisible(focus)) FocusFirstControl();
}

void TGrange::ShowOptionsSubPage() {
  bool other = series_ == kOtherTab + 1;
  formatPanel_->SetVisible(!typeface_ && !other);
  otherPanel_->SetVisible(!typeface_ && other);
  TPanel* home = typeface_ ? pages_[kGraphPageOptions] : pages_[kGraphPageFonts];
  fontPanel_->SetParent(home);
  fontPanel_->SetBounds(0, typeface_ ? 30 : 0, fontPanel_->Width(), fontPanel_->Height());
  typefaceButton_->SetText(typeface_ ? (other ? "&Grid" : "For&mat") : "T&ypeface");
}

void TGrange::LoadControls() {
  loading_ = true;
  const TGraphSettingsFields& f = settings_.fields;
  rangeEdits_[0]->SetText(f.xRange);
  for (int s = 1; s <= kGraphSeries; ++s) {
    rangeEdits_[static_cast<std::size_t>(s)]->SetText(f.seriesRanges[static_cast<std::size_t>(s - 1)]);
    labelEdits_[static_cast<std::size_t>(s - 1)]->SetText(f.labelRanges[static_cast<std::size_t>(s - 1)]);
    legendEdits_[static_cast<std::size_t>(s - 1)]->SetText(settings_.Record().Legend(s));
  }
  for (int h = 1; h <= kGraphHeadings; ++h) headingEdits_[static_cast<std::size_t>(h - 1)]->SetText(settings_.Record().Heading(h));
  legendForm_.SetIndex((settings_.Record().Options() & 0x08) ? 1 : 0);
  TGraphTypeButton type = GraphTypeButtonOf(settings_.Record().Type());
  tabs_[kGraphPageType]->Model().SetItemIndex(type.threeD ? 1 : 0);
  grid2D_->SetVisible(!type.threeD);
  grid3D_->SetVisible(type.threeD);
  scaleTab_ = 0;
  loading_ = false;
  LoadTypeLabel();
  LoadAxis();
  LoadSeriesOptions();
  LoadFont();
  LoadNames();
  // The location buttons show series 1 until a label edit is entered.
  labelSeries_ = 1;
  loading_ = true;
  location_.SetIndex(settings_.Record().LabelLocation(1) - 1);
  loading_ = false;
}

void TGrange::LoadTypeLabel() {
  TGraphTypeButton type = GraphTypeButtonOf(settings_.Record().Type());
  TButton* button = type.threeD ? types3D_[static_cast<std::size_t>(type.index)] : types2D_[static_cast<std::size_t>(type.index)];
  std::string caption = button->Text();
  caption.erase(std::remove(caption.begin(), caption.end(), '&'), caption.end());
  typeLabel_->SetText(std::string("Type: ") + (type.threeD ? "3D " : "") + caption);
}

void TGrange::LoadSeriesOptions() {
  loading_ = true;
  const TGraphRecord& g = settings_.Record();
  int s = std::clamp(series_, 1, kGraphSeries);
  auto set = [this](int row, int index) { optionChoices_[static_cast<std::size_t>(row)]->SetItemIndex(index); };
  set(kMarkRow, std::clamp(g.Mark(s) - 1, -1, 15));
  set(kHatchRow, std::clamp(g.Hatch(s) - 1, -1, 7));
  set(kThicknessRow, std::clamp(g.Thickness(s) - 1, -1, 4));
  set(kStyleRow, std::clamp(g.LineStyle(s) - 1, -1, 5));
  set(kForeRow, g.SeriesColour(s) & 15);
  set(kBackRow, g.SeriesBackground(s) & 15);
  display_.SetIndex(g.SeriesDisplay(s) & 3);
  grid_.SetIndex(g.Options() & 3);
  gridStyle_.SetIndex((g.Options() & 0x04) ? 0 : 1);
  set(kInsideRow, g.InsideColour() & 15);
  set(kOutsideRow, g.OutsideColour() & 15);
  loading_ = false;
  if (preview_) preview_->Invalidate();
}

void TGrange::LoadAxis() {
  loading_ = true;
  const TGraphSettingsFields::TAxis& a = settings_.fields.axes[static_cast<std::size_t>(scaleTab_)];
  scaleEdits_[kLowerRow]->SetText(a.lower);
  scaleEdits_[kUpperRow]->SetText(a.upper);
  scaleEdits_[kStepRow]->SetText(a.step);
  scaleEdits_[kDivRow]->SetText(a.divisions);
  TComboBox* formats = format_;
  auto known = std::find_if(std::begin(kFormats), std::end(kFormats), [&](const TFormatChoice& c) { return c.format == a.format; });
  std::vector<std::string> items;
  for (const TFormatChoice& c : kFormats) items.push_back(c.name);
  if (known == std::end(kFormats)) items.push_back("Format " + std::to_string(a.format));
  formats->SetItems(items);
  formats->SetItemIndex(known == std::end(kFormats) ? static_cast<int>(items.size()) - 1
                                                    : static_cast<int>(known - std::begin(kFormats)));
  axisKind_.SetIndex(a.exponential ? 1 : 0);
  scaling_.SetIndex(a.manual ? 0 : 1);
  loading_ = false;
}

void TGrange::StoreAxis() {
  TGraphSettingsFields::TAxis& a = settings_.fields.axes[static_cast<std::size_t>(scaleTab_)];
  a.lower = scaleEdits_[kLowerRow]->Text();
  a.upper = scaleEdits_[kUpperRow]->Text();
  a.step = scaleEdits_[kStepRow]->Text();
  a.divisions = scaleEdits_[kDivRow]->Text();
  int format = format_->ItemIndex();
  if (format >= 0 && format < static_cast<int>(std::size(kFormats))) a.format = kFormats[format].format;
  a.exponential = axisKind_.Index() == 1;
  a.manual = scaling_.Index() == 0;
}

void TGrange::LoadFont() {
  loading_ = true;
  const TGraphRecord& g = settings_.Record();
  fontList_->SetItemIndex(fontElement_ - 1);
  std::string face = g.FontName(fontElement_);
  fontFace_->SetText(face.empty() ? "ARIAL" : face);
  fontSize_->SetText(std::to_string(g.FontSize(fontElement_)));
  for (int bit = 0; bit < 4; ++bit)
    fontStyles_[static_cast<std::size_t>(bit)]->SetChecked((g.FontStyle(fontElement_) >> bit) & 1);
  fontColour_->SetItemIndex(g.TextColour(fontElement_) & 15);
  loading_ = false;
}

void TGrange::LoadNames() { nameList_->SetItems(settings_.Names()); }

void TGrange::Store(const std::function<void(TGraphRecord&)>& change) {
  if (loading_) return;
  settings_.Edit(change);
  Changed();
}

void TGrange::Changed() {
  if (preview_) preview_->Invalidate();
  Fire(OnGraphChanged, this);
}

// ---- Actions ----------------------------------------------------------------------

void TGrange::PointRange(TEdit* edit, const std::string& letter) {
  TRange preset;
  if (!ParseRange(edit->Text(), preset) || !RangeIsValid(preset)) WindowServices().GetGridSelection(preset);
  // The sheet is pointed at while the dialog is hidden; the windows a modal
  // run disabled are usable meanwhile.
  Hide();
  std::vector<HWND> enabled = EnableOtherWindows(Handle());
  auto back = [this, enabled] {
    for (HWND hwnd : enabled)
      if (IsWindow(hwnd)) EnableWindow(hwnd, FALSE);
    Show();
  };
  bool started = RangePromptStart("Range " + letter + ":", [edit, back](std::string_view text) {
    edit->SetText(std::string(text));
    back();
    return true;
  }, preset);
  if (!started) back();
}

bool TGrange::OkClick() {
  StoreAxis();
  TGraphSettingsFields& f = settings_.fields;
  f.xRange = rangeEdits_[0]->Text();
  for (int s = 1; s <= kGraphSeries; ++s) {
    f.seriesRanges[static_cast<std::size_t>(s - 1)] = rangeEdits_[static_cast<std::size_t>(s)]->Text();
    f.labelRanges[static_cast<std::size_t>(s - 1)] = labelEdits_[static_cast<std::size_t>(s - 1)]->Text();
  }
  TGraphSettingsProblem problem;
  if (!settings_.Ok(problem)) {
    ShowError(problem.message);
    using F = TGraphSettingsField;
    TEdit* edit = nullptr;
    switch (problem.field) {
      case F::kXRange: edit = rangeEdits_[0]; break;
      case F::kSeriesRange: edit = rangeEdits_[static_cast<std::size_t>(problem.index)]; break;
      case F::kLabelRange: edit = labelEdits_[static_cast<std::size_t>(problem.index - 1)]; break;
      case F::kLower: edit = scaleEdits_[kLowerRow]; break;
      case F::kUpper: edit = scaleEdits_[kUpperRow]; break;
      case F::kStep: edit = scaleEdits_[kStepRow]; break;
      case F::kDivisions: edit = scaleEdits_[kDivRow]; break;
      default: break;
    }
    if (problem.field == F::kXRange || problem.field == F::kSeriesRange || problem.field == F::kLabelRange) {
      SelectPage(kGraphPageRanges, problem.field == F::kLabelRange ? 1 : 0);
    } else if (edit != nullptr) {
      SelectPage(kGraphPageScales, problem.index);
    }
    if (edit != nullptr && Visible()) edit->SetFocus();
    return false;
  }
  Changed();
  if (TSheetId sheet = WindowServices().ActiveSheet(); sheet != kNoSheet) WindowServices().RepaintSheet(sheet);
  Answer(mrOk);
  return true;
}

void TGrange::CancelClick() {
  if (!settings_.Cancel()) ShowError(kOutOfMemoryText);
  Changed();
  Answer(mrCancel);
}

void TGrange::Answer(int result) {
  answered_ = true;
  if (Modal()) {
    SetModalResult(result);
  } else {
    Hide();
  }
}

void TGrange::FormKeyDown(TObject*, int& Key, TShiftState Shift) {
  // Ctrl+Tab and Ctrl+Shift+Tab step through the page's tabs, round; the
  // keyboard goes to the tab's first control (the one after the tab strip).
  if (Key == VK_TAB && (Shift & ssCtrl) != 0) {
    if (tabbar* tabs = tabs_[static_cast<std::size_t>(page_)]; tabs != nullptr && tabs->Model().Count() > 0) {
      const int count = tabs->Model().Count();
      tabs->Model().SetItemIndex((tabs->Model().ItemIndex() + ((Shift & ssShift) != 0 ? count - 1 : 1)) % count);
      tabs->SetFocus();
      FocusNextTabStop(Handle(), false);
    }
    Key = 0;
    return;
  }
  if (Key == VK_INSERT) {
    Fire(OnPassKey, Key);
    Key = 0;
    return;
  }
  // On the font picker (Fonts page, Typeface sub-page) Escape goes to the
  // font list rather than closing.
  if (Key == VK_ESCAPE && (page_ == kGraphPageFonts || typeface_)) {
    fontList_->SetFocus();
    Key = 0;
  }
}

TButton* TGrange::TypeButton(bool threeD, int index) const {
  return threeD ? types3D_[static_cast<std::size_t>(index)] : types2D_[static_cast<std::size_t>(index)];
}

void ConnectGraphViewAndSettings(TGraphView& view, TGrange& dialog) {
  view.OnOpenPage = [&view, &dialog](int code) {
    // A named graph in view (a graph box's) is what its element pages edit:
    // it takes the current graph's place for the modal run, the window
    // showing it there, and is stored back after; the current graph returns.
    const int index = view.GraphIndex;
    TGraphRecord named;
    if (index < 1 || dialog.Visible() || !GraphRecordAt(index, named)) {
      dialog.ShowPage(~code);
      return;
    }
    const TGraphRecord current = CurrentGraph();
    SetCurrentGraph(named);
    view.GraphIndex = -1;
    dialog.ShowPage(~code);
    const TGraphRecord edited = CurrentGraph();
    SetGraphRecordAt(index, edited);
    SetCurrentGraph(current);
    view.GraphIndex = index;
    // Closed with no change, the graph keeps its selected element.
    if (!(edited == named)) view.GraphChanged();
  };
  dialog.OnGraphChanged = [&view](TObject*) { view.GraphChanged(); };
  dialog.OnShowGraph = [&view](TObject*) { view.ShowGraph(-1); };
}

}  // namespace corvane
