// The scroll bar's window.
#include "spreadsheet/controls/win/ScrollBarWindow.h"

namespace corvane {

using namespace classlib;

Twscroll::Twscroll(TComponent* AOwner) : TModelWindow(AOwner) {
  ControlStyle &= ~csDoubleClicks;  // a quick second press is one more step
  SetBounds(0, 0, 16, 100);
}

void Twscroll::CreateParams(TCreateParams& Params) {
  TModelWindow::CreateParams(Params);
  Params.ClassName = "Twscroll";
}

void Twscroll::Resize() {
  model_.Layout();
  TModelWindow::Resize();
}

}  // namespace corvane
