// Calendar dates of file times.
#include "analyser/app/TimeText.h"

#include <cstdint>

namespace foldwick {

bool FileTimeToDosDate(TFileTime localTime, TCivilDate& date) {
  constexpr std::uint64_t kTicksPerDay = 864000000000ULL;
  // Days from 1601-01-01 to 1970-01-01.
  constexpr std::int64_t kEpochDays = 134774;
  std::int64_t z = static_cast<std::int64_t>(localTime / kTicksPerDay) - kEpochDays;
  // Civil date from days since 1970-01-01 (proleptic Gregorian).
  z += 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const std::int64_t doe = z - era * 146097;
  const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const std::int64_t mp = (5 * doy + 2) / 153;
  const int day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  const int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  const std::int64_t year = yoe + era * 400 + (month <= 2);
  if (year < 1980 || year > 2107) return false;
  date = {static_cast<int>(year), month, day};
  return true;
}

}  // namespace foldwick
