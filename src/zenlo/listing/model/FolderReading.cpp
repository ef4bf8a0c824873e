// Reading a folder, a tree of expanded folders or a network level into the item array.
// The read yields to the message loop after every entry; requests that arrive meanwhile
// restart the outermost read, Esc (IsCancelled) ends it with what it has.
#include <algorithm>

#include "listing/CallGuard.h"
#include "listing/model/ChangeWatch.h"
#include "listing/model/FilePropertyStore.h"
#include "listing/model/FolderEntryFeed.h"
#include "listing/model/FolderPathCheck.h"
#include "listing/model/ItemDetails.h"
#include "listing/model/NetResource.h"
#include "listing/model/NetworkPaths.h"
#include "listing/model/PathText.h"
#include "listing/model/ReadSeams.h"
#include "listing/model/ItemReleaser.h"
#include "listing/model/MultiHeadingSort.h"
#include "listing/model/NameKeys.h"
#include "listing/model/SubFolderProbe.h"
#include "listing/view/ViewState.h"
#include "toolkit/Error.h"
#include "toolkit/EventLoop.h"
#include "toolkit/MousePointer.h"
#include "toolkit/Text.h"
#include "zenlo/ZenloFileControl.h"

namespace zenlo {

namespace {
constexpr int kMaxPasses = 5;
constexpr std::int32_t kIndentStep = 150;
constexpr DWORD kMarkEveryMs = 100;
// How long the read waits for an entry read ahead before it answers the user again.
constexpr DWORD kEntryWaitMs = 20;
constexpr std::int16_t kMaxMarks = 60;

const wchar_t kChangingText[] =
    L"The folder contents keep changing while Varnello is trying to build a list of the items."
    L"\r\n\r\n"
    L"It is possible that some background operation is creating this problem. Varnello will now "
    L"stop so that the operation can finish."
    L"\r\n\r\n"
    L"Please restart Varnello in a few minutes.";

// Below the network's levels a listing path goes on with a computer's "\\"; without one it
// names no real folder, and a search would list the current drive's root in its place.
bool NamesNoNetworkPlace(const std::wstring& path, const std::wstring& networkObject) {
  return networkObject.empty() && path[0] == L'*' && path.find(L"\\\\") == std::wstring::npos &&
         NetworkObjectType(path) == sDefault;
}

bool IsDotOrDotDot(const wchar_t* name) {
  return name[0] == L'.' && (name[1] == L'\0' || (name[1] == L'.' && name[2] == L'\0'));
}

class SearchHandle {
 public:
  explicit SearchHandle(HANDLE h) : h_(h) {}
  ~SearchHandle() { Close(); }
  SearchHandle(const SearchHandle&) = delete;
  SearchHandle& operator=(const SearchHandle&) = delete;
  bool Valid() const { return h_ != INVALID_HANDLE_VALUE; }
  HANDLE Get() const { return h_; }
  void Close() {
    if (h_ != INVALID_HANDLE_VALUE) FindClose(h_);
    h_ = INVALID_HANDLE_VALUE;
  }

 private:
  HANDLE h_;
};

ReadSeams g_seams;

// The upper-case text after the last "." of a name; empty without one.
void ExtensionKeyOf(const std::wstring& name, std::wstring& key) {
  key.clear();
  const auto dot = name.rfind(L'.');
  if (dot == std::wstring::npos) return;
  key.assign(name, dot + 1, std::wstring::npos);
  bool ascii = true;
  for (wchar_t& c : key) {
    if (c >= 0x80) {
      ascii = false;
      break;
    }
    if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - 32);
  }
  // Other scripts take the locale's casing, as every other key of the listing does.
  if (!ascii) key = tk::UpperCase(name.substr(dot + 1));
}
}  // namespace

ReadSeams& TestReadSeams() { return g_seams; }

// One call of the read: what it was asked for and where it rolls back to.
struct ZenloFileControl::ReadCall {
  ReadCall(std::wstring p, bool first, std::int32_t& xPrint, bool nest, std::wstring& netObject,
           bool keep)
      : path(std::move(p)),
        firstRun(first),
        xPrintStart(xPrint),
        nestCall(nest),
        networkObject(netObject),
        keepSelected(keep) {}

