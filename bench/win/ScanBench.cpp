// Measures the analyser's scan against the floor set by the file system: a
// plain recursive FindFirstFileExW walk of the same folder in the same
// process. Then deletes the scanned root from the tree and times that. Prints
// what each counted and the best time of three runs of each. Last, in the
// program's main window with its detail list shown: the first scan, an
// Update of the root as the scan leaves it (expanded one level), and an
// Update with the whole tree expanded, each against the first scan, and the
// exit from the close message until the window and its tree are gone.
//   scan_bench.exe PATH [RUNS]     RUNS (default 3) runs of each figure
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <cstdio>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "analyser/app/ViewSettings.h"
#include "analyser/app/Settings.h"
#include "analyser/app/win/FolderData.h"
#include "analyser/app/win/MainForm.h"
#include "analyser/app/win/Scan.h"
#include "classlib/win/Application.h"
#include "classlib/win/Controls.h"
#include "classlib/win/Registry.h"

namespace {

struct TCount {
  std::int64_t folders = 0;
  std::int64_t files = 0;
  std::int64_t bytes = 0;
  std::int64_t nodes = 0;
};

class TStopwatch {
 public:
  TStopwatch() {
    QueryPerformanceFrequency(&frequency_);
    QueryPerformanceCounter(&start_);
  }
  double Seconds() const {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart - start_.QuadPart) / static_cast<double>(frequency_.QuadPart);
  }

 private:
  LARGE_INTEGER frequency_, start_;
};

// The floor: every entry of the branch, as the file system lists it.
void Walk(const std::wstring& path, TCount& count) {
  count.folders += 1;
  WIN32_FIND_DATAW found;
  HANDLE find = FindFirstFileExW((path + L"\\*").c_str(), FindExInfoBasic, &found, FindExSearchNameMatch, nullptr,
                                 FIND_FIRST_EX_LARGE_FETCH);
  if (find == INVALID_HANDLE_VALUE) return;
  do {
    const std::wstring name = found.cFileName;
    if (name == L"." || name == L"..") continue;
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      Walk(path + L"\\" + name, count);
    } else {
      count.files += 1;
      count.bytes += static_cast<std::int64_t>((std::uint64_t{found.nFileSizeHigh} << 32) | found.nFileSizeLow);
    }
  } while (FindNextFileW(find, &found));
  FindClose(find);
}

void CountNodes(classlib::TTreeNode* node, TCount& count) {
  foldwick::TFolderData* data = foldwick::NodeData(node);
  count.nodes += 1;
  if (data == nullptr || data->IsFilesNode) return;
  count.folders += 1;
  count.files += data->Counts.OwnTotals().objects;
  for (classlib::TTreeNode* c = node->GetFirstChild(); c != nullptr; c = c->GetNextSibling()) CountNodes(c, count);
}

void Print(const char* what, const TCount& count, double seconds) {
  std::printf("%s files %lld folders %lld bytes %lld seconds %.2f\n", what, static_cast<long long>(count.files),
              static_cast<long long>(count.folders), static_cast<long long>(count.bytes), seconds);
}

// The longest the window took to answer while this lives: another thread
// sends it an empty message every 10 ms and times the answer, as a user's
// key would wait.
class TAnswerWatch {
 public:
  explicit TAnswerWatch(HWND window)
      : thread_([this, window] {
          while (!stop_.load()) {
            TStopwatch wait;
            DWORD_PTR result = 0;
            SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 600000, &result);
            longest_ = std::max(longest_.load(), wait.Seconds());
            Sleep(10);
          }
        }) {}
  ~TAnswerWatch() { Stop(); }
  double Stop() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    return longest_;
  }

 private:
  std::atomic<bool> stop_{false};
  std::atomic<double> longest_{0};
  std::thread thread_;
};

// Waits for the root's scan to end; the seconds it took from `watch`.
double WaitForScan(foldwick::TScanRoot& root, const TStopwatch& watch) {
  while (root.runningScan != nullptr) classlib::Application().HandleMessage();
  return watch.Seconds();
}

