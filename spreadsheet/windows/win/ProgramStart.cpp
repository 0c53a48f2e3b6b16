// Start-up and end of the spreadsheet program.
#include "spreadsheet/windows/win/ProgramStart.h"

#include "classlib/win/Win32.h"

#include <memory>

#include "classlib/win/Application.h"
#include "spreadsheet/engine/DocumentTable.h"
#include "spreadsheet/engine/EnginePlatform.h"
#include "spreadsheet/engine/PagePool.h"
#include "spreadsheet/engine/ShowError.h"
#include "spreadsheet/engine/UserFunctions.h"
#include "spreadsheet/files/SettingsFile.h"
#include "spreadsheet/files/WorksheetFile.h"
#include "spreadsheet/windows/Startup.h"
#include "spreadsheet/windows/win/InfoForms.h"
#include "spreadsheet/windows/win/MainFrame.h"
#include "spreadsheet/windows/win/RangeNameForm.h"

namespace corvane {

using namespace classlib;

namespace {

constexpr const char* kInstanceMutexName = "CORVANE60CORVANEWORKS.Instance";
constexpr const char* kFrameClassName = "TForm1";
constexpr DWORD kFrameWaitMs = 15000;
constexpr DWORD kHandOverTimeoutMs = 10000;

std::string ProgramPath() {
  char path[MAX_PATH] = {};
  return std::string(path, GetModuleFileNameA(nullptr, path, MAX_PATH));
}

std::string CurrentFolder() {
  char path[MAX_PATH] = {};
  DWORD n = GetCurrentDirectoryA(MAX_PATH, path);
  return n > 0 && n < MAX_PATH ? std::string(path, n) : std::string();
}

// The system's window animation is switched off while the program runs, for
// this session only (never written to the user's profile), and switched back
// on every way out, the unhandled ones included.
class TWindowAnimationOff {
 public:
  TWindowAnimationOff() {
    saved_.cbSize = sizeof saved_;
    if (!SystemParametersInfoA(SPI_GETANIMATION, sizeof saved_, &saved_, 0)) return;
    ANIMATIONINFO off = saved_;
    off.iMinAnimate = 0;
    changed_ = SystemParametersInfoA(SPI_SETANIMATION, sizeof off, &off, 0) != FALSE;
    if (changed_) active_ = this;
  }
  ~TWindowAnimationOff() { Restore(); }
  TWindowAnimationOff(const TWindowAnimationOff&) = delete;
  TWindowAnimationOff& operator=(const TWindowAnimationOff&) = delete;

  void Restore() {
    if (!changed_) return;
    changed_ = false;
    SystemParametersInfoA(SPI_SETANIMATION, sizeof saved_, &saved_, 0);
    if (active_ == this) active_ = nullptr;
  }
  static void RestoreActive() {
    if (active_ != nullptr) active_->Restore();
  }

 private:
  ANIMATIONINFO saved_{};
  bool changed_ = false;
  static inline TWindowAnimationOff* active_ = nullptr;
};

LONG WINAPI RestoreOnCrash(EXCEPTION_POINTERS*) {
  TWindowAnimationOff::RestoreActive();
  return EXCEPTION_CONTINUE_SEARCH;
}

// Handles messages until `ms` milliseconds after `start` (tick counts).
void WaitForSplash(std::uint32_t start) {
  while (SplashMustWait(start, GetTickCount())) {
    Application().ProcessMessages();
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
  }
}

}  // namespace

bool HandOverToRunningInstance(const std::string& commandLine) {
  // The mutex lives as long as this process; a second start finds it there.
  HANDLE mutex = CreateMutexA(nullptr, FALSE, kInstanceMutexName);
  if (mutex == nullptr || GetLastError() != ERROR_ALREADY_EXISTS) return false;
  CloseHandle(mutex);

  UINT instanceMessage = RegisterWindowMessageA(kInstanceMessageName);
  // The running instance may still be starting: its frame comes soon.
  HWND frame = nullptr;
  for (DWORD waited = 0; frame == nullptr && waited < kFrameWaitMs; waited += 100) {
    frame = FindWindowA(kFrameClassName, nullptr);
    if (frame == nullptr) Sleep(100);
  }
  // This start holds the foreground the user gave it; the running instance
  // may take it, to bring itself (or the dialog it shows) to the front.
  if (frame != nullptr) {
    DWORD running = 0;
    GetWindowThreadProcessId(frame, &running);
    AllowSetForegroundWindow(running);
  }
  PostMessageA(HWND_BROADCAST, instanceMessage, 0, 0);
  // Each file in turn; the running instance opens them in this order.
  for (const std::string& name : CommandLineFileNames(commandLine)) {
    const std::string file = AbsoluteFileName(name, CurrentFolder());
    std::string problem = StartFileProblem(file);
    std::string data = EncodeHandOver(file);
    COPYDATASTRUCT copy = {instanceMessage, static_cast<DWORD>(data.size()), data.data()};
    DWORD_PTR answer = 0;
    bool taken = problem.empty() && frame != nullptr &&
                 SendMessageTimeoutA(frame, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&copy), SMTO_ABORTIFHUNG,
                                     kHandOverTimeoutMs, &answer) != 0 &&
                 answer == TRUE;
    if (!taken) {
      std::string text = problem.empty() ? "The running Corvane did not take the file " + file : problem;
      MessageBoxA(nullptr, text.c_str(), "Corvane", MB_OK | MB_ICONERROR);
    }
  }
  return true;
}

