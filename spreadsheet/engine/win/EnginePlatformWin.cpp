// The Windows engine platform.
#include "spreadsheet/engine/win/EnginePlatformWin.h"

#include <windows.h>

#include <string>

namespace corvane {
namespace {

class TWindowsEnginePlatform final : public TEnginePlatform {
 public:
  std::uint64_t TotalPhysicalMemory() override {
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof status;
    return GlobalMemoryStatusEx(&status) ? status.ullTotalPhys : DefaultEnginePlatform().TotalPhysicalMemory();
  }
  // The heap is the portable platform's, so blocks may be freed through either.
  void* GetMem(std::size_t bytes) override { return DefaultEnginePlatform().GetMem(bytes); }
  void FreeMem(void* block) override { DefaultEnginePlatform().FreeMem(block); }
  void MessageBeep() override { ::MessageBeep(MB_OK); }
  void Tone(int frequency, int durationMs) override {
    if (frequency >= 37 && frequency <= 32767 && durationMs > 0)
      ::Beep(static_cast<DWORD>(frequency), static_cast<DWORD>(durationMs));
  }
  std::uint32_t TickCount() override { return GetTickCount(); }
  void Idle() override { Sleep(1); }
  std::uint64_t TimeStampCounter() override { return DefaultEnginePlatform().TimeStampCounter(); }
  TBitmapHandle LoadBitmapFile(std::string_view name) override {
    std::string path(name);
    HANDLE bitmap = LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION);
    return reinterpret_cast<TBitmapHandle>(bitmap);
  }
  void FreeBitmap(TBitmapHandle bitmap) override {
    if (bitmap != kNoBitmap) DeleteObject(reinterpret_cast<HGDIOBJ>(bitmap));
  }
  std::string VersionText() override { return DefaultEnginePlatform().VersionText(); }
  std::string UpperCaseAnsi(std::string_view text) override {
    std::string upper(text);
    if (!upper.empty()) CharUpperBuffA(upper.data(), static_cast<DWORD>(upper.size()));
    return upper;
  }
  std::string AnsiFromUtf8(std::string_view text) override {
    if (text.empty()) return {};
    const int size = static_cast<int>(text.size());
    std::wstring wide(static_cast<std::size_t>(MultiByteToWideChar(CP_UTF8, 0, text.data(), size, nullptr, 0)), L'\0');
    if (wide.empty()) return std::string(text.size(), '?');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), size, wide.data(), static_cast<int>(wide.size()));
    const int wideSize = static_cast<int>(wide.size());
    std::string ansi(static_cast<std::size_t>(WideCharToMultiByte(CP_ACP, 0, wide.data(), wideSize, nullptr, 0, "?", nullptr)), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.data(), wideSize, ansi.data(), static_cast<int>(ansi.size()), "?", nullptr);
    return ansi;
  }
};

}  // namespace

TEnginePlatform& WindowsEnginePlatform() {
  static TWindowsEnginePlatform* platform = new TWindowsEnginePlatform;
  return *platform;
}

}  // namespace corvane
