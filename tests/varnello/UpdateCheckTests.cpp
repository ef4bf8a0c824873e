// The update check against a real HTTP server on 127.0.0.1: what the user is told for each
// reply, manual and automatic, the first-run marker, the notice window and its buttons.
#include <gtest/gtest.h>

#include <optional>

#include "LoopbackServer.h"
#include "MasterFixture.h"
#include "toolkit/EventLoop.h"
#include "toolkit/SettingRecords.h"

namespace {

using namespace varnello;

const char kVersionPath[] = "/vr_ver/vrver.txt";
const char kNewsPath[] = "/vr_ver/vrnews.txt";
const char kFirstRunPath[] = "/vr_ver/vr00004.txt";
const wchar_t kFailed[] =
    L"Update information could not be obtained from the Varnello website "
    L"(www.varnello.example).\r\n\r\nPlease try again later.";
const wchar_t kOutdated[] =
    L"This version of Varnello is extremely outdated.\r\n\r\nIt is recommended that you upgrade "
    L"to the latest version as soon as possible. Please visit the www.varnello.example for the "
    L"new version and additional information.";
const wchar_t kUpToDate[] = L"Your version of Varnello is up to date.";
// This build is 1.0.0.
constexpr double kNextStored = 100000001;

class UpdateCheckTest : public vtest::MasterTest {
 protected:
  void SetUp() override {
    ASSERT_TRUE(server.Listening());
    UseServer(server.UpdateFolder());
    master->Updates().OpenAddress = [this](const std::wstring& a) { Opened.push_back(a); };
  }
  void UseServer(const std::wstring& folder) {
    master->Updates().SetSource(MakeInternetFetch(), folder);
  }
  // Runs one check to its end; the boxes it raised are answered and recorded.
  std::vector<vtest::SeenBox> Check(bool manual, size_t boxes = 0) {
    std::vector<vtest::BoxAnswers::Action> answers(boxes, vtest::BoxAnswers::Press(1));
    vtest::BoxAnswers seen(answers);
    master->CheckForUpdate(manual);
    EXPECT_TRUE(tk::PumpUntil([&] { return !master->Updates().Running(); }, 40000));
    tk::PumpPendingMessages();
    return seen.Seen;
  }
  void CloseNotice() {
    if (UpdateNoticeForm* n = master->Updates().Notice()) SendMessageW(n->Handle(), WM_CLOSE, 0, 0);
  }
  e2e::LoopbackServer server;
  std::vector<std::wstring> Opened;
};

TEST_F(UpdateCheckTest, EachReplyTellsTheUserWhatItShould) {
  struct Case {
    const char* Name;
    std::optional<std::string> Reply;  // none: the document is missing (404)
    bool Manual;
    double AnnouncedBefore;
    const wchar_t* Box;  // nullptr: nothing is said
    bool Notice;
  };
  const Case cases[] = {
      {"newer, automatic", "1.0.1\r\n", false, 0, nullptr, true},
      {"newer, manual", "1.0.1", true, 0, nullptr, true},
      {"newer with padded numbers and blanks", "  1.00.0001  ", false, 0, nullptr, true},
      {"same, automatic", "1.0.0", false, 0, nullptr, false},
      {"same, manual", "1.00.0000", true, 0, kUpToDate, false},
      {"older, manual", "0.9.9", true, 0, kUpToDate, false},
      {"older, automatic", "0.9.9", false, 0, nullptr, false},
      {"888888, automatic", "888888", false, 0, kOutdated, false},
      {"888888, manual", "888888", true, 0, kOutdated, false},
      {"two numbers", "4.1", true, 0, kFailed, false},
      {"four numbers", "1.2.3.4", true, 0, kFailed, false},
      {"text", "new version out", true, 0, kFailed, false},
      {"text, automatic", "new version out", false, 0, nullptr, false},
      {"a part out of range", "1.10000.0", true, 0, kFailed, false},
      {"a sign", "1.-1.5", true, 0, kFailed, false},
      {"31 characters", std::string(31, '1'), true, 0, kFailed, false},
      {"empty", "", true, 0, kFailed, false},
      {"404, manual", std::nullopt, true, 0, kFailed, false},
      {"404, automatic", std::nullopt, false, 0, nullptr, false},
      {"announced before, automatic", "1.0.1", false, kNextStored, nullptr, false},
      {"announced before, manual", "1.0.1", true, kNextStored, nullptr, true},
  };
  server.SetDocument(kNewsPath, "News");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    master->Options.OnlineVersion = c.AnnouncedBefore;
    if (c.Reply)
      server.SetDocument(kVersionPath, *c.Reply);
    else
      server.RemoveDocument(kVersionPath);
    const auto boxes = Check(c.Manual, c.Box ? 1 : 0);
    ASSERT_EQ(boxes.size(), c.Box ? 1u : 0u);
    if (c.Box) {
      EXPECT_EQ(boxes[0].Text, c.Box);
    }
    EXPECT_EQ(master->Updates().Notice() != nullptr, c.Notice);
    EXPECT_EQ(master->Options.OnlineVersion, c.Notice ? kNextStored : c.AnnouncedBefore);
    CloseNotice();
  }
  // No first-run marker: the site never heard of a first run.
  EXPECT_EQ(server.CountRequests(kFirstRunPath), 0);
}

