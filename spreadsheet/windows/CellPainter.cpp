// Cell-row painting: the decisions per cell and their drawing on a canvas.
#include "spreadsheet/windows/CellPainter.h"

#include <algorithm>

#include "spreadsheet/engine/EngineHelpers.h"
#include "spreadsheet/engine/FormatSettings.h"
#include "spreadsheet/engine/FormulaText.h"
#include "spreadsheet/engine/NumberFormat.h"
#include "spreadsheet/engine/PoolString.h"
#include "spreadsheet/engine/TextRoutines.h"

namespace corvane {

using classlib::TCanvas;
using classlib::TColor;
using classlib::TRect;

namespace {

constexpr int kTextMargin = 4;       // pixels between a cell's edge and its text
constexpr int kRepeatMargin = 8;     // a repeated character leaves this much of the cell free
constexpr int kNoDocumentWord = -1;  // a kind without a document colour

TColor WordRGB(std::uint32_t word) { return word & 0x00FFFFFFu; }
TColor PaletteColour(std::uint32_t word) { return kPalette16[(word >> 24) & 15]; }

bool RangeHolds(const TRange& r, int row, int col) {
  return r.firstRow >= 0 && row >= std::min(r.firstRow, r.lastRow) && row <= std::max(r.firstRow, r.lastRow) &&
         col >= std::min(r.firstCol, r.lastCol) && col <= std::max(r.firstCol, r.lastCol);
}

// The document colour word for a cell's kind: labels and text results the
// label colour, numbers the value colour (or the negative colour), none else.
std::int64_t DocumentWordByKind(const TSheetSettings& s, std::uint8_t type, bool negative) {
  if (type == kKindStringFormula || type == kKindLabel) return s.labelColour;
  if (type >= kKindNumberFormula && type <= kKindInteger)
    return negative && s.negativeInColour ? s.negativeColour : s.valueColour;
  return kNoDocumentWord;
}

bool Unlocked(const TRowPaintContext& context, const TCell* cell) {
  return cell != nullptr && context.settings->protection != 0 && (cell->format & kFormatProtectedBit) == 0;
}

double CellNumber(const TCell& cell) {
  return CellKind(cell) == kKindInteger ? CellInteger(cell) : CellReal(cell);
}

std::string FormulaTextOf(const TCell& cell) {
  return FormulaToText(PoolBlock(cell.text), PoolStringBlockBytes(cell.text));
}

// Sets the look's text from a prefixed label.
void LabelLook(TCellLook& look, std::string_view label) {
  look.kind = TCellLook::TText::kLabel;
  if (label.empty()) return;
  char prefix = label[0];
  std::string_view text = label.substr(1);
  switch (prefix) {
    case '"': look.align = TCellAlign::kRight; break;
    case '^': look.align = TCellAlign::kCentre; break;
    case '\\':
      // An empty repeat label has no character to repeat and shows nothing.
      look.kind = text.empty() ? TCellLook::TText::kNone : TCellLook::TText::kRepeat;
      text = text.substr(0, 1);
      break;
    case '|':
      if (!text.empty() && (text[0] == '<' || text[0] == '>')) {
        look.kind = TCellLook::TText::kPicture;
        look.stretch = text[0] == '<';
        text = text.substr(1);
      }
      break;
    default: break;
  }
  look.text = std::string(text);
}

void TextLook(TCellLook& look, const TCell& cell, int format, int widthDigits, bool& negative) {
  std::uint8_t kind = cell.kind & (kKindTypeMask | kKindErrorBit);
  if (format == kFormatHidden) return;
  if (kind > kKindPicture) {
    look.kind = TCellLook::TText::kNumber;
    look.text = "ERR";
    look.align = TCellAlign::kRight;
    return;
  }
  switch (kind) {
    case kKindStringFormula:
      look.kind = TCellLook::TText::kLabel;
      look.text = format == kFormatText ? FormulaTextOf(cell) : std::string(PoolStringView(CellResultText(cell)));
      return;
    case kKindNumberFormula:
      if (format == kFormatText) {
        look.kind = TCellLook::TText::kLabel;
        look.text = FormulaTextOf(cell);
        return;
      }
      [[fallthrough]];
    case kKindReal:
    case kKindInteger: {
      double x = CellNumber(cell);
      negative = x < 0;
      look.kind = TCellLook::TText::kNumber;
      look.text = FormatValueInWidth(widthDigits, static_cast<std::uint8_t>(format), x);
      look.shortens = ShowsGeneralText(static_cast<std::uint8_t>(format), x);
      look.align = TCellAlign::kRight;
      return;
    }
    case kKindLabel:
      LabelLook(look, PoolStringView(cell.text));
      return;
    case kKindPicture: {
      std::string_view text = PoolStringView(cell.text);
      LabelLook(look, text);
      if (look.kind != TCellLook::TText::kPicture) {
        look.kind = TCellLook::TText::kPicture;
        look.stretch = true;
        look.text = StripPrefix(text);
      }
      return;
    }
    default:
      return;
  }
}

}  // namespace

std::string CellFontName(const TSheetFonts& fonts, int fontNumber) {
  if (fonts.list != nullptr && fontNumber >= 0 && fontNumber < 255 &&
      static_cast<std::size_t>(fontNumber) < fonts.list->size())
    return (*fonts.list)[static_cast<std::size_t>(fontNumber)];
  return fonts.defaultFace;
}

int CellFontSize(const TSheetFonts& fonts, int sizeByte) { return sizeByte != 0 ? sizeByte : fonts.defaultSize; }

TColor RowBackground(const TRowPaintContext& context, int row) {
  if (context.print) return classlib::clWhite;
  if (context.frozen) return kFrozenBackground;
  const TSheetSettings& s = *context.settings;
  if (s.banding && row % 2 == 0) return WordRGB(s.bandColour);
  return WordRGB(s.backgroundColour);
}

TCellLook DecideCellLook(const TCell* cell, const TRowPaintContext& context, int row, int col, int widthDigits) {
  const TSheetSettings& s = *context.settings;
  TCellLook look;
  bool negative = false;
  if (cell != nullptr) {
    int format = cell->format & 0x7F;
    if (format == kFormatDefault) format = FormatSettings().GForm & 0x7F;
    TextLook(look, *cell, format, widthDigits, negative);
    std::uint8_t style = (cell->style & 0x80) ? 0 : cell->style;
    switch ((style >> 4) & 7) {
      case 1: look.align = TCellAlign::kLeft; break;
      case 2: look.align = TCellAlign::kRight; break;
      case 3: look.align = TCellAlign::kCentre; break;
      default: break;
    }
  }
  std::uint8_t type = cell != nullptr ? CellKind(*cell) : kKindOfNoCell;
  std::int64_t byKind = DocumentWordByKind(s, type, negative);
  TColor background = RowBackground(context, row);

  if (context.print && context.printNoColour) {
    look.fill = classlib::clWhite;
    look.textColour = classlib::clBlack;
    return look;
  }
  if (Unlocked(context, cell)) {
    look.fill = WordRGB(s.unlockedColour);
    look.textColour = PaletteColour(s.unlockedColour);
  } else {
    if (cell != nullptr && (cell->attributes & kColourNoFill) == 0)
      look.fill = WordRGB(cell->attributes);
    else if (byKind == kNoDocumentWord || (byKind & kColourNoText) != 0)
      look.fill = background;
    else
      look.fill = WordRGB(static_cast<std::uint32_t>(byKind));
    if (cell == nullptr)
      look.textColour = classlib::clBlack;
    else if ((cell->attributes & kColourNoText) == 0)
      look.textColour = PaletteColour(cell->attributes);
    else if (byKind == kNoDocumentWord || (byKind & kColourNoFill) != 0)
      look.textColour = classlib::clBlack;
    else
      look.textColour = PaletteColour(static_cast<std::uint32_t>(byKind));
  }
  look.unmarkedTextColour = look.textColour;
  if (!context.print) {
    if (row == context.cursorRow && col == context.cursorCol) {
      look.fill = WordRGB(s.cursorColour);
      look.textColour = PaletteColour(s.cursorColour);
    } else if (RangeHolds(context.selection, row, col)) {
      look.fill = kSelectionFill;
      look.textColour = classlib::clWhite;
    }
  }
  return look;
}

namespace {

// One row's paint: the cells gathered once, the font in use and its digit
// width remembered between cells.
class TRowPainter {
 public:
  TRowPainter(TCanvas& canvas, const TRowPaintContext& context, int row)
      : canvas_(canvas), context_(context), row_(row) {}

