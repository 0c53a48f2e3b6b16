// TFileLister: a folder's files listed on a thread of their own for the
// detail list.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "analyser/app/win/FileListing.h"
#include "analyser/app/win/ShellText.h"
#include "classlib/win/Thread.h"

namespace foldwick {

// A file as a folder's listing gives it.
struct TListedFile {
  std::wstring name;
  std::uint64_t size = 0;
  TFileTime lastAccess = 0;
  TFileTime lastWrite = 0;
};

// What a listing lists: the files of `path` matching any of `patterns`;
// nothing with an empty path.
struct TListedFiles {
  std::wstring path;
  std::vector<std::wstring> patterns;
  bool operator==(const TListedFiles&) const = default;
};

// Lists the files (not the folders) of a folder that match any of the
// patterns, each once, on a thread of its own, and hands them to `deliver`
// on the main thread in batches, the last one with `last` set: listing a
// folder of hundreds of thousands of files takes the file system a while,
// and the window goes on meanwhile. The batches are queued for the window,
// never waited for: destroying the lister, or waiting for its end, handles
// no message, and the batches it had not handed over are dropped with it.
class TFileLister : public classlib::TThread {
 public:
  using TDeliver = std::function<void(const std::vector<TListedFile>& files, bool last)>;
  TFileLister(std::wstring path, std::vector<std::wstring> patterns, TDeliver deliver)
      : classlib::TThread(true), path_(std::move(path)), patterns_(std::move(patterns)), deliver_(std::move(deliver)) {}
  // The worker reads the path and patterns until it ends: it is stopped and
  // waited for here, before they go (the base class's own stop comes after).
  ~TFileLister() override {
    Terminate();
    WaitFor();
  }

 protected:
  void Execute() override {
    // The first batch goes as soon as it fills a screen, so that rows show
    // at once; after it a batch goes when it is big enough and the last went
    // a while ago, so that the window takes few of them however many files
    // come.
    constexpr size_t kFirstBatch = 256;
    constexpr size_t kBatch = 4096;
    constexpr DWORD kBatchMs = 150;
    std::vector<TListedFile> batch;
    std::set<std::wstring> seen;
    bool first = true;
    DWORD handed = GetTickCount();
    for (const std::wstring& pattern : patterns_) {
      ListFolder(path_, pattern, [&](const WIN32_FIND_DATAW& found) {
        if (Terminated()) return false;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return true;
        // Each file once, even when two patterns find it.
        if (patterns_.size() > 1 && !seen.insert(found.cFileName).second) return true;
        batch.push_back({found.cFileName, (std::uint64_t{found.nFileSizeHigh} << 32) | found.nFileSizeLow,
                         ToFileTime(found.ftLastAccessTime), ToFileTime(found.ftLastWriteTime)});
        if (first ? batch.size() >= kFirstBatch : batch.size() >= kBatch && GetTickCount() - handed >= kBatchMs) {
          first = false;
          Hand(batch, false);
          handed = GetTickCount();
        }
        return true;
      });
    }
    if (!Terminated()) Hand(batch, true);
  }

 private:
  void Hand(std::vector<TListedFile>& batch, bool last) {
    Queue([this, files = std::move(batch), last] { deliver_(files, last); });
    batch.clear();
  }

  std::wstring path_;
  std::vector<std::wstring> patterns_;
  TDeliver deliver_;
};

}  // namespace foldwick
