// The function families, installed in the evaluator's handler table.
#include "spreadsheet/engine/FunctionRegistry.h"

#include "spreadsheet/engine/ExternalLinks.h"
#include "spreadsheet/engine/FunctionFamilies.h"
#include "spreadsheet/engine/RangeFunctionFamilies.h"
#include "spreadsheet/engine/UserFunctions.h"

namespace corvane {

void RegisterFunctionFamilies() {
  RegisterMathHandlers();
  RegisterLogicalHandlers();
  RegisterTextHandlers();
  RegisterDateTimeHandlers();
  RegisterFinancialHandlers();
  RegisterStatisticsHandlers();
  RegisterLookupHandlers();
  RegisterSpecialFunctionHandlers();
  RegisterMatrixHandlers();
  RegisterIterativeHandlers();
  RegisterUserFunctionHandlers();
  RegisterLinkHandlers();
}

}  // namespace corvane
