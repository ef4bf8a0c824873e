#include "commands/ContextMenu.h"

#include <commctrl.h>
#include <shlobj.h>

#include <cstring>
#include <cwchar>
#include <memory>

#include "commands/FileOperations.h"
#include "toolkit/Error.h"
#include "toolkit/Gdi.h"
#include "toolkit/MessageBox.h"
#include "toolkit/PathText.h"
#include "toolkit/PopupMenu.h"
#include "toolkit/Text.h"

namespace varnello {

namespace {

// Owns one reference to a COM interface.
template <typename T>
class Com {
 public:
  Com() = default;
  ~Com() { Reset(); }
  Com(const Com&) = delete;
  Com& operator=(const Com&) = delete;
  T* Get() const { return p_; }
  T* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }
  void** Out() {
    Reset();
    return reinterpret_cast<void**>(&p_);
  }
  void Reset() {
    if (p_) p_->Release();
    p_ = nullptr;
  }
  // Keeps a reference of its own to `p`.
  void Share(T* p) {
    if (p) p->AddRef();
    Reset();
    p_ = p;
  }

 private:
  T* p_ = nullptr;
};

struct PidlFree {
  void operator()(ITEMIDLIST* p) const { CoTaskMemFree(p); }
};
using Pidl = std::unique_ptr<ITEMIDLIST, PidlFree>;

// The folder an item lies in ("C:\a" for "C:\a\b", "C:\" for "C:\a"); empty for a drive root
// and for a name without a folder.
std::wstring ParentFolderOf(const std::wstring& path) {
  if (IsDriveRoot(path)) return {};
  const std::wstring p = RemoveRightSlash(path);
  const size_t cut = p.find_last_of(L'\\');
  if (cut == std::wstring::npos || cut == 0) return {};
  std::wstring parent = p.substr(0, cut);
  if (parent.size() == 2 && parent[1] == L':') parent += L'\\';
  return parent;
}

void ReportShellError(HWND owner, HRESULT hr) {
  wchar_t hex[16];
  std::swprintf(hex, 16, L"%lX", static_cast<unsigned long>(hr));
  tk::ShowMessageBox(owner,
                     L"Error: &H" + std::wstring(hex) + L", " +
                         tk::SystemErrorText(static_cast<unsigned long>(hr)),
                     L"Varnello", MB_OK | MB_ICONEXCLAMATION);
}

// The file data of one item, handed to the shell with a parse: the folder then builds the
// item's id from it instead of searching for the name, which in a large folder is most of the
// menu's cost.
class FileData final : public IFileSystemBindData {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IFileSystemBindData) {
      *out = static_cast<IFileSystemBindData*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }
  ULONG STDMETHODCALLTYPE Release() override {
    const LONG left = InterlockedDecrement(&refs_);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
  }
  HRESULT STDMETHODCALLTYPE SetFindData(const WIN32_FIND_DATAW* data) override {
    if (!data) return E_POINTER;
    data_ = *data;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetFindData(WIN32_FIND_DATAW* data) override {
    if (!data) return E_POINTER;
    *data = data_;
    return S_OK;
  }

 private:
  ~FileData() = default;
  LONG refs_ = 1;
  WIN32_FIND_DATAW data_{};
};

// A parse context that carries the data of the item being parsed; null (an ordinary parse,
// which reports a missing item) when the item's data cannot be read.
class KnownItems {
 public:
  KnownItems() {
    data_ = new FileData;
    if (FAILED(CreateBindCtx(0, reinterpret_cast<IBindCtx**>(context_.Out())))) return;
    BIND_OPTS options{};
    options.cbStruct = sizeof options;
    options.grfMode = STGM_CREATE;
    usable_ = SUCCEEDED(context_->SetBindOptions(&options)) &&
              SUCCEEDED(context_->RegisterObjectParam(const_cast<wchar_t*>(STR_FILE_SYS_BIND_DATA),
                                                      data_));
  }
  ~KnownItems() { data_->Release(); }
  KnownItems(const KnownItems&) = delete;
  KnownItems& operator=(const KnownItems&) = delete;

