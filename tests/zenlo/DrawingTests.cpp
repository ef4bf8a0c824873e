// Drawing the listing, read back from the picture that painting copies: text colours, the
// texts of a listing without files, files in use, the tree's lines and expanders, list mode.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>

#include "library/LibraryModule.h"
#include "ScreenPixels.h"
#include "listing/model/FilePropertyStore.h"
#include "listing/view/ViewState.h"
#include "support/ControlFixture.h"
#include "support/HostWindow.h"
#include "support/ListingLookup.h"
#include "support/TempFolder.h"
#include "toolkit/Error.h"
#include "toolkit/EventLoop.h"
#include "toolkit/Window.h"

using namespace zenlo;
using testsupport::ControlHolder;
using testsupport::TempFolder;
using testsupport::FindItem;

namespace {

constexpr std::int32_t kRow = 265;
constexpr COLORREF kTreeLine = RGB(180, 180, 180);

int Px(double twips) { return tk::TwipsToPixels(twips, tk::TwipsPerPixelX()); }
int Py(double twips) { return tk::TwipsToPixels(twips, tk::TwipsPerPixelY()); }

COLORREF FrontPixel(const ZenloFileControl& c, int x, int y) {
  return GetPixel(c.View().Front.Dc(), x, y);
}

// Whether p lies between the background and the colour, as the smoothed edges of text do.
bool ShadeOf(COLORREF p, COLORREF colour, COLORREF back) {
  const int c[3] = {GetRValue(colour), GetGValue(colour), GetBValue(colour)};
  const int b[3] = {GetRValue(back), GetGValue(back), GetBValue(back)};
  const int q[3] = {GetRValue(p), GetGValue(p), GetBValue(p)};
  int widest = 0;
  for (int i = 1; i < 3; ++i)
    if (std::abs(c[i] - b[i]) > std::abs(c[widest] - b[widest])) widest = i;
  if (c[widest] == b[widest]) return false;
  const double t = double(q[widest] - b[widest]) / (c[widest] - b[widest]);
  if (t < 0 || t > 1) return false;
  for (int i = 0; i < 3; ++i)
    if (std::abs(q[i] - (b[i] + t * (c[i] - b[i]))) > 8) return false;
  return true;
}

// Pixels of a box [x0, x1) x [y0, y1) of the drawn listing: those exactly of one colour, those
// that are a shade of it on the background, and those that are neither.
struct Ink {
  int exact = 0, shade = 0, other = 0;
};
Ink InkIn(const ZenloFileControl& c, int x0, int y0, int x1, int y1, COLORREF colour) {
  Ink ink;
  const COLORREF back = c.View().Skin.ListBackground;
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x) {
      const COLORREF p = FrontPixel(c, x, y);
      if (p == back) continue;
      if (p == colour) ++ink.exact;
      if (ShadeOf(p, colour, back))
        ++ink.shade;
      else
        ++ink.other;
    }
  return ink;
}

int TextPixels(const ZenloFileControl& c, const std::wstring& text) {
  return c.View().Measure.Width(text);
}

// Draws a control that has no window: its listing box gets the given size in twips.
void DrawInBox(ZenloFileControl& c, std::int32_t width, std::int32_t height) {
  c.View().BoundBoxRect.Width = width;
  c.View().BoundBoxRect.Height = height;
  c.SetFolderBoxProperties(false);
  c.DrawFolderBox();
}

// Document properties by file name: a colour word, or in use (unreadable).
class PropertyTable : public FilePropertyStore {
 public:
  struct Entry {
    std::wstring colour;
    bool inUse = false;
  };
  std::map<std::wstring, Entry> byName;

  std::unique_ptr<FileProperties> Open(const std::wstring& path) override {
    const auto it = byName.find(path.substr(path.find_last_of(L'\\') + 1));
    if (it != byName.end() && it->second.inUse)
      throw tk::RuntimeError(kErrPropertiesUnavailable, L"in use");
    struct Props : FileProperties {
      std::wstring colour;
      std::wstring Comments() override { return {}; }
      std::optional<std::wstring> UserProperty(const std::wstring& n) override {
        if (n != L"VarnelloColor" || colour.empty()) return std::nullopt;
        return colour;
      }
    };
    auto p = std::make_unique<Props>();
    if (it != byName.end()) p->colour = it->second.colour;
    return p;
  }
};

