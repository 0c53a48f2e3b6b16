// The thin seam between the engine and the machine it runs on: the runtime heap
// for pool pages and row tables, the physical memory size, the beep and tone, the
// millisecond and time-stamp clocks, bitmap files, the version text and the case
// of texts in the ANSI code page. The engine
// calls only this interface; the Windows program installs its own implementation
// at start, and tests install fakes. Without one, a portable default is used.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace corvane {

// An opaque handle of a loaded bitmap (a GDI bitmap in the Windows program).
// 0 means no bitmap.
using TBitmapHandle = std::uintptr_t;
inline constexpr TBitmapHandle kNoBitmap = 0;

class TEnginePlatform {
 public:
  virtual ~TEnginePlatform() = default;

  // Total physical memory in bytes; sizes the page pool once at PoolInit.
  virtual std::uint64_t TotalPhysicalMemory() = 0;
  // The runtime heap. GetMem returns nullptr when it refuses; FreeMem of
  // nullptr does nothing. Every block from GetMem goes back through FreeMem of
  // the same platform object or of one sharing its heap.
  virtual void* GetMem(std::size_t bytes) = 0;
  virtual void FreeMem(void* block) = 0;

  // The system's default beep.
  virtual void MessageBeep() = 0;
  // A tone of `frequency` hertz for `durationMs` milliseconds; may return
  // before the tone ends.
  virtual void Tone(int frequency, int durationMs) = 0;
  // A millisecond tick count that wraps at 2^32.
  virtual std::uint32_t TickCount() = 0;
  // Gives up the processor for a moment while a delay runs.
  virtual void Idle() = 0;
  // The processor's time-stamp counter (0 where there is none).
  virtual std::uint64_t TimeStampCounter() = 0;

  // Loads the bitmap file `name`; kNoBitmap when it cannot. The caller owns the
  // handle and gives it back through FreeBitmap.
  virtual TBitmapHandle LoadBitmapFile(std::string_view name) = 0;
  virtual void FreeBitmap(TBitmapHandle bitmap) = 0;

  // The program's version as shown to the user.
  virtual std::string VersionText() = 0;

  // `text` (in the ANSI code page) with every lower-case letter of that code
  // page made upper case, as the system does for file names ("été" gives
  // "ÉTÉ"); other bytes are kept.
  virtual std::string UpperCaseAnsi(std::string_view text) = 0;
  // UTF-8 `text` in the ANSI code page; a character the code page lacks, or
  // a byte that is no UTF-8, becomes "?".
  virtual std::string AnsiFromUtf8(std::string_view text) = 0;
};

// The installed platform (the portable default when none was installed).
TEnginePlatform& EnginePlatform();
// Installs `platform` (not owned; it must outlive its use), or the default for
// nullptr. Blocks taken from one platform's GetMem must be freed through a
// platform on the same heap: fakes forward to the default heap.
void SetEnginePlatform(TEnginePlatform* platform);

// The portable default: the C heap, no sound, a steady clock, no bitmaps, the
// letters of Windows-1252 (the Western ANSI code page), and a physical memory
// size large enough for the pool's full 4080 pages.
TEnginePlatform& DefaultEnginePlatform();

}  // namespace corvane
