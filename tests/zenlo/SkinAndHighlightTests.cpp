// Skin properties by name, and the marks drawn over a listing.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include "ScreenPixels.h"
#include "listing/view/ViewState.h"
#include "support/ControlFixture.h"
#include "support/HostWindow.h"
#include "support/TempFolder.h"
#include "toolkit/EventLoop.h"
#include "toolkit/Window.h"
#include "zenlo/ZFCombo.h"

using namespace zenlo;
using testsupport::ControlHolder;
using testsupport::TempFolder;

namespace {

int Px(double twips) { return tk::TwipsToPixels(twips, tk::TwipsPerPixelX()); }
int Py(double twips) { return tk::TwipsToPixels(twips, tk::TwipsPerPixelY()); }

TEST(SkinProperties, KeysInAnyCaseSetTheSameField) {
  struct Case {
    const wchar_t* key;
    Variant value;
    std::function<bool(const ZenloFileControl&)> check;
  } cases[] = {
      {L"colorlisttext", std::int32_t{0x0000FF},
       [](const ZenloFileControl& c) { return c.View().Skin.ListText == RGB(255, 0, 0); }},
      {L"COLORSTATUSBACKGROUND", std::wstring(L"65280"),
       [](const ZenloFileControl& c) { return c.View().Skin.StatusBackground == RGB(0, 255, 0); }},
      {L"ShowFileIcons", false, [](const ZenloFileControl& c) { return !c.ShowFileIcons; }},
      {L"showcolor", std::wstring(L"False"), [](const ZenloFileControl& c) { return !c.ShowColor; }},
      {L"trackchime", std::int16_t{-1}, [](const ZenloFileControl& c) { return c.View().Skin.TrackChime; }},
      {L"FileCountMax", std::wstring(L"250"), [](const ZenloFileControl& c) { return c.FileCountMax == 250; }},
      {L"activestring", std::wstring(L"C:\\Temp"),
       [](const ZenloFileControl& c) { return c.ActiveString() == L"C:\\Temp"; }},
      {L"ColorPaneBackground", std::int32_t{0x102030},
       [](const ZenloFileControl& c) { return c.View().Skin.PaneBackground == 0x102030; }},
  };
  for (auto& k : cases) {
    ControlHolder c;
    c->ApplyProperty(k.key, k.value);
    EXPECT_TRUE(k.check(*c)) << k.key;
    EXPECT_TRUE(c.host.Messages().empty()) << k.key;
  }
}

TEST(SkinProperties, ResetsUnknownKeysAndBadValues) {
  ControlHolder c;
  c->View().Headings.ActiveHeadingIndex = 4;
  c->ApplyProperty(L"ActiveHeading", std::monostate{});
  EXPECT_EQ(c->View().Headings.ActiveHeadingIndex, 1);
  c->View().Headings.ActiveButtonIndex = 6;
  c->ApplyProperty(L"activebutton", std::wstring(L"anything"));
  EXPECT_EQ(c->View().Headings.ActiveButtonIndex, 1);

  const SkinSettings before = c->View().Skin;
  c->ApplyProperty(L"ColorDriveList", std::int32_t{5});  // the selector's, nothing here
  c->ApplyProperty(L"ColourListText", std::int32_t{5});
  c->ApplyProperty(L"ColorListText", std::wstring(L"not a colour"));
  EXPECT_EQ(c->View().Skin.ListText, before.ListText);
  ASSERT_EQ(c.host.Messages().size(), 2u);
  EXPECT_EQ(c.host.Messages()[0], L"The skin property: ColourListText was not accounted for.");
}

TEST(SkinProperties, SelectorColoursGoToTheSelectorOnly) {
  ControlHolder c;
  const SkinSettings before = c->View().Skin;
  c->ApplyProperty(L"colordrivelist", static_cast<std::int32_t>(RGB(1, 2, 3)));
  c->ApplyProperty(L"ColorDriveText", static_cast<std::int32_t>(RGB(4, 5, 6)));
  EXPECT_EQ(c->Selector().ListColor(), RGB(1, 2, 3));
  EXPECT_EQ(c->Selector().TextColor(), RGB(4, 5, 6));
  EXPECT_EQ(c->View().Skin.ListText, before.ListText);
  EXPECT_TRUE(c.host.Messages().empty());
}

TEST(SkinProperties, SystemColourValuesTakeTheSystemsColourWhereverTheyAreApplied) {
  // A system colour is 0x80000000 + its index, however the host sends the number.
  auto system = [](int index) { return static_cast<std::int32_t>(0x80000000u | unsigned(index)); };
  struct Case {
    const wchar_t* key;
    Variant value;
    int sysIndex;  // -1: a plain colour, kept as it is
    COLORREF plain;
    COLORREF (*applied)(ZenloFileControl&);
  } cases[] = {
      {L"ColorListBackground", system(COLOR_BTNFACE), COLOR_BTNFACE, 0,
       [](ZenloFileControl& c) { return c.View().Skin.ListBackground; }},
      {L"ColorListText", std::wstring(L"-2147483640"), COLOR_WINDOWTEXT, 0,
       [](ZenloFileControl& c) { return c.View().Skin.ListText; }},
      {L"colorstatusbackground", std::wstring(L"2147483663"), COLOR_BTNFACE, 0,
       [](ZenloFileControl& c) { return c.View().Skin.StatusBackground; }},
      {L"ColorActiveListOutline", system(COLOR_HIGHLIGHT), COLOR_HIGHLIGHT, 0,
       [](ZenloFileControl& c) { return c.View().Skin.ActiveListOutline; }},
      {L"ColorActiveHeading", system(COLOR_WINDOW), COLOR_WINDOW, 0,
       [](ZenloFileControl& c) { return c.View().Skin.ActiveHeading; }},
      {L"ColorDriveList", system(COLOR_WINDOW), COLOR_WINDOW, 0,
       [](ZenloFileControl& c) { return c.Selector().ListColor(); }},
      {L"ColorDriveText", system(COLOR_GRAYTEXT), COLOR_GRAYTEXT, 0,
       [](ZenloFileControl& c) { return c.Selector().TextColor(); }},
      {L"ColorListText", static_cast<std::int32_t>(RGB(15, 0, 0)), -1, RGB(15, 0, 0),
       [](ZenloFileControl& c) { return c.View().Skin.ListText; }},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(testing::Message() << k.key);
    ControlHolder c;
    c->ApplyProperty(k.key, k.value);
    const COLORREF expected = k.sysIndex >= 0 ? GetSysColor(k.sysIndex) : k.plain;
    EXPECT_EQ(k.applied(*c), expected);
    EXPECT_TRUE(c.host.Messages().empty());
  }

  // The listing is drawn on the system's colour, not on the index taken for a red value.
  TempFolder dir;
  dir.File(L"a.txt");
  ControlHolder c;
  c->LoadSetup();
  ASSERT_TRUE(c->GetFolderContents(dir.Path(), true));
  c->ApplyProperty(L"ColorListBackground", system(COLOR_BTNFACE));
  c->View().BoundBoxRect.Width = 6000;
  c->View().BoundBoxRect.Height = 3000;
  c->SetFolderBoxProperties(false);
  c->DrawFolderBox();
  ASSERT_NE(GetSysColor(COLOR_BTNFACE), RGB(COLOR_BTNFACE, 0, 0));
  EXPECT_EQ(GetPixel(c->View().Front.Dc(), Px(3000), Py(100)), GetSysColor(COLOR_BTNFACE));
}

TEST(SkinProperties, IconCachesAreRecomposedOnlyWhenTheBackgroundChanged) {
  TempFolder dir;
  dir.File(L"a.txt");
  ControlHolder c;
  ASSERT_TRUE(c->GetFolderContents(dir.Path(), true));
  HDC trans = c->IconSurface(false, true);
  ASSERT_NE(trans, nullptr);
  // Same colour as before: the composed cache is kept as it is.
  c->ApplyProperty(L"ColorListBackground", static_cast<std::int32_t>(RGB(255, 255, 255)));
  c->ApplySkinChange();
  EXPECT_EQ(c->IconSurface(false, true), trans);
  EXPECT_EQ(GetPixel(c->IconSurface(false, true), 200, 400), RGB(255, 255, 255));
  // A new colour: the cache is composed again on it.
  c->ApplyProperty(L"ColorListBackground", static_cast<std::int32_t>(RGB(10, 20, 30)));
  c->ApplySkinChange();
  EXPECT_EQ(GetPixel(c->IconSurface(false, true), 200, 400), RGB(10, 20, 30));
  const TypeListItem& item = c->ListItems()[0];
  // The icon itself was composed again onto the new background.
  bool inked = false;
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) {
      COLORREF p = GetPixel(c->IconSurface(false, true), item.IconX * 16 + x, item.IconY * 16 + y);
      inked |= p != RGB(10, 20, 30);
      EXPECT_NE(p, RGB(253, 254, 255));
    }
  EXPECT_TRUE(inked);
}