  void Paint(int firstCol, int lastCol) {
    firstCol = std::max(firstCol, 0);
    lastCol = std::min(lastCol, kMaxCol);
    if (firstCol > lastCol) return;
    // The rest of the row too: a label may spill from it into what is painted.
    TRange rest;
    RangeSet(rest, firstCol, row_, kMaxCol, row_);
    ForEachCellInRange(rest, [&](TCellHandle, const TCell& cell) { cells_[cell.column] = &cell; });
    canvas_.TextAlign = classlib::taLeft | classlib::taBottom;
    for (int col = firstCol; col <= lastCol; ++col) col = PaintCell(col);
  }

 private:
  // Paints the cell at `col` and the neighbours its label spills into; the
  // last column painted.
  int PaintCell(int col) {
    TRect rect = context_.cellRect(col);
    const TCell* cell = cells_[col];
    if (rect.Width() <= 0) return col;
    if (cell != nullptr) UseFont(*cell);
    int digits = cell != nullptr && digitWidth_ > 0 ? (rect.Width() - kTextMargin) / digitWidth_ : 0;
    TCellLook look = DecideCellLook(cell, context_, row_, col, digits);
    // A general number is shortened to the column's width in digits; signs,
    // points and the "E" are not digit-wide, so narrow it until it fits.
    while (look.kind == TCellLook::TText::kNumber && look.shortens && !NumberFits(look.text, rect) && --digits > 0)
      look = DecideCellLook(cell, context_, row_, col, digits);
    if (look.kind == TCellLook::TText::kPicture) {
      PaintPicture(look, rect, col);
      FinishCell(rect, cell, false);
      return col;
    }
    Fill(rect, look.fill);
    std::string text = FittedText(look, rect);
    if (text.empty()) {
      FinishCell(rect, cell, false);
      return col;
    }
    int width = canvas_.TextWidth(text);
    int x = TextStart(look.align, rect, width);
    int end = x + width;
    bool spills = look.kind == TCellLook::TText::kLabel;
    auto continues = [&](int c) {
      return spills && end > context_.cellRect(c).Right && c < kMaxCol &&
             (cells_[c + 1] == nullptr || CellKind(*cells_[c + 1]) == kKindBlank);
    };
    DrawText(rect, x, text, look.textColour);
    FinishCell(rect, cell, continues(col));
    while (continues(col)) {
      ++col;
      TRect next = context_.cellRect(col);
      TCellLook blank = DecideCellLook(cells_[col], context_, row_, col, 0);
      Fill(next, blank.fill);
      DrawText(next, x, text, Marked(col) ? blank.textColour : look.unmarkedTextColour);
      FinishCell(next, cells_[col], continues(col));
    }
    return col;
  }

