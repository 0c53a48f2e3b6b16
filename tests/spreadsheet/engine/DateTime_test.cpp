// Date serials, date and time texts, the clock, and typed dates and times.
#include "spreadsheet/engine/DateTime.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "spreadsheet/engine/Clock.h"
#include "spreadsheet/engine/NumberFormat.h"
#include "tests/spreadsheet/engine/FormatSettingsFixture.h"

namespace corvane {
namespace {

using DateSerials = DefaultFormatSettings;
using DateTexts = DefaultFormatSettings;
using TypedDates = DefaultFormatSettings;

struct Ymd {
  int year, month, day;
  bool operator==(const Ymd&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Ymd& d) {
  return out << d.year << '-' << d.month << '-' << d.day;
}

// The calendar as a reference: Julian leap years up to 1582, Gregorian after,
// and 5 to 14 October 1582 skipped.
Ymd NextDay(Ymd d) {
  bool leap = d.year <= 1582 ? d.year % 4 == 0 : (d.year % 4 == 0 && d.year % 100 != 0) || d.year % 400 == 0;
  static const int kDays[13] = {0, 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  int last = d.month == 2 && leap ? 29 : kDays[d.month];
  if (d.year == 1582 && d.month == 10 && d.day == 4) return {1582, 10, 15};
  if (d.day < last) return {d.year, d.month, d.day + 1};
  if (d.month < 12) return {d.year, d.month + 1, 1};
  return {d.year + 1, 1, 1};
}

Ymd DateOf(double serial) {
  Ymd d{};
  EXPECT_TRUE(SerialToDate(serial, d.year, d.month, d.day)) << serial;
  return d;
}

TEST_F(DateSerials, KnownDays) {
  struct Case {
    int day, month, year;
    double serial;
  } cases[] = {
      {30, 12, 1899, 0},       {31, 12, 1899, 1},       {1, 1, 1900, 2},        {28, 2, 1900, 60},
      {1, 3, 1900, 61},        {1, 1, 95, 34700},       {1, 1, 1995, 34700},    {1, 1, 2000, 36526},
      {29, 2, 2000, 36585},    {1, 3, 2000, 36586},     {15, 10, 1582, -115858}, {4, 10, 1582, -115859},
      {31, 12, 9999, kLastDateSerial},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DateToSerial(c.day, c.month, c.year), c.serial) << c.day << '.' << c.month << '.' << c.year;
    int year = c.year < 100 ? c.year + 1900 : c.year;
    EXPECT_EQ(DateOf(c.serial), (Ymd{year, c.month, c.day})) << c.serial;
  }
  EXPECT_EQ(DateOf(kFirstDateSerial), (Ymd{1, 1, 1}));
  EXPECT_EQ(DateOf(36526.99), (Ymd{2000, 1, 1}));
  EXPECT_EQ(DateOf(-0.5), (Ymd{1899, 12, 29}));
}

TEST_F(DateSerials, EveryDayFromYearOneTo9999FollowsTheCalendar) {
  Ymd expected{1, 1, 1};
  for (double serial = kFirstDateSerial; serial <= kLastDateSerial; ++serial) {
    Ymd d{};
    ASSERT_TRUE(SerialToDate(serial, d.year, d.month, d.day)) << serial;
    ASSERT_EQ(d, expected) << serial;
    if (d.year >= 100) {
      ASSERT_EQ(DateToSerial(d.day, d.month, d.year), serial) << d;
    }
    expected = NextDay(expected);
  }
}

TEST_F(DateSerials, OutsideTheCalendarNothingIsConverted) {
  for (double serial : {kLastDateSerial + 1, kFirstDateSerial - 1, 1e300, -1e300, double(NAN), double(INFINITY)}) {
    int year = 7, month = 7, day = 7;
    EXPECT_FALSE(SerialToDate(serial, year, month, day)) << serial;
    EXPECT_EQ(year + month + day, 0);
  }
}

TEST_F(DateTexts, FormatsByCode) {
  struct Case {
    int format;
    double serial;
    const char* text;
  } cases[] = {
      {2, 36526, "01-Jan-2000"},  {3, 36526, "01-Jan"},        {4, 36526, "Jan 2000"},
      {9, 36557, "02/01/2000"},   {10, 36557, "01/02/2000"},   {12, 36557, "20000201"},
      {7, 36526, "0/0/0"},        {2, -115858, "15-Oct-1582"}, {9, -115859, "10/04/1582"},
      {2, kFirstDateSerial, "01-Jan-0001"},                    {4, kLastDateSerial, "Dec 9999"},
      {2, 3e6, "**********"},
  };
  for (const Case& c : cases) EXPECT_EQ(FormatDate(c.format, c.serial), c.text) << c.format << ' ' << c.serial;

  FormatSettings().TwoDigitYear = true;
  EXPECT_EQ(FormatDate(9, DateToSerial(31, 12, 1999)), "12/31/99");
  EXPECT_EQ(FormatDate(9, DateToSerial(1, 1, 1900)), "01/01/00");
  EXPECT_EQ(FormatDate(9, DateToSerial(1, 1, 2000)), "01/01/2000");
  EXPECT_EQ(FormatDate(12, DateToSerial(1, 2, 1995)), "19950201");
  EXPECT_EQ(DateToDbfText(DateToSerial(1, 2, 1995)), "19950201");
  EXPECT_EQ(DateToDbfText(kLastDateSerial + 1), "        ");
}

TEST_F(DateTexts, TimesOfDay) {
  struct Case {
    int h, m, s, mode;
    const char* text;
  } cases[] = {
      {0, 0, 0, 0, "0:00:00 am"}, {0, 5, 0, 1, "0:05 am"},   {11, 59, 0, 1, "11:59 am"},
      {12, 0, 0, 1, "12:00 pm"},  {13, 5, 9, 0, "1:05:09 pm"}, {23, 59, 59, 4, "23:59:59"},
      {7, 5, 0, 5, "07:05"},      {0, 0, 0, 4, "00:00:00"},
  };
  for (const Case& c : cases) EXPECT_EQ(FormatTimeOfDay(c.h, c.m, c.s, c.mode), c.text) << c.text;
}

TClockTime FakeClock() { return TClockTime{2024, 3, 5, 14, 7, 9, 500}; }

TEST_F(DateTexts, TodayAndNowComeFromTheClock) {
  TClockSource previous = SetClockSource(FakeClock);
  int year = 0, month = 0, day = 0;
  TodayYMD(year, month, day);
  EXPECT_EQ((Ymd{year, month, day}), (Ymd{2024, 3, 5}));
  EXPECT_EQ(TodayText(), "05-Mar-2024");
  EXPECT_EQ(TimeText(), "2:07 pm");
  SetClockSource(previous);

  TodayYMD(year, month, day);  // the system clock again
  EXPECT_GE(year, 2024);
  EXPECT_TRUE(month >= 1 && month <= 12 && day >= 1 && day <= 31);
}

TEST_F(TypedDates, DatesInBothOrders) {
  struct Case {
    const char* text;
    bool dayFirst;
    bool valid;
    double serial;
  } cases[] = {
      {"1/2/1995", false, true, DateToSerial(2, 1, 1995)},
      {"1/2/1995", true, true, DateToSerial(1, 2, 1995)},
      {"12/31/95", false, true, DateToSerial(31, 12, 1995)},
      {"01/02/0095", true, true, DateToSerial(1, 2, 1995)},
      {"1.2.1995", true, true, DateToSerial(1, 2, 1995)},
      {"1/2", false, true, DateToSerial(2, 1, 1900)},
      {"2/29/2000", false, true, 36585},
      {"2/29/1600", false, true, DateToSerial(29, 2, 1600)},
      {"2/29/1500", false, true, DateToSerial(29, 2, 1500)},  // a Julian leap year
      {"10/4/1582", false, true, -115859},
      {"10/15/1582", false, true, -115858},
      {"12/31/9999", false, true, kLastDateSerial},
      {"2/29/1900", false, false, 0},
      {"2/29/1700", false, false, 0},
      {"10/10/1582", false, false, 0},                         // skipped by the calendar reform
      {"13/1/1995", false, false, 0},
      {"13/45/1995", true, false, 0},
      {"4/31/1995", false, false, 0},
      {"0/1/1995", false, false, 0},
      {"1/2/1995/7", false, false, 0},
      {"1/2/10000", false, false, 0},
      {"1/2/-5", false, false, 0},
      {"1-2-1995", false, false, 0},
      {"abc/def", false, false, 0},
      {"N/A", false, false, 0},
      {"1/2/9999999999", false, false, 0},
  };
  for (const Case& c : cases) {
    double serial = -1;
    EXPECT_EQ(DateVal(c.text, c.dayFirst, serial), c.valid) << c.text;
    EXPECT_EQ(serial, c.serial) << c.text;
  }
}

TEST_F(TypedDates, Times) {
  struct Case {
    const char* text;
    bool valid;
    double seconds;
  } cases[] = {
      {"10:30", true, 37800},        {"10:30:15", true, 37815},    {"10:30pm", true, 81000},
      {"10:30 PM", true, 81000},     {"12:30am", true, 1800},      {"12:30pm", true, 45000},
      {"0:00", true, 0},             {"23:59:59", true, 86399},    {"-1:30", true, -5400},
      {"-0:30", true, -1800},        {"25:00", true, 90000},       {"10", true, 36000},
      {"10:75", false, 0},           {"10:30:60", false, 0},       {"10:-5", false, 0},
      {"5-3:00", false, 0},          {"1:2:3:4", false, 0},        {":30", false, 0},
      {"abc:def", false, 0},         {"Dinner:7pm", false, 0},
  };
  for (const Case& c : cases) {
    double fraction = -1;
    EXPECT_EQ(TimeVal(c.text, fraction), c.valid) << c.text;
    EXPECT_EQ(fraction, c.seconds / 86400) << c.text;
  }
}

// Every second of the day, typed as the time formats show it, reads back to
// a value that shows the same text.
TEST_F(TypedDates, EverySecondReadsBackAsShown) {
  for (int second = 0; second < 86400; ++second) {
    int h = second / 3600, m = second / 60 % 60, s = second % 60;
    for (int mode : {0, 4}) {
      std::string text = FormatTimeOfDay(h, m, s, mode);
      double fraction = -1;
      ASSERT_TRUE(TimeVal(text, fraction)) << text;
      ASSERT_EQ(FormatValue(12, static_cast<uint8_t>(0x77 + mode), fraction), text + " ") << text;
    }
  }
}

}  // namespace
}  // namespace corvane
