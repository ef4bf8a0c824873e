#pragma once
// ZenloFileControl: the folder-listing control. A tree (FolderListType fbFolder) or a listing of
// one folder; the host drives it through these members and hears from it through its events.
//
// Setting up a control, in this order:
//   1. Create it: through the class factory of Zenlo.dll (DllGetClassObject with
//      CLSID_ZenloFileControl, then QueryInterface for IID_ZenloFileControl gives the class), or
//      with ZenloFileControl::Create() when linked in. It comes with one reference.
//   2. AttachEvents(sink): derive the sink from ZenloFileControlEventsBase and override only the
//      events the host answers. The sink must outlive the control.
//   3. Initialize().
//   4. Set ltFolderListType (fbFolder for a tree, fbFileAndFolder or fbFile for a listing), the
//      options (ShowHiddenItems, ...) and the skin (ApplyProperty, then ApplySkinChange).
//   5. CreateFrame(parent), then place Window() in the parent (MoveWindow).
//   6. LoadSetup().
//   7. Read: a tree is pointed at a place with SetFolder(key); a listing reads a folder with
//      GetFolderContents(path, true).
//   8. ResizeControl(orientation), and again whenever the host gives the control a new size.
// SetFolder takes the key of a drive or place of the selector, not a folder path: a drive letter
// ("C"), "*" (My Network Places), "?" (My Documents) or a bookmark slot "0".."9". A key that the
// selector does not list shows the first drive; with DisplayMessage true the host hears of it.
// The host lets go with Release(); a member running at that moment (a read yields to the
// message loop) unwinds first, and nothing reaches the host after its release.
#include <windows.h>
#include <unknwn.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "zenlo/ItemArray.h"
#include "zenlo/ZenloApi.h"
#include "zenlo/ZenloClassIds.h"
#include "zenlo/ZenloFileControlEvents.h"
#include "zenlo/ZenloTypes.h"

struct IDataObject;

namespace tk {
struct ErrorInfo;
}

namespace zenlo {

class CallGuard;
class Marking;
struct PointerState;
class CallLifetime;
class ChangeWatch;
class ColorMemory;
class FilePropertyStore;
class FolderSizeState;
class HeadingStrip;
class ItemDetails;
class NetEnumerator;
class ItemReleaser;
class ReadNameKeys;
class MultiHeadingSort;
class NameFilter;
struct SortLevel;
class NetResource;
class PlaceMemory;
class RightClickMemory;
class ZFCombo;
struct ViewState;
class ShellFileInfo;
class SoundPlayer;
class SubFolderProbe;

class ZENLO_API ZenloFileControl final : public IUnknown {
 public:
  // Creates an instance with one reference. Attach the sink, then Initialize.
  static ZenloFileControl* Create();

  // IUnknown. The last Release while a read is running on the stack defers destruction
  // until that read has unwound.
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  void AttachEvents(ZenloFileControlEvents* sink);
  // Start-up: call after the sink is attached, so start-up messages reach the host.
  void Initialize();
  // Creates the control's window inside the host's window; the host then sets its position,
  // size and visibility on Window() and calls ResizeControl.
  bool CreateFrame(HWND parent);
  HWND Window() const;
  // The window inside Window() that shows the items and takes the list's keys.
  HWND ItemWindow() const;

  // Persisted properties "ChildControl", "CurrentFolder", "FolderListType".
  void ReadProperties(const PropertyBag& bag);
  void WriteProperties(PropertyBag& bag) const;

  // ---- Public variables ----
  bool MouseLocked = false;
  bool IsCancelled = false;
  bool DroppedOnActiveItem = false;
  bool SkipMoveEvent = false;
  bool SkipScrollEvent = false;
  std::int32_t ExpandedCount = 0;
  bool ShowHiddenItems = false;
  bool ShowSystemItems = false;
  ListType ltFolderListType = fbFolder;
  EnumListMode ListMode = listDetails;
  bool IsWin9X = false;
  std::wstring ActiveFolder;
  std::int32_t ActiveFolderItem = 0;
  std::wstring FileSpecs;
  std::wstring FileSpecsText;
  std::int32_t LastListItem = 0;
  // The item last highlighted while something is dragged over the listing; true (or empty)
  // when none is, so that the next drag-over highlight always runs.
  Variant LastSelItemHighLight = true;
  // The ItemType of the item last clicked or made active.
  sTypes SelectedCurrentType = sDefault;

