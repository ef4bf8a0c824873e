// The host letting go of a control while one of its members runs: during a read's yield, in its
// ForceQuit handler, or in another event. The member unwinds without touching the deleted
// control, raises nothing more, and the control goes away once it has unwound.
#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <memory>
#include <ostream>

#include "listing/model/ReadSeams.h"
#include "listing/model/SoundPlayer.h"
#include "listing/view/FileDrop.h"
#include "listing/view/ViewState.h"
#include "support/FakeHost.h"
#include "support/HostWindow.h"
#include "support/TempFolder.h"
#include "support/UseAfterFree.h"
#include "toolkit/Error.h"
#include "toolkit/EventLoop.h"
#include "zenlo/ZFCombo.h"
#include "zenlo/ZenloFileControl.h"

using namespace zenlo;
using testsupport::TempFolder;

namespace {

// A host that lets go of its control inside one chosen event.
class LettingGoHost : public testsupport::FakeHost {
 public:
  std::wstring LetGoIn;
  std::function<void()> LetGo;
  std::size_t EventsAtLetGo = SIZE_MAX;

  void LetGoNow() {
    if (!LetGo) return;
    auto letGo = std::move(LetGo);
    LetGo = nullptr;
    EventsAtLetGo = Events.size();
    letGo();
  }
  void Click() override {
    FakeHost::Click();
    If(L"Click");
  }
  void ForceQuit() override {
    FakeHost::ForceQuit();
    If(L"ForceQuit");
  }
  void SetLockedIndex() override {
    FakeHost::SetLockedIndex();
    If(L"SetLockedIndex");
  }
  void PasteItems(std::wstring& source, std::wstring& text, std::wstring& operation) override {
    FakeHost::PasteItems(source, text, operation);
    If(L"PasteItems");
  }
  void NotifySourceIndex() override {
    FakeHost::NotifySourceIndex();
    If(L"NotifySourceIndex");
  }

 private:
  void If(const wchar_t* name) {
    if (LetGoIn == name) LetGoNow();
  }
};

struct SilentPlayer : SoundPlayer {
  unsigned DeviceCount() override { return 0; }
  void Beep() override {}
  void PlayFile(const std::wstring&) override {}
  void PlayMemory(const void*) override {}
};

// One pane's control, set up as a host does, over a small folder tree.
struct Pane {
  explicit Pane(ListType type) : window(900, 600) {
    dir.Folder(L"A\\x");
    dir.Folder(L"B");
    dir.Folder(L"C");
    dir.File(L"one.txt");
    dir.File(L"two.txt");
    host.Bookmarks[0] = dir.Path();
    control = ZenloFileControl::Create();
    control->AttachEvents(&host);
    control->Initialize();
    control->ltFolderListType = type;
    control->CreateFrame(window.Handle());
    MoveWindow(control->Window(), 0, 0, 700, 500, TRUE);
    control->LoadSetup();
    control->SetSoundPlayer(probe);
    host.LetGo = [this] { Release(); };
  }
  ~Pane() {
    tk::SetYieldHook({});
    TestReadSeams().OnEntry = nullptr;
    Release();
  }
  void Release() {
    if (!held) return;
    held = false;
    control->Release();
  }
  // The control holds the probe until it is destroyed.
  bool ControlGone() const { return probe.use_count() == 1; }

