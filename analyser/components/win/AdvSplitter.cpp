// The splitter's drag and look.
#include "analyser/components/win/AdvSplitter.h"

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

void TAdvSplitter::WndProc(classlib::TMessage& Message) {
  if (Message.Window == handle_ && Message.Msg == WM_SETCURSOR && LOWORD(Message.LParam) == HTCLIENT) {
    const bool across = Side() == TSplitSide::Left || Side() == TSplitSide::Right;
    SetCursor(LoadCursor(nullptr, across ? IDC_SIZEWE : IDC_SIZENS));
    Message.Result = TRUE;
    return;
  }
  classlib::TCustomControl::WndProc(Message);
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

}  // namespace foldwick
