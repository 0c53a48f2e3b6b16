// A mutation loop over files the writer produced: bytes flipped, lengths
// changed, records cut, duplicated and spliced. Every mutant is parsed, and
// every fourth is loaded or merged into a document; none may crash, leak out
// of its bounds (the sanitizers watch) or leave the pool inconsistent. The
// loop runs a fixed number of rounds from a fixed seed, so it is repeatable.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "spreadsheet/engine/Recalc.h"
#include "spreadsheet/engine/UserFunctions.h"
#include "spreadsheet/files/WorksheetImage.h"
#include "tests/spreadsheet/files/WorksheetTestSupport.h"

namespace corvane {
namespace {

using testing::MakeRange;
using testing::RecordHeads;
using testing::WorksheetTest;
using testing::WriteWholeFile;

constexpr int kRounds = 20000;

class WorksheetFuzzTest : public WorksheetTest {
 protected:
  std::vector<std::string> Seeds() {
    std::vector<std::string> seeds;
    Enter(0, 0, "5");
    Enter(0, 1, "1.5");
    Enter(1, 0, "'label");
    Enter(1, 1, "+A1*B1+@SUM(A1..B1)");
    Enter(1, 2, "+\"text\"");
    Enter(2, 2, "+1/0");
    Enter(3, 3, "@IF(A1>2,A1,B1)");
    AppendDocumentUserFunction({"TWICE", "@A(1)*2", 1});
    AppendDocumentUserFunction({"PAIR", "@A(1)&@A(2)", 2});
    Enter(4, 0, "@TWICE(A1)+@TWICE(@TWICE(B1))");
    Enter(4, 1, "@PAIR(\"a\",A2)");
    Enter(5, 0, "+[C:\\OTHER.WKS]B2+1");
    Enter(6, 1, "+A7*2");
    Enter(91, 0, "4");
    Enter(91, 1, "+A92+1");
    RangeNameCreate("FIRST", MakeRange(0, 0, 1, 1));
    GraphStore("G1");
    windows.columnSizes = {{1, 20}};
    windows.rowSizes = {{2, 40}};
    windows.tabNames = {"One", "Two"};
    windows.buttons = {{"Go", "{HOME}", 1, 1, 2, 3, 40, 20}};
    CellPtr(CellFind(0, 0))->font = 1;
    seeds.push_back(WorksheetBytes(false, TRange{}));
    seeds.push_back(WorksheetBytes(true, MakeRange(0, 0, 2, 2)));
    // A cell given twice: the place of B92's formula, then of A92's number,
    // turned into B7's.
    auto cellRecord = [&](int row, int col) {
      for (std::size_t head : RecordHeads(seeds[0]))
        if (testing::RecordType(seeds[0], head) >= 13 && testing::RecordType(seeds[0], head) <= 16 &&
            seeds[0].compare(head + 5, 4, std::string{static_cast<char>(col), 0, static_cast<char>(row), 0}) == 0)
          return head;
      ADD_FAILURE() << "no record for row " << row << " column " << col;
      return std::size_t{0};
    };
    for (std::size_t head : {cellRecord(91, 1), cellRecord(91, 0)}) {
      std::string twice = seeds[0];
      twice.replace(head + 5, 4, std::string{1, 0, 6, 0});
      seeds.push_back(twice);
    }
    return seeds;
  }
};

std::string Mutate(std::mt19937& random, const std::vector<std::string>& seeds) {
  std::string bytes = seeds[random() % seeds.size()];
  std::vector<std::size_t> heads = RecordHeads(bytes);
  int steps = 1 + random() % 4;
  for (int k = 0; k < steps && !bytes.empty(); ++k) {
    std::size_t at = random() % bytes.size();
    switch (random() % 7) {
      case 0:  // flip bits
        bytes[at] = static_cast<char>(bytes[at] ^ (1 << (random() % 8)));
        break;
      case 1:  // an extreme byte
        bytes[at] = static_cast<char>(random() % 2 ? 0xFF : 0x00);
        break;
      case 2:  // a record's length field
        if (!heads.empty()) {
          std::size_t head = heads[random() % heads.size()];
          if (head + 3 < bytes.size()) {
            std::uint16_t lengths[] = {0, 1, 2, 3, 0x7FFF, 0xFFFF, static_cast<std::uint16_t>(random())};
            std::uint16_t length = lengths[random() % 7];
            bytes[head + 2] = static_cast<char>(length);
            bytes[head + 3] = static_cast<char>(length >> 8);
          }
        }
        break;
      case 3:  // cut off
        bytes.resize(at);
        break;
      case 4:  // a stretch repeated
        bytes.insert(at, bytes.substr(at, random() % 64));
        break;
      case 5:  // a stretch removed
        bytes.erase(at, random() % 16);
        break;
      default: {  // spliced with another seed
        const std::string& other = seeds[random() % seeds.size()];
        bytes = bytes.substr(0, at) + other.substr(std::min<std::size_t>(at, other.size()));
        break;
      }
    }
  }
  return bytes;
}

TEST_F(WorksheetFuzzTest, MutatedFilesNeverCrashOrCorruptTheDocument) {
  std::vector<std::string> seeds = Seeds();
  std::mt19937 random(20261209);
  std::string path = Path("FUZZ.WKS");
  int loaded = 0, refused = 0;
  for (int round = 0; round < kRounds; ++round) {
    // The first loads take each seed as it is.
    std::size_t seed = static_cast<std::size_t>(round / 4);
    std::string bytes = round % 4 == 0 && seed < seeds.size() ? seeds[seed] : Mutate(random, seeds);
    wks::TWorksheetImage image;
    ClearErrorFlag();
    bool parsed = wks::ParseWorksheet(bytes, round % 2 ? wks::TReadScope::kLoad : wks::TReadScope::kCells, image);
    ASSERT_TRUE(parsed || ErrorFlagSet()) << "round " << round;
    if (round % 4 != 0) continue;
    if (round % 200 == 0) {
      ReleaseOpenSheet(gCurrentDoc.ownerTag);
      NewDocument("FUZZ" + std::to_string(round) + ".WKS");
    }
    WriteWholeFile(path, bytes);
    int mode = round % 8 == 0 ? kLoadMerge | static_cast<int>(random() % 8) : 0;
    if (LoadWorksheet(path, mode, static_cast<int>(random() % 100), static_cast<int>(random() % 20), "")) {
      ++loaded;
      // What was taken in must also evaluate, show as text and save to a
      // file that reads back (checked on every third load or merge).
      if (round % 3 == 0) {
        RecalcAll();
        testing::DumpCells();
        wks::TWorksheetImage again;
        ASSERT_TRUE(wks::ParseWorksheet(WorksheetBytes(false, TRange{}), wks::TReadScope::kLoad, again))
            << "round " << round << ": " << ErrorMessage();
      }
    } else {
      ASSERT_FALSE(ErrorMessage().empty()) << "round " << round;
      ++refused;
    }
    ASSERT_EQ(PoolCheckInvariants(), "") << "round " << round;
    ASSERT_EQ(CountMarkedCells(), 0) << "round " << round;
  }
  // Both outcomes occur, so the loop reaches past the first record.
  EXPECT_GT(loaded, 0);
  EXPECT_GT(refused, 0);
}

}  // namespace
}  // namespace corvane