TEST_F(UpdateCheckTest, ANewerVersionIsAnnouncedOnceAutomaticallyAndAgainOnRequest) {
  server.SetDocument(kVersionPath, "2.0.0");
  server.SetDocument(kNewsPath, "Version 2");
  const bool manual[] = {false, false, true};
  const bool want[] = {true, false, true};
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    EXPECT_TRUE(Check(manual[i]).empty());
    EXPECT_EQ(master->Updates().Notice() != nullptr, want[i]);
    EXPECT_EQ(master->Options.OnlineVersion, 200000000.0);
    CloseNotice();
  }
}

TEST_F(UpdateCheckTest, NoServerIsAFailedCheckAndNeverHoldsUpTheWindow) {
  struct Case {
    const char* Name;
    bool Silent;  // else the port is refused
    bool Manual;
    size_t Boxes;
  };
  const Case cases[] = {
      {"refused, manual", false, true, 1},
      {"refused, automatic", false, false, 0},
      {"never answers, manual", true, true, 1},
      {"never answers, automatic", true, false, 0},
  };
  e2e::LoopbackServer silent;
  silent.SetSilent(true);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    UseServer(c.Silent ? silent.UpdateFolder() : e2e::LoopbackServer::RefusedUpdateFolder());
    std::vector<vtest::BoxAnswers::Action> answers(c.Boxes, vtest::BoxAnswers::Press(1));
    vtest::BoxAnswers seen(answers);
    const DWORD start = GetTickCount();
    master->CheckForUpdate(c.Manual);
    // The fetch runs elsewhere: the call is back at once.
    EXPECT_LT(GetTickCount() - start, 500u);
    ASSERT_TRUE(tk::PumpUntil([&] { return !master->Updates().Running(); }, 40000));
    tk::PumpPendingMessages();
    ASSERT_EQ(seen.Seen.size(), c.Boxes);
    if (c.Boxes) {
      EXPECT_EQ(seen.Seen[0].Text, kFailed);
    }
    EXPECT_EQ(master->Updates().Notice(), nullptr);
  }
}

TEST_F(UpdateCheckTest, TheFirstRunMarkerIsToldOnce) {
  server.SetDocument(kVersionPath, "1.0.0");
  dir.Write(L"arbr.ist", "\"X09x\"\r\n");
  for (int i = 0; i < 2; ++i) {
    SCOPED_TRACE(i);
    EXPECT_TRUE(Check(false).empty());
    EXPECT_EQ(tk::ReadFileBytes(dir.File(L"arbr.ist")).value_or(""), "\"X09y\"\r\n");
    EXPECT_EQ(server.CountRequests(kFirstRunPath), 1);
  }
  // The notice goes before the version is asked.
  const auto requests = server.Requests();
  ASSERT_GE(requests.size(), 2u);
  EXPECT_EQ(requests[0], kFirstRunPath);
  EXPECT_EQ(requests[1], kVersionPath);
}

