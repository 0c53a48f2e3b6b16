// Temporary folders and files for the analyser's tests under Wine.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace foldwick {

// A folder below the temporary folder, named after `prefix` and this process.
inline std::string TestFolderPath(const std::string& prefix) {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  return std::string(temp) + prefix + std::to_string(GetCurrentProcessId());
}

// Creates (or empties) a file of `size` bytes; only its length is set, so a
// huge one stays sparse on the host.
inline void CreateSizedFile(const std::string& path, std::uint64_t size) {
  HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE) << path;
  LARGE_INTEGER end;
  end.QuadPart = static_cast<LONGLONG>(size);
  EXPECT_TRUE(SetFilePointerEx(h, end, nullptr, FILE_BEGIN));
  EXPECT_TRUE(SetEndOfFile(h));
  CloseHandle(h);
}

// A path in the form that reaches past 260 characters.
inline std::wstring LongTestPath(const std::wstring& path) { return L"\\\\?\\" + path; }

// Deletes a folder with everything in it, hidden and read-only entries, long
// paths and names in any script too.
// CreateSizedFile for a path named in any script or past 260 characters.
inline void CreateSizedFile(const std::wstring& path, std::uint64_t size) {
  HANDLE h = CreateFileW(LongTestPath(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE) << path.size();
  LARGE_INTEGER end;
  end.QuadPart = static_cast<LONGLONG>(size);
  EXPECT_TRUE(SetFilePointerEx(h, end, nullptr, FILE_BEGIN));
  EXPECT_TRUE(SetEndOfFile(h));
  CloseHandle(h);
}

inline void RemoveTree(const std::wstring& path) {
  WIN32_FIND_DATAW found;
  HANDLE find = FindFirstFileW(LongTestPath(path + L"\\*").c_str(), &found);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      std::wstring name = found.cFileName;
      if (name == L"." || name == L"..") continue;
      std::wstring child = path + L"\\" + name;
      SetFileAttributesW(LongTestPath(child).c_str(), FILE_ATTRIBUTE_NORMAL);
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) RemoveTree(child);
      else DeleteFileW(LongTestPath(child).c_str());
    } while (FindNextFileW(find, &found));
    FindClose(find);
  }
  SetFileAttributesW(LongTestPath(path).c_str(), FILE_ATTRIBUTE_NORMAL);
  RemoveDirectoryW(LongTestPath(path).c_str());
}

inline void RemoveTree(const std::string& path) {
  wchar_t wide[MAX_PATH + 1] = L"";
  if (MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH + 1) > 0) RemoveTree(std::wstring(wide));
}

}  // namespace foldwick
