// The prompt line's windows.
#include "spreadsheet/controls/win/PromptWindow.h"

#include "classlib/win/Bitmap.h"

namespace corvane {

using namespace classlib;

namespace {

// The two button faces: a green tick and a red cross on the button colour.
void DrawGlyph(TBitmap& glyph, bool accept) {
  glyph.SetSize(16, 16);
  TCanvas& c = glyph.Canvas();
  c.Brush = TBrush{clSilver};
  c.FillRect({0, 0, 16, 16});
  c.Pen = TPen{accept ? clGreen : clRed, 2};
  if (accept) {
    c.MoveTo(3, 8), c.LineTo(6, 12), c.LineTo(13, 3);
  } else {
    c.MoveTo(4, 4), c.LineTo(12, 12);
    c.MoveTo(12, 4), c.LineTo(4, 12);
  }
}

}  // namespace

Tprompt::Tprompt(TComponent* AOwner) : TOwnDrawnControl(AOwner) {
  SetBounds(0, 0, 200, 24);
  for (TWinControl* input : {static_cast<TWinControl*>(&edit_), static_cast<TWinControl*>(&combo_)}) {
    input->SetParent(this);
    input->SetTabStop(true);
    input->OnKeyPress = [this](TObject*, char& key) { InputKey(key); };
    TFont font = input->Font();
    font.Color = clBlack;
    input->SetFont(font);
  }
  edit_.SetVisible(false);
  model_.OnModeChange = [this](bool editMode) {
    // A switch typed in the input keeps the focus in the input.
    bool typing = HandleAllocated() && IsChild(Handle(), GetFocus());
    edit_.SetVisible(editMode);
    combo_.SetVisible(!editMode);
    if (typing) FocusInput();
  };
  model_.Onaccept = [this] { Fire(Onaccept, this); };
  model_.Oncancel = [this] { Fire(Oncancel, this); };
  for (Tspdbtn* button : {&accept_, &cancel_}) {
    button->SetParent(this);
    TBitmap glyph(16, 16);
    DrawGlyph(glyph, button == &accept_);
    button->SetGlyph(glyph);
  }
  accept_.Model().OnClick = [this] { Fire(Onaccept, this); };
  cancel_.Model().OnClick = [this] { Fire(Oncancel, this); };
  SetColor(clBlue);
}

void Tprompt::CreateParams(TCreateParams& Params) {
  TOwnDrawnControl::CreateParams(Params);
  Params.ClassName = "Tprompt";
  Params.Style |= WS_CLIPCHILDREN;
}

void Tprompt::Resize() {
  TPromptLayout l = model_.Layout();
  accept_.SetBounds(l.Accept.Left, l.Accept.Top, l.Accept.Width(), l.Accept.Height());
  cancel_.SetBounds(l.Cancel.Left, l.Cancel.Top, l.Cancel.Width(), l.Cancel.Height());
  edit_.SetBounds(l.Input.Left, l.Input.Top, l.Input.Width(), l.Input.Height());
  combo_.SetBounds(l.Input.Left, l.Input.Top, l.Input.Width(), l.Input.Height());
  Invalidate();
  TOwnDrawnControl::Resize();
}

void Tprompt::SetText(const std::string& value) {
  if (model_.Mode())
    edit_.SetText(value);
  else
    combo_.SetText(value);
}

void Tprompt::SetEcolor(TColor color) {
  edit_.SetColor(color);
  combo_.SetColor(color);
}

void Tprompt::SetBevelouter(TPromptBevel bevel) {
  model_.Bevelouter = bevel;
  Invalidate();
}

void Tprompt::SetBevelwidth(int width) {
  model_.Bevelwidth = width;
  Resize();
}

void Tprompt::SetColor(TColor value) {
  TOwnDrawnControl::SetColor(value);
  model_.SetColor(value);
}

void Tprompt::SetFont(const TFont& value) {
  TOwnDrawnControl::SetFont(value);
  model_.Font = value;
  Invalidate();
}

void Tprompt::FocusInput() {
  if (model_.Mode())
    edit_.SetFocus();
  else
    combo_.SetFocus();
  SelectInput();
}

void Tprompt::SelectInput() {
  if (model_.Mode())
    edit_.SelectAll();
  else if (combo_.HandleAllocated())
    SendMessageA(combo_.Handle(), CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
}

bool Tprompt::HasFocus() const {
  HWND focus = GetFocus();
  return focus != nullptr && HandleAllocated() && IsChild(Handle(), focus);
}

void Tprompt::InputKey(char& key) {
  if (model_.KeyPress(key)) key = 0;
}

}  // namespace corvane