  // ---- Properties ----
  std::wstring ChildControl() const { return childControl_; }
  void ChildControl(const std::wstring& value) { childControl_ = value; }
  std::wstring currentFolder() const { return currentFolder_; }
  void currentFolder(const std::wstring& value) { currentFolder_ = value; }
  ListType FolderListType() const { return ltFolderListType; }
  void FolderListType(ListType value) { ltFolderListType = value; }

  // ---- Folder reading ----
  bool GetFolderContents(std::wstring FolderPath, bool FirstRunFlag);
  bool GetFolderContents(std::wstring FolderPath, bool FirstRunFlag, std::int32_t& XPrintStart,
                         sTypes TheType, bool NestCall, std::wstring& NetworkObject,
                         bool KeepSelected);

  // ---- Item details ----
  void StoreExtension(std::wstring& FileExt);
  void GetFileInfo(std::wstring FilePath, std::wstring& FileType, std::int16_t& IconPalette,
                   std::int16_t& X, std::int16_t& Y, std::wstring FileExt);
  void GetIconPos(std::wstring& path, std::wstring& ext, std::int16_t& X, std::int16_t& Y);

  // ---- Sorting ----
  // Sorts by the active heading in the given direction ("asc", "des", "ascadd", "desadd") and
  // redraws, keeping the active item.
  void DoSorting(const std::wstring& order);
  // Takes the active heading into the level list as DoSorting's direction says (unless
  // IsRefresh: the list is re-applied as it is), then sorts by every level.
  void SortList(bool IsRefresh = false);
  // Applies level i to items OverallStart..OverallEnd: only runs equal on levels 1..i-1 move.
  void MultiSort(std::int32_t& i, std::int32_t& OverallStart, std::int32_t& OverallEnd);
  // One level by the active heading (or the level being sorted) in the current direction.
  void QuickSort(std::optional<std::int32_t> lngLeft = std::nullopt,
                 std::optional<std::int32_t> lngRight = std::nullopt);
  // A tree by the keys CreateSortString made.
  void QuickSortSpecial(std::optional<std::int32_t> lngLeft = std::nullopt,
                        std::optional<std::int32_t> lngRight = std::nullopt);
  void QuickSortExt(std::optional<std::int32_t> lngLeft = std::nullopt,
                    std::optional<std::int32_t> lngRight = std::nullopt);
  // The extension filter's list, ascending without regard to case.
  void QuickSortArray(std::optional<std::int32_t> lngLeft = std::nullopt,
                      std::optional<std::int32_t> lngRight = std::nullopt);
  // A tree in path order: the keys that put siblings in the heading's order under their parent.
  void CreateSortString();
  void QuickSortType(std::optional<std::int32_t> lngLeft = std::nullopt,
                     std::optional<std::int32_t> lngRight = std::nullopt);
  void QuickSortName(std::optional<std::int32_t> lngLeft = std::nullopt,
                     std::optional<std::int32_t> lngRight = std::nullopt);
  void QuickSortFilter(std::optional<std::int32_t> lngLeft = std::nullopt,
                       std::optional<std::int32_t> lngRight = std::nullopt);

  // ---- Expanded folders and remembered places ----
  void AddToExpandedFolderString(const std::wstring& currString);
  void ExpandFolder(std::int32_t& TheItem, std::wstring ItemName, ExpandType& ExpandFlag);
  void ExpandFolder(std::wstring ItemName, ExpandType ExpandFlag);
  void CollapseAllFolders();
  void ExpandFolderRemove(const std::wstring& DriveLetter);
  void SetExpandedFolder();
  std::wstring GetActiveFolderString(std::int32_t) const { return {}; }  // the list is never filled
  void AddToActiveFolderString(const std::wstring&) {}  // kept for hosts; nothing is kept
  std::int32_t GetItemNumFromName(const std::wstring& ItemName);
  bool CheckFolderAccess(std::wstring path, bool ShowErrorMessage = false);
  bool ExpandingFolder() const { return expandingFolder_; }
  std::wstring GetExpandedFolderString(std::int32_t i) const;
  void StoreActiveFolder(const std::wstring& DriveLetter, const std::wstring& strActiveString);
  void AddToActiveFolderInfo(const std::wstring& DriveLetter,
                             const std::wstring& ActiveFolderString);
  void GetActiveFolderInfo(std::int32_t Item, std::wstring& DriveLetter,
                           std::wstring& ActiveFolderString) const;
  std::wstring GetActiveFolder(std::wstring& DriveLetter);
  std::wstring GetActiveFolder();
  void ActiveFolderRemove(const std::wstring& DriveLetter);
  std::wstring GetDriveLetter(const std::wstring& Keyword) const;
  std::wstring ListRootSave(const std::wstring& ComboSelection, std::wstring& DriveLetter);
  std::wstring ListRootLoad(std::wstring DriveLetter);
  bool ListPositionSave(std::wstring DriveLetter, std::int32_t ThePosition);
  bool ListPositionLoad(std::wstring DriveLetter, std::int32_t& ThePosition) const;
  void SaveActiveString();
  void FindActiveItem();
  std::int32_t GetActiveFolderCount() const;
  std::wstring CurrentDriveLetter() const { return currentDrive_; }

