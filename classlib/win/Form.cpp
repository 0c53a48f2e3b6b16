// TForm: top-level windows, closing, the modal run, and the message loop's
// key handling for forms (key preview, Alt+letter, dialog keys).
#include "classlib/win/Controls.h"

#include "classlib/win/Application.h"
#include "classlib/win/Messages.h"

namespace classlib {

namespace {

// Disables every visible, enabled top-level window of this thread but one,
// and enables them again when it goes.
class TDisabledWindows {
 public:
  explicit TDisabledWindows(HWND keep) : keep_(keep) {
    EnumThreadWindows(GetCurrentThreadId(), Disable, reinterpret_cast<LPARAM>(this));
  }
  ~TDisabledWindows() { Restore(); }
  TDisabledWindows(const TDisabledWindows&) = delete;
  TDisabledWindows& operator=(const TDisabledWindows&) = delete;
  void Restore() {
    for (HWND hwnd : disabled_)
      if (IsWindow(hwnd)) EnableWindow(hwnd, TRUE);
    disabled_.clear();
  }

 private:
  static BOOL CALLBACK Disable(HWND hwnd, LPARAM self) {
    auto* me = reinterpret_cast<TDisabledWindows*>(self);
    if (hwnd != me->keep_ && IsWindowVisible(hwnd) && IsWindowEnabled(hwnd)) {
      EnableWindow(hwnd, FALSE);
      me->disabled_.push_back(hwnd);
    }
    return TRUE;
  }
  HWND keep_;
  std::vector<HWND> disabled_;
};

}  // namespace

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

void TForm::WindowCreated() { Fire(OnCreate, this); }

void TForm::SetVisible(bool value) {
  if (value && Handle() == nullptr) return;
  TWinControl::SetVisible(value);
  if (value && handle_ != nullptr) SetForegroundWindow(handle_);
}

void TForm::WndProc(TMessage& Message) {
  if (Message.Window == handle_) {
    switch (Message.Msg) {
      case WM_SHOWWINDOW:
        visible_ = Message.WParam != 0;
        DefaultHandler(Message);
        if (visible_)
          Fire(OnShow, this);
        else
          Fire(OnHide, this);
        return;
      case kReleaseMessage:
        // Nothing of this object is touched after it is freed.
        delete this;
        return;
      default:
        break;
    }
  }
  TWinControl::WndProc(Message);
}

bool TForm::MenuCommand(int Id) {
  if (Id != IDOK && Id != IDCANCEL) return false;
  const int key = Id == IDOK ? VK_RETURN : VK_ESCAPE;
  // A focused button takes Enter before the form's default button.
  if (TWinControl* focused = FromHandle(GetFocus()); focused != nullptr && focused != this && focused->DialogKey(key))
    return true;
  return DialogKey(key);
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
    Application().HandleMessage();
    if (modalResult_ == mrNone) continue;
    action = caHide;
    if (CloseQuery()) Fire(OnClose, this, action);
    else action = caNone;
    if (action != caNone) break;
    modalResult_ = mrNone;
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

bool PreTranslateMessage(MSG& msg) {
  if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST) return false;
  // The nearest window of ours: a part of a standard control (the list of a
  // combo box) counts as its control.
  TWinControl* target = nullptr;
  for (HWND h = msg.hwnd; h != nullptr && target == nullptr; h = GetParent(h)) target = TWinControl::FromHandle(h);
  if (target == nullptr) return false;
  TForm* form = target->GetParentForm();
  if (form == nullptr || !form->HandleAllocated()) return false;
  TWinControl& formControl = *form;
  if (form->KeyPreview && target != form && formControl.DeliverKey(msg.message, msg.wParam)) return true;
  if (msg.message == WM_SYSCHAR && formControl.DialogChar(static_cast<char>(msg.wParam))) return true;
  // Tab, the arrows between buttons, Enter, Escape and mnemonics; what the
  // dialog manager does not use it translates and dispatches itself.
  return IsDialogMessageA(form->Handle(), &msg) != FALSE;
}

}  // namespace classlib
