// TAuditDlg, "Audit Cell References": a tab bar over four pages, the tree of
// a cell's dependents, the overview map of the used area, the chart of cells
// by kind and the cross-reference list of a range, with "&Ok" and "&Print".
// Its content comes from AuditDialog.h; the form shows it and prints it.
#pragma once

#include <vector>

#include "classlib/win/ListView.h"
#include "classlib/win/TreeView.h"
#include "spreadsheet/controls/win/TabBarWindow.h"
#include "spreadsheet/data/win/RangeDialog.h"
#include "spreadsheet/windows/AuditDialog.h"

namespace corvane {

// A box that paints through a function, on the screen or anywhere else.
class TAuditBox : public TOwnDrawnControl {
 public:
  explicit TAuditBox(classlib::TComponent* AOwner) : TOwnDrawnControl(AOwner) {}
  std::function<void(classlib::TCanvas& canvas, int width, int height)> OnDraw;

 protected:
  void Paint(classlib::TCanvas& Canvas) override;
};

class TAuditDlg : public TRangeDialog {
 public:
  enum TAuditPage { kTreePage, kOverviewPage, kStatsPage, kXRefPage };

  explicit TAuditDlg(classlib::TWinControl& mainWindow);
  ~TAuditDlg() override;

  // Shows the dialog; the first time it takes the cursor cell and the
  // selection and builds the pages, later it keeps what they show.
  void Open();
  // Shows `page` (TAuditPage), as a click on its tab does.
  void SelectPage(int page);

  tabbar& Tabs() { return *tabs_; }
  TPEdit& CellField() { return *cell_; }
  TPEdit& DepthField() { return *depth_; }
  TPEdit& RangeField() { return *range_; }
  classlib::TTreeView& Tree() { return *tree_; }
  classlib::TListView& XRefList() { return *xref_; }
  classlib::TLabel& TreeTotals() { return *treeTotals_; }
  classlib::TLabel& OverviewTotals() { return *overviewTotals_; }
  classlib::TButton& PrintButton() { return *print_; }
  const TAuditTree& TreeContent() const { return treeContent_; }

 protected:
  void FirstActivation() override;
  void OkClick() override { HideDialog(); }
  void Cancelled() override {}
  TRange SavedSelection() const override { return saved_; }

 private:
  void BuildTree();
  void BuildXRef();
  void Print();

  TRange saved_;
  bool filled_ = false;
  TAuditTree treeContent_;
  std::vector<classlib::TTreeNode*> treeNodes_;  // one per line of treeContent_
  std::vector<TAuditXRefLine> xrefContent_;
  tabbar* tabs_ = nullptr;
  TPEdit* cell_ = nullptr;
  TPEdit* depth_ = nullptr;
  TPEdit* range_ = nullptr;
  classlib::TTreeView* tree_ = nullptr;
  classlib::TListView* xref_ = nullptr;
  classlib::TLabel* treeTotals_ = nullptr;
  classlib::TLabel* overviewTotals_ = nullptr;
  TAuditBox* overview_ = nullptr;
  TAuditBox* stats_ = nullptr;
  classlib::TButton* print_ = nullptr;
};

// The program's one audit dialog, made on first use (or by the start-up's
// preload) as a window owned by `mainWindow`.
TAuditDlg& AuditDialog(classlib::TWinControl& mainWindow);

}  // namespace corvane
