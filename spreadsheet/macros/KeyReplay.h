// Key replay: the keys of a running macro are played into the program as key
// events, so that it reacts to them exactly as to a user typing. The pump
// walks the macro's code, gathers keys into runs, has a player deliver each
// run and hands commands to the interpreter in between. Translation and pump
// are portable; the player that delivers events to windows is the platform's.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

// The key messages of an event.
inline constexpr std::uint32_t kKeyDownMessage = 0x100;
inline constexpr std::uint32_t kKeyUpMessage = 0x101;
inline constexpr std::uint32_t kCharMessage = 0x102;
inline constexpr std::uint32_t kSysKeyDownMessage = 0x104;
inline constexpr std::uint32_t kSysKeyUpMessage = 0x105;

inline constexpr int kVkShift = 0x10;
inline constexpr int kVkMenu = 0x12;
inline constexpr int kVkReturn = 0x0D;

// One key event, laid out as the system's journal event message: the
// message, paramL (low byte the virtual key, next byte its scan code; for a
// character event the character), paramH (always 1), the time it was made
// and an unused window word.
struct TKeyEvent {
  std::uint32_t message = 0;
  std::uint32_t paramL = 0;
  std::uint32_t paramH = 1;
  std::uint32_t time = 0;
  std::uint32_t window = 0;

  int VirtualKey() const { return static_cast<int>(paramL & 0xFF); }
  bool operator==(const TKeyEvent&) const = default;
};
static_assert(sizeof(TKeyEvent) == 20, "a key event is 20 bytes");

// The keyboard layout the events are made for.
class TKeyLayout {
 public:
  virtual ~TKeyLayout() = default;
  // The key and shift state that type `c`: low byte the virtual key, high
  // byte bit 0 Shift, bit 1 Ctrl, bit 2 Alt; -1 when no key types it.
  virtual int KeyScan(unsigned char c) = 0;
  // The scan code of virtual key `vk`.
  virtual unsigned ScanCode(int vk) = 0;
  // The time stamp of events made now, in milliseconds.
  virtual std::uint32_t TickCount() = 0;
};

// The events of a run of code bytes.
// - Named-key bytes and "~" give their keys; 0, 20 and 255 give nothing.
// - Any other byte is the key the layout gives for it, with Shift pressed
//   around it when the layout asks for Shift.
// - A character that no key types, or only a key with Ctrl or Alt (an AltGr
//   character), gives one character event instead, so that no other key is
//   typed in its place.
// Each key is a down and an up event; a key-down of VK_MENU is a system
// key-down, every other key-down a plain one, and every key-up a system
// key-up.
std::vector<TKeyEvent> TranslateKeyRun(std::string_view run, TKeyLayout& layout);

// Delivers events to the program's windows, one key at a time to the window
// that has the focus, while holding off the user's own keyboard and mouse
// input.
class TKeyPlayer {
 public:
  virtual ~TKeyPlayer() = default;
  // Starts delivering `events`, replacing any events still waiting. False
  // when the player cannot deliver.
  virtual bool Play(std::vector<TKeyEvent> events) = 0;
  // True while events of the last Play are waiting or being handled.
  virtual bool Busy() = 0;
  // Drops the waiting events and releases any modifier still pressed.
  virtual void Cancel() = 0;
};

// Carries out the command whose prefix byte 20 has just been read, reading
// its bytes through MacroNextByte.
using TMacroCommandFn = std::function<void()>;

// What a running macro plays keys and commands through.
struct TMacroRunner {
  TKeyPlayer* player = nullptr;
  TKeyLayout* layout = nullptr;
  TMacroCommandFn command;
};

// Key runs are played once they hold more than this many bytes.
inline constexpr std::size_t kKeyRunFlushBytes = 100;

// Runs the current macro until it stops. Keys are gathered into runs; a run
// is played when it grows beyond 100 bytes, before each command and at the
// end, and each run has been delivered before anything after it happens, so
// keys before a command reach the program before the command runs. A break
// drops what is still waiting. A run the player cannot deliver is dropped
// and the macro goes on.
void MacroPump(TMacroRunner& runner);

// Starts the macro at (row, col), or the macro `text`, and runs it to its end;
// false when a macro runs already.
bool RunMacroAt(int row, int col, TMacroRunner& runner);
bool RunMacroText(std::string_view text, TMacroRunner& runner);

}  // namespace corvane
