// Chains of range prompts that end in a data command.
#include "spreadsheet/data/DataPrompts.h"

#include <functional>
#include <memory>
#include <vector>

#include "spreadsheet/data/DataCommon.h"
#include "spreadsheet/data/FillBinsParse.h"
#include "spreadsheet/data/WhatIf.h"
#include "spreadsheet/engine/DocumentContext.h"
#include "spreadsheet/engine/RangePrompt.h"
#include "spreadsheet/engine/WindowServices.h"

namespace corvane {

namespace {

struct TPromptStep {
  const char* caption;
  TRange* target;  // where the chosen range is stored
};

struct TPromptChain {
  std::vector<TPromptStep> steps;
  std::function<void()> finish;
};

// Starts step `index`, preset with what the target holds (or the grid's
// selection when it is unset). Cancel ends the chain without a callback.
bool StartStep(const std::shared_ptr<TPromptChain>& chain, std::size_t index) {
  const TPromptStep& step = chain->steps[index];
  TRange preset = *step.target;
  if (!RangeIsValid(preset)) WindowServices().GetGridSelection(preset);
  bool started = RangePromptStart(
      step.caption,
      [chain, index](std::string_view text) {
        TRange range;
        if (!ReadRangeField(text, range) || !RangeIsValid(range)) return false;
        *chain->steps[index].target = range;
        if (index + 1 < chain->steps.size()) return StartStep(chain, index + 1);
        chain->finish();
        return true;
      },
      preset);
  if (started) RangePromptSetCallBackOnCancel(false);
  return started;
}

bool StartChain(std::vector<TPromptStep> steps, std::function<void()> finish) {
  auto chain = std::make_shared<TPromptChain>(TPromptChain{std::move(steps), std::move(finish)});
  return StartStep(chain, 0);
}

}  // namespace

bool DataBinsPrompt() {
  TRange* ranges = gCurrentDoc.settings.dataRanges;
  return StartChain({{"BIN: Enter Analysis Range", &ranges[kDataRangeBinValues]},
                     {"Enter Bin Range", &ranges[kDataRangeBinTable]}},
                    [] { DataBins(); });
}

bool DataTable1Prompt() {
  TRange* ranges = gCurrentDoc.settings.savedRanges;
  return StartChain({{"TABLE 1: Specify Input Cell", &ranges[kRangeWhatIfInput1]},
                     {"Output Range", &ranges[kRangeWhatIfTable]}},
                    [] { DataTable(1); });
}

bool DataTable2Prompt() {
  TRange* ranges = gCurrentDoc.settings.savedRanges;
  return StartChain({{"TABLE 2: Specify FIRST Input Cell", &ranges[kRangeWhatIfInput1]},
                     {"Specify SECOND Cell", &ranges[kRangeWhatIfInput2]},
                     {"Output Range", &ranges[kRangeWhatIfTable]}},
                    [] { DataTable(2); });
}

}  // namespace corvane
