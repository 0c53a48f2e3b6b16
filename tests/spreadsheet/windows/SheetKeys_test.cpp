// The sheet window's key table, character routing and Ctrl+letter macro start.
#include "spreadsheet/windows/SheetKeys.h"

#include <gtest/gtest.h>

#include "spreadsheet/engine/RangeNames.h"
#include "spreadsheet/windows/SheetFrame.h"
#include "tests/spreadsheet/engine/EngineTestSupport.h"

namespace corvane {
namespace {

using A = TSheetKeyAction;
using namespace classlib;

TEST(SheetKeys, KeyTable) {
  const TSheetKeyState ready, pointing{true, false, false}, prompt{false, true, false}, end{false, false, true};
  struct Row {
    int key;
    TShiftState shift;
    const TSheetKeyState& state;
    A action;
  } rows[] = {
      {vk::Return, 0, ready, A::kPass},          {vk::Return, 0, pointing, A::kEndExtend},
      {vk::Return, 0, prompt, A::kAcceptPrompt}, {vk::Escape, 0, ready, A::kEscape},
      {vk::Escape, 0, pointing, A::kEscapePoint}, {vk::Escape, 0, prompt, A::kEscapePrompt},
      {vk::End, 0, ready, A::kToggleEnd},        {vk::Right, 0, ready, A::kPass},
      {vk::Right, 0, end, A::kEndArrow},         {vk::Home, 0, end, A::kEndHome},
      {vk::Home, 0, ready, A::kPass},            {vk::F6, 0, ready, A::kSwitchPane},
      {vk::F6, ssShift, ready, A::kToggleBeep},  {vk::F5, ssShift, ready, A::kPass},
      {vk::F9, 0, ready, A::kRecalcAll},         {vk::F9, ssCtrl, ready, A::kPass},
      {vksheet::F11, 0, ready, A::kLinksPrompt}, {vksheet::Cancel, ssCtrl, ready, A::kBreakMacro},
      {vk::Insert, 0, ready, A::kLockPanel},     {'A', 0, ready, A::kPass},
      {vk::F10, ssShift, ready, A::kGraph},       {vk::F10, 0, ready, A::kPass},
  };
  for (const Row& row : rows) EXPECT_EQ(SheetKeyAction(row.key, row.shift, row.state), row.action) << row.key;
}

TEST(SheetKeys, CharacterRouting) {
  const TSheetKeyState ready, pointing{true, false, false}, prompt{false, true, false};
  struct Row {
    char ch;
    const TSheetKeyState& state;
    TCharRoute route;
  } rows[] = {
      {'a', ready, TCharRoute::kEntryLine},  {'\t', ready, TCharRoute::kIgnore},
      {'\x1b', pointing, TCharRoute::kIgnore}, {'.', pointing, TCharRoute::kAnchor},
      {'.', ready, TCharRoute::kEntryLine},  {'/', ready, TCharRoute::kMenuBar},
      {'/', pointing, TCharRoute::kEntryLine}, {'x', prompt, TCharRoute::kPromptLine},
      {'\r', prompt, TCharRoute::kIgnore},   {'\b', ready, TCharRoute::kIgnore},
      {'\b', pointing, TCharRoute::kEntryLine},
  };
  for (const Row& row : rows) EXPECT_EQ(SheetCharRoute(row.ch, row.state), row.route) << int(row.ch);
}

class CtrlMacroTest : public testing::EngineTest {};

TEST_F(CtrlMacroTest, CtrlLetterArmsTheNamedMacroOnceAfterTheDelay) {
  OpenCurrent("MACRO.WKS");
  ASSERT_NE(RangeNameCreate("\\A", testing::MakeRange(3, 10, 3, 12)), 0);
  TCtrlMacroKeys keys;
  keys.CtrlDown();
  EXPECT_FALSE(keys.KeyUp('A', 100));
  EXPECT_EQ(keys.PendingKey(), "\\A");
  EXPECT_TRUE(keys.KeyUp(vk::Control, 100));
  int row = -1, col = -1;
  EXPECT_FALSE(keys.Due(125, row, col));
  EXPECT_TRUE(keys.Due(126, row, col));
  EXPECT_EQ(row, 10);
  EXPECT_EQ(col, 3);
  EXPECT_FALSE(keys.Due(200, row, col));

  // No such name: nothing arms, and the key does not linger for a later Ctrl.
  keys.CtrlDown();
  keys.KeyUp('B', 300);
  EXPECT_FALSE(keys.KeyUp(vk::Control, 300));
  EXPECT_EQ(keys.PendingKey(), "");
  // A Ctrl+letter taken as a command arms nothing.
  keys.CtrlDown();
  keys.CommandTaken();
  keys.KeyUp('A', 400);
  EXPECT_FALSE(keys.KeyUp(vk::Control, 400));
}

}  // namespace
}  // namespace corvane
