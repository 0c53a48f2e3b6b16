// TPageSetupDialog: the system's page-setup dialog for the program's printer
// choice. Paper size and margins go in and, after OK, come back; the printer,
// paper and orientation chosen are kept as the program's printer choice
// (PrinterChoice), which later dialogs start from.
#pragma once

#include "classlib/win/Win32.h"
#include <commdlg.h>

#include <functional>
#include <string>
#include <vector>

#include "analyser/components/SmallComponentRules.h"
#include "classlib/Canvas.h"
#include "classlib/Component.h"

namespace foldwick {

// The printer the program prints on: its names and its device settings (a
// DEVMODE as bytes); empty names mean the system's default printer.
struct TPrinterChoice {
  TPrinterNames names;
  std::vector<std::uint8_t> deviceMode;
};
TPrinterChoice& PrinterChoice();

class TPageSetupDialog : public classlib::TComponent {
 public:
  explicit TPageSetupDialog(classlib::TComponent* AOwner) : classlib::TComponent(AOwner) {}

  // Shows the dialog modally; true when the user pressed OK. Cancel (or a
  // dialog that cannot be shown) changes nothing.
  bool Execute();

  TPageSetupOptions Options = poDefaultMinMargins | poShowHelp;
  TPageMeasurements Measurements = TPageMeasurements::pmInches;
  // In thousandths of an inch or hundredths of a millimetre (Measurements).
  classlib::TPoint PaperSize;
  classlib::TRect MinMargins;
  classlib::TRect Margins{1000, 1000, 1000, 1000};
  LPARAM CustomData = 0;

  std::function<void(classlib::TObject* Sender, HWND Wnd)> OnPrinter;
  std::function<bool(classlib::TObject* Sender, short PaperSize, int PaperType, int PaperOrientation,
                     int PrinterType, PAGESETUPDLGA* pSetupData)>
      OnInitPaintPage;
  std::function<bool(classlib::TObject* Sender, UINT PaintWhat, classlib::TCanvas& Canvas, classlib::TRect Rect)>
      OnPaintPage;

 private:
  static UINT_PTR CALLBACK SetupHook(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam);
  static UINT_PTR CALLBACK PaintHook(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam);

  bool centred_ = false;
};

}  // namespace foldwick
