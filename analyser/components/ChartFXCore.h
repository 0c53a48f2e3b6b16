// The chart control's properties, methods and events over the chart library's
// requests, apart from its window: TChartFX (win/ChartFX.h) adds the window
// that hosts the chart. Without a chart (the library could not make one) every
// property reads 0 and every setter and method does nothing.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <variant>

#include "analyser/components/ChartEngine.h"
#include "classlib/Component.h"
#include "classlib/Graphics.h"

namespace foldwick {

// The argument and result of PaintInfo2: empty, an integer or a double.
using TChartVariant = std::variant<std::monostate, int, double>;

// Events, with the arguments the chart's notification carries. nRes starts at
// 0 and becomes the notification's answer.
using TLButtonDblClkEvent = std::function<void(classlib::TObject*, std::int16_t X, std::int16_t Y, std::int16_t nSerie, std::int32_t nPoint, std::int16_t& nRes)>;
using TRButtonDownEvent = TLButtonDblClkEvent;
using TChangeValueEvent = std::function<void(classlib::TObject*, double dValue, std::int16_t nSerie, std::int32_t nPoint, std::int16_t& nRes)>;
using TChangeStringEvent = std::function<void(classlib::TObject*, std::int16_t nType, std::int16_t nIndex, std::int16_t& nRes)>;
using TChangeColorEvent = TChangeStringEvent;
using TChangePatternEvent = TChangeStringEvent;
using TUserScrollEvent = std::function<void(classlib::TObject*, std::int16_t wScrollMsg, std::int16_t wScrollParam, std::int16_t& nRes)>;
using TChangePaletteEvent = std::function<void(classlib::TObject*, std::int16_t nIdex, std::int16_t& nRes)>;
using TChangeFontEvent = std::function<void(classlib::TObject*, std::int16_t nIndex, std::int16_t& nRes)>;
using TChangePattPalEvent = TChangeFontEvent;
using TChangeTypeEvent = std::function<void(classlib::TObject*, std::int16_t nType, std::int16_t& nRes)>;
using TGetLegendEvent = TChangeTypeEvent;
using TShowToolbarEvent = TChangeTypeEvent;
using TMenuEvent = std::function<void(classlib::TObject*, std::int16_t wParam, std::int16_t nSerie, std::int32_t nPoint, std::int16_t& nRes)>;
using TPrePaintEvent = std::function<void(classlib::TObject*, std::int16_t w, std::int16_t h, std::int32_t lPaint, std::int16_t& nRes)>;
using TPostPaintEvent = TPrePaintEvent;
using TPaintmarkerEvent = std::function<void(classlib::TObject*, std::int16_t X, std::int16_t Y, std::int32_t lPaint, std::int16_t nSerie, std::int32_t nPoint, std::int16_t& nRes)>;
using TLButtonDownEvent = std::function<void(classlib::TObject*, std::int16_t X, std::int16_t Y, std::int16_t& nRes)>;
using TLButtonUpEvent = TLButtonDownEvent;
using TRButtonUpEvent = TLButtonDownEvent;
using TRButtonBblClkEvent = TLButtonDownEvent;
using TMouseMoveEvent = TLButtonDownEvent;
using TDestroyEvent = classlib::TNotifyEvent;
using TReadFileEvent = classlib::TNotifyEvent;
using TReadTemplateEvent = classlib::TNotifyEvent;
using TLostFocusEvent = classlib::TNotifyEvent;
using TGotFocusEvent = classlib::TNotifyEvent;
using TInternalCommandEvent = std::function<void(classlib::TObject*, std::int32_t wParam, std::int32_t lParam, std::int16_t& nRes)>;
using TUserCommandEvent = TInternalCommandEvent;

class TChartFXCore {
 public:
  TChartFXCore();
  virtual ~TChartFXCore() = default;
  TChartFXCore(const TChartFXCore&) = delete;
  TChartFXCore& operator=(const TChartFXCore&) = delete;

