// The header strip's window.
#include "spreadsheet/controls/win/HeaderWindow.h"

namespace corvane {

using namespace classlib;

TCheader::TCheader(TComponent* AOwner) : TModelWindow(AOwner) { SetFont(TFont{"Arial"}); }

void TCheader::CreateParams(TCreateParams& Params) {
  TModelWindow::CreateParams(Params);
  Params.ClassName = "TCheader";
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
  TModelWindow::WndProc(Message);
}

}  // namespace corvane
