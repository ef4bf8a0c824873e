// The control as a window in a host: its parts, and a tree and a listing drawn from real
// folders.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "ScreenPixels.h"
#include "listing/view/ViewState.h"
#include "support/ControlFixture.h"
#include "support/HostWindow.h"
#include "support/TempFolder.h"
#include "toolkit/EventLoop.h"
#include "toolkit/Gdi.h"
#include "toolkit/Window.h"

using namespace zenlo;
using testsupport::ControlHolder;
using testsupport::TempFolder;

namespace {

constexpr COLORREF kTreeLine = RGB(180, 180, 180);

int Px(double twips) { return tk::TwipsToPixels(twips, tk::TwipsPerPixelX()); }
int Py(double twips) { return tk::TwipsToPixels(twips, tk::TwipsPerPixelY()); }

// The listing as it was last copied for the screen.
COLORREF FrontPixel(const ZenloFileControl& c, int x, int y) {
  return GetPixel(c.View().Front.Dc(), x, y);
}

bool RowHasInk(const ZenloFileControl& c, std::int32_t rowTopTwips, int fromX, int toX) {
  const COLORREF back = c.View().Skin.ListBackground;
  for (int y = Py(rowTopTwips); y < Py(rowTopTwips + c.View().RowHeight); ++y)
    for (int x = fromX; x < toX; ++x)
      if (FrontPixel(c, x, y) != back) return true;
  return false;
}

// Ink of a name: neither the background, a tree line nor one of the highlights.
bool IsNameInk(const ZenloFileControl& c, COLORREF p) {
  const SkinSettings& skin = c.View().Skin;
  return p != skin.ListBackground && p != kTreeLine && p != skin.ActiveItemOutline &&
         p != skin.ActiveItemUnderline;
}

struct Pane {
  ControlHolder tree{fbFolder};
  ControlHolder listing{fbFileAndFolder};
};

TEST(Frame, FreshInstanceDefaultsAndPersistedProperties) {
  ControlHolder c;
  PropertyBag empty;
  c->ReadProperties(empty);
  EXPECT_EQ(c->ChildControl(), L"");
  EXPECT_EQ(c->currentFolder(), L"C:");
  EXPECT_EQ(c->FolderListType(), fbFolder);
  EXPECT_EQ(c->GetActiveFolderCount(), 0);
  EXPECT_EQ(c->GetActiveItemPath(), L"");
  EXPECT_EQ(c->GetActiveItemLevel(), -1);
  EXPECT_TRUE(c->RightClickable());
  EXPECT_EQ(c->View().EdgeGap, 7 * tk::TwipsPerPixelX());

  c->ChildControl(L"partner");
  c->currentFolder(L"D:\\work\\");
  c->FolderListType(fbFile);
  PropertyBag bag;
  c->WriteProperties(bag);
  ASSERT_EQ(bag.Values.size(), 3u);
  EXPECT_EQ(bag.Values[0].first, L"ChildControl");
  EXPECT_EQ(bag.Values[1].first, L"CurrentFolder");
  EXPECT_EQ(bag.Values[2].first, L"FolderListType");
  ControlHolder other;
  other->ReadProperties(bag);
  EXPECT_EQ(other->ChildControl(), L"partner");
  EXPECT_EQ(other->currentFolder(), L"D:\\work\\");
  EXPECT_EQ(other->ltFolderListType, fbFile);
}

TEST(Frame, EmptyFolderShowsItsTextAndNothingSelectedIsDrawn) {
  TempFolder dir;
  testsupport::HostWindow host(500, 300);
  ControlHolder c;
  ASSERT_TRUE(c->CreateFrame(host.Handle()));
  MoveWindow(c->Window(), 0, 0, 480, 260, TRUE);
  c->LoadSetup();
  ASSERT_TRUE(c->GetFolderContents(dir.Path(), true));
  c->ResizeControl(vertical);
  EXPECT_TRUE(c->View().EmptyTextShown);
  EXPECT_EQ(c->View().FirstVisible, -1);
  EXPECT_EQ(c->View().LastVisible, -1);
  EXPECT_TRUE(RowHasInk(*c, 0, Px(450), Px(450) + 200));  // the text starts at the indent
  EXPECT_FALSE(RowHasInk(*c, 0, 0, Px(450) - 1));
  EXPECT_EQ(c->StatusGet(), L"0 Folders / 0 Files   Selected: 0 Folders / 0 Files");
}

TEST(Frame, TreeAndListingOfARealFolderDrawTheirRows) {
  TempFolder dir;
  dir.Folder(L"Documents\\Letters");
  dir.Folder(L"Documents\\Invoices");
  dir.Folder(L"Music");
  dir.Folder(L"Pictures");
  dir.File(L"notes.txt", 1234);
  dir.File(L"report.doc", 45000);
  dir.File(L"setup.exe", 3000000);
  dir.File(L"photo.bmp", 250000);

  testsupport::HostWindow host(1100, 520);
  Pane pane;
  for (ControlHolder* c : {&pane.tree, &pane.listing}) {
    ASSERT_TRUE((*c)->CreateFrame(host.Handle()));
    (*c)->LoadSetup();
  }
  MoveWindow(pane.tree->Window(), 4, 4, 330, 470, TRUE);
  MoveWindow(pane.listing->Window(), 340, 4, 740, 470, TRUE);
  pane.tree->AddToExpandedFolderString(dir.Path() + L"Documents");
  ASSERT_TRUE(pane.tree->GetFolderContents(dir.Path(), true));
  ASSERT_TRUE(pane.listing->GetFolderContents(dir.Path(), true));
  pane.tree->ResizeControl(vertical);
  pane.listing->ResizeControl(vertical);
  tk::PumpUntil([] { return false; }, 300);

  // The tree: root, Documents (open), its two folders, Music, Pictures.
  const ZenloFileControl& tree = *pane.tree;
  ASSERT_EQ(tree.ItemCount(), 6);
  EXPECT_EQ(tree.View().FirstVisible, 0);
  EXPECT_EQ(tree.View().LastVisible, 5);
  // On the screen every name ends inside the Name column; where it starts shows the nesting:
  // a sub-folder one step right of its parent, folders of one level aligned.
  testsupport::ScreenPixels treeScreen(tree.View().FolderBox.Handle());
  const int nameEnd = Px(tree.View().Headings.Headings[1].Right - tree.View().EdgeGap);
  std::vector<int> textStart;
  for (std::int32_t i = 0; i < tree.ItemCount(); ++i) {
    const TypeListItem& item = tree.ListItems()[static_cast<std::size_t>(i)];
    EXPECT_EQ(item.RowTop, 265 * i) << i;
    int last = -1;
    for (int x = 0; x < nameEnd; ++x)
      for (int y = Py(item.RowTop) + 1; y < Py(item.RowTop + 265) - 1; ++y)
        if (IsNameInk(tree, treeScreen.At(x, y))) last = x;
    ASSERT_GT(last, 0) << "no name drawn in row " << i;
    textStart.push_back(last + 1 - tree.View().Measure.Width(item.Name));
  }
  const int step = Px(150);
  EXPECT_NEAR(textStart[2], textStart[1] + step, 1);  // Invoices under Documents
  EXPECT_NEAR(textStart[3], textStart[2], 1);         // Letters beside Invoices
  EXPECT_NEAR(textStart[4], textStart[1], 1);         // Music beside Documents
  EXPECT_NEAR(textStart[5], textStart[1], 1);
  EXPECT_LT(textStart[0], textStart[1]);              // the root left of its folders
  // Level-1 tree line at x = 450 - 325 twips runs through the rows of Documents and Music;
  // the last item (Pictures) closes it at its middle.
  const int lineX = Px(450 - 325);
  EXPECT_EQ(FrontPixel(tree, lineX, Py(265 + 10)), kTreeLine);
  EXPECT_EQ(FrontPixel(tree, lineX, Py(265 * 4 + 10)), kTreeLine);
  EXPECT_NE(FrontPixel(tree, lineX, Py(265 * 5 + 250)), kTreeLine);
  // The inner level's line for Letters/Invoices at 600 - 325 twips.
  EXPECT_EQ(FrontPixel(tree, Px(600 - 325), Py(265 * 2 + 10)), kTreeLine);
  EXPECT_EQ(tree.StatusGet(), L"5 Folders   Selected: 0 Folders");

  // The listing: folders first, every row drawn, the status line counts.
  const ZenloFileControl& listing = *pane.listing;
  ASSERT_EQ(listing.ItemCount(), 7);
  EXPECT_EQ(listing.View().LastVisible, 6);
  for (std::int32_t i = 0; i < listing.ItemCount(); ++i) {
    const TypeListItem& item = listing.ListItems()[static_cast<std::size_t>(i)];
    EXPECT_EQ(item.RowTop, 265 * i);
    EXPECT_TRUE(RowHasInk(listing, item.RowTop, Px(650), Px(650) + 40)) << i;
  }
  EXPECT_EQ(listing.StatusGet(), L"3 Folders / 4 Files   Selected: 0 Folders / 0 Files");
  const auto& sizeHeading = listing.View().Headings.Headings[3];
  EXPECT_GE(sizeHeading.DrawnWidth, 500);

  // As the host shows a pane whose listing was clicked last.
  pane.tree->HiLightControl(false);
  pane.listing->HiLightControl(true);
  tk::PumpUntil([] { return false; }, 200);
  testsupport::SaveWindowPicture(host.Handle(), testsupport::ScreenshotPath(L"tree-and-listing.bmp"));
}

TEST(Frame, TheHintOfAListingThatHidesItsFoldersShowsUnderThePointer) {
  TempFolder dir;
  for (const wchar_t* name : {L"one", L"two"}) dir.Folder(name);
  testsupport::HostWindow host(520, 320);
  ControlHolder c(fbFile);
  ASSERT_TRUE(c->CreateFrame(host.Handle()));
  MoveWindow(c->Window(), 0, 0, 500, 280, TRUE);
  c->LoadSetup();
  ASSERT_TRUE(c->GetFolderContents(dir.Path(), true));
  c->ResizeControl(vertical);
  const ViewState& v = c->View();
  ASSERT_TRUE(v.EmptyTextShown);
  HWND tip = v.Tip.Handle();
  ASSERT_NE(tip, nullptr);

  // The pointer rests on the listing: the tip window comes up with the hint.
  RECT box;
  GetWindowRect(v.FolderBox.Handle(), &box);
  SetForegroundWindow(host.Handle());
  SetCursorPos(box.left + 40, box.top + 8);
  tk::PumpUntil([] { return false; }, 50);
  SetCursorPos(box.left + 42, box.top + 9);
  EXPECT_TRUE(tk::PumpUntil([&] { return IsWindowVisible(tip) != FALSE; }, 4000));
  wchar_t text[200] = L"";
  TTTOOLINFOW tool{};
  tool.cbSize = TTTOOLINFOW_V2_SIZE;
  tool.hwnd = GetParent(v.FolderBox.Handle());
  tool.uId = reinterpret_cast<UINT_PTR>(v.FolderBox.Handle());
  tool.lpszText = text;
  SendMessageW(tip, TTM_GETTEXTW, 200, reinterpret_cast<LPARAM>(&tool));
  EXPECT_STREQ(text, L"Press the 'Folder' icon on the above toolbar to show/hide folders.");

  // Once the listing shows items it has nothing to hint.
  SetCursorPos(0, 0);
  dir.File(L"a.txt");
  ASSERT_TRUE(c->GetFolderContents(dir.Path(), true));
  c->ResizeControl(vertical);
  ASSERT_FALSE(v.EmptyTextShown);
  EXPECT_EQ(SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0), 0);
}

