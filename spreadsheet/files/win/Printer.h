// The program's printer: which installed printer is current (the system's
// default until the user picks another), its device context in the chosen
// orientation, its page, the system's printer setup dialog, and a print job
// on it with the "Printer Status" window.
#pragma once

#include "classlib/win/Win32.h"

#include <memory>
#include <string>
#include <vector>

#include "classlib/win/GdiCanvas.h"
#include "spreadsheet/files/PrintEngine.h"

namespace corvane {

// The installed printers' names; empty when there are none.
std::vector<std::string> InstalledPrinters();
// The current printer's name ("" when no printer is installed), and a new
// current printer.
std::string CurrentPrinterName();
void SetCurrentPrinter(const std::string& name);
// The chosen orientation: true for landscape.
bool PrinterLandscape();
void SetPrinterLandscape(bool landscape);

// A device context of the current printer in the chosen orientation, deleted
// with the object; Get() is null when there is no printer.
class TPrinterDC {
 public:
  TPrinterDC();
  ~TPrinterDC();
  TPrinterDC(const TPrinterDC&) = delete;
  TPrinterDC& operator=(const TPrinterDC&) = delete;
  HDC Get() const { return dc_; }
  // The printable area and resolution of the printer's page.
  TPageMetrics Metrics() const;

 private:
  HDC dc_ = nullptr;
};

// The current printer's page; the default page when no printer is installed.
TPageMetrics CurrentPageMetrics();

// The system's printer setup dialog for the current printer; the printer and
// orientation chosen become current. False when cancelled or no printer.
bool RunPrinterSetup(HWND owner);

class TAbortForm;

// A print job on the current printer with its status window. Shows "No
// printer is installed." and starts nothing when there is none.
class TPrinterJob : public TPrintJob {
 public:
  TPrinterJob();
  ~TPrinterJob() override;
  bool Ready() const { return printer_.Get() != nullptr; }
  TPageMetrics Metrics() const { return printer_.Metrics(); }

  std::string PrinterName() override { return CurrentPrinterName(); }
  bool BeginDoc(std::string_view title) override;
  void NewPage() override;
  void EndDoc() override;
  void Abort() override;
  classlib::TCanvas& Canvas() override { return *canvas_; }
  void ShowStatus(std::string_view printerName) override;
  void Progress(int percent, int lines, int page) override;
  bool AbortRequested() override;
  void CloseStatus() override;

 private:
  TPrinterDC printer_;
  std::unique_ptr<classlib::TGdiCanvas> canvas_;
  std::unique_ptr<TAbortForm> status_;
  bool started_ = false;
};

// Prints `sheet` (the active sheet's document current) with `mode`: every
// page, or only `page`. Tells the user when no printer is installed. The
// number of pages laid out.
int PrintWorksheet(TPrintSheet& sheet, int mode, int page = kPrintAllPages);

// Prints graph `index` (0 the current graph, k the k-th named graph) on a
// page of its own, within half-inch margins. Tells the user when no printer
// is installed; false then or when the job failed.
bool PrintGraph(int index);

}  // namespace corvane
