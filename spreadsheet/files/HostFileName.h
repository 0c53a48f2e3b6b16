// File names as the program writes them (Windows style: "\" between folders,
// any case) turned into a name the host's file system opens. Defined per
// platform.
#pragma once

#include <string>

namespace corvane {

// On Windows the name itself. On systems whose file names are case-sensitive
// and use "/", each "\" becomes "/" and each part of the path that does not
// exist as written is matched, without regard to case, against the names in
// its folder; parts that match nothing are kept as written.
std::string HostFileName(const std::string& name);

// The one spelling of the path of the file `name` names, so that two names of
// one file compare equal: made absolute against the current folder, "." and
// ".." parts resolved and, on Windows, "/" read as "\" and short (8.3) parts
// of a file that exists replaced by their long names. Case is kept as found;
// callers compare without it. "" for "".
std::string FullFileName(const std::string& name);

}  // namespace corvane
