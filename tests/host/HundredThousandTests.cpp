// A folder of 100,000 awkward names (made natively by make-odd-names): what a host reads of it
// must be every name exactly once, with its own size, in the order the host asks for.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <unordered_set>
#include <vector>

#include "HostKit.h"

namespace {

using hostkit::Host;
using zenlo::ZenloFileControl;

const wchar_t* const kForms[] = {L"\u00fc%06d ", L" %06d.\U0001F600", L"%06d.",
                                 L"..%06d.txt",  L"\u540d%06d..",      L"\U0001F600%06d"};

std::wstring NameOf(int i) {
  wchar_t buffer[64];
  swprintf(buffer, 64, kForms[i % 6], i);
  return buffer;
}

std::wstring DataFolder() {
  const wchar_t* root = _wgetenv(L"ZENLO_HOST_DATA");
  if (!root || !*root) return {};
  return std::wstring(root) + L"\\odd100k\\";
}

TEST(HundredThousand, EveryNameOnceSortedFilteredMarkedSizedAndAsATree) {
  const std::wstring folder = DataFolder();
  if (folder.empty() || !hostkit::Exists(folder)) GTEST_SKIP() << "make-odd-names has not run";
  HWND window = hostkit::MakeHostWindow();
  Host host;
  ZenloFileControl* list = hostkit::SetUpControl(window, host, zenlo::fbFileAndFolder);
  ASSERT_NE(list, nullptr);
  list->ShowHiddenItems = true;  // Wine marks the names that begin with a dot hidden

  ASSERT_TRUE(list->GetFolderContents(folder, true));
  ASSERT_EQ(list->ItemCount(), 100000);
  EXPECT_EQ(list->FoldersShown(), 1000);
  EXPECT_EQ(list->FilesShown(), 99000);
  std::unordered_set<std::wstring> seen;
  for (std::int32_t i = 0; i < list->ItemCount(); ++i) {
    const zenlo::TypeListItem& item = list->ListItems()[static_cast<std::size_t>(i)];
    ASSERT_EQ(item.FullPath, folder + item.Name);
    seen.insert(item.Name);
  }
  for (int i = 0; i < 100000; ++i) ASSERT_EQ(seen.count(NameOf(i)), 1u) << i;

  // Sizes are the entries' numbers: sorting by size gives the files in number order.
  list->SetSortOrder(0, L"sSize", L"asc");
  list->SortList(true);
  int expected = 1;
  for (std::int32_t i = 1000; i < 100000; ++i, ++expected) {
    if (expected % 100 == 0) ++expected;
    const zenlo::TypeListItem& item = list->ListItems()[static_cast<std::size_t>(i)];
    ASSERT_EQ(item.Name, NameOf(expected)) << "row " << i;
    ASSERT_EQ(item.Size(), static_cast<std::uint64_t>(expected));
  }
  list->SetSortOrder(0, L"sSize", L"des");
  list->SortList(true);
  EXPECT_EQ(list->ListItems()[1000].Name, NameOf(99999));
  EXPECT_EQ(list->ListItems()[99999].Name, NameOf(1));

  // A pattern typed in the filter box: the names ending in a dot (forms 2 and 4).
  HWND box = hostkit::FilterBox(*list);
  ASSERT_NE(box, nullptr);
  hostkit::TypeIntoFilterBox(box, L"*.");
  EXPECT_EQ(list->FoldersShown() + list->FilesShown(), 2 * 100000 / 6);
  for (std::int32_t i = 0; i <= list->LastShownItem(); ++i)
    ASSERT_EQ(list->ListItems()[static_cast<std::size_t>(i)].Name.back(), L'.');
  hostkit::TypeIntoFilterBox(box, L"All");
  EXPECT_EQ(list->LastShownItem(), 99999);

  // Every item marked: the list handed out holds each path once.
  list->SelectAll(L"all");
  EXPECT_EQ(list->GetFileSpecs(), L"1000 folders 99000 files");
  std::size_t paths = 0;
  for (std::size_t at = 0; at + 1 < list->FileSpecs.size(); at = list->FileSpecs.find(L'\0', at) + 1)
    ++paths;
  EXPECT_EQ(paths, 100000u);

  // The folders' sizes: all empty.
  list->CalculateFolderSize();
  for (std::int32_t i = 0; i < list->FoldersShown(); ++i)
    ASSERT_EQ(list->ListItems()[static_cast<std::size_t>(i)].SizeText(), L"0") << i;

  // The same folder as a tree: its root and its thousand folders.
  Host treeHost;
  treeHost.Bookmark = folder;
  ZenloFileControl* tree = hostkit::SetUpControl(window, treeHost, zenlo::fbFolder);
  ASSERT_NE(tree, nullptr);
  tree->ShowHiddenItems = true;
  std::wstring key = L"0";
  tree->SetFolder(key);
  EXPECT_EQ(tree->ItemCount(), 1001);
  for (std::int32_t i = 1; i < tree->ItemCount(); ++i) {
    const zenlo::TypeListItem& item = tree->ListItems()[static_cast<std::size_t>(i)];
    ASSERT_EQ(item.FullPath, folder + item.Name);
    ASSERT_EQ(item.FolderStatus, zenlo::sNoSubFolders);
  }

  EXPECT_TRUE(host.Messages.empty());
  EXPECT_TRUE(treeHost.Messages.empty());
  tree->Release();
  list->Release();
  DestroyWindow(window);
}

}  // namespace
