// The function families of the formula language. Each family file keeps one
// table of its tokens' handlers and installs it from its Register function;
// the registry (FunctionRegistry.h) calls them all.
#pragma once

namespace corvane {

void RegisterMathHandlers();       // MathFunctions.cpp
void RegisterLogicalHandlers();    // LogicalFunctions.cpp: logical and information
void RegisterTextHandlers();       // TextFunctions.cpp
void RegisterDateTimeHandlers();   // DateTimeFunctions.cpp
void RegisterFinancialHandlers();  // FinancialFunctions.cpp

}  // namespace corvane
