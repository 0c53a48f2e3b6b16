// The number-format picker's windows.
#include "spreadsheet/controls/win/FormatPickerWindow.h"

#include <algorithm>
#include <string>
#include <vector>

namespace corvane {

using namespace classlib;

namespace {

constexpr int kPanelLeft = 148;
constexpr int kPanelTop = 8;

template <size_t N>
std::vector<std::string> Captions(const std::array<const char*, N>& captions) {
  return std::vector<std::string>(captions.begin(), captions.end());
}

// A choice grid of `rows` x `cols` buttons `bw` x `bh`, placed at (x, y).
void SetUpGrid(TBmpBut& grid, TWinControl* parent, int x, int y, int rows, int cols, int bw, int bh,
               const std::string& caption, std::vector<std::string> items) {
  grid.SetParent(parent);
  grid.SetLeft(x);
  grid.SetTop(y);
  TBmpButModel& m = grid.Model();
  m.SetRows(rows);
  m.SetCols(cols);
  m.SetBw(bw);
  m.SetBh(bh);
  m.SetGroupon(!caption.empty());
  m.SetCaption(caption);
  m.SetItems(std::move(items));
  grid.SetTabStop(true);
}

void SetUpBox(TPanel& box, TWinControl* parent, int width, int height) {
  box.SetParent(parent);
  box.SetBounds(kPanelLeft, kPanelTop, width, height);
  box.SetBevelOuter(TBevelCut::bvLowered);
  box.SetText("");
}

}  // namespace

TWformat::TWformat(TComponent* AOwner) : TCompositeControl(AOwner) {
  // 144 pixels wide: three buttons of 48.
  SetUpGrid(kinds_, this, 1, 0, 5, 3, 48, 36, " &Format ", Captions(kFormatKindCaptions));
  SetUpBox(noteBox_, this, 168, 45);
  // Room for two lines: a note that wraps ("All Data Converted to Labels")
  // shows whole.
  note_.SetParent(&noteBox_);
  note_.SetBounds(8, 6, 154, 34);
  SetUpGrid(dates_, this, kPanelLeft, kPanelTop, 3, 2, 61, 23, "Date Options", Captions(kFormatDateCaptions));
  SetUpGrid(times_, this, kPanelLeft, kPanelTop, 2, 2, 67, 20, "", Captions(kFormatTimeCaptions));
  SetUpGrid(denominators_, this, kPanelLeft, kPanelTop, 3, 3, 39, 32, "Denominators",
            Captions(kFormatDenominatorCaptions));
  SetUpBox(digitsBox_, this, 168, 45);
  digits_.SetParent(&digitsBox_);
  digits_.SetBounds(8, 16, 88, 21);
  digits_.SetMargin(48);
  digits_.SetCaption("D&igits:");
  digits_.SetButton(true);
  digits_.SetUpdn(true);
  digits_.Model().SetInc(1);
  digits_.Model().Int = true;
  digits_.Model().MaxVal = kMaxFormatDigits;
  digits_.SetText("2");

  kinds_.Model().Onchange = [this] { KindChanged(); };
  kinds_.Model().OnEnterKey = [this] { FocusPanel(); };
  for (TBmpBut* grid : {&dates_, &times_, &denominators_}) {
    grid->Model().OnEnterKey = [this] { Fire(OnEnterKey, this); };
    grid->Model().OnEscKey = [this] { kinds_.SetFocus(); };
  }
  kinds_.Model().OnEscKey = [this] { kinds_.SetFocus(); };
  digits_.OnClick = [this](TObject*) { KindChanged(); };
  digits_.Edit().OnKeyDown = [this](TObject*, int& key, TShiftState) {
    if (key == VK_RETURN) Fire(OnEnterKey, this);
    if (key == VK_ESCAPE && digits_.Text().empty()) kinds_.SetFocus();
  };
  SetBounds(0, 0, kPanelLeft + 168 + 2, 224);
  // The kind buttons grow to their captions once measured.
  kinds_.OnResize = [this](TObject*) { PlacePanels(); };
  PlacePanels();
  ShowPanelFor(fkGeneral);
  kinds_.Model().SetItemindex(fkGeneral);
}

void TWformat::CreateParams(TCreateParams& Params) {
  TCompositeControl::CreateParams(Params);
  Params.ClassName = "TWformat";
}

void TWformat::DoEnter() {
  kinds_.SetFocus();
  TCompositeControl::DoEnter();
}

TFormatChoice TWformat::Choice() const {
  auto item = [](const TBmpBut& grid) { return std::max(grid.Itemindex(), 0); };
  TFormatChoice c;
  c.Kind = std::max(kinds_.Itemindex(), 0);
  c.Digits = digits_.Vali();
  c.DateItem = item(dates_);
  c.TimeItem = item(times_);
  c.DenominatorItem = item(denominators_);
  return c;
}

std::uint8_t TWformat::Format() const { return FormatByteOf(Choice()); }

// A write always shows the byte, even one written before: the user may have
// changed the picker since, and the owner resets it so.
void TWformat::SetFormat(std::uint8_t format) {
  TFormatChoice c = FormatChoiceFor(format, Choice());
  applying_ = true;
  kinds_.Model().SetItemindex(c.Kind);
  dates_.Model().SetItemindex(c.DateItem);
  times_.Model().SetItemindex(c.TimeItem);
  denominators_.Model().SetItemindex(c.DenominatorItem);
  if (FormatPanelFor(c.Kind) == TFormatPanel::Digits) digits_.SetVali(c.Digits);
  applying_ = false;
  ShowPanelFor(c.Kind);
  Invalidate();
}

bool TWformat::Editfocus() const {
  return digitsBox_.Visible() && FormatKindEditsDigits(std::max(kinds_.Itemindex(), 0));
}

void TWformat::SetSticky(bool on) {
  for (TBmpBut* grid : {&kinds_, &dates_, &times_}) grid->Model().SetSticky(on);
  Invalidate();
}

void TWformat::PlacePanels() {
  // The panel of the chosen kind sits right of the kind buttons, however
  // wide their captions made them, and the picker grows to hold it.
  TWinControl* const panels[] = {&noteBox_, &digitsBox_, &dates_, &times_, &denominators_};
  const int left = std::max(kPanelLeft, kinds_.BoundsRect().Right + 4);
  int right = left, bottom = kinds_.BoundsRect().Bottom;
  for (TWinControl* panel : panels) {
    if (panel->Left() != left) panel->SetLeft(left);
    right = std::max(right, panel->BoundsRect().Right);
    bottom = std::max(bottom, panel->BoundsRect().Bottom);
  }
  if (right + 2 > Width() || bottom > Height())
    SetBounds(Left(), Top(), std::max(Width(), right + 2), std::max(Height(), bottom));
}

void TWformat::ShowPanelFor(int kind) {
  TFormatPanel panel = FormatPanelFor(kind);
  digitsBox_.SetVisible(panel == TFormatPanel::Digits);
  dates_.SetVisible(panel == TFormatPanel::Dates);
  times_.SetVisible(panel == TFormatPanel::Times);
  denominators_.SetVisible(panel == TFormatPanel::Denominators);
  noteBox_.SetVisible(panel == TFormatPanel::Note);
  note_.SetCaption(FormatNoteFor(kind));
  for (TBmpBut* grid : {&dates_, &times_, &denominators_})
    if (grid->Visible()) grid->Model().SetSticky(true);
}

void TWformat::KindChanged() {
  if (applying_) return;
  ShowPanelFor(std::max(kinds_.Itemindex(), 0));
  Fire(Onclick, &kinds_);
}

void TWformat::FocusPanel() {
  if (digitsBox_.Visible())
    digits_.Edit().SetFocus();
  else if (dates_.Visible())
    dates_.SetFocus();
  else if (times_.Visible())
    times_.SetFocus();
  else if (denominators_.Visible())
    denominators_.SetFocus();
  else if (noteBox_.Visible())
    noteBox_.SetFocus();
}

}  // namespace corvane
