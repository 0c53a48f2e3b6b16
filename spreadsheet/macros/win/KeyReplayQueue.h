// The key replay on Windows: an in-process queue that delivers a macro's key
// events one at a time to the window that has the focus, as posted key
// messages that the program's own message loop translates, so that menus,
// dialogs and the entry line react as to typing. While events wait, the
// user's own keyboard and mouse input is held off.
//
// The system's journal-playback hook would do the same from outside, but it is
// refused on current systems and never called under Wine; this queue keeps
// its contract (one key at a time, a done flag, input held off, cancel).
#pragma once

#include "classlib/win/Win32.h"

#include <deque>
#include <string_view>

#include "spreadsheet/macros/KeyReplay.h"
#include "spreadsheet/macros/MacroRun.h"

namespace corvane {

// The layout of the keyboard the thread uses.
class TWinKeyLayout : public TKeyLayout {
 public:
  int KeyScan(unsigned char c) override;
  unsigned ScanCode(int vk) override;
  std::uint32_t TickCount() override;
};

// One queue per program, on the user-interface thread, which it must be made
// and used on.
class TKeyReplayQueue : public TKeyPlayer {
 public:
  TKeyReplayQueue();
  ~TKeyReplayQueue() override;
  TKeyReplayQueue(const TKeyReplayQueue&) = delete;
  TKeyReplayQueue& operator=(const TKeyReplayQueue&) = delete;

  bool Play(std::vector<TKeyEvent> events) override;
  bool Busy() override { return busy_; }
  void Cancel() override;

  // A queue that has made no progress for this long (a loop that does not
  // handle our messages) gives up, so the user's input is never held off for
  // good.
  static constexpr DWORD kStallMs = 3000;

  // Gives the next event; run by the feed message the queue posts itself.
  void Feed();

  // True while the message being handled is a key the queue delivered: keys
  // a macro plays (its own {ESC}) are never the user's break request.
  bool HandlingReplayedKey() const { return handlingReplayed_; }

 private:
  static LRESULT CALLBACK GetMessageHook(int code, WPARAM wParam, LPARAM lParam);
  void PostFeed();
  void Deliver(const TKeyEvent& event);
  void SetModifierState();
  void Finish();
  // True when `msg` is user input that must wait while events are delivered.
  // The user's Ctrl+Break (and Esc while keys are delivered) always reaches
  // a running macro: it requests the break here, whatever has the focus.
  bool HeldOff(const MSG& msg, bool removing);

  HHOOK hook_ = nullptr;
  std::deque<TKeyEvent> events_;
  bool busy_ = false;
  int settleRounds_ = 0;
  bool shiftDown_ = false;
  bool altDown_ = false;
  bool capsWasOn_ = false;
  DWORD lastProgress_ = 0;
  // The key message posted last and not yet taken from the queue.
  MSG expected_{};
  bool expecting_ = false;
  bool handlingReplayed_ = false;  // the message taken last was a delivered key
};

// What a running macro needs from the windows: messages handled through the
// application's loop, and the main window's caption.
class TMacroHostWin : public TMacroHost {
 public:
  HWND mainWindow = nullptr;
  void SetCaption(std::string_view text) override;
  bool ProcessMessages() override;
  void PollMessages() override;
  // Closes the window the macro waits on while the main window is disabled
  // under it (an input box, a menu, a file dialog, a data form).
  void BreakRequested() override;

 private:
  DWORD lastPoll_ = 0;
};

}  // namespace corvane
