// The window base under Wine, driven by the UI kit: messages reach the right
// handlers and objects, failures are reported, objects and windows go
// together, modal runs end as their keys and buttons say, and the GDI canvas
// draws what it is asked to.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "classlib/Drawing.h"
#include "classlib/win/Application.h"
#include "classlib/win/Bitmap.h"
#include "classlib/win/Controls.h"
#include "classlib/win/Notebook.h"
#include "classlib/win/StdCtrls.h"
#include "tests/support/win/UiKit.h"

namespace classlib {
namespace {

using uikit::TEventLog;

// An own-drawn control that writes down what reached it.
class TProbe : public TCustomControl {
 public:
  explicit TProbe(TComponent* AOwner, TEventLog& log) : TCustomControl(AOwner), log_(log) {
    SetBounds(10, 10, 120, 80);
    SetTabStop(true);
  }
  bool ThrowOnKey = false;
  int Paints = 0;

 protected:
  void Paint(TCanvas& Canvas) override {
    ++Paints;
    Canvas.Brush.Color = clYellow;
    Canvas.FillRect(ClientRect());
    Canvas.Pen.Color = clBlack;
    Canvas.Rectangle({4, 4, 40, 30});
  }
  void KeyDown(int& Key, TShiftState Shift) override {
    if (ThrowOnKey) throw std::runtime_error("Key refused");
    log_.Lines.push_back("down " + std::to_string(Key) + " shift " + std::to_string(Shift));
  }
  void KeyPress(char& Key) override { log_.Lines.push_back(std::string("char ") + Key); }
  void MouseDown(TMouseButton, TShiftState Shift, int X, int Y) override {
    log_.Lines.push_back("press " + std::to_string(X) + "," + std::to_string(Y) + " shift " + std::to_string(Shift) +
                         (HasCapture() ? " captured" : ""));
  }
  void MouseMove(TShiftState, int X, int Y) override {
    if (HasCapture()) log_.Lines.push_back("drag " + std::to_string(X) + "," + std::to_string(Y));
  }
  void MouseUp(TMouseButton, TShiftState, int X, int Y) override {
    log_.Lines.push_back("release " + std::to_string(X) + "," + std::to_string(Y) + (HasCapture() ? " captured" : ""));
  }
  void Timer(int Id) override {
    log_.Lines.push_back("timer " + std::to_string(Id));
    StopTimer(Id);
  }
  bool Notify(NMHDR& header, LRESULT& result) override {
    log_.Lines.push_back("notify " + std::to_string(header.code));
    result = 7;
    return true;
  }
  // Arrows and characters are the control's own; Tab goes to the dialog manager.
  LRESULT DialogCode(TMessage&) override { return DLGC_WANTARROWS | DLGC_WANTCHARS; }