  // ---- Network path grammar ----
  sTypes GetObjectType(const std::wstring& strPath) const;
  bool IsComputer(const std::wstring& strPath) const;
  bool IsDomain(const std::wstring& strPath) const;
  bool IsNetwork(const std::wstring& strPath) const;

  // ---- Listing requests ----
  void SetFolder(std::wstring& str, bool DisplayMessage = false);
  void RefreshPanes() {}  // kept for hosts; a refresh is RefreshList
  void RefreshList();
  void Update(EnumUpdateType UpdateType);

  // ---- Extension filter ----
  // Shows the items whose names match the filter box's pattern, folders ahead of files, and
  // re-sorts and redraws.
  void ApplyFilterToItems();
  // A choice in the filter box (its list, or Enter in its text): clears the selection, filters.
  void NewFilterSelected();
  // Shows only the files whose extension is the box's text exactly; folders stay.
  void ApplyExtensionFilter();
  bool FilterActive() const { return filterActive_; }
  std::wstring FolderCountText() const { return folderCountText_; }
  std::wstring FileCountText() const { return fileCountText_; }
  std::wstring FolderChangeText() const { return folderChangeText_; }
  std::wstring FileChangeText() const { return fileChangeText_; }

  // ---- Folder sizes ----
  // Sums the folders of the listing (-99), one item (its index), or nothing (-1: only restarts
  // the change watch). Yields after every entry; Esc (IsCancelled) stops it: the folder being
  // summed shows the total found so far, marked with a trailing "+", and the folders after it
  // keep what they showed. Refused while one runs.
  void CalculateFolderSize(std::int32_t ItemNum = -99);
  // Names beginning with a dot (".git", ".profile") are ordinary entries, for the sums as for
  // the listing: they are counted like any other file or folder.

  // The folder under the mouse pointer.
  void CalculateFolderSizeSingle();

  // ---- Folder compare ----
  // One entry per item (hidden ones too), in item order.
  std::vector<TypeFolderContents> FileArrayForCompare() const;
  // Marks this listing's items against another's array and sets MatchMade in the entries matched.
  void CompareFolder(std::vector<TypeFolderContents>& FolderContents, EnumCompareMode CompareMode);
  // Marks this listing's items from the array it built, as another listing left it.
  void CompareResultsUpdate(const std::vector<TypeFolderContents>& FolderContents);

  // ---- File listing export ----
  // Writes every item as comma-separated text (UTF-8; with its mark when not all ASCII).
  // False, with any file of that name left as it was, when it could not be written whole; the
  // host words that failure. A path holding a NUL is refused with a Message.
  bool WriteFileListing(const std::wstring& FilePath);

  // ---- Colour coding ----
  // Gives the selected shown files the colour word ("default" removes it) and stores it with
  // each file; TotalFileCount receives FilesShown. Files whose colour could not be stored are
  // reported in one Message and kept in the colour memory.
  void ColorFiles(const std::wstring& TheColor);
  void ColorFiles(const std::wstring& TheColor, std::int32_t& TotalFileCount);
  // The highest index of the colour memory, -1 while it is empty.
  std::int32_t ColorCount() const;
  // Entry J of the colour memory ("" for an index outside it).
  std::wstring ColorItemPath(std::int32_t J) const;
  std::wstring ColorWord(std::int32_t J) const;

  // ---- Change watch and chime ----
  void WatchStart();
  void WatchStop();
  void WatchResume();
  void ChangeNoticeClear();
  void TestSound();

