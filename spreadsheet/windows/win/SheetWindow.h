// TForm2: the sheet window, an MDI child of the main frame showing one
// document in one or two grid panes, with the sheet tabs, a horizontal
// scroll bar and the split box at the bottom. The window only carries the
// controls and hands their events to its TSheetView, which decides.
#pragma once

#include <string>

#include "classlib/win/Controls.h"
#include "spreadsheet/controls/win/GridWindow.h"
#include "spreadsheet/controls/win/ScrollBarWindow.h"
#include "spreadsheet/controls/win/TabBarWindow.h"
#include "spreadsheet/windows/SheetView.h"
#include "spreadsheet/windows/SheetViews.h"
#include "spreadsheet/windows/win/SheetObjectsWin.h"

namespace corvane {

// Posted to a sheet window to run the macro at a cell: the column in
// wParam, the row in lParam.
inline constexpr UINT kRunMacroMessage = WM_USER + 1;

class TForm2;

// The split box: a press starts dragging the split line.
class TSplitBox : public classlib::TCustomControl {
 public:
  TSplitBox(classlib::TComponent* AOwner, TForm2& form) : TCustomControl(AOwner), form_(form) {}

 protected:
  void Paint(classlib::TCanvas& Canvas) override;
  void MouseDown(classlib::TMouseButton Button, classlib::TShiftState Shift, int X, int Y) override;
  void MouseMove(classlib::TShiftState Shift, int X, int Y) override;
  void MouseUp(classlib::TMouseButton Button, classlib::TShiftState Shift, int X, int Y) override;

 private:
  classlib::TPoint FormPoint(int x, int y) const;
  TForm2& form_;
};

class TForm2 : public classlib::TForm {
 public:
  // A sheet window in the client area of `frame` (an MDI frame); Open it,
  // then show it.
  TForm2(classlib::TForm& frame, TSheetViews& views);
  ~TForm2() override;

  TSheetView& View() { return view_; }
  TSheetViews& Views() { return views_; }

  TGrid Grid1{nullptr};
  TGrid Grid2{nullptr};
  tabbar tabbar1{nullptr};
  Twscroll wscroll1{nullptr};
  TSplitBox PaintBox1{nullptr, *this};
  // The macro buttons and graph boxes over pane 1.
  TSheetObjectWindows& ObjectWindows() { return objectWindows_; }

 protected:
  void Resize() override;
  void KeyDown(int& Key, classlib::TShiftState Shift) override;
  void KeyUp(int& Key, classlib::TShiftState Shift) override;
  void KeyPress(char& Key) override;
  void Timer(int Id) override;
  void WndProc(classlib::TMessage& Message) override;
  bool EraseBackground(HDC) override { return true; }  // the panes cover it

 private:
  // The form's own host: beeps and the macro timer.
  class THost : public classlib::TControlHost {
   public:
    explicit THost(TForm2& form) : form_(form) {}
    classlib::TRect ClientRect() const override { return form_.ClientRect(); }
    void Invalidate(const classlib::TRect&) override { form_.Invalidate(); }
    void InvalidateAll() override { form_.Invalidate(); }
    void DrawNow(const std::function<void(classlib::TCanvas&)>& draw) override;
    void Beep(unsigned type) override { MessageBeep(type); }
    void StartTimer(int id, unsigned intervalMs) override;
    void StopTimer(int id) override;
    void SetCapture() override {}
    void ReleaseCapture() override {}
    bool HasCapture() const override { return false; }
    classlib::TPoint CursorPos() const override { return {}; }
    void CreateCaret(int, int) override {}
    void SetCaretPos(int, int) override {}
    void ShowCaret() override {}
    void HideCaret() override {}
    void DestroyCaret() override {}
    void SetFocus() override { form_.SetFocus(); }
    bool Focused() const override { return form_.Focused(); }

   private:
    TForm2& form_;
  };

  TSheetViews& views_;
  THost host_{*this};
  TSheetView view_;
  TSheetObjectWindows objectWindows_{view_, Grid1.CellPanel()};
};

// Makes a sheet window on `name` (a new sheet when `untitled`) in `frame`,
// placed 16 pixels further in than the windows before it (maximised when the
// last one was), and shows and activates it. Null, with the engine's error
// shown, when the document cannot be had.
TForm2* CreateSheetWindow(classlib::TForm& frame, TSheetViews& views, const std::string& name, bool untitled,
                          int shareSlot = 0);

}  // namespace corvane