 private:
  TEventLog& log_;
};

template <class T>
T* Place(TForm& form, TRect bounds) {
  auto* control = new T(&form);
  control->SetBounds(bounds.Left, bounds.Top, bounds.Width(), bounds.Height());
  control->SetParent(&form);
  return control;
}

// One run over a form with an own-drawn control and the standard controls.
TEST(WindowBase, AFormDrivenByRealInput) {
  TEventLog log;
  TForm form(nullptr, "Window base");
  form.Position = TPosition::poDesigned;
  form.SetBounds(20, 20, 420, 300);
  auto* probe = new TProbe(&form, log);
  probe->SetParent(&form);
  auto* edit = Place<TEdit>(form, {140, 10, 260, 31});
  auto* button = Place<TButton>(form, {140, 40, 215, 65});
  auto* list = Place<TListBox>(form, {10, 100, 130, 180});
  auto* combo = Place<TComboBox>(form, {140, 75, 260, 96});
  auto* label = Place<TLabel>(form, {270, 14, 400, 30});
  auto* panel = Place<TPanel>(form, {140, 105, 400, 145});
  auto* memo = Place<TMemo>(form, {140, 155, 280, 240});
  auto* bar = Place<TScrollBar>(form, {290, 155, 400, 171});
  auto* group = Place<TGroupBox>(form, {290, 180, 400, 240});
  auto* check = Place<TCheckBox>(form, {10, 188, 130, 205});
  auto* radioA = Place<TRadioButton>(form, {10, 208, 130, 225});
  auto* radioB = Place<TRadioButton>(form, {10, 228, 130, 245});
  button->SetCaption("&Push");
  label->SetCaption("&Label for edit");
  label->SetFocusControl(edit);
  panel->SetCaption("Raised panel");
  group->SetCaption("Group");
  check->SetCaption("&Check");
  radioA->SetCaption("Radio &A");
  radioB->SetCaption("Radio &B");
  radioA->SetChecked(true);  // before the window exists: applied when it is made
  memo->SetLines({"first line", "second line"});
  list->SetItems({"alpha", "beta", "gamma"});
  combo->SetItems({"one", "two"});
  bar->SetRange(0, 10);
  bar->LargeChange = 5;
  edit->OnChange = log.Notify("edit changed");
  button->OnClick = log.Notify("button clicked");
  list->OnClick = log.Notify("list clicked");
  combo->OnChange = log.Notify("combo changed");
  combo->OnKeyPress = log.Record<char&>("combo key");
  bar->OnChange = log.Notify("bar changed");
  form.Show();
  uikit::RunUntilIdle();
  ASSERT_TRUE(IsWindowVisible(form.Handle()));
  EXPECT_GT(probe->Paints, 0);
  EXPECT_EQ(memo->LineCount(), 2);
  EXPECT_EQ(list->Count(), 3);

  // Keys, characters, mouse with capture, and a window timer on the own-drawn control.
  probe->SetFocus();
  uikit::PressKey(probe->Handle(), VK_DOWN, ssShift);
  uikit::TypeChars(probe->Handle(), "x");
  uikit::PressKey(probe->Handle(), VK_RETURN);  // no default button: the key goes on
  uikit::MouseDown(probe->Handle(), {5, 7}, TMouseButton::mbLeft, ssCtrl);
  uikit::MouseMove(probe->Handle(), {-20, 90}, ssLeft);
  uikit::MouseUp(probe->Handle(), {-20, 90});
  probe->StartTimer(3, 10);
  uikit::RunUntil([&] { return !log.Lines.empty() && log.Lines.back() == "timer 3"; });
  EXPECT_EQ(log.Lines, (std::vector<std::string>{"down 40 shift 1", "char x", "down 13 shift 0", "char \r",
                                                 "press 5,7 shift 12 captured", "drag -20,90", "release -20,90",
                                                 "timer 3"}));
  log.Clear();

  // Tab leaves the probe for the edit, where a letter key types its letter;
  // Alt with the label's letter comes back to the edit from elsewhere.
  uikit::PressKey(probe->Handle(), VK_TAB);
  EXPECT_TRUE(edit->Focused());
  uikit::PressKey(edit->Handle(), 'Q');
  EXPECT_EQ(edit->Text(), "q");
  button->SetFocus();
  uikit::PressKey(button->Handle(), 'L', ssAlt);
  EXPECT_TRUE(edit->Focused());
  EXPECT_EQ(edit->SelLength(), 1) << "the field offers its text to be typed over";

  // Notifications return to the control that sent them.
  uikit::Click(button->Handle(), {10, 10});
  uikit::Click(list->Handle(), {10, 22});  // the second item
  EXPECT_EQ(list->ItemIndex(), 1);
  uikit::TypeChars(GetWindow(combo->Handle(), GW_CHILD), "t");
  uikit::PressKey(bar->Handle(), VK_RIGHT);
  SendMessageA(form.Handle(), WM_HSCROLL, SB_PAGEDOWN, reinterpret_cast<LPARAM>(bar->Handle()));
  EXPECT_EQ(bar->Position(), 6);
  NMHDR header = {probe->Handle(), 0, 42};
  EXPECT_EQ(SendMessageA(form.Handle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&header)), 7);
  EXPECT_EQ(log.Lines, (std::vector<std::string>{"down 9 shift 0", "edit changed", "button clicked", "list clicked", "combo key 't'",
                                                 "combo changed", "bar changed", "bar changed", "notify 42"}));

