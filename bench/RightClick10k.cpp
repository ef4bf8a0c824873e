// bench rightclick10k: a right click on the first of 10,000 marked files of a 100,000-file
// listing until its menu is ready to show (the pop-up seam is asked and dismisses it), on the
// real lists in the main window, against the shell's own part for the same items:
// GetUIObjectOf(IContextMenu) and QueryContextMenu with the item ids made beforehand.
// Reports; never fails on timing. Exits non-zero only when a result is wrong.
#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "ProgramBench.h"
#include "mainwindow/Master.h"
#include "mainwindow/ZenloPaneList.h"
#include "settings/SkinFiles.h"
#include "toolkit/EventLoop.h"
#include "toolkit/PopupMenu.h"
#include "zenlo/ZenloFileControl.h"

namespace {

constexpr int kFiles = 100000;
constexpr int kMarked = 10000;
constexpr int kRounds = 3;

// The shell alone: the folder bound once, each name parsed in it (timed apart), then the menu
// object and its entries for all of them.
struct ShellReference {
  double Ids = 0, Menu = 0;
  int Entries = 0;
  bool Ok = false;
};

ShellReference MeasureShell(const std::wstring& folder, const std::vector<std::wstring>& names) {
  ShellReference r;
  IShellFolder* desktop = nullptr;
  if (FAILED(SHGetDesktopFolder(&desktop))) return r;
  LPITEMIDLIST folderId = nullptr;
  IShellFolder* parent = nullptr;
  std::vector<LPITEMIDLIST> ids;
  double t0 = bench::Seconds();
  if (SUCCEEDED(desktop->ParseDisplayName(nullptr, nullptr, const_cast<wchar_t*>(folder.c_str()),
                                          nullptr, &folderId, nullptr)) &&
      SUCCEEDED(desktop->BindToObject(folderId, nullptr, IID_IShellFolder,
                                      reinterpret_cast<void**>(&parent)))) {
    for (const auto& n : names) {
      LPITEMIDLIST id = nullptr;
      if (FAILED(parent->ParseDisplayName(nullptr, nullptr, const_cast<wchar_t*>(n.c_str()),
                                          nullptr, &id, nullptr)))
        break;
      ids.push_back(id);
    }
  }
  r.Ids = bench::Seconds() - t0;
  if (ids.size() == names.size()) {
    std::vector<LPCITEMIDLIST> children(ids.begin(), ids.end());
    t0 = bench::Seconds();
    IContextMenu* menu = nullptr;
    HMENU popup = CreatePopupMenu();
    if (SUCCEEDED(parent->GetUIObjectOf(nullptr, static_cast<UINT>(children.size()),
                                        children.data(), IID_IContextMenu, nullptr,
                                        reinterpret_cast<void**>(&menu))) &&
        SUCCEEDED(menu->QueryContextMenu(popup, 0, 1, 0x6FFF, CMF_EXPLORE))) {
      r.Menu = bench::Seconds() - t0;
      r.Entries = GetMenuItemCount(popup);
      r.Ok = r.Entries > 0;
    }
    if (menu) menu->Release();
    DestroyMenu(popup);
  }
  for (LPITEMIDLIST id : ids) CoTaskMemFree(id);
  CoTaskMemFree(folderId);
  if (parent) parent->Release();
  desktop->Release();
  return r;
}

int Run() {
  const std::wstring data = bench::Flat100kFolder();
  if (data.empty()) return 1;
  OleInitialize(nullptr);
  varnello::ZenloPaneListFactory factory(bench::ExeFolder());
  if (!bench::LibraryFound(factory)) return 1;
  const bench::ProgramFolder folder(L"varnello-rightclick10k");
  const std::wstring& program = folder.Path();
  int status = 0;
  {
    varnello::Master master(program, factory);
    if (!bench::StartMaster(master)) return 1;
    varnello::PaneList* listing = master.List(100);
    listing->GetFolderContents(data, true);
    // The bench marks through the control's own members, as a Shift range does.
    auto* control = const_cast<zenlo::ZenloFileControl*>(listing->Control());
    if (listing->ShownItemCount() != kFiles || !control) {
      std::printf("error: the pane listed %d items, expected %d\n", listing->ShownItemCount(),
                  kFiles);
      status = 1;
    } else {
      control->AddArrowToItem(0, 1);
      control->AddArrowToRange(kMarked - 1, 0);
      const std::vector<std::wstring> marked = listing->MarkedItems();
      std::vector<std::wstring> names;
      for (const auto& p : marked) names.push_back(p.substr(p.find_last_of(L'\\') + 1));
      if (static_cast<int>(marked.size()) != kMarked) {
        std::printf("error: %d items marked, expected %d\n", static_cast<int>(marked.size()),
                    kMarked);
        status = 1;
      }
      master.List_SetLockedIndex(100);
      double menuAt = 0;
      int menus = 0, entries = 0;
      tk::SetPopupMenuSeam([&](const tk::PopupMenuRequest& r) -> UINT {
        menuAt = bench::Seconds();
        ++menus;
        entries = GetMenuItemCount(r.Menu);
        return 0;
      });
      double ours = 1e300;
      ShellReference shell;
      double shellMenu = 1e300, shellIds = 1e300;
      for (int round = 0; round < kRounds && status == 0; ++round) {
        std::wstring folder = data + L"\\", parent, item = marked[0], name = names[0];
        const int before = menus;
        const double t0 = bench::Seconds();
        master.List_FBRightClick(100, 2, 0, 300, 300, folder, parent, item, name, false,
                                 zenlo::sFile);
        if (menus != before + 1) {
          std::printf("error: the right click showed no menu\n");
          status = 1;
          break;
        }
        ours = std::min(ours, menuAt - t0);
        if (static_cast<int>(listing->MarkedItems().size()) != kMarked) {
          std::printf("error: the right click changed the marks\n");
          status = 1;
        }
        tk::PumpPendingMessages();
        shell = MeasureShell(data, names);
        if (!shell.Ok) {
          std::printf("error: the shell gave no menu for the items\n");
          status = 1;
          break;
        }
        shellMenu = std::min(shellMenu, shell.Menu);
        shellIds = std::min(shellIds, shell.Ids);
      }
      tk::SetPopupMenuSeam(nullptr);
      // Parts of our time, for the report: the marked items handed out by the listing and one
      // attribute read of each (what the item ids are made from).
      double collect = bench::Seconds();
      listing->SetLastListItem(0);
      int handed = 0;
      while (listing->GetFileSpecsExternal() != L"end") ++handed;
      collect = bench::Seconds() - collect;
      double attributes = bench::Seconds();
      for (const auto& p : marked) {
        WIN32_FILE_ATTRIBUTE_DATA a;
        GetFileAttributesExW(p.c_str(), GetFileExInfoStandard, &a);
      }
      attributes = bench::Seconds() - attributes;
      if (status == 0) {
        std::printf("of which: the listing handing out %d marked items %.1f ms, reading their "
                    "attributes %.1f ms\n",
                    handed, 1000 * collect, 1000 * attributes);
        std::printf("right click to menu ready, %d of %d files marked, best: %.1f ms over %d "
                    "(%d entries)\n",
                    kMarked, kFiles, 1000 * ours, kRounds, entries);
        std::printf("shell alone, GetUIObjectOf + QueryContextMenu best: %.1f ms (%d entries)\n",
                    1000 * shellMenu, shell.Entries);
        std::printf("shell alone, making the %d item ids (not in the reference) best: %.1f ms\n",
                    kMarked, 1000 * shellIds);
        std::printf("against the shell making its ids as well: ratio %.3f\n",
                    ours / (shellMenu + shellIds));
        std::printf("bench rightclick10k ratio=%.3f more=%.1f\n", ours / shellMenu, 1000 * ours);
      }
    }
    master.RequestClose();
  }
  std::fflush(stdout);
  OleUninitialize();
  return status;
}

}  // namespace

int main() { return Run(); }
