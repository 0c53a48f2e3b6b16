// The printer on Windows: printer choice, device contexts and print jobs.
#include "spreadsheet/files/win/Printer.h"

#include <commdlg.h>
#include <winspool.h>

#include <cstring>

#include "classlib/win/Application.h"
#include "classlib/win/Dialogs.h"
#include "spreadsheet/files/PrintDialog.h"
#include "spreadsheet/files/SettingsFile.h"
#include "spreadsheet/files/win/PrintForms.h"
#include "spreadsheet/graphs/GraphDraw.h"

namespace corvane {

namespace {

std::string& ChosenPrinter() {
  static std::string name;
  return name;
}

std::string DefaultPrinterName() {
  DWORD length = 0;
  GetDefaultPrinterA(nullptr, &length);
  if (length == 0) return "";
  std::vector<char> name(length);
  if (!GetDefaultPrinterA(name.data(), &length)) return "";
  return name.data();
}

// The printer's default document settings with the chosen orientation;
// empty when the printer cannot be opened.
std::vector<char> DeviceMode(const std::string& printerName) {
  std::vector<char> buffer;
  HANDLE printer = nullptr;
  std::string name = printerName;
  if (!OpenPrinterA(name.data(), &printer, nullptr)) return buffer;
  LONG size = DocumentPropertiesA(nullptr, printer, name.data(), nullptr, nullptr, 0);
  if (size > 0) {
    buffer.resize(static_cast<std::size_t>(size));
    auto* mode = reinterpret_cast<DEVMODEA*>(buffer.data());
    if (DocumentPropertiesA(nullptr, printer, name.data(), mode, nullptr, DM_OUT_BUFFER) != IDOK) {
      buffer.clear();
    } else {
      mode->dmFields |= DM_ORIENTATION;
      mode->dmOrientation = PrinterLandscape() ? DMORIENT_LANDSCAPE : DMORIENT_PORTRAIT;
    }
  }
  ClosePrinter(printer);
  return buffer;
}

void ShowNoPrinter() { classlib::MessageDlg(kNoPrinterText, MB_OK | MB_ICONINFORMATION); }

}  // namespace

std::vector<std::string> InstalledPrinters() {
  std::vector<std::string> names;
  DWORD needed = 0, count = 0;
  const DWORD flags = PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS;
  EnumPrintersA(flags, nullptr, 4, nullptr, 0, &needed, &count);
  if (needed == 0) return names;
  std::vector<BYTE> buffer(needed);
  if (!EnumPrintersA(flags, nullptr, 4, buffer.data(), needed, &needed, &count)) return names;
  const auto* info = reinterpret_cast<const PRINTER_INFO_4A*>(buffer.data());
  for (DWORD i = 0; i < count; ++i)
    if (info[i].pPrinterName != nullptr) names.emplace_back(info[i].pPrinterName);
  return names;
}

std::string CurrentPrinterName() {
  if (!ChosenPrinter().empty()) return ChosenPrinter();
  return DefaultPrinterName();
}

void SetCurrentPrinter(const std::string& name) { ChosenPrinter() = name; }

bool PrinterLandscape() {
  int orientation = 0;
  return SettingsHost().GetPrinterOrientation(orientation) && orientation == 1;
}

void SetPrinterLandscape(bool landscape) { SettingsHost().SetPrinterOrientation(landscape ? 1 : 0); }

TPrinterDC::TPrinterDC() {
  std::string name = CurrentPrinterName();
  if (name.empty()) return;
  std::vector<char> mode = DeviceMode(name);
  dc_ = CreateDCA("WINSPOOL", name.c_str(), nullptr,
                  mode.empty() ? nullptr : reinterpret_cast<const DEVMODEA*>(mode.data()));
}

TPrinterDC::~TPrinterDC() {
  if (dc_ != nullptr) DeleteDC(dc_);
}

TPageMetrics TPrinterDC::Metrics() const {
  if (dc_ == nullptr) return {};
  return PrintableArea(GetDeviceCaps(dc_, PHYSICALWIDTH), GetDeviceCaps(dc_, PHYSICALHEIGHT),
                       GetDeviceCaps(dc_, PHYSICALOFFSETX), GetDeviceCaps(dc_, PHYSICALOFFSETY),
                       GetDeviceCaps(dc_, HORZRES), GetDeviceCaps(dc_, VERTRES), GetDeviceCaps(dc_, LOGPIXELSX),
                       GetDeviceCaps(dc_, LOGPIXELSY));
}

TPageMetrics CurrentPageMetrics() {
  TPrinterDC printer;
  TPageMetrics metrics = printer.Metrics();
  return metrics.Valid() ? metrics : DefaultPageMetrics(PrinterLandscape());
}

bool RunPrinterSetup(HWND owner) {
  if (CurrentPrinterName().empty()) {
    ShowNoPrinter();
    return false;
  }
  PRINTDLGA dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.Flags = PD_PRINTSETUP;
  if (!PrintDlgA(&dialog)) return false;
  if (dialog.hDevNames != nullptr) {
    if (auto* names = static_cast<DEVNAMES*>(GlobalLock(dialog.hDevNames))) {
      SetCurrentPrinter(reinterpret_cast<const char*>(names) + names->wDeviceOffset);
      GlobalUnlock(dialog.hDevNames);
    }
    GlobalFree(dialog.hDevNames);
  }
  if (dialog.hDevMode != nullptr) {
    if (auto* mode = static_cast<DEVMODEA*>(GlobalLock(dialog.hDevMode))) {
      if (mode->dmFields & DM_ORIENTATION) SetPrinterLandscape(mode->dmOrientation == DMORIENT_LANDSCAPE);
      GlobalUnlock(dialog.hDevMode);
    }
    GlobalFree(dialog.hDevMode);
  }
  return true;
}

// ---- Print jobs --------------------------------------------------------------------------

TPrinterJob::TPrinterJob() = default;

TPrinterJob::~TPrinterJob() {
  if (started_) Abort();
}

bool TPrinterJob::BeginDoc(std::string_view title) {
  if (printer_.Get() == nullptr) return false;
  std::string name(title);
  DOCINFOA info{};
  info.cbSize = sizeof info;
  info.lpszDocName = name.c_str();
  if (StartDocA(printer_.Get(), &info) <= 0) return false;
  started_ = true;
  if (StartPage(printer_.Get()) <= 0) {
    Abort();
    return false;
  }
  canvas_ = std::make_unique<classlib::TGdiCanvas>(printer_.Get());
  return true;
}

void TPrinterJob::NewPage() {
  // Some drivers reset the device context with each page: the canvas is
  // made again for the new one.
  canvas_.reset();
  EndPage(printer_.Get());
  StartPage(printer_.Get());
  canvas_ = std::make_unique<classlib::TGdiCanvas>(printer_.Get());
}

void TPrinterJob::EndDoc() {
  canvas_.reset();
  if (!started_) return;
  EndPage(printer_.Get());
  ::EndDoc(printer_.Get());
  started_ = false;
}

void TPrinterJob::Abort() {
  canvas_.reset();
  if (!started_) return;
  AbortDoc(printer_.Get());
  started_ = false;
}

void TPrinterJob::ShowStatus(std::string_view printerName) {
  status_ = std::make_unique<TAbortForm>(nullptr);
  status_->Start(std::string(printerName));
}

void TPrinterJob::Progress(int percent, int lines, int page) {
  if (status_) status_->Progress(percent, lines, page);
}

bool TPrinterJob::AbortRequested() {
  classlib::Application().ProcessMessages();
  return status_ && status_->Aborted();
}

void TPrinterJob::CloseStatus() { status_.reset(); }

int PrintWorksheet(TPrintSheet& sheet, int mode, int page) {
  TPrinterJob job;
  if (!job.Ready()) {
    ShowNoPrinter();
    return 0;
  }
  TPrintTarget target;
  target.job = &job;
  target.page = job.Metrics();
  return PrintSheetPages(sheet, mode, page, target);
}

bool PrintGraph(int index) {
  TPrinterJob job;
  if (!job.Ready()) {
    ShowNoPrinter();
    return false;
  }
  TPageMetrics page = job.Metrics();
  if (!page.Valid() || !job.BeginDoc("Graph")) return false;
  const int marginX = page.ppiX / 2, marginY = page.ppiY / 2;
  HDC dc = static_cast<classlib::TGdiCanvas&>(job.Canvas()).Handle();
  POINT old{};
  SetViewportOrgEx(dc, marginX, marginY, &old);
  DrawGraph(job.Canvas(), page.width - 2 * marginX, page.height - 2 * marginY, index);
  SetViewportOrgEx(dc, old.x, old.y, nullptr);
  job.EndDoc();
  return true;
}

}  // namespace corvane
