// The main window's views of the selected folder (status bar, caption,
// detail list, chart) and the tree commands.
#include <algorithm>
#include <numeric>

#include "analyser/app/ChartFill.h"
#include "analyser/app/MainWindowText.h"
#include "analyser/app/ScanRules.h"
#include "analyser/app/ViewSettings.h"
#include "analyser/app/win/DriveInfo.h"
#include "analyser/app/win/FileLister.h"
#include "analyser/app/win/FileListing.h"
#include "analyser/app/win/MainForm.h"
#include "analyser/app/win/ScanTree.h"
#include "analyser/app/win/ShellText.h"
#include "classlib/win/Application.h"
#include "classlib/win/Dialogs.h"
#include "classlib/win/MenuHandle.h"

namespace foldwick {

using classlib::TListItem;
using classlib::TTreeNode;

namespace {

constexpr int kFolderRow = 3;  // the state index that marks a folder's row
constexpr int kFileRow = 0;

// What a folder's values depend on besides its totals.
TValueContext ContextOf(const TFolderData& data, std::int64_t parentClusters) {
  TValueContext context;
  if (data.ScanRoot) {
    context.clusterSize = data.ScanRoot->clusterSize;
    context.scanRunning = data.ScanRoot->runningScan != nullptr;
  }
  context.parentClusters = parentClusters;
  return context;
}

std::string ValueText(const TFolderTotals& totals, const TValueContext& context, int viewType) {
  const TValueFormat& format = ViewSettings().Format;
  return FormatFolderValue(GetFolderValue(totals, context, viewType, format.unitType), viewType, false, format);
}

// The sub-item texts of a row: size, allocated, objects, wasted, percent of
// parent, last access, last change.
std::vector<std::string> RowTexts(const TFolderData& data, const TValueContext& context) {
  const TFolderTotals totals = data.Counts.Totals();
  return {ValueText(totals, context, kViewSize),      ValueText(totals, context, kViewAllocated),
          ValueText(totals, context, kViewObjects) + "  ", ValueText(totals, context, kViewWasted),
          ValueText(totals, context, kViewPercent),   data.LastAccessText(),
          data.LastChangeText()};
}

TTreeNode* ChildNamed(TTreeNode* node, const std::string& name) {
  for (TTreeNode* c = node->GetFirstChild(); c != nullptr; c = c->GetNextSibling())
    if (TFolderData* d = NodeData(c); d != nullptr && d->GetFolderName() == name) return c;
  return nullptr;
}

std::int64_t CountBelow(TTreeNode* node) {
  std::int64_t count = 0;
  for (TTreeNode* c = node->GetFirstChild(); c != nullptr; c = c->GetNextSibling()) {
    TFolderData* d = NodeData(c);
    if (d != nullptr && d->IsFilesNode) continue;
    count += 1 + CountBelow(c);
  }
  return count;
}

}  // namespace

void TMainForm::TreeChange(TTreeNode* node) {
  toolBar_->SetButtonEnabled(parentButton_, node != nullptr && node->Parent() != nullptr);
  // The commands act on the selection from now on, or on nothing: a node
  // without data is one whose branch is being deleted.
  updateNode_ = NodeData(node) != nullptr ? node : nullptr;
  if (node == nullptr || NodeData(node) == nullptr) {
    StatusUpdate(false);
    ClearDetails();
    return;
  }
  SortChildren(node);
  if (Visible() && !tree_->Focused() && GetActiveWindow() == Handle()) tree_->SetFocus();
  if (node->Parent() != nullptr || node->HasChildren()) {
    StatusUpdate(true);
  } else {
    StatusUpdate(false);
    ClearDetails();
  }
}

void TMainForm::FetchChildIcons(TTreeNode* node) {
  TFolderData* data = NodeData(node);
  if (data == nullptr || data->ChildIconsSet) return;
  // Each child asks the shell for its icons once: a node that stays new
  // while its scan runs is filled again and again meanwhile.
  for (TTreeNode* c : node->Children())
    if (TFolderData* child = NodeData(c); child != nullptr && !child->IconsFetched) RefreshNode(c);
  if (!data->IsNew) data->ChildIconsSet = true;
}

void TMainForm::TreeExpanding(TTreeNode* node, bool& allow) {
  allow = true;
  if (node == nullptr) return;
  SortChildren(node);
  FetchChildIcons(node);
  // Texts of hidden children may predate a change of view or unit. The
  // children are not drawn yet: no drawing to hold off.
  for (TTreeNode* c : node->Children()) SetNodeText(c);
  TScanRoot* root = engine_->RootOfNode(node);
  if (root != nullptr && root->runningScan == nullptr) BoldLargeFolders(node);
}

void TMainForm::TreeContextPopup(TTreeNode* node, classlib::TPoint at, bool& handled) {
  handled = true;
  if (node != nullptr) tree_->SetSelected(node);
  updateNode_ = node;
  POINT screen = {at.x, at.y};
  ClientToScreen(tree_->Handle(), &screen);
  TFolderData* data = NodeData(node);
  LPCITEMIDLIST list = data != nullptr && !data->IsFilesNode ? data->IdList() : nullptr;
  if (list != nullptr && list->mkid.cb != 0) {
    try {
      // The shell's commands for the folder, with the tree's own below.
      shell_->SetFolderPIDL(list);
      if (shell_->MoveUp()) {
        const std::string verb = shell_->ShowContextMenu(screen, rootPopup_);
        if (verb == "delete" && node != nullptr && engine_->RootOfNode(node) != nullptr) UpdateBranch();
        return;
      }
    } catch (const std::exception&) {
      // Not a folder the shell can show a menu for: the tree's own menu only.
    }
  }
  HMENU menu = classlib::CreatePopupHandle(*rootPopup_->Items());
  const UINT command = TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, screen.x, screen.y, 0, Handle(), nullptr);
  DestroyMenu(menu);
  if (classlib::TMenuItem* item = rootPopup_->Items()->Find(static_cast<std::uint16_t>(command))) item->Click();
}

