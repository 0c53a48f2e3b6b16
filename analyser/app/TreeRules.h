// Operations on the folder tree that follow only from the counters: carrying a
// branch's change up to its ancestors, expanding to a level, bold marking.
// They work over any tree through an adaptor with these members:
//   Node* Parent(Node*), Node* FirstChild(Node*), Node* NextSibling(Node*),
//   TFolderCounts* Counts(Node*) (null for a node without data),
//   void RefreshText(Node*), bool Expanded(Node*), void Expand(Node*),
//   void CollapseBranch(Node*), void SetBold(Node*, bool),
//   double ExpandValue(Node*) (the value compared with an expand minimum).
#pragma once

#include <cstdint>

#include "analyser/app/FolderValues.h"
#include "analyser/app/ScanRules.h"

namespace foldwick {

// Adds `delta` to the node and every ancestor, refreshing each one's text.
template <class Tree, class Node>
void AddToAncestors(Tree& tree, Node* node, const TFolderTotals& delta) {
  for (Node* n = node; n != nullptr; n = tree.Parent(n)) {
    if (TFolderCounts* counts = tree.Counts(n)) counts->AddTotals(delta);
    tree.RefreshText(n);
  }
}

// Takes the node's totals off it and its ancestors, as before deleting it.
template <class Tree, class Node>
void SubtractFromAncestors(Tree& tree, Node* node) {
  TFolderCounts* counts = tree.Counts(node);
  if (counts == nullptr) return;
  AddToAncestors(tree, node, TFolderTotals{} - counts->Totals());
}

// With level above 0 and a value not below `minimum`, expands the node and
// goes on into each child with one level less; otherwise collapses the node
// with all its descendants.
template <class Tree, class Node>
void ExpandToLevel(Tree& tree, Node* node, int level, double minimum) {
  if (level > 0 && !(tree.ExpandValue(node) < minimum)) {
    tree.Expand(node);
    for (Node* c = tree.FirstChild(node); c != nullptr; c = tree.NextSibling(c)) ExpandToLevel(tree, c, level - 1, minimum);
  } else {
    tree.CollapseBranch(node);
  }
}

// Makes each child of the node bold exactly when it holds more than
// `boldFactor` percent of `rootClusters`; goes on below the children while
// the node is expanded.
template <class Tree, class Node>
void BoldLargeFolders(Tree& tree, Node* node, std::int64_t rootClusters, int boldFactor) {
  for (Node* c = tree.FirstChild(node); c != nullptr; c = tree.NextSibling(c)) {
    TFolderCounts* counts = tree.Counts(c);
    tree.SetBold(c, counts != nullptr && IsBoldFolder(counts->clusters.load(std::memory_order_relaxed), rootClusters, boldFactor));
    if (tree.Expanded(node)) BoldLargeFolders(tree, c, rootClusters, boldFactor);
  }
}

}  // namespace foldwick
