// The main toolbar, its image list, the menu pictures and the menu bar's colour.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <vector>

#include "MasterFixture.h"
#include "commands/MainMenu.h"
#include "commands/MainToolbar.h"
#include "toolkit/EventLoop.h"
#include "toolkit/Gdi.h"

#include <commctrl.h>

namespace {

using vtest::MasterTest;

// The 16 x 16 pixels of a bitmap as 0x00RRGGBB, top row first.
std::vector<COLORREF> PixelsOf(HBITMAP bitmap) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = 16;
  info.bmiHeader.biHeight = -16;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  std::vector<COLORREF> pixels(16 * 16);
  HDC screen = GetDC(nullptr);
  const int rows = GetDIBits(screen, bitmap, 0, 16, pixels.data(), &info, DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  if (rows != 16) pixels.clear();
  for (COLORREF& p : pixels) p &= 0xFFFFFF;
  return pixels;
}

// Every key has its own picture in the program's resources, with see-through and drawn parts,
// and the image list shows exactly that picture (not the lettered stand-in) over any background.
TEST_F(MasterTest, EveryImageKeyShowsItsResourcePicture) {
  StartUp();
  const tk::ImageList& images = master->ImageList1();
  constexpr COLORREF kSeeThrough = 0x00FF00;  // kPictureKeyColour as DIB bits
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  tk::Bitmap canvas(CreateCompatibleBitmap(screen, 16, 16));
  ReleaseDC(nullptr, screen);
  HGDIOBJ old = SelectObject(dc, canvas.Get());
  for (const std::wstring& key : varnello::MainImageKeys()) {
    SCOPED_TRACE(std::string(key.begin(), key.end()));
    tk::Bitmap picture(varnello::LoadMainPicture(key));
    ASSERT_NE(picture.Get(), nullptr);
    BITMAP shape{};
    ASSERT_TRUE(GetObjectW(picture.Get(), sizeof shape, &shape));
    EXPECT_EQ(shape.bmWidth, 16);
    EXPECT_EQ(shape.bmHeight, 16);
    const std::vector<COLORREF> source = PixelsOf(picture.Get());
    ASSERT_EQ(source.size(), 256u);
    const auto clear = std::count(source.begin(), source.end(), kSeeThrough);
    EXPECT_GT(clear, 0);
    EXPECT_LT(clear, 200);  // something a user can see
    for (COLORREF background : {RGB(255, 255, 255), RGB(40, 40, 40)}) {
      RECT all{0, 0, 16, 16};
      tk::Brush brush(CreateSolidBrush(background));
      FillRect(dc, &all, brush.Get());
      ASSERT_TRUE(ImageList_Draw(images.Handle(), images.IndexOf(key), dc, 0, 0, ILD_NORMAL));
      SelectObject(dc, old);
      const std::vector<COLORREF> shown = PixelsOf(canvas.Get());
      SelectObject(dc, canvas.Get());
      ASSERT_EQ(shown.size(), 256u);
      // DIB bits are 0x00RRGGBB, a COLORREF is 0x00BBGGRR.
      const COLORREF back = (GetRValue(background) << 16) | (GetGValue(background) << 8) |
                            GetBValue(background);
      int wrong = 0;
      for (size_t i = 0; i < 256; ++i)
        if (shown[i] != (source[i] == kSeeThrough ? back : source[i])) ++wrong;
      EXPECT_EQ(wrong, 0);
    }
  }
  SelectObject(dc, old);
  DeleteDC(dc);
}

TEST_F(MasterTest, ToolbarEntriesAndTheirPictures) {
  StartUp();
  const tk::Toolbar& toolbar = master->Toolbar1();
  const std::vector<std::wstring> keys = {
      L"placeholder243", L"pane0", L"pane1", L"pane2", L"pane3", L"pane4", L"",
      L"headleft", L"headright", L"headasc", L"headdes", L"headascadd", L"headdesadd", L"",
      L"layoutvertical", L"layouthorizontal", L"layoutautoexpand", L"",
      L"useenhancedmode", L"showcommandline", L"showcolor", L"",
      L"skindefault", L"skinsecond", L"choosecolors", L"",
      L"compare_size", L"compare_date", L"compare", L"", L"recyclebin"};
  ASSERT_EQ(toolbar.Buttons().size(), 31u);
  ASSERT_EQ(SendMessageW(toolbar.Handle(), TB_BUTTONCOUNT, 0, 0), 31);
  const std::map<std::wstring, std::wstring> pictures = {
      {L"headleft", L"headleft2"},      {L"headright", L"headright2"},
      {L"headasc", L"headasc1"},        {L"headdes", L"headdes1"},
      {L"headascadd", L"headascadd1"},  {L"headdesadd", L"headdesadd1"},
      {L"useenhancedmode", L"enhancedmode"}, {L"showcommandline", L"commandline"},
      {L"showcolor", L"colorcode"}};
  for (int i = 0; i < 31; ++i) {
    const auto& b = toolbar.Buttons()[static_cast<size_t>(i)];
    SCOPED_TRACE(testing::Message() << i);
    EXPECT_EQ(b.Key, keys[static_cast<size_t>(i)]);
    TBBUTTON tb{};
    SendMessageW(toolbar.Handle(), TB_GETBUTTON, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&tb));
    if (b.Key.empty() || b.Key == L"placeholder243") {
      EXPECT_TRUE(tb.fsStyle & BTNS_SEP);
      continue;
    }
    auto it = pictures.find(b.Key);
    const std::wstring image = it == pictures.end() ? b.Key : it->second;
    EXPECT_EQ(tb.iBitmap, master->ImageList1().IndexOf(image)) << std::string(image.begin(), image.end());
  }
  EXPECT_EQ(toolbar.ToolTip(L"compare"), L"Compare folder contents.");
  EXPECT_EQ(toolbar.ToolTip(L"layoutautoexpand"), L"When active, automatically increases pane size.");
}

