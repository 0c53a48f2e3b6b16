// TForm1, the main frame: an MDI frame with the main menu, the quick bar, the
// style bar, the entry panel (mode panel, entry line and its buttons), the
// prompt line and the status line. Its logic is portable: the command table
// (Commands.h, MenuLayout.h), the entry line (EntryLine.h) and the file
// commands (FileCommands.h); this class holds the controls and copies state
// between them and those pieces. The sheet windows are reached through
// TSheetWindows, which the sheet window code provides.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "classlib/win/MainMenu.h"
#include "classlib/win/StdCtrls.h"
#include "spreadsheet/controls/win/DropPickers.h"
#include "spreadsheet/controls/win/PromptWindow.h"
#include "spreadsheet/controls/win/SplitButtonWindow.h"
#include "spreadsheet/macros/win/MacroBarWindow.h"
#include "spreadsheet/windows/Commands.h"
#include "spreadsheet/windows/EntryLine.h"
#include "spreadsheet/windows/FileCommands.h"
#include "spreadsheet/windows/MenuLayout.h"
#include "spreadsheet/windows/SheetFrame.h"

namespace classlib {
class TTimer;
}

namespace corvane {

class TForm1;
class TFrameMacroHost;
class TKeyReplayQueue;
class TWinKeyLayout;
class TSheetView;
struct TTextDialogHost;
class TGraphView;
class TGrange;
class TSortDlg;
class TMatrixDlg;
class Tmyprint;
class TPropty;

// What the frame needs of the sheet windows (TForm2): making one for a
// document, and the few things only a sheet window knows.
class TSheetWindows {
 public:
  virtual ~TSheetWindows() = default;
  // Creates the sheet window captioned `name` as an MDI child of `frame`: it
  // registers its document (untitled for a new sheet), becomes the active
  // window and its document the current one. Null when it could not be made.
  virtual classlib::TForm* CreateSheetWindow(TForm1& frame, std::string_view name, bool untitled) = 0;
  // Another window on the document `view` shows, saved or not; null when it
  // could not be made (or the sheet windows cannot share documents).
  virtual classlib::TForm* CreateSecondWindow(TForm1& /*frame*/, TSheetView& /*view*/) { return nullptr; }
  // Closes `window` at once, without its save question.
  virtual void DiscardSheetWindow(classlib::TForm* window) = 0;
  // The active window's caption and its document's stored name after Save
  // As.
  virtual void RenameActiveSheetWindow(std::string_view name) = 0;
  // The active window's active pane: its extend mode.
  virtual void SetGridExtendMode(bool on) = 0;
  // The active window's own font and the font list its cells index.
  virtual TSheetFonts SheetFonts() = 0;
  // The program's font list, in the order cells number fonts.
  virtual void SetFontList(const std::vector<std::string>& faces) = 0;
  // Re-reads the linked files and recalculates every open document.
  virtual void RecalculateAll() = 0;
  // The active window's view (its panes, split and document), or null.
  virtual TSheetView* ActiveView() = 0;
};

class TForm1 : public classlib::TForm, public TEntryLineView, public TFileCommandHost, public TSheetFrame {
 public:
  TForm1(classlib::TComponent* AOwner, TSheetWindows& sheets);
  ~TForm1() override;

  TCommandTable& Commands() { return commands_; }
  TEntryLine& Entry() { return entry_; }
  TFileCommands& Files() { return files_; }
  // What the enabling rules see now.
  TCommandState CommandState();
  // Runs a command of the table (false when it is disabled now).
  bool RunCommand(TCommandId id);
  // Every command the built frame offers, with where: the items of its main
  // menu, the panes' pop-up menu, its buttons, boxes and lock panels, and
  // the sheet windows' command keys.
  std::vector<std::pair<std::string, TCommandId>> OfferedCommands() const;

  // The active sheet window, or null; all of them, the active one first.
  classlib::TForm* ActiveSheetWindow() const;
  std::vector<classlib::TForm*> SheetWindows() const;

  // The lock-key panels from the keyboard's state.
  void RefreshLockPanels();
  // The graph window on the current graph, normal or maximised (bit 0 of
  // `flags`), closed again after `milliseconds` unless 0.
  void ShowGraphView(int flags, int milliseconds);
  // The active sheet window's view, or null.
  TSheetView* ActiveSheetView() { return sheets_.ActiveView(); }

