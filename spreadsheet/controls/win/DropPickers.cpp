// The palette control, the pop-ups, their mouse hook and the drop-down
// panels.
#include "spreadsheet/controls/win/DropPickers.h"

#include <algorithm>
#include <array>

#include "classlib/win/GdiCanvas.h"
#include "classlib/win/GdiHandles.h"

namespace corvane {

using namespace classlib;

namespace {

std::array<TPopupMouseHook*, TPopupMouseHook::kSlotCount> gPopupHooks{};

TRect WindowScreenRect(HWND hwnd) {
  RECT r{};
  if (hwnd != nullptr) GetWindowRect(hwnd, &r);
  return {r.left, r.top, r.right, r.bottom};
}

}  // namespace

// ---- Tclrbox ------------------------------------------------------------------

Tclrbox::Tclrbox(TComponent* AOwner) : TKeyedModelWindow(AOwner) {
  ControlStyle &= ~csDoubleClicks;
  SetTabStop(true);
  model_.onclick = [this] { Click(); };
  SetBounds(0, 0, 170, 58);
}

void Tclrbox::CreateParams(TCreateParams& Params) {
  TKeyedModelWindow::CreateParams(Params);
  Params.ClassName = "Tclrbox";
}

void Tclrbox::Paint(TCanvas& Canvas) {
  TKeyedModelWindow::Paint(Canvas);
  if (Focused()) model_.PaintFocus(Canvas);
}

// ---- TPopupMouseHook --------------------------------------------------------------

void TPopupMouseHook::Install(std::vector<TRect> screenRects, std::function<void()> onOutside) {
  // The slot holds one hook: an earlier one of this class goes first.
  if (TPopupMouseHook* earlier = gPopupHooks[slot_]) earlier->Remove();
  rects_ = std::move(screenRects);
  onOutside_ = std::move(onOutside);
  HOOKPROC proc = slot_ == kListSlot ? &Proc<kListSlot> : &Proc<kColourSlot>;
  hook_ = SetWindowsHookExA(WH_MOUSE, proc, nullptr, GetCurrentThreadId());
  if (hook_ != nullptr) gPopupHooks[slot_] = this;
}

void TPopupMouseHook::Remove() {
  if (hook_ == nullptr) return;
  UnhookWindowsHookEx(hook_);
  hook_ = nullptr;
  if (gPopupHooks[slot_] == this) gPopupHooks[slot_] = nullptr;
}

bool TPopupMouseHook::Installed() const { return hook_ != nullptr; }

template <int S>
LRESULT CALLBACK TPopupMouseHook::Proc(int code, WPARAM wParam, LPARAM lParam) {
  if (TPopupMouseHook* hook = gPopupHooks[S]) return hook->Handle(code, wParam, lParam);
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT TPopupMouseHook::Handle(int code, WPARAM wParam, LPARAM lParam) {
  LRESULT result = CallNextHookEx(hook_, code, wParam, lParam);
  if (code != HC_ACTION || (wParam != WM_LBUTTONDOWN && wParam != WM_NCLBUTTONDOWN)) return result;
  const POINT pt = reinterpret_cast<const MOUSEHOOKSTRUCT*>(lParam)->pt;
  for (const TRect& r : rects_)
    if (r.Contains({pt.x, pt.y})) return result;
  // The handler may free this object: take what is needed first.
  std::function<void()> onOutside = std::move(onOutside_);
  Remove();
  if (onOutside) onOutside();
  return result;
}

// ---- The pop-ups ----------------------------------------------------------------

TPickerPopup::TPickerPopup(TComponent* AOwner) : TOwnDrawnControl(AOwner) { SetVisible(false); }

// No owner window: the pop-up lives and dies with its panel's object, never
// with a form's window.
void TPickerPopup::CreateParams(TCreateParams& Params) {
  TOwnDrawnControl::CreateParams(Params);
  Params.ClassName = "TPickerPopup";
  Params.ClassStyle |= CS_SAVEBITS;
  Params.Style = (Params.Style & ~WS_CHILD) | WS_POPUP | WS_BORDER;
  Params.ExStyle |= WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
  Params.WndParent = nullptr;
}

void TPickerPopup::Paint(TCanvas& Canvas) {
  Canvas.Brush = TBrush{clSilver};
  Canvas.FillRect(ClientRect());
}

tmlist::tmlist(TComponent* AOwner) : TPickerPopup(AOwner) {
  list_.SetParent(this);
  list_.SetAlign(alClient);
}

tpopup::tpopup(TComponent* AOwner) : TPickerPopup(AOwner) {
  palette_.SetParent(this);
  palette_.SetAlign(alClient);
}

// ---- TDropPanel -------------------------------------------------------------------

TDropPanel::TDropPanel(TComponent* AOwner, TPickerPopup& popup, TPopupMouseHook::Slot slot)
    : TOwnDrawnControl(AOwner), popup_(popup), hook_(slot) {
  ControlStyle &= ~csDoubleClicks;
}

TDropPanel::~TDropPanel() { hook_.Remove(); }

bool TDropPanel::DroppedDown() const { return popup_.HandleAllocated() && IsWindowVisible(popup_.Handle()); }

TRect TDropPanel::ScreenRect() const { return WindowScreenRect(Handle()); }

void TDropPanel::CloseUp() {
  hook_.Remove();
  if (popup_.Visible()) popup_.Hide();
}

void TDropPanel::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TOwnDrawnControl::MouseDown(Button, Shift, X, Y);
  if (Button != TMouseButton::mbLeft) return;
  pressed_ = true;
  Invalidate();
  if (DroppedDown()) {
    CloseUp();
    return;
  }
  owner_ = GetFocus();
  TRect panel = ScreenRect();
  TRect where = PopupAbove(panel, PopupSize());
  popup_.SetBounds(where.Left, where.Top, where.Width(), where.Height());
  // A window without a parent is made when asked for, not when shown.
  if (popup_.Handle() == nullptr) return;
  popup_.Show();
  Opened();
  hook_.Install(HookRects(where, panel), [this] { CloseUp(); });
}

void TDropPanel::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TOwnDrawnControl::MouseUp(Button, Shift, X, Y);
  if (Button != TMouseButton::mbLeft) return;
  pressed_ = false;
  Invalidate();
}

