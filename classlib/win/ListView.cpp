// The list view: columns, items answered on request, sorting, owner drawing.
#include "classlib/win/ListView.h"

#include <algorithm>
#include <cstring>

#include "classlib/win/WideText.h"

namespace classlib {

namespace {

int ColumnFormat(TAlignment alignment) {
  switch (alignment) {
    case TAlignment::taRightJustify: return LVCFMT_RIGHT;
    case TAlignment::taCenter: return LVCFMT_CENTER;
    default: return LVCFMT_LEFT;
  }
}

int CALLBACK CompareItems(LPARAM a, LPARAM b, LPARAM compare) {
  const auto& f = *reinterpret_cast<const TListCompare*>(compare);
  return f(reinterpret_cast<TListItem*>(a), reinterpret_cast<TListItem*>(b));
}

// A stable merge sort that stays within its arrays whatever the comparison
// answers, so a comparison that is not a strict order only misorders rows.
void MergeSort(std::vector<TListItem*>& rows, const TListCompare& compare) {
  const size_t n = rows.size();
  std::vector<TListItem*> merged(n);
  for (size_t width = 1; width < n; width *= 2) {
    for (size_t lo = 0; lo < n; lo += 2 * width) {
      const size_t mid = std::min(lo + width, n), hi = std::min(lo + 2 * width, n);
      size_t i = lo, j = mid, k = lo;
      while (i < mid && j < hi) merged[k++] = compare(rows[j], rows[i]) < 0 ? rows[j++] : rows[i++];
      while (i < mid) merged[k++] = rows[i++];
      while (j < hi) merged[k++] = rows[j++];
    }
    rows.swap(merged);
  }
}

// Whether `caption` is the text looked for: the whole of it, or with
// `partial` its beginning; letters compared without case, as the control's
// own typing search does.
bool CaptionMatches(const std::wstring& caption, const std::wstring& sought, bool partial) {
  if (partial ? caption.size() < sought.size() : caption.size() != sought.size()) return false;
  return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, caption.c_str(), static_cast<int>(sought.size()),
                        sought.c_str(), static_cast<int>(sought.size())) == CSTR_EQUAL;
}

// The text the control asks for: the caption for column 0, else a sub-item.
const std::string& TextOf(TListItem& item, int subItem) {
  static const std::string none;
  if (subItem == 0) return item.Caption;
  item.MakeTexts();
  const size_t i = static_cast<size_t>(subItem - 1);
  return i < item.SubItems.size() ? item.SubItems[i] : none;
}

}  // namespace

// ---- TListItem ----

int TListItem::Index() const {
  if (list_ != nullptr && list_->Virtual()) return index_;
  if (list_ == nullptr || !list_->HandleAllocated()) return -1;
  // Where the row was last seen, when it is still there: a search of the
  // whole list per row would make filling a big list take the square of
  // its length.
  if (index_ >= 0) {
    LVITEMA seen = {};
    seen.mask = LVIF_PARAM;
    seen.iItem = index_;
    if (list_->Send(LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&seen)) && seen.lParam == reinterpret_cast<LPARAM>(this))
      return index_;
  }
  LVFINDINFOA find = {};
  find.flags = LVFI_PARAM;
  find.lParam = reinterpret_cast<LPARAM>(this);
  index_ = static_cast<int>(list_->Send(LVM_FINDITEMA, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&find)));
  return index_;
}

void TListItem::MakeTexts() {
  if (!TextsPending || list_ == nullptr) return;
  TextsPending = false;
  Fire(list_->OnGetRowTexts, list_, this);
}

bool TListItem::HasState(UINT state) const {
  const int i = Index();
  if (i >= 0 && list_->countPending_) list_->SyncVirtualCount();
  return i >= 0 && (list_->Send(LVM_GETITEMSTATE, static_cast<WPARAM>(i), state) & state) != 0;
}