  // Check boxes toggle and radio buttons exclude each other by click and by
  // their letters; setting the state from code fires nothing.
  log.Clear();
  check->OnClick = log.Notify("check clicked");
  radioB->OnClick = log.Notify("radio B clicked");
  EXPECT_TRUE(radioA->Checked());
  uikit::Click(check->Handle(), {5, 8});
  EXPECT_TRUE(check->Checked());
  uikit::PressKey(edit->Handle(), 'C', ssAlt);
  EXPECT_FALSE(check->Checked());
  uikit::Click(radioB->Handle(), {5, 8});
  EXPECT_TRUE(radioB->Checked());
  EXPECT_FALSE(radioA->Checked());
  EXPECT_EQ(SendMessageA(radioA->Handle(), BM_GETCHECK, 0, 0), BST_UNCHECKED);
  check->SetChecked(true);
  EXPECT_EQ(log.Lines, (std::vector<std::string>{"check clicked", "check clicked", "radio B clicked"}));

  // A combo box's list closed on a choice fires OnCloseUp; closed by
  // Escape, nothing.
  log.Clear();
  combo->OnKeyPress = nullptr;
  combo->OnCloseUp = log.Notify("combo closed up");
  combo->SetFocus();
  for (int key : {VK_F4, VK_DOWN, VK_RETURN, VK_F4, VK_ESCAPE}) uikit::PressKey(GetFocus(), key);
  EXPECT_EQ(log.Lines, (std::vector<std::string>{"combo changed", "combo closed up"}));
  EXPECT_FALSE(combo->DroppedDown());

  // Real input through the system follows the focus and the mouse.
  edit->SetFocus();
  uikit::SendKey(edit->Handle(), 'Z', ssShift);
  EXPECT_EQ(edit->Text(), "Z") << "typed over the text Alt+L selected";
  log.Clear();
  uikit::SendClick(button->Handle(), {20, 10});
  EXPECT_EQ(log.Lines, std::vector<std::string>{"button clicked"});

  // Drawing at once reaches the screen; a capture reads back what Paint drew.
  TColor drawn = clNone;
  probe->DrawNow([&](TCanvas& c) {
    c.Brush.Color = clRed;
    c.FillRect({50, 40, 60, 52});
    drawn = c.GetPixel(55, 45);
  });
  EXPECT_EQ(drawn, clRed);
  probe->Invalidate();
  TBitmap shot;
  ASSERT_TRUE(uikit::CaptureClient(probe->Handle(), shot));
  EXPECT_EQ(uikit::ColorBounds(shot, clBlack, {0, 0, 120, 80}), (TRect{4, 4, 40, 30}));
  EXPECT_EQ(uikit::CountColor(shot, clRed, {0, 0, 120, 80}), 0);

  // An exception in a handler is reported, not swallowed, and the window lives on.
  std::vector<std::string> reported;
  Application().OnException = [&](TObject* sender, const std::exception& e) {
    reported.push_back(e.what());
    EXPECT_EQ(sender, probe);
  };
  probe->ThrowOnKey = true;
  probe->SetFocus();
  uikit::PressKey(probe->Handle(), VK_F2);
  Application().OnException = nullptr;
  EXPECT_EQ(reported, std::vector<std::string>{"Key refused"});
  EXPECT_TRUE(IsWindow(probe->Handle()));

