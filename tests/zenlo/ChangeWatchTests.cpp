#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "listing/model/ReadSeams.h"
#include "listing/model/ShellFileInfo.h"
#include "listing/model/SoundPlayer.h"
#include "support/ControlFixture.h"
#include "support/TempFolder.h"
#include "toolkit/EventLoop.h"
#include "toolkit/MessageBox.h"
#include "zenlo/ZenloFileControl.h"

namespace {

using testsupport::TempFolder;
using zenlo::ZenloFileControl;

// The first poll comes 10 ms after a (re)start, then one every 2 s: this wait always spans a
// poll that would have seen a change.
constexpr unsigned kPastNextPollMs = 2600;
constexpr unsigned kChangeNoticedMs = 3000;

// Every read places the folder "keep" once: counting those entries counts the reads.
class ReadCounter {
 public:
  ReadCounter() {
    zenlo::TestReadSeams().OnEntry = [this](const std::wstring& name) {
      if (name == L"keep") ++Reads;
    };
  }
  ~ReadCounter() { zenlo::TestReadSeams().OnEntry = nullptr; }
  ReadCounter(const ReadCounter&) = delete;
  ReadCounter& operator=(const ReadCounter&) = delete;
  int Reads = 0;
};

// A control reading a real temporary folder that holds the folder "keep" and a.txt.
struct Watched {
  explicit Watched(zenlo::ListType type) : c(type) {
    dir.Folder(L"keep");
    dir.File(L"a.txt", 3);
  }

  int Reads() const { return counter->Reads; }
  void Pump(unsigned ms) { tk::PumpUntil([] { return false; }, ms); }

