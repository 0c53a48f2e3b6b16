// The chart control over the chart library's requests: properties against the
// library's own chart, request sequences and events against a recording
// engine, and the settings blobs.
#include <gtest/gtest.h>

#include <map>
#include <sstream>

#include "analyser/components/ChartBlob.h"
#include "analyser/components/ChartFXCore.h"
#include "tests/analyser/components/ModelChartEngine.h"

namespace foldwick {
namespace {


// Records every call as a line and answers requests from a table.
class TRecordingEngine : public IChartEngine {
 public:
  std::vector<std::string> log;
  std::map<int, std::int32_t> answers;
  std::int32_t Request(int code, std::intptr_t w, std::intptr_t l) override {
    Log("req", code, w, code == 33 || code == 37 || code == 38 ? 0 : l);
    auto it = answers.find(code);
    return it != answers.end() ? it->second : 0;
  }
  void CloseData(int kind) override { Log("close", kind); }
  void SetValue(int s, int p, double v) override { Log("value", s, p, static_cast<long long>(v)); }
  void SetColor(int i, std::uint32_t rgb, int which) override { Log("color", i, rgb, which); }
  void SetConst(int i, double) override { Log("setconst", i); }
  double GetValue(std::int32_t sp) override {
    Log("getvalue", sp);
    return 2.5;
  }
  void OpenData(int kind, int c1, int c2) override { Log("open", kind, c1, c2); }
  double GetConst(int i) override { return i == 1 ? 50 : 10; }

 private:
  template <class... Args>
  void Log(const char* what, Args... args) {
    std::ostringstream line;
    line << what;
    ((line << " " << static_cast<long long>(args)), ...);
    log.push_back(line.str());
  }
};

class TTestChart : public TChartFXCore {
 public:
  using TChartFXCore::BindEngine;
  using TChartFXCore::SetAttached;
  int repaints = 0;
  std::vector<std::string> messages;
  void Repaint() override { ++repaints; }

