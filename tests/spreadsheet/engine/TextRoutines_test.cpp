// Typed format codes, padding, 16-bit rounding and the word stack.
#include "spreadsheet/engine/TextRoutines.h"

#include <gtest/gtest.h>

#include <cmath>

namespace corvane {
namespace {

TEST(FormatCodeToByte, GivesTheFormatByteAndNeverAnotherTypeOrTheProtectionBit) {
  struct Row {
    const char* code;
    int expected;
  } rows[] = {
      {"F2", 0x02}, {"f2", 0x02}, {"P1", 0x31}, {"D4", 0x79}, {"D1", 0x72}, {"D3", 0x74}, {"D5", 0x7A},
      {"T", 0x75},  {"T1", 0x77}, {"T2", 0x78}, {"T3", 0x7B}, {"T4", 0x7C}, {"Q", 0x7F},  {"", 0x7F},
      {"G", 0x71},  {"+", 0x70},  {"H", 0x76},  {"L", 0x7E},  {"A0", 0x48}, {"S3", 0x13},
      // Decimals beyond a type's field stay inside that type.
      {"F16", 0x0F}, {"C8", 0x27}, {"D6", 0x7A}, {"D99", 0x7A}, {"T0", 0x77}, {"T9", 0x7C}, {"P9", 0x37},
  };
  for (const Row& row : rows) EXPECT_EQ(FormatCodeToByte(row.code), row.expected) << row.code;
}

TEST(TextRoutines, PadCutRoundAndHex) {
  EXPECT_EQ(PadText("ab", -4), "  ab");
  EXPECT_EQ(PadText("ab", 4), "ab  ");
  EXPECT_EQ(PadText("ab", 1), "a");
  EXPECT_EQ(PadText("x", -1000).size(), 240u);
  EXPECT_EQ(CharString('-', 999).size(), 240u);
  EXPECT_EQ(CharString('-', -3), "");
  EXPECT_EQ(SubStr("abcdef", 2, 3), "bcd");
  EXPECT_EQ(SubStr("abcdef", 0, 3), "");
  EXPECT_EQ(SubStr("abc", 9, 3), "");
  EXPECT_EQ(WordToHex(0xBEEF), "$BEEF");
  EXPECT_EQ(UpperNoSpaces(" a b c "), "ABC");
  EXPECT_EQ(RealToWord(2.5), 2);
  EXPECT_EQ(RealToWord(3.5), 4);
  EXPECT_EQ(RealToWord(-2.5), -2);
  EXPECT_EQ(RealToWord(40000), static_cast<std::int16_t>(40000));
  EXPECT_EQ(RealToWord(1e12), 1);
  EXPECT_EQ(RealToWord(std::nan("")), 1);
}

TEST(TextRoutines, WordStackRefusesBeyondItsDepth) {
  WordStackClear();
  for (int k = 0; k < kWordStackDepth; ++k) ASSERT_TRUE(WordStackPush(static_cast<std::int16_t>(k)));
  EXPECT_FALSE(WordStackPush(1));
  std::int16_t v = 0;
  ASSERT_TRUE(WordStackPop(v));
  EXPECT_EQ(v, kWordStackDepth - 1);
  WordStackClear();
  EXPECT_FALSE(WordStackPop(v));
  EXPECT_EQ(v, 0);
}

}  // namespace
}  // namespace corvane
