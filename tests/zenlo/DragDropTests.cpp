// Drag and drop: file lists dropped on a listing's rows and beside them (through its drop
// targets, as the drag loop calls them), the paste's destination, the marks a drag or a copy
// takes, and a real drag from one listing to another driven by the mouse.
#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>

#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "listing/view/FileDrop.h"
#include "listing/view/PointerState.h"
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

std::string Narrow(const std::wstring& w) {
  std::string s;
  for (wchar_t c : w) s += c == L'\0' ? '|' : static_cast<char>(c < 128 ? c : '?');
  return s;
}

std::wstring DoubleNulList(const std::vector<std::wstring>& paths) {
  std::wstring list;
  for (const auto& p : paths) {
    list += p;
    list += L'\0';
  }
  list += L'\0';
  return list;
}

void Mark(ZenloFileControl& c, std::initializer_list<int> items) {
  for (int i : items) ASSERT_TRUE(c.AddArrowToItem(i, 1)) << i;
}

std::vector<int> Marked(const ZenloFileControl& c) {
  std::vector<int> marked;
  for (int i = 0; i <= c.LastShownItem(); ++i)
    if (c.ListItems()[static_cast<std::size_t>(i)].Selected == 1) marked.push_back(i);
  return marked;
}

int IndexOf(const ZenloFileControl& c, const std::wstring& name) {
  for (int i = 0; i <= c.LastShownItem(); ++i)
    if (c.ListItems()[static_cast<std::size_t>(i)].Name == name) return i;
  return -1;
}

// The data object the shell itself makes for files of one folder, as another program drags.
ComRef<IDataObject> ShellFileList(const std::wstring& folder,
                                  const std::vector<std::wstring>& names) {
  ComRef<IShellFolder> desktop;
  if (FAILED(SHGetDesktopFolder(desktop.Put()))) return {};
  PIDLIST_RELATIVE folderId = nullptr;
  std::wstring path = folder;
  if (FAILED(desktop->ParseDisplayName(nullptr, nullptr, path.data(), nullptr, &folderId, nullptr)))
    return {};
  ComRef<IShellFolder> shellFolder;
  const HRESULT bound = desktop->BindToObject(folderId, nullptr, IID_IShellFolder,
                                              reinterpret_cast<void**>(shellFolder.Put()));
  CoTaskMemFree(folderId);
  if (FAILED(bound)) return {};
  std::vector<PITEMID_CHILD> children;
  for (auto name : names) {
    PIDLIST_RELATIVE child = nullptr;
    if (SUCCEEDED(
            shellFolder->ParseDisplayName(nullptr, nullptr, name.data(), nullptr, &child, nullptr)))
      children.push_back(reinterpret_cast<PITEMID_CHILD>(child));
  }
  ComRef<IDataObject> data;
  if (children.size() == names.size())
    shellFolder->GetUIObjectOf(nullptr, static_cast<UINT>(children.size()),
                               const_cast<PCUITEMID_CHILD_ARRAY>(children.data()), IID_IDataObject,
                               nullptr, reinterpret_cast<void**>(data.Put()));
  for (auto child : children) CoTaskMemFree(child);
  return data;
}

// Data another program drags that is no file list: text only.
class TextOnlyData final : public IDataObject {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDataObject)) {
      *ppv = this;
      AddRef();
      return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
  ULONG STDMETHODCALLTYPE Release() override { return --refs; }  // lives on the test's stack
  HRESULT STDMETHODCALLTYPE GetData(FORMATETC* f, STGMEDIUM* m) override {
    if (f->cfFormat != CF_UNICODETEXT) return DV_E_FORMATETC;
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, 2 * sizeof(wchar_t));
    auto* text = static_cast<wchar_t*>(GlobalLock(h));
    text[0] = L'x';
    text[1] = 0;
    GlobalUnlock(h);
    m->tymed = TYMED_HGLOBAL;
    m->hGlobal = h;
    m->pUnkForRelease = nullptr;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* f) override {
    return f->cfFormat == CF_UNICODETEXT ? S_OK : DV_E_FORMATETC;
  }
  HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }
  ULONG refs = 1;
};

