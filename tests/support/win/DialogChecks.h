// Checks of a dialog as a keyboard user meets it: where the focus starts,
// where Tab takes it and in what order, what it never reaches, and controls
// that cover one another. Controls are named by their class and text (an
// edit by the caption to its left), so that a failure reads like the dialog.
#pragma once

#include "classlib/win/Win32.h"

#include <string>
#include <vector>

namespace uikit {

struct TTabWalk {
  // The control that has the focus when the walk starts.
  std::string first;
  // The controls Tab visits from there until the focus comes back; the last
  // entry says "trapped at ..." when it never does.
  std::vector<std::string> cycle;
  // Controls a user can change (edits, buttons, boxes, lists and every
  // other tab stop) that Tab never reaches.
  std::vector<std::string> unreached;
  // Steps that go against reading order (up and to the left of the control
  // before, not on into a column to its right), when there is more than the
  // one step from the last control back to the first.
  std::vector<std::string> backwards;
};

// Presses Tab on the focused control of `dialog` (in this thread) until the
// focus is back where it started, then Shift+Tab once, which must undo the
// last step.
TTabWalk WalkTabOrder(HWND dialog);

// Visible controls of `dialog` that overlap a visible sibling, as
// "A over B"; empty when none do.
std::vector<std::string> OverlappingControls(HWND dialog);

// A control's name: its class and text, an edit by the caption to its left.
std::string ControlName(HWND control);

}  // namespace uikit
