// TForm: top-level windows, closing, the modal run, and the message loop's
// key handling for forms (key preview, Alt+letter, dialog keys).
#include "classlib/win/Controls.h"

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

#include "classlib/win/Application.h"
#include "classlib/win/Dialogs.h"
#include "classlib/win/Messages.h"
#include "classlib/win/WideText.h"

namespace classlib {

namespace {

// The client area of an MDI frame: the system's MDI client window, filling
// what the frame's aligned bars leave.
class TMdiClient : public TWinControl {
 public:
  explicit TMdiClient(TComponent* AOwner) : TWinControl(AOwner) {}

 protected:
  void CreateParams(TCreateParams& Params) override {
    TWinControl::CreateParams(Params);
    Params.ClassName = "MDICLIENT";
    Params.SystemClass = true;
    Params.Style |= WS_CLIPCHILDREN | WS_VSCROLL | WS_HSCROLL;
    Params.ExStyle = WS_EX_CLIENTEDGE;
    Params.Param = &create_;
  }
  void WindowCreated() override { RegisterMdiFrame(GetParent(handle_), handle_); }

 private:
  CLIENTCREATESTRUCT create_{nullptr, 0xFF00};
};

// The windows under `parent` that Tab stops at, in window order: visible and
// enabled windows with WS_TABSTOP, and those inside visible, enabled
// containers that hold controls (WS_EX_CONTROLPARENT), depth first. A
// container that is a stop itself (a page control's tab strip) comes before
// the controls of its shown page.
// Radio buttons that are siblings are one stop, as in the system's
// dialogs: the checked one, or the first when none is (the arrows move
// within them).
bool IsRadioButton(HWND h) {
  char name[16] = "";
  GetClassNameA(h, name, sizeof name);
  const LONG kind = GetWindowLongA(h, GWL_STYLE) & BS_TYPEMASK;
  return lstrcmpiA(name, "Button") == 0 && (kind == BS_RADIOBUTTON || kind == BS_AUTORADIOBUTTON);
}

void CollectTabStops(HWND parent, std::vector<HWND>& stops) {
  std::size_t radios = std::string::npos;  // where this parent's radio stop is
  for (HWND h = GetWindow(parent, GW_CHILD); h != nullptr; h = GetWindow(h, GW_HWNDNEXT)) {
    const LONG style = GetWindowLongA(h, GWL_STYLE);
    if ((style & WS_VISIBLE) == 0 || (style & WS_DISABLED) != 0) continue;
    if ((style & WS_TABSTOP) && IsRadioButton(h)) {
      if (radios == std::string::npos) {
        radios = stops.size();
        stops.push_back(h);
      } else if (SendMessageA(h, BM_GETCHECK, 0, 0) == BST_CHECKED) {
        stops[radios] = h;
      }
    } else {
      if (style & WS_TABSTOP) stops.push_back(h);
      if (GetWindowLongA(h, GWL_EXSTYLE) & WS_EX_CONTROLPARENT) CollectTabStops(h, stops);
    }
  }
}

// Moves the focus to the next (or previous) tab stop of `form`, round, or
// to the first with `fromStart`; true when there was one to go to. The
// system's walk loses its way in containers nested more than one deep, so
// the form walks its own.
bool TabToNext(HWND form, bool back, bool fromStart = false) {
  std::vector<HWND> stops;
  CollectTabStops(form, stops);
  if (stops.empty()) return false;
  // The stop that holds the focus: the focused window or one it lies in (the
  // edit inside a combo box).
  const HWND focus = fromStart ? form : GetFocus();
  auto at = stops.end();
  for (HWND h = focus; h != nullptr && h != form && at == stops.end(); h = GetParent(h)) {
    at = std::find(stops.begin(), stops.end(), h);
    // A radio button that is not its group's stop stands for the group.
    if (at == stops.end() && IsRadioButton(h))
      at = std::find_if(stops.begin(), stops.end(),
                        [h](HWND s) { return GetParent(s) == GetParent(h) && IsRadioButton(s); });
  }
  const auto count = static_cast<std::ptrdiff_t>(stops.size());
  std::ptrdiff_t next = 0;
  if (at != stops.end())
    next = ((at - stops.begin()) + (back ? count - 1 : 1)) % count;
  else if (back)
    next = count - 1;
  ::SetFocus(stops[static_cast<std::size_t>(next)]);
  return true;
}

}  // namespace

bool FocusFirstTabStop(HWND container) {
  if (container == nullptr || !TabToNext(container, false, true)) return false;
  SelectEnteredText(GetFocus());
  return true;
}

bool FocusNextTabStop(HWND container, bool back) {
  if (container == nullptr || !TabToNext(container, back)) return false;
  SelectEnteredText(GetFocus());
  return true;
}

TDisabledWindows::TDisabledWindows(HWND keep) : keep_(keep) {
  EnumThreadWindows(GetCurrentThreadId(), Disable, reinterpret_cast<LPARAM>(this));
}

void TDisabledWindows::Restore() {
  for (HWND hwnd : disabled_)
    if (IsWindow(hwnd)) EnableWindow(hwnd, TRUE);
  disabled_.clear();
}

BOOL CALLBACK TDisabledWindows::Disable(HWND hwnd, LPARAM self) {
  auto* me = reinterpret_cast<TDisabledWindows*>(self);
  if (hwnd != me->keep_ && IsWindowVisible(hwnd) && IsWindowEnabled(hwnd)) {
    EnableWindow(hwnd, FALSE);
    me->disabled_.push_back(hwnd);
  }
  return TRUE;
}

TForm::TForm(TComponent* AOwner, const std::string& caption) : TWinControl(AOwner) {
  visible_ = false;
  width_ = 640;
  height_ = 480;
  SetText(caption);
}

TForm::~TForm() = default;

void TForm::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  Params.ClassName = "TForm";
  Params.Style &= ~(WS_CHILD | WS_VISIBLE | WS_TABSTOP);
  // Tab and the dialog keys move into the controls of panels and boxes.
  Params.ExStyle = WS_EX_CONTROLPARENT;
  switch (BorderStyle) {
    case TFormBorderStyle::bsNone:
      Params.Style |= WS_POPUP;
      break;
    case TFormBorderStyle::bsSingle:
      Params.Style |= WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
      break;
    case TFormBorderStyle::bsSizeable:
      Params.Style |= WS_OVERLAPPEDWINDOW;
      break;
    case TFormBorderStyle::bsDialog:
      Params.Style |= WS_POPUP | WS_CAPTION | WS_SYSMENU;
      Params.ExStyle |= WS_EX_DLGMODALFRAME;
      break;
    case TFormBorderStyle::bsToolWindow:
      Params.Style |= WS_POPUP | WS_CAPTION | WS_SYSMENU;
      Params.ExStyle |= WS_EX_TOOLWINDOW;
      break;
  }
  // A dialog (a pop-up: dialog, tool-window or no border) is owned by the
  // window it belongs to, so that it stays in front of it whatever brings
  // that window forward: the window of the form (or control) that owns it, or
  // for one made on the spot the window the program had active. Frames keep
  // no owner.
  if (FormStyle == TFormStyle::fsNormal && (Params.Style & WS_POPUP) != 0) Params.WndParent = OwnerWindow();
  if (FormStyle == TFormStyle::fsMDIForm && mdiClient_ == nullptr) {
    // Made with the frame's window, as its child.
    mdiClient_ = new TMdiClient(this);
    mdiClient_->SetAlign(alClient);
    mdiClient_->SetParent(this);
  }
  if (FormStyle == TFormStyle::fsMDIChild) {
    TForm* frame = MDIFrame();
    Params.Style |= WS_CLIPSIBLINGS;
    Params.ExStyle |= WS_EX_MDICHILD;
    Params.WndParent = frame != nullptr ? frame->ClientHandle() : nullptr;
    Params.X = Params.Y = Params.Width = Params.Height = CW_USEDEFAULT;
    if (Position == TPosition::poDesigned) {
      Params.X = left_;
      Params.Y = top_;
      Params.Width = width_;
      Params.Height = height_;
    }
    return;
  }
  if (Position == TPosition::poDefault && (Params.Style & WS_POPUP) == 0) {
    Params.X = CW_USEDEFAULT;
    Params.Y = CW_USEDEFAULT;
  } else if (Position == TPosition::poScreenCenter || Position == TPosition::poDefault) {
    RECT work = {0, 0, 800, 600};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    Params.X = work.left + (work.right - work.left - width_) / 2;
    Params.Y = work.top + (work.bottom - work.top - height_) / 2;
  }
}

