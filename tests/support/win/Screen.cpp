// Pictures of windows as they show on the screen, and running messages until
// the program is quiet. Nothing here moves the program to another desktop, so
// a tool may use it on whatever desktop it was started on.
#include "tests/support/win/Screen.h"

#include <cstdio>
#include <cstring>

#include "classlib/win/Application.h"
#include "classlib/win/GdiHandles.h"
#include "tests/support/PngWriter.h"

namespace uikit {

void RunUntilIdle(DWORD quietMs, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  DWORD lastActivity = start;
  for (;;) {
    MSG peek;
    if (PeekMessageA(&peek, nullptr, 0, 0, PM_NOREMOVE)) {
      classlib::Application().ProcessMessages();
      lastActivity = GetTickCount();
    } else {
      const DWORD quiet = GetTickCount() - lastActivity;
      if (quiet >= quietMs) return;
      MsgWaitForMultipleObjects(0, nullptr, FALSE, quietMs - quiet, QS_ALLINPUT);
    }
    if (GetTickCount() - start >= timeoutMs) return;
  }
}

bool RunUntil(const std::function<bool()>& done, DWORD timeoutMs) {
  return classlib::ProcessMessagesUntil(done, timeoutMs);
}

std::string PicturesFolder() {
  char path[MAX_PATH] = "";
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder = path;
  // ...\bin\Program.exe -> ...\pictures
  for (int i = 0; i < 2; ++i)
    if (size_t slash = folder.find_last_of("\\/"); slash != std::string::npos) folder.erase(slash);
  folder += "\\pictures";
  CreateDirectoryA(folder.c_str(), nullptr);
  return folder;
}

namespace {

bool SamePixels(classlib::TBitmap& a, classlib::TBitmap& b) {
  const size_t rowBytes = static_cast<size_t>(a.Width()) * static_cast<size_t>(a.BytesPerPixel());
  for (int y = 0; y < a.Height(); ++y)
    if (std::memcmp(a.ScanLine(y), b.ScanLine(y), rowBytes) != 0) return false;
  return true;
}

bool CaptureScreenRect(HWND window, RECT r, classlib::TBitmap& bitmap) {
  // What waits to be painted is painted; what was drawn at once stays.
  RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  if (!IsWindowVisible(window) || r.right <= r.left || r.bottom <= r.top) return false;
  const int width = r.right - r.left, height = r.bottom - r.top;
  if (!bitmap.SetSize(width, height)) return false;
  classlib::TBitmap previous(width, height);
  // The screen, not the window: PrintWindow draws nothing under Wine for
  // windows that do not paint on WM_PRINTCLIENT, and the frame is wanted too.
  // Wine hands what a window painted to the X display a little later, and
  // later still on a busy machine, so the copy is taken until two agree.
  for (int attempt = 0; attempt < 20; ++attempt) {
    RunUntilIdle(attempt == 0 ? 60 : 100);
    classlib::TWindowDCLease screen(nullptr);
    if (!BitBlt(bitmap.Canvas().Handle(), 0, 0, width, height, screen.Get(), r.left, r.top, SRCCOPY)) return false;
    if (attempt > 0 && SamePixels(bitmap, previous)) break;
    BitBlt(previous.Canvas().Handle(), 0, 0, width, height, bitmap.Canvas().Handle(), 0, 0, SRCCOPY);
  }
  return true;
}

}  // namespace

bool CaptureWindow(HWND window, classlib::TBitmap& bitmap) {
  RECT r;
  return GetWindowRect(window, &r) && CaptureScreenRect(window, r, bitmap);
}

bool CaptureClient(HWND window, classlib::TBitmap& bitmap) {
  RECT r;
  if (!GetClientRect(window, &r)) return false;
  MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&r), 2);
  return CaptureScreenRect(window, r, bitmap);
}

bool CaptureScreen(classlib::TBitmap& bitmap) {
  HWND desktop = GetDesktopWindow();
  RECT r;
  return GetWindowRect(desktop, &r) && CaptureScreenRect(desktop, r, bitmap);
}

bool SavePng(classlib::TBitmap& bitmap, const std::string& path) {
  std::vector<std::uint8_t> rgb;
  rgb.reserve(static_cast<size_t>(bitmap.Width()) * static_cast<size_t>(bitmap.Height()) * 3);
  const int bpp = bitmap.BytesPerPixel();
  for (int y = 0; y < bitmap.Height(); ++y) {
    const std::uint8_t* row = bitmap.ScanLine(y);
    for (int x = 0; x < bitmap.Width(); ++x) {
      const std::uint8_t* px = row + x * bpp;  // blue, green, red
      rgb.insert(rgb.end(), {px[2], px[1], px[0]});
    }
  }
  return WritePng(path, bitmap.Width(), bitmap.Height(), rgb);
}

std::string SavePicture(classlib::TBitmap& bitmap, const std::string& name) {
  const std::string base = PicturesFolder() + "\\" + name;
  if (!bitmap.SaveToFile(base + ".bmp") || !SavePng(bitmap, base + ".png")) return "";
  std::printf("picture: %s.png\n", base.c_str());
  return base + ".png";
}

std::string SaveWindowPicture(HWND window, const std::string& name) {
  classlib::TBitmap bitmap;
  if (!CaptureWindow(window, bitmap)) return "";
  return SavePicture(bitmap, name);
}

}  // namespace uikit