  // True when the screen marks (cursor, selection) colour the cell.
  bool Marked(int col) const {
    return !context_.print && ((row_ == context_.cursorRow && col == context_.cursorCol) ||
                               RangeHolds(context_.selection, row_, col));
  }

  // The text as drawn: numbers that do not fit become "x"s across the cell,
  // a repeat label its character as often as it fits.
  std::string FittedText(const TCellLook& look, const TRect& rect) {
    int room = rect.Width() - kRepeatMargin;
    switch (look.kind) {
      case TCellLook::TText::kNumber:
        return NumberFits(look.text, rect) ? look.text : CharString('x', Copies("x", rect.Width() - kTextMargin));
      case TCellLook::TText::kRepeat:
        return CharString(look.text[0], Copies(look.text, room));
      case TCellLook::TText::kLabel:
        return look.text;
      default:
        return "";
    }
  }

  // The trailing space of a number's text only lines it up with the ")" of
  // negatives; it need not fit.
  bool NumberFits(const std::string& text, const TRect& rect) {
    std::size_t shown = text.find_last_not_of(' ') + 1;
    return canvas_.TextWidth(std::string_view(text).substr(0, shown)) + kTextMargin <= rect.Width();
  }

  // How many copies of `one` (one character) fit in `room` pixels, measured
  // on 240 of them so that fractional widths count.
  int Copies(const std::string& one, int room) {
    if (room <= 0) return 0;
    int all = canvas_.TextWidth(CharString(one[0], kMaxCellText));
    return all > 0 ? static_cast<int>(static_cast<long long>(room) * kMaxCellText / all) : 0;
  }

  static int TextStart(TCellAlign align, const TRect& rect, int width) {
    int x = rect.Left + kTextMargin;
    if (align == TCellAlign::kRight) x = rect.Right - width - kTextMargin;
    if (align == TCellAlign::kCentre) x = (rect.Left + rect.Right - width) / 2;
    return std::max(x, rect.Left);
  }

  void UseFont(const TCell& cell) {
    if (haveFont_ && cell.font == font_ && cell.size == size_ && cell.style == style_) return;
    haveFont_ = true;
    font_ = cell.font;
    size_ = cell.size;
    style_ = cell.style;
    classlib::TFont f;
    f.Name = CellFontName(context_.fonts, cell.font);
    f.Height = -(CellFontSize(context_.fonts, cell.size) * context_.zoom / 100);
    f.Style = (cell.style & 0x80) ? 0 : static_cast<classlib::TFontStyles>(cell.style & 7);
    f.Color = canvas_.Font.Color;
    canvas_.Font = f;
    digitWidth_ = canvas_.TextWidth("0");
  }

