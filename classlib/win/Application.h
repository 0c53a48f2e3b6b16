// TApplication: the program's main-thread object, owner of the hidden
// application window that runs synchronised calls and timers, and of the
// message loop.
#pragma once

#include <windows.h>

#include <exception>
#include <functional>
#include <string>

#include "classlib/Component.h"

namespace classlib {

class TApplication : public TComponent {
 public:
  // The hidden application window; created with the object, on the main thread.
  HWND Handle() const { return handle_; }
  DWORD MainThreadId() const { return mainThreadId_; }

  // Runs the message loop until Terminate or a quit message.
  void Run();
  // Handles every message waiting in the queue, then returns.
  void ProcessMessages();
  // Waits for one message (or a sent one), then handles what is queued.
  void HandleMessage();
  // Ends the message loop of Run.
  void Terminate();
  bool Terminated() const { return terminated_; }

  // Reports an exception that reached the edge of a window procedure or a
  // message handler: OnException when assigned, else ShowException.
  void HandleException(TObject* Sender, const std::exception& E);
  // The exception's message followed by a full stop, in a message box
  // captioned with the application's title.
  void ShowException(const std::exception& E);
  // Title, or the program file's name without its extension when it is empty.
  std::string DisplayTitle() const;

  std::string Title;
  // The program's help file, an absolute path.
  std::string HelpFile;
  // The hint of the menu item or tool button under the user's pointer or
  // selection; empty when there is none. Setting a different one fires
  // OnHint.
  const std::string& Hint() const { return hint_; }
  void SetHint(const std::string& value);
  TNotifyEvent OnHint;
  // Replaces the message box of HandleException (tests record instead).
  std::function<void(TObject* Sender, const std::exception& E)> OnException;

 private:
  friend TApplication& Application();
  TApplication();
  ~TApplication() override;
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  bool ProcessMessage();

  HWND handle_ = nullptr;
  std::string hint_;
  DWORD mainThreadId_ = 0;
  bool terminated_ = false;
};

// The one application object, created by the first call (which must come from
// the main thread) and living until the program ends.
TApplication& Application();

// Handles messages until `done()` holds or `timeoutMs` have passed; true when
// `done()` held. Use it where the main thread must wait for a worker.
template <class Done>
bool ProcessMessagesUntil(Done done, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  for (;;) {
    Application().ProcessMessages();
    if (done()) return true;
    DWORD spent = GetTickCount() - start;
    if (spent >= timeoutMs) return false;
    DWORD wait = timeoutMs - spent;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, wait < 50 ? wait : 50, QS_ALLINPUT);
  }
}

}  // namespace classlib
