#include "commands/FileOperations.h"

#include <shellapi.h>

#include <algorithm>
#include <cwctype>

#include "commands/FileDialogs.h"
#include "mainwindow/Master.h"
#include "toolkit/Error.h"
#include "toolkit/FileDropList.h"
#include "toolkit/MousePointer.h"
#include "toolkit/PathText.h"
#include "toolkit/Text.h"

namespace varnello {

namespace {

constexpr UINT kRunPastes = WM_APP + 61;
constexpr UINT kRunDeletes = WM_APP + 62;

bool Exists(const std::wstring& path) {
  return GetFileAttributesW(tk::LongPathForm(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

// A path as the file system names it: full, long names, no trailing backslash.
std::wstring Normalised(const std::wstring& path) {
  std::wstring p = tk::LongPathForm(tk::OrdinaryPathForm(path));
  wchar_t small[MAX_PATH];
  DWORD n = GetFullPathNameW(p.c_str(), MAX_PATH, small, nullptr);
  std::wstring full = n > 0 && n < MAX_PATH ? std::wstring(small, n) : p;
  if (n >= MAX_PATH) {
    std::wstring big(n, L'\0');
    n = GetFullPathNameW(p.c_str(), n, big.data(), nullptr);
    big.resize(n);
    full = big;
  }
  n = GetLongPathNameW(full.c_str(), nullptr, 0);
  if (n > 0) {
    std::wstring longer(n, L'\0');
    n = GetLongPathNameW(full.c_str(), longer.data(), n);
    longer.resize(n);
    if (n > 0) full = longer;
  }
  full = tk::OrdinaryPathForm(full);
  // A drive root keeps its backslash: "C:" alone is the drive's current folder.
  while (full.size() > 3 && full.back() == L'\\') full.pop_back();
  return full;
}

// The length of the longest path below `folder` (its own when it holds nothing).
size_t LongestPathBelow(const std::wstring& folder) {
  size_t longest = folder.size();
  WIN32_FIND_DATAW d;
  HANDLE h = FindFirstFileExW(tk::LongPathForm(folder + L"\\*").c_str(), FindExInfoBasic, &d,
                              FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
  if (h == INVALID_HANDLE_VALUE) return longest;
  do {
    const std::wstring name = d.cFileName;
    if (name == L"." || name == L"..") continue;
    const std::wstring path = folder + L"\\" + name;
    const bool isFolder = (d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 &&
                          (d.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0;
    longest = std::max(longest, isFolder ? LongestPathBelow(path) : path.size());
  } while (FindNextFileW(h, &d));
  FindClose(h);
  return longest;
}

// The shell's file operation works on paths shorter than MAX_PATH only (some versions even
// act on the wrong files past it): the first source or target that would need a longer one.
std::wstring PathTooLongForShell(const std::vector<std::wstring>& sources,
                                 const std::vector<std::wstring>& targets) {
  for (size_t i = 0; i < sources.size(); ++i) {
    const std::wstring source = RemoveRightSlash(sources[i]);
    const size_t below =
        (IsFolder(source) ? LongestPathBelow(source) : source.size()) - source.size();
    const size_t sourceLongest = source.size() + below;
    const size_t targetLongest = i < targets.size() ? targets[i].size() + below : 0;
    if (std::max(sourceLongest, targetLongest) >= MAX_PATH) return sources[i];
  }
  return {};
}

bool IsAbsoluteFolderPath(const std::wstring& path) {
  if (path.size() >= 3 && std::iswalpha(path[0]) && path[1] == L':' && path[2] == L'\\')
    return true;
  // A share: "\\server\share\"
  if (path.rfind(L"\\\\", 0) != 0) return false;
  const size_t slash = path.find(L'\\', 2);
  return slash != std::wstring::npos && slash > 2 && slash + 1 < path.size();
}

const wchar_t* PastTense(UINT code) {
  switch (code) {
    case FO_MOVE:
      return L"moved";
    case FO_COPY:
      return L"copied";
    default:
      return L"deleted";
  }
}

// Renames without ever replacing another item. A change of case alone goes through a free
// name first: some file systems take a rename to the same name in other case as done already.
bool RenameOnDisk(const std::wstring& from, const std::wstring& to) {
  const std::wstring a = tk::LongPathForm(from), b = tk::LongPathForm(to);
  if (!tk::SameText(from, to)) return MoveFileW(a.c_str(), b.c_str()) != FALSE;
  const std::wstring folder = GetFolderPath(from);
  const std::wstring step = tk::LongPathForm(folder + FreeName(folder, NameOf(to) + L".rename",
                                                               false));
  if (!MoveFileW(a.c_str(), step.c_str())) return false;
  if (MoveFileW(step.c_str(), b.c_str())) return true;
  const DWORD error = GetLastError();
  MoveFileW(step.c_str(), a.c_str());
  SetLastError(error);
  return false;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Words and paths

UINT FileOperationWords(const std::wstring& word) {
  if (word == L"move") return FO_MOVE;
  if (word == L"copy") return FO_COPY;
  if (word == L"delete") return FO_DELETE;
  return 0;
}

std::wstring GetFolderPath(const std::wstring& FullPath) {
  const size_t slash = FullPath.rfind(L'\\');
  return slash == std::wstring::npos ? std::wstring() : FullPath.substr(0, slash + 1);
}

std::wstring RemoveRightSlash(std::wstring str) {
  if (!str.empty() && str.back() == L'\\') str.pop_back();
  return str;
}

bool IsFolder(const std::wstring& path) {
  const DWORD a = GetFileAttributesW(tk::LongPathForm(path).c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::wstring NameOf(const std::wstring& path) {
  std::wstring p = RemoveRightSlash(path);
  const size_t slash = p.rfind(L'\\');
  return slash == std::wstring::npos ? p : p.substr(slash + 1);
}

bool IsDriveRoot(const std::wstring& path) {
  const size_t colon = path.find(L':');
  return colon != std::wstring::npos && path.compare(colon, std::wstring::npos, L":\\") == 0;
}

std::wstring ValidatePath(const std::wstring& Path) {
  const size_t p = Path.find(L"\\\\");
  if (p == std::wstring::npos) return Path;
  const size_t q = Path.find(L'\\', p + 2);
  if (q == std::wstring::npos || q + 1 >= Path.size()) return {};
  return Path.substr(p);
}

std::vector<std::wstring> SplitFileSpecs(const std::wstring& specs) {
  std::vector<std::wstring> paths;
  size_t at = 0;
  while (at < specs.size()) {
    const size_t end = specs.find(L'\0', at);
    if (end == at) break;  // the closing NUL
    paths.push_back(specs.substr(at, end == std::wstring::npos ? std::wstring::npos : end - at));
    if (end == std::wstring::npos) break;
    at = end + 1;
  }
  return paths;
}

std::wstring NameProblem(const std::wstring& name) {
  if (tk::Trim(name).empty()) return L"A name cannot be empty.";
  if (name == L"." || name == L"..") return L"The names \".\" and \"..\" are reserved.";
  for (wchar_t c : name)
    if (c < 32 || std::wstring_view(L"\\/:*?\"<>|").find(c) != std::wstring_view::npos)
      return L"A name cannot contain any of these characters: \\ / : * ? \" < > |";
  if (name.back() == L'.' || name.back() == L' ')
    return L"A name cannot end with a dot or a blank.";
  if (name.size() > 255) return L"A name cannot be longer than 255 characters.";
  // Device names stay devices with any extension: "con.txt" is the console.
  std::wstring stem = tk::UpperCase(name.substr(0, name.find(L'.')));
  while (!stem.empty() && stem.back() == L' ') stem.pop_back();
  static const wchar_t* const kDevices[] = {L"CON", L"PRN", L"AUX", L"NUL"};
  bool device = std::find(std::begin(kDevices), std::end(kDevices), stem) != std::end(kDevices);
  if (stem.size() == 4 && (stem.rfind(L"COM", 0) == 0 || stem.rfind(L"LPT", 0) == 0) &&
      stem[3] >= L'1' && stem[3] <= L'9')
    device = true;
  if (device) return L"\"" + stem + L"\" is the name of a device.";
  return {};
}

bool SamePath(const std::wstring& a, const std::wstring& b) {
  return tk::SameText(Normalised(a), Normalised(b));
}

bool IsSameOrBelow(const std::wstring& folder, const std::wstring& path) {
  const std::wstring f = Normalised(folder), p = Normalised(path);
  if (tk::SameText(f, p)) return true;
  const size_t n = f.back() == L'\\' ? f.size() - 1 : f.size();
  return p.size() > n + 1 && p[n] == L'\\' && tk::SameText(std::wstring_view(p).substr(0, n),
                                                           std::wstring_view(f).substr(0, n));
}

std::wstring FreeName(const std::wstring& folder, const std::wstring& name, bool isFolder,
                      const std::vector<std::wstring>& taken) {
  auto free = [&](const std::wstring& candidate) {
    for (const auto& t : taken)
      if (tk::SameText(t, candidate)) return false;
    return !Exists(tk::AddTrailingBackslash(folder) + candidate);
  };
  if (free(name)) return name;
  const size_t dot = isFolder ? std::wstring::npos : name.rfind(L'.');
  const bool hasExtension = dot != std::wstring::npos && dot > 0;
  const std::wstring stem = hasExtension ? name.substr(0, dot) : name;
  const std::wstring extension = hasExtension ? name.substr(dot) : std::wstring();
  for (unsigned n = 2;; ++n) {
    const std::wstring candidate = stem + L" (" + std::to_wstring(n) + L")" + extension;
    if (free(candidate)) return candidate;
  }
}

std::wstring DuplicateStamp(const SYSTEMTIME& t) {
  wchar_t text[32];
  swprintf(text, 32, L"%02u%02u%02u-%02u%02u%02u", t.wYear % 100u, t.wMonth, t.wDay, t.wHour,
           t.wMinute, t.wSecond);
  return text;
}

std::wstring DuplicatePath(const std::wstring& path, const std::wstring& stamp) {
  const std::wstring trimmed = RemoveRightSlash(path);
  const size_t nameStart = trimmed.rfind(L'\\') + 1;  // 0 without a backslash
  const size_t dot = trimmed.rfind(L'.');
  // A dot in a folder part, or the leading dot of a name, starts no extension.
  if (dot == std::wstring::npos || dot <= nameStart) return trimmed + stamp;
  return trimmed.substr(0, dot) + stamp + trimmed.substr(dot);
}

std::wstring ShellResultText(int result) {
  // The shell's own codes from its older days, which no system message describes.
  static const std::pair<int, const wchar_t*> kShellCodes[] = {
      {0x71, L"The source and the destination are the same file."},
      {0x72, L"Several sources were given but only one destination."},
      {0x73, L"A rename cannot move an item to another folder."},
      {0x74, L"A drive's top folder cannot be moved or renamed."},
      {0x75, L"The operation was cancelled."},
      {0x76, L"The destination lies inside the source folder."},
      {0x78, L"Access to the source was denied."},
      {0x79, L"A path is, or would become, too long."},
      {0x7A, L"The operation had more destinations than it could handle."},
      {0x7C, L"A source or destination path is not valid."},
      {0x7D, L"The source and the destination are in the same folder."},
      {0x7E, L"The destination is an existing file, not a folder."},
      {0x80, L"The destination is an existing folder, not a file."},
      {0x81, L"A file name is too long."},
      {0x85, L"A file is too large for the destination."},
      {0xB7, L"A path became too long during the operation."},
      {0x402, L"A source or destination could not be found."},
      {0x10000, L"An error occurred at the destination."},
  };
  for (const auto& [code, text] : kShellCodes)
    if (code == result) return text;
  std::wstring text = tk::SystemErrorText(static_cast<unsigned long>(result));
  return text.empty() ? L"Error " + std::to_wstring(result) + L"." : text;
}

// ---------------------------------------------------------------------------------------------
// The commands

FileOperations::FileOperations(Master& master) : m_(master) {
  poster_.Create(HWND_MESSAGE, 0, [this](UINT msg, WPARAM, LPARAM, LRESULT& result) {
    if (msg != kRunPastes && msg != kRunDeletes) return false;
    result = OnPosted(msg);
    return true;
  });
}

FileOperations::~FileOperations() = default;

LRESULT FileOperations::OnPosted(UINT msg) {
  if (msg == kRunPastes) {
    RunPendingPastes();
    return 0;
  }
  while (!pendingDeletes_.empty()) {
    const bool permanent = pendingDeletes_.front();
    pendingDeletes_.pop_front();
    DeleteItems(permanent);
  }
  return 0;
}

void FileOperations::Tell(std::wstring text) { m_.Message(text, 0, L""); }

void FileOperations::FileOperate(std::wstring& operation, short SourceListIndex,
                                 short& DestListIndex, std::wstring& DestFolder,
                                 bool& RefreshChild, const std::wstring& SourceFileSpecs) {
  if (SourceListIndex == -1) return;
  Master::BusyScope busy(m_);
  m_.WatchStopPanes();
  // Whatever way this ends before the lists refresh, the watches it stopped run again.
  struct ResumeUnlessDone {
    Master& m;
    bool done = false;
    ~ResumeUnlessDone() {
      if (!done) m.WatchResumePanesAll();
    }
  } resume{m_};

  const UINT code = FileOperationWords(operation);
  if (operation == L"cancel") return;
  std::wstring specs = SourceFileSpecs;
  if (specs.empty())
    if (PaneList* source = m_.List(SourceListIndex)) specs = source->FileSpecs();
  const std::vector<std::wstring> sources = SplitFileSpecs(specs);
  if (sources.empty()) {
    Tell(L"No files selected for this operation.");
    return;
  }
  const bool activeDeleted = code == FO_DELETE && SourceListIndex >= 0 &&
                             SourceListIndex < 100 && ActiveFolderAmong(SourceListIndex, sources);
  if (code == FO_MOVE || code == FO_COPY) {
    DestFolder = tk::AddTrailingBackslash(DestFolder);
    if (!DestinationAllowed(operation, DestFolder, sources)) return;
  }

  if (code != 0) {
    WORD flags = FOF_NOERRORUI;  // failures are reported here, once
    if (code != FO_DELETE || m_.SendToRecycleBin) flags |= FOF_ALLOWUNDO;
    if (code == FO_DELETE) flags |= FOF_NOCONFIRMATION;
    std::vector<std::wstring> targets;
    if (code != FO_DELETE) targets = TargetsIn(DestFolder, sources);
    const ShellRun run = RunShell(code, sources, targets, flags);
    if (run.Result != 0 || run.Aborted) {
      std::vector<std::wstring> undone;
      for (size_t i = 0; i < sources.size(); ++i) {
        const bool there = Exists(sources[i]);
        const bool arrived = code == FO_DELETE || Exists(targets[i]);
        if ((code == FO_COPY && !arrived) || (code != FO_COPY && (there || !arrived)))
          undone.push_back(sources[i]);
      }
      ReportShellFailure(operation, run, undone);
    }
  }

  PaneList* dest = nullptr;
  if (code != FO_DELETE) {
    if (SourceListIndex >= 0 && SourceListIndex < 100 && DestListIndex < 100)
      if (PaneList* tree = m_.List(DestListIndex)) tree->SetExpandedFolder();
  } else {
    DestListIndex = SourceListIndex;
  }
  if (activeDeleted)
    if (PaneList* tree = m_.List(SourceListIndex); tree && !Exists(tree->GetActiveFolder()))
      m_.MoveFocusUpOneFolder(SourceListIndex);
  dest = m_.List(DestListIndex);
  if (dest) dest->RefreshList();
  if (!RefreshChild && dest) RefreshChild = dest->DroppedOnActiveItem();
  if (RefreshChild && DestListIndex >= 0 && DestListIndex < 100) {
    if (PaneList* child = m_.List(static_cast<short>(DestListIndex + 100))) {
      child->RefreshList();
      child->WatchStart();
    }
  }
  if (dest) dest->SetDroppedOnActiveItem(false);
  PaneList* source = SourceListIndex >= 0 ? m_.List(SourceListIndex) : nullptr;
  if (code == FO_MOVE && source) source->RefreshList();

  resume.done = true;
  if (code != FO_MOVE) {
    m_.WatchResumePanes(DestListIndex, -1);
    if (dest) dest->WatchStart();
  } else {
    m_.WatchResumePanes(DestListIndex, SourceListIndex);
    if (dest) dest->WatchStart();
    if (source) source->WatchStart();
  }
}

std::vector<std::wstring> FileOperations::TargetsIn(const std::wstring& folder,
                                                    const std::vector<std::wstring>& sources) const {
  std::vector<std::wstring> targets, taken;
  for (const auto& s : sources) {
    std::wstring name = NameOf(s);
    // Into its own folder an item gets a free name; the shell cannot be trusted to pick one.
    if (SamePath(GetFolderPath(RemoveRightSlash(s)), folder))
      name = FreeName(folder, name, IsFolder(s), taken);
    taken.push_back(name);
    targets.push_back(folder + name);
  }
  return targets;
}

bool FileOperations::DestinationAllowed(const std::wstring& word, const std::wstring& folder,
                                        const std::vector<std::wstring>& sources) {
  if (!IsAbsoluteFolderPath(folder) || !IsFolder(folder)) {
    Tell(L"Sorry, the destination is not an existing folder:\r\n\r\n" + folder);
    return false;
  }
  for (const auto& s : sources) {
    if (IsFolder(s) && IsSameOrBelow(s, folder)) {
      Tell(L"Sorry, a folder cannot be " + std::wstring(PastTense(FileOperationWords(word))) +
           L" into itself or into a folder inside it:\r\n\r\n" + s);
      return false;
    }
  }
  return true;
}

FileOperations::ShellRun FileOperations::RunShell(UINT code, const std::vector<std::wstring>& sources,
                                                  const std::vector<std::wstring>& targets,
                                                  WORD flags) {
  const std::wstring from = tk::DoubleNulList(sources);
  const std::wstring to = code == FO_DELETE ? std::wstring(2, L'\0') : tk::DoubleNulList(targets);
  SHFILEOPSTRUCTW op{};
  op.hwnd = m_.Handle();  // the shell's windows keep the program's window disabled meanwhile
  op.wFunc = code;
  op.fFlags = flags;
  op.pFrom = from.c_str();
  op.pTo = to.c_str();
  if (code != FO_DELETE) op.fFlags |= FOF_MULTIDESTFILES;
  ShellRun run;
  if (const std::wstring tooLong = PathTooLongForShell(sources, targets); !tooLong.empty()) {
    run.Result = 0x79;  // a path too long: nothing is handed to the shell
    run.Refused = true;
    return run;
  }
  run.Result = SHFileOperationW(&op);
  run.Aborted = op.fAnyOperationsAborted != FALSE;
  return run;
}

void FileOperations::ReportShellFailure(const std::wstring& word, const ShellRun& run,
                                        const std::vector<std::wstring>& undone) {
  const UINT code = FileOperationWords(word);
  std::wstring text = L"Sorry, not everything could be " + std::wstring(PastTense(code)) + L".";
  if (!undone.empty()) {
    text += L"\r\n\r\nThese items were not " + std::wstring(PastTense(code)) + L":\r\n";
    const size_t shown = std::min<size_t>(undone.size(), 10);
    for (size_t i = 0; i < shown; ++i) text += L"\r\n" + undone[i];
    if (undone.size() > shown)
      text += L"\r\n... and " + std::to_wstring(undone.size() - shown) + L" more";
  }
  const std::wstring reason = run.Result != 0 ? ShellResultText(run.Result)
                                              : tk::SystemErrorText(ERROR_CANCELLED);
  text += L"\r\n\r\nThe system returned the following message:\r\n\r\n" + reason;
  Tell(text);
}

bool FileOperations::ActiveFolderAmong(short treeIndex, const std::vector<std::wstring>& sources) {
  PaneList* tree = m_.List(treeIndex);
  if (!tree) return false;
  std::wstring active = tree->GetActiveFolder();
  if (!active.empty() && active[0] == L'*') {
    const size_t unc = active.find(L"\\\\");
    active = unc == std::wstring::npos ? std::wstring() : active.substr(unc);
  }
  if (active.empty()) return false;
  for (const auto& s : sources)
    if (tk::SameText(RemoveRightSlash(s), RemoveRightSlash(active))) return true;
  return false;
}

void FileOperations::DeleteItems(bool Permanent) {
  Master::BusyScope busy(m_);
  const short clicked = m_.Options.ClickedPane;
  PaneList* list = m_.List(clicked);
  if (!list) return;
  std::wstring summary = list->GetFileSpecs();
  if (summary.empty() || summary.back() == L':') return;  // nothing, or a drive
  if (summary.find(L'\\') != std::wstring::npos) summary = L"Folder: " + NameOf(summary);
  m_.currOperation.clear();
  const std::vector<std::wstring> sources = SplitFileSpecs(list->FileSpecs());
  if (sources.empty()) return;
  // To the recycle bin after the shell's own question, or for good after ours.
  WORD flags = FOF_ALLOWUNDO | FOF_NOERRORUI;
  if (Permanent) {
    m_.currOperation = L"cancel";
    popDelete dialog(m_);
    dialog.Show(m_.Handle(), summary, true);
    if (m_.currOperation != L"delete") return;
    flags = FOF_NOCONFIRMATION | FOF_NOERRORUI;
  }
  const ShellRun run = RunShell(FO_DELETE, sources, {}, flags);
  // A "no" to the shell's own question is the user's answer, not a failure.
  const bool declined = !Permanent && run.Aborted && std::all_of(sources.begin(), sources.end(),
                                                                  [](const auto& s) { return Exists(s); });
  if ((run.Result != 0 || run.Aborted) && !declined) {
    std::vector<std::wstring> undone;
    for (const auto& s : sources)
      if (Exists(s)) undone.push_back(s);
    ReportShellFailure(L"delete", run, undone);
  }
  if (clicked >= 100) {
    list->RefreshList();
  } else if (ActiveFolderAmong(clicked, sources) && !Exists(list->GetActiveFolder())) {
    m_.MoveFocusUpOneFolder(clicked);
  }
}

void FileOperations::RequestDelete(bool Permanent) {
  pendingDeletes_.push_back(Permanent);
  PostMessageW(poster_.Handle(), kRunDeletes, 0, 0);
}

void FileOperations::PasteItems(short index, const std::wstring& strSource,
                                const std::wstring& strSourceText, const std::wstring& operation) {
  try {
    m_.splitter_.Finish();
    m_.currOperation.clear();
    const short sourceIndex = m_.Options.DragSourceIndex;
    m_.Options.DragSourceIndex = -2;
    PaneList* list = m_.List(index);
    if (!list) return;
    std::wstring target = list->DropDestination();
    if (target.empty()) return;
    // The dragging program waits until the drop returns: the question and the work come after.
    pending_.push_back({index, sourceIndex, target, strSource, strSourceText, operation});
    PostMessageW(poster_.Handle(), kRunPastes, 0, 0);
  } catch (...) {
    Tell(L"An error occurred while pasting the items.");
  }
}

void FileOperations::RunPendingPastes() {
  while (!pending_.empty()) {
    const PendingPaste paste = pending_.front();
    pending_.pop_front();
    RunPaste(paste);
  }
}

void FileOperations::RunPaste(const PendingPaste& paste) {
  Master::BusyScope busy(m_);
  try {
    std::wstring target = paste.Target;
    const size_t unc = target.find(L"\\\\");
    if (unc != std::wstring::npos) target = target.substr(unc);
    target = tk::AddTrailingBackslash(target);
    if (paste.Operation.empty()) {
      m_.currOperation.clear();
      popCopyMove dialog(m_);
      dialog.Show(m_.Handle(), paste.SourceText, target, m_.Options.DefaultActionMove);
      target = m_.DestinationFolder;
    } else {
      m_.currOperation = paste.Operation;
    }
    std::wstring word = m_.currOperation;
    short dest = paste.Index;
    bool refreshChild = false;
    FileOperate(word, paste.SourceIndex, dest, target, refreshChild, paste.Source);
  } catch (...) {
    Tell(L"An error occurred while pasting the items.");
  }
}

void FileOperations::DuplicateItems(const std::vector<std::wstring>& asPaths) {
  SYSTEMTIME now;
  GetLocalTime(&now);
  DuplicateItems(asPaths, DuplicateStamp(now));
}

void FileOperations::DuplicateItems(const std::vector<std::wstring>& asPaths,
                                    const std::wstring& stamp) {
  Master::BusyScope busy(m_);
  tk::HourglassPointer hourglass;
  try {
    std::wstring failures;
    for (const auto& path : asPaths) {
      std::wstring target = DuplicatePath(path, stamp);
      // A second duplicate within the same second finds the first one there.
      target = GetFolderPath(target) + FreeName(GetFolderPath(target), NameOf(target), IsFolder(path));
      const ShellRun run = RunShell(FO_COPY, {RemoveRightSlash(path)}, {target},
                                    FOF_NOCONFIRMATION | FOF_ALLOWUNDO | FOF_NOERRORUI);
      if (run.Result != 0 || run.Aborted)
        failures += path + L" - " +
                    (run.Result ? ShellResultText(run.Result)
                                : tk::SystemErrorText(ERROR_CANCELLED)) +
                    L"\r\n";
    }
    if (!failures.empty())
      Tell(L"There was an error duplicating the following items:\r\n\r\n" + failures);
  } catch (...) {
    Tell(L"An unexpected error occurred while duplicating the items.");
  }
}

void FileOperations::CreateNewFolder(bool UseActiveFolder) {
  Master::BusyScope busy(m_);
  m_.currOperation.clear();
  PaneList* list = m_.List(m_.Options.ClickedPane);
  if (!list) return;
  try {
    const std::wstring folder = list->ItemNameForNewFolder(UseActiveFolder, false);
    if (folder.empty()) {
      Tell(L"Sorry, you cannot make a new folder here.");
    } else {
      popNewFolder dialog(m_);
      dialog.Show(m_.Handle(), folder);
      // Only Create makes a folder: "cancel" typed as a name is a name.
      if (dialog.Pressed() == L"cmdCopy") {
        const std::wstring name = dialog.Typed();
        const std::wstring problem = NameProblem(name);
        if (!problem.empty()) {
          Tell(L"Sorry, you cannot make a new folder with this name.\r\n\r\n" + problem);
        } else {
          list->WatchStop();
          if (!CreateDirectoryW(tk::LongPathForm(folder + name).c_str(), nullptr)) {
            Tell(L"Sorry, you cannot make a new folder here.\r\n\r\nThe system returned the "
                 L"following message:\r\n\r\n     " +
                 tk::SystemErrorText(GetLastError()));
          }
        }
      }
    }
  } catch (...) {
    Tell(L"Sorry, you cannot make a new folder here.");
  }
  list->RefreshList();
  list->WatchStart();
}

void FileOperations::RenameItem(bool UseActive) {
  Master::BusyScope busy(m_);
  m_.currOperation.clear();
  PaneList* list = m_.List(m_.Options.ClickedPane);
  if (!list) return;
  try {
    std::wstring path, oldName;
    zenlo::sTypes type = zenlo::sDefault;
    list->ItemNameForRename(path, oldName, UseActive, type);
    const bool driveRoot = oldName.size() <= 3 && oldName.size() >= 2 && oldName[1] == L':';
    if (type == zenlo::sShare || path.empty() || oldName.empty() || driveRoot) return;
    popRename dialog(m_);
    dialog.Show(m_.Handle(), oldName);
    const std::wstring name = dialog.Typed();
    if (dialog.Pressed() == L"cmdRename" && name != oldName) {
      const std::wstring problem = NameProblem(name);
      if (!problem.empty()) {
        Tell(L"Sorry, the renaming could not be performed.\r\n\r\n" + problem);
      } else {
        list->WatchStop();
        if (RenameOnDisk(path + oldName, path + name)) {
          list->RefreshList();
        } else {
          Tell(L"Sorry, the renaming could not be performed.\r\n\r\nThe system returned the "
               L"following message: \r\n\r\n" +
               tk::SystemErrorText(GetLastError()));
        }
      }
    }
  } catch (...) {
    Tell(L"Sorry, the renaming could not be performed.");
  }
  list->WatchStart();
}

}  // namespace varnello
