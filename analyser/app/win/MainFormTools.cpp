// The main window's tools: the file search window, the options dialog and
// the About box.
#include "analyser/app/win/MainForm.h"

#include "analyser/app/MainWindowText.h"
#include "analyser/app/OptionValues.h"
#include "analyser/app/ViewSettings.h"
#include "analyser/app/win/OptionDlg.h"
#include "analyser/app/win/ScanTree.h"
#include "analyser/app/win/SearchForm.h"
#include "classlib/win/Application.h"

namespace foldwick {

void TMainForm::OpenSearch() {
  if (searchForm_ == nullptr) searchForm_ = new TSearchForm(this);
  searchForm_->Show();
  if (IsIconic(searchForm_->Handle())) ShowWindow(searchForm_->Handle(), SW_RESTORE);
  SetForegroundWindow(searchForm_->Handle());
}

bool TMainForm::SearchRunning() const { return searchForm_ != nullptr && searchForm_->Searching(); }

void TMainForm::StopSearch() {
  if (searchForm_ == nullptr) return;
  searchForm_->StopButton().Click();
  // A search window still open keeps its place and patterns as when the
  // user closes it.
  if (searchForm_->Visible()) searchForm_->Close();
}

void TMainForm::OptionsCommand() {
  TViewSettings& view = ViewSettings();
  std::vector<std::string> captions;
  std::vector<int> widths;
  for (int i = 0; i < details_->ColumnCount(); ++i) {
    captions.push_back(details_->ColumnCaption(i));
    widths.push_back(details_->ColumnWidth(i));
  }
  const bool chartTool = chart_->HasChart() ? chart_->ToolBar() : settings_.ChartTool;
  const TOptionValues before = OptionValuesFrom(view, chartTool, settings_.ShowErrors, captions, widths);
  TOptionDlg dialog(this, before, !engine_->Roots().empty());
  if (dialog.ShowModal() != classlib::mrOk) return;

  const TOptionValues values = dialog.Values();
  const TOptionChanges changes = ApplyOptionValues(values, view, widths);
  for (int i = 0; i < details_->ColumnCount(); ++i)
    if (details_->ColumnWidth(i) != widths[static_cast<size_t>(i)]) details_->SetColumnWidth(i, widths[static_cast<size_t>(i)]);
  settings_.ChartTool = values.chartToolBar;
  if (chart_->HasChart()) chart_->SetToolBar(values.chartToolBar);
  settings_.ShowErrors = values.showErrors;
  engine_->EnumOwner = settings_.ShowErrors ? Handle() : nullptr;
  for (int u = kUnitMB; u <= kUnitKB; ++u) unitItems_[u]->Checked = u == view.Format.unitType;

  const TRootOption action = RootOptionOf(dialog.ScanRequested(), changes);
  {
    classlib::TWaitCursor wait;
    std::vector<std::shared_ptr<TScanRoot>> roots(engine_->Roots().begin(), engine_->Roots().end());
    for (const auto& root : roots) {
      if (root->rootNode == nullptr) continue;
      switch (action) {
        case TRootOption::kRescan:
          ApplyClusterChoice(values.clusterChoice, root->fileSystem, root->clusterSize);
          engine_->RescanBranch(root->rootNode);
          break;
        case TRootOption::kRefreshTexts:
          RefreshTexts(root->rootNode);
          BoldLargeFolders(root->rootNode);
          break;
        case TRootOption::kApplyShowFiles:
          ApplyShowFiles(root->rootNode);
          SortBranch(root->rootNode);
          break;
        case TRootOption::kNothing:
          break;
      }
    }
  }
  classlib::Application().ProcessMessages();
  UpdateCaption();
  StatusUpdate(true);
}

void TMainForm::AboutCommand() {
  TAboutBox box(this, kApplicationTitle, kVersionText);
  box.ShowModal();
}

}  // namespace foldwick