TEST(Frame, ATreeReadClearsWhatWasPaintedAroundTheOldRows) {
  TempFolder dir;
  dir.Folder(L"only");
  testsupport::HostWindow host(420, 420);
  ControlHolder tree(fbFolder);
  ASSERT_TRUE(tree->CreateFrame(host.Handle()));
  MoveWindow(tree->Window(), 0, 0, 400, 380, TRUE);
  tree->LoadSetup();
  ASSERT_TRUE(tree->GetFolderContents(dir.Path(), true));
  tree->ResizeControl(vertical);
  const ViewState& v = tree->View();
  HWND bound = v.BoundBox.Handle();
  RECT client;
  GetClientRect(bound, &client);
  const int belowRows = client.bottom - 10;
  ASSERT_GT(belowRows, Py(v.FolderBoxRect.Height) + 5) << "the rows must leave room below them";
  ASSERT_EQ(testsupport::ScreenPixels(bound).At(20, belowRows), RGB(255, 255, 255));

  // A new skin colour: the area below the rows takes it at the next read's set-up.
  tree->ApplyProperty(L"ColorListBackground", static_cast<std::int32_t>(RGB(40, 80, 120)));
  tree->ApplySkinChange();
  tree->SetDoDrawing(false);  // the read alone, without the drawing that may follow it
  ASSERT_TRUE(tree->GetFolderContents(dir.Path(), true));
  EXPECT_EQ(testsupport::ScreenPixels(bound).At(20, belowRows), RGB(40, 80, 120));
}

