// The chart window: painting through a memory bitmap, notifications.
#include "chartlib/win/ChartWindow.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <vector>

#include "chartlib/ChartPainter.h"
#include "classlib/win/GdiCanvas.h"
#include "classlib/win/GdiHandles.h"

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace chartlib {

namespace {

constexpr char kClassName[] = "CFX2032.Chart";

// Notification codes the window sends.
enum : WORD {
  kLButtonDblClk = 0, kRButtonDown = 1, kDestroy = 5, kChangeType = 13, kShowToolbar = 18, kPrePaint = 19,
  kPostPaint = 20, kLButtonDown = 22, kLButtonUp = 23, kRButtonUp = 24, kRButtonDblClk = 25, kMouseMove = 26,
  kLostFocus = 0xFFFE, kGotFocus = 0xFFFF
};

// The tool bar's window id and its buttons' commands.
constexpr UINT kToolBarId = 1;
enum : int { kToolGallery = 100, kToolBarChart, kToolPieChart, kToolListChart, kTool3D };

// The chart types the tool bar and its gallery offer: command, type, caption.
struct TToolType {
  int command;
  int type;
  const char* caption;
};
constexpr TToolType kToolTypes[] = {
    {kToolBarChart, kTypeBar, "Bar"}, {kToolPieChart, kTypePie, "Pie"}, {kToolListChart, kTypeList, "List"}};

struct TChartWindow {
  TChartModel model;
  UINT id;
  unsigned paintedChanges = ~0u;
  // Invalidated since the last paint: a transfer of thousands of values and
  // legends asks for one repaint, not one each.
  bool invalidated = false;
  bool notifying = false;
  // The chart's own tool bar, made when the type word first asks for it.
  HWND toolBar = nullptr;
  bool toolBarShown = false;
  int toolBarHeight = 0;
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

// The top of the chart's area: below the tool bar while it shows.
int ChartTop(const TChartWindow& state) { return state.toolBarShown ? state.toolBarHeight : 0; }

LRESULT NotifyMouse(HWND window, TChartWindow& state, WORD code, LPARAM lParam) {
  // Positions are the chart area's, as the last painting laid it out.
  const classlib::TPoint p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam) - ChartTop(state)};
  return Notify(window, state, code, state.model.HitMap().Find(p), PackPair(p.x, p.y));
}

TChartHitMap PaintOn(TChartWindow& state, HDC dc, const RECT& r) {
  classlib::TGdiCanvas canvas(dc);
  return PaintChart(state.model, canvas, {r.left, r.top, r.right, r.bottom}, GetSysColor(COLOR_WINDOW));
}

void SyncToolBar(HWND window, TChartWindow& state);

void Paint(HWND window, TChartWindow& state) {
  SyncToolBar(window, state);
  RECT whole;
  GetClientRect(window, &whole);
  const int top = std::min<int>(ChartTop(state), whole.bottom);
  const RECT client = {0, 0, whole.right, whole.bottom - top};
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
        BitBlt(paint.Get(), 0, top, client.right, client.bottom, memory.Get(), 0, 0, SRCCOPY);
      } else {
        classlib::TSavedDCScope saved(paint.Get());
        SetViewportOrgEx(paint.Get(), 0, top, nullptr);
        state.model.SetHitMap(PaintOn(state, paint.Get(), client));
      }
    }
    state.paintedChanges = state.model.ChangeCount();
  }
  // Only now: the paint validated what was invalidated before it began,
  // whatever asked for it meanwhile.
  state.invalidated = false;
  Notify(window, state, kPostPaint, -1, size);
}

HWND MakeToolBar(HWND window) {
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_BAR_CLASSES};
  InitCommonControlsEx(&controls);
  HWND bar = CreateWindowExA(0, TOOLBARCLASSNAMEA, "",
                             WS_CHILD | WS_CLIPSIBLINGS | TBSTYLE_FLAT | TBSTYLE_LIST | CCS_TOP | CCS_NODIVIDER, 0, 0, 0,
                             0, window, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kToolBarId)), Instance(), nullptr);
  if (bar == nullptr) return nullptr;
  SendMessageA(bar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  SendMessageA(bar, TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_DRAWDDARROWS);
  SendMessageA(bar, TB_SETBITMAPSIZE, 0, MAKELONG(0, 0));
  auto button = [](int command, BYTE style, const char* text) {
    TBBUTTON b = {};
    b.iBitmap = I_IMAGENONE;
    b.idCommand = command;
    b.fsState = TBSTATE_ENABLED;
    b.fsStyle = static_cast<BYTE>(style | BTNS_AUTOSIZE | BTNS_SHOWTEXT);
    b.iString = reinterpret_cast<INT_PTR>(text);
    return b;
  };
  TBBUTTON separator = {};
  separator.fsStyle = BTNS_SEP;
  separator.iBitmap = 6;
  std::vector<TBBUTTON> buttons = {button(kToolGallery, BTNS_WHOLEDROPDOWN, "Gallery"), separator};
  for (const TToolType& t : kToolTypes) buttons.push_back(button(t.command, BTNS_CHECKGROUP, t.caption));
  buttons.push_back(separator);
  buttons.push_back(button(kTool3D, BTNS_CHECK, "3-D"));
  SendMessageA(bar, TB_ADDBUTTONSA, buttons.size(), reinterpret_cast<LPARAM>(buttons.data()));
  SendMessageA(bar, TB_AUTOSIZE, 0, 0);
  return bar;
}

