// Little-endian record framing for worksheet files: a writer that appends
// typed fields to a byte buffer, a bounds-checked reader over a record's bytes,
// and a parser that walks the records of a byte stream. Every field is read and
// written with its explicit width; nothing is copied as a struct. A read past
// the end of its bytes never touches memory outside them: it yields zeros and
// marks the reader as failed, which callers test once after a record.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "spreadsheet/engine/Range.h"

namespace corvane {

// A growing byte buffer with little-endian appends. Record() frames one record
// (type, 16-bit length, data); a body longer than 65535 bytes is cut there.
class TRecordWriter {
 public:
  void U8(std::uint8_t v) { bytes_.push_back(static_cast<char>(v)); }
  void I16(int v) { U16(static_cast<std::uint16_t>(v)); }
  void U16(std::uint16_t v);
  void I32(std::int32_t v) { U32(static_cast<std::uint32_t>(v)); }
  void U32(std::uint32_t v);
  void F64(double v);
  void Bytes(const void* data, std::size_t count);
  void Range(const TRange& range);
  // The text's bytes and a zero byte.
  void ZeroText(std::string_view text);
  // The text cut to `width` - 1 bytes, a zero byte, and zero filler up to `width`.
  void FixedText(std::string_view text, std::size_t width);
  // A length byte and the text cut to `maxChars`, zero-filled to maxChars + 1 bytes.
  void PrefixedText(std::string_view text, std::size_t maxChars);

  // Appends a whole record whose data is `body`.
  void Record(int type, const TRecordWriter& body) { Record(type, body.bytes_); }
  void Record(int type, std::string_view body);

  const std::string& Buffer() const { return bytes_; }
  std::size_t Size() const { return bytes_.size(); }
  void Clear() { bytes_.clear(); }

 private:
  std::string bytes_;
};

// Reads fields from a span of bytes. Each read past the end gives 0 (or an
// empty text) and sets Failed(); later reads keep failing.
class TByteReader {
 public:
  TByteReader() = default;
  TByteReader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

  std::uint8_t U8();
  std::int16_t I16() { return static_cast<std::int16_t>(U16()); }
  std::uint16_t U16();
  std::int32_t I32() { return static_cast<std::int32_t>(U32()); }
  std::uint32_t U32();
  double F64();
  TRange Range();
  // Copies `count` bytes into `out` (zeros on failure).
  void Bytes(void* out, std::size_t count);
  void Skip(std::size_t count);
  // The text up to the first zero byte within the next `width` bytes (all
  // `width` consumed), cut to `maxChars`.
  std::string FixedText(std::size_t width, std::size_t maxChars);
  // The rest of the bytes as a text up to the first zero byte, cut to `maxChars`;
  // all remaining bytes are consumed. The view borrows the bytes being read.
  std::string RestText(std::size_t maxChars);
  std::string_view RestTextView(std::size_t maxChars);
  // A length byte and `maxChars` bytes of room; a length above maxChars counts
  // as maxChars.
  std::string PrefixedText(std::size_t maxChars);

  std::size_t Remaining() const { return size_ - pos_; }
  std::size_t Position() const { return pos_; }
  const std::uint8_t* Here() const { return data_ + pos_; }
  bool Failed() const { return failed_; }

 private:
  bool Take(std::size_t count);
  std::string_view FixedTextView(std::size_t width, std::size_t maxChars);

  const std::uint8_t* data_ = nullptr;
  std::size_t size_ = 0;
  std::size_t pos_ = 0;
  bool failed_ = false;
};

// One record as the parser found it: its full type word (the high byte
// carries attributes in older files), its length and its data.
struct TRecordView {
  std::uint16_t typeWord = 0;
  std::uint16_t length = 0;
  const std::uint8_t* data = nullptr;
  int Type() const { return typeWord & 0xFF; }
  TByteReader Reader() const { return TByteReader(data, length); }
};

// Walks records from a position of a byte stream. Next() is false at the end
// of the bytes (AtEnd) or when a record's head or data runs past them
// (Truncated); the position then stays at the record that did not fit.
class TRecordParser {
 public:
  TRecordParser(const std::uint8_t* data, std::size_t size, std::size_t start = 0)
      : data_(data), size_(size), pos_(start > size ? size : start) {}

  bool Next(TRecordView& record);
  bool AtEnd() const { return pos_ == size_; }
  bool Truncated() const { return truncated_; }
  std::size_t Position() const { return pos_; }
  void Seek(std::size_t pos) { pos_ = pos > size_ ? size_ : pos; }
  // The bytes left after the position.
  std::size_t Remaining() const { return size_ - pos_; }
  const std::uint8_t* Here() const { return data_ + pos_; }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t pos_;
  bool truncated_ = false;
};

}  // namespace corvane
