// TPropty, the "Properties" dialog: a list menu of six pages beside a
// notebook (number format, shade, typeface, prefix, protection, borders), the
// range field and Ok and Cancel. It runs without a modal loop, so that its
// range prompt can run on the main window while it is hidden; the main window
// is disabled while it shows. Its values and Ok are TRangeProperties'.
#pragma once

#include <functional>

#include "classlib/win/Notebook.h"
#include "classlib/win/StdCtrls.h"
#include "spreadsheet/controls/win/ColourFormatWindow.h"
#include "spreadsheet/controls/win/FontPickerWindow.h"
#include "spreadsheet/controls/win/FormatPickerWindow.h"
#include "spreadsheet/controls/win/GlyphGridWindow.h"
#include "spreadsheet/controls/win/ListMenuWindow.h"
#include "spreadsheet/controls/win/ValueEditWindow.h"
#include "spreadsheet/windows/CellPainter.h"
#include "spreadsheet/windows/RangeProperties.h"

namespace corvane {

class TPropty : public classlib::TForm {
 public:
  // `mainWindow` is disabled while the dialog shows; `fonts` gives the
  // active sheet's fonts; `applied` runs after Ok changed cells.
  TPropty(classlib::TWinControl& mainWindow, std::function<TSheetFonts()> fonts, std::function<void()> applied);
  ~TPropty() override;

  // Opens the dialog: a page of 0 or more with the list menu at that page,
  // -n-1 for page n alone without the list menu.
  void ShowProperties(int page);
  const TRangeProperties& Values() const { return values_; }

  ttabmenu ttabmenu1{nullptr};
  classlib::TNotebook* Notebook1 = nullptr;  // owned as a component
  TWformat Wformat1{nullptr};
  Tcformat cformat1{nullptr};
  classlib::TCheckBox DefaultBox{nullptr};
  Tfontmenu fontmenu1{nullptr};
  TBmpBut BmpBut3{nullptr};  // " Label Prefix "
  TBmpBut BmpBut4{nullptr};  // " Cell Protection "
  TBmpBut BmpBut1{nullptr};  // " Types "
  TBmpBut BmpBut2{nullptr};  // " Apply "
  TPEdit PEdit1{nullptr};
  classlib::TButton OkButton{nullptr};
  classlib::TButton CancelButton{nullptr};

 protected:
  void CreateParams(TCreateParams& Params) override;

 private:
  void Load();
  void Changed(int page);
  void ShadeChanged();
  void FromControls();
  void OkClick();
  void PromptRange();
  // The control that takes the focus on `page`.
  classlib::TWinControl& PageFocus(int page);

  classlib::TWinControl& mainWindow_;
  std::function<TSheetFonts()> fonts_;
  std::function<void()> applied_;
  TRangeProperties values_;
  int page_ = 0;
  bool reload_ = false;
  bool prompting_ = false;
  bool loading_ = false;  // the controls are being loaded: no change marks
};

}  // namespace corvane