  // The chart's entries; null while there is no chart.
  IChartEngine* Engine() const { return engine_; }
  bool HasChart() const { return engine_ != nullptr; }
  // The chart window is shown in the control's own window.
  bool Attached() const { return attached_; }

  // Gaps around the plot in pixels: 0 left, 1 right, 2 top, 3 bottom.
  int Gap(int side) const;
  void SetGap(int side, int value);
  int LeftGap() const { return Gap(0); }
  void SetLeftGap(int v) { SetGap(0, v); }
  int RightGap() const { return Gap(1); }
  void SetRightGap(int v) { SetGap(1, v); }
  int TopGap() const { return Gap(2); }
  void SetTopGap(int v) { SetGap(2, v); }
  int BottomGap() const { return Gap(3); }
  void SetBottomGap(int v) { SetGap(3, v); }

  // The ten fonts, index 0..9: left, right, top, bottom, X legend, Y legend,
  // fixed, legend, values, point. The getter refills the control's one font
  // object, valid until the next font getter.
  const classlib::TFont& ChartFont(int index);
  void SetChartFont(int index, const classlib::TFont& font);

  bool ToolBar() const { return TypeFlag(chartlib::kTypeToolBar); }
  void SetToolBar(bool v) { SetTypeFlag(chartlib::kTypeToolBar, v, false); }
  bool PaletteBar() const { return TypeFlag(chartlib::kTypePaletteBar); }
  void SetPaletteBar(bool v) { SetTypeFlag(chartlib::kTypePaletteBar, v, false); }
  bool PatternBar() const { return TypeFlag(chartlib::kTypePatternBar); }
  void SetPatternBar(bool v) { SetTypeFlag(chartlib::kTypePatternBar, v, false); }
  bool Chart3D() const { return TypeFlag(chartlib::kType3D); }
  void SetChart3D(bool v) { SetTypeFlag(chartlib::kType3D, v, true); }

  // Series and point counts: set, they are kept for the next transfer (and
  // fresh demonstration values fill an unattached chart); read, they come
  // from the chart.
  int NSeries();
  void SetNSeries(int value);
  int NValues();
  void SetNValues(int value);

  // The four background colours; 0x80000000 (the chart's default) is sent as
  // it is, other system colours resolved.
  classlib::TColor RGBColor(int which) const;  // 0 bar area, 1 back, 2 2D back, 3 3D back
  void SetRGBColor(int which, classlib::TColor value);

  int View3DDepth() const { return GetW1(82); }
  void SetView3DDepth(int v) { SetW0(82, v, true); }
  bool View3DLight() const { return GetW1(83) != 0; }
  void SetView3DLight(bool v) { SetW0(83, v ? 1 : 0, true); }
  int WallWidth() const { return GetL1(9); }
  void SetWallWidth(int v) { SetL0(9, v); }
  int Shape() const { return GetW1(84); }
  void SetShape(int v) { SetW0(84, v, true); }
  int FixedGap() const { return GetL1(22); }
  void SetFixedGap(int v) { SetL0(22, v); }
  int VertGridGap() const { return GetL1(70); }
  void SetVertGridGap(int v) { SetL0(70, v); }
  int MarkerSize() const { return GetW1(80); }
  void SetMarkerSize(int v) { SetW0(80, v, true); }
  int MarkerVolume() const { return GetW1(81); }
  void SetMarkerVolume(int v) { SetW0(81, v, true); }
  // The low 8 bits of the type word; setting does not repaint.
  int ChartType() const { return static_cast<int>(TypeWord() & chartlib::kTypeMask); }
  void SetChartType(int v) { Send(1, 0, v); }
  int Grid() const { return GetL1(8); }
  void SetGrid(int v) { SetL0(8, v); }
  int PointType() const { return GetL1(5); }
  void SetPointType(int v) { SetL0(5, v); }
  int Scheme() const { return GetL1(6); }
  void SetScheme(int v) { SetL0(6, v); }
  int Stacked() const { return GetL1(7); }
  void SetStacked(int v) { SetL0(7, v); }
  int CustomTool() const { return GetW1(68); }
  void SetCustomTool(int v) { SetW0(68, v, true); }
  int GalleryTool() const { return GetW1(87); }
  void SetGalleryTool(int v) { SetW0(87, v, false); }
  // The whole type word; setting does not repaint.
  int Type_() const { return static_cast<int>(TypeWord()); }
  void SetType_(int v) { Send(1, 1, v); }
  int Style() const { return Send(2, 0, 0); }
  void SetStyle(int v);
  int Decimals() const { return Send(4, -1, 1); }
  void SetDecimals(int v) { Send(4, v, 0); }

