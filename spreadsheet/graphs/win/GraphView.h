// TGraphView: the one window that shows a graph (the current one unless the
// program picks a named one). It paints by drawing the graph into an
// off-screen bitmap and copying that in one piece, so nothing flickers; Ctrl
// and a drag zoom or pan the manual scales, Shift and a click select an
// element and open its page of the settings dialog, the right button shows
// the element or zoom menu, Shift+A turns a 3D pie, and the picture can be
// saved, copied or printed by drawing it again onto a bitmap or the printer.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "classlib/Menus.h"
#include "classlib/win/Controls.h"
#include "classlib/win/Timer.h"
#include "spreadsheet/graphs/GraphHits.h"
#include "spreadsheet/graphs/GraphRecord.h"

namespace corvane {

class TGraphView : public classlib::TForm {
 public:
  explicit TGraphView(classlib::TComponent* AOwner);
  ~TGraphView() override;

  // The graph the window draws: -1 the current graph, else as DrawGraph
  // takes it. -1 at creation.
  int GraphIndex = -1;
  // Set when the window closes, cleared when the program shows it.
  bool ClosedFlag() const { return closed_; }

  // Shows graph `index` (as GraphIndex takes it) in front, as the program
  // does after a graph command, and beeps; "&Reset" goes back to the graph
  // as it is now.
  void ShowGraph(int index = -1);
  // ShowGraph, the window normal or maximised, and closed again after
  // `milliseconds` when that is not 0 (timed display).
  void ShowTimed(bool maximised, int milliseconds);
  // The cells or the graph changed: the picture is drawn again, without a
  // selected element.
  void GraphChanged();

  // The picture at the paint box's size, drawn anew (never read off the
  // screen): mode 1 puts it on the clipboard, mode 2 saves it as a .bmp file
  // under `fileName`. False with a message in `error` when that fails.
  bool DrawToBitmap(int mode, const std::string& fileName, std::string* error = nullptr);
  // Prints the current graph on one page of the default printer: margins in
  // hundredths of an inch, the size scaled by `scalePercent`. False with a
  // message when there is no printer or the job fails.
  bool QuickPrintGraph(int left, int top, int right, int scalePercent, int bottom, std::string* error = nullptr);

  // Zooms the current graph's manual scales to `rect` of the paint box (a
  // small one pans); the zoom menu's items "&Out", "&In", "&All", "&Reset"
  // are 0 to 3.
  void ZoomToRect(const classlib::TRect& rect);
  void ZoomMenu(int item);
  // Opens the settings dialog at the page of an element (Shift-click) and
  // repaints after; elements without a page only repaint.
  void OpenElementPage(int elementId);
  // Shift-click at (x, y): selects or deselects the element there and opens
  // its page; a click on no element beeps.
  void ClickElement(int x, int y);

  // The settings dialog, run modally at a page code (TGrange.ShowPage with
  // the complemented code). Until the program installs it, element pages open
  // nothing.
  std::function<void(int pageCode)> OnOpenPage;
  // A text for the main window's status line ("Saving " and the file name);
  // nothing is shown until the program installs it.
  std::function<void(const std::string& text)> OnStatus;

  classlib::TCustomControl* Pbox1() const { return pbox_; }
  // The plot rectangle and the hit regions of the last painting.
  const classlib::TRect& PlotRect() const { return plot_; }
  TGraphHitList& HitList() { return hits_; }
  classlib::TPopupMenu* PopupMenu1() const { return popup1_; }
  classlib::TPopupMenu* PopupMenu2() const { return popup2_; }
  classlib::TTimer* Timer1() const { return timer1_; }

 protected:
  void FormShow(classlib::TObject* Sender);
  void FormClose(classlib::TObject* Sender, classlib::TCloseAction& Action);
  void FormKeyDown(classlib::TObject* Sender, int& Key, classlib::TShiftState Shift);
  void FormKeyPress(classlib::TObject* Sender, char& Key);
  void Pbox1Paint(classlib::TCanvas& Canvas);
  void Pbox1MouseDown(classlib::TObject* Sender, classlib::TMouseButton Button, classlib::TShiftState Shift, int X,
                      int Y);
  void Pbox1MouseMove(classlib::TObject* Sender, classlib::TShiftState Shift, int X, int Y);
  void Pbox1MouseUp(classlib::TObject* Sender, classlib::TMouseButton Button, classlib::TShiftState Shift, int X,
                    int Y);
  void Timer1Timer(classlib::TObject* Sender);

 private:
  class TPaintBox;
  void BuildMenus();
  void ShowPopup(classlib::TPopupMenu& menu, int x, int y);
  void SaveToBitmapCommand();
  void QuickPrintCommand();
  void DrawZoomFrame();
  // The graph the window shows (GraphIndex) and its replacement, so that
  // zooming and "&Reset" change the graph in view, a named one included.
  TGraphRecord ShownGraph() const;
  void SetShownGraph(const TGraphRecord& graph);

  classlib::TCustomControl* pbox_ = nullptr;
  classlib::TPopupMenu* popup1_ = nullptr;
  classlib::TPopupMenu* popup2_ = nullptr;
  classlib::TTimer* timer1_ = nullptr;
  TGraphHitList hits_;
  classlib::TRect plot_;
  bool closed_ = false;
  bool zooming_ = false;
  classlib::TPoint zoomStart_;
  classlib::TRect zoomRect_;
  bool zoomRectShown_ = false;
  classlib::TPoint lastClick_;
  TGraphRecord resetCopy_;
  TGraphRecord drawnGraph_;  // the record the last painting drew
};

}  // namespace corvane
