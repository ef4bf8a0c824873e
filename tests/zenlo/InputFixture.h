#pragma once
// A listing or tree sited in a real window, driven by mouse and key messages posted to its
// listing box at points given in the listing's twips (scroll included).
#include <windows.h>

#include <string>
#include <vector>

#include "listing/view/ViewState.h"
#include "support/ControlFixture.h"
#include "support/HostWindow.h"
#include "support/TempFolder.h"
#include "toolkit/Window.h"

namespace inputtests {

inline void Pump() {
  MSG m;
  while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&m);
    DispatchMessageW(&m);
  }
}

struct Sited {
  testsupport::TempFolder dir;
  testsupport::HostWindow window{700, 500};
  testsupport::ControlHolder c;
  std::vector<std::wstring> opened;  // what double clicks opened: path|show|folder

  explicit Sited(zenlo::ListType type, int heightPx = 400) : c(type) {
    // A tree re-reads its place when a folder opens: bookmark 1 is the temporary folder.
    c.host.Bookmarks[0] = dir.Path();
    c->SetCurrentDrive(L"0");
    c->CreateFrame(window.Handle());
    MoveWindow(c->Window(), 0, 0, 600, heightPx, TRUE);
    c->LoadSetup();
    c->SetFileOpener([this](const std::wstring& path, std::int32_t show,
                            const std::wstring& folder, HWND) {
      opened.push_back(path + L"|" + std::to_wstring(show) + L"|" + folder);
    });
  }
  void Read() {
    c->GetFolderContents(dir.Path(), true);
    c->ResizeControl(zenlo::vertical);
    c->ResetStartItem();
    Pump();
  }
  HWND Box() const { return c->View().FolderBox.Handle(); }
  std::int32_t Index(const std::wstring& name) const {
    for (std::int32_t i = 0; i < c->ItemCount(); ++i)
      if (c->ListItems()[static_cast<std::size_t>(i)].Name == name) return i;
    return -1;
  }
  std::vector<std::int32_t> Marked() const {
    std::vector<std::int32_t> marked;
    for (std::int32_t i = 0; i <= c->LastShownItem(); ++i)
      if (c->ListItems()[static_cast<std::size_t>(i)].Selected == 1) marked.push_back(i);
    return marked;
  }
  // Points of item i: its marking zone, its name, the middle of its row.
  float ZoneX(std::int32_t i) const {
    const auto& item = c->ListItems()[static_cast<std::size_t>(i)];
    if (c->ltFolderListType == zenlo::fbFolder) return static_cast<float>(item.IndentX + 100);
    return static_cast<float>(item.DrawLeft + 100);
  }
  float NameX(std::int32_t i) const {
    // Inside the item's own cell: a narrow list-mode column ends sooner than the name's usual spot.
    const float x = ZoneX(i) + 700;
    const auto right = static_cast<float>(c->ListItems()[static_cast<std::size_t>(i)].DrawRight);
    return right > ZoneX(i) + 400 && x > right - 100 ? right - 100 : x;
  }
  float ExpanderX(std::int32_t i) const {
    return static_cast<float>(c->ListItems()[static_cast<std::size_t>(i)].IndentX - 325);
  }
  float RowY(std::int32_t i) const {
    return static_cast<float>(c->ListItems()[static_cast<std::size_t>(i)].DrawBottom + 130);
  }
  void Post(UINT msg, WPARAM keys, float x, float y) const {
    const int px = static_cast<int>(x) / tk::TwipsPerPixelX();
    const int py = static_cast<int>(y - static_cast<float>(c->View().FolderBoxScaleTop)) /
                   tk::TwipsPerPixelY();
    PostMessageW(Box(), msg, keys, MAKELPARAM(px, py));
  }
  void Move(float x, float y, WPARAM keys = 0) const {
    Post(WM_MOUSEMOVE, keys, x, y);
    Pump();
  }
  void Click(float x, float y, WPARAM keys = 0) const {
    Post(WM_LBUTTONDOWN, keys | MK_LBUTTON, x, y);
    Post(WM_LBUTTONUP, keys, x, y);
    Pump();
  }
  void DoubleClick(float x, float y, WPARAM keys = 0) const {
    Post(WM_LBUTTONDOWN, keys | MK_LBUTTON, x, y);
    Post(WM_LBUTTONUP, keys, x, y);
    Post(WM_LBUTTONDBLCLK, keys | MK_LBUTTON, x, y);
    Post(WM_LBUTTONUP, keys, x, y);
    Pump();
  }
  void RightClick(float x, float y, WPARAM keys = 0) const {
    Post(WM_RBUTTONDOWN, keys | MK_RBUTTON, x, y);
    Post(WM_RBUTTONUP, keys, x, y);
    Pump();
  }
  // The texts of the events named `name` recorded from `from` on.
  std::vector<std::wstring> Events(const std::wstring& name, std::size_t from = 0) const {
    std::vector<std::wstring> texts;
    for (std::size_t i = from; i < c.host.Events.size(); ++i)
      if (c.host.Events[i].Name == name) texts.push_back(c.host.Events[i].Text);
    return texts;
  }
};

}  // namespace inputtests
