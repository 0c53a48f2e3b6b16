// The list of sheet windows and the window services over it.
#include "spreadsheet/windows/SheetViews.h"

#include <algorithm>

#include "spreadsheet/engine/DocumentTable.h"
#include "spreadsheet/engine/RangeText.h"
#include "spreadsheet/windows/SheetView.h"

namespace corvane {

// Every request acts on the active view and its active pane; with none open
// the answers are those of "no sheet window".
class TSheetViews::TServices final : public TWindowServices {
 public:
  explicit TServices(TSheetViews& views) : views_(views) {}

  TSheetId ActiveSheet() override { return reinterpret_cast<TSheetId>(views_.Active()); }
  TGridId ActiveGrid() override {
    TSheetView* view = views_.Active();
    return view != nullptr ? reinterpret_cast<TGridId>(&view->ActivePane()) : kNoGrid;
  }
  void GetCursorCell(std::int16_t& row, std::int16_t& col) override {
    row = col = 0;
    if (TGridModel* pane = Pane()) {
      row = static_cast<std::int16_t>(pane->CursorRow());
      col = static_cast<std::int16_t>(pane->CursorCol());
    }
  }
  void GetGridSelection(TRange& range) override {
    if (TGridModel* pane = Pane())
      range = pane->GetSelection();
    else
      RangeSet(range, 0, -1, 0, -1);
  }
  void SetGridSelection(const TRange& range) override {
    TGridModel* pane = Pane();
    if (pane == nullptr || !RangeIsValid(range)) return;
    pane->SetExtendMode(false);
    pane->SetSelection(range);
    pane->MoveTo(range.lastRow, range.lastCol);
    pane->SetSelection(range);
  }
  std::string ColumnWidthTag(int col) override {
    TGridModel* pane = Pane();
    if (pane == nullptr || col < 0 || col > kMaxCol || pane->ColSize(col) == kDefaultSizeEntry) return "";
    return "w" + std::to_string(pane->ColSize(col));
  }
  int ColumnWidthChars(int col) override {
    TGridModel* pane = Pane();
    if (pane == nullptr || col < 0 || col > kMaxCol) return 0;
    int entry = pane->ColSize(col);
    return entry == kDefaultSizeEntry ? pane->DefWidth() / 8 : entry;
  }
  bool GetSheetView(TSheetViewState& view) override {
    TSheetView* active = views_.Active();
    if (active == nullptr) return false;
    active->GetView(view);
    view.fontList = views_.fontList;
    return true;
  }
  void SetSheetView(const TSheetViewState& view, unsigned parts) override {
    if (TSheetView* active = views_.Active()) active->SetView(view, parts);
  }
  void MarkSheetModified(TSheetId sheet) override {
    if (TSheetView* view = ViewOf(sheet)) {
      view->MarkModified();
      views_.anyModified = true;
    }
  }
  void RepaintSheet(TSheetId sheet) override {
    if (TSheetView* view = ViewOf(sheet)) {
      view->Repaint();
      views_.RepaintDocumentViews(*view);
    }
  }
  std::string SheetFileName(std::size_t maxLength) override {
    TSheetView* view = views_.Active();
    const TDocSlot* doc = view != nullptr ? DocSlot(view->Slot()) : nullptr;
    return doc != nullptr ? doc->fileName.substr(0, maxLength) : "";
  }
  void FocusActivePane() override {
    if (TSheetView* view = views_.Active()) {
      view->SetActivePane(view->ActivePaneNumber(), true);
      LoadCursorGlobals();
    }
  }
  void FocusActiveGrid() override {
    if (TGridModel* pane = Pane()) pane->TakeFocus();
  }
  std::string UserName() override { return Frame().UserName(); }
  void ShowProgress(int done, int total) override { Frame().ShowProgress(done, total); }
  void HideProgress() override { Frame().HideProgress(); }
  void SetWaitCursor(bool on) override { Frame().SetWaitCursor(on); }
  void LeaveEndMode() override { Frame().SetEndMode(false); }
  void EnableMainWindow() override { Frame().EnableMainWindow(); }
  void SetMainMenusEnabled(bool enabled) override { Frame().SetMainMenusEnabled(enabled); }
  void ShowPromptLine(std::string_view caption, std::string_view text) override {
    Frame().ShowPromptLine(caption, text);
  }
  std::string PromptLineText() override { return Frame().PromptLineText(); }
  void HidePromptLine() override { Frame().HidePromptLine(); }
  void SetModeIndicator(std::string_view text, int colour) override { Frame().SetModeIndicator(text, colour); }
  void ShowReadyMode() override { Frame().ShowReadyMode(); }

 private:
  TSheetFrame& Frame() { return views_.Frame(); }
  TGridModel* Pane() {
    TSheetView* view = views_.Active();
    return view != nullptr ? &view->ActivePane() : nullptr;
  }
  // The view of an id the engine got earlier; null once that window closed.
  TSheetView* ViewOf(TSheetId sheet) {
    auto* view = reinterpret_cast<TSheetView*>(sheet);
    return views_.Contains(view) ? view : nullptr;
  }

  TSheetViews& views_;
};

TSheetViews::TSheetViews(TSheetFrame& frame) : frame_(frame), services_(new TServices(*this)) {}

TSheetViews::~TSheetViews() { delete services_; }

TWindowServices& TSheetViews::Services() { return *services_; }

void TSheetViews::Add(TSheetView& view) {
  if (!Contains(&view)) views_.push_back(&view);
}

void TSheetViews::Remove(TSheetView& view) {
  views_.erase(std::remove(views_.begin(), views_.end(), &view), views_.end());
  if (active_ == &view) active_ = nullptr;
}

bool TSheetViews::Contains(const TSheetView* view) const {
  return view != nullptr && std::find(views_.begin(), views_.end(), view) != views_.end();
}

std::vector<TSheetView*> TSheetViews::ViewsOf(int slot, const TSheetView* except) const {
  std::vector<TSheetView*> out;
  for (TSheetView* view : views_)
    if (view != except && view->Slot() == slot) out.push_back(view);
  return out;
}

void TSheetViews::RepaintDocumentViews(const TSheetView& view) {
  for (TSheetView* other : ViewsOf(view.Slot(), &view)) other->Repaint();
}

}  // namespace corvane
