// A host built from the published headers alone: it creates a control through the library's
// class factory, asks QueryInterface for the class, answers only the events it needs and sets the
// control up in the documented order.
#include <gtest/gtest.h>
#include <windows.h>
#include <objbase.h>

#include <algorithm>
#include <string>
#include <vector>

#include "zenlo/ZFCombo.h"
#include "zenlo/ZenloClassIds.h"
#include "zenlo/ZenloFileControl.h"
#include "zenlo/ZenloFileControlEvents.h"
#include "zenlo/button_headings.h"
#include "HostKit.h"

namespace {

using hostkit::CreateThroughTheFactory;
using hostkit::Host;
using hostkit::MakeHostWindow;

class Folder {
 public:
  Folder() {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    path_ = std::wstring(temp) + L"zenlo-host-" + std::to_wstring(GetCurrentProcessId()) + L"\\";
    CreateDirectoryW(path_.c_str(), nullptr);
    for (const wchar_t* name : {L"Letters", L"Photos"})
      CreateDirectoryW((path_ + name).c_str(), nullptr);
    for (const wchar_t* name : {L"notes.txt", L"plan.txt"}) {
      HANDLE f = CreateFileW((path_ + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0,
                             nullptr);
      CloseHandle(f);
    }
  }
  ~Folder() {
    for (const wchar_t* name : {L"notes.txt", L"plan.txt"}) DeleteFileW((path_ + name).c_str());
    for (const wchar_t* name : {L"Letters", L"Photos"}) RemoveDirectoryW((path_ + name).c_str());
    RemoveDirectoryW(path_.c_str());
  }
  const std::wstring& Path() const { return path_; }

 private:
  std::wstring path_;
};

TEST(HostFromHeaders, SetsUpATreeAndAListingInTheDocumentedOrder) {
  Folder folder;
  HWND window = MakeHostWindow();
  Host treeHost, listHost;
  treeHost.Bookmark = folder.Path();

  zenlo::ZenloFileControl* tree = CreateThroughTheFactory();
  zenlo::ZenloFileControl* list = CreateThroughTheFactory();
  ASSERT_TRUE(tree && list);
  tree->AttachEvents(&treeHost);
  list->AttachEvents(&listHost);
  tree->Initialize();
  list->Initialize();
  tree->ltFolderListType = zenlo::fbFolder;
  list->ltFolderListType = zenlo::fbFileAndFolder;
  ASSERT_TRUE(tree->CreateFrame(window));
  ASSERT_TRUE(list->CreateFrame(window));
  MoveWindow(tree->Window(), 0, 0, 300, 500, TRUE);
  MoveWindow(list->Window(), 300, 0, 550, 500, TRUE);
  tree->LoadSetup();
  list->LoadSetup();

  std::wstring key = L"0";
  tree->SetFolder(key);
  EXPECT_EQ(treeHost.DriveClicks, 1);
  ASSERT_EQ(tree->ItemCount(), 3);  // the bookmarked folder and its two sub-folders
  EXPECT_EQ(tree->ListItems()[0].FullPath, folder.Path());
  ASSERT_TRUE(list->GetFolderContents(tree->GetActiveItemPath(), true));
  tree->ResizeControl(zenlo::vertical);
  list->ResizeControl(zenlo::vertical);

  std::vector<std::wstring> names;
  for (std::int32_t i = 0; i < list->ItemCount(); ++i)
    names.push_back(list->ListItems()[static_cast<std::size_t>(i)].Name);
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::wstring>{L"Letters", L"Photos", L"notes.txt", L"plan.txt"}));
  // The items come as an ItemArray: a host walks it and may keep a copy of its own.
  const zenlo::ItemArray& items = list->ListItems();
  const zenlo::ItemArray kept = items;
  std::vector<std::wstring> walked;
  for (const zenlo::TypeListItem& item : kept) walked.push_back(item.Name);
  ASSERT_EQ(walked.size(), items.size());
  for (std::size_t i = 0; i < items.size(); ++i) EXPECT_EQ(walked[i], items[i].Name) << i;
  EXPECT_TRUE(treeHost.Messages.empty());
  EXPECT_TRUE(listHost.Messages.empty());

