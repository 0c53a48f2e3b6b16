// Reading number text and the general text of numbers.
#include "spreadsheet/engine/NumberText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <random>
#include <string>

#include "tests/spreadsheet/engine/FormatSettingsFixture.h"

namespace corvane {
namespace {

using NumberReading = DefaultFormatSettings;
using GeneralText = DefaultFormatSettings;

struct ReadCase {
  const char* text;
  double value;
  int errPos;
};

void ExpectReads(const ReadCase* cases, size_t count) {
  for (size_t i = 0; i < count; ++i) {
    const ReadCase& c = cases[i];
    double x = -99;
    int errPos = -99;
    StrToReal(c.text, x, errPos);
    EXPECT_EQ(errPos, c.errPos) << '"' << c.text << '"';
    EXPECT_EQ(x, c.value) << '"' << c.text << '"';
  }
}

TEST_F(NumberReading, NumbersAndWhereTheyStopBeingNumbers) {
  const ReadCase cases[] = {
      {"123", 123, 0},      {"-1.5", -1.5, 0},    {"+2", 2, 0},          {".5", 0.5, 0},
      {"-.5", -0.5, 0},     {"+.25", 0.25, 0},    {"5.", 5, 0},          {".", 0, 0},
      {"1e3", 1000, 0},     {"1E+3", 1000, 0},    {"2.5E-2", 0.025, 0},  {"007", 7, 0},
      {"1e-400", 0, 0},     {"", 0, 1},           {"+", 0, 2},           {"-A1", 0, 2},
      {"12a", 0, 3},        {"1e", 0, 3},         {"1e+", 0, 4},         {"1.2.3", 0, 4},
      {"-.5x", 0, 4},       {"1 ", 0, 2},         {" 1", 0, 1},          {"(1)", 0, 1},
      {"1/2/1995", 0, 2},   {"0x10", 0, 2},       {"inf", 0, 1},         {"nan", 0, 1},
      {"1e400", 0, 1},      {"-1e999999999", 0, 1}, {"$10", 0, 1},       {"1,5", 0, 2},
  };
  ExpectReads(cases, std::size(cases));
}

TEST_F(NumberReading, CommaAsDecimalSeparator) {
  FormatSettings().Period = ',';
  const ReadCase cases[] = {
      {",5", 0.5, 0}, {"-,5", -0.5, 0}, {"1,25", 1.25, 0}, {"1.25", 1.25, 0}, {"1,2,3", 0, 4}, {"2,5E1", 25, 0},
  };
  ExpectReads(cases, std::size(cases));
}

TEST_F(NumberReading, TextsBeyondTheLimitAreRefusedNotCut) {
  std::string digits(kMaxNumberText, '1');
  double x = 0;
  int errPos = -1;
  StrToReal(digits, x, errPos);
  EXPECT_EQ(errPos, 0);
  EXPECT_GT(x, 1e239);
  StrToReal(digits + "1", x, errPos);
  EXPECT_EQ(errPos, kMaxNumberText + 1);
  EXPECT_EQ(x, 0);
}

TEST_F(GeneralText, Table) {
  struct Case {
    double x;
    const char* text;
  } cases[] = {
      {0, "0"},
      {-0.0, "0"},
      {1, "1"},
      {-1, "-1"},
      {0.5, "0.5"},
      {1234.5678, "1234.5678"},
      {123456.789, "123456.789"},
      {1e6, "1000000"},
      {999999.5, "999999.5"},
      {1e-6, "0.000001"},
      {-2.5e-6, "-0.0000025"},
      {1e7, "1E+07"},
      {1000000.5, "1.0000005E+06"},
      {1.5e7, "1.5E+07"},
      {-2.5e-7, "-2.5E-07"},
      {1e100, "1E+100"},
      {1.7976931348623157e308, "1.7976931348623157E+308"},
      {5e-324, "5E-324"},
      {0.1 + 0.2, "0.30000000000000004"},
      {1.0 / 3, "0.3333333333333333"},
      {INFINITY, "ERR"},
      {NAN, "ERR"},
  };
  for (const Case& c : cases) EXPECT_EQ(RealToGeneralText(c.x), c.text) << c.x;

  FormatSettings().Period = ',';
  EXPECT_EQ(RealToGeneralText(1234.5), "1234,5");
  EXPECT_EQ(RealToGeneralText(-1.5e7), "-1,5E+07");
}

// The edit text of a number cell and of a formula constant must read back as
// the very same number, or editing a cell would change it.
TEST_F(GeneralText, ReadsBackAsTheSameNumber) {
  std::mt19937_64 random(20240229);
  auto check = [](double x) {
    std::string text = RealToGeneralText(x);
    double back = -1;
    int errPos = -1;
    StrToReal(text, back, errPos);
    ASSERT_EQ(errPos, 0) << text;
    ASSERT_EQ(back, x) << text;
  };
  for (int i = 0; i < 20000; ++i) {
    uint64_t bits = random();
    double x;
    std::memcpy(&x, &bits, sizeof x);
    if (!std::isfinite(x)) continue;
    check(x);
    check(static_cast<double>(static_cast<int64_t>(bits) % 100000000) / 1000);  // typed-looking values
  }
  FormatSettings().Period = ',';
  for (double x : {0.1, 1234.5678, 2.5e-9, 1e21, 123456.000001}) check(x);
}

// A number typed with up to 15 significant digits shows as it was typed.
TEST_F(GeneralText, TypedNumbersShowAsTyped) {
  std::mt19937_64 random(20261209);
  for (int i = 0; i < 20000; ++i) {
    int64_t digits = static_cast<int64_t>(random() % 1000000000000000);
    int exponent = static_cast<int>(random() % 40) - 20;
    std::string typed = std::to_string(digits) + "E" + std::to_string(exponent);
    double x = 0;
    int errPos = -1;
    StrToReal(typed, x, errPos);
    ASSERT_EQ(errPos, 0) << typed;
    std::string shown = RealToGeneralDisplayText(x);
    double back = -1;
    StrToReal(shown, back, errPos);
    ASSERT_EQ(errPos, 0) << shown;
    ASSERT_EQ(back, x) << typed << " shows as " << shown;
  }
}

TEST_F(GeneralText, CutToTheColumnWidthAtTheDecimals) {
  struct Case {
    int width;
    double x;
    const char* text;
    int separatorPos;
  } cases[] = {
      {5, 3.14159, "3.141", 2},         // decimals dropped, not rounded
      {6, 2.0 / 3, "0.6666", 2},
      {5, 123, "123", 4},                // fits: nothing looked for
      {5, 1234567, "1.234567E+06", 4},   // exponent texts are never cut
      {5, 123456.5, "123456.5", 7},      // separator beyond the width
      {5, 1234.5, "1234.5", 5},
      {3, 12345, "12345", 0},            // no separator at all
      {0, 12.5, "12.5", 3},
      // The sheet shows 15 significant digits: the last bits of a computed
      // value are not shown, then the decimals are cut to the width.
      {9, 0.1 + 0.2, "0.3", 4},
      {9, 1 - 0.9, "0.1", 4},
      {9, 100 * 1.1, "110", 4},
      {9, 1.9999999999999996, "2", 4},
      {9, 2.0 / 3, "0.6666666", 2},
      {20, 2.0 / 3, "0.666666666666667", 4},
      {20, 3.141592653589793, "3.14159265358979", 4},
      {20, 1.2345678901234567e20, "1.23456789012346E+20", 4},
      {20, 9.9999999999999999e-7, "0.000001", 4},
  };
  for (const Case& c : cases) {
    std::string text;
    EXPECT_EQ(GeneralTextInWidth(c.width, text, c.x), c.separatorPos) << c.x;
    EXPECT_EQ(text, c.text) << c.x;
  }
}

// Shortened to a column: rounded decimals, the whole number, then fewer
// mantissa digits; nothing when even that does not fit.
TEST_F(GeneralText, ShortenedToTheColumnWidth) {
  struct Case {
    int width;
    double x;
    const char* text;  // nullptr: cannot fit
  } cases[] = {
      {11, 1234567.89, "1234567.89"},
      {9, 1234567.89, "1234567.9"},
      {7, 1234567.89, "1234568"},
      {6, -1234567.0, "-1E+06"},
      {5, 1234567.0, "1E+06"},
      {7, 999999.99, "1000000"},
      {7, 1.2345678901234567e20, "1.2E+20"},
      {5, 1.2345678901234567e20, "1E+20"},
      {4, 1e20, nullptr},
      {5, 2.0 / 3, "0.667"},
      {4, 0.99999, "1"},
      {2, 1.5, "2"},
      {8, 0.00000123456, "1.23E-06"},  // more digits than 0.000001
      {9, 0.0123456789, "0.0123457"},
      {3, 0.0004, nullptr},             // 0.0 would hide the number
      {9, 0.1 + 0.2, "0.3"},
      {7, 1e-300, "1E-300"},
      // Rounded once from the number, not again from its display text 999.5.
      {3, 999.4999999999999, "999"},
      {6, 0.12344999999999999, "0.1234"},
      {6, -2.4999999999999997e20, "-2E+20"},
  };
  for (const Case& c : cases) {
    std::string text = "unchanged";
    EXPECT_EQ(ShortenGeneralText(c.width, c.x, text), c.text != nullptr) << c.x << " in " << c.width;
    EXPECT_EQ(text, c.text != nullptr ? c.text : "unchanged") << c.x << " in " << c.width;
  }
}

}  // namespace
}  // namespace corvane