  std::wstring path;
  bool firstRun = true;
  std::int32_t& xPrintStart;
  bool nestCall = false;
  std::wstring& networkObject;
  bool keepSelected = false;
  std::int32_t levelIndent = 0;
  std::wstring realFolder;
  // The outermost read's search, opened when its path was checked.
  std::unique_ptr<FolderSearch> checkedSearch;
  // State at entry, restored before a nested read's next pass.
  std::int32_t entryFolders = 0;
  std::int32_t entryFiles = 0;
  std::int16_t entryLevel = 0;
  std::int32_t entryXPrint = 0;
  std::int32_t rollBack = -1;
  // Reused for every file this call places: no entry pays for a key of its own. Per call, so
  // a read elsewhere during a shell query cannot change it under the look-ups.
  std::wstring extKey;
};

bool ZenloFileControl::GetFolderContents(std::wstring FolderPath, bool FirstRunFlag) {
  std::int32_t xPrintStart = 0;
  std::wstring networkObject;
  return GetFolderContents(std::move(FolderPath), FirstRunFlag, xPrintStart, sDefault, false,
                           networkObject, false);
}

bool ZenloFileControl::GetFolderContents(std::wstring FolderPath, bool FirstRunFlag,
                                         std::int32_t& XPrintStart, sTypes /*TheType*/,
                                         bool NestCall, std::wstring& NetworkObject,
                                         bool KeepSelected) {
  if (closing_) return false;
  CallGuard guard(*this);
  WatchStop();
  if (!NestCall) {
    if (readBusy_) {
      // Served by the running read: it starts over with this path.
      requestedPath_ = FolderPath;
      readRequested_ = true;
      return false;
    }
    readBusy_ = true;
    readRequested_ = false;
    requestedPath_.clear();
  }

  ReadCall call{FolderPath, FirstRunFlag, XPrintStart, NestCall, NetworkObject, KeepSelected};
  bool completed = false;
  {
    tk::HourglassPointer hourglass;
    if (NestCall) {
      completed = ReadNested(call) == PassEnd::Completed;
    } else {
      completed = ReadPasses(call);
    }
  }
  if (!NestCall) {
    netRoot_.reset();
    readBusy_ = false;
    if (!closing_) WatchStart();
  }
  return completed;
}

bool ZenloFileControl::ReadPasses(ReadCall& call) {
  int passes = 0;
  for (;;) {
    if (closing_) return false;
    ++passes;
    if (!requestedPath_.empty()) call.path = requestedPath_;
    PassEnd end = RunPass(call);
    if (closing_) return false;
    if (end == PassEnd::Completed) {
      try {
        HandOver(call);
      } catch (...) {
        RaiseUnknownError(tk::CurrentError());
        end = PassEnd::Ended;
      }
      if (closing_) return false;
      if (!readRequested_) return end == PassEnd::Completed;
      // A request made by a handler after the last yield (Click, Message) is served now.
      end = PassEnd::Restart;
    }
    switch (end) {
      case PassEnd::Restart:
        readRequested_ = false;
        passes = 0;
        continue;
      case PassEnd::Abandoned:
        if (passes < kMaxPasses) continue;
        RaiseMessage(kChangingText);
        RaiseForceQuit();
        return false;
      case PassEnd::Quit:
        return false;
      case PassEnd::Ended:
        if (!readRequested_ || closing_) return false;
        readRequested_ = false;
        passes = 0;
        continue;
      case PassEnd::Completed:
        break;
    }
    return false;
  }
}

ZenloFileControl::PassEnd ZenloFileControl::ReadNested(ReadCall& call) {
  call.entryFolders = foldersShown_;
  call.entryFiles = filesShown_;
  call.entryLevel = readLevel_;
  call.entryXPrint = call.xPrintStart;
  for (int passes = 1;; ++passes) {
    PassEnd end = RunPass(call);
    if (end != PassEnd::Abandoned) return end;
    // Roll back what this nested read placed before trying again.
    newListItems_.resize(static_cast<std::size_t>(call.rollBack + 1));
    readIndex_ = call.rollBack;
    readLevel_ = call.entryLevel;
    foldersShown_ = call.entryFolders;
    filesShown_ = call.entryFiles;
    call.xPrintStart = call.entryXPrint;
    if (passes >= kMaxPasses) {
      RaiseMessage(kChangingText);
      RaiseForceQuit();
      return PassEnd::Quit;
    }
  }
}