TEST(Frame, HeadingsMenuMarksFollowTheColumns) {
  ControlHolder c;
  c->LoadSetup();
  EXPECT_TRUE(c->HeadingsMenuChecked(L"mnuHeadingSize"));
  EXPECT_FALSE(c->HeadingsMenuChecked(L"mnuHeadingComments"));
  c->ModifyHeadings(L"mnuHeadingSize");
  EXPECT_FALSE(c->HeadingsMenuChecked(L"mnuHeadingSize"));
  EXPECT_FALSE(c->GetHeadingValue(L"Size"));
  EXPECT_EQ(c.host.Count(L"UpdateMasterHeadings"), 1);

  // A table the host restored decides the marks at the next set-up.
  c->SetHeadingProperty(5, L"ACTIVE", std::wstring(L"True"));
  c->LoadSetup();
  EXPECT_TRUE(c->HeadingsMenuChecked(L"mnuHeadingDateCreated"));
  EXPECT_TRUE(c->GetHeadingValue(L"DateCreated"));

  ControlHolder tree(fbFolder);
  tree->LoadSetup();
  EXPECT_FALSE(tree->HeadingsMenuChecked(L"mnuHeadingExtension"));
}

TEST(Frame, HeadingSlotsOutsideTheTableAreRefusedWithAMessage) {
  ControlHolder c;
  c->SetHeadingsDefaults();
  EXPECT_TRUE(std::holds_alternative<std::monostate>(c->GetHeadingProperty(11, L"width")));
  c->SetHeadingProperty(-1, L"width", std::int32_t{5});
  std::wstring key, order;
  EXPECT_FALSE(c->GetSortOrder(101, key, order));
  c->SetSortOrder(0, L"sName", L"asc");
  c->SetSortOrder(1, L"sSize", L"des");
  c->SetSortOrder(3, L"sExt", L"asc");
  EXPECT_EQ(c->GetNumberOfSorts(), 2);
  EXPECT_TRUE(c->GetSortOrder(1, key, order));
  EXPECT_EQ(key, L"sSize");
  EXPECT_EQ(order, L"des");
  EXPECT_EQ(c.host.Messages().size(), 3u);
}

}  // namespace

