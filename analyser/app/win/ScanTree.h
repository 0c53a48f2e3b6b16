// Operations on the folder tree, main thread only: texts, ancestor totals,
// deletion, expansion, sorting, bold marking and "<Files>" nodes.
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "analyser/app/FolderValues.h"
#include "classlib/win/TreeView.h"

namespace foldwick {

// Sets the node's text: the padded value of the current view, then its name.
void SetNodeText(classlib::TTreeNode* node);
// Sets the node's text and icons.
void RefreshNode(classlib::TTreeNode* node);
// Adds `delta` to the node and all its ancestors and refreshes their texts.
void AddToAncestors(classlib::TTreeNode* node, const TFolderTotals& delta);
// Deletes the node's branch; with `subtract`, its totals leave its ancestors first.
void DeleteNode(classlib::TTreeNode* node, bool subtract);
// Expands levels below the node whose value (MB for the size views) reaches
// `minimum`, and collapses the rest.
void ExpandToLevel(classlib::TTreeNode* node, int level, double minimum);
// The texts of the node and, where expanded, of its branch.
void RefreshTexts(classlib::TTreeNode* node);
// Sorts the node's children by the current sort type, and those of its
// expanded descendants.
void SortBranch(classlib::TTreeNode* node);
// Sorts the node's children only.
void SortChildren(classlib::TTreeNode* node);
void SetBold(classlib::TTreeNode* node, bool bold);
// Bold for the children holding more than the bold factor of their root.
void BoldLargeFolders(classlib::TTreeNode* node);
// Adds or removes the branch's "<Files>" nodes after the ShowFiles option changed.
void ApplyShowFiles(classlib::TTreeNode* node);
// A new last child standing for the node's own files.
classlib::TTreeNode* AddFilesNode(classlib::TTreeNode* node);
// Which folders of a branch were expanded and which was selected, by name,
// for the same folders of the branch a rescan builds anew.
struct TBranchView {
  bool expanded = false;
  bool holdsSelection = false;  // the selection is this folder or below it
  std::map<std::wstring, TBranchView> children;  // those expanded or leading to one or to the selection
};
// The view of the node's branch; `selected` is the tree's selection.
TBranchView SaveBranchView(classlib::TTreeNode* node, classlib::TTreeNode* selected);
// The view of the node's branch as SaveBranchView gives it, but with
// `branchView` in the place of the branch of `branch` (a node below `node`),
// whose nodes are being built anew: the view the user saw before that
// branch's rescan began. The selection stays where it is unless it is in
// that branch.
TBranchView SaveBranchViewWith(classlib::TTreeNode* node, classlib::TTreeNode* selected, classlib::TTreeNode* branch,
                               TBranchView branchView);
// Expands the folders of the node's branch that were expanded and still
// exist; gives the node that was selected, or its nearest ancestor that
// still exists, or null when the selection was outside the branch.
classlib::TTreeNode* RestoreBranchView(classlib::TTreeNode* node, const TBranchView& view);

// The tree's order: by name (sort type 1), by size in the current view (2),
// none for other types.
int CompareNodes(classlib::TTreeNode* a, classlib::TTreeNode* b, std::intptr_t sortType);

}  // namespace foldwick
