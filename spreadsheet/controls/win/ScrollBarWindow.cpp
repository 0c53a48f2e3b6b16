// The scroll bar's window.
#include "spreadsheet/controls/win/ScrollBarWindow.h"

namespace corvane {

using namespace classlib;

Twscroll::Twscroll(TComponent* AOwner) : TOwnDrawnControl(AOwner) {
  ControlStyle &= ~csDoubleClicks;  // a quick second press is one more step
  SetBounds(0, 0, 16, 100);
}

void Twscroll::CreateParams(TCreateParams& Params) {
  TOwnDrawnControl::CreateParams(Params);
  Params.ClassName = "Twscroll";
}

void Twscroll::Resize() {
  model_.Layout();
  TOwnDrawnControl::Resize();
}

void Twscroll::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  model_.MouseDown(Button, Shift, X, Y);
  TOwnDrawnControl::MouseDown(Button, Shift, X, Y);
}

void Twscroll::MouseMove(TShiftState Shift, int X, int Y) {
  model_.MouseMove(Shift, X, Y);
  TOwnDrawnControl::MouseMove(Shift, X, Y);
}

void Twscroll::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  model_.MouseUp(Button, Shift, X, Y);
  TOwnDrawnControl::MouseUp(Button, Shift, X, Y);
}

}  // namespace corvane