void TListItem::SetState(UINT state, bool on) {
  const int i = Index();
  if (i < 0) return;
  if (list_->countPending_) list_->SyncVirtualCount();
  LVITEMA item = {};
  item.stateMask = state;
  item.state = on ? state : 0;
  list_->Send(LVM_SETITEMSTATE, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
}

void TListItem::Update() {
  const int i = Index();
  if (i < 0) return;
  if (list_->Virtual()) {
    // The control asks for the row again when it draws it.
    if (!list_->countPending_) list_->Send(LVM_REDRAWITEMS, static_cast<WPARAM>(i), i);
    return;
  }
  LVITEMA item = {};
  item.mask = LVIF_IMAGE;
  item.iItem = i;
  item.iImage = ImageIndex;
  list_->Send(LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
  list_->Send(LVM_UPDATE, static_cast<WPARAM>(i), 0);
}

// ---- TListView ----

TListView::TListView(TComponent* AOwner) : TWinControl(AOwner) {
  INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&icc);
  tabStop_ = true;
  color_ = clWindow;
}

TListView::~TListView() {
  if (hookedParent_ != nullptr) hookedParent_->RemoveMessageHook(this);
  for (auto& item : items_) Fire(OnDeletion, this, item.get());
  items_.clear();
}

LRESULT TListView::Send(UINT msg, WPARAM wParam, LPARAM lParam) const {
  return handle_ != nullptr ? SendMessageA(handle_, msg, wParam, lParam) : 0;
}

void TListView::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  Params.ClassName = WC_LISTVIEWA;
  Params.SystemClass = true;
  Params.Style |= LVS_REPORT | LVS_SHAREIMAGELISTS | WS_TABSTOP;
  if (!HideSelection) Params.Style |= LVS_SHOWSELALWAYS;
  if (OwnerDraw) Params.Style |= LVS_OWNERDRAWFIXED;
  if (OwnerData || VirtualRows) Params.Style |= LVS_OWNERDATA;
  if (!ReadOnly) Params.Style |= LVS_EDITLABELS;
  Params.ExStyle |= WS_EX_CLIENTEDGE;
  // Owner drawing reaches the parent; the row height is asked while the
  // window is being made, so the parent's messages are heard from now on.
  if (parent_ != hookedParent_) {
    if (hookedParent_ != nullptr) hookedParent_->RemoveMessageHook(this);
    hookedParent_ = parent_;
    if (hookedParent_ != nullptr)
      hookedParent_->AddMessageHook(this, [this](TMessage& m) { return ParentMessage(m); });
  }
}

bool TListView::ParentMessage(TMessage& Message) {
  if (handle_ == nullptr) return false;
  if (Message.Msg == WM_DRAWITEM) {
    const auto* draw = reinterpret_cast<const DRAWITEMSTRUCT*>(Message.LParam);
    if (draw->CtlType != ODT_LISTVIEW || draw->hwndItem != handle_) return false;
    DrawItem(*draw);
    Message.Result = TRUE;
    return true;
  }
  if (Message.Msg == WM_MEASUREITEM) {
    auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(Message.LParam);
    if (measure->CtlType != ODT_LISTVIEW || measure->CtlID != static_cast<UINT>(GetDlgCtrlID(handle_))) return false;
    MeasureItem(measure->itemHeight);
    Message.Result = TRUE;
    return true;
  }
  return false;
}

void TListView::WindowCreated() {
  TWinControl::WindowCreated();
  Send(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, extendedStyle_);
  if (Utf8Text) Send(LVM_SETUNICODEFORMAT, TRUE, 0);
  if (smallImages_ != nullptr) Send(LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(smallImages_->Handle()));
  for (int i = 0; i < ColumnCount(); ++i) InsertColumnIntoWindow(i);
  if (!pendingOrder_.empty()) SetColumnOrder(pendingOrder_);
  if (OwnerData) {
    Send(LVM_SETITEMCOUNT, static_cast<WPARAM>(virtualCount_), 0);
  } else if (VirtualRows) {
    SyncVirtualCount();
  } else {
    for (size_t i = 0; i < items_.size(); ++i) InsertItemIntoWindow(items_[i].get(), static_cast<int>(i));
  }
}

