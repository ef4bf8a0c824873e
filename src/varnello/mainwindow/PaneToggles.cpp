// Settings and commands that reach every pane pair at once, and the heading menu that
// follows the clicked list's columns.
#include "commands/MainMenu.h"
#include "mainwindow/Master.h"

namespace varnello {

namespace {

// Both lists of every loaded pair, hidden panes included, tree first within a pair.
template <typename F>
void ForLoadedLists(const Master& m, F&& f) {
  for (short i = 0; i < kPaneCount; ++i) {
    if (!m.Panes[i].Loaded) continue;
    if (PaneList* l = m.List(i)) f(*l);
    if (PaneList* l = m.List(static_cast<short>(i + 100))) f(*l);
  }
}

}  // namespace

void Master::MouseLocked(bool locked) {
  ForLoadedLists(*this, [&](PaneList& l) { l.SetMouseLocked(locked); });
}

void Master::HiddenShowHide() {
  const bool show = !MenuChecked(menu_, mnuHidden);
  SetMenuCheck(menu_, mnuHidden, show);
  Options.ShowHidden = show;
  // Hidden panes take the flag too and show it at their next read.
  for (short i = 0; i < kPaneCount; ++i) {
    if (!Panes[i].Loaded) continue;
    PaneList* lists[2] = {List(i), List(static_cast<short>(i + 100))};
    for (PaneList* l : lists)
      if (l) l->SetShowHiddenItems(show);
    if (Panes[i].Status != 0) continue;
    for (PaneList* l : lists)
      if (l) l->RefreshList();
  }
}

void Master::SystemShowHide() {
  const bool show = !MenuChecked(menu_, mnuSystem);
  SetMenuCheck(menu_, mnuSystem, show);
  Options.ShowSystem = show;
  for (short i = 0; i < kPaneCount; ++i) {
    if (!Panes[i].Loaded) continue;
    PaneList* lists[2] = {List(i), List(static_cast<short>(i + 100))};
    for (PaneList* l : lists)
      if (l) l->SetShowSystemItems(show);
    if (Panes[i].Status != 0) continue;
    for (PaneList* l : lists)
      if (l) l->RefreshList();
  }
}

void Master::WatchStopPanes() {
  ForLoadedLists(*this, [](PaneList& l) { l.WatchStop(); });
}

void Master::WatchStartPanes() {
  ForLoadedLists(*this, [](PaneList& l) { l.WatchStart(); });
}

void Master::WatchResumePanesAll() {
  ForLoadedLists(*this, [](PaneList& l) { l.WatchResume(); });
}

void Master::WatchResumePanes(std::optional<short> indexLower, std::optional<short> indexUpper) {
  for (const short base : {short{0}, short{100}}) {
    const std::optional<short>& skip = base == 0 ? indexLower : indexUpper;
    for (short i = 0; i < kPaneCount; ++i) {
      const short n = static_cast<short>(base + i);
      if (!Panes[i].Loaded || Panes[i].Status != 0 || skip == n) continue;
      if (PaneList* l = List(n)) l->WatchResume();
    }
  }
}

void Master::TestSound() {
  try {
    for (short i = 0; i < kPaneCount; ++i) {
      if (!Panes[i].Loaded) continue;
      if (PaneList* l = List(i)) l->TestSound();
      return;
    }
  } catch (...) {
    std::wstring text = L"There was an error while testing the chime.";
    Message(text, 0, L"");
  }
}

void Master::SyncHeadingMenus() {
  PaneList* clicked = List(Options.ClickedPane);
  if (!clicked) return;
  static const std::pair<UINT, const wchar_t*> kColumns[] = {
      {mnuHeadingAttributes, L"Attributes"},
      {mnuHeadingComments, L"Comments"},
      {mnuHeadingDateLastAccessed, L"DateLastAccessed"},
      {mnuHeadingDateCreated, L"DateCreated"},
      {mnuHeadingDateLastModified, L"DateLastModified"},
      {mnuHeadingExtension, L"Extension"},
      {mnuHeadingSize, L"Size"},
      {mnuHeadingFileType, L"FileType"},
  };
  for (const auto& [item, column] : kColumns)
    SetMenuCheck(menu_, item, clicked->GetHeadingValue(column));
}

}  // namespace varnello
