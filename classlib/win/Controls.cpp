// The window base: tying windows to objects, creating windows when needed,
// decoding messages into handlers, routing notifications to the child that
// sent them, alignment, and the dialog keys of the message loop.
#include "classlib/win/Controls.h"

#include <windowsx.h>

#include <algorithm>
#include <exception>
#include <set>
#include <unordered_map>
#include <stdexcept>

#include "classlib/win/Application.h"
#include "classlib/win/GdiCanvas.h"
#include "classlib/win/WideText.h"

namespace classlib {

namespace {

// Every window tied to an object and, for a subclassed standard control, the
// window procedure it had before. A map on the user-interface thread rather
// than window properties: under Wine a property lookup is a round trip to the
// server (about 30 us), and it would be paid on every message.
struct TTie {
  TWinControl* object = nullptr;
  WNDPROC previous = nullptr;
  // A window made Unicode: its procedures take the wide forms of messages.
  bool unicode = false;
};
std::unordered_map<HWND, TTie>& Ties() {
  static std::unordered_map<HWND, TTie> ties;
  return ties;
}
// How many tied windows are Unicode: while there are none, the message loop
// takes every message in the ANSI form without looking at it first.
size_t gUnicodeTies = 0;
void EraseTie(std::unordered_map<HWND, TTie>::iterator it) {
  if (it->second.unicode) --gUnicodeTies;
  Ties().erase(it);
}
const TTie* FindTie(HWND hwnd) {
  auto& ties = Ties();
  auto it = ties.find(hwnd);
  return it != ties.end() ? &it->second : nullptr;
}
WNDPROC PreviousProc(HWND hwnd) {
  const TTie* tie = FindTie(hwnd);
  return tie != nullptr ? tie->previous : nullptr;
}
bool UnicodeTie(HWND hwnd) {
  const TTie* tie = FindTie(hwnd);
  return tie != nullptr && tie->unicode;
}

// Control ids of child windows. They only have to stay clear of the dialog
// command ids (IDOK to IDCONTINUE), which the dialog manager looks up.
int NextControlId() {
  static int next = 100;
  if (next >= 0x7FFF) next = 100;
  return next++;
}

void RegisterOwnClass(const std::string& name, UINT classStyle, WNDPROC proc) {
  static std::set<std::string> registered;
  if (registered.count(name) != 0) return;
  WNDCLASSEXA wc = {sizeof wc};
  wc.style = classStyle;
  wc.lpfnWndProc = proc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.lpszClassName = name.c_str();
  // No class brush: the control erases its own background in its colour.
  if (RegisterClassExA(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS) registered.insert(name);
}

// MDI frames with their client windows, and MDI children: their default
// handling is the MDI one, also before they are tied and after.
std::unordered_map<HWND, HWND>& MdiFrames() {
  static std::unordered_map<HWND, HWND> frames;
  return frames;
}
std::set<HWND>& MdiChildren() {
  static std::set<HWND> children;
  return children;
}

LRESULT CallDefault(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (WNDPROC proc = PreviousProc(hwnd))
    return UnicodeTie(hwnd) ? CallWindowProcW(proc, hwnd, msg, wParam, lParam)
                            : CallWindowProcA(proc, hwnd, msg, wParam, lParam);
  if (!MdiFrames().empty()) {
    if (auto frame = MdiFrames().find(hwnd); frame != MdiFrames().end())
      return DefFrameProcA(hwnd, frame->second, msg, wParam, lParam);
    if (MdiChildren().count(hwnd) != 0) return DefMDIChildProcA(hwnd, msg, wParam, lParam);
  }
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

// Takes the object's property off a window and gives a subclassed window its
// own procedure back, unless someone subclassed it after us: then `ours`
// stays in the chain and passes everything on.
void Untie(HWND hwnd, WNDPROC ours) {
  auto& ties = Ties();
  auto it = ties.find(hwnd);
  if (it == ties.end()) return;
  it->second.object = nullptr;
  WNDPROC proc = it->second.previous;
  const bool unicode = it->second.unicode;
  const auto current = unicode ? GetWindowLongPtrW(hwnd, GWLP_WNDPROC) : GetWindowLongPtrA(hwnd, GWLP_WNDPROC);
  if (proc == nullptr) {
    EraseTie(it);
  } else if (current == reinterpret_cast<LONG_PTR>(ours)) {
    if (unicode)
      SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(proc));
    else
      SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(proc));
    EraseTie(it);
  }
}

RECT ToRECT(const TRect& r) { return {r.Left, r.Top, r.Right, r.Bottom}; }

void ForgetMdiWindow(HWND hwnd) {
  MdiFrames().erase(hwnd);
  MdiChildren().erase(hwnd);
}

}  // namespace

void RegisterMdiFrame(HWND frame, HWND client) { MdiFrames()[frame] = client; }

bool TranslateMdiKeys(MSG& msg) {
  for (const auto& [frame, client] : MdiFrames())
    if (IsChild(client, msg.hwnd) && TranslateMDISysAccel(client, &msg)) return true;
  return false;
}

TShiftState KeyboardShiftState() {
  TShiftState shift = 0;
  if (GetKeyState(VK_SHIFT) < 0) shift |= ssShift;
  if (GetKeyState(VK_CONTROL) < 0) shift |= ssCtrl;
  if (GetKeyState(VK_MENU) < 0) shift |= ssAlt;
  return shift;
}

TShiftState MouseShiftState(WPARAM wParam) {
  TShiftState shift = 0;
  if (wParam & MK_SHIFT) shift |= ssShift;
  if (wParam & MK_CONTROL) shift |= ssCtrl;
  if (wParam & MK_LBUTTON) shift |= ssLeft;
  if (wParam & MK_RBUTTON) shift |= ssRight;
  if (wParam & MK_MBUTTON) shift |= ssMiddle;
  if (GetKeyState(VK_MENU) < 0) shift |= ssAlt;
  return shift;
}

namespace {
std::vector<std::pair<TCursor, HCURSOR>>& RegisteredCursors() {
  static std::vector<std::pair<TCursor, HCURSOR>> cursors;
  return cursors;
}
}  // namespace

void RegisterCursor(TCursor cursor, HCURSOR handle) {
  auto& cursors = RegisteredCursors();
  for (auto& c : cursors)
    if (c.first == cursor) {
      c.second = handle;
      return;
    }
  cursors.emplace_back(cursor, handle);
}

HCURSOR CursorHandle(TCursor cursor) {
  LPCSTR shape = IDC_ARROW;
  switch (cursor) {
    case crCross: shape = IDC_CROSS; break;
    case crIBeam: shape = IDC_IBEAM; break;
    case crSizeNS: case crVSplit: shape = IDC_SIZENS; break;
    case crSizeWE: case crHSplit: shape = IDC_SIZEWE; break;
    case crSizeNESW: shape = IDC_SIZENESW; break;
    case crSizeNWSE: shape = IDC_SIZENWSE; break;
    case crSizeAll: shape = IDC_SIZEALL; break;
    case crHourGlass: shape = IDC_WAIT; break;
    default:
      for (const auto& c : RegisteredCursors())
        if (c.first == cursor && c.second != nullptr) return c.second;
      break;
  }
  return LoadCursor(nullptr, shape);
}

// ---- TControl ----

TControl::TControl(TComponent* AOwner) : TComponent(AOwner) {}

TControl::~TControl() {
  if (parent_ != nullptr) parent_->RemoveControl(this);
}

void TControl::SetParent(TWinControl* AParent) {
  if (AParent == parent_) return;
  CL_ASSERT(AParent != this);
  if (parent_ != nullptr) parent_->RemoveControl(this);
  parent_ = AParent;
  if (parent_ != nullptr) parent_->AddControl(this);
}

TForm* TControl::GetParentForm() const {
  const TControl* c = this;
  while (c->parent_ != nullptr) c = c->parent_;
  return dynamic_cast<TForm*>(const_cast<TControl*>(c));
}

void TControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  left_ = ALeft;
  top_ = ATop;
  width_ = std::max(0, AWidth);
  height_ = std::max(0, AHeight);
}

