// The captioned value edit's logic, without its windows: the conversions
// between the edit text and integer or real values, the spin step within
// MinVal..MaxVal, the shortened caption, the layout of caption, edit and
// button zone, what each special key does, and the button zone itself (spin
// glyph or ellipsis button) with its press-and-hold repeat and paint. The
// Windows TPEdit holds a label and an edit and routes them through this.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "spreadsheet/controls/ControlBase.h"

namespace corvane {

// The decimal integer in `text` (spaces around it allowed); 0 when the text
// is not a whole number in range.
int PEditTextToInt(std::string_view text);
// The real number in `text`, whose first `separator` stands for the decimal
// point; 0 when the text is not a number.
double PEditTextToReal(std::string_view text, char separator);
// The same readings, false when the text holds no such number (an empty or
// blank text holds 0).
bool PEditReadInt(std::string_view text, int& value);
bool PEditReadReal(std::string_view text, char separator, double& value);
// The text of a real: with `whole`, rounded to a whole number (halves to
// even); else the general text of 15 significant digits without trailing
// zeros, an exponent as "E+20". `separator` is the decimal point shown.
std::string PEditRealToText(double value, bool whole, char separator);
// value + step, kept at least `minVal` and, unless `maxVal` is 0 (no upper
// limit), at most `maxVal`.
double PEditSpinValue(double value, double step, double minVal, double maxVal);
// The caption itself when `width` says it fits in `margin` pixels; else its
// longest prefix that fits with "..." after it, followed by "...".
std::string PEditFitCaption(const std::string& caption, int margin, const std::function<int(std::string_view)>& width);

struct TPEditLayout {
  TRect Label, Edit, ButtonZone;
};
TPEditLayout PEditLayoutFor(int width, int height, int margin, bool button);

// What a key in the edit asks of the window after the model took its part.
// EndEntry: the entry ends as if the field were left (its exit handling
// runs) and the key goes on to the dialog, whose default button takes it.
enum class TPEditKey { None, FocusPrevious, FocusNext, EndEntry, RestoreFocus, Handled };

class TValueEditModel {
 public:
  static constexpr int kRepeatTimer = 1;
  static constexpr int kButtonZoneWidth = 20;
  static constexpr int kGlyphSize = 16;

  explicit TValueEditModel(TControlHost& host);

  bool Updn = false;
  bool Button = false;
  bool Int = false;
  double MinVal = 0;
  double MaxVal = 0;  // 0: no upper limit
  double Inc() const { return inc_; }
  void SetInc(double inc) { inc_ = inc; }
  char DecimalSeparator = '.';
  TRect ButtonZone;  // set by the window's layout

  // The edit's text, read and written by the model through the window.
  std::function<std::string()> ReadText;
  std::function<void(const std::string&)> WriteText;
  // Supplies the value Valr reads when assigned.
  std::function<void(double& r)> Onval;
  // F9: receives the edit text and gives back the text to put in its place.
  std::function<void(std::string& temp)> oncalc;
  // After a spin step: the window ends the entry (caption black, OnExit).
  std::function<void()> AfterSpin;
  // The ellipsis button was pressed and released on it.
  std::function<void()> OnDblClick;

  int Vali() const;
  void SetVali(int v);
  double Valr() const;
  void SetValr(double v);
  // One spin step: Valr := Valr + step, kept within the limits.
  void Spin(double step);

  // A key in the edit (after the window fired OnKeyDown).
  TPEditKey KeyDown(int key);

  // The button zone, in the control's client coordinates.
  void MouseDown(TMouseButton button, int x, int y);
  void MouseMove(int x, int y);
  void MouseUp(TMouseButton button, int x, int y);
  void Timer(int id);
  // 0 none, 1 the upper spin part or the pressed ellipsis, 2 the lower part.
  int HotPart() const { return hot_; }
  void PaintButtonZone(TCanvas& canvas);

 private:
  std::string Text() const { return ReadText ? ReadText() : std::string(); }
  void SetText(const std::string& s) {
    lastGood_ = s;
    if (WriteText) WriteText(s);
  }
  // A mistyped value is refused: a beep, and the text the field last held
  // comes back; gives that text.
  std::string Refuse() const;
  void PaintSpinGlyph(TCanvas& canvas, int left, int top);

  TControlHost& host_;
  TPressRepeat repeat_;
  mutable std::string lastGood_;  // the text last written or read as a value
  double inc_ = 0.1;
  int hot_ = 0;
  bool pressed_ = false;
  double step_ = 0;
};

}  // namespace corvane
