#include "commands/RecycleBin.h"

#include <shellapi.h>

#include "commands/ShellRunner.h"
#include "mainwindow/Master.h"
#include "toolkit/MousePointer.h"
#include "toolkit/Text.h"

namespace varnello {

namespace {

const wchar_t kEmptyFailed[] = L"An error occurred and the recycle bin may not have been emptied.";

std::wstring Items(std::int64_t n) {
  return tk::GroupedNumber(static_cast<std::uint64_t>(n)) + (n == 1 ? L" item" : L" items");
}

}  // namespace

void RecycleBin::Open() {
  const DWORD error = m_.Shell().Run(nullptr, L"open", L"explorer.exe",
                                     L"/root,::{645FF040-5081-101B-9F08-00AA002F954E}", L"");
  if (error == 0 || error == ERROR_CANCELLED) return;
  std::wstring text = L"The recycle bin could not be shown.\r\n\r\n" + SystemErrorSentence(error);
  m_.Message(text, 0, L"");
}

std::int64_t RecycleBin::ItemCount(const std::wstring& rootPath) {
  SHQUERYRBINFO info{};
  info.cbSize = sizeof info;
  if (FAILED(SHQueryRecycleBinW(rootPath.empty() ? nullptr : rootPath.c_str(), &info))) return -1;
  return info.i64NumItems;
}

bool RecycleBin::Empty(const std::wstring& rootPath) {
  const std::int64_t before = ItemCount(rootPath);
  if (before == 0) {
    std::wstring text = L"The recycle bin is already empty.";
    m_.Message(text, 0, L"");
    return true;
  }
  std::wstring question =
      before > 0 ? L"Are you sure you want to permanently delete the " + Items(before) +
                       L" in the recycle bin?"
                 : std::wstring(L"Are you sure you want to permanently delete everything in the "
                                L"recycle bin?");
  m_.Message(question, 1, L"");
  if (m_.MsgBoxAnswer != L"YES") return false;
  HRESULT result = S_OK;
  {
    tk::HourglassPointer hourglass;
    // Asked already: the shell's own question, progress and sound stay away.
    result = SHEmptyRecycleBinW(m_.Handle(), rootPath.empty() ? nullptr : rootPath.c_str(),
                                SHERB_NOCONFIRMATION | SHERB_NOPROGRESSUI | SHERB_NOSOUND);
  }
  const std::int64_t left = ItemCount(rootPath);
  if (FAILED(result)) {
    std::wstring text = std::wstring(kEmptyFailed) + L"\r\n\r\n" +
                        SystemErrorSentence(static_cast<DWORD>(HRESULT_CODE(result)));
    m_.Message(text, 0, L"");
    return false;
  }
  if (left > 0) {
    // The shell reports success but has not removed everything.
    std::wstring text = L"The recycle bin could not be emptied completely: " + Items(left) +
                        (left == 1 ? L" is" : L" are") + L" still in it.";
    m_.Message(text, 0, L"");
    return false;
  }
  return true;
}

}  // namespace varnello