  // ---- Small host members ----
  std::wstring StatusGet() const;
  void StatusLet(const std::wstring& NewStatus);
  void SetMode(bool OnOff) { enhancedMode_ = OnOff; }
  std::wstring GetActiveItemPath() const;
  std::int32_t GetActiveItemLevel() const;
  void SetActiveItemNum(std::int32_t ActiveItem);
  std::int32_t GetActiveItemNum() const { return activeItem_; }
  void SetDoDrawing(bool value);
  void SendFileNameToMaster(std::wstring TheName);
  bool RightClickable() const { return lastShownItem_ < 0 || itemCount_ == 0; }
  void UnselectForbiddenItems();
  HFONT CreateMyFont(std::int16_t nSize, std::int32_t nDegrees) const;
  void LoadSetup();
  bool SetInitialProperties();

  // ---- Column headings ----
  void SetHeadingsDefaults();
  Variant GetHeadingProperty(std::int16_t headingNo, const std::wstring& prop);
  void SetHeadingProperty(std::int16_t headingIndex, const std::wstring& HeadingParam,
                          const Variant& HeadingValue);
  void ModifyHeadings(const std::wstring& TheHeading);
  bool GetHeadingValue(const std::wstring& name) const;
  // The check mark the headings menu shows for a column's menu item.
  bool HeadingsMenuChecked(const std::wstring& menuName) const;
  void CalculateHeadingPositions();
  // The heading buttons: placed and captioned from the table and the horizontal scroll, the
  // selected one highlighted, the menu that shows and hides columns.
  void DrawHeadingTitles();
  void HighLightButton(std::int16_t index);
  void ColorHeadings(std::int16_t index);
  void ShowHeadingsMenu();
  void ShiftHeading(const std::wstring& direction);
  void FindAdjacentHeadings();
  void FindAdjacentHeadingsMove();
  void GetMaxHeadingWidths();
  void SetSortOrder(std::int16_t sortIndex, const std::wstring& sortKey,
                    const std::wstring& sortOrder);
  bool GetSortOrder(std::int16_t sortIndex, std::wstring& sortKey, std::wstring& sortOrder);
  std::int16_t GetNumberOfSorts() const;
  void SortReset();

  // ---- Marking (whoever asks: mouse, keys or the host) ----
  // "all" marks every item, an empty text toggles, any other text unmarks every item.
  void SelectAll(const std::wstring& DoAll);
  // ForceSelect 0 toggles, 1 marks, -1 unmarks. False for the tree root and items not shown.
  bool AddArrowToItem(std::int32_t SelectedItem, std::int16_t ForceSelect);
  // StartItem..SelectedItem take the state of the last single-item change.
  void AddArrowToRange(std::int32_t SelectedItem, std::int32_t StartItem);
  // The marked paths go to FileSpecs (each NUL-ended, then one more NUL); returns a summary.
  std::wstring GetFileSpecs();
  // The next marked path after LastListItem (set it to 0 first), or "end".
  std::wstring GetFileSpecsExternal();

  // ---- Mouse ----
  void FolderBox_MouseMove(std::int16_t Button, std::int16_t Shift, float X, float Y);
  // By number, or by path when ItemName is not empty.
  void MakeItemActive(std::int32_t TheItem, const std::wstring& ItemName);
  void ResetStartItem();
  void DoubleClick(std::int32_t SelectedItem);
  void MoveMouseOverItem(std::int32_t SelectedItem);
  void MimimMouseScroll(bool RollUp);
  void SetFolderFocus(const std::wstring& butt);
  void NonFolderListMouseUp(std::int16_t Button, std::int16_t Shift, float X, float Y);
  void SetActiveItems();
  void GetCurrentItemPath() {}  // kept for hosts; answers nothing
  // Opens a file with its program; tests put a recorder in its place (null: the real one).
  using FileOpener = std::function<void(const std::wstring& path, std::int32_t showState,
                                        const std::wstring& directory, HWND owner)>;
  void SetFileOpener(FileOpener opener);

  // ---- Keys (the host calls these on the active list) ----
  void KeyUpDownPressed(std::int16_t& KeyCode, bool& SpaceKeyDown);
  void KeySpacePressed();

  // ---- Layout, geometry and scrolling ----
  void ResizeControl(Orient TheLayout);
  void PlaceControls();
  void SetFolderBoxProperties(bool ShowFolderPressed);
  void VScrollHasChanged();
  void HScrollHasChanged();
  void SetScrollBarMaxMin1();