  IBindCtx* For(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA a{};
    if (!usable_ ||
        !GetFileAttributesExW(tk::LongPathForm(path).c_str(), GetFileExInfoStandard, &a))
      return nullptr;
    WIN32_FIND_DATAW d{};
    d.dwFileAttributes = a.dwFileAttributes;
    d.ftCreationTime = a.ftCreationTime;
    d.ftLastAccessTime = a.ftLastAccessTime;
    d.ftLastWriteTime = a.ftLastWriteTime;
    d.nFileSizeHigh = a.nFileSizeHigh;
    d.nFileSizeLow = a.nFileSizeLow;
    const std::wstring name = NameOf(path);
    if (name.size() >= MAX_PATH) return nullptr;
    name.copy(d.cFileName, name.size());
    data_->SetFindData(&d);
    return context_.Get();
  }

 private:
  FileData* data_ = nullptr;
  Com<IBindCtx> context_;
  bool usable_ = false;
};

// The items as the shell knows them: one parent folder and one child id per item, each item
// parsed in its own folder. Items of different folders are not resolved at all.
class ShellItems {
 public:
  bool Mixed = false;
  HRESULT Failure = S_OK;
  Com<IShellFolder> Parent;
  std::vector<Pidl> Children;

  bool Resolve(HWND owner, const std::vector<std::wstring>& paths) {
    const std::wstring folder = ParentFolderOf(paths[0]);
    for (const auto& p : paths)
      if (!tk::SameText(ParentFolderOf(p), folder)) {
        Mixed = true;
        return false;
      }
    Com<IShellFolder> desktop;
    if (FAILED(Failure = SHGetDesktopFolder(reinterpret_cast<IShellFolder**>(desktop.Out()))))
      return false;
    if (folder.empty()) return ResolveWhole(owner, *desktop.Get(), paths);
    // One parse of the folder and one of each name within it: a whole path parsed from the
    // desktop walks every folder on the way, which costs dearly in a large folder.
    Pidl folderId;
    if (!Parse(*desktop.Get(), owner, folder, folderId)) return false;
    if (folderId->mkid.cb == 0) {
      Parent.Share(desktop.Get());
    } else if (FAILED(Failure = desktop->BindToObject(folderId.get(), nullptr, IID_IShellFolder,
                                                      Parent.Out()))) {
      return false;
    }
    Children.reserve(paths.size());
    KnownItems known;
    for (const auto& p : paths) {
      Pidl child;
      if (!Parse(*Parent.Get(), owner, NameOf(p), child, known.For(p))) return false;
      // A name that the folder resolves to more than one level is not one of its items.
      const auto* next = reinterpret_cast<const ITEMIDLIST*>(
          reinterpret_cast<const BYTE*>(child.get()) + child->mkid.cb);
      if (child->mkid.cb == 0 || next->mkid.cb != 0) {
        Failure = E_INVALIDARG;
        return false;
      }
      Children.push_back(std::move(child));
    }
    return true;
  }

  std::vector<LPCITEMIDLIST> Ids() const {
    std::vector<LPCITEMIDLIST> ids;
    for (const auto& c : Children) ids.push_back(c.get());
    return ids;
  }

 private:
  bool Parse(IShellFolder& in, HWND owner, const std::wstring& name, Pidl& out,
             IBindCtx* context = nullptr) {
    LPITEMIDLIST id = nullptr;
    ULONG eaten = 0;
    Failure = in.ParseDisplayName(owner, context, const_cast<wchar_t*>(name.c_str()), &eaten,
                                  &id, nullptr);
    out.reset(id);
    return SUCCEEDED(Failure) && id;
  }

  // Drive roots: each parsed whole and taken from the folder that holds it.
  bool ResolveWhole(HWND owner, IShellFolder& desktop, const std::vector<std::wstring>& paths) {
    for (const auto& p : paths) {
      Pidl whole;
      if (!Parse(desktop, owner, p, whole)) return false;
      Com<IShellFolder> parent;
      LPCITEMIDLIST child = nullptr;
      if (FAILED(Failure = SHBindToParent(whole.get(), IID_IShellFolder, parent.Out(), &child)))
        return false;
      Children.emplace_back(ILClone(child));
      if (!Children.back()) {
        Failure = E_OUTOFMEMORY;
        return false;
      }
      if (!Parent) Parent.Share(parent.Get());
    }
    return true;
  }
};

// The menus and the swatch bitmaps of one pane menu. Destroying the main menu destroys every
// submenu attached to it; the bitmaps live as long as the menu.
class PaneMenu {
 public:
  PaneMenu() : main_(CreatePopupMenu()) {}
  ~PaneMenu() {
    if (main_) DestroyMenu(main_);
  }
  PaneMenu(const PaneMenu&) = delete;
  PaneMenu& operator=(const PaneMenu&) = delete;
  HMENU Main() const { return main_; }

