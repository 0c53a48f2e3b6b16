// Tree-view items as TTreeNode objects held in the items' parameters.
#include "classlib/win/TreeView.h"

#include <algorithm>
#include <cstring>
#include <unordered_set>

#include "classlib/win/WideText.h"

namespace classlib {

namespace {
// The tree whose deletion notifications the parent is spared while it frees a
// branch, and the parent's own procedure, which gets every other message.
HWND gSilencedTree = nullptr;
WNDPROC gParentProc = nullptr;

LRESULT CALLBACK SilencedParentProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NOTIFY) {
    auto* header = reinterpret_cast<NMHDR*>(lParam);
    if (header->hwndFrom == gSilencedTree && (header->code == TVN_DELETEITEMA || header->code == TVN_DELETEITEMW)) return 0;
  }
  return CallWindowProcA(gParentProc, hwnd, msg, wParam, lParam);
}
}  // namespace

LRESULT TTreeNode::Send(UINT msg, WPARAM wParam, LPARAM lParam) const { return tree_->Send(msg, wParam, lParam); }

void TTreeNode::SetText(const std::string& text) {
  if (text == text_) return;
  text_ = text;
  tree_->RedrawTexts();
}

TTreeNode* TTreeNode::GetFirstChild() const {
  return tree_->NodeFromItem(reinterpret_cast<HTREEITEM>(Send(TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(item_))));
}

TTreeNode* TTreeNode::GetNextSibling() const {
  return tree_->NodeFromItem(reinterpret_cast<HTREEITEM>(Send(TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item_))));
}

