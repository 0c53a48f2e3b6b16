// TGendlg, "General: Set Parameters": six notebook pages over
// TGeneralSettings, shown modally at the page of the Sheet menu's item. The
// default format is chosen in the format picker; the typeface page edits the
// window's default font as a face box with a row-height field and style
// boxes, and the colour page a palette-index box with R, G and B fields.
#pragma once

#include <array>
#include <functional>

#include "classlib/win/Notebook.h"
#include "classlib/win/StdCtrls.h"
#include "spreadsheet/controls/win/FormatPickerWindow.h"
#include "spreadsheet/controls/win/ValueEditWindow.h"
#include "spreadsheet/windows/GeneralSettings.h"

namespace corvane {

class TGendlg : public classlib::TForm {
 public:
  // `sheet` stands for the active sheet window (null when none is open).
  TGendlg(classlib::TComponent* AOwner, std::function<TGeneralSheet*()> sheet);
  // Opens modally at `page`; gives the modal result.
  int Open(int page);
  const TGeneralSettings& Values() const { return values_; }

  classlib::TNotebook Notebook{nullptr};
  classlib::TButton Ok{nullptr};
  classlib::TButton Cancel{nullptr};
  classlib::TButton ApplyGlobally{nullptr};
  // Format.
  TWformat Wformat1{nullptr};
  // Option.
  TPEdit* Rows = nullptr;
  TPEdit* Columns = nullptr;
  classlib::TComboBox Sheets{nullptr};
  std::array<classlib::TRadioButton*, 3> Alignment{};
  // Show Zero, Color Negative, Banding, 3D, Protect, Auto Recalc.
  std::array<classlib::TCheckBox*, 6> Options{};
  // Display Solid, Show Horizontal, Show Vertical.
  std::array<classlib::TCheckBox*, 3> GridLines{};
  // Typeface.
  classlib::TComboBox Face{nullptr};
  TPEdit* Size = nullptr;
  std::array<classlib::TCheckBox*, 3> Styles{};
  // Color.
  std::array<classlib::TButton*, kColourItemCount> Items{};
  classlib::TCheckBox IgnoreForeground{nullptr};
  classlib::TCheckBox IgnoreBackground{nullptr};
  classlib::TComboBox Foreground{nullptr};
  std::array<TPEdit*, 3> Rgb{};
  classlib::TPanel Sample{nullptr};
  classlib::TButton ResetColours{nullptr};
  // Files.
  TPEdit* AutoExec = nullptr;
  TPEdit* ToolMac = nullptr;
  TPEdit* History = nullptr;
  classlib::TButton ClearHistory{nullptr};
  // Advanced.
  classlib::TComboBox Argument{nullptr};
  classlib::TComboBox Thousands{nullptr};
  classlib::TComboBox Decimal{nullptr};
  classlib::TComboBox Currency{nullptr};
  classlib::TRadioButton Prefix{nullptr};
  classlib::TRadioButton Suffix{nullptr};
  // Win Control Keys, US Date, PreOpen Sheet, Win3 FileDlg, Backups.
  std::array<classlib::TCheckBox*, 5> Flags{};

 private:
  void BuildFormat(classlib::TWinControl& page);
  void BuildOption(classlib::TWinControl& page);
  void BuildTypeface(classlib::TWinControl& page);
  void BuildColor(classlib::TWinControl& page);
  void BuildFiles(classlib::TWinControl& page);
  void BuildAdvanced(classlib::TWinControl& page);
  void ToControls();
  void ShowColour();
  void ColourChanged();
  // A separator box's text changed (a choice from its list, or typing).
  void SeparatorChanged(int box);
  // The separator box's list (what may be chosen now) and its text; a list
  // that is dropped down keeps its items.
  void LoadSeparatorBox(int box);
  classlib::TComboBox& SeparatorBox(int box);
  void FontChanged();
  void Browse(TPEdit& field, const char* extension, const char* filter, bool autoExec);

  std::function<TGeneralSheet*()> sheet_;
  TGeneralSettings values_;
  bool loading_ = false;
};

}  // namespace corvane
