// The prompt line's caption, mode, keys, layout and paint.
#include "spreadsheet/controls/Prompt.h"

#include <algorithm>

#include "spreadsheet/controls/ControlDrawing.h"

namespace corvane {

using namespace classlib;

TPromptModel::TPromptModel(TControlHost& host) : host_(host) {
  Font.Color = clWhite;
  Font.Style = fsBold;
}

void TPromptModel::SetCaption(std::string_view caption) {
  caption_ = std::string(caption.substr(0, kMaxCaption));
  host_.InvalidateAll();
}

void TPromptModel::SetMode(bool editMode) {
  if (editMode == mode_) return;
  mode_ = editMode;
  if (OnModeChange) OnModeChange(mode_);
  host_.InvalidateAll();
}

void TPromptModel::SetColor(TColor c) {
  color_ = c;
  host_.InvalidateAll();
}

bool TPromptModel::KeyPress(char ch) {
  switch (ch) {
    case '*':
      SetMode(!mode_);
      return true;
    case '\r':
      if (Onaccept) Onaccept();
      return true;
    case '\x1b':
      if (Oncancel) Oncancel();
      return true;
    default: return false;
  }
}

TPromptLayout TPromptModel::Layout() const {
  TRect client = host_.ClientRect();
  int h = std::max(0, client.Height() - 2 * Bevelwidth);
  int acceptLeft = client.Width() - 2 * Bevelwidth - 3 - 2 * (h - 1);
  TPromptLayout l;
  l.Accept = {acceptLeft, 1, acceptLeft + h - 1, h};
  l.Cancel = l.Accept.Offset(h, 0);
  l.Input = {std::max(Bevelwidth, acceptLeft - 1 - 128), Bevelwidth + 1, acceptLeft - 1, client.Height() - Bevelwidth - 1};
  return l;
}

void TPromptModel::Paint(TCanvas& canvas) {
  TCanvasStateSaver saved(canvas);
  TRect client = host_.ClientRect();
  TRect inner = client;
  for (int i = 0; i < Bevelwidth && Bevelouter != TPromptBevel::bvNone; ++i)
    inner = Bevelouter == TPromptBevel::bvLowered ? DrawBevel(canvas, inner, kEdgeShadow, kEdgeLight)
                                                  : DrawBevel(canvas, inner, kEdgeLight, kEdgeShadow);
  FillSolid(canvas, inner, color_);
  canvas.Font = Font;
  canvas.Brush.Style = TBrushStyle::bsClear;
  canvas.TextAlign = taLeft | taTop;
  int textHeight = canvas.TextHeight("Ag");
  canvas.TextRect(inner, inner.Left + 2, (client.Height() - textHeight) / 2, caption_);
}

}  // namespace corvane
