// Cell rows painted from a real document onto the recording canvas: texts and
// their places, spill, the "x" fill, colours, fonts, borders and the borrow of
// another document.
#include "spreadsheet/windows/CellPainter.h"

#include <gtest/gtest.h>

#include "classlib/RecordingCanvas.h"
#include "spreadsheet/engine/CellEntry.h"
#include "spreadsheet/engine/EngineHelpers.h"
#include "spreadsheet/windows/DocumentScope.h"
#include "tests/spreadsheet/engine/EngineTestSupport.h"

namespace corvane {
namespace {

using namespace classlib;

constexpr int kColWidth = 72;  // 12 characters of the recording canvas's 12-pixel font
constexpr int kRowHeight = 15;

class CellPainterTest : public testing::EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    slot_ = OpenCurrent("PAINT.WKS");
    context.settings = &gCurrentDoc.settings;
    context.fonts.list = &fontList;
    context.cellRect = [](int col) { return Bounds(col * kColWidth, 0, kColWidth, kRowHeight); };
  }

  void Enter(int row, int col, const char* text, int format = -1) {
    ASSERT_TRUE(EnterCell(text, row, col)) << text << ": " << ErrorMessage();
    if (format >= 0) CellPtr(CellFind(row, col))->format = static_cast<std::uint8_t>(format);
  }

  TRecordingCanvas Paint(int row, int first = 0, int last = 7) {
    TRecordingCanvas canvas;
    PaintCellRow(canvas, context, row, first, last);
    return canvas;
  }

  // The text calls that drew `text`, one per cell it was drawn in.
  static std::vector<TCanvasCall> Drawn(const TRecordingCanvas& canvas, const std::string& text) {
    std::vector<TCanvasCall> out;
    for (const TCanvasCall& c : canvas.CallsOf(TCanvasOp::TextRect))
      if (c.Text == text) out.push_back(c);
    return out;
  }

  // The colour the cell at `col` was filled with last.
  static TColor FillOf(const TRecordingCanvas& canvas, int col) {
    TColor fill = clNone;
    for (const TCanvasCall& c : canvas.CallsOf(TCanvasOp::FillRect))
      if (c.Rect == Bounds(col * kColWidth, 0, kColWidth, kRowHeight)) fill = c.Brush.Color;
    return fill;
  }

  int slot_ = 0;
  std::vector<std::string> fontList{"Arial", "Courier New"};
  TRowPaintContext context;
};

TEST_F(CellPainterTest, TextByKindFormatAndPrefixInItsPlace) {
  struct Row {
    const char* entry;
    int format;  // -1: as entered
    const char* shown;  // nullptr: nothing drawn
    TCellAlign align;
  } rows[] = {
      {"1234", 0x42, "1,234.00", TCellAlign::kRight},
      {"'left", -1, "left", TCellAlign::kLeft},
      {"\"right", -1, "right", TCellAlign::kRight},
      {"^mid", -1, "mid", TCellAlign::kCentre},
      {"+A1*2", 0x75, "A1*2", TCellAlign::kLeft},  // text format shows the formula
      {"@UPPER(\"ab\")", -1, "AB", TCellAlign::kLeft},
      {"42", 0x76, nullptr, TCellAlign::kLeft},  // hidden
      {"+1/0", -1, "ERR", TCellAlign::kRight},
      {"36526", 0x72, "01-Jan-2000", TCellAlign::kRight},
      {"123456789.167", -1, "123456789.2", TCellAlign::kRight},  // general: rounded to the column
      {"-1.2345678901234E+20", -1, "-1.2346E+20", TCellAlign::kRight},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.entry);
    CellDelete(CellFind(0, 1));
    Enter(0, 1, row.entry, row.format);
    TRecordingCanvas canvas = Paint(0, 1, 1);
    std::vector<TCanvasCall> texts = canvas.CallsOf(TCanvasOp::TextRect);
    if (row.shown == nullptr) {
      EXPECT_TRUE(texts.empty());
      continue;
    }
    ASSERT_EQ(texts.size(), 1u) << canvas.Dump();
    std::string text = texts[0].Text;
    EXPECT_EQ(text.substr(0, text.find_last_not_of(' ') + 1), row.shown);
    int x = texts[0].Points[0].x;
    int width = static_cast<int>(text.size()) * (-texts[0].Font.Height / 2);
    switch (row.align) {
      case TCellAlign::kLeft: EXPECT_EQ(x, kColWidth + 4); break;
      case TCellAlign::kRight: EXPECT_EQ(x, std::max(kColWidth, 2 * kColWidth - width - 4)); break;
      case TCellAlign::kCentre: EXPECT_EQ(x, (3 * kColWidth - width) / 2); break;
    }
  }
}

