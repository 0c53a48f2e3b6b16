// The UI kit: what a test needs to drive real windows under Wine.
// - The test program's windows live on a virtual desktop of their own (set up
//   before main runs when the kit is linked), where frames are drawn and the
//   screen can be copied.
// - Input: keys and characters posted to a window as the system would queue
//   them (with the modifiers in the thread's key state), mouse presses, moves
//   and releases at client points, and real input through SendInput where
//   the focus path matters.
// - RunUntilIdle handles messages until the program is quiet.
// - TEventLog records fired events as text lines.
// - Pictures: a window copied from the screen into a bitmap, saved as BMP and
//   PNG into the build's pictures folder; pixel geometry read back from it.
#pragma once

#include "classlib/win/Win32.h"

#include <functional>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "classlib/Component.h"
#include "classlib/ControlHost.h"
#include "classlib/win/Bitmap.h"
#include "tests/support/win/Screen.h"

namespace uikit {

using classlib::TMouseButton;
using classlib::TPoint;
using classlib::TRect;
using classlib::TShiftState;


// Keys posted to `target`: key down (a system key with Alt) and key up with
// the right lParam, the modifiers of `shift` and the key itself down in the
// thread's key state meanwhile, messages run after each. The program's own
// TranslateMessage makes the characters, so a letter key types its letter.
void PressKey(HWND target, int vk, TShiftState shift = 0);
// A key press (down and up, no modifiers held) or a left click only posted,
// for a loop that handles them itself, such as a modal run about to start;
// with `alt` the key comes as Alt+key (the messages say so themselves), and
// the run it starts does not find Alt still down.
void PostKey(HWND target, int vk, bool alt = false);
void PostClick(HWND target, TPoint p);
// Runs `script` from within the modal run that the next input starts, once
// its form is up; a modal form the script left open is then cancelled.
void RunInsideModal(std::function<void()> script);
// Characters posted as WM_CHAR, one after another (no key messages).
void TypeChars(HWND target, std::string_view text);
// UTF-16 characters posted as WM_CHAR in the wide form, as the system queues
// what a keyboard types in any script.
void TypeWideChars(HWND target, std::wstring_view text);

// Mouse messages posted at client point `p` of `target`; `shift` adds
// modifiers (and, for a move, the buttons held).
void MouseDown(HWND target, TPoint p, TMouseButton button = TMouseButton::mbLeft, TShiftState shift = 0);
void MouseMove(HWND target, TPoint p, TShiftState shift = 0);
void MouseUp(HWND target, TPoint p, TMouseButton button = TMouseButton::mbLeft, TShiftState shift = 0);
void Click(HWND target, TPoint p, TMouseButton button = TMouseButton::mbLeft, TShiftState shift = 0);
// A left double click as the system queues it: press, release, double-click
// press, release.
void DoubleClick(HWND target, TPoint p);

// Real input through the system, to whichever window has the focus (or is
// under the mouse): the target's top-level window is brought to the front
// first. Use these where the path of the focus is what is tested. A click
// lands at `p` wherever the cursor was: the cursor is placed there first.
void SendKey(HWND target, int vk, TShiftState shift = 0);
void SendClick(HWND target, TPoint p);

// Puts the system's cursor on client point `p` of `target` and waits until
// it stays there; false when it would not settle. Under Wine the cursor
// follows the X pointer, which takes a move some time later (longer on a
// busy machine): until then the cursor can go back to its old place, and the
// system's own mouse moves reach whatever control lies under it. A test that
// mixes posted clicks with real input parks the cursor on an empty spot.
bool PlaceCursor(HWND target, TPoint p);

// Records fired events, one line each: the name and then the arguments that
// print (numbers, texts, truth values); the sender and anything else (a
// canvas) are left out.
class TEventLog {
 public:
  std::vector<std::string> Lines;
  void Clear() { Lines.clear(); }

  // A handler for an event of signature void(TObject*, Args...).
  template <class... Args>
  std::function<void(classlib::TObject*, Args...)> Record(std::string name) {
    return [this, name](classlib::TObject*, Args... args) {
      std::string line = name;
      (Append(line, args), ...);
      Lines.push_back(line);
    };
  }
  classlib::TNotifyEvent Notify(std::string name) { return Record<>(std::move(name)); }

 private:
  template <class T>
  static void Append(std::string& line, const T& value) {
    using V = std::decay_t<T>;
    if constexpr (std::is_same_v<V, bool>)
      line += value ? " true" : " false";
    else if constexpr (std::is_same_v<V, char>)
      line += std::string(" '") + value + "'";
    else if constexpr (std::is_arithmetic_v<V> || std::is_enum_v<V>)
      line += " " + std::to_string(static_cast<long long>(value));
    else if constexpr (std::is_convertible_v<V, std::string_view>)
      line += " " + std::string(std::string_view(value));
  }
};

// Geometry read back from a picture: the smallest rectangle holding every
// pixel of `color` within `area` (empty when none), and how many there are.
TRect ColorBounds(classlib::TBitmap& bitmap, classlib::TColor color, TRect area);
int CountColor(classlib::TBitmap& bitmap, classlib::TColor color, TRect area);

}  // namespace uikit
