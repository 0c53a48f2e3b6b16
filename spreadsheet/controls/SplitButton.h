// TSplitButtonModel: the toolbar button whose face is split into two zones,
// without its window. A press in the first zone fires OnUpclick, in the
// second OnDnclick; with Rep on, holding it repeats the zone's event after
// 400 ms and then every 100 ms. Mode None is a plain button (OnClick on the
// press). In the split modes the glyph holds three images side by side: the
// face at rest, with zone 1 pressed and with zone 2 pressed.
#pragma once

#include <functional>
#include <string>

#include "spreadsheet/controls/ControlBase.h"

namespace corvane {

enum class Tspmode { None, Horiz, Vert, Diag };

class TSplitButtonModel {
 public:
  static constexpr int kRepeatTimer = 1;

  explicit TSplitButtonModel(TControlHost& host);

  Tspmode Mode() const { return mode_; }
  void SetMode(Tspmode mode);
  bool Rep() const { return rep_; }
  void SetRep(bool on);
  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption);
  // The glyph's size; a glyph 1 pixel wide (or none) counts as no glyph.
  void SetGlyphSize(int width, int height);

  // The zone a press at (x, y) selects: 0 none, 1 first, 2 second.
  int ZoneAt(int x, int y) const;
  int PressedZone() const { return zone_; }

  void MouseDown(TMouseButton button, int x, int y);
  void MouseUp(TMouseButton button, int x, int y);
  void Timer(int id);

  // The face and border; the window then copies GlyphSource() of its glyph
  // to GlyphDest().
  void Paint(TCanvas& canvas);
  bool HasGlyph() const { return glyphWidth_ > 1 && glyphHeight_ > 0; }
  TRect GlyphSource() const;
  TRect GlyphDest() const;

  std::function<void()> OnUpclick;
  std::function<void()> OnDnclick;
  std::function<void()> OnClick;

 private:
  void FireZone();

  TControlHost& host_;
  TPressRepeat repeat_;
  Tspmode mode_ = Tspmode::None;
  bool rep_ = false;
  std::string caption_;
  int glyphWidth_ = 1, glyphHeight_ = 1;
  int zone_ = 0;
  bool pressed_ = false;
};

}  // namespace corvane
