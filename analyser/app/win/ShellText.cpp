// Display names through STRRET, and date texts.
#include "analyser/app/win/ShellText.h"

#include <algorithm>

#include "analyser/app/TimeText.h"
#include "analyser/components/win/ShellBrowser.h"

namespace foldwick {

bool StrRetToText(IShellFolder* folder, LPCITEMIDLIST relativeList, SHGDNF flags, std::string& text) {
  if (folder == nullptr) return false;
  STRRET strRet = {};
  if (FAILED(folder->GetDisplayNameOf(relativeList, flags, &strRet))) return false;
  return StrRetToString(strRet, relativeList, text);
}

std::string NameSortKey(const std::string& name) {
  // lstrcmpA compares in the thread's locale with no flags: a word sort.
  const LCID locale = GetThreadLocale();
  char buffer[512];
  int n = LCMapStringA(locale, LCMAP_SORTKEY, name.c_str(), -1, buffer, sizeof buffer);
  if (n > 0) return std::string(buffer, static_cast<size_t>(n));
  std::string key(static_cast<size_t>(std::max(LCMapStringA(locale, LCMAP_SORTKEY, name.c_str(), -1, nullptr, 0), 1)), '\0');
  n = LCMapStringA(locale, LCMAP_SORTKEY, name.c_str(), -1, key.data(), static_cast<int>(key.size()));
  key.resize(static_cast<size_t>(std::max(n, 0)));
  return key;
}

std::string FileTimeToText(TFileTime time) {
  if (!HasTimeText(time)) return {};
  FILETIME utc = {static_cast<DWORD>(time), static_cast<DWORD>(time >> 32)};
  FILETIME local;
  TCivilDate date;
  if (!FileTimeToLocalFileTime(&utc, &local) || !FileTimeToDosDate(ToFileTime(local), date)) return {};
  SYSTEMTIME st = {};
  st.wYear = static_cast<WORD>(date.year);
  st.wMonth = static_cast<WORD>(date.month);
  st.wDay = static_cast<WORD>(date.day);
  char text[100];
  if (GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, text, sizeof text) == 0) return {};
  return text;
}

}  // namespace foldwick
