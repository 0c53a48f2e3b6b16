// The names in a folder that match a wildcard pattern, as the system's own
// directory search finds them. Defined per platform.
#pragma once

#include <string>
#include <vector>

namespace corvane {

// The names (without their folder) of every entry of `folder` (the current
// folder when empty) that `pattern` matches: "*" stands for any run of
// characters, "?" for one, letters match either case and "*.*" matches every
// name. Files and folders alike, of any attribute; "." and ".." are left out.
// Sorted without regard to case. Empty when the folder cannot be read.
std::vector<std::string> ListMatchingNames(const std::string& folder, const std::string& pattern);

}  // namespace corvane
