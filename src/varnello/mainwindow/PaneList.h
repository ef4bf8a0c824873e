#pragma once
// One list of a pane pair as the main window drives it. The real one wraps a ZenloFileControl
// created through the library's class factory; tests put a recording double in its place.
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "zenlo/ZenloTypes.h"

namespace zenlo {
class ZenloFileControl;
}

namespace varnello {

// What the main window hears from its lists, with the list's index (0-4 tree, 100-104 listing).
class PaneListEvents {
 public:
  virtual ~PaneListEvents() = default;
  virtual void List_Click(short index) = 0;
  virtual void List_DriveClick(short index) = 0;
  virtual void List_Message(short index, std::wstring& text) = 0;
  virtual void List_ForceQuit(short index) = 0;
  virtual void List_UpdateFileName(short index, std::wstring& fileName) = 0;
  virtual void List_GetBookmark(short index, short& slot, std::wstring& path) = 0;
  virtual void List_IsPaneActive(short index, short& pane, bool& result) = 0;
  virtual void List_MouseMoveBasic(short index) = 0;
  virtual void List_PushedDownFolder(short index, std::wstring& currentFolder,
                                     std::wstring& parentFolder) = 0;
  virtual void List_PushedUpFolder2(short index) = 0;
  virtual void List_SetActiveIndex(short index) = 0;
  virtual void List_SetLockedIndex(short index) = 0;
  virtual void List_SetMasterMousePointer(short index, short& pointer) = 0;
  virtual void List_SetActiveButton(short index, short& buttonIndex) = 0;
  virtual void List_UpdateMasterHeadings(short index) = 0;
  virtual void List_KeyPressed(short index, short& keyCode) = 0;
  virtual void List_SpaceKeyUp(short index) = 0;
  virtual void List_MouseLocked(short index, bool& locked) = 0;
  virtual void List_NotifySourceIndex(short index) = 0;
  // "Make same as pane N": `pane` is the chosen pane 0-4.
  virtual void List_PaneWantsToMimicFolder(short index, short& pane) = 0;
  // Files dropped on the list: the paths NUL-ended with one more NUL, their short description,
  // and "copy" or empty (the user chooses).
  virtual void List_PasteItems(short index, std::wstring& source, std::wstring& sourceText,
                               std::wstring& operation) = 0;
  // The list's New Folder button.
  virtual void List_PushedNewFolder2(short index) = 0;
  // A right click: on an item, or (useCurrent) on the list's own folder. X and Y in twips within
  // the list.
  virtual void List_FBRightClick(short index, short button, short shift, float x, float y,
                                 std::wstring& currentFolder, std::wstring& parentFolder,
                                 std::wstring& currentItemPath, std::wstring& currentName,
                                 bool useCurrent, zenlo::sTypes currType) = 0;
};

class PaneList {
 public:
  virtual ~PaneList() = default;
  virtual HWND Window() const = 0;
  // `w` is the window that shows the list's items and takes its keys (not its filter box or
  // another text box inside the list).
  virtual bool IsItemArea(HWND w) const { return w && w == Window(); }

