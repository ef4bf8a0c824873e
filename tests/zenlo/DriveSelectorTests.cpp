// The drive and place selector: its entries, its selection handling and its events, with fixed
// drives (Wine has only C: and Z:, both local), and once as a real window with this machine's.
#include <gtest/gtest.h>
#include <shlobj.h>

#include <algorithm>
#include <array>
#include <climits>
#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "companions/DriveProvider.h"
#include "support/HostWindow.h"
#include "toolkit/EventLoop.h"
#include "toolkit/Window.h"
#include "zenlo/ZFCombo.h"

using namespace zenlo;

namespace {

struct FakeDrive {
  UINT Type = DRIVE_FIXED;
  bool HasVolume = true;  // a volume answers (no disc, lost connection: false)
  std::wstring Label;
  std::wstring Remote;    // the share of a mapped drive
  bool Ready = true;
};

class FakeDrives : public DriveProvider {
 public:
  std::map<wchar_t, FakeDrive> Drives;  // by letter, listed in letter order
  std::wstring Documents = L"C:\\Users\\me\\Documents";
  std::vector<std::wstring> ReadyAsked;
  std::vector<std::wstring> RemoteAsked;
  bool FailReadiness = false;
  bool FailListing = false;

  std::vector<std::wstring> LogicalDriveRoots() override {
    if (FailListing) throw std::runtime_error("no drive list");
    std::vector<std::wstring> roots;
    for (const auto& [letter, d] : Drives) roots.push_back(std::wstring(1, letter) + L":\\");
    return roots;
  }
  UINT DriveType(const std::wstring& root) override {
    const FakeDrive* d = Find(root);
    return d ? d->Type : DRIVE_NO_ROOT_DIR;
  }
  bool QueryVolume(const std::wstring& root, VolumeInformation& info) override {
    const FakeDrive* d = Find(root);
    if (!d || !d->HasVolume) return false;
    info.Label = d->Label;
    info.FileSystem = L"NTFS";
    info.Serial = 0x1A2B3C4D;
    info.MaxComponentLength = 255;
    return true;
  }
  std::wstring RemoteName(const std::wstring& drive) override {
    RemoteAsked.push_back(drive);
    const FakeDrive* d = Find(drive);
    return d ? d->Remote : L"";
  }
  bool IsReady(const std::wstring& root) override {
    ReadyAsked.push_back(root);
    if (FailReadiness) throw std::runtime_error("device gone");
    const FakeDrive* d = Find(root);
    return d && d->Ready;
  }
  std::wstring MyDocumentsPath() override { return Documents; }

 private:
  const FakeDrive* Find(const std::wstring& path) const {
    if (path.empty()) return nullptr;
    auto it = Drives.find(static_cast<wchar_t>(towupper(path[0])));
    return it == Drives.end() ? nullptr : &it->second;
  }
};

// A machine with one drive of each kind.
void FillMachine(FakeDrives& f) {
  f.Drives[L'A'] = {DRIVE_REMOVABLE, false, L"", L"", false};
  f.Drives[L'C'] = {DRIVE_FIXED, true, L"SYSTEM", L"", true};
  f.Drives[L'D'] = {DRIVE_FIXED, true, L"  ", L"", true};
  f.Drives[L'E'] = {DRIVE_CDROM, false, L"", L"", false};
  f.Drives[L'F'] = {DRIVE_REMOVABLE, true, L"STICK", L"", false};
  f.Drives[L'M'] = {DRIVE_REMOTE, true, L"", L"\\\\server\\share", true};
  f.Drives[L'N'] = {DRIVE_REMOTE, false, L"", L"", false};
  f.Drives[L'R'] = {DRIVE_RAMDISK, true, L"", L"", true};
}

struct Event {
  std::wstring Name;
  std::wstring Text;
  bool operator==(const Event&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Event& e) {
  std::string narrow;
  for (wchar_t ch : e.Name + L"(" + e.Text + L")") narrow += ch < 128 ? static_cast<char>(ch) : '?';
  return os << narrow;
}

// Records what the selector raises; answers GetBookmark from its table.
class Recorder : public ZFComboEvents {
 public:
  std::vector<Event> Events;
  std::array<std::wstring, 10> Bookmarks{L"(empty)", L"(empty)", L"(empty)", L"(empty)",
                                         L"(empty)", L"(empty)", L"(empty)", L"(empty)",
                                         L"(empty)", L"(empty)"};
  std::function<void(const std::wstring&)> OnClick;

