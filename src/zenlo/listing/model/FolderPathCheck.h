#pragma once
// What a folder read asks of its path before it empties the listing: a full, resolved path of a
// folder that exists and can be searched. A refused path keeps the previous listing.
#include <windows.h>

#include <memory>
#include <string>

namespace zenlo {

// A search of a folder left open at the first entry it found.
struct FolderSearch {
  FolderSearch() = default;
  ~FolderSearch() {
    if (Handle != INVALID_HANDLE_VALUE) FindClose(Handle);
  }
  FolderSearch(const FolderSearch&) = delete;
  FolderSearch& operator=(const FolderSearch&) = delete;
  // Hands the handle over; the caller closes it.
  HANDLE Take() {
    HANDLE h = Handle;
    Handle = INVALID_HANDLE_VALUE;
    return h;
  }
  HANDLE Handle = INVALID_HANDLE_VALUE;
  WIN32_FIND_DATAW First{};
};

struct FolderPathVerdict {
  bool Ok = false;
  std::wstring Path;    // Ok: the resolved path, ending in "\"
  std::wstring Reason;  // not Ok: why, as one sentence for the user
  // Ok and asked for: the check's own search, so that the read need not search the folder
  // a second time (in a big folder that costs as much as the read). Empty for an empty folder.
  std::unique_ptr<FolderSearch> Search;
};

// Resolves "/" to "\", "." and ".." segments and repeated separators (never above the drive
// root or the share), drops a "\\?\" prefix, then asks the file system about the folder.
FolderPathVerdict CheckFolderToRead(const std::wstring& path, bool keepSearch = false);

// The resolved form alone, with no file-system question; empty when the path is refused.
std::wstring ResolveFolderPath(const std::wstring& path, std::wstring* reason = nullptr);

// A path cut to a length a message box shows whole, with "..." where it was cut.
std::wstring PathForMessage(const std::wstring& path);

// The parent of a resolved folder path ending in "\", or "" for a drive root or share.
std::wstring ParentFolder(const std::wstring& path);

// True when the folder is gone (as opposed to unreachable for a while: an unready drive, a
// network that does not answer).
bool FolderIsGone(const std::wstring& path);

}  // namespace zenlo
