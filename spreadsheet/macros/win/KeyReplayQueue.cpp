// The in-process key replay queue.
#include "spreadsheet/macros/win/KeyReplayQueue.h"

#include <functional>
#include <string>

#include "classlib/Assert.h"
#include "classlib/win/Application.h"
#include "classlib/win/Messages.h"

namespace corvane {

namespace {

TKeyReplayQueue* gQueue = nullptr;
// Set while a running macro lets the waiting messages through between its
// commands: the user's input then waits for the macro as it does while keys
// are delivered.
bool gPolling = false;

// The feed call posted to the application window, which every message loop of
// the program (menus, dialogs, message boxes) dispatches. It lives for the
// program, so a feed still queued after the queue is gone finds nothing to do.
const std::function<void()>& FeedCall() {
  static const auto* call = new std::function<void()>([] {
    if (gQueue) gQueue->Feed();
  });
  return *call;
}

bool IsKeyMessage(UINT m) { return m == WM_KEYDOWN || m == WM_KEYUP || m == WM_SYSKEYDOWN || m == WM_SYSKEYUP; }
bool IsMouseMessage(UINT m) {
  return (m >= WM_MOUSEFIRST && m <= WM_MOUSELAST) || (m >= WM_NCMOUSEMOVE && m <= WM_NCXBUTTONDBLCLK);
}
// Ctrl+Break, and Esc pressed by the user.
bool IsBreakKey(const MSG& msg) {
  return (msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN) && (msg.wParam == VK_CANCEL || msg.wParam == VK_ESCAPE);
}
bool IsExtendedKey(int vk) { return (vk >= VK_PRIOR && vk <= VK_DOWN) || vk == VK_INSERT || vk == VK_DELETE; }

}  // namespace

int TWinKeyLayout::KeyScan(unsigned char c) {
  SHORT scan = VkKeyScanA(static_cast<CHAR>(c));
  return scan == -1 ? -1 : static_cast<int>(static_cast<unsigned short>(scan));
}
unsigned TWinKeyLayout::ScanCode(int vk) { return MapVirtualKeyA(static_cast<UINT>(vk), 0); }
std::uint32_t TWinKeyLayout::TickCount() { return GetTickCount(); }

TKeyReplayQueue::TKeyReplayQueue() {
  CL_ASSERT(gQueue == nullptr);
  gQueue = this;
  hook_ = SetWindowsHookExA(WH_GETMESSAGE, GetMessageHook, nullptr, GetCurrentThreadId());
}

TKeyReplayQueue::~TKeyReplayQueue() {
  Cancel();
  if (hook_ != nullptr) UnhookWindowsHookEx(hook_);
  if (gQueue == this) gQueue = nullptr;
}

bool TKeyReplayQueue::Play(std::vector<TKeyEvent> events) {
  if (hook_ == nullptr || classlib::Application().Handle() == nullptr) return false;
  if (!busy_) {
    BYTE state[256];
    GetKeyboardState(state);
    capsWasOn_ = (state[VK_CAPITAL] & 1) != 0;
  }
  events_.assign(events.begin(), events.end());
  busy_ = true;
  settleRounds_ = 0;
  lastProgress_ = GetTickCount();
  PostFeed();
  return true;
}

void TKeyReplayQueue::Cancel() {
  events_.clear();
  expecting_ = false;
  if (busy_) Finish();
}

void TKeyReplayQueue::PostFeed() {
  // The feed is posted behind the key it follows, so each key (and the
  // characters its translation posts) is handled before the next is given.
  PostMessageA(classlib::Application().Handle(), classlib::kSynchronizeMessage, 0,
               reinterpret_cast<LPARAM>(&FeedCall()));
}

void TKeyReplayQueue::Feed() {
  if (!busy_) return;
  lastProgress_ = GetTickCount();
  if (!events_.empty()) {
    TKeyEvent event = events_.front();
    events_.pop_front();
    Deliver(event);
    PostFeed();
    return;
  }
  // Two rounds after the last key: the characters translated from it and what
  // they post are handled before the run counts as done.
  if (++settleRounds_ < 2) {
    PostFeed();
    return;
  }
  Finish();
}

void TKeyReplayQueue::SetModifierState() {
  BYTE state[256];
  GetKeyboardState(state);
  BYTE shift = shiftDown_ ? 0x80 : 0;
  BYTE alt = altDown_ ? 0x80 : 0;
  state[VK_SHIFT] = state[VK_LSHIFT] = shift;
  state[VK_MENU] = state[VK_LMENU] = alt;
  // Caps Lock would turn the case of every letter typed; it is off while
  // keys are replayed and back as it was afterwards.
  state[VK_CAPITAL] = static_cast<BYTE>(state[VK_CAPITAL] & ~1);
  SetKeyboardState(state);
}

void TKeyReplayQueue::Deliver(const TKeyEvent& event) {
  HWND target = GetFocus();
  if (target == nullptr) target = GetActiveWindow();
  if (event.message == kCharMessage) {
    if (target != nullptr) PostMessageA(target, WM_CHAR, event.paramL & 0xFF, 1);
    return;
  }
  const int vk = event.VirtualKey();
  const bool up = event.message == kKeyUpMessage || event.message == kSysKeyUpMessage;
  if (vk == VK_SHIFT) shiftDown_ = !up;
  if (vk == VK_MENU) altDown_ = !up;
  SetModifierState();
  if (target == nullptr) return;
  // Only Alt's own press and release are system keys here: a posted system
  // key-up of another key would reach the window's menu handling.
  UINT message = vk == VK_MENU ? (up ? WM_SYSKEYUP : WM_SYSKEYDOWN) : (up ? WM_KEYUP : WM_KEYDOWN);
  // Repeat count 1, the scan code, the extended-key flag, Alt held, and for a
  // release the previous state and transition bits.
  DWORD bits = 1 | (((event.paramL >> 8) & 0xFF) << 16);
  if (IsExtendedKey(vk)) bits |= 1u << 24;
  if (altDown_) bits |= 1u << 29;
  if (up) bits |= 3u << 30;
  const auto lParam = static_cast<LPARAM>(bits);
  expected_ = MSG{target, message, static_cast<WPARAM>(vk), lParam, 0, {}};
  expecting_ = true;
  PostMessageA(target, message, static_cast<WPARAM>(vk), lParam);
}

void TKeyReplayQueue::Finish() {
  busy_ = false;
  if (shiftDown_ || altDown_) {
    shiftDown_ = altDown_ = false;
    SetModifierState();
  }
  if (capsWasOn_) {
    BYTE state[256];
    GetKeyboardState(state);
    state[VK_CAPITAL] |= 1;
    SetKeyboardState(state);
  }
}

bool TKeyReplayQueue::HeldOff(const MSG& msg, bool removing) {
  const bool delivered = expecting_ && IsKeyMessage(msg.message) && msg.hwnd == expected_.hwnd &&
                         msg.message == expected_.message && msg.wParam == expected_.wParam &&
                         msg.lParam == expected_.lParam;
  if (removing) {
    handlingReplayed_ = delivered;
    if (delivered) expecting_ = false;
  }
  if (delivered) return false;
  // Ctrl+Break always breaks a running macro. Esc does while input is held
  // off, when it could reach no window; otherwise it goes where it was typed,
  // so that it closes a box the macro asks through, and the sheet takes it
  // as the break.
  const bool holding = busy_ || gPolling;
  if (removing && MacroState().running && IsBreakKey(msg) && (holding || msg.wParam == VK_CANCEL)) {
    MacroBreak();
    // While input is held off the break key goes no further: the break
    // drops what waits anyway.
    if (holding) return true;
  }
  if (gPolling && !busy_) return IsKeyMessage(msg.message) || IsMouseMessage(msg.message);
  if (!busy_) return false;
  if (GetTickCount() - lastProgress_ > kStallMs) {
    Cancel();
    return false;
  }
  return IsKeyMessage(msg.message) || IsMouseMessage(msg.message);
}

LRESULT CALLBACK TKeyReplayQueue::GetMessageHook(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION && gQueue != nullptr) {
    MSG& msg = *reinterpret_cast<MSG*>(lParam);
    if (gQueue->HeldOff(msg, wParam == PM_REMOVE)) msg.message = WM_NULL;
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

void TMacroHostWin::SetCaption(std::string_view text) {
  if (mainWindow != nullptr) SetWindowTextA(mainWindow, std::string(text).c_str());
}

bool TMacroHostWin::ProcessMessages() {
  classlib::Application().HandleMessage();
  return !classlib::Application().Terminated();
}

void TMacroHostWin::PollMessages() {
  // A few times a second is enough to repaint and to see a break; asking the
  // queue after every command would slow a macro down.
  constexpr DWORD kPollMs = 30;
  const DWORD now = GetTickCount();
  if (now - lastPoll_ < kPollMs) return;
  lastPoll_ = now;
  if (HIWORD(GetQueueStatus(QS_ALLINPUT)) == 0) return;
  gPolling = true;
  classlib::Application().ProcessMessages();
  gPolling = false;
}

void TMacroHostWin::BreakRequested() {
  // A loop around a dialog would otherwise break only when the user closes
  // the dialog; closed now, it answers as cancelled and the break follows.
  HWND active = GetActiveWindow();
  if (mainWindow == nullptr || active == nullptr || active == mainWindow || IsWindowEnabled(mainWindow)) return;
  PostMessageA(active, WM_CLOSE, 0, 0);
}

}  // namespace corvane
