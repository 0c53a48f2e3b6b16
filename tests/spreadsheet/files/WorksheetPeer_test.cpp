// A file this program writes, opened by a free spreadsheet program's import
// filter for the classic worksheet format: its numbers, labels and formulas
// (which the peer recalculates from their code) must show the same values.
// Skipped, saying why, when the peer ("soffice") is not installed; a peer
// that does not start fails with its own output, told apart from a wrong value.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string_view>
#include <string>
#include <vector>

#include "tests/spreadsheet/files/WorksheetTestSupport.h"

namespace corvane {
namespace {

using testing::WorksheetTest;

bool PeerInstalled() { return std::system("command -v soffice >/dev/null 2>&1") == 0; }

// What one run of the peer's conversion gave: its exit status, everything it
// printed, and the CSV it wrote ("<missing>" when none).
struct TPeerRun {
  int status = 0;  // -1 when it did not end by itself
  std::string output;
  std::string csv;
  bool Started() const { return status == 0 && csv != "<missing>"; }
};

// The name of the peer's own import filter for ".WKS" files, or "" when its
// registry does not say. Its type detection alone may hand such a file to
// another of its filters, so the filter is named: the one its calc registry
// prefers for a type that its own format detector reads, with "wks" among
// the type's extensions.
std::string PeerWksFilter() {
  const std::string registry = testing::ReadWholeFile("/usr/lib/libreoffice/share/registry/calc.xcd");
  // The text of property `name` in `node`: "<prop oor:name=NAME> <value>TEXT</value>".
  const auto property = [](std::string_view node, std::string_view name) -> std::string {
    std::size_t at = node.find("<prop oor:name=\"" + std::string(name) + "\">");
    if (at == std::string_view::npos) return "";
    std::size_t begin = node.find("<value>", at), end = node.find("</value>", at);
    if (begin == std::string_view::npos || end == std::string_view::npos || end < begin) return "";
    return std::string(node.substr(begin + 7, end - begin - 7));
  };
  for (std::size_t at = 0; (at = registry.find("<node oor:name=", at)) != std::string::npos;) {
    std::size_t end = registry.find("</node>", at);
    if (end == std::string::npos) break;
    const std::string_view node = std::string_view(registry).substr(at, end - at);
    at = end;
    if (property(node, "DetectService") != "com.sun.star.comp.calc.FormatDetector") continue;
    if ((" " + property(node, "Extensions") + " ").find(" wks ") == std::string::npos) continue;
    return property(node, "PreferredFilter");
  }
  return "";
}

// Converts `path` to CSV in `folder` with the peer's import filter for the
// classic worksheet format.
TPeerRun ConvertWithPeer(const testing::TTempFolder& folder, const std::string& path) {
  std::string profile = "file://" + folder.File("profile");
  std::string log = folder.File("peer.log");
  std::string command = "cd '" + folder.Path() + "' && soffice -env:UserInstallation=" + profile +
                        " --headless --infilter='" + PeerWksFilter() + "' --convert-to csv --outdir '" + folder.Path() + "' '" + path +
                        "' >'" + log + "' 2>&1";
  TPeerRun run;
  int status = std::system(command.c_str());
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  run.output = testing::ReadWholeFile(log);
  run.csv = testing::ReadWholeFile(folder.File("PEER.csv"));
  return run;
}

// One CSV line split into fields (double quotes group, "" is a quote).
std::vector<std::string> CsvFields(const std::string& line) {
  std::vector<std::string> fields(1);
  bool quoted = false;
  for (std::size_t i = 0; i < line.size(); ++i) {
    char c = line[i];
    if (quoted) {
      if (c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
        fields.back() += '"';
        ++i;
      } else if (c == '"') {
        quoted = false;
      } else {
        fields.back() += c;
      }
    } else if (c == '"') {
      quoted = true;
    } else if (c == ',') {
      fields.emplace_back();
    } else if (c != '\r') {
      fields.back() += c;
    }
  }
  return fields;
}

class WorksheetPeerTest : public WorksheetTest {};

TEST_F(WorksheetPeerTest, APeerReadsTheSameValuesAndRecalculatesTheFormulas) {
  if (!PeerInstalled()) GTEST_SKIP() << "soffice is not installed: the peer check needs libreoffice-calc-nogui";
  if (PeerWksFilter().empty()) GTEST_SKIP() << "the peer's registry names no import filter for .WKS files";
  // The common subset: numbers, labels, arithmetic, comparisons and the
  // classic functions over relative, mixed and absolute references. Two things
  // this peer misreads are left out: an absolute reference to A1 (it shows
  // #NAME?) and relative row offsets beyond 1023 (it keeps 11 bits of them).
  struct Cell {
    int row, col;
    const char* typed;
    const char* shown;
  } cells[] = {
      {0, 0, "5", "5"},                     {0, 1, "1.5", "1.5"},
      {0, 2, "-40000.25", "-40000.25"},     {0, 3, "Plain", "Plain"},
      {0, 4, "\"Right", "Right"},           {1, 0, "+A1+B1", "6.5"},
      {1, 1, "+A1*2-C1/4", "10010.0625"},   {1, 2, "@SUM(A1..B2)", "10023.0625"},
      {1, 3, "+$B$2*A2", "65065.40625"},    {2, 0, "+A2-A1", "1.5"},
      {2, 1, "(A1+B1)/2", "3.25"},          {2, 2, "@AVG(A1..B1)", "3.25"},
      {2, 3, "@MAX(A1..C1)", "5"},          {3, 0, "@ABS(C1)", "40000.25"},
      {3, 1, "@INT(B1*3)", "4"},            {3, 2, "@SQRT(16)", "4"},
      {3, 3, "@ROUND(C1,0)", "-40000"},     {4, 0, "-7", "-7"},
      {4, 1, "+A5^2", "49"},                {4, 2, "@IF(A1>2,A1,B1)", "5"},
      {4, 3, "+A$1+$A2", "11.5"},           {5, 0, "@MIN(A1..D5)", "-40000.25"},
      {40, 0, "1E+10", "10000000000"},      {40, 1, "+A41*2", "20000000000"},
      {900, 3, "+D1000-A1", "10"},          {999, 3, "+A1*3", "15"},
  };
  for (const Cell& cell : cells) Enter(cell.row, cell.col, cell.typed);
  std::string path = Path("PEER.WKS");
  ASSERT_TRUE(SaveWorksheet(path, false, TRange{}));

  // A peer that did not start (on a fresh machine its first start once ended
  // at once) compared nothing, which is no wrong result: it is tried once
  // more, and a second failure says so, with what the peer printed.
  TPeerRun run = ConvertWithPeer(folder, path);
  if (!run.Started()) {
    std::printf("The peer did not start (exit status %d); trying once more. Its output:\n%s\n", run.status,
                run.output.c_str());
    run = ConvertWithPeer(folder, path);
  }
  ASSERT_TRUE(run.Started()) << "The peer did not start, so no value was compared: soffice exited with status "
                             << run.status << (run.csv == "<missing>" ? " and wrote no CSV" : "")
                             << ". Its output:\n" << run.output;
  const std::string& csv = run.csv;
  std::vector<std::vector<std::string>> grid;
  std::size_t start = 0;
  while (start < csv.size()) {
    std::size_t end = csv.find('\n', start);
    if (end == std::string::npos) end = csv.size();
    grid.push_back(CsvFields(csv.substr(start, end - start)));
    start = end + 1;
  }
  for (const Cell& cell : cells) {
    SCOPED_TRACE(cell.typed);
    ASSERT_LT(static_cast<std::size_t>(cell.row), grid.size());
    const std::vector<std::string>& line = grid[cell.row];
    std::string shown = static_cast<std::size_t>(cell.col) < line.size() ? line[cell.col] : "<none>";
    char* end = nullptr;
    double expected = std::strtod(cell.shown, &end);
    if (*end != '\0') {
      EXPECT_EQ(shown, cell.shown);
      continue;
    }
    double value = std::strtod(shown.c_str(), &end);
    EXPECT_TRUE(!shown.empty() && *end == '\0') << shown;
    EXPECT_NEAR(value, expected, std::fabs(expected) * 1e-12) << shown;
    // Where this program has computed the value itself, it agrees.
    const TCell* ours = CellPtr(CellFind(cell.row, cell.col));
    if (ours && !(ours->kind & kKindErrorBit)) {
      double own = CellKind(*ours) == kKindInteger ? CellInteger(*ours) : CellReal(*ours);
      EXPECT_NEAR(own, expected, std::fabs(expected) * 1e-12);
    }
  }
}

}  // namespace
}  // namespace corvane
