// Macro buttons and graph boxes on a sheet window, and the "User Button" dialog.
#include "spreadsheet/windows/win/SheetObjectsWin.h"

#include <algorithm>

#include "spreadsheet/controls/ControlDrawing.h"
#include "spreadsheet/graphs/GraphDraw.h"
#include "spreadsheet/graphs/NamedGraphs.h"

namespace corvane {

using namespace classlib;

namespace {

constexpr TColor kUndefinedGreen = RGB(0, 128, 0);

}  // namespace

void AnimateOutline(const TRect& from, const TRect& to) {
  HDC dc = GetDC(nullptr);
  TRect last{};
  for (int step = 0; step < kOutlineSteps; ++step) {
    if (step > 0) {
      RECT old{last.Left, last.Top, last.Right, last.Bottom};
      DrawFocusRect(dc, &old);
    }
    if (step == kOutlineSteps - 1) break;
    last = OutlineStep(from, to, step);
    RECT now{last.Left, last.Top, last.Right, last.Bottom};
    DrawFocusRect(dc, &now);
    DWORD start = GetTickCount();
    while (GetTickCount() - start < 5) {
    }
  }
  ReleaseDC(nullptr, dc);
}

// ---- TMbtn ------------------------------------------------------------------------------

TMbtn::TMbtn(TSheetView& view, int index) : TCustomControl(nullptr), view_(view), index_(index) {}

void TMbtn::CreateParams(TCreateParams& Params) {
  TCustomControl::CreateParams(Params);
  Params.Style |= WS_TABSTOP;
}

void TMbtn::Paint(TCanvas& Canvas) {
  TRect r = ClientRect();
  const TSheetObject& object = Object();
  if (object.kind == TSheetObjectKind::kGraphBox) {
    int index = GraphFind(GraphBoxName(object));
    if (index > 0) {
      FillSolid(Canvas, r, clWhite);
      DrawGraph(Canvas, r.Width(), r.Height(), index);
    } else {
      FillSolid(Canvas, r, kUndefinedGreen);
      Canvas.Brush.Style = TBrushStyle::bsClear;
      Canvas.Font.Color = clWhite;
      Canvas.TextOut(10, 10, "Undefined");
    }
  } else {
    TRect face = DrawButton(Canvas, r, pressed_ && pressedInside_);
    Canvas.Brush.Style = TBrushStyle::bsClear;
    Canvas.Font.Color = clBlack;
    const std::string& caption = object.record.caption;
    TSize size = Canvas.TextExtent(caption);
    Canvas.TextRect(face, face.Left + (face.Width() - size.cx) / 2, face.Top + (face.Height() - size.cy) / 2, caption);
  }
  if (object.selected) {
    // Being moved: a one-pixel outline over the bounds.
    Canvas.Brush.Style = TBrushStyle::bsClear;
    Canvas.Pen.Color = clBlack;
    Canvas.Rectangle(r);
  }
  if (view_.Placing()) {
    // Sizing handles: 4 x 4 squares on the corners of the bounds shrunk by 3.
    TRect in{r.Left + 3, r.Top + 3, r.Right - 3, r.Bottom - 3};
    for (TPoint corner : {TPoint{in.Left, in.Top}, TPoint{in.Right, in.Top}, TPoint{in.Left, in.Bottom},
                          TPoint{in.Right, in.Bottom}})
      Canvas.InvertRect(TRect{corner.x - 2, corner.y - 2, corner.x + 2, corner.y + 2});
  }
}

TRect TMbtn::ScreenBounds() const {
  RECT r{};
  GetWindowRect(Handle(), &r);
  return {r.left, r.top, r.right, r.bottom};
}

namespace {

// An outline drawn on the screen with an inverting pen; drawing it again
// takes it away.
void InvertOutline(const TRect& r) {
  HDC dc = GetDC(nullptr);
  int oldRop = SetROP2(dc, R2_NOT);
  HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
  HGDIOBJ oldPen = SelectObject(dc, GetStockObject(BLACK_PEN));
  Rectangle(dc, r.Left + 2, r.Top + 2, r.Right - 2, r.Bottom - 2);
  SelectObject(dc, oldPen);
  SelectObject(dc, oldBrush);
  SetROP2(dc, oldRop);
  ReleaseDC(nullptr, dc);
}

}  // namespace

void TMbtn::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomControl::MouseDown(Button, Shift, X, Y);
  if (Button == TMouseButton::mbRight) {
    EditInDialog();
    return;
  }
  if (Button != TMouseButton::mbLeft) return;
  SetFocus();
  if (view_.Placing() && Object().movable) {
    TRect bounds = ScreenBounds();
    inset_ = {bounds.Left + 2, bounds.Top + 2, bounds.Right - 2, bounds.Bottom - 2};
    POINT p{X, Y};
    ClientToScreen(Handle(), &p);
    from_ = {p.x, p.y};
    grab_ = SheetButtonGrab(inset_, from_);
    if (grab_ == 0) {
      view_.EndPlacing();
      return;
    }
    SetCapture();
    Object().selected = true;
    outline_ = bounds;
    InvertOutline(outline_);
    return;
  }
  SetCapture();
  pressed_ = pressedInside_ = true;
  Invalidate();
}

