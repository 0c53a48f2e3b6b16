// The chart control's window, and the chart library bound by ordinal.
#include "analyser/components/win/ChartFX.h"

#include <map>

namespace foldwick {

namespace {

// The library's entries, by ordinal.
using TCreateChart = HWND(WINAPI*)(DWORD, LONG, HWND, int, int, int, int, int, int, UINT, DWORD);
using TRequest = LRESULT(WINAPI*)(HWND, UINT, WPARAM, LPARAM);
using TPaint = void(WINAPI*)(HWND, HDC, short, short, short, short, short, LONG);
using TCloseData = void(WINAPI*)(HWND, int);
using TSetValue = void(WINAPI*)(HWND, int, int, double);
using TSetColor = void(WINAPI*)(HWND, int, COLORREF, int);
using TSetConst = void(WINAPI*)(HWND, int, double);
using TGetValue = double(WINAPI*)(HWND, LONG, int, double*);
using TOpenData = void(WINAPI*)(HWND, int, int, int);
using TGetConst = double(WINAPI*)(HWND, int, double*);

struct TChartLibrary {
  TCreateChart CreateChart = nullptr;
  TRequest Request = nullptr;
  TPaint Paint = nullptr;
  TCloseData CloseData = nullptr;
  TSetValue SetValue = nullptr;
  TSetColor SetColor = nullptr;
  TSetConst SetConst = nullptr;
  TGetValue GetValue = nullptr;
  TOpenData OpenData = nullptr;
  TGetConst GetConst = nullptr;
  std::string error;
};

template <class Entry>
bool Bind(HMODULE module, int ordinal, Entry& entry, std::string& error) {
  entry = reinterpret_cast<Entry>(reinterpret_cast<void*>(GetProcAddress(module, MAKEINTRESOURCEA(ordinal))));
  if (entry == nullptr && error.empty())
    error = "The chart library " + TChartFX::LibraryName + " is not the one this program needs: it has no entry " +
            std::to_string(ordinal) + ". The chart is not shown.";
  return entry != nullptr;
}

// Loaded once by name and kept for the life of the program.
const TChartLibrary& Library() {
  static std::map<std::string, TChartLibrary> libraries;
  auto found = libraries.find(TChartFX::LibraryName);
  if (found != libraries.end()) return found->second;
  const TChartLibrary library = [] {
    TChartLibrary lib;
    HMODULE module = LoadLibraryA(TChartFX::LibraryName.c_str());
    if (module == nullptr) {
      char reason[256] = "";
      FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, GetLastError(), 0, reason,
                     sizeof reason, nullptr);
      lib.error = "The chart library " + TChartFX::LibraryName + " could not be loaded (" + reason +
                  "). The chart is not shown.";
      return lib;
    }
    const bool all = Bind(module, 2, lib.CreateChart, lib.error) & Bind(module, 3, lib.Request, lib.error) &
                     Bind(module, 4, lib.Paint, lib.error) & Bind(module, 6, lib.CloseData, lib.error) &
                     Bind(module, 7, lib.SetValue, lib.error) & Bind(module, 10, lib.SetColor, lib.error) &
                     Bind(module, 12, lib.SetConst, lib.error) & Bind(module, 16, lib.GetValue, lib.error) &
                     Bind(module, 18, lib.OpenData, lib.error) & Bind(module, 20, lib.GetConst, lib.error);
    if (!all) {
      FreeLibrary(module);
      const std::string error = lib.error;
      lib = TChartLibrary{};
      lib.error = error;
    }
    return lib;
  }();
  return libraries.emplace(TChartFX::LibraryName, library).first->second;
}

}  // namespace

std::string TChartFX::LibraryName = "CFX2032.DLL";

// The library's entries for one chart window.
class TChartFX::TLibraryEngine : public IChartEngine {
 public:
  TLibraryEngine(const TChartLibrary& lib, HWND chart) : lib_(lib), chart_(chart) {}
  std::int32_t Request(int code, std::intptr_t w, std::intptr_t l) override {
    return static_cast<std::int32_t>(lib_.Request(chart_, static_cast<UINT>(code), static_cast<WPARAM>(w), l));
  }
  void CloseData(int kind) override { lib_.CloseData(chart_, kind); }
  void SetValue(int series, int point, double value) override { lib_.SetValue(chart_, series, point, value); }
  void SetColor(int index, std::uint32_t rgb, int which) override { lib_.SetColor(chart_, index, rgb, which); }
  void SetConst(int index, double value) override { lib_.SetConst(chart_, index, value); }
  double GetValue(std::int32_t seriesPoint) override {
    double value = 0;
    lib_.GetValue(chart_, seriesPoint, 0, &value);
    return value;
  }
  void OpenData(int kind, int count1, int count2) override { lib_.OpenData(chart_, kind, count1, count2); }
  double GetConst(int index) override {
    double value = 0;
    lib_.GetConst(chart_, index, &value);
    return value;
  }
  void Paint(HDC dc, short a, short b, short c, short d, short e, LONG f) { lib_.Paint(chart_, dc, a, b, c, d, e, f); }

