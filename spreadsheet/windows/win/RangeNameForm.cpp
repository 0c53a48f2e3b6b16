// The range-name dialog's form.
#include "spreadsheet/windows/win/RangeNameForm.h"

#include "spreadsheet/engine/EngineError.h"
#include "spreadsheet/engine/EnginePlatform.h"
#include "spreadsheet/engine/RangePrompt.h"
#include "spreadsheet/engine/ShowError.h"
#include "spreadsheet/engine/WindowServices.h"

namespace corvane {

using namespace classlib;

namespace {

void PlaceButton(TButton& button, TForm* form, const char* caption, int y) {
  button.SetParent(form);
  button.SetCaption(caption);
  button.SetBounds(252, y, 80, 25);
}

}  // namespace

TRangeDlg::TRangeDlg(TComponent* AOwner) : TForm(AOwner, kRangeNameCaption) {
  BorderStyle = TFormBorderStyle::bsDialog;
  Position = TPosition::poScreenCenter;
  SetBounds(0, 0, 350, 260);
  nameLabel_.SetParent(this);
  nameLabel_.SetCaption("&Name: ");
  nameLabel_.SetBounds(12, 14, 56, 16);
  NameEdit.SetParent(this);
  NameEdit.SetBounds(72, 10, 168, 22);
  NameEdit.SetMaxLength(20);
  nameLabel_.SetFocusControl(&NameEdit);
  rangeLabel_.SetParent(this);
  rangeLabel_.SetCaption("&Range: ");
  rangeLabel_.SetBounds(12, 42, 56, 16);
  RangeEdit.SetParent(this);
  RangeEdit.SetBounds(72, 38, 168, 22);
  rangeLabel_.SetFocusControl(&RangeEdit);
  Names.SetParent(this);
  Names.SetBounds(12, 68, 228, 130);
  Total.SetParent(this);
  Total.SetBounds(12, 204, 228, 16);
  PlaceButton(Create, this, "&Create", 10);
  PlaceButton(Delete, this, "&Delete", 40);
  PlaceButton(Reset, this, "R&eset...", 70);
  PlaceButton(Build, this, "&Build ...", 100);
  PlaceButton(Table, this, "&Table ...", 130);
  PlaceButton(Ok, this, "&Ok", 190);
  Ok.SetDefault(true);
  Ok.Cancel = true;

  Names.OnClick = [this](TObject*) {
    values_.Pick(Names.ItemIndex());
    ToControls();
  };
  Create.OnClick = [this](TObject*) {
    FromControls();
    if (!values_.Create()) {
      if (ErrorFlagSet() && !ErrorMessage().empty()) ShowError(ErrorMessage());
      ClearErrorFlag();
      EnginePlatform().MessageBeep();
    }
    ToControls();
  };
  Delete.OnClick = [this](TObject*) {
    FromControls();
    if (!values_.Delete()) EnginePlatform().MessageBeep();
    ToControls();
  };
  Reset.OnClick = [this](TObject*) {
    if (MessageBoxA(Handle(), kResetNamesQuestion, kRangeNameCaption, MB_YESNO | MB_ICONQUESTION) != IDYES) return;
    values_.Reset();
    ToControls();
  };
  Build.OnClick = [this](TObject*) {
    Prompt("Build Names: Specify Range", false, [](std::string_view text) { RangeNameBuildFromText(text); });
  };
  Table.OnClick = [this](TObject*) {
    Prompt("Name Table: Specify Range", false, [](std::string_view text) { RangeNameTableFromText(text); });
  };
  RangeEdit.OnDblClick = [this](TObject*) {
    Prompt(kSpecifyRangeCaption, true, [this](std::string_view text) { values_.rangeText = std::string(text); });
  };
  Ok.OnClick = [this](TObject*) { Hide(); };
}

void TRangeDlg::Open() {
  TRange selection;
  WindowServices().GetGridSelection(selection);
  values_.Activate(selection);
  ToControls();
  Show();
  NameEdit.SetFocus();
  NameEdit.SelectAll();
}

void TRangeDlg::ToControls() {
  NameEdit.SetText(values_.name);
  RangeEdit.SetText(values_.rangeText);
  if (Names.Items() != values_.names) Names.SetItems(values_.names);
  Total.SetCaption(values_.TotalText());
}

void TRangeDlg::FromControls() {
  values_.name = NameEdit.Text();
  values_.rangeText = RangeEdit.Text();
}

void TRangeDlg::Prompt(const char* caption, bool callBackOnCancel, std::function<void(std::string_view)> done) {
  FromControls();
  TRange preset = values_.PromptPreset();
  Hide();
  bool started = RangePromptStart(
      caption,
      [this, done](std::string_view text) {
        done(text);
        if (ErrorFlagSet() && !ErrorMessage().empty()) ShowError(ErrorMessage());
        ClearErrorFlag();
        values_.LoadNames();
        ToControls();
        Show();
        return true;
      },
      preset);
  if (!started) {
    Show();
    return;
  }
  RangePromptSetCallBackOnCancel(callBackOnCancel);
}

}  // namespace corvane
