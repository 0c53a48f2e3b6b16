// The program's sheet windows as the main frame sees them: TForm2 windows
// over the program's TSheetViews, which the frame makes and which serve the
// engine as its window services.
#pragma once

#include <memory>

#include "spreadsheet/windows/SheetViews.h"
#include "spreadsheet/windows/win/MainFrame.h"

namespace corvane {

class TProgramSheetWindows : public TSheetWindows {
 public:
  // Makes the views over `frame`, which answers them as their TSheetFrame.
  void Attach(TForm1& frame);
  // The views (Attach first).
  TSheetViews& Views() { return *views_; }

  classlib::TForm* CreateSheetWindow(TForm1& frame, std::string_view name, bool untitled) override;
  classlib::TForm* CreateSecondWindow(TForm1& frame, TSheetView& view) override;
  void DiscardSheetWindow(classlib::TForm* window) override;
  void RenameActiveSheetWindow(std::string_view name) override;
  void SetGridExtendMode(bool on) override;
  TSheetFonts SheetFonts() override;
  void SetFontList(const std::vector<std::string>& faces) override;
  void RecalculateAll() override;
  TSheetView* ActiveView() override { return views_ != nullptr ? views_->Active() : nullptr; }

 private:
  std::unique_ptr<TSheetViews> views_;
};

}  // namespace corvane