 private:
  const TChartLibrary& lib_;
  HWND chart_;
};

TChartFX::TChartFX(classlib::TComponent* AOwner) : classlib::TWinControl(AOwner) {
  const TChartLibrary& lib = Library();
  if (!lib.error.empty()) {
    error_ = lib.error;
    return;
  }
  chart_ = lib.CreateChart(0x24102, -1, GetDesktopWindow(), 0, 0, 100, 100, 4, 2, kChartControlId, WS_CHILD);
  if (chart_ == nullptr) {
    error_ = "The chart library " + LibraryName + " made no chart window. The chart is not shown.";
    return;
  }
  engine_ = std::make_unique<TLibraryEngine>(lib, chart_);
  BindEngine(engine_.get());
}

TChartFX::~TChartFX() {
  BindEngine(nullptr);
  if (chart_ != nullptr && IsWindow(chart_)) DestroyWindow(chart_);
}

void TChartFX::WindowCreated() {
  TWinControl::WindowCreated();
  if (chart_ == nullptr) return;
  ::SetParent(chart_, handle_);
  Send(49, reinterpret_cast<std::intptr_t>(handle_), 0);
  Resize();
  ShowWindow(chart_, SW_SHOW);
  EnableWindow(chart_, TRUE);
  SetAttached(true);
}

void TChartFX::WindowDestroying() {
  if (chart_ != nullptr && IsWindow(chart_)) {
    ShowWindow(chart_, SW_HIDE);
    ::SetParent(chart_, GetDesktopWindow());
    Send(49, 0, 0);
  }
  SetAttached(false);
  TWinControl::WindowDestroying();
}

void TChartFX::Resize() {
  if (chart_ != nullptr && handle_ != nullptr) {
    const classlib::TRect r = ClientRect();
    SetWindowPos(chart_, nullptr, 0, 0, r.Width(), r.Height(), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  TWinControl::Resize();
}

void TChartFX::WndProc(classlib::TMessage& Message) {
  // The chart's notifications come as commands from a window that is not
  // one of ours.
  if (Message.Window == handle_ && Message.Msg == WM_COMMAND) {
    Message.Result = DispatchCommand(static_cast<std::uint32_t>(Message.WParam), static_cast<std::int32_t>(Message.LParam));
    return;
  }
  TWinControl::WndProc(Message);
}

void TChartFX::Repaint() {
  if (chart_ != nullptr) InvalidateRect(chart_, nullptr, TRUE);
}

void TChartFX::ShowMessage(const std::string& caption, const std::string& text) {
  MessageBoxA(handle_, text.c_str(), caption.c_str(), MB_OK);
}

void TChartFX::SetTbBitmap(HBITMAP bitmap) {
  BITMAP info = {};
  if (bitmap != nullptr && GetObjectA(bitmap, sizeof info, &info) != 0 && info.bmWidth > 0 && info.bmHeight > 0) {
    toolBarBitmap_.Reset(static_cast<HBITMAP>(CopyImage(bitmap, IMAGE_BITMAP, 0, 0, 0)));
    Send(92, 0, reinterpret_cast<std::intptr_t>(toolBarBitmap_.Get()));
  } else {
    Send(92, 0, 0);
    toolBarBitmap_.Reset();
  }
}

TChartBorderStyle TChartFX::BorderStyle() const {
  return chart_ != nullptr && (GetWindowLongA(chart_, GWL_STYLE) & WS_BORDER) ? TChartBorderStyle::bsSingle
                                                                             : TChartBorderStyle::bsNone;
}

void TChartFX::SetBorderStyle(TChartBorderStyle value) {
  if (chart_ == nullptr) return;
  const LONG style = GetWindowLongA(chart_, GWL_STYLE);
  SetWindowLongA(chart_, GWL_STYLE, value == TChartBorderStyle::bsSingle ? style | WS_BORDER : style & ~WS_BORDER);
  SetWindowPos(chart_, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  if (HWND parent = GetParent(chart_)) InvalidateRect(parent, nullptr, TRUE);
}

int TChartFX::PaintTo(HDC dc, short x, short y, short width, short height, short flags, LONG reserved) {
  if (engine_) engine_->Paint(dc, x, y, width, height, flags, reserved);
  return 0;
}

}  // namespace foldwick
