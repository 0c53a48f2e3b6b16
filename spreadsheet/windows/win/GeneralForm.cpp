// The general settings dialog's form.
#include "spreadsheet/windows/win/GeneralForm.h"

#include <commdlg.h>

#include <algorithm>
#include <cstdlib>

#include "spreadsheet/engine/DocumentContext.h"
#include "spreadsheet/engine/EngineHelpers.h"
#include "spreadsheet/engine/EnginePlatform.h"
#include "spreadsheet/windows/SizeCopyDialogs.h"

namespace corvane {

using namespace classlib;

namespace {

constexpr int kButtonRowHeight = 34;

template <class Control>
Control* Make(TWinControl& parent, const char* caption, int x, int y, int width, int height) {
  auto* control = new Control(&parent);
  if (caption != nullptr) control->SetCaption(caption);
  control->SetBounds(x, y, width, height);
  control->SetParent(&parent);
  return control;
}

template <class Control>
void Place(Control& control, TWinControl& parent, const char* caption, int x, int y, int width, int height) {
  if (caption != nullptr) control.SetCaption(caption);
  control.SetBounds(x, y, width, height);
  control.SetParent(&parent);
}

TPEdit* Field(TWinControl& parent, const char* caption, int x, int y, int width, int margin) {
  auto* field = new TPEdit(&parent);
  field->SetBounds(x, y, width, 23);
  field->SetMargin(margin);
  field->SetCaption(caption);
  field->SetMaxlength(255);
  field->SetParent(&parent);
  return field;
}

// The list's item that equals `text`, or -1.
int IndexOfText(const TComboBox& box, const std::string& text) {
  for (int i = 0; i < box.Count(); ++i)
    if (box.Item(i) == text) return i;
  return -1;
}

std::string BoxText(const TComboBox& box) { return box.ItemIndex() >= 0 ? box.Item(box.ItemIndex()) : box.Text(); }

TColor PaletteColour(int index) { return static_cast<TColor>(kPalette16[index & 0x0F]); }

}  // namespace

TGendlg::TGendlg(TComponent* AOwner, std::function<TGeneralSheet*()> sheet)
    : TForm(AOwner, "General: Set Parameters"), sheet_(std::move(sheet)) {
  BorderStyle = TFormBorderStyle::bsDialog;
  Position = TPosition::poScreenCenter;
  KeyPreview = true;
  auto* buttons = new TPanel(this);
  buttons->SetBevelOuter(TBevelCut::bvNone);
  buttons->SetHeight(kButtonRowHeight);
  buttons->SetAlign(alBottom);
  buttons->SetParent(this);
  // Cancel has no letter (Escape is its key) and Apply Globally takes Y:
  // every other letter of theirs a control of some page answers.
  Place(Ok, *buttons, "&Ok", 6, 5, 50, 25);
  Place(Cancel, *buttons, "Cancel", 60, 5, 56, 25);
  Place(ApplyGlobally, *buttons, "Appl&y Globally", 120, 5, 96, 25);
  Ok.SetDefault(true);
  Ok.ModalResult = mrOk;
  Cancel.ModalResult = mrCancel;
  Cancel.Cancel = true;
  Notebook.SetAlign(alClient);
  Notebook.SetParent(this);
  // The buttons come after the page's fields in Tab order, so that a page
  // opens on its first field.
  buttons->SetTabOrder(ControlCount());
  BuildFormat(Notebook.AddPage("Format"));
  BuildOption(Notebook.AddPage("Option"));
  BuildTypeface(Notebook.AddPage("Typeface"));
  BuildColor(Notebook.AddPage("Color"));
  BuildFiles(Notebook.AddPage("Files"));
  BuildAdvanced(Notebook.AddPage("Advanced"));

  ApplyGlobally.OnClick = [this](TObject*) {
    values_.ApplyGlobally();
    EnginePlatform().MessageBeep();
  };
  // Escape beeps and cancels, putting back what the dialog changed.
  OnKeyDown = [this](TObject*, int& key, TShiftState) {
    if (key != VK_ESCAPE) return;
    key = 0;
    EnginePlatform().MessageBeep();
    SetModalResult(mrCancel);
  };
}

int TGendlg::Open(int page) {
  values_.page = std::clamp(page, 0, kGeneralPageCount - 1);
  Notebook.SetPageIndex(values_.page);
  int width = 0, height = 0;
  HDC screen = GetDC(nullptr);
  int ppi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  GeneralPageSize(values_.page, ppi, width, height);
  if (values_.page == kGeneralFormat) {
    // The format picker is wider than the page was drawn for: the page grows
    // to show it whole.
    width = std::max(width, Wformat1.Width() + 2 * GetSystemMetrics(SM_CXFIXEDFRAME) + 12);
    height = std::max(height, Wformat1.Height() + GetSystemMetrics(SM_CYCAPTION) + 16);
  }
  SetBounds(Left(), Top(), width, height + kButtonRowHeight);
  SetCaption(GeneralCaption(values_.page));
  ApplyGlobally.SetVisible(values_.page != kGeneralFiles && values_.page != kGeneralAdvanced);
  values_.Activate(sheet_());
  ToControls();
  int result = ShowModal();
  if (result == mrOk) {
    values_.format = Wformat1.Format();
    values_.rowsText = Rows->Text();
    values_.columnsText = Columns->Text();
    values_.historyText = History->Text();
    values_.autoExec = AutoExec->Text();
    values_.toolMac = ToolMac->Text();
    values_.Ok();
  } else {
    values_.Cancel();
  }
  return result;
}

void TGendlg::BuildFormat(TWinControl& page) {
  Wformat1.SetParent(&page);
  Wformat1.SetLeft(4);
  Wformat1.SetTop(4);
  Wformat1.Onclick = [this](TObject*) { values_.format = Wformat1.Format(); };
  // Enter in the picker chooses, as the Ok button does.
  Wformat1.OnEnterKey = [this](TObject*) { SetModalResult(mrOk); };
}

void TGendlg::BuildOption(TWinControl& page) {
  Rows = Field(page, "Ro&ws: ", 4, 8, 140, 70);
  Columns = Field(page, "Col&umns: ", 4, 36, 140, 70);
  for (TPEdit* field : {Rows, Columns})
    field->OnExit = [field](TObject*) {
      // The formula's result, as a whole number.
      std::string text = EvaluateNumberField(field->Text());
      if (!text.empty()) text = std::to_string(static_cast<int>(std::strtod(text.c_str(), nullptr)));
      if (text != field->Text()) field->SetText(text);
    };
  // Tab reads the left column (the sizes and the six options), then the
  // right one (sheets, alignment, grid lines).
  const char* optionCaptions[] = {"Show &Zero Values", "Color &Negative Values", "Apply &Banding Color ",
                                  "&3D Raise Borders", "&Protect Locked Cells", "&Auto Recalc Cells"};
  for (int i = 0; i < 6; ++i) {
    TCheckBox* box = Make<TCheckBox>(page, optionCaptions[i], 8, 70 + 22 * i, 150, 18);
    Options[static_cast<std::size_t>(i)] = box;
    box->OnClick = [this, box, i](TObject*) {
      bool on = box->Checked();
      switch (i) {
        case 0: values_.SetShowZeros(on); break;
        case 1: values_.SetNegativeInColour(on); break;
        case 2: values_.SetBanding(on); break;
        case 3: values_.SetThreeD(on); break;
        case 4: values_.SetProtect(on); break;
        default: values_.SetAutoRecalc(on); break;
      }
    };
  }
  Make<TLabel>(page, "Sh&eets:", 162, 12, 50, 16)->SetFocusControl(&Sheets);
  Sheets.Style = TComboBoxStyle::csDropDownList;
  Place(Sheets, page, nullptr, 214, 8, 80, 24);
  Sheets.SetItems({"1", "2", "4", "8", "16", "32", "64"});
  Sheets.OnChange = [this](TObject*) {
    if (!loading_ && Sheets.ItemIndex() >= 0) values_.SetSheetsIndex(Sheets.ItemIndex());
  };
  auto* align = Make<TGroupBox>(page, "Label Alignment", 162, 40, 132, 84);
  const char* alignCaptions[] = {"&Left", "&Center", "&Right"};
  for (int i = 0; i < 3; ++i) {
    Alignment[static_cast<std::size_t>(i)] = Make<TRadioButton>(*align, alignCaptions[i], 10, 18 + 20 * i, 110, 18);
    Alignment[static_cast<std::size_t>(i)]->OnClick = [this, i](TObject*) { values_.SetLabelAlignment(i + 1); };
  }
  auto* lines = Make<TGroupBox>(page, "Grid Lines", 162, 130, 132, 84);
  const char* lineCaptions[] = {"Display &Solid", "Show &Horizontal", "Show &Vertical"};
  const int lineBits[] = {4, 1, 2};
  for (int i = 0; i < 3; ++i) {
    TCheckBox* box = Make<TCheckBox>(*lines, lineCaptions[i], 10, 18 + 20 * i, 116, 18);
    GridLines[static_cast<std::size_t>(i)] = box;
    box->OnClick = [this, box, bit = lineBits[i]](TObject*) { values_.SetGridLine(bit, box->Checked()); };
  }
}

void TGendlg::BuildTypeface(TWinControl& page) {
  Make<TLabel>(page, "&Face:", 8, 12, 40, 16)->SetFocusControl(&Face);
  Place(Face, page, nullptr, 52, 8, 164, 24);
  Face.SetItems({"Arial", "Courier New", "MS Sans Serif", "Times New Roman"});
  Face.OnChange = [this](TObject*) { FontChanged(); };
  Size = Field(page, "&Size: ", 4, 40, 110, 44);
  Size->OnMod = [this](TObject*) { FontChanged(); };
  const char* styleCaptions[] = {"&Bold", "&Italic", "&Underline"};
  for (int i = 0; i < 3; ++i) {
    Styles[static_cast<std::size_t>(i)] = Make<TCheckBox>(page, styleCaptions[i], 52, 72 + 22 * i, 120, 18);
    Styles[static_cast<std::size_t>(i)]->OnClick = [this](TObject*) { FontChanged(); };
  }
}

void TGendlg::FontChanged() {
  if (loading_) return;
  values_.font.name = Face.Text().substr(0, 40);
  values_.font.rowHeight = static_cast<std::int16_t>(std::clamp(std::atoi(Size->Text().c_str()), 1, 254));
  values_.font.style = static_cast<std::int16_t>((Styles[0]->Checked() ? 1 : 0) | (Styles[1]->Checked() ? 2 : 0) |
                                                 (Styles[2]->Checked() ? 4 : 0));
  values_.fontChanged = true;
}

void TGendlg::BuildColor(TWinControl& page) {
  const char* itemCaptions[] = {"&Label", "&Value", "&Negative", "&Unlocked", "&Cursor", "O&dd", "B&ackgnd"};
  for (int i = 0; i < kColourItemCount; ++i) {
    Items[static_cast<std::size_t>(i)] = Make<TButton>(page, itemCaptions[i], 8, 8 + 27 * i, 76, 24);
    Items[static_cast<std::size_t>(i)]->OnClick = [this, i](TObject*) {
      values_.PickColourItem(i);
      ShowColour();
    };
  }
  Place(IgnoreForeground, page, "Ignor&e Foreground", 96, 8, 140, 18);
  Make<TLabel>(page, "Text colour:", 96, 32, 80, 16);
  Foreground.Style = TComboBoxStyle::csDropDownList;
  Place(Foreground, page, nullptr, 180, 28, 60, 24);
  std::vector<std::string> indices;
  for (int i = 0; i < 16; ++i) indices.push_back(std::to_string(i));
  Foreground.SetItems(indices);
  Place(IgnoreBackground, page, "&Ignore Background", 96, 60, 140, 18);
  const char* rgbCaptions[] = {"&R: ", "&G: ", "&B: "};
  for (int i = 0; i < 3; ++i) {
    TPEdit* field = Field(page, rgbCaptions[i], 92, 84 + 28 * i, 90, 30);
    Rgb[static_cast<std::size_t>(i)] = field;
    field->OnExit = [this](TObject*) { ColourChanged(); };
  }
  Place(Sample, page, "Sample 123", 196, 84, 120, 80);
  Place(ResetColours, page, "Re&set", 240, 180, 76, 24);
  IgnoreForeground.OnClick = [this](TObject*) { ColourChanged(); };
  IgnoreBackground.OnClick = [this](TObject*) { ColourChanged(); };
  Foreground.OnChange = [this](TObject*) { ColourChanged(); };
  ResetColours.OnClick = [this](TObject*) {
    values_.ResetColours();
    ShowColour();
  };
}

void TGendlg::ColourChanged() {
  if (loading_) return;
  TColourWord word = values_.colour;
  word.ignoreForeground = IgnoreForeground.Checked();
  word.ignoreBackground = IgnoreBackground.Checked();
  if (Foreground.ItemIndex() >= 0) word.foreground = Foreground.ItemIndex();
  // The R, G and B fields hold 0 to 255 and make the background colour.
  std::uint32_t rgb = 0;
  for (int i = 0; i < 3; ++i) {
    int part = std::clamp(std::atoi(Rgb[static_cast<std::size_t>(i)]->Text().c_str()), 0, 255);
    rgb |= static_cast<std::uint32_t>(part) << (8 * i);
  }
  word.background = rgb;
  values_.SetColour(word);
  ShowColour();
}

void TGendlg::ShowColour() {
  loading_ = true;
  const TColourWord& c = values_.colour;
  IgnoreForeground.SetChecked(c.ignoreForeground);
  IgnoreBackground.SetChecked(c.ignoreBackground);
  Foreground.SetItemIndex(c.foreground);
  for (int i = 0; i < 3; ++i) {
    std::string text = std::to_string((c.background >> (8 * i)) & 0xFF);
    if (Rgb[static_cast<std::size_t>(i)]->Text() != text) Rgb[static_cast<std::size_t>(i)]->SetText(text);
  }
  Sample.SetColor(c.ignoreBackground ? clWhite : static_cast<TColor>(c.background));
  TFont font = Sample.Font();
  font.Color = c.ignoreForeground ? clBlack : PaletteColour(c.foreground);
  Sample.SetFont(font);
  loading_ = false;
}

void TGendlg::BuildFiles(TWinControl& page) {
  AutoExec = Field(page, "&Autoexec", 2, 8, 198, 104);
  ToolMac = Field(page, "Toolbar (&Macros)", 2, 40, 198, 104);
  auto* browseStart = Make<TButton>(page, "&Browse...", 204, 8, 64, 23);
  auto* browseMacros = Make<TButton>(page, "B&rowse...", 204, 40, 64, 23);
  browseStart->OnClick = [this](TObject*) { Browse(*AutoExec, "wks", "Autoexec (*.wks)\0*.wks\0", true); };
  browseMacros->OnClick = [this](TObject*) { Browse(*ToolMac, "mac", "Toolbar (*.mac)\0*.mac\0", false); };
  History = Field(page, "&History List: ", 2, 76, 150, 104);
  Place(ClearHistory, page, "&Clear", 204, 76, 64, 23);
  ClearHistory.OnClick = [this](TObject*) { values_.ClearHistory(); };
}

void TGendlg::Browse(TPEdit& field, const char* extension, const char* filter, bool autoExec) {
  char name[MAX_PATH] = "";
  std::string start = field.Text().substr(0, MAX_PATH - 1);
  std::copy(start.begin(), start.end(), name);
  OPENFILENAMEA ofn = {};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = Handle();
  ofn.lpstrFilter = filter;
  ofn.lpstrFile = name;
  ofn.nMaxFile = MAX_PATH;
  ofn.lpstrDefExt = extension;
  ofn.Flags = OFN_HIDEREADONLY | OFN_FILEMUSTEXIST;
  if (!GetOpenFileNameA(&ofn)) return;
  field.SetText(name);
  if (autoExec)
    values_.SetAutoExec(name);
  else
    values_.SetToolMac(name);
}

void TGendlg::BuildAdvanced(TWinControl& page) {
  struct TBoxRow {
    TComboBox* box;
    const char* caption;
    std::vector<std::string> items;
  } rows[] = {
      // The separators' lists follow what may be chosen (ToControls).
      {&Argument, "&Argument:", {}},
      {&Thousands, "&Thousands:", {}},
      {&Decimal, "&Decimal:", {}},
      {&Currency, "&Currency:", {"$", "\xA3", "\xA5", "Dm"}},
  };
  int y = 8;
  for (TBoxRow& row : rows) {
    Make<TLabel>(page, row.caption, 8, y + 4, 70, 16)->SetFocusControl(row.box);
    Place(*row.box, page, nullptr, 80, y, 56, 24);
    row.box->SetItems(row.items);
    y += 28;
  }
  for (int box : {kArgumentBox, kThousandsBox, kDecimalBox})
    SeparatorBox(box).OnChange = [this, box](TObject*) { SeparatorChanged(box); };
  auto currency = [this](TObject*) {
    if (!loading_) values_.SetCurrency(BoxText(Currency), Prefix.Checked());
  };
  Currency.OnChange = currency;
  Place(Prefix, page, "&Prefix", 150, 92, 70, 18);
  Place(Suffix, page, "&Suffix", 150, 112, 70, 18);
  Prefix.OnClick = currency;
  Suffix.OnClick = currency;
  const char* flagCaptions[] = {"W&in Control Keys", "&US Date", "P&reOpen Sheet", "Win3 FileDlg", "&Backups (*.wkb)"};
  bool TProgramSettings::*flags[] = {&TProgramSettings::WinCtrl, &TProgramSettings::UsDate, &TProgramSettings::PreOpen,
                                     &TProgramSettings::Ocfds, &TProgramSettings::Backups};
  for (int i = 0; i < 5; ++i) {
    TCheckBox* box = Make<TCheckBox>(page, flagCaptions[i], 8, 124 + 20 * i, 138, 18);
    Flags[static_cast<std::size_t>(i)] = box;
    box->OnClick = [this, box, flag = flags[i]](TObject*) { values_.SetProgramFlag(flag, box->Checked()); };
  }
}

TComboBox& TGendlg::SeparatorBox(int box) {
  return box == kArgumentBox ? Argument : box == kThousandsBox ? Thousands : Decimal;
}

void TGendlg::SeparatorChanged(int box) {
  if (loading_) return;
  const std::string text = BoxText(SeparatorBox(box));
  if (text.empty()) return;
  // A choice may move the other separator of the thousands and decimal pair,
  // and changes what the other lists may offer; a refused one (typed) goes
  // back.
  const bool taken = values_.ChooseSeparator(box, text[0]);
  loading_ = true;
  for (int other : {kArgumentBox, kThousandsBox, kDecimalBox})
    if (other != box || !taken) LoadSeparatorBox(other);
  loading_ = false;
}

void TGendlg::LoadSeparatorBox(int box) {
  TComboBox& combo = SeparatorBox(box);
  std::vector<std::string> items;
  for (char c : values_.SeparatorChoices(box)) items.emplace_back(1, c);
  bool same = combo.Count() == static_cast<int>(items.size());
  for (int i = 0; same && i < combo.Count(); ++i) same = combo.Item(i) == items[static_cast<std::size_t>(i)];
  if (!same && !combo.DroppedDown()) combo.SetItems(items);
  const char held = box == kArgumentBox     ? values_.argumentSeparator
                    : box == kThousandsBox ? values_.thousandsSeparator
                                           : values_.decimalSeparator;
  const int index = IndexOfText(combo, std::string(1, held));
  if (index >= 0)
    combo.SetItemIndex(index);
  else
    combo.SetText(std::string(1, held));
}

void TGendlg::ToControls() {
  loading_ = true;
  const TGeneralSettings& v = values_;
  const TSheetSettings& s = gCurrentDoc.settings;
  Wformat1.SetFormat(v.format);
  Rows->SetText(v.rowsText);
  Columns->SetText(v.columnsText);
  Sheets.SetItemIndex(v.sheetsIndex);
  for (int i = 0; i < 3; ++i) Alignment[static_cast<std::size_t>(i)]->SetChecked(v.labelAlignment == i + 1);
  const bool options[] = {s.hideZeros == 0, s.negativeInColour != 0, s.banding != 0, v.threeD, s.protection != 0,
                          s.manualRecalc == 0};
  for (int i = 0; i < 6; ++i) Options[static_cast<std::size_t>(i)]->SetChecked(options[i]);
  int lines = v.sheet != nullptr ? v.sheet->GridLines() : 0;
  GridLines[0]->SetChecked((lines & 4) == 0);
  GridLines[1]->SetChecked((lines & 1) != 0);
  GridLines[2]->SetChecked((lines & 2) != 0);
  Face.SetText(v.font.name);
  Size->SetText(std::to_string(v.font.rowHeight));
  for (int i = 0; i < 3; ++i) Styles[static_cast<std::size_t>(i)]->SetChecked((v.font.style & (1 << i)) != 0);
  AutoExec->SetText(v.autoExec);
  ToolMac->SetText(v.toolMac);
  History->SetText(v.historyText);
  for (int box : {kArgumentBox, kThousandsBox, kDecimalBox}) LoadSeparatorBox(box);
  int currency = IndexOfText(Currency, v.currency);
  if (currency >= 0)
    Currency.SetItemIndex(currency);
  else
    Currency.SetText(v.currency);
  Prefix.SetChecked(v.currencyPrefix);
  Suffix.SetChecked(!v.currencyPrefix);
  const TProgramSettings& p = ProgramSettings();
  const bool flags[] = {p.WinCtrl, p.UsDate, p.PreOpen, p.Ocfds, p.Backups};
  for (int i = 0; i < 5; ++i) Flags[static_cast<std::size_t>(i)]->SetChecked(flags[i]);
  loading_ = false;
  ShowColour();
}

}  // namespace corvane
