// The window base under Wine: messages reach the right handlers and objects,
// failures are reported, objects and windows go together, and the GDI canvas
// draws what it is asked to.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "classlib/win/Application.h"
#include "classlib/win/Bitmap.h"
#include "classlib/win/Controls.h"

namespace classlib {
namespace {

// An own-drawn control that writes down what reached it.
class TProbe : public TCustomControl {
 public:
  explicit TProbe(TComponent* AOwner) : TCustomControl(AOwner) {
    SetBounds(10, 10, 120, 80);
    SetTabStop(true);
  }
  std::vector<std::string> Log;
  int Paints = 0;
  bool ThrowOnKey = false;

 protected:
  void Paint(TCanvas& Canvas) override {
    ++Paints;
    Canvas.Brush.Color = clYellow;
    Canvas.FillRect(ClientRect());
  }
  void KeyDown(int& Key, TShiftState Shift) override {
    if (ThrowOnKey) throw std::runtime_error("Key refused");
    Log.push_back("down " + std::to_string(Key) + " shift " + std::to_string(Shift));
    TCustomControl::KeyDown(Key, Shift);
  }
  void KeyPress(char& Key) override { Log.push_back(std::string("char ") + Key); }
  // Arrows and characters are the control's own, not the dialog manager's.
  LRESULT DialogCode(TMessage&) override { return DLGC_WANTARROWS | DLGC_WANTCHARS; }
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override {
    Log.push_back("press " + std::to_string(X) + "," + std::to_string(Y) + (HasCapture() ? " captured" : ""));
  }
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override {
    Log.push_back("release " + std::to_string(X) + "," + std::to_string(Y) + (HasCapture() ? " captured" : ""));
  }
  void Timer(int Id) override {
    Log.push_back("timer " + std::to_string(Id));
    StopTimer(Id);
  }
};

// A system button that hears its own notifications.
class TProbeButton : public TWinControl {
 public:
  explicit TProbeButton(TComponent* AOwner) : TWinControl(AOwner) { SetBounds(140, 10, 80, 24); }
  std::vector<int> Commands;

 protected:
  void CreateParams(TCreateParams& Params) override {
    TWinControl::CreateParams(Params);
    Params.ClassName = "BUTTON";
    Params.SystemClass = true;
    Params.Style |= BS_PUSHBUTTON;
  }
  void ControlCommand(int NotifyCode) override { Commands.push_back(NotifyCode); }
};

void RunMessages() {
  for (int i = 0; i < 5; ++i) {
    Application().ProcessMessages();
    Sleep(5);
  }
}

TEST(WindowBase, MessagesReachTheirHandlersAndChildren) {
  TForm form(nullptr, "window base");
  form.SetBounds(50, 50, 320, 200);
  auto* probe = new TProbe(&form);
  probe->SetParent(&form);
  auto* button = new TProbeButton(&form);
  button->SetParent(&form);
  int created = 0;
  form.OnCreate = [&](TObject*) { ++created; };
  form.Show();
  RunMessages();
  ASSERT_NE(probe->Handle(), nullptr);
  EXPECT_EQ(created, 1);
  EXPECT_GT(probe->Paints, 0);
  EXPECT_EQ(TWinControl::FromHandle(button->Handle()), button);

  probe->SetFocus();
  PostMessageA(probe->Handle(), WM_KEYDOWN, VK_DOWN, 1);
  PostMessageA(probe->Handle(), WM_CHAR, 'x', 1);
  PostMessageA(probe->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 7));
  PostMessageA(probe->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(6, 8));
  probe->StartTimer(3, 10);
  for (int i = 0; i < 20 && probe->Log.size() < 5; ++i) RunMessages();
  EXPECT_EQ(probe->Log, (std::vector<std::string>{"down 40 shift 0", "char x", "press 5,7 captured", "release 6,8",
                                                  "timer 3"}));
  SendMessageA(button->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(button->Commands, std::vector<int>{BN_CLICKED});
}

TEST(WindowBase, AnExceptionInAHandlerIsReportedAndTheWindowLivesOn) {
  TForm form(nullptr, "errors");
  auto* probe = new TProbe(&form);
  probe->SetParent(&form);
  form.Show();
  std::vector<std::string> reported;
  Application().OnException = [&](TObject* sender, const std::exception& e) {
    reported.push_back(e.what());
    EXPECT_EQ(sender, probe);
  };
  probe->ThrowOnKey = true;
  SendMessageA(probe->Handle(), WM_KEYDOWN, VK_F2, 1);
  Application().OnException = nullptr;
  EXPECT_EQ(reported, std::vector<std::string>{"Key refused"});
  EXPECT_TRUE(IsWindow(probe->Handle()));
}

TEST(WindowBase, ObjectsAndWindowsGoTogether) {
  auto* form = new TForm(nullptr, "lifetimes");
  auto* first = new TProbe(form);
  first->SetParent(form);
  auto* second = new TProbe(nullptr);  // on the form, owned by no one
  second->SetParent(form);
  form->Show();
  HWND firstWindow = first->Handle(), secondWindow = second->Handle(), formWindow = form->Handle();
  ASSERT_EQ(form->ControlCount(), 2);

  delete first;  // a control before its parent
  EXPECT_FALSE(IsWindow(firstWindow));
  EXPECT_EQ(form->ControlCount(), 1);
  EXPECT_EQ(form->Controls(0), second);

  delete form;  // the parent with a control it does not own
  EXPECT_FALSE(IsWindow(secondWindow));
  EXPECT_FALSE(IsWindow(formWindow));
  EXPECT_EQ(TWinControl::FromHandle(secondWindow), nullptr);
}

TEST(WindowBase, AlignedChildrenShareTheClientArea) {
  TForm form(nullptr, "align");
  form.SetBounds(0, 0, 300, 200);
  auto* top = new TProbe(&form);
  auto* left = new TProbe(&form);
  auto* client = new TProbe(&form);
  top->SetAlign(alTop);
  left->SetAlign(alLeft);
  client->SetAlign(alClient);
  for (TProbe* p : {top, left, client}) p->SetParent(&form);
  form.SetClientSize(300, 200);
  EXPECT_EQ(top->BoundsRect(), (TRect{0, 0, 300, 80}));
  EXPECT_EQ(left->BoundsRect(), (TRect{0, 80, 120, 200}));
  EXPECT_EQ(client->BoundsRect(), (TRect{120, 80, 300, 200}));
  form.SetClientSize(400, 300);
  EXPECT_EQ(client->BoundsRect(), (TRect{120, 80, 400, 300}));
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

  // System colours resolve through the system.
  canvas.Brush.Color = clBtnFace;
  canvas.FillRect({30, 0, 40, 4});
  EXPECT_EQ(canvas.GetPixel(35, 1), GetSysColor(COLOR_BTNFACE));
}

TEST(Bitmap, SavesAndLoadsBmpFilesAndRefusesDamagedOnes) {
  char dir[MAX_PATH];
  GetTempPathA(MAX_PATH, dir);
  const std::string path = std::string(dir) + "classlib_bitmap.bmp";
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
