// Tprompt: the prompt line of the main frame: a coloured panel with the prompt
// caption at its left and, at its right, an edit or a combo box ("*" switches)
// with an accept and a cancel button, run through TPromptModel.
#pragma once

#include <string>
#include <vector>

#include "classlib/win/StdCtrls.h"
#include "spreadsheet/controls/Prompt.h"
#include "spreadsheet/controls/win/OwnDrawnControl.h"
#include "spreadsheet/controls/win/SplitButtonWindow.h"

namespace corvane {

class Tprompt : public TOwnDrawnControl {
 public:
  explicit Tprompt(classlib::TComponent* AOwner);
  TPromptModel& Model() { return model_; }
  classlib::TEdit& Edit() { return edit_; }
  classlib::TComboBox& Combo() { return combo_; }
  Tspdbtn& AcceptButton() { return accept_; }
  Tspdbtn& CancelButton() { return cancel_; }

  bool Mode() const { return model_.Mode(); }
  void SetMode(bool editMode) { model_.SetMode(editMode); }
  std::string Caption() const { return model_.Caption(); }
  void SetCaption(const std::string& value) { model_.SetCaption(value); }
  // The edit's text in edit mode, else the combo box's.
  std::string Text() const { return model_.Mode() ? edit_.Text() : combo_.Text(); }
  void SetText(const std::string& value) override;
  std::vector<std::string> Items() const { return combo_.Items(); }
  void SetItems(const std::vector<std::string>& items) { combo_.SetItems(items); }
  void SetEcolor(classlib::TColor color);
  void SetBevelouter(TPromptBevel bevel);
  void SetBevelwidth(int width);
  void SetColor(classlib::TColor value) override;
  void SetFont(const classlib::TFont& value) override;
  // Focuses the input, the edit or the combo box, with its text selected.
  void FocusInput();
  // Selects the input's whole text, so that what is typed first replaces it.
  void SelectInput();
  // True when the keyboard is in the prompt line.
  bool HasFocus() const;

  classlib::TNotifyEvent Onaccept;
  classlib::TNotifyEvent Oncancel;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void Paint(classlib::TCanvas& Canvas) override { model_.Paint(Canvas); }
  void Resize() override;

 private:
  void InputKey(char& key);

  classlib::TEdit edit_{nullptr};
  classlib::TComboBox combo_{nullptr};
  Tspdbtn accept_{nullptr};
  Tspdbtn cancel_{nullptr};
  TPromptModel model_{*this};
};

}  // namespace corvane