TEST_F(UpdateCheckTest, TheNoticeShowsTheNewsAsPlainTextAndItsButtonsDoWhatTheySay) {
  server.SetDocument(kVersionPath, "1.2.0");
  // Mixed line ends, markup and non-ASCII text.
  server.SetDocument(kNewsPath, "Faster <b>listing</b>\nCRLF stays\r\nLone CR\rCaf\xC3\xA9");
  EXPECT_TRUE(Check(false).empty());
  UpdateNoticeForm* notice = master->Updates().Notice();
  ASSERT_NE(notice, nullptr);
  EXPECT_EQ(notice->News(), L"Faster <b>listing</b>\r\nCRLF stays\r\nLone CR\r\nCaf\u00E9");
  wchar_t caption[64] = L"";
  GetWindowTextW(notice->Handle(), caption, 64);
  EXPECT_STREQ(caption, L"Software Update Available!");
  SendMessageW(notice->UpdateButton(), BM_CLICK, 0, 0);
  tk::PumpPendingMessages();
  EXPECT_EQ(Opened, std::vector<std::wstring>{L"https://www.varnello.example/"});
  EXPECT_EQ(master->Updates().Notice(), nullptr);

  // "Don't get the Update": the notice goes and the user is told that it will come again.
  master->Options.OnlineVersion = 0;
  EXPECT_TRUE(Check(false).empty());
  notice = master->Updates().Notice();
  ASSERT_NE(notice, nullptr);
  vtest::BoxAnswers boxes({vtest::BoxAnswers::Press(1)});
  SendMessageW(notice->PassButton(), BM_CLICK, 0, 0);
  tk::PumpPendingMessages();
  ASSERT_EQ(boxes.Seen.size(), 1u);
  EXPECT_EQ(boxes.Seen[0].Text,
            L"Don't want the update?\r\n\r\nNo problem! The next time a new update becomes "
            L"available, you will be reminded again.");
  EXPECT_EQ(master->Updates().Notice(), nullptr);
  EXPECT_EQ(Opened.size(), 1u);
}

TEST(VersionReply, ReadsThreeWholeNumbersOnly) {
  struct Case {
    const char* Reply;
    VersionReply::Kind Kind;
    VersionNumber Version;
  };
  using K = VersionReply::Kind;
  const Case cases[] = {
      {"4.00.0060", K::Version, {4, 0, 60}},
      {"\t4.0.60\r\n", K::Version, {4, 0, 60}},
      {"9999.9999.9999", K::Version, {9999, 9999, 9999}},
      {"888888", K::Outdated, {}},
      {"888888.0.0", K::Failed, {}},
      {"4.0.", K::Failed, {}},
      {".0.60", K::Failed, {}},
      {"4..60", K::Failed, {}},
      {"4.0.60a", K::Failed, {}},
      {"4. 0.60", K::Failed, {}},
      {"+4.0.60", K::Failed, {}},
      {"", K::Failed, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Reply);
    const VersionReply r = ReadVersionReply(c.Reply);
    EXPECT_EQ(r.What, c.Kind);
    if (c.Kind == K::Version) {
      EXPECT_EQ(r.Version, c.Version);
    }
  }
  // Compared part by part: 4.10.0 is newer than 4.9.9999.
  EXPECT_GT((VersionNumber{4, 10, 0}), (VersionNumber{4, 9, 9999}));
  EXPECT_EQ((VersionNumber{4, 1, 0}).Stored(), 400010000.0);
}

}  // namespace
