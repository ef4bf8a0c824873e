// The skin chooser's flows, answered through the input-box, message-box and dialog seams, with
// the skin files checked after each step; and the real system dialogs answered by a second
// thread.
#include <gtest/gtest.h>
#include <windows.h>

#include <dlgs.h>

#include <algorithm>
#include <functional>
#include <thread>

#include "DesktopInput.h"
#include "MasterFixture.h"
#include "settings/CommonDialogs.h"
#include "settings/SkinChooser.h"
#include "settings/SkinFiles.h"
#include "toolkit/EventLoop.h"
#include "toolkit/Gdi.h"
#include "toolkit/InputBox.h"
#include "toolkit/SettingRecords.h"
#include "toolkit/Text.h"

namespace {

using varnello::SkinColours;
using vtest::BoxAnswers;
using vtest::MasterTest;
using Answer = std::optional<std::wstring>;

// Answers the input boxes in turn and records what they asked.
class InputAnswers {
 public:
  explicit InputAnswers(std::vector<Answer> answers) : answers_(std::move(answers)) {
    tk::SetInputBoxSeam([this](const tk::InputBoxRequest& r) -> Answer {
      Asked.push_back(r);
      if (next_ < answers_.size()) return answers_[next_++];
      ADD_FAILURE() << "unexpected input box: " << tk::ToUtf8(r.Prompt);
      return std::nullopt;
    });
  }
  ~InputAnswers() {
    tk::SetInputBoxSeam(nullptr);
    EXPECT_EQ(next_, answers_.size()) << "input boxes left unasked";
  }
  std::vector<tk::InputBoxRequest> Asked;

 private:
  std::vector<Answer> answers_;
  std::size_t next_ = 0;
};

class FileAnswer {
 public:
  explicit FileAnswer(Answer answer) {
    varnello::SetFileDialogSeam([this, answer](const varnello::FileDialogRequest& r) {
      Asked.push_back(r);
      return answer;
    });
  }
  ~FileAnswer() { varnello::SetFileDialogSeam(nullptr); }
  std::vector<varnello::FileDialogRequest> Asked;
};

class ColourAnswer {
 public:
  explicit ColourAnswer(std::int32_t answer) {
    varnello::SetColorDialogSeam([this, answer](COLORREF initial) {
      Offered.push_back(initial);
      return answer;
    });
  }
  ~ColourAnswer() { varnello::SetColorDialogSeam(nullptr); }
  std::vector<COLORREF> Offered;
};

constexpr int kListBackground = 1;  // swatch of ColorListBackground
constexpr int kMainText = 2;        // swatch of ColorListText

class ChooserTest : public MasterTest {
 protected:
  void SetUp() override {
    StartUp();
    ASSERT_EQ(folder.Write(L"Old", SkinColours{}), 0u);
    ASSERT_EQ(folder.Write(L"Other", SkinColours{}), 0u);
    master->ColorChooser();
    chooser = master->SkinSet().Chooser();
    ASSERT_NE(chooser, nullptr);
  }
  bool Has(const std::wstring& name) const { return dir.Exists(L"skins\\" + name + L".vrk"); }
  std::string Bytes(const std::wstring& name) const {
    return tk::ReadFileBytes(dir.File(L"skins\\" + name + L".vrk")).value_or("");
  }
  void Select(const std::wstring& name) {
    const auto items = chooser->lstSkins.Items();
    const auto at = std::find(items.begin(), items.end(), name);
    ASSERT_NE(at, items.end()) << tk::ToUtf8(name);
    chooser->lstSkins.SetListIndex(static_cast<int>(at - items.begin()));
  }
  // Edits the list background through the colour dialog.
  void EditSwatch(std::int32_t colour = RGB(1, 2, 3)) {
    ColourAnswer answer(colour);
    chooser->cmdChoose_Click(kListBackground);
  }
  std::string Current() const { return varnello::SkinFileBytes(master->Skin); }
  bool Open() const { return master->SkinSet().Chooser() != nullptr; }

