// The menu-letter check.
#include "tests/support/MenuLetters.h"

#include <cctype>
#include <map>

namespace testsupport {

namespace {

// The caption's letters: the character after each single "&", upper-cased,
// up to the tab that starts the shortcut text.
std::string LettersOf(const std::string& caption) {
  std::string letters;
  for (size_t i = 0; i + 1 < caption.size() && caption[i] != '\t'; ++i) {
    if (caption[i] != '&') continue;
    if (caption[i + 1] != '&') letters += static_cast<char>(std::toupper(static_cast<unsigned char>(caption[i + 1])));
    ++i;
  }
  return letters;
}

std::string Quoted(const std::string& caption) { return "\"" + caption.substr(0, caption.find('\t')) + "\""; }

void Check(const classlib::TMenuItem& menu, const std::string& path, std::vector<std::string>& faults) {
  std::map<char, const classlib::TMenuItem*> taken;
  for (int i = 0; i < menu.Count(); ++i) {
    const classlib::TMenuItem& item = *menu.Items(i);
    if (item.Caption == "-") continue;
    const std::string letters = LettersOf(item.Caption);
    if (letters.size() > 1) faults.push_back(path + ": " + Quoted(item.Caption) + " has more than one letter");
    if (letters.empty()) continue;
    const auto [at, added] = taken.emplace(letters[0], &item);
    if (!added)
      faults.push_back(path + ": " + Quoted(at->second->Caption) + " and " + Quoted(item.Caption) + " share " +
                       letters[0]);
  }
  for (int i = 0; i < menu.Count(); ++i)
    if (menu.Items(i)->Count() > 0) Check(*menu.Items(i), path + " > " + Quoted(menu.Items(i)->Caption), faults);
}

}  // namespace

std::vector<std::string> MenuLetterFaults(const classlib::TMenuItem& root, const std::string& name) {
  std::vector<std::string> faults;
  Check(root, name, faults);
  return faults;
}

classlib::TMenuItem* MenuItemAt(classlib::TMenuItem& menu, const std::vector<std::string>& path) {
  classlib::TMenuItem* item = &menu;
  for (const std::string& caption : path) {
    classlib::TMenuItem* next = nullptr;
    for (int i = 0; i < item->Count() && next == nullptr; ++i)
      if (item->Items(i)->Caption == caption) next = item->Items(i);
    if (next == nullptr) return nullptr;
    item = next;
  }
  return item;
}

}  // namespace testsupport
