// Foldwick's start: the application's title and help file, the main window,
// the message loop.
#include "classlib/win/Win32.h"

#include <objbase.h>
#include <shellapi.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "analyser/app/win/FileListing.h"
#include "analyser/app/win/MainForm.h"
#include "classlib/win/Application.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  classlib::TApplication& app = classlib::Application();
  app.Title = foldwick::kApplicationTitle;
  // The help file sits beside the program.
  char exe[MAX_PATH] = "";
  const DWORD n = GetModuleFileNameA(nullptr, exe, sizeof exe);
  std::string folder(exe, n);
  folder = folder.substr(0, folder.find_last_of('\\'));
  app.HelpFile = folder + "\\Foldwick.hlp";

  // The parameters are read as wide text and kept as UTF-8, so that a folder
  // named outside the ANSI code page is found.
  std::vector<std::string> params;
  int count = 0;
  if (LPWSTR* args = CommandLineToArgvW(GetCommandLineW(), &count)) {
    for (int i = 1; i < count; ++i) params.push_back(foldwick::Utf8FromWide(args[i]));
    LocalFree(args);
  }
  {
    foldwick::TMainForm form(std::move(params));
    form.Show();
    app.Run();
  }
  CoUninitialize();
  return 0;
}
