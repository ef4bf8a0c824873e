// Folder sizes: the walk below a folder and the calculation over a listing's folders, which
// yields after every entry so that the window stays live and Esc can stop it.
#include "listing/model/FolderSizes.h"

#include <windows.h>

#include <vector>

#include "listing/CallGuard.h"
#include "listing/model/PathText.h"
#include "listing/view/ViewState.h"
#include "toolkit/EventLoop.h"
#include "toolkit/MousePointer.h"
#include "toolkit/Text.h"
#include "zenlo/ZenloFileControl.h"

namespace zenlo {

namespace {

bool IsDotOrDotDot(const wchar_t* name) {
  return name[0] == L'.' && (name[1] == L'\0' || (name[1] == L'.' && name[2] == L'\0'));
}

class Search {
 public:
  explicit Search(HANDLE h) : h_(h) {}
  ~Search() {
    if (h_ != INVALID_HANDLE_VALUE) FindClose(h_);
  }
  Search(const Search&) = delete;
  Search& operator=(const Search&) = delete;
  bool Valid() const { return h_ != INVALID_HANDLE_VALUE; }
  HANDLE Get() const { return h_; }

 private:
  HANDLE h_;
};

// `folder` is grown and shrunk in place as the walk goes down and up: no path is built twice.
WalkEnd Walk(std::wstring& folder, TypeFolderTally& tally, const std::function<bool()>& afterEntry) {
  const std::size_t base = folder.size();
  folder += L'*';
  WIN32_FIND_DATAW entry;
  Search search(FindFirstFileExW(LongPathForm(folder).c_str(), FindExInfoBasic, &entry,
                                 FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH));
  folder.resize(base);
  if (!search.Valid())
    return GetLastError() == ERROR_FILE_NOT_FOUND ? WalkEnd::Complete : WalkEnd::NotSearched;
  do {
    const DWORD a = entry.dwFileAttributes;
    if ((a & FILE_ATTRIBUTE_DIRECTORY) && IsDotOrDotDot(entry.cFileName)) continue;
    if (!(a & FILE_ATTRIBUTE_DIRECTORY)) {
      tally.ByteCount += static_cast<std::int64_t>(
          (static_cast<std::uint64_t>(entry.nFileSizeHigh) << 32) | entry.nFileSizeLow);
    } else if (tally.IncludeSubFolders && !(a & FILE_ATTRIBUTE_REPARSE_POINT)) {
      folder.append(entry.cFileName).append(1, L'\\');
      const WalkEnd below = Walk(folder, tally, afterEntry);
      folder.resize(base);
      if (below == WalkEnd::Stopped) return below;
    }
    if (!afterEntry()) return WalkEnd::Stopped;
  } while (FindNextFileW(search.Get(), &entry));
  return WalkEnd::Complete;
}

}  // namespace

WalkEnd SumFolderTree(const std::wstring& folder, TypeFolderTally& tally,
                      const std::function<bool()>& afterEntry) {
  std::wstring path = AddTrailingBackslash(folder);
  return Walk(path, tally, afterEntry);
}

void ZenloFileControl::CalculateFolderSizeSingle() { CalculateFolderSize(view_->HoverItem); }

void ZenloFileControl::CalculateFolderSize(std::int32_t ItemNum) {
  if (closing_) return;
  CallGuard guard(*this);
  // One calculation at a time: a second one (a key press during the first one's yields) would
  // resume the watch and write into the items under the first.
  if (sizes_->Running()) return;
  if (ItemNum == -1) {
    WatchStart();
    return;
  }
  {
    FolderSizeState::Run run(*sizes_);
    WatchStop();
    // An Esc pressed before this calculation began is not meant for it.
    IsCancelled = false;
    tk::HourglassPointer hourglass;

    // The folders are taken by path now: a read during a yield replaces the array, and an
    // index then names another item or none.
    struct Target {
      std::int32_t Index;
      std::wstring Path;
    };
    std::vector<Target> targets;
    std::int32_t first = ItemNum, last = ItemNum;
    if (ItemNum == -99) {
      first = ltFolderListType == fbFolder ? 1 : 0;
      last = ltFolderListType == fbFolder ? foldersShown_ : foldersShown_ - 1;
    }
    for (std::int32_t i = std::max(first, 0); i <= last && i < itemCount_; ++i) {
      const TypeListItem& item = listItems_[static_cast<std::size_t>(i)];
      if (item.ItemType == sFolder) targets.push_back({i, item.FullPath});
    }

    // Where the folder is now: its index when that still holds it, else found by path.
    auto locate = [&](const Target& t) -> std::int32_t {
      if (t.Index < itemCount_) {
        const TypeListItem& at = listItems_[static_cast<std::size_t>(t.Index)];
        if (at.ItemType == sFolder && at.FullPath == t.Path) return t.Index;
      }
      for (std::int32_t i = 0; i < itemCount_; ++i) {
        const TypeListItem& item = listItems_[static_cast<std::size_t>(i)];
        if (item.ItemType == sFolder && tk::SameText(item.FullPath, t.Path)) return i;
      }
      return -1;
    };

    for (const Target& t : targets) {
      // Gone from the listing after a re-read: nothing to show a total on.
      const std::int32_t at = locate(t);
      if (at < 0) continue;
      ShowSizeCell(at, L"calculating...");
      // The walk's own first search tells whether the folder can be read: no second probe.
      std::int64_t bytes = -1;  // not accessible
      bool stopped = false;
      if (tk::UpperCase(t.Path).find(L"SYSTEM VOLUME INFORMATION") == std::wstring::npos) {
        const auto unc = t.Path.find(L"\\\\");
        const std::wstring folder = unc == std::wstring::npos ? t.Path : t.Path.substr(unc);
        TypeFolderTally tally;
        const WalkEnd end = SumFolderTree(folder, tally, [this] {
          tk::DoEvents();
          return !closing_ && !IsCancelled;
        });
        if (closing_) return;  // the host let go during a yield
        stopped = end == WalkEnd::Stopped;
        if (end != WalkEnd::NotSearched) bytes = tally.ByteCount;
      }
      const std::int32_t now = locate(t);
      if (now >= 0) {
        TypeListItem& item = listItems_[static_cast<std::size_t>(now)];
        if (bytes < 0)
          item.ClearSize();
        else if (stopped)
          item.SetPartialSize(static_cast<std::uint64_t>(bytes));  // marked: at least this much
        else
          item.SetSize(static_cast<std::uint64_t>(bytes));
        ShowSizeCell(now, item.SizeText());
      }
      HighLightMouseOverItem();
      if (IsCancelled) {
        IsCancelled = false;
        break;
      }
    }
    DrawFolderBox();
    HighLightMouseOverItem();
    HighLightActiveItem();
  }
  if (closing_) return;
  WatchStart();
}

}  // namespace zenlo