// The pop-up's area is painted before the events run, without handling other
// messages here: a handler may close the dialog, which must not happen in the
// middle of this one.
void TDropPanel::Chosen() {
  CloseUp();
  if (owner_ != nullptr && IsWindow(owner_)) ::SetFocus(owner_);
  if (HWND root = GetAncestor(Handle(), GA_ROOT)) UpdateWindow(root);
  Click();
  Fire(Onchange, this);
}

// ---- TCbox ------------------------------------------------------------------------

TCbox::TCbox(TComponent* AOwner) : TDropPanel(AOwner, popup_, TPopupMouseHook::kListSlot) {
  TListBox& list = popup_.List();
  list.AddMessageHook(this, [this](TMessage& m) {
    TListBox& list = popup_.List();
    if (m.Msg == WM_MOUSEMOVE) {
      LRESULT hit = SendMessageA(list.Handle(), LB_ITEMFROMPOINT, 0, m.LParam);
      if (HIWORD(hit) == 0 && static_cast<int>(LOWORD(hit)) != list.ItemIndex()) list.SetItemIndex(LOWORD(hit));
    }
    if (m.Msg == WM_LBUTTONUP) {
      // The list captured the mouse at the press; it lets go here, since the
      // release goes no further.
      ::ReleaseCapture();
      LRESULT hit = SendMessageA(list.Handle(), LB_ITEMFROMPOINT, 0, m.LParam);
      if (HIWORD(hit) == 0) Choose(LOWORD(hit));
      return true;
    }
    return false;
  });
  list.OnKeyDown = [this](TObject*, int& key, TShiftState) {
    if (key == VK_RETURN) Choose(popup_.List().ItemIndex());
    if (key == VK_ESCAPE) CloseUp();
    if (key == VK_RETURN || key == VK_ESCAPE) key = 0;
  };
  SetBounds(0, 0, 89, 24);
}

void TCbox::CreateParams(TCreateParams& Params) {
  TDropPanel::CreateParams(Params);
  Params.ClassName = "TCbox";
}

