// tbarmenu: the main window's vertical macro toolbar, up to 50 buttons with
// a glyph, a name, a hint and a macro each, and two scroll arrows; TBardlg,
// the "Define Button" dialog its right mouse button opens. The lines come
// from the macro library file (the main window reads and writes them); the
// glyph strip is MACROS.BTN, loaded when the bar gets its file and saved when
// the bar goes.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "classlib/win/Bitmap.h"
#include "classlib/win/Controls.h"
#include "classlib/win/StdCtrls.h"
#include "spreadsheet/macros/MacroBar.h"

namespace corvane {

using Tpickevent = std::function<void(classlib::TObject* Sender, const std::string& macro)>;

class tbarmenu : public classlib::TCustomControl {
 public:
  explicit tbarmenu(classlib::TComponent* AOwner);
  ~tbarmenu() override;

  int Barheight() const { return barHeight_; }
  void SetBarheight(int value);
  int Border() const { return border_; }
  void SetBorder(int value);
  classlib::TColor Backcolor() const { return backColor_; }
  void SetBackcolor(classlib::TColor value);
  int Margin() const { return margin_; }
  // The button under the mouse; -1 the up arrow, -2 the down arrow.
  int ItemIndex() const { return itemIndex_; }
  void SetItemIndex(int value);
  int FirstVisible() const { return first_; }
  std::vector<std::string>& Items() { return items_; }
  void SetItems(const std::vector<std::string>& lines);
  // The glyph strip's file: loaded now (scaled to 20 x 1000) when it exists,
  // saved when the bar goes.
  void SetGlyphFile(const std::string& path);
  classlib::TBitmap& Glyphs() { return strip_; }
  // The hint over the button under the mouse.
  std::string Hint() const;

  classlib::TNotifyEvent OnChange;
  Tpickevent Onpick;
  // Draws the outline travelling from one screen rectangle to another (from
  // the button to the Define Button dialog before it shows).
  std::function<void(const classlib::TRect& from, const classlib::TRect& to)> OnAnimateOutline;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void WindowCreated() override;
  void Paint(classlib::TCanvas& Canvas) override;
  void MouseDown(classlib::TMouseButton Button, classlib::TShiftState Shift, int X, int Y) override;
  void MouseMove(classlib::TShiftState Shift, int X, int Y) override;
  void MouseUp(classlib::TMouseButton Button, classlib::TShiftState Shift, int X, int Y) override;
  void Timer(int Id) override;

 private:
  TMacroBarLayout Layout() const;
  int Hit(int y) const;
  void DrawButton(classlib::TCanvas& canvas, int i, bool pressed);
  void Scroll(int delta);
  void DefineButton(int i);
  void UpdateTip();

  std::vector<std::string> items_;
  classlib::TBitmap strip_;
  std::string glyphFile_;
  int barHeight_ = kMacroBarPitch;
  int border_ = 1;
  classlib::TColor backColor_;
  int margin_ = 8;
  int itemIndex_ = 0;
  int first_ = 0;
  int pressedItem_ = kNoItem;  // the button or arrow the left button went down on
  bool repeating_ = false;
  HWND tip_ = nullptr;
  std::string tipText_;
  static constexpr int kNoItem = -100;
};

// "Define Button": name, hint and macro of one button, and its glyph.
class TBardlg : public classlib::TForm {
 public:
  explicit TBardlg(classlib::TComponent* AOwner);
  classlib::TEdit NameEdit{nullptr}, HintEdit{nullptr};
  classlib::TMemo Memo1{nullptr};
  classlib::TBitmap Image;  // 20 x 20
  classlib::TButton BlankButton{nullptr}, ResetButton{nullptr}, OkButton{nullptr}, CancelButton{nullptr};
  void SetValue(const TDefineButtonValue& value);
  TDefineButtonValue Value() const;
  // Loads a bitmap file into the image; false, the image unchanged, when it
  // cannot be read.
  bool LoadImage(const std::string& path);
  void BlankImage();

 private:
  class TImageBox : public classlib::TCustomControl {
   public:
    TImageBox(TBardlg& dialog) : TCustomControl(nullptr), dialog_(dialog) {}

   protected:
    void Paint(classlib::TCanvas& Canvas) override;
    void MouseDown(classlib::TMouseButton Button, classlib::TShiftState Shift, int X, int Y) override;

   private:
    TBardlg& dialog_;
  };
  classlib::TLabel nameLabel_{nullptr}, hintLabel_{nullptr}, macroLabel_{nullptr}, glyphLabel_{nullptr};
  TImageBox imageBox_{*this};
};

}  // namespace corvane