void TControl::SetAlign(TAlign value) {
  if (value == align_) return;
  align_ = value;
  if (parent_ != nullptr) parent_->Realign();
}

void TControl::SetVisible(bool value) { visible_ = value; }
void TControl::SetEnabled(bool value) { enabled_ = value; }
void TControl::SetColor(TColor value) { color_ = value; }
void TControl::SetFont(const TFont& value) { font_ = value; }

// ---- TWinControl: life of the window ----

MSG TWinControl::deliveredKey_ = {};

TWinControl::TWinControl(TComponent* AOwner) : TControl(AOwner) {
  // The application object installs the system colours and reports errors.
  Application();
}

TWinControl::~TWinControl() {
  destroying_ = true;
  // From here on the window's messages get the system's handling only: the
  // derived parts of this object are gone already.
  HWND hwnd = handle_;
  for (HWND part : parts_) Untie(part, WindowProc);
  parts_.clear();
  if (hwnd != nullptr) Untie(hwnd, WindowProc);
  hooks_.clear();
  // Owned components first (their windows may be children of this one), then
  // the controls on this one that others own.
  while (ComponentCount() > 0) delete Components(ComponentCount() - 1);
  while (!controls_.empty()) delete controls_.back();
  handle_ = nullptr;
  if (hwnd == nullptr) return;
  // An MDI child goes through its client, which then activates another.
  if (MdiChildren().count(hwnd) != 0 && IsWindow(GetParent(hwnd)))
    SendMessageA(GetParent(hwnd), WM_MDIDESTROY, reinterpret_cast<WPARAM>(hwnd), 0);
  else
    DestroyWindow(hwnd);
}

TWinControl* TWinControl::FromHandle(HWND hwnd) {
  const TTie* tie = hwnd != nullptr ? FindTie(hwnd) : nullptr;
  return tie != nullptr ? tie->object : nullptr;
}

