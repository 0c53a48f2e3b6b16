// Text between an 8-bit code page (the ANSI code page, UTF-8) and UTF-16.
#pragma once

#include "classlib/win/Win32.h"

#include <string>

namespace classlib {

// `text` in `codePage` as UTF-16, up to its first NUL; empty when it does not
// convert.
inline std::wstring WideFromText(const std::string& text, UINT codePage) {
  const int n = MultiByteToWideChar(codePage, 0, text.c_str(), -1, nullptr, 0);
  std::wstring wide(n > 0 ? static_cast<size_t>(n) : 0, L'\0');
  if (n > 0) MultiByteToWideChar(codePage, 0, text.c_str(), -1, wide.data(), n);
  return wide.c_str();
}

// UTF-16 `text` (null: empty) in `codePage`; a character the code page lacks
// becomes its default character.
inline std::string TextFromWide(const wchar_t* text, UINT codePage) {
  if (text == nullptr) return {};
  const int n = WideCharToMultiByte(codePage, 0, text, -1, nullptr, 0, nullptr, nullptr);
  std::string out(n > 0 ? static_cast<size_t>(n) : 0, '\0');
  if (n > 0) WideCharToMultiByte(codePage, 0, text, -1, out.data(), n, nullptr, nullptr);
  return out.c_str();
}

// A UTF-16 character (a Unicode window's WM_CHAR) as the one character of the
// ANSI code page that stands for it; "?" when there is none.
inline char AnsiCharOf(WPARAM wide) {
  const wchar_t c = static_cast<wchar_t>(wide);
  char out[4] = "";
  BOOL lost = FALSE;
  const int n = WideCharToMultiByte(CP_ACP, 0, &c, 1, out, sizeof out, nullptr, &lost);
  return n == 1 && !lost ? out[0] : '?';
}

// A character of the ANSI code page as UTF-16.
inline WPARAM WideCharOf(char ansi) {
  wchar_t c = 0;
  return MultiByteToWideChar(CP_ACP, 0, &ansi, 1, &c, 1) == 1 ? c : static_cast<unsigned char>(ansi);
}

}  // namespace classlib