// A bar the host moves across the control, as its splitter marker does, leaves nothing of
// itself on the toolbar strip: the flat toolbar's background comes from the control's surface.
TEST(Frame, ABarMovedAcrossTheToolbarLeavesNoTrail) {
  TempFolder dir;
  dir.File(L"a.txt", 10);
  testsupport::HostWindow host(520, 420);
  ShowWindow(host.Handle(), SW_SHOW);
  ControlHolder listing(fbFileAndFolder);
  ASSERT_TRUE(listing->CreateFrame(host.Handle()));
  listing->LoadSetup();
  MoveWindow(listing->Window(), 0, 0, 500, 380, TRUE);
  ASSERT_TRUE(listing->GetFolderContents(dir.Path(), true));
  listing->ResizeControl(vertical);
  HWND toolbar = listing->View().Toolbar1.Handle();
  ASSERT_NE(toolbar, nullptr);

  constexpr COLORREF kBar = RGB(255, 0, 255);
  tk::Brush barBrush(CreateSolidBrush(kBar));
  WNDCLASSW wc{};
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hbrBackground = barBrush.Get();
  wc.lpszClassName = L"TrailTestBar";
  RegisterClassW(&wc);
  HWND bar = CreateWindowExW(0, wc.lpszClassName, L"", WS_CHILD | WS_VISIBLE, 0, 0, 4, 380,
                             host.Handle(), nullptr, wc.hInstance, nullptr);
  ASSERT_NE(bar, nullptr);
  // Sideways in steps, each step pumped, over the whole strip.
  for (int x = 0; x < 500; x += 6) {
    SetWindowPos(bar, HWND_TOP, x, 0, 4, 380, SWP_NOACTIVATE);
    tk::PumpUntil([] { return false; }, 5);
  }
  DestroyWindow(bar);
  UnregisterClassW(wc.lpszClassName, wc.hInstance);

  testsupport::ScreenPixels strip(toolbar);
  int trail = 0;
  for (int y = 0; y < strip.Height(); ++y)
    for (int x = 0; x < strip.Width(); ++x)
      if (strip.At(x, y) == kBar) ++trail;
  EXPECT_EQ(trail, 0) << "pixels of the bar left on the toolbar";
}