HWND TWinControl::Handle() const {
  if (handle_ == nullptr) const_cast<TWinControl*>(this)->CreateHandle();
  return handle_;
}

LRESULT TWinControl::Perform(UINT msg, WPARAM wParam, LPARAM lParam) const {
  HWND hwnd = Handle();
  return hwnd != nullptr ? SendMessageA(hwnd, msg, wParam, lParam) : 0;
}

void TWinControl::CreateParams(TCreateParams& Params) {
  Params.Style = WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
  if (parent_ != nullptr) Params.Style |= WS_CHILD;
  if (visible_) Params.Style |= WS_VISIBLE;
  if (!enabled_) Params.Style |= WS_DISABLED;
  if (tabStop_) Params.Style |= WS_TABSTOP;
  // Parents hear of their children's life from the objects, not the system.
  Params.ExStyle = WS_EX_NOPARENTNOTIFY;
  Params.X = left_;
  Params.Y = top_;
  Params.Width = width_;
  Params.Height = height_;
}

void TWinControl::CreateHandle() {
  if (handle_ != nullptr || creating_ || destroying_) return;
  if (!CL_CHECK(!destroyed_)) return;  // the window is gone; the object should have gone with it
  TCreateParams params;
  CreateParams(params);
  const bool mdiChild = (params.ExStyle & WS_EX_MDICHILD) != 0;
  if (mdiChild && !CL_CHECK(params.WndParent != nullptr)) return;
  if ((params.Style & WS_CHILD) && !mdiChild) {
    if (!CL_CHECK(parent_ != nullptr)) return;
    params.WndParent = parent_->Handle();
    // Creating the parent's window creates this one too.
    if (handle_ != nullptr || params.WndParent == nullptr) return;
  }
  creating_ = true;
  HINSTANCE instance = GetModuleHandleA(nullptr);
  HMENU id = (params.Style & WS_CHILD) && !mdiChild ? reinterpret_cast<HMENU>(static_cast<INT_PTR>(NextControlId()))
                                                    : nullptr;
  const std::string caption = text_;
  HWND hwnd;
  if (params.SystemClass) {
    hwnd = params.Unicode
               ? CreateWindowExW(params.ExStyle, WideFromText(params.ClassName, CP_ACP).c_str(),
                                 WideFromText(caption, CP_UTF8).c_str(), params.Style, params.X, params.Y,
                                 params.Width, params.Height, params.WndParent, id, instance, params.Param)
               : CreateWindowExA(params.ExStyle, params.ClassName.c_str(), caption.c_str(), params.Style, params.X,
                                 params.Y, params.Width, params.Height, params.WndParent, id, instance, params.Param);
    if (hwnd != nullptr) {
      handle_ = hwnd;
      Tie(hwnd, true);
    }
  } else {
    RegisterOwnClass(params.ClassName, params.ClassStyle, WindowProc);
    // Tied at WM_NCCREATE, so the creation messages reach this object.
    hwnd = CreateWindowExA(params.ExStyle, params.ClassName.c_str(), caption.c_str(), params.Style, params.X, params.Y,
                           params.Width, params.Height, params.WndParent, id, instance, this);
  }
  creating_ = false;
  if (hwnd == nullptr || handle_ != hwnd) {
    handle_ = nullptr;
    return;
  }
  ReadBoundsFromWindow();
  ApplyFont();
  if ((params.Style & WS_CHILD) && !mdiChild) PlaceInWindowOrder();
  for (TControl* child : std::vector<TControl*>(controls_)) child->ParentWindowCreated();
  Realign();
  WindowCreated();
}

void TWinControl::RecreateWnd() {
  if (handle_ == nullptr || creating_ || destroying_ || !CL_CHECK(controls_.empty())) return;
  // The old window ends as any window does (WindowDestroying, then it is
  // untied); the object then makes its next one.
  DestroyWindow(handle_);
  handle_ = nullptr;
  destroyed_ = false;
  CreateHandle();
}

void TWinControl::Tie(HWND hwnd, bool subclass) {
  TTie& tie = Ties()[hwnd];
  if (tie.unicode) --gUnicodeTies;
  tie = {this, nullptr, IsWindowUnicode(hwnd) != FALSE};
  if (tie.unicode) ++gUnicodeTies;
  // A Unicode window is subclassed by the wide form, so that it stays one.
  const auto ours = reinterpret_cast<LONG_PTR>(&TWinControl::WindowProc);
  if (subclass)
    tie.previous = reinterpret_cast<WNDPROC>(tie.unicode ? SetWindowLongPtrW(hwnd, GWLP_WNDPROC, ours)
                                                         : SetWindowLongPtrA(hwnd, GWLP_WNDPROC, ours));
}

void TWinControl::TieChildWindow(HWND part) {
  if (part == nullptr || FromHandle(part) != nullptr) return;
  Tie(part, true);
  parts_.push_back(part);
}