TEST_F(MasterTest, TheImageListHoldsFortyFourDistinctPictures) {
  StartUp();
  const tk::ImageList& images = master->ImageList1();
  EXPECT_EQ(ImageList_GetImageCount(images.Handle()), 44);
  const auto& keys = varnello::MainImageKeys();
  ASSERT_EQ(keys.size(), 44u);
  for (size_t i = 0; i < keys.size(); ++i) EXPECT_EQ(images.IndexOf(keys[i]), static_cast<int>(i));
}

TEST_F(MasterTest, MenuEntriesCarryTheirPictures) {
  StartUp();
  ASSERT_FALSE(master->MenuIconsFailed);
  using namespace varnello;
  const UINT entries[] = {mnuHeadLeft, mnuHeadRight, mnuSortAsc, mnuSortDes, mnuSortAscAdd,
                          mnuSortAddDes, mnuCalculateFolderSizes, mnuChooseSkin, mnuVertical,
                          mnuHorizontal, mnuAutoExpand, mnuShowCommandLine, mnuRCOpenRecycleBin,
                          mnuRCEmptyRecycleBin, mnuWebsite, mnuHelp, mnuExit, mnuCompare,
                          mnuUseEnhancedMode, mnuOptions, mnuOrientation};
  auto expectPictures = [&] {
    for (UINT id : entries) {
      HBITMAP picture = master->MenuIcons().ImageOf(id);
      EXPECT_NE(picture, nullptr) << id;
      EXPECT_EQ(GetObjectType(picture), static_cast<DWORD>(OBJ_BITMAP)) << id;
    }
  };
  expectPictures();
  EXPECT_EQ(master->MenuIcons().ImageOf(mnuFile), nullptr);
  // A caption shared by several entries ("&On") does not lead a picture astray.
  EXPECT_EQ(master->MenuIcons().ImageOf(mnuCommandOn), nullptr);
  // Going to the tray and the right-click menu detach the component and attach it again: the
  // pictures come back.
  master->MenuIcons().Detach();
  ASSERT_TRUE(master->MenuIcons().Attach(master->Handle()));
  expectPictures();
  // Shutdown takes the pictures off again.
  master->RequestClose();
  EXPECT_TRUE(master->Unloaded());
  EXPECT_EQ(master->MenuIcons().ImageOf(mnuExit), nullptr);
}

