// The program's sheet windows: every open TSheetView in opening order, which
// one is active, the program's font list, and the window services that the
// engine, the files and the macros reach the windows through (they always act
// on the active view and its active pane).
#pragma once

#include <string>
#include <vector>

#include "spreadsheet/engine/WindowServices.h"
#include "spreadsheet/windows/SheetFrame.h"

namespace corvane {

class TSheetView;

class TSheetViews {
 public:
  explicit TSheetViews(TSheetFrame& frame);
  ~TSheetViews();
  TSheetViews(const TSheetViews&) = delete;
  TSheetViews& operator=(const TSheetViews&) = delete;

  TSheetFrame& Frame() { return frame_; }
  // The window services over these views (install it with the program's
  // seams).
  TWindowServices& Services();

  // Views join when made and leave when destroyed.
  void Add(TSheetView& view);
  void Remove(TSheetView& view);
  int Count() const { return static_cast<int>(views_.size()); }
  // The views in opening order (a copy: closing one while walking is safe).
  std::vector<TSheetView*> Views() const { return views_; }
  bool Contains(const TSheetView* view) const;
  // The other views on the document of `slot`.
  std::vector<TSheetView*> ViewsOf(int slot, const TSheetView* except = nullptr) const;

  // The active view (the frame's active sheet window), or null.
  TSheetView* Active() const { return active_; }
  void SetActive(TSheetView* view) { active_ = view; }

  // Repaints every other view that shows the document of `view`.
  void RepaintDocumentViews(const TSheetView& view);

  // The program's font list, built at start, which cells' font numbers index.
  std::vector<std::string> fontList;
  // Set by any view whose document changed.
  bool anyModified = false;
  // Whether the last sheet window laid out was maximised; new ones follow.
  bool windowsMaximised = false;

 private:
  class TServices;

  TSheetFrame& frame_;
  std::vector<TSheetView*> views_;
  TSheetView* active_ = nullptr;
  TServices* services_;
};

}  // namespace corvane