  void Fill(const TRect& rect, TColor colour) {
    canvas_.Brush = classlib::TBrush{colour};
    canvas_.FillRect(rect);
  }

  void DrawText(const TRect& clip, int x, const std::string& text, TColor colour) {
    canvas_.Font.Color = colour;
    canvas_.Brush.Style = classlib::TBrushStyle::bsClear;
    canvas_.TextRect(clip, x, clip.Bottom - 1, text);
  }

  void PaintPicture(const TCellLook& look, const TRect& rect, int col) {
    if (!look.stretch) Fill(rect, look.fill);
    bool drawn = context_.pictures != nullptr && !look.text.empty() &&
                 context_.pictures->DrawPicture(canvas_, look.text, rect, look.stretch);
    if (!drawn) {
      // A picture that cannot be had leaves an empty framed box.
      Fill(rect, look.fill);
      canvas_.Brush = classlib::TBrush{kDottedGridColour};
      canvas_.FrameRect(rect.Inflate(-1, -1));
    }
    if (Marked(col)) {
      TRect in = rect.Inflate(-1, -1);
      canvas_.InvertRect({in.Left, in.Top, in.Right, in.Top + 1});
      canvas_.InvertRect({in.Left, in.Bottom - 1, in.Right, in.Bottom});
      canvas_.InvertRect({in.Left, in.Top + 1, in.Left + 1, in.Bottom - 1});
      canvas_.InvertRect({in.Right - 1, in.Top + 1, in.Right, in.Bottom - 1});
    }
  }

  // Grid lines (or a printed frame) and the cell's borders. A cell whose text
  // runs on into the next keeps no line at its right edge.
  void FinishCell(const TRect& rect, const TCell* cell, bool textRunsOn) {
    if (context_.print) {
      if (context_.printGrid) {
        canvas_.Brush = classlib::TBrush{kDottedGridColour};
        canvas_.FrameRect(rect);
      }
    } else if (context_.gridMode & (kGridHorizontal | kGridVertical)) {
      bool dotted = (context_.gridMode & kGridDotted) != 0;
      canvas_.Pen = classlib::TPen{dotted ? kDottedGridColour : kGridLineColour, dotted ? 1 : 0,
                                   dotted ? classlib::TPenStyle::psDot : classlib::TPenStyle::psSolid};
      if (context_.gridMode & kGridHorizontal) {
        canvas_.MoveTo(rect.Left, rect.Top);
        canvas_.LineTo(rect.Right, rect.Top);
      }
      if ((context_.gridMode & kGridVertical) && !textRunsOn) {
        canvas_.MoveTo(rect.Right - 1, rect.Top);
        canvas_.LineTo(rect.Right - 1, rect.Bottom);
      }
    }
    if (cell != nullptr && cell->borders != 0) DrawBorders(rect, cell->borders);
  }

  // Border byte: two bits each for the left, bottom, right and top edge; the
  // lower bit draws one pixel, the higher two.
  void DrawBorders(const TRect& r, std::uint8_t borders) {
    auto width = [&](int edge) {
      int bits = (borders >> (2 * edge)) & 3;
      return (bits & 2) ? 2 : bits;
    };
    canvas_.Brush = classlib::TBrush{classlib::clBlack};
    if (int w = width(0)) canvas_.FillRect({r.Left, r.Top, r.Left + w, r.Bottom});
    if (int w = width(1)) canvas_.FillRect({r.Left, r.Bottom - w, r.Right, r.Bottom});
    if (int w = width(2)) canvas_.FillRect({r.Right - w, r.Top, r.Right, r.Bottom});
    if (int w = width(3)) canvas_.FillRect({r.Left, r.Top, r.Right, r.Top + w});
  }

  TCanvas& canvas_;
  const TRowPaintContext& context_;
  int row_;
  const TCell* cells_[kMaxCol + 1] = {};
  bool haveFont_ = false;
  std::uint8_t font_ = 0, size_ = 0, style_ = 0;
  int digitWidth_ = 0;
};

}  // namespace

void PaintCellRow(TCanvas& canvas, const TRowPaintContext& context, int row, int firstCol, int lastCol) {
  if (context.settings == nullptr || !context.cellRect || row < 0 || row > kMaxRow) return;
  classlib::TCanvasStateSaver saved(canvas);
  TRowPainter(canvas, context, row).Paint(firstCol, lastCol);
}

}  // namespace corvane
