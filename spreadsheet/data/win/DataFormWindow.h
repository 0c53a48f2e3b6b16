// TFdlg, the data form (caption "Data Form"): one record of a database range
// at a time as a column of value fields, one per field of a TDataForm that
// has a width in the sheet, beside a column of buttons. The form copies
// texts between its fields and the model; the model reads and writes the
// records.
#pragma once

#include <functional>
#include <vector>

#include "classlib/win/StdCtrls.h"
#include "spreadsheet/controls/win/ValueEditWindow.h"
#include "spreadsheet/data/DataForm.h"

namespace corvane {

class TFdlg : public classlib::TForm {
 public:
  explicit TFdlg(classlib::TComponent* AOwner);

  // Sets the form up on `range` (its first row holds the field names): one
  // value field per field whose column has a width, the dialog sized to
  // them, and the first record shown.
  void Setup(const TRange& range);

  const TDataForm& Model() const { return model_; }
  // The value field of field `index`, or null when its column has no width.
  TPEdit* ValueField(int index) const { return edits_.at(static_cast<size_t>(index)); }
  // The buttons by their captions' letters.
  classlib::TButton& NextButton() { return *next_; }
  classlib::TButton& PrevButton() { return *prev_; }
  classlib::TButton& TopButton() { return *top_; }
  classlib::TButton& BotButton() { return *bot_; }
  classlib::TButton& AddButton() { return *add_; }
  classlib::TButton& UpdateButton() { return *update_; }
  classlib::TButton& CancelButton() { return *cancel_; }
  classlib::TCheckBox& CloneLast() { return *clone_; }
  // "Record:n of m".
  const classlib::TLabel& RecordLine() const { return *recordLine_; }

 private:
  // A button of the column; a click runs `action`, then shows the record and
  // gives the keyboard back to the field, so that what is typed next goes
  // into the record, never to a button.
  classlib::TButton* MakeButton(const char* caption, int index, std::function<void()> action);
  // Shows the model's record: its texts in the fields, "Record:n of m", and
  // "&Update" enabled while the record has unwritten changes.
  void ShowRecord();
  // The keyboard back in the field it was in last (the first field at first).
  void FocusField();

  TDataForm model_;
  TPEdit* lastField_ = nullptr;
  std::vector<TPEdit*> edits_;
  classlib::TPanel* buttonPanel_ = nullptr;
  classlib::TLabel* recordLine_ = nullptr;
  classlib::TButton *next_ = nullptr, *prev_ = nullptr, *top_ = nullptr, *bot_ = nullptr, *add_ = nullptr,
                    *update_ = nullptr, *cancel_ = nullptr;
  classlib::TCheckBox* clone_ = nullptr;
  bool loading_ = false;
};

// The data form on `range`, for the FORM page of the data dialog and the
// macro language: created, set up, run modally and freed; the sheet is
// repainted after.
void ShowDataForm(const TRange& range);

}  // namespace corvane
