// The list menu's window.
#include "spreadsheet/controls/win/ListMenuWindow.h"

#include "classlib/win/GdiCanvas.h"
#include "classlib/win/GdiHandles.h"

namespace corvane {

using namespace classlib;

ttabmenu::ttabmenu(TComponent* AOwner) : TKeyedModelWindow(AOwner) {
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
  TKeyedModelWindow::CreateParams(Params);
  Params.ClassName = "ttabmenu";
}

void ttabmenu::SetFont(const TFont& value) {
  TKeyedModelWindow::SetFont(value);
  Measure();
}

void ttabmenu::Measure() {
  TWindowDCLease screen(nullptr);
  TGdiCanvas canvas(screen.Get());
  canvas.Font = Font();
  model_.SetTextHeight(canvas.TextHeight("Ay"));
}

LRESULT ttabmenu::DialogCode(TMessage&) { return DLGC_WANTARROWS; }

}  // namespace corvane