TEST(SkinProperties, ApplySkinChangeDrawsTheToolbarAgain) {
  testsupport::HostWindow host{600, 400};
  ControlHolder c;
  ASSERT_TRUE(c->CreateFrame(host.Handle()));
  MoveWindow(c->Window(), 0, 0, 560, 340, TRUE);
  c->LoadSetup();
  c->ResizeControl(vertical);
  HWND toolbar = c->View().Toolbar1.Handle();
  ASSERT_NE(toolbar, nullptr);
  tk::PumpUntil([] { return false; }, 100);
  static int paints = 0;
  paints = 0;
  const SUBCLASSPROC count = [](HWND w, UINT m, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR) {
    if (m == WM_PAINT) ++paints;
    return DefSubclassProc(w, m, wp, lp);
  };
  ASSERT_TRUE(SetWindowSubclass(toolbar, count, 77, 0));
  c->ApplyProperty(L"ColorActiveListOutline", std::int32_t{RGB(10, 120, 10)});
  c->HiLightControl(true);
  c->ApplySkinChange();
  tk::PumpUntil([] { return false; }, 100);
  EXPECT_GE(paints, 1);
  RemoveWindowSubclass(toolbar, count, 77);
}

TEST(SkinProperties, TheFilterBoxStaysOnScreenWhenTheToolbarAroundItPaints) {
  // The box sits in the toolbar's row: whatever makes the toolbar paint must leave it showing.
  struct Case {
    const char* what;
    void (*run)(ZenloFileControl&);
  } cases[] = {
      {"a skin change",
       [](ZenloFileControl& c) {
         c.ApplyProperty(L"ColorPaneBackground", static_cast<std::int32_t>(RGB(20, 140, 20)));
         c.ApplySkinChange();
       }},
      {"the toolbar repaints",
       [](ZenloFileControl& c) {
         RedrawWindow(c.View().Toolbar1.Handle(), nullptr, nullptr,
                      RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
       }},
      {"the host resizes the pane",
       [](ZenloFileControl& c) {
         MoveWindow(c.Window(), 0, 0, 580, 330, TRUE);
         c.ResizeControl(vertical);
       }},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.what);
    testsupport::HostWindow host{600, 400};
    ControlHolder c;
    ASSERT_TRUE(c->CreateFrame(host.Handle()));
    MoveWindow(c->Window(), 0, 0, 560, 340, TRUE);
    c->LoadSetup();
    c->ResizeControl(vertical);
    const HWND box = c->View().cboFilter.Handle();
    ASSERT_TRUE(IsWindowVisible(box));
    tk::PumpUntil([] { return false; }, 100);

    k.run(*c);

    // A point of the box's text field right of its text: the field's own colour.
    COMBOBOXINFO info{};
    info.cbSize = sizeof(info);
    ASSERT_TRUE(GetComboBoxInfo(box, &info));
    POINT field{info.rcItem.right - 3, (info.rcItem.top + info.rcItem.bottom) / 2};
    MapWindowPoints(box, c->Window(), &field, 1);
    testsupport::ScreenPixels screen(c->Window());
    EXPECT_EQ(screen.At(field.x, field.y), GetSysColor(COLOR_WINDOW));
  }
}