  EXPECT_NE(uikit::SaveWindowPicture(form.Handle(), "classlib-standard-controls"), "");
}

std::vector<std::string> gAsserts;
void RecordAssert(const char* condition, const char*, int) { gAsserts.push_back(condition); }

TEST(WindowBase, ObjectsAndWindowsGoTogether) {
  TEventLog log;
  auto* form = new TForm(nullptr, "lifetimes");
  auto* first = new TProbe(form, log);
  first->SetParent(form);
  auto* second = new TProbe(nullptr, log);  // on the form, owned by no one
  second->SetParent(form);
  auto* edit = new TEdit(form);
  edit->SetParent(form);
  form->Show();
  HWND firstWindow = first->Handle(), secondWindow = second->Handle(), formWindow = form->Handle();
  ASSERT_EQ(form->ControlCount(), 3);

  delete first;  // a control before its parent
  EXPECT_FALSE(IsWindow(firstWindow));
  EXPECT_EQ(form->ControlCount(), 2);
  EXPECT_EQ(form->Controls(0), second);

  // A window destroyed under its object is a broken invariant: reported, and
  // the call does nothing.
  TAssertHandler previous = SetAssertHandler(RecordAssert);
  DestroyWindow(edit->Handle());
  edit->SetMaxLength(3);
  EXPECT_EQ(edit->Handle(), nullptr);
  EXPECT_EQ(form->Controls(5), nullptr);
  SetAssertHandler(previous);
  EXPECT_EQ(gAsserts.size(), 3u);

  delete form;  // the parent with a control it does not own
  EXPECT_FALSE(IsWindow(secondWindow));
  EXPECT_FALSE(IsWindow(formWindow));
  EXPECT_EQ(TWinControl::FromHandle(secondWindow), nullptr);
}

TEST(WindowBase, AlignedChildrenShareTheClientArea) {
  TEventLog log;
  TForm form(nullptr, "align");
  auto* top = new TProbe(&form, log);
  auto* panel = new TPanel(&form);
  auto* client = new TProbe(&form, log);
  top->SetAlign(alTop);
  panel->SetAlign(alLeft);
  panel->SetBorderWidth(2);
  client->SetAlign(alClient);
  for (TWinControl* c : std::initializer_list<TWinControl*>{top, panel, client}) c->SetParent(&form);
  auto* inPanel = new TProbe(&form, log);
  inPanel->SetAlign(alClient);
  inPanel->SetParent(panel);
  form.SetClientSize(300, 200);
  EXPECT_EQ(top->BoundsRect(), (TRect{0, 0, 300, 80}));
  EXPECT_EQ(panel->BoundsRect(), (TRect{0, 80, 185, 200}));
  EXPECT_EQ(client->BoundsRect(), (TRect{185, 80, 300, 200}));
  EXPECT_EQ(inPanel->BoundsRect(), (TRect{3, 3, 182, 117}));  // inside bevel and border
  form.SetClientSize(400, 300);
  EXPECT_EQ(client->BoundsRect(), (TRect{185, 80, 400, 300}));
  top->Hide();
  EXPECT_EQ(client->BoundsRect(), (TRect{185, 0, 400, 300}));
  // A notebook's pages fill it, one shown at a time.
  auto* notebook = new TNotebook(&form);
  notebook->SetAlign(alBottom);
  notebook->SetHeight(60);
  notebook->SetParent(&form);
  TPage& first = notebook->AddPage("first");
  TPage& second = notebook->AddPage("second");
  notebook->SetPageIndex(1);
  EXPECT_EQ(second.BoundsRect(), (TRect{0, 0, 400, 60}));
  EXPECT_EQ(std::make_pair(first.Visible(), second.Visible()), std::make_pair(false, true));
}

// A dialog run modally, closed by a key or a button while its owner waits
// disabled.
TEST(WindowBase, ModalRunsEndAsTheirKeysAndButtonsSay) {
  struct TRow {
    const char* how;
    int refusals;  // OnCloseQuery says no this many times first
    int result;
  };
  const TRow rows[] = {
      {"enter", 0, mrOk}, {"escape", 0, mrCancel}, {"close", 0, mrCancel}, {"retry", 0, 4}, {"enter", 1, mrOk},
      // The edit's OnKeyDown hears Enter before the dialog keys do, and keeps it.
      {"enter kept", 0, mrCancel},
  };
  TForm owner(nullptr, "owner");
  owner.SetBounds(0, 0, 300, 120);
  Place<TEdit>(owner, {10, 10, 130, 31});
  auto* second = Place<TEdit>(owner, {10, 40, 130, 61});
  owner.Show();
  second->SetFocus();
  uikit::RunUntilIdle();
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.how);
    TForm dialog(nullptr, "dialog");
    dialog.BorderStyle = TFormBorderStyle::bsDialog;
    dialog.Position = TPosition::poScreenCenter;
    dialog.SetBounds(0, 0, 260, 120);
    auto* edit = Place<TEdit>(dialog, {10, 10, 130, 31});
    auto* ok = Place<TButton>(dialog, {10, 50, 85, 75});
    auto* cancel = Place<TButton>(dialog, {90, 50, 165, 75});
    auto* retry = Place<TButton>(dialog, {170, 50, 245, 75});
    ok->SetCaption("&Ok");
    ok->SetDefault(true);
    ok->ModalResult = mrOk;
    cancel->SetCaption("&Cancel");
    cancel->Cancel = true;
    cancel->ModalResult = mrCancel;
    retry->SetCaption("&Retry");
    retry->ModalResult = 4;
    int refusals = row.refusals, queries = 0;
    dialog.OnCloseQuery = [&](TObject*, bool& canClose) {
      ++queries;
      canClose = refusals-- <= 0;
    };
    int entersSeen = 0;
    edit->OnKeyDown = [&](TObject*, int& key, TShiftState) {
      if (key != VK_RETURN) return;
      ++entersSeen;
      if (std::string(row.how) == "enter kept") key = 0;
    };
    bool ownerDisabled = false;
    dialog.OnShow = [&](TObject*) {
      ownerDisabled = !IsWindowEnabled(owner.Handle());
      // Queued for the modal loop, once more for each refusal.
      const std::string how = row.how;
      for (int i = 0; i <= row.refusals; ++i) {
        if (how.starts_with("enter")) uikit::PostKey(edit->Handle(), VK_RETURN);
        if (how == "enter kept") PostMessageA(dialog.Handle(), WM_CLOSE, 0, 0);
        if (how == "escape") uikit::PostKey(edit->Handle(), VK_ESCAPE);
        if (how == "close") PostMessageA(dialog.Handle(), WM_CLOSE, 0, 0);
        if (how == "retry") uikit::PostClick(retry->Handle(), {5, 5});
      }
    };
    EXPECT_EQ(dialog.ShowModal(), row.result);
    EXPECT_TRUE(ownerDisabled);
    EXPECT_TRUE(IsWindowEnabled(owner.Handle()));
    uikit::RunUntilIdle();
    EXPECT_EQ(GetFocus(), second->Handle()) << "the owner's control that had the keyboard has it again";
    EXPECT_FALSE(dialog.Visible());
    EXPECT_EQ(queries, row.refusals + 1);
    EXPECT_EQ(entersSeen, std::string(row.how).starts_with("enter") ? row.refusals + 1 : 0);
  }
}

