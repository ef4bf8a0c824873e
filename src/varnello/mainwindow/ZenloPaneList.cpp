#include "mainwindow/ZenloPaneList.h"

#include <objbase.h>

#include <algorithm>

#include "mainwindow/ListEventSink.h"
#include "toolkit/PathText.h"
#include "zenlo/ZenloClassIds.h"
#include "zenlo/ZenloFileControl.h"

namespace varnello {

// The one place that knows how an instance comes out of the library's class factory: the
// factory makes the instance and QueryInterface for the class's interface id hands out the class.
class ZenloLibrary {
 public:
  explicit ZenloLibrary(const std::wstring& folder) {
    // No folder leaves the bare name to the system's search.
    const std::wstring path =
        (folder.empty() ? folder : tk::AddTrailingBackslash(folder)) + L"Zenlo.dll";
    module_ = LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (module_)
      getClassObject_ = reinterpret_cast<GetClassObjectFn>(
          reinterpret_cast<void*>(GetProcAddress(module_, "DllGetClassObject")));
  }
  ~ZenloLibrary() {
    if (module_) FreeLibrary(module_);
  }
  ZenloLibrary(const ZenloLibrary&) = delete;
  ZenloLibrary& operator=(const ZenloLibrary&) = delete;
  bool Loaded() const { return getClassObject_ != nullptr; }

  zenlo::ZenloFileControl* CreateControl() const {
    if (!getClassObject_) return nullptr;
    IClassFactory* factory = nullptr;
    if (FAILED(getClassObject_(zenlo::CLSID_ZenloFileControl, IID_IClassFactory,
                               reinterpret_cast<void**>(&factory))) ||
        !factory)
      return nullptr;
    IUnknown* object = nullptr;
    HRESULT hr = factory->CreateInstance(nullptr, IID_IUnknown, reinterpret_cast<void**>(&object));
    factory->Release();
    if (FAILED(hr) || !object) return nullptr;
    zenlo::ZenloFileControl* control = nullptr;
    hr = object->QueryInterface(zenlo::IID_ZenloFileControl, reinterpret_cast<void**>(&control));
    object->Release();
    return SUCCEEDED(hr) ? control : nullptr;
  }

 private:
  using GetClassObjectFn = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, LPVOID*);
  HMODULE module_ = nullptr;
  GetClassObjectFn getClassObject_ = nullptr;
};

namespace {

class ZenloPaneList final : public PaneList {
 public:
  ZenloPaneList(zenlo::ZenloFileControl* control, short index, PaneListEvents& events)
      : control_(control), sink_(index, events) {
    // The control's menus need to know which pane they belong to.
    control_->ControlIndex = index;
  }
  ~ZenloPaneList() override {
    control_->AttachEvents(nullptr);
    if (HWND w = control_->Window()) ShowWindow(w, SW_HIDE);
    control_->Release();  // a read still on the stack keeps the control until it unwinds
  }
  ZenloPaneList(const ZenloPaneList&) = delete;
  ZenloPaneList& operator=(const ZenloPaneList&) = delete;

  bool Start(HWND parent) {
    control_->AttachEvents(&sink_);
    control_->Initialize();
    return control_->CreateFrame(parent);
  }

