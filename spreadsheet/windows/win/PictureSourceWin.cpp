// Picture cells drawn with BitBlt and StretchBlt.
#include "spreadsheet/windows/win/PictureSourceWin.h"

#include <windows.h>

#include "classlib/win/GdiCanvas.h"
#include "spreadsheet/engine/EngineHelpers.h"
#include "spreadsheet/engine/FunctionHost.h"

namespace corvane {
namespace {

bool Refused(std::string_view file) {
  bool remote = file.size() >= 2 && (file[0] == '\\' || file[0] == '/') && (file[1] == '\\' || file[1] == '/');
  return remote || IsDeviceFileName(file);
}

class TGdiPictureSource final : public TPictureSource {
 public:
  bool DrawPicture(classlib::TCanvas& canvas, std::string_view file, const classlib::TRect& cell,
                   bool stretch) override {
    auto* gdi = dynamic_cast<classlib::TGdiCanvas*>(&canvas);
    if (gdi == nullptr || Refused(file)) return false;
    auto bitmap = reinterpret_cast<HBITMAP>(LoadBitmapCached(file));
    BITMAP info{};
    if (bitmap == nullptr || GetObjectA(bitmap, sizeof info, &info) == 0) return false;
    HDC memory = CreateCompatibleDC(gdi->Handle());
    if (memory == nullptr) return false;
    HGDIOBJ previous = SelectObject(memory, bitmap);
    bool drawn;
    if (stretch) {
      SetStretchBltMode(gdi->Handle(), COLORONCOLOR);
      drawn = StretchBlt(gdi->Handle(), cell.Left, cell.Top, cell.Width(), cell.Height(), memory, 0, 0,
                         info.bmWidth, info.bmHeight, SRCCOPY) != FALSE;
    } else {
      // Unscaled from the cell's top left corner, clipped to the cell.
      drawn = BitBlt(gdi->Handle(), cell.Left, cell.Top, std::min<int>(info.bmWidth, cell.Width()),
                     std::min<int>(info.bmHeight, cell.Height()), memory, 0, 0, SRCCOPY) != FALSE;
    }
    SelectObject(memory, previous);
    DeleteDC(memory);
    return drawn;
  }
};

}  // namespace

TPictureSource& WindowsPictureSource() {
  static TGdiPictureSource source;
  return source;
}

}  // namespace corvane