  // ---- TSheetFrame: what the sheet windows ask of the frame --------------------
  bool Pointing() const override { return entry_.Pointing(); }
  bool Editing() const override { return entry_.Editing(); }
  bool EntryEnabled() const override;
  void StartEntry(char ch) override;
  void EditCurrentCell() override;
  void CommitEntry() override;
  void CommitPointedEntry() override;
  void AnchorPoint() override;
  void EndPointing() override;
  void CycleReferenceMode() override;
  void ResetReferenceMode() override { entry_.ResetReferenceMode(); }
  void PromptLineChar(char ch) override;
  void SetPromptList(const std::vector<std::string>& items) override;
  // The indicators for the active sheet's cursor cell.
  void RefreshIndicators() override;
  void RefreshLockPanel(int key) override;
  bool EndMode() const override { return endMode_; }
  void SetEndMode(bool on) override;
  bool DeliverCapturedKey(char ch) override;
  void BreakMacro() override;
  void OpenMenuBar(bool skipSystemMenu) override;
  void ShowPaneMenu(classlib::TPoint screen) override;
  void ShowRangeProperties() override;
  bool CtrlKeysForCommands() const override;
  void RunCommand(TFrameCommand command) override;
  void ProcessMessages() override;
  TSaveAnswer AskSave(std::string_view caption) override;
  bool SaveAs() override { return files_.SaveAs(); }
  void NoSheetWindows() override { SetSheetState(false); }
  void ShowProgress(int done, int total) override;
  void HideProgress() override;
  void SetWaitCursor(bool on) override;
  void EnableMainWindow() override { SetEnabled(true); }
  void SetMainMenusEnabled(bool enabled) override;
  void ShowPromptLine(std::string_view caption, std::string_view text) override;
  std::string PromptLineText() override;
  void HidePromptLine() override;
  void SetModeIndicator(std::string_view text, int colour) override;
  void ShowReadyMode() override;
  void ShowWaitMode() override;
  std::string UserName() override;

  // ---- Start-up and program end ------------------------------------------------
  // The menus, bars and panels for the sheet-open or the no-sheet state.
  void SetSheetState(bool sheetOpen) override;
  // Fills the font box with the screen's fonts (handing the list to the sheet
  // windows), the size box and the format box with the settings' formats.
  void LoadStyleBoxes();
  // Creates the dialogs that exist of the preload level's tiers.
  void PreloadDialogs(int level);
  // Brings the program forward for a second start of it, and opens the file
  // it handed over (none when empty): at once, or when the dialog, message
  // box, range prompt or handed-over file being opened before it has ended.
  void OpenHandedOver(const std::string& fileName);

  // ---- TEntryLineView -------------------------------------------------------------
  std::string EntryText() override;
  void SetEntryText(std::string_view text) override;
  void TypeChar(char ch) override;
  void CaretToEnd() override;
  void SetEditButtonsVisible(bool visible) override;
  void SetEntryColours(bool editing, bool errorText) override;
  void SetPickButtonsEnabled(bool enabled) override;
  void SetEntryEnabled(bool enabled) override;
  void FocusEntry() override;
  bool InsertToggleOn() override;
  void SetGridExtendMode(bool on) override;
  void SetStatusText(std::string_view text) override;
  void SetPromptText(std::string_view text) override;
  void ShowCellStyle(const TCellStyleIndicators& style) override;
  TSheetFonts SheetFonts() override;

  // ---- TFileCommandHost ------------------------------------------------------------
  bool CreateSheetWindow(std::string_view name, bool untitled) override;
  void DiscardActiveSheetWindow() override;
  bool CloseActiveSheetWindow() override;
  int SheetWindowCount() override;
  void RenameActiveSheetWindow(std::string_view name) override;
  bool BringDocumentToFront(std::string_view name) override;
  bool ChooseOpenFile(std::string& name, std::string& folder) override;
  bool ChooseSaveFile(std::string_view proposed, std::string_view startFolder, std::string& name,
                      std::string& folder) override;
  void SheetOpened() override;
  void RecalculateAll() override;
  void RecentFilesChanged() override;
  // AUTOEXEC ranges, the sheet windows' macro starts, macro buttons and the
  // macro toolbar: the macro runs to its end, its keys replayed into the
  // program and its commands carried out. Nothing while one runs already.
  void RunMacroAt(int row, int col) override;
  // Runs the macro RunMacroAt asked for, if it still waits.
  void StartPendingMacro();
  void RunMacroText(std::string_view text) override;
  // The question before a worksheet's AUTOEXEC and Ctrl+letter macros may
  // run: Yes or No, No the default.
  bool AllowAutoExec(std::string_view fileName, std::string_view macros) override;
  void ShowSheetGraph(std::string_view name) override;