  // Paste on top of the shell's entries.
  void AddPaste() {
    UINT at = 0;
    Add(main_, at, kIdPaste, L"Paste");
  }

  // Our entries above whatever the main menu holds. An entry that cannot be added is said
  // once; the menu is shown without it.
  void AddProgramEntries(bool driveRoot, const std::array<Bookmark, 10>* bookmarks,
                         bool shellEntriesFollow) {
    UINT at = 0;
    Add(main_, at, kIdNewFolder, L"New Folder");
    AddSeparator(main_, at);
    if (!driveRoot) {
      Add(main_, at, kIdRename, L"Rename");
      Add(main_, at, kIdDuplicate, L"Duplicate");
    }
    Add(main_, at, kIdCommandLine, L"Command Line");
    AddSeparator(main_, at);
    Add(main_, at, kIdBookmarks, L"Bookmarks", BookmarksMenu(bookmarks));
    Add(main_, at, kIdColourCode, L"Colour Code", ColourMenu());
    if (shellEntriesFollow) AddSeparator(main_, at);
    if (failed_)
      tk::ShowMessageBox(nullptr,
                         L"A custom menu item could not be added. Please contact the makers of "
                         L"Varnello for a patch.",
                         L"Varnello", MB_OK);
  }

 private:
  // "&" would underline the next letter: a path shows as it is.
  static std::wstring Literal(const std::wstring& text) {
    std::wstring out;
    for (wchar_t c : text) {
      if (c == L'&') out += L'&';
      out += c;
    }
    return out;
  }

  void Add(HMENU menu, UINT& at, UINT id, const std::wstring& caption, HMENU sub = nullptr) {
    MENUITEMINFOW mi{};
    mi.cbSize = sizeof mi;
    mi.fMask = MIIM_ID | MIIM_STRING | MIIM_FTYPE | (sub ? MIIM_SUBMENU : 0u);
    mi.fType = MFT_STRING;
    mi.wID = id;
    mi.dwTypeData = const_cast<wchar_t*>(caption.c_str());
    mi.hSubMenu = sub;
    if (menu && InsertMenuItemW(menu, at, TRUE, &mi)) {
      ++at;
      return;
    }
    if (sub) DestroyMenu(sub);  // not attached: nobody else destroys it
    failed_ = true;
  }

  void AddSeparator(HMENU menu, UINT& at) {
    MENUITEMINFOW mi{};
    mi.cbSize = sizeof mi;
    mi.fMask = MIIM_FTYPE;
    mi.fType = MFT_SEPARATOR;
    if (menu && InsertMenuItemW(menu, at, TRUE, &mi))
      ++at;
    else
      failed_ = true;
  }

  HMENU BookmarksMenu(const std::array<Bookmark, 10>* bookmarks) {
    HMENU menu = CreatePopupMenu();
    UINT at = 0;
    for (UINT n = 1; n <= 10; ++n) {
      HMENU slot = CreatePopupMenu();
      UINT in = 0;
      const std::wstring number = std::to_wstring(n);
      Add(slot, in, kIdAddToSlot + n, L"Add to Slot " + number);
      Add(slot, in, kIdClearSlot + n, L"Clear Slot " + number);
      const std::wstring shown = bookmarks ? (*bookmarks)[n - 1].DisplayPath : L"(empty)";
      Add(menu, at, kIdSlotLine + n, (n < 10 ? number + L"    " : number + L"  ") + Literal(shown),
          slot);
    }
    return menu;
  }

  HMENU ColourMenu() {
    HMENU menu = CreatePopupMenu();
    UINT at = 0;
    const auto& colours = ColourEntries();
    for (UINT i = 0; i < colours.size(); ++i) {
      const UINT id = kIdColour + i;
      Add(menu, at, id, colours[i].Caption);
      if (i == 0 || !menu) continue;  // "Default" has no swatch
      HBITMAP swatch = Swatch(static_cast<COLORREF>(tk::ColorWordToRgb(colours[i].Keyword)));
      if (swatch) SetMenuItemBitmaps(menu, id, MF_BYCOMMAND, swatch, swatch);
    }
    return menu;
  }

