// The tab strip's window and the "Define Tabs" dialog.
#include "spreadsheet/controls/win/TabBarWindow.h"

#include "classlib/win/Bitmap.h"

namespace corvane {

using namespace classlib;

// ---- TTabdlg ----------------------------------------------------------------------

TTabdlg::TTabdlg(TComponent* AOwner) : TForm(AOwner, "Define Tabs") {
  BorderStyle = TFormBorderStyle::bsDialog;
  Position = TPosition::poScreenCenter;
  SetBounds(0, 0, 260, 300);
  Tabs.SetParent(this);
  Tabs.SetBounds(8, 4, 160, 256);
  Memo1.ScrollBars = TScrollStyle::ssVertical;
  Memo1.SetParent(this);
  Memo1.SetBounds(16, 22, 144, 228);
  Memo1.SetTabStop(true);
  Memo1.OnChange = [this](TObject*) { MemoChanged(); };
  struct {
    TButton& button;
    const char* caption;
    int result;
  } buttons[] = {{Ok, "&Ok", mrOk}, {Reset, "&Reset", mrNone}, {Cancel, "&Cancel", mrCancel}};
  int top = 12;
  for (auto& b : buttons) {
    b.button.SetParent(this);
    b.button.SetCaption(b.caption);
    b.button.ModalResult = b.result;
    b.button.SetBounds(176, top, 68, 25);
    b.button.SetTabStop(true);
    top += 33;
  }
  Ok.SetDefault(true);
  Cancel.Cancel = true;
  Reset.OnClick = [this](TObject*) { Memo1.Clear(); };
  MemoChanged();
}

void TTabdlg::MemoChanged() { Tabs.SetCaption(TabDialogCaption(Memo1.LineCount())); }

std::optional<std::vector<std::string>> TTabdlg::Edit(const std::vector<std::string>& items) {
  Memo1.SetLines(items);
  MemoChanged();
  Memo1.SetFocus();
  if (ShowModal() != mrOk) return std::nullopt;
  return Memo1.Lines();
}

// ---- tabbar -----------------------------------------------------------------------------

tabbar::tabbar(TComponent* AOwner) : TModelWindow(AOwner) {
  SetBounds(0, 0, 20, 20);
  SetTabStop(true);
  scroll_.SetParent(this);
  scroll_.SetVisible(false);
  scroll_.SetRange(0, 7);
  scroll_.OnChange = [this](TObject*) { model_.ScrollTo(scroll_.Position()); };
  scroll_.OnEnter = [this](TObject*) { SetFocus(); };
  model_.Font = Font();
  model_.OnDefineTabs = [this](const std::vector<std::string>& items) {
    TTabdlg dialog(nullptr);
    dialog_ = &dialog;
    auto result = dialog.Edit(items);
    dialog_ = nullptr;
    return result;
  };
}

void tabbar::SetFont(const TFont& value) {
  TModelWindow::SetFont(value);
  model_.Font = value;
  model_.Remeasure();
  Invalidate();
}

void tabbar::CreateParams(TCreateParams& Params) {
  TModelWindow::CreateParams(Params);
  Params.ClassName = "tabbar";
}

// Drawn on a bitmap and copied, so the tabs never flicker.
void tabbar::Paint(TCanvas& Canvas) {
  TRect client = ClientRect();
  TBitmap buffer(client.Width(), client.Height());
  buffer.Canvas().Font = Font();
  model_.Paint(buffer.Canvas());
  Canvas.CopyRect(client, buffer.Canvas(), client);
  SyncScrollBar();
}

void tabbar::SyncScrollBar() {
  if (scroll_.Max() != model_.ScrollMax()) scroll_.SetRange(0, model_.ScrollMax());
  if (scroll_.Position() != model_.FirstVisible()) scroll_.SetPosition(model_.FirstVisible());
  if (scroll_.Visible() != model_.ScrollBarVisible()) scroll_.SetVisible(model_.ScrollBarVisible());
}

void tabbar::Resize() {
  Invalidate();
  scroll_.SetBounds(4, Height() - 16, 25, 12);
  TModelWindow::Resize();
}

void tabbar::KeyPress(char& Key) {
  model_.KeyPress(Key);
  Key = 0;
}

void tabbar::DoEnter() {
  model_.FocusChanged(true);
  TModelWindow::DoEnter();
}

void tabbar::DoExit() {
  model_.FocusChanged(false);
  TModelWindow::DoExit();
}

// Arrows and characters come to the tab strip; Tab, Enter and Escape go on
// to the dialog it is on, so that the keyboard can leave it and close the
// dialog.
LRESULT tabbar::DialogCode(TMessage&) { return DLGC_WANTARROWS | DLGC_WANTCHARS; }

}  // namespace corvane
