#include "RecordingLists.h"

#include "toolkit/Error.h"

#include <shellapi.h>

#include <algorithm>
#include <fstream>
#include <stdexcept>

namespace vtest {

namespace {
std::wstring Bool(bool v) { return v ? L"1" : L"0"; }

std::wstring VariantText(const zenlo::Variant& v) {
  if (auto b = std::get_if<bool>(&v)) return Bool(*b);
  if (auto s = std::get_if<std::int16_t>(&v)) return std::to_wstring(*s);
  if (auto l = std::get_if<std::int32_t>(&v)) return std::to_wstring(*l);
  if (auto t = std::get_if<std::wstring>(&v)) return L"\"" + *t + L"\"";
  return L"empty";
}
}  // namespace

std::vector<std::wstring> CallLog::For(short index) const {
  const std::wstring prefix = std::to_wstring(index) + L":";
  std::vector<std::wstring> out;
  for (const auto& c : Calls)
    if (c.rfind(prefix, 0) == 0) out.push_back(c.substr(prefix.size()));
  return out;
}

bool CallLog::Has(const std::wstring& call) const {
  for (const auto& c : Calls)
    if (c == call) return true;
  return false;
}

RecordingList::RecordingList(short index, HWND parent, varnello::PaneListEvents& events,
                             CallLog& log)
    : Sorts(101), index_(index), events_(events), log_(log) {
  // The headings a fresh control has: keys, widths, order and the columns shown.
  const wchar_t* keys[11] = {L"sColor", L"sName", L"sDateLastModified", L"sSize", L"sExt",
                             L"sDateCreated", L"sDateLastAccessed", L"sAttributes", L"sComments",
                             L"sFileType", L"sFiller"};
  for (int h = 0; h < 11; ++h)
    HeadingTable.push_back({{L"key", std::wstring(keys[h])},
                            {L"Width", std::int32_t{1000 + h * 15}},
                            {L"Index", static_cast<std::int16_t>(h)},
                            {L"active", h < 4 || h == 10},
                            {L"MenuName", h < 2 ? std::wstring() : L"mnuHeading" + std::wstring(keys[h] + 1)},
                            {L"Caption", std::wstring(keys[h] + 1)},
                            {L"ToolTip", L"Tip " + std::to_wstring(h)}});
  window_ = CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 10, 10, parent, nullptr, nullptr,
                            nullptr);
}

RecordingList::~RecordingList() {
  if (window_) DestroyWindow(window_);
}

