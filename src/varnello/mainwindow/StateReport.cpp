#include "mainwindow/StateReport.h"

#include "mainwindow/Master.h"

namespace varnello {

std::wstring DescribePanes(const Master& master) {
  std::wstring out;
  for (short i = 0; i < kPaneCount; ++i) {
    if (!master.Panes[i].Loaded || master.Panes[i].Status != 0) continue;
    PaneList* listing = master.List(static_cast<short>(i + 100));
    out += L"pane " + std::to_wstring(i) + L" " + (listing ? listing->currentFolder() : L"") + L"\n";
    if (PaneList* tree = master.List(i))
      for (const auto& p : tree->ShownItems()) out += L"tree " + p + L"\n";
    if (listing) {
      for (const auto& p : listing->ShownItems()) out += L"list " + p + L"\n";
      for (const auto& p : listing->MarkedItems()) out += L"mark " + p + L"\n";
    }
  }
  // Which list keys go to, which one was last pressed and whose title is marked.
  out += L"active " + std::to_wstring(master.Options.ActivePane) + L"\n";
  out += L"clicked " + std::to_wstring(master.Options.ClickedPane) + L"\n";
  for (short i = 0; i < kPaneCount; ++i)
    if (master.TitleBarActive(i)) out += L"title " + std::to_wstring(i) + L"\n";
  return out;
}

void InstallStateReport(Master& master) {
  master.OnCopyData = [&master](const COPYDATASTRUCT& data) {
    if (data.dwData != kDescribePanesRequest || !data.lpData || data.cbData < sizeof(wchar_t))
      return false;
    const std::wstring path(static_cast<const wchar_t*>(data.lpData),
                            data.cbData / sizeof(wchar_t));
    const std::wstring text = DescribePanes(master);
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()),
                                          nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), utf8.data(),
                        bytes, nullptr, nullptr);
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const BOOL ok = WriteFile(file, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == utf8.size();
  };
}

}  // namespace varnello
