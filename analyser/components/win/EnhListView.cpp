// Sorting, sort arrows, owner-drawn rows and headers, and the saved widths.
#include "analyser/components/win/EnhListView.h"

#include <algorithm>

#include "classlib/win/GdiCanvas.h"
#include "classlib/win/Registry.h"

namespace foldwick {

using classlib::TCanvas;
using classlib::TListItem;
using classlib::TRect;

namespace {

// Posted to itself once the layout is loaded: the header items are made
// owner-drawn then, when the header exists for sure.
constexpr UINT kApplyHeaderFlags = WM_USER + 143;
// Posted to itself when an in-place edit took a new caption: the re-sort
// waits until the control has finished the edit.
constexpr UINT kResortAfterEdit = WM_USER + 144;

TRect ToTRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }
RECT ToRECT(const TRect& r) { return {r.Left, r.Top, r.Right, r.Bottom}; }

UINT DrawTextAlignment(classlib::TAlignment alignment) {
  switch (alignment) {
    case classlib::TAlignment::taRightJustify: return DT_RIGHT;
    case classlib::TAlignment::taCenter: return DT_CENTER;
    default: return DT_LEFT;
  }
}

THeaderAlign HeaderAlign(classlib::TAlignment alignment) {
  switch (alignment) {
    case classlib::TAlignment::taRightJustify: return THeaderAlign::Right;
    case classlib::TAlignment::taCenter: return THeaderAlign::Center;
    default: return THeaderAlign::Left;
  }
}

// A cell's text: one line, centred vertically, no prefix characters, an
// ellipsis where it is cut.
void DrawCellText(TCanvas& canvas, const std::string& text, const TRect& r, classlib::TAlignment alignment) {
  auto& gdi = static_cast<classlib::TGdiCanvas&>(canvas);
  canvas.Brush.Style = classlib::TBrushStyle::bsClear;
  canvas.TextExtent("");  // selects the canvas's font into the DC
  SetTextColor(gdi.Handle(), classlib::ColorToRGB(canvas.Font.Color) & 0xFFFFFF);
  SetBkMode(gdi.Handle(), TRANSPARENT);
  RECT rc = ToRECT(r);
  DrawTextA(gdi.Handle(), text.c_str(), static_cast<int>(text.size()), &rc,
            DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS | DrawTextAlignment(alignment));
}

TSmartLocale ReadUserLocale() {
  TSmartLocale locale;
  char buffer[16] = "";
  if (GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDATE, buffer, sizeof buffer) > 1) locale.dateSeparator = buffer[0];
  if (GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_STIME, buffer, sizeof buffer) > 1) locale.timeSeparator = buffer[0];
  if (GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, buffer, sizeof buffer) > 1) locale.decimalSeparator = buffer[0];
  if (GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_IDATE, buffer, sizeof buffer) > 1)
    locale.dateOrder = buffer[0] == '1' ? TDateOrder::DMY : buffer[0] == '2' ? TDateOrder::YMD : TDateOrder::MDY;
  locale.compareText = [](const std::string& a, const std::string& b) {
    return CompareStringA(LOCALE_USER_DEFAULT, 0, a.c_str(), -1, b.c_str(), -1) - CSTR_EQUAL;
  };
  return locale;
}

}  // namespace

TCustomEnhListView::TCustomEnhListView(classlib::TComponent* AOwner) : classlib::TListView(AOwner) {}

TCustomEnhListView::~TCustomEnhListView() { SaveLayoutOnce(); }

void TCustomEnhListView::SaveLayoutOnce() {
  if (layoutSaved_ || !SaveSettings.AutoSave || !layoutLoaded_ || !HandleAllocated()) return;
  layoutSaved_ = true;
  SaveLayout();
}

const TSmartLocale& TCustomEnhListView::Locale() const {
  static const TSmartLocale locale = ReadUserLocale();
  return locale;
}

void TCustomEnhListView::Loaded() {
  Handle();
  if (SaveSettings.AutoSave) LoadLayout();
  layoutLoaded_ = true;
  sort_.updateDepth = 0;
  if (ColumnCount() > 0) sort_.lastColumnClicked = 0;
  Resort();
  if (HandleAllocated()) PostMessageA(handle_, kApplyHeaderFlags, 0, 0);
}

