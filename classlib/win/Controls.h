// The window base of the class library, which every window and control
// inherits:
// - TControl: parent, bounds, alignment, visibility, colour, font and the
//   mouse events;
// - TWinControl: a control with a window. One static window procedure serves
//   every window; the object is tied to its window by a window property, set
//   at WM_NCCREATE for our own window classes (the object is the creation
//   parameter) and right after creation for the system's controls (which are
//   then subclassed). Each message is decoded once into a named virtual
//   handler; WM_COMMAND, WM_NOTIFY, scroll and colour messages go back to the
//   child control that sent them; no exception leaves a window procedure.
// - TCustomControl: the own-drawn control; it hosts a portable model
//   (TControlHost) and paints through Paint(TCanvas&).
// - TForm: a top-level window built in code, shown or run modally.
//
// Windows are created when first needed (Handle(), Show, or a parent's window
// being created), never in constructors, so that creation messages always
// reach a whole object. Set a control's parent after constructing it.
#pragma once

#include "classlib/win/Win32.h"

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "classlib/Assert.h"
#include "classlib/Component.h"
#include "classlib/ControlHost.h"
#include "classlib/Graphics.h"
#include "classlib/win/GdiHandles.h"

namespace classlib {

class TWinControl;
class TForm;

// Where a control places itself in its parent when the parent is laid out:
// along an edge (keeping its height or width) or over what is left.
enum TAlign : std::uint8_t { alNone, alTop, alBottom, alLeft, alRight, alClient };

// How a control behaves: csCaptureMouse captures the mouse from a button
// press to its release (on our own windows; standard controls capture as
// they need); csDoubleClicks delivers double clicks as such (else
// they come as a second press); csOpaque paints the whole client area itself,
// so the background is never erased.
enum TControlStyleBit : std::uint8_t { csCaptureMouse = 1, csDoubleClicks = 2, csOpaque = 4 };
using TControlStyle = std::uint8_t;

using TMouseEvent = std::function<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = std::function<void(TObject* Sender, TShiftState Shift, int X, int Y)>;
// The handler may change Key; 0 means the key has been dealt with.
using TKeyEvent = std::function<void(TObject* Sender, int& Key, TShiftState Shift)>;
using TKeyPressEvent = std::function<void(TObject* Sender, char& Key)>;

// Fires an event when a handler is assigned; an empty event does nothing.
template <class Event, class... Args>
void Fire(const Event& event, Args&&... args) {
  if (event) event(std::forward<Args>(args)...);
}

// One window message as a control sees it. `Window` is the control's own
// window, or a part of a standard control tied to the same object (the edit
// inside a combo box). Handlers set `Result`.
struct TMessage {
  HWND Window;
  UINT Msg;
  WPARAM WParam;
  LPARAM LParam;
  LRESULT Result = 0;
};

// The modifier keys down now, from the thread's keyboard state.
TShiftState KeyboardShiftState();
// The shift state of a mouse message's wParam (with Alt from the keyboard).
TShiftState MouseShiftState(WPARAM wParam);

class TControl : public TComponent {
 public:
  explicit TControl(TComponent* AOwner);
  // Leaves its parent.
  ~TControl() override;

  TWinControl* Parent() const { return parent_; }
  // Puts the control on `AParent` (null takes it off). When the parent's
  // window exists, the control's window is created at once.
  virtual void SetParent(TWinControl* AParent);
  // The form the control is on (a form is its own), or null.
  TForm* GetParentForm() const;

  int Left() const { return left_; }
  int Top() const { return top_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  TRect BoundsRect() const { return {left_, top_, left_ + width_, top_ + height_}; }
  // Position in the parent's client area (a form's on the screen) and outer
  // size; negative sizes count as 0.
  virtual void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);
  void SetLeft(int value) { SetBounds(value, top_, width_, height_); }
  void SetTop(int value) { SetBounds(left_, value, width_, height_); }
  void SetWidth(int value) { SetBounds(left_, top_, value, height_); }
  void SetHeight(int value) { SetBounds(left_, top_, width_, value); }

