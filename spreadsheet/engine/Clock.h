// The local date and time that today's date and the current time come from,
// behind a seam that tests replace.
#pragma once

namespace corvane {

struct TClockTime {
  int year = 0, month = 0, day = 0;             // month and day from 1
  int hour = 0, minute = 0, second = 0, millisecond = 0;
};

using TClockSource = TClockTime (*)();

// The current local date and time from the installed source.
TClockTime ReadClock();

// Installs a source in place of the system clock (nullptr puts the system
// clock back) and returns the one it replaces.
TClockSource SetClockSource(TClockSource source);

}  // namespace corvane
