// Pool strings: texts kept in a pool block of length + 1 bytes, the length in
// the first byte. Cell labels, formula result texts and compiled formulas
// (whose first byte is also their length) share the form, so one free routine
// serves them all. A cell text holds at most 240 characters; a label holds its
// prefix character besides, 241 in all. Blocks belong to the current
// document's owner tag.
#pragma once

#include <cstdint>
#include <string_view>

#include "spreadsheet/engine/PagePool.h"

namespace corvane {

inline constexpr std::size_t kPoolStringMaxChars = 240;
// A label: its prefix character and up to 240 characters of text. The longest
// pool string; compiled formulas and result texts stay within 240 by their
// makers.
inline constexpr std::size_t kLabelMaxChars = kPoolStringMaxChars + 1;

// A new pool string holding `s` cut to 241 characters; kNilHandle when the pool
// refuses (the pool sets its full flag; no error message is set here).
TPoolHandle PoolNewString(std::string_view s);

// Frees the string (its length + 1 bytes) and sets `p` to nil; nil is ignored.
void PoolFreeString(TPoolHandle& p);

// Makes `p` hold `s` cut to 241 characters, reusing the block when the cut
// length is the same and taking a new one otherwise (a nil `p` gets a new one).
// When the pool refuses, `p` keeps its old text and the result is false.
bool PoolStrAssign(TPoolHandle& p, std::string_view s);

// The text of a pool string: borrowed, valid until the string is freed or
// reassigned. Empty for nil.
std::string_view PoolStringView(TPoolHandle p);

// The block size of a length-prefixed block (length byte + 1); 0 for nil.
inline std::uint32_t PoolStringBlockBytes(TPoolHandle p) {
  const std::uint8_t* bytes = PoolBlock(p);
  return bytes ? std::uint32_t{bytes[0]} + 1 : 0;
}

}  // namespace corvane