void TCustomEnhListView::WindowCreated() {
  TListView::WindowCreated();
  if (HeaderOwnerDrawn()) ApplyHeaderOwnerDraw();
}

void TCustomEnhListView::WindowDestroying() {
  if (!recreating_) SaveLayoutOnce();
  TListView::WindowDestroying();
}

void TCustomEnhListView::SetStyle(TLVStyle value) {
  const bool ownerDraw = value == TLVStyle::lvOwnerDrawFixed;
  if (ownerDraw == OwnerDraw) return;
  OwnerDraw = ownerDraw;
  RecreateWindow();
}

void TCustomEnhListView::RecreateWindow() {
  if (!HandleAllocated()) return;
  // What the user changed lives in the window: keep it for the next one.
  for (int c = 0; c < ColumnCount(); ++c) SetColumnWidth(c, ColumnWidth(c));
  SetColumnOrder(ColumnOrder());
  recreating_ = true;
  RecreateWnd();
  recreating_ = false;
  // The new window holds the rows in the order they were added.
  Resort();
  if (HeaderOwnerDrawn() && HandleAllocated()) PostMessageA(handle_, kApplyHeaderFlags, 0, 0);
}

void TCustomEnhListView::Edited(TListItem* Item, std::string& S) {
  TListView::Edited(Item, S);
  if (sort_.autoResort && HandleAllocated()) PostMessageA(handle_, kResortAfterEdit, 0, 0);
}

void TCustomEnhListView::EditCanceled(TListItem* Item) { Fire(OnEditCanceled, this, Item); }

void TCustomEnhListView::SaveLayout() {
  if (SaveSettings.RegistryKey.empty() || !SaveSettings.SaveColumnSizes) return;
  classlib::TRegistry registry;
  if (!registry.OpenKey("\\" + SaveSettings.RegistryKey + "\\Columns", true)) return;
  std::vector<int> widths;
  for (int c = 0; c < ColumnCount(); ++c) widths.push_back(ColumnWidth(c));
  registry.WriteString("Sizes", JoinNumbers(widths));
}

void TCustomEnhListView::LoadLayout() {
  if (SaveSettings.RegistryKey.empty() || !SaveSettings.SaveColumnSizes) return;
  classlib::TRegistry registry;
  if (!registry.OpenKey("\\" + SaveSettings.RegistryKey + "\\Columns", false) || !registry.ValueExists("Sizes")) return;
  const std::vector<int> widths = SplitNumbers(registry.ReadString("Sizes"));
  for (int c = 0; c < ColumnCount() && c < static_cast<int>(widths.size()); ++c) SetColumnWidth(c, widths[c]);
}

void TCustomEnhListView::SetAutoColumnSort(TAutoColumnSort value) {
  if (value == sort_.autoColumnSort) return;
  sort_.autoColumnSort = value;
  Resort();
}

void TCustomEnhListView::SetAutoSortStyle(TAutoSortStyle value) {
  if (value == sort_.autoSortStyle) return;
  sort_.autoSortStyle = value;
  Resort();
}

void TCustomEnhListView::SetAutoSortAscending(bool value) {
  sort_.autoSortAscending = value;
  sort_.ascending = value;
}

void TCustomEnhListView::SetLastColumnClicked(int value) {
  const int previous = sort_.lastColumnClicked;
  sort_.lastColumnClicked = value;
  if (showArrows_) {
    RedrawHeaderCell(previous);
    RedrawHeaderCell(value);
  }
}

void TCustomEnhListView::SetShowSortArrows(bool value) {
  if (value == showArrows_) return;
  showArrows_ = value;
  ApplyHeaderOwnerDraw();
  Invalidate();
}

void TCustomEnhListView::SetReverseSortArrows(bool value) {
  reverseArrows_ = value;
  if (showArrows_) RedrawHeaderCell(sort_.lastColumnClicked);
}

void TCustomEnhListView::SetOnDrawHeader(TLVDrawHeaderEvent handler) {
  OnDrawHeader = std::move(handler);
  ApplyHeaderOwnerDraw();
}

