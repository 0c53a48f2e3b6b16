// Shared set-up for worksheet-file tests: an engine with one fresh document,
// a temporary folder, shown errors collected, and a readable dump of everything
// a document holds (cells, names, graphs, settings, file state, window state)
// so that two documents compare in one assertion.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "spreadsheet/engine/CellEntry.h"
#include "spreadsheet/engine/EngineError.h"
#include "spreadsheet/engine/FormatSettings.h"
#include "spreadsheet/engine/FormulaText.h"
#include "spreadsheet/windows/NewSheet.h"
#include "spreadsheet/engine/PoolString.h"
#include "spreadsheet/engine/RangeNames.h"
#include "spreadsheet/engine/RangeText.h"
#include "spreadsheet/engine/ShowError.h"
#include "spreadsheet/files/SettingsFile.h"
#include "spreadsheet/files/WorksheetFile.h"
#include "spreadsheet/files/WorksheetFileState.h"
#include "spreadsheet/graphs/NamedGraphs.h"
#include "tests/spreadsheet/engine/EngineTestSupport.h"
#include "tests/spreadsheet/files/TempFolder.h"

namespace corvane::testing {

inline std::vector<std::string> gShownErrors;

class WorksheetTest : public EngineTest {
 protected:
  explicit WorksheetTest(int pages = kPoolMaxCapacity) : EngineTest(pages) {}

  void SetUp() override {
    EngineTest::SetUp();
    ResetFileStates();
    ProgramSettings() = TProgramSettings{};
    FormatSettings() = TFormatSettings{};
    gShownErrors.clear();
    SetShowErrorHandler([](std::string_view message) { gShownErrors.emplace_back(message); });
    NewDocument("SHEET1.WKS");
  }
  void TearDown() override {
    SetShowErrorHandler(nullptr);
    ResetFileStates();
    EngineTest::TearDown();
  }

  // Opens a new, empty document and makes it current.
  void NewDocument(const std::string& name) {
    OpenCurrent(name);
    ASSERT_TRUE(InitNewSheet());
  }

  void Enter(int row, int col, std::string_view text) { ASSERT_TRUE(EnterCell(text, row, col)) << text; }

  std::string Path(const std::string& name) { return folder.File(name); }