  varnello::SkinFolder folder{dir.Path()};
  varnello::frmSkinChooser* chooser = nullptr;
};

const wchar_t kPunctuation[] = L"Please don't use unusual punctuation in the skin name.";

TEST_F(ChooserTest, OpensCentredWithASortedListOnTheCurrentSkinAndItsColours) {
  EXPECT_EQ(chooser->lstSkins.Items(),
            (std::vector<std::wstring>{L"Cloud 9", L"earl grey", L"grasshopper", L"Old", L"Other",
                                       L"ROXY", L"TRADITIONAL"}));
  EXPECT_EQ(chooser->lstSkins.Text(), L"Cloud 9");
  EXPECT_EQ(chooser->Picture1[kMainText].BackColor(),
            static_cast<std::int32_t>(master->Skin.ColorListText));
  EXPECT_FALSE(chooser->Changed());
  EXPECT_FALSE(chooser->Picture1[3].Visible());
  EXPECT_FALSE(chooser->Picture1[4].Visible());
  RECT mine{}, main{};
  GetWindowRect(chooser->Handle(), &mine);
  GetWindowRect(master->Handle(), &main);
  EXPECT_NEAR((mine.left + mine.right) / 2, (main.left + main.right) / 2, 1);
  EXPECT_NEAR((mine.top + mine.bottom) / 2, (main.top + main.bottom) / 2, 1);
  // Modeless: the main window stays usable.
  EXPECT_TRUE(IsWindowEnabled(master->Handle()));
}

TEST_F(ChooserTest, EveryLabelShowsItsWholeTextInsideTheFrame) {
  const RECT frame = tk::RectInParent(chooser->Frame1.Handle());
  std::vector<RECT> swatches;
  for (const auto& p : chooser->Picture1)
    if (IsWindowVisible(p.Handle())) swatches.push_back(tk::RectInParent(p.Handle()));
  int shown = 0;
  for (const auto& label : chooser->lblItem) {
    if (!IsWindowVisible(label.Handle())) continue;
    ++shown;
    const std::wstring text = label.Caption();
    SCOPED_TRACE(tk::ToUtf8(text));
    HDC dc = GetDC(label.Handle());
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(label.Handle(), WM_GETFONT, 0, 0)));
    SIZE extent{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
    SelectObject(dc, old);
    ReleaseDC(label.Handle(), dc);
    RECT client{};
    GetClientRect(label.Handle(), &client);
    EXPECT_LE(extent.cx, client.right);
    const RECT r = tk::RectInParent(label.Handle());
    EXPECT_LT(r.right, frame.right);
    for (const RECT& s : swatches) {
      RECT overlap{};
      EXPECT_FALSE(IntersectRect(&overlap, &r, &s));
    }
  }
  EXPECT_EQ(shown, 26);
}

TEST_F(ChooserTest, SaveRefusesProtectedAndOddNamesThenWritesAndAsksBeforeReplacing) {
  EditSwatch();
  EXPECT_EQ(master->Skin.ColorListBackground, RGB(1, 2, 3));
  EXPECT_EQ(lists[100].Properties.at(L"ColorListBackground"),
            zenlo::Variant(static_cast<std::int32_t>(RGB(1, 2, 3))));
  EXPECT_TRUE(chooser->Changed());
  {
    InputAnswers names({L"earl GREY", L"a.b", L"Night"});
    BoxAnswers boxes({BoxAnswers::Press(1), BoxAnswers::Press(1)});
    chooser->cmdSave_Click();
    ASSERT_EQ(boxes.Seen.size(), 2u);
    EXPECT_EQ(boxes.Seen[0].Text,
              L"Sorry, you cannot save over any of the default skins.\r\n\r\nPlease use a "
              L"different name.");
    EXPECT_EQ(boxes.Seen[1].Text, kPunctuation);
    ASSERT_EQ(names.Asked.size(), 3u);
    EXPECT_EQ(names.Asked[0].Title, L"Save Current Skin");
    EXPECT_EQ(names.Asked[0].Prompt, L"Please provide a name for this skin:");
    EXPECT_EQ(names.Asked[0].Default, L"");
    EXPECT_EQ(names.Asked[1].Default, L"earl GREY");
    EXPECT_EQ(names.Asked[2].Default, L"a.b");
    ASSERT_TRUE(names.Asked[0].Position.has_value());
    RECT r{};
    GetWindowRect(chooser->Handle(), &r);
    EXPECT_EQ(names.Asked[0].Position->x, r.left + 33);  // 500 twips
  }
  EXPECT_EQ(Bytes(L"Night"), Current());
  EXPECT_EQ(master->Options.SkinName, L"Night");
  EXPECT_EQ(chooser->lstSkins.Text(), L"Night");
  EXPECT_FALSE(chooser->Changed());

  // Saving over another custom skin asks; No asks for a name again.
  EditSwatch(RGB(7, 7, 7));
  const std::string other = Bytes(L"Other");
  {
    InputAnswers names({L"other", std::nullopt});
    BoxAnswers boxes({BoxAnswers::Press(1)});
    EXPECT_FALSE(chooser->SaveSkin(L""));
    ASSERT_EQ(boxes.Seen.size(), 1u);
    EXPECT_EQ(boxes.Seen[0].Buttons, (std::vector<std::wstring>{L"Yes", L"No"}));
  }
  EXPECT_EQ(Bytes(L"Other"), other);
  EXPECT_TRUE(chooser->Changed());
}