TEST(Drawing, EveryTextOfARowIsInTheItemsOwnColourOrTheListText) {
  TempFolder dir;
  struct Case {
    const wchar_t* name;
    const wchar_t* word;  // "" for no colour property
    COLORREF expected;    // CLR_NONE: the list text colour
  } cases[] = {
      {L"apple.txt", L"Red", RGB(255, 0, 0)},
      {L"berry.doc", L"blue", RGB(0, 0, 255)},
      {L"cherry.bin", L"Dark Green", RGB(54, 151, 58)},
      {L"damson.txt", L"", CLR_NONE},
      {L"elder.txt", L"Default", CLR_NONE},
  };
  auto store = std::make_shared<PropertyTable>();
  for (const Case& k : cases) {
    dir.File(k.name, 2048);
    store->byName[k.name].colour = k.word;
  }
  ControlHolder c;
  c->LoadSetup();
  c->SetPropertyStore(store);
  ASSERT_TRUE(c->GetFolderContents(dir.Path(), true));
  c->View().Skin.ListText = RGB(0, 0, 160);  // not black, so the skin's colour is what shows
  DrawInBox(*c, 9000, 3000);

  for (const Case& k : cases) {
    SCOPED_TRACE(testing::Message() << k.name);
    const TypeListItem* item = FindItem(*c, k.name);
    ASSERT_NE(item, nullptr);
    const COLORREF expected = k.expected == CLR_NONE ? c->View().Skin.ListText : k.expected;
    // From the name to the row's end: name, date, size, extension and type, all in one colour.
    const Ink ink = InkIn(*c, Px(item->DrawLeft + 200), Py(item->RowTop), c->View().Front.Width(),
                          Py(item->RowTop + kRow), expected);
    EXPECT_GT(ink.exact, 20);
    EXPECT_GT(ink.shade, 100);
    EXPECT_EQ(ink.other, 0);
  }
}

TEST(Drawing, WhatAListingWithoutFilesShows) {
  const std::wstring hint = L"Press the 'Folder' icon on the above toolbar to show/hide folders.";
  struct Case {
    ListType type;
    int folders, files;
    bool emptyText;
    const std::wstring* toolTip;
    std::int32_t first, last;
  } cases[] = {
      {fbFile, 3, 0, true, &hint, -1, -1},  // the folders are hidden: say so
      {fbFile, 0, 0, true, nullptr, -1, -1},
      {fbFileAndFolder, 0, 0, true, nullptr, -1, -1},
      {fbFileAndFolder, 3, 0, false, nullptr, 0, 2},
      {fbFile, 3, 1, false, nullptr, 3, 3},  // the one file, at the top
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(testing::Message() << "type " << k.type << ", " << k.folders << " folders, "
                                    << k.files << " files");
    TempFolder dir;
    for (int i = 0; i < k.folders; ++i) dir.Folder(L"sub" + std::to_wstring(i));
    for (int i = 0; i < k.files; ++i) dir.File(L"file" + std::to_wstring(i) + L".txt");
    ControlHolder c(k.type);
    c->LoadSetup();
    ASSERT_TRUE(c->GetFolderContents(dir.Path(), true));
    c->View().FolderBoxToolTip = L"left over";
    c->View().EmptyTextShown = !k.emptyText;
    DrawInBox(*c, 9000, 3000);
    const ViewState& v = c->View();
    EXPECT_EQ(v.EmptyTextShown, k.emptyText);
    EXPECT_EQ(v.FolderBoxToolTip, k.toolTip ? *k.toolTip : L"");
    EXPECT_EQ(v.FirstVisible, k.first);
    EXPECT_EQ(v.LastVisible, k.last);
    if (k.first >= 0) {
      EXPECT_EQ(c->ListItems()[static_cast<std::size_t>(k.first)].RowTop, 0);
    }
    if (k.emptyText) {
      EXPECT_EQ(v.FolderBoxRect.Height, kRow + 30);
      EXPECT_EQ(v.FolderBoxScaleTop, 0);
    }
  }
}

