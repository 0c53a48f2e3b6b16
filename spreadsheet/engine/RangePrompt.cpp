// The range prompt's state and its requests to the main window.
#include "spreadsheet/engine/RangePrompt.h"

#include <utility>

#include "spreadsheet/engine/RangeText.h"
#include "spreadsheet/engine/WindowServices.h"

namespace corvane {

namespace {

struct TPromptState {
  bool active = false;
  bool callBackOnCancel = false;
  TRangePromptFn callback;
  TRange savedSelection;
  TRange preset;
};

TPromptState gPrompt;

}  // namespace

bool RangePromptStart(std::string_view caption, TRangePromptFn callback, const TRange& preset) {
  if (gPrompt.active) return false;
  TWindowServices& windows = WindowServices();
  gPrompt.callback = std::move(callback);
  windows.GetGridSelection(gPrompt.savedSelection);
  gPrompt.preset = preset;
  windows.SetGridSelection(preset);
  windows.EnableMainWindow();
  windows.SetMainMenusEnabled(false);
  windows.ShowPromptLine(" " + std::string(caption), RangeToText(preset));
  gPrompt.active = true;
  gPrompt.callBackOnCancel = true;
  windows.SetModeIndicator(kRangeModeText, kRangeModeColour);
  windows.FocusActiveGrid();
  return true;
}

void RangePromptSetCallBackOnCancel(bool callBack) {
  if (gPrompt.active) gPrompt.callBackOnCancel = callBack;
}

bool RangePromptEnd(bool accept) {
  if (!gPrompt.active) return false;
  TWindowServices& windows = WindowServices();
  std::string text = windows.PromptLineText();
  windows.ShowReadyMode();
  windows.SetMainMenusEnabled(true);
  windows.HidePromptLine();
  // The state is released before the callback runs, so it may start a prompt.
  TPromptState ended = std::exchange(gPrompt, TPromptState{});
  windows.SetGridSelection(ended.savedSelection);
  if (accept) return ended.callback ? ended.callback(text) : false;
  if (!ended.callBackOnCancel || !ended.callback) return false;
  return ended.callback(RangeToText(ended.preset).substr(0, kCancelTextChars));
}

bool RangePromptActive() { return gPrompt.active; }

}  // namespace corvane
