// The main frame: its controls, menus and the glue between them and the
// portable command table, entry line and file commands.
#include "spreadsheet/windows/win/MainFrame.h"

#include <commdlg.h>

#include <algorithm>

#include "classlib/win/Application.h"
#include "classlib/win/Bitmap.h"
#include "classlib/win/Dialogs.h"
#include "classlib/win/MainMenu.h"
#include "classlib/win/MenuHandle.h"
#include "classlib/win/Messages.h"
#include "classlib/win/Timer.h"
#include "spreadsheet/engine/CellEntry.h"
#include "spreadsheet/engine/Clipboard.h"
#include "spreadsheet/engine/DocumentTable.h"
#include "spreadsheet/engine/EngineError.h"
#include "spreadsheet/engine/EngineHelpers.h"
#include "spreadsheet/engine/EnginePlatform.h"
#include "spreadsheet/engine/InsertDelete.h"
#include "spreadsheet/engine/BlockCopy.h"
#include "spreadsheet/engine/RangeEdit.h"
#include "spreadsheet/engine/RangePrompt.h"
#include "spreadsheet/engine/RangeText.h"
#include "spreadsheet/engine/ShowError.h"
#include "spreadsheet/engine/UndoBuffer.h"
#include "spreadsheet/engine/UserFunctions.h"
#include "spreadsheet/engine/WindowServices.h"
#include "spreadsheet/data/win/DataDialogWindow.h"
#include "spreadsheet/data/win/MatrixDialogWindow.h"
#include "spreadsheet/files/SettingsFile.h"
#include "spreadsheet/files/WorksheetFile.h"
#include "spreadsheet/files/win/PrintForms.h"
#include "spreadsheet/graphs/NamedGraphs.h"
#include "spreadsheet/graphs/win/GraphSettingsDialog.h"
#include "spreadsheet/graphs/win/GraphView.h"
#include "spreadsheet/macros/MacroRun.h"
#include "spreadsheet/windows/CellCommands.h"
#include "spreadsheet/windows/MenuLayout.h"
#include "spreadsheet/windows/SheetPrint.h"
#include "spreadsheet/windows/RangeProperties.h"
#include "spreadsheet/windows/SheetView.h"
#include "spreadsheet/windows/SizeCopyDialogs.h"
#include "spreadsheet/windows/Startup.h"
#include "spreadsheet/windows/win/DialogCommands.h"
#include "spreadsheet/windows/win/FrameMacroHost.h"
#include "spreadsheet/windows/win/InfoForms.h"
#include "spreadsheet/windows/win/PropertiesForm.h"
#include "spreadsheet/windows/win/RangeNameForm.h"
#include "spreadsheet/windows/win/TextDialogForms.h"
#include "spreadsheet/windows/win/TransferCommands.h"

