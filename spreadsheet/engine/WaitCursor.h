// The hourglass while a long file operation runs (a load, a merge, a save):
// one holder turns it on through the window services for as long as it lives.
#pragma once

namespace corvane {

// Holders nest: only the outermost turns the cursor on and back off, so a
// save inside a command that holds one keeps the hourglass to the end.
class TWaitCursorHold {
 public:
  TWaitCursorHold();
  ~TWaitCursorHold();
  TWaitCursorHold(const TWaitCursorHold&) = delete;
  TWaitCursorHold& operator=(const TWaitCursorHold&) = delete;
};

}  // namespace corvane
