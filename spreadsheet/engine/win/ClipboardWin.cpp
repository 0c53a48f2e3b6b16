// The engine's clipboard on the Win32 clipboard functions.
#include "spreadsheet/engine/win/ClipboardWin.h"

#include <cstring>
#include <string>

#include "spreadsheet/engine/Clipboard.h"

namespace corvane {

namespace {

// Another program may hold the clipboard for a moment (a clipboard viewer
// reading what we just put there), so opening is retried briefly.
constexpr int kOpenAttempts = 20;
constexpr DWORD kOpenRetryMs = 10;

class TWin32Clipboard final : public TClipboard {
 public:
  explicit TWin32Clipboard(HWND owner) : owner_(owner) {
    privateFormat_ = RegisterClipboardFormatA(kPrivateClipboardFormatName);
    if (owner_ == nullptr)
      owner_ = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleA(nullptr), nullptr);
  }

  UINT PrivateFormat() const { return privateFormat_; }

  bool Open() override {
    for (int attempt = 0; attempt < kOpenAttempts; ++attempt) {
      if (OpenClipboard(owner_)) return true;
      Sleep(kOpenRetryMs);
    }
    return false;
  }
  void Close() override { CloseClipboard(); }
  bool Empty() override { return EmptyClipboard() != FALSE; }

  bool Put(TClipFormat format, std::string_view block) override {
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, block.size() + 1);
    if (memory == nullptr) return false;
    auto* bytes = static_cast<char*>(GlobalLock(memory));
    if (bytes == nullptr) {
      GlobalFree(memory);
      return false;
    }
    std::memcpy(bytes, block.data(), block.size());
    bytes[block.size()] = '\0';
    GlobalUnlock(memory);
    // The clipboard owns the memory once it accepts it.
    if (SetClipboardData(FormatNumber(format), memory) == nullptr) {
      GlobalFree(memory);
      return false;
    }
    return true;
  }

  bool Get(TClipFormat format, std::string& block) override {
    block.clear();
    HANDLE data = GetClipboardData(FormatNumber(format));
    if (data == nullptr) return false;
    const auto* bytes = static_cast<const char*>(GlobalLock(data));
    if (bytes == nullptr) return false;
    SIZE_T size = GlobalSize(data);
    block.assign(bytes, strnlen(bytes, size));
    GlobalUnlock(data);
    return true;
  }

 private:
  UINT FormatNumber(TClipFormat format) const { return format == TClipFormat::kPrivate ? privateFormat_ : CF_TEXT; }

  HWND owner_;
  UINT privateFormat_ = 0;
};

TWin32Clipboard* gWindowsClipboard = nullptr;

}  // namespace

TClipboard& WindowsClipboard(HWND owner) {
  static TWin32Clipboard clipboard(owner);
  gWindowsClipboard = &clipboard;
  return clipboard;
}

void InstallWindowsClipboard(HWND owner) { SetClipboard(&WindowsClipboard(owner)); }

UINT PrivateClipboardFormat() { return gWindowsClipboard ? gWindowsClipboard->PrivateFormat() : 0; }

}  // namespace corvane