namespace {

// The pixels of one toolbar button as the screen shows them.
std::vector<COLORREF> ButtonPixels(const ZenloFileControl& c, const wchar_t* key) {
  const tk::Toolbar& bar = c.View().Toolbar1;
  const RECT r = bar.ButtonRect(key);
  testsupport::ScreenPixels shown(bar.Handle());
  std::vector<COLORREF> pixels;
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x) pixels.push_back(shown.At(x, y));
  return pixels;
}

}  // namespace

TEST(Frame, ToolbarsShowEveryPictureAfterTheControlsShareThem) {
  // Every control's toolbar draws from the library's one set of pictures: one control going
  // away must leave the others' pictures, and a control made afterwards shows the same ones.
  testsupport::HostWindow host(900, 300);
  auto make = [&](int top) {
    auto c = std::make_unique<ControlHolder>(fbFileAndFolder);
    EXPECT_TRUE((*c)->CreateFrame(host.Handle()));
    MoveWindow((*c)->Window(), 0, top, 880, 90, TRUE);
    (*c)->LoadSetup();
    (*c)->ResizeControl(vertical);
    return c;
  };
  auto first = make(0);
  auto second = make(95);
  first.reset();
  auto third = make(190);
  for (const wchar_t* key : {L"upfolder", L"newfolder", L"showfolders", L"refresh", L"headings",
                             L"calculate", L"listmode"}) {
    SCOPED_TRACE(testing::PrintToString(std::wstring(key)));
    const std::vector<COLORREF> kept = ButtonPixels(**second, key);
    const std::vector<COLORREF> fresh = ButtonPixels(**third, key);
    ASSERT_FALSE(kept.empty());
    EXPECT_EQ(kept, fresh);
    // A picture, not an empty button: many pixels differ from the button's corner.
    const COLORREF face = kept.front();
    const auto ink = std::count_if(kept.begin(), kept.end(), [&](COLORREF p) { return p != face; });
    EXPECT_GT(ink, 30);
  }
}
