// The date and time functions. Serials are counted by hand from 30 December
// 1899 (1 January 2000 is 36526, 1 January 1995 is 34700).
#include "spreadsheet/engine/Clock.h"
#include "spreadsheet/engine/FormatSettings.h"
#include "tests/spreadsheet/engine/FunctionTestSupport.h"

namespace corvane {
namespace {

using testing::Err;
using testing::FunctionTest;

TClockTime EveningOfTheMillennium() { return TClockTime{2000, 1, 1, 18, 0, 0, 0}; }

TEST_F(FunctionTest, DatesFromAndToSerials) {
  CheckRows({
      {"@DATE(1900,1,1)", 2},   {"@DATE(1900,3,1)", 61},   {"@DATE(2000,1,1)", 36526},
      {"@DATE(95,1,1)", 34700}, {"@DATE(1995,1,1)", 34700}, {"@DATE(2024,2,29)", 45351},
      {"@DATE(1999,12,32)", 36526},  // days beyond the month roll over
      {"@DAY(36526)", 1},       {"@MONTH(36526.75)", 1},    {"@YEAR(36526)", 2000},
      {"@DAY(45351)", 29},      {"@MONTH(45351)", 2},       {"@YEAR(34700)", 1995},
      Err("@DAY(1E+10)"),       Err("@YEAR(-1E+10)"),
  });
  FormatSettings().TwoDigitYear = true;
  CheckRows({{"@YEAR(34700)", 95}, {"@YEAR(36526)", 100}, {"@YEAR(45351)", 2024}});
  FormatSettings().TwoDigitYear = false;
}

TEST_F(FunctionTest, TimesOfDayAndTheirParts) {
  CheckRows({
      {"@TIME(12,0,0)", 0.5},
      {"@TIME(6,30,0)", 0.2708333333333333},
      {"@HOUR(0.5)", 12},
      {"@HOUR(36526.75)", 18},
      {"@MINUTE(@TIME(10,15,30))", 15},
      {"@SECOND(@TIME(10,15,30))", 30},
      // Within a quarter second before a full minute shows the full minute.
      {"@MINUTE(@TIME(10,29,59.76))", 30},
      {"@SECOND(@TIME(10,29,59.76))", 0},
      {"@MINUTE(@TIME(10,29,59.5))", 29},
      {"@SECOND(@TIME(10,29,59.5))", 59},
      // Just before a full hour the minute never reaches 60.
      {"@HOUR(@TIME(10,59,59.9))", 10},
      {"@MINUTE(@TIME(10,59,59.9))", 59},
      {"@SECOND(@TIME(10,59,59.9))", 59},
  });
}

TEST_F(FunctionTest, TodayReadsTheClock) {
  TClockSource previous = SetClockSource(EveningOfTheMillennium);
  CheckRows({{"@TODAY", 36526.75}, {"@HOUR(@TODAY)", 18}});
  SetClockSource(previous);
}

TEST_F(FunctionTest, DateAndTimeTexts) {
  CheckRows({
      {"@DATEVAL(\"12/25/1999\")", 36519},
      {"@DATEVAL(\"1.1.95\")", 34700},
      Err("@DATEVAL(\"13/45/1995\")"),
      Err("@DATEVAL(\"2/29/1900\")"),
      {"@TIMEVAL(\"6:30 pm\")", 18.5 / 24},
      {"@TIMEVAL(\"12:00\")", 0.5},
      {"@TIMEVAL(\"12:00 am\")", 0},
      Err("@TIMEVAL(\"10:61\")"),
  });
  FunctionSettings().dayFirstDates = true;
  CheckRows({{"@DATEVAL(\"25/12/1999\")", 36519}, Err("@DATEVAL(\"12/25/1999\")")});
}

}  // namespace
}  // namespace corvane