// Every entry of the menu bar, the tray menu and every toolbar button is enabled exactly when a
// command is behind it; the options dialog, still to come, is grey, and so is adding a sort level
// while a tree is the clicked list.
TEST_F(MasterTest, EntriesAreEnabledExactlyWhenTheirCommandWorks) {
  using namespace varnello;
  StartUp();
  const std::vector<UINT> unbuilt = {};
  const std::vector<std::wstring> unbuiltKeys = {L"useenhancedmode"};
  auto isIn = [](const auto& list, const auto& v) {
    return std::find(list.begin(), list.end(), v) != list.end();
  };
  for (const short clicked : {short{0}, short{100}}) {
    SCOPED_TRACE(clicked);
    master->List_SetLockedIndex(clicked);
    int entries = 0;
    std::function<void(HMENU)> walk = [&](HMENU menu) {
      for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        if (HMENU sub = GetSubMenu(menu, i)) {
          walk(sub);
          continue;
        }
        const UINT id = MenuEntryId(menu, i);
        if (id == 0) continue;  // a separator
        ++entries;
        const bool grey =
            (GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & MF_GRAYED) != 0;
        const bool addsLevel = id == mnuSortAscAdd || id == mnuSortAddDes;
        EXPECT_EQ(!grey, !isIn(unbuilt, id) && !(addsLevel && clicked < 100)) << id;
        EXPECT_EQ(master->Commands().HasMenu(id), !isIn(unbuilt, id)) << id;
      }
    };
    walk(master->MenuBar());
    walk(master->TrayMenu());
    EXPECT_EQ(entries, 48);
    const tk::Toolbar& toolbar = master->Toolbar1();
    for (size_t i = 0; i < toolbar.Buttons().size(); ++i) {
      const auto& b = toolbar.Buttons()[i];
      if (b.Separator || b.SpaceWidth) continue;
      const bool on = SendMessageW(toolbar.Handle(), TB_ISBUTTONENABLED, 1000 + i, 0) != 0;
      const bool addsLevel = b.Key == L"headascadd" || b.Key == L"headdesadd";
      EXPECT_EQ(on, !isIn(unbuiltKeys, b.Key) && !(addsLevel && clicked < 100))
          << std::string(b.Key.begin(), b.Key.end());
    }
  }
}

TEST_F(MasterTest, MenuBarBrushIsReplacedAndTheOldOneFreed) {
  StartUp();
  master->ColourMenuBar(master->Handle(), RGB(10, 20, 30), false);
  HBRUSH first = master->MenuBrush();
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(GetObjectType(first), static_cast<DWORD>(OBJ_BRUSH));
  master->ColourMenuBar(master->Handle(), RGB(40, 50, 60), false);
  HBRUSH second = master->MenuBrush();
  EXPECT_NE(second, first);
  EXPECT_EQ(GetObjectType(first), 0u);  // freed
  MENUINFO info{};
  info.cbSize = sizeof info;
  info.fMask = MIM_BACKGROUND;
  ASSERT_TRUE(GetMenuInfo(master->MenuBar(), &info));
  EXPECT_EQ(info.hbrBack, second);
  LOGBRUSH lb{};
  GetObjectW(second, sizeof lb, &lb);
  EXPECT_EQ(lb.lbColor, RGB(40, 50, 60));
}

// The flat toolbar shows the program background: a skin change repaints it in the new colour,
// beside the buttons and between them, as shown on screen.
TEST_F(MasterTest, TheToolbarTakesTheNewProgramBackground) {
  StartUp();
  master->Show();
  tk::PumpPendingMessages();
  HWND bar = master->Toolbar1().Handle();
  RECT client{};
  GetClientRect(bar, &client);
  RECT first{};
  ASSERT_TRUE(SendMessageW(bar, TB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&first)));
  const POINT spots[] = {{client.right - 4, client.bottom / 2}, {first.left + 1, first.top + 1}};
  for (const COLORREF colour : {RGB(200, 10, 20), RGB(20, 150, 60)}) {
    master->Skin.ColorProgramBackground = colour;
    master->ApplySkinChange();
    UpdateWindow(master->Handle());
    tk::PumpPendingMessages();
    HDC dc = GetDC(bar);
    for (const POINT& p : spots) EXPECT_EQ(GetPixel(dc, p.x, p.y), colour) << p.x << "," << p.y;
    ReleaseDC(bar, dc);
  }
}

TEST(TranslateColour, SystemColoursBecomeTheirCurrentValue) {
  EXPECT_EQ(varnello::Master::TranslateColour(RGB(1, 2, 3)), RGB(1, 2, 3));
  EXPECT_EQ(varnello::Master::TranslateColour(0x80000000u | COLOR_MENU), GetSysColor(COLOR_MENU));
  EXPECT_EQ(varnello::Master::TranslateColour(0x80000000u | 0xFFFF), 0u);  // no such colour
}

}  // namespace
