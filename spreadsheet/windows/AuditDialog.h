// The audit dialog's content: the statistics of the current document's
// cells by kind, the tree of a cell's dependents, the cross-reference list of
// a range with its printed report, and the drawings of the overview map and
// the statistics chart (on any canvas: the dialog's paint boxes, the printer,
// or a recording canvas in tests). The form shows these and nothing more.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "classlib/Canvas.h"
#include "spreadsheet/engine/Range.h"

namespace corvane {

inline constexpr const char* kAuditCaption = "Audit Cell References";
inline constexpr int kAuditDepthAtStart = 3;
// A tree stops growing at this many lines: a cell with many dependents,
// each with many of its own, would otherwise fill memory at a deep limit.
inline constexpr int kAuditTreeMaxLines = 5000;
inline constexpr int kAuditRefsPerLine = 8;

// The five kinds the overview and the chart show: formulas (both kinds),
// reals, integers, strings and blanks.
inline constexpr int kAuditShownKinds = 5;
struct TAuditKind {
  const char* name;
  classlib::TColor colour;
};
const TAuditKind& AuditShownKind(int index);
// The shown kind (0..4) of a cell kind (its low three bits); -1 for others.
int AuditShownKindOf(std::uint8_t kind);

struct TAuditStats {
  std::array<int, 8> counts{};  // cells per kind (low three bits)
  int total = 0;
  int lastRow = -1;  // the last row holding a cell; -1 for an empty document
  int maxCol = -1;   // the largest column holding a cell
  int scaleMax = 0;  // the largest count among the shown kinds
  // The count of shown kind `index` (formulas: both formula kinds).
  int Shown(int index) const;
};
TAuditStats AuditStatistics();
// The percentage of all cells that shown kind `index` makes, as the chart
// writes it ("25.0 %"), or "-NA-" when there are no cells.
std::string AuditPercentText(const TAuditStats& stats, int index);
// The address of the last used cell ("IV8192" style), "" for none.
std::string AuditLastCellText(const TAuditStats& stats);

// ---- Tree -------------------------------------------------------------------
struct TAuditTreeLine {
  int level = 0;
  int row = 0;
  int col = 0;
  std::string text;  // address, ": ", "Protected" or the cell's contents
  std::string Address() const;
};
struct TAuditTree {
  std::vector<TAuditTreeLine> lines;  // depth first, the root first
  int deepest = 0;
  bool cut = false;  // stopped at kAuditTreeMaxLines
  int References() const { return lines.empty() ? 0 : static_cast<int>(lines.size()) - 1; }
};
// The dependents of the cell `rootText` names, down to `depthLimit` levels
// below it; a cycle repeats until the limit. False (with the error flag set)
// when the text does not name a cell; an existing address without a cell
// gives its one line.
bool AuditBuildTree(std::string_view rootText, int depthLimit, TAuditTree& tree);

// ---- Cross reference ---------------------------------------------------------
struct TAuditXRefLine {
  std::string cell;  // "" on a continuation line
  std::string type;  // "Form 1", "Real 2", ... "? 6"
  std::string count;
  std::string refs;  // up to eight addresses joined by ","
};
// One line per existing cell of `range` (rows, then columns), and a
// continuation line for every further eight dependents.
std::vector<TAuditXRefLine> AuditXRef(const TRange& range);
// The printed report: a heading, the column titles and each line's fields
// between tabs, each line followed by an empty one.
std::vector<std::string> AuditXRefReport(std::string_view windowName, std::string_view rangeText,
                                         const std::vector<TAuditXRefLine>& lines);

// ---- Drawings ----------------------------------------------------------------
// The map of the used area on a `width` by `height` box.
void DrawAuditOverview(classlib::TCanvas& canvas, int width, int height, const TAuditStats& stats);
// The bar chart of the shown kinds; `fontHeight` is the font's pixel height.
void DrawAuditStats(classlib::TCanvas& canvas, int width, int height, const TAuditStats& stats, int fontHeight);
// The bar's colour on `line` of a bar `barHeight` lines high: the kind's
// colour shaded like a cylinder.
classlib::TColor AuditShade(classlib::TColor colour, int line, int barHeight);

}  // namespace corvane
