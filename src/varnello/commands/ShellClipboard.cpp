#include "commands/ShellClipboard.h"

#include <shlobj.h>

#include "toolkit/FileDropList.h"

namespace varnello {

namespace {

UINT DropEffectFormat() {
  static const UINT format = RegisterClipboardFormatW(L"Preferred DropEffect");
  return format;
}

// Another program may hold the clipboard for a moment.
bool OpenWithRetry(HWND owner) {
  for (int attempt = 0; attempt < 10; ++attempt) {
    if (OpenClipboard(owner)) return true;
    Sleep(20);
  }
  return false;
}

class ClipboardLock {
 public:
  explicit ClipboardLock(HWND owner) : open_(OpenWithRetry(owner)) {}
  ~ClipboardLock() {
    if (open_) CloseClipboard();
  }
  ClipboardLock(const ClipboardLock&) = delete;
  ClipboardLock& operator=(const ClipboardLock&) = delete;
  bool Open() const { return open_; }

 private:
  bool open_;
};

class GlobalBlock {
 public:
  explicit GlobalBlock(SIZE_T bytes) : handle_(GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes)) {}
  explicit GlobalBlock(HGLOBAL owned) : handle_(owned) {}
  ~GlobalBlock() {
    if (handle_) GlobalFree(handle_);
  }
  GlobalBlock(const GlobalBlock&) = delete;
  GlobalBlock& operator=(const GlobalBlock&) = delete;
  HGLOBAL Get() const { return handle_; }
  // The clipboard owns it once SetClipboardData took it.
  HGLOBAL Release() {
    HGLOBAL h = handle_;
    handle_ = nullptr;
    return h;
  }

 private:
  HGLOBAL handle_;
};

std::wstring LastErrorText(const wchar_t* what) {
  return std::wstring(what) + L" (system error " + std::to_wstring(GetLastError()) + L").";
}

}  // namespace

bool ShellClipboard::Put(const std::vector<std::wstring>& paths, bool cut,
                         std::wstring& error) const {
  error.clear();
  GlobalBlock drop(tk::MakeDropFilesBlock(paths));
  GlobalBlock effect(sizeof(DWORD));
  if (!drop.Get() || !effect.Get()) {
    error = L"There is not enough memory to put the files on the clipboard.";
    return false;
  }
  if (auto* value = static_cast<DWORD*>(GlobalLock(effect.Get()))) {
    *value = cut ? DROPEFFECT_MOVE : DROPEFFECT_COPY;
    GlobalUnlock(effect.Get());
  }
  ClipboardLock lock(owner_);
  if (!lock.Open()) {
    error = LastErrorText(L"The clipboard is in use by another program");
    return false;
  }
  if (!EmptyClipboard()) {
    error = LastErrorText(L"The clipboard could not be emptied");
    return false;
  }
  if (!SetClipboardData(CF_HDROP, drop.Get())) {
    error = LastErrorText(L"The files could not be put on the clipboard");
    return false;
  }
  drop.Release();
  if (SetClipboardData(DropEffectFormat(), effect.Get())) effect.Release();
  return true;
}

ShellClipboard::Contents ShellClipboard::Read() const {
  Contents contents;
  ClipboardLock lock(owner_);
  if (!lock.Open()) return contents;
  if (HANDLE data = GetClipboardData(CF_HDROP)) contents.Paths = tk::ReadDropFilesBlock(data);
  if (HANDLE data = GetClipboardData(DropEffectFormat())) {
    if (GlobalSize(data) >= sizeof(DWORD)) {
      if (auto* value = static_cast<const DWORD*>(GlobalLock(data))) {
        contents.Cut = (*value & DROPEFFECT_MOVE) != 0 && (*value & DROPEFFECT_COPY) == 0;
        GlobalUnlock(data);
      }
    }
  }
  return contents;
}

void ShellClipboard::ClearIfHolding(const Contents& contents) const {
  const Contents now = Read();
  if (now.Paths != contents.Paths || now.Cut != contents.Cut) return;
  ClipboardLock lock(owner_);
  if (lock.Open()) EmptyClipboard();
}

}  // namespace varnello
