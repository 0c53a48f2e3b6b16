// The UI kit: the test desktop, input, running messages, pictures.
#include "tests/support/win/UiKit.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "classlib/win/Application.h"
#include "classlib/win/Controls.h"
#include "classlib/win/GdiHandles.h"

namespace uikit {

namespace {

constexpr char kDesktopName[] = "corvane-ui";
constexpr char kDesktopSize[] = "1024x768";

// Moves the main thread onto a desktop of its own before any window exists.
// Under Wine a desktop with a size in the registry is a virtual desktop: one
// window on the X display inside which Wine draws every window, frame and
// all, and whose screen DC holds what shows. Elsewhere nothing changes.
struct TTestDesktop {
  TTestDesktop() {
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Wine\\Explorer\\Desktops", 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                        &key, nullptr) == ERROR_SUCCESS) {
      RegSetValueExA(key, kDesktopName, 0, REG_SZ, reinterpret_cast<const BYTE*>(kDesktopSize), sizeof kDesktopSize);
      RegCloseKey(key);
    }
    if (HDESK desktop = CreateDesktopA(kDesktopName, nullptr, nullptr, 0, GENERIC_ALL, nullptr))
      SetThreadDesktop(desktop);
  }
} gTestDesktop;

bool Extended(int vk) {
  switch (vk) {
    case VK_PRIOR: case VK_NEXT: case VK_END: case VK_HOME: case VK_LEFT: case VK_UP: case VK_RIGHT: case VK_DOWN:
    case VK_INSERT: case VK_DELETE: case VK_DIVIDE: case VK_NUMLOCK: case VK_RCONTROL: case VK_RMENU:
      return true;
    default:
      return false;
  }
}

LPARAM KeyLParam(int vk, bool up, bool alt) {
  const UINT scan = MapVirtualKeyA(static_cast<UINT>(vk), MAPVK_VK_TO_VSC);
  auto l = static_cast<std::uint32_t>(1 | ((scan & 0xFF) << 16));
  if (Extended(vk)) l |= 1u << 24;
  if (alt) l |= 1u << 29;
  if (up) l |= (1u << 30) | (1u << 31);
  return static_cast<LPARAM>(l);
}

// Puts modifiers (and a key) into the thread's key state while it lives, as
// the system does for real input: GetKeyState in the handlers sees them.
class TKeyStateScope {
 public:
  TKeyStateScope(TShiftState shift, int key = 0) {
    GetKeyboardState(saved_);
    BYTE state[256];
    std::memcpy(state, saved_, sizeof state);
    auto press = [&](int vk) { state[vk] |= 0x80; };
    if (shift & classlib::ssShift) press(VK_SHIFT), press(VK_LSHIFT);
    if (shift & classlib::ssCtrl) press(VK_CONTROL), press(VK_LCONTROL);
    if (shift & classlib::ssAlt) press(VK_MENU), press(VK_LMENU);
    if (shift & classlib::ssLeft) press(VK_LBUTTON);
    if (shift & classlib::ssRight) press(VK_RBUTTON);
    if (key > 0 && key < 256) press(key);
    SetKeyboardState(state);
  }
  ~TKeyStateScope() { SetKeyboardState(saved_); }
  TKeyStateScope(const TKeyStateScope&) = delete;
  TKeyStateScope& operator=(const TKeyStateScope&) = delete;

 private:
  BYTE saved_[256];
};

WPARAM MouseKeys(TShiftState shift) {
  WPARAM keys = 0;
  if (shift & classlib::ssShift) keys |= MK_SHIFT;
  if (shift & classlib::ssCtrl) keys |= MK_CONTROL;
  if (shift & classlib::ssLeft) keys |= MK_LBUTTON;
  if (shift & classlib::ssRight) keys |= MK_RBUTTON;
  if (shift & classlib::ssMiddle) keys |= MK_MBUTTON;
  return keys;
}

void PostMouse(HWND target, UINT msg, TPoint p, WPARAM keys) {
  PostMessageA(target, msg, keys, MAKELPARAM(static_cast<short>(p.x), static_cast<short>(p.y)));
}

void BringToFront(HWND target) {
  HWND top = GetAncestor(target, GA_ROOT);
  SetForegroundWindow(top);
  RunUntilIdle();
}

void SendKeyEvent(int vk, bool up) {
  INPUT input = {};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = static_cast<WORD>(vk);
  input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(static_cast<UINT>(vk), MAPVK_VK_TO_VSC));
  input.ki.dwFlags = (up ? KEYEVENTF_KEYUP : 0) | (Extended(vk) ? KEYEVENTF_EXTENDEDKEY : 0);
  SendInput(1, &input, sizeof input);
}

}  // namespace

