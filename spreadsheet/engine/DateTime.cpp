// Date serials and their texts, times of day, today's date, and the reading of
// typed dates and times.
#include "spreadsheet/engine/DateTime.h"

#include <cmath>
#include <cstdlib>

#include "spreadsheet/engine/Clock.h"
#include "spreadsheet/engine/FormatSettings.h"

namespace corvane {

namespace {

// Julian day number of serial 0 and the first Gregorian day.
constexpr double kSerialToJulianDay = 2415019;
constexpr double kFirstGregorianSerial = -115858;
// The serial the Julian reckoning gives 15 October 1582; from it on the
// Gregorian correction applies.
constexpr double kFirstGregorianJulianReckoning = -115848;

// The date's serial for a full year (no 1900s shorthand).
double DaySerial(double day, int month, double year) {
  bool early = month == 1 || month == 2;
  double g = std::fabs(year) - (early ? 1 : 0);
  double m = month + (early ? 12 : 0);
  double serial = std::floor(365.25 * g) + std::trunc((m + 1) * 30.6001) + day - 694024;
  if (serial >= kFirstGregorianJulianReckoning) {
    double h = std::floor(g / 100);
    serial = std::floor(h / 4) + serial - h + 2;
  }
  return serial;
}

std::string TwoDigits(long long v) {
  std::string text = std::to_string(v);
  return v >= 0 && v < 10 ? "0" + text : text;
}

std::string YearText(int year, bool allowTwoDigits) {
  if (allowTwoDigits && FormatSettings().TwoDigitYear && year >= 1900 && year <= 1999)
    return TwoDigits(year - 1900);
  std::string text = std::to_string(year);
  return text.size() < 4 ? std::string(4 - text.size(), '0') + text : text;
}

std::string MonthName(int month) {
  const auto& names = FormatSettings().MonthNames;
  return month >= 1 && month <= 12 ? names[month - 1] : std::string();
}

// The first three numbers of a date or time text, which is cut at every
// character that is neither a digit nor "-". An empty piece reads as 0, and
// `present` tells which were there. False for a piece that is not an integer
// of at most nine digits, or a fourth non-empty piece.
bool ReadThreeNumbers(std::string_view text, long long numbers[3], bool negative[3], bool present[3]) {
  int index = 0;
  size_t start = 0;
  for (size_t i = 0; i <= text.size(); ++i) {
    bool separator = i == text.size() || !((text[i] >= '0' && text[i] <= '9') || text[i] == '-');
    if (!separator) continue;
    std::string_view piece = text.substr(start, i - start);
    start = i + 1;
    if (index >= 3) {
      if (!piece.empty()) return false;
      continue;
    }
    numbers[index] = 0;
    negative[index] = false;
    present[index] = !piece.empty();
    if (!piece.empty()) {
      negative[index] = piece[0] == '-';
      std::string_view digits = piece.substr(negative[index] ? 1 : 0);
      if (digits.empty() || digits.size() > 9) return false;
      for (char c : digits) {
        if (c == '-') return false;
        numbers[index] = numbers[index] * 10 + (c - '0');
      }
    }
    ++index;
  }
  for (; index < 3; ++index) numbers[index] = 0, negative[index] = false, present[index] = false;
  return true;
}

bool ContainsLetter(std::string_view text, char upper) {
  for (char c : text)
    if (c == upper || c == upper + ('a' - 'A')) return true;
  return false;
}

}  // namespace

double DateToSerial(int day, int month, int year) {
  if (year >= 0 && year <= 99) year += 1900;
  return DaySerial(day, month, year);
}

bool SerialToDate(double serial, int& year, int& month, int& day) {
  year = month = day = 0;
  if (!(serial >= kFirstDateSerial && serial < kLastDateSerial + 1)) return false;
  double j = std::trunc(serial + kSerialToJulianDay);
  if (j - kSerialToJulianDay >= kFirstGregorianSerial) {
    double a = std::floor((j - 1867216.25) / 36524.25);
    j = j + 1 + a - std::floor(a / 4);
  }
  double b = j + 1524;
  double c = std::trunc((b - 122.1) / 365.25);
  double d = std::trunc(365.25 * c);
  double e = std::trunc((b - d) / 30.6001);
  day = static_cast<int>(b - d - std::trunc(30.6001 * e));
  month = static_cast<int>(e < 14 ? e - 1 : e - 13);
  year = static_cast<int>(month > 2 ? c - 4716 : c - 4715);
  return true;
}

std::string FormatDate(int format, double serial) {
  if (format != 2 && format != 3 && format != 4 && format != 9 && format != 10 && format != 12) return "0/0/0";
  int year, month, day;
  if (!SerialToDate(serial, year, month, day)) return std::string(10, '*');
  switch (format) {
    case 2:
      return TwoDigits(day) + "-" + MonthName(month) + "-" + YearText(year, true);
    case 3:
      return TwoDigits(day) + "-" + MonthName(month);
    case 4:
      return MonthName(month) + " " + YearText(year, true);
    case 9:
      return TwoDigits(month) + "/" + TwoDigits(day) + "/" + YearText(year, true);
    case 10:
      return TwoDigits(day) + "/" + TwoDigits(month) + "/" + YearText(year, true);
    default:
      return YearText(year, false) + TwoDigits(month) + TwoDigits(day);
  }
}

std::string FormatTimeOfDay(int h, int m, int s, int mode) {
  bool twelveHour = mode == 0 || mode == 1;
  bool seconds = mode == 0 || mode == 4;
  std::string text = twelveHour ? std::to_string(h > 12 ? h - 12 : h) : TwoDigits(h);
  text += ":" + TwoDigits(m);
  if (seconds) text += ":" + TwoDigits(s);
  if (twelveHour) text += h < 12 ? " am" : " pm";
  return text;
}

void TodayYMD(int& year, int& month, int& day) {
  TClockTime now = ReadClock();
  year = now.year;
  month = now.month;
  day = now.day;
}

std::string TodayText() {
  int year, month, day;
  TodayYMD(year, month, day);
  return FormatDate(2, DaySerial(day, month, year));
}

std::string TimeText() {
  TClockTime now = ReadClock();
  return FormatTimeOfDay(now.hour, now.minute, now.second, 1);
}

std::string DateToDbfText(double serial) {
  int year, month, day;
  if (!SerialToDate(serial, year, month, day)) return std::string(8, ' ');
  return FormatDate(12, serial);
}

bool DateVal(std::string_view text, bool dayFirst, double& serial) {
  serial = 0;
  long long n[3];
  bool negative[3], present[3];
  if (!ReadThreeNumbers(text, n, negative, present)) return false;
  if (negative[0] || negative[1] || negative[2]) return false;
  long long month = dayFirst ? n[1] : n[0];
  long long day = dayFirst ? n[0] : n[1];
  long long year = n[2] <= 99 ? n[2] + 1900 : n[2];
  if (month < 1 || month > 12 || day < 1 || day > 31 || year > 9999) return false;
  double value = DaySerial(static_cast<double>(day), static_cast<int>(month), static_cast<double>(year));
  // A day that does not exist (31 April, 29 February 1900, 10 October 1582)
  // reads back as another one.
  int y, m, d;
  if (!SerialToDate(value, y, m, d) || y != year || m != month || d != day) return false;
  serial = value;
  return true;
}

bool TimeVal(std::string_view text, double& fraction) {
  fraction = 0;
  long long n[3];
  bool negative[3], present[3];
  if (!ReadThreeNumbers(text, n, negative, present)) return false;
  if (!present[0] || negative[1] || negative[2] || n[1] > 59 || n[2] > 59) return false;
  long long hours = n[0];
  if (!negative[0]) {
    if (ContainsLetter(text, 'P')) {
      if (hours < 12) hours += 12;
    } else if (ContainsLetter(text, 'A') && hours == 12) {
      hours = 0;
    }
  }
  double seconds = static_cast<double>(hours * 3600 + n[1] * 60 + n[2]);
  fraction = (negative[0] ? -seconds : seconds) / 86400;
  return true;
}

}  // namespace corvane
