// Readable folder totals in test failures.
#pragma once

#include <ostream>

#include "analyser/app/FolderValues.h"

namespace foldwick {

inline void PrintTo(const TFolderTotals& t, std::ostream* os) {
  *os << "{clusters " << t.clusters << ", tail " << t.tailBytes << ", objects " << t.objects << ", bytes " << t.bytes << "}";
}

}  // namespace foldwick
