// The keyword table and its search.
#include "spreadsheet/macros/MacroKeywords.h"

#include <array>

#include "classlib/Assert.h"

namespace corvane {

namespace {

constexpr std::int16_t kRepeat = kMacroRepeatCount;

constexpr TMacroKeyword Entry(std::string_view word, std::int16_t arguments, const char* code, int codeLength) {
  TMacroKeyword entry{};
  entry.wordLength = static_cast<std::uint8_t>(word.size());
  for (std::size_t i = 0; i < word.size(); ++i) entry.word[i] = word[i];
  entry.arguments = arguments;
  entry.codeLength = static_cast<std::uint8_t>(codeLength);
  for (int i = 0; i < codeLength; ++i) entry.code[i] = code[i];
  return entry;
}

// Entry n of the table is kKeywords[n - 1].
constexpr std::array<TMacroKeyword, kMacroKeywordCount> kKeywords = {{
    Entry("?", 0, "\x14\x3F\x30", 3),
    Entry("ABS", 0, "\x18", 1),
    Entry("ALT", 0, "\x0A", 1),
    Entry("ANCHOR", 0, "\x14\x78", 2),
    Entry("APPEND", 2, "\x14\x15\x41", 3),
    Entry("BEEP", kRepeat, "\x14\x42", 2),
    Entry("BLANK", 1, "\x14\x33", 2),
    Entry("BLOCKCASE", 2, "\x14\x62\x65", 3),
    Entry("BORDER", 2, "\x14\x77", 2),
    Entry("BS", kRepeat, "\x08", 1),
    Entry("CALC", 0, "\x03", 1),
    Entry("CALL", 1, "\x14\x43", 2),
    Entry("CHDIR", 1, "\x14\x15\x48", 3),
    Entry("CLOSE", 1, "\x14\x15\x43", 3),
    Entry("CLRSCR", 0, "\x14\x53", 2),
    Entry("COLWIDTH", 2, "\x14\x61", 2),
    Entry("COPY", 2, "\x14\x31", 2),
    Entry("COPYFORM", 2, "\x14\x63\x66", 3),
    Entry("COPYINV", 2, "\x14\x63\x69", 3),
    Entry("COPYSCALE", 3, "\x14\x63\x73", 3),
    Entry("COPYTRANS", 2, "\x14\x63\x74", 3),
    Entry("COPYVAL", 2, "\x14\x63\x76", 3),
    Entry("DATABIN", 2, "\x14\x64\x62", 3),
    Entry("DATAFILL", 5, "\x14\x64\x66", 3),
    Entry("DATAFORM", 1, "\x14\x64\x6F", 3),
    Entry("DATAGOAL", 4, "\x14\x64\x67", 3),
    Entry("DATAMULREG", 4, "\x14\x64\x6D", 3),
    Entry("DATAPARSE", 1, "\x14\x64\x70", 3),
    Entry("DATAQUERY", 3, "\x14\x64\x71", 3),
    Entry("DATAREGRESS", 3, "\x14\x64\x72", 3),
    Entry("DATASORT", 5, "\x14\x64\x73", 3),
    Entry("DATATABLE", 3, "\x14\x64\x74", 3),
    Entry("DEL", kRepeat, "\x13", 1),
    Entry("DELAY", 1, "\x14\x01", 2),
    Entry("DELETECOL", 1, "\x14\x35", 2),
    Entry("DELETEROW", 1, "\x14\x37", 2),
    Entry("DN", kRepeat, "\x10", 1),
    Entry("EDIT", 0, "\x05", 1),
    Entry("EDITCOPY", 1, "\x14\x65\x63", 3),
    Entry("EDITCUT", 1, "\x14\x65\x74", 3),
    Entry("EDITPASTE", 1, "\x14\x65\x70", 3),
    Entry("END", 0, "\x0F", 1),
    Entry("ESC", kRepeat, "\x1B", 1),
    Entry("EXIT", kRepeat, "\x14\x4A", 2),
    Entry("FILECLOSE", 1, "\x14\x66\x63", 3),
    Entry("FILEDOC", 2, "\x14\x66\x64", 3),
    Entry("FILEEXIT", 1, "\x14\x66\x65", 3),
    Entry("FILEEXPORT", 3, "\x14\x66\x78", 3),
    Entry("FILEFOCUS", 1, "\x14\x66\x66", 3),
    Entry("FILEIMPORT", 2, "\x14\x66\x69", 3),
    Entry("FILEMERGE", 3, "\x14\x66\x6D", 3),
    Entry("FILENEW", 0, "\x14\x66\x6E", 3),
    Entry("FILEOPEN", 1, "\x14\x66\x6F", 3),
    Entry("FILEPICK", 3, "\x14\x66\x70", 3),
    Entry("FILESAVE", 0, "\x14\x66\x73", 3),
    Entry("FILESAVEAS", 2, "\x14\x66\x61", 3),
    Entry("FOR", 4, "\x14\x16", 2),
    Entry("GENADV", 1, "\x14\x68\x61", 3),
    Entry("GENCOLOR", 4, "\x14\x68\x63", 3),
    Entry("GENFONT", 1, "\x14\x68\x74", 3),
    Entry("GENFORMAT", 1, "\x14\x68\x66", 3),
    Entry("GENOPTION", 1, "\x14\x68\x6F", 3),
    Entry("GET", 1, "\x14\x3F\x31", 3),
    Entry("GOTO", 1, "\x14\x40", 2),
    Entry("GOTOXY", 2, "\x14\x58", 2),
    Entry("GRAPH", 0, "\x14\x67\x77", 3),
    Entry("GRAPHFONT", 2, "\x14\x67\x66", 3),
    Entry("GRAPHHEADING", 2, "\x14\x67\x68", 3),
    Entry("GRAPHLABEL", 3, "\x14\x67\x6C", 3),
    Entry("GRAPHLEGEND", 3, "\x14\x67\x67", 3),
    Entry("GRAPHNAME", 2, "\x14\x67\x6E", 3),
    Entry("GRAPHOPTIONS", 1, "\x14\x67\x6F", 3),
    Entry("GRAPHSCALE", 1, "\x14\x67\x63", 3),
    Entry("GRAPHSERIES", 2, "\x14\x67\x73", 3),
    Entry("GRAPHTYPE", 1, "\x14\x67\x74", 3),
    Entry("GRAPHVIEW", 2, "\x14\x67\x76", 3),
    Entry("HELP", 0, "\x1C", 1),
    Entry("HOME", 0, "\x07", 1),
    Entry("IF", 1, "\x14\x49", 2),
    Entry("INKEY", 1, "\x14\x3F\x31", 3),
    Entry("INLABEL", 2, "\x14\x4C", 2),
    Entry("INRANGE", 2, "\x14\x2E", 2),
    Entry("INS", 0, "\x12", 1),
    Entry("INSERTCOL", 1, "\x14\x34", 2),
    Entry("INSERTROW", 1, "\x14\x36", 2),
    Entry("INVALUE", 2, "\x14\x4E", 2),
    Entry("JUMP", 1, "\x14\x47", 2),
    Entry("LET", 2, "\x14\x45", 2),
    Entry("LT", kRepeat, "\x0B", 1),
    Entry("MATADD", 3, "\x14\x6D\x61", 3),
    Entry("MATDET", 2, "\x14\x6D\x64", 3),
    Entry("MATINV", 2, "\x14\x6D\x69", 3),
    Entry("MATLIN", 2, "\x14\x6D\x6C", 3),
    Entry("MATMLT", 3, "\x14\x6D\x6D", 3),
    Entry("MATSLV", 2, "\x14\x6D\x65", 3),
    Entry("MATSUB", 3, "\x14\x6D\x73", 3),
    Entry("MENUCALL", 1, "\x14\x5A", 2),
    Entry("MENUJUMP", 1, "\x14\x4D", 2),
    Entry("MKDIR", 1, "\x14\x15\x4D", 3),
    Entry("MOVE", 2, "\x14\x32", 2),
    Entry("NAME", 0, "\x18", 1),
    Entry("NEXT", 0, "\x14\x17", 2),
    Entry("ONERROR", 1, "\x14\x39", 2),
    Entry("OPEN", 2, "\x14\x15\x4F", 3),
    Entry("PGDN", kRepeat, "\x11", 1),
    Entry("PGLT", kRepeat, "\x02", 1),
    Entry("PGRT", kRepeat, "\x09", 1),
    Entry("PGUP", kRepeat, "\x0E", 1),
    Entry("PLAYWAVE", 2, "\x14\x5B", 2),
    Entry("PRINTALL", 0, "\x14\x70\x61", 3),
    Entry("PRINTBORDER", 2, "\x14\x70\x62", 3),
    Entry("PRINTFILE", 2, "\x14\x70\x6E", 3),
    Entry("PRINTFOOT", 2, "\x14\x70\x66", 3),
    Entry("PRINTGRAPH", 1, "\x14\x70\x67", 3),
    Entry("PRINTHEAD", 2, "\x14\x70\x68", 3),
    Entry("PRINTMARGIN", 1, "\x14\x70\x6D", 3),
    Entry("PRINTOPTION", 1, "\x14\x70\x6F", 3),
    Entry("PRINTRANGE", 1, "\x14\x70\x72", 3),
    Entry("QUIT", 0, "\x14\x51", 2),
    Entry("RANGEBUILD", 1, "\x14\x62\x62", 3),
    Entry("RANGECOLOR", 3, "\x14\x62\x63", 3),
    Entry("RANGECREATE", 3, "\x14\x62\x6E", 3),
    Entry("RANGEDELETE", 1, "\x14\x62\x64", 3),
    Entry("RANGEFORMAT", 2, "\x14\x62\x66", 3),
    Entry("RANGEJUSTIFY", 2, "\x14\x62\x6A", 3),
    Entry("RANGELOCK", 2, "\x14\x62\x6C", 3),
    Entry("RANGEPREFIX", 2, "\x14\x62\x70", 3),
    Entry("RANGERESET", 0, "\x14\x62\x72", 3),
    Entry("RANGETABLE", 1, "\x14\x62\x74", 3),
    Entry("RECALC", 1, "\x14\x4B", 2),
    Entry("RESTART", 0, "\x14\x48", 2),
    Entry("RET", kRepeat, "\x14\x52", 2),
    Entry("RMDIR", 2, "\x14\x15\x44", 3),
    Entry("ROWHEIGHT", 2, "\x14\x72", 2),
    Entry("RT", kRepeat, "\x04", 1),
    Entry("TONE", 2, "\x14\x54", 2),
    Entry("UNDO", 0, "\x14\x75", 2),
    Entry("UP", kRepeat, "\x19", 1),
    Entry("UPDATE", kRepeat, "\x14\x55", 2),
    Entry("VIEW", 1, "\x14\x76\x76", 3),
    Entry("VIEWZOOM", 1, "\x14\x76\x7A", 3),
    Entry("WHILE", 2, "\x14\x57", 2),
    Entry("WINDOW", 0, "\x1A", 1),
    Entry("WRITE", 1, "\x14\x15\x57", 3),
    Entry("WRITELN", 1, "\x14\x15\x46", 3),
    Entry("BACKSPACE", kRepeat, "\x08", 1),
    Entry("BIGLEFT", kRepeat, "\x02", 1),
    Entry("BIGRIGHT", kRepeat, "\x09", 1),
    Entry("BRANCH", 1, "\x14\x47", 2),
    Entry("BREAKOFF", kRepeat, "\x14\x5D", 2),
    Entry("BREAKON", kRepeat, "\x14\x5C", 2),
    Entry("D", kRepeat, "\x10", 1),
    Entry("DOWN", kRepeat, "\x10", 1),
    Entry("ESCAPE", 0, "\x1B", 1),
    Entry("GETLABEL", 2, "\x14\x4C", 2),
    Entry("GETNUMBER", 2, "\x14\x4E", 2),
    Entry("L", kRepeat, "\x0B", 1),
    Entry("LEFT", kRepeat, "\x0B", 1),
    Entry("MENUBRANCH", 1, "\x14\x4D", 2),
    Entry("R", kRepeat, "\x04", 1),
    Entry("RETURN", kRepeat, "\x14\x52", 2),
    Entry("RIGHT", kRepeat, "\x04", 1),
    Entry("U", kRepeat, "\x19", 1),
    Entry("XDN", kRepeat, "\x14\x02", 2),}};

}  // namespace

const TMacroKeyword& MacroKeyword(int index) {
  if (!CL_CHECK(index >= 1 && index <= kMacroKeywordCount)) index = 1;
  return kKeywords[static_cast<std::size_t>(index - 1)];
}

int MacroKeywordFind(std::string_view word, int first, int last) {
  // Byte order of the length-prefixed texts: the shorter of two texts that
  // share a beginning sorts first, which is std::string_view's order too.
  int low = first;
  int high = last;
  while (low <= high) {
    int mid = (low + high) / 2;
    int order = MacroKeyword(mid).Word().compare(word);
    if (order == 0) return mid;
    if (order < 0)
      low = mid + 1;
    else
      high = mid - 1;
  }
  return -low;
}

}  // namespace corvane
