// The objects on a sheet window's first pane as windows: TMbtn, one class for
// macro buttons and graph boxes, and TBtndlg, the "User Button" dialog that
// edits a button's caption and macro. The sheet view keeps the objects and
// decides; these windows show them and hand the user's clicks, drags and
// keys back.
#pragma once

#include <memory>
#include <vector>

#include "classlib/win/Controls.h"
#include "classlib/win/StdCtrls.h"
#include "spreadsheet/windows/SheetView.h"

namespace corvane {

// The outline travelling from one screen rectangle to another in about a
// tenth of a second, leaving nothing behind: before a button's dialog shows.
void AnimateOutline(const classlib::TRect& from, const classlib::TRect& to);

class TMbtn : public classlib::TCustomControl {
 public:
  TMbtn(TSheetView& view, int index);
  int Index() const { return index_; }

 protected:
  void CreateParams(TCreateParams& Params) override;
  void Paint(classlib::TCanvas& Canvas) override;
  void MouseDown(classlib::TMouseButton Button, classlib::TShiftState Shift, int X, int Y) override;
  void MouseMove(classlib::TShiftState Shift, int X, int Y) override;
  void MouseUp(classlib::TMouseButton Button, classlib::TShiftState Shift, int X, int Y) override;
  void KeyDown(int& Key, classlib::TShiftState Shift) override;

 private:
  TSheetObject& Object() { return view_.Object(index_); }
  classlib::TRect ScreenBounds() const;
  void EditInDialog();

  TSheetView& view_;
  int index_;
  bool pressed_ = false;        // a plain press, waiting for its release
  bool pressedInside_ = false;
  int grab_ = 0;                // what a drag in placing mode moves (0: no drag)
  classlib::TPoint from_;       // where the drag started, on the screen
  classlib::TRect inset_;       // the bounds on the screen, inset by 2, when it started
  classlib::TRect outline_;     // the outline last drawn on the screen
};

// "User Button": the caption and the macro of one button; Ok (modal result 3),
// Cancel (2) and Delete (4).
class TBtndlg : public classlib::TForm {
 public:
  explicit TBtndlg(classlib::TComponent* AOwner);
  static constexpr int kOk = 3, kCancel = 2, kDelete = 4;
  classlib::TEdit Edit1{nullptr};
  classlib::TMemo Memo1{nullptr};
  classlib::TButton OkButton{nullptr}, CancelButton{nullptr}, DeleteButton{nullptr};

 private:
  classlib::TLabel captionLabel_{nullptr}, macroLabel_{nullptr};
};

// Keeps one TMbtn per object of the view on `pane` (pane 1's cell area), in
// place, shown or hidden, as the view's objects change.
class TSheetObjectWindows {
 public:
  TSheetObjectWindows(TSheetView& view, classlib::TWinControl& pane) : view_(view), pane_(pane) {}
  void Update();
  TMbtn* Window(int index) { return index < static_cast<int>(windows_.size()) ? windows_[index].get() : nullptr; }

 private:
  TSheetView& view_;
  classlib::TWinControl& pane_;
  std::vector<std::unique_ptr<TMbtn>> windows_;
};

}  // namespace corvane
