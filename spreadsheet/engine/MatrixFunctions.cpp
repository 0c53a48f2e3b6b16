// The matrix functions DET, RANK and TRACE of a range read as a matrix: cell
// (i, j) of the range is row i and column j, missing cells, labels and texts
// counting as 0.
#include <vector>

#include "spreadsheet/engine/Evaluator.h"
#include "spreadsheet/engine/FormulaTables.h"
#include "spreadsheet/engine/NumericLibrary.h"
#include "spreadsheet/engine/RangeArguments.h"
#include "spreadsheet/engine/RangeFunctionFamilies.h"

namespace corvane {

namespace {

using TMatrixFunction = double (*)(const numeric::TCellMatrix&, numeric::TCalcStatus&);

// Tokens 163-165 (one range). DET takes square ranges of at most 20 rows (else
// an error with 0); RANK any size; TRACE sums the diagonal inside the range
// and is an error for a range that is not square.
template <TMatrixFunction kFunction>
void MatrixFunction() {
  TRange range;
  if (!ArgumentRange(1, 1, CurrentTokenPosition(), range)) return FinishNumber(1, 0);
  const TRangeBlock block = RangeBlock(range);
  numeric::TCalcStatus status;
  const double value = kFunction(block.Matrix(), status);
  FinishNumber(1, value, status);
}

constexpr THandlerEntry kMatrixHandlers[] = {
    {kTokDet, MatrixFunction<numeric::Det>},     {kTokRank, MatrixFunction<numeric::Rank>},
    {kTokTrace, MatrixFunction<numeric::Trace>},
};

}  // namespace

void RegisterMatrixHandlers() { RegisterTokenHandlers(kMatrixHandlers); }

}  // namespace corvane