struct DrawnListing {
  TempFolder dir;
  testsupport::HostWindow host{600, 400};
  ControlHolder c;
  explicit DrawnListing(ListType type) : c(type) {
    for (int i = 0; i < 6; ++i) dir.Folder(L"folder" + std::to_wstring(i));
    c->CreateFrame(host.Handle());
    MoveWindow(c->Window(), 0, 0, 560, 340, TRUE);
    c->LoadSetup();
  }
  void Read() {
    c->GetFolderContents(dir.Path(), true);
    c->ResizeControl(vertical);
  }
  COLORREF At(int x, int y) const { return GetPixel(c->View().Front.Dc(), x, y); }
};

TEST(Highlights, ActiveFrameSpansTheBoxInDetailsModeAndFollowsTheItem) {
  DrawnListing l(fbFileAndFolder);
  l.Read();
  l.c->SetActiveItemNum(2);
  l.c->HighLightActiveItem();
  const auto& f = l.c->View().ActiveFrame;
  EXPECT_EQ(f.Left, 15);
  EXPECT_EQ(f.Right, l.c->View().FolderBoxRect.Width - 20);
  EXPECT_EQ(f.Top, 2 * 265 + 15);
  EXPECT_EQ(f.Bottom, 3 * 265 + 15);
  const COLORREF outline = l.c->View().Skin.ActiveItemOutline;
  EXPECT_EQ(l.At(Px(1000), Py(f.Top)), outline);
  // Another item: the old frame is erased, the new one drawn.
  l.c->SetActiveItemNum(4);
  l.c->HighLightActiveItem();
  EXPECT_NE(l.At(Px(1000), Py(2 * 265 + 15)), outline);
  EXPECT_EQ(l.At(Px(1000), Py(4 * 265 + 15)), outline);
}

