// The header strip's window.
#include "spreadsheet/controls/win/HeaderWindow.h"

namespace corvane {

using namespace classlib;

TCheader::TCheader(TComponent* AOwner) : TModelWindow(AOwner) { SetFont(TFont{"Arial"}); }

void TCheader::CreateParams(TCreateParams& Params) {
  TModelWindow::CreateParams(Params);
  Params.ClassName = "TCheader";
}

}  // namespace corvane