TEST_F(ChooserTest, AFailedWriteIsReportedAndTheEditsStayUnsaved) {
  EditSwatch();
  // A folder where the file should go: the write cannot replace it.
  ASSERT_TRUE(CreateDirectoryW(dir.File(L"skins\\Blocked.vrk").c_str(), nullptr));
  InputAnswers names({L"Blocked"});
  BoxAnswers boxes({BoxAnswers::Press(1)});
  EXPECT_FALSE(chooser->SaveSkin(L""));
  ASSERT_EQ(boxes.Seen.size(), 1u);
  EXPECT_NE(boxes.Seen[0].Text.find(L"could not be saved"), std::wstring::npos);
  EXPECT_TRUE(chooser->Changed());
  EXPECT_EQ(master->Options.SkinName, L"CLOUD 9");
}

TEST_F(ChooserTest, ResaveWritesTheNewFileFirstAndKeepsTheOldOneWhenThatFails) {
  EditSwatch();
  const std::string old = Bytes(L"Old");
  Select(L"Old");
  ASSERT_TRUE(CreateDirectoryW(dir.File(L"skins\\Blocked.vrk").c_str(), nullptr));
  {
    InputAnswers names({L"ROXY", L"Blocked"});
    BoxAnswers boxes({BoxAnswers::Press(1), BoxAnswers::Press(1)});
    chooser->cmdResave_Click();
    EXPECT_EQ(boxes.Seen[0].Text,
              L"Sorry, you cannot resave over any of the default skins.\r\n\r\nPlease use a "
              L"different name.");
    EXPECT_EQ(names.Asked[0].Title, L"Resave skin...");
    EXPECT_EQ(names.Asked[0].Default, L"Old");
    EXPECT_EQ(names.Asked[1].Default, L"Old");
  }
  EXPECT_EQ(Bytes(L"Old"), old);
  EXPECT_TRUE(chooser->Changed());

  // Onto another custom skin: asked, then that file holds the colours and the old one goes.
  Select(L"Old");
  {
    InputAnswers names({L"Other"});
    BoxAnswers boxes({BoxAnswers::Press(2)});
    chooser->cmdResave_Click();
  }
  EXPECT_EQ(Bytes(L"Other"), Current());
  EXPECT_FALSE(Has(L"Old"));
  EXPECT_EQ(master->Options.SkinName, L"Other");
  EXPECT_FALSE(chooser->Changed());

  // Under its own name: replaced without a question.
  EditSwatch(RGB(9, 9, 9));
  Select(L"Other");
  {
    InputAnswers names({L"Other"});
    chooser->cmdResave_Click();
  }
  EXPECT_EQ(Bytes(L"Other"), Current());

  Select(L"grasshopper");
  BoxAnswers refused({BoxAnswers::Press(1)});
  chooser->cmdResave_Click();
  EXPECT_EQ(refused.Seen.at(0).Text, L"Sorry, you cannot resave any of the default skins.");
}