HWND TForm::OwnerWindow() const {
  for (TComponent* c = Owner(); c != nullptr; c = c->Owner())
    if (auto* control = dynamic_cast<TWinControl*>(c); control != nullptr && control->HandleAllocated())
      return GetAncestor(control->handle_, GA_ROOT);
  return ModalOwner();
}

void TForm::WindowCreated() { Fire(OnCreate, this); }

void TForm::SetVisible(bool value) {
  if (value && Handle() == nullptr) return;
  TWinControl::SetVisible(value);
  if (!value || handle_ == nullptr) return;
  if (TForm* frame = FormStyle == TFormStyle::fsMDIChild ? MDIFrame() : nullptr)
    frame->MDIActivate(this);
  else
    SetForegroundWindow(handle_);
}

HWND TForm::ClientHandle() const { return mdiClient_ != nullptr ? mdiClient_->Handle() : nullptr; }

TForm* TForm::ActiveMDIChild() const {
  HWND client = ClientHandle();
  if (client == nullptr) return nullptr;
  auto active = reinterpret_cast<HWND>(SendMessageA(client, WM_MDIGETACTIVE, 0, 0));
  return dynamic_cast<TForm*>(FromHandle(active));
}

void TForm::MDIActivate(TForm* child) {
  HWND client = ClientHandle();
  if (client != nullptr && child != nullptr && child->HandleAllocated())
    SendMessageA(client, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(child->handle_), 0);
}