void TWinControl::WindowGone(HWND hwnd) {
  Untie(hwnd, WindowProc);
  parts_.erase(std::remove(parts_.begin(), parts_.end(), hwnd), parts_.end());
  if (hwnd == handle_) {
    handle_ = nullptr;
    destroyed_ = true;
  }
}

LRESULT CALLBACK TWinControl::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  TWinControl* control = FromHandle(hwnd);
  if (control == nullptr && msg == WM_NCCREATE) {
    const auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
    void* param = create->lpCreateParams;
    // An MDI child's parameter comes wrapped in the MDI creation record.
    if ((create->dwExStyle & WS_EX_MDICHILD) != 0 && param != nullptr) {
      param = reinterpret_cast<void*>(static_cast<const MDICREATESTRUCTA*>(param)->lParam);
      MdiChildren().insert(hwnd);
    }
    control = static_cast<TWinControl*>(param);
    if (control != nullptr) {
      control->handle_ = hwnd;
      control->Tie(hwnd, false);
    }
  }
  if (control == nullptr) {
    LRESULT result = CallDefault(hwnd, msg, wParam, lParam);
    // A window that someone subclassed after us kept our procedure in its
    // chain when its object went; forget it with the window.
    if (msg == WM_NCDESTROY) {
      if (auto it = Ties().find(hwnd); it != Ties().end()) EraseTie(it);
      ForgetMdiWindow(hwnd);
    }
    return result;
  }
  TMessage message{hwnd, msg, wParam, lParam};
  try {
    control->Dispatch(message);
  } catch (const std::exception& e) {
    Application().HandleException(control, e);
    message.Result = 0;
  } catch (...) {
    Application().HandleException(control, std::runtime_error("Unknown error"));
    message.Result = 0;
  }
  if (msg == WM_NCDESTROY) {
    control->WindowGone(hwnd);
    ForgetMdiWindow(hwnd);
  }
  return message.Result;
}

void TWinControl::Dispatch(TMessage& Message) {
  if (!hooks_.empty()) {
    // A hook may remove itself (or others) while it runs.
    auto hooks = hooks_;
    for (auto& [key, hook] : hooks)
      if (hook(Message)) return;
  }
  WndProc(Message);
}

void TWinControl::AddMessageHook(const void* key, TMessageHook hook) {
  RemoveMessageHook(key);
  hooks_.emplace_back(key, std::move(hook));
}

void TWinControl::RemoveMessageHook(const void* key) {
  hooks_.erase(std::remove_if(hooks_.begin(), hooks_.end(), [&](const auto& h) { return h.first == key; }),
               hooks_.end());
}

void TWinControl::DefaultHandler(TMessage& Message) {
  Message.Result = CallDefault(Message.Window, Message.Msg, Message.WParam, Message.LParam);
}

// ---- TWinControl: decoding ----

