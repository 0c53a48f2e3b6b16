// The settings file: the text written for the defaults, reading each value
// form, comments and damaged lines, the round trip, the backup, failed
// writes, and the default settings block reaching new sheets.
#include "spreadsheet/files/SettingsFile.h"
#include "spreadsheet/engine/FunctionSettings.h"
#include "spreadsheet/engine/UndoBuffer.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "spreadsheet/engine/EngineError.h"
#include "spreadsheet/engine/EngineHelpers.h"
#include "spreadsheet/engine/FormatSettings.h"
#include "spreadsheet/engine/SheetSettings.h"
#include "tests/spreadsheet/engine/EngineTestSupport.h"
#include "tests/spreadsheet/files/TempFolder.h"

namespace corvane {
namespace {

using testing::ReadWholeFile;
using testing::TTempFolder;
using testing::WriteWholeFile;

class TFakeSettingsHost : public TSettingsHost {
 public:
  bool hasPrinter = true;
  int orientation = 0;
  int orientationSets = 0;
  int processorType = kPentiumProcessorType;
  int separatorRebuilds = 0;

  bool GetPrinterOrientation(int& o) override {
    o = orientation;
    return hasPrinter;
  }
  void SetPrinterOrientation(int o) override {
    ++orientationSets;
    if (hasPrinter) orientation = o;
  }
  int ProcessorType() override { return processorType; }
  void SeparatorsChanged() override { ++separatorRebuilds; }
};

class SettingsFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetAll();
    SetSettingsHost(&host);
    ProgramSettings().ProgramFolder = folder.Path();
    ClearErrorFlag();
  }
  void TearDown() override {
    ResetAll();
    SetSettingsHost(nullptr);
    ClearErrorFlag();
  }
  static void ResetAll() {
    ProgramSettings() = TProgramSettings{};
    DefaultSheetSettings() = TSheetSettings{};
    FormatSettings() = TFormatSettings{};
    gUseTimeStampClock = false;
  }
  // Reads a settings file holding `text` (lines joined with CR LF).
  void ReadText(const std::string& text) {
    WriteWholeFile(SettingsFilePath(), text);
    ReadSettingsFile();
  }
  std::string IniPath() { return folder.File("CRV32.INI"); }

  TTempFolder folder;
  TFakeSettingsHost host;
};

TEST_F(SettingsFileTest, MissingFileGivesTheDefaultsAndThisText) {
  ReadSettingsFile();
  EXPECT_EQ(ProgramSettings().SaveDir, folder.Path());
  EXPECT_EQ(ProgramSettings().LoadDir, folder.Path());
  EXPECT_EQ(ProgramSettings().Formats.size(), 9u);
  EXPECT_EQ(host.separatorRebuilds, 1);
  EXPECT_EQ(SettingsFilePath(), IniPath());
  ASSERT_TRUE(WriteSettingsFile());
  std::string f = folder.Path();
  std::string expected =
      "\r\n[Directories]\r\nSTART=" + f + "\r\nSAVE=" + f + "\r\nLOAD=" + f +
      "\r\n"
      "\r\n[Formats]\r\nFORMAT=F2,Fixed\r\nFORMAT=S2,Science\r\nFORMAT=M2,Comma\r\nFORMAT=G,General\r\n"
      "FORMAT=P2,Percent\r\nFORMAT=E2,Eng\r\nFORMAT=C2,Currency\r\nFORMAT=D0,YY:MM:DD\r\nFORMAT=X,Text\r\n"
      "\r\n[Flags]\r\nPRO=FALSE\r\nNEG=FALSE\r\nZERO=FALSE\r\nBAND=TRUE\r\nMCALC=FALSE\r\n3DON=FALSE\r\n"
      "DIST=TRUE\r\nTIPS=TRUE\r\nUSDATE=TRUE\r\nQBAR=TRUE\r\nMBAR=TRUE\r\nSBAR=TRUE\r\nWINCTRL=TRUE\r\n"
      "PREOPEN=TRUE\r\nMDIMAX=FALSE\r\nOCFDS=FALSE\r\nRDTSC=FALSE\r\nUNDO=TRUE\r\nBACKUPS=TRUE\r\n"
      "\r\n[Chars]\r\nPREFIX='\r\nCURR=$\r\nCURS= \r\nSEP=,\r\nCOMMA=,\r\nPERIOD=.\r\n"
      "\r\n[Colors]\r\nBKCLR=$00FFFFFF\r\nBDCLR=$00E0FFFF\r\nVALCLR=$41FFFFFF\r\nNEGCLR=$4CFFFFFF\r\n"
      "LBLCLR=$42FFFFFF\r\nPROCLR=$07800000\r\nCURCLR=$0FFF0000\r\n"
      "\r\n[Files]\r\nAUTOEXEC=AUTOEXEC.WKS\r\nTOOLMAC=CORVANE.MAC\r\nTOOLGL=\r\nHSIZE=5\r\n"
      "\r\n[Defaults]\r\nSCALE=100\r\nGFORM=113\r\nGFONT=Arial\r\nGSIZE=12\r\nPRELOAD=1\r\n"
      "\r\n[Printer]\r\nPMONO=TRUE\r\nPFRAME=FALSE\r\nPORIENT=0\r\nMTTR=0.50\r\nMLTR=0.50\r\nMRTR=0.50\r\n"
      "MBTR=0.50\r\nMTHR=0.50\r\nMBFR=0.50\r\n";
  EXPECT_EQ(ReadWholeFile(IniPath()), expected);
}

