// The record logic of the data form (TFdlg, caption "Data Form"): one record
// of a database range at a time as a column of value fields, one per field
// of the header row, with stepping, appending and writing back. The form
// creates one edit per field and copies texts to and from this model.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "spreadsheet/engine/Range.h"

namespace corvane {

inline constexpr int kMaxFormFields = 50;

struct TFormField {
  int column = 0;
  std::uint8_t headerFormat = 0;
  std::string caption;     // the header's text without its label prefix, and a blank
  int widthChars = 0;      // the column's width; 0: no value field is shown
  std::string text;        // what the value field shows
  bool changed = false;    // edited since the record was loaded
};

class TDataForm {
 public:
  // Sets the form up on `range`: one field per column whose header cell (in
  // the range's first row) exists, is not protected and is not formatted
  // hidden, at most 50; then counts the records and loads record 1.
  void Open(const TRange& range);

  const std::vector<TFormField>& Fields() const { return fields_; }
  int Record() const { return record_; }
  int Count() const { return count_; }
  bool Modified() const { return modified_; }
  // "Record:" with the record number, " of " and the count.
  std::string Caption() const;

  // The user typed into field `index`: its text changes and the record is
  // modified (the form then enables "&Update").
  void Edit(int index, const std::string& text);

  // The buttons. Each that moves writes a modified record first. Next past
  // the last record appends the shown texts as a new record when any field
  // has text (emptied first unless `cloneLast`), else beeps and stays; false
  // then. Prev stops at record 1; Bot goes to the last record (record 1 when
  // there are none, never the header row). Add appends the texts shown as a
  // new record. Update writes the current record.
  bool Next(bool cloneLast);
  void Prev();
  void Top();
  void Bottom();
  void Add();
  void Update();

 private:
  void CountRecords();
  void Load();
  // Writes the fields into record `record`: all of them for a new record,
  // only those edited otherwise. Numbers, formulas and formats of the other
  // cells stay as they are; a new cell takes its header's format.
  void Write(int record, bool all);
  void WriteIfModified();

  TRange range_;
  std::vector<TFormField> fields_;
  int record_ = 1;
  int count_ = 0;
  bool modified_ = false;
};

}  // namespace corvane
