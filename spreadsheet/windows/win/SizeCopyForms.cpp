// The width-or-height and special copy dialogs' forms.
#include "spreadsheet/windows/win/SizeCopyForms.h"

#include "classlib/win/Application.h"
#include "spreadsheet/engine/WindowServices.h"

namespace corvane {

using namespace classlib;

namespace {

constexpr int kDialogWidth = 320;
constexpr int kFieldWidth = 200;

// A number field evaluates what was typed when it is left.
void SettleOnExit(TPEdit& field) {
  field.OnExit = [&field](TObject*) {
    std::string text = EvaluateNumberField(field.Text());
    if (text != field.Text()) field.SetText(text);
  };
}

}  // namespace

// ---- TWideform ----------------------------------------------------------------------

TWideform::TWideform(TWinControl& mainWindow, std::function<TSheetView*()> activeView)
    : TRangeDialog(mainWindow, kWidthHeightCaption), activeView_(std::move(activeView)) {
  auto* top = new TPanel(this);
  top->SetBevelOuter(TBevelCut::bvNone);
  top->SetHeight(62);
  top->SetAlign(alTop);
  top->SetParent(this);
  top->SetTabOrder(0);  // first in Tab order, as it is on the form
  tabbar1 = new tabbar(this);
  tabbar1->SetBounds(4, 4, 200, 22);
  tabbar1->Model().SetMax(2);
  tabbar1->Model().SetBody(196);
  // The tabs' letters stay clear of Cancel's C and the row page's Reset R.
  tabbar1->Model().SetItems({"Co&lumn ", "&Row"});
  tabbar1->Model().SetItemIndex(0);
  tabbar1->Model().OnChange = [this] {
    int index = tabbar1->Model().ItemIndex();
    if (index >= 0) notebook_->SetPageIndex(index);
  };
  tabbar1->SetParent(top);
  PEdit1 = &AddField(*top, 32, kFieldWidth, 100, "R&ange: ");
  PEdit1->Edit().OnDblClick = [this](TObject*) { PromptFor(*PEdit1, kWidthPromptCaption); };

  TPage& width = notebook_->AddPage("Width");
  PEdit4 = NumberField(width, 8, "&Width: ", 1);
  PEdit5 = NumberField(width, 36, "&Skip Columns: ", 1);
  cb1 = Box(width, 24, "&Global:", 1);
  cbcolreset = Box(width, 140, "R&eset:", 1);
  TPage& height = notebook_->AddPage("Height");
  PEdit2 = NumberField(height, 8, "&Height: ", 2);
  PEdit3 = NumberField(height, 36, "&Skip Rows: ", 2);
  cb2 = Box(height, 24, "&Global:", 2);
  cbrowht = Box(height, 140, "R&eset:", 2);
}

TPEdit* TWideform::NumberField(TWinControl& page, int top, const char* caption, unsigned bit) {
  TPEdit& field = AddField(page, top, kFieldWidth, 100, caption);
  SettleOnExit(field);
  field.OnMod = [this, bit](TObject*) {
    if (!loading_) values_.changed |= bit;
  };
  return &field;
}

TCheckBox* TWideform::Box(TWinControl& page, int left, const char* caption, unsigned bit) {
  auto* box = new TCheckBox(&page);
  box->SetCaption(caption);
  box->SetBounds(left, 68, 100, 18);
  box->SetParent(&page);
  box->OnClick = [this, bit](TObject*) { values_.changed |= bit; };
  return box;
}

void TWideform::Open(int page) {
  tabbar1->Model().SetItemIndex(page);
  values_.Open();
  ShowPage(page, kDialogWidth, 220);
}

void TWideform::FirstActivation() {
  FromControls();
  TRange selection;
  WindowServices().GetGridSelection(selection);
  values_.Activate(selection);
  ToControls();
  PEdit1->Edit().SetFocus();
}

void TWideform::OkClick() {
  FromControls();
  HideDialog();
  Application().ProcessMessages();
  values_.Apply([this](bool columns, int pixels) {
    TSheetView* view = activeView_();
    if (view == nullptr) return;
    for (int pane : {1, 2}) {
      if (columns)
        view->Pane(pane).SetDefWidth(pixels);
      else
        view->Pane(pane).SetDefHeight(pixels);
    }
  });
}

void TWideform::ToControls() {
  loading_ = true;
  PEdit1->SetText(values_.rangeText);
  PEdit4->SetText(values_.widthText);
  PEdit5->SetText(values_.skipColumnsText);
  cb1->SetChecked(values_.globalWidth);
  cbcolreset->SetChecked(values_.resetWidth);
  PEdit2->SetText(values_.heightText);
  PEdit3->SetText(values_.skipRowsText);
  cb2->SetChecked(values_.globalHeight);
  cbrowht->SetChecked(values_.resetHeight);
  loading_ = false;
}

void TWideform::FromControls() {
  values_.rangeText = PEdit1->Text();
  values_.widthText = PEdit4->Text();
  values_.skipColumnsText = PEdit5->Text();
  values_.globalWidth = cb1->Checked();
  values_.resetWidth = cbcolreset->Checked();
  values_.heightText = PEdit2->Text();
  values_.skipRowsText = PEdit3->Text();
  values_.globalHeight = cb2->Checked();
  values_.resetHeight = cbrowht->Checked();
}

// ---- Tcopydlg -------------------------------------------------------------------------

namespace {

// The copy mode of each radio button, in their order.
constexpr std::array<int, 5> kCopyModes = {kCopyValues, kCopyTranspose, kCopyInvert, kCopyFormulas, kCopyScale};

}  // namespace

Tcopydlg::Tcopydlg(TWinControl& mainWindow) : TRangeDialog(mainWindow, kSpecialCopyCaption) {
  TPage& page = notebook_->AddPage("Copy");
  PEdit1 = &AddField(page, 8, kFieldWidth + 60, 60, "&From: ");
  PEdit2 = &AddField(page, 36, kFieldWidth + 60, 60, "&To: ");
  PEdit1->Edit().OnDblClick = [this](TObject*) { PromptFor(*PEdit1, kCopyPromptCaption); };
  PEdit2->Edit().OnDblClick = [this](TObject*) { PromptFor(*PEdit2, kCopyPromptCaption); };
  auto* group = new TGroupBox(&page);
  group->SetBounds(8, 68, 288, 84);
  group->SetCaption("Type of Copy");
  group->SetParent(&page);
  // From and To keep F and T: Transpose and Formula take R and M.
  const char* captions[] = {"&Value", "T&ranspose", "&Invert", "For&mula", "&Scale"};
  for (std::size_t i = 0; i < Types.size(); ++i) {
    Types[i] = new TRadioButton(group);
    int column = i < 3 ? 0 : 1;
    int line = i < 3 ? static_cast<int>(i) : static_cast<int>(i) - 3;
    Types[i]->SetBounds(10 + 120 * column, 18 + 20 * line, column == 0 ? 100 : 64, 18);
    Types[i]->SetCaption(captions[i]);
    Types[i]->SetParent(group);
  }
  Types[0]->SetChecked(true);
  Factor = new TEdit(group);
  Factor->SetBounds(196, 38, 80, 22);
  Factor->SetParent(group);
  // Clicking the factor, or typing one, chooses the scaled copy (passing
  // through it with Tab leaves the choice alone); leaving it evaluates it.
  Factor->OnClick = [this](TObject*) {
    for (TRadioButton* type : Types) type->SetChecked(type == Types[4]);
  };
  Factor->OnChange = [this](TObject* sender) {
    if (!loading_ && Factor->Focused()) Factor->OnClick(sender);
  };
  Factor->OnExit = [this](TObject*) {
    std::string text = EvaluateNumberField(Factor->Text());
    if (text != Factor->Text()) Factor->SetText(text);
  };
  ToControls();
}

void Tcopydlg::Open() {
  values_.reload = true;
  ShowPage(0, kDialogWidth, 230);
}

void Tcopydlg::FirstActivation() {
  FromControls();
  TRange selection;
  WindowServices().GetGridSelection(selection);
  values_.Activate(selection);
  ToControls();
  PEdit1->Edit().SetFocus();
}

void Tcopydlg::OkClick() {
  FromControls();
  HideDialog();
  Application().ProcessMessages();
  values_.Apply();
}

void Tcopydlg::ToControls() {
  loading_ = true;
  PEdit1->SetText(values_.fromText);
  PEdit2->SetText(values_.toText);
  for (std::size_t i = 0; i < Types.size(); ++i) Types[i]->SetChecked(kCopyModes[i] == values_.mode);
  Factor->SetText(values_.factorText);
  loading_ = false;
}

void Tcopydlg::FromControls() {
  values_.fromText = PEdit1->Text();
  values_.toText = PEdit2->Text();
  for (std::size_t i = 0; i < Types.size(); ++i)
    if (Types[i]->Checked()) values_.mode = kCopyModes[i];
  values_.factorText = Factor->Text();
}

}  // namespace corvane
