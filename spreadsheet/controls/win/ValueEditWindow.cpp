// The captioned value edit's windows.
#include "spreadsheet/controls/win/ValueEditWindow.h"

#include "classlib/win/GdiCanvas.h"
#include "classlib/win/GdiHandles.h"

namespace corvane {

using namespace classlib;

namespace {

constexpr TColor kCaptionFocused = clBlue;

// The program's cursor 1, shown over a value edit with a button: the system's
// hand, registered once.
constexpr TCursor kButtonCursor = 1;
TCursor ButtonCursor() {
  static const bool registered = (RegisterCursor(kButtonCursor, LoadCursor(nullptr, IDC_HAND)), true);
  (void)registered;
  return kButtonCursor;
}

// The decimal separator of the user's locale.
char LocaleDecimalSeparator() {
  char buffer[8] = {};
  if (GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, buffer, sizeof buffer) > 1) return buffer[0];
  return '.';
}

}  // namespace

TPEdit::TPEdit(TComponent* AOwner) : TOwnDrawnControl(AOwner) {
  label_.SetParent(this);
  label_.SetAlignment(TAlignment::taRightJustify);
  label_.SetFocusControl(&edit_);
  label_.OnClick = [this](TObject*) { edit_.SetFocus(); };
  edit_.SetParent(this);
  edit_.SetTabStop(true);
  edit_.SetMaxLength(16);
  edit_.OnKeyDown = [this](TObject*, int& key, TShiftState shift) { EditKeyDown(key, shift); };
  edit_.OnEnter = [this](TObject*) { EditEntered(); };
  edit_.OnExit = [this](TObject*) { EditLeft(); };
  edit_.OnChange = [this](TObject*) { Fire(OnMod, this); };
  edit_.OnMouseUp = [this](TObject*, TMouseButton button, TShiftState, int, int) {
    if (button == TMouseButton::mbLeft) Fire(OnClick, this);
  };
  // The edit remembers where the focus came from (WM_SETFOCUS names it).
  edit_.AddMessageHook(this, [this](TMessage& m) {
    if (m.Msg == WM_SETFOCUS && reinterpret_cast<HWND>(m.WParam) != Handle()) previousFocus_ = reinterpret_cast<HWND>(m.WParam);
    return false;
  });
  model_.DecimalSeparator = LocaleDecimalSeparator();
  model_.ReadText = [this] { return edit_.Text(); };
  model_.WriteText = [this](const std::string& s) { edit_.SetText(s); };
  model_.AfterSpin = [this] { EditLeft(); };
  model_.OnDblClick = [this] { Fire(OnDblClick, this); };
  SetBounds(0, 0, 121, 23);
}

void TPEdit::CreateParams(TCreateParams& Params) {
  TOwnDrawnControl::CreateParams(Params);
  Params.ClassName = "TPEdit";
  Params.Style |= WS_CLIPCHILDREN;
  // Tab finds the edit inside.
  Params.ExStyle |= WS_EX_CONTROLPARENT;
}

void TPEdit::SetText(const std::string& value) {
  edit_.SetText(value);
  if (edit_.Focused()) edit_.SelectAll();
}

void TPEdit::Layout() {
  TPEditLayout l = PEditLayoutFor(Width(), Height(), margin_, model_.Button);
  label_.SetBounds(l.Label.Left, l.Label.Top, l.Label.Width(), l.Label.Height());
  edit_.SetBounds(l.Edit.Left, l.Edit.Top, l.Edit.Width(), l.Edit.Height());
  model_.ButtonZone = l.ButtonZone;
  Invalidate();
}

void TPEdit::Resize() {
  Layout();
  TOwnDrawnControl::Resize();
}

void TPEdit::ShowCaption() {
  std::string shown = caption_;
  if (ellipse_) {
    // Measured on the screen, so that a caption set before the window exists
    // is shortened too.
    TWindowDCLease screen(nullptr);
    TGdiCanvas canvas(screen.Get());
    canvas.Font = label_.Font();
    shown = PEditFitCaption(caption_, margin_, [&](std::string_view s) { return canvas.TextWidth(s); });
  }
  if (label_.Caption() != shown) label_.SetCaption(shown);
}