struct Paste {
  std::wstring source, text, operation, destination;
  bool droppedOnActive = false;
};

// A listing on the screen whose host records each paste with the destination it would ask for.
struct ShownListing {
  std::unique_ptr<testsupport::HostWindow> window;  // its own, unless it is placed in another
  ControlHolder c;
  std::vector<Paste> pastes;

  ShownListing(ListType type, HWND parent, int x, int width, int height) : c(type) {
    if (!parent) {
      window = std::make_unique<testsupport::HostWindow>(x + width + 40, height + 60);
      parent = window->Handle();
    }
    c->CreateFrame(parent);
    MoveWindow(c->Window(), x, 0, width, height, TRUE);
    c->LoadSetup();
    c.host.OnPasteItems = [this](const std::wstring& s, const std::wstring& t,
                                 const std::wstring& o) {
      pastes.push_back({s, t, o, c->DropDestination(), c->DroppedOnActiveItem});
    };
  }
  void Read(const std::wstring& folder) {
    c->GetFolderContents(folder, true);
    c->ResizeControl(vertical);
  }
  // A point on item i's name (dx twips right of its left edge), on the screen.
  POINTL OnItem(int i, int dx = 400) const {
    const ViewState& v = c->View();
    const TypeListItem& item = c->ListItems()[static_cast<std::size_t>(i)];
    return OnBox(item.DrawLeft + dx, item.DrawBottom + v.RowHeight / 2);
  }
  // A point given in the rows' twips (scrolled rows included), on the screen.
  POINTL OnBox(int xTwips, int yTwips) const {
    const ViewState& v = c->View();
    POINT p{tk::TwipsToPixels(xTwips, tk::TwipsPerPixelX()),
            tk::TwipsToPixels(yTwips - v.FolderBoxScaleTop, tk::TwipsPerPixelY())};
    ClientToScreen(v.FolderBox.Handle(), &p);
    return {p.x, p.y};
  }
  // A point of the area around the rows that the rows do not cover, on the screen.
  POINTL BelowRows() const {
    const ViewState& v = c->View();
    RECT box, rows;
    GetWindowRect(v.BoundBox.Handle(), &box);
    GetWindowRect(v.FolderBox.Handle(), &rows);
    EXPECT_LT(rows.bottom + 5, box.bottom) << "the rows fill the box";
    return {box.left + 40, (rows.bottom + box.bottom) / 2};
  }
};

// Drags `data` over the target to `pt` and drops it there, as the drag loop does.
struct DragResult {
  DWORD enter = 0, over = 0, drop = 0;
};
// `keys` are the keys held besides the left button (MK_SHIFT, MK_CONTROL).
DragResult DropOn(IDropTarget* target, IDataObject* data, POINTL pt,
                  DWORD allowed = DROPEFFECT_COPY | DROPEFFECT_MOVE, DWORD keys = 0) {
  DragResult r;
  r.enter = allowed;
  target->DragEnter(data, MK_LBUTTON | keys, pt, &r.enter);
  r.over = allowed;
  target->DragOver(MK_LBUTTON | keys, pt, &r.over);
  r.drop = allowed;
  target->Drop(data, keys, pt, &r.drop);
  return r;
}

// Two sub-folders and files around them; enough items for three columns in list mode.
struct DropFixture {
  TempFolder target, source;
  std::wstring report, notes;
  DropFixture() {
    target.Folder(L"alpha");
    target.Folder(L"beta");
    for (int i = 0; i < 24; ++i) target.File(L"file" + std::to_wstring(10 + i) + L".txt");
    report = source.File(L"report.txt", 10);
    notes = source.File(L"notes.txt", 10);
  }
};

