// The date part of file times, as the date texts of the analyser show them.
#pragma once

#include "analyser/app/FolderValues.h"

namespace foldwick {

struct TCivilDate {
  int year = 0;
  int month = 0;
  int day = 0;
  bool operator==(const TCivilDate&) const = default;
};

// A file time has a text only when its high 32-bit word is above 0.
inline bool HasTimeText(TFileTime time) { return static_cast<std::int32_t>(time >> 32) > 0; }

// The calendar date of a (local) file time; false outside the years 1980 to
// 2107, the range of the DOS date the texts go through.
bool FileTimeToDosDate(TFileTime localTime, TCivilDate& date);

}  // namespace foldwick
