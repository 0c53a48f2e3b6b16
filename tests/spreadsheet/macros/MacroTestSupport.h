// An engine with one open document, for macro tests; errors shown are kept.
#pragma once

#include <string>
#include <vector>

#include "spreadsheet/engine/ShowError.h"
#include "spreadsheet/macros/MacroRun.h"
#include "tests/spreadsheet/engine/EngineTestSupport.h"

namespace corvane::testing {

inline std::vector<std::string> gShownErrors;

class MacroTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    OpenCurrent("MACRO.WKS");
    gShownErrors.clear();
    SetShowErrorHandler([](std::string_view message) { gShownErrors.emplace_back(message); });
    MacroState() = TMacroRunState{};
  }
  void TearDown() override {
    MacroState() = TMacroRunState{};
    SetMacroHost(nullptr);
    SetShowErrorHandler(nullptr);
    EngineTest::TearDown();
  }
};

}  // namespace corvane::testing
