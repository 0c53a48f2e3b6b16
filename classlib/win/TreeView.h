// TTreeView over the common tree-view control, and its TTreeNode items: text,
// a data slot, images, state image, bold, expansion and custom sorting.
// Each node knows its parent and children itself, so that walking up the tree
// and freeing a branch of tens of thousands of nodes send the control no
// message per node. Each node keeps its text too, and the control asks for it
// as it draws: texts change without a message to the control, which may
// cost it a search through all its items and a new layout of those shown.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "classlib/win/Controls.h"
#include "classlib/win/ImageList.h"

namespace classlib {

class TTreeView;
class TTreeNode;

// Negative when a sorts before b, positive after, 0 keeps their order.
using TTVCompare = std::function<int(TTreeNode* a, TTreeNode* b, std::intptr_t data)>;

// One item. The tree view creates and frees nodes; the order of children is
// the control's own, so it follows sorting.
class TTreeNode {
 public:
  TTreeView* TreeView() const { return tree_; }
  HTREEITEM ItemId() const { return item_; }

  const std::string& Text() const { return text_; }
  // Keeps the text; the tree shows it at its next drawing.
  void SetText(const std::string& text);

  TTreeNode* Parent() const { return parent_; }
  // The children in the control's order, which follows sorting.
  TTreeNode* GetFirstChild() const;
  TTreeNode* GetNextSibling() const;
  int Count() const { return static_cast<int>(children_.size()); }
  // The children in the order they were added, not the control's: a walk
  // that needs no order sends the control nothing.
  const std::vector<TTreeNode*>& Children() const { return children_; }
  bool HasChildren() const { return !children_.empty(); }
  // 0 for a top-level node.
  int Level() const;

  bool Expanded() const;
  void Expand(bool Recurse);
  void Collapse(bool Recurse);
  // For a node some ancestor of which is collapsed: marks it expanded after
  // OnExpanding allows it, without the control laying out and notifying as
  // for an expansion it shows (costly for many nodes, and nothing is shown).
  void ExpandHidden();
  // Every ancestor is expanded (the node may still be scrolled out of view).
  bool IsVisible() const;
  bool Selected() const;

  int ImageIndex() const { return image_; }
  void SetImageIndex(int index);
  int SelectedIndex() const { return selectedImage_; }
  void SetSelectedIndex(int index);
  // The state image, 0 (none) to 15.
  int StateIndex() const;
  void SetStateIndex(int index);
  bool Bold() const;
  void SetBold(bool bold);

  // Sorts the children; true when the control sorted them.
  bool CustomSort(const TTVCompare& compare, std::intptr_t data);
  // Frees the node and its branch (children first), firing OnDeletion for each.
  void Delete();
  void DeleteChildren();

  // Free for the user of the tree; the tree never reads it.
  void* Data = nullptr;

 private:
  friend class TTreeView;
  TTreeNode(TTreeView* tree, TTreeNode* parent) : tree_(tree), parent_(parent) {}
  LRESULT Send(UINT msg, WPARAM wParam, LPARAM lParam) const;
  void SetState(UINT state, UINT mask);
  void SetImages(UINT mask, int image, int selectedImage);

  TTreeView* tree_;
  HTREEITEM item_ = nullptr;
  TTreeNode* parent_;
  // In the order they were added, not the control's.
  std::vector<TTreeNode*> children_;
  std::string text_;
  int image_ = -1;
  int selectedImage_ = -1;
};

class TTreeView : public TWinControl {
 public:
  // The tree fills `parent`'s client area as it is now; its window exists
  // from here on when the parent's can be made.
  TTreeView(TComponent* AOwner, TWinControl* parent);
  // Frees every node, firing OnDeletion for each.
  ~TTreeView() override;

  // A new last child of `parent`, or a new last top-level node when null.
  TTreeNode* AddChild(TTreeNode* parent, const std::string& text);
  TTreeNode* GetFirstNode() const;
  TTreeNode* Selected() const;
  void SetSelected(TTreeNode* node);
  void Clear();
  // Frees the nodes with their branches in one go, the control's drawing held
  // off meanwhile, OnDeletion fired for each first.
  void DeleteNodes(const std::vector<TTreeNode*>& nodes);
  // Sorts the top-level nodes.
  bool CustomSort(const TTVCompare& compare, std::intptr_t data);

  void SetImages(TImageList* images);
  void SetStateImages(TImageList* images);

  // Fired for each node about to be freed, children before their parent.
  std::function<void(TObject* Sender, TTreeNode* Node)> OnDeletion;
  // The selection moved to `Node` (by the user or the program).
  std::function<void(TObject* Sender, TTreeNode* Node)> OnChange;
  // The user is expanding `Node`; AllowExpansion false keeps it closed.
  std::function<void(TObject* Sender, TTreeNode* Node, bool& AllowExpansion)> OnExpanding;
  // The right button was clicked at `MousePos` (client coordinates), over
  // `Node` or none, or the menu key (or Shift+F10) was pressed, which gives
  // the selected node and a point at its text; Handled true keeps the
  // default menu away.
  std::function<void(TObject* Sender, TTreeNode* Node, TPoint MousePos, bool& Handled)> OnContextPopup;
  // The node at a client point, or null.
  TTreeNode* GetNodeAt(int x, int y) const;

  // The node of an item of this tree, or null.
  TTreeNode* NodeFromItem(HTREEITEM item) const;
  // Has the texts drawn again (once, however many changed before then).
  void RedrawTexts();

 protected:
  void CreateParams(TCreateParams& Params) override;
  void WindowDestroying() override;
  bool Notify(NMHDR& header, LRESULT& result) override;
  void WndProc(TMessage& Message) override;

 private:
  friend class TTreeNode;
  // OnContextPopup for the selected node, at its text; true when handled.
  bool KeyboardContextPopup();
  void FreeBranch(TTreeNode* node);
  bool SortChildren(HTREEITEM parent, const TTVCompare& compare, std::intptr_t data);
  LRESULT Send(UINT msg, WPARAM wParam, LPARAM lParam) const;

  // A text asked for by the control, kept until it asks again.
  std::string shownText_;
  std::wstring shownWideText_;
  bool textsInvalid_ = false;  // drawing of the texts is due
  // The control class's own window procedure, which item messages go to
  // directly; read when first needed.
  mutable WNDPROC controlProc_ = nullptr;
  std::vector<TTreeNode*> topNodes_;
  bool destroying_ = false;
};

// Holds a tree's drawing off while it lives (when `active`), and has the
// tree drawn once afterwards: many items added or changed cost one drawing.
class TTreeUpdate {
 public:
  TTreeUpdate(TTreeView& tree, bool active);
  ~TTreeUpdate();
  TTreeUpdate(const TTreeUpdate&) = delete;
  TTreeUpdate& operator=(const TTreeUpdate&) = delete;

 private:
  HWND window_ = nullptr;
};

}  // namespace classlib