  // ---- Drawing ----
  void DrawFolderBox();
  void DrawSelectedItems();
  bool DCSetup();
  bool DCSetupIcon();
  bool DCSetupIconTrans();
  bool DCSetupIconEXE();
  bool DCSetupIconEXETrans();
  void DCDestroy();
  void DCDestroyIcon();
  void DCDestroyIconTrans();
  void DCDestroyIconEXE();
  void DCDestroyIconEXETrans();
  void BitBltBase(bool SkipDrawingSelected = false);
  void MakeIconTransPalette();
  void TransBlt(HDC dsthDC, HDC srchDC, std::int16_t X, std::int16_t Y, std::int16_t Width,
                std::int16_t Height, COLORREF& TransColor);
  void StopOD();

  // ---- Drive and place selector ----
  void ZFCombo1_Click(std::wstring& strSelect);
  ZFCombo& Selector();

  // ---- Toolbar ----
  bool SetToolbarIcons();
  bool SetToolbarListIcon(EnumListMode newListMode);
  void Toolbar1_ButtonClick(const std::wstring& key);

  // ---- Skin properties ----
  void ApplyProperty(const std::wstring& PropName, const Variant& TheValue);
  void ApplySkinChange();

  // ---- Highlights ----
  void HighLightActiveItem();
  void HighLightMouseOverItem();
  void ClearTempGraphics();
  void HighLightFromDragOver(float Y);
  void RedrawTemporaryLines();
  void HiLightControl(bool HiLight);

  // ---- Drag and drop ----
  // Makes sure the item about to be dragged is marked: an unmarked one is marked alone, a
  // marked one keeps the others. -1 takes the hover item, else the first item.
  void PreDragCheck(std::int32_t& currItem);
  // Copy and cut by keys or menu: true when something is marked or the item (-1: the active
  // one) could be marked; false, after telling the user, when nothing can be used.
  bool PreDragCheckKeepSelected(std::int32_t& currItem);
  void ClearAutoSelect();
  // Drags the marked items out of the listing as a file list (the mouse calls it once a plain
  // left drag has passed its threshold); returns when the drag has ended.
  void StartFolderBoxDrag();
  // The folder a drop or paste on this list goes into: the folder under the pointer (a
  // file's own folder), else the list's folder; empty when that cannot take files.
  std::wstring DropDestination();
  // The path without its last part; drops a trailing "\" of the caller's text first.
  std::wstring ParentPath(std::wstring& ItemString);

  // ---- Status line ----
  void UpdateFolderAndFileSelectionInfo();
  void UpdateStatus(bool SkipSound = false);

  // ---- What tests and the host's layout read of the view ----
  const ViewState& View() const { return *view_; }
  ViewState& View() { return *view_; }
  // The heading buttons (cmdSort) and what their handlers keep.
  HeadingStrip& Strip() { return *strip_; }
  const PointerState& Pointer() const { return *pointer_; }
  const Marking& Marks() const { return *marking_; }

  // ---- What hosts and tests read of the model ----
  // The items are an ItemArray, not a std::vector: read them by size(), index and iteration
  // (zenlo/ItemArray.h).
  const ItemArray& ListItems() const { return listItems_; }
  std::int32_t ItemCount() const { return itemCount_; }
  std::int32_t FoldersShown() const { return foldersShown_; }
  std::int32_t FilesShown() const { return filesShown_; }
  std::int32_t LastShownItem() const { return lastShownItem_; }
  std::int32_t ActiveItem() const { return activeItem_; }
  std::wstring ActiveString() const { return activeString_; }
  bool FolderChanged() const { return folderChanged_; }
  bool ReadBusy() const { return readBusy_; }
  std::wstring FilterText() const { return filterText_; }
  const std::vector<std::wstring>& FilterEntries() const { return filterEntries_; }
  const std::vector<TypeFolderFlag>& ExpandedFolders() const { return expandedFolders_; }
  // Skin options read by the read (set through ApplyProperty once it exists).
  bool ShowFileIcons = true;
  bool ShowFolderIcons = true;
  bool ShowColor = true;
  std::int32_t FileCountMax = 1000;
  // Place key of the selector's choice.
  void SetCurrentDrive(const std::wstring& key) { currentDrive_ = key; }
  // Tree folder to watch (set by the active-item highlight).
  std::wstring WatchFolder;
  bool RemoteDriveSelected = false;

  // ---- Platform seams (the real ones are installed by Create) ----
  void SetPropertyStore(std::shared_ptr<FilePropertyStore> store);
  void SetShellFileInfo(std::shared_ptr<ShellFileInfo> shell);
  void SetSoundPlayer(std::shared_ptr<SoundPlayer> sound);
  // Icon cache surfaces, for drawing and tests (0 when not built).
  HDC IconSurface(bool ownIcons, bool onBackground) const;