void RecordingList::KeyUpDownPressed(short& keyCode, bool& spaceKeyDown) {
  Log(L"KeyUpDownPressed(" + std::to_wstring(keyCode) + L"," + Bool(spaceKeyDown) + L")");
}
void RecordingList::MimimMouseScroll(bool rollUp) {
  Log(L"MimimMouseScroll(" + Bool(rollUp) + L")");
}
void RecordingList::SetSkipScrollEvent(bool v) { Log(L"SkipScrollEvent=" + Bool(v)); }
void RecordingList::SetSkipMoveEvent(bool v) { Log(L"SkipMoveEvent=" + Bool(v)); }
void RecordingList::SetMouseLocked(bool v) { Log(L"MouseLocked=" + Bool(v)); }
void RecordingList::ExpandFolder(const std::wstring& name, zenlo::ExpandType flag) {
  Log(L"ExpandFolder(" + name + L"," + std::to_wstring(static_cast<int>(flag)) + L")");
}
void RecordingList::TestSound() {
  Log(L"TestSound");
  if (SoundFails) throw std::runtime_error("no sound device");
}
std::wstring RecordingList::GetFileSpecs() {
  Log(L"GetFileSpecs");
  Specs.clear();
  size_t folders = 0;
  for (const auto& p : Marked) {
    Specs += p + L'\0';
    const DWORD a = GetFileAttributesW(p.c_str());
    if (a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY)) ++folders;
  }
  if (!Marked.empty()) Specs += L'\0';
  if (Marked.empty()) return {};
  if (Marked.size() == 1)
    return folders ? Marked[0] : Marked[0].substr(Marked[0].find_last_of(L'\\') + 1);
  return std::to_wstring(folders) + L" folders " + std::to_wstring(Marked.size() - folders) +
         L" files";
}
std::wstring RecordingList::DropDestination() {
  Log(L"DropDestination");
  return DropFolder;
}
void RecordingList::SetDroppedOnActiveItem(bool v) {
  Log(L"DroppedOnActiveItem=" + Bool(v));
  DroppedOnActive = v;
}
std::wstring RecordingList::ItemNameForNewFolder(bool useActiveFolder, bool useChildFolder) {
  Log(L"ItemNameForNewFolder(" + Bool(useActiveFolder) + (useChildFolder ? L",1" : L"") + L")");
  return NewFolderPlace;
}
void RecordingList::PreDragCheck(std::int32_t& item) {
  Log(L"PreDragCheck");
  if (PointerItem.empty()) return;
  if (std::find(Marked.begin(), Marked.end(), PointerItem) == Marked.end())
    Marked.assign(1, PointerItem);
  item = 0;
}
bool RecordingList::PreDragCheckKeepSelected(std::int32_t& item) {
  Log(L"PreDragCheckKeepSelected");
  if (Marked.empty() && !PointerItem.empty()) Marked.assign(1, PointerItem);
  item = 0;
  return !Marked.empty();
}
void RecordingList::SetLastListItem(std::int32_t item) {
  Log(L"LastListItem=" + std::to_wstring(item));
  NextExternal = item;
}
std::wstring RecordingList::GetFileSpecsExternal() {
  if (NextExternal < 0 || NextExternal >= static_cast<std::int32_t>(Marked.size())) return L"end";
  return Marked[static_cast<size_t>(NextExternal++)];
}
void RecordingList::ColorFiles(const std::wstring& color, std::int32_t& total) {
  Log(L"ColorFiles(" + color + L")");
  total = FileCount;
}
void RecordingList::ItemNameForRename(std::wstring& path, std::wstring& oldName, bool useActive,
                                      zenlo::sTypes& type) {
  Log(L"ItemNameForRename(" + Bool(useActive) + L")");
  path = RenamePath;
  oldName = RenameName;
  type = RenameType;
}

void RecordingList::LoadSetup() {
  Log(L"LoadSetup");
  if (SetupFails) throw tk::RuntimeError(5, L"Invalid procedure call or argument");
}
bool RecordingList::GetHeadingValue(const std::wstring& column) const {
  Log(L"GetHeadingValue(" + column + L")");
  const auto it = Headings.find(column);
  return it != Headings.end() && it->second;
}

void RecordingList::Log(const std::wstring& call) const {
  if (log_.Recording) log_.Calls.push_back(std::to_wstring(index_) + L":" + call);
}