  int ThisSerie = 0;
  int ThisPoint = 0;
  bool AutoIncrement = false;
  // The colour and background of the current series (or point, with a colour
  // per point); set, they take effect only once the chart is attached.
  classlib::TColor ThisColor() const { return GetColor(ColorIndex()); }
  void SetThisColor(classlib::TColor value) { SetCurrentColor(value, 0); }
  classlib::TColor ThisBkColor() const { return GetBkColor(ColorIndex()); }
  void SetThisBkColor(classlib::TColor value) { SetCurrentColor(value, 1); }
  int DblClkDlg() const { return dblClkDlg_; }
  void SetDblClkDlg(int v);
  int RigClkDlg() const { return rigClkDlg_; }
  void SetRigClkDlg(int v);

  // The settings blobs of kinds 1 to 4 (ChartBlob.h).
  std::string zzzReserved(int kind);
  void SetzzzReserved(int kind, const std::string& blob);

  // Methods.
  void OpenData(int kind, int count1, int count2);
  void CloseData(int kind);
  // Sets the value of series ThisSerie at `point`.
  void SetValue(int point, double value);
  void SetTitle(int index, const std::string& text);
  std::string GetTitle(int index) const { return ReadText(34, index); }
  void SetLegend(int point, const std::string& text);
  std::string GetLegend(int point) const { return ReadText(44, point); }
  void SetSeriesLegend(int series, const std::string& text);
  void SetBarHorzGap(int v) { SetL0(13, v); }
  int GetBarHorzGap() const { return Send(13, 0, -1); }
  void SendCode97(int a, int b);
  void SendCode103(int a, int b);
  void SetCode105(int v) { SetW0(105, v, true); }
  int GetCode105() const { return GetW1(105); }
  double GetConst(int index) const { return engine_ ? engine_->GetConst(index) : 0; }
  void SetConst(int index, double v) {
    if (engine_) engine_->SetConst(index, v);
  }
  classlib::TColor GetColor(int index) const { return static_cast<classlib::TColor>(Send(10, index, -1)); }
  void SetColor(int index, classlib::TColor c);
  classlib::TColor GetBkColor(int index) const { return static_cast<classlib::TColor>(Send(11, index, -1)); }
  void SetBkColor(int index, classlib::TColor c);
  classlib::TColor GetFontColor(int index) const { return static_cast<classlib::TColor>(Send(59, index, -1)); }
  void SetFontColor(int index, classlib::TColor c);
  int GetFontFlags(int index) const { return Send(29, index, -1); }
  void SetFontFlags(int index, int v) { Send(29, index, v); }
  // Per-series settings kept in the blobs: requests 85, 86, 104 and 108.
  int GetSeriesSetting(int code, int series) const { return Send(code, series, -1); }
  void SetSeriesSetting(int code, int series, int v);
  // Request 14, a switch with a value, kept only in the blobs: Code14(-1)
  // answers -1 while it is off, Code14(-2) gives its value; SetCode14(1, v)
  // turns it on with a value, SetCode14(0, v) off.
  int Code14(int which) const { return Send(14, 0, which); }
  void SetCode14(int on, int v) { Send(14, on, v); }
  // PaintInfo2[index] with an argument: see the source for the index rules.
  // Out-of-range indexes and wrong argument types show a message and give
  // an empty result.
  TChartVariant PaintInfo2(int index, const TChartVariant& argument);
  // Asks the chart window to paint itself again.
  virtual void Repaint() {}

