#pragma once
// A recording double of the folder-list control: every call the main window makes is written
// to one shared log as "<index>:<call>", in order. SetFolder raises DriveClick before it
// returns, as the real control does.
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "mainwindow/PaneList.h"

namespace vtest {

struct CallLog {
  std::vector<std::wstring> Calls;
  // Off where nobody reads the calls (a benchmark): the double's own logging is not the
  // program's cost.
  bool Recording = true;
  std::vector<std::wstring> For(short index) const;  // the calls of one list, without prefix
  bool Has(const std::wstring& call) const;
};

class RecordingList final : public varnello::PaneList {
 public:
  RecordingList(short index, HWND parent, varnello::PaneListEvents& events, CallLog& log);
  ~RecordingList() override;

  // Scripted answers.
  std::wstring ActiveFolderAnswer = L"C:\\";
  bool AccessAnswer = true;
  bool RaiseDriveClick = true;
  std::function<void(const std::wstring&)> OnGetFolderContents;  // runs inside the "read"
  bool ReadingNow = false;

  // What the list was left with.
  zenlo::ListType Type = zenlo::fbFolder;
  std::wstring Current;
  std::wstring Active;
  std::map<std::wstring, zenlo::Variant> Properties;
  bool Stopped = false;

  HWND Window() const override { return window_; }
  void SetSortOrder(short i, const std::wstring& k, const std::wstring& o) override;
  void SetIsWin9X(bool v) override;
  void SetListType(zenlo::ListType t) override;
  void SetListMode(zenlo::EnumListMode m) override;
  zenlo::ListType FolderListType() const override { return Type; }
  void ApplyProperty(const std::wstring& n, const zenlo::Variant& v) override;
  void ApplySkinChange() override { Log(L"ApplySkinChange"); }
  void DrawFolderBox() override { Log(L"DrawFolderBox"); }
  void RedrawTemporaryLines() override { Log(L"RedrawTemporaryLines"); }
  void LoadSetup() override;
  void ResetStartItem() override { Log(L"ResetStartItem"); }
  void SetShowHiddenItems(bool v) override;
  void SetShowSystemItems(bool v) override;
  std::wstring GetActiveFolder(std::wstring& drive) override;
  std::wstring GetActiveFolder() override;
  bool CheckFolderAccess(const std::wstring& p) override;
  void StoreActiveFolder(const std::wstring& d, const std::wstring& f) override;
  void SetFolder(std::wstring& d, bool m) override;
  std::wstring currentFolder() const override { return Current; }
  void currentFolder(const std::wstring& v) override { Current = v; }
  void SetActiveFolder(const std::wstring& v) override { Active = v; }
  void GetFolderContents(const std::wstring& f, bool first) override;
  void ChangeNoticeClear() override { Log(L"ChangeNoticeClear"); }
  void SetCancelled(bool v) override;
  bool Reading() const override { return ReadingNow; }
  std::vector<std::wstring> ShownItems() const override { return {}; }
  void StopOD() override;
  void ResizeControl(zenlo::Orient) override { Log(L"ResizeControl"); }
  void ClearTempGraphics() override { Log(L"ClearTempGraphics"); }
  void WatchStop() override { Log(L"WatchStop"); }
  void HiLightControl(bool on) override { Log(on ? L"HiLightControl(1)" : L"HiLightControl(0)"); }
  void SetFolderFocus() override { Log(L"SetFolderFocus"); }
  void SetFolderFocus(const std::wstring& butt) override { Log(L"SetFolderFocus(" + butt + L")"); }
  bool OwnKeys = false;  // as a real list, which raises KeyPressed itself
  bool RaisesOwnKeys() const override { return OwnKeys; }
  void KeySpacePressed() override { Log(L"KeySpacePressed"); }
  void KeyUpDownPressed(short& keyCode, bool& spaceKeyDown) override;
  void CalculateFolderSizeSingle() override { Log(L"CalculateFolderSizeSingle"); }
  void MimimMouseScroll(bool rollUp) override;
  void SetSkipScrollEvent(bool v) override;
  void SetSkipMoveEvent(bool v) override;
  void SetMouseLocked(bool v) override;
  void ExpandFolder(const std::wstring& name, zenlo::ExpandType flag) override;
  void MakeItemActive(const std::wstring& name) override { Log(L"MakeItemActive(" + name + L")"); }
  std::int32_t GetActiveItemLevel() const override { return ActiveItemLevel; }
  std::wstring GetActiveItemPath() const override { return ActiveItemPath; }
  void WatchStart() override { Log(L"WatchStart"); }
  void WatchResume() override { Log(L"WatchResume"); }
  void TestSound() override;
  bool GetHeadingValue(const std::wstring& column) const override;
  void RefreshList() override { Log(L"RefreshList"); }