void TWinControl::WndProc(TMessage& Message) {
  const bool own = Message.Window == handle_;
  const bool systemClass = PreviousProc(Message.Window) != nullptr;
  switch (Message.Msg) {
    case WM_PAINT:
      if (systemClass) break;
      {
        TPaintScope paint(Message.Window);
        PaintWindow(paint.Get());
      }
      return;
    case WM_PRINTCLIENT:
      if (systemClass) break;
      PaintWindow(reinterpret_cast<HDC>(Message.WParam));
      return;
    case WM_ERASEBKGND:
      if (own && EraseBackground(reinterpret_cast<HDC>(Message.WParam))) {
        Message.Result = 1;
        return;
      }
      break;
    case WM_SIZE:
      if (!own) break;
      DefaultHandler(Message);
      ReadBoundsFromWindow();
      Realign();
      Resize();
      return;
    case WM_MOVE:
      if (own) ReadBoundsFromWindow();
      break;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      if (deliveredKey_.hwnd == Message.Window && deliveredKey_.message == Message.Msg &&
          deliveredKey_.wParam == Message.WParam && deliveredKey_.lParam == Message.LParam) {
        deliveredKey_ = {};
        break;
      }
      if (DeliverKey(Message.Msg, Message.WParam, false)) return;
      break;
    case WM_KEYUP:
    case WM_SYSKEYUP:
    case WM_CHAR:
      if (DeliverKey(Message.Msg, Message.WParam, UnicodeTie(Message.Window))) return;
      break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
    case WM_MOUSEMOVE:
      if (!own) break;
      DecodeMouse(Message);
      return;
    case WM_MOUSEWHEEL: {
      if (!own) break;
      POINT p = {GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)};
      ScreenToClient(Message.Window, &p);
      if (MouseWheel(MouseShiftState(GET_KEYSTATE_WPARAM(Message.WParam)), GET_WHEEL_DELTA_WPARAM(Message.WParam),
                     {p.x, p.y}))
        return;
      break;
    }
    case WM_SETFOCUS:
      TForm::NoteFocus(Message.Window);
      DefaultHandler(Message);
      DoEnter();
      return;
    case WM_KILLFOCUS:
      DefaultHandler(Message);
      DoExit();
      return;
    case WM_TIMER:
      if (own) Timer(static_cast<int>(Message.WParam));
      break;
    case WM_COMMAND:
      if (Message.LParam != 0) {
        TWinControl* child = FromHandle(reinterpret_cast<HWND>(Message.LParam));
        if (child != nullptr && child != this) {
          child->ControlCommand(HIWORD(Message.WParam));
          return;
        }
      } else if (MenuCommand(LOWORD(Message.WParam))) {
        return;
      }
      break;
    case WM_NOTIFY: {
      auto* header = reinterpret_cast<NMHDR*>(Message.LParam);
      TWinControl* child = FromHandle(header->hwndFrom);
      if (child != nullptr && child != this && child->Notify(*header, Message.Result)) return;
      break;
    }
    case WM_HSCROLL:
    case WM_VSCROLL:
      if (Message.LParam != 0) {
        TWinControl* child = FromHandle(reinterpret_cast<HWND>(Message.LParam));
        if (child != nullptr && child != this) {
          child->ControlScroll(LOWORD(Message.WParam), static_cast<short>(HIWORD(Message.WParam)));
          return;
        }
      }
      break;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSCROLLBAR: {
      TWinControl* child = FromHandle(reinterpret_cast<HWND>(Message.LParam));
      if (child != nullptr && child != this) {
        if (HBRUSH brush = child->ControlColor(reinterpret_cast<HDC>(Message.WParam))) {
          Message.Result = reinterpret_cast<LRESULT>(brush);
          return;
        }
      }
      break;
    }
    case WM_SETCURSOR:
      if (own && cursor_ != crDefault && LOWORD(Message.LParam) == HTCLIENT &&
          reinterpret_cast<HWND>(Message.WParam) == handle_) {
        ::SetCursor(CursorHandle(cursor_));
        Message.Result = TRUE;
        return;
      }
      break;
    case WM_GETDLGCODE:
      if (!own) break;
      Message.Result = DialogCode(Message);
      return;
    case WM_CLOSE:
      if (!own) break;
      CloseRequested();
      return;
    case WM_DESTROY:
      if (own) WindowDestroying();
      break;
    default:
      break;
  }
  DefaultHandler(Message);
}

bool TWinControl::DeliverKey(UINT msg, WPARAM& wParam, bool wide) {
  if (msg == WM_CHAR) {
    // The handler sees an ANSI character; a Unicode window's character goes
    // on whole unless the handler changed it.
    const char given = wide ? AnsiCharOf(wParam) : static_cast<char>(wParam);
    char key = given;
    KeyPress(key);
    if (key == 0) return true;
    if (!wide) wParam = static_cast<unsigned char>(key);
    else if (key != given) wParam = WideCharOf(key);
    return false;
  }
  int key = static_cast<int>(wParam);
  if (msg == WM_KEYDOWN || msg == WM_SYSKEYDOWN)
    KeyDown(key, KeyboardShiftState());
  else if (msg == WM_KEYUP || msg == WM_SYSKEYUP)
    KeyUp(key, KeyboardShiftState());
  else
    return false;
  wParam = static_cast<WPARAM>(key);
  return key == 0;
}

bool TakeMessage(MSG& msg, bool& wide) {
  wide = false;
  if (gUnicodeTies == 0) return PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE) != FALSE;
  // Looked at first, then taken in the form its window takes: a character
  // taken in the ANSI form would have lost what the code page lacks.
  if (!PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) return false;
  const HWND hwnd = msg.hwnd;
  const UINT message = msg.message;
  wide = hwnd != nullptr && IsWindowUnicode(hwnd);
  if (hwnd != nullptr && message != WM_NULL) {
    const BOOL taken = wide ? PeekMessageW(&msg, hwnd, message, message, PM_REMOVE)
                            : PeekMessageA(&msg, hwnd, message, message, PM_REMOVE);
    if (taken) return true;
  }
  wide = false;
  return PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE) != FALSE;
}

