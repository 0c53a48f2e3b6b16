// The main frame's sheet windows over the program's sheet views.
#include "spreadsheet/windows/win/SheetWindows.h"

#include "spreadsheet/windows/SheetView.h"
#include "spreadsheet/windows/win/SheetWindow.h"

namespace corvane {

using namespace classlib;

void TProgramSheetWindows::Attach(TForm1& frame) { views_ = std::make_unique<TSheetViews>(frame); }

TForm* TProgramSheetWindows::CreateSecondWindow(TForm1& frame, TSheetView& view) {
  return corvane::CreateSheetWindow(frame, *views_, view.Name(), view.Untitled(), view.Slot());
}

TForm* TProgramSheetWindows::CreateSheetWindow(TForm1& frame, std::string_view name, bool untitled) {
  return corvane::CreateSheetWindow(frame, *views_, std::string(name), untitled);
}

void TProgramSheetWindows::DiscardSheetWindow(TForm* window) { delete window; }

void TProgramSheetWindows::RenameActiveSheetWindow(std::string_view name) {
  if (TSheetView* view = views_->Active()) view->SetName(name);
}

void TProgramSheetWindows::SetGridExtendMode(bool on) {
  if (TSheetView* view = views_->Active()) view->ActivePane().SetExtendMode(on);
}

TSheetFonts TProgramSheetWindows::SheetFonts() {
  TSheetFonts fonts;
  fonts.list = &views_->fontList;
  if (TSheetView* view = views_->Active()) fonts.defaultFace = view->DefaultFont().name;
  return fonts;
}

void TProgramSheetWindows::SetFontList(const std::vector<std::string>& faces) {
  if (views_ != nullptr) views_->fontList = faces;
}

void TProgramSheetWindows::RecalculateAll() {
  // The F9 of the sheet windows: the linked files read again, then every
  // document recalculated.
  if (TSheetView* view = views_->Active()) {
    int key = VK_F9;
    view->PreviewKeyDown(key, 0);
  }
}

}  // namespace corvane
