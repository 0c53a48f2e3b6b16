// TPEdit: the captioned value edit of the dialogs: a right-aligned caption
// (TLabel), an edit, and optionally a button zone at the right (a spin glyph
// or an ellipsis button) drawn and pressed through TValueEditModel. Up and
// Down move to the neighbouring TPEdit of the owner; the caption turns blue
// while the edit has the focus.
#pragma once

#include <string>

#include "classlib/win/StdCtrls.h"
#include "spreadsheet/controls/ValueEdit.h"
#include "spreadsheet/controls/win/OwnDrawnControl.h"

namespace corvane {

class TPEdit : public TOwnDrawnControl {
 public:
  explicit TPEdit(classlib::TComponent* AOwner);
  TValueEditModel& Model() { return model_; }
  classlib::TEdit& Edit() { return edit_; }
  classlib::TLabel& Label() { return label_; }

  std::string Text() const { return edit_.Text(); }
  // A text set while the field has the keyboard is offered whole, to be
  // typed over, as the field offers its text when it is entered.
  void SetText(const std::string& value) override;
  // The full caption; the label may show it shortened.
  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& value);
  int Margin() const { return margin_; }
  void SetMargin(int pixels);
  bool Button() const { return model_.Button; }
  void SetButton(bool on);
  bool Updn() const { return model_.Updn; }
  void SetUpdn(bool on);
  bool Ellipse() const { return ellipse_; }
  void SetEllipse(bool on);
  int Maxlength() const { return edit_.MaxLength(); }
  void SetMaxlength(int n) { edit_.SetMaxLength(n); }
  int Vali() const { return model_.Vali(); }
  void SetVali(int v) { model_.SetVali(v); }
  double Valr() const { return model_.Valr(); }
  void SetValr(double v) { model_.SetValr(v); }

  // The edit's text changed.
  classlib::TNotifyEvent OnMod;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void Resize() override;
  void Paint(classlib::TCanvas& Canvas) override;
  void MouseDown(classlib::TMouseButton Button, classlib::TShiftState Shift, int X, int Y) override;
  void MouseMove(classlib::TShiftState Shift, int X, int Y) override;
  void MouseUp(classlib::TMouseButton Button, classlib::TShiftState Shift, int X, int Y) override;
  void Timer(int Id) override { model_.Timer(Id); }
  void DoEnter() override;
  void DoExit() override {}

 private:
  void Layout();
  void ShowCaption();
  void EditKeyDown(int& key, classlib::TShiftState shift);
  void EditEntered();
  void EditLeft();
  // The owner's TPEdit before or after this one in creation order.
  void FocusNeighbour(int direction);

  classlib::TLabel label_{nullptr};
  classlib::TEdit edit_{nullptr};
  TValueEditModel model_{*this};
  std::string caption_;
  int margin_ = 8;
  bool ellipse_ = false;
  HWND previousFocus_ = nullptr;
};

}  // namespace corvane
