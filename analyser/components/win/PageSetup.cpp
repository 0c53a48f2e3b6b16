// The page-setup dialog and the program's printer choice.
#include "analyser/components/win/PageSetup.h"

#include <cstring>

#include "classlib/win/Application.h"
#include "classlib/win/GdiCanvas.h"

namespace foldwick {

namespace {

// The dialog whose hooks are running; a nested dialog puts the outer one
// back when it ends.
TPageSetupDialog* gActive = nullptr;

// The "Printer..." button of the page-setup dialog.
constexpr WORD kPrinterButton = 1026;

HGLOBAL GlobalCopy(const std::vector<std::uint8_t>& bytes) {
  if (bytes.empty()) return nullptr;
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
  if (block == nullptr) return nullptr;
  if (void* p = GlobalLock(block)) {
    std::memcpy(p, bytes.data(), bytes.size());
    GlobalUnlock(block);
  }
  return block;
}

std::vector<std::uint8_t> GlobalBytes(HGLOBAL block) {
  std::vector<std::uint8_t> bytes;
  if (block == nullptr) return bytes;
  const SIZE_T size = GlobalSize(block);
  if (const void* p = GlobalLock(block)) {
    bytes.assign(static_cast<const std::uint8_t*>(p), static_cast<const std::uint8_t*>(p) + size);
    GlobalUnlock(block);
  }
  return bytes;
}

// Frees a global block when it goes.
struct TGlobalBlock {
  HGLOBAL handle = nullptr;
  ~TGlobalBlock() {
    if (handle != nullptr) GlobalFree(handle);
  }
};

RECT ToRECT(const classlib::TRect& r) { return {r.Left, r.Top, r.Right, r.Bottom}; }
classlib::TRect ToTRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

}  // namespace

TPrinterChoice& PrinterChoice() {
  static TPrinterChoice choice;
  return choice;
}

UINT_PTR CALLBACK TPageSetupDialog::SetupHook(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
  TPageSetupDialog* self = gActive;
  if (self == nullptr) return 0;
  if (msg == WM_COMMAND && LOWORD(wParam) == kPrinterButton && self->OnPrinter) {
    self->OnPrinter(self, dialog);
    return TRUE;
  }
  if (msg == WM_INITDIALOG && !self->centred_ && !(self->OnInitPaintPage && self->OnPaintPage)) {
    // Centred across, a third of the free height down.
    RECT r, work;
    GetWindowRect(dialog, &r);
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    const int w = r.right - r.left, h = r.bottom - r.top;
    SetWindowPos(dialog, nullptr, work.left + (work.right - work.left - w) / 2,
                 work.top + (work.bottom - work.top - h) / 3, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    self->centred_ = true;
  }
  return 0;
}

UINT_PTR CALLBACK TPageSetupDialog::PaintHook(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
  TPageSetupDialog* self = gActive;
  if (self == nullptr) return 0;
  if (msg == WM_PSD_PAGESETUPDLG) {
    const short paper = static_cast<short>(LOWORD(wParam));
    const unsigned flags = HIWORD(wParam);
    return self->OnInitPaintPage(self, paper, flags & 0x0F, (flags >> 4) & 0x0F, (flags >> 8) & 0x0F,
                                 reinterpret_cast<PAGESETUPDLGA*>(lParam))
               ? TRUE
               : FALSE;
  }
  if (msg >= WM_PSD_FULLPAGERECT && msg <= WM_PSD_YAFULLPAGERECT) {
    auto dc = reinterpret_cast<HDC>(wParam);
    if (dc == nullptr) return FALSE;
    classlib::TGdiCanvas canvas(dc);
    const classlib::TRect rect = lParam != 0 ? ToTRect(*reinterpret_cast<const RECT*>(lParam)) : classlib::TRect{};
    return self->OnPaintPage(self, msg, canvas, rect) ? TRUE : FALSE;
  }
  return 0;
}

bool TPageSetupDialog::Execute() {
  const bool paintHook = OnInitPaintPage && OnPaintPage;
  const bool setupHook = OnPrinter || OnInitPaintPage || OnPaintPage;
  PAGESETUPDLGA dialog = {};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = classlib::Application().Handle();
  // The setup hook also centres the dialog, so it is always there.
  dialog.Flags = PageSetupFlags(Options, Measurements, setupHook, paintHook) | PSD_ENABLEPAGESETUPHOOK;
  dialog.lpfnPageSetupHook = SetupHook;
  if (paintHook) dialog.lpfnPagePaintHook = PaintHook;
  dialog.lCustData = CustomData;
  dialog.ptPaperSize = {PaperSize.x, PaperSize.y};
  dialog.rtMinMargin = ToRECT(MinMargins);
  dialog.rtMargin = ToRECT(Margins);

  TPrinterChoice& printer = PrinterChoice();
  TGlobalBlock names, mode;
  if (!printer.names.device.empty()) names.handle = GlobalCopy(BuildDevNames(printer.names));
  mode.handle = GlobalCopy(printer.deviceMode);
  dialog.hDevNames = names.handle;
  dialog.hDevMode = mode.handle;

  TPageSetupDialog* outer = gActive;
  gActive = this;
  centred_ = false;
  const bool ok = PageSetupDlgA(&dialog) != FALSE;
  gActive = outer;
  // The dialog may have replaced the blocks; the holders free what it left.
  names.handle = dialog.hDevNames;
  mode.handle = dialog.hDevMode;
  if (!ok) return false;

  PaperSize = {dialog.ptPaperSize.x, dialog.ptPaperSize.y};
  MinMargins = ToTRect(dialog.rtMinMargin);
  Margins = ToTRect(dialog.rtMargin);
  const std::vector<std::uint8_t> namesBlock = GlobalBytes(dialog.hDevNames);
  if (std::optional<TPrinterNames> chosen = ParseDevNames(namesBlock.data(), namesBlock.size())) printer.names = *chosen;
  printer.deviceMode = GlobalBytes(dialog.hDevMode);
  return true;
}

}  // namespace foldwick
