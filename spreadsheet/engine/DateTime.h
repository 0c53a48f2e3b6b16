// Date serials and their texts, times of day, today's date, and the reading of
// typed dates and times.
//
// A date serial counts days from 30 December 1899 (serial 0); the fraction is
// the time of day. 1 January 1900 is serial 2: there is no 29 February 1900.
// The Gregorian calendar applies from 15 October 1582 (serial -115858); the
// days before follow the Julian calendar (4 October 1582 is serial -115859).
#pragma once

#include <string>
#include <string_view>

namespace corvane {

// Serials of the first and last day that dates are shown for: 1 January 1
// (Julian) and 31 December 9999.
inline constexpr double kFirstDateSerial = -693595;
inline constexpr double kLastDateSerial = 2958465;

// The serial of a calendar date. Years 0 to 99 mean 1900 to 1999. Days and
// months beyond their range roll over into the next ones.
double DateToSerial(int day, int month, int year);

// The calendar date of a serial's day (its fraction is ignored). False, with
// all three 0, for a serial outside kFirstDateSerial..kLastDateSerial or NaN.
bool SerialToDate(double serial, int& year, int& month, int& day);

// Date text by special format code: 2 "dd-Mon-yyyy", 3 "dd-Mon", 4 "Mon yyyy",
// 9 "mm/dd/yyyy", 10 "dd/mm/yyyy", 12 "yyyymmdd"; any other code "0/0/0".
// With the two-digit-year setting on, years 1900 to 1999 show two digits
// (code 12 always shows four). A serial outside the calendar gives asterisks.
std::string FormatDate(int format, double serial);

// Time text; mode is the special format code minus 7: 0 "h:mm:ss am",
// 1 "h:mm am" (12-hour clock, midnight is 0:00 am, noon 12:00 pm), 4
// "hh:mm:ss", 5 "hh:mm" (24-hour clock); other modes are 24-hour without
// seconds.
std::string FormatTimeOfDay(int h, int m, int s, int mode);

// Today by the clock (Clock.h).
void TodayYMD(int& year, int& month, int& day);
std::string TodayText();  // date format 2: "dd-Mon-yyyy"
std::string TimeText();   // the current time as "h:mm am"

// A date field of a dBase file: "yyyymmdd" with the full year whatever the
// two-digit-year setting; eight spaces (a blank date) outside the calendar.
std::string DateToDbfText(double serial);

// DATEVAL: the text is cut at every character that is neither a digit nor "-"
// into the month, day and year (day, month and year when dayFirst); a missing
// number is 0. False, with serial 0, unless they name a real calendar date
// (year 0-99 meaning 1900-1999, up to 9999): 13/45/1995, 29/2/1900, 10/10/1582
// and a fourth number are refused.
bool DateVal(std::string_view text, bool dayFirst, double& serial);

// TIMEVAL: the numbers as in DateVal are hours, minutes and seconds; a "P" in
// the text adds 12 to hours below 12, an "A" makes hour 12 midnight; negative
// hours give the negative of the time of their magnitude. False, with fraction
// 0, for minutes or seconds outside 0-59, a number that is not one, or a
// fourth number.
bool TimeVal(std::string_view text, double& fraction);

}  // namespace corvane