namespace corvane {

using namespace classlib;

namespace {

constexpr int kRecentInMenu = 5;  // the rest go into "More"
constexpr TColor kFrameColour = RGBColor(255, 255, 192);
constexpr TColor kRestingEntryColour = RGBColor(192, 192, 192);
constexpr const char* kFrameCaption = "Corvane";
constexpr const char* kNoSheetText = "Empty";

// The lock keys of the panels, in panel order.
constexpr int kLockKeys[] = {VK_INSERT, 0, VK_NUMLOCK, VK_SCROLL, VK_CAPITAL};
constexpr const char* kLockCaptions[] = {"INS", "END", "NUM", "SCR", "CAP"};
constexpr TCommandId kLockCommands[] = {TCommandId::kToggleInsert, TCommandId::kToggleEnd, TCommandId::kToggleNum,
                                        TCommandId::kToggleScroll, TCommandId::kToggleCaps};

TColor PaletteColour(int index) { return static_cast<TColor>(kPalette16[index & 15]); }

bool KeyToggled(int vk) { return (GetKeyState(vk) & 1) != 0; }

void ToggleKey(int vk) {
  BYTE keys[256];
  if (!GetKeyboardState(keys)) return;
  keys[vk] ^= 1;
  SetKeyboardState(keys);
}

TRange Selection() {
  TRange range;
  WindowServices().GetGridSelection(range);
  if (range.firstRow < 0 || !RangeIsValid(range)) {
    std::int16_t row = 0, col = 0;
    WindowServices().GetCursorCell(row, col);
    RangeSet(range, col, row, col, row);
  }
  return range;
}

TRange CursorCell() {
  std::int16_t row = 0, col = 0;
  WindowServices().GetCursorCell(row, col);
  TRange range;
  RangeSet(range, col, row, col, row);
  return range;
}

// A button face showing `face` (two texts split by "|" for a two-way button,
// drawn three times: at rest and with either half pressed): grey text while
// the button is disabled, white on grey while its state is on.
void DrawFaceGlyph(TBitmap& glyph, const std::string& face, int width, int height, bool twoWay, bool enabled,
                   bool down) {
  int images = twoWay ? 3 : 1;
  glyph.SetSize(width * images, height);
  TCanvas& c = glyph.Canvas();
  c.Brush = TBrush{down ? clGray : clSilver};
  c.FillRect({0, 0, width * images, height});
  c.Brush.Style = TBrushStyle::bsClear;
  c.Font.Name = "MS Sans Serif";
  c.Font.Height = -10;
  c.Font.Color = !enabled ? clGray : down ? clWhite : clBlack;
  std::size_t bar = face.find('|');
  std::string parts[2] = {face.substr(0, bar), bar == std::string::npos ? "" : face.substr(bar + 1)};
  for (int image = 0; image < images; ++image) {
    int left = image * width;
    int halves = twoWay ? 2 : 1;
    for (int half = 0; half < halves; ++half) {
      int pressed = image == half + 1 ? 1 : 0;
      int areaLeft = left + half * width / halves, areaWidth = width / halves;
      TSize size = c.TextExtent(parts[half]);
      c.TextOut(areaLeft + (areaWidth - size.cx) / 2 + pressed, (height - size.cy) / 2 + pressed, parts[half]);
    }
    if (twoWay) {
      c.Pen = TPen{clGray, 1};
      c.MoveTo(left + width / 2, 1);
      c.LineTo(left + width / 2, height - 1);
    }
  }
}

// Collects the face names the system enumerates, once each, leaving out the
// vertical faces ("@").
int CALLBACK AddFontName(const LOGFONTA* font, const TEXTMETRICA*, DWORD, LPARAM self) {
  auto& names = *reinterpret_cast<std::vector<std::string>*>(self);
  std::string name = font->lfFaceName;
  if (!name.empty() && name[0] != '@' && std::find(names.begin(), names.end(), name) == names.end())
    names.push_back(name);
  return 1;
}

// Shows what a failed command left in the error flag, once.
void ShowPendingError() {
  if (ErrorFlagSet() && !ErrorMessage().empty()) ShowError(ErrorMessage());
  ClearErrorFlag();
}

// A two-step range command: the source on one prompt, then the target on a
// second; `run` gets both.
void PromptTwoRanges(const std::string& what, std::function<bool(const TRange&, const TRange&)> run) {
  RangePromptStart(
      what + " FROM: Specify Range",
      [what, run](std::string_view sourceText) {
        TRange source;
        if (!ParseRange(sourceText, source)) {
          ShowPendingError();
          return false;
        }
        RangePromptStart(
            what + " TO: Specify Cell",
            [source, run](std::string_view targetText) {
              TRange target;
              if (!ParseRange(targetText, target)) {
                ShowPendingError();
                return false;
              }
              bool done = run(source, target);
              ShowPendingError();
              return done;
            },
            CursorCell());
        RangePromptSetCallBackOnCancel(false);
        return true;
      },
      Selection());
  RangePromptSetCallBackOnCancel(false);
}

}  // namespace

// ---- Construction ------------------------------------------------------------------

TForm1::TForm1(TComponent* AOwner, TSheetWindows& sheets) : TForm(AOwner, kFrameCaption), sheets_(sheets) {
  FormStyle = TFormStyle::fsMDIForm;
  Position = TPosition::poDesigned;
  SetColor(kFrameColour);
  SetBounds(0, 0, 1000, 720);
  instanceMessage_ = RegisterWindowMessageA(kInstanceMessageName);
  BuildBars();
  BuildStatusLine();
  tbarmenu1.SetParent(this);
  tbarmenu1.SetAlign(alLeft);
  tbarmenu1.Onpick = [this](TObject*, const std::string& macro) { RunMacroText(macro); };
  BuildMenus();
  // The graph window and its settings dialog live as long as the frame.
  graphView_ = new TGraphView(this);
  graphSettings_ = new TGrange(this);
  ConnectGraphViewAndSettings(*graphView_, *graphSettings_);
  graphView_->OnStatus = [this](const std::string& text) {
    SetStatusText(text);
    PnCell.Update();
  };
  graphSettings_->OnPassKey = [this](int key) { RefreshLockPanel(key); };
  BindCommands();
  BindMacroCommands();
  // Closing the frame ends the program.
  OnClose = [](TObject*, TCloseAction& action) {
    action = caHide;
    Application().Terminate();
  };
}

void TForm1::PreloadDialogs(int level) {
  if (PreloadedAtLevel(TPreloadDialog::kRangeName, level) && rangeDialog_ == nullptr)
    rangeDialog_ = new TRangeDlg(this);
  if (PreloadedAtLevel(TPreloadDialog::kProperties, level) && properties_ == nullptr)
    properties_ = new TPropty(*this, [this] { return SheetFonts(); }, [this] { RefreshIndicators(); });
  if (PreloadedAtLevel(TPreloadDialog::kData, level) && dataDialog_ == nullptr) dataDialog_ = new TSortDlg(*this);
  if (PreloadedAtLevel(TPreloadDialog::kArray, level) && arrayDialog_ == nullptr) arrayDialog_ = new TMatrixDlg(*this);
  if (PreloadedAtLevel(TPreloadDialog::kPrint, level)) PrintDialog();
  PreloadTransferDialogs(*this, level);
  PreloadTextDialogs(TextDialogHost(), level);
}

TTextDialogHost TForm1::TextDialogHost() {
  TTextDialogHost host;
  host.frame = this;
  host.columnPixels = [this](int col) {
    TSheetView* view = sheets_.ActiveView();
    return view != nullptr ? view->ActivePane().ColWidth(col) : 0;
  };
  host.sheetFonts = [this] { return SheetFonts(); };
  host.insertText = [this](std::string_view text) {
    const std::string inserted(text);
    SendMessageA(Edit1.Handle(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(inserted.c_str()));
    Edit1.SetFocus();
  };
  host.refresh = [this] { RefreshIndicators(); };
  return host;
}

Tmyprint& TForm1::PrintDialog() {
  // Made on first use unless preloaded; the frame owns it.
  if (printDialog_ == nullptr)
    printDialog_ = new Tmyprint(this, [this]() -> std::unique_ptr<TPrintSheet> {
      TSheetView* view = sheets_.ActiveView();
      return view != nullptr ? std::make_unique<TSheetPrint>(*view) : nullptr;
    });
  return *printDialog_;
}

TForm1::~TForm1() { RemoveMacroHost(); }

void TForm1::CreateParams(TCreateParams& Params) {
  TForm::CreateParams(Params);
  Params.ClassName = "TForm1";
}

void TForm1::WindowCreated() {
  RecentFilesChanged();
  SetSheetState(false);
  SetModeIndicator(kModeReady.text, kModeReady.colour);
  RefreshLockPanels();
  InstallMacroHost();
  TForm::WindowCreated();
}

void TForm1::BuildBars() {
  auto makeButton = [this](TPanel& bar, const TToolButtonSpec& spec, int& x) {
    TBarButton made;
    made.button = std::make_unique<Tspdbtn>(nullptr);
    made.spec = spec;
    Tspdbtn& button = *made.button;
    button.SetParent(&bar);
    int width = spec.second != TCommandId::kNone ? 44 : 34;
    button.SetBounds(x, 2, width, 24);
    x += width + 2;
    button.Model().SetCaption(spec.face);
    TCommandId first = spec.command, second = spec.second;
    if (second != TCommandId::kNone) {
      button.Model().SetMode(Tspmode::Horiz);
      button.Model().OnUpclick = [this, first] { RunCommand(first); };
      button.Model().OnDnclick = [this, second] { RunCommand(second); };
    } else {
      button.Model().OnClick = [this, first] { RunCommand(first); };
    }
    button.OnMouseMove = [this, &button, hint = spec.hint](TObject*, TShiftState, int, int) {
      ShowHint(button.Handle(), hint);
    };
    barButtons_.push_back(std::move(made));
    ShowButtonFace(barButtons_.back());
  };
  for (TPanel* bar : {&QuickBar, &StyleBar, &EntryPanel}) {
    bar->SetParent(this);
    bar->SetAlign(alTop);
    bar->SetHeight(28);
    bar->SetBevelOuter(TBevelCut::bvRaised);
  }
  int x = 4;
  for (const TToolButtonSpec& spec : QuickBarSpec()) makeButton(QuickBar, spec, x);

  // Style bar: bold, italic and underline, the three boxes, the size steps
  // and the colour buttons.
  x = 4;
  const std::vector<TToolButtonSpec>& style = StyleBarSpec();
  for (std::size_t k = 0; k < 3; ++k) makeButton(StyleBar, style[k], x);
  x += 6;
  // The font and size boxes show the cell's face and size as text, " *"
  // added for the window's default; choosing from their lists sets them.
  for (TComboBox* box : {&FontBox, &SizeBox, &FormatBox}) {
    box->SetParent(&StyleBar);
    box->Style = box == &FormatBox ? TComboBoxStyle::csDropDownList : TComboBoxStyle::csDropDown;
    box->DropDownCount = 16;
  }
  FontBox.SetBounds(x, 3, 170, 22);
  x += 174;
  SizeBox.SetBounds(x, 3, 56, 22);
  x += 60;
  FormatBox.SetBounds(x, 3, 130, 22);
  x += 136;
  for (std::size_t k = 3; k < style.size(); ++k) {
    TCommandId id = style[k].command;
    if (id != TCommandId::kFillColour && id != TCommandId::kTextColour) {
      makeButton(StyleBar, style[k], x);
      continue;
    }
    // The colour boxes: the fill from the big palette, the text colour from
    // the 16 colours its palette index names.
    Tclrcombo& box = id == TCommandId::kFillColour ? FillBox : TextBox;
    box.SetParent(&StyleBar);
    box.SetBounds(x, 3, 52, 22);
    x += 56;
    box.SetBig(id == TCommandId::kFillColour);
    box.SetCaption(style[k].face);
    box.SetClr(id == TCommandId::kFillColour ? clWhite : clBlack);
    box.Onchange = [this, id](TObject*) { RunCommand(id); };
  }
  std::vector<std::string> sizes;
  for (int size : FontSizeSteps()) sizes.push_back(std::to_string(size));
  SizeBox.SetItems(sizes);
  FontBox.OnClick = [this](TObject*) { RunCommand(TCommandId::kFontName); };
  SizeBox.OnClick = [this](TObject*) { RunCommand(TCommandId::kFontSize); };
  FormatBox.OnClick = [this](TObject*) { RunCommand(TCommandId::kSpeedFormat); };

  // The entry panel: the mode panel, the Enter and Esc buttons, the line.
  PnMode.SetParent(&EntryPanel);
  PnMode.SetBounds(4, 3, 70, 22);
  PnMode.SetBevelOuter(TBevelCut::bvLowered);
  for (Tspdbtn* button : {&EnterButton, &EscButton}) {
    button->SetParent(&EntryPanel);
    button->SetVisible(false);
  }
  EnterButton.SetBounds(78, 3, 22, 22);
  EscButton.SetBounds(102, 3, 22, 22);
  for (Tspdbtn* button : {&EnterButton, &EscButton}) {
    TBitmap glyph;
    DrawFaceGlyph(glyph, button == &EnterButton ? "OK" : "X", 16, 16, false, true, false);
    button->SetGlyph(glyph);
  }
  EnterButton.Model().OnClick = [this] { entry_.EditExit(); };
  EscButton.Model().OnClick = [this] { entry_.EditCancel(); };
  Edit1.SetParent(&EntryPanel);
  Edit1.SetBounds(128, 3, 600, 22);
  Edit1.SetMaxLength(static_cast<int>(kMaxStartFileChars) - 15);
  Edit1.OnChange = [this](TObject*) { entry_.TextChanged(); };
  Edit1.OnKeyDown = [this](TObject*, int& key, TShiftState shift) { EntryKeyDown(key, shift); };
  Edit1.OnKeyPress = [this](TObject*, char& key) {
    // In overwrite mode a typed character replaces the one at the caret.
    if (entry_.Overwrite() && static_cast<unsigned char>(key) >= 32 && Edit1.SelLength() == 0)
      Edit1.SetSelection(Edit1.SelStart(), 1);
  };
  Edit1.OnEnter = [this](TObject*) {
    if (!entry_.Editing() && !entry_.Pointing() && ActiveSheetWindow() != nullptr) entry_.EditCurrentCell();
  };
  EntryPanel.OnResize = [this](TObject*) { Edit1.SetWidth(std::max(40, EntryPanel.ClientWidth() - 132)); };
  SetEntryColours(false, false);

  Prompt1.SetParent(this);
  Prompt1.SetAlign(alTop);
  Prompt1.SetHeight(26);
  Prompt1.SetVisible(false);
  // The command a prompt ends may change the cell under the cursor.
  Prompt1.Onaccept = [this](TObject*) { EndRangePrompt(true); };
  Prompt1.Oncancel = [this](TObject*) { EndRangePrompt(false); };
}

void TForm1::BuildStatusLine() {
  StatusLine.SetParent(this);
  StatusLine.SetAlign(alBottom);
  StatusLine.SetHeight(22);
  StatusLine.SetBevelOuter(TBevelCut::bvNone);
  auto place = [this](TPanel& panel, TAlign align, int width) {
    panel.SetParent(&StatusLine);
    panel.SetAlign(align);
    panel.SetWidth(width);
    panel.SetBevelOuter(TBevelCut::bvLowered);
  };
  place(PnProgress, alLeft, 120);
  place(PnRecalc, alRight, 60);
  for (int k = 4; k >= 0; --k) {
    auto panel = std::make_unique<TPanel>(nullptr);
    place(*panel, alRight, 36);
    panel->SetText(kLockCaptions[k]);
    TCommandId command = kLockCommands[k];
    panel->OnClick = [this, command](TObject*) { RunCommand(command); };
    lockPanels_.insert(lockPanels_.begin(), std::move(panel));
  }
  place(PnCell, alClient, 200);
  PnCell.SetAlignment(TAlignment::taLeftJustify);
}

// ---- Menus -----------------------------------------------------------------------------

namespace {

// Adds the items of `specs` under `parent`; every item and submenu is noted
// with its spec for the enabling rules.
void AddSpecItems(TMenuItem& parent, const std::vector<TMenuSpec>& specs,
                  std::vector<std::pair<TMenuItem*, const TMenuSpec*>>& noted, const std::function<void(TCommandId)>& run) {
  for (const TMenuSpec& spec : specs) {
    auto* item = new TMenuItem(nullptr);
    item->Caption = spec.caption;
    item->Name = spec.hint;
    item->Tag = static_cast<std::intptr_t>(spec.command);
    if (spec.command != TCommandId::kNone) {
      TCommandId command = spec.command;
      item->OnClick = [run, command](TObject*) { run(command); };
    }
    parent.Add(item);
    if (spec.caption != "-") noted.emplace_back(item, &spec);
    AddSpecItems(*item, spec.items, noted, run);
  }
}

}  // namespace

void TForm1::BuildMenus() {
  mainMenu_ = new TMainMenu(this, this);
  AddSpecItems(*mainMenu_->Items(), MainMenuSpec(), menuSpecs_, [this](TCommandId id) { RunCommand(id); });
}

void TForm1::RefreshMenuStates() {
  if (mainMenu_ == nullptr) return;
  TCommandState state = CommandState();
  const TProgramSettings& p = ProgramSettings();
  bool barChanged = false;
  for (auto& [item, spec] : menuSpecs_) {
    bool enabled = spec->command != TCommandId::kNone ? commands_.MenuEnabled(spec->command, state)
                                                      : !state.promptActive && !state.editing && NeedMet(spec->need, state);
    if (item->Parent() == mainMenu_->Items() && item->Enabled != enabled) barChanged = true;
    item->Enabled = enabled;
    TCommandId id = spec->command;
    bool zoomItem = id >= TCommandId::kZoom200 && id <= TCommandId::kZoom50;
    item->Checked = (id == TCommandId::kShowQuickBar && p.QBar) || (id == TCommandId::kShowMacroBar && p.MBar) ||
                    (id == TCommandId::kShowStatusBar && p.SBar) ||
                    (zoomItem && ZoomPercentForTag(TCommandTable::Info(id).tag) == GridSettings().Zoom);
  }
  if (barChanged) mainMenu_->Rebuild();
}

void TForm1::MenuSelected(UINT item, UINT flags, HMENU menu) {
  if (flags == 0xFFFF && menu == nullptr) {
    SetCaption(kFrameCaption);
    return;
  }
  // A column of the bar shows the list of its commands, Exit its own hint.
  std::string hint;
  if ((flags & MF_POPUP) && menu == mainMenu_->Handle() && static_cast<int>(item) < mainMenu_->Items()->Count()) {
    hint = mainMenu_->Items()->Items(static_cast<int>(item))->Name;
  } else if (TMenuItem* found = mainMenu_->Items()->Find(static_cast<std::uint16_t>(item))) {
    hint = found->Name;
  }
  SetCaption(hint.empty() ? kFrameCaption : hint);
}

void TForm1::RecentFilesChanged() {
  if (mainMenu_ == nullptr) return;
  // The File column ends with the recent-file list after its last separator.
  // Its separator shows only with the list.
  TMenuItem& file = *mainMenu_->Items()->Items(0);
  int separator = file.Count();
  for (int i = 0; i < file.Count(); ++i)
    if (file.Items(i)->Name == kRecentSeparatorName) separator = i;
  while (file.Count() > separator) file.Delete(file.Count() - 1);
  std::vector<TRecentItem> items = RecentMenuItems(ProgramSettings().History, ProgramSettings().HSize);
  if (!items.empty() && items.front().visible) {
    auto* line = new TMenuItem(nullptr);
    line->Name = kRecentSeparatorName;
    line->Caption = "-";
    file.Add(line);
  }
  TMenuItem* more = nullptr;
  for (int i = 0; i < kRecentMenuItems && items[static_cast<std::size_t>(i)].visible; ++i) {
    if (i == kRecentInMenu) {
      more = new TMenuItem(nullptr);
      more->Name = "Mhist";
      more->Caption = "More";
      file.Add(more);
    }
    auto* entry = new TMenuItem(nullptr);
    entry->Name = "NM" + std::to_string(i);
    entry->Caption = items[static_cast<std::size_t>(i)].caption;
    entry->OnClick = [this, i](TObject*) {
      if (files_.OpenRecent(i)) RefreshIndicators();
    };
    (more != nullptr ? *more : file).Add(entry);
  }
}

// ---- Commands ------------------------------------------------------------------------------

TCommandState TForm1::CommandState() {
  TCommandState state;
  state.sheetOpen = ActiveSheetWindow() != nullptr && HaveCurrentDocument();
  state.sheetCount = state.sheetOpen ? kRowsPerWorksheet / std::max(1, RowsPerSheet()) : 1;
  state.undoAvailable = state.sheetOpen && UndoAvailable();
  UINT privateFormat = RegisterClipboardFormatA(kPrivateClipboardFormatName);
  state.clipboardHasData = IsClipboardFormatAvailable(CF_TEXT) || IsClipboardFormatAvailable(privateFormat);
  state.editing = entry_.Editing();
  state.promptActive = RangePromptActive();
  return state;
}

bool TForm1::RunCommand(TCommandId id) {
  bool ran = commands_.Run(id, CommandState());
  if (!ran) {
    MessageBeep(MB_OK);
    return false;
  }
  ShowPendingError();
  // A command may have changed the cell under the cursor (insert, delete,
  // undo, erase ...): the entry line shows what it holds now.
  if (!RangePromptActive()) RefreshIndicators();
  RefreshButtonStates();
  return true;
}

void TForm1::BindCommands() {
  using C = TCommandId;
  TCommandTable& t = commands_;
  auto afterCellChange = [this] {
    TWindowServices& ws = WindowServices();
    ws.MarkSheetModified(ws.ActiveSheet());
    ws.RepaintSheet(ws.ActiveSheet());
    RefreshIndicators();
  };

  // File.
  t.Bind(C::kNew, [this](int) { files_.New(); });
  t.Bind(C::kOpen, [this](int) {
    if (files_.Open()) RefreshIndicators();
  });
  t.Bind(C::kSave, [this](int) { files_.Save(); });
  t.Bind(C::kSaveAs, [this](int) { files_.SaveAs(); });
  t.Bind(C::kClose, [this](int) {
    files_.Close();
    SetEntryText("");
  });
  t.Bind(C::kUplink, [this](int) { RecalculateAll(); });
  t.Bind(C::kPrint, [this](int) { PrintDialog().Open(); });
  t.Bind(C::kDocInfo, [this](int) { TDocinfo(nullptr).Edit(); });
  t.Bind(C::kGetInfo, [](int) { TStatusDlg(nullptr).Execute(); });
  t.Bind(C::kExit, [this](int) { Close(); });
  BindTransferCommands(t, *this);
  BindTextDialogCommands(t, TextDialogHost());

  // Edit.
  t.Bind(C::kUndo, [this](int) {
    UndoApply(TUndoMode::kRestore);
    WindowServices().RepaintSheet(WindowServices().ActiveSheet());
    RefreshIndicators();
  });
  t.Bind(C::kCut, [this](int) {
    if (ClipboardCopyRange(Selection(), true)) RefreshIndicators();
  });
  t.Bind(C::kCopy, [](int) { ClipboardCopyRange(Selection(), false); });
  // At the selection's first cell, wherever the cursor ended it, as the
  // macro command pastes.
  t.Bind(C::kPaste, [this](int) {
    TRange at = Selection();
    if (ClipboardPasteRange(at.firstRow, at.firstCol)) RefreshIndicators();
  });
  auto erase = [this, afterCellChange](int) {
    RangeErase(Selection());
    SetEntryText("");
    afterCellChange();
  };
  t.Bind(C::kDelete, erase);
  t.Bind(C::kRangeErase, erase);

  // View.
  auto toggleBar = [this](int tag) {
    TProgramSettings& p = ProgramSettings();
    bool& setting = tag == 1 ? p.QBar : tag == 2 ? p.MBar : p.SBar;
    setting = !setting;
    TControl& bar = tag == 1 ? static_cast<TControl&>(QuickBar)
                    : tag == 2 ? static_cast<TControl&>(tbarmenu1)
                               : static_cast<TControl&>(StatusLine);
    bar.SetVisible(setting);
    RefreshMenuStates();
  };
  t.Bind(C::kShowQuickBar, toggleBar);
  t.Bind(C::kShowMacroBar, toggleBar);
  t.Bind(C::kShowStatusBar, toggleBar);

  // View: the active window's split and borders, the program's zoom.
  auto withView = [this](std::function<void(TSheetView&)> act) {
    return [this, act](int) {
      if (TSheetView* view = sheets_.ActiveView()) {
        act(*view);
        RefreshIndicators();
      }
    };
  };
  t.Bind(C::kSplitHorizontal, withView([](TSheetView& v) { v.SplitHorizontal(v.ActivePane().CursorRow()); }));
  t.Bind(C::kSplitVertical, withView([](TSheetView& v) { v.SplitVertical(v.ActivePane().CursorCol()); }));
  t.Bind(C::kSplitSynch, withView([](TSheetView& v) { v.SetSynchronised(true); }));
  t.Bind(C::kSplitUnsynch, withView([](TSheetView& v) { v.SetSynchronised(false); }));
  t.Bind(C::kSplitClear, withView([](TSheetView& v) { v.Unsplit(); }));
  for (C id : {C::kBordersHorizontal, C::kBordersVertical, C::kBordersBoth, C::kBordersClear}) {
    int mode = TCommandTable::Info(id).tag;
    t.Bind(id, withView([mode](TSheetView& v) {
      v.ActivePane().SetGrid(mode);
      v.Repaint();
    }));
  }
  auto zoom = [this](int tag) {
    GridSettings().Zoom = ZoomPercentForTag(tag);
    for (TForm* window : SheetWindows()) window->Invalidate();
    if (TSheetView* view = sheets_.ActiveView()) view->Repaint();
    RefreshMenuStates();
  };
  for (C id : {C::kZoom200, C::kZoom150, C::kZoom125, C::kZoom100, C::kZoom87, C::kZoom75, C::kZoom65, C::kZoom50})
    t.Bind(id, zoom);
  // User Button: placing a macro button on the active sheet, on and off; the
  // toggle comes up again once a button is placed.
  t.Bind(C::kUserButton, withView([this](TSheetView& v) {
    v.OnPlacingEnded = [this] { RefreshIndicators(); };
    v.SetPlacing(!v.Placing());
  }));
  t.Bind(C::kNewView, [this](int) {
    // A second window on the active document, saved or not.
    TSheetView* view = sheets_.ActiveView();
    if (view == nullptr) {
      MessageBeep(MB_OK);
      return;
    }
    if (sheets_.CreateSecondWindow(*this, *view)) RefreshIndicators();
  });

  // Sheet: rows and columns through a range prompt at the cursor.
  auto lines = [](const char* caption, int what, bool insert) {
    return [caption, what, insert](int) {
      RangePromptStart(
          caption,
          [what, insert](std::string_view text) {
            TRange range;
            bool done = ParseRange(text, range) && InsertDeleteLines(range, what, insert);
            ShowPendingError();
            return done;
          },
          CursorCell());
      RangePromptSetCallBackOnCancel(false);
    };
  };
  t.Bind(C::kInsertRow, lines("INSERT ROWS: Specify Range", kLinesRows, true));
  t.Bind(C::kInsertColumn, lines("INSERT COLUMNS: Specify Range", kLinesColumns, true));
  t.Bind(C::kInsertPageBreak, lines("PAGE BREAK: Specify Range", kLinesRowsWithPageBreak, true));
  t.Bind(C::kDeleteRow, lines("DELETE ROWS: Specify Range", kLinesRows, false));
  t.Bind(C::kDeleteColumn, lines("DELETE COLUMNS: Specify Range", kLinesColumns, false));
  t.Bind(C::kExternalTable, [afterCellChange](int) {
    UserFunctionsToRange(CursorCell());
    afterCellChange();
  });
  t.Bind(C::kExternalReset, [afterCellChange](int) {
    UserFunctionsReset();
    afterCellChange();
  });

  // Range.
  t.Bind(C::kRangeName, [this](int) {
    // Made on first use unless preloaded; the frame owns it.
    if (rangeDialog_ == nullptr) rangeDialog_ = new TRangeDlg(this);
    static_cast<TRangeDlg*>(rangeDialog_)->Open();
  });
  // Find and replace, widths and heights, the special copy, general settings.
  BindDialogCommands(t, *this,
                     {[this] { return sheets_.ActiveView(); }, [this] { RefreshIndicators(); },
                      [this] { RecentFilesChanged(); }});
  auto properties = [this](int tag) {
    if (properties_ == nullptr)
      properties_ = new TPropty(*this, [this] { return SheetFonts(); }, [this] { RefreshIndicators(); });
    properties_->ShowProperties(tag);
  };
  for (TCommandId id : {C::kPropFormat, C::kPropShade, C::kPropTypeface, C::kPropPrefix, C::kPropLock, C::kPropBorder})
    t.Bind(id, properties);
  auto copyMode = [](int mode) {
    return [mode](int) {
      PromptTwoRanges("COPY", [mode](const TRange& source, const TRange& target) {
        return RangeCopy(mode, source, target, 1.0);
      });
    };
  };
  t.Bind(C::kCopyValue, copyMode(kCopyValues));
  t.Bind(C::kCopyTranspose, copyMode(kCopyTranspose));
  t.Bind(C::kCopyInvert, copyMode(kCopyInvert));
  t.Bind(C::kCopyFormula, copyMode(kCopyFormulas));
  // The scaled copy asks for its factor once both ranges are given.
  t.Bind(C::kCopyScale, [](int) {
    PromptTwoRanges("COPY", [](const TRange& source, const TRange& target) {
      std::string factorText = "1";
      double factor = 1;
      if (!InputQuery(kSpecialCopyCaption, "Scale factor:", factorText)) return false;
      return NumberFieldValue(factorText, factor) && RangeCopy(kCopyScale, source, target, factor);
    });
  });
  t.Bind(C::kCopyCells, [](int) {
    PromptTwoRanges("COPY", [](const TRange& s, const TRange& d) { return CopyMoveRange(false, s, d); });
  });
  t.Bind(C::kMoveCells, [](int) {
    PromptTwoRanges("MOVE", [](const TRange& s, const TRange& d) { return CopyMoveRange(true, s, d); });
  });

  // Data and Array: their dialogs at the item's page, made on first use.
  for (C id : {C::kDataFill, C::kDataSort, C::kDataQuery, C::kDataBin, C::kDataParse, C::kDataGoalSeek,
               C::kDataRegress, C::kDataMultiRegress, C::kDataTable, C::kDataForm})
    t.Bind(id, [this](int tag) {
      if (dataDialog_ == nullptr) dataDialog_ = new TSortDlg(*this);
      dataDialog_->ShowDataPage(tag);
    });
  for (C id : {C::kArrayAdd, C::kArraySubtract, C::kArrayMultiply, C::kArrayTranspose, C::kArrayInvert,
               C::kArrayESolve, C::kArrayDeterminate, C::kArrayLinear})
    t.Bind(id, [this](int tag) {
      if (arrayDialog_ == nullptr) arrayDialog_ = new TMatrixDlg(*this);
      arrayDialog_->ShowArrayPage(tag);
    });

  // Graphs: the settings dialog at a page, the window, a quick graph.
  auto graphPage = [this](int tag) { graphSettings_->ShowPage(tag); };
  for (C id : {C::kGraphType, C::kGraphRanges, C::kGraphLegends, C::kGraphScale, C::kGraphOptions, C::kGraphNames,
               C::kGraphHeadings, C::kGraphFonts})
    t.Bind(id, graphPage);
  t.Bind(C::kGraphClear, [this](int) {
    GraphResetCurrent();
    graphView_->GraphChanged();
  });
  t.Bind(C::kGraphView, [this](int) { graphView_->ShowGraph(-1); });
  t.Bind(C::kQuickGraph, [this](int) {
    if (QuickGraph(Selection()) < 0) {
      ShowError(kMaxGraphsText);
      return;
    }
    // The quick graph is the current graph now: the window shows that one,
    // which the Graph commands and the window's zoom edit.
    graphView_->GraphChanged();
    graphView_->ShowGraph(-1);
  });

  // Window and Help.
  auto arrange = [this](UINT message, WPARAM how) {
    return [this, message, how](int) {
      if (HWND client = ClientHandle()) SendMessageA(client, message, how, 0);
    };
  };
  t.Bind(C::kTile, arrange(WM_MDITILE, MDITILE_VERTICAL));
  t.Bind(C::kCascade, arrange(WM_MDICASCADE, 0));
  t.Bind(C::kArrangeIcons, arrange(WM_MDIICONARRANGE, 0));
  t.Bind(C::kCloseAll, [this](int) {
    files_.CloseAll();
    SetEntryText("");
  });
  // The help file beside the program, at its index; without one the help
  // system says so itself.
  t.Bind(C::kHelpContents, [this](int) {
    std::string help = ProgramSettings().ProgramFolder;
    if (!help.empty() && help.back() != '\\') help += '\\';
    help += ProgramSettings().BaseName + ".HLP";
    WinHelpA(Handle(), help.c_str(), HELP_INDEX, 0);
  });
  t.Bind(C::kAbout, [](int) {
    Topenup about(nullptr);
    about.ShowModal();
  });
  t.Bind(C::kTips, [](int) {
    TTipform tips(nullptr);
    char path[MAX_PATH] = {};
    TProgramFiles files = ProgramFilesFor(std::string(path, GetModuleFileNameA(nullptr, path, MAX_PATH)));
    if (tips.LoadTips(ProgramFile(files, ".TPS"))) tips.ShowModal();
  });

  // Quick bar.
  t.Bind(C::kSpeedFill, [this](int) {
    SpeedFill(Selection());
    RefreshIndicators();
  });
  t.Bind(C::kSpeedSum, [this](int) {
    TRange at = CursorCell();
    if (!SpeedSum(Selection(), at.firstRow, at.firstCol)) MessageBeep(MB_OK);
    RefreshIndicators();
  });
  t.Bind(C::kSortAscending, [this](int) {
    SortSelection(Selection(), true);
    RefreshIndicators();
  });
  t.Bind(C::kSortDescending, [this](int) {
    SortSelection(Selection(), false);
    RefreshIndicators();
  });
  auto align = [afterCellChange](int tag) {
    RangeJustify(Selection(), tag);
    afterCellChange();
  };
  t.Bind(C::kAlignLeft, align);
  t.Bind(C::kAlignCenter, align);
  t.Bind(C::kAlignRight, align);
  t.Bind(C::kProtect, [this](int) {
    ToggleProtection();
    RefreshIndicators();
  });
  auto changeCase = [afterCellChange](int tag) {
    RangeChangeCase(Selection(), tag);
    afterCellChange();
  };
  t.Bind(C::kUpperCase, changeCase);
  t.Bind(C::kProperCase, changeCase);

  // Style bar.
  auto style = [this](int tag) {
    TRange at = CursorCell();
    bool on = !(tag == 1 ? CellStyleIndicators(at.firstRow, at.firstCol, SheetFonts()).bold
                : tag == 2 ? CellStyleIndicators(at.firstRow, at.firstCol, SheetFonts()).italic
                           : CellStyleIndicators(at.firstRow, at.firstCol, SheetFonts()).underline);
    RangeSetStyleBit(Selection(), tag, on);
    RefreshIndicators();
  };
  t.Bind(C::kBold, style);
  t.Bind(C::kItalic, style);
  t.Bind(C::kUnderline, style);
  t.Bind(C::kFontName, [this](int) {
    std::string face = FontBox.ItemIndex() >= 0 ? FontBox.Item(FontBox.ItemIndex()) : FontBox.Text();
    auto it = std::find(fontNames_.begin(), fontNames_.end(), face);
    if (it == fontNames_.end()) return;
    RangeSetFontNumber(Selection(), static_cast<int>(it - fontNames_.begin()));
    RefreshIndicators();
  });
  t.Bind(C::kFontSize, [this](int) {
    if (SizeBox.ItemIndex() < 0) return;
    RangeSetFontSize(Selection(), std::atoi(SizeBox.Item(SizeBox.ItemIndex()).c_str()));
    RefreshIndicators();
  });
  auto stepSize = [this](int tag) {
    TRange at = CursorCell();
    int size = std::atoi(CellStyleIndicators(at.firstRow, at.firstCol, SheetFonts()).sizeText.c_str());
    RangeSetFontSize(Selection(), StepFontSize(size, tag));
    RefreshIndicators();
  };
  t.Bind(C::kSizeUp, stepSize);
  t.Bind(C::kSizeDown, stepSize);
  t.Bind(C::kFillColour, [this](int) {
    RangeSetShade(Selection(), FillBox.Clr());
    RefreshIndicators();
  });
  t.Bind(C::kTextColour, [this](int) {
    int cell = NearestPaletteCell(kSmallPalette.data(), static_cast<int>(kSmallPalette.size()), TextBox.Clr());
    RangeSetTextColour(Selection(), cell - 1);
    RefreshIndicators();
  });
  t.Bind(C::kSpeedFormat, [this](int) {
    if (FormatBox.ItemIndex() < 0) return;
    const std::vector<std::string>& formats = ProgramSettings().Formats;
    auto index = static_cast<std::size_t>(FormatBox.ItemIndex());
    int code = index < formats.size() ? FormatBoxCode(formats[index]) : -1;
    if (code < 0) return;
    RangeSetFormat(Selection(), code);
    RefreshIndicators();
  });

  // Lock-key panels.
  auto lock = [this](int vk) {
    return [this, vk](int) {
      ToggleKey(vk);
      RefreshLockPanels();
    };
  };
  t.Bind(C::kToggleInsert, lock(VK_INSERT));
  t.Bind(C::kToggleNum, lock(VK_NUMLOCK));
  t.Bind(C::kToggleScroll, lock(VK_SCROLL));
  t.Bind(C::kToggleCaps, lock(VK_CAPITAL));
  t.Bind(C::kToggleEnd, [this](int) { SetEndMode(!endMode_); });
}

void TForm1::ShowButtonFace(TBarButton& b) {
  TBitmap glyph;
  DrawFaceGlyph(glyph, b.spec.face, b.button->Width() - 6, 16, b.spec.second != TCommandId::kNone, b.enabled, b.down);
  b.button->SetGlyph(glyph);
  b.button->SetEnabled(b.enabled);
  b.button->Invalidate();
}

void TForm1::RefreshButtonStates() {
  TCommandState state = CommandState();
  for (TBarButton& b : barButtons_) {
    bool enabled = commands_.Enabled(b.spec.command, state) ||
                   (b.spec.second != TCommandId::kNone && commands_.Enabled(b.spec.second, state));
    // The bars go with the sheet windows; Open stays.
    if (b.spec.command != TCommandId::kOpen && !state.sheetOpen) enabled = false;
    if (b.enabled == enabled) continue;
    b.enabled = enabled;
    ShowButtonFace(b);
  }
  for (TComboBox* box : {&FontBox, &SizeBox, &FormatBox}) box->SetEnabled(state.sheetOpen);
  FillBox.SetEnabled(commands_.Enabled(TCommandId::kFillColour, state));
  TextBox.SetEnabled(commands_.Enabled(TCommandId::kTextColour, state));
}

void TForm1::ShowSheetGraph(std::string_view name) {
  int index = GraphFind(name);
  graphView_->ShowGraph(index > 0 ? index : -1);
}

// ---- Window services for the frame ------------------------------------------------------

void TForm1::PaintPanelColours(TPanel& panel, int colourByte) {
  panel.SetColor(PaletteColour(colourByte >> 4));
  TFont font = panel.Font();
  font.Color = PaletteColour(colourByte & 15);
  font.Style = fsBold;
  panel.SetFont(font);
}

void TForm1::ShowHint(HWND over, const std::string& hint) {
  // The frame's caption shows the hint of the button under the mouse, and
  // its own caption again once the mouse has left it.
  if (Caption() != hint) SetCaption(hint);
  hintOver_ = over;
  if (hintTimer_ == nullptr) {
    hintTimer_ = new TTimer(this);
    hintTimer_->SetInterval(100);
    hintTimer_->OnTimer = [this](TObject*) {
      POINT at = {};
      GetCursorPos(&at);
      if (WindowFromPoint(at) == hintOver_) return;
      hintTimer_->SetEnabled(false);
      SetCaption(kFrameCaption);
    };
  }
  hintTimer_->SetEnabled(true);
}

void TForm1::SetModeIndicator(std::string_view text, int colour) {
  PnMode.SetText(std::string(text));
  PaintPanelColours(PnMode, colour);
}

void TForm1::ShowReadyMode() { SetModeIndicator(kModeReady.text, kModeReady.colour); }

void TForm1::SetMainMenusEnabled(bool enabled) {
  menusEnabled_ = enabled;
  RefreshMenuStates();
}

void TForm1::ShowPromptLine(std::string_view caption, std::string_view text) {
  Prompt1.SetCaption(std::string(caption));
  Prompt1.SetText(std::string(text));
  Prompt1.SetVisible(true);
  Prompt1.SelectInput();
  RefreshMenuStates();
}

std::string TForm1::PromptLineText() { return Prompt1.Text(); }

void TForm1::EndRangePrompt(bool accept) {
  RangePromptEnd(accept);
  if (!RangePromptActive()) RefreshIndicators();
}

void TForm1::HidePromptLine() {
  // The keyboard goes back to the pane the prompt was started from.
  bool hadFocus = Prompt1.HasFocus();
  Prompt1.SetVisible(false);
  if (hadFocus) WindowServices().FocusActiveGrid();
  RefreshMenuStates();
  OpenWaitingHandOvers();
}

void TForm1::OpenWaitingHandOvers() {
  // Posted, so that they open once what ended has unwound; one that meets
  // another dialog waits again.
  std::vector<std::string> waiting = std::move(handedOver_);
  handedOver_.clear();
  for (std::string& name : waiting) {
    auto* copy = new std::string(std::move(name));
    if (!PostMessageA(Handle(), kOpenHandedOverMessage, 0, reinterpret_cast<LPARAM>(copy))) delete copy;
  }
}

void TForm1::ShowProgress(int done, int total) {
  int percent = total > 0 ? static_cast<int>(static_cast<long long>(done) * 100 / total) : 0;
  PnProgress.SetText(std::to_string(std::clamp(percent, 0, 100)) + "%");
  PnProgress.Update();
}

void TForm1::HideProgress() { PnProgress.SetText(sheetState_ ? "" : kNoSheetText); }

void TForm1::SetEndMode(bool on) {
  endMode_ = on;
  RefreshLockPanels();
}

void TForm1::RefreshLockPanels() {
  for (std::size_t k = 0; k < lockPanels_.size(); ++k) {
    bool on = k == 1 ? endMode_ : KeyToggled(kLockKeys[k]);
    TPanel& panel = *lockPanels_[k];
    panel.SetColor(on ? clBlack : clSilver);
    TFont font = panel.Font();
    font.Color = on ? clWhite : clBlack;
    panel.SetFont(font);
  }
}

void TForm1::RefreshIndicators() {
  if (ActiveSheetWindow() == nullptr) return;
  std::int16_t row = 0, col = 0;
  WindowServices().GetCursorCell(row, col);
  entry_.UpdateCellIndicators(row, col);
  PnRecalc.SetText(gCurrentDoc.settings.manualRecalc ? "Manual" : "Auto");
  RefreshButtonStates();
}

void TForm1::SetSheetState(bool sheetOpen) {
  sheetState_ = sheetOpen;
  SetEntryEnabled(entryEditable_);
  if (!sheetOpen) {
    PnProgress.SetText(kNoSheetText);
    PnCell.SetText("");
    SetEntryText("");
    if (HandleAllocated()) SetFocus();
  } else {
    PnProgress.SetText("");
  }
  RefreshMenuStates();
  RefreshButtonStates();
}

void TForm1::LoadStyleBoxes() {
  if (FontBox.Count() == 0) {
    // The screen's fonts: sorted in the box, in their own order for cells.
    HDC dc = GetDC(nullptr);
    LOGFONTA wanted = {};
    wanted.lfCharSet = DEFAULT_CHARSET;
    EnumFontFamiliesExA(dc, &wanted, AddFontName, reinterpret_cast<LPARAM>(&fontNames_), 0);
    ReleaseDC(nullptr, dc);
    std::vector<std::string> sorted = fontNames_;
    std::sort(sorted.begin(), sorted.end());
    FontBox.SetItems(sorted);
    sheets_.SetFontList(fontNames_);
    FontBox.SetText(Font().Name);
    SizeBox.SetText("14");
  }
  std::vector<std::string> formats;
  for (const std::string& entry : ProgramSettings().Formats) {
    std::size_t comma = entry.find(',');
    formats.push_back(comma == std::string::npos ? entry : entry.substr(comma + 1));
  }
  FormatBox.SetItems(formats);
  if (!formats.empty()) FormatBox.SetItemIndex(0);
}

namespace {

struct TFrontSearch {
  HWND frame;
  HWND found;
};

// The first (front-most) window of the frame's thread that is visible,
// enabled and belongs to the frame: a dialog or message box it waits for.
BOOL CALLBACK MatchFrontDialog(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<TFrontSearch*>(param);
  if (window == search->frame || !IsWindowVisible(window) || !IsWindowEnabled(window) ||
      GetAncestor(window, GA_ROOTOWNER) != search->frame)
    return TRUE;
  search->found = window;
  return FALSE;
}

}  // namespace

HWND TForm1::FrontWindow() {
  HWND frame = Handle();
  if (IsWindowEnabled(frame)) return frame;
  TFrontSearch search{frame, nullptr};
  EnumThreadWindows(GetCurrentThreadId(), MatchFrontDialog, reinterpret_cast<LPARAM>(&search));
  return search.found != nullptr ? search.found : frame;
}

void TForm1::OpenHandedOver(const std::string& fileName) {
  // The program comes forward as the user left it: the frame, or the
  // dialog or message box it waits for, in front of it.
  if (IsIconic(Handle())) ShowWindow(Handle(), SW_RESTORE);
  SetForegroundWindow(FrontWindow());
  if (fileName.empty()) return;
  if (openingHandedOver_ || HandOverMustWait()) {
    handedOver_.push_back(fileName);
    return;
  }
  openingHandedOver_ = true;
  if (OpenNamedFile(files_, fileName)) RefreshIndicators();
  openingHandedOver_ = false;
  if (!handedOver_.empty() && !HandOverMustWait()) OpenWaitingHandOvers();
}

bool TForm1::HandOverMustWait() {
  // Under a dialog, a message box or a range prompt, or while a macro runs
  // (its next command would act on the file's document), a handed-over file
  // waits until they have ended; the files then open in the order they came.
  return !IsWindowEnabled(Handle()) || RangePromptActive() || MacroState().running;
}

// ---- The entry line's view -----------------------------------------------------------------

std::string TForm1::EntryText() { return Edit1.Text(); }

void TForm1::SetEntryText(std::string_view text) { Edit1.SetText(std::string(text)); }

void TForm1::TypeChar(char ch) {
  if (!Edit1.HandleAllocated()) {
    Edit1.SetText(Edit1.Text() + ch);
    return;
  }
  SendMessageA(Edit1.Handle(), WM_CHAR, static_cast<unsigned char>(ch), 1);
}

void TForm1::CaretToEnd() {
  int length = static_cast<int>(Edit1.Text().size());
  Edit1.SetSelection(length, 0);
}

void TForm1::SetEditButtonsVisible(bool visible) {
  EnterButton.SetVisible(visible);
  EscButton.SetVisible(visible);
}

void TForm1::SetEntryColours(bool editing, bool errorText) {
  Edit1.SetColor(editing ? clWindow : kRestingEntryColour);
  TFont font = Edit1.Font();
  font.Color = errorText ? clRed : clBlack;
  Edit1.SetFont(font);
}

void TForm1::SetPickButtonsEnabled(bool enabled) { RefreshButtonStates(); }

void TForm1::SetEntryEnabled(bool enabled) {
  entryEditable_ = enabled;
  // With no sheet open nothing can receive an entry, so the line refuses it.
  Edit1.SetReadOnly(!enabled || !sheetState_);
}

void TForm1::FocusEntry() {
  if (Edit1.CanFocus()) Edit1.SetFocus();
}

bool TForm1::InsertToggleOn() {
  RefreshLockPanels();
  return KeyToggled(VK_INSERT);
}

void TForm1::SetGridExtendMode(bool on) { sheets_.SetGridExtendMode(on); }

void TForm1::SetStatusText(std::string_view text) { PnCell.SetText(std::string(text)); }

void TForm1::SetPromptText(std::string_view text) { Prompt1.SetText(std::string(text)); }

void TForm1::ShowCellStyle(const TCellStyleIndicators& style) {
  for (TBarButton& b : barButtons_) {
    TCommandId id = b.spec.command;
    TSheetView* view = sheets_.ActiveView();
    bool down = (id == TCommandId::kBold && style.bold) || (id == TCommandId::kItalic && style.italic) ||
                (id == TCommandId::kUnderline && style.underline) ||
                (id == TCommandId::kUserButton && view != nullptr && view->Placing());
    if (b.down == down) continue;
    b.down = down;
    ShowButtonFace(b);
  }
  if (FontBox.Text() != style.fontText) FontBox.SetText(style.fontText);
  if (SizeBox.Text() != style.sizeText) SizeBox.SetText(style.sizeText);
  if (FillBox.Clr() != style.fillColour) FillBox.SetClr(style.fillColour);
  TColor text = kSmallPalette[static_cast<std::size_t>(style.textPalette & 15)];
  if (TextBox.Clr() != text) TextBox.SetClr(text);
}

TSheetFonts TForm1::SheetFonts() {
  return ActiveSheetWindow() != nullptr ? sheets_.SheetFonts() : TSheetFonts{Font().Name, 12, &fontNames_};
}

void TForm1::EntryKeyDown(int& key, TShiftState shift) {
  TEntryKey entryKey;
  switch (key) {
    case VK_RETURN: entryKey = TEntryKey::kEnter; break;
    case VK_ESCAPE: entryKey = TEntryKey::kEscape; break;
    case VK_HOME: entryKey = TEntryKey::kHome; break;
    case VK_LEFT: entryKey = TEntryKey::kLeft; break;
    case VK_UP: entryKey = TEntryKey::kUp; break;
    case VK_RIGHT: entryKey = TEntryKey::kRight; break;
    case VK_DOWN: entryKey = TEntryKey::kDown; break;
    case VK_F1: entryKey = TEntryKey::kF1; break;
    case VK_F2: entryKey = TEntryKey::kF2; break;
    case VK_F9: entryKey = TEntryKey::kF9; break;
    default: return;
  }
  if (shift != 0 && entryKey != TEntryKey::kEnter) return;
  int pressed = key;
  switch (entry_.EntryKey(entryKey)) {
    case TEntryKeyResult::kNotHandled:
      return;
    case TEntryKeyResult::kPassToPane:
      // The pane has the focus now; the key moves its pointer.
      PostMessageA(GetFocus(), WM_KEYDOWN, static_cast<WPARAM>(pressed), 1);
      break;
    case TEntryKeyResult::kFunctionPick:
      RunCommand(TCommandId::kFunctionPick);
      break;
    case TEntryKeyResult::kMacroPick:
      RunCommand(TCommandId::kMacroPick);
      break;
    case TEntryKeyResult::kHandled:
      break;
  }
  key = 0;
  RefreshIndicators();
}

// ---- File commands' frame ------------------------------------------------------------------------

TForm* TForm1::ActiveSheetWindow() const { return ActiveMDIChild(); }

std::vector<TForm*> TForm1::SheetWindows() const {
  std::vector<TForm*> windows;
  HWND client = ClientHandle();
  if (client == nullptr) return windows;
  if (TForm* active = ActiveMDIChild()) windows.push_back(active);
  for (HWND h = GetWindow(client, GW_CHILD); h != nullptr; h = GetWindow(h, GW_HWNDNEXT)) {
    auto* form = dynamic_cast<TForm*>(FromHandle(h));
    if (form != nullptr && form->FormStyle == TFormStyle::fsMDIChild &&
        std::find(windows.begin(), windows.end(), form) == windows.end())
      windows.push_back(form);
  }
  return windows;
}

bool TForm1::CreateSheetWindow(std::string_view name, bool untitled) {
  return sheets_.CreateSheetWindow(*this, name, untitled) != nullptr;
}

void TForm1::DiscardActiveSheetWindow() {
  if (TForm* window = ActiveSheetWindow()) sheets_.DiscardSheetWindow(window);
}

bool TForm1::CloseActiveSheetWindow() {
  TForm* window = ActiveSheetWindow();
  if (window == nullptr) return true;
  window->Close();
  Application().ProcessMessages();
  std::vector<TForm*> open = SheetWindows();
  return std::find(open.begin(), open.end(), window) == open.end() || !window->Visible();
}

int TForm1::SheetWindowCount() { return static_cast<int>(SheetWindows().size()); }

void TForm1::RenameActiveSheetWindow(std::string_view name) { sheets_.RenameActiveSheetWindow(name); }

bool TForm1::BringDocumentToFront(std::string_view name) {
  // A name with a folder names one file, in the spelling documents are known
  // by (their full paths); a name without one (a macro's FILEFOCUS and
  // FILECLOSE may give one) is the first open document of that name, in
  // whatever folder. Every window of that one document comes forward.
  const bool anyFolder = FileNameOnly(name) == name;
  const std::string wanted = anyFolder ? WksFileName(name) : DocumentFileName(name);
  std::string document;
  const std::vector<TForm*> windows = SheetWindows();
  for (TForm* window : windows) {
    const std::string caption = WksFileName(window->Caption());
    if ((anyFolder ? FileNameOnly(caption) : caption) == wanted) {
      document = caption;
      break;
    }
  }
  if (document.empty()) return false;
  for (TForm* window : windows)
    if (WksFileName(window->Caption()) == document) MDIActivate(window);
  return true;
}

namespace {

struct TFileDialog {
  const char* title;
  const char* filter;  // pairs of 0-ended texts, ended by a further 0
  const char* defaultExtension;
  DWORD flags;
};

// Runs an open or save dialog starting in `start` with `proposed` as the
// name; `folder` gets the folder the dialog ended in.
bool RunFileDialog(HWND owner, const TFileDialog& d, bool save, std::string_view proposed, const std::string& start,
                   std::string& name, std::string& folder) {
  char file[MAX_PATH] = {};
  std::string given(proposed.substr(0, MAX_PATH - 1));
  std::copy(given.begin(), given.end(), file);
  OPENFILENAMEA ofn = {};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = d.filter;
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = file;
  ofn.nMaxFile = MAX_PATH;
  ofn.lpstrInitialDir = start.empty() ? nullptr : start.c_str();
  ofn.lpstrTitle = d.title;
  ofn.lpstrDefExt = d.defaultExtension;
  // The setting of the further option picks the old style of dialog.
  ofn.Flags = d.flags | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | (ProgramSettings().Ocfds ? 0 : OFN_EXPLORER);
  bool chosen = (save ? GetSaveFileNameA(&ofn) : GetOpenFileNameA(&ofn)) != FALSE;
  name = chosen ? std::string(file) : std::string();
  folder = chosen ? FolderOnly(name) : start;
  return chosen;
}

}  // namespace

bool TForm1::ChooseOpenFile(std::string& name, std::string& folder) {
  static const TFileDialog kOpen{"CORVANE OPEN",
                                 "Worksheets (*.wks,*.wk1)\0*.wks;*.wk1\0Backups (*.wkb)\0*.wkb\0All Files\0*.*\0", "wks",
                                 OFN_FILEMUSTEXIST};
  return RunFileDialog(Handle(), kOpen, false, "*.wks;*.wk1", ProgramSettings().LoadDir, name, folder);
}

bool TForm1::ChooseSaveFile(std::string_view proposed, std::string_view startFolder, std::string& name,
                            std::string& folder) {
  static const TFileDialog kSave{"Corvane SAVE AS...", "Worksheets(*.WKS)\0*.Wk?\0", "WKS",
                                 OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST};
  return RunFileDialog(Handle(), kSave, true, proposed, std::string(startFolder), name, folder);
}

void TForm1::SheetOpened() {
  TWindowServices& ws = WindowServices();
  ws.FocusActivePane();
  RefreshIndicators();
}

void TForm1::RecalculateAll() { sheets_.RecalculateAll(); }

// ---- The sheet windows' side ------------------------------------------------------------

bool TForm1::EntryEnabled() const { return !Edit1.ReadOnly(); }

void TForm1::StartEntry(char ch) { entry_.PaneChar(ch); }

void TForm1::EditCurrentCell() { entry_.EditCurrentCell(); }

void TForm1::CommitEntry() { entry_.EditExit(); }

void TForm1::CommitPointedEntry() { entry_.PointCommit(); }

void TForm1::AnchorPoint() { entry_.PointAnchor(); }

void TForm1::EndPointing() { entry_.PointEscape(); }

void TForm1::CycleReferenceMode() {
  entry_.CycleReferenceMode();
  RefreshIndicators();
}

void TForm1::PromptLineChar(char ch) {
  Prompt1.FocusInput();
  TWinControl& input = Prompt1.Mode() ? static_cast<TWinControl&>(Prompt1.Edit()) : Prompt1.Combo();
  HWND target = GetFocus() != nullptr ? GetFocus() : input.Handle();
  SendMessageA(target, WM_CHAR, static_cast<unsigned char>(ch), 1);
}

void TForm1::SetPromptList(const std::vector<std::string>& items) { Prompt1.SetItems(items); }

void TForm1::RefreshLockPanel(int key) {
  RefreshLockPanels();
  if (key == VK_INSERT) entry_.InsertToggled(KeyToggled(VK_INSERT));
}

void TForm1::OpenMenuBar(bool skipSystemMenu) {
  PostMessageA(Handle(), WM_SYSCOMMAND, SC_KEYMENU, 0);
  // A maximised sheet window puts its system menu first.
  if (skipSystemMenu) PostMessageA(Handle(), WM_KEYDOWN, VK_RIGHT, 1);
}

std::unique_ptr<TPopupMenu> TForm1::PaneMenu() {
  auto menu = std::make_unique<TPopupMenu>(nullptr);
  std::vector<std::pair<TMenuItem*, const TMenuSpec*>> specs;
  AddSpecItems(*menu->Items(), PanePopupSpec(), specs, [this](TCommandId id) { RunCommand(id); });
  TCommandState state = CommandState();
  for (auto& [item, spec] : specs) item->Enabled = commands_.Enabled(spec->command, state);
  return menu;
}

void TForm1::ShowPaneMenu(TPoint screen) {
  std::unique_ptr<TPopupMenu> menu = PaneMenu();
  HMENU popup = CreatePopupHandle(*menu->Items());
  int chosen = TrackPopupMenu(popup, TPM_RETURNCMD | TPM_RIGHTBUTTON, screen.x, screen.y, 0, Handle(), nullptr);
  DestroyMenu(popup);
  if (chosen == 0) return;
  if (TMenuItem* item = menu->Items()->Find(static_cast<std::uint16_t>(chosen))) item->Click();
}

void TForm1::ShowRangeProperties() { RunCommand(TCommandId::kPropFormat); }

bool TForm1::CtrlKeysForCommands() const {
  return ProgramSettings().WinCtrl && (!macroHost_ || macroHost_->CtrlShortcuts());
}

namespace {

// The table command a sheet window's command key runs (none for the next
// window, which the frame's MDI handling does).
TCommandId KeyCommand(TFrameCommand command) {
  switch (command) {
    case TFrameCommand::kBold: return TCommandId::kBold;
    case TFrameCommand::kItalic: return TCommandId::kItalic;
    case TFrameCommand::kUnderline: return TCommandId::kUnderline;
    case TFrameCommand::kCopy: return TCommandId::kCopy;
    case TFrameCommand::kCut: return TCommandId::kCut;
    case TFrameCommand::kPaste: return TCommandId::kPaste;
    case TFrameCommand::kEraseRange: return TCommandId::kDelete;
    case TFrameCommand::kUndo: return TCommandId::kUndo;
    case TFrameCommand::kHelpIndex: return TCommandId::kHelpContents;
    case TFrameCommand::kGraphWindow: return TCommandId::kGraphView;
    case TFrameCommand::kNextSheetWindow: break;
  }
  return TCommandId::kNone;
}

constexpr TFrameCommand kKeyCommands[] = {
    TFrameCommand::kBold,       TFrameCommand::kItalic, TFrameCommand::kUnderline, TFrameCommand::kCopy,
    TFrameCommand::kCut,        TFrameCommand::kPaste,  TFrameCommand::kEraseRange, TFrameCommand::kUndo,
    TFrameCommand::kHelpIndex,  TFrameCommand::kGraphWindow};

void AddMenuCommands(const TMenuItem& parent, const std::string& path,
                     std::vector<std::pair<std::string, TCommandId>>& out) {
  for (int i = 0; i < parent.Count(); ++i) {
    const TMenuItem& item = *parent.Items(i);
    const std::string where = path + " > " + item.Caption;
    if (item.Tag != 0) out.emplace_back(where, static_cast<TCommandId>(item.Tag));
    AddMenuCommands(item, where, out);
  }
}

void AddSpecCommands(const std::vector<TMenuSpec>& specs, const std::string& path,
                     std::vector<std::pair<std::string, TCommandId>>& out) {
  for (const TMenuSpec& spec : specs) {
    if (spec.command != TCommandId::kNone) out.emplace_back(path + " > " + spec.caption, spec.command);
    AddSpecCommands(spec.items, path + " > " + spec.caption, out);
  }
}

}  // namespace

void TForm1::RunCommand(TFrameCommand command) {
  if (command == TFrameCommand::kNextSheetWindow)
    MDINext();
  else
    RunCommand(KeyCommand(command));
}

std::vector<std::pair<std::string, TCommandId>> TForm1::OfferedCommands() const {
  std::vector<std::pair<std::string, TCommandId>> offered;
  if (mainMenu_ != nullptr) AddMenuCommands(*mainMenu_->Items(), "menu", offered);
  AddSpecCommands(PanePopupSpec(), "pop-up", offered);
  for (const TBarButton& b : barButtons_) {
    offered.emplace_back("button " + b.spec.hint, b.spec.command);
    if (b.spec.second != TCommandId::kNone) offered.emplace_back("button " + b.spec.hint, b.spec.second);
  }
  for (TCommandId box : {TCommandId::kFontName, TCommandId::kFontSize, TCommandId::kSpeedFormat,
                         TCommandId::kFillColour, TCommandId::kTextColour})
    offered.emplace_back(std::string("box ") + TCommandTable::Info(box).name, box);
  for (std::size_t k = 0; k < std::size(kLockCommands); ++k)
    offered.emplace_back(std::string("panel ") + kLockCaptions[k], kLockCommands[k]);
  for (TFrameCommand key : kKeyCommands) offered.emplace_back("key", KeyCommand(key));
  return offered;
}

void TForm1::ProcessMessages() { Application().ProcessMessages(); }

TSaveAnswer TForm1::AskSave(std::string_view caption) {
  std::string text = "Save Worksheet \n" + std::string(caption) + "?";
  switch (MessageBoxA(Handle(), text.c_str(), kFrameCaption, MB_YESNOCANCEL | MB_ICONQUESTION)) {
    case IDYES: return TSaveAnswer::kYes;
    case IDNO: return TSaveAnswer::kNo;
    default: return TSaveAnswer::kCancel;
  }
}

void TForm1::SetWaitCursor(bool on) { SetCursor(LoadCursor(nullptr, on ? IDC_WAIT : IDC_ARROW)); }

void TForm1::ShowWaitMode() { SetModeIndicator(kModeWait.text, kModeWait.colour); }

std::string TForm1::UserName() {
  char name[256] = {};
  DWORD size = sizeof name;
  return GetUserNameA(name, &size) ? std::string(name) : std::string();
}

// ---- Messages ----------------------------------------------------------------------------------------

bool TForm1::CloseQuery() {
  // A running macro works on the documents: it is stopped first, and the
  // close comes again once it has ended.
  if (CloseAfterMacro()) return false;
  // Every sheet window asks about its own document; one that stays keeps
  // the program running.
  if (!files_.CloseAll()) return false;
  return TForm::CloseQuery();
}

void TForm1::WndProc(TMessage& Message) {
  if (Message.Window == Handle()) {
    if (instanceMessage_ != 0 && Message.Msg == instanceMessage_) {
      OpenHandedOver("");
      Message.Result = 0;
      return;
    }
    switch (Message.Msg) {
      case WM_COPYDATA: {
        const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(Message.LParam);
        std::string fileName;
        if (data != nullptr && data->dwData == instanceMessage_ &&
            DecodeHandOver(std::string_view(static_cast<const char*>(data->lpData), data->cbData), fileName)) {
          // Opened after the sender is done waiting: a dialog or message box
          // must not run inside the sender's SendMessage.
          auto* copy = new std::string(std::move(fileName));
          if (!PostMessageA(Handle(), kOpenHandedOverMessage, 0, reinterpret_cast<LPARAM>(copy))) delete copy;
          Message.Result = TRUE;
        }
        return;
      }
      case kOpenHandedOverMessage: {
        std::unique_ptr<std::string> fileName(reinterpret_cast<std::string*>(Message.LParam));
        OpenHandedOver(*fileName);
        return;
      }
      case WM_INITMENU:
        RefreshMenuStates();
        break;
      case WM_MENUSELECT:
        MenuSelected(LOWORD(Message.WParam), HIWORD(Message.WParam), reinterpret_cast<HMENU>(Message.LParam));
        break;
      case WM_ACTIVATEAPP:
        if (Message.WParam) RefreshLockPanels();
        break;
      case WM_ENABLE:
        // The dialog or message box the frame waited for has closed.
        if (Message.WParam && !handedOver_.empty()) OpenWaitingHandOvers();
        break;
      default:
        break;
    }
  }
  TForm::WndProc(Message);
}

}  // namespace corvane