TEST_F(ChooserTest, RenameRefusesTakenNamesAndFollowsTheCurrentSkin) {
  ASSERT_TRUE(master->LoadSkin(L"Old"));
  Select(L"Old");
  const std::string old = Bytes(L"Old");
  {
    InputAnswers names({L"x/y", L"Cloud 9", L"OTHER", L"Newer"});
    BoxAnswers boxes({BoxAnswers::Press(1), BoxAnswers::Press(1), BoxAnswers::Press(1)});
    chooser->cmdRename_Click();
    ASSERT_EQ(boxes.Seen.size(), 3u);
    EXPECT_EQ(boxes.Seen[0].Text, kPunctuation);
    EXPECT_EQ(boxes.Seen[1].Text,
              L"Sorry, you cannot use the name of any of the default skins.\r\n\r\nPlease use a "
              L"different name.");
    EXPECT_EQ(boxes.Seen[2].Text,
              L"You already have a skin by that name (OTHER).\r\n\r\nPlease use a different "
              L"name.");
    EXPECT_EQ(names.Asked[3].Default, L"Old");
  }
  EXPECT_FALSE(Has(L"Old"));
  EXPECT_EQ(Bytes(L"Newer"), old);
  EXPECT_EQ(master->Options.SkinName, L"Newer");
  EXPECT_EQ(chooser->lstSkins.Text(), L"Newer");

  Select(L"ROXY");
  BoxAnswers refused({BoxAnswers::Press(1)});
  chooser->cmdRename_Click();
  EXPECT_EQ(refused.Seen.at(0).Text, L"Sorry, you cannot rename any of the default skins.");
}

TEST_F(ChooserTest, DeletingTheCurrentSkinMakesTheDefaultCurrent) {
  ASSERT_TRUE(master->LoadSkin(L"Old"));
  Select(L"Old");
  {
    BoxAnswers boxes({BoxAnswers::Press(1)});  // No
    chooser->cmdDel_Click();
    EXPECT_EQ(boxes.Seen.at(0).Text, L"Are you sure you want to delete the skin: Old ?");
  }
  EXPECT_TRUE(Has(L"Old"));
  {
    BoxAnswers boxes({BoxAnswers::Press(2)});  // Yes
    chooser->cmdDel_Click();
  }
  EXPECT_FALSE(Has(L"Old"));
  EXPECT_EQ(master->Options.SkinName, L"Cloud 9");
  EXPECT_EQ(chooser->lstSkins.Text(), L"Cloud 9");

  Select(L"Cloud 9");
  BoxAnswers refused({BoxAnswers::Press(1)});
  chooser->cmdDel_Click();
  EXPECT_EQ(refused.Seen.at(0).Text, L"Sorry, you cannot delete any of the default skins.");
  EXPECT_TRUE(Has(L"Cloud 9"));
}

