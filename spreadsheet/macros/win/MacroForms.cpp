// The macro menu and the input box.
#include "spreadsheet/macros/win/MacroForms.h"

#include <algorithm>

#include "classlib/win/Application.h"

namespace corvane {

using classlib::TFormBorderStyle;
using classlib::TMouseButton;
using classlib::TObject;
using classlib::TPosition;
using classlib::TShiftState;

namespace {

constexpr int kTitleHeight = 18;

// The widest of `texts` in the window's font, in pixels.
int WidestText(HWND window, const std::vector<std::string>& texts) {
  HDC dc = GetDC(window);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(window, WM_GETFONT, 0, 0)));
  int widest = 0;
  for (const std::string& text : texts) {
    SIZE size{};
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    widest = std::max(widest, static_cast<int>(size.cx));
  }
  SelectObject(dc, old);
  ReleaseDC(window, dc);
  return widest;
}

bool AnyText(const std::vector<std::string>& texts) {
  return std::any_of(texts.begin(), texts.end(), [](const std::string& t) { return !t.empty(); });
}

}  // namespace

TMmenu::TMmenu(classlib::TComponent* AOwner) : TForm(AOwner, kMacroMenuCaption) {
  BorderStyle = TFormBorderStyle::bsNone;
  Position = TPosition::poScreenCenter;
  KeyPreview = true;
  SetBounds(0, 0, 108, 120);
  Panel1.SetParent(this);
  Panel1.SetBevelOuter(classlib::TBevelCut::bvNone);
  Panel1.SetBorderWidth(1);
  Panel2.SetParent(&Panel1);
  Panel2.SetText(kMacroMenuTitle);
  ttabmenu1.SetParent(&Panel1);
  ttabmenu1.Model().SetMargin(kMenuMargin);
  Panel3.SetParent(&Panel1);
  Panel3.SetBevelOuter(classlib::TBevelCut::bvNone);
  Panel3.SetText("");
  ttabmenu1.Model().OnChange = [this] { ShowDescription(); };
  OnActivate = [this](TObject*) { FormActivate(); };
  OnKeyDown = [this](TObject*, int& Key, TShiftState) {
    if (Key == VK_RETURN) {
      choice_ = values_.Chosen(ttabmenu1.ItemIndex());
    } else if (Key == VK_ESCAPE) {
      choice_ = values_.Cancelled();
    } else {
      return;
    }
    SetModalResult(choice_);
    Key = 0;
  };
  // A click on an item chooses it.
  ttabmenu1.Model().OnEnterkey = [this] {
    choice_ = values_.Chosen(ttabmenu1.ItemIndex());
    SetModalResult(choice_);
  };
  Panel2.OnMouseDown = [this](TObject*, TMouseButton, TShiftState, int X, int Y) { Panel2MouseDown(X, Y); };
  Panel2.OnMouseMove = [this](TObject*, TShiftState, int X, int Y) { Panel2MouseMove(X, Y); };
  Panel2.OnMouseUp = [this](TObject*, TMouseButton, TShiftState, int X, int Y) { Panel2MouseUp(X, Y); };
}

int TMmenu::Choose(const std::vector<std::string>& items, const std::vector<std::string>& descriptions) {
  values_.items = items;
  descriptions_ = descriptions;
  ttabmenu1.SetItems(items);
  ttabmenu1.Model().Hints = descriptions;
  choice_ = values_.Cancelled();  // whatever closes the menu without a choice
  ShowModal();
  return choice_;
}