  TAlign Align() const { return align_; }
  void SetAlign(TAlign value);

  bool Visible() const { return visible_; }
  virtual void SetVisible(bool value);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  bool Enabled() const { return enabled_; }
  virtual void SetEnabled(bool value);

  TColor Color() const { return color_; }
  virtual void SetColor(TColor value);
  const TFont& Font() const { return font_; }
  virtual void SetFont(const TFont& value);

  TControlStyle ControlStyle = csCaptureMouse | csDoubleClicks;

  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TNotifyEvent OnResize;
  TMouseEvent OnMouseDown;
  TMouseMoveEvent OnMouseMove;
  TMouseEvent OnMouseUp;

 protected:
  friend class TWinControl;
  // The handlers of the events above; each fires its event.
  virtual void Click() { Fire(OnClick, this); }
  virtual void DblClick() { Fire(OnDblClick, this); }
  virtual void Resize() { Fire(OnResize, this); }
  virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    Fire(OnMouseDown, this, Button, Shift, X, Y);
  }
  virtual void MouseMove(TShiftState Shift, int X, int Y) { Fire(OnMouseMove, this, Shift, X, Y); }
  virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    Fire(OnMouseUp, this, Button, Shift, X, Y);
  }
  // The parent's window has just been created.
  virtual void ParentWindowCreated() {}

  TWinControl* parent_ = nullptr;
  int left_ = 0;
  int top_ = 0;
  int width_ = 0;
  int height_ = 0;
  TAlign align_ = alNone;
  bool visible_ = true;
  bool enabled_ = true;
  TColor color_ = clBtnFace;
  TFont font_;
};

class TWinControl : public TControl {
 public:
  explicit TWinControl(TComponent* AOwner);
  // Frees the components it owns and the controls on it, then its window.
  ~TWinControl() override;

  // The window, created when first asked for (with its parents' windows and
  // its children's). Null, after a failed check, when the window was
  // destroyed while the object lives, or when a child control has no parent.
  HWND Handle() const;
  bool HandleAllocated() const { return handle_ != nullptr; }
  // The object tied to a window, or null.
  static TWinControl* FromHandle(HWND hwnd);
  // Sends a message to the control's window (0 when it has none).
  LRESULT Perform(UINT msg, WPARAM wParam, LPARAM lParam) const;

  // The controls on this one, in the order they were put there (which is
  // also the tab order).
  int ControlCount() const { return static_cast<int>(controls_.size()); }
  TControl* Controls(int index) const;
  // Moves the control to `position` among its parent's controls, which is
  // its place in the Tab order; a position past the end makes it the last.
  void SetTabOrder(int position);

  // The window text: a form's caption, a button's or label's caption, an
  // edit's text. ANSI, or UTF-8 for a window made Unicode.
  std::string Text() const;
  virtual void SetText(const std::string& value);
  std::string Caption() const { return Text(); }
  void SetCaption(const std::string& value) { SetText(value); }

  // The client area, (0, 0) at its top left.
  TRect ClientRect() const;
  int ClientWidth() const { return ClientRect().Width(); }
  int ClientHeight() const { return ClientRect().Height(); }
  void SetClientSize(int width, int height);

  // The mouse cursor over the client area (crDefault: the class's arrow).
  TCursor MouseCursor() const { return cursor_; }
  void SetMouseCursor(TCursor cursor);

  // The letters (upper case) an own-drawn control answers as Alt+letter, the
  // accelerators of its items; empty for controls whose window text carries
  // their one accelerator (buttons, labels) and for those that take none.
  virtual std::string DialogChars() const { return {}; }

  bool TabStop() const { return tabStop_; }
  void SetTabStop(bool value);
  void SetFocus();
  bool Focused() const;
  bool CanFocus() const;

  // Repainting: Invalidate asks for it, Update paints what is invalid now,
  // Repaint does both.
  void Invalidate();
  void Update();
  void Repaint();
  // Places the aligned children again; done on every size change.
  void Realign();

