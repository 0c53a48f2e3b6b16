// Volume and free-space queries.
#include "analyser/app/win/DriveInfo.h"

#include <shellapi.h>

#include "analyser/app/win/Scan.h"
#include "analyser/components/win/ShellBrowser.h"

namespace foldwick {

namespace {
using TGetDiskFreeSpaceEx = BOOL(WINAPI*)(LPCSTR, PULARGE_INTEGER, PULARGE_INTEGER, PULARGE_INTEGER);

// Looked up by name: the 64-bit query is missing on the oldest systems.
TGetDiskFreeSpaceEx DiskFreeSpaceEx() {
  static const auto entry = reinterpret_cast<TGetDiskFreeSpaceEx>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("Kernel32"), "GetDiskFreeSpaceExA")));
  return entry;
}
}  // namespace

std::string ExtractFileDrive(const std::string& path) {
  if (path.size() >= 2 && path[1] == ':') return path.substr(0, 2);
  if (path.size() >= 2 && path[0] == '\\' && path[1] == '\\') {
    size_t server = path.find('\\', 2);
    if (server == std::string::npos) return {};
    size_t share = path.find('\\', server + 1);
    return path.substr(0, share);
  }
  return {};
}

TDriveSpace GetDriveSpace(const std::string& drive) {
  if (drive.empty()) return {};
  if (TGetDiskFreeSpaceEx query = DiskFreeSpaceEx()) {
    ULARGE_INTEGER callerFree, total, totalFree;
    if (query(drive.c_str(), &callerFree, &total, &totalFree)) return DriveSpaceFromBytes(total.QuadPart, totalFree.QuadPart);
    return {};
  }
  DWORD sectorsPerCluster, bytesPerSector, freeClusters, totalClusters;
  if (!GetDiskFreeSpaceA(drive.c_str(), &sectorsPerCluster, &bytesPerSector, &freeClusters, &totalClusters)) return {};
  return DriveSpaceFromClusters(bytesPerSector, sectorsPerCluster, totalClusters, freeClusters);
}

void ReadDriveInfo(TScanRoot& root, LPCITEMIDLIST list) {
  root.isFileSystemRoot = true;
  root.volume.clear();
  root.path = IdListPath(list);
  root.displayPath = root.path;
  if (root.path.empty()) {
    SHFILEINFOA info = {};
    SHGetFileInfoA(reinterpret_cast<LPCSTR>(list), 0, &info, sizeof info, SHGFI_PIDL | SHGFI_DISPLAYNAME);
    root.displayPath = info.szDisplayName;
    root.isFileSystemRoot = false;
  }
  root.drive = ExtractFileDrive(root.path);
  if (root.drive.size() > 1) root.drive += '\\';

  const bool userDefined = root.fileSystem == "User Defined";
  TVolumeFacts facts;
  if (!userDefined && root.drive.size() > 1) {
    char volume[MAX_PATH + 1] = "", fileSystem[MAX_PATH + 1] = "";
    DWORD serial = 0, maxComponent = 0, flags = 0;
    if (GetVolumeInformationA(root.drive.c_str(), volume, sizeof volume, &serial, &maxComponent, &flags, fileSystem,
                              sizeof fileSystem)) {
      root.volume = volume;
      facts.fileSystem = fileSystem;
      facts.compressed = (flags & FS_VOL_IS_COMPRESSED) != 0;
    }
  }
  DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, totalClusters = 0;
  // Without a drive there is nothing to ask (an empty name would ask the
  // current drive instead).
  facts.freeSpaceOk = !root.drive.empty() && GetDiskFreeSpaceA(root.drive.c_str(), &sectorsPerCluster, &bytesPerSector,
                                                               &freeClusters, &totalClusters);
  facts.bytesPerSector = bytesPerSector;
  facts.sectorsPerCluster = sectorsPerCluster;

  TClusterChoice choice = ChooseClusterSize(facts, userDefined, root.clusterSize);
  root.clusterSize = choice.clusterSize;
  root.fileSystem = choice.fileSystem;
  root.bytesPerSector = choice.bytesPerSector;
  root.sectorsPerCluster = choice.sectorsPerCluster;
  root.compressed = facts.compressed && !userDefined;
  if (!choice.freeSpaceOk) root.isFileSystemRoot = false;

  TDriveSpace space = GetDriveSpace(root.drive);
  root.totalSpace = space.totalKB;
  root.freeSpace = space.freeKB;
}

}  // namespace foldwick
