// The function list, justify and word dialogs' forms and commands.
#include "spreadsheet/windows/win/TextDialogForms.h"

#include <memory>

#include "classlib/win/GdiCanvas.h"
#include "classlib/win/GdiHandles.h"
#include "spreadsheet/data/DataCommon.h"
#include "spreadsheet/engine/EngineError.h"
#include "spreadsheet/engine/EnginePlatform.h"
#include "spreadsheet/engine/RangeText.h"
#include "spreadsheet/engine/WindowServices.h"
#include "spreadsheet/windows/Startup.h"

namespace corvane {

using namespace classlib;

namespace {

TGetFun* gFunctionList = nullptr;
TJustifyDlg* gJustify = nullptr;
TWordDlg* gWord = nullptr;

void PlaceButton(TButton& button, TForm* form, const char* caption, int x, int y) {
  button.SetParent(form);
  button.SetCaption(caption);
  button.SetBounds(x, y, 80, 25);
}

TRange ActiveSelection() {
  TRange selection;
  WindowServices().GetGridSelection(selection);
  return selection;
}

}  // namespace

TTextWidthFn ScreenTextWidth(const TJustifyFont& font) {
  // The screen's DC and a canvas on it, held while the measure is in use.
  struct TMeasure {
    TWindowDCLease dc{nullptr};
    TGdiCanvas canvas{dc.Get()};
  };
  auto measure = std::make_shared<TMeasure>();
  measure->canvas.Font.Name = font.face;
  measure->canvas.Font.SetSize(font.size, measure->canvas.PixelsPerInch());
  return [measure](std::string_view text) { return measure->canvas.TextWidth(text); };
}

// ---- TGetFun -------------------------------------------------------------------

TGetFun::TGetFun(TComponent* AOwner) : TForm(AOwner, kFunctionListCaption) {
  BorderStyle = TFormBorderStyle::bsToolWindow;
  Position = TPosition::poScreenCenter;
  SetBounds(0, 0, 190, 300);
  Edit1.SetParent(this);
  Edit1.SetBounds(6, 6, 164, 22);
  Edit1.SetMaxLength(static_cast<int>(kFunctionListSearchChars));
  ListBox1.SetParent(this);
  ListBox1.SetBounds(6, 32, 164, 230);

  Edit1.OnChange = [this](TObject*) {
    int index = values_.Search(Edit1.Text());
    if (index >= 0 && index != ListBox1.ItemIndex()) ListBox1.SetItemIndex(index);
  };
  Edit1.OnKeyDown = [this](TObject*, int& key, TShiftState) {
    if (key == VK_RETURN) {
      Choose();
      key = 0;
    } else if (key == VK_ESCAPE) {
      SetModalResult(mrCancel);
      key = 0;
    }
  };
  ListBox1.OnKeyDown = Edit1.OnKeyDown;
  ListBox1.OnClick = [this](TObject*) {
    values_.Pick(ListBox1.ItemIndex());
    Edit1.SetText(values_.picked);
  };
  ListBox1.OnDblClick = [this](TObject*) { Choose(); };
  ListBox1.OnMouseDown = [this](TObject*, TMouseButton button, TShiftState, int, int) {
    if (button != TMouseButton::mbRight) return;
    values_.picked.clear();
    SetModalResult(-1);
  };
}

TGetFun::~TGetFun() {
  if (gFunctionList == this) gFunctionList = nullptr;
}

void TGetFun::CreateParams(TCreateParams& Params) {
  TForm::CreateParams(Params);
  Params.ExStyle |= WS_EX_TOPMOST;
}

void TGetFun::Fill() {
  values_.Build();
  SetCaption(values_.Caption());
  ListBox1.SetVisible(false);
  ListBox1.SetItems(values_.entries);
  ListBox1.SetVisible(true);
}

void TGetFun::Choose() {
  values_.Pick(ListBox1.ItemIndex());
  SetModalResult(mrOk);
}

int TGetFun::Execute(int mode) {
  values_.mode = mode;
  Fill();
  OnShow = [this](TObject*) {
    Edit1.SetFocus();
    Edit1.SelectAll();
    int index = values_.Search(Edit1.Text());
    if (index >= 0) ListBox1.SetItemIndex(index);
  };
  return ShowModal();
}

// ---- TJustifyDlg ---------------------------------------------------------------

TJustifyDlg::TJustifyDlg(TComponent* AOwner, const TTextDialogHost& host)
    : TForm(AOwner, kJustifyCaption), host_(host) {
  BorderStyle = TFormBorderStyle::bsDialog;
  Position = TPosition::poScreenCenter;
  SetBounds(0, 0, 300, 160);
  PEdit1 = new TPEdit(this);
  PEdit1->SetBounds(8, 10, 270, 23);
  PEdit1->SetMargin(110);
  PEdit1->SetCaption("&Justify Range: ");
  PEdit1->SetParent(this);
  PEdit2 = new TPEdit(this);
  PEdit2->SetBounds(8, 40, 180, 23);
  PEdit2->SetMargin(110);
  PEdit2->SetCaption("&Width: ");
  PEdit2->SetParent(this);
  Pad.SetParent(this);
  Pad.SetCaption("&Pad:");
  Pad.SetBounds(12, 72, 60, 20);
  PadLabel.SetParent(this);
  PadLabel.SetCaption("Use Spaces Between Words");
  PadLabel.SetBounds(76, 74, 200, 16);
  PlaceButton(Ok, this, "&Ok", 104, 100);
  PlaceButton(Cancel, this, "&Cancel", 196, 100);
  Ok.SetDefault(true);
  Cancel.Cancel = true;

  PEdit2->OnExit = [this](TObject*) {
    FromControls();
    values_.SettleWidth();
    ToControls();
  };
  PEdit1->Edit().OnDblClick = [this](TObject*) { PromptRange(); };
  Ok.OnClick = [this](TObject*) { Finish(true); };
  Cancel.OnClick = [this](TObject*) { Finish(false); };
  OnClose = [this](TObject*, TCloseAction&) { values_.reload = true; };
}

TJustifyDlg::~TJustifyDlg() {
  if (gJustify == this) gJustify = nullptr;
}

void TJustifyDlg::Open() {
  values_.Activate(ActiveSelection(), host_.columnPixels);
  ToControls();
  Show();
  PEdit1->Edit().SetFocus();
}

void TJustifyDlg::ToControls() {
  PEdit1->SetText(values_.rangeText);
  PEdit2->SetText(values_.widthText);
  Pad.SetChecked(values_.pad);
}

void TJustifyDlg::FromControls() {
  values_.rangeText = PEdit1->Text();
  values_.widthText = PEdit2->Text();
  values_.pad = Pad.Checked();
}

void TJustifyDlg::PromptRange() {
  FromControls();
  Hide();
  WindowServices().FocusActiveGrid();
  bool started = StartFieldPrompt(kJustifyPromptCaption, values_.rangeText, values_.saved,
                                  [this](std::string_view text) {
                                    values_.PromptDone(text, host_.columnPixels);
                                    ToControls();
                                    Show();
                                    PEdit1->Edit().SetFocus();
                                  });
  if (!started) Show();
}

void TJustifyDlg::Finish(bool justify) {
  FromControls();
  if (RangeIsValid(values_.saved)) WindowServices().SetGridSelection(values_.saved);
  if (justify) {
    TRange range;
    if (!ParseRange(values_.rangeText, range) || !RangeIsValid(range)) range = values_.saved;
    ClearErrorFlag();
    values_.Apply(ScreenTextWidth(JustifyFontFor(range, host_.sheetFonts())));
    ClearErrorFlag();
  }
  values_.reload = true;
  Hide();
  if (host_.refresh) host_.refresh();
}

// ---- TWordDlg ------------------------------------------------------------------

TWordDlg::TWordDlg(TComponent* AOwner) : TForm(AOwner, kWordCaption) {
  BorderStyle = TFormBorderStyle::bsDialog;
  Position = TPosition::poScreenCenter;
  SetBounds(0, 0, 420, 320);
  Memo1.ScrollBars = TScrollStyle::ssBoth;
  Memo1.SetParent(this);
  Memo1.SetBounds(6, 6, 400, 240);
  PlaceButton(Ok, this, "&Ok", 232, 254);
  PlaceButton(Cancel, this, "&Cancel", 322, 254);
  Ok.ModalResult = mrOk;
  Cancel.ModalResult = mrCancel;
  Cancel.Cancel = true;
}

TWordDlg::~TWordDlg() {
  if (gWord == this) gWord = nullptr;
}

int TWordDlg::Execute() {
  values_.Activate(ActiveSelection());
  Memo1.SetLines(values_.lines);
  OnShow = [this](TObject*) {
    Memo1.SetFocus();
    Memo1.SetSelection(0, 0);
  };
  int result = ShowModal();
  if (result != mrOk) return result;
  values_.lines = Memo1.Lines();
  values_.Apply();
  return result;
}

// ---- Commands ------------------------------------------------------------------

TGetFun& FunctionListDialog(const TTextDialogHost& host) {
  if (gFunctionList == nullptr) gFunctionList = new TGetFun(host.frame);
  return *gFunctionList;
}

TJustifyDlg& JustifyDialog(const TTextDialogHost& host) {
  if (gJustify == nullptr) gJustify = new TJustifyDlg(host.frame, host);
  return *gJustify;
}

TWordDlg& WordDialog(const TTextDialogHost& host) {
  if (gWord == nullptr) gWord = new TWordDlg(host.frame);
  return *gWord;
}

void BindTextDialogCommands(TCommandTable& table, const TTextDialogHost& host) {
  using C = TCommandId;
  auto pick = [host](int mode) {
    return [host, mode](int) {
      TGetFun& dialog = FunctionListDialog(host);
      if (dialog.Execute(mode) == mrOk && !dialog.Picked().empty()) host.insertText(dialog.Picked());
    };
  };
  table.Bind(C::kFunctionPick, pick(kFunctionListFunctions));
  table.Bind(C::kMacroPick, pick(kFunctionListMacros));
  table.Bind(C::kRangeJustify, [host](int) { JustifyDialog(host).Open(); });
  table.Bind(C::kWord, [host](int) {
    if (WordDialog(host).Execute() == mrOk && host.refresh) host.refresh();
  });
}

void PreloadTextDialogs(const TTextDialogHost& host, int level) {
  if (PreloadedAtLevel(TPreloadDialog::kFunctionList, level)) FunctionListDialog(host);
  if (PreloadedAtLevel(TPreloadDialog::kJustify, level)) JustifyDialog(host);
}

}  // namespace corvane