  TKeyEvent OnKeyDown;
  TKeyEvent OnKeyUp;
  TKeyPressEvent OnKeyPress;
  TNotifyEvent OnEnter;
  TNotifyEvent OnExit;

  // A hook sees each message of this window before the control does; it
  // returns true when it has dealt with the message (setting Result). A
  // component uses it to hear its owner's messages; `key` identifies it for
  // RemoveMessageHook.
  using TMessageHook = std::function<bool(TMessage& Message)>;
  void AddMessageHook(const void* key, TMessageHook hook);
  void RemoveMessageHook(const void* key);

  void SetParent(TWinControl* AParent) override;
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  void SetVisible(bool value) override;
  void SetEnabled(bool value) override;
  void SetColor(TColor value) override;
  void SetFont(const TFont& value) override;

 protected:
  friend class TControl;
  friend class TForm;
  friend bool PreTranslateMessage(MSG& msg, bool wide);

  // What the window is made of. ClassName is either ours (registered on
  // first use with the one window procedure) or, with SystemClass, one of the
  // system's controls, which is subclassed right after creation.
  struct TCreateParams {
    std::string ClassName = "TWinControl";
    bool SystemClass = false;
    UINT ClassStyle = CS_DBLCLKS;
    DWORD Style = 0;
    DWORD ExStyle = 0;
    int X = 0;
    int Y = 0;
    int Width = 0;
    int Height = 0;
    HWND WndParent = nullptr;
    // The creation parameter of a system class that needs one (the MDI
    // client's CLIENTCREATESTRUCT); our own classes get the object.
    void* Param = nullptr;
    // A system class made a Unicode window: its text, Text() and SetText()
    // in UTF-8, holds any script.
    bool Unicode = false;
  };
  virtual void CreateParams(TCreateParams& Params);
  // The window and those of the children exist and are laid out.
  virtual void WindowCreated() {}
  // The window is being destroyed (by this object or with its parent).
  virtual void WindowDestroying() {}
  // Ties another window to this object: the part of a standard control that
  // gets the keys (the edit inside a combo box). Its keys and characters reach
  // KeyDown and KeyPress; all else gets its own default handling.
  void TieChildWindow(HWND part);
  // Creates the window now when it does not exist yet.
  void CreateHandle();
  // Destroys the window and makes it again from CreateParams, for a style
  // that only a new window takes. The object keeps its state; only a control
  // without child controls (their windows would go with this one) can.
  void RecreateWnd();
  // Puts the window in its place among its siblings' windows: right after
  // the window of the control before it in the parent's list.
  void PlaceInWindowOrder();

  // Decodes a message into the handlers below; what they leave goes to
  // DefaultHandler. Override only for messages no handler covers.
  virtual void WndProc(TMessage& Message);
  // The system's handling: the standard control's own procedure, or
  // DefWindowProc for our windows.
  void DefaultHandler(TMessage& Message);