  void MouseMove(short&, short&, float&, float&) override { Events.push_back({L"MouseMove", L""}); }
  void MouseDown(short& Button, short&, float& X, float& Y) override {
    Events.push_back({L"MouseDown", std::to_wstring(Button) + L"@" + std::to_wstring(int(X)) +
                                        L"," + std::to_wstring(int(Y))});
  }
  void Click(std::wstring& strSelect) override {
    Events.push_back({L"Click", strSelect});
    if (OnClick) OnClick(strSelect);
  }
  void ChangeFocus() override { Events.push_back({L"ChangeFocus", L""}); }
  void Message(std::wstring& strMessage) override { Events.push_back({L"Message", strMessage}); }
  void MouseLocked(bool& Locked) override {
    Events.push_back({L"MouseLocked", Locked ? L"True" : L"False"});
  }
  void GetBookmark(short& ArrayIndex, std::wstring& ThePath) override {
    Events.push_back({L"GetBookmark", std::to_wstring(ArrayIndex)});
    ThePath = Bookmarks.at(static_cast<std::size_t>(ArrayIndex));
  }

  int Count(const std::wstring& name) const {
    int n = 0;
    for (const auto& e : Events) n += e.Name == name;
    return n;
  }
  // The last event other than a bookmark question; none gives an empty event.
  Event LastReported() const {
    const auto r = Reported();
    return r.empty() ? Event{} : r.back();
  }
  // The events other than the bookmark questions of a refill.
  std::vector<Event> Reported() const {
    std::vector<Event> out;
    for (const auto& e : Events)
      if (e.Name != L"GetBookmark") out.push_back(e);
    return out;
  }
};

const wchar_t kMapped[] =
    L"Sorry, that drive isn't available right now.\r\n\r\nSince this is a mapped drive, the "
    L"problem was probably caused somewhere other than this computer.";
const wchar_t kRemovable[] =
    L"Sorry, you have chosen a removable item (e.g. diskette, CD, DVD etc.) that is not "
    L"available right now.";
const wchar_t kOther[] = L"Sorry, that folder or drive isn't available right now.";

struct DriveSelector : ::testing::Test {
  DriveSelector() : combo(ZFCombo::Create()) {
    FillMachine(*drives);
    combo->AttachEvents(&host);
    combo->SetDriveProvider(drives);
  }
  ~DriveSelector() override {
    if (combo) combo->Release();
  }
  std::int32_t IndexOf(const std::wstring& text) const {
    const auto& e = combo->PlaceEntries();
    for (std::size_t i = 0; i < e.size(); ++i)
      if (e[i].Text == text) return static_cast<std::int32_t>(i);
    return -1;
  }
  std::int32_t IndexOfKey(const std::wstring& key) const {
    const auto& e = combo->PlaceEntries();
    for (std::size_t i = 0; i < e.size(); ++i)
      if (e[i].Key == key) return static_cast<std::int32_t>(i);
    return -1;
  }
  std::wstring Fill(std::wstring key, bool displayMessage = false) {
    return combo->GetDrives(key, false, displayMessage);
  }

