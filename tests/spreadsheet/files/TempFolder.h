// A fresh folder under the system's temporary folder for one test, removed
// with everything in it afterwards, and small whole-file helpers.
#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

namespace corvane::testing {

class TTempFolder {
 public:
  TTempFolder() {
    // A name another process took already is passed over: the folder is
    // this test's alone.
    static std::atomic<int> counter{0};
    do {
      auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
      path_ = std::filesystem::temp_directory_path() /
              ("corvane-files-" + std::to_string(stamp) + "-" + std::to_string(counter++));
    } while (!std::filesystem::create_directory(path_));
  }
  ~TTempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  // The folder, without a trailing separator, and a file inside it.
  std::string Path() const { return path_.string(); }
  std::string File(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

// The whole file, or "<missing>" when it cannot be opened.
inline std::string ReadWholeFile(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return "<missing>";
  std::string text;
  char buffer[4096];
  std::size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) text.append(buffer, n);
  std::fclose(file);
  return text;
}

inline void WriteWholeFile(const std::string& path, const std::string& text) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  ASSERT_NE(file, nullptr) << path;
  std::fwrite(text.data(), 1, text.size(), file);
  std::fclose(file);
}

}  // namespace corvane::testing