void ZenloFileControl::RaiseUnknownError(const tk::ErrorInfo& err) {
  RaiseMessage(tk::MessageWithError(L"An unknown error has occurred.", err,
                                    L"Error Description: "));
  IsCancelled = false;
}

ZenloFileControl::PassEnd ZenloFileControl::RunPass(ReadCall& call) {
  if (call.xPrintStart == 0) call.xPrintStart = defaultIndent_;
  if (call.path.size() < 2) {
    RaiseMessage(L"No Folder Specified.");
    return PassEnd::Ended;
  }
  try {
    call.path = AddTrailingBackslash(call.path);
    if (ltFolderListType == fbFolder && tk::SameText(call.networkObject, L"SHARE"))
      call.networkObject.clear();
    if (call.firstRun) {
      // A folder that cannot be listed is refused before anything of the listing changes.
      if (IsDirectoryRead(call)) {
        FolderPathVerdict verdict = CheckFolderToRead(call.path, true);
        if (!verdict.Ok) {
          RaiseMessage(L"The folder could not be read.\r\n\r\nFolder: " +
                       PathForMessage(call.path) + L"\r\n\r\n" + verdict.Reason);
          return PassEnd::Ended;
        }
        call.path = verdict.Path;
        call.checkedSearch = std::move(verdict.Search);
      } else if (ltFolderListType != fbFolder &&
                 NamesNoNetworkPlace(call.path, call.networkObject)) {
        RaiseMessage(L"The folder could not be read.\r\n\r\nFolder: " +
                     PathForMessage(call.path) +
                     L"\r\n\r\nThe network path names no share of a network computer.");
        return PassEnd::Ended;
      }
      OutermostSetUp(call);
    } else {
      ++readLevel_;
      call.levelIndent = call.xPrintStart + kIndentStep;
      call.rollBack = readIndex_;
    }
  } catch (...) {
    RaiseUnknownError(tk::CurrentError());
    return PassEnd::Ended;
  }

  if (!call.networkObject.empty()) return ReadNetworkLevels(call);
  return ReadDirectory(call);
}

bool ZenloFileControl::IsDirectoryRead(const ReadCall& call) const {
  // Network levels ("*:\..." and computers) are enumerated, not searched.
  if (!call.networkObject.empty() || call.path[0] == L'*') return false;
  return call.path.rfind(L"\\\\", 0) != 0 || GetObjectType(call.path) == sDefault;
}

