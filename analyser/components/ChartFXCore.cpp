// The chart control's requests, font packing, demonstration values and events.
#include "analyser/components/ChartFXCore.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "analyser/components/ChartBlob.h"
#include "chartlib/ChartFont.h"

namespace foldwick {

using classlib::TColor;
using classlib::TFont;

namespace {

// The buffer the library writes a text into: 255 characters, of which it
// fills at most 254 and a terminating zero.
constexpr int kTextBuffer = 255;

std::int16_t Low(std::int32_t v) { return static_cast<std::int16_t>(v & 0xFFFF); }
std::int16_t High(std::int32_t v) { return static_cast<std::int16_t>((v >> 16) & 0xFFFF); }
std::int32_t HighWord(std::int32_t v) { return static_cast<std::int32_t>((static_cast<std::uint32_t>(v) >> 16) & 0xFFFF); }

// Notification codes the events decode.
enum : int {
  kNotifyLButtonDblClk = 0, kNotifyRButtonDown = 1, kNotifyChangeValue = 2, kNotifyChangeString = 3,
  kNotifyChangeColor = 4, kNotifyDestroy = 5, kNotifyReadFile = 6, kNotifyChangePalette = 7,
  kNotifyChangeFont = 8, kNotifyReadTemplate = 9, kNotifyChangePattern = 10, kNotifyChangePattPal = 11,
  kNotifyMenu = 12, kNotifyChangeType = 13, kNotifyUserScroll = 14, kNotifyGetLegend = 15,
  kNotifyShowToolbar = 18, kNotifyPrePaint = 19, kNotifyPostPaint = 20, kNotifyPaintMarker = 21,
  kNotifyLButtonDown = 22, kNotifyLButtonUp = 23, kNotifyRButtonUp = 24, kNotifyRButtonDblClk = 25,
  kNotifyMouseMove = 26, kNotifyLostFocus = 0xFFFE, kNotifyGotFocus = 0xFFFF,
};

}  // namespace

TChartFXCore::TChartFXCore() : Random([](int limit) { return limit > 0 ? std::rand() % limit : 0; }) {}

void TChartFXCore::BindEngine(IChartEngine* engine) {
  engine_ = engine;
  if (engine_ == nullptr) return;
  Send(49, 0, 0);
  FillDemonstrationValues();
}

int TChartFXCore::Gap(int side) const { return Send(3, side, -1); }

void TChartFXCore::SetGap(int side, int value) {
  Send(3, side, value);
  Repaint();
}

const TFont& TChartFXCore::ChartFont(int index) {
  if (engine_ != nullptr) {
    chartlib::UnpackChartFont(static_cast<std::uint32_t>(Send(29, index, -1)), font_);
    font_.Color = static_cast<TColor>(Send(59, index, -1));
  }
  return font_;
}

void TChartFXCore::SetChartFont(int index, const TFont& font) {
  Send(29, index, static_cast<std::intptr_t>(chartlib::PackChartFont(font)));
  Send(59, index, static_cast<std::intptr_t>(classlib::ColorToRGB(font.Color)));
  Repaint();
}

void TChartFXCore::SetTypeFlag(std::uint32_t flag, bool on, bool repaint) {
  Send(1, on ? 0 : 2, static_cast<std::intptr_t>(flag));
  if (repaint) Repaint();
}

int TChartFXCore::NSeries() {
  if (engine_ != nullptr) nSeries_ = static_cast<std::uint16_t>(Send(69, 0, 0) & 0xFFFF);
  return nSeries_;
}

void TChartFXCore::SetNSeries(int value) {
  nSeries_ = value;
  if (nSeries_ != 0 && nValues_ != 0 && !attached_) FillDemonstrationValues();
}

int TChartFXCore::NValues() {
  if (engine_ != nullptr) nValues_ = static_cast<std::uint16_t>((Send(69, 0, 0) >> 16) & 0xFFFF);
  return nValues_;
}

void TChartFXCore::SetNValues(int value) {
  nValues_ = value;
  if (nSeries_ != 0 && nValues_ != 0 && !attached_) FillDemonstrationValues();
}

TColor TChartFXCore::RGBColor(int which) const { return static_cast<TColor>(Send(25 + which, 0, -1)); }

void TChartFXCore::SetRGBColor(int which, TColor value) {
  const TColor sent = value == classlib::kSystemColorFlag ? value : classlib::ColorToRGB(value);
  Send(25 + which, 0, static_cast<std::intptr_t>(sent));
  Repaint();
}

void TChartFXCore::SetW0(int code, int v, bool repaint) {
  Send(code, 0, v);
  if (repaint) Repaint();
}

void TChartFXCore::SetL0(int code, int v) {
  Send(code, v, 0);
  Repaint();
}

void TChartFXCore::SetStyle(int v) {
  Send(2, 1, v);
  Repaint();
}

void TChartFXCore::SetDblClkDlg(int v) {
  dblClkDlg_ = v;
  Send(23, v, 0);
}

void TChartFXCore::SetRigClkDlg(int v) {
  rigClkDlg_ = v;
  Send(24, v, 0);
}

int TChartFXCore::ColorIndex() const {
  return (TypeWord() & chartlib::kTypePointColors) ? ThisPoint * nSeries_ + ThisSerie : ThisSerie;
}

void TChartFXCore::SetCurrentColor(TColor value, int which) {
  if (!attached_ || engine_ == nullptr) return;
  const bool perPoint = (TypeWord() & chartlib::kTypePointColors) != 0;
  engine_->OpenData(chartlib::kTransferColors, perPoint ? nValues_ * nSeries_ : nSeries_, 0);
  engine_->SetColor(ColorIndex(), classlib::ColorToRGB(value), which);
  engine_->CloseData(chartlib::kTransferColors);
  StepAutoIncrement();
}

void TChartFXCore::StepAutoIncrement() {
  if (!AutoIncrement) return;
  if (ThisSerie < nSeries_ - 1) {
    ++ThisSerie;
    return;
  }
  ThisSerie = 0;
  if (TypeWord() & chartlib::kTypePointColors) ThisPoint = ThisPoint >= nValues_ - 1 ? 0 : ThisPoint + 1;
}

void TChartFXCore::FillDemonstrationValues() {
  if (engine_ == nullptr) return;
  const double minimum = engine_->GetConst(0);
  double maximum = engine_->GetConst(1);
  if (!(maximum > minimum)) maximum = minimum + 100;
  const int span = static_cast<int>(std::lround(maximum - minimum));
  engine_->OpenData(chartlib::kTransferValues, nSeries_, nValues_);
  for (int s = 0; s < nSeries_; ++s)
    for (int p = 0; p < nValues_; ++p) engine_->SetValue(s, p, minimum + (Random ? Random(span) : 0));
  engine_->CloseData(chartlib::kTransferValues);
}

std::string TChartFXCore::zzzReserved(int kind) { return BuildChartBlob(*this, kind); }

void TChartFXCore::SetzzzReserved(int kind, const std::string& blob) { ApplyChartBlob(*this, kind, blob); }

void TChartFXCore::OpenData(int kind, int count1, int count2) {
  if (engine_ != nullptr) engine_->OpenData(kind, count1, count2);
}

void TChartFXCore::CloseData(int kind) {
  if (engine_ != nullptr) engine_->CloseData(kind);
}

void TChartFXCore::SetValue(int point, double value) {
  if (engine_ != nullptr) engine_->SetValue(ThisSerie, point, value);
}

void TChartFXCore::SendText(int code, int index, const std::string& text) {
  // A zero-terminated copy: the library keeps its own.
  const std::string copy = text.c_str();
  Send(code, index, reinterpret_cast<std::intptr_t>(copy.c_str()));
}

std::string TChartFXCore::ReadText(int code, int index) const {
  if (engine_ == nullptr) return {};
  char buffer[kTextBuffer] = {};
  Send(code, index, reinterpret_cast<std::intptr_t>(buffer));
  buffer[kTextBuffer - 1] = '\0';
  return buffer;
}

void TChartFXCore::SetTitle(int index, const std::string& text) { SendText(33, index, text); }
void TChartFXCore::SetLegend(int point, const std::string& text) { SendText(37, point, text); }
void TChartFXCore::SetSeriesLegend(int series, const std::string& text) { SendText(38, series, text); }

void TChartFXCore::SendCode97(int a, int b) {
  Send(97, a, b);
  Repaint();
}

void TChartFXCore::SendCode103(int a, int b) {
  Send(103, a, b);
  Repaint();
}

void TChartFXCore::SetColor(int index, TColor c) {
  if (engine_ != nullptr) engine_->SetColor(index, classlib::ColorToRGB(c), 0);
}

void TChartFXCore::SetBkColor(int index, TColor c) {
  if (engine_ != nullptr) engine_->SetColor(index, classlib::ColorToRGB(c), 1);
}

void TChartFXCore::SetFontColor(int index, TColor c) {
  Send(59, index, static_cast<std::intptr_t>(classlib::ColorToRGB(c)));
  Repaint();
}

void TChartFXCore::SetSeriesSetting(int code, int series, int v) {
  Send(code, series, v);
  Repaint();
}

// Index 4 sends a double by address and answers an integer; index 5 sends an
// integer as a double by address and answers the double the chart wrote back;
// the other indexes below 12 send an integer and answer one.
TChartVariant TChartFXCore::PaintInfo2(int index, const TChartVariant& argument) {
  if (index < 0 || index >= 12) {
    ShowMessage("PaintInfo2", "Invalid Prop. Array Index");
    return {};
  }
  if (index == 4) {
    if (!std::holds_alternative<double>(argument)) {
      ShowMessage("PaintInfo2", "Invalid Prop. Value");
      return {};
    }
    double buffer = std::get<double>(argument);
    return Send(102, 4, reinterpret_cast<std::intptr_t>(&buffer));
  }
  if (!std::holds_alternative<int>(argument)) {
    ShowMessage("PaintInfo2", "Invalid Prop. Value");
    return {};
  }
  if (index == 5) {
    double buffer = std::get<int>(argument);
    Send(102, 5, reinterpret_cast<std::intptr_t>(&buffer));
    return buffer;
  }
  return Send(102, index, std::get<int>(argument));
}

std::int32_t TChartFXCore::DispatchCommand(std::uint32_t wParam, std::int32_t lParam) {
  const int id = static_cast<int>(wParam & 0xFFFF);
  const int code = static_cast<int>((wParam >> 16) & 0xFFFF);
  std::int16_t nRes = 0;
  classlib::TObject* sender = EventSender();
  if (id != kChartControlId) {
    if (OnUserCommand) OnUserCommand(sender, id, static_cast<std::int32_t>((lParam & 0xFFFF) | (code << 16)), nRes);
    return nRes;
  }
  // The element and mouse position the notification is about, asked only
  // for an event that has a handler.
  auto element = [&] { return Send(52, 0, 0); };
  auto mouse = [&] { return Send(66, 0, 0); };
  switch (code) {
    case kNotifyLButtonDblClk:
    case kNotifyRButtonDown: {
      auto& handler = code == kNotifyLButtonDblClk ? OnLButtonDblClk : OnRButtonDown;
      if (!handler) break;
      const std::int32_t m = mouse(), e = element();
      handler(sender, Low(m), High(m), Low(e), HighWord(e), nRes);
      break;
    }
    case kNotifyChangeValue:
      if (OnChangeValue) {
        const std::int32_t e = element();
        OnChangeValue(sender, engine_ ? engine_->GetValue(e) : 0, Low(e), HighWord(e), nRes);
      }
      break;
    case kNotifyChangeString:
    case kNotifyChangeColor:
    case kNotifyChangePattern: {
      auto& handler = code == kNotifyChangeString ? OnChangeString
                      : code == kNotifyChangeColor ? OnChangeColor
                                                   : OnChangePattern;
      if (!handler) break;
      const std::int32_t e = element();
      handler(sender, Low(e), High(e), nRes);
      break;
    }
    case kNotifyUserScroll:
      if (OnUserScroll) {
        const std::int32_t e = element();
        OnUserScroll(sender, Low(e), High(e), nRes);
      }
      break;
    case kNotifyDestroy:
    case kNotifyReadFile:
    case kNotifyReadTemplate:
    case kNotifyLostFocus:
    case kNotifyGotFocus: {
      const classlib::TNotifyEvent& handler = code == kNotifyDestroy      ? OnDestroy
                                              : code == kNotifyReadFile   ? OnReadFile
                                              : code == kNotifyReadTemplate ? OnReadTemplate
                                              : code == kNotifyLostFocus  ? OnLostFocus
                                                                          : OnGotFocus;
      if (handler) handler(sender);
      break;
    }
    case kNotifyChangePalette:
    case kNotifyChangeFont:
    case kNotifyChangePattPal: {
      auto& handler = code == kNotifyChangePalette ? OnChangePalette
                      : code == kNotifyChangeFont  ? OnChangeFont
                                                   : OnChangePattPal;
      if (handler) handler(sender, Low(element()), nRes);
      break;
    }
    case kNotifyChangeType:
    case kNotifyGetLegend:
    case kNotifyShowToolbar: {
      auto& handler = code == kNotifyChangeType ? OnChangeType : code == kNotifyGetLegend ? OnGetLegend : OnShowToolbar;
      if (handler) handler(sender, Low(element()), nRes);
      break;
    }
    case kNotifyMenu:
      if (OnMenu) {
        const std::int32_t m = mouse(), e = element();
        OnMenu(sender, Low(m), Low(e), HighWord(e), nRes);
      }
      break;
    case kNotifyPrePaint:
    case kNotifyPostPaint: {
      auto& handler = code == kNotifyPrePaint ? OnPrePaint : OnPostPaint;
      if (!handler) break;
      const std::int32_t m = mouse();
      handler(sender, Low(m), High(m), 0, nRes);
      break;
    }
    case kNotifyPaintMarker:
      if (OnPaintMarker) {
        const std::int32_t m = mouse(), e = element();
        OnPaintMarker(sender, Low(m), High(m), 0, Low(e), HighWord(e), nRes);
      }
      break;
    case kNotifyLButtonDown:
    case kNotifyLButtonUp:
    case kNotifyRButtonUp:
    case kNotifyRButtonDblClk:
    case kNotifyMouseMove: {
      auto& handler = code == kNotifyLButtonDown    ? OnLButtonDown
                      : code == kNotifyLButtonUp    ? OnLButtonUp
                      : code == kNotifyRButtonUp    ? OnRButtonUp
                      : code == kNotifyRButtonDblClk ? OnRButtonDblClk
                                                    : OnMouseMove;
      if (!handler) break;
      const std::int32_t m = mouse();
      handler(sender, Low(m), High(m), nRes);
      break;
    }
    default:
      if (OnInternalCommand)
        OnInternalCommand(sender, code, static_cast<std::int32_t>((lParam & 0xFFFF) | (id << 16)), nRes);
      break;
  }
  return nRes;
}

}  // namespace foldwick
