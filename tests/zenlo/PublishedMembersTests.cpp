// Smaller published members of the control: where My Documents comes from, what a failing
// collapse says, and the drag-over memory the host reads and writes.
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <variant>
#include <vector>

#include "companions/DriveProvider.h"
#include "listing/view/ViewState.h"
#include "support/FakeHost.h"
#include "support/HostWindow.h"
#include "support/TempFolder.h"
#include "toolkit/Text.h"
#include "zenlo/ZFCombo.h"
#include "zenlo/ZenloFileControl.h"

using namespace zenlo;
using testsupport::TempFolder;

namespace {

// One fixed drive and a documents folder of the test's choosing.
class Drives : public DriveProvider {
 public:
  std::wstring Documents;
  bool FailDocuments = false;
  std::vector<std::wstring> LogicalDriveRoots() override { return {L"C:\\"}; }
  UINT DriveType(const std::wstring&) override { return DRIVE_FIXED; }
  bool QueryVolume(const std::wstring&, VolumeInformation& info) override {
    info.FileSystem = L"NTFS";
    return true;
  }
  std::wstring RemoteName(const std::wstring&) override { return {}; }
  bool IsReady(const std::wstring&) override { return true; }
  std::wstring MyDocumentsPath() override {
    if (FailDocuments) throw std::runtime_error("the shell did not answer");
    return Documents;
  }
};

struct Tree {
  Tree() {
    control->AttachEvents(&host);
    control->Initialize();
    control->ltFolderListType = fbFolder;
    drives->Documents = dir.Path().substr(0, dir.Path().size() - 1);
    control->Selector().SetDriveProvider(drives);
  }
  ~Tree() { control->Release(); }
  TempFolder dir;
  testsupport::FakeHost host;
  std::shared_ptr<Drives> drives = std::make_shared<Drives>();
  ZenloFileControl* control = ZenloFileControl::Create();
};

// The listing asks the same drive queries as its selector, so both agree on My Documents.
TEST(PublishedMembers, MyDocumentsComesFromTheSelectorsDriveQueries) {
  Tree t;
  EXPECT_EQ(t.control->ListRootLoad(L"?"), t.dir.Path());
  t.control->SetCurrentDrive(L"?");
  t.dir.Folder(L"Letters");
  t.control->RefreshList();
  ASSERT_EQ(t.control->ItemCount(), 2);
  EXPECT_EQ(t.control->ListItems()[0].FullPath, t.dir.Path());
}

TEST(PublishedMembers, ACollapseThatCannotReadAgainSaysSoAndStillClosesEverything) {
  Tree t;
  t.dir.Folder(L"A\\inner");
  t.control->AddToExpandedFolderString(t.dir.Path() + L"A");
  ASSERT_TRUE(t.control->GetFolderContents(t.dir.Path(), true));
  ASSERT_EQ(t.control->ItemCount(), 3);
  t.control->SetCurrentDrive(L"?");
  t.drives->FailDocuments = true;  // the place's root cannot be found for the re-read
  EXPECT_NO_THROW(t.control->CollapseAllFolders());
  EXPECT_EQ(t.host.Messages(),
            std::vector<std::wstring>{L"An error occurred while collapsing the folders."});
  EXPECT_TRUE(t.control->ExpandedFolders().empty());
  for (std::int32_t i = 0; i <= t.control->LastShownItem(); ++i)
    EXPECT_EQ(t.control->ListItems()[static_cast<std::size_t>(i)].FolderStatus, sNotExpanded) << i;
}

// The host clears the memory (as on losing the focus) or the control does (ClearTempGraphics):
// either way the next drag over any item highlights it, the first item included.
TEST(PublishedMembers, TheDragOverMemoryIsTheHostsToClear) {
  TempFolder dir;
  dir.File(L"a.txt");
  dir.File(L"b.txt");
  testsupport::FakeHost host;
  testsupport::HostWindow window(800, 500);
  ZenloFileControl* list = ZenloFileControl::Create();
  list->AttachEvents(&host);
  list->Initialize();
  list->ltFolderListType = fbFileAndFolder;
  list->CreateFrame(window.Handle());
  MoveWindow(list->Window(), 0, 0, 600, 400, TRUE);
  list->LoadSetup();
  ASSERT_TRUE(list->GetFolderContents(dir.Path(), true));
  list->ResizeControl(vertical);
  const float overFirst = static_cast<float>(list->View().BoundBoxRect.Top + 100);

  for (Variant cleared : {Variant{}, Variant{true}}) {
    list->LastSelItemHighLight = cleared;
    list->HighLightFromDragOver(overFirst);
    ASSERT_TRUE(std::holds_alternative<std::int32_t>(list->LastSelItemHighLight));
    EXPECT_EQ(std::get<std::int32_t>(list->LastSelItemHighLight), 0);
  }
  list->ClearTempGraphics();
  EXPECT_EQ(list->LastSelItemHighLight, Variant{true});
  list->Release();
}

}  // namespace