void TListView::InsertColumnIntoWindow(int index) {
  const TColumn& c = columns_[static_cast<size_t>(index)];
  LVCOLUMNA column = {};
  column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
  column.fmt = ColumnFormat(c.alignment);
  column.cx = c.width;
  column.pszText = const_cast<char*>(c.caption.c_str());
  column.iSubItem = index;
  Send(LVM_INSERTCOLUMNA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&column));
}

void TListView::AddColumn(const std::string& caption, int width, TAlignment alignment) {
  columns_.push_back({caption, width, alignment});
  if (handle_ != nullptr) InsertColumnIntoWindow(ColumnCount() - 1);
}

const std::string& TListView::ColumnCaption(int index) const {
  static const std::string none;
  return index >= 0 && index < ColumnCount() ? columns_[static_cast<size_t>(index)].caption : none;
}

TAlignment TListView::ColumnAlignment(int index) const {
  return index >= 0 && index < ColumnCount() ? columns_[static_cast<size_t>(index)].alignment : TAlignment::taLeftJustify;
}

int TListView::ColumnWidth(int index) const {
  if (index < 0 || index >= ColumnCount()) return 0;
  if (handle_ != nullptr) return static_cast<int>(Send(LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(index), 0));
  return columns_[static_cast<size_t>(index)].width;
}

void TListView::SetColumnWidth(int index, int width) {
  if (index < 0 || index >= ColumnCount()) return;
  columns_[static_cast<size_t>(index)].width = width;
  Send(LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(index), MAKELPARAM(std::clamp(width, 0, 0x7FFF), 0));
}

std::vector<int> TListView::ColumnOrder() const {
  std::vector<int> order(columns_.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = static_cast<int>(i);
  if (handle_ != nullptr && !order.empty())
    Send(LVM_GETCOLUMNORDERARRAY, order.size(), reinterpret_cast<LPARAM>(order.data()));
  else if (pendingOrder_.size() == order.size())
    order = pendingOrder_;
  return order;
}

void TListView::SetColumnOrder(const std::vector<int>& order) {
  pendingOrder_ = order;
  if (handle_ == nullptr || order.size() != columns_.size()) return;
  Send(LVM_SETCOLUMNORDERARRAY, order.size(), reinterpret_cast<LPARAM>(order.data()));
  Invalidate();
}

HWND TListView::HeaderHandle() const { return reinterpret_cast<HWND>(Send(LVM_GETHEADER, 0, 0)); }

int TListView::Count() const {
  if (OwnerData) return virtualCount_;
  if (VirtualRows) return static_cast<int>(items_.size());
  return handle_ != nullptr ? static_cast<int>(Send(LVM_GETITEMCOUNT, 0, 0)) : static_cast<int>(items_.size());
}

TListItem* TListView::ItemFromIndex(int index) const {
  if (handle_ == nullptr || Virtual()) return index >= 0 && index < static_cast<int>(items_.size()) ? items_[static_cast<size_t>(index)].get() : nullptr;
  LVITEMA item = {};
  item.mask = LVIF_PARAM;
  item.iItem = index;
  if (!Send(LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item))) return nullptr;
  return reinterpret_cast<TListItem*>(item.lParam);
}

TListItem* TListView::Item(int index) const { return OwnerData ? nullptr : ItemFromIndex(index); }

void TListView::InsertItemIntoWindow(TListItem* item, int index) {
  LVITEMA row = {};
  row.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
  row.iItem = index;
  row.pszText = LPSTR_TEXTCALLBACKA;
  row.iImage = item->ImageIndex;
  row.lParam = reinterpret_cast<LPARAM>(item);
  const int at = static_cast<int>(Send(LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&row)));
  item->index_ = at;
  for (int c = 1; c < ColumnCount() && at >= 0; ++c) {
    LVITEMA sub = {};
    sub.iSubItem = c;
    sub.pszText = LPSTR_TEXTCALLBACKA;
    Send(LVM_SETITEMTEXTA, static_cast<WPARAM>(at), reinterpret_cast<LPARAM>(&sub));
  }
}