TEST_F(CellPainterTest, LabelsSpillOverEmptyNeighboursNumbersTurnToXs) {
  Enter(0, 0, "'a label long enough to cross two more columns and beyond");
  CellGetOrCreate(0, 2);  // a blank cell with attributes only: spilled over
  Enter(0, 3, "'stop");
  Enter(1, 0, "123456789012345678", 0x02);  // too wide for 72 pixels
  Enter(2, 0, "\\-");
  Enter(2, 1, "\\");  // nothing to repeat
  TRecordingCanvas spill = Paint(0);
  std::vector<TCanvasCall> drawn = Drawn(spill, "a label long enough to cross two more columns and beyond");
  ASSERT_EQ(drawn.size(), 3u) << spill.Dump();
  for (int k = 0; k < 3; ++k) {
    EXPECT_EQ(drawn[k].Rect, Bounds(k * kColWidth, 0, kColWidth, kRowHeight));
    EXPECT_EQ(drawn[k].Points[0].x, 4);
  }
  EXPECT_EQ(Drawn(spill, "stop").size(), 1u);

  TRecordingCanvas number = Paint(1);
  ASSERT_EQ(number.Texts().size(), 1u);
  EXPECT_EQ(number.Texts()[0], std::string((kColWidth - 4) / 6, 'x'));

  TRecordingCanvas repeat = Paint(2);
  ASSERT_EQ(repeat.Texts().size(), 1u) << repeat.Dump();
  EXPECT_EQ(repeat.Texts()[0], std::string((kColWidth - 8) / 6, '-'));
}

