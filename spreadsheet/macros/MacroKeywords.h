// The keyword table of the macro language: every word that may stand in braces
// in a macro ({RIGHT 3}, {GOTO A1}), with its argument count and the code bytes
// it compiles to. Entries 1-145 are the primary spellings, 146-164 the
// alternative ones; each block is sorted by keyword in byte order.
#pragma once

#include <cstdint>
#include <string_view>

namespace corvane {

inline constexpr int kMacroKeywordCount = 164;
inline constexpr int kMacroPrimaryKeywords = 145;
inline constexpr std::size_t kMacroKeywordMaxChars = 12;
inline constexpr std::size_t kMacroKeywordMaxCode = 6;
// The argument count of a keyword whose only argument is a repeat count.
inline constexpr std::int16_t kMacroRepeatCount = -1;

// One packed 22-byte entry: the keyword and its code, each length-prefixed.
#pragma pack(push, 1)
struct TMacroKeyword {
  std::uint8_t wordLength;
  char word[kMacroKeywordMaxChars];
  std::int16_t arguments;
  std::uint8_t codeLength;
  char code[kMacroKeywordMaxCode];

  std::string_view Word() const { return {word, wordLength}; }
  std::string_view Code() const { return {code, codeLength}; }
};
#pragma pack(pop)
static_assert(sizeof(TMacroKeyword) == 22, "a keyword entry is 22 bytes");

// Entry `index` (1..164).
const TMacroKeyword& MacroKeyword(int index);

// Binary search of entries first..last (within 1..164) for `word` (upper
// case): the entry number, or minus the position it would be inserted at (a
// value below 1) when it is not there.
int MacroKeywordFind(std::string_view word, int first, int last);

}  // namespace corvane
