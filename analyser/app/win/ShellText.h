// Texts from the shell and the clock: display names and file dates.
#pragma once

#include <windows.h>
#include <shlobj.h>

#include <string>

#include "analyser/app/FolderValues.h"

namespace foldwick {

// The display name of `relativeList` in `folder` in the form `flags` asks
// for; false when the shell gives none.
bool StrRetToText(IShellFolder* folder, LPCITEMIDLIST relativeList, SHGDNF flags, std::string& text);

// The date of a file time in the user's short date format, in local time;
// empty when the time's high word is 0 or less or it cannot be converted.
std::string FileTimeToText(TFileTime time);

// The key of a name (ANSI) whose bytes, compared as unsigned, order the
// names as lstrcmpA does: one conversion per name instead of two for each
// comparison of a sort.
std::string NameSortKey(const std::string& name);

// A FILETIME as one number and back.
inline TFileTime ToFileTime(const FILETIME& ft) { return (TFileTime{ft.dwHighDateTime} << 32) | ft.dwLowDateTime; }

}  // namespace foldwick