TEST_F(SettingsFileTest, KeyTableNumbersKeysExactly) {
  EXPECT_EQ(SettingsKeyIndex("START="), 1);
  EXPECT_EQ(SettingsKeyIndex("CURS="), 23);
  EXPECT_EQ(SettingsKeyIndex("BACKUPS="), 57);
  EXPECT_EQ(SettingsKeyIndex("backups="), 0);
  EXPECT_EQ(SettingsKeyIndex("BACKUPS"), 0);
  EXPECT_EQ(SettingsKeyIndex(""), 0);
}

TEST_F(SettingsFileTest, ValueFormsCommentsAndDamagedLines) {
  ReadText(
      "[Flags]\r\n"
      "ZERO=TRUE ; hide zeros\r\n"
      "NEG=true\r\n"           // only upper-case TRUE counts
      "MCALC=NOTTRUE\r\n"      // ... anywhere in the value
      "BAND=FALSE\r\n"
      "TIPS\r\n"               // no "=": skipped
      ";QBAR=FALSE\r\n"        // a comment line
      "WHAT=FALSE\r\n"         // not a key
      "[Colors]\r\n"
      "BKCLR=$00FFFFFF\r\n"
      "BDCLR=$00c0ffee\r\n"
      "VALCLR=16\r\n"
      "NEGCLR=$XYZ\r\n"
      "[Chars]\r\n"
      "PERIOD=\r\n"            // empty: kept
      "SEP=;\r\n"              // ";" starts a comment: kept
      "COMMA= \r\n"            // a blank: kept
      "CURR=DM;x\r\n"
      "CURS=EURO\r\n"
      "[Defaults]\r\n"
      "GFORM=$7F\r\n"
      "GSIZE=12.6 ;rounded\r\n"
      "PRELOAD=2.5\r\n"        // halves to even
      "HSIZE=3.5\r\n"
      "[Printer]\r\n"
      "MTTR=1.25\r\n"
      "MLTR=wide\r\n"
      "PORIENT=1\r\n"
      "COLOR=1\r\n"            // in the table, never read
      "SCALE=50\r\n"           // written, not read
      "START=elsewhere\r\n");
  const TSheetSettings& d = DefaultSheetSettings();
  const TProgramSettings& p = ProgramSettings();
  EXPECT_EQ(d.hideZeros, 1);
  EXPECT_EQ(d.negativeInColour, 0);
  EXPECT_EQ(d.manualRecalc, 1);
  EXPECT_EQ(d.banding, 0);
  EXPECT_TRUE(p.Tips);
  EXPECT_TRUE(p.QBar);
  EXPECT_EQ(d.backgroundColour, 0x00FFFFFFu);
  EXPECT_EQ(d.bandColour, 0x00C0FFEEu);
  EXPECT_EQ(d.valueColour, 16u);
  EXPECT_EQ(d.negativeColour, 0u);
  EXPECT_EQ(FormatSettings().Period, '.');
  EXPECT_EQ(p.Sep, ',');
  EXPECT_EQ(FormatSettings().Comma, ',');
  EXPECT_EQ(std::string(d.currency.text, d.currency.length), "DM");
  EXPECT_EQ(std::string(d.secondCurrency.text, d.secondCurrency.length), "EU");
  EXPECT_EQ(FormatSettings().GForm, 0x7F);
  EXPECT_EQ(p.GSize, 13);
  EXPECT_EQ(p.Preload, 2);
  EXPECT_EQ(p.HSize, 4);
  EXPECT_EQ(p.TopMargin, 1.25);
  EXPECT_EQ(p.LeftMargin, 0.0);
  EXPECT_EQ(p.POrient, 1);
  EXPECT_EQ(host.orientation, 1) << "PORIENT= sets the printer at once";
  EXPECT_EQ(p.Scale, 100);
  EXPECT_EQ(p.ProgramFolder, folder.Path());
}