TEST(Drawing, TheNumberOfHiddenFoldersIsInTheSecondaryColour) {
  TempFolder dir;
  for (const wchar_t* name : {L"one", L"two", L"three"}) dir.Folder(name);
  ControlHolder c(fbFile);
  c->LoadSetup();
  ASSERT_TRUE(c->GetFolderContents(dir.Path(), true));
  c->View().Skin.TextSecondary = RGB(200, 40, 40);
  DrawInBox(*c, 9000, 3000);
  const ZenloFileControl& drawn = *c;

  const std::wstring first = L"-- no files in selected folder, you are hiding  ";
  const int x = Px(450);
  const int numberX = x + TextPixels(drawn, first);
  const int lastX = x + TextPixels(drawn, first + L"3 ");
  const int top = 0, bottom = drawn.View().Front.Height();
  ASSERT_GE(bottom, Py(kRow));
  const COLORREF text = drawn.View().Skin.ListText, secondary = drawn.View().Skin.TextSecondary;

  const Ink lead = InkIn(drawn, x, top, numberX, bottom, text);
  EXPECT_GT(lead.exact, 10);
  EXPECT_GT(lead.shade, 50);
  EXPECT_EQ(lead.other, 0);
  const Ink number = InkIn(drawn, numberX, top, numberX + TextPixels(drawn, L"3"), bottom, secondary);
  EXPECT_GT(number.exact, 0);
  EXPECT_GT(number.shade, 5);
  EXPECT_EQ(number.other, 0);
  const Ink tail = InkIn(drawn, lastX, top, lastX + TextPixels(drawn, L"  sub-folders --"), bottom, text);
  EXPECT_GT(tail.exact, 5);
  EXPECT_GT(tail.shade, 20);
  EXPECT_EQ(tail.other, 0);
  // Nothing left of the indent, nothing after the text.
  const Ink before = InkIn(drawn, 0, top, x, bottom, text);
  EXPECT_EQ(before.shade + before.other, 0);
  const int end = lastX + TextPixels(drawn, L"  sub-folders --") + 2;
  const Ink after = InkIn(drawn, end, top, drawn.View().Front.Width(), bottom, text);
  EXPECT_EQ(after.shade + after.other, 0);
}

TEST(Drawing, AFileInUseIsMarkedOpenWhileItsNameAloneIsMeasured) {
  for (bool inUse : {false, true}) {
    SCOPED_TRACE(inUse ? "in use" : "not in use");
    TempFolder dir;
    dir.File(L"busy.doc", 10);
    auto store = std::make_shared<PropertyTable>();
    store->byName[L"busy.doc"].inUse = inUse;
    ControlHolder c;
    c->LoadSetup();
    c->SetPropertyStore(store);
    ASSERT_TRUE(c->GetFolderContents(dir.Path(), true));
    DrawInBox(*c, 9000, 3000);
    const ZenloFileControl& drawn = *c;
    const TypeListItem& item = drawn.ListItems()[0];
    ASSERT_EQ(item.IsOpen, inUse);

    const int nameWidth = TextPixels(drawn, L"busy.doc");
    EXPECT_EQ(drawn.View().Headings.Headings[1].DrawnWidth,
              nameWidth * tk::TwipsPerPixelX() + 500);
    const int x = Px(item.DrawLeft + 200);
    const int fullWidth = TextPixels(drawn, L"busy.doc (currenly open)");
    const Ink name = InkIn(drawn, x, Py(item.RowTop), x + nameWidth, Py(item.RowTop + kRow),
                           drawn.View().Skin.ListText);
    const Ink suffix = InkIn(drawn, x + nameWidth + 1, Py(item.RowTop), x + fullWidth,
                             Py(item.RowTop + kRow), drawn.View().Skin.ListText);
    EXPECT_GT(name.shade, 20);
    if (inUse)
      EXPECT_GT(suffix.shade, 40);
    else
      EXPECT_EQ(suffix.shade + suffix.other, 0);
  }
}

// ---------------------------------------------------------------------------------------------
// The tree

// root
//   Alpha (has a sub-folder, closed)
//   Beta (open)
//     Gamma (open)
//       Delta (open)
//         Omega (no sub-folders; the last row)
struct NestedTree {
  TempFolder dir;
  ControlHolder c{fbFolder};
  NestedTree() {
    c->LoadSetup();
    dir.Folder(L"Alpha\\inner");
    dir.Folder(L"Beta\\Gamma\\Delta\\Omega");
    c->AddToExpandedFolderString(dir.Path() + L"Beta");
    c->AddToExpandedFolderString(dir.Path() + L"Beta\\Gamma");
    c->AddToExpandedFolderString(dir.Path() + L"Beta\\Gamma\\Delta");
  }
};

