// The sheet view's objects: macro buttons and graph boxes over pane 1.
#include <algorithm>

#include "spreadsheet/engine/DocumentTable.h"
#include "spreadsheet/engine/ShowError.h"
#include "spreadsheet/windows/MacroTrust.h"
#include "spreadsheet/windows/SheetView.h"
#include "spreadsheet/windows/SheetViews.h"

namespace corvane {

using classlib::TPoint;
using classlib::TRect;

int TSheetView::CreateSheetObject(std::string_view caption, std::string_view text, int width, int height, int x,
                                  int y, TSheetObjectKind kind) {
  TSheetObject object;
  object.kind = kind;
  object.record.caption = std::string(caption.substr(0, kObjectCaptionChars));
  object.record.macro = std::string(text.substr(0, kObjectTextChars));
  object.record.width = width;
  object.record.height = height;
  AnchorAt(parts_.pane1, {x, y}, object.record);
  object.record.caption = AnchorAddress(object.record);
  object.userMade = true;
  objects_.push_back(std::move(object));
  MarkModified();
  ObjectsChanged();
  return static_cast<int>(objects_.size()) - 1;
}

void TSheetView::PlaceSheetObject(const TSheetButton& record) {
  TSheetObject object;
  object.record = record;
  object.kind = placing_ ? placingKind_ : TSheetObjectKind::kMacroButton;
  objects_.push_back(std::move(object));
}

void TSheetView::SetPlacing(bool on, TSheetObjectKind kind) {
  if (rubberDown_) DrawRubber();
  rubberDown_ = false;
  placing_ = on;
  placingKind_ = kind;
  parts_.pane1.Select = !on;
  ObjectsChanged();  // the buttons show their sizing handles while placing
}

void TSheetView::EndPlacing() {
  SetPlacing(false);
  if (OnPlacingEnded) OnPlacingEnded();
}

void TSheetView::DrawRubber() {
  TRect r{std::min(rubberFrom_.x, rubberTo_.x), std::min(rubberFrom_.y, rubberTo_.y),
          std::max(rubberFrom_.x, rubberTo_.x) + 1, std::max(rubberFrom_.y, rubberTo_.y) + 1};
  parts_.pane1.DrawOnCells([&r](classlib::TCanvas& canvas) { canvas.DrawFocusRect(r); });
}

void TSheetView::FinishPlacing(TPoint at) {
  DrawRubber();
  rubberDown_ = false;
  TRect r = PlacementRect(rubberFrom_, at);
  CreateSheetObject("", "", r.Width(), r.Height(), r.Left, r.Top, placingKind_);
  EndPlacing();
}

TRect TSheetView::ObjectRect(int index) const {
  return ObjectBounds(parts_.pane1, objects_[static_cast<std::size_t>(index)].record);
}

void TSheetView::ObjectMovedTo(int index, const TRect& bounds) {
  TSheetButton& record = Object(index).record;
  record.width = bounds.Width();
  record.height = bounds.Height();
  AnchorAt(parts_.pane1, {bounds.Left, bounds.Top}, record);
  MarkModified();
  ObjectsChanged();
}

void TSheetView::ObjectClicked(int index) {
  const TSheetObject& object = Object(index);
  SetActivePane(activePane_, true);
  if (object.kind == TSheetObjectKind::kGraphBox) {
    Frame().ShowSheetGraph(GraphBoxName(object));
  } else if (!object.userMade && DocumentMacrosRefused(slot_)) {
    // A button of a worksheet whose macros the user refused when opening it
    // may cover the whole sheet: a click on it runs nothing and says why.
    const TDocSlot* doc = DocSlot(slot_);
    ShowError(MacrosOffMessage(doc != nullptr ? doc->fileName : name_));
  } else {
    Frame().RunMacroText(object.record.macro);
  }
}

void TSheetView::DeleteObject(int index) {
  Object(index).deleted = true;
  MarkModified();
  ObjectsChanged();
  SetActivePane(activePane_, true);
}

void TSheetView::EditObject(int index, const TButtonDialogValue& value) {
  ApplyButtonDialog(value, Object(index));
  MarkModified();
  ObjectsChanged();
}

void TSheetView::ObjectsChanged() {
  if (OnObjectsChanged) OnObjectsChanged();
}

}  // namespace corvane