TEST_F(SettingsFileTest, ValuesASettingCannotHoldKeepTheDefault) {
  struct Row {
    std::string line;
    std::function<bool()> isDefault;
  } rows[] = {
      {std::string("PREFIX=\0", 8), [] { return DefaultSheetSettings().labelPrefix == '\''; }},
      {"PREFIX=A", [] { return DefaultSheetSettings().labelPrefix == '\''; }},
      {"PREFIX=|", [] { return DefaultSheetSettings().labelPrefix == '\''; }},
      {"SEP=1", [] { return ProgramSettings().Sep == ','; }},
      {"COMMA=x", [] { return FormatSettings().Comma == ','; }},
      {"PERIOD=1", [] { return FormatSettings().Period == '.'; }},
      {std::string("PERIOD=\0", 8), [] { return FormatSettings().Period == '.'; }},
      {"PERIOD=;", [] { return FormatSettings().Period == '.'; }},
      {"PERIOD==", [] { return FormatSettings().Period == '.'; }},
      {"PERIOD=-", [] { return FormatSettings().Period == '.'; }},
      {"SEP=+", [] { return ProgramSettings().Sep == ','; }},
      {"COMMA= ", [] { return FormatSettings().Comma == ','; }},
      {"PERIOD=,", [] { return FormatSettings().Period == '.'; }},  // the thousands separator
      {"SEP=.", [] { return ProgramSettings().Sep == ','; }},       // the decimal separator
      {"SEP=|\r\nPERIOD=,", [] { return FormatSettings().Period == '.' && ProgramSettings().Sep == ','; }},
      // Characters formulas read otherwise: a refused one keeps all three.
      {"SEP=(\r\nCOMMA=.\r\nPERIOD=,", [] { return ProgramSettings().Sep == ',' && FormatSettings().Comma == ','; }},
      {"SEP=/", [] { return ProgramSettings().Sep == ','; }},
      {"SEP=@", [] { return ProgramSettings().Sep == ','; }},
      {"SEP=|\r\nPERIOD=\"", [] { return FormatSettings().Period == '.' && ProgramSettings().Sep == ','; }},
      {"SEP=|\r\nPERIOD=[", [] { return FormatSettings().Period == '.' && ProgramSettings().Sep == ','; }},
      {"MTTR=1e238", [] { return ProgramSettings().TopMargin == 0.5; }},
      {"MBFR=-2", [] { return ProgramSettings().FooterDistance == 0.5; }},
  };
  for (const Row& row : rows) {
    ResetAll();
    ProgramSettings().ProgramFolder = folder.Path();
    ReadText(row.line + "\r\n");
    EXPECT_TRUE(row.isDefault()) << row.line;
  }
  // The three separators are checked together once all are read.
  ReadText("PREFIX=^\r\nPERIOD=,\r\nCOMMA=.\r\nSEP=|\r\n");
  EXPECT_EQ(DefaultSheetSettings().labelPrefix, '^');
  EXPECT_EQ(FormatSettings().Period, ',');
  EXPECT_EQ(ProgramSettings().Sep, '|');

  // What is written reads back: a margin set beyond the limit is written at it.
  ProgramSettings().TopMargin = 1e238;
  FormatSettings().Period = '.';
  EXPECT_NE(SettingsFileText().find("MTTR=100.00\r\n"), std::string::npos);
  // Recent files before HSIZE= count as those after it.
  ReadText("HIST=A.WKS\r\nHIST=B.WKS\r\nHSIZE=1\r\nHIST=C.WKS\r\n");
  EXPECT_EQ(ProgramSettings().History, std::vector<std::string>{"C.WKS"});
  ProgramSettings().HSize = 5;
  ReadText("HIST=A.WKS\r\nHIST=B.WKS\r\nHSIZE=0\r\n");
  std::vector<std::string> first = ProgramSettings().History;
  ASSERT_TRUE(WriteSettingsFile());
  ReadSettingsFile();
  EXPECT_EQ(ProgramSettings().History, first) << "the same list at the next start";
}

