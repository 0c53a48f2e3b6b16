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
  // Windows-1252: Latin-1 but for the 32 characters placed at $80..$9F.
  std::string AnsiFromUtf8(std::string_view text) override {
    static const char16_t kHigh[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                       0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                       0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                       0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
    std::string ansi;
    for (std::size_t i = 0; i < text.size();) {
      const auto lead = static_cast<unsigned char>(text[i]);
      const int extra = lead < 0x80 ? 0 : (lead & 0xE0) == 0xC0 ? 1 : (lead & 0xF0) == 0xE0 ? 2 : (lead & 0xF8) == 0xF0 ? 3 : -1;
      char32_t code = extra == 0 ? lead : extra == 1 ? lead & 0x1F : extra == 2 ? lead & 0x0F : lead & 0x07;
      bool whole = extra >= 0 && i + static_cast<std::size_t>(extra) < text.size();
      for (int k = 1; whole && k <= extra; ++k) {
        const auto next = static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]);
        whole = (next & 0xC0) == 0x80;
        code = (code << 6) | (next & 0x3F);
      }
      if (!whole) {
        ansi += '?';
        ++i;
        continue;
      }
      i += static_cast<std::size_t>(extra) + 1;
      char byte = '?';
      if (code < 0x80 || (code >= 0xA0 && code <= 0xFF)) {
        byte = static_cast<char>(code);
      } else {
        for (int k = 0; k < 32; ++k)
          if (kHigh[k] != 0 && kHigh[k] == code) byte = static_cast<char>(0x80 + k);
      }
      ansi += byte;
    }
    return ansi;
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
