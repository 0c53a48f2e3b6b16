// Tree operations over TTreeNode and the folder data in their slots.
#include "analyser/app/win/ScanTree.h"

#include <windows.h>

#include <algorithm>
#include <vector>

#include "analyser/app/ScanRules.h"
#include "analyser/app/TreeRules.h"
#include "analyser/app/ViewSettings.h"
#include "analyser/app/win/FolderData.h"
#include "analyser/app/win/Scan.h"

namespace foldwick {

using classlib::TTreeNode;

namespace {
// The adaptor the portable tree rules work through.
struct TNodeTree {
  TTreeNode* Parent(TTreeNode* n) { return n->Parent(); }
  TTreeNode* FirstChild(TTreeNode* n) { return n->GetFirstChild(); }
  TTreeNode* NextSibling(TTreeNode* n) { return n->GetNextSibling(); }
  TFolderCounts* Counts(TTreeNode* n) {
    TFolderData* data = NodeData(n);
    return data != nullptr ? &data->Counts : nullptr;
  }
  void RefreshText(TTreeNode* n) { SetNodeText(n); }
  bool Expanded(TTreeNode* n) { return n->Expanded(); }
  void Expand(TTreeNode* n) { n->Expand(false); }
  void CollapseBranch(TTreeNode* n) { n->Collapse(true); }
  void SetBold(TTreeNode* n, bool bold) { n->SetBold(bold); }
  double ExpandValue(TTreeNode* n) {
    TFolderData* data = NodeData(n);
    return data != nullptr ? data->GetFolderValue(ViewSettings().ShowType, kUnitMB) : 0;
  }
};

std::int64_t ClusterSizeOf(TFolderData* data) { return data->ScanRoot ? data->ScanRoot->clusterSize : 512; }

// A folder's name among its siblings: its listing name, or the shell's.
std::wstring ViewKey(TTreeNode* node) {
  TFolderData* data = NodeData(node);
  if (data == nullptr) return {};
  if (data->IsFilesNode) return L"<Files>";
  if (!data->FileName.empty()) return data->FileName;
  return WideFromAnsi(data->NameCache.empty() ? data->GetFolderName() : data->NameCache);
}

// The expanded folders below an expanded node, and the path to the selection.
bool SaveView(TTreeNode* node, const std::vector<TTreeNode*>& selectionPath, TBranchView& view) {
  view.expanded = node->Expanded();
  view.holdsSelection = std::find(selectionPath.begin(), selectionPath.end(), node) != selectionPath.end();
  if (view.expanded || view.holdsSelection)
    for (TTreeNode* c = node->GetFirstChild(); c != nullptr; c = c->GetNextSibling()) {
      if (!c->HasChildren() && selectionPath.front() != c) continue;
      TBranchView child;
      if (SaveView(c, selectionPath, child)) view.children.emplace(ViewKey(c), std::move(child));
    }
  return view.expanded || view.holdsSelection || !view.children.empty();
}

// Children are expanded before their parents: a branch opened while its
// parent is closed costs no drawing.
TTreeNode* RestoreView(TTreeNode* node, const TBranchView& view) {
  TTreeNode* selected = nullptr;
  if (!view.children.empty())
    for (TTreeNode* c = node->GetFirstChild(); c != nullptr; c = c->GetNextSibling()) {
      const auto saved = view.children.find(ViewKey(c));
      if (saved == view.children.end()) continue;
      if (TTreeNode* found = RestoreView(c, saved->second)) selected = found;
    }
  if (view.expanded && node->HasChildren() && !node->Expanded()) {
    if (node->IsVisible()) node->Expand(false);
    else node->ExpandHidden();
  }
  // A selected folder that is gone leaves the selection with its nearest
  // ancestor that is left.
  return selected != nullptr || !view.holdsSelection ? selected : node;
}
}  // namespace

void SetNodeText(TTreeNode* node) {
  if (TFolderData* data = NodeData(node)) node->SetText(data->TreeText());
}

void RefreshNode(TTreeNode* node) {
  if (TFolderData* data = NodeData(node)) {
    node->SetText(data->TreeText());
    data->RefreshIcons();
  }
}

void AddToAncestors(TTreeNode* node, const TFolderTotals& delta) {
  TNodeTree tree;
  foldwick::AddToAncestors(tree, node, delta);
}

void DeleteNode(TTreeNode* node, bool subtract) {
  if (node == nullptr) return;
  if (subtract) {
    TNodeTree tree;
    SubtractFromAncestors(tree, node);
  }
  node->Delete();
}

void ExpandToLevel(TTreeNode* node, int level, double minimum) {
  // The rule's expansions are made deepest first under the closed node,
  // which opens last: the control lays the branch out once, not once for
  // each folder opened below a shown one.
  struct TDeferredTree : TNodeTree {
    std::vector<TTreeNode*> opened;
    void Expand(TTreeNode* n) { opened.push_back(n); }
  } tree;
  classlib::TTreeUpdate update(*node->TreeView(), true);
  const bool wasOpen = node->Expanded();
  if (wasOpen) node->Collapse(false);
  foldwick::ExpandToLevel(tree, node, level, minimum);
  for (auto n = tree.opened.rbegin(); n != tree.opened.rend(); ++n) {
    if ((*n)->Expanded() || !(*n)->HasChildren()) continue;
    if ((*n)->IsVisible()) (*n)->Expand(false);
    else (*n)->ExpandHidden();
  }
}

// The walks below ask the control only about nodes that have children: a
// question costs it a search through all its items.
void RefreshTexts(TTreeNode* node) {
  SetNodeText(node);
  if (node->HasChildren() && node->Expanded())
    for (TTreeNode* c : node->Children()) RefreshTexts(c);
}

void SortChildren(TTreeNode* node) { node->CustomSort(CompareNodes, ViewSettings().SortType); }

void SortBranch(TTreeNode* node) {
  SortChildren(node);
  for (TTreeNode* c : node->Children())
    if (c->HasChildren() && c->Expanded()) SortBranch(c);
}

TBranchView SaveBranchView(TTreeNode* node, TTreeNode* selected) {
  std::vector<TTreeNode*> selectionPath;  // the selection first, then its ancestors
  for (TTreeNode* n = selected; n != nullptr; n = n->Parent()) selectionPath.push_back(n);
  if (selectionPath.empty()) selectionPath.push_back(nullptr);
  TBranchView view;
  SaveView(node, selectionPath, view);
  return view;
}

namespace {
void ForgetSelection(TBranchView& view) {
  view.holdsSelection = false;
  for (auto& [key, child] : view.children) ForgetSelection(child);
}
}  // namespace

TBranchView SaveBranchViewWith(TTreeNode* node, TTreeNode* selected, TTreeNode* branch, TBranchView branchView) {
  std::vector<TTreeNode*> path;  // from `branch` up to below `node`
  for (TTreeNode* n = branch; n != nullptr && n != node; n = n->Parent()) path.push_back(n);
  TBranchView view = SaveBranchView(node, selected);
  if (path.empty() || path.back()->Parent() != node) return view;
  bool selectionInBranch = false;
  for (TTreeNode* n = selected; n != nullptr && !selectionInBranch; n = n->Parent()) selectionInBranch = n == branch;
  if (!selectionInBranch) ForgetSelection(branchView);
  TBranchView* at = &view;
  for (auto n = path.rbegin(); n != path.rend(); ++n) {
    at->holdsSelection = at->holdsSelection || branchView.holdsSelection;
    at = &at->children[ViewKey(*n)];
  }
  *at = std::move(branchView);
  return view;
}

TTreeNode* RestoreBranchView(TTreeNode* node, const TBranchView& view) {
  classlib::TTreeUpdate update(*node->TreeView(), true);
  return RestoreView(node, view);
}

void SetBold(TTreeNode* node, bool bold) { node->SetBold(bold); }

void BoldLargeFolders(TTreeNode* node) {
  TFolderData* data = NodeData(node);
  if (data == nullptr || !data->ScanRoot || data->ScanRoot->rootNode == nullptr) return;
  TFolderData* rootData = NodeData(data->ScanRoot->rootNode);
  if (rootData == nullptr) return;
  TNodeTree tree;
  foldwick::BoldLargeFolders(tree, node, rootData->Counts.clusters.load(), ViewSettings().BoldFactor);
}

TTreeNode* AddFilesNode(TTreeNode* node) {
  TFolderData* data = NodeData(node);
  if (data == nullptr) return nullptr;
  TTreeNode* files = node->TreeView()->AddChild(node, "");
  if (files == nullptr) return nullptr;
  auto* filesData = new TFolderData(files, data->ScanRoot);
  filesData->IsFilesNode = true;
  filesData->IsNew = false;
  filesData->Counts.SetTotals(data->Counts.OwnTotals());
  AttachNodeData(files, filesData);
  files->SetImageIndex(FilesIcon());
  files->SetSelectedIndex(FilesIcon());
  files->SetText(filesData->TreeText());
  return files;
}

void ApplyShowFiles(TTreeNode* node) {
  for (TTreeNode* c = node->GetFirstChild(); c != nullptr;) {
    TTreeNode* next = c->GetNextSibling();
    if (TFolderData* d = NodeData(c); d == nullptr || !d->IsFilesNode) ApplyShowFiles(c);
    c = next;
  }
  TTreeNode* filesNode = nullptr;
  for (TTreeNode* c = node->GetFirstChild(); c != nullptr && filesNode == nullptr; c = c->GetNextSibling())
    if (TFolderData* d = NodeData(c); d != nullptr && d->IsFilesNode) filesNode = c;
  TFolderData* data = NodeData(node);
  if (!ViewSettings().ShowFiles) {
    if (filesNode != nullptr) filesNode->Delete();
  } else if (filesNode == nullptr && data != nullptr && data->Counts.ownFiles.load() > 0 && node->HasChildren()) {
    AddFilesNode(node);
  }
}

int CompareNodes(TTreeNode* a, TTreeNode* b, std::intptr_t sortType) {
  TFolderData* da = NodeData(a);
  TFolderData* db = NodeData(b);
  if (da == nullptr || db == nullptr) return 0;
  if (sortType == kSortByName) return lstrcmpA(da->GetFolderName().c_str(), db->GetFolderName().c_str());
  if (sortType == kSortBySize)
    return CompareBySize(da->Counts.Totals(), db->Counts.Totals(), ViewSettings().ShowType, ClusterSizeOf(da));
  return 0;
}

}  // namespace foldwick