void PressKey(HWND target, int vk, TShiftState shift) {
  const bool alt = (shift & classlib::ssAlt) != 0;
  {
    TKeyStateScope state(shift, vk);
    PostMessageA(target, alt ? WM_SYSKEYDOWN : WM_KEYDOWN, static_cast<WPARAM>(vk), KeyLParam(vk, false, alt));
    RunUntilIdle();
  }
  TKeyStateScope state(shift);
  PostMessageA(target, alt ? WM_SYSKEYUP : WM_KEYUP, static_cast<WPARAM>(vk), KeyLParam(vk, true, alt));
  RunUntilIdle();
}

void PostKey(HWND target, int vk, bool alt) {
  PostMessageA(target, alt ? WM_SYSKEYDOWN : WM_KEYDOWN, static_cast<WPARAM>(vk), KeyLParam(vk, false, alt));
  PostMessageA(target, alt ? WM_SYSKEYUP : WM_KEYUP, static_cast<WPARAM>(vk), KeyLParam(vk, true, alt));
}

void PostClick(HWND target, TPoint p) {
  PostMouse(target, WM_LBUTTONDOWN, p, MK_LBUTTON);
  PostMouse(target, WM_LBUTTONUP, p, 0);
}

namespace {

std::function<void()>& PendingScript() {
  static std::function<void()> pending;
  return pending;
}

void CALLBACK RunPendingScript(HWND, UINT, UINT_PTR id, DWORD) {
  auto* form = dynamic_cast<classlib::TForm*>(classlib::TWinControl::FromHandle(GetActiveWindow()));
  if (form == nullptr || !form->Modal()) return;
  KillTimer(nullptr, id);
  std::function<void()> run = std::move(PendingScript());
  run();
  if (form->ModalResult() == classlib::mrNone) form->SetModalResult(classlib::mrCancel);
}

}  // namespace

void RunInsideModal(std::function<void()> script) {
  PendingScript() = std::move(script);
  SetTimer(nullptr, 0, 20, RunPendingScript);
}

void TypeChars(HWND target, std::string_view text) {
  for (char c : text) {
    PostMessageA(target, WM_CHAR, static_cast<unsigned char>(c), 1);
    RunUntilIdle();
  }
}

void TypeWideChars(HWND target, std::wstring_view text) {
  for (wchar_t c : text) {
    PostMessageW(target, WM_CHAR, c, 1);
    RunUntilIdle();
  }
}

void MouseDown(HWND target, TPoint p, TMouseButton button, TShiftState shift) {
  const bool right = button == TMouseButton::mbRight, middle = button == TMouseButton::mbMiddle;
  TShiftState held = shift | (right ? classlib::ssRight : middle ? classlib::ssMiddle : classlib::ssLeft);
  TKeyStateScope state(held);
  PostMouse(target, right ? WM_RBUTTONDOWN : middle ? WM_MBUTTONDOWN : WM_LBUTTONDOWN, p, MouseKeys(held));
  RunUntilIdle();
}

void MouseMove(HWND target, TPoint p, TShiftState shift) {
  TKeyStateScope state(shift);
  PostMouse(target, WM_MOUSEMOVE, p, MouseKeys(shift));
  RunUntilIdle();
}

void MouseUp(HWND target, TPoint p, TMouseButton button, TShiftState shift) {
  const bool right = button == TMouseButton::mbRight, middle = button == TMouseButton::mbMiddle;
  TKeyStateScope state(shift);
  PostMouse(target, right ? WM_RBUTTONUP : middle ? WM_MBUTTONUP : WM_LBUTTONUP, p, MouseKeys(shift));
  RunUntilIdle();
}

