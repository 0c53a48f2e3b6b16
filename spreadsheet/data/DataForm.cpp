// The data form's records.
#include "spreadsheet/data/DataForm.h"

#include <algorithm>

#include "spreadsheet/data/DataCommon.h"
#include "spreadsheet/engine/CellEntry.h"
#include "spreadsheet/engine/EngineHelpers.h"
#include "spreadsheet/engine/NumberFormat.h"
#include "spreadsheet/engine/PoolString.h"
#include "spreadsheet/engine/WindowServices.h"

namespace corvane {

namespace {

bool IsPrefix(char c) { return c == '\'' || c == '"' || c == '^'; }

std::string WithoutPrefix(std::string_view text) {
  return std::string(!text.empty() && IsPrefix(text[0]) ? text.substr(1) : text);
}

// The text a value field shows for a cell: a number in the cell's own format
// (trimmed), a label without its prefix, a text formula's result; "" for
// anything else.
std::string FieldText(const TCell* cell, int widthChars) {
  if (cell == nullptr) return "";
  if (CellIsNumeric(cell)) {
    std::string text = FormatValue(std::max(widthChars, 1), cell->format, NumberAt(cell->row, cell->column));
    while (!text.empty() && text.back() == ' ') text.pop_back();
    return text;
  }
  if (CellKind(*cell) == kKindLabel) return WithoutPrefix(PoolStringView(cell->text));
  if (CellKind(*cell) == kKindStringFormula && !(cell->kind & kKindErrorBit))
    return std::string(PoolStringView(CellResultText(*cell)));
  return "";
}

}  // namespace

void TDataForm::Open(const TRange& range) {
  range_ = OrderedRange(range);
  fields_.clear();
  TWindowServices& windows = WindowServices();
  for (int col = range_.firstCol; col <= range_.lastCol && static_cast<int>(fields_.size()) < kMaxFormFields; ++col) {
    const TCell* header = CellPtr(CellFind(range_.firstRow, col));
    if (header == nullptr || CellIsProtected(header) || (header->format & 0x7F) == kFormatHidden) continue;
    TFormField field;
    field.column = col;
    field.headerFormat = header->format;
    field.caption = (CellIsLabel(header) ? WithoutPrefix(PoolStringView(header->text)) : std::string()) + " ";
    field.widthChars = windows.ColumnWidthChars(col);
    fields_.push_back(field);
  }
  record_ = 1;
  CountRecords();
  Load();
}

std::string TDataForm::Caption() const {
  return "Record:" + std::to_string(record_) + " of " + std::to_string(count_);
}

void TDataForm::CountRecords() {
  count_ = 0;
  for (int row = range_.firstRow + 1; row <= kMaxRow; ++row) {
    TRange line;
    RangeSet(line, range_.firstCol, row, range_.lastCol, row);
    // A record holds a cell that is not blank: the walk stops at it.
    bool holds = !ForEachCellInRange(line, [](TCellHandle, const TCell& cell) { return CellKind(cell) == kKindBlank; });
    if (!holds) break;
    ++count_;
  }
}

void TDataForm::Load() {
  int row = range_.firstRow + record_;
  for (TFormField& field : fields_) {
    field.text = row <= kMaxRow ? FieldText(CellPtr(CellFind(row, field.column)), field.widthChars) : "";
    field.changed = false;
  }
  modified_ = false;
}

void TDataForm::Edit(int index, const std::string& text) {
  if (index < 0 || index >= static_cast<int>(fields_.size())) return;
  fields_[index].text = text;
  fields_[index].changed = true;
  modified_ = true;
}

void TDataForm::Write(int record, bool all) {
  int row = range_.firstRow + record;
  if (record < 1 || row > kMaxRow) {
    DefaultBeep();
    return;
  }
  for (TFormField& field : fields_) {
    if (!all && !field.changed) continue;
    if (CellFind(row, field.column) == kNilHandle && !field.text.empty()) {
      TCellHandle cell = CellGetOrCreate(row, field.column);
      if (cell == kNilHandle) continue;
      CellPtr(cell)->format = field.headerFormat;
    }
    EnterCell(field.text, row, field.column);
    field.changed = false;
  }
  modified_ = false;
  WindowServices().MarkSheetModified(WindowServices().ActiveSheet());
  WindowServices().RepaintSheet(WindowServices().ActiveSheet());
}

void TDataForm::WriteIfModified() {
  if (modified_) Write(record_, false);
}

bool TDataForm::Next(bool cloneLast) {
  WriteIfModified();
  if (record_ < count_) {
    ++record_;
    Load();
    return true;
  }
  bool anyText = std::any_of(fields_.begin(), fields_.end(), [](const TFormField& f) { return !f.text.empty(); });
  if (!anyText) {
    record_ = std::max(count_, 1);
    DefaultBeep();
    return false;
  }
  record_ = count_ + 1;
  count_ = record_;
  if (!cloneLast)
    for (TFormField& field : fields_) field.text.clear();
  Write(record_, true);
  return true;
}

void TDataForm::Prev() {
  WriteIfModified();
  record_ = std::max(1, record_ - 1);
  Load();
}

void TDataForm::Top() {
  WriteIfModified();
  record_ = 1;
  Load();
}

void TDataForm::Bottom() {
  WriteIfModified();
  record_ = std::max(1, count_);
  Load();
}

void TDataForm::Add() {
  record_ = ++count_;
  Write(record_, true);
}

void TDataForm::Update() { Write(record_, false); }

}  // namespace corvane
