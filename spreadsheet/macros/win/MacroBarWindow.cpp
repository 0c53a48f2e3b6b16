// The macro toolbar and its Define Button dialog.
#include "spreadsheet/macros/win/MacroBarWindow.h"

#include <commctrl.h>
#include <commdlg.h>

#include <algorithm>

namespace corvane {

using namespace classlib;

namespace {

constexpr TColor kFace = clSilver;
constexpr int kRepeatTimer = 1;
constexpr unsigned kFirstRepeatMs = 400, kRepeatMs = 100;
constexpr int kImageZoom = 4;  // the dialog shows the 20 x 20 glyph four times as large

TRect Shrunk(const TRect& r, int by) { return {r.Left + by, r.Top + by, r.Right - by, r.Bottom - by}; }

// A three-dimensional frame around `r`, raised or pressed in, its face filled.
void DrawFrame3D(TCanvas& canvas, const TRect& r, bool pressed) {
  TColor outerLight = pressed ? clBlack : clWhite, outerDark = pressed ? clWhite : clBlack;
  TColor innerLight = pressed ? clGray : kFace, innerDark = pressed ? kFace : clGray;
  auto edge = [&canvas](const TRect& e, TColor light, TColor dark) {
    canvas.Pen.Color = light;
    canvas.MoveTo(e.Left, e.Bottom - 1);
    canvas.LineTo(e.Left, e.Top);
    canvas.LineTo(e.Right - 1, e.Top);
    canvas.Pen.Color = dark;
    canvas.LineTo(e.Right - 1, e.Bottom - 1);
    canvas.LineTo(e.Left - 1, e.Bottom - 1);
  };
  edge(r, outerLight, outerDark);
  edge(Shrunk(r, 1), innerLight, innerDark);
  canvas.Brush.Style = TBrushStyle::bsSolid;
  canvas.Brush.Color = kFace;
  canvas.FillRect(Shrunk(r, 2));
}

// A black triangle with a light grey outline, 10 pixels wide, centred in the
// strip shrunk by 3, pointing up or down.
void DrawArrow(TCanvas& canvas, const TRect& strip, bool up) {
  TRect r = Shrunk(strip, 3);
  if (r.Height() <= 0) return;
  int cx = (r.Left + r.Right) / 2, half = 5;
  int height = std::min(r.Height(), half + 1);
  int top = r.Top + (r.Height() - height) / 2, bottom = top + height;
  TPoint points[3] = {{cx - half, up ? bottom : top}, {cx + half, up ? bottom : top}, {cx, up ? top : bottom}};
  canvas.Pen.Color = clSilver;
  canvas.Brush.Style = TBrushStyle::bsSolid;
  canvas.Brush.Color = clBlack;
  canvas.Polygon(points);
}

}  // namespace

// ---- tbarmenu ---------------------------------------------------------------------------

tbarmenu::tbarmenu(TComponent* AOwner)
    : TCustomControl(AOwner), strip_(kMacroBarPitch, kMacroBarStripHeight), backColor_(SystemColor(COLOR_BTNFACE)) {
  strip_.Canvas().Brush.Color = kFace;
  strip_.Canvas().FillRect({0, 0, kMacroBarPitch, kMacroBarStripHeight});
  SetBounds(0, 0, kMacroBarPitch + 2 * border_ + 2, 4 * kMacroBarPitch + margin_ + 4);
}

tbarmenu::~tbarmenu() {
  if (!glyphFile_.empty()) strip_.SaveToFile(glyphFile_);
}

void tbarmenu::CreateParams(TCreateParams& Params) {
  TCustomControl::CreateParams(Params);
  Params.ClassName = "tbarmenu";
}

void tbarmenu::WindowCreated() {
  TCustomControl::WindowCreated();
  // One tip over the whole bar; its text follows the button under the mouse.
  tip_ = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                         CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, Handle(), nullptr, nullptr, nullptr);
  if (tip_ == nullptr) return;
  tipText_ = Hint();
  TOOLINFOA tool{};
  tool.cbSize = TTTOOLINFOA_V1_SIZE;
  tool.uFlags = TTF_SUBCLASS | TTF_IDISHWND;
  tool.hwnd = Handle();
  tool.uId = reinterpret_cast<UINT_PTR>(Handle());
  tool.lpszText = tipText_.data();
  SendMessageA(tip_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
}

void tbarmenu::UpdateTip() {
  std::string text = Hint();
  if (tip_ == nullptr || text == tipText_) return;
  tipText_ = text;
  TOOLINFOA tool{};
  tool.cbSize = TTTOOLINFOA_V1_SIZE;
  tool.hwnd = Handle();
  tool.uId = reinterpret_cast<UINT_PTR>(Handle());
  tool.lpszText = tipText_.data();
  SendMessageA(tip_, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&tool));
}