  // ---- Network, path validation, target names, list-mode and mimic menus ----
  void ValidateFolder(std::wstring& FolderPath);
  std::wstring ValidatePath(std::wstring path) const;
  std::wstring ItemNameForNewFolder(bool UseActiveFolder = false, bool UseChildFolder = false);
  std::wstring CtrlVFolder();
  void ItemNameForRename(std::wstring& ThePath, std::wstring& OldName, bool UseActive,
                         sTypes& TheType);
  void ItemNameForRename(std::wstring& ThePath, std::wstring& OldName, bool UseActive = false);
  void ShowListModeMenu();
  void ChangeListMode(std::int32_t newListMode);
  // The check mark the list-mode menu shows for a mode (details or list).
  bool ListModeMenuChecked(std::int32_t listMode) const;
  void ShowMimicMenu();
  void MimicFolder(std::int16_t PaneNum);
  // The item of the last right click (-1 when it hit none); the mouse handling sets it. It is
  // kept by path, so a re-read that moves or drops the item never makes it name another.
  void SetRightClickItem(std::int32_t index);
  std::int32_t RightClickItem() const;
  // The host's index of this instance (0-4 a pane's tree, 100-104 its listing; -1 unset):
  // the mimic menu never offers the instance's own pane.
  std::int16_t ControlIndex = -1;
  // Network enumeration and folder probe (the real ones unless a test sets its own).
  void SetNetEnumerator(std::shared_ptr<NetEnumerator> enumerator);
  void SetFolderProbe(std::function<bool(const std::wstring&)> probe);

 private:
  ZenloFileControl();
  ~ZenloFileControl();
  friend class CallGuard;
  ZenloFileControl(const ZenloFileControl&) = delete;
  ZenloFileControl& operator=(const ZenloFileControl&) = delete;

  class SelectorEvents;
  class HeadingStripOwner;
  void CreateSelector();
  void ReportUnknownPlace(const std::wstring& key);
  static LRESULT CALLBACK ToolbarPointerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam,
                                             UINT_PTR id, DWORD_PTR data);
  bool OnToolbarPointer(UINT msg);
  void ReleaseSelector();
  template <typename F>
  void RaiseHost(F&& f) {
    if (!sink_ || closing_) return;
    try {
      f(*sink_);
    } catch (...) {
      // The host's handler failed; the control carries on.
    }
  }

  // Event raising: never lets an exception of the host through.
  void RaiseMessage(const std::wstring& text);
  void RaiseForceQuit();
  void RaiseClick();
  void RaiseGetBookmark(std::int16_t slot, std::wstring& path);

  // Folder reading (FolderReading.cpp)
  struct ReadCall;
  enum class PassEnd { Completed, Restart, Abandoned, Ended, Quit };
  bool ReadPasses(ReadCall& call);
  PassEnd ReadNested(ReadCall& call);
  PassEnd RunPass(ReadCall& call);
  bool IsDirectoryRead(const ReadCall& call) const;
  void OutermostSetUp(ReadCall& call);
  PassEnd ReadNetworkLevels(ReadCall& call);
  PassEnd ExpandNetworkItem(ReadCall& call, std::int32_t index, const std::wstring& level);
  NetResource* WalkToNetResource(const std::wstring& path);
  PassEnd ReadDirectory(ReadCall& call);
  PassEnd YieldAfterEntry();
  void PlaceFolder(ReadCall& call, const WIN32_FIND_DATAW& entry);
  void PlaceFile(ReadCall& call, const WIN32_FIND_DATAW& entry);
  PassEnd ExpandTreeFolder(ReadCall& call, std::int32_t index);
  void HandOver(ReadCall& call);
  void ReleaseItems(ItemArray&& items);
  void PlaceFileType(TypeListItem& item, std::wstring& extKey);
  void PlaceFolderPicture(TypeListItem& item);
  void PropertiesPass();
  void RefreshItemColors();
  // Draws the Size cell of a shown row in details mode (sizes).
  void ShowSizeCell(std::int32_t index, const std::wstring& text);
  void ShowProgress();
  void RaiseUnknownError(const tk::ErrorInfo& err);
  bool IsExpandedFolder(const std::wstring& path) const;
  std::int32_t FindNameInList(const std::wstring& path) const;
  bool FolderHasSubFolders(const std::wstring& path) const;
  void SetExpandedFlag(const std::wstring& path, std::int16_t flag);
  void SaveSelectedPaths();
  // The nearest existing parent of a listed folder that is gone ("" for none).
  std::wstring NearestExistingParent(const std::wstring& gone);
  // Extension filter (ExtensionFilter.cpp, FilterBox.cpp)
  std::wstring FilterBoxText() const;
  void FilterPass(const NameFilter& filter);
  void SetCountTexts(bool measureChange);
  void FinishFiltering();
  void AttachFilterBox();
  bool OnFilterBoxCommand(WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK FilterEditProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR id, DWORD_PTR data);

