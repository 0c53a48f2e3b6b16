// The sheet window's controls and their wiring to the view.
#include "spreadsheet/windows/win/SheetWindow.h"

#include "classlib/win/GdiCanvas.h"
#include "spreadsheet/engine/EngineError.h"
#include "spreadsheet/engine/ShowError.h"
#include "spreadsheet/windows/win/PictureSourceWin.h"

namespace corvane {

using namespace classlib;

namespace {

constexpr int kMinWidth = 150;
constexpr int kCascadeStep = 16;

TRect Within(const TRect& r, const TRect& outer) { return r.Offset(-outer.Left, -outer.Top); }

void PlaceControl(TControl& control, const TRect& r) {
  if (r.Left != control.Left() || r.Top != control.Top() || r.Width() != control.Width() ||
      r.Height() != control.Height())
    control.SetBounds(r.Left, r.Top, r.Width(), r.Height());
}

}  // namespace

// ---- The split box ----------------------------------------------------------------------

void TSplitBox::Paint(TCanvas& Canvas) { form_.View().PaintSplitBox(Canvas, ClientRect()); }

TPoint TSplitBox::FormPoint(int x, int y) const {
  POINT p{x, y};
  MapWindowPoints(Handle(), form_.Handle(), &p, 1);
  return {p.x, p.y};
}

void TSplitBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == TMouseButton::mbLeft) {
    SetCapture();
    form_.View().SplitBoxDown(FormPoint(X, Y));
  }
  TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TSplitBox::MouseMove(TShiftState Shift, int X, int Y) {
  if (form_.View().SplitDragging()) form_.View().SplitBoxMove(FormPoint(X, Y));
  TCustomControl::MouseMove(Shift, X, Y);
}

void TSplitBox::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (form_.View().SplitDragging()) {
    ReleaseCapture();
    form_.View().SplitBoxUp(FormPoint(X, Y));
    Invalidate();
  }
  TCustomControl::MouseUp(Button, Shift, X, Y);
}

// ---- The form's host --------------------------------------------------------------------

void TForm2::THost::DrawNow(const std::function<void(TCanvas&)>& draw) {
  HWND hwnd = form_.Handle();
  if (hwnd == nullptr) return;
  HDC dc = GetDC(hwnd);
  {
    TGdiCanvas canvas(dc);
    draw(canvas);
  }
  ReleaseDC(hwnd, dc);
}

void TForm2::THost::StartTimer(int id, unsigned intervalMs) {
  if (HWND hwnd = form_.Handle()) SetTimer(hwnd, static_cast<UINT_PTR>(id), intervalMs, nullptr);
}

void TForm2::THost::StopTimer(int id) {
  if (form_.HandleAllocated()) KillTimer(form_.Handle(), static_cast<UINT_PTR>(id));
}

// ---- TForm2 -----------------------------------------------------------------------------

TForm2::TForm2(TForm& frame, TSheetViews& views)
    : TForm(&frame),
      views_(views),
      view_(TSheetParts{Grid1.Model(), Grid2.Model(), tabbar1.Model(), wscroll1.Model(), host_}, views) {
  FormStyle = TFormStyle::fsMDIChild;
  KeyPreview = true;
  Grid2.Tag = 1;
  for (TWinControl* part : {static_cast<TWinControl*>(&Grid1), static_cast<TWinControl*>(&Grid2),
                            static_cast<TWinControl*>(&tabbar1)})
    part->SetParent(this);
  wscroll1.SetParent(&tabbar1);
  PaintBox1.SetParent(&tabbar1);
  view_.pictures = &WindowsPictureSource();
  view_.OnCaption = [this](const std::string& caption) { SetCaption(caption); };
  view_.PlaceParts = [this](const TSheetLayout& l) {
    Grid1.SetBoundsIfChanged(l.pane1.Left, l.pane1.Top, l.pane1.Width(), l.pane1.Height());
    Grid2.SetBoundsIfChanged(l.pane2.Left, l.pane2.Top, l.pane2.Width(), l.pane2.Height());
    PlaceControl(tabbar1, l.tabs);
    PlaceControl(wscroll1, Within(l.scroll, l.tabs));
    PlaceControl(PaintBox1, Within(l.splitBox, l.tabs));
    PaintBox1.Invalidate();
  };
  view_.PaneToScreen = [this](TGridModel& pane, TPoint at) {
    TGrid& grid = &pane == &Grid2.Model() ? Grid2 : Grid1;
    POINT p{at.x, at.y};
    ClientToScreen(grid.CellPanel().Handle(), &p);
    return TPoint{p.x, p.y};
  };
  view_.OnObjectsChanged = [this] { objectWindows_.Update(); };
  OnActivate = [this](TObject*) { view_.Activate(); };
  OnDeactivate = [this](TObject*) { view_.Deactivate(); };
  OnCloseQuery = [this](TObject*, bool& CanClose) { CanClose = view_.CloseQuery(); };
  OnClose = [](TObject*, TCloseAction& Action) { Action = caFree; };
}

TForm2::~TForm2() {
  if (views_.Active() == &view_) views_.SetActive(nullptr);
}

void TForm2::Resize() {
  view_.Resize(ClientWidth(), ClientHeight());
  if (HandleAllocated()) {
    view_.maximised = IsZoomed(Handle()) != FALSE;
    views_.windowsMaximised = view_.maximised;
  }
  TForm::Resize();
}

void TForm2::KeyDown(int& Key, TShiftState Shift) {
  view_.PreviewKeyDown(Key, Shift);
  if (Key != 0) TForm::KeyDown(Key, Shift);
}

void TForm2::KeyUp(int& Key, TShiftState Shift) {
  view_.KeyUp(Key, Shift);
  TForm::KeyUp(Key, Shift);
}

void TForm2::KeyPress(char& Key) {
  view_.KeyPress(Key);
  if (Key != 0) TForm::KeyPress(Key);
}

void TForm2::Timer(int Id) { view_.Timer(Id); }

void TForm2::WndProc(TMessage& Message) {
  if (Message.Window == handle_) {
    switch (Message.Msg) {
      case kRunMacroMessage:
        view_.MacroMessage(static_cast<int>(Message.WParam), static_cast<int>(Message.LParam));
        return;
      case WM_GETMINMAXINFO: {
        DefaultHandler(Message);
        auto* info = reinterpret_cast<MINMAXINFO*>(Message.LParam);
        info->ptMinTrackSize.x = std::max<LONG>(info->ptMinTrackSize.x, kMinWidth);
        return;
      }
      default:
        break;
    }
  }
  TForm::WndProc(Message);
}

TForm2* CreateSheetWindow(TForm& frame, TSheetViews& views, const std::string& name, bool untitled, int shareSlot) {
  auto* form = new TForm2(frame, views);
  if (!form->View().Open(name, untitled, shareSlot)) {
    std::string message = ErrorMessage();
    delete form;
    ShowError(message);
    return nullptr;
  }
  RECT client{};
  GetClientRect(frame.ClientHandle(), &client);
  int offset = kCascadeStep * (views.Count() - 1);
  form->Position = TPosition::poDesigned;
  form->SetBounds(offset, offset, std::max<int>(kMinWidth, client.right - offset - kCascadeStep),
                  std::max<int>(100, client.bottom - offset - kCascadeStep));
  form->Show();
  if (views.windowsMaximised) SendMessageA(frame.ClientHandle(), WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(form->Handle()), 0);
  return form;
}

}  // namespace corvane
