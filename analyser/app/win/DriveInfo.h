// Drive facts of a scan root: path, volume label, file system, cluster size
// and space.
#pragma once

#include <windows.h>
#include <shlobj.h>

#include <string>

#include "analyser/app/ScanRules.h"

namespace foldwick {

struct TScanRoot;

// Fills the root's path, display path, drive, volume, file system, cluster
// size, compression and space from the shell item `list` and its drive.
void ReadDriveInfo(TScanRoot& root, LPCITEMIDLIST list);

// Total and free space of a drive ("C:\") in KB; both 0 when it cannot be asked.
TDriveSpace GetDriveSpace(const std::string& drive);

// The drive part of a path: "C:" of "C:\x", "\\server\share" of a network
// path, empty otherwise.
std::string ExtractFileDrive(const std::string& path);

}  // namespace foldwick
