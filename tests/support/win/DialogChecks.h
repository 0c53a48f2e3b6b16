// Checks of a dialog as a keyboard user meets it: where the focus starts
// and whether its text waits to be typed over, where Tab takes it and in
// what order, whether Shift+Tab goes back the same way, what it never
// reaches, which Alt letters two controls claim, texts cut off and controls
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
  // Where Shift+Tab, pressed round from the start, leaves the exact reverse
  // of the Tab round ("Shift+Tab from A went to B, not C"); empty when it
  // retraces it (a radio group is entered at its checked button both ways).
  std::vector<std::string> reverse;
  // Controls a user can change that Tab never reaches: edits, buttons,
  // boxes, lists, every other tab stop, links (labels with the hand over
  // them), and own-drawn controls that take keys or answer a click by
  // drawing something else.
  std::vector<std::string> unreached;
  // Steps that go against reading order: up and to the left of the control
  // before (not on into a column to its right), or back to the left on the
  // same line; the one step from the last control back to the first is
  // reading order turning round.
  std::vector<std::string> backwards;
};

// Presses Tab on the focused control of `dialog` (in this thread) until the
// focus is back where it started, then Shift+Tab as often, which must
// retrace the round. The focus ends where it started.
TTabWalk WalkTabOrder(HWND dialog);

// Alt letters that two controls in view and enabled both answer, as
// "O: Button<P&olar>, Button<&Ok>"; empty when none do. A control's letters
// are its caption's accelerator (buttons, boxes, labels), for a tab control
// those its tabs show, or, for an own-drawn control, those it says it
// answers (its items').
std::vector<std::string> AltLetterClashes(HWND dialog);

// What is wrong with the field a dialog opens on, "" when nothing: an edit
// (or combo box) whose text is not selected whole, so that typing would not
// replace it.
std::string OpeningTextProblem(HWND focus);

// Labels in view whose text, wrapped to their width, needs more room than
// they have ("Static<...> needs 152x26 of 152x18 pixels"); a label that
// shortens its text with "..." is not cut off.
std::vector<std::string> ClippedTexts(HWND dialog);

// The fields of `dialog` in view and enabled that take one line of text:
// single-line edits, combo boxes and date fields, in window order. Enter in
// each should do what the dialog's default button does.
std::vector<HWND> EnterFields(HWND dialog);

// Visible controls of `dialog` that overlap a visible sibling, as
// "A over B"; empty when none do. Up-down arrows over the edge of their
// field are part of it.
std::vector<std::string> OverlappingControls(HWND dialog);

// A control's name: its class and text, an edit by the caption to its left.
std::string ControlName(HWND control);

// The caption of tab `tab` of one of the system's tab controls.
std::string TabCaption(HWND strip, int tab);

}  // namespace uikit