TEST(DragDrop, AFileListDropsWhereThePointerIs) {
  DropFixture f;
  enum Where { FolderItem, FileItem, BelowTheLastRow, AroundTheRows, RightOfTheColumns };
  struct Case {
    const char* name;
    EnumListMode mode;
    Where where;
    const wchar_t* item;  // the item pointed at, when one is
    std::vector<std::wstring> dropped;
    int scrolledTo = 0;  // details: the first row shown
    ListType type = fbFileAndFolder;
  } cases[] = {
      {"details, on a folder", listDetails, FolderItem, L"beta", {L"report.txt", L"notes.txt"}},
      {"details, on a file", listDetails, FileItem, L"file12.txt", {L"report.txt"}},
      {"details scrolled, on a file", listDetails, FileItem, L"file25.txt", {L"report.txt"}, 12},
      // Its folders are not shown: the rows start at the first file.
      {"files only, on a file", listDetails, FileItem, L"file11.txt", {L"notes.txt"}, 0, fbFile},
      {"files only in list mode, on a file", listNamesIconsSmall, FileItem, L"file30.txt",
       {L"notes.txt"}, 0, fbFile},
      {"details, below the last row", listDetails, BelowTheLastRow, nullptr, {L"notes.txt"}},
      {"details, around the rows",
       listDetails,
       AroundTheRows,
       nullptr,
       {L"report.txt", L"notes.txt"}},
      {"list, on a folder", listNamesIconsSmall, FolderItem, L"alpha", {L"report.txt"}},
      {"list, on a file in another column",
       listNamesIconsSmall,
       FileItem,
       L"file30.txt",
       {L"report.txt", L"notes.txt"}},
      {"list, right of the last column",
       listNamesIconsSmall,
       RightOfTheColumns,
       nullptr,
       {L"notes.txt"}},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    const bool details = k.mode == listDetails;
    // Details: fewer rows than the box holds, so there is room below them.
    ShownListing l(k.type, nullptr, 0, 560, details && !k.scrolledTo ? 620 : 300);
    l.c->ListMode = k.mode;
    l.Read(f.target.Path());
    if (!details) l.c->ChangeListMode(k.mode);
    ViewState& v = l.c->View();
    if (k.scrolledTo) {
      v.VScroll1.SetValue(k.scrolledTo);
      l.c->VScrollHasChanged();
      ASSERT_EQ(v.FolderBoxScaleTop, k.scrolledTo * v.RowHeight);
    }
    const int pointed = k.item ? IndexOf(*l.c, k.item) : -1;
    if (k.item) {
      ASSERT_GE(pointed, 0);
    }
    if (k.where == FileItem && !details) {
      ASSERT_GE(pointed, v.VisibleRows) << "in the first column";
    }

    POINTL pt{};
    IDropTarget* target = v.Drag.FolderBoxTarget.Get();
    switch (k.where) {
      case FolderItem:
      case FileItem:
        pt = l.OnItem(pointed);
        break;
      case BelowTheLastRow:
        pt = l.OnBox(1000, (l.c->LastShownItem() + 1) * v.RowHeight + 10);
        break;
      case AroundTheRows:
        pt = l.BelowRows();
        target = v.Drag.BoundBoxTarget.Get();
        break;
      case RightOfTheColumns:
        pt = l.OnBox(v.ColumnCount * v.ColumnWidth + v.ColumnWidth / 2, 400);
        ASSERT_LT(v.ColumnCount, v.VisibleColumns) << "no room right of the columns";
        break;
    }
    ASSERT_NE(target, nullptr);
    ComRef<IDataObject> data = ShellFileList(f.source.Path(), k.dropped);
    ASSERT_TRUE(data);
    v.HoverItem = 3;  // where the pointer was before the drag came in
    const DragResult r = DropOn(target, data.Get(), pt);
    EXPECT_EQ(r.over, static_cast<DWORD>(DROPEFFECT_COPY));
    EXPECT_EQ(r.drop, static_cast<DWORD>(DROPEFFECT_COPY));
    EXPECT_EQ(v.HoverItem, pointed);

    std::vector<std::wstring> paths;
    for (const auto& name : k.dropped) paths.push_back(f.source.Path() + name);
    ASSERT_EQ(l.pastes.size(), 1u);
    const Paste& p = l.pastes[0];
    EXPECT_EQ(p.source, DoubleNulList(paths)) << Narrow(p.source);
    EXPECT_EQ(p.text,
              k.dropped.size() == 1 ? k.dropped[0] : std::to_wstring(k.dropped.size()) + L" items");
    EXPECT_EQ(p.operation, L"copy");
    // On a folder into it; on a file into the file's folder; elsewhere into the listing's own.
    std::wstring expected = f.target.Path();
    if (k.where == FolderItem) expected += k.item;
    if (k.where == FileItem) expected.pop_back();
    EXPECT_EQ(p.destination, expected) << Narrow(p.destination);
  }
}

