// The registry of the formula language's function families: every family
// that gives tokens a handler, installed in one place. Each family file keeps
// its own table of (token, handler) pairs and a Register function that puts
// it in the evaluator's table (RegisterTokenHandlers, Evaluator.h).
#pragma once

namespace corvane {

// Installs the handlers of every function family: mathematics, logic and
// information, text, dates and times, finance, statistics, lookup and
// database, special functions, matrices, iteration, user-defined functions
// and named cells, and external links. InitHandlerTable calls it after the
// operand and operator handlers; a later family's entry for a token replaces
// an earlier one.
void RegisterFunctionFamilies();

}  // namespace corvane
