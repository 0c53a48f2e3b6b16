// The colour-format panel's windows.
#include "spreadsheet/controls/win/ColourFormatWindow.h"

namespace corvane {

using namespace classlib;

namespace {
constexpr const char* kChannelCaptions[3] = {"&R", "&G", "&B"};
constexpr int kFrameTop = 6;
}  // namespace

Tcformat::Tcformat(TComponent* AOwner) : TCompositeControl(AOwner) {
  caption_.SetParent(this);
  caption_.SetBounds(12, 0, 120, 14);
  caption_.SetColor(clBtnFace);
  TFont grey = caption_.Font();
  grey.Color = clGray;
  caption_.SetFont(grey);
  inner_.SetParent(this);
  inner_.SetBounds(4, 14, 190, 135);
  inner_.SetBevelOuter(TBevelCut::bvNone);
  inner_.SetText("");
  palette_.SetParent(&inner_);
  palette_.SetBounds(12, 0, 170, 58);
  for (int k = 0; k < 3; ++k) {
    int top = 62 + 22 * k;
    labels_[k].SetParent(&inner_);
    labels_[k].SetBounds(8, top - 2 + 3, 12, 16);
    labels_[k].SetCaption(kChannelCaptions[k]);
    labels_[k].SetFocusControl(&fields_[k]);
    bars_[k].SetParent(&inner_);
    bars_[k].SetBounds(20, top, 81, 18);
    bars_[k].SetRange(0, 255);
    bars_[k].LargeChange = 4;
    bars_[k].OnChange = [this, k](TObject*) { model_.ChannelChanged(k, bars_[k].Position()); };
    fields_[k].SetParent(&inner_);
    fields_[k].SetBounds(103, top - 1, 37, 21);
    fields_[k].SetText("0");
    fields_[k].SetTabStop(true);
    fields_[k].OnChange = [this, k](TObject*) { model_.FieldChanged(k, fields_[k].Text()); };
    fields_[k].OnKeyDown = [this, k](TObject*, int& key, TShiftState) { FieldKey(k, key); };
  }
  swatch_.SetParent(&inner_);
  swatch_.SetBounds(144, 64, 41, 57);
  swatch_.SetBevelOuter(TBevelCut::bvNone);
  swatch_.SetBorderWidth(0);
  swatch_.SetText("");
  swatch_.SetColor(clBlack);

  model_.ShowChannel = [this](int k, int value) {
    if (bars_[k].Position() != value) bars_[k].SetPosition(value);
    std::string text = std::to_string(value);
    if (fields_[k].Text() != text) fields_[k].SetText(text);
  };
  model_.ShowSwatch = [this](TColor c) { swatch_.SetColor(c); };
  model_.MarkPalette = [this](TColor c) { palette_.Setvalue(c); };
  model_.ShowCaption = [this](TColor c) {
    TFont font = caption_.Font();
    font.Color = c;
    caption_.SetFont(font);
  };
  model_.Onchange = [this] { Fire(Onchange, this); };
  model_.Onclick = [this] { Fire(Onclick, this); };
  palette_.Model().Onchange = [this] { model_.PaletteChanged(palette_.value()); };
  palette_.OnClick = [this](TObject*) { model_.Touch(); };
  SetBounds(0, 0, 200, 147);
}

void Tcformat::CreateParams(TCreateParams& Params) {
  TCompositeControl::CreateParams(Params);
  Params.ClassName = "Tcformat";
}

// The frame bevel from below the caption's middle to the bottom.
void Tcformat::Paint(TCanvas& Canvas) {
  TRect client = ClientRect();
  Canvas.Brush = TBrush{clBtnFace};
  Canvas.FillRect(client);
  TRect frame{0, kFrameTop, client.Right, client.Bottom};
  Canvas.Brush = TBrush{clGray};
  Canvas.FrameRect(frame);
  Canvas.Brush = TBrush{clWhite};
  Canvas.FrameRect(frame.Offset(1, 1));
}

void Tcformat::KeyDown(int& Key, TShiftState Shift) {
  TCompositeControl::KeyDown(Key, Shift);
  if (Key == VK_RETURN) {
    Fire(OnEnterKey, this);
    Key = 0;
  }
}

// Down and Up move between the fields (red, green, blue, round again),
// Enter gives the focus to the panel.
void Tcformat::FieldKey(int k, int& key) {
  if (key == VK_RETURN) {
    SetFocus();
    key = 0;
    return;
  }
  if (key == VK_DOWN || key == VK_UP) {
    fields_[(k + (key == VK_DOWN ? 1 : 2)) % 3].SetFocus();
    key = 0;
  }
  model_.Touch();
}

}  // namespace corvane