int TTreeNode::Level() const {
  int level = 0;
  for (TTreeNode* p = parent_; p != nullptr; p = p->parent_) ++level;
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

void TTreeNode::ExpandHidden() {
  bool allow = true;
  Fire(tree_->OnExpanding, tree_, this, allow);
  if (allow) SetState(TVIS_EXPANDED | TVIS_EXPANDEDONCE, TVIS_EXPANDED | TVIS_EXPANDEDONCE);
}

bool TTreeNode::IsVisible() const {
  for (TTreeNode* p = parent_; p != nullptr; p = p->parent_)
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

void TTreeNode::Delete() { tree_->DeleteNodes({this}); }

void TTreeNode::DeleteChildren() {
  const std::vector<TTreeNode*> children = children_;
  tree_->DeleteNodes(children);
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

TTreeNode* TTreeView::GetNodeAt(int x, int y) const {
  TVHITTESTINFO hit = {};
  hit.pt = {x, y};
  auto item = reinterpret_cast<HTREEITEM>(Send(TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
  return item != nullptr && (hit.flags & TVHT_ONITEM) ? NodeFromItem(item) : nullptr;
}

bool TTreeView::KeyboardContextPopup() {
  if (!OnContextPopup) return false;
  TTreeNode* node = Selected();
  RECT r = {};
  if (node != nullptr) {
    const HTREEITEM item = node->ItemId();  // the rectangle's first field names the item
    std::memcpy(&r, &item, sizeof item);
    if (!Send(TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&r))) r = {};
  }
  bool handled = false;
  Fire(OnContextPopup, this, node, TPoint{r.left, r.bottom}, handled);
  return handled;
}

void TTreeView::WndProc(TMessage& Message) {
  // The menu key and Shift+F10 open the pop-up of the selected node. They
  // are taken when released (where the system would make a context-menu
  // message of them, which then does not come); a context-menu message at
  // no mouse position from elsewhere does the same.
  if (Message.Window == handle_) {
    if (Message.Msg == WM_PAINT) textsInvalid_ = false;  // the texts are asked for now
    const bool menuKey = (Message.Msg == WM_KEYUP && Message.WParam == VK_APPS) ||
                         ((Message.Msg == WM_SYSKEYUP || Message.Msg == WM_KEYUP) && Message.WParam == VK_F10 &&
                          (GetKeyState(VK_SHIFT) & 0x8000) != 0);
    if ((menuKey || (Message.Msg == WM_CONTEXTMENU && Message.LParam == -1)) && KeyboardContextPopup()) {
      Message.Result = 0;
      return;
    }
  }
  TWinControl::WndProc(Message);
}

void TTreeView::RedrawTexts() {
  if (handle_ == nullptr || textsInvalid_) return;
  textsInvalid_ = true;
  InvalidateRect(handle_, nullptr, FALSE);
}

bool TTreeView::Notify(NMHDR& header, LRESULT& result) {
  switch (header.code) {
    case TVN_GETDISPINFOA:
    case TVN_GETDISPINFOW: {
      // The node's text, from a buffer of the tree's that lives until the
      // next question: the control copies it, whatever its length.
      TVITEMA& item = reinterpret_cast<NMTVDISPINFOA&>(header).item;
      const auto* node = reinterpret_cast<const TTreeNode*>(item.lParam);
      if (!(item.mask & TVIF_TEXT) || node == nullptr) return true;
      if (header.code == TVN_GETDISPINFOW) {
        shownWideText_ = WideFromText(node->text_, CP_ACP);
        item.pszText = reinterpret_cast<LPSTR>(shownWideText_.data());
      } else {
        shownText_ = node->text_;
        item.pszText = shownText_.data();
      }
      return true;
    }
    case TVN_SELCHANGEDA:
    case TVN_SELCHANGEDW:
      if (!destroying_) Fire(OnChange, this, NodeFromItem(reinterpret_cast<NMTREEVIEWA&>(header).itemNew.hItem));
      return true;
    case TVN_ITEMEXPANDINGA:
    case TVN_ITEMEXPANDINGW: {
      const auto& change = reinterpret_cast<NMTREEVIEWA&>(header);
      bool allow = true;
      if (change.action & TVE_EXPAND) Fire(OnExpanding, this, NodeFromItem(change.itemNew.hItem), allow);
      result = allow ? FALSE : TRUE;
      return true;
    }
    case NM_RCLICK: {
      POINT p;
      GetCursorPos(&p);
      ScreenToClient(handle_, &p);
      bool handled = false;
      Fire(OnContextPopup, this, GetNodeAt(p.x, p.y), TPoint{p.x, p.y}, handled);
      result = handled ? TRUE : FALSE;
      return true;
    }
    default:
      return false;
  }
}

void TTreeView::WindowDestroying() {
  destroying_ = true;
  Clear();
}

LRESULT TTreeView::Send(UINT msg, WPARAM wParam, LPARAM lParam) const {
  // Item messages skip the subclass chain: under Wine each subclass layer
  // looks its data up in the window server, about 100 us a message, and a
  // scan sends tens of thousands of them. Nodes are used on the window's
  // own thread only.
  if (controlProc_ == nullptr && handle_ != nullptr)
    controlProc_ = reinterpret_cast<WNDPROC>(GetClassLongPtrA(handle_, GCLP_WNDPROC));
  if (controlProc_ != nullptr) return CallWindowProcA(controlProc_, handle_, msg, wParam, lParam);
  return SendMessageA(handle_, msg, wParam, lParam);
}

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
  auto* node = new TTreeNode(this, parent);
  TVINSERTSTRUCTA insert = {};
  insert.hParent = parent != nullptr ? parent->item_ : TVI_ROOT;
  insert.hInsertAfter = TVI_LAST;
  insert.item.mask = TVIF_TEXT | TVIF_PARAM;
  insert.item.pszText = LPSTR_TEXTCALLBACKA;  // asked of the node (TVN_GETDISPINFO)
  insert.item.lParam = reinterpret_cast<LPARAM>(node);
  node->text_ = text;
  node->item_ = reinterpret_cast<HTREEITEM>(Send(TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
  if (node->item_ == nullptr) {
    delete node;
    return nullptr;
  }
  (parent != nullptr ? parent->children_ : topNodes_).push_back(node);
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
  const std::vector<TTreeNode*> nodes = topNodes_;
  DeleteNodes(nodes);
}

void TTreeView::FreeBranch(TTreeNode* node) {
  for (TTreeNode* c : node->children_) FreeBranch(c);
  if (OnDeletion) OnDeletion(this, node);
}

void TTreeView::DeleteNodes(const std::vector<TTreeNode*>& nodes) {
  if (nodes.empty()) return;
  // The handlers run first, while every node of the branches still exists.
  for (TTreeNode* node : nodes) FreeBranch(node);
  // Each list of siblings drops its doomed nodes in one pass, so that the
  // thousands of children of one folder go in a time linear in their count.
  std::unordered_set<TTreeNode*> doomed(nodes.begin(), nodes.end());
  std::vector<std::vector<TTreeNode*>*> lists;
  std::unordered_set<std::vector<TTreeNode*>*> listed;
  for (TTreeNode* node : nodes) {
    auto* siblings = node->parent_ != nullptr ? &node->parent_->children_ : &topNodes_;
    if (listed.insert(siblings).second) lists.push_back(siblings);
  }
  std::vector<TTreeNode*> branches;
  for (auto* siblings : lists)
    siblings->erase(std::remove_if(siblings->begin(), siblings->end(),
                                   [&](TTreeNode* n) {
                                     if (doomed.erase(n) == 0) return false;
                                     branches.push_back(n);
                                     return true;
                                   }),
                    siblings->end());
  if (handle_ != nullptr) {
    // The control tells the parent of every item it frees; OnDeletion has done
    // that already, and under Wine the parent's window procedure costs tens of
    // microseconds a message, so the parent is spared them for the time being.
    HWND parent = destroying_ ? nullptr : GetParent(handle_);
    if (parent != nullptr && gSilencedTree == nullptr) {
      gSilencedTree = handle_;
      gParentProc = reinterpret_cast<WNDPROC>(
          SetWindowLongPtrA(parent, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SilencedParentProc)));
    } else {
      parent = nullptr;
    }
    Send(WM_SETREDRAW, FALSE, 0);
    for (TTreeNode* node : branches) Send(TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(node->item_));
    Send(WM_SETREDRAW, TRUE, 0);
    if (parent != nullptr) {
      SetWindowLongPtrA(parent, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(gParentProc));
      gSilencedTree = nullptr;
      gParentProc = nullptr;
    }
    InvalidateRect(handle_, nullptr, TRUE);
  }
  std::vector<TTreeNode*> pending = branches;
  while (!pending.empty()) {
    TTreeNode* n = pending.back();
    pending.pop_back();
    pending.insert(pending.end(), n->children_.begin(), n->children_.end());
    delete n;
  }
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

TTreeUpdate::TTreeUpdate(TTreeView& tree, bool active) {
  if (!active || !tree.HandleAllocated()) return;
  window_ = tree.Handle();
  SendMessageA(window_, WM_SETREDRAW, FALSE, 0);
}

TTreeUpdate::~TTreeUpdate() {
  if (window_ == nullptr) return;
  SendMessageA(window_, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(window_, nullptr, TRUE);
}

}  // namespace classlib
