// Keys on a sited listing: what reaches the host, and the host's calls that move and mark.
#include <gtest/gtest.h>

#include "InputFixture.h"
#include "listing/view/PointerState.h"

using namespace zenlo;
using inputtests::Pump;
using inputtests::Sited;

namespace {

TEST(KeyInput, FourKeysReachTheHostUntilAModifierLatchesThem) {
  Sited l(fbFileAndFolder);
  l.dir.File(L"a.txt");
  l.Read();
  struct Step {
    const char* what;
    UINT message;
    WPARAM key;
    std::vector<std::wstring> keys;  // KeyPressed codes, "up" for SpaceKeyUp
  } steps[] = {
      {"Down", WM_KEYDOWN, VK_DOWN, {L"40"}},
      {"Down repeats", WM_KEYDOWN, VK_DOWN, {L"40"}},
      {"Space", WM_KEYDOWN, VK_SPACE, {L"32"}},
      {"Space let go", WM_KEYUP, VK_SPACE, {L"up"}},
      {"another key", WM_KEYDOWN, 'A', {}},
      {"F3", WM_KEYDOWN, VK_F3, {L"114"}},
      {"F3 held", WM_KEYDOWN, VK_F3, {}},
      {"F3 let go", WM_KEYUP, VK_F3, {}},
      {"Shift", WM_KEYDOWN, VK_SHIFT, {}},
      {"Down with Shift", WM_KEYDOWN, VK_DOWN, {}},
      {"Shift let go", WM_KEYUP, VK_SHIFT, {}},
      {"Up", WM_KEYDOWN, VK_UP, {L"38"}},
      {"Ctrl", WM_KEYDOWN, VK_CONTROL, {}},
      // Ctrl let go while another window had the focus: the latch does not outlive the focus.
      {"focus away", WM_KILLFOCUS, 0, {}},
      {"focus back", WM_SETFOCUS, 0, {}},
      {"Down again", WM_KEYDOWN, VK_DOWN, {L"40"}},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(s.what);
    const std::size_t from = l.c.host.Events.size();
    if (s.message == WM_KEYDOWN || s.message == WM_KEYUP)
      PostMessageW(l.Box(), s.message, s.key, 0);
    else
      SendMessageW(l.Box(), s.message, 0, 0);
    Pump();
    std::vector<std::wstring> got = l.Events(L"KeyPressed", from);
    for (std::size_t i = 0; i < l.Events(L"SpaceKeyUp", from).size(); ++i) got.push_back(L"up");
    EXPECT_EQ(got, s.keys);
  }
}

TEST(KeyInput, ArrowsMoveTheHoverItemAndSpaceMarksIt) {
  Sited l(fbFileAndFolder, 220);
  l.dir.Folder(L"sub");
  for (int i = 0; i < 30; ++i) l.dir.File(L"file" + std::to_wstring(100 + i) + L".txt");
  l.Read();
  const ViewState& v = l.c->View();
  short down = VK_DOWN, up = VK_UP;
  bool space = false;

  l.c->KeySpacePressed();  // no hover item: nothing
  EXPECT_TRUE(l.Marked().empty());

  l.c->MoveMouseOverItem(1);
  l.c->KeyUpDownPressed(down, space);
  EXPECT_EQ(v.HoverItem, 2);  // visible already: the hover moves all the same
  EXPECT_EQ(v.TopItem, 0);
  EXPECT_TRUE(l.c->Pointer().SkipMoveAfterKey);
  space = true;
  l.c->KeyUpDownPressed(down, space);
  EXPECT_EQ(l.Marked(), (std::vector<std::int32_t>{3}));  // the item the arrow reached
  l.c->KeySpacePressed();
  EXPECT_TRUE(l.Marked().empty());

  // The next pointer move is swallowed, so it does not take the hover back.
  l.Move(l.NameX(0), l.RowY(0));
  EXPECT_EQ(v.HoverItem, 3);
  EXPECT_FALSE(l.c->Pointer().SkipMoveAfterKey);

  // At the last visible row Down scrolls one row and the hover follows the item.
  space = false;
  const std::int32_t lastRow = v.BoundBoxRect.Height / v.RowHeight - 1;
  l.c->MoveMouseOverItem(lastRow);
  l.c->KeyUpDownPressed(down, space);
  EXPECT_EQ(v.TopItem, 1);
  EXPECT_EQ(v.HoverItem, lastRow + 1);
  l.c->KeyUpDownPressed(up, space);
  EXPECT_EQ(v.HoverItem, lastRow);

  // Ends of the listing: nothing moves.
  l.c->MoveMouseOverItem(l.c->LastShownItem());
  l.c->KeyUpDownPressed(down, space);
  EXPECT_EQ(v.HoverItem, l.c->LastShownItem());
}

TEST(KeyInput, UpStopsAtTheFirstFileOfAFilesOnlyList) {
  Sited l(fbFile);
  l.dir.Folder(L"sub");
  l.dir.File(L"a.txt");
  l.dir.File(L"b.txt");
  l.Read();
  ASSERT_EQ(l.c->FoldersShown(), 1);
  short up = VK_UP;
  bool space = true;
  l.c->MoveMouseOverItem(1);
  l.c->KeyUpDownPressed(up, space);
  EXPECT_EQ(l.c->View().HoverItem, 1);
  EXPECT_TRUE(l.Marked().empty());
}

}  // namespace