  // Sorting (SortRequests.cpp)
  void ApplySortOrder();
  void ApplyTreeSortOrder();
  void ApplyListingSortOrder();
  // The leading levels of the list, at most count; false when one names no heading.
  bool SortLevelsOfList(std::vector<SortLevel>& levels, std::size_t count);
  void SetHeadingSortMark(const std::wstring& key, const std::wstring& order,
                          const std::wstring& number);
  std::wstring ActiveHeadingKey() const;
  std::wstring LevelKeyText() const;
  // Shows the sort marks held in the view on the heading buttons that exist.
  void ShowSortMarks();

  // View internals
  bool OnSurfaceMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
  void PaintSurface(HDC dc);
  bool OnFolderBoxMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
  bool OnBoundBoxMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
  void ApplyPlacement();
  void CreateToolbar();
  void CreateMenus();
  void SyncHeadingsMenu();
  void DestroyMenus();
  void LoadPictures();
  void SyncFilterBox();
  void DrawSelectionMark(std::int32_t index);
  void EraseSelectionMark(std::int32_t index);
  void FrontLine(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2,
                 COLORREF colour);
  void DrawActiveFrame(COLORREF colour);
  void PlaceActiveFrame(const TypeListItem& item);
  void RestoreHighlights();
  std::int32_t TextWidthTwips(const std::wstring& text) const;
  std::int32_t MeasureNameWidth(const std::wstring& text, const std::wstring& headingKey) const;

  // Mouse and keys (MouseInput.cpp, KeyInput.cpp, Marking.cpp)
  void FolderBox_MouseDown(std::int16_t Button, std::int16_t Shift, float X, float Y);
  void FolderBox_MouseUp(std::int16_t Button, std::int16_t Shift, float X, float Y);
  void FolderBox_KeyDown(std::int16_t& KeyCode, std::int16_t Shift);
  void FolderBox_KeyUp(std::int16_t KeyCode, std::int16_t Shift);
  void BoundBox_MouseMove();
  bool OnFolderBoxInput(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
  bool OnBoundBoxInput(UINT msg, WPARAM wParam, LPARAM lParam);
  bool OnFolderBoxKey(UINT msg, WPARAM wParam);
  static LRESULT CALLBACK StatusPointerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam,
                                            UINT_PTR id, DWORD_PTR data);
  void RaiseMouseMoveBasic();
  void ShowCursor(int cursor);
  bool InExpanderZone(std::int32_t item, float X) const;
  bool InIconBand(std::int32_t item, float X);
  bool ScrollOneRow(std::int32_t step);
  // A plain left drag left its press: DragStart for the host, and where the OLE drag begins.
  void BeginItemDrag(bool startOleDrag);
  void DeselectOtherLevels();
  void GetTargetFolderForItem(std::int32_t index, const std::wstring& keyword = {});
  void MarkChanged(std::int32_t index, bool marked);

  // Hit-testing (HitTest.cpp). X, Y are twips of FolderBox with the vertical scroll included.
  // The item may lie outside 0..LastShownItem (-1 on failure); every caller checks it.
  std::int32_t GetItemIdAtPoint(float X, float Y);
  std::int32_t GetColumnIdAtPoint(float X, float Y);
  // -1 when X lies strictly inside the marking zone of the item or column under the point.
  std::int16_t IsInSelectionZone(float X, float Y);
  // A FolderBox client pixel point in the twips the hit-tests take.
  void FolderBoxPointToTwips(int pixelX, int pixelY, float& X, float& Y) const;

  void OnWatchTick();

