// TCustomEnhListView: the report list view that sorts by the clicked column
// (comparing texts as dates, numbers or text), shows sort arrows in owner-
// drawn headers, may draw its rows itself with events for items, sub-items
// and headers, and keeps its column widths in the registry.
#pragma once

#include "classlib/win/Win32.h"

#include <functional>
#include <string>
#include <vector>

#include "analyser/components/ListViewRules.h"
#include "classlib/Canvas.h"
#include "classlib/win/ListView.h"

namespace foldwick {

enum class TLVStyle : std::uint8_t { lvStandard, lvOwnerDrawFixed };

// The states of an owner-drawn row (ODS_ bits of the system).
using TOwnerDrawState = unsigned;

struct TEnhLVSaveSettings {
  bool AutoSave = false;
  std::string RegistryKey;  // below HKEY_CURRENT_USER; the layout goes to its "Columns"
  bool SaveColumnSizes = true;
  bool SaveColumnOrder = true;  // used by TExtListView
};

using TLVSortItemsEvent = std::function<void(classlib::TObject* Sender, classlib::TListItem* Item1,
                                             classlib::TListItem* Item2, int SortColumn, int& CompResult)>;
// Gives the rows' order for a sort by `SortColumn` (Order[k]: the place now
// of the row that goes to place k) and returns true; false leaves the sort to
// the comparison (OnSortItems or the texts).
using TLVSortRowsEvent = std::function<bool(classlib::TObject* Sender, int SortColumn, bool Ascending,
                                            std::vector<int>& Order)>;
using TLVSortStatusEvent = std::function<void(classlib::TObject* Sender, int SortColumn, bool Ascending)>;
using TLVMeasureItemEvent = std::function<void(classlib::TObject* Control, UINT& AHeight)>;
using TLVDrawItemEvent = std::function<void(classlib::TObject* Control, classlib::TCanvas& ACanvas, int Index,
                                            classlib::TRect ARect, TOwnerDrawState State, bool& DefaultDrawing,
                                            bool& FullRowSelect)>;
using TLVDrawSubItemEvent = std::function<void(classlib::TObject* Control, classlib::TCanvas& ACanvas, int Index,
                                               int SubItem, classlib::TRect ARect, TOwnerDrawState State,
                                               bool& DefaultDrawing)>;
using TLVAfterDrawItemEvent = std::function<void(classlib::TObject* Control, classlib::TCanvas& ACanvas, int Index,
                                                 classlib::TRect ARect, TOwnerDrawState State)>;
using TLVDrawHeaderEvent = std::function<void(classlib::TObject* Control, classlib::TCanvas& ACanvas, int Index,
                                              classlib::TRect& ARect, bool Selected, bool& DefaultDrawing)>;
using TLVEditCanceled = std::function<void(classlib::TObject* Sender, classlib::TListItem* Item)>;

class TCustomEnhListView : public classlib::TListView {
 public:
  explicit TCustomEnhListView(classlib::TComponent* AOwner);
  // Writes the layout when the window goes (with AutoSave).
  ~TCustomEnhListView() override;

  // Reads the saved layout (with AutoSave), picks the first column as the
  // sort column and sorts. Call once the columns are set up.
  void Loaded() override;

  TLVStyle Style() const { return OwnerDraw ? TLVStyle::lvOwnerDrawFixed : TLVStyle::lvStandard; }
  // Makes the window again when it exists, drawn by the list or not.
  void SetStyle(TLVStyle value);
  TAutoColumnSort AutoColumnSort() const { return sort_.autoColumnSort; }
  void SetAutoColumnSort(TAutoColumnSort value);
  TAutoSortStyle AutoSortStyle() const { return sort_.autoSortStyle; }
  void SetAutoSortStyle(TAutoSortStyle value);
  bool AutoResort() const { return sort_.autoResort; }
  void SetAutoResort(bool value) { sort_.autoResort = value; }
  bool AutoSortAscending() const { return sort_.autoSortAscending; }
  void SetAutoSortAscending(bool value);
  // The direction of the current sort.
  bool Ascending() const { return sort_.ascending; }
  int LastColumnClicked() const { return sort_.lastColumnClicked; }
  void SetLastColumnClicked(int value);
  bool ShowSortArrows() const { return showArrows_; }
  virtual void SetShowSortArrows(bool value);
  bool ReverseSortArrows() const { return reverseArrows_; }
  void SetReverseSortArrows(bool value);