void ZenloFileControl::OutermostSetUp(ReadCall& call) {
  const bool tree = ltFolderListType == fbFolder;
  if (tree) {
    details_->IconCellCache.Clear();
    details_->SettledTypes.clear();
  } else {
    extensionFilterList_.clear();
    listedExtensions_.clear();
    listedExtensionKeys_.clear();
    ++details_->ListingRead;
    view_->StatusNotice.clear();
  }
  if (!tree) {
    DCDestroy();
    DCSetup();
    BitBltBase(true);  // the emptied listing shows at once
  }
  if (!call.keepSelected) savedSelection_.clear();
  // Looked up once per listed item: a hashed copy, so re-reading a listing with many marks
  // stays linear.
  savedSelectionKeys_.clear();
  for (const auto& entry : savedSelection_)
    if (!entry.Path.empty()) savedSelectionKeys_.emplace(tk::UpperCase(entry.Path), entry.Flag);
  // What was painted around and below the old rows goes, in the current list background.
  if (HWND box = view_->BoundBox.Handle()) InvalidateRect(box, nullptr, TRUE);
  // Trees need them too: their folders share one picture.
  if (!sharedIconsBuilt_) {
    DCSetupIcon();
    DCSetupIconTrans();
    sharedIconsBuilt_ = true;
  }
  DCDestroyIconEXE();
  DCSetupIconEXE();
  DCDestroyIconEXETrans();
  DCSetupIconEXETrans();
  details_->OwnIconCount = -1;

  lastMarkTick_ = GetTickCount();
  markCount_ = 1;
  StatusLet(L"* ");

  IsCancelled = false;
  readLevel_ = 1;
  readIndex_ = -1;
  call.levelIndent = call.xPrintStart;
  currentFolder_ = call.path;
  networkListing_ = call.path.find(L"\\\\") != std::wstring::npos || call.path[0] == L'*';
  foldersShown_ = filesShown_ = 0;
  newListItems_.clear();
  // The item array grows without moving; the name keys by row take room for what this place
  // held last time.
  std::size_t expected = 0;
  if (tk::SameText(call.path, lastReadFolder_) && itemCount_ > 0)
    expected = static_cast<std::size_t>(itemCount_) + itemCount_ / 8 + 1000;
  readKeys_->Reset(tree ? 0 : expected);

  if (tree) {
    readIndex_ = 0;
    TypeListItem root;
    root.Selected = -1;
    root.IndentX = call.xPrintStart - kIndentStep;
    if (call.path.rfind(L"\\\\", 0) == 0 || !networkListing_) {
      root.Name = root.FullPath = call.path;
      root.ItemType = sFolder;
    } else {
      root.Name = L"Entire Network";
      root.ItemType = sEntireNetwork;
      root.FullPath = L"*:";
      call.networkObject = L"ENTIRENETWORK";
      netRoot_ = NewNetRoot();
    }
    newListItems_.push_back(std::move(root));
    std::wstring key;
    activeString_ = GetActiveFolder(key);
    // The active item is kept by path: an index into the old items means nothing here.
    activeItem_ = -1;
  } else {
    if (networkListing_) {
      switch (GetObjectType(call.path)) {
        case sEntireNetwork: call.networkObject = L"ENTIRENETWORK"; break;
        case sNetwork: call.networkObject = L"NETWORK"; break;
        case sDomain: call.networkObject = L"DOMAIN"; break;
        case sComputer: call.networkObject = L"COMPUTER"; break;
        default: break;
      }
      if (!call.networkObject.empty()) netRoot_ = NewNetRoot();
    }
    activeItem_ = -1;
  }
}

ZenloFileControl::PassEnd ZenloFileControl::ReadNetworkLevels(ReadCall& call) {
  try {
    if (tk::SameText(call.networkObject, L"ENTIRENETWORK")) {
      if (!netRoot_) netRoot_ = NewNetRoot();
      for (const auto& child : netRoot_->Children()) {
        if (IsProviderNeverListed(child->RemoteName())) continue;
        ++readIndex_;
        ++foldersShown_;
        TypeListItem item;
        item.FullPath = L"*:\\" + child->RemoteName();
        item.Name = child->ShortName();
        item.ItemType = sNetwork;
        item.SetNameKeyed(true);
        item.Selected = -1;
        item.IndentX = call.levelIndent;
        item.Level = readLevel_;
        newListItems_.push_back(std::move(item));
        PassEnd end = ExpandNetworkItem(call, readIndex_, L"NETWORK");
        if (end == PassEnd::Restart || end == PassEnd::Quit) return end;
      }
      return PassEnd::Completed;
    }
    if (!(tk::SameText(call.networkObject, L"NETWORK") ||
          tk::SameText(call.networkObject, L"DOMAIN") ||
          tk::SameText(call.networkObject, L"SERVER") ||
          tk::SameText(call.networkObject, L"COMPUTER")))
      return PassEnd::Completed;

    NetResource* at = WalkToNetResource(call.path);
    if (!at) return PassEnd::Completed;
    std::wstring base = call.path.substr(0, call.path.size() - 1);
    for (const auto& child : at->Children()) {
      if (child->ResourceType() == 255) continue;  // printers are not listed
      TypeListItem item;
      item.Name = child->ShortName();
      const std::wstring kind = child->ResourceTypeName();
      if (tk::SameText(kind, L"server")) {
        item.ItemType = sServer;
        call.networkObject = L"SERVER";
        item.FullPath = base + child->RemoteName();
      } else if (tk::SameText(kind, L"domain")) {
        item.ItemType = sDomain;
        call.networkObject = L"DOMAIN";
        item.FullPath = base + L"\\" + child->ShortName();
      } else if (tk::SameText(kind, L"share")) {
        item.ItemType = sShare;
        call.networkObject = L"SHARE";
        item.FullPath = base + L"\\" + child->ShortName();
      } else {
        item.ItemType = sDefault;
        item.FullPath = base + L"\\" + child->ShortName();
      }
      ++foldersShown_;
      ++readIndex_;
      item.SetNameKeyed(true);
      item.Selected = -1;
      item.IndentX = call.levelIndent;
      item.Level = readLevel_;
      newListItems_.push_back(std::move(item));
      PassEnd end = ExpandNetworkItem(call, readIndex_, call.networkObject);
      if (end == PassEnd::Restart || end == PassEnd::Quit) return end;
    }
    return PassEnd::Completed;
  } catch (...) {
    RaiseUnknownError(tk::CurrentError());
    return PassEnd::Ended;
  }
}