  std::shared_ptr<FakeDrives> drives = std::make_shared<FakeDrives>();
  Recorder host;
  ZFCombo* combo;
};

const std::wstring kC = L"C: Local      SYSTEM";
const std::wstring kD = L"D: Local      (no label)";
const std::wstring kE = L"E: CD-ROM";
const std::wstring kF = L"F: Removable";
const std::wstring kM = L"M: Remote     \\\\server\\share";
const std::wstring kN = L"N: Remote";
const std::wstring kDocs = L"My Documents  C:\\Users\\me\\Documents";

// ---- The helpers ----

TEST(DriveHelpers, TypeWordsAreTenCharactersWide) {
  const std::tuple<UINT, const wchar_t*, const wchar_t*> cases[] = {
      {DRIVE_UNKNOWN, L"C:\\", L"The drive type cannot be determined"},
      {DRIVE_NO_ROOT_DIR, L"C:\\", L"The root directory does not exist"},
      {DRIVE_REMOVABLE, L"a:\\", L"Floppy    "},
      {DRIVE_REMOVABLE, L"B:\\", L"Floppy    "},
      {DRIVE_REMOVABLE, L"F:\\", L"Removable "},
      {DRIVE_FIXED, L"C:\\", L"Local     "},
      {DRIVE_REMOTE, L"M:\\", L"Remote    "},
      {DRIVE_CDROM, L"E:\\", L"CD-ROM    "},
      {DRIVE_RAMDISK, L"R:\\", L"RAM disk  "},
      {7, L"C:\\", L""},
  };
  for (const auto& [type, root, word] : cases) {
    EXPECT_EQ(DriveTypeWord(type, root), word) << type << " " << static_cast<char>(root[0]);
    if (type >= DRIVE_REMOVABLE && type <= DRIVE_RAMDISK) {
      EXPECT_EQ(DriveTypeWord(type, root).size(), 10u);
    }
  }
}

TEST(DriveHelpers, LabelsRootsAndVolumeRecord) {
  const std::pair<const wchar_t*, const wchar_t*> labels[] = {
      {L"", L"(no label)"}, {L"   ", L"(no label)"}, {L"DATA", L"DATA"}, {L" x ", L" x "}};
  for (const auto& [raw, shown] : labels) EXPECT_EQ(LabelText(raw), shown) << raw;
  // Labels are not cut at a fixed width.
  const std::wstring longLabel(32, L'L');
  EXPECT_EQ(LabelText(longLabel), longLabel);

  const std::pair<const wchar_t*, const wchar_t*> roots[] = {
      {L"F:\\a\\b", L"F:"},       {L"M:\\\\temp\\", L"M:"},
      {L"c:", L"c:"},             {L"\\\\srv\\share\\dir", L"\\\\srv\\share"},
      {L"\\\\srv\\share", L"\\\\srv\\share"}, {L"relative\\x", L""},
      {L"", L""},
  };
  for (const auto& [path, root] : roots) EXPECT_EQ(StripToRoot(path), root) << path;

  FakeDrives f;
  FillMachine(f);
  VolumeRecord v;
  ASSERT_TRUE(GetVolumeInfo(L"D:\\", f, v));
  EXPECT_EQ(v.Label, L"(no label)");
  EXPECT_EQ(v.FileSystem, L"NTFS");
  EXPECT_EQ(v.Serial, L"1A2B3C4D");
  EXPECT_EQ(v.Capability, L"Supports 255-character filenames");
  EXPECT_FALSE(GetVolumeInfo(L"E:\\", f, v)) << "a CD-ROM drive without a disc";

  std::wstring root = L"F:";
  EXPECT_FALSE(IsDriveReady(root, f));
  EXPECT_EQ(root, L"F:\\") << "the caller's text gets its backslash";
  root = L"C:\\";
  EXPECT_TRUE(IsDriveReady(root, f));
  EXPECT_EQ(root, L"C:\\");
}

TEST(DriveHelpers, TypeTextCarriesLabelOrShare) {
  FakeDrives f;
  FillMachine(f);
  const std::pair<const wchar_t*, const wchar_t*> cases[] = {
      {L"A:\\", L"Floppy    "},
      {L"C:\\", L"Local      SYSTEM"},
      {L"D:\\", L"Local      (no label)"},
      {L"E:\\", L"CD-ROM    "},  // no disc: no label
      {L"F:\\", L"Removable "},
      {L"M:\\", L"Remote     \\\\server\\share"},
      {L"N:\\", L"Remote     "},  // lost connection: the word, one blank, no share
      {L"R:\\", L"RAM disk  "},
      {L"Q:\\", L"The root directory does not exist"},
  };
  for (const auto& [root, text] : cases) EXPECT_EQ(GetDriveTypeText(root, f), text) << root;
  // The share is asked for the drive itself, whatever path the root was joined with.
  EXPECT_EQ(f.RemoteAsked, (std::vector<std::wstring>{L"M:", L"N:"}));
  EXPECT_EQ(GetRemoteNameForDrive(L"M:\\some\\folder", f), L"\\\\server\\share");
}

TEST(DriveHelpers, HiWordAndLoWord) {
  struct Case {
    std::int32_t Dw, Hi, Lo;
  };
  const Case cases[] = {
      {0, 0, 0},          {-1, -1, 65535},         {131071, 2, 65535},
      {65535, 1, 65535},  {65534, 0, 65534},       {65536, 1, 0},
      {-65535, -2, 1},    {INT_MAX, 32768, 65535}, {INT_MIN, -32769, 0},
  };
  ZFCombo* combo = ZFCombo::Create();
  for (const Case& c : cases) {
    EXPECT_EQ(HiWord(c.Dw), c.Hi) << c.Dw;
    EXPECT_EQ(LoWord(c.Dw), c.Lo) << c.Dw;
    EXPECT_EQ(combo->HiWord(c.Dw), c.Hi) << c.Dw;
    EXPECT_EQ(combo->LoWord(c.Dw), c.Lo) << c.Dw;
  }
  combo->Release();
}

// ---- The list ----

TEST_F(DriveSelector, ListsDrivesThenPlacesThenBookmarks) {
  host.Bookmarks[0] = L"D:\\work";
  host.Bookmarks[2] = L"(EMPTY)";
  host.Bookmarks[3] = L"";
  host.Bookmarks[4] = L"(Empty)";
  host.Bookmarks[8] = L"C:\\My Documents\\old";
  host.Bookmarks[9] = L"E:\\x y\\";
  std::wstring name = L"C";
  EXPECT_EQ(combo->GetDrives(name, true), L"") << "SkipAutoSet selects nothing";

  const std::vector<PlaceEntry> expected = {
      {L"A: Floppy", L"A:", L"A", placeDrive},
      {kC, L"C:", L"C", placeDrive},
      {kD, L"D:", L"D", placeDrive},
      {kE, L"E:", L"E", placeDrive},
      {kF, L"F:", L"F", placeDrive},
      {kM, L"M:", L"M", placeDrive},
      {kN, L"N:", L"N", placeDrive},
      {L"R: RAM disk", L"R:", L"R", placeDrive},
      {L"", L"", L"", placeDrive},
      {kDocs, L"My Documents", L"?", placeDocuments},
      {L"My Network Places", L"My Network Places", L"*", placeNetwork},
      {L"", L"", L"", placeDrive},
      {L"Bookmark 1    D:\\work", L"Bookmark 1", L"0", placeBookmark},
      {L"Bookmark 9    C:\\My Documents\\old", L"Bookmark 9", L"8", placeBookmark},
      {L"Bookmark 10   E:\\x y\\", L"Bookmark 10", L"9", placeBookmark},
  };
  const auto& entries = combo->PlaceEntries();
  ASSERT_EQ(entries.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(entries[i].Text, expected[i].Text);
    EXPECT_EQ(entries[i].PlaceName, expected[i].PlaceName);
    EXPECT_EQ(entries[i].Key, expected[i].Key);
    EXPECT_EQ(entries[i].Kind, expected[i].Kind);
  }
  EXPECT_EQ(combo->DefaultEntryText(), kC) << "the first drive other than A: and B:";
  EXPECT_EQ(combo->Text(), L"");
  EXPECT_EQ(combo->ListIndex(), -1);
  std::vector<Event> asked;
  for (int slot = 0; slot <= 9; ++slot) asked.push_back({L"GetBookmark", std::to_wstring(slot)});
  EXPECT_EQ(host.Events, asked) << "only the slots are asked, in order; nothing is chosen";
}

TEST_F(DriveSelector, AllTwentySixDrivesAreListed) {
  drives->Drives.clear();
  for (wchar_t letter = L'A'; letter <= L'Z'; ++letter) drives->Drives[letter] = {};
  EXPECT_EQ(Fill(L"Z"), L"Z:");
  std::size_t driveEntries = 0;
  for (const auto& e : combo->PlaceEntries())
    driveEntries += e.Kind == placeDrive && !e.Key.empty();
  ASSERT_EQ(driveEntries, 26u);
  EXPECT_EQ(combo->PlaceEntries()[25].Key, L"Z");
  EXPECT_EQ(combo->Text(), L"Z: Local      (no label)");
}

// ---- Selecting from code ----

TEST_F(DriveSelector, EmptyNameSelectsTheDefaultEntryAndGivesItsLetter) {
  std::wstring name;
  host.OnClick = [&](const std::wstring&) {
    EXPECT_EQ(combo->Text(), kC) << "the selection is made before Click";
  };
  EXPECT_EQ(combo->GetDrives(name), L"C:");
  EXPECT_EQ(name, L"C");
  EXPECT_EQ(combo->Text(), kC);
  EXPECT_EQ(combo->currDrive, kC);
  EXPECT_EQ(host.Reported(), (std::vector<Event>{{L"ChangeFocus", L""},
                                                 {L"MouseLocked", L"False"},
                                                 {L"Click", kC}}));
  EXPECT_EQ(drives->ReadyAsked, std::vector<std::wstring>{L"C:\\"});
}

TEST_F(DriveSelector, OnlyFloppiesGiveNoDefaultEntry) {
  drives->Drives.clear();
  drives->Drives[L'A'] = {DRIVE_REMOVABLE, false, L"", L"", true};
  drives->Drives[L'B'] = {DRIVE_REMOVABLE, false, L"", L"", true};
  EXPECT_EQ(Fill(L"Q"), L"") << "a key that no entry has";
  EXPECT_EQ(combo->DefaultEntryText(), L"");
  EXPECT_EQ(combo->Text(), L"");
  EXPECT_EQ(combo->currDrive, L"");
  std::wstring name;
  EXPECT_EQ(combo->GetDrives(name), L"");
  EXPECT_EQ(name, L"");
  EXPECT_EQ(host.Count(L"Click"), 0);
  EXPECT_EQ(host.Count(L"ChangeFocus"), 0);
}

TEST_F(DriveSelector, ResultComesFromWhatTheEntryIsNotFromItsWords) {
  // Words of other places inside labels and paths must not decide the result.
  drives->Drives[L'D'].Label = L"My Documents";
  drives->Drives[L'R'] = {DRIVE_FIXED, true, L"My Network Places", L"", true};
  host.Bookmarks[0] = L"C:\\Users\\me\\My Documents";
  host.Bookmarks[3] = L"\\\\srv\\My Network Places\\x";
  host.Bookmarks[9] = L"C:\\ten";
  struct Case {
    const wchar_t* Key;
    const wchar_t* Result;
    std::wstring Text;
  };
  const Case cases[] = {
      {L"d", L"D:", L"D: Local      My Documents"},
      {L"R", L"R:", L"R: Local      My Network Places"},
      {L"?", L"?:", kDocs},
      {L"*", L"*:", L"My Network Places"},
      {L"0", L"0:", L"Bookmark 1    C:\\Users\\me\\My Documents"},
      {L"3", L"3:", L"Bookmark 4    \\\\srv\\My Network Places\\x"},
      {L"9", L"9:", L"Bookmark 10   C:\\ten"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Key);
    host.Events.clear();
    drives->ReadyAsked.clear();
    EXPECT_EQ(Fill(c.Key), c.Result);
    EXPECT_EQ(combo->Text(), c.Text);
    EXPECT_EQ(combo->currDrive, c.Text);
    ASSERT_EQ(host.Count(L"Click"), 1);
    EXPECT_EQ(host.LastReported(), (Event{L"Click", c.Text}));
    const bool isDrive = c.Result[0] == L'D' || c.Result[0] == L'R';
    EXPECT_EQ(drives->ReadyAsked.size(), isDrive ? 1u : 0u)
        << "places and bookmarks are reported without a readiness test";
  }
}

// ---- The user's choice ----

TEST_F(DriveSelector, NotReadyDriveSaysWhyOnlyWhenAskedAndGoesBackWithoutClick) {
  struct Case {
    const wchar_t* Key;
    bool DisplayMessage;
    const wchar_t* Message;  // null: none
  };
  const Case cases[] = {
      {L"N", true, kMapped},    {L"F", true, kRemovable}, {L"A", true, kOther},
      {L"E", true, kOther},     {L"N", false, nullptr},   {L"F", false, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::wstring(c.Key) + (c.DisplayMessage ? L" shown" : L" quiet"));
    Fill(L"M", c.DisplayMessage);
    host.Events.clear();
    drives->ReadyAsked.clear();
    combo->SetListIndex(IndexOfKey(c.Key));
    std::vector<Event> expected{{L"ChangeFocus", L""}, {L"MouseLocked", L"False"}};
    if (c.Message) expected.push_back({L"Message", c.Message});
    EXPECT_EQ(host.Events, expected);
    EXPECT_EQ(drives->ReadyAsked, std::vector<std::wstring>{std::wstring(c.Key) + L":\\"});
    EXPECT_EQ(combo->Text(), kM) << "back to the entry shown before";
  }
}

TEST_F(DriveSelector, NotReadyWithNothingShownBeforeGoesToTheDefaultEntry) {
  host.Bookmarks[1] = L"F:\\photos";
  EXPECT_EQ(Fill(L"F", true), L"C:") << "the default entry stands in, unreported";
  EXPECT_EQ(host.Reported(), (std::vector<Event>{{L"ChangeFocus", L""},
                                                 {L"MouseLocked", L"False"},
                                                 {L"Message", kRemovable}}));
  EXPECT_EQ(combo->Text(), kC);
  host.Events.clear();
  // A bookmark on that drive is reported: its reading is the listing's business.
  combo->SetText(L"bookmark 2    f:\\PHOTOS");
  EXPECT_EQ(host.LastReported(), (Event{L"Click", L"Bookmark 2    F:\\photos"}));
}

TEST_F(DriveSelector, BlankLineShowsAgainWhatWasShownWhenTheListOpened) {
  Fill(L"M");
  combo->Combo1_DropDown();
  host.Events.clear();
  const std::int32_t blanks[] = {IndexOf(kDocs) - 1, IndexOf(L"My Network Places") + 1};
  for (std::int32_t blank : blanks) {
    ASSERT_GT(blank, 0);
    ASSERT_EQ(combo->PlaceEntries()[static_cast<std::size_t>(blank)].Text, L"");
    combo->SetListIndex(blank);
    EXPECT_EQ(combo->Text(), kM);
  }
  EXPECT_TRUE(host.Events.empty()) << "no event at all, Click included";
}

TEST_F(DriveSelector, GoesBackToThePlaceLastReportedNotTheOneThatHadTheFocus) {
  Fill(L"C", true);
  combo->Combo1_GotFocus();
  combo->SetListIndex(IndexOf(kD));  // arrow keys in the closed box: each line is a choice
  ASSERT_EQ(combo->Text(), kD);
  combo->SetListIndex(IndexOf(kE));
  EXPECT_EQ(combo->Text(), kD) << "a drive that is not ready";
  combo->SetListIndex(IndexOf(kDocs) - 1);
  EXPECT_EQ(combo->Text(), kD) << "a blank line";
  std::wstring key = L"F";
  EXPECT_EQ(combo->GetDrives(key, false, true), L"D:") << "the owner asked for a drive not ready";
  EXPECT_EQ(combo->Text(), kD);
  std::vector<std::wstring> clicks;
  for (const auto& e : host.Events)
    if (e.Name == L"Click") clicks.push_back(e.Text);
  EXPECT_EQ(clicks, (std::vector<std::wstring>{kC, kD}));
  EXPECT_EQ(host.Count(L"Message"), 2);
}

TEST_F(DriveSelector, DropDownRefillsKeepsThePlaceAndLocksTheMouseWithoutClick) {
  host.Bookmarks[4] = L"D:\\five";
  Fill(L"4");
  ASSERT_EQ(combo->Text(), L"Bookmark 5    D:\\five");
  drives->Drives[L'G'] = {DRIVE_FIXED, true, L"NEW", L"", true};  // a drive came
  host.Events.clear();
  combo->Combo1_DropDown();
  EXPECT_EQ(host.Reported(), (std::vector<Event>{{L"MouseLocked", L"True"}}));
  EXPECT_EQ(host.Count(L"GetBookmark"), 10);
  EXPECT_NE(IndexOf(L"G: Local      NEW"), -1);
  EXPECT_EQ(combo->Text(), L"Bookmark 5    D:\\five");
  EXPECT_EQ(combo->currDrive, L"Bookmark 5    D:\\five");

  // The refill turned the messages on for what is chosen from the open list.
  host.Events.clear();
  combo->SetListIndex(IndexOf(kE));
  EXPECT_EQ(host.LastReported(), (Event{L"Message", kOther}));
  EXPECT_EQ(combo->Text(), L"Bookmark 5    D:\\five");
  EXPECT_EQ(host.Count(L"Click"), 0);

  host.Events.clear();
  combo->SetListIndex(IndexOf(L"My Network Places"));
  EXPECT_EQ(host.Reported(), (std::vector<Event>{{L"ChangeFocus", L""},
                                                 {L"MouseLocked", L"False"},
                                                 {L"Click", L"My Network Places"}}));

  // A drive that reads differently after the refill is still the place shown.
  Fill(L"D");
  drives->Drives[L'D'].Label = L"WORK";
  combo->Combo1_DropDown();
  ASSERT_EQ(combo->Text(), L"D: Local      WORK");
  host.Events.clear();
  combo->SetListIndex(IndexOf(kDocs) - 1);
  EXPECT_EQ(combo->Text(), L"D: Local      WORK") << "a blank line, not the default entry";
  EXPECT_TRUE(host.Events.empty());
}

TEST_F(DriveSelector, FailuresNeverEscapeAndAreReported) {
  // The owner's handlers throw: the selector carries on.
  host.OnClick = [](const std::wstring&) { throw std::runtime_error("host failed"); };
  EXPECT_EQ(Fill(L"C"), L"C:");
  EXPECT_EQ(combo->currDrive, kC);

  // The drive list fails: the places are still there.
  drives->FailListing = true;
  EXPECT_EQ(Fill(L"?"), L"?:");
  EXPECT_EQ(combo->PlaceEntries().size(), 4u);
  drives->FailListing = false;

  // The readiness test fails: the selection reports it and raises no Click.
  Fill(L"C");
  host.Events.clear();
  drives->FailReadiness = true;
  combo->SetListIndex(IndexOf(kD));
  EXPECT_EQ(host.LastReported(),
            (Event{L"Message", L"An error occurred while selecting a new drive."}));
  EXPECT_EQ(host.Count(L"Click"), 0);
}

TEST_F(DriveSelector, OwnerLettingGoInsideClickEndsTheHandlingQuietly) {
  host.OnClick = [&](const std::wstring&) {
    combo->Release();
    combo = nullptr;
  };
  std::wstring key = L"C";
  ZFCombo* held = combo;
  EXPECT_EQ(held->GetDrives(key), L"") << "the selector is closing: nothing more happens";
  EXPECT_EQ(host.Count(L"Click"), 1);
}

TEST_F(DriveSelector, SkinColoursByNameWithoutRegardToCase) {
  combo->ApplyProperty(L"colordrivelist", std::int32_t{RGB(10, 20, 30)});
  combo->ApplyProperty(L"COLORDRIVETEXT", std::wstring(L"255"));
  combo->ApplyProperty(L"ColorListBackground", std::int32_t{RGB(1, 1, 1)});
  EXPECT_EQ(combo->ListColor(), RGB(10, 20, 30));
  EXPECT_EQ(combo->TextColor(), RGB(255, 0, 0));
  combo->ApplyProperty(L"ColorDriveText", std::int32_t(0x80000000 | COLOR_WINDOWTEXT));
  EXPECT_EQ(combo->TextColor(), GetSysColor(COLOR_WINDOWTEXT)) << "a system colour value";
}

// ---- This machine's drive list ----

// Maps every free letter for one test. The mapping belongs to the whole wineserver, so it is
// undone as soon as the test ends.
class BorrowedLetters {
  static constexpr const wchar_t* kTarget = L"\\??\\Z:\\no-such-zfcombo-target";