TEST_F(ChooserTest, ImportTakesExistingSkinFilesOnlyAndNeverOverwrites) {
  vtest::TempDir outside;
  SkinColours night;
  night.ColorListText = RGB(0, 0, 200);
  outside.Write(L"Night.txt", varnello::SkinFileBytes(night));
  outside.Write(L"Plain", varnello::SkinFileBytes(night));
  outside.Write(L"old.vrk", varnello::SkinFileBytes(night));
  outside.Write(L"empty.vrk", "\"SkinName\",\"x\",0,0,0,0\r\n");
  outside.Write(L"my.skin.vrk", varnello::SkinFileBytes(night));
  const std::string oldBytes = Bytes(L"Old");
  struct Case {
    std::wstring file;
    std::wstring message;  // start of the message, empty for none
    std::wstring imported;
  } cases[] = {
      {L"Night.txt", L"", L"Night"},
      {L"Plain", L"", L"Plain"},
      {L"old.vrk", L"You already have a skin by that name (old).\r\n\r\nPlease delete or rename "
                   L"the existing skin first if you wish to import the new one.", L""},
      {L"empty.vrk", L"The file ", L""},
      {L"my.skin.vrk", L"The file ", L""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(tk::ToUtf8(c.file));
    FileAnswer file(outside.File(c.file));
    std::vector<BoxAnswers::Action> answers;
    if (!c.message.empty()) answers.push_back(BoxAnswers::Press(1));
    BoxAnswers boxes(answers);
    chooser->cmdImport_Click();
    ASSERT_EQ(file.Asked.size(), 1u);
    EXPECT_FALSE(file.Asked[0].Save);
    EXPECT_EQ(file.Asked[0].Title, L"Import Varnello Skin");
    if (!c.message.empty()) {
      EXPECT_EQ(boxes.Seen.at(0).Text.rfind(c.message, 0), 0u);
    }
    if (!c.imported.empty()) {
      EXPECT_EQ(Bytes(c.imported), varnello::SkinFileBytes(night));
      const auto items = chooser->lstSkins.Items();
      EXPECT_NE(std::find(items.begin(), items.end(), c.imported), items.end());
    }
  }
  EXPECT_EQ(Bytes(L"Old"), oldBytes);
  EXPECT_FALSE(Has(L"empty"));
  EXPECT_NE(master->Skin.ColorListText, RGB(0, 0, 200));  // importing does not load
  FileAnswer cancelled(std::nullopt);
  chooser->cmdImport_Click();
}

TEST_F(ChooserTest, ExportCopiesTheSelectedSkin) {
  vtest::TempDir outside;
  Select(L"earl grey");
  {
    FileAnswer file(outside.File(L"out.vrk"));
    chooser->cmdExport_Click();
    ASSERT_EQ(file.Asked.size(), 1u);
    EXPECT_TRUE(file.Asked[0].Save);
    EXPECT_EQ(file.Asked[0].FileName, L"earl grey.vrk");
  }
  EXPECT_EQ(tk::ReadFileBytes(outside.File(L"out.vrk")).value_or("?"), Bytes(L"earl grey"));
  chooser->lstSkins.SetListIndex(-1);
  BoxAnswers boxes({BoxAnswers::Press(1)});
  chooser->cmdExport_Click();
  EXPECT_EQ(boxes.Seen.at(0).Text, L"Please select a skin to export first.");
}

TEST_F(ChooserTest, ClosingWithUnsavedChangesAsks) {
  // Loading from the list, or changing a colour and back, leaves nothing unsaved.
  Select(L"ROXY");
  chooser->cmdLoad_Click();
  EXPECT_EQ(master->Options.SkinName, L"ROXY");
  const std::int32_t roxy = chooser->Picture1[kListBackground].BackColor();
  EditSwatch();
  EditSwatch(roxy);
  EXPECT_FALSE(chooser->Changed());

  EditSwatch();
  const std::wstring question =
      L"You have made changes to the skin but have not saved these changes.\r\n\r\nDo you wish "
      L"to save these changes now? (Choose 'No' to lose your changes.)";
  {
    BoxAnswers boxes({BoxAnswers::Press(1)});  // Cancel
    chooser->cmdCancel_Click();
    EXPECT_EQ(boxes.Seen.at(0).Text, question);
    EXPECT_EQ(boxes.Seen.at(0).Buttons, (std::vector<std::wstring>{L"Yes", L"No", L"Cancel"}));
  }
  tk::PumpPendingMessages();
  EXPECT_TRUE(Open());
  {
    // Yes, then no name: not saved; keep the changes.
    InputAnswers names({std::nullopt});
    BoxAnswers boxes({BoxAnswers::Press(3), BoxAnswers::Press(1)});
    chooser->cmdOK_Click();
    EXPECT_EQ(boxes.Seen.at(1).Text,
              L"Skin not saved.\r\n\r\nDo you wish to lose your changes?");
  }
  tk::PumpPendingMessages();
  EXPECT_TRUE(Open());
  {
    BoxAnswers boxes({BoxAnswers::Press(2)});  // No: the current skin's file comes back
    chooser->cmdCancel_Click();
  }
  tk::PumpPendingMessages();
  EXPECT_FALSE(Open());
  EXPECT_EQ(static_cast<std::int32_t>(master->Skin.ColorListBackground), roxy);
}

TEST_F(ChooserTest, TwoClicksCopyAColourSystemColoursIncluded) {
  ASSERT_TRUE(master->LoadSkin(L"TRADITIONAL"));
  const std::int32_t windowColour = chooser->Picture1[kListBackground].BackColor();
  ASSERT_LT(windowColour, 0);  // a system colour
  chooser->Picture1_Click(kListBackground);
  chooser->Picture1_Click(kMainText);
  EXPECT_EQ(static_cast<std::int32_t>(master->Skin.ColorListText), windowColour);
  EXPECT_EQ(chooser->Picture1[kMainText].BackColor(), windowColour);
  // The colour dialog is offered the colour the system colour stands for.
  ColourAnswer cancel(-1);
  chooser->cmdChoose_Click(kListBackground);
  EXPECT_EQ(cancel.Offered.at(0), tk::SkinColour(windowColour));
  EXPECT_EQ(chooser->Picture1[kListBackground].BackColor(), windowColour);

  // Twice on one swatch: unchanged, applied again.
  const auto applied = lists.Log.Calls.size();
  chooser->Picture1_Click(kMainText);
  chooser->Picture1_Click(kMainText);
  EXPECT_EQ(chooser->Picture1[kMainText].BackColor(), windowColour);
  EXPECT_GT(lists.Log.Calls.size(), applied);
}

TEST_F(ChooserTest, ALoadElsewhereRefreshesTheSwatches) {
  EditSwatch();
  ASSERT_TRUE(master->Commands().RunButton(L"skinsecond"));
  EXPECT_EQ(chooser->Picture1[kListBackground].BackColor(),
            static_cast<std::int32_t>(master->Skin.ColorListBackground));
  EXPECT_FALSE(chooser->Changed());
}

TEST_F(ChooserTest, ClosingTheMainWindowOffersUnsavedEditsBeforeTheSettingsAreSaved) {
  EditSwatch();
  InputAnswers names({L"At Exit"});
  BoxAnswers boxes({BoxAnswers::Press(2)});  // Yes
  master->RequestClose();
  ASSERT_EQ(boxes.Seen.size(), 1u);
  EXPECT_EQ(boxes.Seen[0].Buttons, (std::vector<std::wstring>{L"Yes", L"No"}));
  EXPECT_EQ(names.Asked.at(0).Prompt,
            L"You have changed the skin but have not yet saved it. Please provide a name for this "
            L"skin now:");
  EXPECT_EQ(Bytes(L"At Exit"), Current());
  const std::string settings =
      tk::ReadFileBytes(master->Settings().Location().WritePath).value_or("");
  EXPECT_NE(settings.find("\"SkinName\",\"At Exit\""), std::string::npos);
}

TEST_F(ChooserTest, EscClosesAsCancelDoesAskingAboutUnsavedEdits) {
  auto pressEsc = [&] {
    SetForegroundWindow(chooser->Handle());
    ASSERT_TRUE(tk::PumpUntil([&] { return GetForegroundWindow() == chooser->Handle(); }, 5000));
    SetFocus(chooser->lstSkins.Handle());
    e2e::RealKey(VK_ESCAPE);
  };
  EditSwatch();
  {
    BoxAnswers boxes({BoxAnswers::Press(1)});  // Cancel: the chooser stays
    pressEsc();
    ASSERT_TRUE(tk::PumpUntil([&] { return !boxes.Seen.empty(); }, 5000));
  }
  tk::PumpUntil([] { return false; }, 200);
  ASSERT_TRUE(Open());
  {
    BoxAnswers boxes({BoxAnswers::Press(2)});  // No: the edits go, and so does the chooser
    pressEsc();
    EXPECT_TRUE(tk::PumpUntil([&] { return !Open(); }, 5000));
  }
  EXPECT_EQ(Current(), Bytes(L"Cloud 9"));
  // Unchanged, Esc closes without a question.
  master->ColorChooser();
  chooser = master->SkinSet().Chooser();
  ASSERT_NE(chooser, nullptr);
  BoxAnswers none(std::vector<BoxAnswers::Action>{});
  pressEsc();
  EXPECT_TRUE(tk::PumpUntil([&] { return !Open(); }, 5000));
}

// Whether `above` comes before `below` among the top-level windows, front to back.
bool InFrontOf(HWND above, HWND below) {
  for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT)) {
    if (w == above) return true;
    if (w == below) return false;
  }
  return false;
}