  virtual void SetSortOrder(short sortIndex, const std::wstring& key, const std::wstring& order) = 0;
  virtual void SetIsWin9X(bool value) = 0;
  virtual void SetListType(zenlo::ListType type) = 0;
  virtual void SetListMode(zenlo::EnumListMode mode) = 0;
  virtual zenlo::ListType FolderListType() const = 0;
  virtual void ApplyProperty(const std::wstring& name, const zenlo::Variant& value) = 0;
  virtual void ApplySkinChange() = 0;
  virtual void DrawFolderBox() = 0;
  virtual void RedrawTemporaryLines() = 0;
  virtual void LoadSetup() = 0;
  virtual void ResetStartItem() = 0;
  virtual void SetShowHiddenItems(bool value) = 0;
  virtual void SetShowSystemItems(bool value) = 0;
  virtual std::wstring GetActiveFolder(std::wstring& driveLetter) = 0;
  virtual std::wstring GetActiveFolder() = 0;
  virtual bool CheckFolderAccess(const std::wstring& path) = 0;
  virtual void StoreActiveFolder(const std::wstring& drive, const std::wstring& folder) = 0;
  virtual void SetFolder(std::wstring& drive, bool displayMessage) = 0;
  virtual std::wstring currentFolder() const = 0;
  virtual void currentFolder(const std::wstring& value) = 0;
  virtual void SetActiveFolder(const std::wstring& value) = 0;
  virtual void GetFolderContents(const std::wstring& folder, bool firstRun) = 0;
  virtual void ChangeNoticeClear() = 0;
  virtual void SetCancelled(bool value) = 0;
  // A read of this list is on the stack.
  virtual bool Reading() const = 0;
  // Full paths of the items the list shows, top to bottom.
  virtual std::vector<std::wstring> ShownItems() const = 0;
  // The paths of the shown items that are marked, in list order.
  virtual std::vector<std::wstring> MarkedItems() const { return {}; }
  virtual void StopOD() = 0;
  virtual void ResizeControl(zenlo::Orient layout) = 0;
  virtual void ClearTempGraphics() = 0;
  virtual void WatchStop() = 0;
  virtual void HiLightControl(bool on) = 0;
  virtual void SetFolderFocus() = 0;
  // Takes the focus and shows the pointer of a held key: "shift", "ctrl", or empty for none.
  virtual void SetFolderFocus(const std::wstring& butt) = 0;

  // Keys and the wheel the main window hands on.
  // Keys and the wheel the main window hands on. A list that raises KeyPressed and SpaceKeyUp
  // itself is not handed the keys the main window previews, or they would act twice.
  virtual bool RaisesOwnKeys() const { return false; }
  virtual void KeySpacePressed() = 0;
  virtual void KeyUpDownPressed(short& keyCode, bool& spaceKeyDown) = 0;
  virtual void CalculateFolderSizeSingle() = 0;
  virtual void MimimMouseScroll(bool rollUp) = 0;
  // Hover and temporary graphics.
  virtual void SetSkipScrollEvent(bool value) = 0;
  virtual void SetSkipMoveEvent(bool value) = 0;
  virtual void SetMouseLocked(bool value) = 0;
  // Tree navigation.
  virtual void ExpandFolder(const std::wstring& itemName, zenlo::ExpandType flag) = 0;
  // Makes the named item active; no name makes the root item active.
  virtual void MakeItemActive(const std::wstring& itemName) = 0;
  virtual std::int32_t GetActiveItemLevel() const = 0;
  virtual std::wstring GetActiveItemPath() const = 0;
  // Change watch, chime, columns and re-reads.
  virtual void WatchStart() = 0;
  virtual void WatchResume() = 0;
  virtual void TestSound() = 0;
  virtual bool GetHeadingValue(const std::wstring& column) const = 0;
  virtual void RefreshList() = 0;

  // The view a list remembers, which the settings file keeps.
  virtual zenlo::EnumListMode GetListMode() const = 0;
  virtual std::wstring CurrentDriveLetter() const = 0;
  // The highest index of the expanded-folder table, -1 when it is empty.
  virtual std::int32_t ExpandedCount() const = 0;
  virtual std::wstring GetExpandedFolderString(std::int32_t i) const = 0;
  virtual void AddToExpandedFolderString(const std::wstring& path) = 0;
  virtual void ExpandFolderRemove(const std::wstring& drive) = 0;
  virtual std::int32_t GetActiveFolderCount() const = 0;
  virtual void GetActiveFolderInfo(std::int32_t item, std::wstring& drive,
                                   std::wstring& folder) const = 0;
  virtual void AddToActiveFolderInfo(const std::wstring& drive, const std::wstring& folder) = 0;
  virtual void ActiveFolderRemove(const std::wstring& drive) = 0;
  // Headings 0-10; the seven properties "key", "Width", "Index", "active", "MenuName",
  // "Caption", "ToolTip".
  virtual zenlo::Variant GetHeadingProperty(short heading, const std::wstring& property) = 0;
  virtual void SetHeadingProperty(short heading, const std::wstring& property,
                                  const zenlo::Variant& value) = 0;
  virtual short GetNumberOfSorts() const = 0;
  virtual bool GetSortOrder(short sortIndex, std::wstring& key, std::wstring& order) = 0;
  virtual void SortReset() = 0;
  virtual std::int32_t GetActiveItemNum() const = 0;
  virtual void SetActiveItemNum(std::int32_t item) = 0;
  // How many items the list shows.
  virtual std::int32_t ShownItemCount() const = 0;
  virtual void HighLightActiveItem() = 0;
  virtual void SetDoDrawing(bool value) = 0;

