// The control as a window in a host: its parts, and a tree and a listing drawn from real
// folders.
#include <gtest/gtest.h>

#include "listing/view/ViewState.h"
#include "support/ControlFixture.h"
#include "support/HostWindow.h"
#include "support/TempFolder.h"
#include "toolkit/EventLoop.h"
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
  for (std::int32_t i = 0; i < tree.ItemCount(); ++i) {
    const TypeListItem& item = tree.ListItems()[static_cast<std::size_t>(i)];
    EXPECT_EQ(item.RowTop, 265 * i) << i;
    EXPECT_EQ(item.DrawLeft, item.Level * 150 + 300) << i;
    EXPECT_EQ(item.DrawBottomGap, item.DrawBottom + 265) << i;
    EXPECT_TRUE(RowHasInk(tree, item.RowTop, Px(item.DrawLeft + 200), Px(item.DrawLeft + 200) + 40))
        << "no name drawn in row " << i;
  }
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

  testsupport::SaveWindowPicture(host.Handle(), testsupport::ScreenshotPath(L"tree-and-listing.bmp"));
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
