// Ancestor totals, expansion to a level and bold marking over a plain tree.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "analyser/app/TreeRules.h"
#include "tests/analyser/app/TotalsPrinter.h"

namespace foldwick {
namespace {

struct FakeNode {
  std::string name;
  FakeNode* parent = nullptr;
  std::vector<std::unique_ptr<FakeNode>> children;
  TFolderCounts counts;
  bool expanded = false;
  bool bold = false;
  double value = 0;
  int refreshed = 0;

  FakeNode* Add(std::string n, TFolderTotals t, double v = 0) {
    children.push_back(std::make_unique<FakeNode>());
    FakeNode* c = children.back().get();
    c->name = std::move(n);
    c->parent = this;
    c->counts.SetTotals(t);
    c->value = v;
    return c;
  }
};

struct FakeTree {
  FakeNode* Parent(FakeNode* n) { return n->parent; }
  FakeNode* FirstChild(FakeNode* n) { return n->children.empty() ? nullptr : n->children.front().get(); }
  FakeNode* NextSibling(FakeNode* n) {
    if (n->parent == nullptr) return nullptr;
    auto& s = n->parent->children;
    for (size_t i = 0; i + 1 < s.size(); ++i)
      if (s[i].get() == n) return s[i + 1].get();
    return nullptr;
  }
  TFolderCounts* Counts(FakeNode* n) { return &n->counts; }
  void RefreshText(FakeNode* n) { ++n->refreshed; }
  bool Expanded(FakeNode* n) { return n->expanded; }
  void Expand(FakeNode* n) { n->expanded = true; }
  void CollapseBranch(FakeNode* n) {
    n->expanded = false;
    for (auto& c : n->children) CollapseBranch(c.get());
  }
  void SetBold(FakeNode* n, bool b) { n->bold = b; }
  double ExpandValue(FakeNode* n) { return n->value; }
};

TEST(AncestorTotals, ABranchChangeReachesEveryAncestorAndNoSibling) {
  FakeNode root;
  root.counts.SetTotals({10, 300, 6, 20000});
  FakeNode* a = root.Add("a", {6, 200, 4, 12000});
  FakeNode* b = root.Add("b", {3, 100, 1, 8000});
  FakeNode* a1 = a->Add("a1", {2, 50, 2, 3000});
  FakeTree tree;
  // The rescanned a1 grew by one file of 5000 bytes (2 clusters, tail 904).
  AddToAncestors(tree, a, TFolderTotals{2, 904, 1, 5000});
  EXPECT_EQ(a->counts.Totals(), (TFolderTotals{8, 1104, 5, 17000}));
  EXPECT_EQ(root.counts.Totals(), (TFolderTotals{12, 1204, 7, 25000}));
  EXPECT_EQ(b->counts.Totals(), (TFolderTotals{3, 100, 1, 8000}));
  EXPECT_EQ(a1->counts.Totals(), (TFolderTotals{2, 50, 2, 3000}));
  EXPECT_EQ(a->refreshed, 1);
  EXPECT_EQ(root.refreshed, 1);
  EXPECT_EQ(b->refreshed, 0);

  // Deleting b with subtraction takes its totals off the root.
  SubtractFromAncestors(tree, b);
  EXPECT_EQ(root.counts.Totals(), (TFolderTotals{9, 1104, 6, 17000}));
  EXPECT_EQ(b->counts.Totals(), (TFolderTotals{}));
}

TEST(ExpandToLevel, ExpandsWhatReachesTheMinimumAndCollapsesTheRest) {
  FakeNode root;
  root.value = 50;
  FakeNode* big = root.Add("big", {}, 20);
  FakeNode* small = root.Add("small", {}, 5);
  FakeNode* bigChild = big->Add("bigChild", {}, 15);
  FakeNode* smallChild = small->Add("smallChild", {}, 1);
  small->expanded = smallChild->expanded = true;
  bigChild->expanded = true;
  FakeTree tree;
  ExpandToLevel(tree, &root, 2, 10);
  EXPECT_TRUE(root.expanded);
  EXPECT_TRUE(big->expanded);
  EXPECT_FALSE(bigChild->expanded);  // level used up
  EXPECT_FALSE(small->expanded);     // below the minimum: collapsed with its branch
  EXPECT_FALSE(smallChild->expanded);
  ExpandToLevel(tree, &root, 0, 0);
  EXPECT_FALSE(root.expanded);
}

TEST(BoldLargeFolders, ChildrenAboveTheFactorAndBelowExpandedNodes) {
  FakeNode root;
  root.counts.SetTotals({100, 0, 1, 0});
  FakeNode* a = root.Add("a", {20, 0, 1, 0});
  FakeNode* b = root.Add("b", {10, 0, 1, 0});
  FakeNode* a1 = a->Add("a1", {16, 0, 1, 0});
  FakeNode* a1x = a1->Add("a1x", {16, 0, 1, 0});
  b->bold = true;
  FakeTree tree;
  BoldLargeFolders(tree, &root, 100, 15);
  EXPECT_TRUE(a->bold);
  EXPECT_FALSE(b->bold);
  EXPECT_FALSE(a1->bold);  // the root is collapsed: the test stops at its children
  root.expanded = true;
  BoldLargeFolders(tree, &root, 100, 15);
  EXPECT_TRUE(a1->bold);
  EXPECT_FALSE(a1x->bold);  // a is collapsed
  BoldLargeFolders(tree, &root, 100, 100);
  EXPECT_FALSE(a->bold);
}

}  // namespace
}  // namespace foldwick