TEST(Highlights, EveryFullRedrawBringsBackTheFrameAndTheUnderline) {
  struct Case {
    const char* redraw;
    void (*run)(ZenloFileControl&);
  } cases[] = {
      {"the host resizes the pane",
       [](ZenloFileControl& c) {
         MoveWindow(c.Window(), 0, 0, 520, 330, TRUE);
         c.ResizeControl(vertical);
       }},
      {"ResizeControl at the same size", [](ZenloFileControl& c) { c.ResizeControl(horizontal); }},
      {"DrawFolderBox", [](ZenloFileControl& c) { c.DrawFolderBox(); }},
      {"Update", [](ZenloFileControl& c) { c.Update(updateSortAndDraw); }},
      {"BitBltBase", [](ZenloFileControl& c) { c.BitBltBase(false); }},
      {"a repaint",
       [](ZenloFileControl& c) {
         InvalidateRect(c.View().FolderBox.Handle(), nullptr, TRUE);
         UpdateWindow(c.View().FolderBox.Handle());
       }},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.redraw);
    DrawnListing l(fbFileAndFolder);
    l.Read();
    ViewState& v = l.c->View();
    v.Skin.ActiveItemOutline = RGB(200, 0, 0);
    v.Skin.ActiveItemUnderline = RGB(0, 0, 200);
    l.c->SetActiveItemNum(2);
    l.c->HighLightActiveItem();
    v.HoverItem = 4;
    l.c->HighLightMouseOverItem();

    k.run(*l.c);

    const TypeListItem& active = l.c->ListItems()[2];
    const TypeListItem& hover = l.c->ListItems()[4];
    const int frameTop = Py(active.DrawBottom + 15 - v.FolderBoxScaleTop);
    const int frameBottom = Py(active.DrawBottomGap + 15 - v.FolderBoxScaleTop);
    const int underline = Py(hover.DrawBottomGap - 25 - v.FolderBoxScaleTop);
    const int x = Px(active.DrawLeft + 600);
    EXPECT_EQ(l.At(x, frameTop), RGB(200, 0, 0));
    EXPECT_EQ(l.At(x, frameBottom), RGB(200, 0, 0));
    EXPECT_EQ(l.At(Px(15), (frameTop + frameBottom) / 2), RGB(200, 0, 0));
    EXPECT_EQ(l.At(x, underline), RGB(0, 0, 200));
    // And the screen shows them.
    testsupport::ScreenPixels screen(v.FolderBox.Handle());
    EXPECT_EQ(screen.At(x, frameTop), RGB(200, 0, 0));
    EXPECT_EQ(screen.At(x, underline), RGB(0, 0, 200));
  }
}

