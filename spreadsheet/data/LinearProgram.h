// Linear programming: the simplex method on a tableau whose artificial
// variables carry a cost M that outweighs every other cost (the big-M
// method), and the command that solves a program laid out in cells.
//
// M is kept as a term of its own in the objective row rather than as a large
// number, so it outweighs the problem's costs exactly and never swamps their
// digits; a problem whose artificial variables cannot all reach 0 is
// infeasible and is reported so, never as an optimum.
#pragma once

#include <vector>

#include "spreadsheet/engine/Range.h"

namespace corvane {

inline constexpr const char* kUnboundedText = "Region & Objective Function Unbounded";
inline constexpr const char* kElementsTooLargeText = "Can Not Solve: Elements get too Large";
inline constexpr const char* kInfeasibleText = "Can Not Solve: No Feasible Solution";
inline constexpr const char* kTooManyIterationsText = "Can Not Solve: Too Many Iterations";
inline constexpr const char* kLpLayoutText = "Linear Program Needs Constraints, Relations and an Objective";

enum class TRelation { kLe, kGe, kEq };

// A program of m constraints over n variables x >= 0: row i of `a` (n values)
// with relation[i] and right-hand side b[i]; the objective c (n values) is
// minimised or maximised.
struct TLinearProgram {
  int m = 0, n = 0;
  std::vector<double> a;  // row-major, m x n
  std::vector<TRelation> relation;
  std::vector<double> b;
  std::vector<double> c;
  bool minimise = false;
};

enum class TLpStatus { kOptimal, kInfeasible, kUnbounded, kTooLarge, kIterationLimit };

struct TLpResult {
  TLpStatus status = TLpStatus::kInfeasible;
  double optimum = 0;      // the objective as stated, at x
  std::vector<double> x;   // n values; set for kOptimal
  int iterations = 0;
};

// Solves the program. A constraint with a negative right-hand side is turned
// round (both sides negated, LE and GE exchanged) before the start. Entering
// columns follow the scan that takes the first negative reduced cost and
// moves on to smaller ones while they come; after ten degenerate steps in a
// row the smallest-index rule takes over until a step makes progress, so
// degenerate problems cannot cycle. Leaving rows: the smallest ratio, the
// first of equal ratios (smallest basic variable under the smallest-index
// rule); a smallest ratio of 1e20 or more is kTooLarge.
TLpResult SolveLinearProgram(const TLinearProgram& lp);

// The command. The problem range holds m constraint rows and the objective
// row below them; each row has n coefficients, a keyword column and a last
// column: the right-hand side for constraints ("LE", "GE" or "EQ", read from
// the cell's value text without its first character, at most three
// characters, any case), "MIN" there in the objective row to minimise
// (anything else maximises). Writes n + 1 rows of two columns at the output
// range's first cell: the objective keyword (its value text cut to five
// characters, less the first) with the optimum, then "X1".."Xn" with the
// variables' values.
//
// Refused, changing nothing: ranges off the sheet, a problem larger than the
// work matrix ("Array size>30x30"), fewer than one constraint and one
// variable or an unknown relation, an output block off the sheet, over the
// problem or on a protected cell, and every case without an optimum (the
// messages above). True when the optimum was written.
bool LinearProgram(const TRange& problem, const TRange& output);

}  // namespace corvane
