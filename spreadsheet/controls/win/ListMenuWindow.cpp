// The list menu's window.
#include "spreadsheet/controls/win/ListMenuWindow.h"

#include "classlib/win/GdiCanvas.h"
#include "classlib/win/GdiHandles.h"

namespace corvane {

using namespace classlib;

ttabmenu::ttabmenu(TComponent* AOwner) : TModelWindow(AOwner) {
  SetTabStop(true);
  model_.OnHint = [this](const std::string& hint) { hint_ = hint; };
  model_.MeasureText = [this](const std::string& text) {
    TWindowDCLease screen(nullptr);
    TGdiCanvas canvas(screen.Get());
    canvas.Font = Font();
    return canvas.TextWidth(text);
  };
  Measure();
  SetBounds(0, 0, 120, 120);
}

void ttabmenu::CreateParams(TCreateParams& Params) {
  TModelWindow::CreateParams(Params);
  Params.ClassName = "ttabmenu";
}

void ttabmenu::SetFont(const TFont& value) {
  TModelWindow::SetFont(value);
  Measure();
}

void ttabmenu::Measure() {
  TWindowDCLease screen(nullptr);
  TGdiCanvas canvas(screen.Get());
  canvas.Font = Font();
  model_.SetTextHeight(canvas.TextHeight("Ay"));
}

void ttabmenu::KeyDown(int& Key, TShiftState Shift) {
  TModelWindow::KeyDown(Key, Shift);
  if (Key != 0 && (Shift & (ssCtrl | ssAlt)) == 0 && model_.KeyDown(Key)) Key = 0;
}

void ttabmenu::DoEnter() {
  Invalidate();
  TModelWindow::DoEnter();
}

void ttabmenu::DoExit() {
  Invalidate();
  TModelWindow::DoExit();
}

LRESULT ttabmenu::DialogCode(TMessage&) { return DLGC_WANTARROWS; }

}  // namespace corvane