void TWinControl::DecodeMouse(TMessage& Message) {
  const int x = GET_X_LPARAM(Message.LParam);
  const int y = GET_Y_LPARAM(Message.LParam);
  TShiftState shift = MouseShiftState(Message.WParam);
  TMouseButton button = TMouseButton::mbLeft;
  UINT msg = Message.Msg;
  switch (msg) {
    case WM_RBUTTONDOWN: case WM_RBUTTONDBLCLK: case WM_RBUTTONUP: button = TMouseButton::mbRight; break;
    case WM_MBUTTONDOWN: case WM_MBUTTONDBLCLK: case WM_MBUTTONUP: button = TMouseButton::mbMiddle; break;
    default: break;
  }
  const bool dblClick = msg == WM_LBUTTONDBLCLK || msg == WM_RBUTTONDBLCLK || msg == WM_MBUTTONDBLCLK;
  const bool down = dblClick || msg == WM_LBUTTONDOWN || msg == WM_RBUTTONDOWN || msg == WM_MBUTTONDOWN;
  const bool up = msg == WM_LBUTTONUP || msg == WM_RBUTTONUP || msg == WM_MBUTTONUP;
  // The system's handling first: a standard control does its own work (and
  // takes the focus) before the events see the press.
  DefaultHandler(Message);
  // Capture is ours to take only on our own windows: a standard control
  // captures as it needs (a combo box for its dropped list).
  const bool capture = (ControlStyle & csCaptureMouse) && PreviousProc(handle_) == nullptr;
  if (msg == WM_MOUSEMOVE) {
    MouseMove(shift, x, y);
  } else if (down) {
    if (capture && ::GetCapture() != handle_) ::SetCapture(handle_);
    if (dblClick && (ControlStyle & csDoubleClicks)) {
      shift |= ssDouble;
      DblClick();
    }
    MouseDown(button, shift, x, y);
  } else if (up) {
    if (capture && ::GetCapture() == handle_ && (shift & (ssLeft | ssRight | ssMiddle)) == 0)
      ::ReleaseCapture();
    MouseUp(button, shift, x, y);
  }
}

bool TWinControl::EraseBackground(HDC dc) {
  if (PreviousProc(handle_) != nullptr) return false;  // a standard control erases its own
  if ((ControlStyle & csOpaque) == 0) FillBackground(dc);
  return true;
}

void TWinControl::FillBackground(HDC dc) {
  RECT rc;
  GetClientRect(handle_, &rc);
  TOwnedBrush brush(CreateSolidBrush(ColorToRGB(color_) & 0xFFFFFF));
  ::FillRect(dc, &rc, brush.Get());
}

HBRUSH TWinControl::ControlColor(HDC dc) {
  const COLORREF rgb = ColorToRGB(color_) & 0xFFFFFF;
  SetTextColor(dc, ColorToRGB(font_.Color) & 0xFFFFFF);
  SetBkColor(dc, rgb);
  if (!colorBrush_ || colorBrushColor_ != rgb) {
    colorBrush_.Reset(CreateSolidBrush(rgb));
    colorBrushColor_ = rgb;
  }
  return colorBrush_.Get();
}

LRESULT TWinControl::DialogCode(TMessage& Message) {
  DefaultHandler(Message);
  return Message.Result;
}

bool TWinControl::DialogChar(char Key) {
  for (TControl* c : std::vector<TControl*>(controls_))
    if (auto* w = dynamic_cast<TWinControl*>(c); w != nullptr && w->Visible() && w->Enabled() && w->DialogChar(Key))
      return true;
  return false;
}

bool TWinControl::DialogKey(int Key) {
  for (TControl* c : std::vector<TControl*>(controls_))
    if (auto* w = dynamic_cast<TWinControl*>(c); w != nullptr && w->Visible() && w->Enabled() && w->DialogKey(Key))
      return true;
  return false;
}

void TWinControl::CloseRequested() {
  if (parent_ != nullptr) parent_->CloseRequested();
}

// ---- TWinControl: properties ----

TControl* TWinControl::Controls(int index) const {
  if (!CL_CHECK(index >= 0 && index < ControlCount())) return nullptr;
  return controls_[static_cast<size_t>(index)];
}

void TWinControl::SetTabOrder(int position) {
  if (parent_ == nullptr) return;
  std::vector<TControl*>& siblings = parent_->controls_;
  siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
  position = std::clamp(position, 0, static_cast<int>(siblings.size()));
  siblings.insert(siblings.begin() + position, this);
  PlaceInWindowOrder();
}