void LayoutToolBar(TChartWindow& state) {
  if (state.toolBar == nullptr) return;
  SendMessageA(state.toolBar, TB_AUTOSIZE, 0, 0);
  RECT r;
  GetWindowRect(state.toolBar, &r);
  state.toolBarHeight = r.bottom - r.top;
}

// Shows or hides the tool bar as the type word asks, telling the control
// when that changed (the type: 1 shown, 0 hidden), and checks the buttons
// of the current type and 3-D.
void SyncToolBar(HWND window, TChartWindow& state) {
  const bool wanted = (state.model.TypeWord() & kTypeToolBar) != 0;
  if (wanted && state.toolBar == nullptr) state.toolBar = MakeToolBar(window);
  if (state.toolBar == nullptr) return;
  for (const TToolType& t : kToolTypes)
    SendMessageA(state.toolBar, TB_CHECKBUTTON, t.command, state.model.ChartType() == t.type);
  SendMessageA(state.toolBar, TB_CHECKBUTTON, kTool3D, state.model.Is3D());
  if (wanted == state.toolBarShown) return;
  state.toolBarShown = wanted;
  ShowWindow(state.toolBar, wanted ? SW_SHOWNA : SW_HIDE);
  LayoutToolBar(state);
  InvalidateRect(window, nullptr, FALSE);
  Notify(window, state, kShowToolbar, PackPair(wanted ? 1 : 0, 0), 0);
}

// A type chosen on the tool bar or in its gallery: the chart changes and the
// control hears of it.
void ChooseType(HWND window, TChartWindow& state, int type) {
  if (state.model.ChartType() == type) return;
  state.model.Request(1, 0, type);
  InvalidateRect(window, nullptr, FALSE);
  Notify(window, state, kChangeType, PackPair(type, 0), 0);
}

void ToolCommand(HWND window, TChartWindow& state, int command) {
  for (const TToolType& t : kToolTypes)
    if (t.command == command) ChooseType(window, state, t.type);
  if (command == kTool3D) {
    state.model.Request(1, state.model.Is3D() ? 2 : 0, kType3D);
    InvalidateRect(window, nullptr, FALSE);
  }
  SyncToolBar(window, state);
}

// The gallery: every type the chart draws, in a menu below its button.
void ShowGallery(HWND window, TChartWindow& state, const NMTOOLBARA& button) {
  HMENU menu = CreatePopupMenu();
  if (menu == nullptr) return;
  for (const TToolType& t : kToolTypes)
    AppendMenuA(menu, MF_STRING | (state.model.ChartType() == t.type ? MF_CHECKED : 0),
                static_cast<UINT_PTR>(t.command), t.caption);
  POINT at = {button.rcButton.left, button.rcButton.bottom};
  ClientToScreen(button.hdr.hwndFrom, &at);
  const int chosen = static_cast<int>(
      TrackPopupMenu(menu, TPM_RETURNCMD | TPM_LEFTALIGN | TPM_TOPALIGN, at.x, at.y, 0, window, nullptr));
  DestroyMenu(menu);
  if (chosen != 0) ToolCommand(window, state, chosen);
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
    case WM_ERASEBKGND: {
      // The chart's area is painted whole; the tool bar's band (which a
      // flat tool bar lets show through) in the face colour.
      RECT band;
      GetClientRect(window, &band);
      band.bottom = std::min<LONG>(band.bottom, ChartTop(*state));
      if (band.bottom > 0) FillRect(reinterpret_cast<HDC>(wParam), &band, GetSysColorBrush(COLOR_BTNFACE));
      return 1;
    }
    case WM_SIZE:
      LayoutToolBar(*state);
      InvalidateRect(window, nullptr, FALSE);
      return 0;
    case WM_COMMAND:
      if (state->toolBar != nullptr && reinterpret_cast<HWND>(lParam) == state->toolBar) {
        ToolCommand(window, *state, LOWORD(wParam));
        return 0;
      }
      return DefWindowProcA(window, msg, wParam, lParam);
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      if (state->toolBar != nullptr && header->hwndFrom == state->toolBar && header->code == TBN_DROPDOWN) {
        ShowGallery(window, *state, *reinterpret_cast<const NMTOOLBARA*>(lParam));
        return TBDDRET_DEFAULT;
      }
      return 0;
    }
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
  if (state == nullptr || state->invalidated || state->paintedChanges == state->model.ChangeCount()) return;
  state->invalidated = true;
  InvalidateRect(window, nullptr, FALSE);
}

void PaintChartInto(HWND window, HDC dc, int x, int y, int width, int height) {
  TChartWindow* state = StateOf(window);
  if (state == nullptr || dc == nullptr || width <= 0 || height <= 0) return;
  classlib::TSavedDCScope saved(dc);
  classlib::TGdiCanvas canvas(dc);
  PaintChart(state->model, canvas, {x, y, x + width, y + height}, classlib::RGBColor(255, 255, 255));
}

}  // namespace chartlib
