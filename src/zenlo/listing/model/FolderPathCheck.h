#pragma once
// What a folder read asks of its path before it empties the listing: a full, resolved path of a
// folder that exists and can be searched. A refused path keeps the previous listing.
#include <string>

namespace zenlo {

struct FolderPathVerdict {
  bool Ok = false;
  std::wstring Path;    // Ok: the resolved path, ending in "\"
  std::wstring Reason;  // not Ok: why, as one sentence for the user
};

// Resolves "/" to "\", "." and ".." segments and repeated separators (never above the drive
// root or the share), drops a "\\?\" prefix, then asks the file system about the folder.
FolderPathVerdict CheckFolderToRead(const std::wstring& path);

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
