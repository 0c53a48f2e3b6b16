// The splitter's drag and look.
#include "analyser/components/win/AdvSplitter.h"

#include <shellapi.h>

#include <algorithm>
#include <cstring>

#include "classlib/win/GdiHandles.h"
#include "classlib/win/MenuHandle.h"

namespace foldwick {

using classlib::TAlign;

TAdvSplitter::TAdvSplitter(classlib::TComponent* AOwner) : classlib::TCustomControl(AOwner) {
  align_ = classlib::alLeft;
  width_ = 4;
}

TSplitSide TAdvSplitter::Side() const {
  switch (Align()) {
    case classlib::alTop: return TSplitSide::Top;
    case classlib::alBottom: return TSplitSide::Bottom;
    case classlib::alRight: return TSplitSide::Right;
    default: return TSplitSide::Left;
  }
}

void TAdvSplitter::SetBeveled(bool value) {
  beveled_ = value;
  Invalidate();
}

void TAdvSplitter::WindowCreated() {
  TCustomControl::WindowCreated();
  const bool across = Side() == TSplitSide::Left || Side() == TSplitSide::Right;
  SetMouseCursor(across ? classlib::crHSplit : classlib::crVSplit);
}

void TAdvSplitter::MouseDown(classlib::TMouseButton Button, classlib::TShiftState Shift, int X, int Y) {
  TCustomControl::MouseDown(Button, Shift, X, Y);
  if (Button != classlib::TMouseButton::mbLeft || Parent() == nullptr) return;
  dragging_ = true;
  resized_ = nullptr;
  const classlib::TPoint probe = SplitterProbe(Side(), BoundsRect());
  for (int i = 0; i < Parent()->ControlCount() && resized_ == nullptr; ++i) {
    classlib::TControl* c = Parent()->Controls(i);
    if (c != this && c->Visible() && c->BoundsRect().Contains(probe)) resized_ = c;
  }
}

void TAdvSplitter::MouseMove(classlib::TShiftState Shift, int X, int Y) {
  TCustomControl::MouseMove(Shift, X, Y);
  if (!dragging_ || resized_ == nullptr || Parent() == nullptr) return;
  // The mouse in the resized control's coordinates (its parent's for the
  // bottom and right sides).
  const TSplitSide side = Side();
  const bool fromParent = side == TSplitSide::Bottom || side == TSplitSide::Right;
  classlib::TPoint p{Left() + X, Top() + Y};
  if (!fromParent) p = {p.x - resized_->Left(), p.y - resized_->Top()};
  const classlib::TRect client = Parent()->ClientRect();
  const bool across = side == TSplitSide::Left || side == TSplitSide::Right;
  const int size = SplitterNewSize(side, p, across ? client.Width() : client.Height(), across ? Width() : Height(), MinSize);
  if (across)
    resized_->SetWidth(size);
  else
    resized_->SetHeight(size);
}

void TAdvSplitter::MouseUp(classlib::TMouseButton Button, classlib::TShiftState Shift, int X, int Y) {
  TCustomControl::MouseUp(Button, Shift, X, Y);
  if (!dragging_) return;
  dragging_ = false;
  resized_ = nullptr;
  classlib::Fire(OnMoved, this);
}

void TAdvSplitter::Paint(classlib::TCanvas& Canvas) {
  const classlib::TRect client = ClientRect();
  Canvas.Brush.Color = Color();
  Canvas.FillRect(client);
  if (!beveled_) return;
  const bool across = Side() == TSplitSide::Left || Side() == TSplitSide::Right;
  classlib::TRect r = across ? client.Inflate(-1, 2) : client.Inflate(2, -1);
  Canvas.Brush.Color = classlib::clBtnHighlight;
  Canvas.FrameRect(r.Offset(1, 1));
  Canvas.Brush.Color = classlib::clBtnShadow;
  Canvas.FrameRect(r.Offset(-1, -1));
}

// ---- TUrlLabel ----

namespace {
// The cursor slot of the link's hand.
constexpr classlib::TCursor kHandCursor = 5;
}  // namespace

TUrlLabel::TUrlLabel(classlib::TComponent* AOwner) : classlib::TLabel(AOwner), menu_(new classlib::TPopupMenu(nullptr)) {
  classlib::RegisterCursor(kHandCursor, LoadCursor(nullptr, IDC_HAND));
  cursor_ = kHandCursor;
  tabStop_ = true;
  font_.Color = classlib::clBlue;
  font_.Style |= classlib::fsUnderline;
  auto* copy = new classlib::TMenuItem(nullptr);
  copy->Caption = "Copy";
  copy->OnClick = [this](classlib::TObject*) { CopyCaption(); };
  menu_->Items()->Add(copy);
}

TUrlLabel::~TUrlLabel() { delete menu_; }

void TUrlLabel::Click() {
  TLabel::Click();
  const std::string target = LinkTarget(URL, Caption());
  if (!target.empty()) ShellExecuteA(GetDesktopWindow(), "open", target.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void TUrlLabel::MouseDown(classlib::TMouseButton Button, classlib::TShiftState Shift, int X, int Y) {
  TLabel::MouseDown(Button, Shift, X, Y);
  if (Button == classlib::TMouseButton::mbLeft) {
    savedColor_ = Font().Color;
    classlib::TFont active = Font();
    active.Color = ActiveColor;
    SetFont(active);
    return;
  }
  if (Button != classlib::TMouseButton::mbRight || handle_ == nullptr) return;
  POINT p = {X, Y};
  ClientToScreen(handle_, &p);
  ShowMenu(p);
}

void TUrlLabel::ShowMenu(POINT at) {
  HMENU menu = classlib::CreatePopupHandle(*menu_->Items());
  const UINT command = TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y, 0, handle_, nullptr);
  DestroyMenu(menu);
  if (classlib::TMenuItem* item = menu_->Items()->Find(static_cast<std::uint16_t>(command))) item->Click();
}

void TUrlLabel::KeyDown(int& Key, classlib::TShiftState Shift) {
  TLabel::KeyDown(Key, Shift);
  if (Key != VK_SPACE) return;
  Key = 0;
  Click();
}

bool TUrlLabel::DialogKey(int Key) {
  // Enter opens the link that has the keyboard, as it presses a focused
  // button.
  if (Key != VK_RETURN || !Focused()) return TLabel::DialogKey(Key);
  Click();
  return true;
}

void TUrlLabel::WndProc(classlib::TMessage& Message) {
  switch (Message.Msg) {
    case WM_PAINT:
      // The system's label draws no focus; the frame goes over its text.
      TLabel::WndProc(Message);
      if (Focused()) DrawFocusFrame();
      return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      TLabel::WndProc(Message);
      Invalidate();
      return;
    case WM_CONTEXTMENU:
      // From the keyboard (Shift+F10, the menu key) the menu opens below the
      // text.
      if (Message.LParam == -1 && handle_ != nullptr) {
        RECT r;
        GetWindowRect(handle_, &r);
        ShowMenu({r.left, r.bottom});
        return;
      }
      break;
    default:
      break;
  }
  TLabel::WndProc(Message);
}

void TUrlLabel::DrawFocusFrame() {
  classlib::TWindowDCLease dc(handle_);
  if (dc.Get() == nullptr) return;
  classlib::TSelectScope font(dc.Get(), reinterpret_cast<HGDIOBJ>(SendMessageA(handle_, WM_GETFONT, 0, 0)));
  const std::string text = Caption();
  SIZE size = {};
  GetTextExtentPoint32A(dc.Get(), text.c_str(), static_cast<int>(text.size()), &size);
  RECT client;
  GetClientRect(handle_, &client);
  RECT frame = {0, 0, std::min<LONG>(size.cx + 2, client.right), std::min<LONG>(size.cy + 1, client.bottom)};
  DrawFocusRect(dc.Get(), &frame);
}

void TUrlLabel::MouseUp(classlib::TMouseButton Button, classlib::TShiftState Shift, int X, int Y) {
  TLabel::MouseUp(Button, Shift, X, Y);
  if (Button != classlib::TMouseButton::mbLeft) return;
  classlib::TFont normal = Font();
  normal.Color = savedColor_;
  SetFont(normal);
}

void TUrlLabel::CopyCaption() {
  const std::string text = Caption();
  if (!OpenClipboard(handle_)) return;
  EmptyClipboard();
  if (HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1)) {
    if (void* p = GlobalLock(block)) {
      std::memcpy(p, text.c_str(), text.size() + 1);
      GlobalUnlock(block);
      if (SetClipboardData(CF_TEXT, block) == nullptr) GlobalFree(block);
    } else {
      GlobalFree(block);
    }
  }
  CloseClipboard();
}

}  // namespace foldwick
