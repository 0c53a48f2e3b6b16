// The macro compiler.
#include "spreadsheet/macros/MacroCompiler.h"

#include <vector>

#include "spreadsheet/engine/EngineError.h"
#include "spreadsheet/engine/Evaluator.h"
#include "spreadsheet/engine/FormulaCompiler.h"
#include "spreadsheet/engine/RangeNames.h"
#include "spreadsheet/engine/TextRoutines.h"
#include "spreadsheet/macros/MacroKeywords.h"

namespace corvane {

namespace {

char UpperAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// The keyword entry of `word`: the primary spellings first, then the others;
// 0 when it is none.
int FindKeyword(std::string_view word) {
  int index = MacroKeywordFind(word, 1, kMacroPrimaryKeywords);
  if (index < 1) index = MacroKeywordFind(word, kMacroPrimaryKeywords + 1, kMacroKeywordCount);
  return index < 1 ? 0 : index;
}

// How often a repeated keyword's code is written for the count text `text`.
int RepeatCount(const std::string& text) {
  if (text.empty()) return 1;
  bool errorBefore = ErrorFlagSet();
  std::string resultText;
  double value = EvaluateFormulaText(text, resultText);
  // A count that does not evaluate just means once; it is not the user's
  // error to report.
  if (!errorBefore) ClearErrorFlag();
  if (!resultText.empty() || !(value >= 1)) return 1;
  if (value >= static_cast<double>(kMacroCodeMaxBytes)) return static_cast<int>(kMacroCodeMaxBytes);
  return static_cast<int>(value);
}

class TCodeWriter {
 public:
  // A key byte; dropped once the line is full.
  void Key(char c) {
    if (full_ || code_.size() >= kMacroCodeMaxBytes) {
      full_ = true;
      return;
    }
    code_ += c;
  }
  // A whole command. One that does not fit ends the line: a repeated copy is
  // dropped, any other command would be cut and so spoils the line.
  void Command(std::string_view bytes, bool repeated) {
    if (full_) return;
    if (code_.size() + bytes.size() > kMacroCodeMaxBytes) {
      full_ = true;
      if (!repeated) spoiled_ = true;
      return;
    }
    code_ += bytes;
  }
  void Spoil() { spoiled_ = true; }
  std::string Result() const { return spoiled_ ? std::string(kMacroSyntaxErrorCode) : code_; }

 private:
  std::string code_;
  bool full_ = false;
  bool spoiled_ = false;
};

}  // namespace

std::string MacroCompile(std::string_view text) {
  std::string src(text.substr(0, kMacroTextMaxChars));
  for (char& c : src) c = PlainMacroCharacter(c);
  std::erase(src, kMacroCommandEnd);
  const char separator = ArgumentSeparator();
  const std::size_t n = src.size();
  TCodeWriter out;
  bool typedBraceOpen = false;  // a closing brace after a typed word is not typed
  std::size_t i = 0;
  while (i < n) {
    char c = src[i];
    if (c != '{') {
      if (c == '}' && typedBraceOpen) {
        typedBraceOpen = false;
      } else {
        out.Key(c == '~' ? kMacroEnter : c);
      }
      ++i;
      continue;
    }
    typedBraceOpen = false;
    // Inside braces the separator is a blank, except within double quotes and
    // parentheses.
    auto at = [&](std::size_t k) { return src[k] == separator ? ' ' : src[k]; };
    std::size_t j = i + 1;
    std::string word;
    while (j < n && at(j) != ' ' && at(j) != '}') word += UpperAscii(src[j++]);
    int keyword = FindKeyword(word);
    if (keyword == 0) {
      if (!word.empty() && FindRangeName(word) > 0) {
        out.Command(std::string(kMacroCallCode) + word + kMacroEnter + kMacroCommandEnd, false);
      } else {
        for (char w : src.substr(i + 1, j - i - 1)) out.Key(w);
        out.Command(kMacroSyntaxErrorCode, false);
      }
      if (j < n && at(j) == '}') {
        ++j;
      } else {
        typedBraceOpen = true;
        if (j < n) ++j;  // the blank that ended the word
      }
      i = j;
      continue;
    }
    // The arguments, up to the closing brace.
    std::vector<std::string> arguments;
    bool closed = j < n && at(j) == '}';
    if (j < n) ++j;
    std::string argument;
    bool quoted = false;
    int depth = 0;
    while (!closed) {
      if (j >= n) {
        if (quoted) out.Spoil();
        if (!argument.empty()) arguments.push_back(argument);
        break;
      }
      // Inside parentheses the separator parts a function's arguments and
      // stays as it is.
      char d = quoted || depth > 0 ? src[j] : at(j);
      ++j;
      if (quoted) {
        argument += d;
        if (d == '"') quoted = false;
        continue;
      }
      if (d == '"') {
        quoted = true;
      } else if (d == '(') {
        ++depth;
      } else if (d == ')' && depth > 0) {
        --depth;
      } else if ((d == ' ' || d == '}') && depth == 0) {
        arguments.push_back(argument);
        argument.clear();
        closed = d == '}';
        continue;
      }
      argument += d;
    }
    const TMacroKeyword& entry = MacroKeyword(keyword);
    const bool isCommand = !entry.Code().empty() && entry.Code().front() == kMacroCommandPrefix;
    if (entry.arguments == kMacroRepeatCount) {
      int count = RepeatCount(arguments.empty() ? std::string() : arguments.front());
      for (int k = 0; k < count; ++k) {
        if (isCommand)
          out.Command(std::string(entry.Code()) + kMacroCommandEnd, true);
        else
          for (char b : entry.Code()) out.Key(b);
      }
    } else {
      std::string unit(entry.Code());
      for (const std::string& a : arguments) unit += a + kMacroEnter;
      if (isCommand)
        out.Command(unit + kMacroCommandEnd, false);
      else
        for (char b : unit) out.Key(b);
    }
    i = j;
  }
  return out.Result();
}

}  // namespace corvane