// Compares a library picture with the drawn listing at (x, y), leaving out its transparent
// green. Returns the differing pixels; `compared` receives how many were compared.
int PictureMismatches(const ZenloFileControl& c, const wchar_t* resource, int x, int y,
                      int& compared) {
  HBITMAP bmp = static_cast<HBITMAP>(
      LoadImageW(LibraryModule(), resource, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  compared = 0;
  if (!bmp) return -1;
  BITMAP info;
  GetObjectW(bmp, sizeof info, &info);
  HDC mem = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(mem, bmp);
  int mismatches = 0;
  for (int py = 0; py < info.bmHeight; ++py)
    for (int px = 0; px < info.bmWidth; ++px) {
      const COLORREF p = GetPixel(mem, px, py);
      if (p == RGB(0, 255, 0)) continue;
      ++compared;
      if (FrontPixel(c, x + px, y + py) != p) ++mismatches;
    }
  SelectObject(mem, old);
  DeleteDC(mem);
  DeleteObject(bmp);
  return mismatches;
}

TEST(Drawing, TreeExpandersShowWhetherAFolderIsOpen) {
  NestedTree t;
  ASSERT_TRUE(t.c->GetFolderContents(t.dir.Path(), true));
  DrawInBox(*t.c, 6000, 4000);
  const ZenloFileControl& tree = *t.c;
  ASSERT_EQ(tree.ItemCount(), 6);
  EXPECT_EQ(tree.View().FirstVisible, 0);
  EXPECT_EQ(tree.View().LastVisible, 5);

  struct Case {
    std::int32_t index;
    const wchar_t* name;
    sFolderStatus status;
    const wchar_t* picture;
    const wchar_t* otherPicture;
  } cases[] = {
      {1, L"Alpha", sNotExpanded, L"FOLDERPLUSBMP", L"FOLDERMINUSBMP"},
      {2, L"Beta", sExpanded, L"FOLDERMINUSBMP", L"FOLDERPLUSBMP"},
      {3, L"Gamma", sExpanded, L"FOLDERMINUSBMP", L"FOLDERPLUSBMP"},
      {4, L"Delta", sExpanded, L"FOLDERMINUSBMP", L"FOLDERPLUSBMP"},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(testing::Message() << "row " << k.index);
    const TypeListItem& item = tree.ListItems()[static_cast<std::size_t>(k.index)];
    ASSERT_EQ(item.Name, k.name);
    ASSERT_EQ(item.FolderStatus, k.status);
    EXPECT_EQ(item.RowTop, k.index * kRow);
    const int x = Px(item.DrawLeft - 400), y = Py(item.RowTop + 50);
    int compared = 0, comparedOther = 0;
    EXPECT_EQ(PictureMismatches(tree, k.picture, x, y, compared), 0);
    EXPECT_GT(compared, 20);
    EXPECT_GT(PictureMismatches(tree, k.otherPicture, x, y, comparedOther), 0);
  }
}

// Tree-line pixels in the box around (x, y) with a half-size of `r` that lie off the column x.
int LineInkOffColumn(const ZenloFileControl& c, int x, int y0, int y1, int r) {
  int n = 0;
  for (int y = y0; y <= y1; ++y)
    for (int dx = -r; dx <= r; ++dx)
      if (dx != 0 && FrontPixel(c, x + dx, y) == kTreeLine) ++n;
  return n;
}

TEST(Drawing, TheLastRowOfANestedBranchClosesEveryLevelWithACircle) {
  NestedTree t;
  ASSERT_TRUE(t.c->GetFolderContents(t.dir.Path(), true));
  DrawInBox(*t.c, 6000, 4000);
  const ZenloFileControl& tree = *t.c;
  ASSERT_EQ(tree.ItemCount(), 6);
  const TypeListItem& last = tree.ListItems()[5];
  ASSERT_EQ(last.Name, L"Omega");
  ASSERT_EQ(last.Level, 4);
  ASSERT_EQ(last.FolderStatus, sNoSubFolders);

  const double middle = last.RowTop + kRow / 2.0;
  const int cy = Py(middle + 25), r = Px(40);
  const int belowLine = Py(middle);  // the closing lines end at the row's middle
  const std::int32_t ownLine = last.DrawLeft - 325;
  // Its own level closes without a circle.
  EXPECT_EQ(FrontPixel(tree, Px(ownLine), Py(last.RowTop) + 1), kTreeLine);
  EXPECT_EQ(LineInkOffColumn(tree, Px(ownLine), belowLine, cy + r, r) +
                (FrontPixel(tree, Px(ownLine), cy) == kTreeLine ? 1 : 0),
            0);
  // Each ancestor level, down to the first, ends in a circle 25 twips below the middle.
  int circles = 0;
  for (std::int32_t lx = ownLine - 150; lx >= 0; lx -= 150, ++circles) {
    SCOPED_TRACE(testing::Message() << "level line at " << lx << " twips");
    const int x = Px(lx);
    EXPECT_EQ(FrontPixel(tree, x, Py(last.RowTop) + 1), kTreeLine);  // the line comes down
    EXPECT_GT(LineInkOffColumn(tree, x, belowLine, cy + r, r), 4);    // the circle's outline
    EXPECT_EQ(FrontPixel(tree, x, cy + r - 1), kTreeLine);             // its lowest point
    EXPECT_NE(FrontPixel(tree, x, cy), kTreeLine);                     // filled inside
    EXPECT_EQ(LineInkOffColumn(tree, x, cy + r + 1, cy + r + 4, r), 0);
  }
  EXPECT_EQ(circles, 3);

  // A level that goes on (Gamma's first-level line) gets no circle.
  const TypeListItem& gamma = tree.ListItems()[3];
  const double gammaMiddle = gamma.RowTop + kRow / 2.0;
  EXPECT_EQ(LineInkOffColumn(tree, Px(125), Py(gammaMiddle), Py(gammaMiddle + 25) + r, r), 0);
  EXPECT_EQ(FrontPixel(tree, Px(125), Py(gammaMiddle + 25)), kTreeLine);

  // A folder without sub-folders gets a short stroke instead of an expander.
  for (int x = Px(ownLine) + 1; x < Px(last.DrawLeft - 270); ++x)
    EXPECT_EQ(FrontPixel(tree, x, Py(last.RowTop + 120)), kTreeLine) << "x " << x;
  // The root joins the first level from its row's bottom to the first indent.
  EXPECT_EQ(FrontPixel(tree, Px(125), Py(200)), kTreeLine);
  EXPECT_EQ(FrontPixel(tree, Px(300), Py(120)), kTreeLine);
}

// ---------------------------------------------------------------------------------------------
// Columns

// Comments by file name; every file has one.
class CommentTable : public FilePropertyStore {
 public:
  std::map<std::wstring, std::wstring> byName;
  std::unique_ptr<FileProperties> Open(const std::wstring& path) override {
    struct Props : FileProperties {
      std::wstring comment;
      std::wstring Comments() override { return comment; }
      std::optional<std::wstring> UserProperty(const std::wstring&) override { return std::nullopt; }
    };
    auto p = std::make_unique<Props>();
    const auto it = byName.find(path.substr(path.find_last_of(L'\\') + 1));
    if (it != byName.end()) p->comment = it->second;
    return p;
  }
};

// Ink in a vertical stripe of the drawn listing, over rows [first, last].
int StripeInk(const ZenloFileControl& c, int x0, int x1, std::int32_t first, std::int32_t last) {
  const ViewState& v = c.View();
  int ink = 0;
  for (std::int32_t i = first; i <= last; ++i) {
    const std::int32_t top = c.ListItems()[static_cast<std::size_t>(i)].RowTop;
    for (int y = Py(top); y < Py(top + kRow); ++y)
      for (int x = x0; x < x1 && x < v.Front.Width(); ++x)
        if (FrontPixel(c, x, y) != v.Skin.ListBackground) ++ink;
  }
  return ink;
}

TEST(Drawing, EveryCellsTextStaysInsideItsColumn) {
  // Between where a column's cell ends and where the next column's text begins lies a
  // stripe no text may cross. The cut text ends in an ellipsis inside its own column.
  const std::wstring longName = std::wstring(120, L'W') + L".txt";
  const std::wstring longComment = L"A comment " + std::wstring(150, L'M');
  struct Case {
    const char* what;
    ListType type;
    std::int32_t depth;  // tree: nested folders below the root
  } cases[] = {
      {"a very long name and comment in a listing", fbFileAndFolder, 0},
      {"a tree 28 levels deep", fbFolder, 28},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.what);
    TempFolder dir;
    ControlHolder c(k.type);
    c->LoadSetup();
    auto store = std::make_shared<CommentTable>();
    if (k.type == fbFolder) {
      std::wstring path;
      for (std::int32_t level = 1; level <= k.depth; ++level) {
        path += (level > 1 ? L"\\" : L"") + std::wstring(L"Lv") + std::to_wstring(level);
        dir.Folder(path);
        c->AddToExpandedFolderString(dir.Path() + path);
      }
    } else {
      dir.File(longName, 10);
      dir.File(L"short.txt", 10);
      store->byName[longName] = longComment;
      store->byName[L"short.txt"] = L"short";
      c->SetPropertyStore(store);
      c->ModifyHeadings(L"mnuHeadingComments");
    }
    ASSERT_TRUE(c->GetFolderContents(dir.Path(), true));
    c->SetActiveItemNum(-1);  // no frame across the row
    DrawInBox(*c, 9000, 40 * kRow);
    const ViewState& v = c->View();
    ASSERT_EQ(v.FirstVisible, 0);
    ASSERT_EQ(v.LastVisible, c->LastShownItem());
    if (k.type == fbFolder) {
      ASSERT_EQ(c->ItemCount(), k.depth + 1);
    } else {
      const TypeListItem* item = FindItem(*c, longName);
      ASSERT_NE(item, nullptr);
      ASSERT_EQ(item->Comments(), longComment);
    }

    int columns = 0;
    for (int slot = 1; slot <= 9; ++slot) {
      const TypeHeading& h = v.Headings.Headings[static_cast<std::size_t>(slot)];
      if (!h.Active) continue;
      ++columns;
      SCOPED_TRACE(testing::Message() << "column " << std::string(h.Key.begin(), h.Key.end()));
      const int cellEnd = Px(h.Right - v.EdgeGap), nextText = Px(h.Right + 50 - v.EdgeGap);
      ASSERT_GT(nextText - 1, cellEnd);
      EXPECT_EQ(StripeInk(*c, cellEnd, nextText - 1, 0, c->LastShownItem()), 0);
    }
    EXPECT_GE(columns, 3);

    // The cut texts still fill their columns up to the edge, and the next columns still show.
    const TypeHeading& name = v.Headings.Headings[1];
    const std::int32_t last = c->LastShownItem();
    const TypeListItem& deepest = c->ListItems()[static_cast<std::size_t>(last)];
    // In the tree, the name of level 22 is the first that runs up to the column's end.
    const std::int32_t row = k.type == fbFolder
                                 ? 22
                                 : static_cast<std::int32_t>(FindItem(*c, longName) - &c->ListItems()[0]);
    const int nameEnd = Px(name.Right - v.EdgeGap);
    EXPECT_GT(StripeInk(*c, nameEnd - 12, nameEnd, row, row), 0);
    const TypeHeading& date = v.Headings.Headings[2];
    ASSERT_EQ(date.Key, L"sDateLastModified");
    EXPECT_GT(StripeInk(*c, Px(date.Left + 50 - v.EdgeGap), Px(date.Right - v.EdgeGap), row, row), 20);
    if (k.type == fbFolder) {
      // The deepest folder's own indent lies past the name column: nothing of it shows
      // beyond the column, not even its tree lines.
      ASSERT_GT(deepest.DrawLeft - 250, name.Right - v.EdgeGap);
    }
  }
}

// ---------------------------------------------------------------------------------------------
// List mode

TEST(Drawing, ListModeRunsItemsDownColumnsAndStopsAtTheLastShownItem) {
  struct Case {
    ListType type;
    int folders;
  } cases[] = {{fbFileAndFolder, 2}, {fbFile, 2}, {fbFileAndFolder, 0}};
  for (const Case& k : cases) {
    SCOPED_TRACE(testing::Message() << "type " << k.type << ", " << k.folders << " folders");
    TempFolder dir;
    for (int i = 0; i < k.folders; ++i) dir.Folder(L"dir" + std::to_wstring(i));
    for (int i = 0; i < 40; ++i) dir.File(L"name" + std::to_wstring(100 + i) + L".txt");
    ControlHolder c(k.type);
    c->LoadSetup();
    c->ListMode = listNamesIconsSmall;
    ASSERT_TRUE(c->GetFolderContents(dir.Path(), true));
    ViewState& v = c->View();
    const std::int32_t column = v.Headings.NameColumnMaxWidth;
    // 6 rows per column, room for 2 columns.
    DrawInBox(*c, v.Headings.Headings[0].Width + 2 * column + column / 3, 6 * kRow + 100);
    ASSERT_EQ(v.VisibleRows, 6);
    ASSERT_EQ(v.VisibleColumns, 2);
    const std::int32_t skipped = k.type == fbFile ? k.folders : 0;
    EXPECT_EQ(v.FirstVisible, skipped);
    EXPECT_EQ(v.LastVisible, 3 * 6 + skipped);  // the visible columns and one more, inclusive
    for (std::int32_t i = v.FirstVisible; i <= v.LastVisible; ++i) {
      const TypeListItem& item = c->ListItems()[static_cast<std::size_t>(i)];
      const std::int32_t n = i - skipped, col = n / 6, row = n % 6;
      const std::int32_t indent = item.Level * 150 + 300 + column * col;
      EXPECT_EQ(item.RowTop, row * kRow) << i;
      EXPECT_EQ(item.DrawLeft, indent) << i;
      EXPECT_EQ(item.DrawRight, indent - 250 + column) << i;
      EXPECT_EQ(item.DrawBottom, row * kRow) << i;
      if (col < 2) {
        const Ink ink = InkIn(*c, Px(indent + 200), Py(row * kRow), Px(indent + 200) + 20,
                              Py(row * kRow + kRow), v.Skin.ListText);
        EXPECT_GT(ink.shade, 10) << i;
      }
    }
    EXPECT_EQ(v.ColumnZones[1].Left, c->ListItems()[static_cast<std::size_t>(6 + skipped)].DrawLeft);
    EXPECT_EQ(v.ColumnZones[1].Right, v.ColumnZones[1].Left + 200);
    EXPECT_EQ(c->ListItems()[static_cast<std::size_t>(v.LastVisible + 1)].RowTop, -1);

    // The last columns: the visible ones could hold more than there is.
    const std::int32_t lastColumn = v.HScroll1.Max();
    ASSERT_GT(lastColumn, 0);
    ASSERT_TRUE(v.HScroll1.SetValue(lastColumn));
    c->HScrollHasChanged();
    EXPECT_EQ(v.FirstVisible, lastColumn * 6 + skipped);
    EXPECT_EQ(v.LastVisible, c->LastShownItem());
    EXPECT_EQ(c->ListItems()[static_cast<std::size_t>(v.FirstVisible)].RowTop, 0);
  }
}

TEST(Drawing, ListModeInAWindowShowsEveryNameWholeInItsOwnColumn) {
  TempFolder dir;
  for (const wchar_t* name : {L"Archive", L"Drafts", L"Photos 2026"}) dir.Folder(name);
  const wchar_t* files[] = {
      L"agenda.txt",     L"annual report.doc", L"backup.zip",   L"budget.xls",
      L"calendar.ics",   L"chart.bmp",         L"contacts.csv", L"diagram.bmp",
      L"invoice 17.pdf", L"letter.doc",        L"logo.ico",     L"minutes.txt",
      L"notes.txt",      L"photo.bmp",         L"plan.txt",     L"presentation.ppt",
      L"readme.txt",     L"schedule.txt",      L"setup.exe",    L"summary.doc",
      L"thumbs.db",      L"todo.txt",          L"tool.exe",     L"travel.pdf",
      L"video.avi",      L"weather.csv",       L"work.log",     L"zebra.bmp",
  };
  for (const wchar_t* f : files) dir.File(f, 1500);

  testsupport::HostWindow host(720, 330);
  ControlHolder c;
  ASSERT_TRUE(c->CreateFrame(host.Handle()));
  c->LoadSetup();
  MoveWindow(c->Window(), 4, 4, 700, 290, TRUE);
  c->ListMode = listNamesIconsSmall;
  ASSERT_TRUE(c->GetFolderContents(dir.Path(), true));
  c->ResizeControl(vertical);
  const ViewState& v = c->View();
  ASSERT_EQ(c->ItemCount(), 31);
  ASSERT_GE(v.VisibleRows, 2);
  ASSERT_GE(v.VisibleColumns, 2);
  testsupport::ScreenPixels screen(v.FolderBox.Handle());
  const COLORREF back = v.Skin.ListBackground;
  auto inkColumns = [&](int x0, int x1, int y0, int y1, int& first, int& last) {
    first = last = -1;
    for (int x = std::max(0, x0); x < std::min(x1, screen.Width()); ++x)
      for (int y = y0; y < y1; ++y)
        if (screen.At(x, y) != back) {
          if (first < 0) first = x;
          last = x;
          break;
        }
  };

  // Every item the columns can show is on the screen: its icon, then its whole name, which
  // ends before the next column starts.
  const std::int32_t shown = std::min<std::int32_t>(v.VisibleColumns * v.VisibleRows, 31);
  for (std::int32_t i = 0; i < shown; ++i) {
    const TypeListItem& item = c->ListItems()[static_cast<std::size_t>(i)];
    SCOPED_TRACE(testing::Message() << "item " << i << " " << std::string(item.Name.begin(), item.Name.end()));
    const int y0 = Py(item.RowTop), y1 = Py(item.RowTop + kRow);
    const int cellLeft = Px(item.DrawLeft - 250), cellRight = Px(item.DrawRight);
    int first = -1, last = -1;
    inkColumns(cellLeft, cellLeft + 16, y0, y1, first, last);
    EXPECT_GE(first, 0) << "no icon";
    // The name, whole: its ink inside the cell is as wide as the name is, but for the side
    // bearings of its first and last letters.
    inkColumns(Px(item.DrawLeft + 200) - 1, cellRight, y0, y1, first, last);
    ASSERT_GE(first, 0) << "no name";
    EXPECT_NEAR(last - first + 1, TextPixels(*c, item.Name), 3);
    EXPECT_LT(last, cellRight - 1) << "the name reaches the next column";
    // Rows follow one another without overlapping.
    if (item.RowTop > 0) {
      EXPECT_EQ(item.RowTop, c->ListItems()[static_cast<std::size_t>(i - 1)].RowTop + kRow);
    }
  }
  EXPECT_TRUE(c.host.Messages().empty());
  EXPECT_TRUE(testsupport::SaveWindowPicture(host.Handle(),
                                             testsupport::ScreenshotPath(L"listing-list-mode.bmp")));
}

// While a folder is summed its Size cell says "calculating...", right-aligned like a size; the
// total takes its place.
TEST(Drawing, SizeCellShowsCalculatingThenTheTotal) {
  TempFolder dir;
  dir.File(L"first\\a.bin", 11);
  dir.File(L"first\\b.bin", 11);
  ControlHolder c;
  c->LoadSetup();
  ASSERT_TRUE(c->GetFolderContents(dir.Path(), true));
  DrawInBox(*c, 9000, 3000);
  const TypeHeading* size = nullptr;
  for (const TypeHeading& h : c->View().Headings.Headings)
    if (h.Active && h.Key == L"sSize") size = &h;
  ASSERT_NE(size, nullptr);
  const std::int32_t edge = c->View().EdgeGap;
  const int x0 = Px(size->Left - edge), x1 = Px(size->Right - edge);
  const int y0 = Py(c->ListItems()[0].RowTop), y1 = Py(c->ListItems()[0].RowTop + kRow);
  // The columns the cell's text covers, from its leftmost to its rightmost ink.
  auto inkColumns = [&](int& left, int& right) {
    left = x1;
    right = x0 - 1;
    for (int x = x0; x < x1; ++x)
      for (int y = y0; y < y1; ++y)
        if (FrontPixel(*c, x, y) != c->View().Skin.ListBackground) {
          left = std::min(left, x);
          right = std::max(right, x);
        }
  };
  int duringLeft = 0, duringRight = 0;
  tk::SetYieldHook([&](unsigned long n) {
    if (n == 1) inkColumns(duringLeft, duringRight);
  });
  c->CalculateFolderSize();
  tk::SetYieldHook(nullptr);
  ASSERT_EQ(c->ListItems()[0].SizeText(), L"22");
  int afterLeft = 0, afterRight = 0;
  inkColumns(afterLeft, afterRight);
  const int calculating = std::min(TextPixels(*c, L"calculating..."), x1 - x0);
  EXPECT_GE(duringRight - duringLeft + 1, calculating - 4);
  EXPECT_LE(afterRight - afterLeft + 1, TextPixels(*c, L"22") + 2);
  EXPECT_NEAR(afterRight, duringRight, 2);  // both end at the column's right edge
}

}  // namespace
