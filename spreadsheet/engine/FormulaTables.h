// The constant tables of the formula language: the spelling of every token
// (0..186) and the argument class of every token (0..255). The compiler looks
// names up here, the formula-text converter spells tokens from here and the
// evaluator decides its error step and argument counts by the class.
#pragma once

#include <cstdint>
#include <string_view>

namespace corvane {

// Token numbers the compiler, evaluator and dependency walk name directly.
enum TToken : std::uint8_t {
  kTokReal = 0,        // 8-byte IEEE double follows
  kTokCell = 1,        // 4-byte cell reference follows
  kTokRange = 2,       // two references follow: last corner, then first corner
  kTokEnd = 3,
  kTokParen = 4,       // parentheses marker
  kTokInteger = 5,     // signed 16-bit integer follows
  kTokString = 6,      // characters and a 0 byte follow
  kTokLink = 7,        // 8-byte TRange, upper-case path, 0 byte
  kTokNegate = 8,
  kTokAdd = 9,
  kTokSubtract = 10,
  kTokMultiply = 11,
  kTokDivide = 12,
  kTokPower = 13,
  kTokEqual = 14,
  kTokNotEqual = 15,
  kTokLessEqual = 16,
  kTokGreaterEqual = 17,
  kTokLess = 18,
  kTokGreater = 19,
  kTokAnd = 20,
  kTokOr = 21,
  kTokNot = 22,
  kTokUnaryPlus = 23,
  kTokConcat = 24,
  kTokPercent = 25,
  kTokFactorial = 26,
  kTokDateVal = 77,
  kTokTimeVal = 78,
  kTokSum = 80,
  kTokUserFunction = 254,
  kTokNamedCell = 255,
};

inline constexpr int kLastNamedToken = 186;
inline constexpr std::size_t kTokenNameChars = 12;

// Argument classes.
inline constexpr int kClassReal = 0;
inline constexpr int kClassCell = 1;
inline constexpr int kClassRange = 2;
inline constexpr int kClassEnd = 3;
inline constexpr int kClassParen = 4;
inline constexpr int kClassInteger = 5;
inline constexpr int kClassString = 6;
inline constexpr int kClassLink = 7;
inline constexpr int kClassPrefix = 8;
inline constexpr int kClassBinary = 9;
inline constexpr int kClassFunction0 = 10;  // 10 + n: a function of n fixed arguments (n = 0..4)
inline constexpr int kClassFunctionList = 15;
inline constexpr int kClassPostfix = 16;
inline constexpr int kClassUserFunction = 254;

// One entry of the name table: a length byte and up to 12 characters.
struct TTokenName {
  std::uint8_t length;
  char text[kTokenNameChars];
};
static_assert(sizeof(TTokenName) == 13);

extern const TTokenName FunctionNameTable[kLastNamedToken + 1];
extern const std::int16_t TokenClassTable[256];

// The spelling of a token; empty for tokens without a name and above 186.
std::string_view TokenName(int token);

// The fixed argument count of a function class (10..14), else -1.
inline int FunctionArgCount(int tokenClass) {
  return tokenClass >= kClassFunction0 && tokenClass < kClassFunctionList ? tokenClass - kClassFunction0 : -1;
}

}  // namespace corvane
