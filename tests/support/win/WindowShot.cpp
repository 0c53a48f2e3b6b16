// window_shot: takes pictures of a program under Wine for tools/run.
//   window_shot CAPTION_PREFIX FOLDER [--after-scan SECONDS] [--after-load SECONDS] [--close]
// Waits for the program's window, saves FOLDER\startup.png (the screen);
// with --after-scan waits until the first tree root's scan has ended (at
// most SECONDS) and saves FOLDER\after-scan.png; with --after-load waits
// until the window takes input (the program's start-up, and the file it
// opens, are done; at most SECONDS) and saves FOLDER\after-load.png; with
// --close closes the program. Prints each picture's path; exits 1 when the
// window never came.
#include "classlib/win/Win32.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include "tests/support/win/RemoteWindow.h"
#include "tests/support/win/Screen.h"

namespace {

bool SaveScreen(const std::string& path) {
  classlib::TBitmap bitmap;
  if (!uikit::CaptureScreen(bitmap) || !uikit::SavePng(bitmap, path)) return false;
  std::printf("%s\n", path.c_str());
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr,
                 "usage: window_shot CAPTION_PREFIX FOLDER [--after-scan SECONDS] [--after-load SECONDS] [--close]\n");
    return 2;
  }
  const std::string prefix = argv[1], folder = argv[2];
  int scanSeconds = -1;
  int loadSeconds = -1;
  bool close = false;
  for (int i = 3; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--after-scan" && i + 1 < argc) scanSeconds = std::atoi(argv[++i]);
    if (a == "--after-load" && i + 1 < argc) loadSeconds = std::atoi(argv[++i]);
    if (a == "--close") close = true;
  }
  HWND window = uikit::WaitForTopWindow(prefix, 60000);
  if (window == nullptr) {
    std::fprintf(stderr, "window_shot: no window \"%s...\" appeared\n", prefix.c_str());
    return 1;
  }
  Sleep(1500);
  CreateDirectoryA(folder.c_str(), nullptr);
  SaveScreen(folder + "\\startup.png");
  if (scanSeconds >= 0) {
    HWND tree = uikit::FindChildOfClass(window, WC_TREEVIEWA);
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < static_cast<DWORD>(scanSeconds) * 1000) {
      HTREEITEM root = tree != nullptr ? uikit::RemoteTreeRoot(tree) : nullptr;
      if (root != nullptr && uikit::RemoteTreeStateImage(tree, root) == 0) break;
      Sleep(200);
    }
    Sleep(1500);
    SaveScreen(folder + "\\after-scan.png");
  }
  if (loadSeconds >= 0) {
    const DWORD start = GetTickCount();
    while (!IsWindowEnabled(window) && GetTickCount() - start < static_cast<DWORD>(loadSeconds) * 1000) Sleep(200);
    Sleep(1500);
    SaveScreen(folder + "\\after-load.png");
  }
  if (close) {
    PostMessageA(window, WM_CLOSE, 0, 0);
    for (int i = 0; i < 100 && IsWindow(window); ++i) Sleep(100);
  }
  return 0;
}