// The first scan and two Updates in the main window, whose detail list is
// shown (the stored chart type of the list view), best of `runs` each.
bool WindowFigures(LPCITEMIDLIST list, int runs) {
  classlib::TRegistry registry;
  if (registry.OpenKey(std::string("\\") + foldwick::kSettingsKey, true)) registry.WriteString("Charttype", "8");
  registry.CloseKey();
  auto owned = std::make_unique<foldwick::TMainForm>(std::vector<std::string>{});
  foldwick::TMainForm& form = *owned;
  form.Show();
  classlib::Application().ProcessMessages();
  double first = 1e9, expanded = 1e9, whole = 1e9;
  for (int run = 0; run < runs; ++run) {
    for (const auto& root : std::vector<std::shared_ptr<foldwick::TScanRoot>>(form.Engine().Roots().begin(),
                                                                             form.Engine().Roots().end()))
      form.Engine().RemoveRoot(*root);
    TStopwatch scan;
    TAnswerWatch answers(form.Handle());
    form.Engine().ScanPath(list);
    if (form.Engine().Roots().empty()) return false;
    foldwick::TScanRoot& root = *form.Engine().Roots().front();
    first = std::min(first, WaitForScan(root, scan));
    classlib::Application().ProcessMessages();
    std::printf("window: first scan %.2f s (the window answered within %.2f s throughout)\n", first, answers.Stop());
    std::fflush(stdout);

    // Update, as the menu does, of the root the scan left expanded.
    TStopwatch update;
    form.Engine().RescanBranch(root.rootNode);
    expanded = std::min(expanded, WaitForScan(root, update));
    classlib::Application().ProcessMessages();
    std::printf("window: update expanded one level %.2f s (%.2f x first scan)\n", expanded,
                expanded / std::max(first, 1e-6));
    std::fflush(stdout);

    root.rootNode->Expand(true);
    classlib::Application().ProcessMessages();
    TStopwatch again;
    form.Engine().RescanBranch(root.rootNode);
    whole = std::min(whole, WaitForScan(root, again));
    classlib::Application().ProcessMessages();
    std::printf("window: update fully expanded %.2f s (%.2f x first scan)\n", whole, whole / std::max(first, 1e-6));
    std::fflush(stdout);
  }
  // The exit with the whole tree expanded: from the close message until
  // the window and its tree are gone.
  TStopwatch close;
  PostMessageA(form.Handle(), WM_CLOSE, 0, 0);
  while (!classlib::Application().Terminated()) classlib::Application().HandleMessage();
  const double handled = close.Seconds();
  owned.reset();
  std::printf("window: exit fully expanded %.2f s (close handled at %.2f s)\n", close.Seconds(), handled);
  std::fflush(stdout);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2 && argc != 3) {
    std::fprintf(stderr, "usage: scan_bench PATH [RUNS]\n");
    return 2;
  }
  const std::string path = argv[1];
  const std::wstring widePath(path.begin(), path.end());
  classlib::Application();
  classlib::TForm form(nullptr, "scan bench");
  auto* tree = new classlib::TTreeView(&form, &form);
  form.Show();
  foldwick::TScanEngine engine(*tree);
  foldwick::TIdList list = foldwick::PathToPIDL(nullptr, path);
  if (!list) {
    std::fprintf(stderr, "scan_bench: cannot find %s\n", argv[1]);
    return 1;
  }

  // The machine may be busy with other work: each figure is the best of a
  // few runs, the walks and scans taking turns.
  const int kRuns = argc == 3 ? std::max(std::atoi(argv[2]), 1) : 3;
  double floorSeconds = 1e9, scanSeconds = 1e9, deleteSeconds = 1e9, deleteWorst = 0;
  TCount floor, scanned;
  foldwick::TFolderTotals totals;
  for (int run = 0; run < kRuns; ++run) {
    floor = {};
    TStopwatch walk;
    Walk(widePath, floor);
    floorSeconds = std::min(floorSeconds, walk.Seconds());

    TStopwatch scan;
    engine.ScanPath(list.get());
    foldwick::TScanRoot& root = *engine.Roots().front();
    while (root.runningScan != nullptr) classlib::Application().HandleMessage();
    scanSeconds = std::min(scanSeconds, scan.Seconds());

    scanned = {};
    CountNodes(root.rootNode, scanned);
    totals = foldwick::NodeData(root.rootNode)->Counts.Totals();
    scanned.bytes = totals.bytes;

    TStopwatch remove;
    engine.RemoveRoot(root);
    classlib::Application().ProcessMessages();
    deleteSeconds = std::min(deleteSeconds, remove.Seconds());
    deleteWorst = std::max(deleteWorst, remove.Seconds());
  }

  Print("floor:", floor, floorSeconds);
  Print("scan: ", scanned, scanSeconds);
  std::printf("ratio scan/floor %.2f\n", scanSeconds / std::max(floorSeconds, 1e-6));
  std::printf("delete: nodes %lld seconds %.2f (worst %.2f)\n", static_cast<long long>(scanned.nodes), deleteSeconds,
              deleteWorst);
  std::fflush(stdout);
  if (!WindowFigures(list.get(), kRuns)) return 1;
  const bool agree = totals.objects == scanned.files + scanned.folders && scanned.files == floor.files &&
                     scanned.folders == floor.folders && scanned.bytes == floor.bytes;
  return agree ? 0 : 1;
}