  HWND Window() const override { return control_->Window(); }
  bool IsItemArea(HWND w) const override { return w && w == control_->ItemWindow(); }
  void SetSortOrder(short i, const std::wstring& k, const std::wstring& o) override {
    control_->SetSortOrder(i, k, o);
  }
  void SetIsWin9X(bool v) override { control_->IsWin9X = v; }
  void SetListType(zenlo::ListType t) override { control_->ltFolderListType = t; }
  void SetListMode(zenlo::EnumListMode m) override { control_->ListMode = m; }
  zenlo::ListType FolderListType() const override { return control_->FolderListType(); }
  void ApplyProperty(const std::wstring& n, const zenlo::Variant& v) override {
    control_->ApplyProperty(n, v);
  }
  void ApplySkinChange() override { control_->ApplySkinChange(); }
  void DrawFolderBox() override { control_->DrawFolderBox(); }
  void RedrawTemporaryLines() override { control_->RedrawTemporaryLines(); }
  void LoadSetup() override { control_->LoadSetup(); }
  void ResetStartItem() override { control_->ResetStartItem(); }
  void SetShowHiddenItems(bool v) override { control_->ShowHiddenItems = v; }
  void SetShowSystemItems(bool v) override { control_->ShowSystemItems = v; }
  std::wstring GetActiveFolder(std::wstring& d) override { return control_->GetActiveFolder(d); }
  std::wstring GetActiveFolder() override { return control_->GetActiveFolder(); }
  bool CheckFolderAccess(const std::wstring& p) override { return control_->CheckFolderAccess(p); }
  void StoreActiveFolder(const std::wstring& d, const std::wstring& f) override {
    control_->StoreActiveFolder(d, f);
  }
  void SetFolder(std::wstring& d, bool m) override { control_->SetFolder(d, m); }
  std::wstring currentFolder() const override { return control_->currentFolder(); }
  void currentFolder(const std::wstring& v) override { control_->currentFolder(v); }
  void SetActiveFolder(const std::wstring& v) override { control_->ActiveFolder = v; }
  void GetFolderContents(const std::wstring& f, bool first) override {
    control_->GetFolderContents(f, first);
  }
  void ChangeNoticeClear() override { control_->ChangeNoticeClear(); }
  void SetCancelled(bool v) override { control_->IsCancelled = v; }
  std::vector<std::wstring> ShownItems() const override {
    std::vector<std::wstring> paths;
    const auto& items = control_->ListItems();
    const std::int32_t last = std::min(control_->LastShownItem(), control_->ItemCount() - 1);
    for (std::int32_t i = 0; i <= last && i < static_cast<std::int32_t>(items.size()); ++i)
      paths.push_back(items[static_cast<size_t>(i)].FullPath);
    return paths;
  }
  std::vector<std::wstring> MarkedItems() const override {
    std::vector<std::wstring> paths;
    const auto& items = control_->ListItems();
    const std::int32_t last = std::min(control_->LastShownItem(), control_->ItemCount() - 1);
    for (std::int32_t i = 0; i <= last && i < static_cast<std::int32_t>(items.size()); ++i)
      if (items[static_cast<size_t>(i)].Selected == 1)
        paths.push_back(items[static_cast<size_t>(i)].FullPath);
    return paths;
  }
  bool Reading() const override { return control_->ReadBusy() || control_->ExpandingFolder(); }
  void StopOD() override { control_->StopOD(); }
  void ResizeControl(zenlo::Orient o) override { control_->ResizeControl(o); }
  void ClearTempGraphics() override { control_->ClearTempGraphics(); }
  void WatchStop() override { control_->WatchStop(); }
  void HiLightControl(bool on) override { control_->HiLightControl(on); }
  void SetFolderFocus() override { control_->SetFolderFocus(std::wstring()); }
  void SetFolderFocus(const std::wstring& butt) override { control_->SetFolderFocus(butt); }
  // The listing raises KeyPressed and SpaceKeyUp itself.
  bool RaisesOwnKeys() const override { return true; }
  void KeySpacePressed() override { control_->KeySpacePressed(); }
  void KeyUpDownPressed(short& key, bool& space) override { control_->KeyUpDownPressed(key, space); }
  void CalculateFolderSizeSingle() override { control_->CalculateFolderSizeSingle(); }
  void MimimMouseScroll(bool rollUp) override { control_->MimimMouseScroll(rollUp); }
  void MakeItemActive(const std::wstring& name) override { control_->MakeItemActive(0, name); }
  void SetSkipScrollEvent(bool v) override { control_->SkipScrollEvent = v; }
  void SetSkipMoveEvent(bool v) override { control_->SkipMoveEvent = v; }
  void SetMouseLocked(bool v) override { control_->MouseLocked = v; }
  void ExpandFolder(const std::wstring& name, zenlo::ExpandType flag) override {
    control_->ExpandFolder(name, flag);
  }
  std::int32_t GetActiveItemLevel() const override { return control_->GetActiveItemLevel(); }
  std::wstring GetActiveItemPath() const override { return control_->GetActiveItemPath(); }
  void WatchStart() override { control_->WatchStart(); }
  void WatchResume() override { control_->WatchResume(); }
  void TestSound() override { control_->TestSound(); }
  bool GetHeadingValue(const std::wstring& column) const override {
    return control_->GetHeadingValue(column);
  }
  void RefreshList() override { control_->RefreshList(); }
  zenlo::EnumListMode GetListMode() const override { return control_->ListMode; }
  std::wstring CurrentDriveLetter() const override { return control_->CurrentDriveLetter(); }
  std::int32_t ExpandedCount() const override { return control_->ExpandedCount; }
  std::wstring GetExpandedFolderString(std::int32_t i) const override {
    return control_->GetExpandedFolderString(i);
  }
  void AddToExpandedFolderString(const std::wstring& p) override {
    control_->AddToExpandedFolderString(p);
  }
  void ExpandFolderRemove(const std::wstring& d) override { control_->ExpandFolderRemove(d); }
  std::int32_t GetActiveFolderCount() const override { return control_->GetActiveFolderCount(); }
  void GetActiveFolderInfo(std::int32_t i, std::wstring& d, std::wstring& f) const override {
    control_->GetActiveFolderInfo(i, d, f);
  }
  void AddToActiveFolderInfo(const std::wstring& d, const std::wstring& f) override {
    control_->AddToActiveFolderInfo(d, f);
  }
  void ActiveFolderRemove(const std::wstring& d) override { control_->ActiveFolderRemove(d); }
  zenlo::Variant GetHeadingProperty(short h, const std::wstring& p) override {
    return control_->GetHeadingProperty(h, p);
  }
  void SetHeadingProperty(short h, const std::wstring& p, const zenlo::Variant& v) override {
    control_->SetHeadingProperty(h, p, v);
  }
  short GetNumberOfSorts() const override { return control_->GetNumberOfSorts(); }
  bool GetSortOrder(short i, std::wstring& k, std::wstring& o) override {
    return control_->GetSortOrder(i, k, o);
  }
  void SortReset() override { control_->SortReset(); }
  std::int32_t GetActiveItemNum() const override { return control_->GetActiveItemNum(); }
  void SetActiveItemNum(std::int32_t i) override { control_->SetActiveItemNum(i); }
  std::int32_t ShownItemCount() const override {
    return std::max<std::int32_t>(0, std::min(control_->LastShownItem(), control_->ItemCount() - 1) + 1);
  }
  void HighLightActiveItem() override { control_->HighLightActiveItem(); }
  void SetDoDrawing(bool v) override { control_->SetDoDrawing(v); }
  const zenlo::ZenloFileControl* Control() const override { return control_; }
  std::wstring GetFileSpecs() override { return control_->GetFileSpecs(); }
  std::wstring FileSpecs() const override { return control_->FileSpecs; }
  std::wstring DropDestination() override { return control_->DropDestination(); }
  bool DroppedOnActiveItem() const override { return control_->DroppedOnActiveItem; }
  void SetDroppedOnActiveItem(bool v) override { control_->DroppedOnActiveItem = v; }
  void SetExpandedFolder() override { control_->SetExpandedFolder(); }
  std::wstring ItemNameForNewFolder(bool useActive, bool useChild) override {
    return control_->ItemNameForNewFolder(useActive, useChild);
  }
  void PreDragCheck(std::int32_t& item) override { control_->PreDragCheck(item); }
  bool PreDragCheckKeepSelected(std::int32_t& item) override {
    return control_->PreDragCheckKeepSelected(item);
  }
  void SetLastListItem(std::int32_t item) override { control_->LastListItem = item; }
  std::wstring GetFileSpecsExternal() override { return control_->GetFileSpecsExternal(); }
  void UnselectForbiddenItems() override { control_->UnselectForbiddenItems(); }
  void SelectAll(const std::wstring& doAll) override { control_->SelectAll(doAll); }
  void ColorFiles(const std::wstring& color, std::int32_t& total) override {
    control_->ColorFiles(color, total);
  }
  void HighLightMouseOverItem() override { control_->HighLightMouseOverItem(); }
  void ItemNameForRename(std::wstring& path, std::wstring& oldName, bool useActive,
                         zenlo::sTypes& type) override {
    control_->ItemNameForRename(path, oldName, useActive, type);
  }
  void ShiftHeading(const std::wstring& d) override { control_->ShiftHeading(d); }
  void DoSorting(const std::wstring& o) override { control_->DoSorting(o); }
  void ModifyHeadings(const std::wstring& n) override { control_->ModifyHeadings(n); }
  void CalculateFolderSize() override { control_->CalculateFolderSize(); }
  std::vector<zenlo::TypeFolderContents> FileArrayForCompare() const override {
    return control_->FileArrayForCompare();
  }
  void CompareFolder(std::vector<zenlo::TypeFolderContents>& c,
                     zenlo::EnumCompareMode m) override {
    control_->CompareFolder(c, m);
  }
  void CompareResultsUpdate(const std::vector<zenlo::TypeFolderContents>& c) override {
    control_->CompareResultsUpdate(c);
  }
  bool WriteFileListing(const std::wstring& p) override { return control_->WriteFileListing(p); }
  std::vector<std::pair<std::wstring, zenlo::CompareStatus>> CompareMarks() const override {
    std::vector<std::pair<std::wstring, zenlo::CompareStatus>> marks;
    const auto& items = control_->ListItems();
    const std::int32_t last = std::min(control_->LastShownItem(), control_->ItemCount() - 1);
    for (std::int32_t i = 0; i <= last && i < static_cast<std::int32_t>(items.size()); ++i)
      marks.emplace_back(items[static_cast<size_t>(i)].FullPath,
                         items[static_cast<size_t>(i)].CompareState);
    return marks;
  }

 private:
  zenlo::ZenloFileControl* control_;
  ListSink sink_;
};

}  // namespace

ZenloPaneListFactory::ZenloPaneListFactory(const std::wstring& folder)
    : library_(std::make_unique<ZenloLibrary>(folder)) {}

ZenloPaneListFactory::~ZenloPaneListFactory() = default;

bool ZenloPaneListFactory::Loaded() const { return library_->Loaded(); }

std::unique_ptr<PaneList> ZenloPaneListFactory::Create(short index, HWND parent,
                                                       PaneListEvents& events) {
  zenlo::ZenloFileControl* control = library_->CreateControl();
  if (!control) return nullptr;
  auto list = std::make_unique<ZenloPaneList>(control, index, events);
  if (!list->Start(parent)) return nullptr;
  return list;
}

}  // namespace varnello