ZenloFileControl::PassEnd ZenloFileControl::ExpandNetworkItem(ReadCall& call,
                                                              std::int32_t index,
                                                              const std::wstring& level) {
  TypeListItem& item = newListItems_[static_cast<std::size_t>(index)];
  if (!IsExpandedFolder(item.FullPath)) {
    item.FolderStatus = sNotExpanded;
    return PassEnd::Completed;
  }
  item.FolderStatus = sExpanded;
  std::int32_t indent = call.levelIndent;
  std::wstring networkObject = level;
  ReadCall nested{item.FullPath, false, indent, true, networkObject, false};
  PassEnd end = ReadNested(nested);
  --readLevel_;
  return end;
}

NetResource* ZenloFileControl::WalkToNetResource(const std::wstring& path) {
  if (!netRoot_) netRoot_ = NewNetRoot();
  return WalkNetworkPath(*netRoot_, path);
}

ZenloFileControl::PassEnd ZenloFileControl::ReadDirectory(ReadCall& call) {
  call.realFolder = call.path;
  if (!call.realFolder.empty() && call.realFolder[0] == L'*') {
    auto unc = call.realFolder.find(L"\\\\");
    call.realFolder = unc == std::wstring::npos ? std::wstring() : call.realFolder.substr(unc);
  }
  call.realFolder = AddTrailingBackslash(call.realFolder);
  const std::wstring pattern = LongPathForm(call.realFolder) + L"*.*";
  WIN32_FIND_DATAW entry;
  std::unique_ptr<FolderSearch> checked = std::move(call.checkedSearch);
  HANDLE opened = INVALID_HANDLE_VALUE;
  if (checked && checked->Handle != INVALID_HANDLE_VALUE) {
    entry = checked->First;
    opened = checked->Take();
  } else {
    opened = FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &entry, FindExSearchNameMatch,
                              nullptr, FIND_FIRST_EX_LARGE_FETCH);
  }
  if (opened == INVALID_HANDLE_VALUE) return PassEnd::Completed;
  const bool tree = ltFolderListType == fbFolder;
  // A listing's names get their sort keys made beside the enumeration: the sort after the
  // read takes them. A tree sorts by paths.
  std::shared_ptr<NameKeyBlocks> keys = tree ? nullptr : readKeys_->NewBlocks();
  FolderEntryFeed feed(opened, entry, FolderEntryFeed::Tuning{}, keys);

  for (;;) {
    const WIN32_FIND_DATAW* next = feed.Next(kEntryWaitMs);
    if (!next) {
      if (feed.Done()) break;
      // The platform is slow to give the next entry: keep answering the user meanwhile.
      PassEnd after = YieldAfterEntry();
      if (after != PassEnd::Completed) return after;
      if (IsCancelled) return PassEnd::Completed;
      continue;
    }
    const WIN32_FIND_DATAW& entry = *next;
    const DWORD a = entry.dwFileAttributes;
    const bool skip = ((a & FILE_ATTRIBUTE_HIDDEN) && !ShowHiddenItems) ||
                      ((a & FILE_ATTRIBUTE_SYSTEM) && !ShowSystemItems) ||
                      ((a & FILE_ATTRIBUTE_DIRECTORY) && IsDotOrDotDot(entry.cFileName));
    if (!skip) {
      if (a & FILE_ATTRIBUTE_DIRECTORY) {
        try {
          PlaceFolder(call, entry);
        } catch (...) {
          return PassEnd::Abandoned;
        }
        if (tree) {
          PassEnd end;
          try {
            end = ExpandTreeFolder(call, readIndex_);
          } catch (...) {
            RaiseUnknownError(tk::CurrentError());
            return PassEnd::Ended;
          }
          if (end == PassEnd::Restart || end == PassEnd::Quit) return end;
          if (closing_) return PassEnd::Ended;
        }
      } else if (!tree) {
        try {
          PlaceFile(call, entry);
        } catch (...) {
          return PassEnd::Abandoned;
        }
      }
      if (keys) readKeys_->Placed(readIndex_, feed.LastKey());
    }
    PassEnd after = YieldAfterEntry();
    if (after != PassEnd::Completed) return after;
    if (IsCancelled) return PassEnd::Completed;
  }
  return PassEnd::Completed;
}

