#pragma once
// The drive, volume, connection and documents-folder queries of the drive selector, behind an
// interface (Wine's drives and network differ from a PC's), and the text routines built on them.
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace zenlo {

// What the platform says about a volume, as it says it.
struct VolumeInformation {
  std::wstring Label;
  std::wstring FileSystem;
  DWORD Serial = 0;
  DWORD MaxComponentLength = 0;
  DWORD Flags = 0;
};

class DriveProvider {
 public:
  virtual ~DriveProvider() = default;
  // Every logical drive root ("C:\"), in the platform's order.
  virtual std::vector<std::wstring> LogicalDriveRoots() = 0;
  // GetDriveTypeW of a root (DRIVE_UNKNOWN .. DRIVE_RAMDISK).
  virtual UINT DriveType(const std::wstring& root) = 0;
  // False when the volume cannot be queried (no disc, lost connection ...).
  virtual bool QueryVolume(const std::wstring& root, VolumeInformation& info) = 0;
  // The share ("\\server\share") a drive ("M:") is mapped to; empty when it is not a network
  // drive or the connection cannot be read.
  virtual std::wstring RemoteName(const std::wstring& drive) = 0;
  // True when the volume under a root ("C:\") answers.
  virtual bool IsReady(const std::wstring& root) = 0;
  // The user's documents folder without a trailing backslash; empty when there is none.
  virtual std::wstring MyDocumentsPath() = 0;
};

// The real queries of this machine.
std::shared_ptr<DriveProvider> MakeSystemDriveProvider();

// The volume record the selector shows.
struct VolumeRecord {
  std::wstring Label;        // "(no label)" for an empty or blank label
  std::wstring FileSystem;
  DWORD Flags = 0;
  std::wstring Serial;       // hexadecimal
  std::wstring Capability;   // "Supports 255-character filenames"
};

// The label as shown: "(no label)" when it is empty or only blanks.
std::wstring LabelText(const std::wstring& label);
// The type word padded to 10 characters so that entries line up in a fixed-width font
// ("Local     "); the two unknown kinds give their sentences unpadded, an unknown value "".
std::wstring DriveTypeWord(UINT type, const std::wstring& root);
// The root of a path without its trailing backslash ("F:" for "F:\a\b"; "\\srv\share" for a
// UNC path); empty for a path without a root.
std::wstring StripToRoot(const std::wstring& path);

bool GetVolumeInfo(const std::wstring& root, DriveProvider& drives, VolumeRecord& record);
std::wstring GetRemoteNameForDrive(const std::wstring& path, DriveProvider& drives);
// Appends the missing trailing backslash to the caller's root, then asks the volume.
bool IsDriveReady(std::wstring& root, DriveProvider& drives);
// The type text of a selector entry: the type word, then the label of a local or CD-ROM
// volume, or the share of a mapped drive.
std::wstring GetDriveTypeText(const std::wstring& root, DriveProvider& drives);

// dw / 65535 truncated, one less for a negative dw (so HiWord(65535) is 1, HiWord(-1) is -1).
std::int32_t HiWord(std::int32_t dw);
// dw And 65535: 0 to 65535 whatever the sign.
std::int32_t LoWord(std::int32_t dw);

}  // namespace zenlo
