// The external links' reader: linked worksheet files read for their cell
// values, which go to the links that formulas registered.
#include <string_view>

#include "spreadsheet/engine/ExternalLinks.h"
#include "spreadsheet/files/HostFileName.h"
#include "spreadsheet/files/WorksheetFile.h"

namespace corvane {

void InstallLinkedFileReader() {
  SetLinkedFileReader([](const std::string& fileName) {
    return ReadLinkedFileCells(HostFileName(fileName), [](const TLinkedCellValue& value) {
      std::string_view text = value.text;
      if (value.isLabel && !text.empty()) text.remove_prefix(1);
      LinkStoreValue(value.row, value.col, value.rowsPerSheet, value.isText, text, value.number);
    });
  });
}

}  // namespace corvane
