// Display texts by format byte and the status-line format codes.
#include "spreadsheet/engine/NumberFormat.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "spreadsheet/engine/DateTime.h"
#include "tests/spreadsheet/engine/FormatSettingsFixture.h"

namespace corvane {
namespace {

using NumberFormats = DefaultFormatSettings;
using FormatSettingsInUse = DefaultFormatSettings;
using FormatCodes = DefaultFormatSettings;

struct ValueCase {
  int format;
  double x;
  const char* text;
};

void ExpectTexts(const ValueCase* cases, size_t count, int width = 9) {
  for (size_t i = 0; i < count; ++i) {
    const ValueCase& c = cases[i];
    EXPECT_EQ(FormatValue(width, static_cast<uint8_t>(c.format), c.x), c.text)
        << "format $" << std::hex << c.format << std::dec << ", x " << c.x;
  }
}

TEST_F(NumberFormats, FixedScientificAndGeneral) {
  const ValueCase cases[] = {
      {0x02, 1234.5, "1234.50 "},
      {0x00, 2.5, "3 "},            // halves away from zero
      {0x00, -2.5, "-3 "},
      {0x02, 2.675, "2.68 "},       // rounded as typed, not by its binary value
      {0x02, -1.005, "-1.01 "},
      {0x02, 0.125, "0.13 "},
      {0x02, 999.995, "1000.00 "},
      {0x01, -0.04, "-0.0 "},
      {0x0F, 0.1, "0.100000000000000 "},
      {0x02, 1e20, "100000000000000000000.00 "},
      {0x82, 1234.5, "1234.50 "},   // the protection bit does not count
      {0x12, 12345, "1.23E+004 "},
      {0x10, 12345, "1E+004 "},
      {0x12, -0.000123456, "-1.23E-004 "},
      {0x12, 0, "0.00E+000 "},
      {0x11, 9.96, "1.0E+001 "},    // rounding carries into the exponent
      {0x12, 1e300, "1.00E+300 "},
      {0x71, 1234.5, "1234.5 "},
      {0x60, 2, "2 "},
      {0x75, 2, "2 "},
      {0x7D, 0.5, "0.5 "},
      {0x7E, 1e7, "1E+07 "},
      {0x7F, 1234.5, "1234.5 "},    // the default format: general
      {0x02, INFINITY, "ERR"},
      {0x71, NAN, "ERR"},
  };
  ExpectTexts(cases, std::size(cases));
  EXPECT_EQ(FormatValue(5, 0x71, 3.14159), "3.141 ");
}

TEST_F(NumberFormats, CommaCurrencyAndPercent) {
  const ValueCase cases[] = {
      {0x42, 1234.5, "1,234.50 "},
      {0x42, -1234.5, "(1,234.50)"},
      {0x40, 1234567.89, "1,234,568 "},
      {0x42, 999.5, "999.50 "},
      {0x40, 999.5, "1,000 "},      // grouped after rounding
      {0x40, -999.5, "(1,000)"},
      {0x42, 123, "123.00 "},
      {0x4A, 1.5, "1.5000000000 "},
      {0x22, 1234.5, "$1,234.50  "},  // the second currency text is a space
      {0x22, -1234.5, "($1,234.50) "},
      {0x20, 0.4, "$0  "},
      {0x31, 0.125, "12.5%"},
      {0x30, 0.005, "1%"},
      {0x32, -0.5, "-50.00%"},
      {0x32, 0.00125, "0.13%"},
      {0x3A, 0.5, "50.00%"},        // bit 3 is no decimal of percent
      {0x3F, 1, "100.0000000%"},
  };
  ExpectTexts(cases, std::size(cases));
  EXPECT_EQ(FormatThousands(15, -1e300).size(), static_cast<size_t>(kMaxShortText));
  EXPECT_EQ(FormatValue(9, 0x4F, 1e300).size(), static_cast<size_t>(kMaxShortText));
}

TEST_F(NumberFormats, EngineeringUnits) {
  const ValueCase cases[] = {
      {0x52, 1500, "1.50k "},
      {0x52, 316, "316.00  "},
      {0x52, 317, "0.32k "},        // the group follows the nearest power of ten
      {0x52, 0.001, "1.00m "},
      {0x52, 0.0002, "200.00u "},
      {0x52, 4.7e-12, "4.70p "},
      {0x52, 0, "0.00  "},
      {0x52, -2.2e9, "-2.20G "},
      {0x50, 3.3e12, "3T "},
      {0x52, 1e15, "1.0000000000E+015 "},
      {0x52, 5e14, "5.0000000000E+014 "},
      {0x52, 1e-19, "1.0000000000E-019 "},
      {0x52, 2e-18, "2.00a "},
  };
  ExpectTexts(cases, std::size(cases));
  EXPECT_EQ(FormatNumber(2, 1.5), " 1.50 ");
  EXPECT_EQ(FormatNumber(0, 2000), "    2k");
  // Fifteen decimals do not fit in 15 characters: the decimals give way, the
  // unit letter stays.
  EXPECT_EQ(FormatNumber(15, 999), "0.999000000000k");
  EXPECT_EQ(FormatNumber(15, -0.005), "-5.00000000000m");
}

TEST_F(NumberFormats, Fractions) {
  const ValueCase cases[] = {
      {0x29, 1.5, "1-1/2 "},
      {0x2B, 0.25, "1/4 "},
      {0x2B, 2.999, "3 "},          // rounds up to a whole
      {0x2B, -1.5, "-1-1/2 "},
      {0x2F, 0.3, "19/64 "},
      {0x28, 2.5, "3 "},            // style 0: whole numbers
      {0x28, 2.4, "2 "},
      {0x2B, 2.01, "2 "},
      {0x2B, 0.01, "0 "},
      {0x2E, 0.75, "3/4 "},
      {0x2C, 1e20, "1E+20 "},
  };
  ExpectTexts(cases, std::size(cases));
  EXPECT_EQ(FormatFraction(1, 1.5), " 1-1/2");
  EXPECT_EQ(FormatFraction(3, 0.25), " 1/4");
}

TEST_F(NumberFormats, PlusMinusBar) {
  const ValueCase cases[] = {
      {0x70, 3, "+++ "}, {0x70, -2, "-- "}, {0x70, 0, ". "}, {0x70, 0.9, ". "}, {0x70, -3.7, "--- "},
  };
  ExpectTexts(cases, std::size(cases));
  EXPECT_EQ(FormatValue(9, 0x70, 1e9), std::string(kMaxBarLength, '+') + " ");
  EXPECT_EQ(FormatValue(9, 0x70, -1e300), std::string(kMaxBarLength, '-') + " ");
}

TEST_F(NumberFormats, DatesTimesAndHidden) {
  const double feb1 = DateToSerial(1, 2, 1995);
  const ValueCase cases[] = {
      {0x72, feb1, "01-Feb-1995 "},
      {0x73, feb1, "01-Feb "},
      {0x74, feb1, "Feb 1995 "},
      {0x79, feb1, "02/01/1995 "},
      {0x7A, feb1, "01/02/1995 "},
      {0x79, feb1 + 0.75, "02/01/1995 "},
      {0x72, -115858, "15-Oct-1582 "},
      {0x72, 1e9, "********** "},
      {0x77, 0, "0:00:00 am "},
      {0x78, 0, "0:00 am "},        // midnight
      {0x78, 0.5, "12:00 pm "},     // noon
      {0x77, 0.75, "6:00:00 pm "},
      {0x7B, 0.75, "18:00:00 "},
      {0x7C, 0.25, "06:00 "},
      {0x77, 0.99999, "11:59:59 pm "},
      {0x77, 0.999999, "0:00:00 am "},  // rounds to the next midnight
      {0x78, -0.25, "-6:00 am "},
      {0x7B, 36526.5, "12:00:00 "},
      {0x76, 123, ""},
      {0x76, -5, ""},
  };
  ExpectTexts(cases, std::size(cases));
}

TEST_F(FormatSettingsInUse, ZeroAsBlankAndTheDefaultFormat) {
  FormatSettings().Zero = true;
  EXPECT_EQ(FormatValue(9, 0x02, 0), "");
  EXPECT_EQ(FormatValue(9, 0x72, 0), "");
  EXPECT_EQ(FormatValue(9, 0x02, 0.001), "0.00 ");
  FormatSettings().Zero = false;
  FormatSettings().GForm = 0x42;
  EXPECT_EQ(FormatValue(9, 0x7F, 1234.5), "1,234.50 ");
  EXPECT_EQ(FormatValue(9, 0xFF, 1234.5), "1,234.50 ");
  FormatSettings().GForm = 0x7F;
  EXPECT_EQ(FormatValue(9, 0x7F, 1234.5), "1234.5 ");
}

TEST_F(FormatSettingsInUse, SeparatorsCurrencyAndMonthNames) {
  TFormatSettings& s = FormatSettings();
  s.Period = ',';
  s.Comma = '.';
  s.Curr = "";
  s.Curs = "Dm";
  const ValueCase cases[] = {
      {0x42, 1234567.5, "1.234.567,50 "},
      {0x02, 1234.5, "1234,50 "},
      {0x12, 12345, "1,23E+004 "},
      {0x31, 0.125, "12,5%"},
      {0x71, 1.5, "1,5 "},
      {0x29, 1.5, "1-1/2 "},
      {0x52, 1500, "1,50k "},
      {0x22, 1234.5, "1.234,50Dm "},
      {0x22, -1234.5, "(1.234,50)Dm"},
  };
  ExpectTexts(cases, std::size(cases));
  s.MonthNames[1] = "Fev";
  s.TwoDigitYear = true;
  EXPECT_EQ(FormatValue(9, 0x72, DateToSerial(1, 2, 1995)), "01-Fev-95 ");
  EXPECT_EQ(FormatValue(9, 0x79, DateToSerial(1, 2, 1995)), "02/01/95 ");
  EXPECT_EQ(FormatValue(9, 0x79, DateToSerial(1, 2, 2005)), "02/01/2005 ");
  EXPECT_EQ(FormatValue(9, 0x74, DateToSerial(1, 2, 1899)), "Fev 1899 ");
}

TEST_F(FormatCodes, StatusLineCodes) {
  struct Case {
    int format;
    const char* code;
  } cases[] = {
      {0x02, "F2"}, {0x0F, "F15"}, {0x12, "S2"}, {0x22, "C2"}, {0x2B, "Fr3"}, {0x31, "P1"}, {0x42, "M2"},
      {0x4A, "M10"}, {0x52, "E2"}, {0x60, "G"}, {0x70, "+"}, {0x71, "G"}, {0x72, "D1"}, {0x74, "D3"},
      {0x79, "D4"}, {0x7A, "D5"}, {0x77, "T1"}, {0x78, "T2"}, {0x7B, "T3"}, {0x7C, "T4"}, {0x75, "X"},
      {0x76, "H"}, {0x7E, "L"}, {0x82, "F2"},
  };
  for (const Case& c : cases) EXPECT_EQ(FormatLetterText(static_cast<uint8_t>(c.format)), c.code) << c.format;

  FormatSettings().Pro = true;
  EXPECT_EQ(FormatLetterText(0x82), "Pr F2");
  EXPECT_EQ(FormatLetterText(0x02), "Un F2");
  EXPECT_EQ(FormatLetterText(0x8F), "Pr F15");  // the decimals are never cut off
  EXPECT_EQ(FormatLetterText(0xF2), "Pr D1");
  FormatSettings().SpecialCodes[2] = "Date";
  EXPECT_EQ(FormatLetterText(0x72), "Un Date");
}

}  // namespace
}  // namespace corvane
