// window_shot: takes pictures of a program under Wine for tools/run.
//   window_shot CAPTION_PREFIX FOLDER [--desktop NAME] [--after-scan SECONDS] [--after-load SECONDS] [--close]
// With --desktop first moves onto the desktop NAME (once a window shows on it),
// where the program was started, so that this program stays the caller's
// own process: its output and exit status reach the caller. Waits for the
// program's window, saves FOLDER\startup.png (the screen);
// with --after-scan waits until the first tree root's scan has ended (at
// most SECONDS) and saves FOLDER\after-scan.png; with --after-load waits
// until the window takes input (the program's start-up, and the file it
// opens, are done; at most SECONDS) and saves FOLDER\after-load.png; with
// --close closes the program. Prints each picture's path; exits 1 when the
// window never came or a picture could not be saved.
#include "classlib/win/Win32.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include "tests/support/win/RemoteWindow.h"
#include "tests/support/win/Screen.h"

namespace {

// Saves a picture of the screen as `path`, trying for a few seconds: the
// desktop's window may still be taking its size.
bool SaveScreen(const std::string& path) {
  classlib::TBitmap bitmap;
  for (int attempt = 0; !uikit::CaptureScreen(bitmap) || !uikit::SavePng(bitmap, path); ++attempt) {
    if (attempt == 20) {
      RECT r = {};
      GetWindowRect(GetDesktopWindow(), &r);
      std::fprintf(stderr, "window_shot: could not save %s (screen %ldx%ld, error %lu)\n", path.c_str(),
                   static_cast<long>(r.right - r.left), static_cast<long>(r.bottom - r.top),
                   static_cast<unsigned long>(GetLastError()));
      return false;
    }
    Sleep(500);
  }
  std::printf("%s\n", path.c_str());
  return true;
}

BOOL CALLBACK AnyWindow(HWND, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return FALSE;
}

// Moves the main thread onto the desktop `name` once a window shows on it (at
// most `timeoutMs`): by then the program's desktop process has made the
// desktop's own window, so joining earlier cannot make Wine start another
// one for this thread. False when none came.
bool JoinDesktop(const std::string& name, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  for (;;) {
    if (HDESK desktop = OpenDesktopA(name.c_str(), 0, FALSE, GENERIC_ALL)) {
      bool found = false;
      EnumDesktopWindows(desktop, AnyWindow, reinterpret_cast<LPARAM>(&found));
      if (found) return SetThreadDesktop(desktop) != FALSE;
      CloseDesktop(desktop);
    }
    if (GetTickCount() - start >= timeoutMs) return false;
    Sleep(100);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr,
                 "usage: window_shot CAPTION_PREFIX FOLDER [--desktop NAME] [--after-scan SECONDS] [--after-load SECONDS] "
                 "[--close]\n");
    return 2;
  }
  const std::string prefix = argv[1], folder = argv[2];
  std::string desktop;
  int scanSeconds = -1;
  int loadSeconds = -1;
  bool close = false;
  for (int i = 3; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--desktop" && i + 1 < argc) desktop = argv[++i];
    if (a == "--after-scan" && i + 1 < argc) scanSeconds = std::atoi(argv[++i]);
    if (a == "--after-load" && i + 1 < argc) loadSeconds = std::atoi(argv[++i]);
    if (a == "--close") close = true;
  }
  if (!desktop.empty() && !JoinDesktop(desktop, 60000)) {
    std::fprintf(stderr, "window_shot: no desktop \"%s\" appeared\n", desktop.c_str());
    return 1;
  }
  HWND window = uikit::WaitForTopWindow(prefix, 60000);
  if (window == nullptr) {
    std::fprintf(stderr, "window_shot: no window \"%s...\" appeared\n", prefix.c_str());
    return 1;
  }
  Sleep(1500);
  CreateDirectoryA(folder.c_str(), nullptr);
  bool saved = SaveScreen(folder + "\\startup.png");
  if (scanSeconds >= 0) {
    HWND tree = uikit::FindChildOfClass(window, WC_TREEVIEWA);
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < static_cast<DWORD>(scanSeconds) * 1000) {
      HTREEITEM root = tree != nullptr ? uikit::RemoteTreeRoot(tree) : nullptr;
      if (root != nullptr && uikit::RemoteTreeStateImage(tree, root) == 0) break;
      Sleep(200);
    }
    Sleep(1500);
    saved = SaveScreen(folder + "\\after-scan.png") && saved;
  }
  if (loadSeconds >= 0) {
    const DWORD start = GetTickCount();
    while (!IsWindowEnabled(window) && GetTickCount() - start < static_cast<DWORD>(loadSeconds) * 1000) Sleep(200);
    Sleep(1500);
    saved = SaveScreen(folder + "\\after-load.png") && saved;
  }
  if (close) {
    PostMessageA(window, WM_CLOSE, 0, 0);
    for (int i = 0; i < 100 && IsWindow(window); ++i) Sleep(100);
  }
  return saved ? 0 : 1;
}
