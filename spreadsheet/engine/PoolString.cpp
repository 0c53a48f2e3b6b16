// Length-prefixed strings in pool blocks.
#include "spreadsheet/engine/PoolString.h"

#include <cstring>

namespace corvane {
namespace {

std::string_view Cut(std::string_view s) { return s.substr(0, kLabelMaxChars); }

void Store(TPoolHandle p, std::string_view cut) {
  std::uint8_t* bytes = PoolBlock(p);
  if (bytes == nullptr) return;
  bytes[0] = static_cast<std::uint8_t>(cut.size());
  if (!cut.empty()) std::memcpy(bytes + 1, cut.data(), cut.size());
}

}  // namespace

TPoolHandle PoolNewString(std::string_view s) {
  std::string_view cut = Cut(s);
  TPoolHandle p = PoolAlloc(static_cast<std::uint32_t>(cut.size() + 1));
  if (p != kNilHandle) Store(p, cut);
  return p;
}

void PoolFreeString(TPoolHandle& p) {
  if (p == kNilHandle) return;
  PoolFree(p, PoolStringBlockBytes(p));
  p = kNilHandle;
}

bool PoolStrAssign(TPoolHandle& p, std::string_view s) {
  std::string_view cut = Cut(s);
  if (p == kNilHandle || PoolStringBlockBytes(p) != cut.size() + 1) {
    TPoolHandle fresh = PoolAlloc(static_cast<std::uint32_t>(cut.size() + 1));
    if (fresh == kNilHandle) return false;
    PoolFreeString(p);
    p = fresh;
  }
  Store(p, cut);
  return true;
}

std::string_view PoolStringView(TPoolHandle p) {
  const std::uint8_t* bytes = PoolBlock(p);
  if (bytes == nullptr) return {};
  return {reinterpret_cast<const char*>(bytes + 1), bytes[0]};
}

}  // namespace corvane