// Other programs' lists come wide or in the code page, and a bad one must not be read past
// its end.
TEST(DragDrop, FileListBlocksAreReadWithinTheirSize) {
  auto block = [](DWORD offset, bool wide, const std::string& bytes) {
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + bytes.size());
    auto* head = static_cast<DROPFILES*>(GlobalLock(h));
    head->pFiles = offset;
    head->fWide = wide;
    memcpy(reinterpret_cast<BYTE*>(head) + sizeof(DROPFILES), bytes.data(), bytes.size());
    GlobalUnlock(h);
    return h;
  };
  auto wide = [](const std::wstring& text) {
    return std::string(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
  };
  // Names each followed by NUL; the list's closing NUL only when asked.
  auto names = [](std::initializer_list<std::wstring> list, bool closed) {
    std::wstring text;
    for (const auto& n : list) text += n + std::wstring(1, L'\0');
    if (closed) text += L'\0';
    return text;
  };
  std::string codePage = "C:\\a.txt";
  codePage += '\0';
  codePage += "b.txt";
  codePage += std::string(2, '\0');
  const DWORD start = sizeof(DROPFILES);
  struct Case {
    const char* name;
    HGLOBAL h;
    std::vector<std::wstring> names;
  } cases[] = {
      {"wide",
       block(start, true, wide(names({L"C:\\a.txt", L"D:\\b c\\"}, true))),
       {L"C:\\a.txt", L"D:\\b c\\"}},
      {"code page", block(start, false, codePage), {L"C:\\a.txt", L"b.txt"}},
      {"no names", block(start, true, wide(names({}, true))), {}},
      {"names past the end", block(start + 4096, true, wide(names({L"x"}, true))), {}},
      // 48 bytes in all, so no rounding of the block's size can end the name either.
      {"last name without an end",
       block(start, true, wide(names({L"C:\\a"}, false) + L"C:\\bcdefg")),
       {L"C:\\a"}},
  };
  for (const Case& k : cases) {
    EXPECT_EQ(ReadDropFilesBlock(k.h), k.names) << k.name;
    GlobalFree(k.h);
  }
  // What this listing makes, it reads back.
  const std::vector<std::wstring> ours{L"C:\\x\\report.txt", L"C:\\tw\u00f6.txt"};
  HGLOBAL made = MakeDropFilesBlock(ours);
  EXPECT_EQ(ReadDropFilesBlock(made), ours);
  GlobalFree(made);
}

