#include "listing/model/FolderPathCheck.h"

#include <windows.h>

#include <vector>

#include "listing/model/PathText.h"
#include "toolkit/Error.h"

namespace zenlo {

namespace {
constexpr std::size_t kMaxSegment = 255;
constexpr std::size_t kMaxPath = 32000;  // the "\\?\" limit, less room for the names inside
constexpr std::size_t kShownChars = 120;

bool IsLetter(wchar_t c) { return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z'); }

// The system's sentence, or the bare number when it has none.
std::wstring SystemText(DWORD error) {
  std::wstring text = tk::SystemErrorText(error);
  if (text.empty()) text = L"Error " + std::to_wstring(error) + L".";
  return text;
}

std::wstring ReasonOf(DWORD error) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
    case ERROR_INVALID_DRIVE:
      return L"The folder does not exist.";
    case ERROR_NOT_READY:
      return L"The drive is not ready.";
    case ERROR_ACCESS_DENIED:
      return L"Access to the folder is denied.";
    default:
      return SystemText(error);
  }
}
}  // namespace

std::wstring ResolveFolderPath(const std::wstring& given, std::wstring* reason) {
  auto refuse = [&](const wchar_t* why) {
    if (reason) *reason = why;
    return std::wstring();
  };
  if (given.find(L'\0') != std::wstring::npos)
    return refuse(L"The path holds a NUL character.");
  std::wstring path = OrdinaryPathForm(given);
  for (auto& c : path)
    if (c == L'/') c = L'\\';

  std::wstring root;
  std::size_t fixedSegments = 0;  // segments ".." never climbs above
  if (path.size() >= 2 && IsLetter(path[0]) && path[1] == L':' &&
      (path.size() == 2 || path[2] == L'\\')) {
    root = path.substr(0, 2);
  } else if (path.rfind(L"\\\\", 0) == 0 && path.size() > 2 && path[2] != L'\\') {
    root = L"\\";
    fixedSegments = 2;  // server and share
  } else {
    return refuse(L"The path is not a full path: it needs a drive letter or a network share.");
  }
  if (path.find_first_of(L"*?", root.size()) != std::wstring::npos)
    return refuse(L"A folder path cannot hold the wildcard characters * and ?.");

  std::vector<std::wstring> segments;
  std::size_t begin = root.size();
  while (begin <= path.size()) {
    std::size_t end = path.find(L'\\', begin);
    if (end == std::wstring::npos) end = path.size();
    std::wstring seg = path.substr(begin, end - begin);
    begin = end + 1;
    if (seg.empty() || seg == L".") continue;
    if (seg == L"..") {
      if (segments.size() > fixedSegments) segments.pop_back();
      continue;
    }
    if (seg.size() > kMaxSegment) return refuse(L"The path is too long.");
    segments.push_back(std::move(seg));
  }
  if (fixedSegments && segments.size() < fixedSegments)
    return refuse(L"The path names no share of a network computer.");

  std::wstring resolved = root;
  for (const auto& seg : segments) resolved += L"\\" + seg;
  resolved += L"\\";
  if (resolved.size() > kMaxPath) return refuse(L"The path is too long.");
  return resolved;
}

FolderPathVerdict CheckFolderToRead(const std::wstring& given, bool keepSearch) {
  FolderPathVerdict v;
  v.Path = ResolveFolderPath(given, &v.Reason);
  if (v.Path.empty()) return v;

  std::wstring folder = v.Path;
  if (folder.size() > 3) folder.pop_back();  // "C:\" keeps its backslash
  const DWORD attributes = GetFileAttributesW(LongPathForm(folder).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    v.Reason = ReasonOf(GetLastError());
    return v;
  }
  if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    v.Reason = L"The path names a file, not a folder.";
    return v;
  }
  auto search = std::make_unique<FolderSearch>();
  search->Handle = FindFirstFileExW((LongPathForm(v.Path) + L"*.*").c_str(), FindExInfoBasic,
                                    &search->First, FindExSearchNameMatch, nullptr,
                                    FIND_FIRST_EX_LARGE_FETCH);
  if (search->Handle == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    if (error != ERROR_FILE_NOT_FOUND && error != ERROR_NO_MORE_FILES) {
      v.Reason = ReasonOf(error);
      return v;
    }
  } else if (keepSearch) {
    v.Search = std::move(search);
  }
  v.Ok = true;
  return v;
}

std::wstring PathForMessage(const std::wstring& path) {
  std::wstring shown = path.substr(0, path.find(L'\0'));
  if (shown.size() < path.size()) shown += L"...";
  if (shown.size() <= kShownChars) return shown;
  std::size_t head = kShownChars / 2;
  std::size_t tailStart = shown.size() - (kShownChars - head - 3);
  // Never cut a character written as a surrogate pair in two.
  if (IS_HIGH_SURROGATE(shown[head - 1])) --head;
  if (IS_LOW_SURROGATE(shown[tailStart])) ++tailStart;
  return shown.substr(0, head) + L"..." + shown.substr(tailStart);
}

std::wstring ParentFolder(const std::wstring& path) {
  if (path.size() < 2) return {};
  const std::size_t cut = path.rfind(L'\\', path.size() - 2);
  if (cut == std::wstring::npos) return {};
  std::wstring parent = path.substr(0, cut + 1);
  // A UNC path ends at its share: "\\server\" is no folder.
  if (parent.rfind(L"\\\\", 0) == 0 && parent.find(L'\\', 2) == parent.size() - 1) return {};
  if (parent == L"\\\\") return {};
  return parent;
}

bool FolderIsGone(const std::wstring& path) {
  std::wstring folder = path;
  if (folder.size() > 3 && folder.back() == L'\\') folder.pop_back();
  const DWORD attributes = GetFileAttributesW(LongPathForm(folder).c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES) return !(attributes & FILE_ATTRIBUTE_DIRECTORY);
  const DWORD error = GetLastError();
  return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

}  // namespace zenlo
