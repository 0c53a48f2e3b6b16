// TGrid: the window of one worksheet pane over TGridModel, made of the column
// header, the row header, the vertical scroll bar and the cell area
// (tgpanel). The cell area takes the focus, carries the caret and hands its
// keys, mouse and timer to the model; the owner paints rows through the
// model's OnDrawRow and hears it through OnChange and OnChangeTop.
#pragma once

#include "spreadsheet/controls/Grid.h"
#include "spreadsheet/controls/win/HeaderWindow.h"
#include "spreadsheet/controls/win/ScrollBarWindow.h"

namespace corvane {

class TGrid;

// The cell area. Child windows that owners put on it (buttons on the sheet)
// are left out of its painting.
class tgpanel : public TOwnDrawnControl {
 public:
  explicit tgpanel(classlib::TComponent* AOwner) : TOwnDrawnControl(AOwner) {}
  // The model the area works for; null once the grid is going.
  void Attach(TGrid* grid, TGridModel* model) {
    grid_ = grid;
    model_ = model;
  }

 protected:
  void CreateParams(TCreateParams& Params) override;
  void PaintWindow(HDC dc) override;
  void KeyDown(int& Key, classlib::TShiftState Shift) override;
  void MouseDown(classlib::TMouseButton Button, classlib::TShiftState Shift, int X, int Y) override;
  void MouseMove(classlib::TShiftState Shift, int X, int Y) override;
  void MouseUp(classlib::TMouseButton Button, classlib::TShiftState Shift, int X, int Y) override;
  void Timer(int Id) override;
  void DoEnter() override;
  void DoExit() override;
  LRESULT DialogCode(classlib::TMessage& Message) override;

 private:
  TGrid* grid_ = nullptr;
  TGridModel* model_ = nullptr;
};

class TGrid : public TOwnDrawnControl {
 public:
  explicit TGrid(classlib::TComponent* AOwner);
  ~TGrid() override;

  TGridModel& Model() { return model_; }
  // The cell area, for owners that draw on it at once (its DrawNow).
  tgpanel& CellPanel() { return cells_; }
  TCheader& ColHeader() { return colHeader_; }
  TCheader& RowHeader() { return rowHeader_; }
  Twscroll& ScrollBar() { return bar_; }
  // Sets the bounds only when one of them differs.
  void SetBoundsIfChanged(int ALeft, int ATop, int AWidth, int AHeight);

  // The cell area's focus, as the grid's.
  void DoEnterFromCells() { TOwnDrawnControl::DoEnter(); }
  void DoExitFromCells() { TOwnDrawnControl::DoExit(); }

 protected:
  void CreateParams(TCreateParams& Params) override;
  void Resize() override;
  void Paint(classlib::TCanvas& Canvas) override;
  void DoEnter() override;
  void DoExit() override {}
  LRESULT DialogCode(classlib::TMessage& Message) override;

 private:
  TCheader colHeader_{nullptr};
  TCheader rowHeader_{nullptr};
  Twscroll bar_{nullptr};
  tgpanel cells_{nullptr};
  TGridModel model_;
};

}  // namespace corvane
