// The print dialog, the preview window and the printer status window.
#include "spreadsheet/files/win/PrintForms.h"

#include <commdlg.h>

#include <algorithm>

#include "classlib/win/Application.h"
#include "spreadsheet/engine/EngineError.h"
#include "spreadsheet/engine/EnginePlatform.h"
#include "spreadsheet/engine/RangePrompt.h"
#include "spreadsheet/engine/RangeText.h"
#include "spreadsheet/engine/ShowError.h"
#include "spreadsheet/engine/WindowServices.h"
#include "spreadsheet/files/SettingsFile.h"
#include "spreadsheet/files/win/Printer.h"

namespace corvane {

using namespace classlib;

namespace {

constexpr int kHelpContext = 100;
constexpr int kShadowOffset = 7, kShadowWidth = 6, kPageInset = 4;

// A control placed on `parent` at the given bounds with a caption.
template <class Control>
Control& Place(Control& control, TWinControl* parent, const char* caption, int x, int y, int w, int h) {
  control.SetParent(parent);
  if (caption != nullptr) control.SetCaption(caption);
  control.SetBounds(x, y, w, h);
  return control;
}

// A caption label owned by the form, pointing at `focus`.
void AddCaption(std::vector<std::unique_ptr<TWinControl>>& owned, TWinControl* parent, const char* text, int x, int y,
             int w, TWinControl* focus = nullptr) {
  auto label = std::make_unique<TLabel>(nullptr);
  Place(*label, parent, text, x, y + 3, w, 16);
  if (focus != nullptr) label->SetFocusControl(focus);
  owned.push_back(std::move(label));
}

// The hourglass while a long command runs.
void ShowWaitCursor(bool on) { SetCursor(LoadCursor(nullptr, on ? IDC_WAIT : IDC_ARROW)); }

}  // namespace

// ---- Gauge and printer status ------------------------------------------------------------

void TGauge::SetPercent(int percent) {
  percent = std::clamp(percent, 0, 100);
  if (percent == percent_) return;
  percent_ = percent;
  Invalidate();
}

void TGauge::Paint(TCanvas& Canvas) {
  TRect r = ClientRect();
  Canvas.Brush = TBrush{clWhite};
  Canvas.FillRect(r);
  Canvas.Brush = TBrush{clNavy};
  Canvas.FillRect({r.Left, r.Top, r.Left + r.Width() * percent_ / 100, r.Bottom});
  Canvas.Brush = TBrush{clBlack};
  Canvas.FrameRect(r);
  Canvas.Brush.Style = TBrushStyle::bsClear;
  Canvas.Font.Color = percent_ >= 50 ? clWhite : clBlack;
  Canvas.TextAlign = taCenter | taTop;
  std::string text = std::to_string(percent_) + " %";
  Canvas.TextOut(r.Width() / 2, (r.Height() - Canvas.TextHeight(text)) / 2, text);
}

TAbortForm::TAbortForm(TComponent* AOwner) : TForm(AOwner, "Printer Status") {
  BorderStyle = TFormBorderStyle::bsDialog;
  Position = TPosition::poScreenCenter;
  SetClientSize(300, 150);
  Place(PrinterLabel, this, "", 12, 10, 276, 18);
  Place(PageLabel, this, "Page:", 12, 34, 130, 18);
  Place(LinesLabel, this, "Lines:", 150, 34, 138, 18);
  Place(Gauge, this, nullptr, 12, 60, 276, 22);
  Place(AbortButton, this, "Abort Printing", 90, 100, 120, 28);
  AbortButton.Cancel = true;
  AbortButton.OnClick = [this](TObject*) {
    aborted_ = true;
    Hide();
  };
}

void TAbortForm::Start(const std::string& printerName) {
  PrinterLabel.SetCaption(printerName);
  Show();
}

void TAbortForm::Progress(int percent, int lines, int page) {
  PageLabel.SetCaption("Page: " + std::to_string(page));
  LinesLabel.SetCaption("Lines: " + std::to_string(lines));
  Gauge.SetPercent(percent);
}

// ---- Preview -------------------------------------------------------------------------------

class TPreviewArea : public TCustomControl {
 public:
  explicit TPreviewArea(TPviewdlg& owner) : TCustomControl(nullptr), owner_(owner) {}
  bool suspended = false;