void tbarmenu::SetBarheight(int value) {
  if (value == barHeight_ || value <= 0) return;
  barHeight_ = value;
  Invalidate();
}

void tbarmenu::SetBorder(int value) {
  if (value == border_ || value < 0) return;
  border_ = value;
  Invalidate();
}

void tbarmenu::SetBackcolor(TColor value) {
  if (value == backColor_) return;
  backColor_ = value;
  Invalidate();
}

void tbarmenu::SetItemIndex(int value) {
  if (value == itemIndex_) return;
  itemIndex_ = value;
  UpdateTip();
  Fire(OnChange, this);
}

void tbarmenu::SetItems(const std::vector<std::string>& lines) {
  items_ = lines;
  UpdateTip();
  Invalidate();
}

void tbarmenu::SetGlyphFile(const std::string& path) {
  glyphFile_ = path;
  TBitmap loaded;
  if (!loaded.LoadFromFile(path)) return;
  strip_.Canvas().CopyRect({0, 0, kMacroBarPitch, kMacroBarStripHeight}, loaded.Canvas(),
                           {0, 0, loaded.Width(), loaded.Height()});
  Invalidate();
}

std::string tbarmenu::Hint() const {
  if (itemIndex_ < 0 || itemIndex_ >= static_cast<int>(items_.size())) return kUnassignedMacro;
  return MacroBarHint(items_[static_cast<std::size_t>(itemIndex_)]);
}

TMacroBarLayout tbarmenu::Layout() const {
  TRect inner = Shrunk(ClientRect(), 1 + border_);
  return MacroBarLayout(inner.Height(), barHeight_);
}

int tbarmenu::Hit(int y) const { return MacroBarHit(y, Layout(), first_, barHeight_); }

void tbarmenu::DrawButton(TCanvas& canvas, int i, bool pressed) {
  TMacroBarLayout layout = Layout();
  TRect r = MacroBarButtonRect(i, layout, first_, 0, Width(), barHeight_);
  if (r.Width() <= 0) return;
  DrawFrame3D(canvas, r, pressed);
  int slot = i * kMacroBarPitch;
  canvas.CopyRect(Shrunk(r, 1), strip_.Canvas(), {0, slot, kMacroBarPitch, slot + kMacroBarPitch});
  if (i >= static_cast<int>(items_.size())) {
    // A button without a line gets one holding a blank.
    items_.resize(static_cast<std::size_t>(i) + 1, " ");
    return;
  }
  std::string letters = MacroBarLetters(items_[static_cast<std::size_t>(i)]);
  TRect text = Shrunk(r, 3);
  canvas.Brush.Style = TBrushStyle::bsClear;
  canvas.Font.Color = clBlack;
  TSize size = canvas.TextExtent(letters);
  canvas.TextRect(text, text.Left + (text.Width() - size.cx) / 2, text.Top + (text.Height() - size.cy) / 2, letters);
}

void tbarmenu::Paint(TCanvas& Canvas) {
  TRect client = ClientRect();
  TBitmap picture(std::max(1, client.Width()), std::max(1, client.Height()));
  TCanvas& canvas = picture.Canvas();
  canvas.Brush.Style = TBrushStyle::bsSolid;
  canvas.Brush.Color = clBlack;
  canvas.FrameRect(client);
  TRect inner = Shrunk(client, 1 + border_);
  canvas.Brush.Color = backColor_;
  canvas.FillRect(Shrunk(client, 1));
  TMacroBarLayout layout = MacroBarLayout(inner.Height(), barHeight_);
  margin_ = layout.margin;
  int bottomStrip = layout.margin + layout.visible * barHeight_;
  DrawArrow(canvas, {inner.Left, 0, inner.Right, layout.margin}, true);
  DrawArrow(canvas, {inner.Left, bottomStrip, inner.Right, inner.Bottom}, false);
  for (int k = 0; k < layout.visible && first_ + k < kMacroBarButtons; ++k)
    DrawButton(canvas, first_ + k, pressedItem_ == first_ + k && itemIndex_ == pressedItem_);
  Canvas.CopyRect(client, canvas, client);
}

void tbarmenu::Scroll(int delta) {
  int first = MacroBarScrolled(first_, delta, Height());
  if (first == first_) return;
  first_ = first;
  Invalidate();
}

