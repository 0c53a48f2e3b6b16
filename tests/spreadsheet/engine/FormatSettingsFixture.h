// A test fixture that runs every test on the default format settings and puts
// them back afterwards, so a test that changes a separator cannot leak it.
#pragma once

#include <gtest/gtest.h>

#include "spreadsheet/engine/FormatSettings.h"

namespace corvane {

class DefaultFormatSettings : public ::testing::Test {
 protected:
  void SetUp() override { FormatSettings() = TFormatSettings{}; }
  void TearDown() override { FormatSettings() = TFormatSettings{}; }
};

}  // namespace corvane