void TMmenu::FormActivate() {
  const int listWidth = ttabmenu1.Maxwidth();
  const int listHeight = ttabmenu1.Maxheight();
  const int nonClientHeight = Height() - ClientHeight();
  // The description strip, when any item has a description, is as wide as
  // the widest of them.
  const int strip = AnyText(descriptions_) ? kTitleHeight : 0;
  const int width = std::max(values_.FormWidth(listWidth), strip > 0 ? WidestText(Panel3.Handle(), descriptions_) + 16 : 0);
  const int height = values_.FormHeight(listHeight, nonClientHeight) + strip;
  SetBounds(Left(), Top(), width, height);
  Panel1.SetBounds(0, 0, ClientWidth(), ClientHeight());
  Panel2.SetBounds(1, 1, ClientWidth() - 2, kTitleHeight);
  ttabmenu1.SetBounds(kMenuMargin / 2, kTitleHeight + 2, ClientWidth() - kMenuMargin,
                      ClientHeight() - kTitleHeight - 2 - kMenuMargin / 2 - strip);
  Panel3.SetBounds(1, ClientHeight() - strip - 1, ClientWidth() - 2, strip);
  Panel3.SetVisible(strip > 0);
  if (!values_.items.empty()) ttabmenu1.SetItemIndex(0);
  ShowDescription();
  ttabmenu1.SetFocus();
}

void TMmenu::ShowDescription() {
  const int i = ttabmenu1.ItemIndex();
  Panel3.SetText(i >= 0 && i < static_cast<int>(descriptions_.size()) ? descriptions_[static_cast<std::size_t>(i)] : "");
}

void TMmenu::DrawOutline() {
  // A focus rectangle on the screen inverts what is under it, so drawing it
  // again at the same place erases it.
  HDC dc = GetDC(nullptr);
  DrawFocusRect(dc, &outline_);
  ReleaseDC(nullptr, dc);
}

void TMmenu::Panel2MouseDown(int X, int Y) {
  downPoint_ = POINT{X, Y};
  ClientToScreen(Panel2.Handle(), &downPoint_);
  lastPoint_ = downPoint_;
  GetWindowRect(Handle(), &outline_);
  dragging_ = true;
  SetCapture(Panel2.Handle());
  DrawOutline();
}

void TMmenu::Panel2MouseMove(int X, int Y) {
  if (!dragging_) return;
  POINT p{X, Y};
  ClientToScreen(Panel2.Handle(), &p);
  DrawOutline();
  OffsetRect(&outline_, p.x - lastPoint_.x, p.y - lastPoint_.y);
  lastPoint_ = p;
  DrawOutline();
}

void TMmenu::Panel2MouseUp(int X, int Y) {
  if (!dragging_) return;
  dragging_ = false;
  ReleaseCapture();
  DrawOutline();
  POINT p{X, Y};
  ClientToScreen(Panel2.Handle(), &p);
  SetBounds(Left() + p.x - downPoint_.x, Top() + p.y - downPoint_.y, Width(), Height());
  classlib::Application().ProcessMessages();
}

TLbinput::TLbinput(classlib::TComponent* AOwner) : TForm(AOwner, kInputBoxCaption) {
  BorderStyle = TFormBorderStyle::bsDialog;
  Position = TPosition::poScreenCenter;
  SetBounds(0, 0, 260, 100);
  Edit1.SetParent(this);
  Edit1.SetBounds(10, 12, 234, 22);
  Button1.SetParent(this);
  Button1.SetText("&Ok");
  Button1.SetBounds(92, 42, 75, 25);
  Button1.SetDefault(true);
  Button1.ModalResult = classlib::mrOk;
  OnActivate = [this](TObject*) { Edit1.SetFocus(); };
  // Esc closes the box without an answer, as a close does.
  KeyPreview = true;
  OnKeyDown = [this](TObject*, int& Key, TShiftState) {
    if (Key != VK_ESCAPE) return;
    SetModalResult(classlib::mrCancel);
    Key = 0;
  };
}

void TLbinput::CreateParams(TCreateParams& Params) {
  TForm::CreateParams(Params);
  Params.Style &= ~static_cast<DWORD>(WS_SYSMENU);  // no border icons
}

std::optional<std::string> TLbinput::Ask(const std::string& text) {
  Edit1.SetText(text);
  int result = ShowModal();
  values_.Apply(result == classlib::mrOk, Edit1.Text());
  return values_.answer;
}

}  // namespace corvane