 protected:
  void Paint(TCanvas& Canvas) override {
    TRect client = ClientRect();
    Canvas.Brush = TBrush{clGray};
    Canvas.FillRect(client);
    TPreviewModel& model = owner_.model_;
    model.SetView(client, owner_.metrics_);
    owner_.ZoomLabel.SetCaption(model.ZoomText());
    TRect page = model.PageRect();
    Canvas.Brush = TBrush{clBlack};
    Canvas.FillRect({page.Right, page.Top + kShadowOffset, page.Right + kShadowWidth, page.Bottom + kShadowWidth});
    Canvas.FillRect({page.Left + kShadowOffset, page.Bottom, page.Right + kShadowWidth, page.Bottom + kShadowWidth});
    Canvas.Brush = TBrush{clWhite};
    Canvas.FillRect(page);
    if (suspended || owner_.pageCount_ == 0) return;
    TCanvasStateSaver saved(Canvas);
    TPrintTarget target;
    target.canvas = &Canvas;
    target.page = owner_.metrics_;
    target.area = page.Inflate(-kPageInset, -kPageInset);
    PrintSheetPages(owner_.sheet_, owner_.mode_, owner_.page_, target);
    ClearErrorFlag();
  }
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override {
    dragging_ = true;
    start_ = last_ = {X, Y};
    SetCapture();
    TCustomControl::MouseDown(Button, Shift, X, Y);
  }
  void MouseMove(TShiftState Shift, int X, int Y) override {
    if (dragging_) {
      DrawNow([&](TCanvas& canvas) {
        Band(canvas, last_);
        Band(canvas, {X, Y});
      });
      last_ = {X, Y};
    }
    TCustomControl::MouseMove(Shift, X, Y);
  }
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override {
    if (!dragging_) return;
    dragging_ = false;
    ReleaseCapture();
    if (Button == TMouseButton::mbLeft)
      owner_.model_.LeftRelease(start_, {X, Y});
    else if (!owner_.model_.ZoomOut())
      MessageBeep(MB_OK);
    Invalidate();
    TCustomControl::MouseUp(Button, Shift, X, Y);
  }

 private:
  // The rubber band from the press to `to`, drawn so that a second drawing
  // removes it.
  void Band(TCanvas& canvas, TPoint to) {
    if (to.x == start_.x && to.y == start_.y) return;
    canvas.Pen = TPen{clBlack, 1, TPenStyle::psSolid, TPenMode::pmNot};
    canvas.Brush.Style = TBrushStyle::bsClear;
    canvas.Rectangle({std::min(start_.x, to.x), std::min(start_.y, to.y), std::max(start_.x, to.x) + 1,
                      std::max(start_.y, to.y) + 1});
  }

