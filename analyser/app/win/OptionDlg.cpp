// The options dialog and the About box.
#include "analyser/app/win/OptionDlg.h"

#include "analyser/app/win/FormLayout.h"
#include "classlib/win/Application.h"

namespace foldwick {

namespace {

constexpr int kHelpContext = 7;
constexpr char kMailAddress[] = "mailto:support@brassel-software.example";

// The program's icon, drawn as it is.
class TIconImage : public classlib::TWinControl {
 public:
  TIconImage(classlib::TComponent* owner, HICON icon) : classlib::TWinControl(owner), icon_(icon) {}

 protected:
  void PaintWindow(HDC dc) override { DrawIcon(dc, 0, 0, icon_); }

 private:
  HICON icon_;
};

}  // namespace

// ---- TOptionDlg ----

TOptionDlg::TOptionDlg(classlib::TComponent* AOwner, const TOptionValues& values, bool canRescan)
    : classlib::TForm(AOwner, "Kestrum Pro - Options"),
      canRescan_(canRescan),
      initialFilter_(values.filterText),
      initialColumns_(values.columns) {
  BorderStyle = classlib::TFormBorderStyle::bsDialog;
  Position = classlib::TPosition::poScreenCenter;
  SetClientSize(400, 330);

  pages_ = Place(new TPageControl(this), *this, 8, 8, 384, 276);
  BuildViewPage(pages_->AddPage("View"), values);
  BuildScanPage(pages_->AddPage("Scan"), values);
  BuildColumnsPage(pages_->AddPage("Columns"), values);

  okButton_ = MakeButton(this, *this, "OK", 152, 296, 76);
  okButton_->ModalResult = classlib::mrOk;
  okButton_->SetDefault(true);
  auto* cancel = MakeButton(this, *this, "Cancel", 234, 296, 76);
  cancel->ModalResult = classlib::mrCancel;
  cancel->Cancel = true;
  MakeButton(this, *this, "&Help", 316, 296, 76, [this](classlib::TObject*) {
    WinHelpA(Handle(), classlib::Application().HelpFile.c_str(), HELP_CONTEXT, kHelpContext);
  });

  // Ctrl+Tab turns the pages from any control.
  KeyPreview = true;
  OnKeyDown = [this](classlib::TObject*, int& key, classlib::TShiftState shift) {
    if (pages_->PageKey(key, shift)) key = 0;
  };

  // The column checks need the list's window.
  OnShow = [this](classlib::TObject*) {
    for (int i = 0; i < columns_->Count() && i < static_cast<int>(initialColumns_.size()); ++i)
      SetItemChecked(*columns_, columns_->Item(i), initialColumns_[static_cast<size_t>(i)].visible);
  };
}

void TOptionDlg::BuildViewPage(classlib::TWinControl& page, const TOptionValues& values) {
  unitType_ = Place(new classlib::TComboBox(this), page, 130, 12, 140, 22);
  unitType_->Style = classlib::TComboBoxStyle::csDropDownList;
  unitType_->SetItems({"MB only", "KB/MB Mixed", "KB only"});
  unitType_->SetItemIndex(values.unitType);
  // V and (on the Scan page) E: S is OK's once it reads "&Scan".
  MakeLabel(this, page, "Show &Values as", 12, 15, 110, unitType_);

  decimals_ = Place(new TSpinEdit(this), page, 130, 44, 60, 22);
  decimals_->MinValue = 0;
  decimals_->MaxValue = 3;
  decimals_->SetValue(values.decimals);
  MakeLabel(this, page, "&Decimals", 12, 47, 110, decimals_);

  boldFactor_ = Place(new TSpinEdit(this), page, 130, 76, 60, 22);
  boldFactor_->MinValue = 0;
  boldFactor_->MaxValue = 100;
  boldFactor_->SetValue(values.boldFactor);
  boldFactor_->OnKeyPress = [](classlib::TObject*, char& key) {
    if (!BoldFactorKeyAllowed(key)) key = 0;
  };
  MakeLabel(this, page, "&Bold Factor", 12, 79, 110, boldFactor_);
  MakeLabel(this, page, "%", 196, 79, 20);

  showFiles_ = MakeCheck(this, page, "Show &Files", 12, 116, values.showFiles);
  chartToolBar_ = MakeCheck(this, page, "Show &Chart Toolbar", 12, 142, values.chartToolBar);
}

void TOptionDlg::BuildScanPage(classlib::TWinControl& page, const TOptionValues& values) {
  filter_ = Place(new classlib::TEdit(this), page, 90, 12, 270, 22);
  filter_->SetText(values.filterText);
  filter_->OnChange = [this](classlib::TObject*) {
    if (filter_->Text() != initialFilter_) OfferRescan();
  };
  MakeLabel(this, page, "&Filter(s):", 12, 15, 76, filter_);

  auto* group = Place(new classlib::TGroupBox(this), page, 12, 44, 348, 176);
  group->SetCaption("User Defined &Cluster Size");
  for (int i = 0; i < kClusterSizeItemCount; ++i) {
    cluster_[i] = Place(new classlib::TRadioButton(this), *group, 12, 18 + i * 19, 320, 18);
    cluster_[i]->SetCaption(kClusterSizeItems[i]);
    cluster_[i]->SetChecked(i == values.clusterChoice);
    cluster_[i]->OnClick = [this](classlib::TObject*) { OfferRescan(); };
  }
  showErrors_ = MakeCheck(this, page, "Show &Error Messages", 12, 226, values.showErrors);
}

void TOptionDlg::BuildColumnsPage(classlib::TWinControl& page, const TOptionValues& values) {
  columns_ = Place(new classlib::TListView(this), page, 12, 30, 220, 200);
  MakeLabel(this, page, "&Visible List Columns:", 12, 10, 200, columns_);
  columns_->AddColumn("Column", 190, classlib::TAlignment::taLeftJustify);
  columns_->SetExtendedStyle(LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
  for (const TOptionColumn& c : values.columns) {
    classlib::TListItem* item = columns_->Add();
    item->Caption = c.caption;
    item->Update();
  }
}

void TOptionDlg::OfferRescan() {
  if (canRescan_) okButton_->SetCaption("&Scan");
}

TOptionValues TOptionDlg::Values() const {
  TOptionValues v;
  v.unitType = unitType_->ItemIndex();
  v.decimals = decimals_->Value();
  v.boldFactor = boldFactor_->Value();
  v.showFiles = showFiles_->Checked();
  v.chartToolBar = chartToolBar_->Checked();
  v.filterText = filter_->Text();
  for (int i = 0; i < kClusterSizeItemCount; ++i)
    if (cluster_[i]->Checked()) v.clusterChoice = i;
  v.showErrors = showErrors_->Checked();
  v.columns = initialColumns_;
  for (int i = 0; i < columns_->Count() && i < static_cast<int>(v.columns.size()); ++i)
    v.columns[static_cast<size_t>(i)].visible = ItemChecked(*columns_, columns_->Item(i));
  v.Validate();
  return v;
}

// ---- TAboutBox ----

TAboutBox::TAboutBox(classlib::TComponent* AOwner, const std::string& title, const std::string& version)
    : classlib::TForm(AOwner, "Info") {
  BorderStyle = classlib::TFormBorderStyle::bsDialog;
  Position = classlib::TPosition::poScreenCenter;
  SetClientSize(300, 150);
  HICON icon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1));
  if (icon == nullptr) icon = LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
  Place(new TIconImage(this, icon), *this, 16, 16, 32, 32);

  auto* product = MakeLabel(this, *this, title, 64, 16, 220);
  classlib::TFont bold = product->Font();
  bold.Style |= classlib::fsBold;
  product->SetFont(bold);
  MakeLabel(this, *this, "Version " + version, 64, 38, 220);
  mail_ = Place(new TUrlLabel(this), *this, 64, 66, 220, 16);
  mail_->SetCaption("support@brassel-software.example");
  mail_->URL = std::string(kMailAddress) + "?Subject=" + title + " V" + version;

  auto* ok = MakeButton(this, *this, "OK", 112, 112, 76);
  ok->ModalResult = classlib::mrOk;
  ok->SetDefault(true);
  ok->Cancel = true;
  // The box opens on OK, so that Enter closes it; Tab goes to the link.
  OnShow = [ok](classlib::TObject*) { ok->SetFocus(); };
}

}  // namespace foldwick
