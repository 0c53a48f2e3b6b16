// Key runs to key events, and the pump that plays a macro's keys and runs its
// commands.
#include "spreadsheet/macros/KeyReplay.h"

#include "classlib/Assert.h"
#include "spreadsheet/macros/MacroCompiler.h"
#include "spreadsheet/macros/MacroRun.h"

namespace corvane {

namespace {

// The virtual key of a named-key code byte; 0 for a byte that is a character.
int NamedKey(unsigned char b) {
  switch (b) {
    case 2: return 147;   // one screen left; the sheet window gives it its meaning
    case 3: return 120;   // F9
    case 4: return 39;    // right
    case 5: return 113;   // F2
    case 6: return 116;   // F5
    case 7: return 36;    // Home
    case 8: return 8;     // Backspace
    case 9: return 146;   // one screen right
    case 10: return kVkMenu;
    case 11: return 37;   // left
    case 13:
    case '~': return kVkReturn;
    case 14: return 33;   // Page Up
    case 15: return 35;   // End
    case 16: return 40;   // down
    case 17: return 34;   // Page Down
    case 18: return 45;   // Insert
    case 19: return 46;   // Delete
    case 24: return 115;  // F4
    case 25: return 38;   // up
    case 26: return 117;  // F6
    case 27: return 27;   // Esc
    case 28: return 112;  // F1
    case 29: return 121;  // F10
    default: return 0;
  }
}

void AddKey(std::vector<TKeyEvent>& events, int vk, bool shift, TKeyLayout& layout, std::uint32_t time) {
  auto event = [&](std::uint32_t message, int key) {
    TKeyEvent e;
    e.message = message;
    e.paramL = static_cast<std::uint32_t>(key & 0xFF) | ((layout.ScanCode(key) & 0xFF) << 8);
    e.time = time;
    events.push_back(e);
  };
  if (shift) event(kKeyDownMessage, kVkShift);
  event(vk == kVkMenu ? kSysKeyDownMessage : kKeyDownMessage, vk);
  event(kSysKeyUpMessage, vk);
  if (shift) event(kSysKeyUpMessage, kVkShift);
}

// The pump's key run and its guard.
struct TKeyRun {
  std::string bytes;
  bool preparing = false;
};
TKeyRun gRun;

// Handles messages while the player delivers; a break drops what waits.
void WaitForPlayer(TKeyPlayer& player) {
  while (player.Busy()) {
    if (MacroState().breakRequested || !MacroHost().ProcessMessages()) {
      player.Cancel();
      return;
    }
  }
}

void PlayRun(TMacroRunner& runner) {
  if (gRun.bytes.empty()) return;
  if (MacroState().breakRequested) {
    gRun.bytes.clear();
    return;
  }
  // A run cannot arrive while one is prepared: everything runs on one thread
  // and nothing here handles messages until the run is handed over.
  CL_ASSERT(!gRun.preparing);
  gRun.preparing = true;
  WaitForPlayer(*runner.player);
  std::vector<TKeyEvent> events = TranslateKeyRun(gRun.bytes, *runner.layout);
  gRun.bytes.clear();
  // A player that cannot deliver drops the run; the macro goes on.
  if (!events.empty() && runner.player->Play(std::move(events))) WaitForPlayer(*runner.player);
  gRun.preparing = false;
}

}  // namespace

std::vector<TKeyEvent> TranslateKeyRun(std::string_view run, TKeyLayout& layout) {
  std::vector<TKeyEvent> events;
  const std::uint32_t time = layout.TickCount();
  for (char c : run) {
    auto b = static_cast<unsigned char>(c);
    if (b == 0 || b == 20 || b == 255) continue;
    if (int vk = NamedKey(b); vk != 0) {
      AddKey(events, vk, false, layout, time);
      continue;
    }
    int scan = layout.KeyScan(b);
    constexpr int kCtrlOrAlt = 0x600;
    if (scan == -1 || (scan & 0xFF) == 0xFF || (scan & kCtrlOrAlt) != 0) {
      TKeyEvent e;
      e.message = kCharMessage;
      e.paramL = b;
      e.time = time;
      events.push_back(e);
      continue;
    }
    AddKey(events, scan & 0xFF, (scan & 0x100) != 0, layout, time);
  }
  return events;
}

void MacroPump(TMacroRunner& runner) {
  if (!CL_CHECK(runner.player && runner.layout && runner.command)) {
    MacroStop();
    return;
  }
  gRun.bytes.clear();
  while (MacroState().running) {
    int b = MacroNextByte();
    if (b == 0) break;
    if (b == kMacroCommandPrefix) {
      PlayRun(runner);
      if (MacroState().running) runner.command();
      // A macro that only runs commands (a loop of LET and BRANCH) never waits
      // for its keys: the window's messages are let through here, so that it
      // repaints and a break reaches the next byte fetch.
      if (MacroState().running) MacroHost().PollMessages();
      continue;
    }
    if (gRun.bytes.size() > kKeyRunFlushBytes) PlayRun(runner);
    gRun.bytes += static_cast<char>(b);
  }
  PlayRun(runner);
}

bool RunMacroAt(int row, int col, TMacroRunner& runner) {
  if (!MacroStartAt(row, col)) return false;
  MacroPump(runner);
  return true;
}

bool RunMacroText(std::string_view text, TMacroRunner& runner) {
  if (!MacroStartText(text)) return false;
  MacroPump(runner);
  return true;
}

}  // namespace corvane
