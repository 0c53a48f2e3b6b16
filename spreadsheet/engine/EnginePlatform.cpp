// The portable default platform and the installed-platform pointer.
#include "spreadsheet/engine/EnginePlatform.h"

#include <chrono>
#include <cstdlib>
#include <thread>

#if defined(__x86_64__) || defined(__i386__)
#include <x86intrin.h>
#endif

namespace corvane {
namespace {

// The version the program reports (the VERSION function gives the same number).
constexpr const char* kVersionText = "1.6008";

class TPortablePlatform final : public TEnginePlatform {
 public:
  // More than the pool ever takes (4080 pages of 8192 bytes), so the pool's own
  // limit decides.
  std::uint64_t TotalPhysicalMemory() override { return std::uint64_t{1} << 32; }
  void* GetMem(std::size_t bytes) override { return std::malloc(bytes); }
  void FreeMem(void* block) override { std::free(block); }
  void MessageBeep() override {}
  void Tone(int, int) override {}
  std::uint32_t TickCount() override {
    auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<std::uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
  }
  void Idle() override { std::this_thread::sleep_for(std::chrono::milliseconds(1)); }
  std::uint64_t TimeStampCounter() override {
#if defined(__x86_64__) || defined(__i386__)
    return __rdtsc();
#else
    return 0;
#endif
  }
  TBitmapHandle LoadBitmapFile(std::string_view) override { return kNoBitmap; }
  void FreeBitmap(TBitmapHandle) override {}
  std::string VersionText() override { return kVersionText; }
  // Windows-1252: a-z, the accented letters from $E0 (but the division sign
  // $F7) and the four letters whose capitals sit between $8A and $9F. "ß" and
  // "µ" have no capital there.
  std::string UpperCaseAnsi(std::string_view text) override {
    std::string upper(text);
    for (char& c : upper) {
      auto u = static_cast<unsigned char>(c);
      if ((u >= 'a' && u <= 'z') || (u >= 0xE0 && u <= 0xFE && u != 0xF7))
        u = static_cast<unsigned char>(u - 0x20);
      else if (u == 0x9A || u == 0x9C || u == 0x9E)
        u = static_cast<unsigned char>(u - 0x10);
      else if (u == 0xFF)
        u = 0x9F;
      c = static_cast<char>(u);
    }
    return upper;
  }
};

TEnginePlatform* gInstalled = nullptr;

}  // namespace

// Never destroyed, so exit-time releases of the pool can still reach the heap.
TEnginePlatform& DefaultEnginePlatform() {
  static TPortablePlatform* platform = new TPortablePlatform;
  return *platform;
}

TEnginePlatform& EnginePlatform() { return gInstalled ? *gInstalled : DefaultEnginePlatform(); }

void SetEnginePlatform(TEnginePlatform* platform) { gInstalled = platform; }

}  // namespace corvane
