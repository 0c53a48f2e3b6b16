// TChartFX: the windowed control that hosts a chart window of the chart
// library CFX2032.DLL. The library is loaded when the first chart control is
// made and bound by ordinal only; when it is missing or lacks an entry the
// control still has its window, shows no chart, every request does nothing,
// and LibraryError() says why. Properties, methods and events are those of
// TChartFXCore; the chart window lives as long as the control and is lent to
// each window the control gets (the desktop holds it in between).
#pragma once

#include "classlib/win/Win32.h"

#include <memory>
#include <string>

#include "analyser/components/ChartFXCore.h"
#include "classlib/win/Controls.h"
#include "classlib/win/GdiHandles.h"

namespace foldwick {

enum class TChartBorderStyle : std::uint8_t { bsNone, bsSingle };

class TChartFX : public classlib::TWinControl, public TChartFXCore {
 public:
  explicit TChartFX(classlib::TComponent* AOwner);
  // Destroys the chart window.
  ~TChartFX() override;

  // The file the chart library is loaded from by the charts made after.
  static std::string LibraryName;
  // Why there is no chart: the library could not be loaded, lacks an entry,
  // or made no chart window; empty when there is a chart.
  const std::string& LibraryError() const { return error_; }
  HWND ChartHandle() const { return chart_; }

  // The design-time dialogs' handles: the chart window.
  HWND AboutDlg() const { return chart_; }
  HWND AdmDlg() const { return chart_; }
  HWND OptionsDlg() const { return chart_; }
  HWND TitleDlg() const { return chart_; }
  HWND ViewRot3D() const { return chart_; }

  // The tool-bar bitmap: a copy of `bitmap` is kept and given to the chart;
  // null takes it away.
  void SetTbBitmap(HBITMAP bitmap);
  HBITMAP TbBitmap() const { return toolBarBitmap_.Get(); }
  TChartBorderStyle BorderStyle() const;
  void SetBorderStyle(TChartBorderStyle value);

  // Paints the chart into `dc` at the place the four values give (x, y,
  // width, height in device pixels); the last two are passed on as they are.
  int PaintTo(HDC dc, short x, short y, short width, short height, short flags, LONG reserved);

  void Repaint() override;
  using TChartFXCore::OnMouseMove;

 protected:
  void WindowCreated() override;
  void WindowDestroying() override;
  void Resize() override;
  void WndProc(classlib::TMessage& Message) override;
  classlib::TObject* EventSender() override { return this; }
  void ShowMessage(const std::string& caption, const std::string& text) override;

 private:
  class TLibraryEngine;
  HWND chart_ = nullptr;
  std::unique_ptr<TLibraryEngine> engine_;
  classlib::TOwnedBitmap toolBarBitmap_;
  std::string error_;
};

}  // namespace foldwick
