// Tree-view items as TTreeNode objects held in the items' parameters.
#include "classlib/win/TreeView.h"

#include <vector>

namespace classlib {

LRESULT TTreeNode::Send(UINT msg, WPARAM wParam, LPARAM lParam) const { return tree_->Send(msg, wParam, lParam); }

std::string TTreeNode::Text() const {
  char buffer[1024] = "";
  TVITEMA item = {};
  item.mask = TVIF_TEXT | TVIF_HANDLE;
  item.hItem = item_;
  item.pszText = buffer;
  item.cchTextMax = sizeof buffer;
  Send(TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
  return buffer;
}

void TTreeNode::SetText(const std::string& text) {
  TVITEMA item = {};
  item.mask = TVIF_TEXT | TVIF_HANDLE;
  item.hItem = item_;
  item.pszText = const_cast<char*>(text.c_str());
  Send(TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

TTreeNode* TTreeNode::Parent() const {
  return tree_->NodeFromItem(reinterpret_cast<HTREEITEM>(Send(TVM_GETNEXTITEM, TVGN_PARENT, reinterpret_cast<LPARAM>(item_))));
}

TTreeNode* TTreeNode::GetFirstChild() const {
  return tree_->NodeFromItem(reinterpret_cast<HTREEITEM>(Send(TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(item_))));
}

TTreeNode* TTreeNode::GetNextSibling() const {
  return tree_->NodeFromItem(reinterpret_cast<HTREEITEM>(Send(TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item_))));
}

int TTreeNode::Count() const {
  int n = 0;
  for (TTreeNode* c = GetFirstChild(); c != nullptr; c = c->GetNextSibling()) ++n;
  return n;
}

int TTreeNode::Level() const {
  int level = 0;
  for (TTreeNode* p = Parent(); p != nullptr; p = p->Parent()) ++level;
  return level;
}

bool TTreeNode::Expanded() const {
  return (Send(TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item_), TVIS_EXPANDED) & TVIS_EXPANDED) != 0;
}

void TTreeNode::Expand(bool Recurse) {
  Send(TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(item_));
  if (Recurse)
    for (TTreeNode* c = GetFirstChild(); c != nullptr; c = c->GetNextSibling()) c->Expand(true);
}

void TTreeNode::Collapse(bool Recurse) {
  if (Recurse)
    for (TTreeNode* c = GetFirstChild(); c != nullptr; c = c->GetNextSibling()) c->Collapse(true);
  Send(TVM_EXPAND, TVE_COLLAPSE, reinterpret_cast<LPARAM>(item_));
}

bool TTreeNode::IsVisible() const {
  for (TTreeNode* p = Parent(); p != nullptr; p = p->Parent())
    if (!p->Expanded()) return false;
  return true;
}

bool TTreeNode::Selected() const { return tree_->Selected() == this; }

void TTreeNode::SetImages(UINT mask, int image, int selectedImage) {
  TVITEMA item = {};
  item.mask = mask | TVIF_HANDLE;
  item.hItem = item_;
  item.iImage = image;
  item.iSelectedImage = selectedImage;
  Send(TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

void TTreeNode::SetImageIndex(int index) {
  image_ = index;
  SetImages(TVIF_IMAGE, index, 0);
}

void TTreeNode::SetSelectedIndex(int index) {
  selectedImage_ = index;
  SetImages(TVIF_SELECTEDIMAGE, 0, index);
}

void TTreeNode::SetState(UINT state, UINT mask) {
  TVITEMA item = {};
  item.mask = TVIF_STATE | TVIF_HANDLE;
  item.hItem = item_;
  item.state = state;
  item.stateMask = mask;
  Send(TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

int TTreeNode::StateIndex() const {
  auto state = static_cast<UINT>(Send(TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item_), TVIS_STATEIMAGEMASK));
  return static_cast<int>((state & TVIS_STATEIMAGEMASK) >> 12);
}

void TTreeNode::SetStateIndex(int index) {
  // The control keeps four bits for the state image.
  if (index < 0) index = 0;
  if (index > 15) index = 15;
  SetState(INDEXTOSTATEIMAGEMASK(static_cast<UINT>(index)), TVIS_STATEIMAGEMASK);
}

bool TTreeNode::Bold() const {
  return (Send(TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item_), TVIS_BOLD) & TVIS_BOLD) != 0;
}

void TTreeNode::SetBold(bool bold) { SetState(bold ? TVIS_BOLD : 0, TVIS_BOLD); }

bool TTreeNode::CustomSort(const TTVCompare& compare, std::intptr_t data) {
  return tree_->SortChildren(item_, compare, data);
}

void TTreeNode::Delete() { tree_->DeleteBranch(this); }

void TTreeNode::DeleteChildren() {
  while (TTreeNode* child = GetFirstChild()) child->Delete();
}

TTreeView::TTreeView(TComponent* AOwner, TWinControl* parent) : TWinControl(AOwner) {
  INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_TREEVIEW_CLASSES};
  InitCommonControlsEx(&icc);
  tabStop_ = true;
  RECT rc = {0, 0, 200, 300};
  if (HWND parentWindow = parent != nullptr ? parent->Handle() : nullptr) GetClientRect(parentWindow, &rc);
  SetBounds(0, 0, rc.right, rc.bottom);
  SetParent(parent);
}

void TTreeView::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  Params.ClassName = WC_TREEVIEWA;
  Params.SystemClass = true;
  Params.Style |= TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS;
  Params.ExStyle |= WS_EX_CLIENTEDGE;
}

TTreeView::~TTreeView() { Clear(); }

void TTreeView::WindowDestroying() { Clear(); }

TTreeNode* TTreeView::NodeFromItem(HTREEITEM item) const {
  if (item == nullptr || handle_ == nullptr) return nullptr;
  TVITEMA tv = {};
  tv.mask = TVIF_PARAM | TVIF_HANDLE;
  tv.hItem = item;
  if (!Send(TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&tv))) return nullptr;
  return reinterpret_cast<TTreeNode*>(tv.lParam);
}

TTreeNode* TTreeView::AddChild(TTreeNode* parent, const std::string& text) {
  if (handle_ == nullptr) return nullptr;
  auto* node = new TTreeNode(this, nullptr);
  TVINSERTSTRUCTA insert = {};
  insert.hParent = parent != nullptr ? parent->item_ : TVI_ROOT;
  insert.hInsertAfter = TVI_LAST;
  insert.item.mask = TVIF_TEXT | TVIF_PARAM;
  insert.item.pszText = const_cast<char*>(text.c_str());
  insert.item.lParam = reinterpret_cast<LPARAM>(node);
  node->item_ = reinterpret_cast<HTREEITEM>(Send(TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
  if (node->item_ == nullptr) {
    delete node;
    return nullptr;
  }
  return node;
}

TTreeNode* TTreeView::GetFirstNode() const {
  if (handle_ == nullptr) return nullptr;
  return NodeFromItem(reinterpret_cast<HTREEITEM>(Send(TVM_GETNEXTITEM, TVGN_ROOT, 0)));
}

TTreeNode* TTreeView::Selected() const {
  if (handle_ == nullptr) return nullptr;
  return NodeFromItem(reinterpret_cast<HTREEITEM>(Send(TVM_GETNEXTITEM, TVGN_CARET, 0)));
}

void TTreeView::SetSelected(TTreeNode* node) {
  Send(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(node != nullptr ? node->item_ : nullptr));
}

void TTreeView::Clear() {
  while (TTreeNode* node = GetFirstNode()) node->Delete();
}

void TTreeView::FreeBranch(TTreeNode* node) {
  for (TTreeNode* c = node->GetFirstChild(); c != nullptr; c = c->GetNextSibling()) FreeBranch(c);
  if (OnDeletion) OnDeletion(this, node);
}

void TTreeView::DeleteBranch(TTreeNode* node) {
  // Gather the branch first: the handlers run while every node still exists.
  std::vector<TTreeNode*> branch;
  std::vector<TTreeNode*> pending{node};
  while (!pending.empty()) {
    TTreeNode* n = pending.back();
    pending.pop_back();
    branch.push_back(n);
    for (TTreeNode* c = n->GetFirstChild(); c != nullptr; c = c->GetNextSibling()) pending.push_back(c);
  }
  FreeBranch(node);
  Send(TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(node->item_));
  for (TTreeNode* n : branch) delete n;
}

namespace {
struct TSortContext {
  const TTVCompare* compare;
  std::intptr_t data;
};

int CALLBACK CompareItems(LPARAM a, LPARAM b, LPARAM context) {
  auto* c = reinterpret_cast<TSortContext*>(context);
  return (*c->compare)(reinterpret_cast<TTreeNode*>(a), reinterpret_cast<TTreeNode*>(b), c->data);
}
}  // namespace

bool TTreeView::SortChildren(HTREEITEM parent, const TTVCompare& compare, std::intptr_t data) {
  if (handle_ == nullptr || !compare) return false;
  TSortContext context{&compare, data};
  TVSORTCB sort = {};
  sort.hParent = parent;
  sort.lpfnCompare = CompareItems;
  sort.lParam = reinterpret_cast<LPARAM>(&context);
  return Send(TVM_SORTCHILDRENCB, 0, reinterpret_cast<LPARAM>(&sort)) != 0;
}

bool TTreeView::CustomSort(const TTVCompare& compare, std::intptr_t data) { return SortChildren(TVI_ROOT, compare, data); }

void TTreeView::SetImages(TImageList* images) {
  Send(TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(images != nullptr ? images->Handle() : nullptr));
}

void TTreeView::SetStateImages(TImageList* images) {
  Send(TVM_SETIMAGELIST, TVSIL_STATE, reinterpret_cast<LPARAM>(images != nullptr ? images->Handle() : nullptr));
}

}  // namespace classlib