  TempFolder dir;
  std::unique_ptr<ReadCounter> counter = std::make_unique<ReadCounter>();
  testsupport::ControlHolder c;
};

void MakeFolder(const std::wstring& path) { ASSERT_TRUE(CreateDirectoryW(path.c_str(), nullptr)); }

void AppendTo(const std::wstring& path) {
  HANDLE h = CreateFileW(path.c_str(), FILE_APPEND_DATA, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  WriteFile(h, "more", 4, &written, nullptr);
  CloseHandle(h);
}

TEST(ChangeWatch, NewFilesInAListedFolderCauseOneRereadAndRaiseTheFlag) {
  Watched w(zenlo::fbFileAndFolder);
  ASSERT_TRUE(w.c->GetFolderContents(w.dir.Path(), true));
  ASSERT_EQ(w.Reads(), 1);
  ASSERT_EQ(w.c->ItemCount(), 2);
  EXPECT_FALSE(w.c->FolderChanged());

  // A burst of changes between two polls: one re-read sees them all.
  w.dir.File(L"x1.txt");
  w.dir.File(L"x2.txt");
  w.dir.File(L"x3.txt");
  ASSERT_TRUE(tk::PumpUntil([&] { return w.c->ItemCount() == 5; }, kChangeNoticedMs));
  EXPECT_EQ(w.Reads(), 2);
  EXPECT_TRUE(w.c->FolderChanged());

  // The re-read armed a fresh notification: nothing more happened, so nothing more is read.
  w.Pump(kPastNextPollMs);
  EXPECT_EQ(w.Reads(), 2);

  w.c->ChangeNoticeClear();
  EXPECT_FALSE(w.c->FolderChanged());
}

TEST(ChangeWatch, TreeWatchesItsWatchFolderForFoldersOnly) {
  Watched w(zenlo::fbFolder);
  w.c.host.Bookmarks[0] = w.dir.Path();
  w.c->SetCurrentDrive(L"0");
  ASSERT_TRUE(w.c->GetFolderContents(w.dir.Path(), true));
  ASSERT_EQ(w.Reads(), 1);
  w.c->WatchFolder = w.dir.Path() + L"keep";
  w.c->WatchStart();

  // A file in the watched folder, and a folder outside it, are not the tree's business.
  w.dir.File(L"keep\\new.txt");
  MakeFolder(w.dir.Path() + L"elsewhere");
  w.Pump(kPastNextPollMs);
  EXPECT_EQ(w.Reads(), 1);
  EXPECT_FALSE(w.c->FolderChanged());

  MakeFolder(w.dir.Path() + L"keep\\inner");
  ASSERT_TRUE(tk::PumpUntil([&] { return w.Reads() == 2; }, kChangeNoticedMs));
  EXPECT_TRUE(w.c->FolderChanged());
  // The re-read listed the tree's root again, with the folder made meanwhile.
  EXPECT_EQ(w.c->ItemCount(), 3);
}

TEST(ChangeWatch, StoppedWatchMissesChangesUntilResumed) {
  Watched w(zenlo::fbFileAndFolder);
  ASSERT_TRUE(w.c->GetFolderContents(w.dir.Path(), true));
  w.c->WatchStop();
  w.dir.File(L"while-stopped.txt");
  w.Pump(kPastNextPollMs);
  EXPECT_EQ(w.Reads(), 1);
  EXPECT_EQ(w.c->ItemCount(), 2);
  EXPECT_FALSE(w.c->FolderChanged());

  // Resuming polls within milliseconds, not after the steady 2 s.
  w.c->WatchResume();
  ASSERT_TRUE(tk::PumpUntil([&] { return w.Reads() == 2; }, 1000));
  EXPECT_EQ(w.c->ItemCount(), 3);
  EXPECT_TRUE(w.c->FolderChanged());
}

TEST(ChangeWatch, ChangesBelowTheFolderOrToFileContentsAreNotNoticed) {
  Watched w(zenlo::fbFileAndFolder);
  ASSERT_TRUE(w.c->GetFolderContents(w.dir.Path(), true));
  w.dir.File(L"keep\\deep.txt");
  MakeFolder(w.dir.Path() + L"keep\\deeper");
  AppendTo(w.dir.Path() + L"a.txt");
  w.Pump(kPastNextPollMs);
  EXPECT_EQ(w.Reads(), 1);
  EXPECT_FALSE(w.c->FolderChanged());
}

TEST(ChangeWatch, WatchRunsAgainHoweverAReadEnded) {
  enum class Ending { Completed, Refused, Cancelled, Restarted };
  for (Ending ending : {Ending::Completed, Ending::Refused, Ending::Cancelled, Ending::Restarted}) {
    SCOPED_TRACE(static_cast<int>(ending));
    Watched w(zenlo::fbFileAndFolder);
    for (int i = 0; i < 20; ++i) w.dir.File(L"f" + std::to_wstring(i) + L".txt");
    struct HookReset {
      ~HookReset() { tk::SetYieldHook({}); }
    } reset;
    switch (ending) {
      case Ending::Completed:
        ASSERT_TRUE(w.c->GetFolderContents(w.dir.Path(), true));
        break;
      case Ending::Refused:
        ASSERT_TRUE(w.c->GetFolderContents(w.dir.Path(), true));
        ASSERT_FALSE(w.c->GetFolderContents(w.dir.Path() + L"missing", true));
        break;
      case Ending::Cancelled:
        tk::SetYieldHook([&](unsigned long n) {
          if (n == 5) w.c->IsCancelled = true;
        });
        ASSERT_TRUE(w.c->GetFolderContents(w.dir.Path(), true));
        break;
      case Ending::Restarted:
        tk::SetYieldHook([&](unsigned long n) {
          if (n == 5) w.c->GetFolderContents(w.dir.Path(), true);
        });
        ASSERT_TRUE(w.c->GetFolderContents(w.dir.Path(), true));
        break;
    }
    tk::SetYieldHook({});
    const int reads = w.Reads();
    w.dir.File(L"after.txt");
    ASSERT_TRUE(tk::PumpUntil([&] { return w.Reads() == reads + 1; }, kChangeNoticedMs));
    EXPECT_TRUE(w.c->FolderChanged());
    EXPECT_EQ(w.c->ItemCount(), 23);
  }
}

TEST(ChangeWatch, AFolderRemovedUnderTwoListingsMovesBothToItsParentWithoutABox) {
  Watched w(zenlo::fbFileAndFolder);
  testsupport::ControlHolder other(zenlo::fbFileAndFolder);
  w.dir.File(L"doomed\\last.txt");
  const std::wstring shown = w.dir.Path() + L"doomed\\";
  // Any box raised here fails the test (the seam of the test main); the host is told nothing.
  tk::SetMessageBoxSeam([](const tk::MessageBoxRequest& r) {
    ADD_FAILURE() << "message box: " << testing::PrintToString(r.Text);
    return IDOK;
  });
  ASSERT_TRUE(w.c->GetFolderContents(shown, true));
  // Under Wine a folder held by two notifications is reopened by each pane in turn and never
  // goes: the second pane is pointed at it as a host does after a read elsewhere, its watch
  // on the folder above.
  ASSERT_TRUE(other->GetFolderContents(w.dir.Path(), true));
  other->currentFolder(shown);
  // As the host deletes from a third pane: watches stopped, the contents first (which the
  // watches see), then the folder (pending while the watch still holds it), watches resumed.
  w.c->WatchStop();
  other->WatchStop();
  ASSERT_TRUE(DeleteFileW((shown + L"last.txt").c_str()));
  w.Pump(200);
  testsupport::RemoveTree(shown);
  w.c->WatchResume();
  other->WatchResume();
  const std::wstring notice = L"\"doomed\" no longer exists; the folder above it is shown.";
  for (testsupport::ControlHolder* c : {&w.c, &other}) {
    ASSERT_TRUE(tk::PumpUntil([&] { return (*c)->currentFolder() == w.dir.Path(); },
                              kChangeNoticedMs))
        << testing::PrintToString((*c)->currentFolder()) << " "
        << testing::PrintToString((*c)->StatusGet()) << " " << (*c)->ItemCount() << " "
        << GetFileAttributesW(shown.c_str());
  }
  w.Pump(kPastNextPollMs);  // and nothing more is said about it
  for (testsupport::ControlHolder* c : {&w.c, &other}) {
    EXPECT_TRUE(c->host.Messages().empty());
    EXPECT_EQ((*c)->currentFolder(), w.dir.Path());
    EXPECT_EQ((*c)->ItemCount(), 2);  // "keep" and a.txt
    EXPECT_TRUE((*c)->FileChangeText().empty()) << "no change counted against another folder";
    EXPECT_EQ((*c)->StatusGet().rfind(notice + L"   1 Folder / 1 File", 0), 0u)
        << testing::PrintToString((*c)->StatusGet());
  }
  EXPECT_EQ(GetFileAttributesW(shown.c_str()), INVALID_FILE_ATTRIBUTES);

  // From there the parent is watched, and the next reading says nothing more of the old folder.
  w.dir.File(L"b.txt");
  ASSERT_TRUE(tk::PumpUntil([&] { return w.c->ItemCount() == 3; }, kChangeNoticedMs));
  EXPECT_EQ(w.c->StatusGet().find(L"no longer exists"), std::wstring::npos);
  tk::SetMessageBoxSeam([](const tk::MessageBoxRequest&) {
    ADD_FAILURE() << "unexpected message box";
    return IDCANCEL;
  });
}

// The folder's own watch never signals when the folder above it is renamed (nor, under Wine,
// when a program outside removes it): the listing still leaves it.
TEST(ChangeWatch, AListedFolderGoneUnseenByItsWatchIsLeftForTheNearestParent) {
  Watched w(zenlo::fbFileAndFolder);
  w.dir.Folder(L"outer\\gone");
  const std::wstring shown = w.dir.Path() + L"outer\\gone\\";
  tk::SetMessageBoxSeam([](const tk::MessageBoxRequest& r) {
    ADD_FAILURE() << "message box: " << testing::PrintToString(r.Text);
    return IDOK;
  });
  ASSERT_TRUE(w.c->GetFolderContents(shown, true));
  w.Pump(200);
  ASSERT_TRUE(MoveFileW((w.dir.Path() + L"outer").c_str(), (w.dir.Path() + L"moved").c_str()));
  ASSERT_EQ(GetFileAttributesW(shown.c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_TRUE(
      tk::PumpUntil([&] { return w.c->currentFolder() == w.dir.Path(); }, 2 * kChangeNoticedMs))
      << testing::PrintToString(w.c->currentFolder());
  EXPECT_TRUE(w.c.host.Messages().empty());
  EXPECT_EQ(w.c->StatusGet().rfind(L"\"gone\" no longer exists", 0), 0u)
      << testing::PrintToString(w.c->StatusGet());
  tk::SetMessageBoxSeam([](const tk::MessageBoxRequest&) {
    ADD_FAILURE() << "unexpected message box";
    return IDCANCEL;
  });
}

TEST(ChangeWatch, ATickWhoseRefreshReadNothingKeepsTheWatchRunning) {
  // A tree without a place re-reads nothing when its watched folder changes.
  Watched w(zenlo::fbFolder);
  w.c->WatchFolder = w.dir.Path();
  ASSERT_TRUE(w.c->GetFolderContents(w.dir.Path(), true));
  const int reads = w.Reads();
  for (const wchar_t* made : {L"first", L"second"}) {
    SCOPED_TRACE(testing::PrintToString(std::wstring(made)));
    MakeFolder(w.dir.Path() + made);
    ASSERT_TRUE(tk::PumpUntil([&] { return w.c->FolderChanged(); }, kChangeNoticedMs));
    w.c->ChangeNoticeClear();
  }
  EXPECT_EQ(w.Reads(), reads);
}

TEST(ChangeWatch, AFolderWhoseNameEndsInADotIsWatchedItself) {
  Watched w(zenlo::fbFileAndFolder);
  const std::wstring folder = w.dir.Path() + L"data.";
  ASSERT_TRUE(CreateDirectoryW((L"\\\\?\\" + folder).c_str(), nullptr));
  ASSERT_TRUE(w.c->GetFolderContents(folder, true));
  ASSERT_EQ(w.c->ItemCount(), 0);
  HANDLE h = CreateFileW((L"\\\\?\\" + folder + L"\\new.txt").c_str(), GENERIC_WRITE, 0, nullptr,
                         CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  CloseHandle(h);
  EXPECT_TRUE(tk::PumpUntil([&] { return w.c->ItemCount() == 1; }, kChangeNoticedMs));
  testsupport::RemoveTree(L"\\\\?\\" + folder);
}

// ---- The chime ----

class RecordingPlayer final : public zenlo::SoundPlayer {
 public:
  explicit RecordingPlayer(unsigned devices) : devices_(devices) {}
  unsigned DeviceCount() override { return devices_; }
  void Beep() override { Calls.push_back(L"Beep"); }
  void PlayFile(const std::wstring& path) override { Calls.push_back(L"PlayFile " + path); }
  void PlayMemory(const void* wave) override {
    Calls.push_back(L"PlayMemory");
    Wave = wave;
  }
  std::vector<std::wstring> Calls;
  const void* Wave = nullptr;

 private:
  unsigned devices_;
};

std::wstring ChimeBesideProgram() {
  wchar_t exe[MAX_PATH];
  const DWORD n = GetModuleFileNameW(nullptr, exe, MAX_PATH);
  std::wstring path(exe, n);
  return path.substr(0, path.find_last_of(L'\\')) + L"\\CHIME.WAV";
}

// A CHIME.WAV beside the test program for one test.
class ChimeFile {
 public:
  ChimeFile() : path_(ChimeBesideProgram()) {
    HANDLE h = CreateFileW(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(h, "RIFF", 4, &written, nullptr);
    CloseHandle(h);
    made_ = true;
  }
  ~ChimeFile() {
    if (made_) DeleteFileW(path_.c_str());
  }
  ChimeFile(const ChimeFile&) = delete;
  ChimeFile& operator=(const ChimeFile&) = delete;
  bool Made() const { return made_; }
  const std::wstring& Path() const { return path_; }

 private:
  std::wstring path_;
  bool made_ = false;
};

struct Chime : ::testing::Test {
  Chime() : c(ZenloFileControl::Create()) {
    c->AttachEvents(&host);
    c->Initialize();
  }
  ~Chime() override { c->Release(); }
  testsupport::FakeHost host;
  ZenloFileControl* c;
};

TEST_F(Chime, WithoutAFileTheBuiltInWavePlaysStraightFromTheResource) {
  ASSERT_EQ(GetFileAttributesW(ChimeBesideProgram().c_str()), INVALID_FILE_ATTRIBUTES)
      << "a CHIME.WAV was left beside the test program";
  // No device: the built-in sound is handed over all the same.
  auto player = std::make_shared<RecordingPlayer>(0);
  c->SetSoundPlayer(player);
  c->TestSound();
  ASSERT_EQ(player->Calls, std::vector<std::wstring>{L"PlayMemory"});
  ASSERT_NE(player->Wave, nullptr);

  const auto* bytes = static_cast<const unsigned char*>(player->Wave);
  EXPECT_EQ(std::memcmp(bytes, "RIFF", 4), 0);
  EXPECT_EQ(std::memcmp(bytes + 8, "WAVE", 4), 0);
  std::uint32_t riffSize;
  std::memcpy(&riffSize, bytes + 4, 4);
  EXPECT_EQ(riffSize + 8, 7434u);

  // The very bytes of resource 101, not a copy that the next chime would replace.
  HMODULE module = GetModuleHandleW(nullptr);
  HRSRC res = FindResourceW(module, MAKEINTRESOURCEW(101), L"VR_SOUND");
  ASSERT_NE(res, nullptr);
  EXPECT_EQ(SizeofResource(module, res), 7434u);
  EXPECT_EQ(player->Wave, LockResource(LoadResource(module, res)));
  c->TestSound();
  ASSERT_EQ(player->Calls.size(), 2u);
  EXPECT_EQ(player->Calls[1], L"PlayMemory");
  EXPECT_EQ(std::memcmp(bytes, "RIFF", 4), 0) << "the first chime's memory is still intact";
}

TEST_F(Chime, AFileBesideTheProgramBeepsWithoutADeviceAndPlaysWithOne) {
  ChimeFile file;
  ASSERT_TRUE(file.Made()) << "could not place " << testing::PrintToString(file.Path());
  const struct {
    unsigned Devices;
    std::wstring Expected;
  } cases[] = {
      {0, L"Beep"},
      {1, L"PlayFile " + file.Path()},
      {3, L"PlayFile " + file.Path()},
  };
  for (const auto& tc : cases) {
    SCOPED_TRACE(tc.Devices);
    auto player = std::make_shared<RecordingPlayer>(tc.Devices);
    c->SetSoundPlayer(player);
    c->TestSound();
    ASSERT_EQ(player->Calls.size(), 1u);
    EXPECT_EQ(_wcsicmp(player->Calls[0].c_str(), tc.Expected.c_str()), 0)
        << testing::PrintToString(player->Calls[0]);
  }
  EXPECT_TRUE(host.Events.empty()) << "sound never speaks to the host";
}

}  // namespace
