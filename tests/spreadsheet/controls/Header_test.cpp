// The header strip: scaled sizes and the entries a drag stores (kept within
// what a worksheet file can hold), insert and delete, labels, span clicks and
// border resizes.
#include "spreadsheet/controls/Header.h"

#include <gtest/gtest.h>

#include "classlib/RecordingControlHost.h"

namespace corvane {
namespace {

using classlib::TMouseButton;
using classlib::TRecordingCanvas;
using classlib::TRecordingControlHost;

class HeaderTest : public ::testing::Test {
 protected:
  void Make(int dir) {
    header.SetDir(dir);
    header.SetMaxCols(dir == 0 ? 256 : 8192);
    header.SetFixsize(dir == 0 ? 40 : 0);
    if (dir == 1) {
      host.Resize(40, 300);
      header.SetDefwidth(15);
    }
  }

  TRecordingControlHost host{440, 18};
  THeaderModel header{host};
};

TEST_F(HeaderTest, SizesScaleAndStoredEntriesFitTheFilesByte) {
  struct Row {
    int dir, scale, pixels;  // a drag to `pixels` at `scale` percent
    int entry, shown;        // the entry stored and the size shown then
  } rows[] = {
      {0, 100, 100, 12, 96},  {0, 50, 100, 25, 100}, {0, 75, 96, 16, 96},
      {1, 100, 20, 20, 20},   {1, 100, 255, 255, 15}, {1, 100, 300, 254, 254},
      {1, 50, 150, 254, 127}, {0, 100, 5000, 254, 2032}, {0, 0, 100, 12, 96},
      {1, 100, -7, 0, 0},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(::testing::Message() << "dir " << r.dir << " scale " << r.scale << " pixels " << r.pixels);
    Make(r.dir);
    header.SetScale(r.scale);
    header.SizeFromPixels(3, r.pixels);
    EXPECT_EQ(header.Entry(3), r.entry);
    EXPECT_EQ(header.Size(3), r.shown);
    EXPECT_EQ(header.Pos(4) - header.Pos(3), r.shown);
    header.SizeFromPixels(3, r.dir == 0 ? 64 * 2 : 15 * 2);
  }
  Make(0);
  header.SetScale(50);
  EXPECT_EQ(header.Size(256), 2032) << "the outside column at any zoom";
  header.SetRawEntry(0, 700);
  EXPECT_EQ(header.Entry(0), 254);
}

TEST_F(HeaderTest, InsertAndDeleteStayInsideTheTableAndLeaveNoStaleSizes) {
  Make(0);
  header.SetRawEntry(0, 10);
  header.SetRawEntry(1, 20);
  header.SetRawEntry(255, 30);
  header.DeleteEntries(0, 1);
  EXPECT_EQ(header.Entry(0), 20);
  EXPECT_EQ(header.Entry(254), 30);
  EXPECT_EQ(header.Entry(255), kDefaultSize);
  header.InsertEntries(0, 2);
  EXPECT_EQ(header.Entry(0), 20) << "inserted entries keep the size they had";
  EXPECT_EQ(header.Entry(2), 20);
  header.InsertEntries(250, 100);
  header.DeleteEntries(250, 100);
  header.InsertEntries(-1, 3);
  header.DeleteEntries(300, 3);
  EXPECT_EQ(header.Entry(255), kDefaultSize);
}

TEST_F(HeaderTest, LabelsAreColumnLettersAndRowNumbersPerPage) {
  struct {
    int n;
    const char* letters;
  } columns[] = {{1, "A"}, {26, "Z"}, {27, "AA"}, {52, "AZ"}, {256, "IV"}};
  for (auto& c : columns) EXPECT_EQ(HeaderLetters(c.n), c.letters);

  Make(1);
  header.SetPagesize(2048);
  header.SetLeftcol(2046);
  TRecordingCanvas canvas;
  header.Paint(canvas);
  std::vector<std::string> texts = canvas.Texts();
  ASSERT_GE(texts.size(), 3u);
  EXPECT_EQ(texts[0], "2047");
  EXPECT_EQ(texts[1], "2048");
  EXPECT_EQ(texts[2], "1");
}

TEST_F(HeaderTest, PressesFireSpanClicksAndBorderDragsResize) {
  Make(0);
  std::vector<std::pair<int, int>> clicks;
  header.Onclick = [&](int cf, int ct) { clicks.emplace_back(cf, ct); };
  int sizing = 0, sized = 0, lastX = 0;
  header.OnSizing = [&](int x) { ++sizing, lastX = x; };
  header.OnSized = [&] { ++sized; };
  auto drag = [&](int from, int to) {
    header.MouseDown(TMouseButton::mbLeft, 0, from, 5);
    header.MouseMove(0, to, 5);
    header.MouseUp(TMouseButton::mbLeft, 0, to, 5);
  };
  drag(40 + 64 * 2 + 20, 40 + 64 * 2 + 30);  // within column C
  drag(40 + 64 * 4 + 20, 40 + 64 * 1 + 20);  // E to B
  drag(10, 10);                              // the corner
  ASSERT_EQ(clicks.size(), 3u);
  EXPECT_EQ(clicks[0], std::make_pair(2, 2));
  EXPECT_EQ(clicks[1], std::make_pair(4, 1));
  EXPECT_EQ(clicks[2].first, -1);
  EXPECT_FALSE(host.HasCapture());

  header.MouseMove(0, 40 + 64 + 2, 5);
  EXPECT_EQ(host.MouseCursor, classlib::crHSplit);
  header.MouseMove(0, 40 + 64 + 20, 5);
  EXPECT_EQ(host.MouseCursor, classlib::crDefault);
  sizing = sized = 0;
  drag(40 + 64 + 2, 40 + 64 + 2 + 32);  // the border after A, 32 pixels right
  EXPECT_EQ(header.Entry(0), 12);
  EXPECT_EQ(clicks.size(), 3u) << "a resize is no click";
  EXPECT_GE(sizing, 2);
  EXPECT_EQ(sized, 2) << "at the start and at the end";
  EXPECT_EQ(lastX, 40 + 96);
}

}  // namespace
}  // namespace corvane