 protected:
  void ShowMessage(const std::string& caption, const std::string& text) override {
    messages.push_back(caption + ": " + text);
  }
};

TEST(ChartControl, PropertiesRoundTripThroughTheLibrary) {
  TModelEngine engine;
  TTestChart chart;
  chart.BindEngine(&engine);
  chart.SetType_(17669);
  EXPECT_EQ(chart.ChartType(), 5);
  EXPECT_TRUE(chart.Chart3D() && chart.ToolBar());
  chart.SetChartType(2);
  EXPECT_EQ(chart.Type_(), 0x4502);
  chart.SetChart3D(false);
  chart.SetPatternBar(true);
  EXPECT_EQ(chart.Type_(), 0x104402);
  chart.SetLeftGap(54);
  chart.SetBottomGap(51);
  EXPECT_EQ(chart.LeftGap(), 54);
  EXPECT_EQ(chart.BottomGap(), 51);
  chart.SetRGBColor(1, classlib::kSystemColorFlag);
  EXPECT_EQ(chart.RGBColor(1), classlib::kSystemColorFlag);
  chart.SetRGBColor(2, classlib::clSilver);
  EXPECT_EQ(chart.RGBColor(2), classlib::clSilver);
  chart.SetView3DLight(true);
  EXPECT_TRUE(chart.View3DLight());
  chart.SetCode105(chart.GetCode105() | 16);
  EXPECT_EQ(chart.GetCode105(), 16);
  chart.SetBarHorzGap(80);
  EXPECT_EQ(chart.GetBarHorzGap(), 80);

  chart.OpenData(1, 2, 3);
  EXPECT_EQ(chart.NSeries(), 2);
  EXPECT_EQ(chart.NValues(), 3);
  chart.ThisSerie = 1;
  chart.SetValue(2, 42);
  EXPECT_EQ(engine.model.Value(1, 2), 42);
  chart.SetTitle(2, std::string(300, 'T'));
  EXPECT_EQ(chart.GetTitle(2), std::string(254, 'T'));
  chart.SetLegend(1, "Windows");
  EXPECT_EQ(chart.GetLegend(1), "Windows");

  // A face read back and sent again stays the same face.
  classlib::TFont font;
  font.Name = "Times New Roman";
  font.SetSize(11);
  font.Style = classlib::fsItalic;
  font.Color = classlib::clNavy;
  chart.SetChartFont(7, font);
  classlib::TFont back = chart.ChartFont(7);
  EXPECT_EQ(back.Name, "Times New Roman");
  chart.SetChartFont(7, back);
  EXPECT_EQ(chart.ChartFont(7).Name, "Times New Roman");
  EXPECT_EQ(chart.ChartFont(7).Color, classlib::clNavy);
  EXPECT_EQ(chart.ChartFont(7).Size(), 11);
}

TEST(ChartControl, WithoutAChartNothingIsSentAndNothingBreaks) {
  TTestChart chart;
  chart.SetTitle(0, "x");
  chart.OpenData(1, 2, 2);
  chart.SetValue(0, 1);
  chart.SetThisColor(classlib::clRed);
  chart.SetzzzReserved(4, "Res\x04");
  EXPECT_EQ(chart.GetTitle(0), "");
  EXPECT_EQ(chart.GetColor(3), 0u);
  EXPECT_EQ(chart.Type_(), 0);
  EXPECT_EQ(chart.zzzReserved(1), "");
  EXPECT_EQ(chart.DispatchCommand(kChartControlId, 0), 0);
}

TEST(ChartControl, DemonstrationValuesAndCurrentColours) {
  TRecordingEngine engine;
  TTestChart chart;
  chart.Random = [](int limit) { return limit - 1; };
  chart.BindEngine(&engine);
  // Bound: no one to notify yet, then 2 series x 4 points within [10, 50).
  EXPECT_EQ(engine.log.front(), "req 49 0 0");
  EXPECT_EQ(engine.log[1], "open 1 2 4");
  EXPECT_EQ(engine.log[2], "value 0 0 49");
  EXPECT_EQ(engine.log.back(), "close 1");
  EXPECT_EQ(engine.log.size(), 11u);

  engine.log.clear();
  chart.SetNSeries(0);
  EXPECT_TRUE(engine.log.empty());
  chart.SetThisColor(classlib::clRed);  // not attached: nothing
  EXPECT_TRUE(engine.log.empty());

  chart.SetNSeries(2);
  chart.SetAttached(true);
  engine.log.clear();
  chart.SetNValues(3);
  EXPECT_TRUE(engine.log.empty());

  engine.answers[1] = 0x10000;  // a colour per point
  chart.AutoIncrement = true;
  chart.ThisSerie = 1;
  chart.ThisPoint = 2;
  chart.SetThisColor(classlib::clRed);
  EXPECT_EQ(engine.log[1], "open 3 6 0");
  EXPECT_EQ(engine.log[3], "color 5 255 0");
  EXPECT_EQ(engine.log[4], "close 3");
  EXPECT_EQ(chart.ThisSerie, 0);  // wrapped, and the last point wraps too
  EXPECT_EQ(chart.ThisPoint, 0);
}

TEST(ChartControl, NotificationsBecomeEvents) {
  TRecordingEngine engine;
  engine.answers[52] = (7 << 16) | 1;  // series 1, point 7
  engine.answers[66] = (20 << 16) | 0xFFF6;  // x -10, y 20
  TTestChart chart;
  chart.BindEngine(&engine);
  std::vector<std::string> fired;
  auto note = [&](const std::string& s) { fired.push_back(s); };
  chart.OnLButtonDblClk = [&](classlib::TObject*, std::int16_t x, std::int16_t y, std::int16_t s, std::int32_t p,
                              std::int16_t& res) {
    note("dbl " + std::to_string(x) + " " + std::to_string(y) + " " + std::to_string(s) + " " + std::to_string(p));
    res = -2;
  };
  chart.OnChangeValue = [&](classlib::TObject*, double v, std::int16_t s, std::int32_t p, std::int16_t&) {
    note("value " + std::to_string(v).substr(0, 3) + " " + std::to_string(s) + " " + std::to_string(p));
  };
  chart.OnMouseMove = [&](classlib::TObject*, std::int16_t x, std::int16_t y, std::int16_t&) {
    note("move " + std::to_string(x) + " " + std::to_string(y));
  };
  chart.OnGotFocus = [&](classlib::TObject*) { note("focus"); };
  chart.OnInternalCommand = [&](classlib::TObject*, std::int32_t w, std::int32_t l, std::int16_t&) {
    note("internal " + std::to_string(w) + " " + std::to_string(l));
  };
  chart.OnUserCommand = [&](classlib::TObject*, std::int32_t w, std::int32_t l, std::int16_t&) {
    note("user " + std::to_string(w) + " " + std::to_string(l));
  };
  auto wparam = [](int id, int code) { return static_cast<std::uint32_t>(id | (code << 16)); };
  EXPECT_EQ(chart.DispatchCommand(wparam(kChartControlId, 0), 0), -2);
  chart.DispatchCommand(wparam(kChartControlId, 2), 0);
  chart.DispatchCommand(wparam(kChartControlId, 26), 0);
  chart.DispatchCommand(wparam(kChartControlId, 0xFFFF), 0);
  chart.DispatchCommand(wparam(kChartControlId, 17), 0x12345);
  chart.DispatchCommand(wparam(200, 3), 0x10009);
  const std::vector<std::string> expected = {
      "dbl -10 20 1 7", "value 2.5 1 7", "move -10 20", "focus",
      "internal 17 " + std::to_string((kChartControlId << 16) | 0x2345), "user 200 " + std::to_string((3 << 16) | 9)};
  EXPECT_EQ(fired, expected);

  // An event without a handler asks the chart nothing.
  engine.log.clear();
  chart.DispatchCommand(wparam(kChartControlId, 1), 0);
  EXPECT_TRUE(engine.log.empty());
}

TEST(ChartControl, PaintInfo2ChecksIndexAndArgument) {
  TModelEngine engine;
  TTestChart chart;
  chart.BindEngine(&engine);
  EXPECT_TRUE(std::holds_alternative<double>(chart.PaintInfo2(5, 3)));
  EXPECT_TRUE(std::holds_alternative<int>(chart.PaintInfo2(6, 0)));
  EXPECT_TRUE(std::holds_alternative<std::monostate>(chart.PaintInfo2(12, 0)));
  EXPECT_TRUE(std::holds_alternative<std::monostate>(chart.PaintInfo2(4, 1)));
  EXPECT_TRUE(std::holds_alternative<std::monostate>(chart.PaintInfo2(2, 1.5)));
  const std::vector<std::string> messages = {"PaintInfo2: Invalid Prop. Array Index", "PaintInfo2: Invalid Prop. Value",
                                             "PaintInfo2: Invalid Prop. Value"};
  EXPECT_EQ(chart.messages, messages);
}

TEST(ChartBlob, ItemCodecs) {
  std::string blob;
  AppendBlobInt(blob, 0);
  EXPECT_EQ(blob, "----\x2F");
  blob.clear();
  AppendBlobInt(blob, 0x01020304);
  EXPECT_EQ(blob, std::string("\x04\x03\x02\x01\x20"));
  blob.clear();
  AppendBlobDouble(blob, 0.0);
  EXPECT_EQ(blob, std::string("--------\xFF\x02"));
  blob.clear();
  const double noZero = 1.2345678901234567;  // no zero byte in its representation
  AppendBlobDouble(blob, noZero);
  EXPECT_EQ(blob.substr(8), std::string("\x20\x01"));
  size_t pos = 0;
  EXPECT_EQ(ReadBlobDouble(blob, pos), noZero);

  blob = "Res";
  const std::string title(30, 'a');
  AppendBlobText(blob, title);
  EXPECT_EQ(blob.size(), 3u + 31u);
  pos = 3;
  EXPECT_EQ(ReadBlobText(blob, pos), std::string(25, 'a'));
  EXPECT_EQ(pos, blob.size());
  EXPECT_EQ(blob.find('\0'), std::string::npos);
  // Items that would pass 255 bytes are refused whole.
  std::string full(252, 'x');
  EXPECT_FALSE(AppendBlobInt(full, 1));
  EXPECT_EQ(full.size(), 252u);
  EXPECT_FALSE(AppendBlobText(full, "abc"));
}

TEST(ChartBlob, EveryKindRoundTripsBetweenCharts) {
  TModelEngine sourceEngine, targetEngine;
  TTestChart source, target;
  source.BindEngine(&sourceEngine);
  target.BindEngine(&targetEngine);
  source.SetSeriesSetting(86, 1, 0x00FF0000);
  source.SetSeriesSetting(104, 0, -5);
  source.SetConst(3, 0.25);
  source.SetGalleryTool(14367);
  source.SetCode14(1, 77);
  source.SetShape(12);
  source.SetColor(15, classlib::clLime);
  source.SetBkColor(0, classlib::clNavy);
  source.SetTitle(0, "MB");
  source.SetTitle(2, "Program Files");
  classlib::TFont font;
  font.Name = "Courier New";
  source.SetChartFont(9, font);
  for (int kind = 1; kind <= 4; ++kind) {
    const std::string blob = source.zzzReserved(kind);
    ASSERT_LE(blob.size(), kChartBlobLimit);
    EXPECT_EQ(blob.find('\0'), std::string::npos);
    target.SetzzzReserved(kind, blob);
    EXPECT_EQ(target.zzzReserved(kind), blob) << kind;
  }
  EXPECT_EQ(target.GetTitle(2), "Program Files");
  EXPECT_EQ(target.Code14(-2), 77);
  EXPECT_EQ(target.ChartFont(9).Name, "Courier New");

  // A blob of another kind, and every cut-short blob, change nothing they
  // do not hold; nothing is read past their end.
  TModelEngine freshEngine;
  TTestChart fresh;
  fresh.BindEngine(&freshEngine);
  const std::string before = fresh.zzzReserved(3);
  fresh.SetzzzReserved(3, source.zzzReserved(2));
  EXPECT_EQ(fresh.zzzReserved(3), before);
  for (int kind = 1; kind <= 4; ++kind) {
    const std::string blob = source.zzzReserved(kind);
    for (size_t n = 0; n < blob.size(); ++n) fresh.SetzzzReserved(kind, blob.substr(0, n));
  }
  // The longest cut lacks only the last item, font 9's packed form.
  EXPECT_EQ(fresh.GetTitle(2), "Program Files");
  EXPECT_EQ(fresh.ChartFont(9).Name, "Arial");
}

TEST(ChartBlob, ManySeriesStopAtAnItemBoundary) {
  TModelEngine engine;
  TTestChart chart;
  chart.BindEngine(&engine);
  chart.OpenData(1, 20, 2);
  const std::string kind1 = chart.zzzReserved(1);
  // Sixteen whole series of three items, and what of the next still fits.
  EXPECT_EQ(kind1.size(), 4u + 16u * 15u + 2u * 5u);
  const std::string kind3 = chart.zzzReserved(3);
  EXPECT_LE(kind3.size(), kChartBlobLimit);
  EXPECT_EQ((kind3.size() - 4) % 5, 0u);
}

}  // namespace
}  // namespace foldwick
