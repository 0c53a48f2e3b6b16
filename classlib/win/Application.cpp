// The application window, its message loop and the dispatch of synchronised
// and queued calls and finished threads.
#include "classlib/win/Application.h"

#include <objbase.h>

#include <functional>
#include <stdexcept>

#include "classlib/Graphics.h"
#include "classlib/win/Controls.h"
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
  // Named system colours come from the system from here on.
  SetSystemColorProvider([](int index) -> TColor { return GetSysColor(index); });
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
      case kThreadQueueMessage:
        TThread::ThreadQueued(reinterpret_cast<TThread*>(lParam));
        return 0;
      case WM_TIMER:
        TTimer::TimerFired(wParam);
        return 0;
      default:
        break;
    }
  } catch (const std::exception& e) {
    // Nothing may cross the window procedure: reported, and the call ends.
    Application().HandleException(nullptr, e);
    return 0;
  } catch (...) {
    Application().HandleException(nullptr, std::runtime_error("Unknown error"));
    return 0;
  }
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

bool TApplication::ProcessMessage() {
  MSG msg;
  bool wide = false;
  if (!TakeMessage(msg, wide)) return false;
  if (msg.message == WM_QUIT) {
    terminated_ = true;
    return true;
  }
  if (!PreTranslateMessage(msg, wide)) {
    TranslateMessage(&msg);
    if (wide)
      DispatchMessageW(&msg);
    else
      DispatchMessageA(&msg);
  }
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

void TApplication::HandleException(TObject* Sender, const std::exception& E) {
  try {
    if (OnException)
      OnException(Sender, E);
    else
      ShowException(E);
  } catch (...) {
    // The reporting itself failed; there is no one left to tell.
  }
}

void TApplication::ShowException(const std::exception& E) {
  std::string text = E.what();
  if (text.empty() || text.back() != '.') text += '.';
  MessageBoxA(GetActiveWindow(), text.c_str(), DisplayTitle().c_str(), MB_OK | MB_ICONSTOP | MB_TASKMODAL);
}

std::string TApplication::DisplayTitle() const {
  if (!Title.empty()) return Title;
  char path[MAX_PATH] = "";
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string name = path;
  if (size_t slash = name.find_last_of("\\/"); slash != std::string::npos) name.erase(0, slash + 1);
  if (size_t dot = name.rfind('.'); dot != std::string::npos) name.erase(dot);
  return name;
}

void TApplication::SetHint(const std::string& value) {
  if (value == hint_) return;
  hint_ = value;
  Fire(OnHint, this);
}

void TApplication::Terminate() {
  terminated_ = true;
  PostQuitMessage(0);
}

}  // namespace classlib
