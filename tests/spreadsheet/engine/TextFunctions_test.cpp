// The text functions, as a user entering them sees them.
#include "tests/spreadsheet/engine/FunctionTestSupport.h"

namespace corvane {
namespace {

using testing::Err;
using testing::FunctionTest;
using testing::Text;

TEST_F(FunctionTest, TextPiecesAndCodes) {
  CheckRows({
      {"@LENGTH(\"abc\")", 3},        {"@LENGTH(\"\")", 0},               {"@LENGTH(12.5)", 4},
      {"@VAL(\" 1 2.5 \")", 12.5},     {"@VAL(\"abc\")", 0},                {"@VAL(\"-3E+2\")", -300},
      Text("@STR(3.14159,2)", "3.14"), Text("@STR(2.5,0)", "3"),           Text("@STR(1234.5,-2)", "1200"),
      Text("@STR(-0.5,1)", "-0.5"),    Text("@MID(\"abc\",0,1)", "a"),     Text("@MID(\"abc\",1,1)", "a"),
      Text("@MID(\"abcdef\",3,2)", "cd"), Text("@MID(\"abc\",5,1)", ""),   Text("@MID(\"abc\",2,-1)", ""),
      Text("@MID(\"abc\",2,99)", "bc"), Text("@CHR(65)", "A"),             Err("@CHR(256)"),
      Err("@CHR(-1)"),                 {"@ORD(\"A\")", 65},                 {"@ORD(\"\")", 0},
      {"@ORD(@CHR(200))", 200},        {"@FIND(\"b\",\"abcb\",1)", 2},      {"@FIND(\"b\",\"abcb\",3)", 4},
      {"@FIND(\"z\",\"abc\",1)", 0},    {"@FIND(\"a\",\"abc\",0)", 1},       {"@FIND(\"a\",\"abc\",9)", 0},
      Text("@LEFT(\"abc\",2)", "ab"),  Text("@LEFT(\"abc\",9)", "abc"),    Text("@LEFT(\"abc\",-1)", ""),
      Text("@RIGHT(\"abc\",2)", "bc"), Text("@RIGHT(\"abc\",-1)", ""),     Text("@RIGHT(\"abc\",5)", "abc"),
      Err("@REPLACE(\"abc\")"),
  });
}

TEST_F(FunctionTest, TextCaseBlanksAndComparison) {
  CheckRows({
      Text("@UPPER(\"aBc1\")", "ABC1"),             Text("@LOWER(\"aBc1\")", "abc1"),
      Text("@PROPER(\"hello wORLD\")", "Hello World"), Text("@PROPER(\"\")", ""),
      Text("@TRIM(\"  a   b  \")", "a b"),           Text("@TRIM(\"   \")", ""),
      Text("@CLEAN(\"a\"&@CHR(9)&\"b\"&@CHR(200))", "ab"),
      {"@EXACT(\"ab\",\"ab\")", 1},                  {"@EXACT(\"ab\",\"AB\")", 0},
      {"@EXACT(\"ab\",\"ab \")", 0},                 {"@EXACT(12,\"12\")", 1},
  });
}

TEST_F(FunctionTest, RepeatStopsAtTheTextLimit) {
  CheckRows({
      Text("@REPEAT(\"ab\",3)", "ababab"),
      Text("@REPEAT(\"ab\",0)", ""),
      Text("@REPEAT(\"ab\",-5)", ""),
      Text("@REPEAT(\"\",2E+9)", ""),  // an empty text with a huge count ends at once
      {"@LENGTH(@REPEAT(\"abc\",1E+9))", 240},
      Text("@REPEAT(\"x\",3)&@REPEAT(\"y\",2)", "xxxyy"),
  });
}

TEST_F(FunctionTest, DegreesMinutesSeconds) {
  CheckRows({
      Text("@DMS(12.5)", "12:30:00"),
      Text("@DMS(-1.25)", "-1:15:00"),
      Text("@DMS(12+30/60+30/3600)", "12:30:30"),
      Text("@DMS(0.0001)", "0:00:00"),
      Text("@DMS(1.99999)", "1:59:59"),
  });
}

TEST_F(FunctionTest, StringPoolOverflowIsErr) {
  // Five texts of 240 characters live at once need more than the formula's
  // 1024-byte string pool.
  CheckRows({
      Err("@EXACT(@REPEAT(\"a\",240),@EXACT(@REPEAT(\"a\",240),@EXACT(@REPEAT(\"a\",240),"
          "@EXACT(@REPEAT(\"a\",240),@REPEAT(\"a\",240)))))"),
      {"@EXACT(@REPEAT(\"a\",240),@REPEAT(\"a\",240))", 1},
  });
}

}  // namespace
}  // namespace corvane