void TMainForm::StatusUpdate(bool full) {
  TTreeNode* selected = tree_->Selected();
  TScanRoot* root = engine_->RootOfNode(selected);
  if (root == nullptr && !engine_->Roots().empty()) root = engine_->Roots().front().get();
  const TNumberFormat& number = ViewSettings().Format.number;
  if (root == nullptr) {
    status_->SetPanelText(0, FreeSpaceText(nullptr, number));
    status_->SetPanelText(1, ObjectsText(nullptr, number));
    clusterText_ = ClusterText(nullptr);
  } else {
    TRootStatus status;
    const TDriveSpace space = GetDriveSpace(root->drive);
    status.freeKB = space.freeKB;
    status.totalKB = space.totalKB;
    TFolderData* rootData = NodeData(root->rootNode);
    status.objects = rootData != nullptr ? rootData->Counts.objects.load() : 1;
    status.clusterSize = root->clusterSize;
    status.fileSystem = root->fileSystem;
    status_->SetPanelText(0, FreeSpaceText(&status, number));
    status_->SetPanelText(1, ObjectsText(&status, number));
    clusterText_ = ClusterText(&status);
  }
  status_->SetPanelText(2, "");
  ShowHintPanel();
  if (!full) return;
  const bool roots = !engine_->Roots().empty();
  if (updateItem_->Enabled != roots || branchMenu_->Enabled != roots) {
    updateItem_->Enabled = roots;
    branchMenu_->Enabled = roots;
    exportMenu_->Enabled = roots;
    printReportItem_->Enabled = roots;
    printChartItem_->Enabled = roots;
    toolBar_->SetButtonEnabled(printButton_, roots);
    menu_->Rebuild();
  }
  FillChart();
  RequestListFill();
}

void TMainForm::ShowHintPanel() {
  const std::string& hint = classlib::Application().Hint();
  status_->SetPanelText(3, hint.empty() ? clusterText_ : hint);
}

void TMainForm::UpdateCaption() {
  SetCaption(WindowCaption(kApplicationTitle, ViewSettings().FilterPatterns, ViewSettings().ShowType));
}