int RunSpreadsheetProgram(const TProgramStart& start) {
  Application().Title = "Corvane";
  SetUnhandledExceptionFilter(RestoreOnCrash);

  TProgramFiles files = ProgramFilesFor(ProgramPath());
  const std::vector<std::string> named = CommandLineFileNames(GetCommandLineA());
  const std::string argument = named.empty() ? std::string() : named.front();

  // The splash window, painted before anything is loaded.
  auto splash = std::make_unique<Topenup>(nullptr);
  splash->Show();
  splash->Update();
  Application().ProcessMessages();
  HCURSOR previousCursor = SetCursor(LoadCursor(nullptr, IDC_WAIT));
  std::uint32_t startTick = GetTickCount();

  // The frame: settings, user functions, the start file; disabled until the
  // start-up ends.
  TWindowAnimationOff animationOff;
  TProgramSettings& settings = ProgramSettings();
  settings.ProgramFolder = files.folder;
  settings.BaseName = files.baseName;
  auto frame = std::make_unique<TForm1>(nullptr, *start.sheets);
  frame->SetEnabled(false);
  if (start.installSeams) start.installSeams(*frame);
  // The page pool, sized by the machine's memory as the platform tells it.
  PoolInit();
  ReadSettingsFile();
  LoadUserFunctions(ProgramFile(files, ".USR"));
  frame->RecentFilesChanged();
  frame->LoadStyleBoxes();
  std::string startFile = StartFileName(argument, CurrentFolder(), files, settings.AutoExec);
  frame->QuickBar.SetVisible(settings.QBar);
  // The macro toolbar: its lines from the program's macro library, its
  // glyphs from MACROS.BTN beside the program.
  std::vector<std::string> macroLines;
  ReadMacroLibrary(ProgramFile(files, ".MAC"), macroLines);
  frame->tbarmenu1.SetItems(macroLines);
  frame->tbarmenu1.SetGlyphFile(files.folder + "MACROS.BTN");
  frame->tbarmenu1.SetVisible(settings.MBar);
  frame->StatusLine.SetVisible(settings.SBar);
  frame->Show();
  // The Insert toggle starts on.
  BYTE keys[256];
  if (GetKeyboardState(keys)) {
    keys[VK_INSERT] |= 1;
    SetKeyboardState(keys);
  }
  frame->RefreshLockPanels();
  frame->Update();
  // The splash stays in front of the frame until it goes.
  SetWindowPos(splash->Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  splash->Update();

  frame->PreloadDialogs(settings.Preload);

  WaitForSplash(startTick);
  SetCursor(previousCursor);
  splash.reset();
  ProgramStarted() = true;

  if (settings.Tips) {
    TTipform tips(nullptr);
    if (tips.LoadTips(ProgramFile(files, ".TPS"))) tips.ShowModal();
  }

  // The frame takes commands before the first document opens, so that
  // anything the document starts meets a live window.
  frame->SetEnabled(true);
  std::string problem = StartFileProblem(startFile);
  if (!problem.empty()) {
    ShowError(problem);
    startFile.clear();
  }
  bool open = OpenFirstDocument(frame->Files(), startFile, settings.PreOpen, argument.empty());
  frame->SetSheetState(open);
  if (open) frame->RefreshIndicators();
  // The further files named on the command line, one after the other.
  for (std::size_t i = 1; i < named.size(); ++i)
    if (OpenNamedFile(frame->Files(), AbsoluteFileName(named[i], CurrentFolder()))) frame->RefreshIndicators();

  Application().Run();

  WriteMacroLibrary(ProgramFile(files, ".MAC"), frame->tbarmenu1.Items());
  frame.reset();
  FreeAllDocuments();
  WriteSettingsFile();
  animationOff.Restore();
  return 0;
}

}  // namespace corvane