  TTempFolder folder;
};

// Offsets of the record heads of `bytes` (main section, then extension).
inline std::vector<std::size_t> RecordHeads(const std::string& bytes) {
  std::vector<std::size_t> heads;
  for (std::size_t pos = 0; pos + 4 <= bytes.size();) {
    heads.push_back(pos);
    int type = static_cast<unsigned char>(bytes[pos]);
    std::size_t length = static_cast<unsigned char>(bytes[pos + 2]) | static_cast<unsigned char>(bytes[pos + 3]) << 8;
    pos += 4 + length;
    if (type == 1 && length == 0) pos += 2;
  }
  return heads;
}

// The type of the record whose head is at `head`.
inline int RecordType(const std::string& bytes, std::size_t head) {
  return static_cast<unsigned char>(bytes[head]) | static_cast<unsigned char>(bytes[head + 1]) << 8;
}

inline std::string NumberText(double x) {
  char text[40];
  std::snprintf(text, sizeof text, "%.17g", x);
  return text;
}

inline std::string RangeDump(const TRange& r) {
  return std::to_string(r.firstCol) + "," + std::to_string(r.firstRow) + ":" + std::to_string(r.lastCol) + "," +
         std::to_string(r.lastRow);
}

// Every cell of the current document, one line each.
inline std::vector<std::string> DumpCells() {
  std::vector<std::string> lines;
  for (int row = 0; row <= gCurrentDoc.highRow; ++row) {
    for (TCellHandle handle = RowListHead(row); handle != kNilHandle;) {
      const TCell* cell = CellPtr(handle);
      std::string line = ColumnLetters(cell->column) + std::to_string(row + 1) + " kind " +
                         std::to_string(cell->kind) + " format " + std::to_string(cell->format) + " attr " +
                         std::to_string(cell->font) + "/" + std::to_string(cell->size) + "/" +
                         std::to_string(cell->style) + "/" + std::to_string(cell->borders) + "/" +
                         std::to_string(cell->attributes) + " [" + CellContentsText(handle) + "]";
      // An ERR result reads back as 0 (the file keeps only the mark), so
      // only the mark is compared.
      if (cell->kind & kKindErrorBit) {
        lines.push_back(line + " = ERR");
        handle = cell->next;
        continue;
      }
      switch (CellKind(*cell)) {
        case kKindStringFormula:
          line += " = \"" + std::string(PoolStringView(CellResultText(*cell))) + "\"";
          break;
        case kKindNumberFormula:
        case kKindReal:
          line += " = " + NumberText(CellReal(*cell));
          break;
        default:
          break;
      }
      lines.push_back(line);
      handle = cell->next;
    }
  }
  return lines;
}

// The names, graphs, settings and file state of the current document.
inline std::vector<std::string> DumpDocumentState() {
  std::vector<std::string> lines;
  for (int index = 1; index <= RangeNameCount(); ++index) {
    const TRangeName* entry = RangeNameAt(index);
    lines.push_back("name " + RangeNameText(*entry) + " " + RangeDump(RangeNameRange(*entry)));
  }
  TGraphRecord graph = CurrentGraph();
  lines.push_back("graph " + std::string(reinterpret_cast<const char*>(graph.Bytes()) + 13, 437 + 389));
  for (int index = 1; index <= GraphCount(); ++index) {
    GraphRecordAt(index, graph);
    lines.push_back("named " + GraphName(index) + std::string(reinterpret_cast<const char*>(graph.Bytes()) + 13, 826));
  }
  const TSheetSettings& s = gCurrentDoc.settings;
  lines.push_back("flags " + std::to_string(s.protection) + std::to_string(s.manualRecalc) +
                  std::to_string(s.hideZeros) + std::to_string(s.negativeInColour) + s.labelPrefix);
  lines.push_back("colours " + std::to_string(s.backgroundColour) + " " + std::to_string(s.bandColour) + " " +
                  std::to_string(s.valueColour) + " " + std::to_string(s.negativeColour) + " " +
                  std::to_string(s.labelColour) + " " + std::to_string(s.unlockedColour) + " " +
                  std::to_string(s.cursorColour));
  for (const TRange& range : s.savedRanges) lines.push_back("saved " + RangeDump(range));
  const TWorksheetFileState& f = CurrentFileState();
  lines.push_back("print " + f.printHeader + "|" + f.printFooter + "|" + f.printSetup);
  std::string words;
  for (int w : f.marginWords) words += std::to_string(w) + " ";
  lines.push_back("margins " + words);
  lines.push_back("data " + std::to_string(f.whatIfType) + " " + std::to_string(f.queryByte) + " " +
                  std::to_string(f.primaryOrder) + " " + std::to_string(f.secondaryOrder) + " " +
                  RangeDump(f.regressionX) + " " + RangeDump(f.regressionY));
  std::string options;
  for (int o : f.dataOptions) options += std::to_string(o) + " ";
  lines.push_back("options " + options);
  lines.push_back("info " + f.info.title + "|" + f.info.comments + "|" + f.info.revisedBy + "|" +
                  NumberText(f.info.creationTime) + "|" + NumberText(f.info.creationDate));
  const TProgramSettings& p = ProgramSettings();
  lines.push_back("distances " + NumberText(p.TopMargin) + " " + NumberText(p.LeftMargin) + " " +
                  NumberText(p.RightMargin) + " " + NumberText(p.BottomMargin) + " " +
                  NumberText(p.HeaderDistance) + " " + NumberText(p.FooterDistance));
  return lines;
}

// Writes `file` to `path` and checks that a load of it stops at the record
// `message` names, shows that once and does not write the file; with
// `stateKept`, the document state is as it was (the damage came before any
// record of it). The caller checks the cells kept.
inline void ExpectLoadStopsAt(const std::string& path, const std::string& file, const std::string& message,
                              bool stateKept = true) {
  std::vector<std::string> state = DumpDocumentState();
  WriteWholeFile(path, file);
  gShownErrors.clear();
  EXPECT_EQ(LoadWorksheetPart(path, 0, 0, 0, ""), TLoadOutcome::kPart);
  EXPECT_EQ(ErrorMessage(), message);
  EXPECT_EQ(gShownErrors, std::vector<std::string>{"Error:" + message});
  if (stateKept) {
    EXPECT_EQ(DumpDocumentState(), state);
  }
  EXPECT_EQ(ReadWholeFile(path), file);
  EXPECT_EQ(PoolCheckInvariants(), "");
}

}  // namespace corvane::testing
