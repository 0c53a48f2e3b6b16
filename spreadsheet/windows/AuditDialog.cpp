// The audit dialog's statistics, tree, cross reference and drawings.
#include "spreadsheet/windows/AuditDialog.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>

#include "spreadsheet/engine/CellEntry.h"
#include "spreadsheet/engine/CellStore.h"
#include "spreadsheet/engine/EngineError.h"
#include "spreadsheet/engine/FormulaText.h"
#include "spreadsheet/engine/RangeText.h"

namespace corvane {

using namespace classlib;

namespace {

constexpr TAuditKind kShownKinds[kAuditShownKinds] = {
    {"Formula", clBlue},
    {"Real", RGBColor(0, 128, 0)},
    {"Integer", clRed},
    {"String", RGBColor(128, 128, 0)},
    {"Blank", clWhite},
};

constexpr const char* kXRefTypeNames[] = {"Form", "Form", "Real", "Integer", "String", "Blank"};

// Calls visit(formula handle) for each link of the cell's dependents list.
template <typename Visit>
void ForEachDependent(const TCell& cell, Visit&& visit) {
  for (TPoolHandle link = cell.dependents; link != kNilHandle;) {
    const auto* node = reinterpret_cast<const TDepLink*>(PoolBlock(link));
    if (node == nullptr) break;
    visit(node->cell);
    link = node->next;
  }
}

std::string Address(int row, int col) { return CellAddrText(row, col, false, false); }

void AddTreeLines(TAuditTree& tree, TCellHandle handle, int row, int col, int level, int depthLimit) {
  if (static_cast<int>(tree.lines.size()) >= kAuditTreeMaxLines) {
    tree.cut = true;
    return;
  }
  const TCell* cell = CellPtr(handle);
  TAuditTreeLine line;
  line.level = level;
  line.row = row;
  line.col = col;
  line.text = Address(row, col) + ": " + (cell && CellIsProtected(cell) ? "Protected" : CellContentsText(handle));
  tree.lines.push_back(std::move(line));
  tree.deepest = std::max(tree.deepest, level);
  if (cell == nullptr || level >= depthLimit) return;
  ForEachDependent(*cell, [&](TCellHandle formula) {
    if (const TCell* dependent = CellPtr(formula))
      AddTreeLines(tree, formula, dependent->row, dependent->column, level + 1, depthLimit);
  });
}

}  // namespace

const TAuditKind& AuditShownKind(int index) { return kShownKinds[std::clamp(index, 0, kAuditShownKinds - 1)]; }

int AuditShownKindOf(std::uint8_t kind) {
  kind &= kKindTypeMask;
  if (kind <= kKindNumberFormula) return 0;
  return kind <= kKindBlank ? kind - 1 : -1;
}

int TAuditStats::Shown(int index) const {
  if (index == 0) return counts[kKindStringFormula] + counts[kKindNumberFormula];
  return index > 0 && index < kAuditShownKinds ? counts[static_cast<std::size_t>(index + 1)] : 0;
}

TAuditStats AuditStatistics() {
  TAuditStats stats;
  TRange sheet;
  RangeSet(sheet, 0, 0, kMaxCol, kMaxRow);
  ForEachCellInRange(sheet, [&](TCellHandle, TCell& cell) {
    ++stats.counts[CellKind(cell)];
    stats.lastRow = std::max<int>(stats.lastRow, cell.row);
    stats.maxCol = std::max<int>(stats.maxCol, cell.column);
  });
  for (int count : stats.counts) stats.total += count;
  for (int k = 0; k < kAuditShownKinds; ++k) stats.scaleMax = std::max(stats.scaleMax, stats.Shown(k));
  return stats;
}

std::string AuditPercentText(const TAuditStats& stats, int index) {
  if (stats.total == 0) return "-NA-";
  char text[32];
  std::snprintf(text, sizeof text, "%.1f %%", 100.0 * stats.Shown(index) / stats.total);
  return text;
}

std::string AuditLastCellText(const TAuditStats& stats) {
  return stats.lastRow < 0 ? std::string() : Address(stats.lastRow, stats.maxCol);
}

std::string TAuditTreeLine::Address() const { return corvane::Address(row, col); }

bool AuditBuildTree(std::string_view rootText, int depthLimit, TAuditTree& tree) {
  tree = TAuditTree{};
  int row = 0, col = 0;
  bool absCol = false, absRow = false;
  ClearErrorFlag();
  if (!ParseCellAddr(rootText, row, col, absCol, absRow)) return false;
  AddTreeLines(tree, CellFind(row, col), row, col, 0, std::max(depthLimit, 0));
  return true;
}

std::vector<TAuditXRefLine> AuditXRef(const TRange& range) {
  std::vector<TAuditXRefLine> lines;
  ForEachCellInRange(range, [&](TCellHandle, TCell& cell) {
    std::uint8_t kind = CellKind(cell);
    std::vector<std::string> refs;
    ForEachDependent(cell, [&](TCellHandle formula) {
      if (const TCell* dependent = CellPtr(formula)) refs.push_back(Address(dependent->row, dependent->column));
    });
    TAuditXRefLine line;
    line.cell = Address(cell.row, cell.column);
    line.type = std::string(kind < std::size(kXRefTypeNames) ? kXRefTypeNames[kind] : "?") + " " + std::to_string(kind);
    line.count = std::to_string(refs.size());
    for (std::size_t k = 0; k < refs.size(); ++k) {
      if (k > 0 && k % kAuditRefsPerLine == 0) {
        lines.push_back(std::move(line));
        line = TAuditXRefLine{};
      }
      if (!line.refs.empty()) line.refs += ",";
      line.refs += refs[k];
    }
    lines.push_back(std::move(line));
  });
  return lines;
}

std::vector<std::string> AuditXRefReport(std::string_view windowName, std::string_view rangeText,
                                         const std::vector<TAuditXRefLine>& lines) {
  std::vector<std::string> report{std::string(windowName) + " : Cross Reference Report " + std::string(rangeText), "",
                                  "CELL\t TYPE\t COUNT\t: REFERENCES", " ================================"};
  for (const TAuditXRefLine& line : lines) {
    report.push_back(line.cell + "\t" + line.type + "\t" + line.count + "\t" + line.refs);
    report.emplace_back();
  }
  return report;
}

// ---- Drawings ----------------------------------------------------------------

void DrawAuditOverview(TCanvas& canvas, int width, int height, const TAuditStats& stats) {
  TCanvasStateSaver saver(canvas);
  canvas.Brush.Style = TBrushStyle::bsSolid;
  canvas.Brush.Color = clSilver;
  TRect field{39, 15, width - 14, height - 14};
  if (field.IsEmpty()) return;
  canvas.FillRect(field);
  canvas.Brush.Color = clBlack;
  canvas.FrameRect(field);
  canvas.Font.Color = clBlack;
  canvas.Brush.Style = TBrushStyle::bsClear;
  // The legend along the bottom.
  int x = 40;
  for (const TAuditKind& kind : kShownKinds) {
    std::string text = std::string(kind.name) + ":";
    canvas.TextOut(x, height - 13, text);
    x += canvas.TextWidth(text) + 2;
    canvas.Brush.Style = TBrushStyle::bsSolid;
    canvas.Brush.Color = kind.colour;
    canvas.Rectangle(Bounds(x, height - 11, 10, 10));
    canvas.Brush.Style = TBrushStyle::bsClear;
    x += 18;
  }
  if (stats.lastRow < 0 || stats.maxCol < 0) return;
  const int cols = stats.maxCol + 1, rows = stats.lastRow + 1;
  auto colX = [&](int c) { return c * (width - 56) / cols + 40; };
  auto rowY = [&](int r) { return r * (height - 40) / rows + 16; };
  // Axis labels wherever they clear the one before.
  int lastRight = -1;
  for (int c = 0; c < cols; ++c) {
    std::string label = std::to_string(c).substr(0, 5);
    if (colX(c) <= lastRight) continue;
    canvas.TextOut(colX(c), 1, label);
    lastRight = colX(c) + canvas.TextWidth(label) + 2;
  }
  int lastBottom = -1;
  for (int r = 0; r < rows; ++r) {
    if (rowY(r) <= lastBottom) continue;
    std::string label = std::to_string(r + 1);
    canvas.TextOut(2, rowY(r), label);
    lastBottom = rowY(r) + canvas.TextHeight(label);
  }
  canvas.Brush.Style = TBrushStyle::bsSolid;
  TRange used;
  RangeSet(used, 0, 0, stats.maxCol, stats.lastRow);
  ForEachCellInRange(used, [&](TCellHandle, TCell& cell) {
    int shown = AuditShownKindOf(cell.kind);
    if (shown < 0) return;
    canvas.Brush.Color = kShownKinds[shown].colour;
    TRect box{colX(cell.column), rowY(cell.row), colX(cell.column + 1), rowY(cell.row + 1)};
    if (box.Right == box.Left) ++box.Right;
    if (box.Bottom == box.Top) ++box.Bottom;
    canvas.FillRect(box);
  });
}

TColor AuditShade(TColor colour, int line, int barHeight) {
  if (barHeight <= 0) return colour;
  double shade = std::sin((line + barHeight / 4.0) * std::numbers::pi / barHeight);
  auto channel = [shade](int full) {
    double value = full * shade;
    return static_cast<int>(std::clamp(value, full / 4.0, 255.0));
  };
  return RGBColor(channel(RedOf(colour)), channel(GreenOf(colour)), channel(BlueOf(colour)));
}

void DrawAuditStats(TCanvas& canvas, int width, int height, const TAuditStats& stats, int fontHeight) {
  TCanvasStateSaver saver(canvas);
  canvas.Brush.Style = TBrushStyle::bsSolid;
  canvas.Brush.Color = clWhite;
  canvas.FillRect({0, 0, width, height});
  canvas.Font.Height = fontHeight;
  canvas.Font.Color = clBlack;
  canvas.Brush.Style = TBrushStyle::bsClear;
  canvas.TextOut(8, 4, "Relative Proportion of Cells");
  const int rowHeight = (height - 48) / kAuditShownKinds;
  if (rowHeight <= 0) return;
  const int barHeight = std::max(1, rowHeight * 2 / 3);
  // The bars leave room for the widest percentage after them.
  const int length = std::max(0, std::min(width - 96, width - 72 - canvas.TextWidth("100.0 %")));
  // The names and counts at the left share the 60 pixels before the bars:
  // their font shrinks until the longest name fits.
  TFont labelFont = canvas.Font;
  auto widest = [&canvas] {
    int most = 0;
    for (const TAuditKind& kind : kShownKinds) most = std::max(most, canvas.TextWidth(std::string(kind.name) + ":"));
    return most;
  };
  while (std::abs(labelFont.Height) > 8) {
    canvas.Font = labelFont;
    if (widest() <= 58) break;
    labelFont.Height += labelFont.Height < 0 ? 1 : -1;
  }
  for (int k = 0; k < kAuditShownKinds; ++k) {
    const int top = 32 + k * rowHeight;
    const int count = stats.Shown(k);
    canvas.Brush.Style = TBrushStyle::bsClear;
    canvas.Font = labelFont;
    canvas.TextOut(4, top, std::string(kShownKinds[k].name) + ":");
    canvas.TextOut(4, top + canvas.TextHeight("0"), std::to_string(count));
    canvas.Font.Height = fontHeight;
    const int bar = stats.scaleMax > 0 ? static_cast<int>(static_cast<long long>(count) * length / stats.scaleMax) : 0;
    for (int line = 0; line < barHeight && bar > 0; ++line) {
      canvas.Pen.Color = AuditShade(kShownKinds[k].colour, line, barHeight);
      canvas.MoveTo(64, top + line);
      canvas.LineTo(64 + bar, top + line);
    }
    canvas.Brush.Style = TBrushStyle::bsSolid;
    canvas.Brush.Color = clBlack;
    canvas.FrameRect({64, top, 64 + std::max(bar, 1), top + barHeight});
    canvas.Brush.Style = TBrushStyle::bsClear;
    canvas.TextOut(64 + bar + 6, top + (barHeight - canvas.TextHeight("0")) / 2, AuditPercentText(stats, k));
  }
}

}  // namespace corvane
