// The font picker's windows and the system's font list.
#include "spreadsheet/controls/win/FontPickerWindow.h"

#include <algorithm>
#include <cctype>
#include <set>

#include "classlib/win/GdiHandles.h"
#include "spreadsheet/controls/ControlDrawing.h"
#include "spreadsheet/controls/ValueEdit.h"

namespace corvane {

using namespace classlib;

namespace {

int CALLBACK AddFontFamily(const LOGFONTA* font, const TEXTMETRICA*, DWORD type, LPARAM data) {
  auto& families = *reinterpret_cast<std::vector<std::string>*>(data);
  // Names beginning with "@" are the vertical forms of other fonts.
  if (font->lfFaceName[0] != '@') families.push_back(FontListEntry(font->lfFaceName, (type & TRUETYPE_FONTTYPE) != 0));
  return 1;
}

std::string Upper(std::string_view s) {
  std::string u(s);
  for (char& c : u) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return u;
}

}  // namespace

std::vector<std::string> SystemFontEntries() {
  std::vector<std::string> all;
  TWindowDCLease screen(nullptr);
  LOGFONTA wanted{};
  wanted.lfCharSet = DEFAULT_CHARSET;
  EnumFontFamiliesExA(screen.Get(), &wanted, AddFontFamily, reinterpret_cast<LPARAM>(&all), 0);
  // One entry a family (it comes once for each character set).
  std::vector<std::string> entries;
  std::set<std::string> seen;
  for (const std::string& entry : all)
    if (seen.insert(Upper(FontEntryName(entry))).second) entries.push_back(entry);
  std::sort(entries.begin(), entries.end(), [](const std::string& a, const std::string& b) {
    return Upper(FontEntryName(a)) < Upper(FontEntryName(b));
  });
  return entries;
}

Tcolorpanel::Tcolorpanel(TComponent* AOwner) : TKeyedModelWindow(AOwner) {
  ControlStyle &= ~csDoubleClicks;
  SetTabStop(true);
}

void Tcolorpanel::CreateParams(TCreateParams& Params) {
  TKeyedModelWindow::CreateParams(Params);
  Params.ClassName = "Tcolorpanel";
}

void Tcolorpanel::Paint(TCanvas& Canvas) {
  TKeyedModelWindow::Paint(Canvas);
  if (Focused()) model_.PaintFocus(Canvas);
}

Tfontmenu::Tfontmenu(TComponent* AOwner) : TCompositeControl(AOwner) {
  auto place = [this](TWinControl& control, int x, int y, int w, int h) {
    control.SetParent(this);
    control.SetBounds(x, y, w, h);
  };
  place(nameLabel_, 4, 0, 60, 15);
  nameLabel_.SetCaption("&Name");
  nameLabel_.SetFocusControl(&name_);
  place(name_, 4, 16, 153, 19);
  place(fonts_, 4, 36, 153, 96);
  place(sizeLabel_, 164, 0, 44, 15);
  sizeLabel_.SetCaption("&Size");
  sizeLabel_.SetFocusControl(&size_);
  place(size_, 164, 16, 44, 19);
  place(sizes_, 164, 36, 44, 61);
  place(styles_, 166, 36 + 61 + 4, 44, 65);
  place(sample_, 4, 36 + 96 + 8, 153, 50);
  place(chips_, 164, 36 + 96 + 8, 44, 48);
  for (TWinControl* control : std::initializer_list<TWinControl*>{&name_, &fonts_, &size_, &sizes_, &styles_})
    control->SetTabStop(true);

  std::vector<std::string> sizes;
  for (int size : kFontSizes) sizes.push_back(std::to_string(size));
  sizes_.SetItems(sizes);
  TBmpButModel& styles = styles_.Model();
  styles.SetToggle(true);
  styles.SetRows(2);
  styles.SetCols(2);
  styles.SetBw(16);
  styles.SetBh(14);
  styles.SetItems({"&B", "&I", "&U"});
  styles.SetSticky(true);
  sample_.SetColor(clWhite);
  sample_.SetBevelOuter(TBevelCut::bvLowered);

  fonts_.OnDrawItem = [this](const TDrawnItem& item) { DrawFont(item); };
  fonts_.OnClick = [this](TObject*) {
    int i = fonts_.ItemIndex();
    if (i >= 0) ListChosen(nameLabel_, name_, std::string(FontEntryName(fonts_.Item(i))));
  };
  sizes_.OnClick = [this](TObject*) {
    int i = sizes_.ItemIndex();
    if (i >= 0) ListChosen(sizeLabel_, size_, sizes_.Item(i));
  };
  name_.OnChange = [this](TObject*) { NameChanged(); };
  size_.OnChange = [this](TObject*) { SizeChanged(); };
  for (TEdit* field : {&name_, &size_}) {
    field->OnEnter = [this, field](TObject*) { enteredText_ = field->Text(); };
    field->OnExit = [this](TObject*) { Refresh(-1); };
    field->OnKeyDown = [this, field](TObject*, int& key, TShiftState) { FieldKey(*field, key); };
  }
  styles.Onchange = [this] { Refresh(-1); };
  chips_.Model().OnPick = [this](int chip) { Refresh(chip); };
  model_.onchange = [this] { Fire(onchange, this); };
  SetBounds(0, 0, 246, 260);
}

void Tfontmenu::CreateParams(TCreateParams& Params) {
  TCompositeControl::CreateParams(Params);
  Params.ClassName = "Tfontmenu";
}

void Tfontmenu::WindowCreated() {
  TCompositeControl::WindowCreated();
  TWindowDCLease screen(nullptr);
  TGdiCanvas canvas(screen.Get());
  canvas.Font = Font();
  fonts_.SetItemHeight(canvas.TextHeight("Ay") + 2);
  bool ignore = model_.Ignore;
  model_.Ignore = true;
  fonts_.SetItems(SystemFontEntries());
  Setnewfont(model_.Sample);
  model_.Ignore = ignore;
}

int Tfontmenu::fontsize() const { return PEditTextToInt(size_.Text()); }

void Tfontmenu::ShowSample() {
  sample_.SetFont(model_.Sample);
  sample_.SetText(model_.SampleText);
  sample_.Invalidate();
}

void Tfontmenu::Refresh(int chip) {
  model_.Refresh(name_.Text(), size_.Text(), styles_.Model().Mask(), chip);
  ShowSample();
}

void Tfontmenu::MarkTouched(TLabel& caption, TColor color) {
  TFont font = caption.Font();
  if (font.Color == color) return;
  font.Color = color;
  caption.SetFont(font);
}

void Tfontmenu::ListChosen(TLabel& caption, TEdit& field, const std::string& text) {
  MarkTouched(caption, clBlue);
  filling_ = true;
  field.SetText(text);
  filling_ = false;
  if (field.CanFocus()) field.SetFocus();
  Refresh(-1);
}

void Tfontmenu::NameChanged() {
  if (filling_) return;
  int i = FindFontEntry(fonts_.Items(), name_.Text());
  if (i < 0) return;
  fonts_.SetItemIndex(i);
  fonts_.Perform(LB_SETTOPINDEX, i, 0);
}

void Tfontmenu::SizeChanged() {
  if (filling_) return;
  int i = FindFontSize(size_.Text());
  if (i < 0) return;
  sizes_.SetItemIndex(i);
  sizes_.Perform(LB_SETTOPINDEX, i, 0);
}

void Tfontmenu::FieldKey(TEdit& field, int& key) {
  if (key == VK_ESCAPE) {
    if (!field.Text().empty()) {
      field.SetText("");
    } else {
      field.SetText(enteredText_);
      SetFocus();
    }
    key = 0;
  } else if (key == VK_RETURN) {
    SetFocus();
    key = 0;
  }
}

void Tfontmenu::Setnewfont(const TFont& font) {
  model_.Sample = font;
  filling_ = true;
  int i = FindFontEntry(fonts_.Items(), font.Name);
  fonts_.SetItemIndex(i);
  name_.SetText(font.Name);
  size_.SetText(TFontPickerModel::SizeText(font));
  sizes_.SetItemIndex(FindFontSize(size_.Text()));
  filling_ = false;
  // The toggles take the font's style without firing a refresh each.
  auto onchange = styles_.Model().Onchange;
  styles_.Model().Onchange = nullptr;
  styles_.Model().SetMask(TFontPickerModel::StyleMask(font));
  styles_.Model().Onchange = onchange;
  Refresh(-1);
}

void Tfontmenu::SetForecolor(int chip) {
  model_.SetForecolor(chip);
  chips_.Model().SetChosen(model_.Forecolor());
  ShowSample();
}

void Tfontmenu::SetSample(const std::string& text) {
  model_.SampleText = text;
  ShowSample();
}

void Tfontmenu::SetChicklet(bool on) {
  model_.SetChicklet(on);
  chips_.Model().Chicklet = on;
  chips_.Invalidate();
  ShowSample();
}

void Tfontmenu::SetIgnore(bool on) {
  if (on && !model_.Ignore) {
    MarkTouched(nameLabel_, clBlack);
    MarkTouched(sizeLabel_, clBlack);
    chips_.Model().ClearTouched();
  }
  model_.Ignore = on;
}

void Tfontmenu::DrawFont(const TDrawnItem& item) {
  TCanvas& canvas = item.Canvas;
  std::string entry = fonts_.Item(item.Index);
  FillSolid(canvas, item.Rect, item.Selected ? clGreen : clWhite);
  canvas.Brush.Style = TBrushStyle::bsClear;
  if (FontEntryIsTrueType(entry)) {
    canvas.Font.Color = clGray;
    canvas.TextOut(item.Rect.Left, item.Rect.Top, "T");
    canvas.Font.Color = clBlack;
    canvas.TextOut(item.Rect.Left + 4, item.Rect.Top + 2, "T");
  }
  canvas.Font.Color = item.Selected ? clWhite : clBlack;
  canvas.TextRect(item.Rect, item.Rect.Left + 20, item.Rect.Top + 1, FontEntryName(entry));
}

}  // namespace corvane