void TForm::MDINext() {
  if (HWND client = ClientHandle()) SendMessageA(client, WM_MDINEXT, 0, 0);
}

TForm* TForm::MDIFrame() const {
  if (FormStyle != TFormStyle::fsMDIChild) return nullptr;
  for (TComponent* c = Owner(); c != nullptr; c = c->Owner())
    if (auto* form = dynamic_cast<TForm*>(c); form != nullptr && form->FormStyle == TFormStyle::fsMDIForm) return form;
  return nullptr;
}

void TForm::WndProc(TMessage& Message) {
  if (Message.Window == handle_) {
    switch (Message.Msg) {
      case WM_SHOWWINDOW:
        visible_ = Message.WParam != 0;
        // A dialog shown again opens on its first control, not where the
        // keyboard was when it went.
        if (visible_ && FormStyle == TFormStyle::fsNormal) lastFocus_ = nullptr;
        DefaultHandler(Message);
        if (visible_)
          Fire(OnShow, this);
        else
          Fire(OnHide, this);
        return;
      case WM_ACTIVATE:
        // The default handling focuses the form itself; the control that
        // had the keyboard before the form lost it gets it back.
        DefaultHandler(Message);
        if (LOWORD(Message.WParam) != WA_INACTIVE) {
          if (!HIWORD(Message.WParam)) RestoreFocus();
          Fire(OnActivate, this);
        } else {
          Fire(OnDeactivate, this);
        }
        return;
      case WM_SETFOCUS:
        // An MDI child activated from the keyboard (Ctrl+F6) or given the
        // focus back by its frame passes it to its control.
        TWinControl::WndProc(Message);
        if (FormStyle == TFormStyle::fsMDIChild) RestoreFocus();
        return;
      case kReleaseMessage:
        // Nothing of this object is touched after it is freed.
        delete this;
        return;
      case WM_MDIACTIVATE:
        DefaultHandler(Message);
        if (reinterpret_cast<HWND>(Message.LParam) == handle_)
          Fire(OnActivate, this);
        else if (reinterpret_cast<HWND>(Message.WParam) == handle_)
          Fire(OnDeactivate, this);
        return;
      default:
        break;
    }
  }
  TWinControl::WndProc(Message);
}