void TMainForm::RequestListFill() {
  if (!listShown_) return;
  RestartTimer(1);
  ListFilesEarly();
}

void TMainForm::DetailRowDeleted(TListItem* item) {
  if (auto* data = static_cast<TFolderData*>(item->Data)) data->Release();
  item->Data = nullptr;
}

void TMainForm::DetailRowTexts(TListItem* item) {
  if (const auto* data = static_cast<const TFolderData*>(item->Data)) item->SubItems = RowTexts(*data, listContext_);
}

void TMainForm::StopFileListing() {
  // The lister is asked to stop and let go once it has ended, its queued
  // hand-overs with it; none of them reaches the list meanwhile. The window
  // never waits for it: a lister may be inside a long call of the file
  // system, and nothing typed runs inside the caller's work either.
  ++listerGeneration_;
  listerTaken_ = false;
  earlyFiles_.clear();
  listerFiles_ = {};
  if (fileLister_) {
    fileLister_->Terminate();
    stoppedListers_.push_back(std::move(fileLister_));
  }
  stoppedListers_.erase(std::remove_if(stoppedListers_.begin(), stoppedListers_.end(),
                                       [](const std::unique_ptr<TFileLister>& l) { return l->Finished(); }),
                        stoppedListers_.end());
}

void TMainForm::StartFileListing(const TListedFiles& files) {
  StopFileListing();
  listerFiles_ = files;
  fileLister_ = std::make_unique<TFileLister>(
      files.path, files.patterns,
      [this, generation = listerGeneration_](const std::vector<TListedFile>& listed, bool last) {
        if (generation != listerGeneration_) return;
        // Until the list takes the listing, the files wait; its fill sorts
        // them with the rest.
        if (listerTaken_)
          AddFileRows(listed, last);
        else
          earlyFiles_.insert(earlyFiles_.end(), listed.begin(), listed.end());
      });
  fileLister_->Start();
}

TListedFiles TMainForm::ListedFolder(TTreeNode* node) {
  TFolderData* data = NodeData(node);
  if (data == nullptr || data->IsFilesNode || !ViewSettings().ShowFiles) return {};
  TListedFiles files{data->FileSystemPath(), {}};
  for (const std::string& pattern : ViewSettings().FilterPatterns) files.patterns.push_back(WideFromAnsi(pattern));
  return files;
}

void TMainForm::ListFilesEarly() {
  const TListedFiles files = ListedFolder(tree_->Selected());
  // The folder the list shows already is listed again by the fill itself,
  // and its rows keep coming until then.
  if (files.path.empty() || (fileLister_ && listerFiles_ == files)) return;
  StartFileListing(files);
}

void TMainForm::FinishFileListing() {
  // The list is the selected folder's, not the one shown before the fill.
  FillListIfDue();
  if (!fileLister_ || !listerTaken_) return;
  classlib::TWaitCursor wait;
  // As the listing before it went to a thread: the window waits for the
  // files without handling input, then takes the batches still queued.
  fileLister_->WaitFor();
  fileLister_->RunQueued();
}

void TMainForm::ClearDetails() {
  StopFileListing();
  details_->Clear();
  listNode_ = nullptr;
}

bool TMainForm::RefreshDetailRows(TTreeNode* node, TFolderData& data, const TListedFiles& files) {
  // A scan has the list filled again at each of its steps, so that it shows
  // the figures as they grow. The rows of a folder of tens of thousands of
  // subfolders would keep the window busy doing so: while their folder is
  // the same, they stay (and the row the user chose with them).
  const TScanRoot* root = engine_->RootOfNode(node);
  if (node != listNode_ || root == nullptr || root->runningScan == nullptr || files != listFiles_) return false;
  int folders = 0;
  for (TTreeNode* c : node->Children())
    if (const TFolderData* child = NodeData(c); child != nullptr && !child->IsFilesNode) ++folders;
  const int count = details_->Count();
  for (int i = 0; i < count; ++i) {
    const TListItem* row = details_->Item(i);
    if (row->StateIndex != kFolderRow) continue;
    const auto* child = static_cast<const TFolderData*>(row->Data);
    if (child == nullptr || child->Node == nullptr || child->Node->Parent() != node) return false;
    --folders;
  }
  if (folders != 0) return false;
  details_->BeginUpdate();
  listContext_ = ContextOf(data, data.Counts.clusters.load());
  for (int i = 0; i < count; ++i) {
    TListItem* row = details_->Item(i);
    if (row->StateIndex == kFolderRow) {
      auto* child = static_cast<TFolderData*>(row->Data);
      row->Caption = child->GetFolderName();
      row->ImageIndex = child->Node->ImageIndex();
    }
    row->TextsPending = true;
  }
  if (details_->LastColumnClicked() >= 0) details_->SortByColumn(details_->LastColumnClicked(), details_->Ascending());
  details_->EndUpdate();
  return true;
}

