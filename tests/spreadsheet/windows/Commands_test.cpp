// The command table's enabling rules and the menus and bars built on it.
#include "spreadsheet/windows/Commands.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "spreadsheet/windows/MenuLayout.h"

namespace corvane {
namespace {

using C = TCommandId;

TCommandState Sheet() {
  TCommandState state;
  state.sheetOpen = true;
  return state;
}

TEST(CommandTable, EnablingRules) {
  TCommandTable table;
  int runs = 0, lastTag = -1;
  for (int id = 1; id < kCommandCount; ++id) {
    if (static_cast<C>(id) == C::kPrint) continue;  // left without a handler
    table.Bind(static_cast<C>(id), [&](int tag) {
      ++runs;
      lastTag = tag;
    });
  }
  TCommandState none;
  TCommandState prompt = Sheet();
  prompt.promptActive = true;
  TCommandState twoSheets = Sheet();
  twoSheets.sheetCount = 2;
  TCommandState clip = Sheet();
  clip.clipboardHasData = true;
  TCommandState undo = Sheet();
  undo.undoAvailable = true;
  TCommandState editing = Sheet();
  editing.editing = true;

  struct Row {
    C command;
    TCommandState state;
    bool enabled, menuEnabled;
  } rows[] = {
      {C::kNew, none, true, true},          {C::kOpen, none, true, true},
      {C::kSave, none, false, false},       {C::kSave, Sheet(), true, true},
      {C::kSave, prompt, true, false},      {C::kSave, editing, true, false},
      {C::kPrint, Sheet(), false, false},   {C::kInsertAcross, Sheet(), false, false},
      {C::kInsertAcross, twoSheets, true, true}, {C::kPaste, Sheet(), false, false},
      {C::kPaste, clip, true, true},        {C::kPaste, none, false, false},
      {C::kUndo, Sheet(), false, false},    {C::kUndo, undo, true, true},
      {C::kFunctionPick, Sheet(), false, false}, {C::kFunctionPick, editing, true, false},
  };
  for (const Row& row : rows) {
    const char* name = TCommandTable::Info(row.command).name;
    EXPECT_EQ(table.Enabled(row.command, row.state), row.enabled) << name;
    EXPECT_EQ(table.MenuEnabled(row.command, row.state), row.menuEnabled) << name;
  }
  EXPECT_FALSE(table.Run(C::kSave, none));
  EXPECT_FALSE(table.Run(C::kPrint, Sheet()));
  EXPECT_EQ(runs, 0);
  EXPECT_TRUE(table.Run(C::kZoom125, none));
  EXPECT_EQ(lastTag, 3);
  EXPECT_EQ(ZoomPercentForTag(lastTag), 125);
  EXPECT_EQ(TCommandTable::FindByName("saveas"), C::kSaveAs);
  EXPECT_EQ(TCommandTable::FindByName("no such"), C::kNone);
}

// Every command appears once by name, and the menus and bars name only
// commands of the table.
void Collect(const TMenuSpec& spec, std::multiset<C>& seen) {
  if (spec.command != C::kNone) seen.insert(spec.command);
  for (const TMenuSpec& item : spec.items) Collect(item, seen);
}

TEST(CommandTable, MenusAndBarsNameCommands) {
  std::set<std::string> names;
  for (int id = 1; id < kCommandCount; ++id) EXPECT_TRUE(names.insert(TCommandTable::Info(static_cast<C>(id)).name).second);

  std::multiset<C> seen;
  for (const TMenuSpec& column : MainMenuSpec()) Collect(column, seen);
  for (C command : {C::kCut, C::kCopy, C::kPaste, C::kUndo, C::kDelete, C::kZoom125, C::kGraphView, C::kCloseAll})
    EXPECT_EQ(seen.count(command), 1u) << TCommandTable::Info(command).name;
  EXPECT_EQ(MainMenuSpec().front().hint, "New,Open,Save,SaveAs,Uplink,Close,Print,Merge,Import,Export,Doc Info,Get Info,Exit");
  EXPECT_EQ(MainMenuSpec().front().need, TCommandNeed::kAlways);
  for (const TToolButtonSpec& button : QuickBarSpec()) EXPECT_NE(button.command, C::kNone) << button.hint;
  EXPECT_EQ(QuickBarSpec().size(), 25u);
}

}  // namespace
}  // namespace corvane
