#include "commands/ListingExport.h"

#include <commdlg.h>
#include <shlobj.h>

#include <vector>

#include "commands/CommandLine.h"
#include "mainwindow/Master.h"
#include "toolkit/MousePointer.h"

namespace varnello {

namespace {

std::function<void(HWND)>& ShownHook() {
  static std::function<void(HWND)> hook;
  return hook;
}

std::wstring DocumentsFolder() {
  wchar_t path[MAX_PATH] = L"";
  if (FAILED(SHGetFolderPathW(nullptr, CSIDL_PERSONAL, nullptr, SHGFP_TYPE_CURRENT, path)))
    return {};
  return path;
}

std::wstring CurrentFolder() {
  const DWORD n = GetCurrentDirectoryW(0, nullptr);
  std::wstring folder(n, L'\0');
  folder.resize(GetCurrentDirectoryW(n, folder.data()));
  return folder;
}

// Puts the process's current folder back whatever way the export ends.
class KeepCurrentFolder {
 public:
  KeepCurrentFolder() : folder_(CurrentFolder()) {}
  ~KeepCurrentFolder() {
    if (!folder_.empty()) SetCurrentDirectoryW(folder_.c_str());
  }
  KeepCurrentFolder(const KeepCurrentFolder&) = delete;
  KeepCurrentFolder& operator=(const KeepCurrentFolder&) = delete;

 private:
  std::wstring folder_;
};

void CentreOn(HWND dialog, HWND owner) {
  RECT d{}, o{};
  if (!GetWindowRect(dialog, &d) || !owner || !GetWindowRect(owner, &o)) return;
  const int w = d.right - d.left, h = d.bottom - d.top;
  SetWindowPos(dialog, nullptr, o.left + (o.right - o.left - w) / 2,
               o.top + (o.bottom - o.top - h) / 2, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

void ListingExport::SetShownHook(std::function<void(HWND)> hook) { ShownHook() = std::move(hook); }

std::wstring ListingExport::ProposedName(const SYSTEMTIME& now) {
  wchar_t text[64];
  swprintf(text, 64, L"FileListing%02u-%02u-%02u-%02u%02u%02u.csv", now.wYear % 100u, now.wMonth,
           now.wDay, now.wHour, now.wMinute, now.wSecond);
  return text;
}

std::wstring ListingExport::FolderOf(const std::wstring& path) {
  const size_t slash = path.find_last_of(L'\\');
  if (slash == std::wstring::npos) return {};
  if (slash == 2 && path[1] == L':') return path.substr(0, 3);
  return path.substr(0, slash);
}

UINT_PTR CALLBACK ListingExport::DialogHook(HWND child, UINT msg, WPARAM, LPARAM lParam) {
  if (msg != WM_NOTIFY) return 0;
  const auto* note = reinterpret_cast<const OFNOTIFYW*>(lParam);
  if (note->hdr.code != CDN_INITDONE) return 0;
  HWND dialog = GetParent(child);
  CentreOn(dialog, note->lpOFN->hwndOwner);
  if (const auto& hook = ShownHook()) hook(dialog);
  return 0;
}

void ListingExport::Run() {
  tk::HourglassPointer hourglass;
  // The dialog changes the process's current folder as the user browses; nothing else of
  // the program expects it to move.
  KeepCurrentFolder keep;
  try {
    Export();
  } catch (...) {
    std::wstring text = L"An error occurred while exporting the file listing.";
    m_.Message(text, 0, L"Master");
  }
}

void ListingExport::Export() {
  const short pane = m_.ClickedPaneNumber();
  if (pane < 0 || !m_.List(static_cast<short>(pane + 100))) return;
  SYSTEMTIME now{};
  GetLocalTime(&now);
  const std::wstring proposed = ProposedName(now);
  std::vector<wchar_t> file(32768, L'\0');
  proposed.copy(file.data(), proposed.size());
  std::vector<wchar_t> title(515, L'\0');
  const std::wstring start =
      m_.Options.FolderFileListing.empty() ? DocumentsFolder() : m_.Options.FolderFileListing;

  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = m_.Handle();
  ofn.lpstrFilter = L"File Listing\0*.csv\0";
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = static_cast<DWORD>(file.size());
  ofn.lpstrFileTitle = title.data();
  ofn.nMaxFileTitle = static_cast<DWORD>(title.size());
  ofn.lpstrInitialDir = start.empty() ? nullptr : start.c_str();
  ofn.lpstrTitle = L"Export File Listing...";
  ofn.Flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_ENABLEHOOK | OFN_EXPLORER |
              OFN_LONGNAMES | OFN_NOCHANGEDIR | OFN_PATHMUSTEXIST;
  ofn.lpfnHook = &DialogHook;
  ofn.lpstrDefExt = L"csv";
  if (!GetSaveFileNameW(&ofn)) {
    // Zero is the user's cancel.
    if (const DWORD error = CommDlgExtendedError()) {
      std::wstring text = L"The Save dialog could not be shown (dialog error " +
                          std::to_wstring(error) + L").";
      m_.Message(text, 0, L"Master");
    }
    return;
  }
  const std::wstring path = CommandLine::Trimmed(file.data());
  if (path.size() < 3) return;
  const std::wstring folder = FolderOf(path);
  // Remembered even when the write fails: the next export starts where the user looked.
  if (!folder.empty()) m_.Options.FolderFileListing = folder;
  // The dialog may have run a read of the pane meanwhile; the list is asked for again.
  PaneList* list = m_.List(static_cast<short>(pane + 100));
  if (!list) return;
  if (!list->WriteFileListing(path)) {
    std::wstring text =
        L"There was a problem writing the folder / file listing to the specified file.";
    m_.Message(text, 0, L"Master");
  }
}

}  // namespace varnello