void TMainForm::FillDetailList() {
  classlib::TWaitCursor wait;
  TTreeNode* node = tree_->Selected();
  TFolderData* data = NodeData(node);
  const TListedFiles files = ListedFolder(node);
  if (data != nullptr && RefreshDetailRows(node, *data, files)) return;
  listNode_ = data != nullptr ? node : nullptr;
  listFiles_ = files;
  // A listing of this folder started while the fill waited goes on; any
  // other stops.
  if (files.path.empty() || !fileLister_ || listerTaken_ || listerFiles_ != files) StopFileListing();
  details_->BeginUpdate();
  details_->Clear();
  if (data != nullptr) {
    FetchChildIcons(node);
    // The rows' texts are made as they are shown, with the values as they
    // are then.
    listContext_ = ContextOf(*data, data->Counts.clusters.load());
    listRoot_ = data->ScanRoot;
    // The children in the tree's order, asked of the control one by one,
    // unless the list sorts them anyway.
    std::vector<TTreeNode*> children;
    if (details_->LastColumnClicked() >= 0) {
      children = node->Children();
    } else {
      for (TTreeNode* c = node->GetFirstChild(); c != nullptr; c = c->GetNextSibling()) children.push_back(c);
    }
    for (TTreeNode* c : children) {
      TFolderData* child = NodeData(c);
      if (child == nullptr || child->IsFilesNode) continue;
      TListItem* row = details_->Add();
      row->Caption = child->GetFolderName();
      row->ImageIndex = c->ImageIndex();
      row->TextsPending = true;
      row->StateIndex = kFolderRow;
      child->AddRef();
      row->Data = child;
    }
    if (!files.path.empty()) {
      // The files come from a lister of their own; the folders show
      // meanwhile, with the files it listed so far.
      if (!fileLister_) StartFileListing(files);
      listerTaken_ = true;
      AddFileRows(earlyFiles_, false);
      earlyFiles_.clear();
      earlyFiles_.shrink_to_fit();
    }
    if (details_->LastColumnClicked() >= 0) details_->SortByColumn(details_->LastColumnClicked(), details_->Ascending());
  }
  details_->EndUpdate();
}

void TMainForm::AddFileRows(const std::vector<TListedFile>& files, bool last) {
  const std::int64_t clusterSize = std::max<std::int64_t>(listContext_.clusterSize, 1);
  details_->BeginUpdate();
  for (const TListedFile& found : files) {
    auto* file = new TFolderData(nullptr, listRoot_);
    file->IsNew = false;
    file->IsFilesNode = true;
    file->Counts.SetTotals({FileClusters(found.size, clusterSize), static_cast<std::int64_t>(found.size % clusterSize), 1,
                            static_cast<std::int64_t>(found.size)});
    file->Counts.lastAccess = found.lastAccess;
    file->Counts.lastChange = found.lastWrite;
    TListItem* row = details_->Add();
    row->Caption = AnsiFromWide(found.name.c_str());
    row->ImageIndex = FilesIcon();
    row->TextsPending = true;
    row->StateIndex = kFileRow;
    row->Data = file;  // the row's own, released with it
  }
  // The rows take their places once all are in.
  if (last && details_->LastColumnClicked() >= 0)
    details_->SortByColumn(details_->LastColumnClicked(), details_->Ascending());
  details_->EndUpdate();
}

