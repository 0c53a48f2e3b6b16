// TWformat: the number-format picker of the dialogs. A grid of the fifteen
// kinds and beside it the sub-panel the kind asks for (digits, date options,
// times, denominators) or a note; Format converts between the cell format
// byte and what the picker shows.
#pragma once

#include <cstdint>

#include "classlib/win/StdCtrls.h"
#include "spreadsheet/controls/FormatPicker.h"
#include "spreadsheet/controls/win/GlyphGridWindow.h"
#include "spreadsheet/controls/win/OwnDrawnControl.h"
#include "spreadsheet/controls/win/ValueEditWindow.h"

namespace corvane {

class TWformat : public TCompositeControl {
 public:
  explicit TWformat(classlib::TComponent* AOwner);

  // The format byte shown. Writing shows it without firing Onclick.
  std::uint8_t Format() const;
  void SetFormat(std::uint8_t format);
  // The digits field is visible and the kind takes digits (or is +/-).
  bool Editfocus() const;
  bool Sticky() const { return kinds_.Model().Sticky(); }
  void SetSticky(bool on);
  TFormatChoice Choice() const;

  TBmpBut& Kinds() { return kinds_; }
  TBmpBut& Dates() { return dates_; }
  TBmpBut& Times() { return times_; }
  TBmpBut& Denominators() { return denominators_; }
  TPEdit& Digits() { return digits_; }
  classlib::TLabel& Note() { return note_; }

  // After every kind change by the user; the sender is the kinds grid.
  classlib::TNotifyEvent Onclick;
  // Enter typed in the picker.
  classlib::TNotifyEvent OnEnterKey;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void DoEnter() override;

 private:
  void PlacePanels();
  void ShowPanelFor(int kind);
  void KindChanged();
  void FocusPanel();

  TBmpBut kinds_{nullptr};
  classlib::TPanel noteBox_{nullptr};
  classlib::TLabel note_{nullptr};
  TBmpBut dates_{nullptr};
  TBmpBut times_{nullptr};
  TBmpBut denominators_{nullptr};
  classlib::TPanel digitsBox_{nullptr};
  TPEdit digits_{nullptr};
  bool applying_ = false;
};

}  // namespace corvane