  TEnhLVSaveSettings SaveSettings;

  // Sorts again by the last column when automatic sorting is on and no
  // update is under way; otherwise the re-sort waits.
  void Resort();
  void BeginUpdate();
  // Ends an update; the last one runs a waiting re-sort.
  void EndUpdate();
  // Sorts by `column` in direction `ascending`.
  void SortByColumn(int column, bool ascending);
  // Sorts as a click would, with direction `ascending`.
  void ClickColumn(int column, bool ascending);
  // Adds a row and re-sorts (with AutoResort).
  classlib::TListItem* AddItem();

  // The text of a row at display position `position` (the caption for the
  // first column).
  std::string TextAtPosition(classlib::TListItem* item, int position) const;

  TLVSortItemsEvent OnSortItems;
  // For a list of VirtualRows: a sort that orders the rows by keys it makes
  // once for each, instead of comparing rows pair by pair.
  TLVSortRowsEvent OnSortRows;
  TLVSortStatusEvent OnSortBegin;
  TLVSortStatusEvent OnSortFinished;
  TLVMeasureItemEvent OnMeasureItem;
  TLVDrawItemEvent OnDrawItem;
  TLVDrawSubItemEvent OnDrawSubItem;
  TLVAfterDrawItemEvent OnAfterDefaultDrawItem;
  TLVDrawHeaderEvent OnDrawHeader;
  TLVEditCanceled OnEditCanceled;
  // Assigning OnDrawHeader takes effect through this (the header's items
  // must be drawn by the list then).
  void SetOnDrawHeader(TLVDrawHeaderEvent handler);

 protected:
  void WindowCreated() override;
  void WindowDestroying() override;
  void WndProc(classlib::TMessage& Message) override;
  void ColumnClick(int Column) override;
  // A caption edited in place takes its place in the sort (with AutoResort);
  // an edit that ended without a text fires OnEditCanceled.
  void Edited(classlib::TListItem* Item, std::string& S) override;
  void EditCanceled(classlib::TListItem* Item) override;
  // Makes the window again for a new style, keeping the items, the column
  // widths and order the user left and the sort; the layout is not written
  // meanwhile.
  void RecreateWindow();
  void DrawItem(const DRAWITEMSTRUCT& draw) override;
  void MeasureItem(UINT& height) override;

  // The column shown at a display position (TExtListView: by the user's
  // order); the natural order here.
  virtual int ColumnAtDisplayPosition(int position) const { return position; }
  virtual void SaveLayout();
  virtual void LoadLayout();
  // Writes the layout once (with AutoSave, after loading, while the window
  // exists). Each class's destructor calls it, so that the most derived
  // layout is the one written.
  void SaveLayoutOnce();
  // Whether the list draws the header items (arrows or OnDrawHeader).
  bool HeaderOwnerDrawn() const { return showArrows_ || static_cast<bool>(OnDrawHeader); }
  void ApplyHeaderOwnerDraw();
  // Invalidates the header cell of a column.
  void RedrawHeaderCell(int column);
  // The rows' FullRowSelect in owner drawing.
  virtual bool FullRowSelectDefault() const { return false; }

  TListSortState sort_;

 private:
  void DrawHeaderItem(const DRAWITEMSTRUCT& draw);
  void DrawSortArrow(classlib::TCanvas& canvas, classlib::TPoint at, int side, bool up);
  void DefaultDrawItem(classlib::TCanvas& canvas, int index, classlib::TRect rect, TOwnerDrawState state,
                       bool fullRowSelect);
  int CompareForSort(classlib::TListItem* a, classlib::TListItem* b, int column) const;
  const TSmartLocale& Locale() const;

  bool showArrows_ = false;
  bool reverseArrows_ = false;
  bool settingHeaderFlags_ = false;
  bool layoutLoaded_ = false;
  bool layoutSaved_ = false;
  bool recreating_ = false;
};

}  // namespace foldwick
