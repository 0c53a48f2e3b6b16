// Reading a worksheet file of 200,000 cells (16,000 of them formulas),
// recalculating it and writing it as CSV, each as one process: our
// wks_to_csv beside the peer converter "ssconvert --recalc" (Debian's gnumeric
// package), on the same file. Each time is the best of a few runs; the page
// faults and the peak resident memory of a process do not depend on the
// machine's load and are the figures to compare first. The peer line is
// skipped, saying so, when ssconvert is not installed.
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "spreadsheet/engine/DocumentContext.h"
#include "spreadsheet/engine/DocumentTable.h"
#include "spreadsheet/engine/PagePool.h"
#include "spreadsheet/files/WorksheetFile.h"
#include "bench/BenchSheet.h"

extern char** environ;

namespace {

using namespace corvane;
using Clock = std::chrono::steady_clock;

struct TRunFigures {
  double seconds = 1e9;  // the best wall-clock time
  double user = 0, system = 0;
  long faults = 0;       // minor and major page faults of the last run
  long peakKiB = 0;      // its peak resident memory
};

// Runs `args` `runs` times, its output thrown away; false when a run fails.
bool Measure(const std::vector<std::string>& args, int runs, TRunFigures& figures) {
  std::vector<char*> argv;
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  for (int n = 0; n < runs; ++n) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    auto start = Clock::now();
    pid_t pid = 0;
    int spawned = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) return false;
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) return false;
    double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    if (seconds < figures.seconds) {
      figures.seconds = seconds;
      figures.user = static_cast<double>(usage.ru_utime.tv_sec) + usage.ru_utime.tv_usec / 1e6;
      figures.system = static_cast<double>(usage.ru_stime.tv_sec) + usage.ru_stime.tv_usec / 1e6;
    }
    figures.faults = usage.ru_minflt + usage.ru_majflt;
    figures.peakKiB = usage.ru_maxrss;
  }
  return true;
}

void Print(const char* what, const TRunFigures& f, long lines) {
  std::printf("%-44s %8.3f s (user %.3f, system %.3f)  %6ld page faults  peak %6.1f MiB  (%ld lines)\n", what,
              f.seconds, f.user, f.system, f.faults, f.peakKiB / 1024.0, lines);
}

long LineCount(const std::filesystem::path& file) {
  std::ifstream in(file);
  long lines = 0;
  for (std::string line; std::getline(in, line);) ++lines;
  return lines;
}

}  // namespace

// Builds the benchmark's worksheet file at `path`.
int MakeFile(const char* path) {
  PoolInit();
  int slot = 0;
  if (RegisterOpenSheet("BENCH.WKS", slot) != TOpenResult::kNew || !ActivateDocumentContext(slot) || bench::FillBenchSheet() < 0 ||
      !SaveWorksheet(path, false, TRange{}))
    return std::fprintf(stderr, "cannot build the worksheet file\n"), 1;
  return 0;
}

int main(int argc, char** argv) {
  if (argc == 3 && std::string(argv[1]) == "--make") return MakeFile(argv[2]);
  std::filesystem::path folder = std::filesystem::temp_directory_path() / ("corvane-csv-bench-" + std::to_string(getpid()));
  std::filesystem::create_directories(folder);
  std::filesystem::path wks = folder / "BENCH.WKS", oursCsv = folder / "OURS.CSV", peerCsv = folder / "peer.csv";
  // A process started from this one inherits its peak resident memory as its
  // own starting figure, so the sheet is built in a process of its own and
  // this one stays small.
  TRunFigures make;
  if (!Measure({"/proc/self/exe", "--make", wks.string()}, 1, make))
    return std::fprintf(stderr, "cannot build the worksheet file\n"), 1;
  std::printf("file: %d cells, %.1f MB\n", bench::kSheetRows * bench::kSheetColumns, std::filesystem::file_size(wks) / 1e6);

  TRunFigures ours;
  if (!Measure({WKS_TO_CSV, wks.string(), oursCsv.string()}, 5, ours)) return std::fprintf(stderr, "wks_to_csv failed\n"), 1;
  Print("wks_to_csv (read, recalculate, write CSV)", ours, LineCount(oursCsv));
  if (std::system("command -v ssconvert >/dev/null 2>&1") != 0) {
    std::printf("ssconvert --recalc: skipped, ssconvert is not installed (Debian package gnumeric)\n");
  } else {
    TRunFigures peer;
    if (!Measure({"ssconvert", "--recalc", "--export-type=Gnumeric_stf:stf_csv", wks.string(), peerCsv.string()}, 3, peer)) {
      std::printf("ssconvert --recalc: failed on the file\n");
    } else {
      Print("ssconvert --recalc", peer, LineCount(peerCsv));
      std::printf("wks_to_csv is %.1f times as fast\n", peer.seconds / ours.seconds);
    }
  }
  std::filesystem::remove_all(folder);
  return 0;
}
