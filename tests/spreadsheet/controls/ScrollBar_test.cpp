// The scroll bar: the thumb scaled to Mid, grabbing it above Mid, the repeat
// timing, paging that stops under the mouse, and the Position rules.
#include "spreadsheet/controls/ScrollBar.h"

#include <gtest/gtest.h>

#include "classlib/RecordingControlHost.h"

namespace corvane {
namespace {

using classlib::TMouseButton;

class ScrollBarTest : public ::testing::Test {
 protected:
  ScrollBarTest() {
    bar.OnChange = [this] { ++changes; };
    bar.Layout();
  }
  void Press(int x, int y) { bar.MouseDown(TMouseButton::mbLeft, 0, x, y); }
  void Release() { bar.MouseUp(TMouseButton::mbLeft, 0, 0, 0); }

  classlib::TRecordingControlHost host{16, 300};
  TScrollBarModel bar{host};
  int changes = 0;
};

TEST_F(ScrollBarTest, ThumbStandsForMidAndGrabbingItAboveMidComesBack) {
  bar.SetMax(8191);
  bar.SetMid(100);
  EXPECT_TRUE(bar.Vertical());
  EXPECT_GE(bar.ThumbLength(), TScrollBarModel::kMinThumb);
  bar.SetPosition(500);
  EXPECT_EQ(bar.ThumbRect().Bottom, bar.Track().Bottom) << "the thumb at the end";
  changes = 0;
  classlib::TRect thumb = bar.ThumbRect();
  Press(8, thumb.Top + 2);
  EXPECT_EQ(bar.Position(), 100);
  EXPECT_EQ(changes, 1);
  bar.MouseMove(0, 8, thumb.Top + 2 - (bar.Track().Height() - bar.ThumbLength()) / 2);
  EXPECT_NEAR(bar.Position(), 50, 2);
  Release();
}

TEST_F(ScrollBarTest, HeldArrowStepsAtOnceAfter400AndThenEvery50) {
  Press(8, 300 - 5);  // the second arrow
  EXPECT_EQ(bar.Position(), 1);
  EXPECT_EQ(host.Timers().at(TScrollBarModel::kRepeatTimer), 400u);
  bar.Timer(TScrollBarModel::kRepeatTimer);
  EXPECT_EQ(bar.Position(), 2);
  EXPECT_EQ(host.Timers().at(TScrollBarModel::kRepeatTimer), 50u);
  bar.Timer(TScrollBarModel::kRepeatTimer);
  EXPECT_EQ(bar.Position(), 3);
  Release();
  EXPECT_FALSE(host.TimerRunning(TScrollBarModel::kRepeatTimer));
  Press(8, 5);
  EXPECT_EQ(bar.Position(), 2);
  Release();
}

TEST_F(ScrollBarTest, PagingStopsWhenTheThumbReachesTheMouse) {
  bar.SetMid(100);
  int y = bar.Track().Bottom - 40;
  Press(8, y);
  for (int tick = 0; tick < 30; ++tick) bar.Timer(TScrollBarModel::kRepeatTimer);
  EXPECT_TRUE(bar.ThumbRect().Contains({8, y}));
  int stopped = bar.Position();
  bar.Timer(TScrollBarModel::kRepeatTimer);
  EXPECT_EQ(bar.Position(), stopped);
  EXPECT_LT(stopped, 100);
  Release();
}

TEST_F(ScrollBarTest, PositionIsClampedAndAnUnchangedValueFiresNothing) {
  bar.SetPosition(-5);
  EXPECT_EQ(changes, 0);
  bar.SetPosition(500);
  EXPECT_EQ(bar.Position(), 100);
  bar.SetPosition(100);
  EXPECT_EQ(changes, 1);

  int length = bar.ThumbLength();
  bar.SetMid(0);  // Mid = Min: the thumb neither moves nor resizes
  EXPECT_EQ(bar.ThumbLength(), length);
  EXPECT_EQ(bar.ThumbRect().Top, bar.Track().Top);
  bar.SetMid(-50);
  bar.SetBand(100000);
  host.Resize(16, 20);  // shorter than two arrows and a thumb
  bar.Layout();
  classlib::TRecordingCanvas canvas;
  bar.Paint(canvas);
  EXPECT_EQ(bar.ThumbLength(), 0);
}

}  // namespace
}  // namespace corvane
