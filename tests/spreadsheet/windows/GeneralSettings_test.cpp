// The general settings dialog's values against the working settings, the
// program's settings and a fake sheet window.
#include "spreadsheet/engine/TextRoutines.h"
#include "spreadsheet/windows/GeneralSettings.h"

#include "spreadsheet/engine/DocumentContext.h"
#include "tests/spreadsheet/windows/FakeGeneralSheet.h"
#include "tests/spreadsheet/windows/FrameTestSupport.h"

namespace corvane::testing {
namespace {

class GeneralSettingsTest : public FrameTest {
 protected:
  void SetUp() override {
    FrameTest::SetUp();
    DefaultSheetSettings() = TSheetSettings{};
    OpenCurrent("SHEET1.WKS");
    ASSERT_TRUE(InitNewSheet());
    dialog.Activate(&sheet);
  }
  void TearDown() override {
    DefaultSheetSettings() = TSheetSettings{};
    FrameTest::TearDown();
  }
  TFakeGeneralSheet sheet;
  TGeneralSettings dialog;
};

TEST_F(GeneralSettingsTest, ColourWordsRoundTrip) {
  struct Row {
    std::uint32_t word;
    std::uint32_t background;
    int foreground;
    bool ignoreBackground, ignoreForeground;
  } rows[] = {
      {0x42FFFFFF, 0xFFFFFF, 2, true, false},
      {0x07800000, 0x800000, 7, false, false},
      {0xC0000000, 0, 0, true, true},
      {0x8F00FF00, 0x00FF00, 15, false, true},
  };
  for (const Row& row : rows) {
    TColourWord c = TColourWord::From(row.word);
    EXPECT_EQ(c.background, row.background);
    EXPECT_EQ(c.foreground, row.foreground);
    EXPECT_EQ(c.ignoreBackground, row.ignoreBackground);
    EXPECT_EQ(c.ignoreForeground, row.ignoreForeground);
    EXPECT_EQ(c.Word(), row.word);
  }
  dialog.PickColourItem(kItemUnlocked);
  EXPECT_EQ(dialog.colour.foreground, 7);
  TColourWord red = dialog.colour;
  red.background = 0x0000FF;
  red.ignoreForeground = true;
  dialog.SetColour(red);
  EXPECT_EQ(gCurrentDoc.settings.unlockedColour, 0x870000FFu);
  dialog.ResetColours();
  EXPECT_EQ(gCurrentDoc.settings.unlockedColour, 0x07800000u);
  EXPECT_EQ(gCurrentDoc.settings.cursorColour, 0x0FFF0000u);
}

TEST_F(GeneralSettingsTest, LiveChangesAndOk) {
  EXPECT_EQ(dialog.format, FormatCodeToByte("G"));
  EXPECT_EQ(dialog.rowsText, "15");
  EXPECT_EQ(dialog.columnsText, "9");
  dialog.SetShowZeros(false);
  dialog.SetAutoRecalc(false);
  dialog.SetProtect(true);
  dialog.SetLabelAlignment(3);
  dialog.SetGridLine(4, true);   // solid: bit 2 cleared
  dialog.SetGridLine(1, false);  // no horizontal lines
  dialog.SetSheetsIndex(3);
  const TSheetSettings& s = gCurrentDoc.settings;
  EXPECT_EQ(s.hideZeros, 1);
  EXPECT_EQ(s.manualRecalc, 1);
  EXPECT_TRUE(FormatSettings().Pro);
  EXPECT_EQ(s.labelPrefix, '"');
  EXPECT_EQ(sheet.gridLines, 2);
  EXPECT_EQ(sheet.sheets, 8);
  EXPECT_EQ(s.rowsPerSheet, 1024);
  EXPECT_GE(sheet.refreshes, 6);

  dialog.page = kGeneralOption;
  dialog.rowsText = "10*2";
  dialog.columnsText = "999";  // held below the default marker
  dialog.format = FormatCodeToByte("F2");
  dialog.Ok();
  EXPECT_EQ(FormatSettings().GForm, 0x02);
  EXPECT_EQ(sheet.rowHeight, 20);
  EXPECT_EQ(sheet.columnWidth, 254 * 8);
  EXPECT_EQ(windows.modifiedMarks, 1);
  dialog.Activate(&sheet);
  dialog.rowsText = "-1";
  dialog.columnsText = "@nonsense(";
  dialog.Ok();
  EXPECT_EQ(sheet.rowHeight, 20);
  EXPECT_EQ(sheet.columnWidth, 254 * 8);
}

// The separator lists offer only what is taken, from any separators: every
// choice they offer is, and ";" (a comment in the settings file) never is.
// Choosing "," as the decimal point makes "." the thousands separator.
TEST_F(GeneralSettingsTest, SeparatorListsOfferOnlyWhatIsTaken) {
  const struct {
    const char* held;  // argument, thousands, decimal
    std::string argument, thousands, decimal;  // the lists
  } rows[] = {
      {",,.", ",|", ",", "."},
      {"|,.", ",|", ",.", ".,"},
      {"|.,", "|", ",.", ".,"},
      {"',.", ",|'", ",.", ".,"},  // a typed one is offered while it is held
  };
  auto list = [&](int box) {
    std::string items;
    for (char c : dialog.SeparatorChoices(box)) items += c;
    return items;
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.held);
    ASSERT_TRUE(dialog.SetSeparators(row.held[0], row.held[1], row.held[2]));
    EXPECT_EQ(list(kArgumentBox), row.argument);
    EXPECT_EQ(list(kThousandsBox), row.thousands);
    EXPECT_EQ(list(kDecimalBox), row.decimal);
    for (int box : {kArgumentBox, kThousandsBox, kDecimalBox})
      for (char c : list(box)) {
        EXPECT_TRUE(dialog.ChooseSeparator(box, c)) << box << " " << c;
        ASSERT_TRUE(dialog.SetSeparators(row.held[0], row.held[1], row.held[2]));
      }
  }
  ASSERT_TRUE(dialog.SetSeparators('|', ',', '.'));
  EXPECT_TRUE(dialog.ChooseSeparator(kDecimalBox, ','));
  EXPECT_EQ(std::string() + ProgramSettings().Sep + FormatSettings().Comma + FormatSettings().Period, "|.,");
  EXPECT_FALSE(dialog.ChooseSeparator(kArgumentBox, ';')) << "typed, it is refused";
  EXPECT_EQ(ProgramSettings().Sep, '|');
}

TEST_F(GeneralSettingsTest, CancelPutsEverythingBack) {
  const TSheetSettings before = gCurrentDoc.settings;
  ProgramSettings().History = {"A.WKS", "B.WKS"};
  dialog.Activate(&sheet);
  dialog.SetThreeD(false);
  dialog.SetGridLine(2, false);
  dialog.SetSheetsIndex(6);
  EXPECT_FALSE(dialog.SetSeparators(',', '.', ','));
  EXPECT_FALSE(dialog.SetSeparators('|', ',', ','));
  EXPECT_FALSE(dialog.SetSeparators('|', '.', ';'));
  EXPECT_FALSE(dialog.SetSeparators(';', '.', ','));
  // Separators formulas would read otherwise: no function of two arguments,
  // no division, no decimal constant could be typed.
  EXPECT_FALSE(dialog.SetSeparators('(', '.', ','));
  EXPECT_FALSE(dialog.SetSeparators('/', ',', '.'));
  EXPECT_FALSE(dialog.SetSeparators('|', '.', '"'));
  EXPECT_EQ(ProgramSettings().Sep, ',');
  EXPECT_EQ(FormatSettings().Period, '.');
  EXPECT_TRUE(dialog.SetSeparators('|', '.', ','));
  dialog.SetCurrency("Dm", false);
  dialog.SetProgramFlag(&TProgramSettings::Backups, false);
  dialog.ClearHistory();
  dialog.SetAutoExec("START.WKS");
  EXPECT_EQ(FormatSettings().Curs, "Dm");
  EXPECT_EQ(ProgramSettings().Sep, '|');
  dialog.Cancel();
  EXPECT_EQ(std::memcmp(&gCurrentDoc.settings, &before, sizeof before), 0);
  EXPECT_TRUE(sheet.threeD);
  EXPECT_EQ(sheet.gridLines, 3);
  EXPECT_EQ(sheet.sheets, 1);
  EXPECT_EQ(DefaultSheetSettings().rowsPerSheet, kRowsPerWorksheet);
  EXPECT_EQ(ProgramSettings().Sep, ',');
  EXPECT_EQ(FormatSettings().Period, '.');
  EXPECT_EQ(FormatSettings().Curr, "$");
  EXPECT_TRUE(ProgramSettings().Backups);
  EXPECT_EQ(ProgramSettings().History.size(), 2u);
  EXPECT_EQ(ProgramSettings().AutoExec, "AUTOEXEC.WKS");
  EXPECT_GE(sheet.recentChanges, 2);
}

}  // namespace
}  // namespace corvane::testing