ZenloFileControl::PassEnd ZenloFileControl::YieldAfterEntry() {
  ShowProgress();
  tk::DoEvents();
  if (closing_) return PassEnd::Ended;
  // A request restarts the outermost read, however deep this read is nested.
  if (readRequested_) return PassEnd::Restart;
  return PassEnd::Completed;
}

void ZenloFileControl::ShowProgress() {
  const DWORD now = GetTickCount();
  if (now - lastMarkTick_ <= kMarkEveryMs) return;
  lastMarkTick_ = now;
  ++markCount_;
  std::wstring marks;
  marks.reserve(static_cast<std::size_t>(markCount_) * 2);
  for (int i = 0; i < markCount_; ++i) marks += L"* ";
  if (markCount_ >= kMaxMarks) markCount_ = 0;
  StatusLet(marks);
  view_->lblStatus.Refresh();
}

namespace {
std::uint64_t TimeValue(const FILETIME& t) {
  return (static_cast<std::uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
}

void SetEntryDetails(TypeListItem& item, TypeListItem::Details kind,
                     const WIN32_FIND_DATAW& entry) {
  item.SetDetails(kind, TimeValue(entry.ftCreationTime), TimeValue(entry.ftLastWriteTime),
                  TimeValue(entry.ftLastAccessTime), entry.dwFileAttributes);
}
}  // namespace

void ZenloFileControl::PlaceFolder(ReadCall& call, const WIN32_FIND_DATAW& entry) {
  if (g_seams.OnEntry) g_seams.OnEntry(entry.cFileName);
  // Built in place: the array never holds a record that was copied into it.
  TypeListItem& item = newListItems_.emplace_back();
  item.Name = entry.cFileName;  // never trimmed: " data" is not "data"
  SetEntryDetails(item, TypeListItem::Details::Folder, entry);
  item.FullPath = call.path + item.Name;
  if (call.realFolder != call.path) item.SetRealPath(call.realFolder + item.Name);
  item.Selected = FindNameInList(item.FullPath);
  item.Level = readLevel_;
  item.ItemType = sFolder;
  item.SetNameKeyed(true);
  item.IndentX = call.levelIndent;
  item.RowTop = -1;
  PlaceFolderPicture(item);
  ++readIndex_;
  ++foldersShown_;
}

void ZenloFileControl::PlaceFile(ReadCall& call, const WIN32_FIND_DATAW& entry) {
  if (g_seams.OnEntry) g_seams.OnEntry(entry.cFileName);
  TypeListItem& item = newListItems_.emplace_back();
  item.Name = entry.cFileName;
  SetEntryDetails(item, TypeListItem::Details::File, entry);
  item.SetSize((static_cast<std::uint64_t>(entry.nFileSizeHigh) << 32) | entry.nFileSizeLow);
  item.IndentX = call.levelIndent;
  item.ItemType = sFile;
  item.FullPath.reserve(call.realFolder.size() + item.Name.size());
  item.FullPath.append(call.realFolder).append(item.Name);
  std::wstring& extKey = call.extKey;
  ExtensionKeyOf(item.Name, extKey);
  item.Selected = FindNameInList(item.FullPath);
  item.RowTop = -1;
  item.Level = 1;
  PlaceFileType(item, extKey);  // also offers the extension to the filter
  ++readIndex_;
}

ZenloFileControl::PassEnd ZenloFileControl::ExpandTreeFolder(ReadCall& call,
                                                             std::int32_t index) {
  auto at = [&]() -> TypeListItem& { return newListItems_[static_cast<std::size_t>(index)]; };
  if (tk::SameText(ActiveFolder, at().FullPath)) activeItem_ = index;
  const std::wstring fullPath = at().FullPath;

  auto readNested = [&]() {
    at().FolderStatus = sExpanded;
    std::int32_t indent = call.levelIndent;
    std::wstring networkObject;
    ReadCall nested{fullPath, false, indent, true, networkObject, false};
    PassEnd end = ReadNested(nested);
    --readLevel_;
    return end;
  };

  if (RemoteDriveSelected) {
    if (!IsExpandedFolder(fullPath)) {
      at().FolderStatus = sNotExpanded;
      return PassEnd::Completed;
    }
    const std::int32_t before = readIndex_;
    PassEnd end = readNested();
    if (end == PassEnd::Restart || end == PassEnd::Quit) return end;
    // Cut short by Esc, the folder stays remembered as open: its children are read next time.
    if (IsCancelled) return end;
    const bool empty = readIndex_ == before;
    if (empty) at().FolderStatus = sNoSubFolders;
    SetExpandedFlag(fullPath, empty ? -1 : 0);
    return end;
  }
  const bool hasSubFolders = subFolderProbe_->HasSubFolders(
      fullPath, at().LastWriteTime(), ShowHiddenItems, ShowSystemItems,
      [&] { return FolderHasSubFolders(fullPath); });
  if (!hasSubFolders) {
    at().FolderStatus = sNoSubFolders;
    return PassEnd::Completed;
  }
  if (!IsExpandedFolder(fullPath)) {
    at().FolderStatus = sNotExpanded;
    return PassEnd::Completed;
  }
  return readNested();
}

bool ZenloFileControl::FolderHasSubFolders(const std::wstring& path) const {
  if (g_seams.OnProbe) g_seams.OnProbe(path);
  std::wstring real = path;
  auto unc = real.find(L"\\\\");
  if (unc != std::wstring::npos) real = real.substr(unc);
  const std::wstring pattern = LongPathForm(AddTrailingBackslash(real)) + L"*.*";
  WIN32_FIND_DATAW entry;
  SearchHandle search(FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &entry,
                                       FindExSearchNameMatch, nullptr,
                                       FIND_FIRST_EX_LARGE_FETCH));
  if (!search.Valid()) return false;
  do {
    // Only a sub-folder the tree would show counts: no expander that opens to nothing.
    const DWORD a = entry.dwFileAttributes;
    if ((a & FILE_ATTRIBUTE_DIRECTORY) && !IsDotOrDotDot(entry.cFileName) &&
        !((a & FILE_ATTRIBUTE_HIDDEN) && !ShowHiddenItems) &&
        !((a & FILE_ATTRIBUTE_SYSTEM) && !ShowSystemItems))
      return true;
  } while (FindNextFileW(search.Get(), &entry));
  return false;
}

