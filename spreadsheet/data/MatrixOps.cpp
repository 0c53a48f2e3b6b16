// Matrix commands over cell ranges.
#include "spreadsheet/data/MatrixOps.h"

#include <cmath>

#include "spreadsheet/data/DataCommon.h"
#include "spreadsheet/engine/EngineError.h"

namespace corvane {

TRange gLastMatrixRange;

namespace {

TMatrix ReadBlock(int row, int col, int rows, int cols) {
  TMatrix m(rows, cols);
  for (int i = 0; i < rows; ++i)
    for (int j = 0; j < cols; ++j) m.At(i, j) = NumberAt(row + i, col + j);
  return m;
}

TMatrix ReadRange(const TRange& r) {
  return ReadBlock(r.firstRow, r.firstCol, r.lastRow - r.firstRow + 1, r.lastCol - r.firstCol + 1);
}

// The output block for a result of `rows` by `cols`, checked against the
// sheet and the operands; false when refused.
bool CheckOutput(const TRange& output, int rows, int cols, std::initializer_list<TRange> operands, TRange& block) {
  TRange out = OrderedRange(output);
  block = BlockAt(out.firstRow, out.firstCol, rows, cols);
  return CheckOnSheet(block) && CheckApart(block, operands);
}

void WriteMatrix(const TRange& block, const TMatrix& m) {
  BeginChange();
  for (int i = 0; i < m.rows; ++i)
    for (int j = 0; j < m.cols; ++j) WriteNumber(block.firstRow + i, block.firstCol + j, m.At(i, j));
  EndChange();
}

bool ValidOperands(std::initializer_list<TRange> ranges) {
  for (const TRange& r : ranges)
    if (!RangeIsValid(r)) return false;
  for (const TRange& r : ranges)
    if (!CheckOnSheet(r)) return false;
  return true;
}

// The square part of a loaded operand: its first n columns, n = its rows.
TMatrix SquarePart(const TMatrix& m) {
  TMatrix square(m.rows, m.rows);
  for (int i = 0; i < m.rows; ++i)
    for (int j = 0; j < m.rows && j < m.cols; ++j) square.At(i, j) = m.At(i, j);
  return square;
}

}  // namespace

bool MatrixLoad(const TRange& range, TMatrix& m) {
  TRange r = OrderedRange(range);
  gLastMatrixRange = r;
  if (r.lastRow - r.firstRow + 1 > kWorkMatrixRows || r.lastCol - r.firstCol + 1 > kWorkMatrixCols) {
    Refuse(kArraySizeText);
    SetCalcError();
    return false;
  }
  m = ReadRange(r);
  return true;
}

bool MatrixAddSub(int mode, const TRange& aRange, const TRange& bRange, const TRange& output) {
  if (!ValidOperands({aRange, bRange, output})) return false;
  TRange a = OrderedRange(aRange), b = OrderedRange(bRange);
  int rows = a.lastRow - a.firstRow + 1, cols = a.lastCol - a.firstCol + 1;
  TRange partner = BlockAt(b.firstRow, b.firstCol, rows, cols);
  TRange block;
  if (!CheckOnSheet(partner) || !CheckOutput(output, rows, cols, {a, partner}, block)) return false;
  TMatrix x = ReadRange(a), y = ReadRange(partner);
  double sign = mode == kMatrixSubtract ? -1.0 : 1.0;
  for (std::size_t k = 0; k < x.a.size(); ++k) x.a[k] += sign * y.a[k];
  WriteMatrix(block, x);
  return true;
}

bool MatrixMultiply(const TRange& aRange, const TRange& bRange, const TRange& output) {
  if (!ValidOperands({aRange, bRange, output})) return false;
  TRange a = OrderedRange(aRange), b = OrderedRange(bRange);
  int rows = a.lastRow - a.firstRow + 1, inner = a.lastCol - a.firstCol + 1, cols = b.lastCol - b.firstCol + 1;
  TRange partner = BlockAt(b.firstRow, b.firstCol, inner, cols);
  TRange block;
  if (!CheckOnSheet(partner) || !CheckOutput(output, rows, cols, {a, partner}, block)) return false;
  TMatrix x = ReadRange(a), y = ReadRange(partner), product(rows, cols);
  for (int i = 0; i < rows; ++i)
    for (int j = 0; j < cols; ++j) {
      double sum = 0;
      for (int m = 0; m < inner; ++m) sum += x.At(i, m) * y.At(m, j);
      product.At(i, j) = sum;
    }
  WriteMatrix(block, product);
  return true;
}

bool MatrixTranspose(const TRange& aRange, const TRange& output) {
  if (!ValidOperands({aRange, output})) return false;
  TRange a = OrderedRange(aRange);
  TMatrix x = ReadRange(a), t(x.cols, x.rows);
  TRange block;
  if (!CheckOutput(output, t.rows, t.cols, {a}, block)) return false;
  for (int i = 0; i < x.rows; ++i)
    for (int j = 0; j < x.cols; ++j) t.At(j, i) = x.At(i, j);
  WriteMatrix(block, t);
  return true;
}

bool MatrixDetToCell(const TRange& aRange, const TRange& output) {
  if (!ValidOperands({aRange, output})) return false;
  TMatrix m;
  TRange block;
  if (!MatrixLoad(aRange, m) || !CheckOutput(output, 1, 1, {OrderedRange(aRange)}, block)) return false;
  double det = Determinant(SquarePart(m));
  if (!std::isfinite(det)) {
    Refuse(kDeterminantDivisionText);
    det = 0;
  }
  TMatrix result(1, 1);
  result.At(0, 0) = det;
  WriteMatrix(block, result);
  return true;
}

bool MatrixInvertSolve(int mode, const TRange& aRange, const TRange& output) {
  if (!ValidOperands({aRange, output})) return false;
  TMatrix m;
  if (!MatrixLoad(aRange, m)) return false;
  int n = m.rows;
  bool invert = mode == kMatrixInvert;
  if (invert && n > kMaxInvertSize) return Refuse(kArraySizeText);
  TMatrix rhs = invert ? TMatrix::Identity(n) : TMatrix(n, std::max(m.cols - n, 0));
  for (int i = 0; !invert && i < n; ++i)
    for (int k = 0; k < rhs.cols; ++k) rhs.At(i, k) = m.At(i, n + k);
  if (rhs.cols == 0) return false;
  TRange block;
  if (!CheckOutput(output, n, rhs.cols, {OrderedRange(aRange)}, block)) return false;
  TMatrix solution;
  switch (SolveLinear(SquarePart(m), rhs, solution, SingularRcond(n))) {
    case TSolveStatus::kSingular:
      return Refuse(kDeterminantZeroText);
    case TSolveStatus::kPivotError:
      return Refuse(kPivotErrorText);
    case TSolveStatus::kOk:
      break;
  }
  WriteMatrix(block, solution);
  return true;
}

}  // namespace corvane
