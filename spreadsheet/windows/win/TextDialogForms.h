// The forms of the function list (TGetFun), the justify dialog (TJustifyDlg)
// and the word dialog (TWordDlg), and the main frame's commands that open
// them. Their values and rules are TextDialogs.h's; the forms copy controls
// to and from them and measure text on the screen.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "classlib/win/StdCtrls.h"
#include "spreadsheet/controls/win/ValueEditWindow.h"
#include "spreadsheet/windows/CellPainter.h"
#include "spreadsheet/windows/Commands.h"
#include "spreadsheet/windows/TextDialogs.h"

namespace corvane {

// What the dialogs need of the main frame.
struct TTextDialogHost {
  classlib::TWinControl* frame = nullptr;
  TColumnPixelsFn columnPixels;                     // the active grid's column widths
  std::function<TSheetFonts()> sheetFonts;          // the active sheet window's fonts
  std::function<void(std::string_view)> insertText;  // into the entry line, at its caret
  std::function<void()> refresh;                    // the frame's indicators after a change
};

// "Function List": a modal list that stays on top. Execute gives mrOk with
// Picked() set, mrCancel (Escape) or -1 (a right click on the list).
class TGetFun : public classlib::TForm {
 public:
  explicit TGetFun(classlib::TComponent* AOwner);
  ~TGetFun() override;
  int Execute(int mode);
  const std::string& Picked() const { return values_.picked; }

  classlib::TEdit Edit1{nullptr};
  classlib::TListBox ListBox1{nullptr};

 protected:
  void CreateParams(TCreateParams& Params) override;

 private:
  void Fill();
  void Choose();

  TFunctionList values_;
};

// "Justify": a range, a width in units of 4 pixels and the padding choice.
// It hides while its range prompt runs.
class TJustifyDlg : public classlib::TForm {
 public:
  TJustifyDlg(classlib::TComponent* AOwner, const TTextDialogHost& host);
  ~TJustifyDlg() override;
  // Shows the dialog; the first showing after a justify takes the selection.
  void Open();

  TPEdit* PEdit1 = nullptr;
  TPEdit* PEdit2 = nullptr;
  classlib::TCheckBox Pad{nullptr};
  classlib::TLabel PadLabel{nullptr};
  classlib::TButton Ok{nullptr};
  classlib::TButton Cancel{nullptr};

 private:
  void ToControls();
  void FromControls();
  void PromptRange();
  void Finish(bool justify);

  TTextDialogHost host_;
  TJustifyDialog values_;
};

// "Word": the selection's first column as lines of a memo.
class TWordDlg : public classlib::TForm {
 public:
  explicit TWordDlg(classlib::TComponent* AOwner);
  ~TWordDlg() override;
  // Loads the selection's column and runs the dialog; mrOk when the lines
  // were entered.
  int Execute();

  classlib::TMemo Memo1{nullptr};
  classlib::TButton Ok{nullptr};
  classlib::TButton Cancel{nullptr};

 private:
  TWordDialog values_;
};

// The text measure of a font on the screen.
TTextWidthFn ScreenTextWidth(const TJustifyFont& font);

// Function Pick, Macro Pick, Justify and Word. The dialogs are made on first
// use, or early by PreloadTextDialogs, and owned by the frame.
void BindTextDialogCommands(TCommandTable& table, const TTextDialogHost& host);
// The function list and the justify dialog exist at a preload level above 3.
void PreloadTextDialogs(const TTextDialogHost& host, int level);
// The program's dialogs (made on first use).
TGetFun& FunctionListDialog(const TTextDialogHost& host);
TJustifyDlg& JustifyDialog(const TTextDialogHost& host);
TWordDlg& WordDialog(const TTextDialogHost& host);

}  // namespace corvane