bool TMainForm::SortDetailRows(int column, bool ascending, std::vector<int>& order) {
  // Each row's values once, side by side, and its name as a key that orders
  // as lstrcmpA does when compared byte by byte: the comparisons then read
  // no row and convert no text.
  const int count = details_->Count();
  std::vector<TDetailRow> rows(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) {
    const TListItem* item = details_->Item(i);
    TDetailRow& r = rows[static_cast<size_t>(i)];
    r.isFolder = item->StateIndex == kFolderRow;
    if (column == 0) r.caption = NameSortKey(item->Caption);
    if (const auto* data = static_cast<const TFolderData*>(item->Data)) {
      r.totals = data->Counts.Totals();
      r.lastAccess = data->Counts.lastAccess.load();
      r.lastChange = data->Counts.lastChange.load();
    }
  }
  const std::int64_t clusterSize = listRoot_ ? listRoot_->clusterSize : 512;
  const int direction = ascending ? 1 : -1;
  order.resize(static_cast<size_t>(count));
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
    return direction * CompareDetailRows(rows[static_cast<size_t>(a)], rows[static_cast<size_t>(b)], column,
                                         clusterSize, nullptr) < 0;
  });
  return true;
}

void TMainForm::FillChart() {
  TTreeNode* node = tree_->Selected();
  TFolderData* data = NodeData(node);
  if (listShown_ || data == nullptr || (node->Parent() == nullptr && !node->HasChildren())) return;
  if (!chart_->Visible()) {
    chart_->SetLeftGap(20);
    if (chart_->ChartType() == chartlib::kTypeList) chart_->SetChartType(chartTypeBeforeList_);
    chart_->Show();
  }
  TFolderData* parent = NodeData(node->Parent());
  const TChartSource self{data->GetFolderName(), data->Counts.Totals(),
                          ContextOf(*data, (parent != nullptr ? parent : data)->Counts.clusters.load())};
  std::vector<TChartSource> children;
  const std::int64_t clusters = data->Counts.clusters.load();
  for (TTreeNode* c = node->GetFirstChild(); c != nullptr; c = c->GetNextSibling())
    if (TFolderData* child = NodeData(c))
      children.push_back({child->GetFolderName(), child->Counts.Totals(), ContextOf(*child, clusters)});
  const TChartData chartData =
      BuildChartData(self, children, ViewSettings().ShowType, ViewSettings().Format.unitType,
                     chart_->ChartType() == chartlib::kTypeBar, details_->ColumnCaption(1), details_->ColumnCaption(4));
  SendChartData(*chart_, chartData);
}

void TMainForm::ShowChartView(int chartType) {
  // The chart control itself shows with its first data (FillChart): until
  // a folder is charted the pane stays empty.
  listShown_ = false;
  details_->Hide();
  chart_->SetChartType(chartType);
  chart_->Repaint();
  pieItem_->Checked = chartType == chartlib::kTypePie;
  barItem_->Checked = chartType == chartlib::kTypeBar;
  listItem_->Checked = false;
  toolBar_->SetDown(pieButton_, chartType == chartlib::kTypePie);
  toolBar_->SetDown(barButton_, chartType == chartlib::kTypeBar);
  toolBar_->SetDown(listButton_, false);
  printChartItem_->Caption = "Print &Chart...";
  FillChart();
}

void TMainForm::ShowList() {
  if (chart_->ChartType() != chartlib::kTypeList) chartTypeBeforeList_ = chart_->ChartType();
  chart_->Hide();
  details_->Show();
  chart_->SetChartType(chartlib::kTypeList);
  listShown_ = true;
  pieItem_->Checked = barItem_->Checked = false;
  listItem_->Checked = true;
  toolBar_->SetDown(pieButton_, false);
  toolBar_->SetDown(barButton_, false);
  toolBar_->SetDown(listButton_, true);
  printChartItem_->Caption = "Print &Folder Contents...";
  FillDetailList();
}

