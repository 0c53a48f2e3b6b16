// Printing the analyser's reports: a print job on the program's printer
// choice, and the device mapping that lets the report layout draw in tenths
// of a millimetre on a printer or on a bitmap alike.
#pragma once

#include "classlib/win/Win32.h"

#include <memory>
#include <string>

#include "analyser/app/PrintedReports.h"
#include "classlib/win/GdiCanvas.h"

namespace foldwick {

// Sets `dc` to tenths of a millimetre with y growing down, at the device's
// pixel densities.
void SetTenthMillimetreMapping(HDC dc, int pixelsPerInchX, int pixelsPerInchY);

// The message shown when there is no printer to print on.
extern const char kNoPrinterText[];

// One print job. An unfinished job is aborted when the object goes.
class TPrintJob {
 public:
  TPrintJob() = default;
  ~TPrintJob();
  TPrintJob(const TPrintJob&) = delete;
  TPrintJob& operator=(const TPrintJob&) = delete;

  // Opens the chosen printer (the system's default without a choice), starts
  // the document `title` and its first page; false with `error` set when
  // there is no printer or it refuses the job.
  bool Begin(const std::string& title, std::string& error);
  // Ends the page and starts the next one.
  void NewPage();
  // Ends the last page and the document; false when the printer failed.
  bool End();

  HDC Handle() const { return dc_; }
  classlib::TGdiCanvas& Canvas() { return *canvas_; }
  int PixelsPerInchX() const { return ppiX_; }
  int PixelsPerInchY() const { return ppiY_; }
  // The page with margins given in hundredths of a millimetre.
  TPageGeometry Geometry(int marginLeft, int marginTop, int marginRight, int marginBottom) const;

 private:
  HDC dc_ = nullptr;
  std::unique_ptr<classlib::TGdiCanvas> canvas_;
  int ppiX_ = 600, ppiY_ = 600;
  bool started_ = false;
  bool failed_ = false;
};

}  // namespace foldwick