  // Handlers. Unless said otherwise the default handling follows them.
  // Paints our own windows (never a standard control): `dc` is the paint DC.
  virtual void PaintWindow(HDC dc) {}
  // True when the background has been dealt with: ours are filled with Color
  // unless csOpaque is set; standard controls erase their own.
  virtual bool EraseBackground(HDC dc);
  // Fills the client area with Color.
  void FillBackground(HDC dc);
  // Keys and characters fire OnKeyDown, OnKeyUp and OnKeyPress; a key or
  // character set to 0 is not passed on. A key-down reaches KeyDown before
  // the dialog manager sees it, so Tab, Enter, Escape and the arrows do too.
  virtual void KeyDown(int& Key, TShiftState Shift) { Fire(OnKeyDown, this, Key, Shift); }
  virtual void KeyUp(int& Key, TShiftState Shift) { Fire(OnKeyUp, this, Key, Shift); }
  virtual void KeyPress(char& Key) { Fire(OnKeyPress, this, Key); }
  // True when the wheel turn has been used (then it goes no further).
  virtual bool MouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) { return false; }
  // Focus arrived or left (after the default handling).
  virtual void DoEnter() { Fire(OnEnter, this); }
  virtual void DoExit() { Fire(OnExit, this); }
  // A window timer of this window fired.
  virtual void Timer(int Id) {}
  // A WM_COMMAND notification that this control sent its parent.
  virtual void ControlCommand(int NotifyCode) {}
  // A WM_NOTIFY that this control sent its parent; true when handled.
  virtual bool Notify(NMHDR& header, LRESULT& result) { return false; }
  // A WM_HSCROLL or WM_VSCROLL that this scroll bar sent its parent.
  virtual void ControlScroll(int Code, int Position) {}
  // The brush for painting this standard control (WM_CTLCOLOR...), with the
  // text and background colours set on `dc`; null for the system's.
  virtual HBRUSH ControlColor(HDC dc);
  // A command with no control behind it (menu, accelerator, the dialog
  // commands IDOK and IDCANCEL) to this window; true when handled.
  virtual bool MenuCommand(int Id) { return false; }
  // WM_GETDLGCODE: which keys the control wants for itself.
  virtual LRESULT DialogCode(TMessage& Message);
  // Alt+letter pressed on the form: true when a control used it. The default
  // offers it to the children in order.
  virtual bool DialogChar(char Key);
  // Enter or Escape pressed on the form and wanted by no focused control:
  // true when a control used it (a default or cancel button). The default
  // offers it to the children in order.
  virtual bool DialogKey(int Key);
  // The part of the client area that aligned children share (a panel keeps
  // its bevels out of it).
  virtual TRect AlignRect() const { return ClientRect(); }
  // WM_CLOSE. Only forms close; a control passes the request to its parent
  // (an edit posts it on Escape), so that no control is destroyed by it.
  virtual void CloseRequested();

  // True when the window exists. False when it has not been made yet (the
  // caller keeps the value for its creation); a window destroyed while the
  // object lives is a broken invariant and is reported. Thin methods check
  // it before they send their message.
  bool WindowReady() const {
    if (handle_ != nullptr) return true;
    CL_ASSERT(!destroyed_);
    return false;
  }

  HWND handle_ = nullptr;
  bool tabStop_ = false;
  TCursor cursor_ = crDefault;

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  void Tie(HWND hwnd, bool subclass);
  void WindowGone(HWND hwnd);
  void Dispatch(TMessage& Message);
  // Runs the key or character handler for a keyboard message; true when the
  // handler consumed it (set it to 0), else `wParam` carries what it left.
  // `wide`: a character message in the wide form (UTF-16).
  bool DeliverKey(UINT msg, WPARAM& wParam, bool wide);
  void DecodeMouse(TMessage& Message);
  void ApplyFont();
  void AddControl(TControl* control);
  void RemoveControl(TControl* control);
  void ParentWindowCreated() override { CreateHandle(); }
  void ReadBoundsFromWindow();

  // A key-down whose handler the message loop has run already.
  static MSG deliveredKey_;

  std::vector<TControl*> controls_;
  std::vector<HWND> parts_;
  std::vector<std::pair<const void*, TMessageHook>> hooks_;
  std::string text_;
  TOwnedFont fontHandle_;
  TOwnedBrush colorBrush_;
  TColor colorBrushColor_ = clNone;
  bool creating_ = false;
  bool destroyed_ = false;
  bool destroying_ = false;
  bool aligning_ = false;
};

// The own-drawn control. It implements the host its portable model acts
// through, and paints through Paint on a GDI canvas of the paint DC whose
// font and brush colour are the control's.
class TCustomControl : public TWinControl, public TControlHost {
 public:
  explicit TCustomControl(TComponent* AOwner);

