// Windowed controls: TWinControl ties an object to its window, TForm is a
// top-level window that passes child notifications back to the child's
// object, and TWaitCursor shows the hourglass for a scope.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "classlib/Component.h"

namespace classlib {

class TWinControl : public TComponent {
 public:
  explicit TWinControl(TComponent* AOwner) : TComponent(AOwner) {}
  // Frees the owned components first (their windows are children of this
  // one), then the window.
  ~TWinControl() override;

  HWND Handle() const { return handle_; }
  // The object tied to a window of this library, or null.
  static TWinControl* FromHandle(HWND hwnd);

 protected:
  friend class TForm;
  // Ties a window created from a system class (a standard control) to this
  // object and watches for its destruction.
  void AttachControl(HWND hwnd);
  // A WM_NOTIFY from this control, passed on by its parent; true when handled.
  virtual bool Notify(NMHDR& header, LRESULT& result) { return false; }
  // The window is being destroyed (by this object or by its parent).
  virtual void WindowDestroying() {}

  HWND handle_ = nullptr;

 private:
  static LRESULT CALLBACK ControlSubclass(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR data);
};

// A top-level window, hidden until Show. Closing it hides it; the object owns
// the window until it is destroyed.
class TForm : public TWinControl {
 public:
  explicit TForm(TComponent* AOwner, const std::string& caption = "");
  void Show();
  void Hide();
  bool Visible() const;

 protected:
  // The form's messages; the default handling is the system's.
  virtual LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam);

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
};

// Shows the hourglass cursor while it lives and restores the previous one.
class TWaitCursor {
 public:
  TWaitCursor() : previous_(SetCursor(LoadCursor(nullptr, IDC_WAIT))) {}
  ~TWaitCursor() { SetCursor(previous_); }
  TWaitCursor(const TWaitCursor&) = delete;
  TWaitCursor& operator=(const TWaitCursor&) = delete;

 private:
  HCURSOR previous_;
};

}  // namespace classlib
