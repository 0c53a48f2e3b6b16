// Open documents: sharing by name, slot reuse, untitled sheets, the context swap
// between documents, releasing the current document and failures to open.
#include "spreadsheet/engine/DocumentTable.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "spreadsheet/engine/RangeNames.h"
#include "tests/spreadsheet/engine/EngineTestSupport.h"

namespace corvane::testing {
namespace {

using OpenDocuments = EngineTest;

TEST_F(OpenDocuments, TheSameNameInAnyCaseSharesOneSlotUntilTheLastWindowCloses) {
  int first = OpenCurrent("c:\\data\\Budget.wks");
  TOwnerTag tag = DocSlot(first)->ownerTag;
  ASSERT_NE(CellGetOrCreate(5, 5), kNilHandle);
  int second = 0;
  EXPECT_EQ(RegisterOpenSheet("C:\\DATA\\BUDGET.WKS", second), TOpenResult::kShared);
  EXPECT_EQ(second, first);
  EXPECT_EQ(DocSlot(first)->refCount, 1);
  EXPECT_EQ(DocSlot(first)->fileName, "C:\\DATA\\BUDGET.WKS");

  ReleaseOpenSheet(tag);  // the first window closes
  EXPECT_TRUE(HaveCurrentDocument());
  EXPECT_NE(CellFind(5, 5), kNilHandle);
  EXPECT_EQ(PoolUsedByOwner(tag), 36);

  ReleaseOpenSheet(tag);  // the last window closes
  EXPECT_EQ(DocSlot(first)->rowHeads, nullptr);
  EXPECT_EQ(PoolUsedByOwner(tag), 0);
  int found = -1;
  EXPECT_FALSE(FindOpenSheet("c:\\data\\budget.wks", found));
  EXPECT_EQ(found, 0);

  // Letters beyond a..z too: "été" and "ÉTÉ" name one file.
  int accented = OpenCurrent("c:\\\xE9t\xE9.wks");
  EXPECT_EQ(DocSlot(accented)->fileName, "C:\\\xC9T\xC9.WKS");
  EXPECT_TRUE(FindOpenSheet("C:\\\xC9t\xE9.WKS", found));
  EXPECT_EQ(found, accented);
}

TEST_F(OpenDocuments, AFreedSlotInTheMiddleIsReusedByTheNextDocument) {
  int a = 0, b = 0, c = 0, d = 0;
  RegisterOpenSheet("A.WKS", a);
  RegisterOpenSheet("B.WKS", b);
  RegisterOpenSheet("C.WKS", c);
  EXPECT_EQ(a, 1);
  EXPECT_EQ(b, 2);
  EXPECT_EQ(c, 3);
  ReleaseOpenSheet(DocSlot(b)->ownerTag);
  EXPECT_EQ(RegisterOpenSheet("D.WKS", d), TOpenResult::kNew);
  EXPECT_EQ(d, 2);
  EXPECT_EQ(DocSlotCount(), 3);
  EXPECT_NE(DocSlot(d)->ownerTag, DocSlot(a)->ownerTag);
  EXPECT_NE(DocSlot(d)->ownerTag, DocSlot(c)->ownerTag);
}

TEST_F(OpenDocuments, UntitledSheetsNeverShareAStoreByName) {
  int one = 0, two = 0, titled = 0, empty1 = 0, empty2 = 0;
  EXPECT_EQ(RegisterOpenSheet("SHEET2.WKS", one, true), TOpenResult::kNew);
  EXPECT_EQ(RegisterOpenSheet("SHEET2.WKS", two, true), TOpenResult::kNew);
  EXPECT_EQ(RegisterOpenSheet("sheet2.wks", titled), TOpenResult::kNew) << "a file of that name is another document";
  EXPECT_EQ(RegisterOpenSheet("", empty1), TOpenResult::kNew);
  EXPECT_EQ(RegisterOpenSheet("", empty2), TOpenResult::kNew);
  EXPECT_EQ(DocSlotCount(), 5);
  // A second window on an untitled sheet shares it by its slot; its store
  // stays until both windows have gone.
  EXPECT_TRUE(ShareOpenSheet(two));
  EXPECT_EQ(DocSlot(two)->refCount, 1);
  EXPECT_FALSE(ShareOpenSheet(0));
  EXPECT_FALSE(ShareOpenSheet(6)) << "no document there";
  ReleaseOpenSheet(DocSlot(two)->ownerTag);
  EXPECT_NE(DocSlot(two)->rowHeads, nullptr) << "one window still shows it";

  // Saved under a name, an untitled sheet is shared like any file.
  ASSERT_TRUE(RenameOpenSheet(one, "c:\\q1.wks"));
  int again = 0;
  EXPECT_EQ(RegisterOpenSheet("C:\\Q1.WKS", again), TOpenResult::kShared);
  EXPECT_EQ(again, one);
}

TEST_F(OpenDocuments, TwoDocumentsSwappedInAndOutKeepTheirExtentNamesSettingsAndGraph) {
  int a = OpenCurrent("A.WKS");
  CellGetOrCreate(10, 5);
  RangeNameCreate("ALPHA", MakeRange(0, 0, 1, 1));
  gCurrentDoc.settings.protection = 1;
  gCurrentDoc.settings.rowsPerSheet = 2048;
  gCurrentDoc.graphs[0] = PoolAlloc(kGraphRecordBytes);
  std::memset(gCurrentDoc.currentGraph, 0xA1, kGraphRecordBytes);
  StoreSlotSettings(a);  // the window's deactivation

  int b = OpenCurrent("B.WKS");
  EXPECT_EQ(gCurrentDoc.highRow, 0) << "a new document starts empty";
  EXPECT_EQ(RangeNameCount(), 0);
  EXPECT_EQ(gCurrentDoc.settings.protection, 0);
  EXPECT_EQ(gCurrentDoc.currentGraph[0], 0);
  CellGetOrCreate(3, 3);
  RangeNameCreate("BETA", MakeRange(2, 2, 3, 3));
  RangeNameCreate("GAMMA", MakeRange(2, 2, 3, 3));
  gCurrentDoc.settings.modified = 1;
  gCurrentDoc.graphs[0] = PoolAlloc(kGraphRecordBytes);
  std::memset(gCurrentDoc.currentGraph, 0xB2, kGraphRecordBytes);
  StoreSlotSettings(b);

  for (int round = 0; round < 3; ++round) {
    ASSERT_TRUE(ActivateDocumentContext(a));
    EXPECT_EQ(PoolGetOwner(), DocSlot(a)->ownerTag);
    EXPECT_EQ(gCurrentDoc.highRow, 10);
    EXPECT_EQ(gCurrentDoc.highCol, 5);
    ASSERT_EQ(RangeNameCount(), 1);
    EXPECT_EQ(RangeNameText(*RangeNameAt(1)), "ALPHA");
    EXPECT_EQ(gCurrentDoc.settings.protection, 1);
    EXPECT_EQ(gCurrentDoc.settings.rowsPerSheet, 2048);
    EXPECT_EQ(gCurrentDoc.settings.modified, 0);
    EXPECT_EQ(gCurrentDoc.currentGraph[838], 0xA1);
    EXPECT_NE(CellFind(10, 5), kNilHandle);
    EXPECT_EQ(CellFind(3, 3), kNilHandle);
    StoreSlotSettings(a);

    ASSERT_TRUE(ActivateDocumentContext(b));
    EXPECT_EQ(gCurrentDoc.highRow, 3);
    ASSERT_EQ(RangeNameCount(), 2);
    EXPECT_EQ(RangeNameText(*RangeNameAt(2)), "GAMMA");
    EXPECT_EQ(gCurrentDoc.settings.protection, 0);
    EXPECT_EQ(gCurrentDoc.settings.modified, 1);
    EXPECT_EQ(gCurrentDoc.currentGraph[0], 0xB2);
    EXPECT_NE(CellFind(3, 3), kNilHandle);
    EXPECT_EQ(CellFind(10, 5), kNilHandle);
    StoreSlotSettings(b);
  }
}

TEST_F(OpenDocuments, ASecondWindowOnTheCurrentDocumentSkipsTheSwap) {
  int a = OpenCurrent("A.WKS");
  int again = 0;
  RegisterOpenSheet("A.WKS", again);
  gCurrentDoc.highRow = 77;  // not yet saved into the slot
  ASSERT_TRUE(ActivateDocumentContext(again));
  EXPECT_EQ(gCurrentDoc.highRow, 77);
  EXPECT_EQ(again, a);
  EXPECT_FALSE(ActivateDocumentContext(200)) << "a free slot";
}

TEST_F(OpenDocuments, ClosingTheCurrentDocumentLeavesNoDocumentCurrent) {
  int a = OpenCurrent("A.WKS");
  CellGetOrCreate(50, 50);
  RangeNameCreate("OLD", MakeRange(1, 1, 1, 1));
  ReleaseOpenSheet(DocSlot(a)->ownerTag);
  EXPECT_FALSE(HaveCurrentDocument());
  EXPECT_EQ(PoolGetOwner(), kNoOwner);
  EXPECT_EQ(CurrentDocSlot(), 0);
  EXPECT_EQ(CellGetOrCreate(1, 1), kNilHandle);
  EXPECT_EQ(RangeNameCount(), 0);

  // The next document may get the same row table from the heap; it must start
  // empty, not with the closed document's extent and names.
  OpenCurrent("B.WKS");
  EXPECT_EQ(gCurrentDoc.highRow, 0);
  EXPECT_EQ(RangeNameCount(), 0);
  EXPECT_EQ(FindRangeName("OLD"), 0);
  EXPECT_NE(CellGetOrCreate(1, 1), kNilHandle);
}

TEST_F(OpenDocuments, ARowTableTheHeapRefusesIsReportedAsOutOfMemory) {
  platform.refuseGetMemAfter = 0;
  int slot = -1;
  EXPECT_EQ(RegisterOpenSheet("A.WKS", slot), TOpenResult::kFailed);
  EXPECT_EQ(slot, 0);
  EXPECT_TRUE(ErrorFlagSet());
  EXPECT_EQ(ErrorMessage(), "Out of Memory");
  EXPECT_EQ(DocSlotCount(), 0);
  EXPECT_FALSE(FindOpenSheet("A.WKS", slot));
  platform.refuseGetMemAfter = -1;
  EXPECT_EQ(RegisterOpenSheet("A.WKS", slot), TOpenResult::kNew);
  EXPECT_EQ(slot, 1);
}

TEST_F(OpenDocuments, TheTableHolds255DocumentsAndRefusesTheNext) {
  int slot = 0;
  for (int i = 1; i <= 255; ++i) ASSERT_EQ(RegisterOpenSheet("D" + std::to_string(i), slot), TOpenResult::kNew) << i;
  EXPECT_EQ(slot, 255);
  EXPECT_EQ(RegisterOpenSheet("ONE.MORE", slot), TOpenResult::kFailed);
  EXPECT_EQ(ErrorMessage(), "Out of Memory");
  ReleaseOpenSheet(DocSlot(100)->ownerTag);
  EXPECT_EQ(RegisterOpenSheet("ONE.MORE", slot), TOpenResult::kNew);
  EXPECT_EQ(slot, 100);
}

TEST_F(OpenDocuments, AParkedStoreComesBackAfterATemporaryOne) {
  int a = OpenCurrent("A.WKS");
  CellGetOrCreate(2, 2);
  SaveCurrentStore();
  // A temporary store, as a file merge builds one.
  auto temp = std::make_unique<TPoolHandle[]>(kRowHeadEntries);
  TOwnerTag tempTag = PoolNextOwner();
  gCurrentDoc.rowHeads = temp.get();
  gCurrentDoc.highRow = gCurrentDoc.highCol = 0;
  PoolSetOwner(tempTag);
  CellGetOrCreate(9, 9);
  SaveSheetContext();  // no slot holds the temporary table: nothing is written
  EXPECT_EQ(DocSlot(a)->highRow, 0);
  RestoreCurrentStore();
  PoolFreeOwner(tempTag);
  EXPECT_EQ(PoolGetOwner(), DocSlot(a)->ownerTag);
  EXPECT_EQ(gCurrentDoc.highRow, 2);
  EXPECT_NE(CellFind(2, 2), kNilHandle);
  EXPECT_EQ(CellFind(9, 9), kNilHandle);
}

TEST_F(OpenDocuments, FreeingAllDocumentsReturnsEveryPage) {
  OpenCurrent("A.WKS");
  CellGetOrCreate(1, 1);
  OpenCurrent("B.WKS");
  CellGetOrCreate(2, 2);
  FreeAllDocuments();
  EXPECT_EQ(PoolUsedBytes(), 0);
  EXPECT_EQ(DocSlotCount(), 0);
  EXPECT_FALSE(HaveCurrentDocument());
}

TEST(WksFileName, AddsTheWorksheetExtensionOnlyWhenTheNameHasNone) {
  struct Case {
    const char *name, *expected;
  } cases[] = {
      {"budget", "BUDGET.WKS"},         {"budget.txt", "BUDGET.TXT"},
      {"c:\\dir.x\\plan", "C:\\DIR.X\\PLAN.WKS"}, {"a.b/c", "A.B/C.WKS"},
      {"c:plan", "C:PLAN.WKS"},         {"Q1.wks", "Q1.WKS"},
      // Every letter of the ANSI code page, not only a..z.
      {"my budget \xE9t\xE9.wks", "MY BUDGET \xC9T\xC9.WKS"}, {"\xFF\x9A\xDF\xF7", "\x9F\x8A\xDF\xF7.WKS"},
  };
  for (const Case& c : cases) EXPECT_EQ(WksFileName(c.name), c.expected) << c.name;
}

}  // namespace
}  // namespace corvane::testing
