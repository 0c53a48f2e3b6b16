// The logical and information functions: NA and ERR, the IS tests, IF, and
// what the program, the sheet and the (scripted) machine report.
#include "tests/spreadsheet/engine/FunctionTestSupport.h"

namespace corvane {
namespace {

using testing::Err;
using testing::FunctionTest;
using testing::Text;

TEST_F(FunctionTest, TruthValuesAndErrorTests) {
  CheckRows({
      {"@NA", -1},           Err("@ERR"),             Err("@ERR+1"),         {"@ISNA(@NA)", 1},
      {"@ISNA(-1)", 1},      {"@ISNA(0)", 0},         {"@ISNA(@ERR)", 1},    {"@ISERR(@ERR)", 1},
      {"@ISERR(1/0)", 1},    {"@ISERR(@NA)", 0},      {"@ISERR(5)", 0},      {"@ISERR(@ERR)+1", 2},
      {"@ISNA(@ERR)+1", 2},  {"@FALSE", 0},           {"@TRUE", 1},          {"@IF(2,10,20)", 20},
      {"@IF(1,10,20)", 10},  {"@IF(0,10,20)", 20},    {"@IF(0.999,10,20)", 20}, {"@IF(0,@ERR,5)", 5},
      Err("@IF(1,@ERR,5)"),  Err("@IF(@ERR,1,2)"),    Text("@IF(1,\"yes\",\"no\")", "yes"),
      Text("@IF(0,\"yes\",\"no\")", "no"), {"@IF(1,3,\"no\")", 3}, {"@IF(\"x\",10,20)", 20},
  });
}

TEST_F(FunctionTest, CellTestsLookAtTheLastNamedCell) {
  Enter(0, 0, "12");
  Enter(1, 0, "label");
  Enter(2, 0, "+A1*2");
  Enter(3, 0, "+A2");  // a formula whose value is a text
  CheckRows({
      {"@ISNUM(A1)", 1}, {"@ISNUM(A2)", 0}, {"@ISNUM(A3)", 1}, {"@ISNUM(A4)", 0},
      {"@ISSTR(A1)", 0}, {"@ISSTR(A2)", 1}, {"@ISSTR(A4)", 1}, {"@ISNUM(5)", 0},
      {"@ISSTR(\"a\")", 0},
  });
}

TEST_F(FunctionTest, ProgramAndSheetFacts) {
  FunctionSettings().quickView[0] = 3;
  FunctionSettings().quickView[1] = 7;
  CheckRows({
      {"@MEMAVAIL(0)", 66842640}, {"@MEMAVAIL(7)", 7},  Text("@DOSVER", "N/A"), {"@VERSION", 1.6008},
      {"@AUTO", 1},               {"@PROTECT", 0},      {"@QVIEW(0)", 3},       {"@QVIEW(1)", 7},
      Err("@QVIEW(2)"),           {"@RAND", 0.25},      Text("@PATH", "C:\\WORK"), {"@OSVER", 4.01},
      Text("@FILENAME", "SHEET1.WKS"),
  });
  gCurrentDoc.settings.manualRecalc = 1;
  gCurrentDoc.settings.protection = 1;
  CellPtr(CellFind(19, 10))->format &= 0x7F;  // the result cell stays open to entry
  CheckRows({{"@AUTO", 0}, {"@PROTECT", 1}});
}

TEST_F(FunctionTest, MemAvailTellsFreeAndUsedPoolBytes) {
  CheckRows({{"@MEMAVAIL(1)>0", 1}, {"@MEMAVAIL(2)>0", 1}});
}

TEST_F(FunctionTest, IoResultIsReadOnce) {
  SetIoResult(5);
  CheckRows({{"@IORESULT", 5}, {"@IORESULT", 0}});
}

TEST_F(FunctionTest, FileInfoAsksTheHost) {
  host.files["C:\\A.TXT"] = TFileFacts{1234, true, 0x10021};
  host.files["C:\\LOCKED.TXT"] = TFileFacts{10, false, 0x01};
  CheckRows({
      {"@FILEINFO(\"C:\\A.TXT\",1)", 1234},
      {"@FILEINFO(\"C:\\A.TXT\",2)", 1},
      {"@FILEINFO(\"C:\\A.TXT\",3)", 0x21},  // the low 16 bits
      Text("@FILEINFO(\"C:\\A.TXT\",4)", "N/A"),
      {"@FILEINFO(\"C:\\LOCKED.TXT\",2)", 0},
      {"@FILEINFO(\"C:\\NONE.TXT\",2)", 0},
      Err("@FILEINFO(\"C:\\NONE.TXT\",1)"),
      Err("@FILEINFO(\"C:\\NONE.TXT\",3)"),
      Err("@FILEINFO(\"C:\\A.TXT\",0)"),
      Err("@FILEINFO(\"C:\\A.TXT\",5)"),
  });
  EXPECT_EQ(host.lastQueried, "C:\\NONE.TXT");
}

}  // namespace
}  // namespace corvane