void TMainForm::ChartDoubleClick() {
  // The point under the mouse, then the child whose name is its legend.
  const TChartVariant position = chart_->PaintInfo2(6, 0);
  if (!std::holds_alternative<int>(position)) return;
  const TChartVariant hit = chart_->PaintInfo2(2, std::get<int>(position));
  if (!std::holds_alternative<int>(hit) || std::get<int>(hit) < 0) return;
  const int point = (std::get<int>(hit) >> 16) & 0xFFFF;
  TTreeNode* node = tree_->Selected();
  if (node == nullptr) return;
  if (TTreeNode* child = ChildNamed(node, chart_->GetLegend(point))) tree_->SetSelected(child);
}

void TMainForm::UpdateBranch() {
  TTreeNode* node = updateNode_ != nullptr ? updateNode_ : tree_->Selected();
  if (node != nullptr) engine_->RescanBranch(node);
}

void TMainForm::RemoveRootCommand() {
  // The rows let go of their folders first; the root is the one selected
  // after that.
  ClearDetails();
  TScanRoot* root = engine_->RootOfNode(updateNode_ != nullptr ? updateNode_ : tree_->Selected());
  if (root == nullptr) return;
  engine_->RemoveRoot(*root);
  StatusUpdate(true);
}

void TMainForm::ExpandToLevelCommand(int level) {
  TTreeNode* node = tree_->Selected();
  if (node == nullptr) return;
  ExpandToLevel(node, level, level <= 50 ? 0 : ViewSettings().MinimumExpandSize);
  SendMessageA(tree_->Handle(), TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(node->ItemId()));
}

void TMainForm::RefreshSizeCaptions() {
  const int size = ViewSettings().MinimumExpandSize;
  for (classlib::TMenuItem* item : removeItems_) item->Caption = SizeCaption(item->Caption, '<', size);
  for (classlib::TMenuItem* item : expandOverItems_) item->Caption = SizeCaption(item->Caption, ':', size);
}

void TMainForm::SetSizeCommand() {
  std::string answer = std::to_string(ViewSettings().MinimumExpandSize) + " MB";
  if (!classlib::InputQuery("Minimum Expand Size", "Specify the minimum size for expanding and removing:", answer))
    return;
  int size = 0;
  if (!ParseSetSize(answer, size)) {
    classlib::MessageDlg("Sorry, this was not a valid number.");
    return;
  }
  ViewSettings().MinimumExpandSize = size;
  RefreshSizeCaptions();
}

void TMainForm::RemoveSmallFolders() {
  TTreeNode* node = tree_->Selected();
  if (node == nullptr) return;
  const double minimum = ViewSettings().MinimumExpandSize;
  // The folders below the minimum are gathered first and deleted together:
  // one at a time, a folder of thousands of small subfolders kept the
  // window busy for minutes.
  std::vector<TTreeNode*> small;
  std::function<void(TTreeNode*)> prune = [&](TTreeNode* parent) {
    std::vector<TTreeNode*> large;
    for (TTreeNode* c : parent->Children()) {
      TFolderData* d = NodeData(c);
      const double value = d != nullptr ? d->GetFolderValue(ViewSettings().ShowType, kUnitMB) : 0;
      (value < minimum ? small : large).push_back(c);
    }
    for (TTreeNode* c : large) prune(c);
  };
  ClearDetails();
  prune(node);
  tree_->DeleteNodes(small);
  StatusUpdate(true);
}

void TMainForm::CountFolders() {
  TScanRoot* root = engine_->RootOfNode(updateNode_ != nullptr ? updateNode_ : tree_->Selected());
  if (root == nullptr || root->rootNode == nullptr) return;
  TFolderData* data = NodeData(root->rootNode);
  const std::string name = data != nullptr ? data->GetFolderName() : root->displayPath;
  classlib::MessageDlg(CountFoldersText(name, CountBelow(root->rootNode)));
}

void TMainForm::GoToParent() {
  TTreeNode* node = tree_->Selected();
  if (node != nullptr && node->Parent() != nullptr) tree_->SetSelected(node->Parent());
}

}  // namespace foldwick