// A label spilling out of a marked cell (the cursor's or the selection's)
// shows its spilled part in its own colour on the unmarked neighbours, never
// in the mark's text colour on the background; a marked neighbour shows it
// in the mark's colours.
TEST_F(CellPainterTest, ASpilledLabelKeepsItsOwnColourPastTheMarks) {
  const std::string text = "a label long enough to cross two more columns and beyond";
  Enter(0, 0, ("'" + text).c_str());
  const TSheetSettings& s = gCurrentDoc.settings;
  const TColor label = kPalette16[(s.labelColour >> 24) & 15];
  const TColor cursor = kPalette16[(s.cursorColour >> 24) & 15];
  ASSERT_NE(label, cursor);
  const struct {
    const char* what;
    int cursorCol;
    TRange selection;
    TColor shown[3];  // in A1, B1 and C1
  } rows[] = {
      {"no marks", -1, {0, -1, 0, -1}, {label, label, label}},
      {"the cursor on the label", 0, {0, 0, 0, 0}, {cursor, label, label}},
      {"the cursor on a cell spilled into", 1, {1, 0, 1, 0}, {label, cursor, label}},
      {"the label selected, the cursor elsewhere", 5, {0, 0, 0, 0}, {clWhite, label, label}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    context.cursorRow = 0;
    context.cursorCol = row.cursorCol;
    context.selection = row.selection;
    TRecordingCanvas canvas = Paint(0);
    std::vector<TCanvasCall> drawn = Drawn(canvas, text);
    ASSERT_GE(drawn.size(), 3u) << canvas.Dump();
    for (int col = 0; col < 3; ++col) EXPECT_EQ(drawn[col].Font.Color, row.shown[col]) << "column " << col;
  }
}

TEST_F(CellPainterTest, FillAndTextColours) {
  TSheetSettings& s = gCurrentDoc.settings;
  s.banding = 1;
  s.negativeInColour = 1;
  Enter(0, 0, "-5");
  Enter(0, 1, "5");
  Enter(0, 2, "'text");
  Enter(0, 3, "7");
  CellPtr(CellFind(0, 3))->attributes = 0x0C123456;  // own fill and palette text 12
  TRecordingCanvas banded = Paint(0, 0, 4);
  EXPECT_EQ(Drawn(banded, "-5 ")[0].Font.Color, kPalette16[(s.negativeColour >> 24) & 15]);
  EXPECT_EQ(Drawn(banded, "5 ")[0].Font.Color, kPalette16[(s.valueColour >> 24) & 15]);
  EXPECT_EQ(Drawn(banded, "text")[0].Font.Color, kPalette16[(s.labelColour >> 24) & 15]);
  EXPECT_EQ(Drawn(banded, "7 ")[0].Font.Color, kPalette16[12]);
  EXPECT_EQ(FillOf(banded, 3), 0x123456u);
  EXPECT_EQ(FillOf(banded, 4), s.bandColour & 0xFFFFFF);  // displayed row 1 is banded
  EXPECT_EQ(FillOf(Paint(1, 4, 4), 4), s.backgroundColour & 0xFFFFFF);

  // Protection shows unlocked cells in the unlocked colour.
  s.protection = 1;
  CellPtr(CellFind(0, 1))->format &= 0x7F;
  EXPECT_EQ(FillOf(Paint(0, 0, 4), 1), s.unlockedColour & 0xFFFFFF);
  s.protection = 0;

  // The screen marks: the selection red with white text, the cursor its colour.
  context.selection = {0, 0, 2, 0};
  context.cursorRow = 0;
  context.cursorCol = 0;
  TRecordingCanvas marked = Paint(0, 0, 4);
  EXPECT_EQ(FillOf(marked, 0), s.cursorColour & 0xFFFFFF);
  EXPECT_EQ(FillOf(marked, 1), kSelectionFill);
  EXPECT_EQ(Drawn(marked, "5 ")[0].Font.Color, clWhite);

  // Printing in black and white ignores all of it.
  context.print = true;
  context.printNoColour = true;
  TRecordingCanvas printed = Paint(0, 0, 4);
  for (int col = 0; col <= 4; ++col) EXPECT_EQ(FillOf(printed, col), clWhite);
  EXPECT_EQ(Drawn(printed, "-5 ")[0].Font.Color, clBlack);
  EXPECT_TRUE(printed.CallsOf(TCanvasOp::LineTo).empty());
}

TEST_F(CellPainterTest, FontsBordersAndGridLines) {
  Enter(0, 0, "'big");
  TCell* cell = CellPtr(CellFind(0, 0));
  cell->font = 1;
  cell->size = 20;
  cell->style = fsBold | fsItalic;
  cell->borders = 0x01 | 0x08;  // left one pixel, bottom two
  Enter(0, 1, "'odd");
  CellPtr(CellFind(0, 1))->font = 200;  // no such font: the default face
  context.zoom = 150;
  TRecordingCanvas canvas = Paint(0, 0, 1);
  TCanvasCall big = Drawn(canvas, "big")[0];
  EXPECT_EQ(big.Font.Name, "Courier New");
  EXPECT_EQ(big.Font.Height, -30);
  EXPECT_EQ(big.Font.Style, fsBold | fsItalic);
  EXPECT_EQ(Drawn(canvas, "odd")[0].Font.Name, context.fonts.defaultFace);
  std::vector<TRect> black;
  for (const TCanvasCall& c : canvas.CallsOf(TCanvasOp::FillRect))
    if (c.Brush.Color == clBlack) black.push_back(c.Rect);
  EXPECT_EQ(black, (std::vector<TRect>{{0, 0, 1, kRowHeight}, {0, kRowHeight - 2, kColWidth, kRowHeight}}));
  // Solid silver lines at each cell's top and right edge.
  std::vector<std::pair<TPoint, TPoint>> lines = canvas.Lines();
  EXPECT_EQ(lines.size(), 4u);
  EXPECT_EQ(canvas.CallsOf(TCanvasOp::LineTo)[0].Pen.Color, kGridLineColour);
}

TEST_F(CellPainterTest, PicturesThatCannotBeHadLeaveAFramedBox) {
  struct TPictures : TPictureSource {
    std::vector<std::string> asked;
    bool DrawPicture(TCanvas&, std::string_view file, const TRect&, bool stretch) override {
      asked.push_back(std::string(file) + (stretch ? " stretched" : ""));
      return file == "logo.bmp";
    }
  } pictures;
  context.pictures = &pictures;
  Enter(0, 0, "|<logo.bmp");
  Enter(0, 1, "|>lost.bmp");
  TRecordingCanvas canvas = Paint(0, 0, 1);
  EXPECT_EQ(pictures.asked, (std::vector<std::string>{"logo.bmp stretched", "lost.bmp"}));
  std::vector<TCanvasCall> frames = canvas.CallsOf(TCanvasOp::FrameRect);
  ASSERT_EQ(frames.size(), 1u);
  EXPECT_EQ(frames[0].Rect, Bounds(kColWidth, 0, kColWidth, kRowHeight).Inflate(-1, -1));
  EXPECT_EQ(FillOf(canvas, 0), clNone);  // a stretched picture covers its cell
  EXPECT_TRUE(canvas.Texts().empty());
}

TEST_F(CellPainterTest, PaintingAnotherDocumentLeavesTheCurrentOneAsItWas) {
  Enter(0, 0, "'first");
  int other = 0;
  ASSERT_EQ(RegisterOpenSheet("OTHER.WKS", other), TOpenResult::kNew);
  {
    TDocumentScope scope(other);
    Enter(0, 0, "'second");
  }
  gCurrentDoc.settings.banding = 0;  // an unsaved change of the working settings
  SetErrorFlag("pending", 7);
  std::string painted;
  {
    TDocumentScope scope(other);
    ASSERT_TRUE(scope.Ok());
    TRowPaintContext borrowed = context;
    borrowed.settings = &DocSlot(other)->settings;
    TRecordingCanvas canvas;
    PaintCellRow(canvas, borrowed, 0, 0, 0);
    painted = canvas.Texts().at(0);
  }
  EXPECT_EQ(painted, "second");
  EXPECT_EQ(CurrentDocSlot(), slot_);
  EXPECT_EQ(LabelAt(0, 0), "'first");
  EXPECT_EQ(gCurrentDoc.settings.banding, 0);
  EXPECT_EQ(ErrorMessage(), "pending");
  EXPECT_EQ(ErrorCode(), 7);
}

}  // namespace
}  // namespace corvane