  // The selector is reached the same way.
  zenlo::ZFCombo* selector = nullptr;
  ASSERT_EQ(tree->Selector().QueryInterface(zenlo::IID_ZFCombo, reinterpret_cast<void**>(&selector)),
            S_OK);
  EXPECT_EQ(selector, &tree->Selector());
  selector->Release();

  EXPECT_EQ(list->Release(), 0u);
  EXPECT_EQ(tree->Release(), 0u);
  DestroyWindow(window);
}

// SetFolder takes a drive or place key; asked for a key it does not know, it shows the first
// drive, and says so when the host wants messages.
TEST(HostFromHeaders, AnUnknownPlaceKeyIsReportedWhenMessagesAreWanted) {
  struct Case {
    std::wstring Key;
    bool DisplayMessage;
    bool Reported;
  };
  const Case cases[] = {
      {L"C:\\Windows", true, true}, {L"7", true, true},   {L"Q", true, true},
      {L"C:\\Windows", false, false}, {L"c", true, false}, {L"0", true, false},
  };
  Folder folder;
  for (const Case& c : cases) {
    Host host;
    host.Bookmark = folder.Path();
    zenlo::ZenloFileControl* tree = CreateThroughTheFactory();
    ASSERT_NE(tree, nullptr);
    tree->AttachEvents(&host);
    tree->Initialize();
    tree->ltFolderListType = zenlo::fbFolder;
    std::wstring key = c.Key;
    tree->SetFolder(key, c.DisplayMessage);
    EXPECT_EQ(host.DriveClicks, 1);
    if (c.Reported) {
      ASSERT_EQ(host.Messages.size(), 1u);
      EXPECT_EQ(host.Messages[0], L"The drive or place \"" + c.Key +
                                      L"\" is not available. C: is shown instead.");
      EXPECT_EQ(tree->CurrentDriveLetter(), L"C");
    } else {
      EXPECT_TRUE(host.Messages.empty());
    }
    tree->Release();
  }
}

// A heading button made by the library's factory and driven through the published header.
TEST(HostFromHeaders, AHeadingButtonComesFromItsFactoryAndReportsAClick) {
  struct Owner : zenlo::button_headingsEventsBase {
    int Clicks = 0;
    void Click() override { ++Clicks; }
  } owner;
  hostkit::GetClassObject getClassObject = hostkit::LibraryClassObject();
  ASSERT_NE(getClassObject, nullptr);
  IClassFactory* factory = nullptr;
  ASSERT_EQ(getClassObject(zenlo::CLSID_button_headings, IID_IClassFactory,
                           reinterpret_cast<void**>(&factory)),
            S_OK);
  zenlo::button_headings* button = nullptr;
  ASSERT_EQ(factory->CreateInstance(nullptr, zenlo::IID_button_headings,
                                    reinterpret_cast<void**>(&button)),
            S_OK);
  factory->Release();

  HWND window = MakeHostWindow();
  button->AttachEvents(&owner);
  ASSERT_TRUE(button->CreateFrame(window, 2));
  button->DoResize = true;
  MoveWindow(button->Window(), 0, 0, 120, 16, TRUE);
  button->DoResize = false;
  button->ApplyProperty(L"ColorInactiveHeadingText", std::int32_t{RGB(0, 0, 128)});
  button->Highlight(false);
  button->SetCaption(L"Size");
  button->ShowSort(L"des", L"2");
  EXPECT_EQ(button->CaptionColour(), RGB(0, 0, 128));
  EXPECT_EQ(button->SortArrow(), L"DES");

  SendMessageW(button->Window(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(60, 8));
  SendMessageW(button->Window(), WM_LBUTTONUP, 0, MAKELPARAM(60, 8));
  EXPECT_EQ(owner.Clicks, 1);
  EXPECT_EQ(button->Release(), 0u);
  DestroyWindow(window);
}

}  // namespace