TEST(GdiCanvas, DrawsFillsXorLinesAndCopiesOntoItself) {
  TBitmap bitmap(40, 30);
  TCanvas& canvas = bitmap.Canvas();
  canvas.Brush.Color = clWhite;
  canvas.FillRect({0, 0, 40, 30});
  canvas.Brush.Color = clRed;
  canvas.FillRect({2, 2, 6, 6});
  EXPECT_EQ(canvas.GetPixel(3, 3), clRed);
  EXPECT_EQ(canvas.GetPixel(6, 6), clWhite);  // right and bottom edges lie outside

  // A not-XOR line shows on white and a second one at the same place removes it.
  canvas.Pen.Color = clRed;
  canvas.Pen.Mode = TPenMode::pmNotXor;
  canvas.MoveTo(0, 20);
  canvas.LineTo(40, 20);
  EXPECT_NE(canvas.GetPixel(10, 20), clWhite);
  canvas.MoveTo(0, 20);
  canvas.LineTo(40, 20);
  EXPECT_EQ(canvas.GetPixel(10, 20), clWhite);
  canvas.Pen.Mode = TPenMode::pmCopy;

  // Scrolling by copying the bitmap onto itself, down by 4 rows.
  canvas.CopyRect({0, 4, 40, 30}, canvas, {0, 0, 40, 26});
  EXPECT_EQ(canvas.GetPixel(3, 7), clRed);
  EXPECT_EQ(canvas.GetPixel(3, 9), clRed);
  EXPECT_EQ(canvas.GetPixel(3, 10), clWhite);

  // System colours resolve through the system; a checkerboard alternates its two colours.
  canvas.Brush.Color = clBtnFace;
  canvas.FillRect({30, 0, 40, 4});
  EXPECT_EQ(canvas.GetPixel(35, 1), GetSysColor(COLOR_BTNFACE));
  canvas.Brush = {clNavy, TBrushStyle::bsChecker, clSilver};
  canvas.FillRect({20, 24, 28, 28});
  EXPECT_NE(canvas.GetPixel(20, 24), canvas.GetPixel(21, 24));
  EXPECT_EQ(canvas.GetPixel(20, 24), canvas.GetPixel(21, 25));
  for (int x : {20, 21}) EXPECT_TRUE(canvas.GetPixel(x, 24) == clNavy || canvas.GetPixel(x, 24) == clSilver);

  // A raised 3D frame: light along the top and left, dark along the bottom and
  // right, the dark edges owning the two far corners; the rectangle shrinks.
  TRect frame{10, 0, 20, 8};
  Frame3D(canvas, frame, clWhite, clBlack, 2);
  EXPECT_EQ(frame, (TRect{12, 2, 18, 6}));
  const std::pair<TPoint, TColor> pixels[] = {{{10, 0}, clWhite}, {{19, 0}, clBlack}, {{10, 7}, clBlack},
                                              {{19, 7}, clBlack}, {{11, 1}, clWhite}, {{18, 6}, clBlack}};
  for (const auto& [p, color] : pixels) EXPECT_EQ(canvas.GetPixel(p.x, p.y), color) << p.x << "," << p.y;
}

