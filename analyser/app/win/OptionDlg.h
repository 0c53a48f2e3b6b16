// TOptionDlg: the options dialog. Three tabs (View, Scan, Columns) copy a
// TOptionValues into their controls and back; the caller applies the values.
// A change of the filter or the cluster size turns OK into "&Scan" when
// there are scanned folders, which the caller then scans again.
// TAboutBox: the product's name, version, icon and a mail link.
#pragma once

#include "classlib/win/Win32.h"

#include "analyser/app/OptionValues.h"
#include "analyser/components/win/AdvSplitter.h"
#include "analyser/components/win/FormControls.h"
#include "classlib/win/StdCtrls.h"

namespace foldwick {

class TOptionDlg : public classlib::TForm {
 public:
  // `canRescan`: there are scanned folders that a new filter or cluster
  // size would be applied to.
  TOptionDlg(classlib::TComponent* AOwner, const TOptionValues& values, bool canRescan);

  // The values the controls hold, brought into range.
  TOptionValues Values() const;
  // OK reads "&Scan": the scanned folders are to be scanned again.
  bool ScanRequested() const { return okButton_->Caption() == "&Scan"; }

  // The parts, for the tests.
  TPageControl& Pages() { return *pages_; }
  classlib::TCheckBox& ShowFiles() { return *showFiles_; }
  classlib::TEdit& Filter() { return *filter_; }
  classlib::TRadioButton& ClusterChoice(int index) { return *cluster_[index]; }
  TSpinEdit& BoldFactor() { return *boldFactor_; }
  classlib::TButton& OkButton() { return *okButton_; }

 private:
  void BuildViewPage(classlib::TWinControl& page, const TOptionValues& values);
  void BuildScanPage(classlib::TWinControl& page, const TOptionValues& values);
  void BuildColumnsPage(classlib::TWinControl& page, const TOptionValues& values);
  void OfferRescan();

  bool canRescan_;
  std::string initialFilter_;
  std::vector<TOptionColumn> initialColumns_;
  TPageControl* pages_ = nullptr;
  classlib::TComboBox* unitType_ = nullptr;
  TSpinEdit* decimals_ = nullptr;
  TSpinEdit* boldFactor_ = nullptr;
  classlib::TCheckBox* showFiles_ = nullptr;
  classlib::TCheckBox* chartToolBar_ = nullptr;
  classlib::TEdit* filter_ = nullptr;
  classlib::TRadioButton* cluster_[kClusterSizeItemCount] = {};
  classlib::TCheckBox* showErrors_ = nullptr;
  classlib::TListView* columns_ = nullptr;
  classlib::TButton* okButton_ = nullptr;
};

class TAboutBox : public classlib::TForm {
 public:
  TAboutBox(classlib::TComponent* AOwner, const std::string& title, const std::string& version);

  TUrlLabel& MailLink() { return *mail_; }

 private:
  TUrlLabel* mail_ = nullptr;
};

}  // namespace foldwick