void TCustomEnhListView::ApplyHeaderOwnerDraw() {
  HWND header = HandleAllocated() ? HeaderHandle() : nullptr;
  if (header == nullptr || settingHeaderFlags_) return;
  settingHeaderFlags_ = true;
  const bool owner = HeaderOwnerDrawn();
  const int count = static_cast<int>(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    HDITEMA item = {};
    item.mask = HDI_FORMAT;
    SendMessageA(header, HDM_GETITEMA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
    const int format = owner ? (item.fmt | HDF_OWNERDRAW) : (item.fmt & ~HDF_OWNERDRAW);
    if (format == item.fmt) continue;
    item.fmt = format;
    SendMessageA(header, HDM_SETITEMA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
  }
  settingHeaderFlags_ = false;
}

void TCustomEnhListView::RedrawHeaderCell(int column) {
  HWND header = HandleAllocated() ? HeaderHandle() : nullptr;
  if (header == nullptr || column < 0 || column >= ColumnCount()) return;
  RECT r;
  if (SendMessageA(header, HDM_GETITEMRECT, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&r))) {
    InflateRect(&r, -2, -2);
    InvalidateRect(header, &r, FALSE);
  }
}

std::string TCustomEnhListView::TextAtPosition(TListItem* item, int position) const {
  if (item == nullptr) return {};
  item->MakeTexts();
  const int column = ColumnAtDisplayPosition(position);
  if (column == 0) return item->Caption;
  const size_t sub = static_cast<size_t>(column - 1);
  return column > 0 && sub < item->SubItems.size() ? item->SubItems[sub] : std::string();
}

int TCustomEnhListView::CompareForSort(TListItem* a, TListItem* b, int column) const {
  if (a == nullptr || b == nullptr) return 0;
  if (OnSortItems) {
    int result = 0;
    OnSortItems(const_cast<TCustomEnhListView*>(this), a, b, column, result);
    return result;
  }
  auto text = [column](TListItem* item) {
    if (column == 0) return item->Caption;
    item->MakeTexts();
    const size_t sub = static_cast<size_t>(column - 1);
    return sub < item->SubItems.size() ? item->SubItems[sub] : std::string();
  };
  return SmartCompare(text(a), text(b), sort_.autoSortStyle, Locale());
}

void TCustomEnhListView::SortByColumn(int column, bool ascending) {
  const int previous = sort_.lastColumnClicked;
  sort_.SortStarted(column);
  Fire(OnSortBegin, this, column, ascending);
  const int direction = ascending ? 1 : -1;
  std::vector<int> order;
  if (!(VirtualRows && OnSortRows && OnSortRows(this, column, ascending, order) && Reorder(order)))
    CustomSort([this, column, direction](TListItem* a, TListItem* b) { return CompareForSort(a, b, column) * direction; });
  Fire(OnSortFinished, this, column, ascending);
  if (showArrows_) {
    RedrawHeaderCell(previous);
    RedrawHeaderCell(column);
  }
}

void TCustomEnhListView::ClickColumn(int column, bool ascending) {
  if (sort_.autoColumnSort == TAutoColumnSort::acsSortToggle)
    sort_.ascending = column == sort_.lastColumnClicked ? !ascending : ascending;
  RedrawHeaderCell(column);
  SortByColumn(column, ascending);
}

void TCustomEnhListView::Resort() {
  if (sort_.Resort(ColumnCount())) SortByColumn(sort_.lastColumnClicked, sort_.ascending);
}

void TCustomEnhListView::BeginUpdate() {
  TListView::BeginUpdate();
  sort_.BeginUpdate();
}

void TCustomEnhListView::EndUpdate() {
  if (sort_.EndUpdate(ColumnCount())) SortByColumn(sort_.lastColumnClicked, sort_.ascending);
  TListView::EndUpdate();
}

TListItem* TCustomEnhListView::AddItem() {
  TListItem* item = Add();
  if (sort_.autoResort) Resort();
  return item;
}

void TCustomEnhListView::ColumnClick(int Column) {
  sort_.PrepareClick(Column);
  TListView::ColumnClick(Column);
  const int previous = sort_.lastColumnClicked;
  if (sort_.FinishClick(Column, ColumnCount())) {
    sort_.lastColumnClicked = previous;
    SortByColumn(Column, sort_.ascending);
  }
}

void TCustomEnhListView::WndProc(classlib::TMessage& Message) {
  if (Message.Window == handle_) {
    switch (Message.Msg) {
      case WM_DRAWITEM: {
        const auto* draw = reinterpret_cast<const DRAWITEMSTRUCT*>(Message.LParam);
        if (draw->CtlType == ODT_HEADER) {
          DrawHeaderItem(*draw);
          Message.Result = TRUE;
          return;
        }
        break;
      }
      case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(Message.LParam);
        const bool reapply = header->code == HDN_ITEMCHANGEDA || header->code == HDN_ITEMCHANGEDW ||
                             header->code == HDN_BEGINTRACKA || header->code == HDN_BEGINTRACKW;
        TListView::WndProc(Message);
        if (reapply && HeaderOwnerDrawn()) ApplyHeaderOwnerDraw();
        return;
      }
      case kApplyHeaderFlags:
        ApplyHeaderOwnerDraw();
        Invalidate();
        return;
      case kResortAfterEdit:
        Resort();
        return;
      default:
        break;
    }
  }
  TListView::WndProc(Message);
}

