// Smart comparison, sort state, column layout texts, styles and geometry.
#include "analyser/components/ListViewRules.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>

namespace foldwick {

namespace {

// Whole numbers separated by `separator`; nothing unless every part is one.
std::optional<std::vector<int>> ReadParts(const std::string& text, char separator, size_t maxParts) {
  std::vector<int> parts;
  size_t start = 0;
  for (;;) {
    const size_t end = std::min(text.find(separator, start), text.size());
    const std::string part = text.substr(start, end - start);
    if (part.empty() || part.size() > 6 ||
        !std::all_of(part.begin(), part.end(), [](char c) { return std::isdigit(static_cast<unsigned char>(c)); }))
      return std::nullopt;
    parts.push_back(std::atoi(part.c_str()));
    if (parts.size() > maxParts) return std::nullopt;
    if (end == text.size()) break;
    start = end + 1;
  }
  return parts;
}

// Days from 30 December 1899 to a Gregorian date; nothing for a date that
// does not exist.
std::optional<double> SerialDate(int year, int month, int day) {
  if (year < 100) year += year < 50 ? 2000 : 1900;
  if (month < 1 || month > 12 || day < 1 || year > 9999) return std::nullopt;
  static const int lengths[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  if (day > lengths[month - 1] + (month == 2 && leap ? 1 : 0)) return std::nullopt;
  // Days from 1 March of year 0, then shifted to the 1899 origin.
  const int y = month <= 2 ? year - 1 : year;
  const int m = month <= 2 ? month + 9 : month - 3;
  const long era = y / 400;
  const long yoe = y - era * 400;
  const long doy = (153 * m + 2) / 5 + day - 1;
  const long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  const long days = era * 146097 + doe - 693899;  // 693899: 1899-12-30 counted the same way
  return static_cast<double>(days);
}

std::optional<double> ReadDate(const std::string& text, const TSmartLocale& locale) {
  std::optional<std::vector<int>> parts = ReadParts(text, locale.dateSeparator, 3);
  if (!parts || parts->size() < 2) return std::nullopt;
  const std::vector<int>& p = *parts;
  int day, month, year;
  // Two parts are a day and month without a year: they are read in one
  // fixed year, so they still order among themselves.
  const int y = p.size() == 3 ? 0 : 2000;
  switch (locale.dateOrder) {
    case TDateOrder::MDY: month = p[0], day = p[1], year = p.size() == 3 ? p[2] : y; break;
    case TDateOrder::DMY: day = p[0], month = p[1], year = p.size() == 3 ? p[2] : y; break;
    default:
      if (p.size() == 3) year = p[0], month = p[1], day = p[2];
      else year = y, month = p[0], day = p[1];
      break;
  }
  return SerialDate(year, month, day);
}

std::optional<double> ReadTime(const std::string& text, const TSmartLocale& locale) {
  std::string t = text;
  double offset = 0;
  // A 12-hour time may end in AM or PM.
  if (t.size() > 2) {
    std::string tail = t.substr(t.size() - 2);
    for (char& c : tail) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (tail == "AM" || tail == "PM") {
      offset = tail == "PM" ? 0.5 : 0;
      t.resize(t.size() - 2);
      while (!t.empty() && t.back() == ' ') t.pop_back();
    }
  }
  std::optional<std::vector<int>> parts = ReadParts(t, locale.timeSeparator, 3);
  if (!parts || parts->size() < 2) return std::nullopt;
  const std::vector<int>& p = *parts;
  int hour = p[0];
  const int minute = p[1], second = p.size() == 3 ? p[2] : 0;
  if (offset > 0 || t.size() != text.size()) {
    if (hour < 1 || hour > 12) return std::nullopt;
    hour %= 12;
  }
  if (hour > 23 || minute > 59 || second > 59) return std::nullopt;
  return offset + (hour * 3600 + minute * 60 + second) / 86400.0;
}

int Sign(double v) { return v < 0 ? -1 : v > 0 ? 1 : 0; }

}  // namespace

std::optional<double> ReadDateTime(const std::string& text, const TSmartLocale& locale) {
  const bool hasDate = text.find(locale.dateSeparator) != std::string::npos;
  const bool hasTime = text.find(locale.timeSeparator) != std::string::npos;
  if (hasDate && hasTime) {
    const size_t blank = text.find(' ');
    if (blank == std::string::npos) return std::nullopt;
    std::optional<double> date = ReadDate(text.substr(0, blank), locale);
    std::optional<double> time = ReadTime(text.substr(text.find_first_not_of(' ', blank)), locale);
    if (!date || !time) return std::nullopt;
    return *date + *time;
  }
  if (hasDate) return ReadDate(text, locale);
  if (hasTime) return ReadTime(text, locale);
  return std::nullopt;
}

std::optional<double> ReadNumber(const std::string& text, const TSmartLocale& locale) {
  std::string t = text;
  size_t i = 0;
  if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
  size_t digits = 0;
  while (i < t.size() && std::isdigit(static_cast<unsigned char>(t[i]))) ++i, ++digits;
  if (i < t.size() && t[i] == locale.decimalSeparator) {
    t[i++] = '.';
    while (i < t.size() && std::isdigit(static_cast<unsigned char>(t[i]))) ++i, ++digits;
  }
  if (digits == 0) return std::nullopt;
  if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
    size_t j = i + 1;
    if (j < t.size() && (t[j] == '+' || t[j] == '-')) ++j;
    if (j >= t.size() || !std::isdigit(static_cast<unsigned char>(t[j]))) return std::nullopt;
    while (j < t.size() && std::isdigit(static_cast<unsigned char>(t[j]))) ++j;
    i = j;
  }
  if (i != t.size()) return std::nullopt;
  const double value = std::strtod(t.c_str(), nullptr);
  if (!std::isfinite(value)) return std::nullopt;
  return value;
}

int SmartCompare(const std::string& a, const std::string& b, TAutoSortStyle style, const TSmartLocale& locale) {
  if (style == TAutoSortStyle::assSmart) {
    const std::optional<double> da = ReadDateTime(a, locale), db = ReadDateTime(b, locale);
    if (da && db) return Sign(*da - *db);
    const std::optional<double> na = ReadNumber(a, locale), nb = ReadNumber(b, locale);
    if (na && nb) return Sign(*na - *nb);
  }
  const int result = locale.compareText ? locale.compareText(a, b) : a.compare(b);
  return result < 0 ? -1 : result > 0 ? 1 : 0;
}

void TListSortState::PrepareClick(int column) {
  if (autoColumnSort != TAutoColumnSort::acsSortToggle) return;
  ascending = column == lastColumnClicked ? !ascending : autoSortAscending;
}

bool TListSortState::FinishClick(int column, int columnCount) {
  const bool sorts = autoColumnSort != TAutoColumnSort::acsNoSort && column >= 0 && column < columnCount;
  lastColumnClicked = column;
  return sorts;
}

bool TListSortState::Resort(int columnCount) {
  sortPending = true;
  return autoColumnSort != TAutoColumnSort::acsNoSort && lastColumnClicked >= 0 && lastColumnClicked < columnCount &&
         updateDepth <= 0;
}

bool TListSortState::EndUpdate(int columnCount) {
  updateDepth = std::max(updateDepth - 1, 0);
  return updateDepth == 0 && sortPending && autoResort && Resort(columnCount);
}

std::string JoinNumbers(const std::vector<int>& numbers) {
  std::string text;
  for (size_t i = 0; i < numbers.size(); ++i) text += (i > 0 ? "," : "") + std::to_string(numbers[i]);
  return text;
}

std::vector<int> SplitNumbers(const std::string& text) {
  std::vector<int> numbers;
  if (text.empty()) return numbers;
  size_t start = 0;
  for (;;) {
    const size_t end = std::min(text.find(',', start), text.size());
    const std::string part = text.substr(start, end - start);
    char* stop = nullptr;
    const long v = std::strtol(part.c_str(), &stop, 10);
    numbers.push_back(!part.empty() && *stop == '\0' && v >= -100000 && v <= 100000 ? static_cast<int>(v) : 0);
    if (end == text.size()) break;
    start = end + 1;
  }
  return numbers;
}

std::vector<int> ValidColumnOrder(const std::vector<int>& order, int count) {
  std::vector<int> natural(static_cast<size_t>(std::max(count, 0)));
  for (int i = 0; i < count; ++i) natural[static_cast<size_t>(i)] = i;
  if (static_cast<int>(order.size()) != count) return natural;
  std::vector<int> sorted = order;
  std::sort(sorted.begin(), sorted.end());
  return sorted == natural ? order : natural;
}

int ColumnAtPosition(const std::vector<int>& order, int position) {
  return position >= 0 && position < static_cast<int>(order.size()) ? order[static_cast<size_t>(position)] : position;
}

TExtendedStyles NormalizeExtendedStyles(TExtendedStyles styles) {
  if ((styles & lvxUnderlineCold) && !(styles & lvxOneClickActivate)) styles |= lvxOneClickActivate;
  if ((styles & lvxUnderlineHot) && !(styles & (lvxOneClickActivate | lvxTwoClickActivate)))
    styles |= lvxOneClickActivate;
  return styles;
}

bool VersionAtLeast(const TFileVersion& version, const TFileVersion& required) {
  return !std::lexicographical_compare(version.begin(), version.end(), required.begin(), required.end());
}

int SortArrowSide(int textHeight) {
  if (textHeight < 7) return 0;
  return (textHeight + 1) / 2 * 2 - 6;
}

THeaderCellLayout LayoutHeaderCell(const classlib::TRect& cell, bool pressed, THeaderAlign align, bool sorted,
                                   int arrowSide, int textWidth, int textHeight) {
  THeaderCellLayout layout;
  layout.fill = pressed ? cell : cell.Inflate(-2, -2);
  classlib::TRect area = cell.Inflate(-2, -2);
  if (pressed) area = area.Offset(1, 1);
  if (align == THeaderAlign::Left) area.Left += 4;
  if (align == THeaderAlign::Right) area.Right -= 4;
  layout.text = area;
  if (!sorted || arrowSide <= 0) return layout;
  // The arrow's room.
  const int room = arrowSide + 8;
  classlib::TRect free = area;
  if (align == THeaderAlign::Right)
    free.Left += room;
  else
    free.Right -= room;
  int left = free.Left;
  if (align == THeaderAlign::Right) left = free.Right - textWidth;
  if (align == THeaderAlign::Center) left = free.Left + (free.Width() - textWidth) / 2;
  layout.text = classlib::IntersectRect({left, area.Top, left + textWidth, area.Bottom}, area);
  const int arrowLeft = align == THeaderAlign::Right ? left - 8 - arrowSide : left + textWidth + 8;
  layout.arrowAt = {arrowLeft, area.Top + (area.Height() - arrowSide) / 2};
  layout.arrow = arrowLeft >= cell.Left && arrowLeft + arrowSide <= cell.Right && textHeight >= 0;
  return layout;
}

}  // namespace foldwick
