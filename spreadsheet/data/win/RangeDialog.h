// What the data dialog and the array dialog share: a non-modal dialog over
// the main window with a notebook of pages and a bottom row of buttons. It
// keeps the main window disabled while it shows and gives it back on every
// way it hides (Ok, Cancel, Escape, closing, a range prompt); its range
// fields ask for their range on the prompt line, with the dialog hidden
// until the prompt ends.
#pragma once

#include <string>

#include "classlib/win/Notebook.h"
#include "classlib/win/StdCtrls.h"
#include "spreadsheet/controls/win/ValueEditWindow.h"
#include "spreadsheet/engine/Range.h"

namespace corvane {

class TRangeDialog : public classlib::TForm {
 public:
  // The caption text and every control of a page: what tests and the
  // program's own code address by name.
  classlib::TNotebook& Notebook() { return *notebook_; }
  classlib::TButton& OkButton() { return *ok_; }
  classlib::TButton& CancelButton() { return *cancel_; }

 protected:
  // The dialog is owned by `mainWindow` and disables it while it shows.
  TRangeDialog(classlib::TWinControl& mainWindow, const std::string& caption);
  ~TRangeDialog() override;

  // The first activation after ShowPage: the page takes its presets.
  virtual void FirstActivation() = 0;
  // "&Ok": the page's command.
  virtual void OkClick() = 0;
  // "&Cancel", Escape and closing, before the dialog hides.
  virtual void Cancelled() = 0;
  // The selection the prompts start from and come back to.
  virtual TRange SavedSelection() const = 0;

  // Selects `page`, gives the dialog its outer size and shows it; the next
  // activation runs FirstActivation.
  void ShowPage(int page, int width, int height);
  // Gives the main window back, then hides the dialog.
  void HideDialog();
  // A range field of `page` at `top`, `width` wide with a caption of
  // `margin` pixels, owned by the page so that Up and Down stay within it.
  TPEdit& AddField(classlib::TWinControl& page, int top, int width, int margin, const std::string& caption);
  // Starts the range prompt for `field` under `caption` (see
  // StartFieldPrompt); the dialog hides meanwhile and shows again with the
  // prompt's text in the field.
  void PromptFor(TPEdit& field, const std::string& caption);
  // A button at the bottom row's next free place.
  classlib::TButton& AddButton(const std::string& caption);
  // The client width of a dialog of outer width `width`.
  static int ClientWidthFor(int width);

  classlib::TWinControl& mainWindow_;
  classlib::TNotebook* notebook_ = nullptr;
  classlib::TPanel* buttonRow_ = nullptr;
  classlib::TButton* ok_ = nullptr;
  classlib::TButton* cancel_ = nullptr;

 private:
  bool firstActivation_ = false;
  bool prompting_ = false;
};

}  // namespace corvane