  // A filled square the size of a menu's check mark, framed so that light colours show.
  HBITMAP Swatch(COLORREF colour) {
    const int w = GetSystemMetrics(SM_CXMENUCHECK), h = GetSystemMetrics(SM_CYMENUCHECK);
    HDC screen = GetDC(nullptr);
    tk::Bitmap bitmap(CreateCompatibleBitmap(screen, w, h));
    ReleaseDC(nullptr, screen);
    tk::MemoryDc dc;
    if (!bitmap || !dc) return nullptr;
    {
      tk::SelectObjectScope selected(dc.Get(), bitmap.Get());
      if (!selected.Ok()) return nullptr;
      tk::Brush frame(CreateSolidBrush(RGB(64, 64, 64)));
      tk::Brush fill(CreateSolidBrush(colour));
      RECT r{0, 0, w, h};
      FillRect(dc.Get(), &r, frame.Get());
      InflateRect(&r, -1, -1);
      FillRect(dc.Get(), &r, fill.Get());
    }
    swatches_.push_back(std::move(bitmap));
    return swatches_.back().Get();
  }

  HMENU main_;
  std::vector<tk::Bitmap> swatches_;
  bool failed_ = false;
};

// While the menu is up, the owner's menu messages reach the shell's menu, which draws and
// fills submenus of its own (Send To, Open With) only when told of them.
class MenuMessageForwarding {
 public:
  MenuMessageForwarding(HWND owner, IContextMenu* menu) : owner_(owner) {
    if (!menu) return;
    menu->QueryInterface(IID_IContextMenu2, menu2_.Out());
    menu->QueryInterface(IID_IContextMenu3, menu3_.Out());
    if (owner_ && menu2_)
      installed_ = SetWindowSubclass(owner_, &Proc, kId, reinterpret_cast<DWORD_PTR>(this)) != FALSE;
  }
  ~MenuMessageForwarding() {
    if (installed_) RemoveWindowSubclass(owner_, &Proc, kId);
  }
  MenuMessageForwarding(const MenuMessageForwarding&) = delete;
  MenuMessageForwarding& operator=(const MenuMessageForwarding&) = delete;

 private:
  static constexpr UINT_PTR kId = 0x52434D;
  static LRESULT CALLBACK Proc(HWND w, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR ref) {
    auto* self = reinterpret_cast<MenuMessageForwarding*>(ref);
    switch (msg) {
      case WM_INITMENUPOPUP:
        self->menu2_->HandleMenuMsg(msg, wp, lp);
        break;
      case WM_DRAWITEM:
      case WM_MEASUREITEM:
        // Only menu entries: the window's own drawn controls keep their messages.
        if (wp == 0) self->menu2_->HandleMenuMsg(msg, wp, lp);
        break;
      case WM_MENUCHAR:
        if (self->menu3_) {
          LRESULT result = 0;
          if (SUCCEEDED(self->menu3_->HandleMenuMsg2(msg, wp, lp, &result))) return result;
        }
        break;
      default:
        break;
    }
    return DefSubclassProc(w, msg, wp, lp);
  }

  HWND owner_;
  Com<IContextMenu2> menu2_;
  Com<IContextMenu3> menu3_;
  bool installed_ = false;
};

std::wstring VerbOf(IContextMenu& menu, UINT offset) {
  wchar_t wide[256] = L"";
  if (SUCCEEDED(menu.GetCommandString(offset, GCS_VERBW, nullptr, reinterpret_cast<LPSTR>(wide),
                                      256)) &&
      wide[0])
    return wide;
  char narrow[256] = "";
  if (SUCCEEDED(menu.GetCommandString(offset, GCS_VERBA, nullptr, narrow, 256)))
    return std::wstring(narrow, narrow + std::strlen(narrow));
  return {};
}

}  // namespace

const std::array<ColourEntry, 12>& ColourEntries() {
  static const std::array<ColourEntry, 12> entries = {{
      {L"Default", L"default"},
      {L"Black", L"black"},
      {L"Gray", L"gray"},
      {L"Dark Green", L"dark green"},
      {L"Light Green", L"light green"},
      {L"Blue", L"blue"},
      {L"Cyan", L"cyan"},
      {L"Yellow", L"yellow"},
      {L"Orange", L"orange"},
      {L"Red", L"red"},
      {L"Burgundy", L"burgundy"},
      {L"Lavender", L"lavender"},
  }};
  return entries;
}

