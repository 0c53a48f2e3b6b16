// The date and time functions: date serials from year, month and day and
// back, today's date and time from the clock, times of day from hours,
// minutes and seconds and back, and the reading of date and time texts.
//
// A date serial counts days from 30 December 1899; its fraction is the time
// of day (DateTime.h).
#include <algorithm>
#include <cmath>
#include <string>

#include "spreadsheet/engine/Clock.h"
#include "spreadsheet/engine/DateTime.h"
#include "spreadsheet/engine/FormatSettings.h"
#include "spreadsheet/engine/FormulaTables.h"
#include "spreadsheet/engine/FunctionArguments.h"
#include "spreadsheet/engine/FunctionFamilies.h"
#include "spreadsheet/engine/FunctionSettings.h"
#include "spreadsheet/engine/TextCase.h"

namespace corvane {

namespace {

// Just under a quarter second, in hours: MINUTE and SECOND round a time this
// close below a full minute up to it.
constexpr double kQuarterSecondHours = 0.0000694;
constexpr int kMaxPart = 59;

// The calendar date of the argument's serial; false (ERR) outside the calendar.
bool ArgDate(int& year, int& month, int& day) {
  if (SerialToDate(ArgNumber(1, 0), year, month, day)) return true;
  SetCalcError();
  return false;
}

// The hours, minutes and seconds of a serial's time of day (its fraction;
// negative for a negative serial). Minutes and seconds take the quarter-second
// rounding; a time that rounding would carry into the next hour keeps 59
// minutes and 59 seconds, since the hours are not rounded.
struct TTimeParts {
  double hours, minutes, seconds;
};
TTimeParts TimeParts(double serial) {
  double a = (serial - std::trunc(serial)) * 24;
  TTimeParts t;
  t.hours = std::trunc(a);
  double m = (a - t.hours + kQuarterSecondHours) * 60;
  t.minutes = std::min<double>(std::trunc(m), kMaxPart);
  t.seconds = std::min<double>(std::trunc((m - t.minutes) * 60), kMaxPart);
  return t;
}

// DATE(year, month, day): the serial; years 0 to 99 mean 1900 to 1999, and
// months and days beyond their range roll over.
void FnDate() { FinishNumber(3, DateToSerial(ArgInt(3, 2), ArgInt(3, 1), ArgInt(3, 0))); }
// TODAY: today's serial plus the fraction of the day gone.
void FnToday() {
  TClockTime now = ReadClock();
  double fraction = now.hour / 24.0 + now.minute / 1440.0 + now.second / 86400.0 + now.millisecond / 86400000.0;
  FinishNumber(0, DateToSerial(now.day, now.month, now.year) + fraction);
}
// DAY, MONTH, YEAR of a serial; ERR outside 1 January 1 .. 31 December 9999.
// YEAR gives 0 to 100 for 1900 to 2000 while two-digit years are shown.
void FnDay() {
  int year, month, day;
  if (ArgDate(year, month, day)) FinishNumber(1, day);
}
void FnMonth() {
  int year, month, day;
  if (ArgDate(year, month, day)) FinishNumber(1, month);
}
void FnYear() {
  int year, month, day;
  if (!ArgDate(year, month, day)) return;
  bool twoDigits = FormatSettings().TwoDigitYear && year >= 1900 && year <= 2000;
  FinishNumber(1, twoDigits ? year - 1900 : year);
}
// TIME(hours, minutes, seconds): the fraction of a day.
void FnTime() { FinishNumber(3, ArgNumber(3, 0) / 24 + ArgNumber(3, 1) / 1440 + ArgNumber(3, 2) / 86400); }
// HOUR, MINUTE, SECOND of a serial's time of day.
void FnHour() { FinishNumber(1, TimeParts(ArgNumber(1, 0)).hours); }
void FnMinute() { FinishNumber(1, TimeParts(ArgNumber(1, 0)).minutes); }
void FnSecond() { FinishNumber(1, TimeParts(ArgNumber(1, 0)).seconds); }
// DATEVAL(text): the serial of a date text in the program's date order; a text
// that names no calendar date is ERR.
void FnDateVal() {
  double serial = 0;
  if (!DateVal(UpperCaseText(ArgText(1, 0)), FunctionSettings().dayFirstDates, serial)) SetCalcError();
  FinishNumber(1, serial);
}
// TIMEVAL(text): the day fraction of a time text ("P" for afternoon hours); a
// text that names no time is ERR.
void FnTimeVal() {
  double fraction = 0;
  if (!TimeVal(UpperCaseText(ArgText(1, 0)), fraction)) SetCalcError();
  FinishNumber(1, fraction);
}

constexpr THandlerEntry kDateTimeHandlers[] = {
    {kTokDate, FnDate},       {kTokToday, FnToday},     {kTokDay, FnDay},         {kTokMonth, FnMonth},
    {kTokYear, FnYear},       {kTokTime, FnTime},       {kTokHour, FnHour},       {kTokMinute, FnMinute},
    {kTokSecond, FnSecond},   {kTokDateVal, FnDateVal}, {kTokTimeVal, FnTimeVal},
};

}  // namespace

void RegisterDateTimeHandlers() { RegisterTokenHandlers(kDateTimeHandlers); }

}  // namespace corvane
