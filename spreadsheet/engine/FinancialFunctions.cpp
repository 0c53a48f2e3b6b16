// The financial functions: loan payments and annuity values, rates and terms,
// net present value and internal rate of return over a range of cash flows,
// straight-line, sum-of-years'-digits and double-declining-balance
// depreciation, and the balance, accumulated interest and payment in advance
// of a loan.
//
// Rates are per period. Every division is the safe one and every power and
// logarithm the guarded one: a rate of 0 where the formula divides by it, a
// rate of -100 % and every other degenerate input give ERR, never an infinity
// or NaN.
#include <cmath>
#include <utility>
#include <vector>

#include "spreadsheet/engine/FormulaTables.h"
#include "spreadsheet/engine/FunctionArguments.h"
#include "spreadsheet/engine/FunctionFamilies.h"
#include "spreadsheet/engine/RangeArguments.h"

namespace corvane {

namespace {

constexpr double kIrrTolerance = 0.00001;
constexpr int kIrrMaxIterations = 25;
constexpr double kIrrStep = 0.1;
// DDB walks the periods one by one; a period count beyond this is ERR.
constexpr int kDdbMaxPeriods = 100000;

// (1 + rate) to the n.
double Growth(double rate, double n) { return SafePower(1 + rate, n); }

// The level payment that repays `principal` in n periods at `rate`.
double Payment(double principal, double rate, double n) {
  double g = Growth(rate, n);
  return SafeDivision(principal * rate * g, g - 1);
}

// The balance left after k of the n payments of a loan of `principal`.
double Balance(double principal, double rate, double n, double k) {
  double g = Growth(rate, n);
  return SafeDivision(principal * (g - Growth(rate, k)), g - 1);
}

// PMT(principal, rate, periods): principal * rate * (1+rate)^n / ((1+rate)^n - 1).
void FnPmt() { FinishNumber(3, Payment(ArgNumber(3, 0), ArgNumber(3, 1), ArgNumber(3, 2))); }
// PV(payment, rate, periods): payment * ((1+rate)^n - 1) / rate / (1+rate)^n.
void FnPv() {
  double payment = ArgNumber(3, 0), rate = ArgNumber(3, 1), g = Growth(rate, ArgNumber(3, 2));
  FinishNumber(3, SafeDivision(SafeDivision(payment * (g - 1), rate), g));
}
// FV(payment, rate, periods): payment * ((1+rate)^n - 1) / rate.
void FnFv() {
  double payment = ArgNumber(3, 0), rate = ArgNumber(3, 1), g = Growth(rate, ArgNumber(3, 2));
  FinishNumber(3, SafeDivision(payment * (g - 1), rate));
}

// The cash flows of the range that is the second of two arguments, for NPV and
// IRR: every existing cell in visiting order counts a period, only numeric
// cells add a term. A cell holding ERR, or an argument that is not a reference
// or range standing alone, is ERR (false).
bool CashFlows(std::vector<std::pair<int, double>>& flows) {
  TRange range;
  if (!ArgumentRange(2, 2, CurrentTokenPosition(), range)) return false;
  int period = 0;
  bool error = false;
  ForEachCellInRange(range, [&](TCellHandle handle) {
    const TCell* cell = CellPtr(handle);
    ++period;
    if (cell->kind & kKindErrorBit) error = true;
    if (CellIsNumeric(cell)) flows.emplace_back(period, CellNumber(cell, error));
  });
  if (error) SetCalcError();
  return !error;
}

// The sum of value_i / (1+rate)^i over the flows.
double NetPresentValue(double rate, const std::vector<std::pair<int, double>>& flows) {
  double sum = 0;
  for (const auto& [period, value] : flows) sum += SafeDivision(value, Growth(rate, period));
  return sum;
}

// NPV(rate, range).
void FnNpv() {
  std::vector<std::pair<int, double>> flows;
  if (!CashFlows(flows)) return FinishError(2);
  FinishNumber(2, Finite(NetPresentValue(ArgNumber(2, 0), flows)));
}

// IRR(guess, range): secant search for the rate at which NPV is 0, from the
// guess with steps of a tenth of the rate; stops when |NPV| < 0.00001. A guess
// of 0 cannot step (ERR), nor can a search that meets an error or has not
// settled after 25 rounds.
void FnIrr() {
  std::vector<std::pair<int, double>> flows;
  if (!CashFlows(flows)) return FinishError(2);
  double r = ArgNumber(2, 0);
  for (int round = 1;; ++round) {
    if (round > kIrrMaxIterations) return FinishError(2);
    double f = Finite(NetPresentValue(r, flows));
    if (ErrorFlagSet()) return FinishError(2);
    if (std::fabs(f) < kIrrTolerance) break;
    double step = kIrrStep * r;
    double f2 = Finite(NetPresentValue(r + step, flows));
    r = Finite(r - SafeDivision(f * step, f2 - f));
    if (ErrorFlagSet()) return FinishError(2);
  }
  FinishNumber(2, r);
}

// RATE(future value, present value, periods): (fv / pv)^(1 / n) - 1.
void FnRate() {
  double ratio = SafeDivision(ArgNumber(3, 0), ArgNumber(3, 1));
  FinishNumber(3, SafePower(ratio, SafeDivision(1, ArgNumber(3, 2))) - 1);
}
// TERM(payment, rate, future value): ln(fv * rate / payment + 1) / ln(1 + rate).
void FnTerm() {
  double payment = ArgNumber(3, 0), rate = ArgNumber(3, 1), fv = ArgNumber(3, 2);
  FinishNumber(3, SafeDivision(SafeLog(SafeDivision(fv * rate, payment) + 1), SafeLog(1 + rate)));
}
// CTERM(rate, future value, present value): ln(fv / pv) / ln(1 + rate).
void FnCTerm() {
  double rate = ArgNumber(3, 0), fv = ArgNumber(3, 1), pv = ArgNumber(3, 2);
  FinishNumber(3, SafeDivision(SafeLog(SafeDivision(fv, pv)), SafeLog(1 + rate)));
}
// SLN(cost, salvage, life): (cost - salvage) / life.
void FnSln() { FinishNumber(3, SafeDivision(ArgNumber(3, 0) - ArgNumber(3, 1), ArgNumber(3, 2))); }
// SYD(cost, salvage, life, period): (cost - salvage) (life - period + 1) 2 / (life (life + 1)).
void FnSyd() {
  double cost = ArgNumber(4, 0), salvage = ArgNumber(4, 1), life = ArgNumber(4, 2), period = ArgNumber(4, 3);
  FinishNumber(4, SafeDivision((cost - salvage) * (life - period + 1) * 2, life * (life + 1)));
}
// DDB(cost, salvage, life, period): the depreciation of period trunc(period)
// at twice the straight-line rate on the book value, never below salvage. A
// period below 1 or beyond the life is ERR.
void FnDdb() {
  double cost = ArgNumber(4, 0), salvage = ArgNumber(4, 1), life = ArgNumber(4, 2), period = ArgNumber(4, 3);
  double n = std::trunc(period);
  if (n < 1 || period > life || n > kDdbMaxPeriods) return FinishError(4);
  double book = cost, d = 0;
  for (int k = 0; k < static_cast<int>(n); ++k) {
    d = SafeDivision(2 * book, life);
    if (book - d < salvage) d = book - salvage;
    book -= d;
  }
  FinishNumber(4, Finite(d));
}

// The whole period number k of BAL and ACI: 0 to the loan's periods, else ERR.
bool LoanPeriod(double periods, double& k) {
  k = std::trunc(ArgNumber(4, 3));
  if (k >= 0 && k <= periods) return true;
  SetCalcError();
  return false;
}
// BAL(principal, rate, periods, k): the balance after k level payments.
void FnBal() {
  double principal = ArgNumber(4, 0), rate = ArgNumber(4, 1), periods = ArgNumber(4, 2), k = 0;
  if (!LoanPeriod(periods, k)) return FinishError(4);
  FinishNumber(4, Finite(Balance(principal, rate, periods, k)));
}
// ACI(principal, rate, periods, k): the interest paid with the first k
// payments: k payments less the principal repaid by them.
void FnAci() {
  double principal = ArgNumber(4, 0), rate = ArgNumber(4, 1), periods = ArgNumber(4, 2), k = 0;
  if (!LoanPeriod(periods, k)) return FinishError(4);
  double repaid = principal - Balance(principal, rate, periods, k);
  FinishNumber(4, Finite(k * Payment(principal, rate, periods) - repaid));
}
// PMTP(principal, rate, periods, residual): the level payment due at the start
// of each period that brings the principal down to the residual value at the
// end of the last one; with a residual of 0, PMT / (1 + rate).
void FnPmtp() {
  double principal = ArgNumber(4, 0), rate = ArgNumber(4, 1), periods = ArgNumber(4, 2), residual = ArgNumber(4, 3);
  double g = Growth(rate, periods);
  double financed = principal - SafeDivision(residual, g);
  FinishNumber(4, Finite(SafeDivision(Payment(financed, rate, periods), 1 + rate)));
}

constexpr THandlerEntry kFinancialHandlers[] = {
    {kTokPmt, FnPmt},     {kTokPv, FnPv},       {kTokFv, FnFv},       {kTokNpv, FnNpv},     {kTokIrr, FnIrr},
    {kTokRate, FnRate},   {kTokTerm, FnTerm},   {kTokCTerm, FnCTerm}, {kTokSln, FnSln},     {kTokSyd, FnSyd},
    {kTokDdb, FnDdb},     {kTokBal, FnBal},     {kTokAci, FnAci},     {kTokPmtP, FnPmtp},
};

}  // namespace

void RegisterFinancialHandlers() { RegisterTokenHandlers(kFinancialHandlers); }

}  // namespace corvane