TEST_F(SettingsFileTest, GraphFontSizeRoundsHalvesToEven) {
  for (auto [text, size] : {std::pair{"12.5", 12}, {"13.5", 14}, {"12.49", 12}, {"-2.5", -2}, {"3e9", 0}}) {
    ReadText(std::string("GSIZE=") + text + "\r\n");
    EXPECT_EQ(ProgramSettings().GSize, size) << text;
  }
}

TEST_F(SettingsFileTest, DateOrderAndUndoReachTheEngine) {
  ReadText("USDATE=FALSE\r\nUNDO=FALSE\r\n");
  EXPECT_TRUE(FunctionSettings().dayFirstDates);
  EXPECT_FALSE(gUndoEnabled);
  ReadText("USDATE=TRUE\r\nUNDO=TRUE\r\n");
  EXPECT_FALSE(FunctionSettings().dayFirstDates);
  EXPECT_TRUE(gUndoEnabled);
}

TEST_F(SettingsFileTest, FormatLinesReplaceTheWholeListInOrder) {
  ReadText("FORMAT=F0,Whole\r\nFORMAT=X,Text\r\nFORMAT=P1,Pct\r\n");
  EXPECT_EQ(ProgramSettings().Formats, (std::vector<std::string>{"F0,Whole", "X,Text", "P1,Pct"}));
}

TEST_F(SettingsFileTest, RecentFilesKeepTheNewestWithinTheLimit) {
  ReadText("HSIZE=3\r\nHIST=A.WKS\r\nHIST=B.WKS\r\nHIST=A.WKS\r\nHIST=C.WKS\r\nHIST=D.WKS\r\nHIST=\r\n");
  EXPECT_EQ(ProgramSettings().History, (std::vector<std::string>{"A.WKS", "C.WKS", "D.WKS"}));
  std::vector<std::string> list;
  for (int i = 0; i < 12; ++i) AddRecentFile(list, "F" + std::to_string(i), 99);
  EXPECT_EQ(list.size(), kRecentFilesMax);
  EXPECT_EQ(list.front(), "F2");
  AddRecentFile(list, "F5", 10);
  EXPECT_EQ(list.back(), "F5");
  EXPECT_EQ(list.size(), kRecentFilesMax);
  AddRecentFile(list, "X", 0);
  EXPECT_TRUE(list.empty());
}