  // Decodes a WM_COMMAND the control received (wParam low word the control
  // id, high word the code) into its event; the answer is the event's nRes,
  // sign-extended.
  std::int32_t DispatchCommand(std::uint32_t wParam, std::int32_t lParam);

  // Picks the demonstration values' random numbers: a whole number in
  // [0, limit); rand() by default.
  std::function<int(int limit)> Random;

  TLButtonDblClkEvent OnLButtonDblClk;
  TRButtonDownEvent OnRButtonDown;
  TChangeValueEvent OnChangeValue;
  TChangeStringEvent OnChangeString;
  TChangeColorEvent OnChangeColor;
  TDestroyEvent OnDestroy;
  TReadFileEvent OnReadFile;
  TChangePaletteEvent OnChangePalette;
  TChangeFontEvent OnChangeFont;
  TReadTemplateEvent OnReadTemplate;
  TChangePatternEvent OnChangePattern;
  TChangePattPalEvent OnChangePattPal;
  TMenuEvent OnMenu;
  TChangeTypeEvent OnChangeType;
  TUserScrollEvent OnUserScroll;
  TGetLegendEvent OnGetLegend;
  TShowToolbarEvent OnShowToolbar;
  TPrePaintEvent OnPrePaint;
  TPostPaintEvent OnPostPaint;
  TPaintmarkerEvent OnPaintMarker;
  TLButtonDownEvent OnLButtonDown;
  TLButtonUpEvent OnLButtonUp;
  TRButtonUpEvent OnRButtonUp;
  TRButtonBblClkEvent OnRButtonDblClk;
  TMouseMoveEvent OnMouseMove;
  TLostFocusEvent OnLostFocus;
  TGotFocusEvent OnGotFocus;
  TInternalCommandEvent OnInternalCommand;
  TUserCommandEvent OnUserCommand;

 protected:
  // Takes the chart's entries (null: no chart) and, with a chart, tells it
  // there is no one to notify yet and fills demonstration values.
  void BindEngine(IChartEngine* engine);
  // Marks the chart as shown in the control's window (or not).
  void SetAttached(bool attached) { attached_ = attached; }
  // The sender passed to events.
  virtual classlib::TObject* EventSender() { return nullptr; }
  // Shows a message box captioned `caption` (PaintInfo2's errors).
  virtual void ShowMessage(const std::string& caption, const std::string& text) {}

  std::int32_t Send(int code, std::intptr_t w, std::intptr_t l) const {
    return engine_ ? engine_->Request(code, w, l) : 0;
  }

 private:
  std::uint32_t TypeWord() const { return static_cast<std::uint32_t>(Send(1, 0, 0)); }
  bool TypeFlag(std::uint32_t flag) const { return (TypeWord() & flag) != 0; }
  void SetTypeFlag(std::uint32_t flag, bool on, bool repaint);
  // The request forms: (code, 0, v) set / (code, 1, 0) get, and
  // (code, v, 0) set / (code, 0, 1) get.
  int GetW1(int code) const { return Send(code, 1, 0); }
  void SetW0(int code, int v, bool repaint);
  int GetL1(int code) const { return Send(code, 0, 1); }
  void SetL0(int code, int v);
  std::string ReadText(int code, int index) const;
  void SendText(int code, int index, const std::string& text);
  int ColorIndex() const;
  void SetCurrentColor(classlib::TColor value, int which);
  void StepAutoIncrement();
  void FillDemonstrationValues();

  IChartEngine* engine_ = nullptr;
  bool attached_ = false;
  int nSeries_ = 2;
  int nValues_ = 4;
  int dblClkDlg_ = 0;
  int rigClkDlg_ = 0;
  classlib::TFont font_;
};

}  // namespace foldwick