void TForm::NoteFocus(HWND focused) {
  // A form that gets the focus itself hands it on; its control is noted then.
  if (dynamic_cast<TForm*>(FromHandle(focused)) != nullptr) return;
  for (HWND h = focused; h != nullptr && h != GetDesktopWindow(); h = GetAncestor(h, GA_PARENT))
    if (auto* form = dynamic_cast<TForm*>(FromHandle(h)); form != nullptr && h != focused) form->lastFocus_ = focused;
}

bool TForm::RestoreFocus() {
  if (handle_ == nullptr) return false;
  HWND last = lastFocus_;
  if (last == nullptr || !IsWindow(last) || !IsChild(handle_, last) || !IsWindowVisible(last) ||
      !IsWindowEnabled(last)) {
    // A dialog shown for the first time: its first control in tab order, as
    // the system's dialogs do. A frame's controls wait for a click or Tab.
    if (FormStyle != TFormStyle::fsNormal || GetFocus() != handle_) return false;
    return FocusFirstTabStop(handle_);
  }
  if (GetFocus() != last) ::SetFocus(last);
  return GetFocus() == last;
}

bool TForm::FocusFirstControl() {
  return handle_ != nullptr && TabToNext(handle_, false, true);
}

bool TForm::MenuCommand(int Id) {
  if (Id != IDOK && Id != IDCANCEL) return false;
  return ButtonKey(Id == IDOK ? VK_RETURN : VK_ESCAPE);
}

bool TForm::ButtonKey(int Key) {
  // A focused button takes Enter before the form's default button.
  if (TWinControl* focused = FromHandle(GetFocus()); focused != nullptr && focused != this && focused->DialogKey(Key))
    return true;
  return DialogKey(Key);
}

bool TForm::CloseQuery() {
  bool canClose = true;
  Fire(OnCloseQuery, this, canClose);
  return canClose;
}

void TForm::Close() {
  if (modal_) {
    modalResult_ = mrCancel;
    return;
  }
  if (!CloseQuery()) return;
  TCloseAction action = caHide;
  Fire(OnClose, this, action);
  switch (action) {
    case caHide:
      Hide();
      break;
    case caMinimize:
      if (handle_ != nullptr) ShowWindow(handle_, SW_MINIMIZE);
      break;
    case caFree:
      Release();
      break;
    case caNone:
      break;
  }
}

void TForm::Release() {
  if (handle_ != nullptr)
    PostMessageA(handle_, kReleaseMessage, 0, 0);
  else
    delete this;
}

int TForm::ShowModal() {
  if (!CL_CHECK(!modal_ && !Visible())) return mrCancel;
  HWND hwnd = Handle();
  if (hwnd == nullptr) return mrCancel;
  HWND previousActive = GetActiveWindow();
  TDisabledWindows disabled(hwnd);
  struct TModalScope {
    bool& modal;
    ~TModalScope() { modal = false; }
  } scope{modal_};
  modal_ = true;
  modalResult_ = mrNone;
  Show();
  TCloseAction action = caHide;
  for (;;) {
    if (Application().Terminated()) {
      modalResult_ = mrCancel;
      break;
    }
    // Checked before waiting: a handler may have set it already (OnShow).
    if (modalResult_ != mrNone) {
      action = caHide;
      if (CloseQuery())
        Fire(OnClose, this, action);
      else
        action = caNone;
      if (action != caNone) break;
      modalResult_ = mrNone;
    }
    Application().HandleMessage();
  }
  const int result = modalResult_;
  // The other windows come back before this one goes, so that the one that
  // was active becomes active again.
  disabled.Restore();
  Hide();
  if (previousActive != nullptr && IsWindow(previousActive)) SetActiveWindow(previousActive);
  if (action == caFree) Release();
  return result;
}

