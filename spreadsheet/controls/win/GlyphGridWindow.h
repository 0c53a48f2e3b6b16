// TBmpBut: the glyph button grid's window over TBmpButModel, with its glyph
// bitmap (a copy the grid keeps); and DrawGlyphCell, the transparent copy of
// one glyph cell that the glyph combo box draws with too.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "classlib/win/Bitmap.h"
#include "spreadsheet/controls/GlyphGrid.h"
#include "spreadsheet/controls/win/OwnDrawnControl.h"

namespace corvane {

// Copies `source` of `glyph` onto `dest` of `canvas` (same size, no
// stretching), leaving out silver pixels, which are transparent in glyphs.
// Draws nothing on a canvas of another kind than GDI.
void DrawGlyphCell(classlib::TCanvas& canvas, const classlib::TRect& dest, classlib::TBitmap& glyph,
                   const classlib::TRect& source);

class TBmpBut : public TKeyedModelWindow<TBmpButModel> {
 public:
  explicit TBmpBut(classlib::TComponent* AOwner);

  // Copies `glyph`; its cells are it cut into Brows x Bcols.
  void SetGlyph(classlib::TBitmap& glyph);
  void SetItems(std::vector<std::string> items) { model_.SetItems(std::move(items)); }
  int Itemindex() const { return model_.Itemindex(); }
  void SetItemindex(int i) { model_.SetItemindex(i); }
  void SetCaption(const std::string& caption) { model_.SetCaption(caption); }
  void SetFont(const classlib::TFont& value) override;
  std::string DialogChars() const override { return CanFocus() ? model_.Accelerators() : std::string(); }

 protected:
  void CreateParams(TCreateParams& Params) override;
  void WindowCreated() override;
  void Paint(classlib::TCanvas& Canvas) override;
  void KeyPress(char& Key) override;
  // Only a grid that can take the focus answers its letters.
  bool DialogChar(char Key) override { return CanFocus() && model_.DialogChar(Key); }
  LRESULT DialogCode(classlib::TMessage& Message) override;

 private:
  void MeasureCaption();
  void TakeSize();

  std::unique_ptr<classlib::TBitmap> glyph_;
};

}  // namespace corvane
