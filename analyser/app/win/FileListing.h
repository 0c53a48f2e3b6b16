// Listing folders with the wide find functions in the long-path form, as the
// scan and the file search read the file system: no name is lost to the
// ANSI code page and no folder to the 260-character limit.
#pragma once

#include <windows.h>

#include <string>

#include "analyser/app/win/FolderData.h"
#include "classlib/win/WideText.h"

namespace foldwick {

// The form of a path that takes it past 260 characters and as it is, trailing
// dots and blanks included: "\\?\C:\..." or "\\?\UNC\server\share\...".
inline std::wstring LongPath(const std::wstring& path) {
  if (path.rfind(L"\\\\?\\", 0) == 0) return path;
  if (path.rfind(L"\\\\", 0) == 0) return L"\\\\?\\UNC\\" + path.substr(2);
  if (path.size() >= 2 && path[1] == L':') return L"\\\\?\\" + path;
  return path;
}

// Names are compared and counted as UTF-8, which keeps every character.
inline std::string Utf8FromWide(const wchar_t* text) {
  return classlib::TextFromWide(text, CP_UTF8);
}

// UTF-8 text as UTF-16; empty when it does not convert.
inline std::wstring WideFromUtf8(const std::string& text) {
  return classlib::WideFromText(text, CP_UTF8);
}

// ANSI text (what the windows show) as UTF-8.
inline std::string Utf8FromAnsi(const std::string& text) {
  return classlib::TextFromWide(classlib::WideFromText(text, CP_ACP).c_str(), CP_UTF8);
}

// Calls `visit` for each entry of the folder `path` matching `pattern` until
// it returns false. False when the folder could not be listed; a pattern that
// matches nothing is no failure.
template <class Visit>
bool ListFolder(const std::wstring& path, const std::wstring& pattern, Visit visit) {
  WIN32_FIND_DATAW found;
  HANDLE find = FindFirstFileExW(LongPath(JoinPath(path, pattern)).c_str(), FindExInfoBasic, &found,
                                 FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
  if (find == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_NO_MORE_FILES;
  }
  bool listed = true;
  while (visit(found)) {
    if (!FindNextFileW(find, &found)) {
      listed = GetLastError() == ERROR_NO_MORE_FILES;
      break;
    }
  }
  FindClose(find);
  return listed;
}

}  // namespace foldwick