void tbarmenu::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomControl::MouseDown(Button, Shift, X, Y);
  int hit = Hit(Y);
  if (Button == TMouseButton::mbRight) {
    if (hit >= 0 && hit < kMacroBarButtons) DefineButton(hit);
    return;
  }
  if (Button != TMouseButton::mbLeft) return;
  SetCapture();
  pressedItem_ = hit;
  SetItemIndex(hit);
  if (hit < 0) {
    // An arrow scrolls at once, then again while it stays down.
    Scroll(hit == kMacroBarUpArrow ? -1 : 1);
    repeating_ = false;
    StartTimer(kRepeatTimer, kFirstRepeatMs);
  }
  Invalidate();
}

void tbarmenu::Timer(int Id) {
  if (Id != kRepeatTimer) return;
  if (pressedItem_ != kMacroBarUpArrow && pressedItem_ != kMacroBarDownArrow) {
    StopTimer(kRepeatTimer);
    return;
  }
  if (!repeating_) {
    repeating_ = true;
    StartTimer(kRepeatTimer, kRepeatMs);
  }
  Scroll(pressedItem_ == kMacroBarUpArrow ? -1 : 1);
}

void tbarmenu::MouseMove(TShiftState Shift, int X, int Y) {
  TCustomControl::MouseMove(Shift, X, Y);
  int hit = Hit(Y);
  if (hit != itemIndex_) {
    SetItemIndex(hit);
    if (pressedItem_ != kNoItem) Invalidate();
  }
}

void tbarmenu::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomControl::MouseUp(Button, Shift, X, Y);
  if (Button != TMouseButton::mbLeft || pressedItem_ == kNoItem) return;
  ReleaseCapture();
  StopTimer(kRepeatTimer);
  int pressed = pressedItem_;
  pressedItem_ = kNoItem;
  Invalidate();
  bool inside = X >= 0 && X < Width() && Hit(Y) == pressed;
  if (!inside || pressed < 0 || pressed >= static_cast<int>(items_.size())) return;
  const std::string& line = items_[static_cast<std::size_t>(pressed)];
  if (line.empty() || line == " ") return;
  if (Onpick) Onpick(this, MacroBarMacro(line));
}

void tbarmenu::DefineButton(int i) {
  TBardlg dialog(nullptr);
  int slot = i * kMacroBarPitch;
  dialog.Image.Canvas().CopyRect({0, 0, kMacroBarPitch, kMacroBarPitch}, strip_.Canvas(),
                                 {0, slot, kMacroBarPitch, slot + kMacroBarPitch});
  std::string line = i < static_cast<int>(items_.size()) ? items_[static_cast<std::size_t>(i)] : "";
  dialog.SetValue(DefineButtonValue(line));
  if (OnAnimateOutline) {
    // From the button (the bar when it is scrolled out of sight) to where
    // the dialog shows: the middle of the screen.
    TRect r = MacroBarButtonRect(i, Layout(), first_, 0, Width(), barHeight_);
    if (r.Width() <= 0) r = ClientRect();
    POINT corners[2] = {{r.Left, r.Top}, {r.Right, r.Bottom}};
    MapWindowPoints(Handle(), nullptr, corners, 2);
    int left = (GetSystemMetrics(SM_CXSCREEN) - dialog.Width()) / 2;
    int top = (GetSystemMetrics(SM_CYSCREEN) - dialog.Height()) / 2;
    OnAnimateOutline(TRect{corners[0].x, corners[0].y, corners[1].x, corners[1].y},
                     TRect{left, top, left + dialog.Width(), top + dialog.Height()});
  }
  if (dialog.ShowModal() != mrOk) return;
  if (i >= static_cast<int>(items_.size())) items_.resize(static_cast<std::size_t>(i) + 1, " ");
  items_[static_cast<std::size_t>(i)] = DefineButtonLine(dialog.Value());
  // The slot takes the dialog's image, centred when it is smaller.
  TRect target{0, slot, kMacroBarPitch, slot + kMacroBarPitch};
  strip_.Canvas().Brush.Style = TBrushStyle::bsSolid;
  strip_.Canvas().Brush.Color = kFace;
  strip_.Canvas().FillRect(target);
  int w = std::min(dialog.Image.Width(), kMacroBarPitch), h = std::min(dialog.Image.Height(), kMacroBarPitch);
  int x = (kMacroBarPitch - w) / 2, y = slot + (kMacroBarPitch - h) / 2;
  strip_.Canvas().CopyRect({x, y, x + w, y + h}, dialog.Image.Canvas(), {0, 0, w, h});
  UpdateTip();
  Invalidate();
}

// ---- TBardlg ----------------------------------------------------------------------------

