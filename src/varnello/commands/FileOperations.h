#pragma once
// The main window's file commands over the shell's file operation: copy, move and delete of a
// list's items or of files dropped on a list, duplicate, new folder and rename. Around the
// shell the program checks what the shell cannot be trusted with everywhere: its result is
// always examined and reported once, names for copies into their own folder are chosen here,
// and a folder is never copied or moved into itself.
#include <windows.h>

#include <deque>
#include <string>
#include <vector>

#include "toolkit/Window.h"

namespace varnello {

class Master;

// The shell's function code for an operation word: FO_MOVE for "move", FO_COPY for "copy",
// FO_DELETE for "delete"; 0 (no operation) for "rename", "cancel" and every other word.
UINT FileOperationWords(const std::wstring& word);

// The path up to and including its last backslash; empty without one.
std::wstring GetFolderPath(const std::wstring& FullPath);
// The text without one trailing backslash.
std::wstring RemoveRightSlash(std::wstring str);
// Whether the path names an existing folder.
bool IsFolder(const std::wstring& path);
// The last name of the path (a folder's without its backslash).
std::wstring NameOf(const std::wstring& path);
// Whether the path is a drive's top folder ("C:\\"): from its first ":" on it reads ":\\".
bool IsDriveRoot(const std::wstring& path);
// A network path from its first "\\" on when it names a share; empty for a bare server. Other
// paths come back unchanged.
std::wstring ValidatePath(const std::wstring& Path);

// The paths of a list in which each ends with NUL (and the list with one more).
std::vector<std::wstring> SplitFileSpecs(const std::wstring& specs);
// Why `name` cannot name a new folder or a renamed item; empty when it can.
std::wstring NameProblem(const std::wstring& name);
// Whether two paths name the same item, compared as the file system does: case-blind, with
// short names made long.
bool SamePath(const std::wstring& a, const std::wstring& b);
// Whether `path` is `folder` or lies inside it.
bool IsSameOrBelow(const std::wstring& folder, const std::wstring& path);
// A name in `folder` (ending with a backslash) that nothing there has and `taken` does not
// hold: `name` itself when free, else "name (2).ext", "name (3).ext", ... (a folder's name is
// numbered at its end).
std::wstring FreeName(const std::wstring& folder, const std::wstring& name, bool isFolder,
                      const std::vector<std::wstring>& taken = {});
// "yymmdd-hhmmss".
std::wstring DuplicateStamp(const SYSTEMTIME& local);
// The path with the stamp in the item's own name, before its extension.
std::wstring DuplicatePath(const std::wstring& path, const std::wstring& stamp);
// The shell operation's result in words.
std::wstring ShellResultText(int result);

class FileOperations {
 public:
  explicit FileOperations(Master& master);
  ~FileOperations();
  FileOperations(const FileOperations&) = delete;
  FileOperations& operator=(const FileOperations&) = delete;

  // Copies, moves or deletes the items of list `SourceListIndex` (or `SourceFileSpecs` when
  // given) and refreshes the lists that changed. `DestFolder` may come back with a backslash
  // added, `RefreshChild` True, and for "delete" `DestListIndex` equal to the source.
  void FileOperate(std::wstring& operation, short SourceListIndex, short& DestListIndex,
                   std::wstring& DestFolder, bool& RefreshChild,
                   const std::wstring& SourceFileSpecs = {});
  // The clicked list's marked items: to the recycle bin with the shell's own confirmation, or
  // (Permanent) for good after the program's own question.
  void DeleteItems(bool Permanent);
  // The same, run from the message loop once the current message has been handled (a key seen
  // before its window, a command from inside a control's handler).
  void RequestDelete(bool Permanent);
  // Files dropped on list `index`: the destination is read now, inside the drop; the question
  // and the work come after the drop has returned.
  void PasteItems(short index, const std::wstring& strSource, const std::wstring& strSourceText,
                  const std::wstring& operation);
  // Runs the drops still waiting (the posted message does it by itself).
  void RunPendingPastes();
  // Copies each item beside itself with a time stamp in its name.
  void DuplicateItems(const std::vector<std::wstring>& asPaths);
  void DuplicateItems(const std::vector<std::wstring>& asPaths, const std::wstring& stamp);
  void CreateNewFolder(bool UseActiveFolder);
  void RenameItem(bool UseActive);

 private:
  struct PendingPaste {
    short Index;
    short SourceIndex;
    std::wstring Target, Source, SourceText, Operation;
  };
  struct ShellRun {
    int Result = 0;
    bool Aborted = false;
    bool Refused = false;  // nothing was tried
  };
  void RunPaste(const PendingPaste& paste);
  ShellRun RunShell(UINT code, const std::vector<std::wstring>& sources,
                    const std::vector<std::wstring>& targets, WORD flags);
  // The explicit target of each source copied or moved into `folder`.
  std::vector<std::wstring> TargetsIn(const std::wstring& folder,
                                      const std::vector<std::wstring>& sources) const;
  // Refuses (with a message) a destination that is no existing absolute folder, and a folder
  // copied or moved into itself.
  bool DestinationAllowed(const std::wstring& word, const std::wstring& folder,
                          const std::vector<std::wstring>& sources);
  // Reports a shell operation that failed or was cancelled, naming the items it left undone.
  void ReportShellFailure(const std::wstring& word, const ShellRun& run,
                          const std::vector<std::wstring>& undone);
  // The tree's active folder is among `sources`.
  bool ActiveFolderAmong(short treeIndex, const std::vector<std::wstring>& sources);
  void Tell(std::wstring text);
  LRESULT OnPosted(UINT msg);

  Master& m_;
  tk::HandlerWindow poster_;
  std::deque<PendingPaste> pending_;
  std::deque<bool> pendingDeletes_;
};

}  // namespace varnello
