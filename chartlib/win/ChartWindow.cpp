// The chart window: painting through a memory bitmap, notifications.
#include "chartlib/win/ChartWindow.h"

#include <windowsx.h>

#include "chartlib/ChartPainter.h"
#include "classlib/win/GdiCanvas.h"
#include "classlib/win/GdiHandles.h"

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace chartlib {

namespace {

constexpr char kClassName[] = "CFX2032.Chart";

// Notification codes the window sends.
enum : WORD {
  kLButtonDblClk = 0, kRButtonDown = 1, kDestroy = 5, kPrePaint = 19, kPostPaint = 20, kLButtonDown = 22,
  kLButtonUp = 23, kRButtonUp = 24, kRButtonDblClk = 25, kMouseMove = 26, kLostFocus = 0xFFFE, kGotFocus = 0xFFFF
};

struct TChartWindow {
  TChartModel model;
  UINT id;
  unsigned paintedChanges = ~0u;
  bool notifying = false;
};

HINSTANCE Instance() { return reinterpret_cast<HINSTANCE>(&__ImageBase); }

TChartWindow* StateOf(HWND window) {
  if (window == nullptr || !IsWindow(window)) return nullptr;
  char name[sizeof kClassName + 1] = "";
  if (GetClassNameA(window, name, sizeof name) == 0 || lstrcmpA(name, kClassName) != 0) return nullptr;
  return reinterpret_cast<TChartWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

// Sends a notification about `element` at the mouse position `mouse` to
// the window of request 49, and gives its answer.
LRESULT Notify(HWND window, TChartWindow& state, WORD code, std::int32_t element, std::int32_t mouse) {
  const auto target = reinterpret_cast<HWND>(state.model.NotifyTarget());
  if (target == nullptr || !IsWindow(target) || state.notifying) return 0;
  state.model.SetNotifyElement(element, mouse);
  state.notifying = true;
  const LRESULT result =
      SendMessageA(target, WM_COMMAND, MAKEWPARAM(state.id, code), reinterpret_cast<LPARAM>(window));
  state.notifying = false;
  return result;
}

LRESULT NotifyMouse(HWND window, TChartWindow& state, WORD code, LPARAM lParam) {
  const classlib::TPoint p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  return Notify(window, state, code, state.model.HitMap().Find(p), PackPair(p.x, p.y));
}

TChartHitMap PaintOn(TChartWindow& state, HDC dc, const RECT& r) {
  classlib::TGdiCanvas canvas(dc);
  return PaintChart(state.model, canvas, {r.left, r.top, r.right, r.bottom}, GetSysColor(COLOR_WINDOW));
}

void Paint(HWND window, TChartWindow& state) {
  RECT client;
  GetClientRect(window, &client);
  const std::int32_t size = PackPair(client.right, client.bottom);
  Notify(window, state, kPrePaint, -1, size);
  {
    classlib::TPaintScope paint(window);
    if (client.right > 0 && client.bottom > 0) {
      classlib::TOwnedMemoryDC memory(paint.Get());
      classlib::TOwnedBitmap bitmap(CreateCompatibleBitmap(paint.Get(), client.right, client.bottom));
      if (memory.Get() != nullptr && bitmap) {
        classlib::TSelectScope select(memory.Get(), bitmap.Get());
        state.model.SetHitMap(PaintOn(state, memory.Get(), client));
        BitBlt(paint.Get(), 0, 0, client.right, client.bottom, memory.Get(), 0, 0, SRCCOPY);
      } else {
        state.model.SetHitMap(PaintOn(state, paint.Get(), client));
      }
    }
    state.paintedChanges = state.model.ChangeCount();
  }
  Notify(window, state, kPostPaint, -1, size);
}

LRESULT CALLBACK ChartProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* state = reinterpret_cast<TChartWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (state == nullptr) return DefWindowProcA(window, msg, wParam, lParam);
  switch (msg) {
    case WM_PAINT:
      Paint(window, *state);
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_SIZE:
      InvalidateRect(window, nullptr, FALSE);
      return 0;
    case WM_LBUTTONDBLCLK: NotifyMouse(window, *state, kLButtonDblClk, lParam); return 0;
    case WM_RBUTTONDOWN: NotifyMouse(window, *state, kRButtonDown, lParam); return 0;
    case WM_LBUTTONDOWN:
      SetFocus(window);
      NotifyMouse(window, *state, kLButtonDown, lParam);
      return 0;
    case WM_LBUTTONUP: NotifyMouse(window, *state, kLButtonUp, lParam); return 0;
    case WM_RBUTTONUP: NotifyMouse(window, *state, kRButtonUp, lParam); return 0;
    case WM_RBUTTONDBLCLK: NotifyMouse(window, *state, kRButtonDblClk, lParam); return 0;
    case WM_MOUSEMOVE: NotifyMouse(window, *state, kMouseMove, lParam); return 0;
    case WM_SETFOCUS: Notify(window, *state, kGotFocus, -1, 0); return 0;
    case WM_KILLFOCUS: Notify(window, *state, kLostFocus, -1, 0); return 0;
    case WM_DESTROY: Notify(window, *state, kDestroy, -1, 0); return 0;
    case WM_NCDESTROY:
      SetWindowLongPtrA(window, GWLP_USERDATA, 0);
      delete state;
      return DefWindowProcA(window, msg, wParam, lParam);
    default:
      return DefWindowProcA(window, msg, wParam, lParam);
  }
}

bool RegisterChartClass() {
  static const bool registered = [] {
    WNDCLASSEXA wc = {sizeof wc};
    wc.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = ChartProc;
    wc.hInstance = Instance();
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = kClassName;
    return RegisterClassExA(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
  }();
  return registered;
}

}  // namespace

HWND CreateChartWindow(HWND parent, int x, int y, int width, int height, int points, int series, UINT id,
                       DWORD style) {
  if (!RegisterChartClass()) return nullptr;
  auto* state = new TChartWindow{TChartModel(series, points), id};
  HWND window = CreateWindowExA(0, kClassName, "", style | WS_CLIPSIBLINGS, x, y, width, height, parent,
                                (style & WS_CHILD) ? reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)) : nullptr,
                                Instance(), state);
  // Without a window the state never reached it.
  if (window == nullptr) delete state;
  return window;
}

TChartModel* ChartOfWindow(HWND window) {
  TChartWindow* state = StateOf(window);
  return state != nullptr ? &state->model : nullptr;
}

void RefreshChartWindow(HWND window) {
  TChartWindow* state = StateOf(window);
  if (state != nullptr && state->paintedChanges != state->model.ChangeCount()) InvalidateRect(window, nullptr, FALSE);
}

void PaintChartInto(HWND window, HDC dc, int x, int y, int width, int height) {
  TChartWindow* state = StateOf(window);
  if (state == nullptr || dc == nullptr || width <= 0 || height <= 0) return;
  classlib::TSavedDCScope saved(dc);
  classlib::TGdiCanvas canvas(dc);
  PaintChart(state->model, canvas, {x, y, x + width, y + height}, classlib::RGBColor(255, 255, 255));
}

}  // namespace chartlib
