// The function families that read ranges or run formulas of their own: each
// registers its handlers in the evaluator's table (the registry,
// FunctionRegistry.h, calls these).
#pragma once

namespace corvane {

// SUM, AVG, COUNT, MIN, MAX, VAR, STD, VARU, STDU, COUNTA, MEDIAN, AVEDEV,
// SKEW, KURT, COV and PSUM.
void RegisterStatisticsHandlers();
// VTABLE, HTABLE, VTERP, HTERP, XYTERP, INDEX, COLS, ROWS, S, N, CELL, CELLPT,
// CASE, the indirect reference "@" and the database functions QSUM..QSTD.
void RegisterLookupHandlers();
// ERF, the Bessel functions, BETA, BETAI, GAMMAP, GAMMAQ, GAUSS and POISSON.
void RegisterSpecialFunctionHandlers();
// DET, RANK and TRACE.
void RegisterMatrixHandlers();
// The iteration variable "X", INTG and RECUR.
void RegisterIterativeHandlers();

}  // namespace corvane
