// The nesting count of the wait-cursor holders.
#include "spreadsheet/engine/WaitCursor.h"

#include "spreadsheet/engine/WindowServices.h"

namespace corvane {
namespace {

int gHolds = 0;

}  // namespace

TWaitCursorHold::TWaitCursorHold() {
  if (gHolds++ == 0) WindowServices().SetWaitCursor(true);
}

TWaitCursorHold::~TWaitCursorHold() {
  if (--gHolds == 0) WindowServices().SetWaitCursor(false);
}

}  // namespace corvane
