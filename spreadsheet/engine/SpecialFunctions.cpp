// The special functions: ERF, the Bessel functions of integral order, BETA,
// the incomplete beta and gamma functions, the normal density and Poisson
// probabilities. The numerics are the numeric library's; the handlers take
// their arguments' values and hand back its result and its error.
#include "spreadsheet/engine/Evaluator.h"
#include "spreadsheet/engine/FormulaTables.h"
#include "spreadsheet/engine/NumericLibrary.h"
#include "spreadsheet/engine/RangeArguments.h"
#include "spreadsheet/engine/RangeFunctionFamilies.h"

namespace corvane {

namespace {

using TFunction1 = double (*)(double, numeric::TCalcStatus&);
using TFunction2 = double (*)(double, double, numeric::TCalcStatus&);
using TFunction3 = double (*)(double, double, double, numeric::TCalcStatus&);

// One handler per argument count: the function of the argument values, with
// the arguments' error marks and the library's error on the result.
template <TFunction1 kFunction>
void Special1() {
  numeric::TCalcStatus status;
  const double value = kFunction(ArgNumber(1, 0), status);
  FinishNumber(1, value, status);
}

template <TFunction2 kFunction>
void Special2() {
  numeric::TCalcStatus status;
  const double value = kFunction(ArgNumber(2, 0), ArgNumber(2, 1), status);
  FinishNumber(2, value, status);
}

template <TFunction3 kFunction>
void Special3() {
  numeric::TCalcStatus status;
  const double value = kFunction(ArgNumber(3, 0), ArgNumber(3, 1), ArgNumber(3, 2), status);
  FinishNumber(3, value, status);
}

// BETA(a, b): e to the (ln Gamma(a) + ln Gamma(b) - ln Gamma(a + b)), each
// logarithm of the gamma function and the exponential guarded.
double Beta(double a, double b, numeric::TCalcStatus& status) {
  const double lnBeta =
      numeric::GammaLn(a, status) + numeric::GammaLn(b, status) - numeric::GammaLn(a + b, status);
  return numeric::SafeExp(lnBeta, status);
}

constexpr THandlerEntry kSpecialFunctionHandlers[] = {
    {kTokErf, Special1<numeric::Erf>},         {kTokBesselJ, Special2<numeric::BesselJ>},
    {kTokBesselY, Special2<numeric::BesselY>}, {kTokBesselI, Special2<numeric::BesselI>},
    {kTokBesselK, Special2<numeric::BesselK>}, {kTokBeta, Special2<Beta>},
    {kTokBetaI, Special3<numeric::BetaI>},     {kTokGammaP, Special2<numeric::GammaP>},
    {kTokGammaQ, Special2<numeric::GammaQ>},   {kTokGauss, Special3<numeric::Gauss>},
    {kTokPoisson, Special3<numeric::Poisson>},
};

}  // namespace

void RegisterSpecialFunctionHandlers() { RegisterTokenHandlers(kSpecialFunctionHandlers); }

}  // namespace corvane