TEST(Highlights, HoverUnderlineMovesAndNeedsItems) {
  DrawnListing l(fbFileAndFolder);
  l.Read();
  auto& v = l.c->View();
  const COLORREF underline = v.Skin.ActiveItemUnderline;
  v.HoverItem = 1;
  l.c->HighLightMouseOverItem();
  const TypeListItem& one = l.c->ListItems()[1];
  const int y1 = Py(one.DrawBottomGap - 25);
  EXPECT_EQ(l.At(Px(one.DrawLeft + 200), y1), underline);
  EXPECT_EQ(v.LastHoverItem, 1);
  v.HoverItem = 3;
  l.c->HighLightMouseOverItem();
  EXPECT_NE(l.At(Px(one.DrawLeft + 200), y1), underline);
  const TypeListItem& three = l.c->ListItems()[3];
  EXPECT_EQ(l.At(Px(three.DrawLeft + 200), Py(three.DrawBottomGap - 25)), underline);

  ControlHolder empty;
  empty->View().HoverItem = 5;
  empty->HighLightMouseOverItem();  // no items: nothing drawn, HoverItem left alone
  EXPECT_EQ(empty->View().HoverItem, 5);
  EXPECT_EQ(empty->View().LastHoverItem, -1);
}

TEST(Highlights, TheActivePaneIsFramedInItsColourAndAnInactiveOneInBlack) {
  // BorderWidth sets how wide the edge drawn in the shape's colour is; inside it, up to the
  // outline, the control's own background shows.
  struct Case {
    bool active;
    std::int16_t border;
  } cases[] = {{true, 1}, {false, 1}, {true, 3}, {false, 3}};
  const COLORREF activeColour = RGB(200, 30, 30), inactiveColour = RGB(30, 160, 30);
  for (const Case& k : cases) {
    SCOPED_TRACE(testing::Message() << (k.active ? "active" : "inactive") << ", border " << k.border);
    DrawnListing l(fbFileAndFolder);
    l.c->ApplyProperty(L"ColorActiveListOutline", static_cast<std::int32_t>(activeColour));
    l.c->ApplyProperty(L"ColorInActiveListOutline", static_cast<std::int32_t>(inactiveColour));
    l.c->ApplyProperty(L"BorderWidth", k.border);
    l.Read();
    l.c->HiLightControl(k.active);
    testsupport::ScreenPixels screen(l.c->Window());
    const COLORREF edge = k.active ? activeColour : inactiveColour;
    const COLORREF back = k.active ? activeColour : RGB(0, 0, 0);
    const int midX = screen.Width() / 2, midY = screen.Height() / 2;
    const int gap = 7 - 1;  // the outline starts one pixel left of the edge gap
    for (int i = 0; i < gap; ++i) {
      SCOPED_TRACE(testing::Message() << "pixel " << i << " from the edge");
      const COLORREF expected = i < k.border ? edge : back;
      EXPECT_EQ(screen.At(i, midY), expected);
      EXPECT_EQ(screen.At(midX, i), expected);
      EXPECT_EQ(screen.At(screen.Width() - 1 - i, midY), expected);
      EXPECT_EQ(screen.At(midX, screen.Height() - 1 - i), expected);
    }
    const LONG_PTR style = GetWindowLongPtrW(l.c->View().BoundBox.Handle(), GWL_STYLE);
    const LONG_PTR exStyle = GetWindowLongPtrW(l.c->View().BoundBox.Handle(), GWL_EXSTYLE);
    EXPECT_EQ(style & WS_BORDER, 0);
    EXPECT_EQ(exStyle & (WS_EX_CLIENTEDGE | WS_EX_STATICEDGE), 0);
  }
}

