// The class table and command-line rules of the context-menu handlers.
#include "shellext/HandlerCommands.h"

namespace handler {

namespace {
constexpr const char* kEncryptError =
    "Error Launching Encryption Engine. You may have lost some settings: Reinstall Velmoc to correct.";
constexpr const char* kAutocipherError =
    "Error Launching Autocipher Engine. You may have lost some settings: Reinstall Velmoc to correct.";

// The program each command starts, below the suite's folder, and its switch.
struct TEngine {
  const char* program;
  const char* switches;
};
constexpr TEngine kEngines[kCommandCount] = {{"\\Tobrel", ""},      {"\\Tobrel", ""},      {"\\Wenlow", ""},
                                             {"\\Tobrel", " AC"}, {"\\Tobrel", " SF"}, {"\\Tobrel", " SH"}};
}  // namespace

const TMenuCommand kMenuCommands[kCommandCount] = {
    {"TContextMenuEncrypt", "{0E0E0F0A-F0CA-41CE-BAB0-B9FD5325381A}", "Velmoc 98 Encryption", "Encryp&t", "BMP1",
     "Encrypt the Selected File", 0, kEncryptError},
    {"TContextMenuDecrypt", "{0E0E0F0A-F0CA-41CE-BAB0-B9FD5325381B}", "Velmoc 98 Decryption", "D&ecrypt", "BMP2",
     "Decrypt the selected file", 1, kEncryptError},
    {"TContextMenuQuickView", "{AAAAAAAA-F0CA-41CE-BAB0-B9FD5325381F}", "Velmoc 98 QuickView", "Quick &View", "BMP4",
     "View the selected file in memory", 2,
     "Error Launching QuickView. You may have lost some settings: Reinstall Velmoc to correct."},
    {"TContextMenuAutoCipher", "{0E0E0F0A-F0CA-41CE-BAB0-B9FDFFFFFFFF}", "Velmoc 98 Autocipher", "Ma&ke Autocipher",
     "BMP6", "Make the Selected Folder an Autocipher Folder", 3, kAutocipherError},
    {"TContextMenuEncExe", "{0E0E0F0A-F0CA-41CE-BAB0-B9FD53FFFFFF}", "Velmoc 98 Make EXE", "Make Encrypted E&XE",
     "BMP5", "Build a Self Decrypting EXE", 4, kAutocipherError},
    {"TContextMenuShred", "{0E0E0F0A-F0CA-41CE-BAB0-B9FD532538FF}", "Velmoc 98 Shredder", "S&hred", "BMP3",
     "Shred the Current Object", 5,
     "Error Launching Shred Engine. You may have lost some settings: Reinstall Velmoc to correct."},
};

std::string GetEngineCommand(int number, std::string_view baseDir) {
  if (number < 0 || number >= kCommandCount) return {};
  std::string command(baseDir);
  command += kEngines[number].program;
  command += kEngines[number].switches;
  return command;
}

std::string EngineCommandLine(int number, std::string_view baseDir, std::string_view path) {
  if (number < 0 || number >= kCommandCount || baseDir.find('"') != std::string_view::npos) return {};
  std::string line = "\"";
  line += baseDir;
  line += kEngines[number].program;
  line += '"';
  line += kEngines[number].switches;
  line += ' ';
  line += path;
  return line;
}

bool AcceptSelection(unsigned count, std::size_t firstLength) {
  return count == 1 && firstLength > 0 && firstLength <= kMaxPathChars;
}

}  // namespace handler