void TCustomEnhListView::DrawSortArrow(TCanvas& canvas, classlib::TPoint at, int side, bool up) {
  const int x0 = at.x, y0 = at.y, x1 = at.x + side - 1, y1 = at.y + side - 1, mid = at.x + side / 2;
  const classlib::TPen highlight{classlib::clBtnHighlight}, shadow{classlib::clBtnShadow};
  if (up) {
    canvas.Pen = highlight;  // the left edge
    canvas.MoveTo(mid, y0);
    canvas.LineTo(x0, y1);
    canvas.Pen = shadow;     // the bottom and the right edge
    canvas.LineTo(x1, y1);
    canvas.LineTo(mid, y0);
  } else {
    canvas.Pen = shadow;     // from the point to the top right
    canvas.MoveTo(mid, y1);
    canvas.LineTo(x1, y0);
    canvas.Pen = highlight;  // the top, and from the top left to the point
    canvas.LineTo(x0, y0);
    canvas.LineTo(mid, y1);
  }
}

void TCustomEnhListView::DrawHeaderItem(const DRAWITEMSTRUCT& draw) {
  classlib::TGdiCanvas canvas(draw.hDC);
  canvas.Font = Font();
  const int column = static_cast<int>(draw.itemID);
  TRect rect = ToTRect(draw.rcItem);
  const bool pressed = (draw.itemState & ODS_SELECTED) != 0;
  bool defaultDrawing = !OnDrawHeader;
  if (OnDrawHeader) OnDrawHeader(this, canvas, column, rect, pressed, defaultDrawing);
  if (!defaultDrawing) return;

  const std::string& caption = ColumnCaption(column);
  const classlib::TAlignment alignment = ColumnAlignment(column);
  const bool sorted = showArrows_ && column == sort_.lastColumnClicked;
  const int side = SortArrowSide(canvas.TextHeight("Wy"));
  const THeaderCellLayout layout =
      LayoutHeaderCell(rect, pressed, HeaderAlign(alignment), sorted, side, canvas.TextWidth(caption), canvas.TextHeight("Wy"));
  canvas.Brush.Style = classlib::TBrushStyle::bsSolid;
  canvas.Brush.Color = classlib::clBtnFace;
  canvas.FillRect(layout.fill);
  canvas.Font.Color = classlib::clBtnText;
  DrawCellText(canvas, caption, layout.text, sorted ? classlib::TAlignment::taLeftJustify : alignment);
  if (sorted && layout.arrow) DrawSortArrow(canvas, layout.arrowAt, side, sort_.ascending != reverseArrows_);
}

void TCustomEnhListView::MeasureItem(UINT& height) { Fire(OnMeasureItem, this, height); }