namespace {

// The dialog-code bits with which a control claims a dialog key; 0 for a key
// the dialog manager has no use for.
LRESULT DialogKeyMask(WPARAM key) {
  switch (key) {
    case VK_TAB:
      return DLGC_WANTTAB | DLGC_WANTALLKEYS;
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN:
      return DLGC_WANTARROWS | DLGC_WANTALLKEYS;
    case VK_RETURN:
    case VK_ESCAPE:
      return DLGC_WANTALLKEYS;
    default:
      return 0;
  }
}

// Runs a key handler from the message loop, which is an edge no exception
// may cross as much as a window procedure is: a failure is reported and the
// key goes no further.
template <class Handler>
bool Guarded(TObject* sender, Handler handler) {
  try {
    return handler();
  } catch (const std::exception& e) {
    Application().HandleException(sender, e);
  } catch (...) {
    Application().HandleException(sender, std::runtime_error("Unknown error"));
  }
  return true;
}

// The dialog manager's handling of a message, in the form it was taken in.
bool DialogMessage(HWND dialog, MSG& msg, bool wide) {
  return (wide ? IsDialogMessageW(dialog, &msg) : IsDialogMessageA(dialog, &msg)) != FALSE;
}

}  // namespace

void SelectEnteredText(HWND focused) {
  if (focused == nullptr) return;
  if (SendMessageA(focused, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) SendMessageA(focused, EM_SETSEL, 0, -1);
}

bool PreTranslateMessage(MSG& msg, bool wide) {
  TWinControl::deliveredKey_ = {};
  if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST) return false;
  if (TranslateMdiKeys(msg)) return true;
  // The nearest window of ours: a part of a standard control (the list of a
  // combo box) counts as its control.
  TWinControl* target = nullptr;
  for (HWND h = msg.hwnd; h != nullptr && target == nullptr; h = GetParent(h)) target = TWinControl::FromHandle(h);
  if (target == nullptr) return false;
  TForm* form = target->GetParentForm();
  if (form == nullptr || !form->HandleAllocated()) return false;
  TWinControl& formControl = *form;
  if (form->KeyPreview && target != form &&
      Guarded(form, [&] { return formControl.DeliverKey(msg.message, msg.wParam, wide); }))
    return true;
  if (msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN) {
    // The focused control hears a key before the dialog manager does, so that
    // its OnKeyDown sees Enter, Escape and Tab too; the window procedure then
    // passes the key on without running the handler again.
    if (TWinControl* own = TWinControl::FromHandle(msg.hwnd)) {
      if (Guarded(own, [&] { return own->DeliverKey(msg.message, msg.wParam, wide); })) return true;
      TWinControl::deliveredKey_ = msg;
    }
    // Dialog keys the control does not claim: Tab and the arrows go to the
    // dialog manager, which moves the focus; Enter and Escape go to the
    // default and cancel buttons, and on to the control when the form has
    // none. Other keys go their usual way.
    const LRESULT mask = msg.message == WM_KEYDOWN ? DialogKeyMask(msg.wParam) : 0;
    if (mask == 0) return false;
    if (SendMessageA(msg.hwnd, WM_GETDLGCODE, msg.wParam, reinterpret_cast<LPARAM>(&msg)) & mask) return false;
    if (msg.wParam == VK_RETURN || msg.wParam == VK_ESCAPE)
      return Guarded(form, [&] { return form->ButtonKey(static_cast<int>(msg.wParam)); });
    // Tab (not with Ctrl or Alt, which are the form's own) walks the form's
    // tab stops and selects a field's text as the system's dialogs do.
    if (msg.wParam == VK_TAB) {
      const TShiftState shift = KeyboardShiftState();
      if ((shift & (ssCtrl | ssAlt)) != 0) return false;
      return FocusNextTabStop(form->Handle(), (shift & ssShift) != 0);
    }
    return DialogMessage(form->Handle(), msg, wide);
  }
  if (msg.message == WM_SYSCHAR) {
    const char typed = wide ? AnsiCharOf(msg.wParam) : static_cast<char>(msg.wParam);
    if (Guarded(form, [&] { return formControl.DialogChar(typed); })) return true;
  }
  // A character typed without Alt is text for the focused control, never a
  // control's letter: a letter typed while a button has the keyboard presses
  // nothing.
  if (msg.message == WM_CHAR) return false;
  // Mnemonics for characters the control does not want; what the dialog
  // manager does not use it translates and dispatches itself.
  return DialogMessage(form->Handle(), msg, wide);
}

}  // namespace classlib