TListItem* TListView::Add() {
  if (!CL_CHECK(!OwnerData)) return nullptr;
  items_.push_back(std::unique_ptr<TListItem>(new TListItem(this)));
  TListItem* item = items_.back().get();
  if (VirtualRows) {
    item->index_ = static_cast<int>(items_.size()) - 1;
    if (updates_ > 0) countPending_ = true;
    else SyncVirtualCount();
  } else if (handle_ != nullptr) {
    InsertItemIntoWindow(item, Count());
  }
  return item;
}

void TListView::SyncVirtualCount() {
  countPending_ = false;
  // The rows' states stay where they are; the control draws the rows again.
  Send(LVM_SETITEMCOUNT, items_.size(), LVSICF_NOSCROLL);
}

void TListView::FreeItem(TListItem* item) {
  Fire(OnDeletion, this, item);
  const auto at = static_cast<size_t>(item->index_);
  if (VirtualRows && at < items_.size() && items_[at].get() == item) {
    items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(at));
    for (size_t i = at; i < items_.size(); ++i) items_[i]->index_ = static_cast<int>(i);
    return;
  }
  items_.erase(std::remove_if(items_.begin(), items_.end(), [&](const auto& p) { return p.get() == item; }),
               items_.end());
}

void TListView::Delete(TListItem* item) {
  if (item == nullptr || item->list_ != this) return;
  const int index = item->Index();
  // The control drops the row's place, moving the states after it up. Rows
  // added while an update held their count off are counted first, so that
  // the control's places stay those of the list's rows.
  if (index >= 0 && countPending_) SyncVirtualCount();
  if (index >= 0) Send(LVM_DELETEITEM, static_cast<WPARAM>(index), 0);
  FreeItem(item);
}

void TListView::Clear() {
  if (clearing_) return;
  clearing_ = true;
  Send(LVM_DELETEALLITEMS, 0, 0);
  countPending_ = false;
  std::vector<std::unique_ptr<TListItem>> gone;
  gone.swap(items_);
  for (auto& item : gone) Fire(OnDeletion, this, item.get());
  clearing_ = false;
}

