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

// Deletes a folder with everything in it, hidden and read-only entries too.
inline void RemoveTree(const std::string& path) {
  WIN32_FIND_DATAA found;
  HANDLE find = FindFirstFileA((path + "\\*").c_str(), &found);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      std::string name = found.cFileName;
      if (name == "." || name == "..") continue;
      std::string child = path + "\\" + name;
      SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) RemoveTree(child);
      else DeleteFileA(child.c_str());
    } while (FindNextFileA(find, &found));
    FindClose(find);
  }
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  RemoveDirectoryA(path.c_str());
}

}  // namespace foldwick