TEST(Highlights, FocusOnTheScrollBarTellsTheHost) {
  DrawnListing l(fbFileAndFolder);
  l.Read();
  // The bar is told it has the focus (the window manager decides who may really have it).
  SendMessageW(l.c->View().VScroll1.Handle(), WM_SETFOCUS, 0, 0);
  EXPECT_EQ(l.c.host.Count(L"SetLockedIndex"), 1);
}

TEST(Highlights, DragOverFindsTheRowUnderThePointer) {
  DrawnListing l(fbFileAndFolder);
  l.Read();
  auto& v = l.c->View();
  l.c->SetActiveItemNum(2);
  l.c->ActiveFolder.clear();
  l.c->HighLightFromDragOver(static_cast<float>(v.BoundBoxRect.Top + 2 * 265 + 100));
  EXPECT_EQ(v.HoverItem, 2);
  EXPECT_TRUE(l.c->DroppedOnActiveItem);
  // The folder under the pointer is where a drop would go.
  EXPECT_EQ(l.c->ActiveFolder, l.c->ListItems()[2].FullPath);
  l.c->HighLightFromDragOver(static_cast<float>(v.BoundBoxRect.Top + 4 * 265 + 100));
  EXPECT_EQ(l.c->ActiveFolder, l.c->ListItems()[4].FullPath);
  // Inside the box but below the last of the six rows: nothing is under the pointer.
  ASSERT_GT(v.BoundBoxRect.Height, 9 * 265);
  l.c->HighLightFromDragOver(static_cast<float>(v.BoundBoxRect.Top + 8 * 265));
  EXPECT_EQ(v.HoverItem, -1);
  EXPECT_FALSE(l.c->DroppedOnActiveItem);
}

TEST(Highlights, TreeActiveFolderReArmsTheWatchAndClearsTheNoticeOnlyWhenItChanges) {
  DrawnListing l(fbFolder);
  l.Read();
  ZenloFileControl& tree = *l.c;
  tree.SetActiveItemNum(1);
  tree.HighLightActiveItem();
  EXPECT_EQ(tree.WatchFolder, tree.ListItems()[1].RealPath());
  // A change in the watched folder is noticed and re-reads the tree.
  CreateDirectoryW((tree.WatchFolder + L"\\new").c_str(), nullptr);
  ASSERT_TRUE(tk::PumpUntil([&] { return tree.FolderChanged(); }, 3000));
  tree.SetActiveItemNum(1);
  tree.HighLightActiveItem();  // the same folder: the notice stays
  EXPECT_TRUE(tree.FolderChanged());
  tree.SetActiveItemNum(2);
  tree.HighLightActiveItem();  // another folder: the notice is cleared
  EXPECT_FALSE(tree.FolderChanged());
  EXPECT_EQ(tree.WatchFolder, tree.ListItems()[2].RealPath());
}

}  // namespace
