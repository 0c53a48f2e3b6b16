// TTransdlg, the transfer dialog ("Transfer"): the last step of the Import
// and Export commands, with a page for the text import's target, one for an
// export's source and one for the dBase import (target, the file's counts
// and which records). A form without modal run over TTransferDialog, so that
// its range prompts can run on the main window while it is hidden.
#pragma once

#include <array>
#include <string_view>

#include "spreadsheet/data/win/RangeDialog.h"
#include "spreadsheet/files/TransferDialog.h"

namespace corvane {

class TTransdlg : public TRangeDialog {
 public:
  explicit TTransdlg(classlib::TWinControl& mainWindow);
  ~TTransdlg() override;

  // Shows the dialog on `page` (0 import, 1 export, 2 dBase import) for
  // `fileName` and the transfer `type` (TransferDialog.h).
  void Open(int page, std::string_view fileName, int type);

  const TTransferDialog& Values() const { return values_; }
  TPEdit& Field(int page) { return *fields_.at(static_cast<std::size_t>(page)); }
  classlib::TLabel& FileLabel(int page) { return *fileLabels_.at(static_cast<std::size_t>(page)); }
  classlib::TLabel& Fields() { return *fieldCount_; }
  classlib::TLabel& Records() { return *recordCount_; }
  classlib::TRadioButton& AllRecords() { return *all_; }
  classlib::TRadioButton& StartRecord() { return *start_; }
  classlib::TEdit& StartEdit() { return *startEdit_; }
  classlib::TEdit& StopEdit() { return *stopEdit_; }

 protected:
  void FirstActivation() override;
  void OkClick() override;
  void Cancelled() override {}
  TRange SavedSelection() const override { return values_.saved; }

 private:
  void ControlsToValues();

  TTransferDialog values_;
  std::array<TPEdit*, 3> fields_{};
  std::array<classlib::TLabel*, 3> fileLabels_{};
  classlib::TLabel* fieldCount_ = nullptr;
  classlib::TLabel* recordCount_ = nullptr;
  classlib::TRadioButton* all_ = nullptr;
  classlib::TRadioButton* start_ = nullptr;
  classlib::TEdit* startEdit_ = nullptr;
  classlib::TEdit* stopEdit_ = nullptr;
};

// The program's one transfer dialog, made on first use (or by the start-up's
// preload) as a window owned by `mainWindow`.
TTransdlg& TransferDialog(classlib::TWinControl& mainWindow);

}  // namespace corvane