  // Drag and drop (DragDrop.cpp)
  void RegisterDropTargets();
  void RevokeDropTargets();
  DWORD OnListDrag(bool overBoundBox, int call, IDataObject* data, POINTL point, DWORD allowed,
                   DWORD keys);
  void TrackDropPoint(bool overBoundBox, POINTL point);
  DWORD PasteDroppedFiles(IDataObject* data, DWORD effect);
  void RaiseMouseMoveOnce();
  std::vector<std::wstring> DraggedPaths() const;
  void MarkForTransfer(std::int32_t item);

  std::unique_ptr<CallLifetime> lifetime_;  // destruction waits for the calls on the stack
  bool closing_ = false;                     // the host let go: reach it no more
  ZenloFileControlEvents* sink_ = nullptr;

  // Properties
  std::wstring childControl_;
  std::wstring currentFolder_ = L"C:";
  std::wstring currentDrive_;
  std::wstring statusCaption_;
  bool enhancedMode_ = false;
  std::wstring sortDirection_ = L"asc";
  std::int32_t defaultIndent_ = 450;

  // Item array and counts
  ItemArray listItems_ = ItemArray(1);
  ItemArray newListItems_;
  std::int32_t itemCount_ = 0;
  std::int32_t foldersShown_ = 0;
  std::int32_t filesShown_ = 0;
  std::int32_t lastShownItem_ = -1;
  std::int32_t activeItem_ = -1;
  std::wstring activeString_;

  // Read state
  bool readBusy_ = false;
  bool expandingFolder_ = false;
  bool readRequested_ = false;
  std::wstring requestedPath_;
  std::int16_t readLevel_ = 0;
  std::int32_t readIndex_ = -1;
  DWORD lastMarkTick_ = 0;
  std::int16_t markCount_ = 0;
  bool networkListing_ = false;
  std::wstring lastReadFolder_;
  std::unique_ptr<NetResource> netRoot_;
  bool sharedIconsBuilt_ = false;

  // Extension filter box
  std::wstring filterText_ = L"All";
  std::vector<std::wstring> filterEntries_{L"All"};
  std::vector<std::wstring> extensionFilterList_;
  std::vector<std::wstring> listedExtensions_;
  std::unordered_set<std::wstring> listedExtensionKeys_;  // upper case, for the look-up
  bool filterReady_ = true;
  bool filterActive_ = false;
  std::wstring folderCountText_;
  std::wstring fileCountText_;
  std::wstring folderChangeText_;
  std::wstring fileChangeText_;
  std::int32_t previousFoldersShown_ = 0;
  std::int32_t previousFilesShown_ = 0;

  // Remembered things
  std::vector<TypeFolderFlag> expandedFolders_;
  std::vector<TypeFolderFlag> savedSelection_;
  std::unordered_map<std::wstring, std::int16_t> savedSelectionKeys_;  // taken by each read
  std::unique_ptr<PlaceMemory> places_;

  // View
  std::unique_ptr<ViewState> view_;
  std::unique_ptr<PointerState> pointer_;
  std::unique_ptr<Marking> marking_;
  FileOpener fileOpener_;
  std::unique_ptr<SelectorEvents> selectorEvents_;
  ZFCombo* zfCombo1_ = nullptr;
  std::unique_ptr<HeadingStripOwner> stripOwner_;
  std::unique_ptr<HeadingStrip> strip_;

  // Details, watch, seams
  std::unique_ptr<ItemDetails> details_;
  std::unique_ptr<SubFolderProbe> subFolderProbe_;
  std::unique_ptr<ItemReleaser> releaser_;
  std::unique_ptr<ReadNameKeys> readKeys_;
  std::unique_ptr<MultiHeadingSort> sorter_;
  std::unique_ptr<ChangeWatch> watch_;
  std::unique_ptr<FolderSizeState> sizes_;
  std::unique_ptr<ColorMemory> colorMemory_;
  bool folderChanged_ = false;
  std::shared_ptr<FilePropertyStore> propertyStore_;
  std::shared_ptr<ShellFileInfo> shell_;
  std::shared_ptr<SoundPlayer> sound_;

  // Network, target names, list-mode and mimic menus
  std::unique_ptr<NetResource> NewNetRoot() const;
  bool ProbeFolder(const std::wstring& path) const;
  void OnListModeOrMimicCommand(UINT command);
  POINT MenuPointUnder(const std::wstring& buttonKey) const;
  std::shared_ptr<NetEnumerator> netEnumerator_;
  std::function<bool(const std::wstring&)> folderProbe_;
  std::shared_ptr<RightClickMemory> rightClick_;
};

}  // namespace zenlo