TListItem* TListView::Selected() const {
  const int index = static_cast<int>(Send(LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
  return handle_ != nullptr && index >= 0 ? ItemFromIndex(index) : nullptr;
}

TListItem* TListView::ItemAt(int x, int y) const {
  LVHITTESTINFO hit = {};
  hit.pt = {x, y};
  const int index = static_cast<int>(Send(LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
  return handle_ != nullptr && index >= 0 ? ItemFromIndex(index) : nullptr;
}

void TListView::BeginUpdate() {
  if (updates_++ == 0) Send(WM_SETREDRAW, FALSE, 0);
}

void TListView::EndUpdate() {
  if (updates_ == 0 || --updates_ > 0) return;
  if (countPending_) SyncVirtualCount();
  Send(WM_SETREDRAW, TRUE, 0);
  if (handle_ != nullptr) InvalidateRect(handle_, nullptr, TRUE);
}

void TListView::CustomSort(const TListCompare& compare) {
  if (!compare || OwnerData) return;
  if (!VirtualRows) {
    Send(LVM_SORTITEMS, reinterpret_cast<WPARAM>(&compare), reinterpret_cast<LPARAM>(&CompareItems));
    return;
  }
  std::vector<TListItem*> rows(items_.size());
  for (size_t i = 0; i < rows.size(); ++i) rows[i] = items_[i].get();
  MergeSort(rows, compare);
  PlaceRows(rows);
}

bool TListView::Reorder(const std::vector<int>& order) {
  if (!CL_CHECK(Virtual() && order.size() == items_.size())) return false;
  std::vector<TListItem*> rows(order.size(), nullptr);
  for (size_t k = 0; k < order.size(); ++k) {
    const auto from = static_cast<size_t>(order[k]);
    // Each row once: anything else is no order of these rows.
    if (!CL_CHECK(from < items_.size() && items_[from]->index_ >= 0)) {
      for (size_t i = 0; i < items_.size(); ++i) items_[i]->index_ = static_cast<int>(i);
      return false;
    }
    rows[k] = items_[from].get();
    rows[k]->index_ = -1;  // taken
  }
  PlaceRows(rows);
  return true;
}

void TListView::PlaceRows(const std::vector<TListItem*>& rows) {
  // The control keeps selection and focus by position: they follow their
  // rows. Rows are only ever added at the end and deleted in step with the
  // control, so its places are those of the list's rows, the rows added
  // while an update holds their count off included.
  std::vector<TListItem*> selected;
  TListItem* focused = nullptr;
  if (handle_ != nullptr) {
    for (int i = static_cast<int>(Send(LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED)); i >= 0;
         i = static_cast<int>(Send(LVM_GETNEXTITEM, static_cast<WPARAM>(i), LVNI_SELECTED)))
      if (const auto at = static_cast<size_t>(i); at < items_.size()) selected.push_back(items_[at].get());
    const auto at = static_cast<size_t>(Send(LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
    if (at < items_.size()) focused = items_[at].get();
  }
  for (auto& item : items_) item.release();
  for (size_t i = 0; i < rows.size(); ++i) {
    items_[i].reset(rows[i]);
    rows[i]->index_ = static_cast<int>(i);
  }
  if (handle_ == nullptr) return;
  if (!selected.empty() || focused != nullptr) {
    LVITEMA none = {};
    none.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    Send(LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&none));
    if (selected.size() == items_.size()) {
      LVITEMA all = {};
      all.stateMask = all.state = LVIS_SELECTED;
      Send(LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&all));
    } else {
      for (TListItem* item : selected) item->SetSelected(true);
    }
    if (focused != nullptr) focused->SetFocused(true);
  }
  InvalidateRect(handle_, nullptr, FALSE);
}

DWORD TListView::ExtendedStyle() const {
  return handle_ != nullptr ? static_cast<DWORD>(Send(LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0)) : extendedStyle_;
}

void TListView::SetExtendedStyle(DWORD style) {
  extendedStyle_ = style;
  if (handle_ != nullptr) Send(LVM_SETEXTENDEDLISTVIEWSTYLE, ~0u, style);
}

void TListView::SetSmallImages(TImageList* images) {
  smallImages_ = images;
  if (handle_ != nullptr)
    Send(LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(images != nullptr ? images->Handle() : nullptr));
}

void TListView::SetVirtualCount(int count) {
  virtualCount_ = std::max(count, 0);
  if (handle_ != nullptr && OwnerData) Send(LVM_SETITEMCOUNT, static_cast<WPARAM>(virtualCount_), 0);
}

void TListView::Edited(TListItem* Item, std::string& S) {
  Fire(OnEdited, this, Item, S);
  Item->Caption = S;
  Item->Update();
}

bool TListView::Notify(NMHDR& header, LRESULT& result) {
  switch (header.code) {
    case LVN_GETDISPINFOA:
    case LVN_GETDISPINFOW: {
      if (OwnerData) return false;
      auto& info = reinterpret_cast<NMLVDISPINFOA&>(header);
      // A virtual row is known by its place alone: a list of virtual rows
      // gives no item data with the request (what lParam holds is not ours).
      auto* item = Virtual() ? ItemFromIndex(info.item.iItem) : reinterpret_cast<TListItem*>(info.item.lParam);
      if (item == nullptr) item = ItemFromIndex(info.item.iItem);
      if (item == nullptr) return true;
      // A virtual row's image is asked for with its texts.
      if (Virtual() && (info.item.mask & LVIF_IMAGE) && info.item.iSubItem == 0) info.item.iImage = item->ImageIndex;
      if (!(info.item.mask & LVIF_TEXT) || info.item.pszText == nullptr || info.item.cchTextMax <= 0) return true;
      const std::string& text = TextOf(*item, info.item.iSubItem);
      if (header.code == LVN_GETDISPINFOW || Utf8Text) {
        // UTF-8 text asked for in ANSI goes through UTF-16 into the buffer.
        std::wstring shown(static_cast<size_t>(info.item.cchTextMax), L'\0');
        const bool direct = header.code == LVN_GETDISPINFOW;
        auto* wide = direct ? reinterpret_cast<wchar_t*>(info.item.pszText) : shown.data();
        const int n = MultiByteToWideChar(Utf8Text ? CP_UTF8 : CP_ACP, 0, text.c_str(), static_cast<int>(text.size()),
                                          wide, info.item.cchTextMax - 1);
        wide[std::max(n, 0)] = L'\0';
        if (!direct)
          WideCharToMultiByte(CP_ACP, 0, wide, -1, info.item.pszText, info.item.cchTextMax, nullptr, nullptr);
      } else {
        const size_t n = std::min(text.size(), static_cast<size_t>(info.item.cchTextMax - 1));
        std::memcpy(info.item.pszText, text.data(), n);
        info.item.pszText[n] = '\0';
      }
      return true;
    }
    case LVN_COLUMNCLICK:
      ColumnClick(reinterpret_cast<NMLISTVIEW&>(header).iSubItem);
      return true;
    case LVN_ENDLABELEDITA:
    case LVN_ENDLABELEDITW: {
      const auto& edit = reinterpret_cast<NMLVDISPINFOA&>(header).item;
      TListItem* item = OwnerData ? nullptr : ItemFromIndex(edit.iItem);
      result = FALSE;  // the list shows the item's caption, not the edit's text
      if (item == nullptr) return true;
      if (edit.pszText == nullptr) {
        EditCanceled(item);
        return true;
      }
      std::string text;
      if (header.code == LVN_ENDLABELEDITA) {
        text = edit.pszText;
      } else {
        const auto* wide = reinterpret_cast<const wchar_t*>(edit.pszText);
        const int n = WideCharToMultiByte(CP_ACP, 0, wide, -1, nullptr, 0, nullptr, nullptr);
        text.assign(static_cast<size_t>(std::max(n, 1)), '\0');
        WideCharToMultiByte(CP_ACP, 0, wide, -1, text.data(), n, nullptr, nullptr);
        text.resize(std::strlen(text.c_str()));
      }
      Edited(item, text);
      return true;
    }
    case LVN_ITEMCHANGED: {
      const auto& change = reinterpret_cast<NMLISTVIEW&>(header);
      if ((change.uChanged & LVIF_STATE) && ((change.uNewState ^ change.uOldState) & LVIS_SELECTED) && !OwnerData) {
        TListItem* item = Virtual() ? ItemFromIndex(change.iItem) : reinterpret_cast<TListItem*>(change.lParam);
        if (item != nullptr)
          Fire(OnSelectItem, this, item, (change.uNewState & LVIS_SELECTED) != 0);
      }
      return false;
    }
    case LVN_ODFINDITEMA:
    case LVN_ODFINDITEMW: {
      // Typing in a list of virtual rows: the control asks which row to go to.
      if (!Virtual()) return false;
      result = FindRow(reinterpret_cast<NMLVFINDITEMA&>(header), header.code == LVN_ODFINDITEMW);
      return true;
    }
    default:
      return false;
  }
}

int TListView::FindRow(const NMLVFINDITEMA& find, bool wide) const {
  if (!(find.lvfi.flags & (LVFI_STRING | LVFI_PARTIAL)) || find.lvfi.psz == nullptr || items_.empty()) return -1;
  const std::wstring sought = wide ? std::wstring(reinterpret_cast<const wchar_t*>(find.lvfi.psz))
                                   : WideFromText(find.lvfi.psz, CP_ACP);
  const UINT codePage = Utf8Text ? CP_UTF8 : CP_ACP;
  const int count = static_cast<int>(items_.size());
  const int start = find.iStart >= 0 && find.iStart < count ? find.iStart : 0;
  const bool wrap = (find.lvfi.flags & LVFI_WRAP) != 0;
  for (int n = 0; n < count; ++n) {
    const int i = start + n;
    if (i >= count && !wrap) break;
    const TListItem& item = *items_[static_cast<size_t>(i % count)];
    if (CaptionMatches(WideFromText(item.Caption, codePage), sought, (find.lvfi.flags & LVFI_PARTIAL) != 0))
      return i % count;
  }
  return -1;
}

}  // namespace classlib