TEST(Bitmap, SavesAndLoadsBmpFilesAndRefusesDamagedOnes) {
  char dir[MAX_PATH];
  GetTempPathA(MAX_PATH, dir);
  const std::string path = std::string(dir) + "classlib_bitmap" + std::to_string(GetCurrentProcessId()) + ".bmp";
  {
    TBitmap bitmap(7, 5);
    bitmap.Canvas().Brush.Color = clBlue;
    bitmap.Canvas().FillRect({0, 0, 7, 5});
    bitmap.Canvas().SetPixel(6, 0, clLime);
    ASSERT_TRUE(bitmap.SaveToFile(path));
  }
  TBitmap loaded;
  std::string error;
  ASSERT_TRUE(loaded.LoadFromFile(path, &error)) << error;
  EXPECT_EQ(loaded.Width(), 7);
  EXPECT_EQ(loaded.Height(), 5);
  EXPECT_EQ(loaded.Canvas().GetPixel(6, 0), clLime);
  EXPECT_EQ(loaded.Canvas().GetPixel(0, 4), clBlue);

  // Cut short: refused, and the bitmap keeps what it had.
  std::string bytes;
  {
    std::ifstream in(path, std::ios::binary);
    bytes.assign(std::istreambuf_iterator<char>(in), {});
  }
  for (size_t keep : {size_t{0}, size_t{20}, size_t{60}, bytes.size() - 1}) {
    std::ofstream(path, std::ios::binary | std::ios::trunc).write(bytes.data(), static_cast<std::streamsize>(keep));
    EXPECT_FALSE(loaded.LoadFromFile(path, &error)) << keep;
    EXPECT_EQ(loaded.Width(), 7);
    EXPECT_EQ(loaded.Canvas().GetPixel(6, 0), clLime);
  }
  std::remove(path.c_str());
}

}  // namespace
}  // namespace classlib