void Click(HWND target, TPoint p, TMouseButton button, TShiftState shift) {
  MouseDown(target, p, button, shift);
  MouseUp(target, p, button, shift);
}

void DoubleClick(HWND target, TPoint p) {
  Click(target, p);
  {
    TKeyStateScope state(classlib::ssLeft);
    PostMouse(target, WM_LBUTTONDBLCLK, p, MK_LBUTTON);
    RunUntilIdle();
  }
  MouseUp(target, p);
}

void SendKey(HWND target, int vk, TShiftState shift) {
  BringToFront(target);
  std::vector<int> modifiers;
  if (shift & classlib::ssShift) modifiers.push_back(VK_SHIFT);
  if (shift & classlib::ssCtrl) modifiers.push_back(VK_CONTROL);
  if (shift & classlib::ssAlt) modifiers.push_back(VK_MENU);
  for (int m : modifiers) SendKeyEvent(m, false);
  SendKeyEvent(vk, false);
  SendKeyEvent(vk, true);
  for (auto it = modifiers.rbegin(); it != modifiers.rend(); ++it) SendKeyEvent(*it, true);
  RunUntilIdle();
}

bool PlaceCursor(HWND target, TPoint p) {
  POINT screen = {p.x, p.y};
  ClientToScreen(target, &screen);
  // Under Wine the cursor can go back to the X pointer's old place a while
  // after a move; a position that still holds after a quiet spell is settled.
  constexpr int kAttempts = 20;
  constexpr DWORD kSettleMs = 150;
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    SetCursorPos(screen.x, screen.y);
    RunUntilIdle(kSettleMs);
    POINT now = {};
    if (GetCursorPos(&now) && now.x == screen.x && now.y == screen.y) return true;
  }
  return false;
}

void SendClick(HWND target, TPoint p) {
  BringToFront(target);
  PlaceCursor(target, p);
  POINT screen = {p.x, p.y};
  ClientToScreen(target, &screen);
  const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
  // Each event carries the point: a press without MOUSEEVENTF_MOVE happens
  // wherever the cursor is by then, and under Wine a late report of the X
  // pointer can put the cursor back where it was before the move.
  INPUT inputs[3] = {};
  for (INPUT& input : inputs) {
    input.type = INPUT_MOUSE;
    input.mi.dx = static_cast<LONG>((screen.x * 65536 + width / 2) / width);
    input.mi.dy = static_cast<LONG>((screen.y * 65536 + height / 2) / height);
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  }
  inputs[1].mi.dwFlags |= MOUSEEVENTF_LEFTDOWN;
  inputs[2].mi.dwFlags |= MOUSEEVENTF_LEFTUP;
  SendInput(3, inputs, sizeof inputs[0]);
  RunUntilIdle();
}

namespace {
template <class Visit>
void ForEachPixel(classlib::TBitmap& bitmap, classlib::TColor color, TRect area, Visit visit) {
  area = classlib::IntersectRect(area, {0, 0, bitmap.Width(), bitmap.Height()});
  const int bpp = bitmap.BytesPerPixel();
  const classlib::TColor rgb = classlib::ColorToRGB(color);
  for (int y = area.Top; y < area.Bottom; ++y) {
    const std::uint8_t* row = bitmap.ScanLine(y);
    for (int x = area.Left; x < area.Right; ++x) {
      const std::uint8_t* px = row + x * bpp;
      if (classlib::RGBColor(px[2], px[1], px[0]) == rgb) visit(x, y);
    }
  }
}
}  // namespace

TRect ColorBounds(classlib::TBitmap& bitmap, classlib::TColor color, TRect area) {
  TRect bounds;
  bool any = false;
  ForEachPixel(bitmap, color, area, [&](int x, int y) {
    const TRect pixel{x, y, x + 1, y + 1};
    bounds = any ? classlib::UnionRect(bounds, pixel) : pixel;
    any = true;
  });
  return bounds;
}

int CountColor(classlib::TBitmap& bitmap, classlib::TColor color, TRect area) {
  int count = 0;
  ForEachPixel(bitmap, color, area, [&](int, int) { ++count; });
  return count;
}

}  // namespace uikit
