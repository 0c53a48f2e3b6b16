// TTreeView over the common tree-view control, and its TTreeNode items: text,
// a data slot, images, state image, bold, expansion and custom sorting.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <functional>
#include <string>

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

  std::string Text() const;
  void SetText(const std::string& text);

  TTreeNode* Parent() const;
  TTreeNode* GetFirstChild() const;
  TTreeNode* GetNextSibling() const;
  int Count() const;
  bool HasChildren() const { return GetFirstChild() != nullptr; }
  // 0 for a top-level node.
  int Level() const;

  bool Expanded() const;
  void Expand(bool Recurse);
  void Collapse(bool Recurse);
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
  TTreeNode(TTreeView* tree, HTREEITEM item) : tree_(tree), item_(item) {}
  LRESULT Send(UINT msg, WPARAM wParam, LPARAM lParam) const;
  void SetState(UINT state, UINT mask);
  void SetImages(UINT mask, int image, int selectedImage);

  TTreeView* tree_;
  HTREEITEM item_;
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
  // Sorts the top-level nodes.
  bool CustomSort(const TTVCompare& compare, std::intptr_t data);

  void SetImages(TImageList* images);
  void SetStateImages(TImageList* images);

  // Fired for each node about to be freed, children before their parent.
  std::function<void(TObject* Sender, TTreeNode* Node)> OnDeletion;

  // The node of an item of this tree, or null.
  TTreeNode* NodeFromItem(HTREEITEM item) const;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void WindowDestroying() override;

 private:
  friend class TTreeNode;
  void DeleteBranch(TTreeNode* node);
  void FreeBranch(TTreeNode* node);
  bool SortChildren(HTREEITEM parent, const TTVCompare& compare, std::intptr_t data);
  LRESULT Send(UINT msg, WPARAM wParam, LPARAM lParam) const { return SendMessageA(handle_, msg, wParam, lParam); }
};

}  // namespace classlib