// Applying a colour repaints the main window's menu bar, which must not bring the main window
// over the chooser in use: after the colour dialog, a two-click copy or a load from the list.
TEST_F(ChooserTest, StaysInFrontOfTheMainWindowWhenItAppliesColours) {
  master->Show();
  tk::PumpUntil([] { return false; }, 300);
  master->ColorChooser();
  auto colourDialog = [&](int button) {
    std::thread user([button] {
      if (HWND d = e2e::WaitForShownWindow(L"#32770", 5000))
        PostMessageW(d, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
    });
    chooser->cmdChoose_Click(kListBackground);
    user.join();
  };
  struct Case {
    const char* Name;
    std::function<void()> Act;
  };
  const Case cases[] = {
      {"colour dialog OK", [&] { colourDialog(IDOK); }},
      {"colour dialog cancelled", [&] { colourDialog(IDCANCEL); }},
      {"two clicks",
       [&] {
         chooser->Picture1_Click(kMainText);
         chooser->Picture1_Click(kListBackground);
       }},
      {"load", [&] {
         Select(L"ROXY");
         chooser->cmdLoad_Click();
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    BringWindowToTop(chooser->Handle());  // as a click on it does
    SetForegroundWindow(chooser->Handle());
    ASSERT_TRUE(tk::PumpUntil([&] { return GetForegroundWindow() == chooser->Handle(); }, 5000));
    tk::PumpUntil([] { return false; }, 200);
    ASSERT_TRUE(InFrontOf(chooser->Handle(), master->Handle()));
    c.Act();
    tk::PumpUntil([] { return false; }, 300);
    EXPECT_EQ(GetForegroundWindow(), chooser->Handle());
    EXPECT_TRUE(InFrontOf(chooser->Handle(), master->Handle()));
  }
}

// ---- The real dialogs, answered from a second thread ----

TEST(SystemDialogs, ColourDialogAnsweredAndCancelled) {
  for (const int button : {IDOK, IDCANCEL}) {
    SCOPED_TRACE(button);
    std::thread user([button] {
      if (HWND d = e2e::WaitForShownWindow(L"#32770", 5000)) PostMessageW(d, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
    });
    varnello::clsCommonDia dialog(nullptr);
    const std::int32_t start = RGB(10, 200, 30);
    const std::int32_t chosen = dialog.ShowColor(start);
    user.join();
    EXPECT_EQ(chosen, button == IDOK ? start : -1);
    EXPECT_EQ(dialog.CustomColours()[0], RGB(15, 15, 15));
    EXPECT_EQ(dialog.CustomColours()[15], RGB(240, 240, 240));
  }
}

TEST(SystemDialogs, OpenAndSaveDialogsAreCentredAndAnswered) {
  vtest::TempDir dir;
  dir.Write(L"pick.vrk", "x");
  for (const bool save : {false, true}) {
    for (const int button : {IDOK, IDCANCEL}) {
      SCOPED_TRACE(std::string(save ? "save " : "open ") + std::to_string(button));
      const std::wstring target = dir.File(save ? L"new.vrk" : L"pick.vrk");
      RECT placed{};
      std::thread user([&] {
        HWND d = e2e::WaitForShownWindow(L"#32770", 5000);
        if (!d) return;
        Sleep(200);
        GetWindowRect(d, &placed);
        SendMessageW(d, CDM_SETCONTROLTEXT, cmb13, reinterpret_cast<LPARAM>(target.c_str()));
        SendMessageW(d, CDM_SETCONTROLTEXT, edt1, reinterpret_cast<LPARAM>(target.c_str()));
        PostMessageW(d, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
      });
      varnello::FileDialogRequest request;
      request.Save = save;
      request.Title = save ? L"Export Varnello Skin" : L"Import Varnello Skin";
      request.FileName = save ? L"new.vrk" : L"*.vrk";
      request.FilterName = L"Varnello Skins";
      request.FilterPattern = L"*.vrk";
      request.DefaultExtension = L"vrk";
      request.InitialFolder = dir.Path();
      const auto chosen = varnello::ShowFileDialog(request);
      user.join();
      if (button == IDOK) {
        EXPECT_TRUE(chosen.has_value() && tk::SameText(*chosen, target))
            << tk::ToUtf8(chosen.value_or(L"(none)"));
      } else {
        EXPECT_FALSE(chosen.has_value());
      }
      EXPECT_NEAR((placed.left + placed.right) / 2, GetSystemMetrics(SM_CXSCREEN) / 2, 2);
      EXPECT_NEAR((placed.top + placed.bottom) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 2);
    }
  }
}

}  // namespace
