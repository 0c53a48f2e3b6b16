// The graph window: painting through a bitmap, zooming, element clicks and
// menus, saving, copying and printing the picture.
#include "spreadsheet/graphs/win/GraphView.h"

#include <commdlg.h>
#include <winspool.h>

#include <algorithm>
#include <cstring>

#include "classlib/win/Bitmap.h"
#include "classlib/win/MenuHandle.h"
#include "spreadsheet/engine/ShowError.h"
#include "spreadsheet/engine/WindowServices.h"
#include "spreadsheet/graphs/GraphDraw.h"
#include "spreadsheet/graphs/GraphViewModel.h"
#include "spreadsheet/graphs/NamedGraphs.h"

namespace corvane {

using namespace classlib;

namespace {

constexpr int kZoomOut = 0, kZoomIn = 1, kZoomAll = 2, kZoomReset = 3;

TRect Normalized(TPoint a, TPoint b) {
  return {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

TMenuItem* AddItem(TPopupMenu& menu, const std::string& caption, TNotifyEvent onClick = nullptr) {
  auto* item = new TMenuItem();
  item->Caption = caption;
  item->OnClick = std::move(onClick);
  menu.Items()->Add(item);
  return item;
}

// The name of the default printer; empty when there is none.
std::string DefaultPrinterName() {
  DWORD size = 0;
  GetDefaultPrinterA(nullptr, &size);
  if (size == 0) return "";
  std::string name(size, '\0');
  if (!GetDefaultPrinterA(name.data(), &size)) return "";
  name.resize(std::strlen(name.c_str()));
  return name;
}

// A printer device context, deleted with the object.
class TPrinterDC {
 public:
  TPrinterDC() {
    std::string name = DefaultPrinterName();
    if (!name.empty()) dc_ = CreateDCA(nullptr, name.c_str(), nullptr, nullptr);
  }
  ~TPrinterDC() {
    if (dc_ != nullptr) DeleteDC(dc_);
  }
  TPrinterDC(const TPrinterDC&) = delete;
  TPrinterDC& operator=(const TPrinterDC&) = delete;
  HDC Get() const { return dc_; }

 private:
  HDC dc_ = nullptr;
};

}  // namespace

// The paint box: fills the client area, paints through the view and hands
// the mouse to it. It paints all of itself, so the background is never erased.
class TGraphView::TPaintBox : public TCustomControl {
 public:
  TPaintBox(TGraphView* view) : TCustomControl(view), view_(view) {
    ControlStyle |= csOpaque;
    SetAlign(alClient);
    TFont font;
    font.Name = "Arial";
    font.Style = fsBold;
    font.Height = -16;
    font.Color = clBlack;
    SetFont(font);
  }

 protected:
  void Paint(TCanvas& Canvas) override { view_->Pbox1Paint(Canvas); }

 private:
  TGraphView* view_;
};

TGraphView::TGraphView(TComponent* AOwner) : TForm(AOwner, "Graph") {
  SetBounds(0, 0, 355, 292);
  KeyPreview = true;
  pbox_ = new TPaintBox(this);
  pbox_->SetParent(this);
  pbox_->OnMouseDown = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) {
    Pbox1MouseDown(s, b, sh, x, y);
  };
  pbox_->OnMouseMove = [this](TObject* s, TShiftState sh, int x, int y) { Pbox1MouseMove(s, sh, x, y); };
  pbox_->OnMouseUp = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) { Pbox1MouseUp(s, b, sh, x, y); };
  timer1_ = new TTimer(this);
  timer1_->SetEnabled(false);
  timer1_->OnTimer = [this](TObject* s) { Timer1Timer(s); };
  OnShow = [this](TObject* s) { FormShow(s); };
  OnClose = [this](TObject* s, TCloseAction& a) { FormClose(s, a); };
  OnKeyDown = [this](TObject* s, int& k, TShiftState sh) { FormKeyDown(s, k, sh); };
  OnKeyPress = [this](TObject* s, char& k) { FormKeyPress(s, k); };
  BuildMenus();
  hits_.Clear();
}

TGraphView::~TGraphView() = default;

void TGraphView::BuildMenus() {
  popup1_ = new TPopupMenu(this);
  TMenuItem* attributes = AddItem(*popup1_, "&test");
  attributes->OnClick = [this, attributes](TObject*) {
    MessageBeep(0);
    if (attributes->Tag != 0) OpenElementPage(static_cast<int>(attributes->Tag));
  };
  AddItem(*popup1_, "-");
  const struct {
    const char* caption;
    int page;
  } pages[] = {{"&Graph Type", kGraphPageType}, {"&Ranges", kGraphPageRanges},     {"&Legends", kGraphPageLegends},
               {"&Options...", kGraphPageOptions}, {"&Headings", kGraphPageHeadings}, {"&Scales", kGraphPageScales},
               {"&Fonts", kGraphPageFonts}};
  for (auto p : pages) {
    int page = p.page;
    AddItem(*popup1_, p.caption, [this, page](TObject*) {
      Fire(OnOpenPage, page);
      pbox_->Invalidate();
    });
  }
  AddItem(*popup1_, "-");
  // B, not A: the first item reads "&Attributes (n)" while an element is
  // selected.
  AddItem(*popup1_, "Save to &Bitmap", [this](TObject*) { SaveToBitmapCommand(); });
  AddItem(*popup1_, "Quick &Print", [this](TObject*) { QuickPrintCommand(); });
  AddItem(*popup1_, "&Copy to Clipboard", [this](TObject*) {
    std::string error;
    if (!DrawToBitmap(1, "", &error)) ShowError(error);
  });

  popup2_ = new TPopupMenu(this);
  AddItem(*popup2_, "ZOOM");
  AddItem(*popup2_, "-");
  const char* zoomItems[] = {"&Out", "&In", "&All", "&Reset"};
  for (int item = 0; item < 4; ++item) AddItem(*popup2_, zoomItems[item], [this, item](TObject*) { ZoomMenu(item); });
}

void TGraphView::ShowGraph(int index) {
  GraphIndex = index;
  resetCopy_ = ShownGraph();
  closed_ = false;
  Show();
  if (HWND hwnd = Handle()) SetForegroundWindow(hwnd);
  MessageBeep(0);
}

void TGraphView::GraphChanged() {
  hits_.Deselect();
  if (pbox_->HandleAllocated()) pbox_->Invalidate();
}

TGraphRecord TGraphView::ShownGraph() const {
  TGraphRecord graph;
  // A named graph that is gone is drawn as the current graph.
  if (GraphIndex < 0 || !GraphRecordAt(GraphIndex, graph)) graph = CurrentGraph();
  return graph;
}

void TGraphView::SetShownGraph(const TGraphRecord& graph) {
  if (GraphIndex < 0 || !SetGraphRecordAt(GraphIndex, graph)) SetCurrentGraph(graph);
}

void TGraphView::FormShow(TObject*) {
  resetCopy_ = ShownGraph();
  pbox_->Invalidate();
}

void TGraphView::FormClose(TObject*, TCloseAction&) { closed_ = true; }

void TGraphView::FormKeyDown(TObject*, int& Key, TShiftState Shift) {
  if ((Shift & (ssShift | ssAlt | ssCtrl)) == 0) {
    Key = 0;
    Close();
  }
}

void TGraphView::FormKeyPress(TObject*, char& Key) {
  if (Key == 'A' || Key == 'a') {
    Graph3DRotate();
    pbox_->Repaint();
  } else if (Key == VK_ESCAPE || Key == ' ') {
    Close();
  } else {
    MessageBeep(0);
  }
  Key = 0;
}

void TGraphView::Pbox1Paint(TCanvas& Canvas) {
  int w = pbox_->ClientWidth(), h = pbox_->ClientHeight();
  if (w <= 0 || h <= 0) return;
  TBitmap bitmap(w, h);
  bitmap.Canvas().Font = pbox_->Font();
  // The selected element stays selected, and outlined, while the same graph
  // is drawn again; another graph, or this one changed (zoomed, reset,
  // edited), starts without one.
  const TGraphRecord shown = ShownGraph();
  if (!(shown == drawnGraph_)) hits_.Deselect();
  drawnGraph_ = shown;
  plot_ = DrawGraph(bitmap.Canvas(), w, h, GraphIndex, &hits_);
  hits_.ShowSelection(bitmap.Canvas());
  Canvas.CopyMode = TCopyMode::cmSrcCopy;
  Canvas.CopyRect({0, 0, w, h}, bitmap.Canvas(), {0, 0, w, h});
  zoomRectShown_ = false;
}

void TGraphView::DrawZoomFrame() {
  pbox_->DrawNow([this](TCanvas& canvas) { canvas.DrawFocusRect(zoomRect_); });
}

void TGraphView::Pbox1MouseDown(TObject*, TMouseButton, TShiftState Shift, int X, int Y) {
  if (!(Shift & ssCtrl)) return;
  if (!GraphZoomable(ShownGraph().Type())) {
    MessageBeep(0);
    return;
  }
  zooming_ = true;
  zoomStart_ = {X, Y};
  zoomRect_ = Normalized(zoomStart_, zoomStart_);
  zoomRectShown_ = false;
}

void TGraphView::Pbox1MouseMove(TObject*, TShiftState, int X, int Y) {
  if (!zooming_) return;
  if (zoomRectShown_) DrawZoomFrame();
  zoomRect_ = Normalized(zoomStart_, {X, Y});
  DrawZoomFrame();
  zoomRectShown_ = true;
}

void TGraphView::Pbox1MouseUp(TObject*, TMouseButton Button, TShiftState Shift, int X, int Y) {
  lastClick_ = {X, Y};
  if (zooming_) {
    zooming_ = false;
    if (zoomRectShown_) DrawZoomFrame();
    zoomRectShown_ = false;
    TGraphRecord g = ShownGraph();
    GraphTakeManualScales(g);
    SetShownGraph(g);
    if (Button == TMouseButton::mbRight) {
      ShowPopup(*popup2_, X, Y);
    } else {
      ZoomToRect(Normalized(zoomStart_, {X, Y}));
    }
    return;
  }
  if (Button == TMouseButton::mbLeft && (Shift & ssShift)) {
    ClickElement(X, Y);
  } else if (Button == TMouseButton::mbRight) {
    TMenuItem* first = popup1_->Items()->Items(0);
    first->Caption = GraphAttributesCaption(hits_.Selected());
    first->Tag = std::abs(hits_.Selected());
    ShowPopup(*popup1_, X, Y);
  }
}

void TGraphView::ClickElement(int x, int y) {
  int id = 0;
  bool drawn = false;
  pbox_->DrawNow([&](TCanvas& canvas) {
    id = hits_.HitTest(x, y, &canvas);
    drawn = true;
  });
  if (!drawn) id = hits_.HitTest(x, y, nullptr);
  if (id == 0) {
    MessageBeep(0);
    return;
  }
  OpenElementPage(id);
}

void TGraphView::OpenElementPage(int elementId) {
  int code = GraphElementPageCode(elementId);
  if (code >= 0) Fire(OnOpenPage, code);
  pbox_->Invalidate();
}

void TGraphView::ShowPopup(TPopupMenu& menu, int x, int y) {
  POINT at = {x, y};
  ClientToScreen(pbox_->Handle(), &at);
  HMENU handle = CreatePopupHandle(*menu.Items());
  if (handle == nullptr) return;
  UINT flags = TPM_RETURNCMD | TPM_RIGHTBUTTON | (&menu == popup1_ ? TPM_CENTERALIGN : TPM_LEFTALIGN);
  int command = TrackPopupMenu(handle, flags, at.x, at.y, 0, Handle(), nullptr);
  DestroyMenu(handle);
  if (command == 0) return;
  if (TMenuItem* item = menu.Items()->Find(static_cast<std::uint16_t>(command))) item->Click();
}

void TGraphView::ZoomToRect(const TRect& rect) {
  TGraphRecord g = ShownGraph();
  if (GraphZoomToRect(g, rect, plot_)) SetShownGraph(g);
  pbox_->Invalidate();
}

void TGraphView::ZoomMenu(int item) {
  switch (item) {
    case kZoomOut:
      ZoomToRect(GraphZoomOutRect(plot_));
      break;
    case kZoomIn:
      ZoomToRect(GraphZoomInRect(plot_));
      break;
    case kZoomAll: {
      TGraphRecord g = ShownGraph();
      GraphScaleToData(g);
      SetShownGraph(g);
      pbox_->Invalidate();
      break;
    }
    case kZoomReset:
      SetShownGraph(resetCopy_);
      pbox_->Invalidate();
      break;
    default:
      break;
  }
}

bool TGraphView::DrawToBitmap(int mode, const std::string& fileName, std::string* error) {
  int w = pbox_->ClientWidth(), h = pbox_->ClientHeight();
  if (w <= 0 || h <= 0) {
    if (error) *error = "Graph window has no picture";
    return false;
  }
  TBitmap bitmap(w, h);
  bitmap.Canvas().Font = pbox_->Font();
  // Drawn again rather than copied off the screen, so that a covered window
  // saves its own picture; the window's hit regions stay its own.
  DrawGraph(bitmap.Canvas(), w, h, GraphIndex);
  if (mode == 2) return bitmap.SaveToFile(fileName, error);
  if (mode != 1) return false;
  HANDLE copy = CopyImage(bitmap.Handle(), IMAGE_BITMAP, 0, 0, 0);
  bool ok = copy != nullptr && OpenClipboard(Handle());
  if (ok) {
    EmptyClipboard();
    ok = SetClipboardData(CF_BITMAP, copy) != nullptr;
    CloseClipboard();
  }
  if (!ok) {
    if (copy != nullptr) DeleteObject(copy);
    if (error) *error = "Cannot copy the graph to the clipboard";
  }
  return ok;
}

bool TGraphView::QuickPrintGraph(int left, int top, int right, int scalePercent, int bottom, std::string* error) {
  TPrinterDC printer;
  HDC dc = printer.Get();
  if (dc == nullptr) {
    if (error) *error = "No Printer";
    return false;
  }
  TWaitCursor wait;
  int px = GetDeviceCaps(dc, LOGPIXELSX), py = GetDeviceCaps(dc, LOGPIXELSY);
  TRect area = GraphQuickPrintArea(GetDeviceCaps(dc, HORZRES), GetDeviceCaps(dc, VERTRES), px, py, left, top, right,
                                   scalePercent, bottom);
  std::string title = WindowServices().SheetFileName(64);
  DOCINFOA doc = {};
  doc.cbSize = sizeof doc;
  doc.lpszDocName = title.c_str();
  if (StartDocA(dc, &doc) <= 0 || StartPage(dc) <= 0) {
    if (error) *error = "Printer Error";
    return false;
  }
  SetViewportOrgEx(dc, area.Left, area.Top, nullptr);
  {
    TGdiCanvas canvas(dc);
    TGraphDrawOptions options;
    options.monochrome = GetDeviceCaps(dc, NUMCOLORS) == 2;
    DrawGraph(canvas, area.Width(), area.Height(), -1, nullptr, options);
  }
  SetViewportOrgEx(dc, 0, 0, nullptr);
  bool ok = EndPage(dc) > 0 && EndDoc(dc) > 0;
  if (!ok && error) *error = "Printer Error";
  return ok;
}

void TGraphView::SaveToBitmapCommand() {
  char file[MAX_PATH] = "Noname.bmp";
  OPENFILENAMEA dialog = {};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = Handle();
  dialog.lpstrFilter = "Bitmap\0*.BMP\0";
  dialog.lpstrFile = file;
  dialog.nMaxFile = sizeof file;
  dialog.lpstrDefExt = "BMP";
  dialog.Flags = OFN_HIDEREADONLY | OFN_NOVALIDATE | OFN_CREATEPROMPT;
  if (!GetSaveFileNameA(&dialog)) return;
  if (OnStatus) OnStatus(std::string("Saving ") + file);
  std::string error;
  if (!DrawToBitmap(2, file, &error)) {
    ShowError(error);
    return;
  }
  MessageBeep(0);
}

void TGraphView::QuickPrintCommand() {
  int margin = 50;
  {
    TPrinterDC printer;
    if (HDC dc = printer.Get())
      margin = GraphQuickPrintMargin(GetDeviceCaps(dc, HORZRES), GetDeviceCaps(dc, VERTRES), GetDeviceCaps(dc, LOGPIXELSY));
  }
  std::string error;
  if (!QuickPrintGraph(50, margin, 50, 100, margin, &error)) {
    ShowError(error);
    return;
  }
  MessageBeep(0);
}

void TGraphView::ShowTimed(bool maximised, int milliseconds) {
  ShowGraph(GraphIndex);
  ShowWindow(Handle(), maximised ? SW_MAXIMIZE : SW_RESTORE);
  timer1_->SetEnabled(false);
  if (milliseconds > 0) {
    timer1_->SetInterval(static_cast<unsigned>(milliseconds));
    timer1_->SetEnabled(true);
  }
}

void TGraphView::Timer1Timer(TObject*) {
  timer1_->SetEnabled(false);
  Close();
}

}  // namespace corvane