void TCbox::SetItems(const std::vector<std::string>& items) {
  items_ = items;
  if (sorted_)
    std::stable_sort(items_.begin(), items_.end(), [](const std::string& a, const std::string& b) {
      return lstrcmpiA(a.c_str(), b.c_str()) < 0;
    });
  popup_.List().SetItems(items_);
  if (itemIndex_ >= static_cast<int>(items_.size())) itemIndex_ = -1;
}

void TCbox::Setsorted(bool on) {
  if (!SetField(sorted_, on) || !on) return;
  std::string chosen = itemIndex_ >= 0 ? items_[itemIndex_] : std::string();
  bool hadChoice = itemIndex_ >= 0;
  SetItems(items_);
  if (hadChoice) itemIndex_ = static_cast<int>(std::find(items_.begin(), items_.end(), chosen) - items_.begin());
  popup_.List().SetItemIndex(itemIndex_);
}

void TCbox::SetItemindex(int index) {
  if (index < -1 || index >= static_cast<int>(items_.size())) return;
  itemIndex_ = index;
  popup_.List().SetItemIndex(index);
  SetCaption(index >= 0 ? items_[index] : std::string());
}

void TCbox::SetCaption(const std::string& caption) {
  caption_ = caption;
  Invalidate();
}

void TCbox::Paint(TCanvas& Canvas) {
  TRect inside = PaintDropPanel(Canvas, ClientRect(), Color(), pressed_);
  Canvas.Brush.Style = TBrushStyle::bsClear;
  Canvas.Font.Color = clBlack;
  Canvas.TextRect(inside, 8, 4, caption_);
}

TSize TCbox::PopupSize() {
  TListBox& list = popup_.List();
  TFont font = Font();
  list.SetFont(font);
  list.SetColor(clSilver);
  TWindowDCLease screen(nullptr);
  TGdiCanvas canvas(screen.Get());
  canvas.Font = font;
  int widest = 0;
  for (const std::string& item : items_) widest = std::max(widest, canvas.TextWidth(item) + 8);
  int itemHeight = static_cast<int>(SendMessageA(list.Handle(), LB_GETITEMHEIGHT, 0, 0));
  TDropListSize size = DropListSize(static_cast<int>(items_.size()), itemHeight, widest, Width());
  return {size.Width, size.Height};
}

// The list and the panel below it.
std::vector<TRect> TCbox::HookRects(const TRect& popup, const TRect& panel) {
  return {{popup.Left, popup.Top, std::max(popup.Right, panel.Right), panel.Bottom}};
}

void TCbox::Opened() {
  popup_.List().SetItemIndex(itemIndex_);
  popup_.List().SetFocus();
}

void TCbox::Choose(int index) {
  if (index < 0 || index >= static_cast<int>(items_.size())) return;
  itemIndex_ = index;
  SetCaption(items_[index]);
  Chosen();
}

// ---- Tclrcombo ----------------------------------------------------------------------

Tclrcombo::Tclrcombo(TComponent* AOwner) : TDropPanel(AOwner, popup_, TPopupMouseHook::kColourSlot) {
  popup_.Palette().OnClick = [this](TObject*) {
    SetClr(popup_.Palette().value());
    Chosen();
  };
  SetBounds(0, 0, 89, 24);
}

void Tclrcombo::CreateParams(TCreateParams& Params) {
  TDropPanel::CreateParams(Params);
  Params.ClassName = "Tclrcombo";
}

void Tclrcombo::SetClr(TColor c) {
  if (SetField(clr_, c)) Invalidate();
}

void Tclrcombo::SetCaption(const std::string& caption) {
  caption_ = caption;
  Invalidate();
}

void Tclrcombo::Paint(TCanvas& Canvas) {
  Canvas.Font.Color = clBlack;
  PaintColourCombo(Canvas, ClientRect(), clr_, caption_, pressed_);
}

// The palette and the panel placed just below it.
std::vector<TRect> Tclrcombo::HookRects(const TRect& popup, const TRect& panel) {
  return {popup, {popup.Left, popup.Bottom, popup.Left + panel.Width(), popup.Bottom + panel.Height()}};
}

}  // namespace corvane
