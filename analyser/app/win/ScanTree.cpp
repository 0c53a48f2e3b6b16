// Tree operations over TTreeNode and the folder data in their slots.
#include "analyser/app/win/ScanTree.h"

#include <windows.h>

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
  TNodeTree tree;
  foldwick::ExpandToLevel(tree, node, level, minimum);
}

void RefreshTexts(TTreeNode* node) {
  SetNodeText(node);
  if (node->Expanded())
    for (TTreeNode* c = node->GetFirstChild(); c != nullptr; c = c->GetNextSibling()) RefreshTexts(c);
}

void SortChildren(TTreeNode* node) { node->CustomSort(CompareNodes, ViewSettings().SortType); }

void SortBranch(TTreeNode* node) {
  SortChildren(node);
  for (TTreeNode* c = node->GetFirstChild(); c != nullptr; c = c->GetNextSibling())
    if (c->Expanded()) SortBranch(c);
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