  zenlo::EnumListMode GetListMode() const override { return Mode; }
  std::wstring CurrentDriveLetter() const override { return Drive; }
  std::int32_t ExpandedCount() const override {
    return static_cast<std::int32_t>(Expanded.size()) - 1;
  }
  std::wstring GetExpandedFolderString(std::int32_t i) const override;
  void AddToExpandedFolderString(const std::wstring& path) override;
  void ExpandFolderRemove(const std::wstring& drive) override;
  std::int32_t GetActiveFolderCount() const override {
    return static_cast<std::int32_t>(Places.size()) - 1;
  }
  void GetActiveFolderInfo(std::int32_t item, std::wstring& drive,
                           std::wstring& folder) const override;
  void AddToActiveFolderInfo(const std::wstring& drive, const std::wstring& folder) override;
  void ActiveFolderRemove(const std::wstring& drive) override;
  zenlo::Variant GetHeadingProperty(short heading, const std::wstring& property) override;
  void SetHeadingProperty(short heading, const std::wstring& property,
                          const zenlo::Variant& value) override;
  short GetNumberOfSorts() const override;
  bool GetSortOrder(short i, std::wstring& key, std::wstring& order) override;
  void SortReset() override;
  std::int32_t GetActiveItemNum() const override { return ActiveItem; }
  void SetActiveItemNum(std::int32_t item) override;
  std::int32_t ShownItemCount() const override { return ItemsShown; }
  void HighLightActiveItem() override { Log(L"HighLightActiveItem"); }
  void SetDoDrawing(bool v) override;
  // The file commands' questions, answered from the fields below.
  std::wstring GetFileSpecs() override;
  std::wstring FileSpecs() const override { return Specs; }
  std::wstring DropDestination() override;
  bool DroppedOnActiveItem() const override { return DroppedOnActive; }
  void SetDroppedOnActiveItem(bool v) override;
  void SetExpandedFolder() override { Log(L"SetExpandedFolder"); }
  std::wstring ItemNameForNewFolder(bool useActiveFolder, bool useChildFolder) override;
  void PreDragCheck(std::int32_t& item) override;
  bool PreDragCheckKeepSelected(std::int32_t& item) override;
  void SetLastListItem(std::int32_t item) override;
  std::wstring GetFileSpecsExternal() override;
  void UnselectForbiddenItems() override { Log(L"UnselectForbiddenItems"); }
  void SelectAll(const std::wstring& doAll) override { Log(L"SelectAll(" + doAll + L")"); }
  void ColorFiles(const std::wstring& color, std::int32_t& total) override;
  void HighLightMouseOverItem() override { Log(L"HighLightMouseOverItem"); }
  void ItemNameForRename(std::wstring& path, std::wstring& oldName, bool useActive,
                         zenlo::sTypes& type) override;

  void ShiftHeading(const std::wstring& d) override { Log(L"ShiftHeading(" + d + L")"); }
  void DoSorting(const std::wstring& o) override { Log(L"DoSorting(" + o + L")"); }
  void ModifyHeadings(const std::wstring& n) override { Log(L"ModifyHeadings(" + n + L")"); }
  void CalculateFolderSize() override { Log(L"CalculateFolderSize"); }
  std::vector<zenlo::TypeFolderContents> FileArrayForCompare() const override;
  void CompareFolder(std::vector<zenlo::TypeFolderContents>& contents,
                     zenlo::EnumCompareMode mode) override;
  void CompareResultsUpdate(const std::vector<zenlo::TypeFolderContents>& contents) override;
  bool WriteFileListing(const std::wstring& path) override;

  // Compare: the names this list hands out, and the names it matches when compared.
  std::vector<std::wstring> CompareNames;
  std::vector<std::wstring> MatchNames;
  bool WriteAnswer = true;

  std::int32_t ActiveItemLevel = 1;
  std::wstring ActiveItemPath;
  std::map<std::wstring, bool> Headings;  // columns shown; others are not

  // The remembered view, as the real control keeps it.
  zenlo::EnumListMode Mode = zenlo::listDetails;
  std::wstring Drive = L"C";
  std::vector<std::wstring> Expanded;
  std::vector<std::pair<std::wstring, std::wstring>> Places;  // drive, active folder
  // Eleven headings by the seven property names, in their own kinds.
  std::vector<std::map<std::wstring, zenlo::Variant>> HeadingTable;
  std::vector<std::pair<std::wstring, std::wstring>> Sorts;  // 101 levels
  std::int32_t ActiveItem = -1;
  std::int32_t ItemsShown = 0;
  bool DoDrawing = true;
  bool SoundFails = false;
  bool SetupFails = false;  // LoadSetup raises an error
  // File commands: the marked paths (GetFileSpecs makes FileSpecs and its summary of them),
  // the drop's folder, the folder for a new folder and the item to rename.
  std::vector<std::wstring> Marked;
  std::wstring Specs;
  std::wstring DropFolder;
  bool DroppedOnActive = false;
  std::wstring NewFolderPlace;
  // PreDragCheck marks this path ahead of the others when it is not marked (empty: none under
  // the pointer); GetFileSpecsExternal hands out Marked in order; ColorFiles answers FileCount.
  std::wstring PointerItem;
  std::int32_t NextExternal = 0;
  std::int32_t FileCount = 0;
  std::wstring RenamePath, RenameName;
  zenlo::sTypes RenameType = zenlo::sFile;

 private:
  void Log(const std::wstring& call) const;
  short index_;
  HWND window_ = nullptr;
  varnello::PaneListEvents& events_;
  CallLog& log_;
};

class RecordingFactory final : public varnello::PaneListFactory {
 public:
  CallLog Log;
  std::map<short, RecordingList*> Lists;  // alive lists by index
  std::vector<short> FailIndexes;         // Create answers null for these
  std::function<void(RecordingList&)> OnCreate;

  std::unique_ptr<varnello::PaneList> Create(short index, HWND parent,
                                             varnello::PaneListEvents& events) override;
  RecordingList& operator[](short index) { return *Lists.at(index); }
};

// A temporary folder removed with its contents at the end.
class TempDir {
 public:
  // Under the user's temporary folder, or under `base` (e.g. a drive's root).
  TempDir();
  explicit TempDir(const std::wstring& base);
  ~TempDir();
  const std::wstring& Path() const { return path_; }
  std::wstring File(const std::wstring& name) const { return path_ + L"\\" + name; }
  void Write(const std::wstring& name, const std::string& bytes) const;
  bool Exists(const std::wstring& name) const;

 private:
  std::wstring path_;
};

// The folder of the running test program (where Zenlo.dll sits too).
std::wstring ExeFolder();

}  // namespace vtest
