// TBmpCombo: a drop-down list whose items are pictures, the Rows x Cols
// cells of one glyph bitmap (item i shows cell i, counted along the rows).
#pragma once

#include <memory>

#include "classlib/win/Bitmap.h"
#include "spreadsheet/controls/win/OwnerDrawnList.h"

namespace corvane {

class TBmpCombo : public TOwnerDrawnList<classlib::TComboBox> {
 public:
  explicit TBmpCombo(classlib::TComponent* AOwner);

  // Copies the glyph.
  void SetGlyph(classlib::TBitmap& glyph);
  int Rows() const { return rows_; }
  // Also sets the item height: the cell height + 2, at least 16.
  void SetRows(int rows);
  int Cols() const { return cols_; }
  void SetCols(int cols);
  // Rows x Cols items; -1 until Rows or Cols is set.
  int count() const { return count_; }
  // Done once the owner has set the box up: the first item is selected and
  // items are the cell height + 2 high, at least 24.
  void Loaded();

 private:
  void MakeItems();
  void DrawItem(const TDrawnItem& item);

  std::unique_ptr<classlib::TBitmap> glyph_;
  int rows_ = 1, cols_ = 1, count_ = -1;
};

}  // namespace corvane