MenuChoice ProgramEntryChoice(UINT id) {
  switch (id) {
    case kIdNewFolder:
      return {L"newfolder"};
    case kIdRename:
      return {L"rename"};
    case kIdDuplicate:
      return {L"duplicate"};
    case kIdCommandLine:
      return {L"commandline"};
    case kIdPaste:
      return {L"paste"};
    default:
      break;
  }
  if (id > kIdAddToSlot && id <= kIdAddToSlot + 10)
    return {L"ADD TO SLOT", static_cast<int>(id - kIdAddToSlot - 1)};
  if (id > kIdClearSlot && id <= kIdClearSlot + 10)
    return {L"CLEAR SLOT", static_cast<int>(id - kIdClearSlot - 1)};
  if (id >= kIdColour && id < kIdColour + ColourEntries().size())
    return {ColourEntries()[id - kIdColour].Keyword};
  return {};
}

std::wstring ShellVerbKeyword(const std::wstring& verb) {
  for (const wchar_t* own : {L"copy", L"cut", L"paste", L"delete", L"rename"})
    if (tk::SameText(verb, own)) return own;
  if (tk::SameText(verb, L"link")) return L"refresh";
  return L"unknown";
}

bool ShellRunsKeyword(const std::wstring& keyword, bool forFolder) {
  return keyword == L"unknown" || keyword == L"refresh" || (forFolder && keyword == L"delete");
}

namespace {

// Whether the shell's part of `menu` holds an entry of `verb`.
bool HasShellVerb(HMENU menu, IContextMenu& shell, const wchar_t* verb) {
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    const UINT id = GetMenuItemID(menu, i);
    const bool shells = id >= kFirstShellId && id <= kLastShellId;
    if (shells && tk::SameText(VerbOf(shell, id - kFirstShellId), verb)) return true;
  }
  return false;
}

// A menu for one folder is where files on the clipboard can be pasted.
bool ForOneFolder(const ItemMenuRequest& r) {
  if (r.ForFolder || r.DriveRoot) return true;
  return r.Paths.size() == 1 && IsFolder(r.Paths[0]);
}

}  // namespace

MenuChoice ShowItemContextMenu(const ItemMenuRequest& r) {
  if (r.Paths.empty()) return {};
  ShellItems items;
  Com<IContextMenu> shell;
  if (items.Resolve(r.Owner, r.Paths)) {
    std::vector<LPCITEMIDLIST> ids = items.Ids();
    if (FAILED(items.Parent->GetUIObjectOf(r.Owner, static_cast<UINT>(ids.size()), ids.data(),
                                           IID_IContextMenu, nullptr, shell.Out())))
      return {};
  } else if (!items.Mixed) {
    ReportShellError(r.Owner, items.Failure);
    return {};
  }
  PaneMenu menu;
  if (!menu.Main()) return {};
  if (shell && FAILED(shell->QueryContextMenu(menu.Main(), 0, kFirstShellId, kLastShellId,
                                              CMF_EXPLORE)))
    return {};
  // Some shells (the test platform's) give a folder no Paste entry: files on the clipboard
  // must still be pasteable with the mouse.
  if (shell && ForOneFolder(r) && IsClipboardFormatAvailable(CF_HDROP) &&
      !HasShellVerb(menu.Main(), *shell.Get(), L"paste"))
    menu.AddPaste();
  menu.AddProgramEntries(r.DriveRoot, r.BookMarks, GetMenuItemCount(menu.Main()) > 0);
  UINT id = 0;
  {
    MenuMessageForwarding forwarding(r.Owner, shell.Get());
    id = tk::TrackPopupNotifying(menu.Main(), r.Owner, r.ScreenPoint);
  }
  if (id == 0) return {};
  MenuChoice choice = ProgramEntryChoice(id);
  if (!choice.Keyword.empty() || !shell || id < kFirstShellId || id > kLastShellId) return choice;
  const UINT offset = id - kFirstShellId;
  choice.Keyword = ShellVerbKeyword(VerbOf(*shell.Get(), offset));
  if (ShellRunsKeyword(choice.Keyword, r.ForFolder)) {
    CMINVOKECOMMANDINFO invoke{};
    invoke.cbSize = sizeof invoke;
    invoke.hwnd = r.Owner;
    invoke.lpVerb = MAKEINTRESOURCEA(offset);
    invoke.nShow = SW_SHOWNORMAL;
    // The shell words its own failures.
    shell->InvokeCommand(&invoke);
  }
  return choice;
}

}  // namespace varnello
