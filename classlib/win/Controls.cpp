// Window ownership, the form's window procedure and notification routing.
#include "classlib/win/Controls.h"

namespace classlib {

namespace {
constexpr char kObjectProp[] = "classlib.TWinControl";
constexpr char kFormClass[] = "TForm";
constexpr UINT_PTR kSubclassId = 1;
}  // namespace

TWinControl::~TWinControl() {
  // The derived object is gone already: from here the window's messages,
  // including the notifications of children being freed, get the system's
  // handling only.
  HWND hwnd = handle_;
  if (hwnd != nullptr) {
    RemovePropA(hwnd, kObjectProp);
    RemoveWindowSubclass(hwnd, ControlSubclass, kSubclassId);
  }
  while (ComponentCount() > 0) delete Components(ComponentCount() - 1);
  handle_ = nullptr;
  if (hwnd != nullptr) DestroyWindow(hwnd);
}

TWinControl* TWinControl::FromHandle(HWND hwnd) {
  return hwnd != nullptr ? static_cast<TWinControl*>(GetPropA(hwnd, kObjectProp)) : nullptr;
}

void TWinControl::AttachControl(HWND hwnd) {
  handle_ = hwnd;
  if (hwnd == nullptr) return;
  SetPropA(hwnd, kObjectProp, this);
  SetWindowSubclass(hwnd, ControlSubclass, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
}

LRESULT CALLBACK TWinControl::ControlSubclass(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                              DWORD_PTR data) {
  if (msg == WM_NCDESTROY) {
    auto* self = reinterpret_cast<TWinControl*>(data);
    RemoveWindowSubclass(hwnd, ControlSubclass, id);
    RemovePropA(hwnd, kObjectProp);
    self->handle_ = nullptr;
  } else if (msg == WM_DESTROY) {
    reinterpret_cast<TWinControl*>(data)->WindowDestroying();
  }
  return DefSubclassProc(hwnd, msg, wParam, lParam);
}

TForm::TForm(TComponent* AOwner, const std::string& caption) : TWinControl(AOwner) {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSEXA wc = {sizeof wc};
  if (!GetClassInfoExA(instance, kFormClass, &wc)) {
    wc = {sizeof wc};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kFormClass;
    RegisterClassExA(&wc);
  }
  CreateWindowExA(0, kFormClass, caption.c_str(), WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CW_USEDEFAULT, CW_USEDEFAULT,
                  640, 480, nullptr, nullptr, instance, this);
}

void TForm::Show() { ShowWindow(handle_, SW_SHOW); }
void TForm::Hide() { ShowWindow(handle_, SW_HIDE); }
bool TForm::Visible() const { return IsWindowVisible(handle_) != FALSE; }

LRESULT TForm::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_NOTIFY: {
      auto* header = reinterpret_cast<NMHDR*>(lParam);
      LRESULT result = 0;
      if (TWinControl* child = FromHandle(header->hwndFrom); child != nullptr && child != this)
        if (child->Notify(*header, result)) return result;
      break;
    }
    case WM_CLOSE:
      Hide();
      return 0;
    default:
      break;
  }
  return DefWindowProcA(handle_, msg, wParam, lParam);
}

LRESULT CALLBACK TForm::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCCREATE) {
    auto* form = static_cast<TForm*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
    form->handle_ = hwnd;
    SetPropA(hwnd, kObjectProp, static_cast<TWinControl*>(form));
  }
  auto* form = static_cast<TForm*>(FromHandle(hwnd));
  if (form == nullptr) return DefWindowProcA(hwnd, msg, wParam, lParam);
  if (msg == WM_NCDESTROY) {
    RemovePropA(hwnd, kObjectProp);
    form->handle_ = nullptr;
    return DefWindowProcA(hwnd, msg, wParam, lParam);
  }
  try {
    return form->WndProc(msg, wParam, lParam);
  } catch (...) {
    return DefWindowProcA(hwnd, msg, wParam, lParam);
  }
}

}  // namespace classlib