TEST_F(SettingsFileTest, EverySettingSurvivesAWriteAndRead) {
  TProgramSettings& p = ProgramSettings();
  TSheetSettings& d = DefaultSheetSettings();
  std::string longPath = "C:\\" + std::string(120, 'D') + "\\Sub;folder\\" + std::string(100, 'E');
  p.SaveDir = longPath;
  p.LoadDir = "D:\\LOAD";
  p.Formats = {"F3,Three"};
  p.Tips = p.UsDate = p.QBar = p.MBar = p.SBar = p.WinCtrl = p.PreOpen = p.Undo = p.Backups = false;
  p.MdiMax = p.Ocfds = true;
  p.Sep = '|';
  p.AutoExec = "START.WKS";
  p.ToolMac = "MINE.MAC";
  p.HSize = 7;
  p.History = {longPath + "\\A.WKS", "B.WKS"};
  p.GFont = "Times New Roman";
  p.GSize = 9;
  p.Preload = 0;
  p.PMono = false;
  p.PFrame = true;
  p.TopMargin = 1.0;
  p.LeftMargin = 0.75;
  p.RightMargin = 0.25;
  p.BottomMargin = 2.0;
  p.HeaderDistance = 0.3;
  p.FooterDistance = 0.4;
  host.orientation = 1;
  gUseTimeStampClock = true;
  d.protection = d.negativeInColour = d.hideZeros = d.manualRecalc = d.threeD = 1;
  d.banding = d.dist = 0;
  d.labelPrefix = '^';
  d.currency = TShortText2{2, {'D', 'M'}};
  d.secondCurrency = TShortText2{0, {}};
  d.backgroundColour = 0xC0123456;
  d.cursorColour = 0x00000001;
  FormatSettings().Period = ',';
  FormatSettings().Comma = '.';
  FormatSettings().GForm = 0x22;
  ASSERT_TRUE(WriteSettingsFile());
  std::string written = ReadWholeFile(IniPath());
  EXPECT_NE(written.find("MLTR=0,75\r\n"), std::string::npos) << "reals use the decimal separator";

  TProgramSettings saved = p;
  TSheetSettings savedDefaults = d;
  ResetAll();
  p.ProgramFolder = folder.Path();
  ReadSettingsFile();
  EXPECT_EQ(p.SaveDir, longPath);
  EXPECT_EQ(p.LoadDir, saved.LoadDir);
  EXPECT_EQ(p.Formats, saved.Formats);
  EXPECT_EQ(p.History, saved.History);
  EXPECT_EQ(std::tie(p.Tips, p.UsDate, p.QBar, p.MBar, p.SBar, p.WinCtrl, p.PreOpen, p.MdiMax, p.Ocfds, p.Undo,
                     p.Backups, p.PMono, p.PFrame),
            std::tie(saved.Tips, saved.UsDate, saved.QBar, saved.MBar, saved.SBar, saved.WinCtrl, saved.PreOpen,
                     saved.MdiMax, saved.Ocfds, saved.Undo, saved.Backups, saved.PMono, saved.PFrame));
  EXPECT_EQ(std::tie(p.Sep, p.AutoExec, p.ToolMac, p.HSize, p.GFont, p.GSize, p.Preload, p.POrient),
            std::tie(saved.Sep, saved.AutoExec, saved.ToolMac, saved.HSize, saved.GFont, saved.GSize, saved.Preload,
                     saved.POrient));
  EXPECT_EQ(std::tie(p.TopMargin, p.LeftMargin, p.RightMargin, p.BottomMargin, p.HeaderDistance, p.FooterDistance),
            std::tie(saved.TopMargin, saved.LeftMargin, saved.RightMargin, saved.BottomMargin, saved.HeaderDistance,
                     saved.FooterDistance));
  EXPECT_TRUE(gUseTimeStampClock);
  EXPECT_EQ(FormatSettings().Period, ',');
  EXPECT_EQ(FormatSettings().Comma, '.');
  EXPECT_EQ(FormatSettings().GForm, 0x22);
  EXPECT_EQ(std::memcmp(&d, &savedDefaults, sizeof d), 0) << "the default settings block";
}

TEST_F(SettingsFileTest, TimeStampClockOnlyOnThePentiumClass) {
  host.processorType = 486;
  ReadText("RDTSC=TRUE\r\n");
  EXPECT_FALSE(gUseTimeStampClock);
  host.processorType = kPentiumProcessorType;
  ReadText("RDTSC=TRUE\r\n");
  EXPECT_TRUE(gUseTimeStampClock);
}

