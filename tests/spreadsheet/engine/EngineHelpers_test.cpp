// The document unit's small services: bitmap cache, delay across the tick
// count's wrap, the time-stamp clock, the palette match, sound and version.
#include "spreadsheet/engine/EngineHelpers.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/spreadsheet/engine/EngineTestSupport.h"

namespace corvane::testing {
namespace {

class EngineHelpers : public EngineTest {
 protected:
  void TearDown() override {
    FreeBitmapCache();
    gUseTimeStampClock = false;
    EngineTest::TearDown();
  }
};

TEST_F(EngineHelpers, TheBitmapCacheLoadsEachNameOnceAndHoldsTen) {
  TBitmapHandle logo = LoadBitmapCached("c:\\pics\\logo.bmp");
  ASSERT_NE(logo, kNoBitmap);
  EXPECT_EQ(LoadBitmapCached("C:\\PICS\\LOGO.BMP"), logo);
  EXPECT_EQ(platform.bitmapLoads, 1);
  EXPECT_EQ(LoadBitmapCached("missing.bmp"), kNoBitmap);
  EXPECT_EQ(LoadBitmapCached("missing.bmp"), kNoBitmap) << "a failed load is tried again, not cached";
  for (int i = 2; i <= 10; ++i) ASSERT_NE(LoadBitmapCached("pic" + std::to_string(i)), kNoBitmap);
  EXPECT_EQ(LoadBitmapCached("pic11"), kNoBitmap) << "full: nothing handed out is evicted";
  EXPECT_EQ(platform.bitmapLoads, 10);
  EXPECT_EQ(LoadBitmapCached("pic5"), LoadBitmapCached("PIC5"));
  EXPECT_EQ(platform.liveBitmaps.size(), 10u);
  FreeBitmapCache();
  EXPECT_TRUE(platform.liveBitmaps.empty());
  EXPECT_NE(LoadBitmapCached("pic11"), kNoBitmap);
}

TEST_F(EngineHelpers, DelayWaitsItsMillisecondsAcrossTheTickCountsWrap) {
  platform.tick = 0xFFFFFFF0u;  // wraps 16 ms into the delay
  DelayMs(100);
  EXPECT_EQ(platform.tickReads, 101);  // the start, then one read per millisecond up to 100
  platform.tickReads = 0;
  DelayMs(0);
  DelayMs(-5);
  EXPECT_EQ(platform.tickReads, 0);
}

TEST_F(EngineHelpers, TheTimeStampClockCountsMillisecondsAt166MHzWhenSwitchedOn) {
  platform.timeStamp = 166000ull * 1234 + 999;
  EXPECT_EQ(CpuTickMs(), 1u);
  gUseTimeStampClock = true;
  EXPECT_EQ(CpuTickMs(), 1234u);
}

TEST_F(EngineHelpers, ColoursMatchTheNearestOfTheSixteenPaletteColours) {
  struct Case {
    std::uint32_t colour;
    int index;
  } cases[] = {
      {0x000000, 0}, {0xFFFFFF, 15}, {0xFE0000, 9}, {0x7F7F7F, 8}, {0xC0C0C1, 7},
      {0x404040, 0},  // as near to black as to grey: the first wins
      {0x0000F0, 12},
  };
  for (const Case& c : cases) EXPECT_EQ(NearestPaletteColor(c.colour), c.index) << std::hex << c.colour;
}

TEST_F(EngineHelpers, SoundAndVersionGoThroughThePlatform) {
  DefaultBeep();
  SpeakerTone(440, 100);
  EXPECT_EQ(platform.beeps, 1);
  EXPECT_EQ(platform.tones, 1);
  EXPECT_EQ(VersionText(), "test");
  SetEnginePlatform(nullptr);
  EXPECT_EQ(VersionText(), "1.6008");
}

}  // namespace
}  // namespace corvane::testing