bool ZenloFileControl::IsExpandedFolder(const std::wstring& path) const {
  return std::any_of(expandedFolders_.begin(), expandedFolders_.end(),
                     [&](const TypeFolderFlag& f) { return tk::SameText(f.Path, path); });
}

std::int32_t ZenloFileControl::FindNameInList(const std::wstring& path) const {
  if (savedSelectionKeys_.empty()) return -1;
  const auto found = savedSelectionKeys_.find(tk::UpperCase(path));
  return found == savedSelectionKeys_.end() ? -1 : found->second;
}

void ZenloFileControl::SetExpandedFlag(const std::wstring& path, std::int16_t flag) {
  for (auto& entry : expandedFolders_)
    if (tk::SameText(entry.Path, path)) entry.Flag = flag;
}

void ZenloFileControl::HandOver(ReadCall& call) {
  const bool tree = ltFolderListType == fbFolder;
  newListItems_.resize(static_cast<std::size_t>(readIndex_ + 1));
  itemCount_ = readIndex_ + 1 > 0 ? readIndex_ + 1 : 0;
  // The sorts below reorder the items: the active item found by the read is kept by its path.
  if (activeItem_ >= 0 && activeItem_ < itemCount_ && activeString_.empty())
    activeString_ = newListItems_[static_cast<std::size_t>(activeItem_)].FullPath;
  activeItem_ = -1;
  // The work array becomes the live one whole: nothing is copied or shrunk. The previous
  // listing goes to be released where the user does not wait for it.
  listItems_.swap(newListItems_);
  if (listItems_.empty()) listItems_.resize(1);  // the placeholder; ItemCount stays 0
  ReleaseItems(std::move(newListItems_));
  newListItems_ = ItemArray();
  // The name keys made during the read serve the sorts below and go with them.
  struct KeysForTheseSorts {
    ReadNameKeys& keys;
    MultiHeadingSort& sorter;
    ~KeysForTheseSorts() {
      sorter.ReadKeys = nullptr;
      keys.Reset(0);
    }
  } keysForTheseSorts{*readKeys_, *sorter_};
  readKeys_->HandOver(static_cast<std::size_t>(itemCount_));
  sorter_->ReadKeys = readKeys_->Rows();
  ViewState& v = *view_;
  v.IndentBase = 300;
  v.IndentStep = 150;
  v.TextOffsetX = 200;
  v.IconOffsetX = -250;
  v.ExpanderOffsetX = -400;
  v.ExtWidthPad = 50;
  v.SizeWidthPad = 100;
  GetMaxHeadingWidths();

  if (itemCount_ > 0) {
    if (tree)
      QuickSortType(1, itemCount_ - 1);
    else
      QuickSortType(0, itemCount_ - 1);
  }

  // What the box shows now, typed text included: the new listing is filtered by it.
  const std::wstring keptFilter = FilterBoxText();
  filterEntries_.assign(1, L"All");
  if (itemCount_ > 0) {
    if (!tree && ShowColor && !networkListing_ &&
        (readIndex_ - foldersShown_ + 1 < FileCountMax || enhancedMode_))
      PropertiesPass();
    if (!tree && !listedExtensions_.empty()) {
      extensionFilterList_.clear();
      for (const auto& ext : listedExtensions_) extensionFilterList_.push_back(tk::LowerCase(ext));
      QuickSortArray();
      filterEntries_.insert(filterEntries_.end(), extensionFilterList_.begin(),
                            extensionFilterList_.end());
    }
    RefreshItemColors();
  }
  filterReady_ = false;
  filterText_ = keptFilter.empty() ? L"All" : keptFilter;
  SyncFilterBox();
  filterReady_ = true;

  ApplyFilterToItems();
  lastReadFolder_ = call.path;
  IsCancelled = false;
}