TEST(DragDrop, DragOverFollowsThePointerAndTellsTheHost) {
  DropFixture f;
  ShownListing l(fbFolder, nullptr, 0, 560, 620);
  l.Read(f.target.Path());
  ViewState& v = l.c->View();
  const int beta = IndexOf(*l.c, L"beta");
  ASSERT_GT(beta, 0);
  l.c->SetActiveItemNum(beta);
  ComRef<IDataObject> data = ShellFileList(f.source.Path(), {L"report.txt"});
  ASSERT_TRUE(data);
  IDropTarget* rows = v.Drag.FolderBoxTarget.Get();
  IDropTarget* around = v.Drag.BoundBoxTarget.Get();

  DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
  rows->DragEnter(data.Get(), MK_LBUTTON, l.OnItem(beta), &effect);
  EXPECT_EQ(v.HoverItem, beta);
  EXPECT_TRUE(l.c->DroppedOnActiveItem);
  effect = DROPEFFECT_MOVE | DROPEFFECT_LINK;  // a source that allows no copy: no drop
  rows->DragOver(MK_LBUTTON, l.OnItem(0), &effect);
  EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
  EXPECT_EQ(v.HoverItem, 0);
  EXPECT_FALSE(l.c->DroppedOnActiveItem);
  rows->DragLeave();
  EXPECT_EQ(l.c.host.Count(L"MouseMoveBasic"), 1);  // once until the host clears SkipMoveEvent
  EXPECT_EQ(l.c.host.Count(L"SetActiveIndex"), 0);

  l.c->SkipMoveEvent = false;
  effect = DROPEFFECT_COPY;
  around->DragEnter(data.Get(), MK_LBUTTON, l.BelowRows(), &effect);
  EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_COPY));
  EXPECT_EQ(v.HoverItem, -1);
  EXPECT_EQ(l.c.host.Count(L"SetActiveIndex"), 1);
  EXPECT_EQ(l.c.host.Count(L"MouseMoveBasic"), 2);
  around->Drop(data.Get(), 0, l.BelowRows(), &effect);
  ASSERT_EQ(l.pastes.size(), 1u);
  // A tree's own folder, with its separator.
  EXPECT_EQ(l.pastes[0].destination, f.target.Path());
}

// A plain drop says "copy"; with Shift held a source that allows moves is shown the move
// pointer and the drop leaves the choice to the host (an empty operation). The drop itself
// always answers copy, so that no source deletes what the host has not moved yet.
TEST(DragDrop, AShiftDropLeavesCopyOrMoveToTheHost) {
  DropFixture f;
  ShownListing l(fbFileAndFolder, nullptr, 0, 560, 620);
  l.Read(f.target.Path());
  ComRef<IDataObject> data = ShellFileList(f.source.Path(), {L"report.txt"});
  ASSERT_TRUE(data);
  struct Case {
    const char* name;
    DWORD allowed, keys;
    DWORD over;
    const wchar_t* operation;
  } cases[] = {
      {"plain", DROPEFFECT_COPY | DROPEFFECT_MOVE, 0, DROPEFFECT_COPY, L"copy"},
      {"shift", DROPEFFECT_COPY | DROPEFFECT_MOVE, MK_SHIFT, DROPEFFECT_MOVE, L""},
      {"shift, source allows copies only", DROPEFFECT_COPY, MK_SHIFT, DROPEFFECT_COPY, L"copy"},
      {"shift, source allows moves only", DROPEFFECT_MOVE, MK_SHIFT, DROPEFFECT_MOVE, L""},
      {"control", DROPEFFECT_COPY | DROPEFFECT_MOVE, MK_CONTROL, DROPEFFECT_COPY, L"copy"},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    l.pastes.clear();
    const DragResult r = DropOn(l.c->View().Drag.FolderBoxTarget.Get(), data.Get(),
                                l.OnItem(IndexOf(*l.c, L"alpha")), k.allowed, k.keys);
    EXPECT_EQ(r.over, k.over);
    EXPECT_EQ(r.drop, static_cast<DWORD>(DROPEFFECT_COPY));
    ASSERT_EQ(l.pastes.size(), 1u);
    EXPECT_EQ(l.pastes[0].operation, k.operation);
    EXPECT_EQ(l.pastes[0].destination, f.target.Path() + L"alpha");
  }
}

TEST(DragDrop, DataWithoutAFileListIsRefused) {
  DropFixture f;
  ShownListing l(fbFileAndFolder, nullptr, 0, 560, 620);
  l.Read(f.target.Path());
  TextOnlyData text;
  for (IDropTarget* target : {static_cast<IDropTarget*>(l.c->View().Drag.FolderBoxTarget.Get()),
                              static_cast<IDropTarget*>(l.c->View().Drag.BoundBoxTarget.Get())}) {
    const DragResult r = DropOn(target, &text, l.OnItem(1));
    EXPECT_EQ(r.enter, static_cast<DWORD>(DROPEFFECT_NONE));
    EXPECT_EQ(r.over, static_cast<DWORD>(DROPEFFECT_NONE));
    EXPECT_EQ(r.drop, static_cast<DWORD>(DROPEFFECT_NONE));
  }
  // An empty file list drops nothing either.
  ComRef<IDataObject> empty = MakeFileDropData({});
  DropOn(l.c->View().Drag.FolderBoxTarget.Get(), empty.Get(), l.OnItem(1));
  EXPECT_EQ(l.c.host.Count(L"PasteItems"), 0);
  EXPECT_EQ(text.refs, 1u);
}