  using TWinControl::Invalidate;
  TRect ClientRect() const override { return TWinControl::ClientRect(); }
  void Invalidate(const TRect& r) override;
  void InvalidateAll() override { TWinControl::Invalidate(); }
  void DrawNow(const std::function<void(TCanvas&)>& draw) override;
  void Beep(unsigned type) override;
  void StartTimer(int id, unsigned intervalMs) override;
  void StopTimer(int id) override;
  void SetCapture() override;
  void ReleaseCapture() override;
  bool HasCapture() const override;
  TPoint CursorPos() const override;
  void CreateCaret(int width, int height) override;
  void SetCaretPos(int x, int y) override;
  void ShowCaret() override;
  void HideCaret() override;
  void DestroyCaret() override;
  void SetFocus() override { TWinControl::SetFocus(); }
  bool Focused() const override { return TWinControl::Focused(); }
  void SetMouseCursor(TCursor cursor) override { TWinControl::SetMouseCursor(cursor); }
  int ScreenPixelsPerInch() const override;

 protected:
  void CreateParams(TCreateParams& Params) override;
  // Draws the control; the canvas is valid only during the call.
  virtual void Paint(TCanvas& Canvas) {}
  void PaintWindow(HDC dc) override;
};

enum TCloseAction : std::uint8_t { caNone, caHide, caFree, caMinimize };
using TCloseEvent = std::function<void(TObject* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = std::function<void(TObject* Sender, bool& CanClose)>;

// Modal results; a button's ModalResult may be any other positive number too.
constexpr int mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrRetry = 4, mrIgnore = 5, mrYes = 6, mrNo = 7;

enum class TFormBorderStyle : std::uint8_t { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow };
// fsMDIForm: a frame whose client area holds MDI child windows; fsMDIChild:
// one of them, made in the client area of the nearest owner that is a frame.
enum class TFormStyle : std::uint8_t { fsNormal, fsMDIForm, fsMDIChild };
enum class TPosition : std::uint8_t { poDesigned, poDefault, poScreenCenter };

// A top-level window, hidden until shown. Closing it hides it (OnClose may
// choose otherwise); the object owns the window until it is destroyed.
// Enter and Escape go to the default and cancel buttons, Tab moves the focus.
class TForm : public TWinControl {
 public:
  explicit TForm(TComponent* AOwner, const std::string& caption = "");
  ~TForm() override;

  // Asks to close: OnCloseQuery may refuse, OnClose chooses the action
  // (hide by default). A modal form gets ModalResult mrCancel instead.
  void Close();
  // Shows the form with every other window of the program disabled and
  // handles messages until ModalResult is set (by a button or by closing) and
  // the close is allowed; returns ModalResult. The form is hidden after.
  int ShowModal();
  bool Modal() const { return modal_; }
  int ModalResult() const { return modalResult_; }
  void SetModalResult(int value) { modalResult_ = value; }
  // Frees the form (one made with new) once the messages being handled are
  // done with it.
  void Release();

  TFormBorderStyle BorderStyle = TFormBorderStyle::bsSizeable;
  TPosition Position = TPosition::poDefault;
  // Set before the window is made.
  TFormStyle FormStyle = TFormStyle::fsNormal;
  // The form sees keys before the focused control (OnKeyDown, OnKeyPress,
  // OnKeyUp); a key it sets to 0 goes no further.
  bool KeyPreview = false;

  // Fired once, when the window and those of its controls have been made.
  TNotifyEvent OnCreate;
  TNotifyEvent OnShow;
  TNotifyEvent OnHide;
  TCloseEvent OnClose;
  TCloseQueryEvent OnCloseQuery;
  // The form became the active window (an MDI child: its frame's active
  // child), or stopped being it.
  TNotifyEvent OnActivate;
  TNotifyEvent OnDeactivate;

  // ---- MDI: a frame's children ----------------------------------------------
  // The frame's MDI client window (null for other forms).
  HWND ClientHandle() const;
  // The active child of this frame, or null.
  TForm* ActiveMDIChild() const;
  // Makes `child` the active one, or the next child after the active one.
  void MDIActivate(TForm* child);
  void MDINext();
  // The frame an MDI child lives in (null for other forms).
  TForm* MDIFrame() const;

  void SetVisible(bool value) override;

  // The control of this form that had the keyboard last; the form gives the
  // focus back to it when it is activated again (after a dialog, a message
  // box or another program). Null when none is known.
  HWND LastFocus() const { return lastFocus_; }
  // Notes `focused`, which has just received the focus, in every form it
  // lies in (an MDI child's control counts for its frame as well).
  static void NoteFocus(HWND focused);
  // Gives the focus back to LastFocus when that control is still there and
  // may take it; true when it did.
  bool RestoreFocus();
  // Gives the focus to the form's first control in Tab order (a form whose
  // page changed under the keyboard); false when it has none.
  bool FocusFirstControl();

 protected:
  void CreateParams(TCreateParams& Params) override;
  void WindowCreated() override;
  void WndProc(TMessage& Message) override;
  bool MenuCommand(int Id) override;
  void CloseRequested() override { Close(); }
  // OnCloseQuery's answer (true when it has none).
  virtual bool CloseQuery();

 private:
  friend bool PreTranslateMessage(MSG& msg, bool wide);
  // Enter or Escape for the buttons: the focused control first, then the
  // form's controls in order; true when one used it.
  bool ButtonKey(int Key);
  // The window a dialog form is owned by (see CreateParams); null for none.
  HWND OwnerWindow() const;

  int modalResult_ = mrNone;
  bool modal_ = false;
  HWND lastFocus_ = nullptr;
  TWinControl* mdiClient_ = nullptr;  // a frame's client area, owned by the frame
};

// Makes `cursor` (a positive number) stand for `handle`, a cursor the program
// loaded; the handle stays valid for the program's life.
void RegisterCursor(TCursor cursor, HCURSOR handle);
// The cursor handle of a shape or registered cursor; the arrow when unknown.
HCURSOR CursorHandle(TCursor cursor);

// Takes the next message off the thread's queue into `msg`; false when there
// is none. A message for a Unicode window comes in the wide form (`wide`
// set), so that what is typed into it keeps the characters the ANSI code
// page lacks; every other one in the ANSI form. Dispatch it in the same form.
bool TakeMessage(MSG& msg, bool& wide);

// Runs before a queued message is translated and dispatched: the MDI
// system keys (Ctrl+F4, Ctrl+F6), the form's key preview, Alt+letter for the
// form's controls and the dialog keys. True when the message has been dealt
// with. The application's message loops call it; `wide` as TakeMessage set it.
bool PreTranslateMessage(MSG& msg, bool wide);

// Gives the focus to the first tab stop inside `container` (a form, a page),
// or to the one after (or before) the focused one as Tab (or Shift+Tab)
// would, and selects its text when it is an edit field; false when the
// container has none.
bool FocusFirstTabStop(HWND container);
bool FocusNextTabStop(HWND container, bool back);

// Selects the whole text of `focused` when it is an edit field (one that
// takes EM_SETSEL), so that what is typed next replaces it: what a field
// reached by Tab or by its Alt+letter does. Other windows are left alone.
void SelectEnteredText(HWND focused);

// MDI frames: the frame's client window is registered when it is made, so
// that the frame's default handling is the MDI one; TranslateMdiKeys offers
// a key of a window in a frame's client to its system keys.
void RegisterMdiFrame(HWND frame, HWND client);
bool TranslateMdiKeys(MSG& msg);

// Disables every visible, enabled top-level window of this thread but `keep`
// while it lives (or until Restore), as a modal window or message box needs;
// the windows it disabled are enabled again.
class TDisabledWindows {
 public:
  explicit TDisabledWindows(HWND keep);
  ~TDisabledWindows() { Restore(); }
  TDisabledWindows(const TDisabledWindows&) = delete;
  TDisabledWindows& operator=(const TDisabledWindows&) = delete;
  void Restore();

 private:
  static BOOL CALLBACK Disable(HWND hwnd, LPARAM self);
  HWND keep_;
  std::vector<HWND> disabled_;
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