 public:
  BorrowedLetters() {
    const DWORD used = GetLogicalDrives();
    for (wchar_t letter = L'A'; letter <= L'Z'; ++letter) {
      if (used & (1u << (letter - L'A'))) continue;
      const std::wstring device = std::wstring(1, letter) + L":";
      if (DefineDosDeviceW(DDD_RAW_TARGET_PATH, device.c_str(), kTarget))
        made_.push_back(device);
    }
  }
  ~BorrowedLetters() {
    for (const auto& device : made_)
      DefineDosDeviceW(DDD_RAW_TARGET_PATH | DDD_REMOVE_DEFINITION | DDD_EXACT_MATCH_ON_REMOVE,
                       device.c_str(), kTarget);
  }
  BorrowedLetters(const BorrowedLetters&) = delete;
  BorrowedLetters& operator=(const BorrowedLetters&) = delete;

 private:
  std::vector<std::wstring> made_;
};

TEST(DriveSystem, AllTwentySixLettersInUseAreListed) {
  {
    BorrowedLetters letters;
    ASSERT_EQ(GetLogicalDrives(), 0x03FFFFFFu) << "every letter could be mapped";
    ASSERT_EQ(GetLogicalDriveStringsW(0, nullptr), 105u) << "more than 26 roots of 4 characters";
    ZFCombo* combo = ZFCombo::Create();
    Recorder events;
    combo->AttachEvents(&events);
    combo->GetDrives(true);
    std::wstring keys;
    for (const auto& e : combo->PlaceEntries())
      if (e.Kind == placeDrive) keys += e.Key;
    EXPECT_EQ(keys, L"ABCDEFGHIJKLMNOPQRSTUVWXYZ");
    combo->Release();
  }
  EXPECT_NE(GetLogicalDrives(), 0x03FFFFFFu) << "the borrowed letters are free again";
}

// ---- As a window, with this machine's drives ----

std::int32_t IndexOf(const std::vector<std::wstring>& texts, const std::wstring& text) {
  const auto it = std::find(texts.begin(), texts.end(), text);
  return it == texts.end() ? -1 : static_cast<std::int32_t>(it - texts.begin());
}

std::vector<std::wstring> BoxLines(HWND box) {
  std::vector<std::wstring> lines;
  const auto n = SendMessageW(box, CB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < n; ++i) {
    std::wstring t(static_cast<std::size_t>(SendMessageW(box, CB_GETLBTEXTLEN, i, 0)), L'\0');
    SendMessageW(box, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(t.data()));
    lines.push_back(t);
  }
  return lines;
}

TEST(ZFComboWindow, ListsThisMachinesDrivesAndDocumentsInARealBox) {
  testsupport::HostWindow host(600, 300);
  ZFCombo* combo = ZFCombo::Create();
  Recorder events;
  combo->AttachEvents(&events);
  ASSERT_TRUE(combo->CreateFrame(host.Handle()));
  MoveWindow(combo->Window(), 10, 10, 400, 20, TRUE);
  HWND box = combo->ComboWindow();
  ASSERT_NE(box, nullptr);

  std::wstring name;
  EXPECT_EQ(combo->GetDrives(name), L"C:") << "C: is Wine's first drive";
  EXPECT_EQ(name, L"C");
  const auto& entries = combo->PlaceEntries();
  std::vector<std::wstring> texts;
  for (const auto& e : entries) texts.push_back(e.Text);
  EXPECT_EQ(BoxLines(box), texts) << "the box shows the entries, in order";
  EXPECT_EQ(SendMessageW(box, CB_GETCURSEL, 0, 0), combo->ListIndex());
  ASSERT_FALSE(entries.empty());
  EXPECT_EQ(entries[0].Key, L"C");
  EXPECT_EQ(entries[0].Text.rfind(L"C: Local      ", 0), 0u) << "C: is a local drive";

  wchar_t documents[MAX_PATH] = {};
  ASSERT_TRUE(SUCCEEDED(
      SHGetFolderPathW(nullptr, CSIDL_PERSONAL, nullptr, SHGFP_TYPE_CURRENT, documents)));
  EXPECT_NE(IndexOf(texts, std::wstring(L"My Documents  ") + documents), -1) << "My Documents";
  EXPECT_EQ(events.LastReported(), (Event{L"Click", entries[0].Text}));

  // The box: a drop-down list in a fixed-width font, 500 pixels open, its border outside.
  EXPECT_EQ(GetWindowLongW(box, GWL_STYLE) & 3, CBS_DROPDOWNLIST);
  EXPECT_EQ(SendMessageW(box, CB_GETDROPPEDWIDTH, 0, 0), 500);
  RECT r;
  GetWindowRect(box, &r);
  MapWindowPoints(nullptr, combo->Window(), reinterpret_cast<POINT*>(&r), 2);
  const int edge = tk::TwipsToPixels(30, tk::TwipsPerPixelX());
  EXPECT_EQ(r.left, -edge);
  EXPECT_EQ(r.right - r.left, 400 + 2 * edge);
  HDC dc = GetDC(box);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(box, WM_GETFONT, 0, 0)));
  TEXTMETRICW tm{};
  GetTextMetricsW(dc, &tm);
  SelectObject(dc, old);
  ReleaseDC(box, dc);
  EXPECT_EQ(tm.tmPitchAndFamily & TMPF_FIXED_PITCH, 0) << "the type words must line up";