void TMbtn::MouseMove(TShiftState Shift, int X, int Y) {
  TCustomControl::MouseMove(Shift, X, Y);
  POINT p{X, Y};
  ClientToScreen(Handle(), &p);
  if (grab_ != 0) {
    InvertOutline(outline_);
    TRect moved = DragOutline(inset_, grab_, p.x - from_.x, p.y - from_.y);
    outline_ = {moved.Left - 2, moved.Top - 2, moved.Right + 2, moved.Bottom + 2};
    InvertOutline(outline_);
  } else if (pressed_) {
    bool inside = X >= 0 && Y >= 0 && X < Width() && Y < Height();
    if (inside != pressedInside_) {
      pressedInside_ = inside;
      Invalidate();
    }
  } else if (view_.Placing()) {
    TRect bounds = ScreenBounds();
    SetMouseCursor(GrabCursor(SheetButtonGrab({bounds.Left + 2, bounds.Top + 2, bounds.Right - 2, bounds.Bottom - 2},
                                              {p.x, p.y})));
  } else {
    SetMouseCursor(crDefault);
  }
}

void TMbtn::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomControl::MouseUp(Button, Shift, X, Y);
  if (Button != TMouseButton::mbLeft) return;
  ReleaseCapture();
  if (grab_ != 0) {
    InvertOutline(outline_);
    grab_ = 0;
    Object().selected = false;
    POINT origin{0, 0};
    ClientToScreen(Parent()->Handle(), &origin);
    TRect inner{outline_.Left + 2, outline_.Top + 2, outline_.Right - 2, outline_.Bottom - 2};
    TRect bounds;
    if (DroppedBounds(inner, {origin.x, origin.y}, bounds)) {
      SetBounds(bounds.Left, bounds.Top, bounds.Width(), bounds.Height());
      view_.ObjectMovedTo(index_, bounds);
    } else {
      MessageBeep(0);
    }
    Invalidate();
    return;
  }
  if (!pressed_) return;
  bool clicked = pressedInside_;
  pressed_ = pressedInside_ = false;
  Invalidate();
  if (clicked) view_.ObjectClicked(index_);
}

void TMbtn::KeyDown(int& Key, TShiftState Shift) {
  if (Key == VK_DELETE) {
    Key = 0;
    view_.DeleteObject(index_);
    return;
  }
  TCustomControl::KeyDown(Key, Shift);
}

void TMbtn::EditInDialog() {
  TBtndlg dialog(nullptr);
  // The outline travels to where the dialog shows: the middle of the screen.
  int left = (GetSystemMetrics(SM_CXSCREEN) - dialog.Width()) / 2;
  int top = (GetSystemMetrics(SM_CYSCREEN) - dialog.Height()) / 2;
  AnimateOutline(ScreenBounds(), TRect{left, top, left + dialog.Width(), top + dialog.Height()});
  TButtonDialogValue value = ButtonDialogValue(Object());
  dialog.Edit1.SetText(value.caption);
  dialog.Memo1.SetLines(value.macroLines);
  switch (dialog.ShowModal()) {
    case TBtndlg::kDelete:
      view_.DeleteObject(index_);
      break;
    case mrOk:
    case TBtndlg::kOk:
      value.caption = dialog.Edit1.Text();
      value.macroLines = dialog.Memo1.Lines();
      view_.EditObject(index_, value);
      break;
    default:
      break;
  }
}

// ---- TBtndlg ----------------------------------------------------------------------------

TBtndlg::TBtndlg(TComponent* AOwner) : TForm(AOwner, "User Button") {
  BorderStyle = TFormBorderStyle::bsToolWindow;
  Position = TPosition::poScreenCenter;
  SetBounds(0, 0, 330, 230);
  captionLabel_.SetParent(this);
  captionLabel_.SetCaption("&Button Caption");
  captionLabel_.SetBounds(10, 8, 200, 16);
  Edit1.SetParent(this);
  Edit1.SetBounds(10, 26, 200, 22);
  Edit1.SetMaxLength(static_cast<int>(kObjectCaptionChars));
  captionLabel_.SetFocusControl(&Edit1);
  macroLabel_.SetParent(this);
  macroLabel_.SetCaption("&Macro");
  macroLabel_.SetBounds(10, 56, 200, 16);
  Memo1.SetParent(this);
  Memo1.SetBounds(10, 74, 200, 110);
  macroLabel_.SetFocusControl(&Memo1);
  struct TSpec {
    TButton& button;
    const char* caption;
    int result;
  };
  int y = 26;
  for (const TSpec& spec : {TSpec{OkButton, "&Ok", kOk}, TSpec{CancelButton, "&Cancel", kCancel},
                            TSpec{DeleteButton, "&Delete", kDelete}}) {
    spec.button.SetParent(this);
    spec.button.SetCaption(spec.caption);
    spec.button.SetBounds(226, y, 80, 25);
    spec.button.ModalResult = spec.result;
    y += 32;
  }
  OkButton.SetDefault(true);
  CancelButton.Cancel = true;
}

// ---- The windows of a view's objects ------------------------------------------------------

void TSheetObjectWindows::Update() {
  const std::vector<TSheetObject>& objects = view_.Objects();
  // Objects only ever join the list; a new list (a file read) starts over.
  if (objects.size() < windows_.size()) windows_.clear();
  while (windows_.size() < objects.size()) {
    auto window = std::make_unique<TMbtn>(view_, static_cast<int>(windows_.size()));
    window->SetParent(&pane_);
    windows_.push_back(std::move(window));
  }
  for (std::size_t i = 0; i < objects.size(); ++i) {
    TMbtn& window = *windows_[i];
    TRect r = view_.ObjectRect(static_cast<int>(i));
    if (window.BoundsRect() != r) window.SetBounds(r.Left, r.Top, r.Width(), r.Height());
    window.SetVisible(!objects[i].deleted);
    window.Invalidate();
  }
}

}  // namespace corvane