  TempFolder dir;
  LettingGoHost host;
  testsupport::HostWindow window;
  std::shared_ptr<SilentPlayer> probe = std::make_shared<SilentPlayer>();
  ZenloFileControl* control = nullptr;
  bool held = true;
};

enum class LetGoIn { Yield, ForceQuit, Click, SetLockedIndex, PasteItems, NotifySourceIndex };

struct EntryCase {
  const char* Name;
  ListType Type;
  LetGoIn When;
  std::function<void(Pane&)> Prepare;
  std::function<void(Pane&)> Call;
};

void PrintTo(const EntryCase& c, std::ostream* os) { *os << c.Name; }

void ReadListing(Pane& p) { ASSERT_TRUE(p.control->GetFolderContents(p.dir.Path(), true)); }
void ShowBookmark(Pane& p) {
  std::wstring key = L"0";
  p.control->SetFolder(key);
  ASSERT_EQ(p.control->ItemCount(), 4);
}
void ShowBookmarkOpened(Pane& p) {
  ShowBookmark(p);
  p.control->ExpandFolder(p.dir.Path() + L"A", Expand);
  ASSERT_EQ(p.control->ItemCount(), 5);
}
// The tree's remembered folder is gone: its next update makes the root active and raises Click.
void ForgetActiveFolder(Pane& p) {
  ShowBookmark(p);
  p.control->ApplyProperty(L"ActiveString", std::wstring(L"C:\\no such folder\\"));
  p.control->SetActiveItemNum(-1);
}
void Nothing(Pane&) {}

// As the user's choice in the list does. Nothing of the control is touched afterwards.
void ChooseBookmarkInSelector(Pane& p) {
  ZFCombo& selector = p.control->Selector();
  std::int32_t index = -1;
  for (std::size_t i = 0; i < selector.PlaceEntries().size(); ++i)
    if (selector.PlaceEntries()[i].Key == L"0") index = static_cast<std::int32_t>(i);
  ASSERT_GE(index, 0);
  selector.SetListIndex(index);
}

// A file list dropped on the rows, as the drag loop delivers it.
void DropFileList(Pane& p) {
  ComRef<ListDropTarget> target = p.control->View().Drag.FolderBoxTarget;
  ComRef<IDataObject> data = MakeFileDropData({p.dir.Path() + L"one.txt"});
  RECT rows;
  GetWindowRect(p.control->View().FolderBox.Handle(), &rows);
  const POINTL pt{rows.left + 20, rows.top + 5};
  DWORD effect = DROPEFFECT_COPY;
  target->DragEnter(data.Get(), MK_LBUTTON, pt, &effect);
  target->Drop(data.Get(), 0, pt, &effect);
}

void MarkFirstFile(Pane& p) {
  ReadListing(p);
  std::int32_t item = p.control->FoldersShown();
  p.control->PreDragCheck(item);
}

HWND ToolbarOf(Pane& p) { return FindWindowExW(p.control->Window(), nullptr, L"ToolbarWindow32", nullptr); }

const EntryCase kEntries[] = {
    {"GetFolderContents", fbFileAndFolder, LetGoIn::Yield, Nothing,
     [](Pane& p) { p.control->GetFolderContents(p.dir.Path(), true); }},
    {"GetFolderContentsForceQuit", fbFileAndFolder, LetGoIn::ForceQuit, Nothing,
     [](Pane& p) { p.control->GetFolderContents(p.dir.Path(), true); }},
    {"RefreshList", fbFileAndFolder, LetGoIn::Yield, ReadListing,
     [](Pane& p) { p.control->RefreshList(); }},
    {"RefreshListForceQuit", fbFileAndFolder, LetGoIn::ForceQuit, ReadListing,
     [](Pane& p) { p.control->RefreshList(); }},
    {"SetFolder", fbFolder, LetGoIn::Yield, Nothing,
     [](Pane& p) {
       std::wstring key = L"0";
       p.control->SetFolder(key);
     }},
    {"SetFolderForceQuit", fbFolder, LetGoIn::ForceQuit, Nothing,
     [](Pane& p) {
       std::wstring key = L"0";
       p.control->SetFolder(key);
     }},
    {"ExpandFolder", fbFolder, LetGoIn::Yield, ShowBookmark,
     [](Pane& p) { p.control->ExpandFolder(p.dir.Path() + L"A", Expand); }},
    {"ExpandFolderForceQuit", fbFolder, LetGoIn::ForceQuit, ShowBookmark,
     [](Pane& p) { p.control->ExpandFolder(p.dir.Path() + L"A", Expand); }},
    {"CollapseAllFolders", fbFolder, LetGoIn::Yield, ShowBookmarkOpened,
     [](Pane& p) { p.control->CollapseAllFolders(); }},
    {"CollapseAllFoldersForceQuit", fbFolder, LetGoIn::ForceQuit, ShowBookmarkOpened,
     [](Pane& p) { p.control->CollapseAllFolders(); }},
    {"UpdateClick", fbFolder, LetGoIn::Click, ForgetActiveFolder,
     [](Pane& p) { p.control->Update(updateDrawOnly); }},
    {"ToolbarRefresh", fbFileAndFolder, LetGoIn::Yield, ReadListing,
     [](Pane& p) { p.control->Toolbar1_ButtonClick(L"refresh"); }},
    {"ToolbarCollapseForceQuit", fbFolder, LetGoIn::ForceQuit, ShowBookmarkOpened,
     [](Pane& p) { p.control->Toolbar1_ButtonClick(L"collapse"); }},
    {"ToolbarPress", fbFileAndFolder, LetGoIn::SetLockedIndex, ReadListing,
     [](Pane& p) { SendMessageW(ToolbarOf(p), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2)); }},
    {"SelectorChoice", fbFolder, LetGoIn::Yield, ShowBookmark,
     [](Pane& p) { ChooseBookmarkInSelector(p); }},
    {"SelectorChoiceForceQuit", fbFolder, LetGoIn::ForceQuit, ShowBookmark,
     [](Pane& p) { ChooseBookmarkInSelector(p); }},
    {"DropPasteItems", fbFileAndFolder, LetGoIn::PasteItems, ReadListing, DropFileList},
    {"StartFolderBoxDragNotifySourceIndex", fbFileAndFolder, LetGoIn::NotifySourceIndex,
     MarkFirstFile, [](Pane& p) { p.control->StartFolderBoxDrag(); }},
    {"SelectorPress", fbFolder, LetGoIn::SetLockedIndex, ShowBookmark,
     [](Pane& p) {
       SendMessageW(p.control->Selector().Window(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 1));
     }},
};

