// A table of a program's dialogs at the keyboard, each opened as its command
// opens it, from within its own run (a modal one runs inside the command).
// For each dialog (and each tab of its tab strips, walked in turn): the
// control it opens on, and that field's text waiting to be typed over (also
// on the second use, when it keeps its text); Tab round every control in
// reading order and Shift+Tab back the same way; nothing that takes input
// out of reach; no Alt letter claimed twice; a tab that shows a letter
// reached by it; no text cut off; Escape closing it; and Enter in every
// one-line field doing what the default button does (the dialog closes,
// or what the row says the button does), the keyboard left on a control in
// view, unless the field has a use of its own.
#pragma once

#include "classlib/win/Win32.h"

#include <functional>
#include <string>
#include <vector>

namespace uikit {

// A row of the table: a dialog (or one state of it) as a command opens it.
struct TDialogRow {
  const char* name;
  // Opens the dialog; a modal one runs inside.
  std::function<void()> open;
  // The control it opens on, by ControlName; empty: not checked.
  std::string first;
  // Fields in which Enter has a use of its own (it stays in the dialog).
  std::vector<std::string> ownEnter = {};
  // Takes the dialog to the state the row is about (a sub-page, a choice
  // made), with the keys a user would press.
  std::function<void(HWND)> prepare = {};
  // Escape closes it (pressed twice: the first may empty a field).
  bool escapeCloses = true;
  // Whether what the default button does has been done; empty: the dialog
  // closed (or its modal run has its answer).
  std::function<bool(HWND)> acted = {};
  // Brings up what the dialog opens from before each opening: the window
  // of its own (not a dialog of the table) whose command opens it.
  std::function<void()> ready = {};
};

// Shows each further tab of tab strips the kit does not know (own-drawn
// ones) in `dialog`, calling `check` with a name for each, and then shows
// their first tabs again. The system's tab controls the table walks itself,
// from the tab shown to each other one and back.
using TTabWalker = std::function<void(HWND dialog, const std::function<void(const std::string& where)>& check)>;

// Runs every check on each dialog of `rows`; `frame` is the program's main
// window, which must be usable again after each. Message boxes the commands
// show are answered (and printed), and a dialog that a dialog's command
// opens in turn is cancelled.
void CheckDialogTable(HWND frame, const std::vector<TDialogRow>& rows, const TTabWalker& ownTabs = {});

// Runs `script` on the dialog `open` brings up, from within its run; a
// dialog the script leaves up is closed. False when no dialog came.
bool WithDialog(const std::function<void()>& open, const std::function<void(HWND)>& script);

// The dialog has gone (or its modal run has its answer).
bool Closed(HWND dialog);

}  // namespace uikit