void RecordingList::SetSortOrder(short i, const std::wstring& k, const std::wstring& o) {
  if (log_.Recording)
    Log(L"SetSortOrder(" + std::to_wstring(i) + L"," + k + L"," + o + L")");
  if (i < 0 || i > 100) throw std::out_of_range("sort level");
  Sorts[static_cast<size_t>(i)] = {k, o};
}
std::wstring RecordingList::GetExpandedFolderString(std::int32_t i) const {
  return i >= 0 && i < static_cast<std::int32_t>(Expanded.size()) ? Expanded[static_cast<size_t>(i)]
                                                                 : std::wstring();
}
void RecordingList::AddToExpandedFolderString(const std::wstring& path) {
  if (log_.Recording)
    Log(L"AddToExpandedFolderString(" + path + L")");
  Expanded.push_back(path);
}
void RecordingList::ExpandFolderRemove(const std::wstring& drive) {
  Log(L"ExpandFolderRemove(" + drive + L")");
  std::erase_if(Expanded, [&](const std::wstring& p) {
    return !p.empty() && !drive.empty() && towupper(p[0]) == towupper(drive[0]);
  });
}
void RecordingList::GetActiveFolderInfo(std::int32_t item, std::wstring& drive,
                                        std::wstring& folder) const {
  drive.clear();
  folder.clear();
  if (item < 0 || item >= static_cast<std::int32_t>(Places.size())) return;
  drive = Places[static_cast<size_t>(item)].first;
  folder = Places[static_cast<size_t>(item)].second;
}
void RecordingList::AddToActiveFolderInfo(const std::wstring& drive, const std::wstring& folder) {
  if (log_.Recording)
    Log(L"AddToActiveFolderInfo(" + drive + L"," + folder + L")");
  // Drive keys compare without regard to case, as the control's place memory does.
  for (const auto& p : Places)
    if (_wcsicmp(p.first.c_str(), drive.c_str()) == 0) return;
  Places.emplace_back(drive, folder);
}
void RecordingList::ActiveFolderRemove(const std::wstring& drive) {
  Log(L"ActiveFolderRemove(" + drive + L")");
  std::erase_if(Places, [&](const auto& p) { return _wcsicmp(p.first.c_str(), drive.c_str()) == 0; });
}
zenlo::Variant RecordingList::GetHeadingProperty(short heading, const std::wstring& property) {
  if (heading < 0 || heading > 10) throw std::out_of_range("heading");
  const auto& row = HeadingTable[static_cast<size_t>(heading)];
  if (const auto exact = row.find(property); exact != row.end()) return exact->second;
  for (const auto& [name, value] : row)
    if (_wcsicmp(name.c_str(), property.c_str()) == 0) return value;
  return std::monostate{};
}
void RecordingList::SetHeadingProperty(short heading, const std::wstring& property,
                                       const zenlo::Variant& value) {
  if (log_.Recording)
    Log(L"SetHeadingProperty(" + std::to_wstring(heading) + L"," + property + L"," +
        VariantText(value) + L")");
  if (heading < 0 || heading > 10) throw std::out_of_range("heading");
  auto& row = HeadingTable[static_cast<size_t>(heading)];
  if (const auto exact = row.find(property); exact != row.end()) {
    exact->second = value;
    return;
  }
  for (auto& [name, v] : row)
    if (_wcsicmp(name.c_str(), property.c_str()) == 0) v = value;
}
short RecordingList::GetNumberOfSorts() const {
  short n = 0;
  while (n < static_cast<short>(Sorts.size()) && !Sorts[static_cast<size_t>(n)].first.empty()) ++n;
  return n;
}
bool RecordingList::GetSortOrder(short i, std::wstring& key, std::wstring& order) {
  if (i < 0 || i > 100) return false;
  key = Sorts[static_cast<size_t>(i)].first;
  order = Sorts[static_cast<size_t>(i)].second;
  return true;
}
void RecordingList::SortReset() {
  Log(L"SortReset");
  for (auto& s : Sorts) s = {};
}
void RecordingList::SetActiveItemNum(std::int32_t item) {
  Log(L"SetActiveItemNum(" + std::to_wstring(item) + L")");
  ActiveItem = item;
}
void RecordingList::SetDoDrawing(bool v) {
  Log(L"SetDoDrawing(" + Bool(v) + L")");
  DoDrawing = v;
}
void RecordingList::SetIsWin9X(bool v) { Log(L"IsWin9X=" + Bool(v)); }
void RecordingList::SetListType(zenlo::ListType t) {
  Type = t;
  Log(L"ltFolderListType=" + std::to_wstring(static_cast<int>(t)));
}
void RecordingList::SetListMode(zenlo::EnumListMode m) {
  Mode = m;
  Log(L"ListMode=" + std::to_wstring(static_cast<int>(m)));
}
void RecordingList::ApplyProperty(const std::wstring& n, const zenlo::Variant& v) {
  Properties[n] = v;
  // Colours are many and alike: the log keeps their names only.
  if (n.rfind(L"Color", 0) == 0)
    Log(L"ApplyProperty(" + n + L")");
  else
    Log(L"ApplyProperty(" + n + L"," + VariantText(v) + L")");
}
void RecordingList::SetShowHiddenItems(bool v) { Log(L"ShowHiddenItems=" + Bool(v)); }
void RecordingList::SetShowSystemItems(bool v) { Log(L"ShowSystemItems=" + Bool(v)); }
std::wstring RecordingList::GetActiveFolder(std::wstring& drive) {
  Log(L"GetActiveFolder(" + drive + L")");
  return ActiveFolderAnswer;
}
std::wstring RecordingList::GetActiveFolder() {
  Log(L"GetActiveFolder()");
  return ActiveFolderAnswer;
}
bool RecordingList::CheckFolderAccess(const std::wstring& p) {
  Log(L"CheckFolderAccess(" + p + L")");
  return AccessAnswer;
}
void RecordingList::StoreActiveFolder(const std::wstring& d, const std::wstring& f) {
  Log(L"StoreActiveFolder(" + d + L"," + f + L")");
  ActiveFolderAnswer = f;
}
void RecordingList::SetFolder(std::wstring& d, bool m) {
  Log(L"SetFolder(" + d + L"," + Bool(m) + L")");
  Drive = d;
  Current = ActiveFolderAnswer;
  if (RaiseDriveClick) events_.List_DriveClick(index_);
}
void RecordingList::GetFolderContents(const std::wstring& f, bool first) {
  Log(L"GetFolderContents(" + f + L"," + Bool(first) + L")");
  if (OnGetFolderContents) {
    ReadingNow = true;
    auto hook = OnGetFolderContents;
    hook(f);
    ReadingNow = false;
  }
}
void RecordingList::SetCancelled(bool v) { Log(L"IsCancelled=" + Bool(v)); }
void RecordingList::StopOD() {
  Stopped = true;
  Log(L"StopOD");
}