TEST_F(SettingsFileTest, NoPrinterMeansNoOrientationWrittenUnlessOneWasRead) {
  host.hasPrinter = false;
  ReadSettingsFile();
  EXPECT_EQ(SettingsFileText().find("PORIENT="), std::string::npos);
  ReadText("PORIENT=1\r\n");
  EXPECT_NE(SettingsFileText().find("PORIENT=1\r\n"), std::string::npos);
}

TEST_F(SettingsFileTest, LongAndBinaryLinesNeverBreakReading) {
  std::string junk(5000, 'x');
  junk[10] = '\0';
  ReadText("SAVE=" + junk + "\nHSIZE=8\n" + std::string("\xFF\xFE=\x01", 4) + "\nGFONT=" + std::string(100, 'G'));
  EXPECT_EQ(ProgramSettings().SaveDir.size(), kSettingsTextChars);
  EXPECT_EQ(ProgramSettings().HSize, 8);
  EXPECT_EQ(ProgramSettings().GFont, std::string(40, 'G'));
}

TEST_F(SettingsFileTest, WritingKeepsOnlyTheLatestPreviousFileAsBackup) {
  std::string backup = folder.File("CRV32.INb");
  ProgramSettings().GSize = 1;
  ASSERT_TRUE(WriteSettingsFile());
  ProgramSettings().GSize = 2;
  ASSERT_TRUE(WriteSettingsFile());
  ProgramSettings().GSize = 3;
  ASSERT_TRUE(WriteSettingsFile());
  EXPECT_NE(ReadWholeFile(IniPath()).find("GSIZE=3\r\n"), std::string::npos);
  EXPECT_NE(ReadWholeFile(backup).find("GSIZE=2\r\n"), std::string::npos);
}

TEST_F(SettingsFileTest, FailedWriteKeepsTheOldFileAndSetsTheErrorFlag) {
  ProgramSettings().GSize = 7;
  ASSERT_TRUE(WriteSettingsFile());
  std::string before = ReadWholeFile(IniPath());
  std::filesystem::create_directory(IniPath() + ".$$$");
  ProgramSettings().GSize = 8;
  EXPECT_FALSE(WriteSettingsFile());
  EXPECT_TRUE(ErrorFlagSet());
  EXPECT_EQ(ErrorMessage(), "Unable to WRITE");
  EXPECT_EQ(ReadWholeFile(IniPath()), before);
}

class SettingsBlockTest : public testing::EngineTest {
 protected:
  void TearDown() override {
    DefaultSheetSettings() = TSheetSettings{};
    FormatSettings() = TFormatSettings{};
    EngineTest::TearDown();
  }
};

TEST_F(SettingsBlockTest, NewSheetsCopyTheDefaultBlockAndFormatsFollowTheWorkingBlock) {
  TSheetSettings& d = DefaultSheetSettings();
  d.protection = 1;
  d.hideZeros = 1;
  d.currency = TShortText2{2, {'D', 'M'}};
  d.secondCurrency = TShortText2{1, {'%', 0}};
  d.cursorColour = 0x12345678;
  int first = OpenCurrent("FIRST.WKS");
  EXPECT_EQ(gCurrentDoc.settings.cursorColour, 0x12345678u);
  EXPECT_TRUE(FormatSettings().Pro);
  EXPECT_TRUE(FormatSettings().Zero);
  EXPECT_EQ(FormatSettings().Curr, "DM");
  EXPECT_EQ(FormatSettings().Curs, "%");

  d = TSheetSettings{};
  OpenCurrent("SECOND.WKS");
  EXPECT_FALSE(FormatSettings().Pro);
  EXPECT_EQ(FormatSettings().Curr, "$");
  ASSERT_TRUE(ActivateDocumentContext(first));
  EXPECT_EQ(FormatSettings().Curr, "DM") << "activation brings the first sheet's texts back";
}

}  // namespace
}  // namespace corvane
