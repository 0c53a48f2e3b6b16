// The values behind the small information windows: the tip window (the tips
// file, the tip shown and its lines wrapped to the list), the document
// information dialog and the system metrics dialog. The forms copy these to
// and from their controls.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

struct TDocumentInfo;

// ---- Tips ---------------------------------------------------------------------

// The tips file: its first line is the number of tips; each tip begins with a
// line "!" + title and goes on with text lines up to the next "!" line.
class TTipFile {
 public:
  struct TTip {
    std::string title;
    std::vector<std::string> lines;
  };

  // Reads the file's text (lines end in CR LF or LF). A count line that is
  // not a number, or counts more tips than the file holds, gives way to the
  // number of tips found.
  void Load(std::string_view text);
  int Count() const { return count_; }
  // Tip n (1..Count); nullptr outside.
  const TTip* Tip(int n) const;
  // The tip shown at start for a random draw from 0..Count-1: 1 to Count-1,
  // a draw of 0 giving 1; tip 1 when the file has one tip.
  int StartTip(int draw) const;
  // The tip "Next" shows after n: n + 1, back to 1 after the last.
  int NextTip(int n) const;

 private:
  std::vector<TTip> tips_;
  int count_ = 0;
};

// Wraps one tip line into list lines no wider than `width` as `measure`
// reports: words are added while they fit, every list line begins with one
// space, and a word wider than the whole width is broken where it must be,
// so every line takes at least one character.
std::vector<std::string> WrapTipLine(std::string_view line, int width,
                                     const std::function<int(std::string_view)>& measure);

// ---- Document information -------------------------------------------------------

inline constexpr const char* kNotAvailableText = "N/A";

// What the dialog shows and edits.
struct TDocInfoValues {
  std::string title;                      // at most 80 characters typed
  std::vector<std::string> commentLines;  // in the order they were typed
  std::string revisedBy;                  // "N/A" when none
  std::string created;                    // date " , " time, or "N/A"
};

TDocInfoValues DocInfoValuesFor(const TDocumentInfo& info);
// Ok: the title and the comments go back into `info`.
void ApplyDocInfoValues(const TDocInfoValues& values, TDocumentInfo& info);

// The stored form of the comments: the lines from the last to the first, each
// followed by a carriage return, at most 255 characters; lines that would not
// fit whole are left out rather than cut. DecodeComments gives the lines back
// in typed order (one empty line for an empty text).
std::string EncodeComments(const std::vector<std::string>& lines);
std::vector<std::string> DecodeComments(std::string_view text);

// ---- System metrics -----------------------------------------------------------

struct TSystemFacts {
  std::vector<std::string> arguments;  // the program's command-line arguments
  std::string exePath;
  std::string currentFolder;
  std::string version;
  int processorType = 0;
};

struct TSystemMetricsValues {
  std::string cmdline, exe, data, version;
  std::string range, name, used;  // "N/A" without an open worksheet
  std::string memoryUsed, memoryTotal, memoryFree;
  std::string processor;
};

// The dialog's texts from the machine's facts, the active worksheet (when a
// sheet window is open) and the page pool.
TSystemMetricsValues SystemMetricsValuesFor(const TSystemFacts& facts);

}  // namespace corvane