void TCustomEnhListView::DrawItem(const DRAWITEMSTRUCT& draw) {
  classlib::TGdiCanvas canvas(draw.hDC);
  canvas.Font = Font();
  const int index = static_cast<int>(draw.itemID);
  const TRect rect = ToTRect(draw.rcItem);
  const TOwnerDrawState state = draw.itemState;
  bool defaultDrawing = !OnDrawItem;
  bool fullRowSelect = FullRowSelectDefault();
  if (OnDrawItem) OnDrawItem(this, canvas, index, rect, state, defaultDrawing, fullRowSelect);
  if (!defaultDrawing) return;
  DefaultDrawItem(canvas, index, rect, state, fullRowSelect);
  if ((state & ODS_FOCUS) && Focused()) canvas.DrawFocusRect(rect);
  Fire(OnAfterDefaultDrawItem, this, canvas, index, rect, state);
}

void TCustomEnhListView::DefaultDrawItem(TCanvas& canvas, int index, TRect rect, TOwnerDrawState state,
                                         bool fullRowSelect) {
  TListItem* item = ItemFromIndex(index);
  if (item == nullptr) return;
  item->MakeTexts();
  const bool focused = Focused();
  const bool selected = (state & ODS_SELECTED) && (focused || !HideSelection);
  const classlib::TColor selectBack = focused ? classlib::clHighlight : classlib::clBtnFace;
  const classlib::TColor selectText = focused ? classlib::clHighlightText : classlib::clBtnText;
  canvas.Brush.Style = classlib::TBrushStyle::bsSolid;
  canvas.Brush.Color = Color();
  canvas.FillRect(rect);

  // The first shown column: image and caption.
  const int first = ColumnAtDisplayPosition(0);
  int right = rect.Left + ColumnWidth(first);
  int textLeft = rect.Left;
  HIMAGELIST images = reinterpret_cast<HIMAGELIST>(Send(LVM_GETIMAGELIST, LVSIL_SMALL, 0));
  if (images != nullptr && item->ImageIndex >= 0 && first == 0) {
    int cx = 16, cy = 16;
    ImageList_GetIconSize(images, &cx, &cy);
    const UINT style = (state & ODS_FOCUS) && focused ? ILD_FOCUS : selected ? ILD_SELECTED : ILD_NORMAL;
    ImageList_Draw(images, item->ImageIndex, static_cast<classlib::TGdiCanvas&>(canvas).Handle(), rect.Left + 2,
                   rect.Top + 1, style);
    textLeft += 2 + cx;
  }
  if (selected) {
    canvas.Brush.Color = selectBack;
    canvas.FillRect(fullRowSelect ? rect : TRect{textLeft, rect.Top, right, rect.Bottom});
  }
  canvas.Font.Color = selected ? selectText : classlib::clWindowText;
  const classlib::TAlignment firstAlign = ColumnAlignment(first);
  TRect cell{textLeft + (firstAlign == classlib::TAlignment::taLeftJustify ? 4 : 0), rect.Top,
             right - (firstAlign == classlib::TAlignment::taRightJustify ? 4 : 0), rect.Bottom};
  bool cellDefault = !OnDrawSubItem;
  if (OnDrawSubItem) OnDrawSubItem(this, canvas, index, first, cell, state, cellDefault);
  if (cellDefault) DrawCellText(canvas, TextAtPosition(item, 0), cell, firstAlign);

  // The other columns in the order they are shown.
  for (int position = 1; position < ColumnCount(); ++position) {
    const int column = ColumnAtDisplayPosition(position);
    const int left = right;
    right = left + ColumnWidth(column);
    if (column < 0 || (column > 0 && static_cast<size_t>(column - 1) >= item->SubItems.size())) continue;
    canvas.Font.Color = selected && fullRowSelect ? selectText : classlib::clWindowText;
    const classlib::TAlignment align = ColumnAlignment(column);
    TRect box{left + (align == classlib::TAlignment::taLeftJustify ? 4 : 0), rect.Top,
              right - (align == classlib::TAlignment::taRightJustify ? 4 : 0), rect.Bottom};
    cellDefault = !OnDrawSubItem;
    if (OnDrawSubItem) OnDrawSubItem(this, canvas, index, column, box, state, cellDefault);
    if (cellDefault) DrawCellText(canvas, TextAtPosition(item, position), box, align);
  }
}

}  // namespace foldwick