  // The user's choice reaches the handler through the box's notification.
  events.Events.clear();
  const std::int32_t network = IndexOf(texts, L"My Network Places");
  SendMessageW(box, CB_SETCURSEL, static_cast<WPARAM>(network), 0);
  SendMessageW(combo->Window(), WM_COMMAND, MAKEWPARAM(1, CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(box));
  EXPECT_EQ(combo->Text(), L"My Network Places");
  EXPECT_EQ(events.LastReported(), (Event{L"Click", L"My Network Places"}));

  // Opening the list refills it and keeps the place.
  events.Events.clear();
  SendMessageW(box, CB_SHOWDROPDOWN, TRUE, 0);
  tk::DoEvents();
  EXPECT_EQ(SendMessageW(box, CB_GETDROPPEDSTATE, 0, 0), TRUE);
  SendMessageW(box, CB_SHOWDROPDOWN, FALSE, 0);
  EXPECT_EQ(events.Reported(), (std::vector<Event>{{L"MouseLocked", L"True"}}));
  EXPECT_EQ(events.Count(L"GetBookmark"), 10);
  EXPECT_EQ(SendMessageW(box, CB_GETCURSEL, 0, 0), network);
  EXPECT_EQ(BoxLines(box), texts);

  // Skin colours reach the box when it asks for them.
  combo->ApplyProperty(L"ColorDriveList", std::int32_t{RGB(0, 0, 128)});
  combo->ApplyProperty(L"ColorDriveText", std::int32_t{RGB(255, 255, 0)});
  combo->ApplySkinChange();
  HDC probe = CreateCompatibleDC(nullptr);
  const auto brush = SendMessageW(combo->Window(), WM_CTLCOLORLISTBOX,
                                  reinterpret_cast<WPARAM>(probe), reinterpret_cast<LPARAM>(box));
  EXPECT_NE(brush, 0);
  EXPECT_EQ(GetTextColor(probe), RGB(255, 255, 0));
  EXPECT_EQ(GetBkColor(probe), RGB(0, 0, 128));
  DeleteDC(probe);

  UpdateWindow(box);
  RECT field;
  GetClientRect(box, &field);
  HDC shown = GetDC(box);
  EXPECT_EQ(GetPixel(shown, 3, field.bottom / 2), RGB(0, 0, 128)) << "the closed box's field";
  ReleaseDC(box, shown);
  combo->Release();
}

}  // namespace