void TWinControl::PlaceInWindowOrder() {
  if (handle_ == nullptr || parent_ == nullptr) return;
  // Tab follows the window order, which is the order of the parent's
  // controls: the window goes right after that of the nearest control
  // before it. (A window made inside a parent already shown may otherwise
  // land on top of its siblings.)
  const std::vector<TControl*>& siblings = parent_->controls_;
  const auto self = std::find(siblings.begin(), siblings.end(), this);
  HWND after = HWND_TOP;
  for (auto it = self; it != siblings.begin() && after == HWND_TOP;)
    if (auto* w = dynamic_cast<TWinControl*>(*--it); w != nullptr && w->handle_ != nullptr) after = w->handle_;
  SetWindowPos(handle_, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TWinControl::AddControl(TControl* control) {
  controls_.push_back(control);
  if (handle_ != nullptr) {
    control->ParentWindowCreated();
    Realign();
  }
}

void TWinControl::RemoveControl(TControl* control) {
  controls_.erase(std::remove(controls_.begin(), controls_.end(), control), controls_.end());
  if (!destroying_ && control->Align() != alNone) Realign();
}

void TWinControl::SetParent(TWinControl* AParent) {
  if (AParent == parent_) return;
  // A window cannot leave its parent for none; only a control without a
  // window yet can.
  if (handle_ != nullptr && !CL_CHECK(AParent != nullptr)) return;
  // A window made by joining the parent is in place already; only one that
  // existed before moves (the system puts it on top of its new siblings, so
  // it goes back to its place in Tab order).
  const bool moving = handle_ != nullptr;
  TControl::SetParent(AParent);
  if (moving && AParent != nullptr) {
    HWND newParent = AParent->Handle();
    if (newParent != nullptr) ::SetParent(handle_, newParent);
    PlaceInWindowOrder();
  }
}

std::string TWinControl::Text() const {
  if (handle_ == nullptr) return text_;
  if (UnicodeTie(handle_)) {
    std::wstring wide(static_cast<size_t>(GetWindowTextLengthW(handle_)) + 1, L'\0');
    wide.resize(static_cast<size_t>(std::max(0, GetWindowTextW(handle_, wide.data(), static_cast<int>(wide.size())))));
    return TextFromWide(wide.c_str(), CP_UTF8);
  }
  const int length = GetWindowTextLengthA(handle_);
  std::string text(static_cast<size_t>(length) + 1, '\0');
  const int got = GetWindowTextA(handle_, text.data(), length + 1);
  text.resize(static_cast<size_t>(std::max(0, got)));
  return text;
}

void TWinControl::SetText(const std::string& value) {
  text_ = value;
  if (handle_ != nullptr && UnicodeTie(handle_))
    SetWindowTextW(handle_, WideFromText(value, CP_UTF8).c_str());
  else if (handle_ != nullptr)
    SetWindowTextA(handle_, value.c_str());
}

TRect TWinControl::ClientRect() const {
  if (handle_ == nullptr) return {0, 0, width_, height_};
  RECT rc;
  GetClientRect(handle_, &rc);
  return {rc.left, rc.top, rc.right, rc.bottom};
}

void TWinControl::SetClientSize(int width, int height) {
  HWND hwnd = Handle();
  if (hwnd == nullptr) return;
  RECT client, window;
  GetClientRect(hwnd, &client);
  GetWindowRect(hwnd, &window);
  SetBounds(left_, top_, width + (window.right - window.left) - client.right,
            height + (window.bottom - window.top) - client.bottom);
}

void TWinControl::ReadBoundsFromWindow() {
  if (handle_ == nullptr) return;
  RECT rc;
  GetWindowRect(handle_, &rc);
  if (HWND parent = GetParent(handle_); parent != nullptr && (GetWindowLongA(handle_, GWL_STYLE) & WS_CHILD)) {
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rc), 2);
  }
  left_ = rc.left;
  top_ = rc.top;
  width_ = rc.right - rc.left;
  height_ = rc.bottom - rc.top;
}

void TWinControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  TControl::SetBounds(ALeft, ATop, AWidth, AHeight);
  if (handle_ != nullptr)
    SetWindowPos(handle_, nullptr, left_, top_, width_, height_, SWP_NOZORDER | SWP_NOACTIVATE);
  if (align_ != alNone && parent_ != nullptr) parent_->Realign();
}

void TWinControl::SetVisible(bool value) {
  const bool changed = value != visible_;
  TControl::SetVisible(value);
  if (handle_ != nullptr) ShowWindow(handle_, value ? SW_SHOW : SW_HIDE);
  if (changed && align_ != alNone && parent_ != nullptr) parent_->Realign();
}

void TWinControl::SetEnabled(bool value) {
  TControl::SetEnabled(value);
  if (handle_ != nullptr) EnableWindow(handle_, value);
}

void TWinControl::SetColor(TColor value) {
  if (value == color_) return;
  TControl::SetColor(value);
  Invalidate();
}

void TWinControl::SetFont(const TFont& value) {
  if (value == font_) return;
  TControl::SetFont(value);
  ApplyFont();
  Invalidate();
}

