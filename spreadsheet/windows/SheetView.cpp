// The sheet window's model: its document, activation, layout and split, tabs
// and scrolling, painting, and the view value the engine and files exchange.
// Keys and the mouse are in SheetViewInput.cpp.
#include "spreadsheet/windows/SheetView.h"

#include <algorithm>
#include <cmath>

#include "spreadsheet/engine/DocumentTable.h"
#include "spreadsheet/engine/RangePrompt.h"
#include "spreadsheet/engine/RangeText.h"
#include "spreadsheet/engine/UndoBuffer.h"
#include "spreadsheet/files/WorksheetFile.h"
#include "spreadsheet/engine/DocumentScope.h"
#include "spreadsheet/windows/NewSheet.h"
#include "spreadsheet/windows/SheetViews.h"

namespace corvane {

using classlib::TCanvas;
using classlib::TPoint;
using classlib::TRect;

namespace {

constexpr int kSplitBoxWidth = 29;
constexpr int kSplitBoxHeight = 18;
constexpr int kSplitByRowsBand = 10;  // a press this near the box's top splits by rows
constexpr int kScrollGap = 8;         // between the tabs and the scroll bar
constexpr int kScrollRightGap = 36;   // between the scroll bar and the window's right edge

// The default tab items "A" to "Z" and "AA" to "BL".
std::vector<std::string> SheetLetters() {
  std::vector<std::string> items;
  for (int k = 0; k < kMaxSheets; ++k) items.push_back(ColumnLetters(k));
  return items;
}

// Makes the document of `slot` the engine's current one, the previous one's
// working settings stored in its slot first.
void MakeCurrent(int slot) {
  int current = CurrentDocSlot();
  if (current == slot) {
    ActivateDocumentContext(slot);  // the pool owner
    return;
  }
  if (current != 0) StoreSlotSettings(current);
  ActivateDocumentContext(slot);
}

}  // namespace

TSheetView::TSheetView(const TSheetParts& parts, TSheetViews& views) : parts_(parts), views_(views) {
  views_.Add(*this);
  TTabBarModel& tabs = parts_.tabs;
  tabs.SetItems(SheetLetters());
  tabs.SetMax(1);
  tabs.SetRtmargin(100);
  tabs.SetMargin(40);
  tabs.SetBarwidth(20);
  tabs.SetBody(200);
  tabs.SetFocus(classlib::clWhite);
  tabs.SetUnfocus(classlib::clSilver);
  tabs.SetBackcolor(classlib::clBtnFace);
  tabs.SetItemIndex(0);
  TScrollBarModel& scroll = parts_.scroll;
  scroll.SetMin(0);
  scroll.SetMax(255);
  scroll.SetMid(26);
  scroll.SetBand(8);
  scroll.Largechange = 10;
  scroll.Smallchange = 1;
  scroll.SetColor(classlib::clSilver);
  scroll.SetBackcolor(classlib::clYellow);
  scroll.SetDither(true);
  for (int number : {1, 2}) {
    TGridModel& pane = Pane(number);
    pane.PaneNumber = number;
    pane.SetDefHeight(font_.rowHeight);
    pane.SetFHeight(14);
    pane.SetMid(60);
    pane.Select = true;
    pane.SetD3on(true);
  }
  parts_.pane2.ShareSizeTables(parts_.pane1);
  WireEvents();
}

TSheetView::~TSheetView() {
  parts_.window.StopTimer(kMacroTimer);
  views_.Remove(*this);
  if (const TDocSlot* doc = DocSlot(slot_); doc != nullptr && doc->rowHeads != nullptr) {
    if (CurrentDocSlot() == slot_) StoreSlotSettings(slot_);
    ReleaseOpenSheet(doc->ownerTag);
  }
}

void TSheetView::WireEvents() {
  for (TGridModel* pane : {&parts_.pane1, &parts_.pane2}) {
    pane->OnDrawRow = [this](TGridModel& p, TCanvas& canvas, int row, int cols, int cole, bool) {
      DrawRow(p, canvas, row, cols, cole);
    };
    pane->OnChange = [this](TGridModel& p, int, int) { PaneChanged(p); };
    pane->OnChangeTop = [this](TGridModel& p, int, int) { PaneTopChanged(p); };
    pane->Onsized = [this](TGridModel& p) { PaneSized(p); };
    pane->Onkeydown = [this](TGridModel& p, int& key, classlib::TShiftState shift) { PaneKeyDown(p, key, shift); };
    pane->OnMouseDown = [this](TGridModel& p, classlib::TMouseButton b, classlib::TShiftState s, int x, int y) {
      PaneMouseDown(p, b, s, x, y);
    };
    pane->Onmouseup = [this](TGridModel& p, classlib::TMouseButton b, classlib::TShiftState s, int x, int y) {
      PaneMouseUp(p, b, s, x, y);
    };
    pane->OnMouseMove = [this](TGridModel& p, classlib::TShiftState s, int x, int y) { PaneMouseMove(p, s, x, y); };
  }
  parts_.tabs.OnChange = [this] { TabPicked(); };
  parts_.scroll.OnChange = [this] { ScrollChanged(); };
}

TSheetFrame& TSheetView::Frame() { return views_.Frame(); }

bool TSheetView::IsActive() const { return views_.Active() == this; }

// ---- The document ---------------------------------------------------------------------

bool TSheetView::Open(std::string_view name, bool untitled, int shareSlot) {
  int slot = shareSlot;
  TOpenResult opened = shareSlot != 0 ? (ShareOpenSheet(shareSlot) ? TOpenResult::kShared : TOpenResult::kFailed)
                                      : RegisterOpenSheet(name, slot, untitled);
  if (opened == TOpenResult::kFailed) return false;
  slot_ = slot;
  untitled_ = untitled || name.empty();
  name_ = std::string(name);
  MakeCurrent(slot_);
  if (opened == TOpenResult::kNew) {
    InitNewSheet();
    StoreSlotSettings(slot_);
  }
  SetSheetCount(kRowsPerWorksheet / std::max(1, RowsPerSheet()));
  activePane_ = 1;
  Unsplit();
  synchronised_ = false;
  UpdateScrollRanges();
  if (OnCaption) OnCaption(name_);
  return true;
}

void TSheetView::SetName(std::string_view name) {
  name_ = std::string(name);
  untitled_ = name.empty();
  RenameOpenSheet(slot_, name_);
  if (OnCaption) OnCaption(name_);
}

// ---- Activation -------------------------------------------------------------------------

void TSheetView::ActivateContext() {
  if (slot_ != 0) MakeCurrent(slot_);
}

void TSheetView::Activate() {
  if (slot_ == 0) return;
  views_.SetActive(this);
  ActivateContext();
  ActivePane().TakeFocus();
  LoadCursorGlobals();
  Frame().RefreshIndicators();
}

void TSheetView::Deactivate() {
  // A Ctrl let go while another window has the keyboard never reaches us.
  macroKeys_.FocusLost();
  if (slot_ != 0 && CurrentDocSlot() == slot_) StoreSlotSettings(slot_);
}

void TSheetView::SetActivePane(int number, bool focus) {
  activePane_ = number == 2 && split_ != TSplit::kNone ? 2 : 1;
  if (focus) ActivePane().TakeFocus();
  // The address and the entry line show the new pane's cell at once.
  if (IsActive()) {
    LoadCursorGlobals();
    Frame().RefreshIndicators();
  }
}

// ---- Layout and split ---------------------------------------------------------------------

void TSheetView::Resize(int width, int height) {
  width_ = std::max(0, width);
  height_ = std::max(0, height);
  int barTop = std::max(0, height_ - kTabBarHeight);
  layout_.tabs = {0, barTop, width_, height_};
  int scrollLeft = parts_.tabs.Margin() + parts_.tabs.Body() + kScrollGap;
  int scrollRight = std::max(scrollLeft, width_ - kScrollRightGap);
  int rowTop = barTop + (kTabBarHeight - kSplitBoxHeight) / 2;
  layout_.scroll = {scrollLeft, rowTop, scrollRight, rowTop + kSplitBoxHeight};
  int boxLeft = std::max(0, width_ - kSplitBoxWidth - 4);
  layout_.splitBox = {boxLeft, rowTop, boxLeft + kSplitBoxWidth, rowTop + kSplitBoxHeight};
  PlacePanes();
}

void TSheetView::PlacePanes() {
  int areaHeight = std::max(0, height_ - kTabBarHeight);
  switch (split_) {
    case TSplit::kNone:
      layout_.pane1 = {0, 0, width_, areaHeight};
      layout_.pane2 = {0, areaHeight, width_, areaHeight};
      break;
    case TSplit::kAbove: {
      int top = std::clamp(pane1Size_, 0, areaHeight);
      layout_.pane1 = {0, 0, width_, top};
      layout_.pane2 = {0, top, width_, areaHeight};
      break;
    }
    case TSplit::kSide: {
      int left = std::clamp(pane1Size_, 0, width_);
      layout_.pane1 = {0, 0, left, areaHeight};
      layout_.pane2 = {left, 0, width_, areaHeight};
      break;
    }
  }
  if (PlaceParts) PlaceParts(layout_);
}

void TSheetView::SplitAt(int x, int y) {
  int areaWidth = width_, areaHeight = std::max(0, height_ - kTabBarHeight);
  if (x != 0) {
    if (x < 0 || x >= areaWidth) return Unsplit();
    split_ = TSplit::kSide;
    pane1Size_ = x;
  } else if (y != 0) {
    if (y < 0 || y >= areaHeight) return Unsplit();
    split_ = TSplit::kAbove;
    pane1Size_ = y;
  } else {
    return Unsplit();
  }
  PlacePanes();
  Repaint();
}

void TSheetView::Unsplit() {
  // The keyboard must not stay with pane 2, which no longer shows.
  const bool pane2Focused = parts_.pane2.Focused();
  const bool pane2Active = activePane_ == 2;
  split_ = TSplit::kNone;
  pane1Size_ = 0;
  activePane_ = 1;
  PlacePanes();
  // Pane 1's cell shows on the address and the entry line.
  if (pane2Focused || pane2Active) SetActivePane(1, pane2Focused);
  Repaint();
}

void TSheetView::SplitVertical(int col) {
  TGridModel& pane = ActivePane();
  int x = layout_.pane1.Left + pane.Layout().Cells.Left + pane.ColOffset(std::clamp(col, 0, kMaxCol));
  SplitAt(x, 0);
  if (split_ != TSplit::kNone) SyncPanes(1);
}

void TSheetView::SplitHorizontal(int row) {
  TGridModel& pane = ActivePane();
  int y = layout_.pane1.Top + pane.Layout().Cells.Top + pane.RowOffset(std::clamp(row, 0, kMaxRow));
  SplitAt(0, y);
  if (split_ != TSplit::kNone) SyncPanes(1);
}

void TSheetView::SyncPanes(int number) {
  TGridModel& from = Pane(number);
  TGridModel& other = Pane(number == 1 ? 2 : 1);
  following_ = true;
  other.SetExtendMode(false);
  if (split_ == TSplit::kSide) {
    int col = std::min(from.CursorCol() + 1, kMaxCol);
    other.SetToprow(from.Toprow());
    other.SetLeftcol(col);
    other.MoveTo(from.CursorRow(), col);
  } else {
    int row = std::min(from.CursorRow() + 1, kMaxRow);
    other.SetLeftcol(from.Leftcol());
    other.SetToprow(row);
    other.MoveTo(row, from.CursorCol());
  }
  following_ = false;
  Repaint();
}

void TSheetView::FeedbackLine(TPoint at) {
  for (int number : {1, 2}) {
    const TRect& paneRect = number == 1 ? layout_.pane1 : layout_.pane2;
    if (paneRect.IsEmpty()) continue;
    TGridModel& pane = Pane(number);
    const TRect& cells = pane.Layout().Cells;
    if (dragRows_) {
      int y = at.y - paneRect.Top - cells.Top;
      if (y >= 0 && y < cells.Height()) pane.XorHLine(y);
    } else {
      int x = at.x - paneRect.Left - cells.Left;
      if (x >= 0 && x < cells.Width()) pane.XorVLine(x);
    }
  }
}

void TSheetView::SplitBoxDown(TPoint at) {
  parts_.window.Beep(classlib::kBeepDefault);
  dragging_ = true;
  dragRows_ = at.y - layout_.splitBox.Top < kSplitByRowsBand;
  feedbackShown_ = false;
}

void TSheetView::SplitBoxMove(TPoint at) {
  if (!dragging_) return;
  if (feedbackShown_) FeedbackLine(feedbackAt_);
  FeedbackLine(at);
  feedbackAt_ = at;
  feedbackShown_ = true;
}

void TSheetView::SplitBoxUp(TPoint at) {
  if (!dragging_) return;
  if (feedbackShown_) FeedbackLine(feedbackAt_);
  dragging_ = feedbackShown_ = false;
  if (layout_.splitBox.Contains(at)) return Unsplit();
  if (dragRows_)
    SplitAt(0, at.y);
  else
    SplitAt(at.x, 0);
  if (split_ == TSplit::kNone) return;
  SyncPanes(1);
  SetActivePane(2, true);
}

void TSheetView::PaintSplitBox(TCanvas& canvas, const TRect& box) const {
  classlib::TCanvasStateSaver saved(canvas);
  canvas.Brush = classlib::TBrush{classlib::clWhite};
  canvas.FillRect(box);
  canvas.Brush = classlib::TBrush{classlib::clBlack};
  canvas.FrameRect(box);
  if (split_ != TSplit::kNone) return;
  int mid = (box.Top + box.Bottom) / 2;
  canvas.FillRect({box.Left + 2, mid, box.Right - 2, mid + 1});
  int cx = (box.Left + box.Right) / 2;
  canvas.Brush = classlib::TBrush{classlib::clRed};
  canvas.FillRect({cx - 3, mid - 5, cx + 4, mid - 4});
  canvas.FillRect({cx, mid - 8, cx + 1, mid - 1});
}

// ---- Sheets, scrolling and repainting --------------------------------------------------------

TSheetSettings& TSheetView::DocumentSettings() const {
  // The working copy while the document is current, else its stored block.
  if (slot_ == CurrentDocSlot() || DocSlot(slot_) == nullptr) return gCurrentDoc.settings;
  return DocSlot(slot_)->settings;
}

int TSheetView::RowsPerSheetOfDocument() const {
  int rows = DocumentSettings().rowsPerSheet;
  return rows > 0 && rows < kRowsPerWorksheet ? rows : kRowsPerWorksheet;
}

void TSheetView::SetSheetCount(int count) {
  int n = std::clamp(count, 1, kMaxSheets);
  auto rows = static_cast<std::int16_t>(kRowsPerWorksheet / n);
  DocumentSettings().rowsPerSheet = rows;
  if (TDocSlot* doc = DocSlot(slot_); doc != nullptr && slot_ != 0) doc->settings.rowsPerSheet = rows;
  parts_.pane1.SetPages(n);
  parts_.pane2.SetPages(n);
  parts_.tabs.SetMax(n);
}

int TSheetView::SheetCount() const { return parts_.pane1.Pages(); }

void TSheetView::UpdateScrollRanges() {
  const TDocSlot* doc = DocSlot(slot_);
  if (doc == nullptr || slot_ == 0) return;
  bool current = slot_ == CurrentDocSlot();
  int highRow = current ? gCurrentDoc.highRow : doc->highRow;
  int highCol = current ? gCurrentDoc.highCol : doc->highCol;
  parts_.pane1.SetMid(highRow);
  parts_.pane2.SetMid(highRow);
  if (parts_.scroll.Mid() < highCol) parts_.scroll.SetMid(highCol);
}

void TSheetView::MarkModified() {
  DocumentSettings().modified = 1;
  views_.anyModified = true;
  UpdateScrollRanges();
}

void TSheetView::Repaint() {
  parts_.pane1.Repaint();
  if (split_ != TSplit::kNone) parts_.pane2.Repaint();
  if (!objects_.empty()) ObjectsChanged();  // column widths and row heights move them
}

void TSheetView::RedrawRange(const TRange& range) {
  parts_.pane1.RedrawRange(range);
  if (split_ != TSplit::kNone) parts_.pane2.RedrawRange(range);
}

// ---- Events of the parts -------------------------------------------------------------------

void TSheetView::PaneChanged(TGridModel& pane) {
  if (following_) return;
  if (&pane == &ActivePane()) {
    settingBars_ = true;
    parts_.scroll.SetPosition(pane.Leftcol());
    settingBars_ = false;
    if (IsActive()) {
      LoadCursorGlobals();
      Frame().RefreshIndicators();
    }
  }
  if (!synchronised_ || split_ == TSplit::kNone) return;
  // The other pane follows without following back.
  TGridModel& other = &pane == &parts_.pane1 ? parts_.pane2 : parts_.pane1;
  following_ = true;
  other.SetExtendMode(false);
  if (split_ == TSplit::kAbove) {
    other.SetLeftcol(pane.Leftcol());
    other.MoveTo(other.CursorRow(), pane.CursorCol());
  } else {
    other.SetToprow(pane.Toprow());
    other.MoveTo(pane.CursorRow(), other.CursorCol());
  }
  following_ = false;
}

void TSheetView::PaneTopChanged(TGridModel& pane) {
  if (&pane == &parts_.pane1 && !objects_.empty()) ObjectsChanged();
  if (&pane != &ActivePane()) return;
  settingBars_ = true;
  int tab = std::min(pane.Toprow() / RowsPerSheetOfDocument(), SheetCount() - 1);
  parts_.tabs.SetItemIndex(tab);
  parts_.scroll.SetPosition(pane.Leftcol());
  settingBars_ = false;
}

void TSheetView::ScrollChanged() {
  if (settingBars_) return;
  const TScrollBarModel& scroll = parts_.scroll;
  int max = std::max(1, scroll.Max());
  int left = static_cast<int>(std::lround(static_cast<double>(scroll.Position()) / max * kMaxCol));
  ActivePane().SetLeftcol(left);
  if (synchronised_ && split_ == TSplit::kAbove) InactivePane().SetLeftcol(left);
}

void TSheetView::TabPicked() {
  if (settingBars_) return;
  int tab = parts_.tabs.ItemIndex();
  if (tab < 0) return;
  int rows = RowsPerSheetOfDocument();
  TGridModel& pane = ActivePane();
  int row = std::min(tab * rows + pane.CursorRow() % rows, kMaxRow);
  pane.SetExtendMode(false);
  pane.MoveTo(row, pane.CursorCol());
}

void TSheetView::PaneSized(TGridModel& pane) {
  // The panes share their sizes; the other pane and the other windows on the
  // document show them too.
  InactivePane().Repaint();
  (&pane == &parts_.pane1 ? parts_.pane2 : parts_.pane1).Repaint();
  views_.RepaintDocumentViews(*this);
  if (IsActive()) Frame().RefreshIndicators();
  MarkModified();
  sizedToggle_ = !sizedToggle_;
  if (!sizedToggle_) {
    TDocumentScope scope(slot_);
    UndoClear();
  }
}

// ---- Painting ---------------------------------------------------------------------------------

void TSheetView::SetDefaultFont(const TSheetFont& font) {
  font_ = font;
  if (font_.rowHeight > 0) {
    parts_.pane1.SetDefHeight(font_.rowHeight);
    parts_.pane2.SetDefHeight(font_.rowHeight);
  }
  Repaint();
}

TSheetFonts TSheetView::Fonts() const { return {font_.name, fontSize_, &views_.fontList}; }

void TSheetView::DrawRow(TGridModel& pane, TCanvas& canvas, int row, int cols, int cole) {
  const TDocSlot* doc = DocSlot(slot_);
  if (slot_ == 0 || doc == nullptr || doc->rowHeads == nullptr) {
    parts_.window.Beep(classlib::kBeepDefault);
    return;
  }
  TDocumentScope scope(slot_);
  const bool frozenCols = cols < 0;
  TRowPaintContext context;
  context.settings = &gCurrentDoc.settings;
  context.fonts = Fonts();
  context.zoom = GridSettings().Zoom;
  context.gridMode = pane.Grid();
  context.frozen = row < 0 || frozenCols;
  context.selection = pane.GetSelection();
  context.cursorRow = pane.CursorRow();
  context.cursorCol = pane.CursorCol();
  context.pictures = pictures;
  context.printGrid = printGrid;
  context.cellRect = [&](int col) { return pane.CellRect(row, frozenCols ? ~col : col); };
  PaintCellRow(canvas, context, row < 0 ? ~row : row, frozenCols ? ~cols : cols, frozenCols ? ~cole : cole);
}

// ---- The view value ---------------------------------------------------------------------------

namespace {

TPanePlace PlaceOf(const TGridModel& pane) {
  return {static_cast<std::int16_t>(pane.Leftcol()), static_cast<std::int16_t>(pane.Toprow()),
          static_cast<std::int16_t>(pane.CursorCol()), static_cast<std::int16_t>(pane.CursorRow())};
}

void GoTo(TGridModel& pane, const TPanePlace& place) {
  pane.SetExtendMode(false);
  pane.SetToprow(std::clamp<int>(place.topRow, 0, kMaxRow));
  pane.SetLeftcol(std::clamp<int>(place.leftCol, 0, kMaxCol));
  pane.MoveTo(std::clamp<int>(place.cursorRow, 0, kMaxRow), std::clamp<int>(place.cursorCol, 0, kMaxCol));
  pane.CollapseSelection();
}

}  // namespace

void TSheetView::GetView(TSheetViewState& view) {
  TSheetWindowLayout& layout = view.layout;
  TGridModel& pane1 = parts_.pane1;
  layout.sheetCount = static_cast<std::int16_t>(SheetCount());
  layout.splitHorizontal = split_ == TSplit::kAbove;
  layout.splitVertical = split_ == TSplit::kSide;
  layout.synchronised = synchronised_;
  layout.activePane = static_cast<std::uint8_t>(activePane_ - 1);
  layout.pane1 = PlaceOf(pane1);
  layout.pane2 = PlaceOf(parts_.pane2);
  layout.pane1Height = static_cast<std::int16_t>(layout_.pane1.Height());
  layout.pane1Width = static_cast<std::int16_t>(layout_.pane1.Width());
  bool frozenCols = pane1.FixCol2() > pane1.Fixcol1();
  bool frozenRows = pane1.Fixrow2() > pane1.Fixrow1();
  layout.frozenFirstCol = static_cast<std::int16_t>(frozenCols ? pane1.Fixcol1() : -1);
  layout.frozenLastCol = static_cast<std::int16_t>(frozenCols ? pane1.FixCol2() - 1 : -1);
  layout.frozenFirstRow = static_cast<std::int16_t>(frozenRows ? pane1.Fixrow1() : -1);
  layout.frozenLastRow = static_cast<std::int16_t>(frozenRows ? pane1.Fixrow2() - 1 : -1);
  for (int col = 0; col <= kMaxCol; ++col) view.sizes.columns[col] = static_cast<std::uint16_t>(pane1.ColSize(col));
  for (int row = 0; row <= kMaxRow; ++row) view.sizes.rows[row] = static_cast<std::uint16_t>(pane1.RowSize(row));
  // The tabs up to the last one the user or a file named (Define Tabs may
  // have renamed any of them, or added names beyond a file's); the lettered
  // ones after it come back by themselves.
  const std::vector<std::string>& items = parts_.tabs.Items();
  const std::vector<std::string> letters = SheetLetters();
  std::size_t named = std::min(items.size(), letters.size());
  while (named > 0 && items[named - 1] == letters[named - 1]) --named;
  view.tabNames.assign(items.begin(), items.begin() + static_cast<std::ptrdiff_t>(named));
  view.buttons.clear();
  for (const TSheetObject& object : objects_)
    if (!object.deleted) view.buttons.push_back(object.record);
  view.font = font_;
}

void TSheetView::SetView(const TSheetViewState& view, unsigned parts) {
  if (parts & kViewFont) SetDefaultFont(view.font);
  if (parts & kViewSizes) {
    TGridModel& pane1 = parts_.pane1;
    for (int col = 0; col <= kMaxCol; ++col)
      if (pane1.ColSize(col) != view.sizes.columns[col]) pane1.SetColSize(col, view.sizes.columns[col]);
    for (int row = 0; row <= kMaxRow; ++row)
      if (pane1.RowSize(row) != view.sizes.rows[row]) pane1.SetRowSize(row, view.sizes.rows[row]);
    parts_.pane1.Repaint();
    parts_.pane2.Repaint();
  }
  if (parts & kViewTabNames) {
    // Named tabs first; the sheets beyond them keep their letters.
    std::vector<std::string> items = SheetLetters();
    std::copy_n(view.tabNames.begin(), std::min(view.tabNames.size(), items.size()), items.begin());
    parts_.tabs.SetItems(items);
  }
  if (parts & kViewButtons) {
    // The objects already on the sheet come back first (a merge adds the
    // file's after them) and keep their kinds.
    std::vector<TSheetObject> kept;
    for (const TSheetObject& object : objects_)
      if (!object.deleted) kept.push_back(object);
    objects_.clear();
    for (std::size_t i = 0; i < view.buttons.size(); ++i) {
      if (i < kept.size() && kept[i].record == view.buttons[i])
        objects_.push_back(kept[i]);
      else
        PlaceSheetObject(view.buttons[i]);
    }
    ObjectsChanged();
  }
  if (parts & kViewLayout) {
    const TSheetWindowLayout& layout = view.layout;
    SetSheetCount(layout.sheetCount);
    if (layout.splitHorizontal && layout.pane1Height > 0)
      SplitAt(0, layout.pane1Height);
    else if (layout.splitVertical && layout.pane1Width > 0)
      SplitAt(layout.pane1Width, 0);
    else
      Unsplit();
    synchronised_ = layout.synchronised;
    TGridModel& pane1 = parts_.pane1;
    pane1.ClearTitles();
    GoTo(pane1, layout.pane1);
    if (layout.frozenFirstCol >= 0 && layout.frozenLastCol >= layout.frozenFirstCol &&
        layout.frozenLastCol < kMaxCol) {
      pane1.SetFixcol1(layout.frozenFirstCol);
      pane1.SetFixCol2(layout.frozenLastCol + 1);
      pane1.SetLeftcol(std::max<int>(pane1.Leftcol(), layout.frozenLastCol + 1));
    }
    if (layout.frozenFirstRow >= 0 && layout.frozenLastRow >= layout.frozenFirstRow &&
        layout.frozenLastRow < kMaxRow) {
      pane1.SetFixrow1(layout.frozenFirstRow);
      pane1.SetFixrow2(layout.frozenLastRow + 1);
      pane1.SetToprow(std::max<int>(pane1.Toprow(), layout.frozenLastRow + 1));
    }
    GoTo(parts_.pane2, layout.pane2);
    SetActivePane(layout.activePane != 0 ? 2 : 1, true);
    Repaint();
  }
}

// ---- Closing ----------------------------------------------------------------------------------

bool TSheetView::SaveDocument() {
  // The writer takes the view of the active window: this one, for the span
  // of the save, with its document current.
  TSheetView* previous = views_.Active();
  views_.SetActive(this);
  bool saved;
  {
    TDocumentScope scope(slot_);
    // A document read only in part goes through Save As, which keeps the
    // damaged file as the backup.
    const TDocSlot* doc = DocSlot(slot_);
    saved = untitled_ || (doc != nullptr && doc->partlyRead) ? Frame().SaveAs() : SaveWorksheet(name_, false, TRange{});
  }
  views_.SetActive(views_.Contains(previous) ? previous : nullptr);
  return saved;
}

bool TSheetView::CloseQuery() {
  if (RangePromptActive()) return false;
  if (slot_ != 0 && views_.ViewsOf(slot_, this).empty() && DocumentSettings().modified != 0) {
    switch (Frame().AskSave(name_)) {
      case TSaveAnswer::kCancel:
        return false;
      case TSaveAnswer::kYes:
        // Work that was not saved keeps its window.
        if (!SaveDocument()) return false;
        break;
      case TSaveAnswer::kNo:
        break;
    }
  }
  if (views_.Count() == 1) Frame().NoSheetWindows();
  return true;
}

}  // namespace corvane
