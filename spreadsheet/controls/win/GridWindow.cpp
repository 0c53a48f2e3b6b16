// The grid pane's windows.
#include "spreadsheet/controls/win/GridWindow.h"

#include "classlib/win/GdiCanvas.h"
#include "spreadsheet/controls/ControlDrawing.h"

namespace corvane {

using namespace classlib;

// ---- tgpanel ---------------------------------------------------------------------

void tgpanel::CreateParams(TCreateParams& Params) {
  TOwnDrawnControl::CreateParams(Params);
  Params.ClassName = "tgpanel";
  Params.Style |= WS_CLIPCHILDREN;
}

void tgpanel::PaintWindow(HDC dc) {
  if (model_ == nullptr) return;
  // Only the rows the paint needs: a one-row scroll leaves the rest valid.
  RECT box = {};
  GetClipBox(dc, &box);
  TGdiCanvas canvas(dc);
  canvas.Font = Font();
  model_->PaintCells(canvas, {box.left, box.top, box.right, box.bottom});
}

void tgpanel::KeyDown(int& Key, TShiftState Shift) {
  if (model_ != nullptr) model_->KeyDown(Key, Shift);
}

void tgpanel::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (model_ != nullptr) model_->MouseDown(Button, Shift, X, Y);
}

void tgpanel::MouseMove(TShiftState Shift, int X, int Y) {
  if (model_ != nullptr) model_->MouseMove(Shift, X, Y);
}

void tgpanel::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (model_ != nullptr) model_->MouseUp(Button, Shift, X, Y);
}

void tgpanel::Timer(int Id) {
  if (model_ != nullptr) model_->Timer(Id);
}

void tgpanel::DoEnter() {
  if (model_ == nullptr) return;
  model_->FocusChanged(true);
  grid_->DoEnterFromCells();
}

void tgpanel::DoExit() {
  if (model_ == nullptr) return;
  model_->FocusChanged(false);
  grid_->DoExitFromCells();
}

// Tab and every key come to the cell area.
LRESULT tgpanel::DialogCode(TMessage&) { return DLGC_WANTTAB | DLGC_WANTALLKEYS; }

// ---- TGrid ------------------------------------------------------------------------

TGrid::TGrid(TComponent* AOwner)
    : TOwnDrawnControl(AOwner), model_(cells_, colHeader_.Model(), rowHeader_.Model(), bar_.Model()) {
  SetBounds(0, 0, 100, 100);
  cells_.Attach(this, &model_);
  cells_.SetTabStop(true);
  for (TWinControl* part : {static_cast<TWinControl*>(&colHeader_), static_cast<TWinControl*>(&rowHeader_),
                            static_cast<TWinControl*>(&bar_), static_cast<TWinControl*>(&cells_)})
    part->SetParent(this);
  model_.PlaceChildren = [this](const TGridLayout& l) {
    colHeader_.SetBounds(l.ColHeader.Left, l.ColHeader.Top, l.ColHeader.Width(), l.ColHeader.Height());
    rowHeader_.SetBounds(l.RowHeader.Left, l.RowHeader.Top, l.RowHeader.Width(), l.RowHeader.Height());
    bar_.SetBounds(l.ScrollBar.Left, l.ScrollBar.Top, l.ScrollBar.Width(), l.ScrollBar.Height());
    cells_.SetBounds(l.Cells.Left, l.Cells.Top, l.Cells.Width(), l.Cells.Height());
    Invalidate();
  };
  model_.LayoutChildren(Width(), Height());
}

TGrid::~TGrid() {
  // The parts' windows go with the members; the focus leaving the cell area
  // then must not reach the model, which goes first.
  cells_.Attach(nullptr, nullptr);
}

void TGrid::CreateParams(TCreateParams& Params) {
  TOwnDrawnControl::CreateParams(Params);
  Params.ClassName = "TGrid";
  Params.Style |= WS_CLIPCHILDREN | GridSettings().WindowStyle;
}

void TGrid::SetBoundsIfChanged(int ALeft, int ATop, int AWidth, int AHeight) {
  if (ALeft != Left() || ATop != Top() || AWidth != Width() || AHeight != Height())
    SetBounds(ALeft, ATop, AWidth, AHeight);
}

void TGrid::Resize() {
  model_.LayoutChildren(ClientWidth(), ClientHeight());
  TOwnDrawnControl::Resize();
}

// Only the corner above the scroll bar shows the grid itself.
void TGrid::Paint(TCanvas& Canvas) {
  const TGridLayout& l = model_.Layout();
  FillSolid(Canvas, {l.ScrollBar.Left, 0, ClientWidth(), l.ScrollBar.Top}, clBtnFace);
}

void TGrid::DoEnter() { cells_.SetFocus(); }

LRESULT TGrid::DialogCode(TMessage&) { return DLGC_WANTARROWS | DLGC_WANTTAB; }

}  // namespace corvane
