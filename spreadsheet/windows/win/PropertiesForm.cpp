// The properties dialog's form.
#include "spreadsheet/windows/win/PropertiesForm.h"

#include <algorithm>
#include <string>
#include <vector>

#include "classlib/win/Application.h"
#include "spreadsheet/data/DataCommon.h"
#include "spreadsheet/engine/EngineError.h"
#include "spreadsheet/engine/EnginePlatform.h"
#include "spreadsheet/engine/RangePrompt.h"
#include "spreadsheet/engine/ShowError.h"
#include "spreadsheet/engine/WindowServices.h"

namespace corvane {

using namespace classlib;

namespace {

constexpr int kGap = 4;
constexpr int kBottomRows = 66;  // the range field and the buttons below the pages
constexpr const char* kPageNames[kPropertyPageCount] = {"&Format", "&Shade", "&Typeface",
                                                       "&Prefix", "&Lock",  "&Border"};

// A group of `count` text buttons in one row at (x, y) on `page`.
void SetUpGroup(TBmpBut& group, TWinControl& page, int x, int y, int bw, const std::string& caption,
                std::vector<std::string> items) {
  group.SetParent(&page);
  group.SetLeft(x);
  group.SetTop(y);
  TBmpButModel& m = group.Model();
  m.SetRows(1);
  m.SetCols(static_cast<int>(items.size()));
  m.SetBw(bw);
  m.SetBh(26);
  m.SetGroupon(true);
  m.SetCaption(caption);
  m.SetItems(std::move(items));
  group.SetTabStop(true);
}

// The room a page's controls take, a margin added.
TSize PageExtent(const TWinControl& page) {
  TSize extent{0, 0};
  for (int i = 0; i < page.ControlCount(); ++i) {
    TRect r = page.Controls(i)->BoundsRect();
    extent.cx = std::max(extent.cx, static_cast<int>(r.Right + kGap));
    extent.cy = std::max(extent.cy, static_cast<int>(r.Bottom + kGap));
  }
  return extent;
}

// The outer size of a dialog whose client area is `client`.
TSize OuterSize(TSize client) {
  RECT frame = {0, 0, client.cx, client.cy};
  AdjustWindowRectEx(&frame, WS_POPUP | WS_CAPTION | WS_SYSMENU, FALSE, WS_EX_DLGMODALFRAME);
  return {static_cast<int>(frame.right - frame.left), static_cast<int>(frame.bottom - frame.top)};
}

}  // namespace

TPropty::TPropty(TWinControl& mainWindow, std::function<TSheetFonts()> fonts, std::function<void()> applied)
    : TForm(&mainWindow, kPropertiesCaption),
      mainWindow_(mainWindow),
      fonts_(std::move(fonts)),
      applied_(std::move(applied)) {
  BorderStyle = TFormBorderStyle::bsDialog;
  Position = TPosition::poScreenCenter;
  KeyPreview = true;

  ttabmenu1.SetParent(this);
  ttabmenu1.SetItems(std::vector<std::string>(std::begin(kPageNames), std::end(kPageNames)));
  ttabmenu1.SetTabStop(true);
  Notebook1 = new TNotebook(this);
  Notebook1->SetParent(this);
  std::vector<TPage*> pages;
  for (const char* name : kPageNames) pages.push_back(&Notebook1->AddPage(name));

  Wformat1.SetParent(pages[kPageFormat]);
  Wformat1.SetLeft(kGap);
  Wformat1.SetTop(kGap);

  cformat1.SetParent(pages[kPageShade]);
  cformat1.SetLeft(kGap);
  cformat1.SetTop(kGap);
  cformat1.SetCaption(" Background Shade ");
  DefaultBox.SetParent(pages[kPageShade]);
  DefaultBox.SetCaption("&Default");
  DefaultBox.SetBounds(kGap + 8, cformat1.BoundsRect().Bottom + 6, 90, 20);

  fontmenu1.SetParent(pages[kPageTypeface]);
  fontmenu1.SetLeft(kGap);
  fontmenu1.SetTop(kGap);
  fontmenu1.SetChicklet(true);

  SetUpGroup(BmpBut3, *pages[kPagePrefix], kGap, kGap, 64, " Label Prefix ", {"&Left", "&Center", "&Right"});
  SetUpGroup(BmpBut4, *pages[kPageLock], kGap, kGap, 80, " Cell Protection ", {"&Enable", "&Disable"});
  SetUpGroup(BmpBut1, *pages[kPageBorder], kGap, kGap, 64, " Types ", {"&None", "&Single", "&Thick"});
  SetUpGroup(BmpBut2, *pages[kPageBorder], kGap, BmpBut1.BoundsRect().Bottom + 8, 48, " Apply ",
             {"&In", "&Out", "&All", "&Clear"});

  PEdit1.SetParent(this);
  // The range and Cancel have no letter: every one of theirs a control of
  // some page answers (Escape is Cancel's key).
  PEdit1.SetCaption("Range: ");
  PEdit1.SetMargin(52);
  PEdit1.SetButton(true);
  PEdit1.SetMaxlength(255);
  OkButton.SetParent(this);
  OkButton.SetCaption("&Ok");
  OkButton.SetDefault(true);
  CancelButton.SetParent(this);
  CancelButton.SetCaption("Cancel");
  CancelButton.Cancel = true;

  ttabmenu1.Model().OnChange = [this] {
    int i = ttabmenu1.ItemIndex();
    if (i >= 0 && i < kPropertyPageCount) Notebook1->SetPageIndex(i);
  };
  Wformat1.Onclick = [this](TObject*) { Changed(kPageFormat); };
  cformat1.Onchange = [this](TObject*) { ShadeChanged(); };
  cformat1.Onclick = [this](TObject*) { ShadeChanged(); };
  DefaultBox.OnClick = [this](TObject*) { Changed(kPageShade); };
  fontmenu1.onchange = [this](TObject*) { Changed(kPageTypeface); };
  BmpBut3.Model().Onchange = [this] { Changed(kPagePrefix); };
  BmpBut4.OnEnter = [this](TObject*) { Changed(kPageLock); };
  BmpBut4.Model().Onchange = [this] { Changed(kPageLock); };
  BmpBut1.Model().Onchange = [this] { Changed(kPageBorder); };
  BmpBut2.Model().Onchange = [this] { Changed(kPageBorder); };
  PEdit1.Edit().OnDblClick = [this](TObject*) { PromptRange(); };
  PEdit1.OnClick = [this](TObject*) { PromptRange(); };
  OkButton.OnClick = [this](TObject*) { OkClick(); };
  CancelButton.OnClick = [this](TObject*) { Close(); };
  OnKeyDown = [this](TObject*, int& key, TShiftState) {
    if (key != VK_ESCAPE) return;
    key = 0;
    if (ttabmenu1.Visible() && !ttabmenu1.Focused())
      ttabmenu1.SetFocus();
    else
      Close();
  };
  OnActivate = [this](TObject*) {
    if (reload_) Load();
  };
  OnClose = [this](TObject*, TCloseAction& action) {
    mainWindow_.SetEnabled(true);
    action = caHide;
  };
}

TPropty::~TPropty() {
  // A prompt of ours that is still running must not call back into a
  // dialog that is gone.
  if (prompting_) {
    RangePromptSetCallBackOnCancel(false);
    RangePromptEnd(false);
  }
}

void TPropty::CreateParams(TCreateParams& Params) {
  TForm::CreateParams(Params);
  Params.ClassName = "TPropty";
  Params.ExStyle |= WS_EX_TOPMOST;
}

void TPropty::ShowProperties(int page) {
  TPropertiesLayout layout = PropertiesLayout(page);
  page_ = std::clamp(layout.page, 0, kPropertyPageCount - 1);
  // The pages of the controls we have are larger than the bare layout asks
  // for: the form grows to hold the page (or every page) shown.
  TSize pageSize{0, 0};
  for (int i = 0; i < kPropertyPageCount; ++i) {
    if (layout.listWidth == 0 && i != page_) continue;
    TSize extent = PageExtent(Notebook1->Pages(i));
    pageSize.cx = std::max(pageSize.cx, extent.cx);
    pageSize.cy = std::max(pageSize.cy, extent.cy);
  }
  // The list menu is as wide as its longest item needs, 64 pixels at least.
  int listWidth = layout.listWidth > 0 ? std::max(layout.listWidth, ttabmenu1.Maxwidth() + kGap) : 0;
  int listHeight = listWidth > 0 ? ttabmenu1.Maxheight() : 0;
  TSize client{listWidth + 2 * kGap + pageSize.cx, kGap + std::max(pageSize.cy, listHeight) + kBottomRows};
  // Sized from the outer size: the window may not exist yet to tell its
  // client area.
  TSize outer = OuterSize(client);
  TSize grow{std::max(static_cast<int>(layout.width) - outer.cx, 0),
             std::max(static_cast<int>(layout.height) - outer.cy, 0)};
  client.cx += grow.cx;
  client.cy += grow.cy;
  SetBounds(Left(), Top(), outer.cx + grow.cx, outer.cy + grow.cy);
  int clientWidth = client.cx, clientHeight = client.cy;
  int pagesBottom = clientHeight - kBottomRows;

  ttabmenu1.SetVisible(listWidth > 0);
  ttabmenu1.SetBounds(kGap, kGap, std::max(listWidth - kGap, 0), pagesBottom - kGap);
  Notebook1->SetBounds(listWidth + kGap, kGap, clientWidth - listWidth - 2 * kGap, pagesBottom - kGap);
  Notebook1->SetPageIndex(page_);
  PEdit1.SetBounds(8, pagesBottom + 6, clientWidth - 16, 23);
  CancelButton.SetBounds(clientWidth - 8 - 76, clientHeight - 31, 76, 25);
  OkButton.SetBounds(clientWidth - 2 * (8 + 76), clientHeight - 31, 76, 25);

  reload_ = true;
  Show();
  // Activation runs Load; a form that was active already gets none.
  if (reload_) Load();
}

void TPropty::Load() {
  loading_ = true;
  mainWindow_.SetEnabled(false);
  OkButton.SetEnabled(false);
  cformat1.SetIgnore(true);
  fontmenu1.SetIgnore(true);

  TRange selection;
  WindowServices().GetGridSelection(selection);
  reload_ = false;
  values_.Activate(selection);
  PEdit1.SetText(values_.rangeText);

  TSheetFonts fonts = fonts_ ? fonts_() : TSheetFonts{};
  TFont font;
  font.Name = CellFontName(fonts, values_.font);
  font.SetSize(CellFontSize(fonts, values_.size));
  font.Style = static_cast<TFontStyles>(values_.styleBits & (fsBold | fsItalic | fsUnderline));
  Wformat1.SetFormat(static_cast<std::uint8_t>(values_.format));
  fontmenu1.Setnewfont(font);
  fontmenu1.SetSample(values_.sampleText);
  BmpBut4.SetItemindex(values_.protect ? 0 : 1);

  cformat1.SetColor(values_.shade);
  fontmenu1.SetForecolor(values_.textColour);
  fontmenu1.SetBackColor(values_.shade);
  DefaultBox.SetChecked(false);
  BmpBut1.SetItemindex(values_.borderType);
  BmpBut2.SetItemindex(values_.borderApply);
  BmpBut3.SetItemindex(values_.prefix);
  for (TBmpBut* group : {&BmpBut1, &BmpBut2, &BmpBut3, &BmpBut4}) group->Model().SetSticky(false);
  Wformat1.SetSticky(false);
  cformat1.SetIgnore(false);
  fontmenu1.SetIgnore(false);
  values_.changed = 0;
  OkButton.SetEnabled(false);
  ttabmenu1.Model().ClearMarks();
  ttabmenu1.SetItemIndex(page_);
  ttabmenu1.Invalidate();
  loading_ = false;
  if (ttabmenu1.Visible())
    ttabmenu1.SetFocus();
  else
    PageFocus(page_).SetFocus();
}

TWinControl& TPropty::PageFocus(int page) {
  switch (page) {
    case kPageFormat: return Wformat1.Kinds();
    case kPageShade: return cformat1.Palette();
    case kPageTypeface: return fontmenu1.Fonts();
    case kPagePrefix: return BmpBut3;
    case kPageLock: return BmpBut4;
    default: return BmpBut1;
  }
}

void TPropty::Changed(int page) {
  if (loading_) return;
  values_.Touch(page);
  ttabmenu1.Model().Mark(page);
  ttabmenu1.Invalidate();
  OkButton.SetEnabled(true);
}

void TPropty::ShadeChanged() {
  if (loading_) return;
  Changed(kPageShade);
  fontmenu1.SetBackColor(cformat1.Color());
}

void TPropty::FromControls() {
  values_.rangeText = PEdit1.Text();
  values_.format = Wformat1.Format();
  values_.shade = cformat1.Color() & 0xFFFFFFu;
  values_.defaultShade = DefaultBox.Checked();
  values_.textColour = fontmenu1.Forecolor();
  TSheetFonts fonts = fonts_ ? fonts_() : TSheetFonts{};
  const TFont& font = fontmenu1.newfont();
  values_.font = 255;
  if (fonts.list != nullptr) {
    auto it = std::find(fonts.list->begin(), fonts.list->end(), font.Name);
    if (it != fonts.list->end() && it - fonts.list->begin() < 255)
      values_.font = static_cast<int>(it - fonts.list->begin());
  }
  int size = fontmenu1.fontsize();
  if (size > 0 && size <= 255) values_.size = size;
  values_.styleBits = TFontPickerModel::StyleMask(font);
  values_.prefix = std::max(BmpBut3.Itemindex(), 0);
  values_.protect = BmpBut4.Itemindex() != 1;
  values_.borderType = std::max(BmpBut1.Itemindex(), 0);
  values_.borderApply = BmpBut2.Itemindex() < 0 ? kApplyClear : BmpBut2.Itemindex();
}

void TPropty::OkClick() {
  FromControls();
  Close();
  Application().ProcessMessages();
  ClearErrorFlag();
  if (!values_.Apply()) {
    if (ErrorFlagSet() && !ErrorMessage().empty()) ShowError(ErrorMessage());
    ClearErrorFlag();
  }
  if (applied_) applied_();
}

void TPropty::PromptRange() {
  if (prompting_) return;
  FromControls();
  mainWindow_.SetEnabled(true);
  Hide();
  Application().ProcessMessages();
  prompting_ = StartFieldPrompt(kPropertiesPromptCaption, values_.rangeText, values_.selection,
                                [this](std::string_view text) {
                                  prompting_ = false;
                                  PEdit1.SetText(std::string(text));
                                  mainWindow_.SetEnabled(false);
                                  Show();
                                  PEdit1.Edit().SetFocus();
                                });
  if (!prompting_) {
    mainWindow_.SetEnabled(false);
    Show();
  }
}

}  // namespace corvane
