// Case folding for the engine's 8-bit texts: only the ASCII letters change, as
// file names, range names and addresses are compared that way.
#pragma once

#include <string>
#include <string_view>

namespace corvane {

inline char UpperChar(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// A copy of `text` with a..z made upper case.
inline std::string UpperCaseText(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) c = UpperChar(c);
  return upper;
}

}  // namespace corvane
