// Shared set-up for engine tests: a fake platform (the real heap, with refusals
// on request, a scripted clock and counted sounds and bitmaps), a fresh pool,
// no open documents and a clear error flag; plus helpers that open a document
// and put labels into cells.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <string_view>

#include "spreadsheet/engine/CellStore.h"
#include "spreadsheet/engine/DocumentTable.h"
#include "spreadsheet/engine/EngineError.h"
#include "spreadsheet/engine/EnginePlatform.h"
#include "spreadsheet/engine/PagePool.h"
#include "spreadsheet/engine/PoolString.h"
#include "spreadsheet/engine/TextCase.h"
#include "tests/spreadsheet/engine/FakeWindowServices.h"

namespace corvane::testing {

class TFakePlatform : public TEnginePlatform {
 public:
  int refuseGetMemAfter = -1;  // -1: never; n: grant n more requests, then refuse
  std::uint64_t physicalMemory = std::uint64_t{1} << 32;
  std::uint32_t tick = 0;
  std::uint32_t tickStep = 1;  // each TickCount call advances the clock by this
  int tickReads = 0;
  int beeps = 0;
  int tones = 0;
  std::uint64_t timeStamp = 0;
  int bitmapLoads = 0;
  std::map<TBitmapHandle, std::string> liveBitmaps;

  ~TFakePlatform() override { SetEnginePlatform(nullptr); }

  std::uint64_t TotalPhysicalMemory() override { return physicalMemory; }
  int liveBlocks = 0;  // blocks handed out by GetMem and not yet given back
  void* GetMem(std::size_t bytes) override {
    if (refuseGetMemAfter == 0) return nullptr;
    if (refuseGetMemAfter > 0) --refuseGetMemAfter;
    void* block = DefaultEnginePlatform().GetMem(bytes);
    if (block) ++liveBlocks;
    return block;
  }
  void FreeMem(void* block) override {
    if (block) --liveBlocks;
    DefaultEnginePlatform().FreeMem(block);
  }
  void MessageBeep() override { ++beeps; }
  void Tone(int, int) override { ++tones; }
  std::uint32_t TickCount() override {
    ++tickReads;
    std::uint32_t now = tick;
    tick += tickStep;
    return now;
  }
  void Idle() override {}
  std::uint64_t TimeStampCounter() override { return timeStamp; }
  TBitmapHandle LoadBitmapFile(std::string_view name) override {
    if (UpperCaseText(name).find("MISSING") != std::string::npos) return kNoBitmap;
    ++bitmapLoads;
    TBitmapHandle handle = 1000 + bitmapLoads;
    liveBitmaps[handle] = std::string(name);
    return handle;
  }
  void FreeBitmap(TBitmapHandle bitmap) override { liveBitmaps.erase(bitmap); }
  std::string VersionText() override { return "test"; }
  std::string UpperCaseAnsi(std::string_view text) override { return DefaultEnginePlatform().UpperCaseAnsi(text); }
  std::string AnsiFromUtf8(std::string_view text) override { return DefaultEnginePlatform().AnsiFromUtf8(text); }
};

inline TRange MakeRange(int c1, int r1, int c2, int r2) {
  TRange range;
  RangeSet(range, c1, r1, c2, r2);
  return range;
}

// A fresh engine for each test: pool of `pages` pages, no documents.
class EngineTest : public ::testing::Test {
 protected:
  explicit EngineTest(int pages = kPoolMaxCapacity) : pages_(pages) {}

  void SetUp() override {
    SetEnginePlatform(&platform);
    SetWindowServices(&windows);
    FreeAllDocuments();
    PoolInit(std::uint64_t{static_cast<unsigned>(pages_)} * kPageBytes);
    gCurrentDoc.settings = TSheetSettings{};
    ClearErrorFlag();
  }
  void TearDown() override {
    FreeAllDocuments();
    PoolFreeAll();
    SetWindowServices(nullptr);
    SetEnginePlatform(nullptr);
  }

  // Opens a new document under `name` and makes it current; its slot.
  int OpenCurrent(std::string_view name) {
    int slot = 0;
    EXPECT_EQ(RegisterOpenSheet(name, slot), TOpenResult::kNew) << name;
    EXPECT_TRUE(ActivateDocumentContext(slot));
    return slot;
  }

  // Makes (row, col) a label cell holding `text` (prefix included).
  TCellHandle PutLabel(int row, int col, std::string_view text) {
    TCellHandle cell = CellGetOrCreate(row, col);
    EXPECT_NE(cell, kNilHandle);
    TPoolHandle label = PoolNewString(text);
    EXPECT_NE(label, kNilHandle);
    CellPtr(cell)->text = label;
    CellPtr(cell)->kind = kKindLabel;
    return cell;
  }

  // The label text of (row, col), "" when it has none.
  std::string LabelAt(int row, int col) {
    const TCell* cell = CellPtr(CellFind(row, col));
    return cell ? std::string(PoolStringView(cell->text)) : "";
  }

  TFakePlatform platform;
  TFakeWindowServices windows;

 private:
  int pages_;
};

}  // namespace corvane::testing