TBardlg::TBardlg(TComponent* AOwner) : TForm(AOwner, "Define Button"), Image(kMacroBarPitch, kMacroBarPitch) {
  BorderStyle = TFormBorderStyle::bsDialog;
  Position = TPosition::poScreenCenter;
  SetBounds(0, 0, 360, 292);
  BlankImage();
  struct TField {
    TLabel& label;
    const char* caption;
    TWinControl& control;
    int top, height;
  };
  for (const TField& f : {TField{nameLabel_, "&Name", NameEdit, 8, 22}, TField{hintLabel_, "&Hint", HintEdit, 54, 22},
                          TField{macroLabel_, "&Macro", Memo1, 100, 110}}) {
    f.label.SetParent(this);
    f.label.SetCaption(f.caption);
    f.label.SetBounds(10, f.top, 200, 16);
    f.control.SetParent(this);
    f.control.SetBounds(10, f.top + 18, 220, f.height);
    f.label.SetFocusControl(&f.control);
  }
  glyphLabel_.SetParent(this);
  glyphLabel_.SetCaption("Glyph:");
  glyphLabel_.SetBounds(244, 8, 90, 16);
  imageBox_.SetParent(this);
  imageBox_.SetBounds(244, 26, kMacroBarPitch * kImageZoom + 2, kMacroBarPitch * kImageZoom + 2);
  struct TSpec {
    TButton& button;
    const char* caption;
    int top;
  };
  for (const TSpec& spec : {TSpec{BlankButton, "&Blank Glyph", 116}, TSpec{ResetButton, "&Reset", 146},
                            TSpec{OkButton, "&Ok", 190}, TSpec{CancelButton, "&Cancel", 220}}) {
    spec.button.SetParent(this);
    spec.button.SetCaption(spec.caption);
    spec.button.SetBounds(244, spec.top - 8, 96, 25);
  }
  OkButton.ModalResult = mrOk;
  OkButton.SetDefault(true);
  CancelButton.ModalResult = mrCancel;
  CancelButton.Cancel = true;
  BlankButton.OnClick = [this](TObject*) { BlankImage(); };
  ResetButton.OnClick = [this](TObject*) {
    BlankImage();
    SetValue({});
  };
}

void TBardlg::SetValue(const TDefineButtonValue& value) {
  NameEdit.SetText(value.name);
  HintEdit.SetText(value.hint);
  Memo1.SetLines(value.macroLines);
}

TDefineButtonValue TBardlg::Value() const { return {NameEdit.Text(), HintEdit.Text(), Memo1.Lines()}; }

void TBardlg::BlankImage() {
  Image.SetSize(kMacroBarPitch, kMacroBarPitch);
  Image.Canvas().Brush.Style = TBrushStyle::bsSolid;
  Image.Canvas().Brush.Color = kFace;
  Image.Canvas().FillRect({0, 0, kMacroBarPitch, kMacroBarPitch});
  imageBox_.Invalidate();
}

bool TBardlg::LoadImage(const std::string& path) {
  TBitmap loaded;
  if (!loaded.LoadFromFile(path)) return false;
  int w = std::min(loaded.Width(), kMacroBarPitch), h = std::min(loaded.Height(), kMacroBarPitch);
  Image.SetSize(w, h);
  Image.Canvas().CopyRect({0, 0, w, h}, loaded.Canvas(), {0, 0, w, h});
  imageBox_.Invalidate();
  return true;
}

void TBardlg::TImageBox::Paint(TCanvas& Canvas) {
  TRect r = ClientRect();
  Canvas.Brush.Style = TBrushStyle::bsSolid;
  Canvas.Brush.Color = clBlack;
  Canvas.FrameRect(r);
  Canvas.Brush.Color = kFace;
  Canvas.FillRect(Shrunk(r, 1));
  TBitmap& image = dialog_.Image;
  int w = image.Width() * kImageZoom, h = image.Height() * kImageZoom;
  int x = 1 + (kMacroBarPitch * kImageZoom - w) / 2, y = 1 + (kMacroBarPitch * kImageZoom - h) / 2;
  Canvas.CopyRect({x, y, x + w, y + h}, image.Canvas(), {0, 0, image.Width(), image.Height()});
}

void TBardlg::TImageBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomControl::MouseDown(Button, Shift, X, Y);
  if (Button != TMouseButton::mbLeft) return;
  char file[MAX_PATH] = "";
  OPENFILENAMEA ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = dialog_.Handle();
  ofn.lpstrFilter = "Bmp files\0*.bmp\0All Files\0*.*\0";
  ofn.lpstrFile = file;
  ofn.nMaxFile = sizeof file;
  ofn.Flags = OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
  if (GetOpenFileNameA(&ofn) && !dialog_.LoadImage(file)) MessageBeep(MB_OK);
}

}  // namespace corvane