  TPviewdlg& owner_;
  bool dragging_ = false;
  TPoint start_, last_;
};

TPviewdlg::TPviewdlg(TComponent* AOwner, TPrintSheet& sheet, int mode)
    : TForm(AOwner, "Preview"), sheet_(sheet), mode_(mode), area_(std::make_unique<TPreviewArea>(*this)) {
  Position = TPosition::poScreenCenter;
  SetClientSize(760, 560);
  KeyPreview = true;
  Bar.SetParent(this);
  Bar.SetAlign(alTop);
  Bar.SetBounds(0, 0, 760, 36);
  Place(PageCaption, &Bar, "Page: ", 8, 7, 40, 18);
  Place(PageBox, &Bar, nullptr, 48, 7, 56, 200);
  PageBox.Style = TComboBoxStyle::csDropDownList;
  Place(OfLabel, &Bar, "of 0", 110, 10, 50, 18);
  Place(AllButton, &Bar, "All", 160, 5, 44, 26);
  Place(PrintPageButton, &Bar, "Print Current Page", 208, 5, 124, 26);
  Place(PrintAllButton, &Bar, "Print All", 336, 5, 70, 26);
  Place(TextCaption, &Bar, "&Text (%) ", 414, 10, 60, 18);
  Place(TextEdit, &Bar, nullptr, 474, 7, 44, 22);
  Place(FitButton, &Bar, "Fit", 524, 5, 40, 26);
  Place(CloseButton, &Bar, "Close", 568, 5, 60, 26);
  Place(ZoomLabel, &Bar, "", 636, 10, 116, 18);
  TextCaption.SetFocusControl(&TextEdit);
  CloseButton.ModalResult = mrOk;
  CloseButton.Cancel = true;
  area_->SetParent(this);
  area_->SetAlign(alClient);

  PageBox.OnChange = [this](TObject*) { ShowPage(PageBox.ItemIndex() + 1); };
  AllButton.OnClick = [this](TObject*) {
    model_.Reset();
    area_->Invalidate();
  };
  PrintPageButton.OnClick = [this](TObject*) { PrintPages(page_); };
  PrintAllButton.OnClick = [this](TObject*) { PrintPages(kPrintAllPages); };
  TextEdit.OnExit = [this](TObject*) { TextScaleEntered(); };
  TextEdit.OnKeyDown = [this](TObject*, int& key, TShiftState) {
    if (key != VK_RETURN) return;
    key = 0;
    TextScaleEntered();
  };
  FitButton.OnClick = [this](TObject*) { Fit(); };
  OnShow = [this](TObject*) { Start(); };
}

TPviewdlg::~TPviewdlg() = default;

HWND TPviewdlg::AreaHandle() const { return area_->Handle(); }

int TPviewdlg::CountPages() {
  // Counting draws nothing; a small bitmap's worth of canvas is not needed.
  TPrintTarget target;
  target.page = metrics_;
  int pages = PrintSheetPages(sheet_, mode_, kPrintCountPages, target);
  if (ErrorFlagSet()) {
    ShowError(ErrorMessage());
    ClearErrorFlag();
  }
  return pages;
}

void TPviewdlg::Start() {
  metrics_ = CurrentPageMetrics();
  model_.Reset();
  pageCount_ = CountPages();
  std::vector<std::string> pages;
  for (int i = 1; i <= pageCount_; ++i) pages.push_back(std::to_string(i));
  PageBox.SetItems(pages);
  OfLabel.SetCaption("of " + std::to_string(pageCount_));
  TextEdit.SetText(std::to_string(PrintOptions().textScale));
  ShowPage(1);
}

void TPviewdlg::ShowPage(int page) {
  page_ = std::clamp(page, 1, std::max(1, pageCount_));
  if (pageCount_ > 0 && PageBox.ItemIndex() != page_ - 1) PageBox.SetItemIndex(page_ - 1);
  area_->Invalidate();
}

void TPviewdlg::TextScaleEntered() {
  int scale = ClampScaleText(TextEdit.Text(), kPreviewScaleMin, kPreviewScaleMax);
  TextEdit.SetText(std::to_string(scale));
  if (scale == PrintOptions().textScale) return;
  PrintOptions().textScale = scale;
  Start();
}

void TPviewdlg::Fit() {
  ShowWaitCursor(true);
  int scale = FitTextScale(PrintOptions().textScale, [this](int s) {
    PrintOptions().textScale = s;
    return CountPages();
  });
  PrintOptions().textScale = scale;
  ShowWaitCursor(false);
  Start();
}

void TPviewdlg::PrintPages(int page) {
  area_->suspended = true;
  PrintWorksheet(sheet_, mode_, page);
  area_->suspended = false;
  area_->Invalidate();
}

// ---- The print dialog ------------------------------------------------------------------------

Tmyprint::Tmyprint(TComponent* AOwner, std::function<std::unique_ptr<TPrintSheet>()> sheet)
    : TForm(AOwner, kPrintCaption), sheet_(std::move(sheet)) {
  BorderStyle = TFormBorderStyle::bsDialog;
  Position = TPosition::poScreenCenter;
  KeyPreview = true;
  SetClientSize(470, 330);
  Notebook.SetParent(this);
  Notebook.SetAlign(alClient);
  BuildFirstPage(Notebook.AddPage("Print"));
  BuildSecondPage(Notebook.AddPage("Options"));
  OnKeyDown = [this](TObject*, int& key, TShiftState) {
    if (key != VK_ESCAPE) return;
    key = 0;
    MessageBeep(MB_OK);
    Hide();
  };
}

void Tmyprint::BuildFirstPage(TPage& page) {
  AddCaption(decorations_, &page, "Printer:", 12, 10, 60);
  Place(PrinterBox, &page, nullptr, 76, 10, 250, 200);
  PrinterBox.Style = TComboBoxStyle::csDropDownList;
  Place(PageGroup, &page, "Page", 12, 44, 314, 124);
  Place(AllButton, &PageGroup, "&All", 12, 22, 120, 20);
  Place(AllLabel, &PageGroup, "", 136, 24, 170, 18);
  Place(RangeButton, &PageGroup, "&Selected Range", 12, 54, 120, 20);
  Place(RangeEdit, &PageGroup, nullptr, 136, 52, 166, 22);
  Place(GraphButton, &PageGroup, "&Named Graph", 12, 88, 120, 20);
  Place(GraphBox, &PageGroup, nullptr, 136, 86, 166, 200);
  GraphBox.Style = TComboBoxStyle::csDropDownList;
  Place(GridCheck, &page, "Show &Grid", 12, 184, 150, 20);
  const int x = 346, w = 110;
  Place(PrintButton, &page, "&Print", x, 10, w, 28);
  Place(OptionsButton, &page, "Op&tions...", x, 46, w, 28);
  Place(SetupButton, &page, "S&etup...", x, 82, w, 28);
  Place(PreviewButton, &page, "Pre&view....", x, 118, w, 28);
  Place(FileButton, &page, "Print to &File", x, 154, w, 28);
  Place(CancelButton, &page, "&Cancel", x, 206, w, 28);
  PrintButton.SetDefault(true);

  PrinterBox.OnChange = [this](TObject*) {
    if (PrinterBox.ItemIndex() >= 0) SetCurrentPrinter(PrinterBox.Item(PrinterBox.ItemIndex()));
  };
  for (TRadioButton* b : {&AllButton, &RangeButton, &GraphButton})
    b->OnClick = [this](TObject*) { ChoiceChanged(); };
  GraphBox.OnChange = [this](TObject*) {
    GraphButton.SetChecked(true);
    AllButton.SetChecked(false);
    RangeButton.SetChecked(false);
    ChoiceChanged();
  };
  RangeEdit.OnMouseDown = [this](TObject*, TMouseButton, TShiftState, int, int) {
    RangeButton.SetChecked(true);
    AllButton.SetChecked(false);
    GraphButton.SetChecked(false);
    ChoiceChanged();
  };
  RangeEdit.OnDblClick = [this](TObject*) { PromptInto(RangeEdit, kSpecifyPrintRange); };
  GridCheck.OnClick = [this](TObject*) { PrintOptions().showGrid = GridCheck.Checked(); };
  PrintButton.OnClick = [this](TObject*) { PrintClick(); };
  OptionsButton.OnClick = [this](TObject*) { ShowPage(1); };
  SetupButton.OnClick = [this](TObject*) {
    if (RunPrinterSetup(Handle())) {
      values_.landscape = PrinterLandscape();
      ToControls();
    }
  };
  PreviewButton.OnClick = [this](TObject*) { PreviewClick(); };
  FileButton.OnClick = [this](TObject*) {
    char file[MAX_PATH] = {};
    OPENFILENAMEA ofn = {};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = Handle();
    ofn.lpstrFilter = "ASCII (*.prn)\0*.prn\0ASCII (*.txt)\0*.txt\0";
    ofn.lpstrFile = file;
    ofn.nMaxFile = MAX_PATH;
    ofn.Flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_EXPLORER;
    if (GetSaveFileNameA(&ofn)) PrintToFile(file);
  };
  CancelButton.OnClick = [this](TObject*) { Hide(); };
}

void Tmyprint::BuildSecondPage(TPage& page) {
  TGroupBox* margins = &MarginsGroup;
  Place(*margins, &page, "Margins:", 12, 8, 220, 96);
  AddCaption(decorations_, margins, "&Top: ", 10, 22, 40, &TopEdit);
  Place(TopEdit, margins, nullptr, 52, 22, 50, 22);
  AddCaption(decorations_, margins, "L&eft: ", 110, 22, 40, &LeftEdit);
  Place(LeftEdit, margins, nullptr, 152, 22, 50, 22);
  AddCaption(decorations_, margins, "&Bot: ", 10, 54, 40, &BottomEdit);
  Place(BottomEdit, margins, nullptr, 52, 54, 50, 22);
  AddCaption(decorations_, margins, "&Rt: ", 110, 54, 40, &RightEdit);
  Place(RightEdit, margins, nullptr, 152, 54, 50, 22);
  Place(DefaultsButton, &page, "&Defaults", 12, 110, 80, 26);

  TGroupBox* borders = &BordersGroup;
  Place(*borders, &page, "Borders:", 240, 8, 216, 96);
  AddCaption(decorations_, borders, "Ro&ws: ", 10, 22, 50, &RowsEdit);
  Place(RowsEdit, borders, nullptr, 62, 22, 140, 22);
  // Every letter of Cols and of Help a control of the page answers.
  AddCaption(decorations_, borders, "Cols: ", 10, 54, 50, &ColsEdit);
  Place(ColsEdit, borders, nullptr, 62, 54, 140, 22);

  AddCaption(decorations_, &page, "&Header: ", 12, 146, 60, &HeaderEdit);
  Place(HeaderEdit, &page, nullptr, 76, 146, 300, 22);
  Place(HeaderLineCheck, &page, "Line", 386, 148, 60, 20);
  AddCaption(decorations_, &page, "&Footer: ", 12, 176, 60, &FooterEdit);
  Place(FooterEdit, &page, nullptr, 76, 176, 300, 22);
  Place(FooterLineCheck, &page, "Line", 386, 178, 60, 20);
  AddCaption(decorations_, &page, "&Scale (%):", 12, 208, 70, &ScaleBox);
  Place(ScaleBox, &page, nullptr, 86, 208, 70, 200);
  std::vector<std::string> choices;
  for (int choice : kScaleChoices) choices.push_back(std::to_string(choice));
  ScaleBox.SetItems(choices);

  TGroupBox* options = &OptionsGroup;
  Place(*options, &page, "Options:", 170, 204, 200, 60);
  Place(FrameCheck, options, "Fr&ame ( Show Margin )", 8, 16, 186, 20);
  Place(MonoCheck, options, "&Mono ( Disables Shades )", 8, 36, 186, 20);
  TGroupBox* orientation = &OrientationGroup;
  Place(*orientation, &page, "Page Orientation:", 12, 240, 150, 60);
  Place(PortraitButton, orientation, "&Portrait", 8, 16, 120, 20);
  Place(LandscapeButton, orientation, "&Landscape", 8, 36, 120, 20);
  Place(ResolutionLabel, &page, "Resolution:", 170, 270, 200, 16);
  Place(PixelsLabel, &page, "Pixels:", 170, 288, 200, 16);
  Place(InchesLabel, &page, "Inches:", 170, 306, 200, 16);
  Place(OkButton, &page, "&Ok", 386, 214, 70, 26);
  Place(OptionsCancelButton, &page, "&Cancel", 386, 246, 70, 26);
  Place(HelpButton, &page, "Help", 386, 278, 70, 26);

  DefaultsButton.OnClick = [this](TObject*) { Hide(); };
  RowsEdit.OnDblClick = [this](TObject*) { PromptInto(RowsEdit, std::string("Rows") + kSpecifyRangeSuffix); };
  ColsEdit.OnDblClick = [this](TObject*) { PromptInto(ColsEdit, std::string("Cols") + kSpecifyRangeSuffix); };
  ScaleBox.OnChange = [this](TObject*) {
    values_.scale = ScaleBox.Text();
    values_.ScaleChanged();
  };
  OkButton.OnClick = [this](TObject*) { OptionsOk(); };
  OptionsCancelButton.OnClick = [this](TObject*) {
    values_.LoadOptions(PrinterLandscape());
    ToControls();
    ShowPage(0);
  };
  HelpButton.OnClick = [this](TObject*) {
    std::string help = ProgramSettings().ProgramFolder;
    if (!help.empty() && help.back() != '\\') help += '\\';
    help += ProgramSettings().BaseName + ".HLP";
    WinHelpA(Handle(), help.c_str(), HELP_CONTEXT, kHelpContext);
  };
}

void Tmyprint::Open() {
  TRange selection;
  WindowServices().GetGridSelection(selection);
  values_.Activate(selection, PrinterLandscape());
  std::vector<std::string> printers = InstalledPrinters();
  PrinterBox.SetItems(printers);
  auto current = std::find(printers.begin(), printers.end(), CurrentPrinterName());
  if (current != printers.end()) PrinterBox.SetItemIndex(static_cast<int>(current - printers.begin()));
  ToControls();
  TPageMetrics page = CurrentPageMetrics();
  ResolutionLabel.SetCaption("Resolution: " + std::to_string(page.ppiX) + " x " + std::to_string(page.ppiY));
  PixelsLabel.SetCaption("Pixels: " + std::to_string(page.width) + " x " + std::to_string(page.height));
  char inches[64];
  std::snprintf(inches, sizeof inches, "Inches: %.2f x %.2f", page.ppiX > 0 ? double(page.width) / page.ppiX : 0.0,
                page.ppiY > 0 ? double(page.height) / page.ppiY : 0.0);
  InchesLabel.SetCaption(inches);
  ShowPage(0);
  Show();
}

void Tmyprint::ShowPage(int index) {
  Notebook.SetPageIndex(index);
  SetCaption(index == 0 ? kPrintCaption : kPrintOptionsCaption);
}

void Tmyprint::ToControls() {
  AllButton.SetChecked(values_.what == TPrintWhat::kAll);
  RangeButton.SetChecked(values_.what == TPrintWhat::kRange);
  GraphButton.SetChecked(values_.what == TPrintWhat::kGraph);
  AllLabel.SetCaption(values_.allText);
  RangeEdit.SetText(values_.rangeText);
  GraphBox.SetItems(values_.graphs);
  GraphBox.SetItemIndex(values_.graphIndex);
  GridCheck.SetChecked(values_.showGrid);
  TopEdit.SetText(values_.top);
  LeftEdit.SetText(values_.left);
  BottomEdit.SetText(values_.bottom);
  RightEdit.SetText(values_.right);
  RowsEdit.SetText(values_.titleRows);
  ColsEdit.SetText(values_.titleCols);
  HeaderEdit.SetText(values_.header);
  FooterEdit.SetText(values_.footer);
  HeaderLineCheck.SetChecked(values_.headerLine);
  FooterLineCheck.SetChecked(values_.footerLine);
  ScaleBox.SetText(values_.scale);
  FrameCheck.SetChecked(values_.frame);
  MonoCheck.SetChecked(values_.mono);
  PortraitButton.SetChecked(!values_.landscape);
  LandscapeButton.SetChecked(values_.landscape);
  ChoiceChanged();
}

void Tmyprint::FromControls() {
  values_.what = GraphButton.Checked() ? TPrintWhat::kGraph
                 : RangeButton.Checked() ? TPrintWhat::kRange
                                         : TPrintWhat::kAll;
  values_.rangeText = RangeEdit.Text();
  values_.graphIndex = std::max(0, GraphBox.ItemIndex());
  values_.top = TopEdit.Text();
  values_.left = LeftEdit.Text();
  values_.bottom = BottomEdit.Text();
  values_.right = RightEdit.Text();
  values_.titleRows = RowsEdit.Text();
  values_.titleCols = ColsEdit.Text();
  values_.header = HeaderEdit.Text();
  values_.footer = FooterEdit.Text();
  values_.headerLine = HeaderLineCheck.Checked();
  values_.footerLine = FooterLineCheck.Checked();
  values_.frame = FrameCheck.Checked();
  values_.mono = MonoCheck.Checked();
  values_.landscape = LandscapeButton.Checked();
}

void Tmyprint::ChoiceChanged() {
  FromControls();
  PreviewButton.SetEnabled(values_.PreviewEnabled());
  FileButton.SetEnabled(values_.PreviewEnabled());
}

void Tmyprint::ReportError() {
  if (ErrorFlagSet() && !ErrorMessage().empty()) ShowError(ErrorMessage());
  ClearErrorFlag();
}

void Tmyprint::PrintClick() {
  if (printing_) return;
  FromControls();
  if (values_.what == TPrintWhat::kGraph) {
    ShowWaitCursor(true);
    PrintGraph(values_.graphIndex);
    ShowWaitCursor(false);
    return;
  }
  TRange block;
  int mode = 0;
  if (!values_.ChosenBlock(block, mode)) {
    ReportError();
    return;
  }
  std::unique_ptr<TPrintSheet> sheet = sheet_ ? sheet_() : nullptr;
  if (!sheet) return;
  Hide();
  WindowServices().RepaintSheet(WindowServices().ActiveSheet());
  printing_ = true;
  ShowWaitCursor(true);
  PrintWorksheet(*sheet, mode);
  ShowWaitCursor(false);
  printing_ = false;
  ReportError();
}

void Tmyprint::PreviewClick() {
  FromControls();
  TRange block;
  int mode = 0;
  if (!values_.ChosenBlock(block, mode)) {
    ReportError();
    return;
  }
  std::unique_ptr<TPrintSheet> sheet = sheet_ ? sheet_() : nullptr;
  if (!sheet) return;
  TPviewdlg preview(nullptr, *sheet, mode);
  preview.ShowModal();
  values_.scale = std::to_string(PrintOptions().textScale);
  ScaleBox.SetText(values_.scale);
}

void Tmyprint::PrintToFile(const std::string& fileName) {
  FromControls();
  TRange block;
  int mode = 0;
  if (!values_.ChosenBlock(block, mode) || !PrintToTextFile(PrintFileName(fileName), block)) ReportError();
}

void Tmyprint::OptionsOk() {
  FromControls();
  if (!values_.StoreOptions()) {
    ReportError();
    return;
  }
  SetPrinterLandscape(values_.landscape);
  ShowPage(0);
  WindowServices().RepaintSheet(WindowServices().ActiveSheet());
}

void Tmyprint::PromptInto(TEdit& field, const std::string& caption) {
  FromControls();
  TRange preset;
  ParseRange(field.Text(), preset);
  ClearErrorFlag();
  Hide();
  bool started = RangePromptStart(
      caption,
      [this, &field](std::string_view text) {
        field.SetText(std::string(text));
        if (&field == &RangeEdit) {
          RangeButton.SetChecked(true);
          AllButton.SetChecked(false);
          GraphButton.SetChecked(false);
        }
        FromControls();
        ChoiceChanged();
        Show();
        return true;
      },
      preset);
  if (!started) Show();
}

}  // namespace corvane
