// The application window, its message loop and the dispatch of synchronised
// calls and finished threads.
#include "classlib/win/Application.h"

#include <objbase.h>

#include <functional>

#include "classlib/win/Messages.h"
#include "classlib/win/Thread.h"
#include "classlib/win/Timer.h"

namespace classlib {

namespace {
constexpr char kWindowClass[] = "TApplication";
}

TApplication& Application() {
  // Never destroyed: workers and timers may still refer to the window while
  // static objects go away at exit.
  static TApplication* app = new TApplication();
  return *app;
}

TApplication::TApplication() : TComponent(nullptr), mainThreadId_(GetCurrentThreadId()) {
  // The main thread is a single-threaded apartment: the shell's objects live here.
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  WNDCLASSEXA wc = {sizeof wc};
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = kWindowClass;
  RegisterClassExA(&wc);
  // A hidden top-level window, so that it can own dialogs and menus.
  handle_ = CreateWindowExA(0, kWindowClass, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, wc.hInstance, nullptr);
}

TApplication::~TApplication() {
  if (handle_ != nullptr) DestroyWindow(handle_);
}

LRESULT CALLBACK TApplication::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  try {
    switch (msg) {
      case kSynchronizeMessage:
        (*reinterpret_cast<const std::function<void()>*>(lParam))();
        return 1;
      case kThreadDoneMessage:
        TThread::ThreadDone(reinterpret_cast<TThread*>(lParam));
        return 0;
      case WM_TIMER:
        TTimer::TimerFired(wParam);
        return 0;
      default:
        break;
    }
  } catch (...) {
    // Nothing may cross the window procedure; the call simply did not finish.
    return 0;
  }
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

bool TApplication::ProcessMessage() {
  MSG msg;
  if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) return false;
  if (msg.message == WM_QUIT) {
    terminated_ = true;
    return true;
  }
  TranslateMessage(&msg);
  DispatchMessageA(&msg);
  return true;
}

void TApplication::ProcessMessages() {
  while (ProcessMessage()) {
  }
}

void TApplication::HandleMessage() {
  if (!ProcessMessage()) {
    // Sent messages are handled inside the wait itself.
    MsgWaitForMultipleObjects(0, nullptr, FALSE, INFINITE, QS_ALLINPUT);
  }
}

void TApplication::Run() {
  while (!terminated_) HandleMessage();
}

void TApplication::Terminate() {
  terminated_ = true;
  PostQuitMessage(0);
}

}  // namespace classlib
