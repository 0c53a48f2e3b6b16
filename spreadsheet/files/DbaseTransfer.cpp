// dBase III import and export. Every length and count in a file's header is
// checked against the file before a cell changes.
#include "spreadsheet/files/DbaseTransfer.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <string_view>
#include <vector>

#include "spreadsheet/engine/CellEntry.h"
#include "spreadsheet/engine/Clock.h"
#include "spreadsheet/engine/DateTime.h"
#include "spreadsheet/engine/EngineError.h"
#include "spreadsheet/engine/PagePool.h"
#include "spreadsheet/engine/RangeArguments.h"
#include "spreadsheet/engine/RangeText.h"
#include "spreadsheet/engine/ShowError.h"
#include "spreadsheet/engine/TextCase.h"
#include "spreadsheet/engine/WindowServices.h"
#include "spreadsheet/files/FileReplace.h"
#include "spreadsheet/files/SettingsFile.h"
#include "spreadsheet/files/TextTransfer.h"

namespace corvane {
namespace {

constexpr std::size_t kHeaderBytes = 32;
constexpr std::size_t kDescriptorBytes = 32;
constexpr std::uint8_t kDescriptorEnd = 0x0D;
constexpr std::uint8_t kFileEnd = 0x1A;
constexpr std::uint8_t kDbaseIIIVersion = 3;
constexpr char kDeletedMark = '*';

TDbfFilter gFilter;
TDbfProgressFn gProgress = nullptr;

void ShowProgress(std::uint32_t record, std::uint32_t total) {
  if (gProgress) gProgress(record, total);
}

void SetAndShowError(std::string_view message) {
  SetErrorFlag(message);
  ShowError(message);
}

std::uint16_t ReadU16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }
std::uint32_t ReadU32(const std::uint8_t* p) {
  return p[0] | static_cast<std::uint32_t>(p[1]) << 8 | static_cast<std::uint32_t>(p[2]) << 16 |
         static_cast<std::uint32_t>(p[3]) << 24;
}
void PutU16(std::string& out, std::uint32_t v) {
  out += static_cast<char>(v & 0xFF);
  out += static_cast<char>(v >> 8 & 0xFF);
}
void PutU32(std::string& out, std::uint32_t v) {
  PutU16(out, v & 0xFFFF);
  PutU16(out, v >> 16);
}

struct TDbfField {
  std::string name;
  char type = 'C';
  int length = 0;
  int decimals = 0;
  int offset = 0;  // from the record's start, after its deletion mark
};

// A file's header, checked against the file: the descriptors fit the header,
// the fields fit a record and every record counted lies inside the file.
struct TDbfLayout {
  std::uint32_t recordCount = 0;
  std::uint32_t headerLength = 0;
  std::uint32_t recordLength = 0;
  std::vector<TDbfField> fields;
};

// RAII for a C file.
struct TFileCloser {
  std::FILE* file;
  ~TFileCloser() {
    if (file) std::fclose(file);
  }
};

bool ReadExactly(std::FILE* file, void* buffer, std::size_t bytes) {
  return std::fread(buffer, 1, bytes, file) == bytes;
}

// The header of an open file; false when it cannot be read or does not fit the
// file. dBase III files are below 2 GB, so the file's size fits a long.
bool ReadLayout(std::FILE* file, TDbfLayout& layout) {
  if (std::fseek(file, 0, SEEK_END) != 0) return false;
  long fileSize = std::ftell(file);
  if (fileSize < static_cast<long>(kHeaderBytes) || std::fseek(file, 0, SEEK_SET) != 0) return false;
  std::vector<std::uint8_t> header(kHeaderBytes);
  if (!ReadExactly(file, header.data(), kHeaderBytes)) return false;
  layout.recordCount = ReadU32(&header[4]);
  layout.headerLength = ReadU16(&header[8]);
  layout.recordLength = ReadU16(&header[10]);
  if (layout.headerLength < kHeaderBytes || layout.headerLength > static_cast<unsigned long>(fileSize)) return false;
  header.resize(layout.headerLength);
  if (!ReadExactly(file, header.data() + kHeaderBytes, layout.headerLength - kHeaderBytes)) return false;

  // Descriptors run to the $0D mark or to the header's end, whichever comes
  // first, so headers with extra bytes after the mark gain no phantom fields.
  int offset = 1;
  for (std::size_t pos = kHeaderBytes; pos + kDescriptorBytes <= header.size() && header[pos] != kDescriptorEnd;
       pos += kDescriptorBytes) {
    const std::uint8_t* d = &header[pos];
    TDbfField field;
    std::size_t nameLength = 0;
    while (nameLength < 11 && d[nameLength] != 0) ++nameLength;
    field.name.assign(reinterpret_cast<const char*>(d), nameLength);
    field.type = static_cast<char>(UpperChar(static_cast<char>(d[11])));
    field.length = d[16];
    field.decimals = d[17];
    field.offset = offset;
    offset += field.length;
    layout.fields.push_back(field);
  }
  if (layout.recordLength < static_cast<std::uint32_t>(offset)) return false;
  std::uint64_t end = layout.headerLength + std::uint64_t{layout.recordCount} * layout.recordLength;
  return end <= static_cast<std::uint64_t>(fileSize);
}

// Opens and reads a file's header; false when either fails.
bool LoadLayout(const std::string& fileName, TFileCloser& file, TDbfLayout& layout) {
  file.file = std::fopen(fileName.c_str(), "rb");
  return file.file != nullptr && ReadLayout(file.file, layout);
}

std::uint8_t FieldFormat(const TDbfField& field) {
  switch (field.type) {
    case 'C':
    case 'L':
    case 'M':
      return kDbfTextFormat;
    case 'D':
      return ProgramSettings().UsDate ? kDbfDateFormatMonthFirst : kDbfDateFormatDayFirst;
    case 'N':
      return static_cast<std::uint8_t>(std::min(field.decimals, 15));  // fixed with the field's decimals
    default:
      return kDbfOtherFormat;
  }
}

std::string_view TrimRight(std::string_view text) {
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

// A number in dBase's own form: spaces anywhere, "." the decimal point, a lone
// "." zero. Only digits, a sign and the point count, so words such as "nan"
// or "inf" stay text instead of becoming values that are no numbers.
bool ReadDbfNumber(std::string_view text, double& x) {
  std::string compact;
  for (char c : text)
    if (c != ' ') compact += c;
  if (compact == ".") compact = "0";
  if (!compact.empty() && compact[0] == '+') compact.erase(0, 1);
  if (compact.empty() || compact.find_first_not_of("0123456789.-") != std::string::npos) return false;
  const char* end = compact.data() + compact.size();
  auto [ptr, ec] = std::from_chars(compact.data(), end, x, std::chars_format::fixed);
  return ec == std::errc() && ptr == end;
}

// A date field's yyyymmdd as a serial; false unless it names a real date.
bool ReadDbfDate(std::string_view text, double& serial) {
  if (text.size() != 8 || !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
    return false;
  auto number = [&](std::size_t at, std::size_t n) {
    int v = 0;
    for (std::size_t i = at; i < at + n; ++i) v = v * 10 + (text[i] - '0');
    return v;
  };
  int year = number(0, 4), month = number(4, 2), day = number(6, 2);
  if (year < 100 || month < 1 || month > 12 || day < 1 || day > 31) return false;
  serial = DateToSerial(day, month, year);
  int y = 0, m = 0, d = 0;
  return SerialToDate(serial, y, m, d) && y == year && m == month && d == day;
}

bool IsNumberType(char type) { return type == 'N' || type == 'D'; }

bool FieldNumber(const TDbfField& field, std::string_view text, double& x) {
  return field.type == 'D' ? ReadDbfDate(TrimRight(text), x) : ReadDbfNumber(text, x);
}

bool PassesFilter(const TDbfLayout& layout, const char* record) {
  if (gFilter.field < 1 || gFilter.field > static_cast<int>(layout.fields.size())) return true;
  const TDbfField& field = layout.fields[gFilter.field - 1];
  std::string_view text(record + field.offset, field.length);
  if (!IsNumberType(field.type)) {
    std::string have = UpperCaseText(TrimRight(text));
    std::string want = UpperCaseText(gFilter.value);
    switch (gFilter.op) {
      case kDbfFilterEqual:
        return have == want;
      case kDbfFilterNotEqual:
        return have != want;
      case kDbfFilterContainedA:
      case kDbfFilterContainedB:
        return have.find(want) != std::string::npos;
      default:
        return false;
    }
  }
  double have = 0, want = 0;
  if (!FieldNumber(field, text, have) || !ReadDbfNumber(gFilter.value, want)) return false;
  switch (gFilter.op) {
    case kDbfFilterEqual:
      return have == want;
    case kDbfFilterGreater:
      return have > want;
    case kDbfFilterGreaterOrEqual:
      return have >= want;
    case kDbfFilterNotEqual:
      return have != want;
    case kDbfFilterNotGreater:
      return have <= want;
    case kDbfFilterLess:
      return have < want;
    default:
      return false;
  }
}

// Gives the cell at (row, col) the field's format, keeping its protection bit
// unless `protect` sets it.
void ApplyFieldFormat(int row, int col, std::uint8_t format, bool protect) {
  TCell* cell = CellPtr(CellFind(row, col));
  if (cell == nullptr) return;
  std::uint8_t protection = protect ? 0x80 : (cell->format & 0x80);
  cell->format = static_cast<std::uint8_t>(protection | format);
}

// Stores a number as a command does; false, with the reason shown, when the
// cell refuses it.
bool StoreNumber(int row, int col, double x) {
  if (SetCellNumber(row, col, x)) return true;
  if (!ErrorFlagSet()) {
    if (ProtectionOn())
      SetErrorFlag(kProtectedCellText);
    else
      SetOutOfMemoryError();
  }
  ShowError(ErrorMessage());
  return false;
}

bool StoreLabel(int row, int col, std::string_view text) {
  return EnterCell("'" + std::string(text.substr(0, kDbfFieldTextChars)), row, col);
}

// Enters one field of a record; true when it was empty or stored.
bool EnterField(const TDbfField& field, std::string_view raw, int row, int col) {
  std::string_view text = TrimRight(raw);
  if (text.empty()) return true;
  double x = 0;
  bool stored =
      IsNumberType(field.type) && FieldNumber(field, raw, x) ? StoreNumber(row, col, x) : StoreLabel(row, col, text);
  if (stored) ApplyFieldFormat(row, col, FieldFormat(field), false);
  return stored;
}

// The field names along the row, each column as wide as its field (a column
// entry counts characters; 254 is the widest a worksheet file keeps).
bool EnterFieldNames(const TDbfLayout& layout, int row, int col) {
  TSheetViewState view;
  bool haveView = WindowServices().GetSheetView(view);
  bool entered = true;
  for (std::size_t i = 0; i < layout.fields.size() && entered; ++i) {
    const TDbfField& field = layout.fields[i];
    int c = col + static_cast<int>(i);
    entered = EnterCell("'" + field.name, row, c);
    if (!entered) break;
    ApplyFieldFormat(row, c, FieldFormat(field), true);
    if (c <= kMaxCol) view.sizes.columns[c] = static_cast<std::uint16_t>(std::clamp(field.length, 1, 254));
  }
  if (haveView) WindowServices().SetSheetView(view, kViewSizes);
  return entered;
}

// --- export ---

struct TOutField {
  std::string name;
  char type = 'C';
  int length = 1;
  int decimals = 0;
};

bool IsDateFormat(int format) {
  return format == 0x72 || format == 0x73 || format == 0x74 || format == 0x79 || format == 0x7A;
}

// Field names that dBase III accepts: at most 10 characters, none empty, no
// two alike (readers match names without regard to case).
void MakeNamesUnique(std::vector<TOutField>& fields) {
  for (std::size_t i = 0; i < fields.size(); ++i) {
    std::string& name = fields[i].name;
    std::size_t zero = name.find('\0');
    if (zero != std::string::npos) name.erase(zero);
    if (name.size() > kDbfMaxNameChars) name.resize(kDbfMaxNameChars);
    if (name.empty()) name = "FIELD" + std::to_string(i + 1);
    auto taken = [&](const std::string& candidate) {
      for (std::size_t j = 0; j < i; ++j)
        if (UpperCaseText(fields[j].name) == UpperCaseText(candidate)) return true;
      return false;
    };
    std::string base = name;
    for (int n = 2; taken(name); ++n) {
      std::string tail = "_" + std::to_string(n);
      name = base.substr(0, kDbfMaxNameChars - tail.size()) + tail;
    }
  }
}

TOutField DescribeColumn(const TCell* head, int col) {
  TOutField field;
  field.name = CellTransferText(head);
  int format = head ? head->format & 0x7F : kDbfOtherFormat;
  int width = WindowServices().ColumnWidthChars(col);
  if (head != nullptr && format < 16) {
    field.type = 'N';
    field.decimals = format & 7;
    field.length = std::clamp(width, field.decimals > 0 ? field.decimals + 2 : 1, kDbfMaxNumericLength);
  } else if (head != nullptr && IsDateFormat(format)) {
    field.type = 'D';
    field.length = kDbfDateLength;
  } else {
    field.length = std::clamp(width, 1, kDbfMaxCharLength);
  }
  return field;
}

void AppendPadded(std::string& out, std::string_view text, int length, bool rightAlign) {
  std::string fill(static_cast<std::size_t>(length) - text.size(), ' ');
  if (rightAlign) out += fill;
  out += text;
  if (!rightAlign) out += fill;
}

// The text a cell gives in a field of this type: a number with the field's
// decimals and "." as the point, a date as yyyymmdd, anything else its
// transfer text; a missing or blank cell, or a text that is empty, an empty
// text. Returns null when the value is written whole, or else the message
// that refuses it (its address follows): a number wider than 19 characters
// or one that names no date is too wide, and a label, a text result or an
// error value in a numeric or date field is no number. A numeric field read
// back holds only numbers, so such a value would come back as nothing.
const char* FieldText(const TOutField& field, const TCell* cell, std::string& text) {
  text.clear();
  if (field.type == 'C') {
    text = CellTransferText(cell);
    return text.size() <= static_cast<std::size_t>(kDbfMaxCharLength) ? nullptr : kDbfTooWideText;
  }
  if (!CellHasNumber(cell)) return CellTransferText(cell).empty() ? nullptr : kDbfNotANumberText;
  if (field.type == 'D') {
    int year = 0, month = 0, day = 0;
    if (!SerialToDate(CellNumber(cell), year, month, day)) return kDbfTooWideText;
    text = DateToDbfText(CellNumber(cell));
    return text.size() == static_cast<std::size_t>(kDbfDateLength) ? nullptr : kDbfTooWideText;
  }
  char buffer[400];
  std::snprintf(buffer, sizeof buffer, "%.*f", field.decimals, CellNumber(cell) + 0.0);
  text = buffer;
  return text.size() <= static_cast<std::size_t>(kDbfMaxNumericLength) ? nullptr : kDbfTooWideText;
}

}  // namespace

void SetDbfFilter(const TDbfFilter& filter) { gFilter = filter; }
void ClearDbfFilter() { gFilter = TDbfFilter{}; }
void SetDbfProgressHandler(TDbfProgressFn handler) { gProgress = handler; }

TDbfInfo DbfFileInfo(const std::string& fileName) {
  TFileCloser file{nullptr};
  TDbfLayout layout;
  if (!LoadLayout(fileName, file, layout)) return {};
  return {static_cast<int>(layout.fields.size()), layout.recordCount};
}

bool ImportDbf(int row, int col, const std::string& fileName, std::int32_t firstRecord, std::int32_t recordCount) {
  ClearErrorFlag();
  TFileCloser file{nullptr};
  TDbfLayout layout;
  if (!LoadLayout(fileName, file, layout)) {
    SetAndShowError(kUnableToReadText);
    return false;
  }
  if (layout.fields.size() > static_cast<std::size_t>(kDbfMaxFields)) {
    SetAndShowError(kFieldCountExceedsText + std::to_string(kDbfMaxFields));
    return false;
  }
  if (row < 0 || row > kMaxRow || col < 0 || col + static_cast<int>(layout.fields.size()) - 1 > kMaxCol) {
    SetOutOfRangeError();
    ShowError(ErrorMessage());
    return false;
  }
  if (!EnterFieldNames(layout, row, col)) return false;

  std::uint32_t first = firstRecord > 0 ? static_cast<std::uint32_t>(firstRecord) : 1;
  if (firstRecord < 0) recordCount = -1;  // a negative first record asks for every record
  // Sums in 64 bits: neither a huge first record nor a huge count wraps.
  auto lastOf = [&](std::int64_t count) { return static_cast<std::int64_t>(first) + count - 1; };
  std::int64_t lastWanted = layout.recordCount;
  if (recordCount >= 0) lastWanted = std::min(lastWanted, lastOf(recordCount));
  lastWanted = std::min(lastWanted, lastOf(kDbfMaxImportRecords));
  std::uint32_t last = lastWanted < 0 ? 0 : static_cast<std::uint32_t>(lastWanted);
  bool ok = true;
  if (first <= last && std::fseek(file.file, static_cast<long>(layout.headerLength + (first - 1) * layout.recordLength),
                                  SEEK_SET) != 0) {
    SetAndShowError(kUnableToReadText);
    ok = false;
  }
  std::uint32_t total = first <= last ? last - first + 1 : 0;
  std::vector<char> record(layout.recordLength);
  int outRow = row + 1;
  for (std::uint32_t n = first; ok && n <= last; ++n) {
    if (ErrorFlagSet()) break;
    if (!PoolHasRoom()) {
      SetOutOfMemoryError();
      ShowError(ErrorMessage());
      ok = false;
      break;
    }
    if ((n - first) % kDbfProgressStep == 0 && n > first) ShowProgress(n, total);
    if (!ReadExactly(file.file, record.data(), record.size())) {
      SetAndShowError(kUnableToReadText);
      ok = false;
      break;
    }
    // Some writers pad fields with NUL bytes instead of blanks: they are the
    // same padding, and a NUL kept inside a label would cut it when saved.
    std::replace(record.begin(), record.end(), '\0', ' ');
    if (record[0] == kDeletedMark || !PassesFilter(layout, record.data())) continue;
    if (outRow > kMaxRow) {
      SetOutOfRangeError();
      ShowError(ErrorMessage());
      ok = false;
      break;
    }
    for (std::size_t i = 0; ok && i < layout.fields.size(); ++i) {
      const TDbfField& field = layout.fields[i];
      ok = EnterField(field, std::string_view(record.data() + field.offset, field.length), outRow,
                      col + static_cast<int>(i));
    }
    CellProgressHook(outRow, col);
    ++outRow;
  }
  ShowProgress(0, 0);
  return ok && !ErrorFlagSet();
}

bool ExportDbf(const TRange& range, const std::string& fileName) {
  TRange r = range;
  OrderPair(r.firstCol, r.lastCol);
  OrderPair(r.firstRow, r.lastRow);
  if (!RangeIsValid(range) || r.firstCol < 0 || r.lastCol > kMaxCol || r.firstRow < 0 || r.lastRow > kMaxRow) {
    SetOutOfRangeError();
    ShowError(ErrorMessage());
    return false;
  }
  std::vector<TOutField> fields;
  for (int col = r.firstCol; col <= r.lastCol; ++col)
    fields.push_back(DescribeColumn(CellPtr(CellFind(r.firstRow, col)), col));
  MakeNamesUnique(fields);

  // Each field grows to its longest value, so that nothing is cut; a value no
  // field of its type can hold is reported before the file is touched.
  TRange body = r;
  body.firstRow = static_cast<std::int16_t>(r.firstRow + 1);
  std::string text;
  bool fits = true;
  if (body.firstRow <= body.lastRow) {
    ForEachPositionInRange(body, [&](int row, int col, TCellHandle cell) {
      TOutField& field = fields[static_cast<std::size_t>(col - r.firstCol)];
      if (const char* refusal = FieldText(field, CellPtr(cell), text)) {
        if (fits) SetAndShowError(refusal + CellAddrText(row, col, false, false));
        fits = false;
      }
      field.length = std::max(field.length, static_cast<int>(text.size()));
    });
  }
  if (!fits) return false;

  std::uint32_t recordLength = 1;
  for (const TOutField& field : fields) recordLength += static_cast<std::uint32_t>(field.length);
  std::uint32_t headerLength = static_cast<std::uint32_t>(kHeaderBytes + kDescriptorBytes * fields.size() + 1);
  std::uint32_t records = static_cast<std::uint32_t>(r.lastRow - r.firstRow);

  TClockTime today = ReadClock();
  std::string out;
  out += static_cast<char>(kDbaseIIIVersion);
  out += static_cast<char>(std::clamp(today.year - 1900, 0, 255));
  out += static_cast<char>(today.month);
  out += static_cast<char>(today.day);
  PutU32(out, records);
  PutU16(out, headerLength);
  PutU16(out, recordLength);
  out.append(20, '\0');
  for (const TOutField& field : fields) {
    std::string name = field.name;
    name.resize(11, '\0');
    out += name;
    out += field.type;
    out.append(4, '\0');
    out += static_cast<char>(field.length);
    out += static_cast<char>(field.decimals);
    out.append(14, '\0');
  }
  out += static_cast<char>(kDescriptorEnd);

  if (body.firstRow <= body.lastRow) {
    ForEachPositionInRange(body, [&](int, int col, TCellHandle cell) {
      if (col == r.firstCol) out += ' ';
      const TOutField& field = fields[static_cast<std::size_t>(col - r.firstCol)];
      FieldText(field, CellPtr(cell), text);
      AppendPadded(out, text, field.length, field.type == 'N');
    });
  }
  out += static_cast<char>(kFileEnd);

  if (!SaveFileReplacing(fileName, out, "")) {
    SetAndShowError(kWriteErrorText);
    return false;
  }
  return true;
}

}  // namespace corvane
