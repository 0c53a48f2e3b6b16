// Print jobs for the reports.
#include "analyser/app/win/ReportPrint.h"

#include <winspool.h>

#include <vector>

#include "analyser/components/win/PageSetup.h"

namespace foldwick {

const char kNoPrinterText[] = "There is no printer to print on. Please install a printer first.";

void SetTenthMillimetreMapping(HDC dc, int pixelsPerInchX, int pixelsPerInchY) {
  // 254 tenths of a millimetre make an inch.
  SetMapMode(dc, MM_ANISOTROPIC);
  SetWindowExtEx(dc, 254, 254, nullptr);
  SetViewportExtEx(dc, pixelsPerInchX, pixelsPerInchY, nullptr);
  SetWindowOrgEx(dc, 0, 0, nullptr);
  SetViewportOrgEx(dc, 0, 0, nullptr);
}

TPrintJob::~TPrintJob() {
  canvas_.reset();
  if (dc_ == nullptr) return;
  if (started_) AbortDoc(dc_);
  DeleteDC(dc_);
}

bool TPrintJob::Begin(const std::string& title, std::string& error) {
  const TPrinterChoice& choice = PrinterChoice();
  std::string device = choice.names.device;
  const DEVMODEA* mode = nullptr;
  if (device.empty()) {
    DWORD size = 0;
    GetDefaultPrinterA(nullptr, &size);
    std::vector<char> name(size + 1, '\0');
    if (size == 0 || !GetDefaultPrinterA(name.data(), &size)) {
      error = kNoPrinterText;
      return false;
    }
    device = name.data();
  } else if (choice.deviceMode.size() >= sizeof(DEVMODEA)) {
    mode = reinterpret_cast<const DEVMODEA*>(choice.deviceMode.data());
  }
  dc_ = CreateDCA(choice.names.driver.empty() ? "WINSPOOL" : choice.names.driver.c_str(), device.c_str(), nullptr, mode);
  if (dc_ == nullptr) {
    error = kNoPrinterText;
    return false;
  }
  ppiX_ = GetDeviceCaps(dc_, LOGPIXELSX);
  ppiY_ = GetDeviceCaps(dc_, LOGPIXELSY);
  DOCINFOA doc = {sizeof doc};
  doc.lpszDocName = title.c_str();
  if (StartDocA(dc_, &doc) <= 0) {
    error = "The printer " + device + " cannot print now.";
    return false;
  }
  started_ = true;
  if (StartPage(dc_) <= 0) failed_ = true;
  SetTenthMillimetreMapping(dc_, ppiX_, ppiY_);
  canvas_ = std::make_unique<classlib::TGdiCanvas>(dc_);
  // The report's texts are UTF-8, as the exports build them.
  canvas_->Utf8Text = true;
  return true;
}

void TPrintJob::NewPage() {
  if (EndPage(dc_) <= 0 || StartPage(dc_) <= 0) failed_ = true;
  // Some drivers reset the device context with each page.
  SetTenthMillimetreMapping(dc_, ppiX_, ppiY_);
}

bool TPrintJob::End() {
  if (!started_) return false;
  if (EndPage(dc_) <= 0 || EndDoc(dc_) <= 0) failed_ = true;
  started_ = false;
  return !failed_;
}

TPageGeometry TPrintJob::Geometry(int marginLeft, int marginTop, int marginRight, int marginBottom) const {
  TPageGeometry page;
  page.width = GetDeviceCaps(dc_, HORZSIZE) * 10;
  page.height = GetDeviceCaps(dc_, VERTSIZE) * 10;
  page.left = marginLeft / 10;
  page.top = marginTop / 10;
  page.right = marginRight / 10;
  page.bottom = marginBottom / 10;
  return page;
}

}  // namespace foldwick
