// The macro compiler: one line of macro text to its code string.
//
// A code string holds at most 240 bytes. Printable bytes are keys typed as
// they are; bytes below 32 are named keys (4 right, 13 Enter, 27 Esc, ...);
// byte 20 starts a command: the keyword's code bytes, then each argument
// followed by 13, then the end mark 255, so a command reads only its own
// arguments. The pair 20, 17 is the syntax-error command.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace corvane {

inline constexpr std::size_t kMacroTextMaxChars = 255;
inline constexpr std::size_t kMacroCodeMaxBytes = 240;

inline constexpr char kMacroCommandPrefix = 20;
inline constexpr char kMacroEnter = 13;
inline constexpr char kMacroCommandEnd = '\xFF';
inline constexpr std::string_view kMacroSyntaxErrorCode = "\x14\x11";
inline constexpr std::string_view kMacroCallCode = "\x14\x43";

// Compiles `text` (only its first 255 characters count) into a code string of
// at most 240 bytes.
// - Outside braces "~" is Enter and every other character a key.
// - Byte 255 in the text is dropped: it is the commands' end mark.
// - "{WORD args}": a keyword of the table gives its code and its arguments,
//   each ended by 13, and a command then its end mark. The settings' argument separator counts as a blank
//   outside double quotes; a blank or "}" ends an argument outside
//   parentheses and quotes, so two blanks in a row give an empty argument.
// - A keyword whose argument is a repeat count gives its code that many times:
//   the argument is evaluated as a formula and truncated; no argument or a
//   value below 1 gives it once, and at most 240 copies are made.
// - A word that names a range calls it (20, 67, the name, 13, 255); any other word
//   is typed and followed by the syntax-error command. Text after such a word
//   up to the closing brace is typed.
// - An unclosed double quote inside braces, or a command that would be cut by
//   the 240-byte limit, makes the whole line the syntax-error command. Keys
//   and whole repeated codes beyond the limit are dropped.
// Range names and repeat counts are read in the current document.
std::string MacroCompile(std::string_view text);

}  // namespace corvane
