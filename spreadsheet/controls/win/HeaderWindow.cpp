// The header strip's window.
#include "spreadsheet/controls/win/HeaderWindow.h"

namespace corvane {

using namespace classlib;

TCheader::TCheader(TComponent* AOwner) : TOwnDrawnControl(AOwner) { SetFont(TFont{"Arial"}); }

void TCheader::CreateParams(TCreateParams& Params) {
  TOwnDrawnControl::CreateParams(Params);
  Params.ClassName = "TCheader";
}

void TCheader::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  model_.MouseDown(Button, Shift, X, Y);
  TOwnDrawnControl::MouseDown(Button, Shift, X, Y);
}

void TCheader::MouseMove(TShiftState Shift, int X, int Y) {
  model_.MouseMove(Shift, X, Y);
  TOwnDrawnControl::MouseMove(Shift, X, Y);
}

void TCheader::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  model_.MouseUp(Button, Shift, X, Y);
  TOwnDrawnControl::MouseUp(Button, Shift, X, Y);
}

void TCheader::WndProc(TMessage& Message) {
  if (Message.Msg == WM_SETCURSOR && LOWORD(Message.LParam) == HTCLIENT) {
    TPoint p = CursorPos();
    switch (model_.CursorAt(p.x, p.y)) {
      case THeaderCursor::HorizontalSplit: SetCursor(LoadCursor(nullptr, IDC_SIZEWE)); break;
      case THeaderCursor::VerticalSplit: SetCursor(LoadCursor(nullptr, IDC_SIZENS)); break;
      case THeaderCursor::Default: SetCursor(LoadCursor(nullptr, IDC_ARROW)); break;
    }
    Message.Result = TRUE;
    return;
  }
  TOwnDrawnControl::WndProc(Message);
}

}  // namespace corvane