TEST(DragDrop, DestinationOfAPasteByTheHoverItem) {
  TempFolder dir;
  dir.Folder(L"docs");
  dir.File(L"docs\\a.txt");
  dir.File(L"b.txt");
  // A file in a drive's root: its folder is the root, never the drive-relative "C:".
  const std::wstring rootFile = L"C:\\varnello-drop-root.txt";
  HANDLE h = CreateFileW(rootFile.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  CloseHandle(h);
  struct Case {
    const char* name;
    ListType type;
    std::wstring folder;
    std::wstring hover;  // name of the hover item, empty for none
    std::wstring expected;
  } cases[] = {
      {"file", fbFileAndFolder, dir.Path(), L"b.txt", dir.Path().substr(0, dir.Path().size() - 1)},
      {"folder", fbFileAndFolder, dir.Path(), L"docs", dir.Path() + L"docs"},
      {"no hover item, listing", fbFileAndFolder, dir.Path(), L"", dir.Path()},
      {"file in a drive root", fbFileAndFolder, L"C:\\", L"varnello-drop-root.txt", L"C:\\"},
      {"no hover item, tree", fbFolder, dir.Path() + L"docs", L"", dir.Path() + L"docs\\"},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    ControlHolder c(k.type);
    c->GetFolderContents(k.folder, true);
    c->View().HoverItem = k.hover.empty() ? -1 : IndexOf(*c, k.hover);
    if (!k.hover.empty()) {
      ASSERT_GE(c->View().HoverItem, 0);
    }
    EXPECT_EQ(c->DropDestination(), k.expected);
  }
  DeleteFileW(rootFile.c_str());

  // Beside the rows: a tree's network place and the network's levels take no files, a share
  // listed in display form takes them at its real path, and a listing's "C:" is its root.
  const std::wstring domain = L"*:\\Microsoft Windows Network\\WORKGROUP";
  struct Place {
    const char* name;
    ListType type;
    std::wstring folder, expected;
  } places[] = {
      {"a tree's network place", fbFolder, L"*Entire Network\\", L""},
      {"a listing of a share", fbFileAndFolder, domain + L"\\\\ATLAS\\public\\",
       L"\\\\ATLAS\\public\\"},
      {"a listing of a folder on a share", fbFileAndFolder,
       domain + L"\\\\ATLAS\\public\\docs\\", L"\\\\ATLAS\\public\\docs\\"},
      {"a listing of a computer", fbFileAndFolder, domain + L"\\\\ATLAS\\", L""},
      {"a listing of a domain", fbFileAndFolder, domain + L"\\", L""},
      {"a listing of the whole network", fbFileAndFolder, L"*:\\", L""},
      {"a listing's drive", fbFileAndFolder, L"C:", L"C:\\"},
  };
  for (const Place& k : places) {
    SCOPED_TRACE(k.name);
    ControlHolder c(k.type);
    c->currentFolder(k.folder);
    EXPECT_EQ(c->DropDestination(), k.expected);
  }
}

TEST(DragDrop, ParentPathCutsTheLastPart) {
  struct Case {
    std::wstring in, parent, callerAfter;
  } cases[] = {
      {L"C:\\a\\b.txt", L"C:\\a", L"C:\\a\\b.txt"},
      {L"C:\\b.txt", L"C:", L"C:\\b.txt"},
      {L"C:\\a\\sub\\", L"C:\\a", L"C:\\a\\sub"},
      {L"name.txt", L"name.txt", L"name.txt"},
      {L"\\\\server\\share\\f", L"\\\\server\\share", L"\\\\server\\share\\f"},
  };
  ControlHolder c;
  for (const Case& k : cases) {
    std::wstring text = k.in;
    EXPECT_EQ(c->ParentPath(text), k.parent) << Narrow(k.in);
    EXPECT_EQ(text, k.callerAfter) << Narrow(k.in);
  }
}

TEST(DragDrop, PreDragCheckMarksTheDraggedItemAloneUnlessItIsMarked) {
  TempFolder dir;
  for (const wchar_t* n : {L"a.txt", L"b.txt", L"c.txt", L"d.txt", L"e.txt"}) dir.File(n);
  struct Case {
    const char* name;
    std::initializer_list<int> marked;
    int dragged;  // -1: the hover item
    int hover;
    std::vector<int> after;
  } cases[] = {
      {"one of three marked drags all three", {0, 2, 4}, 2, -1, {0, 2, 4}},
      {"an unmarked one drags alone", {0, 2, 4}, 3, -1, {3}},
      {"-1 takes the hover item", {1}, -1, 4, {4}},
      {"-1 without a hover item takes the first", {}, -1, -1, {0}},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    ControlHolder c;
    c->GetFolderContents(dir.Path(), true);
    Mark(*c, k.marked);
    c->View().HoverItem = k.hover;
    std::int32_t item = k.dragged;
    c->PreDragCheck(item);
    EXPECT_EQ(Marked(*c), k.after);
  }
  // A tree's root is never marked for a drag.
  TempFolder treeDir;
  treeDir.Folder(L"x");
  ControlHolder tree(fbFolder);
  tree->GetFolderContents(treeDir.Path(), true);
  std::int32_t root = 0;
  tree->PreDragCheck(root);
  EXPECT_TRUE(Marked(*tree).empty());
}

TEST(DragDrop, CopyWithoutAMarkTakesTheActiveItemOrSaysWhy) {
  TempFolder dir;
  dir.Folder(L"sub");
  dir.File(L"a.txt");
  dir.File(L"b.txt");
  struct Case {
    const char* name;
    ListType type;
    std::initializer_list<int> marked;
    int active;
    bool answer;
    std::vector<int> after;
    const wchar_t* message;
  } cases[] = {
      {"a mark is kept", fbFileAndFolder, {2}, 1, true, {2}, nullptr},
      {"the active item is marked", fbFileAndFolder, {}, 1, true, {1}, nullptr},
      {"no active item", fbFileAndFolder, {}, -1, false, {}, L"Please select an item first."},
      {"a tree's root",
       fbFolder,
       {},
       0,
       false,
       {},
       L"Please select an item that is not the root folder."},
      {"a tree's folder", fbFolder, {}, 1, true, {1}, nullptr},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    ControlHolder c(k.type);
    c->GetFolderContents(dir.Path(), true);
    Mark(*c, k.marked);
    c->SetActiveItemNum(k.active);
    std::int32_t item = -1;
    EXPECT_EQ(c->PreDragCheckKeepSelected(item), k.answer);
    EXPECT_EQ(Marked(*c), k.after);
    if (k.message) {
      EXPECT_EQ(c.host.Messages(), std::vector<std::wstring>{k.message});
    } else {
      EXPECT_TRUE(c.host.Messages().empty());
    }
  }
}

// Windows takes no drop target on a thread without OLE (Wine 8 does): a host that never
// started OLE still gets the targets, and the control's own start of OLE ends with it.
TEST(DragDrop, TargetsAreRegisteredOnAThreadWithoutOle) {
  HRESULT registeredAgain = S_OK, oleAfter = E_FAIL;
  std::thread worker([&] {
    {
      testsupport::HostWindow window(300, 200);
      ControlHolder c;
      c->CreateFrame(window.Handle());
      IDropTarget* probe = c->View().Drag.FolderBoxTarget.Get();
      ASSERT_NE(probe, nullptr);
      registeredAgain = RegisterDragDrop(c->View().FolderBox.Handle(), probe);
    }
    // Not started any more: this start is the first on the thread.
    oleAfter = OleInitialize(nullptr);
    OleUninitialize();
  });
  worker.join();
  EXPECT_EQ(registeredAgain, DRAGDROP_E_ALREADYREGISTERED);
  EXPECT_EQ(oleAfter, S_OK);
}

void MoveMouseTo(POINTL pt) {
  const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dx = static_cast<LONG>((pt.x * 65535 + w / 2) / (w - 1));
  in.mi.dy = static_cast<LONG>((pt.y * 65535 + h / 2) / (h - 1));
  in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  SendInput(1, &in, sizeof in);
}

void Button(DWORD flag) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dwFlags = flag;
  SendInput(1, &in, sizeof in);
}

