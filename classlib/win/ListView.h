// TListView over the common list-view control in report view: columns, items
// with a caption, sub-item texts, images and a data slot, selection, custom
// sorting, the header control, and owner-drawn rows. Items are objects the
// list owns; the control asks them for their texts, so sorting and drawing
// always show what the objects hold. With VirtualRows the control holds no
// rows at all, only their count: it asks for the rows it draws, so hundreds
// of thousands of rows are added, sorted and emptied without a message each.
#pragma once

#include "classlib/win/Win32.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "classlib/win/Controls.h"
#include "classlib/win/ImageList.h"
#include "classlib/win/StdCtrls.h"

namespace classlib {

class TListView;

// One row. Change its fields, then call Update to show them.
class TListItem {
 public:
  TListView* ListView() const { return list_; }
  // The row's position in the list as it is now sorted; -1 when gone.
  int Index() const;
  bool Selected() const { return HasState(LVIS_SELECTED); }
  void SetSelected(bool value) { SetState(LVIS_SELECTED, value); }
  bool Focused() const { return HasState(LVIS_FOCUSED); }
  void SetFocused(bool value) { SetState(LVIS_FOCUSED, value); }
  // Shows the fields as they are now.
  void Update();
  // Has the list's OnGetRowTexts fill the texts of a row added with
  // TextsPending, once; call before reading SubItems.
  void MakeTexts();

  std::string Caption;
  std::vector<std::string> SubItems;
  // The sub-item texts are made when first needed (OnGetRowTexts), so that a
  // list of hundreds of thousands of rows formats only those it shows.
  bool TextsPending = false;
  int ImageIndex = -1;
  // A marker the list keeps for its user (no state image is shown).
  int StateIndex = -1;
  // Free for the user of the list; OnDeletion is the place to free it.
  void* Data = nullptr;

 private:
  friend class TListView;
  explicit TListItem(TListView* list) : list_(list) {}
  bool HasState(UINT state) const;
  void SetState(UINT state, bool on);
  TListView* list_;
  // The position among the list's rows: kept with VirtualRows; otherwise
  // where the row was last seen in the control, checked before it is used.
  mutable int index_ = -1;
};

// Negative when a sorts before b, positive after, 0 keeps their order.
using TListCompare = std::function<int(TListItem* a, TListItem* b)>;

class TListView : public TWinControl {
 public:
  explicit TListView(TComponent* AOwner);
  // Frees every item, firing OnDeletion for each.
  ~TListView() override;

  // Columns.
  int ColumnCount() const { return static_cast<int>(columns_.size()); }
  void AddColumn(const std::string& caption, int width, TAlignment alignment);
  const std::string& ColumnCaption(int index) const;
  TAlignment ColumnAlignment(int index) const;
  int ColumnWidth(int index) const;
  void SetColumnWidth(int index, int width);
  // Column indexes by display position, as the user dragged them.
  std::vector<int> ColumnOrder() const;
  void SetColumnOrder(const std::vector<int>& order);
  HWND HeaderHandle() const;

  // Items, in the list's current order.
  int Count() const;
  TListItem* Item(int index) const;
  // A new last row; show it with Update after filling its fields.
  TListItem* Add();
  void Delete(TListItem* item);
  void Clear();
  TListItem* Selected() const;
  TListItem* ItemAt(int x, int y) const;
  // Holds drawing off while items change; pairs nest.
  void BeginUpdate();
  void EndUpdate();
  // Sorts by `compare` in the control's own sort (VirtualRows: the list's).
  void CustomSort(const TListCompare& compare);
  // VirtualRows: puts the rows in a new order, order[k] being the place now
  // of the row that goes to place k. False, changing nothing, when `order`
  // is not an order of all the rows.
  bool Reorder(const std::vector<int>& order);

  DWORD ExtendedStyle() const;
  void SetExtendedStyle(DWORD style);
  void SetSmallImages(TImageList* images);
  // Rows drawn by DrawItem (set before the window is made).
  bool OwnerDraw = false;
  // Items come from the user of the list through notifications (set before
  // the window is made); Add and Item are then not used.
  bool OwnerData = false;
  // The list's own items in a control that holds only their count and asks
  // for the rows it shows (set before the window is made): Add, Item, Index,
  // Clear and CustomSort cost no message per row; the sort is the list's own
  // (stable). Selection and focus stay with their rows through a sort.
  bool VirtualRows = false;
  // Item texts are UTF-8: the control asks for them as wide text, so names
  // outside the ANSI code page show whole. Set before the window is made.
  bool Utf8Text = false;
  bool HideSelection = true;
  // Captions may be edited in place (set before the window is made).
  bool ReadOnly = true;
  // Sets the item count of an owner-data list.
  void SetVirtualCount(int count);

  std::function<void(TObject* Sender, int Column)> OnColumnClick;
  std::function<void(TObject* Sender, TListItem* Item)> OnDeletion;
  // Fills the sub-item texts of a row added with TextsPending.
  std::function<void(TObject* Sender, TListItem* Item)> OnGetRowTexts;
  std::function<void(TObject* Sender, TListItem* Item, bool Selected)> OnSelectItem;
  // An in-place edit of a caption ended with a new text `S`, which the
  // handler may change; the caption becomes S.
  std::function<void(TObject* Sender, TListItem* Item, std::string& S)> OnEdited;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void WindowCreated() override;
  bool Notify(NMHDR& header, LRESULT& result) override;
  // A column's header was clicked: fires OnColumnClick.
  virtual void ColumnClick(int Column) { Fire(OnColumnClick, this, Column); }
  // An in-place edit ended with a new text: fires OnEdited and takes the
  // caption. One that ended without a new text (cancelled) comes to
  // EditCanceled.
  virtual void Edited(TListItem* Item, std::string& S);
  virtual void EditCanceled(TListItem* Item) {}
  // Owner drawing: each row, and the row height asked once.
  virtual void DrawItem(const DRAWITEMSTRUCT& draw) {}
  virtual void MeasureItem(UINT& height) {}
  // The item the control holds at `index`.
  TListItem* ItemFromIndex(int index) const;
  LRESULT Send(UINT msg, WPARAM wParam, LPARAM lParam) const;

 private:
  friend class TListItem;
  struct TColumn {
    std::string caption;
    int width;
    TAlignment alignment;
  };
  void InsertColumnIntoWindow(int index);
  void InsertItemIntoWindow(TListItem* item, int index);
  bool ParentMessage(TMessage& Message);
  void FreeItem(TListItem* item);
  // VirtualRows: makes `rows` (all the rows, in a new order) the list's order.
  void PlaceRows(const std::vector<TListItem*>& rows);
  bool Virtual() const { return VirtualRows && !OwnerData; }
  // Gives the control the number of rows (VirtualRows) unless an update holds it off.
  void SyncVirtualCount();
  // The row whose caption begins with (or is) the text looked for, for the
  // control's typing search in VirtualRows; -1 when none.
  int FindRow(const NMLVFINDITEMA& find, bool wide) const;

  std::vector<TColumn> columns_;
  std::vector<std::unique_ptr<TListItem>> items_;
  std::vector<int> pendingOrder_;
  DWORD extendedStyle_ = 0;
  TImageList* smallImages_ = nullptr;
  TWinControl* hookedParent_ = nullptr;
  int updates_ = 0;
  int virtualCount_ = 0;
  bool clearing_ = false;
  bool countPending_ = false;  // VirtualRows: rows added while an update held the count off
};

}  // namespace classlib
