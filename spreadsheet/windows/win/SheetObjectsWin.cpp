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

TPoint ScreenPoint(HWND window, int x, int y) {
  POINT p{x, y};
  ClientToScreen(window, &p);
  return {p.x, p.y};
}

}  // namespace

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
    TRect face = DrawButton(Canvas, r, drag_ == TDrag::kPress && pressedInside_);
    Canvas.Brush.Style = TBrushStyle::bsClear;
    Canvas.Font.Color = clBlack;
    const std::string& caption = object.record.caption;
    TSize size = Canvas.TextExtent(caption);
    Canvas.TextRect(face, face.Left + (face.Width() - size.cx) / 2, face.Top + (face.Height() - size.cy) / 2, caption);
  }
  if (object.selected) {
    // Placed or moving: a one-pixel outline over the bounds.
    Canvas.Brush.Style = TBrushStyle::bsClear;
    Canvas.Pen.Color = clBlack;
    Canvas.Rectangle(r);
  }
}

void TMbtn::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomControl::MouseDown(Button, Shift, X, Y);
  if (Button == TMouseButton::mbRight) {
    EditInDialog();
    return;
  }
  if (Button != TMouseButton::mbLeft) return;
  SetFocus();
  SetCapture();
  from_ = ScreenPoint(Handle(), X, Y);
  startBounds_ = BoundsRect();
  // Ctrl drags the object to a new place, Ctrl+Shift its size; a plain press
  // is a click.
  if ((Shift & ssCtrl) != 0 && Object().movable) {
    drag_ = (Shift & ssShift) != 0 ? TDrag::kSize : TDrag::kMove;
    Object().selected = true;
  } else {
    drag_ = TDrag::kPress;
    pressedInside_ = true;
  }
  Invalidate();
}

void TMbtn::MouseMove(TShiftState Shift, int X, int Y) {
  TCustomControl::MouseMove(Shift, X, Y);
  TPoint at = ScreenPoint(Handle(), X, Y);
  int dx = at.x - from_.x, dy = at.y - from_.y;
  switch (drag_) {
    case TDrag::kMove:
      SetBounds(startBounds_.Left + dx, startBounds_.Top + dy, startBounds_.Width(), startBounds_.Height());
      break;
    case TDrag::kSize:
      SetBounds(startBounds_.Left, startBounds_.Top, std::max(kMinDragSize, startBounds_.Width() + dx),
                std::max(kMinDragSize, startBounds_.Height() + dy));
      break;
    case TDrag::kPress: {
      bool inside = X >= 0 && Y >= 0 && X < Width() && Y < Height();
      if (inside != pressedInside_) {
        pressedInside_ = inside;
        Invalidate();
      }
      break;
    }
    case TDrag::kNone:
      break;
  }
}

void TMbtn::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomControl::MouseUp(Button, Shift, X, Y);
  if (Button != TMouseButton::mbLeft || drag_ == TDrag::kNone) return;
  TDrag drag = drag_;
  bool clicked = drag == TDrag::kPress && pressedInside_;
  drag_ = TDrag::kNone;
  pressedInside_ = false;
  ReleaseCapture();
  Invalidate();
  if (drag == TDrag::kMove || drag == TDrag::kSize) {
    Object().selected = false;
    view_.ObjectMovedTo(index_, BoundsRect());
  } else if (clicked) {
    view_.ObjectClicked(index_);
  }
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
