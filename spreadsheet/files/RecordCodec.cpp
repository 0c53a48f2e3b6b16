// Little-endian record framing for worksheet files.
#include "spreadsheet/files/RecordCodec.h"

#include <algorithm>
#include <cstring>

namespace corvane {

void TRecordWriter::U16(std::uint16_t v) {
  U8(static_cast<std::uint8_t>(v));
  U8(static_cast<std::uint8_t>(v >> 8));
}

void TRecordWriter::U32(std::uint32_t v) {
  for (int k = 0; k < 4; ++k) U8(static_cast<std::uint8_t>(v >> (8 * k)));
}

void TRecordWriter::F64(double v) {
  std::uint64_t bits;
  std::memcpy(&bits, &v, sizeof bits);
  for (int k = 0; k < 8; ++k) U8(static_cast<std::uint8_t>(bits >> (8 * k)));
}

void TRecordWriter::Bytes(const void* data, std::size_t count) {
  bytes_.append(static_cast<const char*>(data), count);
}

void TRecordWriter::Range(const TRange& range) {
  I16(range.firstCol);
  I16(range.firstRow);
  I16(range.lastCol);
  I16(range.lastRow);
}

void TRecordWriter::ZeroText(std::string_view text) {
  bytes_.append(text.data(), text.size());
  U8(0);
}

void TRecordWriter::FixedText(std::string_view text, std::size_t width) {
  if (width == 0) return;
  std::size_t n = std::min(text.size(), width - 1);
  bytes_.append(text.data(), n);
  bytes_.append(width - n, '\0');
}

void TRecordWriter::PrefixedText(std::string_view text, std::size_t maxChars) {
  std::size_t n = std::min(text.size(), maxChars);
  U8(static_cast<std::uint8_t>(n));
  bytes_.append(text.data(), n);
  bytes_.append(maxChars - n, '\0');
}

void TRecordWriter::Record(int type, std::string_view body) {
  std::size_t n = std::min<std::size_t>(body.size(), 0xFFFF);
  U16(static_cast<std::uint16_t>(type));
  U16(static_cast<std::uint16_t>(n));
  bytes_.append(body.data(), n);
}

bool TByteReader::Take(std::size_t count) {
  if (failed_ || count > size_ - pos_) {
    failed_ = true;
    return false;
  }
  return true;
}

std::uint8_t TByteReader::U8() {
  if (!Take(1)) return 0;
  return data_[pos_++];
}

std::uint16_t TByteReader::U16() {
  if (!Take(2)) return 0;
  auto v = static_cast<std::uint16_t>(data_[pos_] | data_[pos_ + 1] << 8);
  pos_ += 2;
  return v;
}

std::uint32_t TByteReader::U32() {
  if (!Take(4)) return 0;
  std::uint32_t v = 0;
  for (int k = 0; k < 4; ++k) v |= std::uint32_t{data_[pos_ + k]} << (8 * k);
  pos_ += 4;
  return v;
}

double TByteReader::F64() {
  if (!Take(8)) return 0;
  std::uint64_t bits = 0;
  for (int k = 0; k < 8; ++k) bits |= std::uint64_t{data_[pos_ + k]} << (8 * k);
  pos_ += 8;
  double v;
  std::memcpy(&v, &bits, sizeof v);
  return v;
}

TRange TByteReader::Range() {
  TRange range;
  range.firstCol = I16();
  range.firstRow = I16();
  range.lastCol = I16();
  range.lastRow = I16();
  return range;
}

void TByteReader::Bytes(void* out, std::size_t count) {
  if (!Take(count)) {
    std::memset(out, 0, count);
    return;
  }
  std::memcpy(out, data_ + pos_, count);
  pos_ += count;
}

void TByteReader::Skip(std::size_t count) {
  if (Take(count)) pos_ += count;
}

std::string TByteReader::FixedText(std::size_t width, std::size_t maxChars) {
  return std::string(FixedTextView(width, maxChars));
}

std::string_view TByteReader::FixedTextView(std::size_t width, std::size_t maxChars) {
  if (!Take(width)) return {};
  const char* at = reinterpret_cast<const char*>(data_ + pos_);
  std::size_t n = std::find(at, at + width, '\0') - at;
  pos_ += width;
  return std::string_view(at, std::min(n, maxChars));
}

std::string TByteReader::RestText(std::size_t maxChars) { return FixedText(Remaining(), maxChars); }
std::string_view TByteReader::RestTextView(std::size_t maxChars) { return FixedTextView(Remaining(), maxChars); }

std::string TByteReader::PrefixedText(std::size_t maxChars) {
  std::size_t n = std::min<std::size_t>(U8(), maxChars);
  if (!Take(maxChars)) return {};
  std::string text(reinterpret_cast<const char*>(data_ + pos_), n);
  pos_ += maxChars;
  return text;
}

bool TRecordParser::Next(TRecordView& record) {
  if (pos_ == size_) return false;
  if (size_ - pos_ < 4) {
    truncated_ = true;
    return false;
  }
  auto typeWord = static_cast<std::uint16_t>(data_[pos_] | data_[pos_ + 1] << 8);
  auto length = static_cast<std::uint16_t>(data_[pos_ + 2] | data_[pos_ + 3] << 8);
  if (size_ - pos_ - 4 < length) {
    truncated_ = true;
    return false;
  }
  record.typeWord = typeWord;
  record.length = length;
  record.data = data_ + pos_ + 4;
  pos_ += 4 + std::size_t{length};
  return true;
}

}  // namespace corvane
