// Tfontmenu: the font panel of the dialogs: a name field over the list of
// the system's fonts, a size field over the standard sizes, bold, italic and
// underline toggles, the 16-colour chip panel (Tcolorpanel) and a sample of
// the result. The dialog reads newfont and Forecolor and hears onchange; the
// captions and the chip panel turn blue once the user has touched them.
#pragma once

#include <string>
#include <vector>

#include "classlib/win/StdCtrls.h"
#include "spreadsheet/controls/FontPicker.h"
#include "spreadsheet/controls/win/GlyphGridWindow.h"
#include "spreadsheet/controls/win/OwnerDrawnList.h"

namespace corvane {

// A Tab stop: the arrows pick a neighbouring chip, the chosen one framed
// while the panel has the focus.
class Tcolorpanel : public TKeyedModelWindow<TColorPanelModel> {
 public:
  explicit Tcolorpanel(classlib::TComponent* AOwner);

 protected:
  void CreateParams(TCreateParams& Params) override;
  void Paint(classlib::TCanvas& Canvas) override;
  LRESULT DialogCode(classlib::TMessage&) override { return DLGC_WANTARROWS; }
};

// The system's font families, each behind its marker (TrueType or not),
// sorted by name.
std::vector<std::string> SystemFontEntries();

class Tfontmenu : public TCompositeControl {
 public:
  explicit Tfontmenu(classlib::TComponent* AOwner);

  int fontsize() const;
  const classlib::TFont& newfont() const { return model_.Sample; }
  void Setnewfont(const classlib::TFont& font);
  int Fontindex() const { return fonts_.ItemIndex(); }
  int Forecolor() const { return model_.Forecolor(); }
  void SetForecolor(int chip);
  TColor BackColor() const { return sample_.Color(); }
  void SetBackColor(TColor c) { sample_.SetColor(c); }
  const std::string& Sample() const { return model_.SampleText; }
  void SetSample(const std::string& text);
  bool Ignore() const { return model_.Ignore; }
  void SetIgnore(bool on);
  bool Chicklet() const { return model_.Chicklet; }
  void SetChicklet(bool on);

  classlib::TEdit& NameField() { return name_; }
  classlib::TEdit& SizeField() { return size_; }
  TOwnerDrawnList<classlib::TListBox>& Fonts() { return fonts_; }
  classlib::TListBox& Sizes() { return sizes_; }
  TBmpBut& Styles() { return styles_; }
  Tcolorpanel& Chips() { return chips_; }
  classlib::TLabel& NameLabel() { return nameLabel_; }
  classlib::TPanel& SamplePanel() { return sample_; }

  classlib::TNotifyEvent onchange;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void WindowCreated() override;

 private:
  void Refresh(int chip);
  void ShowSample();
  void ListChosen(classlib::TLabel& caption, classlib::TEdit& field, const std::string& text);
  void NameChanged();
  void SizeChanged();
  void FieldKey(classlib::TEdit& field, int& key);
  void DrawFont(const TDrawnItem& item);
  static void MarkTouched(classlib::TLabel& caption, TColor color);

  TFontPickerModel model_;
  classlib::TLabel nameLabel_{nullptr};
  classlib::TEdit name_{nullptr};
  TOwnerDrawnList<classlib::TListBox> fonts_{nullptr};
  classlib::TLabel sizeLabel_{nullptr};
  classlib::TEdit size_{nullptr};
  classlib::TListBox sizes_{nullptr};
  TBmpBut styles_{nullptr};
  classlib::TPanel sample_{nullptr};
  Tcolorpanel chips_{nullptr};
  bool filling_ = false;
  std::string enteredText_;
};

}  // namespace corvane