std::vector<zenlo::TypeFolderContents> RecordingList::FileArrayForCompare() const {
  Log(L"FileArrayForCompare");
  std::vector<zenlo::TypeFolderContents> contents;
  for (const auto& n : CompareNames) contents.push_back({n, L"1", L"2001-01-01  00:00", false});
  return contents;
}
void RecordingList::CompareFolder(std::vector<zenlo::TypeFolderContents>& contents,
                                  zenlo::EnumCompareMode mode) {
  std::wstring names;
  for (auto& c : contents) {
    names += (names.empty() ? L"" : L" ") + c.TheFileName;
    for (const auto& m : MatchNames)
      if (m == c.TheFileName) c.MatchMade = true;
  }
  Log(L"CompareFolder(" + names + L"," + std::to_wstring(static_cast<int>(mode)) + L")");
}
void RecordingList::CompareResultsUpdate(const std::vector<zenlo::TypeFolderContents>& contents) {
  std::wstring matched;
  for (const auto& c : contents)
    if (c.MatchMade) matched += (matched.empty() ? L"" : L" ") + c.TheFileName;
  Log(L"CompareResultsUpdate(" + matched + L")");
}
bool RecordingList::WriteFileListing(const std::wstring& path) {
  Log(L"WriteFileListing(" + path + L")");
  return WriteAnswer;
}

std::unique_ptr<varnello::PaneList> RecordingFactory::Create(short index, HWND parent,
                                                             varnello::PaneListEvents& events) {
  for (short f : FailIndexes)
    if (f == index) return nullptr;
  auto list = std::make_unique<RecordingList>(index, parent, events, Log);
  Lists[index] = list.get();
  if (OnCreate) OnCreate(*list);
  return list;
}

namespace {
std::wstring TempBase() {
  wchar_t base[MAX_PATH];
  GetTempPathW(MAX_PATH, base);
  return base;
}
}  // namespace

TempDir::TempDir() : TempDir(TempBase()) {}

TempDir::TempDir(const std::wstring& base) {
  static unsigned counter = 0;
  path_ = base + L"vtest" + std::to_wstring(GetCurrentProcessId()) + L"_" +
          std::to_wstring(++counter);
  CreateDirectoryW(path_.c_str(), nullptr);
}

TempDir::~TempDir() {
  std::wstring from = path_ + std::wstring(1, L'\0');
  SHFILEOPSTRUCTW op{};
  op.wFunc = FO_DELETE;
  op.pFrom = from.c_str();
  op.fFlags = FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT;
  SHFileOperationW(&op);
}

void TempDir::Write(const std::wstring& name, const std::string& bytes) const {
  std::ofstream out(File(name).c_str(), std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

bool TempDir::Exists(const std::wstring& name) const {
  return GetFileAttributesW(File(name).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::wstring ExeFolder() {
  wchar_t path[MAX_PATH];
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring p = path;
  return p.substr(0, p.find_last_of(L'\\'));
}

}  // namespace vtest