  // What the file commands ask of a list.
  // The marked items' paths go to FileSpecs (each NUL-ended, then one more NUL); the answer
  // sums them up: empty, a folder's path, a file's name, or the counts.
  virtual std::wstring GetFileSpecs() = 0;
  virtual std::wstring FileSpecs() const = 0;
  // The folder a drop on the list goes into (under the pointer, else the list's own).
  virtual std::wstring DropDestination() = 0;
  virtual bool DroppedOnActiveItem() const = 0;
  virtual void SetDroppedOnActiveItem(bool value) = 0;
  virtual void SetExpandedFolder() = 0;
  // The folder a new folder goes into, with its backslash; empty when none can go there.
  // `useChildFolder`: a marked folder under the pointer is the place, not the one it lies in.
  virtual std::wstring ItemNameForNewFolder(bool useActiveFolder, bool useChildFolder) = 0;
  // What the right-click and key commands ask of a list.
  // Marks the item under the pointer unless it is marked already (a right click on an unmarked
  // item acts on that item alone); `currItem` receives its number.
  virtual void PreDragCheck(std::int32_t& currItem) = 0;
  // As PreDragCheck, but keeps the marks; false when no item is under the pointer or marked.
  virtual bool PreDragCheckKeepSelected(std::int32_t& currItem) = 0;
  // The marked paths one at a time after SetLastListItem(0), then "end".
  virtual void SetLastListItem(std::int32_t item) = 0;
  virtual std::wstring GetFileSpecsExternal() = 0;
  // Unmarks what a command must not keep marked (a tree's root, a folder with its ancestors).
  virtual void UnselectForbiddenItems() = 0;
  // As the control's: "all" marks every item, empty toggles, any other text unmarks all.
  virtual void SelectAll(const std::wstring& doAll) = 0;
  // Colours the marked files ("default" removes it); `totalFileCount` receives the folder's
  // file count.
  virtual void ColorFiles(const std::wstring& theColor, std::int32_t& totalFileCount) = 0;
  virtual void HighLightMouseOverItem() = 0;
  // The item to rename: its folder (with a backslash), its name and its type.
  virtual void ItemNameForRename(std::wstring& path, std::wstring& oldName, bool useActive,
                                 zenlo::sTypes& type) = 0;
  // The control behind the list, for the test build's state report; null for a double.
  virtual const zenlo::ZenloFileControl* Control() const { return nullptr; }
  // Heading, sort and size commands of the menus and the toolbar.
  virtual void ShiftHeading(const std::wstring& direction) = 0;
  virtual void DoSorting(const std::wstring& order) = 0;
  // Shows or hides the column of a heading menu entry ("mnuHeadingSize", ...).
  virtual void ModifyHeadings(const std::wstring& menuName) = 0;
  // Sums the sizes of every folder the list shows.
  virtual void CalculateFolderSize() = 0;
  // Folder compare and the listing's export.
  virtual std::vector<zenlo::TypeFolderContents> FileArrayForCompare() const = 0;
  virtual void CompareFolder(std::vector<zenlo::TypeFolderContents>& contents,
                             zenlo::EnumCompareMode mode) = 0;
  virtual void CompareResultsUpdate(const std::vector<zenlo::TypeFolderContents>& contents) = 0;
  // False when the file could not be written whole.
  virtual bool WriteFileListing(const std::wstring& path) = 0;
  // The compare mark of each shown item, in list order.
  virtual std::vector<std::pair<std::wstring, zenlo::CompareStatus>> CompareMarks() const {
    return {};
  }
};

// Makes the lists of the main window.
class PaneListFactory {
 public:
  virtual ~PaneListFactory() = default;
  // Creates list `index` as a child of `parent`, reporting to `events`; null when it cannot.
  virtual std::unique_ptr<PaneList> Create(short index, HWND parent, PaneListEvents& events) = 0;
};

}  // namespace varnello