// A real drag: the button pressed on a file of one listing, the pointer moved onto a folder of
// another and released there. The listing starts the drag itself once the pointer has moved
// far enough; a files-only source leaves its hidden folders out.
TEST(DragDrop, ARealDragCopiesTheMarkedFilesIntoTheFolderUnderThePointer) {
  TempFolder from, to;
  from.Folder(L"hidden");
  const std::wstring one = from.File(L"one.txt"), two = from.File(L"two.txt");
  from.File(L"three.txt");
  to.Folder(L"inbox");
  to.File(L"x.txt");
  testsupport::HostWindow window(1000, 420);
  ShownListing source(fbFile, window.Handle(), 0, 480, 380);
  ShownListing target(fbFileAndFolder, window.Handle(), 500, 480, 380);
  source.Read(from.Path());
  target.Read(to.Path());
  tk::PumpPendingMessages();
  const int hidden = IndexOf(*source.c, L"hidden"), first = IndexOf(*source.c, L"one.txt");
  ASSERT_EQ(hidden, 0);
  ASSERT_NO_FATAL_FAILURE(Mark(*source.c, {hidden, first, IndexOf(*source.c, L"two.txt")}));
  const int inbox = IndexOf(*target.c, L"inbox");
  ASSERT_GE(inbox, 0);

  // On the name, away from the marking zone: the press marks nothing.
  const POINTL start = source.OnItem(first, 900), end = target.OnItem(inbox, 900);
  POINT check{end.x, end.y};
  ASSERT_EQ(WindowFromPoint(check), target.c->View().FolderBox.Handle());
  check = {start.x, start.y};
  ASSERT_EQ(WindowFromPoint(check), source.c->View().FolderBox.Handle());
  MoveMouseTo(start);
  tk::PumpPendingMessages();
  std::atomic<bool> released{false};
  std::thread hand([&] {
    Button(MOUSEEVENTF_LEFTDOWN);
    Sleep(200);
    for (int step = 1; step <= 10; ++step) {
      MoveMouseTo(
          {start.x + (end.x - start.x) * step / 10, start.y + (end.y - start.y) * step / 10});
      Sleep(40);
    }
    Sleep(200);
    Button(MOUSEEVENTF_LEFTUP);
    released = true;
  });
  // The drag loop runs inside the listing's handling of a move, from this thread's messages.
  const DWORD began = GetTickCount();
  tk::PumpUntil([&] { return released.load() && !target.pastes.empty(); }, 15000);
  const DWORD took = GetTickCount() - began;
  hand.join();
  EXPECT_TRUE(released);
  EXPECT_EQ(source.c->Pointer().Mode, MouseMode::None);

  EXPECT_EQ(source.c.host.Count(L"NotifySourceIndex"), 1);
  EXPECT_EQ(source.c->FileSpecs, std::wstring(1, L'\0'));
  EXPECT_EQ(source.c.host.Count(L"PasteItems"), 0);
  ASSERT_EQ(target.pastes.size(), 1u) << "drag took " << took << " ms";
  EXPECT_EQ(target.pastes[0].source, DoubleNulList({one, two})) << Narrow(target.pastes[0].source);
  EXPECT_EQ(target.pastes[0].text, L"2 items");
  EXPECT_EQ(target.pastes[0].operation, L"copy");
  EXPECT_EQ(target.pastes[0].destination, to.Path() + L"inbox");
}

}  // namespace