  // ---- Controls -----------------------------------------------------------------------
  classlib::TPanel QuickBar{nullptr};
  classlib::TPanel StyleBar{nullptr};
  classlib::TPanel EntryPanel{nullptr};
  classlib::TPanel PnMode{nullptr};
  classlib::TEdit Edit1{nullptr};
  Tspdbtn EnterButton{nullptr};
  Tspdbtn EscButton{nullptr};
  Tprompt Prompt1{nullptr};
  classlib::TPanel StatusLine{nullptr};
  tbarmenu tbarmenu1{nullptr};  // the macro toolbar
  classlib::TPanel PnProgress{nullptr};
  classlib::TPanel PnCell{nullptr};
  classlib::TPanel PnRecalc{nullptr};
  classlib::TComboBox FontBox{nullptr};
  classlib::TComboBox SizeBox{nullptr};
  classlib::TComboBox FormatBox{nullptr};
  // The style bar's "Background" (fill colour) and "Foreground" (text
  // colour) boxes.
  Tclrcombo FillBox{nullptr};
  Tclrcombo TextBox{nullptr};
  // The lock-key panels: INS, END, NUM, SCR, CAP.
  classlib::TPanel& LockPanel(int index) { return *lockPanels_[static_cast<std::size_t>(index)]; }
  // The menu bar (its items carry their command in Tag, a column its hint in
  // Name).
  classlib::TMainMenu& MainMenu() { return *mainMenu_; }
  // The panes' pop-up menu as it shows now: its items enabled by the rules.
  std::unique_ptr<classlib::TPopupMenu> PaneMenu();
  // The screen's font names in the order cells number them.
  const std::vector<std::string>& FontList() const { return fontNames_; }

 protected:
  void CreateParams(TCreateParams& Params) override;
  void WindowCreated() override;
  void WndProc(classlib::TMessage& Message) override;
  bool CloseQuery() override;

 private:
  void BuildBars();
  void BuildStatusLine();
  void BuildMenus();
  void BindCommands();
  // Ends the range prompt (accepted or not) and shows the cursor cell again.
  void EndRangePrompt(bool accept);
  // What the function list, justify and word dialogs need of the frame.
  TTextDialogHost TextDialogHost();
  // The print dialog, made when first asked for.
  Tmyprint& PrintDialog();
  void RefreshMenuStates();
  // The window the user meets the program in: the frame, or the dialog or
  // message box in front of it that it waits for.
  HWND FrontWindow();
  // Opens the files handed over while the frame waited.
  void OpenWaitingHandOvers();
  // Whether a file handed over now has to wait (a dialog, a message box, a
  // range prompt or a macro holds the program).
  bool HandOverMustWait();
  void MenuSelected(UINT item, UINT flags, HMENU menu);
  void RefreshButtonStates();
  void EntryKeyDown(int& key, classlib::TShiftState shift);
  void PaintPanelColours(classlib::TPanel& panel, int colourByte);
  // The macro run's host, key player and layout (FrameMacros.cpp).
  void InstallMacroHost();
  void RemoveMacroHost();
  void BindMacroCommands();
  void RunMacro(bool started);
  // While a macro runs: breaks it and closes the frame once it has ended
  // (true); false when none runs.
  bool CloseAfterMacro();
  bool closeAfterMacro_ = false;
  std::optional<std::pair<int, int>> pendingMacro_;  // row and column of a macro about to start

  TSheetWindows& sheets_;
  TCommandTable commands_;
  TEntryLine entry_{*this};
  TFileCommands files_{*this};
  // A button of the quick bar or the style bar and what its face shows.
  struct TBarButton {
    std::unique_ptr<Tspdbtn> button;
    TToolButtonSpec spec;
    bool enabled = true;
    bool down = false;
  };
  void ShowButtonFace(TBarButton& button);
  std::vector<TBarButton> barButtons_;
  std::vector<std::unique_ptr<classlib::TPanel>> lockPanels_;
  std::vector<std::string> fontNames_;
  classlib::TForm* rangeDialog_ = nullptr;
  // The hint of the button under the mouse, shown as the frame's caption.
  void ShowHint(HWND over, const std::string& hint);
  classlib::TTimer* hintTimer_ = nullptr;  // owned by the frame
  HWND hintOver_ = nullptr;
  TPropty* properties_ = nullptr;  // owned as a component
  TGraphView* graphView_ = nullptr;  // owned as components
  TGrange* graphSettings_ = nullptr;
  TSortDlg* dataDialog_ = nullptr;
  TMatrixDlg* arrayDialog_ = nullptr;
  Tmyprint* printDialog_ = nullptr;
  classlib::TMainMenu* mainMenu_ = nullptr;  // owned as a component
  std::vector<std::pair<classlib::TMenuItem*, const TMenuSpec*>> menuSpecs_;
  bool menusEnabled_ = true;
  bool sheetState_ = false;
  // What the entry line's cell allows, apart from there being a sheet.
  bool entryEditable_ = true;
  bool endMode_ = false;
  UINT instanceMessage_ = 0;
  std::vector<std::string> handedOver_;  // files handed over, waiting their turn
  bool openingHandedOver_ = false;
  std::unique_ptr<TFrameMacroHost> macroHost_;
  std::unique_ptr<TKeyReplayQueue> keyQueue_;
  std::unique_ptr<TWinKeyLayout> keyLayout_;
};

}  // namespace corvane