void TPEdit::SetCaption(const std::string& value) {
  caption_ = value;
  ShowCaption();
  Invalidate();
}

void TPEdit::SetMargin(int pixels) {
  if (!SetField(margin_, pixels)) return;
  ShowCaption();
  Layout();
}

void TPEdit::SetButton(bool on) {
  if (!SetField(model_.Button, on)) return;
  SetMouseCursor(on && !model_.Updn ? ButtonCursor() : crDefault);
  Layout();
}

void TPEdit::SetUpdn(bool on) {
  if (!SetField(model_.Updn, on)) return;
  // Quick presses on the spin glyph are single steps, not double clicks.
  if (on)
    ControlStyle &= ~csDoubleClicks;
  else
    ControlStyle |= csDoubleClicks;
  SetMouseCursor(on || !model_.Button ? crDefault : ButtonCursor());
  Invalidate();
}

void TPEdit::SetEllipse(bool on) {
  if (!SetField(ellipse_, on)) return;
  ShowCaption();
}

void TPEdit::Paint(TCanvas& Canvas) {
  Canvas.Brush = TBrush{Color()};
  Canvas.FillRect(ClientRect());
  model_.PaintButtonZone(Canvas);
}

void TPEdit::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TOwnDrawnControl::MouseDown(Button, Shift, X, Y);
  if (Button == TMouseButton::mbRight) {
    if (!edit_.Text().empty()) edit_.SetText("");
    return;
  }
  edit_.SetFocus();
  model_.MouseDown(Button, X, Y);
}

void TPEdit::MouseMove(TShiftState Shift, int X, int Y) {
  model_.MouseMove(X, Y);
  TOwnDrawnControl::MouseMove(Shift, X, Y);
}

void TPEdit::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  model_.MouseUp(Button, X, Y);
  TOwnDrawnControl::MouseUp(Button, Shift, X, Y);
}

void TPEdit::DoEnter() { edit_.SetFocus(); }

void TPEdit::EditEntered() {
  // Reached from the keyboard (Tab, its letter, an arrow, a dialog opening
  // on it), the field offers its whole text to be typed over; a click places
  // the caret where it lands.
  if ((GetKeyState(VK_LBUTTON) & 0x8000) == 0) edit_.SelectAll();
  TFont font = label_.Font();
  font.Color = kCaptionFocused;
  label_.SetFont(font);
  Fire(OnEnter, this);
}

void TPEdit::EditLeft() {
  TFont font = label_.Font();
  font.Color = clBlack;
  label_.SetFont(font);
  Fire(OnExit, this);
}

void TPEdit::EditKeyDown(int& key, TShiftState shift) {
  Fire(OnKeyDown, this, key, shift);
  switch (model_.KeyDown(key)) {
    case TPEditKey::None: return;
    case TPEditKey::FocusPrevious: FocusNeighbour(-1); break;
    case TPEditKey::FocusNext: FocusNeighbour(1); break;
    case TPEditKey::EndEntry:
      // The field keeps the keyboard: Enter goes on to the dialog's default
      // button (or the owner's own use of it), with the value settled first.
      Fire(OnExit, this);
      return;
    case TPEditKey::RestoreFocus:
      // On a dialog, Escape in an empty field goes on to the dialog, which
      // closes as its "Cancel" does.
      if (TForm* form = GetParentForm(); form != nullptr && form->BorderStyle == TFormBorderStyle::bsDialog) return;
      // The window the focus came from may be gone by now.
      if (previousFocus_ != nullptr && IsWindow(previousFocus_) && IsWindowVisible(previousFocus_)) ::SetFocus(previousFocus_);
      break;
    case TPEditKey::Handled: break;
  }
  key = 0;
}

void TPEdit::FocusNeighbour(int direction) {
  TComponent* owner = Owner();
  if (owner == nullptr) return;
  int count = owner->ComponentCount(), self = -1;
  for (int i = 0; i < count; ++i)
    if (owner->Components(i) == this) self = i;
  if (self < 0) return;
  auto* next = dynamic_cast<TPEdit*>(owner->Components(((self + direction) % count + count) % count));
  // A field that cannot take the focus (hidden, disabled) is passed over.
  if (next != nullptr && next != this && next->edit_.CanFocus()) next->edit_.SetFocus();
}

}  // namespace corvane