class HostLetsGo : public testing::TestWithParam<EntryCase> {};

TEST_P(HostLetsGo, TheMemberUnwindsWithoutTouchingTheControl) {
  const EntryCase& c = GetParam();
  testsupport::UseAfterFreeWatch watch{sizeof(ZenloFileControl), sizeof(ZFCombo)};
  Pane p(c.Type);
  ASSERT_GE(watch.Watched(), 2);  // the control and its selector sit on pages of their own
  ASSERT_NO_FATAL_FAILURE(c.Prepare(p));
  ASSERT_TRUE(p.held);

  switch (c.When) {
    case LetGoIn::Yield:
      tk::SetYieldHook([&](unsigned long n) {
        if (n == 2) p.host.LetGoNow();
      });
      break;
    case LetGoIn::ForceQuit:
      p.host.LetGoIn = L"ForceQuit";
      TestReadSeams().OnEntry = [](const std::wstring&) {
        throw tk::RuntimeError(70, L"Permission denied");
      };
      break;
    case LetGoIn::Click:
      p.host.LetGoIn = L"Click";
      break;
    case LetGoIn::SetLockedIndex:
      p.host.LetGoIn = L"SetLockedIndex";
      break;
    case LetGoIn::PasteItems:
      p.host.LetGoIn = L"PasteItems";
      break;
    case LetGoIn::NotifySourceIndex:
      p.host.LetGoIn = L"NotifySourceIndex";
      break;
  }
  c.Call(p);
  tk::SetYieldHook({});
  TestReadSeams().OnEntry = nullptr;

  ASSERT_FALSE(p.held) << "the host never let go";
  EXPECT_EQ(watch.Touches(), 0) << "the deleted control or selector was touched";
  EXPECT_TRUE(p.ControlGone());
  EXPECT_EQ(p.host.Events.size(), p.host.EventsAtLetGo) << "events raised after the host let go";
}

INSTANTIATE_TEST_SUITE_P(Members, HostLetsGo, testing::ValuesIn(kEntries),
                         [](const testing::TestParamInfo<EntryCase>& i) { return i.param.Name; });

}  // namespace
