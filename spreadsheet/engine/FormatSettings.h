// The settings that number and date formatting read: separators, currency
// texts, month names, engineering units, the default format and the display
// switches. The engine keeps one working copy for the current document; the
// fields named after a settings-file key carry that key's default. Pro, Zero,
// Curr and Curs mirror the working settings block (ApplySheetFormatSettings in
// SheetSettings.h, run whenever a block is loaded); Period, Comma and GForm are
// program-wide and filled by the settings file.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace corvane {

struct TFormatSettings {
  bool Pro = false;          // PRO=: protection on; the status line then marks cells "Pr " or "Un "
  bool Zero = false;         // ZERO=: zero values shown as blank
  char Period = '.';         // PERIOD=: decimal separator, in number text both ways
  char Comma = ',';          // COMMA=: thousands separator
  std::string Curr = "$";    // CURR=: currency text put in front, at most 2 characters
  std::string Curs = " ";    // CURS=: currency text put behind, at most 2 characters
  uint8_t GForm = 0x71;      // GFORM=: the format that format byte $7F stands for
  bool TwoDigitYear = false; // dates of 1900 to 1999 shown with a two-digit year

  std::array<std::string, 12> MonthNames = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                            "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

  // Engineering groups -6 to 4 (powers 10^-18 to 10^12): the letter after the
  // number and the divisor that brings the number into the group.
  std::string EngUnitLetters = "afpnum kMGT";
  std::array<double, 11> EngScales = {1e-18, 1e-15, 1e-12, 1e-9, 1e-6, 1e-3, 1.0, 1e3, 1e6, 1e9, 1e12};

  // The format letters of the status line and of typed format codes: F fixed,
  // S scientific, E engineering, A, C currency, M comma, G general, + bar,
  // P percent, D date, T time, H hidden, X text, R default, L label.
  std::string FormatLetters = "FSEACMG+PDTHXRL";

  // Status-line codes of the special formats $70 to $7F, four characters at
  // most each: the code that, typed as a format, gives that format.
  std::array<std::string, 16> SpecialCodes = {"+",  "G",  "D1", "D2", "D3", "X", "H", "T1",
                                              "T2", "D4", "D5", "T3", "T4", "G", "L", "R"};
};

// The working copy that every formatting call reads.
inline TFormatSettings& FormatSettings() {
  static TFormatSettings settings;
  return settings;
}

}  // namespace corvane