void TWinControl::ApplyFont() {
  if (handle_ == nullptr) return;
  HFONT font = CreateFontA(font_.Height, 0, font_.Escapement, font_.Escapement, font_.Bold() ? FW_BOLD : FW_NORMAL,
                           (font_.Style & fsItalic) != 0, (font_.Style & fsUnderline) != 0,
                           (font_.Style & fsStrikeOut) != 0, static_cast<BYTE>(font_.CharSet), OUT_DEFAULT_PRECIS,
                           CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, font_.Name.c_str());
  SendMessageA(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  // The window no longer uses the previous font once it has the new one.
  fontHandle_.Reset(font);
}

void TWinControl::SetMouseCursor(TCursor cursor) {
  cursor_ = cursor;
  if (handle_ == nullptr) return;
  // Under the mouse now: the new shape shows without waiting for a move.
  POINT p;
  if (GetCursorPos(&p) && WindowFromPoint(p) == handle_)
    ::SetCursor(cursor_ == crDefault ? LoadCursor(nullptr, IDC_ARROW) : CursorHandle(cursor_));
}

void TWinControl::SetTabStop(bool value) {
  tabStop_ = value;
  if (handle_ == nullptr) return;
  LONG style = GetWindowLongA(handle_, GWL_STYLE);
  SetWindowLongA(handle_, GWL_STYLE, value ? (style | WS_TABSTOP) : (style & ~WS_TABSTOP));
}

void TWinControl::SetFocus() {
  if (HWND hwnd = Handle()) ::SetFocus(hwnd);
}

bool TWinControl::Focused() const { return handle_ != nullptr && GetFocus() == handle_; }

bool TWinControl::CanFocus() const {
  return handle_ != nullptr && IsWindowVisible(handle_) && IsWindowEnabled(handle_);
}

void TWinControl::Invalidate() {
  if (handle_ != nullptr) InvalidateRect(handle_, nullptr, (ControlStyle & csOpaque) == 0);
}

void TWinControl::Update() {
  if (handle_ != nullptr) UpdateWindow(handle_);
}

void TWinControl::Repaint() {
  Invalidate();
  Update();
}

void TWinControl::Realign() {
  if (handle_ == nullptr || aligning_ || destroying_) return;
  aligning_ = true;
  TRect r = AlignRect();
  for (TAlign pass : {alTop, alBottom, alLeft, alRight, alClient}) {
    for (TControl* c : controls_) {
      if (c->Align() != pass || !c->Visible()) continue;
      switch (pass) {
        case alTop:
          c->SetBounds(r.Left, r.Top, r.Width(), c->Height());
          r.Top += c->Height();
          break;
        case alBottom:
          c->SetBounds(r.Left, r.Bottom - c->Height(), r.Width(), c->Height());
          r.Bottom -= c->Height();
          break;
        case alLeft:
          c->SetBounds(r.Left, r.Top, c->Width(), r.Height());
          r.Left += c->Width();
          break;
        case alRight:
          c->SetBounds(r.Right - c->Width(), r.Top, c->Width(), r.Height());
          r.Right -= c->Width();
          break;
        default:
          c->SetBounds(r.Left, r.Top, r.Width(), r.Height());
          break;
      }
    }
  }
  aligning_ = false;
}

// ---- TCustomControl ----

TCustomControl::TCustomControl(TComponent* AOwner) : TWinControl(AOwner) {}

void TCustomControl::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  Params.ClassName = "TCustomControl";
}

void TCustomControl::PaintWindow(HDC dc) {
  TGdiCanvas canvas(dc);
  canvas.Font = Font();
  canvas.Brush.Color = Color();
  Paint(canvas);
}

void TCustomControl::Invalidate(const TRect& r) {
  if (handle_ == nullptr) return;
  RECT rc = ToRECT(r);
  InvalidateRect(handle_, &rc, (ControlStyle & csOpaque) == 0);
}

// The host's requests act on the window when it exists; before it is made
// there is nothing to draw on, time or capture, and its first paint shows the
// model as it is then.
void TCustomControl::DrawNow(const std::function<void(TCanvas&)>& draw) {
  HWND hwnd = handle_;
  if (hwnd == nullptr || !draw) return;
  TWindowDCLease dc(hwnd);
  if (dc.Get() == nullptr) return;
  TGdiCanvas canvas(dc.Get());
  canvas.Font = Font();
  canvas.Brush.Color = Color();
  draw(canvas);
}

void TCustomControl::Beep(unsigned type) { MessageBeep(type); }

void TCustomControl::StartTimer(int id, unsigned intervalMs) {
  if (handle_ != nullptr) ::SetTimer(handle_, static_cast<UINT_PTR>(id), intervalMs, nullptr);
}

void TCustomControl::StopTimer(int id) {
  if (handle_ != nullptr) ::KillTimer(handle_, static_cast<UINT_PTR>(id));
}

void TCustomControl::SetCapture() {
  if (handle_ != nullptr) ::SetCapture(handle_);
}

void TCustomControl::ReleaseCapture() {
  if (HasCapture()) ::ReleaseCapture();
}

bool TCustomControl::HasCapture() const { return handle_ != nullptr && ::GetCapture() == handle_; }

TPoint TCustomControl::CursorPos() const {
  POINT p = {};
  ::GetCursorPos(&p);
  if (handle_ != nullptr) ScreenToClient(handle_, &p);
  return {p.x, p.y};
}

void TCustomControl::CreateCaret(int width, int height) {
  if (handle_ != nullptr) ::CreateCaret(handle_, nullptr, width, height);
}

void TCustomControl::SetCaretPos(int x, int y) { ::SetCaretPos(x, y); }
void TCustomControl::ShowCaret() {
  if (handle_ != nullptr) ::ShowCaret(handle_);
}
void TCustomControl::HideCaret() {
  if (handle_ != nullptr) ::HideCaret(handle_);
}
void TCustomControl::DestroyCaret() { ::DestroyCaret(); }

int TCustomControl::ScreenPixelsPerInch() const {
  TWindowDCLease screen(nullptr);
  return GetDeviceCaps(screen.Get(), LOGPIXELSY);
}

}  // namespace classlib
