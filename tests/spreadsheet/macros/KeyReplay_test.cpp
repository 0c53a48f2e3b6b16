// Key runs to key events, and the pump that plays a macro's keys around its
// commands.
#include <gtest/gtest.h>

#include "spreadsheet/macros/KeyReplay.h"
#include "spreadsheet/macros/MacroRun.h"
#include "tests/spreadsheet/macros/MacroTestSupport.h"

namespace corvane::testing {
namespace {

// A US-like layout: letters and digits on their keys, capitals and "@" with
// Shift, "£" on no key, "€" only with AltGr; the scan code is vk + 1.
class TFakeLayout : public TKeyLayout {
 public:
  int KeyScan(unsigned char c) override {
    if (c >= 'a' && c <= 'z') return c - 'a' + 'A';
    if (c >= 'A' && c <= 'Z') return 0x100 | c;
    if (c >= '0' && c <= '9') return c;
    if (c == '@') return 0x100 | '2';
    if (c == 0x80) return 0x600 | 'E';
    return -1;
  }
  unsigned ScanCode(int vk) override { return static_cast<unsigned>(vk + 1); }
  std::uint32_t TickCount() override { return 7; }
};

// Records each run it is given, in one log with the commands; optionally
// refuses.
class TFakePlayer : public TKeyPlayer {
 public:
  explicit TFakePlayer(std::vector<std::string>& log) : log_(log) {}
  bool refuse = false;
  std::vector<std::vector<TKeyEvent>> runs;
  bool Play(std::vector<TKeyEvent> events) override {
    if (refuse) return false;
    log_.push_back("keys " + std::to_string(events.size()));
    runs.push_back(std::move(events));
    return true;
  }
  bool Busy() override { return false; }
  void Cancel() override {}

 private:
  std::vector<std::string>& log_;
};

TKeyEvent Event(std::uint32_t message, int vk) {
  TKeyEvent e;
  e.message = message;
  e.paramL = static_cast<std::uint32_t>(vk | ((vk + 1) << 8));
  e.time = 7;
  return e;
}

TEST(KeyTranslation, KeysShiftAndCharactersWithoutAKey) {
  TFakeLayout layout;
  const std::uint32_t down = kKeyDownMessage, up = kSysKeyUpMessage;
  struct Row {
    std::string run;
    std::vector<TKeyEvent> events;
  } rows[] = {
      {"abc~", {Event(down, 'A'), Event(up, 'A'), Event(down, 'B'), Event(up, 'B'), Event(down, 'C'),
                Event(up, 'C'), Event(down, 13), Event(up, 13)}},
      {"A", {Event(down, 16), Event(down, 'A'), Event(up, 'A'), Event(up, 16)}},
      {"@", {Event(down, 16), Event(down, '2'), Event(up, '2'), Event(up, 16)}},
      {"\x0A\x02\x09", {Event(kSysKeyDownMessage, 18), Event(up, 18), Event(down, 147), Event(up, 147),
                        Event(down, 146), Event(up, 146)}},
      {std::string("\x00\x14\xFF", 3), {}},
  };
  for (const Row& row : rows) EXPECT_EQ(TranslateKeyRun(row.run, layout), row.events) << row.run;

  std::vector<TKeyEvent> chars = TranslateKeyRun("\xA3\x80", layout);
  ASSERT_EQ(chars.size(), 2u);
  EXPECT_EQ(chars[0].message, kCharMessage);
  EXPECT_EQ(chars[0].paramL, 0xA3u);
  EXPECT_EQ(chars[1].paramL, 0x80u);
}

class KeyReplayTest : public MacroTest {
 protected:
  void SetUp() override {
    MacroTest::SetUp();
    runner.player = &player;
    runner.layout = &layout;
    runner.command = [this] {
      std::string text = "command ";
      for (int b; (b = MacroNextByte()) != 0 && b != 13;) text += static_cast<char>(b);
      log.push_back(text);
    };
  }
  std::vector<std::string> log;
  TFakeLayout layout;
  TFakePlayer player{log};
  TMacroRunner runner;
};

TEST_F(KeyReplayTest, KeysBeforeACommandArePlayedFirst) {
  PutLabel(0, 0, "'ab{GOTO B5}cd");
  PutLabel(1, 0, "'" + std::string(125, 'x'));
  PutLabel(2, 0, "'" + std::string(125, 'y'));
  ASSERT_TRUE(RunMacroAt(0, 0, runner));
  EXPECT_FALSE(MacroState().running);
  // 2 + 250 keys after the command: cut once they hold more than 100 bytes.
  EXPECT_EQ(log, (std::vector<std::string>{"keys 4", "command @B5", "keys 202", "keys 202", "keys 100"}));
}

TEST_F(KeyReplayTest, ARefusedPlayerDropsTheKeysAndGoesOn) {
  player.refuse = true;
  PutLabel(0, 0, "'ab{GOTO B5}");
  PutLabel(1, 0, "'cd{GOTO C7}");
  ASSERT_TRUE(RunMacroAt(0, 0, runner));
  EXPECT_TRUE(gShownErrors.empty());
  EXPECT_EQ(log, (std::vector<std::string>{"command @B5", "command @C7"}));
  EXPECT_FALSE(MacroState().running);
}

}  // namespace
}  // namespace corvane::testing
