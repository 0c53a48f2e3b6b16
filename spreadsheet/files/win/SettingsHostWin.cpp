// The Windows settings host.
#include "spreadsheet/files/win/SettingsHostWin.h"

#include <windows.h>
#include <winspool.h>

#include <optional>
#include <vector>

#include "spreadsheet/engine/FormatSettings.h"
#include "spreadsheet/engine/FormulaCompiler.h"

namespace corvane {
namespace {

// The default printer's orientation from its default document settings;
// nothing when no printer is installed.
std::optional<int> DefaultPrinterOrientation() {
  DWORD length = 0;
  GetDefaultPrinterA(nullptr, &length);
  if (length == 0) return std::nullopt;
  std::vector<char> name(length);
  if (!GetDefaultPrinterA(name.data(), &length)) return std::nullopt;
  HANDLE printer = nullptr;
  if (!OpenPrinterA(name.data(), &printer, nullptr)) return std::nullopt;
  std::optional<int> orientation;
  LONG size = DocumentPropertiesA(nullptr, printer, name.data(), nullptr, nullptr, 0);
  if (size > 0) {
    std::vector<char> buffer(static_cast<std::size_t>(size));
    auto* mode = reinterpret_cast<DEVMODEA*>(buffer.data());
    if (DocumentPropertiesA(nullptr, printer, name.data(), mode, nullptr, DM_OUT_BUFFER) == IDOK &&
        (mode->dmFields & DM_ORIENTATION))
      orientation = mode->dmOrientation == DMORIENT_LANDSCAPE ? 1 : 0;
  }
  ClosePrinter(printer);
  return orientation;
}

class TWindowsSettingsHost final : public TSettingsHost {
 public:
  // The orientation the program chose wins over the printer's default.
  bool GetPrinterOrientation(int& orientation) override {
    if (!chosen_) chosen_ = DefaultPrinterOrientation();
    if (!chosen_) return false;
    orientation = *chosen_;
    return true;
  }
  void SetPrinterOrientation(int orientation) override {
    if (DefaultPrinterOrientation()) chosen_ = orientation != 0 ? 1 : 0;
  }
  int ProcessorType() override {
    SYSTEM_INFO info{};
    GetSystemInfo(&info);
    return static_cast<int>(info.dwProcessorType);
  }
  void SeparatorsChanged() override { InitParserCharSets(ProgramSettings().Sep, FormatSettings().Period); }

 private:
  std::optional<int> chosen_;
};

}  // namespace

TSettingsHost& WindowsSettingsHost() {
  static TWindowsSettingsHost host;
  return host;
}

}  // namespace corvane