void ZenloFileControl::ReleaseItems(ItemArray&& items) {
  releaser_->Release(std::move(items));
}

void ZenloFileControl::PropertiesPass() {
  FilePropertyStore& store = *propertyStore_;
  struct Listing {
    FilePropertyStore& s;
    ~Listing() { s.EndListing(); }
  } listing{store};
  store.BeginListing();
  for (std::int32_t i = foldersShown_; i < itemCount_; ++i) {
    TypeListItem& item = listItems_[static_cast<std::size_t>(i)];
    if (item.ItemType != sFile) continue;
    try {
      auto props = store.OpenListed(item.FullPath, item.Size());
      if (!props) continue;
      item.SetComments(props->Comments());
      item.SetColorWord(props->UserProperty(L"VarnelloColor").value_or(L""));
    } catch (const tk::RuntimeError& e) {
      if (e.Info().Number == kErrPropertiesUnavailable) item.IsOpen = true;
    } catch (...) {
      // Properties are extra: the file is listed without them.
    }
  }
}

void ZenloFileControl::RefreshItemColors() {
  for (std::int32_t i = 0; i < itemCount_; ++i) {
    TypeListItem& item = listItems_[static_cast<std::size_t>(i)];
    item.ItemColor = item.ColorWord().empty() ? -1 : ColorWordToRgb(item.ColorWord());
  }
}

}  // namespace zenlo
