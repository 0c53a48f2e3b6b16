// Tcformat: the colour-format panel of the dialogs. One colour chosen three
// linked ways: the 56-colour palette, three scroll bars with number fields
// for red, green and blue, and a swatch, kept in step by TColourFormatModel.
// The caption turns blue once the user touches the panel (unless Ignore).
#pragma once

#include <array>
#include <string>

#include "classlib/win/StdCtrls.h"
#include "spreadsheet/controls/ColourFormat.h"
#include "spreadsheet/controls/win/DropPickers.h"

namespace corvane {

class Tcformat : public TCompositeControl {
 public:
  explicit Tcformat(classlib::TComponent* AOwner);

  TColor Color() const { return model_.Color(); }
  void SetColor(TColor c) override { model_.SetColor(c); }
  bool Ignore() const { return model_.Ignore(); }
  void SetIgnore(bool on) { model_.SetIgnore(on); }
  void SetCaption(const std::string& caption) { caption_.SetCaption(caption); }
  int Margin() const { return inner_.Top(); }
  void SetMargin(int top) { inner_.SetTop(top); }

  Tclrbox& Palette() { return palette_; }
  classlib::TScrollBar& Bar(int k) { return bars_[k]; }
  classlib::TEdit& Field(int k) { return fields_[k]; }
  classlib::TPanel& Swatch() { return swatch_; }
  classlib::TLabel& CaptionLabel() { return caption_; }

  classlib::TNotifyEvent Onclick;
  classlib::TNotifyEvent Onchange;
  classlib::TNotifyEvent OnEnterKey;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void Paint(classlib::TCanvas& Canvas) override;
  void KeyDown(int& Key, classlib::TShiftState Shift) override;

 private:
  void FieldKey(int k, int& key);

  TColourFormatModel model_;
  classlib::TLabel caption_{nullptr};
  classlib::TPanel inner_{nullptr};
  Tclrbox palette_{nullptr};
  std::array<classlib::TLabel, 3> labels_{classlib::TLabel{nullptr}, classlib::TLabel{nullptr},
                                          classlib::TLabel{nullptr}};
  std::array<classlib::TScrollBar, 3> bars_{classlib::TScrollBar{nullptr}, classlib::TScrollBar{nullptr},
                                            classlib::TScrollBar{nullptr}};
  std::array<classlib::TEdit, 3> fields_{classlib::TEdit{nullptr}, classlib::TEdit{nullptr},
                                         classlib::TEdit{nullptr}};
  classlib::TPanel swatch_{nullptr};
};

}  // namespace corvane
