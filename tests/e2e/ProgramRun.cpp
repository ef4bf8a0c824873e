#include "ProgramRun.h"

#include "StateReport.h"

namespace e2e {

namespace {

// Receives the report's answer while the request is being sent.
LRESULT CALLBACK ReaderProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg != WM_COPYDATA) return DefWindowProcW(hwnd, msg, wParam, lParam);
  auto* text = reinterpret_cast<std::wstring*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
  if (!text || !data || data->dwData != varnello::kDescribePanesAnswer) return FALSE;
  text->assign(static_cast<const wchar_t*>(data->lpData), data->cbData / sizeof(wchar_t));
  return TRUE;
}

struct Search {
  DWORD pid;
  bool main;
  HWND found;
};

BOOL CALLBACK FindOne(HWND hwnd, LPARAM lParam) {
  auto* s = reinterpret_cast<Search*>(lParam);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  if (pid != s->pid || !IsWindowVisible(hwnd)) return TRUE;
  wchar_t title[64] = L"";
  GetWindowTextW(hwnd, title, 64);
  if (std::wstring(title) != L"Varnello") return TRUE;
  if ((GetMenu(hwnd) != nullptr) != s->main) return TRUE;
  s->found = hwnd;
  return FALSE;
}

}  // namespace

std::wstring TempBase() {
  wchar_t base[MAX_PATH];
  GetTempPathW(MAX_PATH, base);
  std::wstring b = base;
  while (!b.empty() && b.back() == L'\\') b.pop_back();
  return b;
}

std::wstring BinFolder() {
  wchar_t value[MAX_PATH] = L"";
  if (GetEnvironmentVariableW(L"VARNELLO_BIN", value, MAX_PATH)) return value;
  wchar_t path[MAX_PATH];
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring p = path;
  p = p.substr(0, p.find_last_of(L'\\'));
  if (GetFileAttributesW((p + L"\\Varnello.exe").c_str()) != INVALID_FILE_ATTRIBUTES) return p;
  return p + L"\\..\\e2e-bin";  // a tool in build/<dir> beside build/e2e-bin
}

std::wstring ReleaseBinFolder() {
  wchar_t value[MAX_PATH] = L"";
  if (GetEnvironmentVariableW(L"VARNELLO_RELEASE_BIN", value, MAX_PATH)) return value;
  wchar_t path[MAX_PATH];
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring p = path;
  return p.substr(0, p.find_last_of(L'\\')) + L"\\..\\bin";
}

bool CopyFolderFiles(const std::wstring& from, const std::wstring& to) {
  if (!CreateDirectoryW(to.c_str(), nullptr)) return false;
  WIN32_FIND_DATAW d;
  HANDLE h = FindFirstFileW((from + L"\\*").c_str(), &d);
  if (h == INVALID_HANDLE_VALUE) return false;
  bool ok = true;
  do {
    if (!(d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
      ok = CopyFileW((from + L"\\" + d.cFileName).c_str(), (to + L"\\" + d.cFileName).c_str(),
                     FALSE) && ok;
  } while (FindNextFileW(h, &d));
  FindClose(h);
  return ok;
}

std::wstring MakeProgramFolder(const std::wstring& bin, const std::wstring& parent) {
  const std::wstring folder =
      parent + L"\\varnello-run-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
      std::to_wstring(GetTickCount());
  if (!CreateDirectoryW(folder.c_str(), nullptr)) return {};
  for (const wchar_t* name : {L"Varnello.exe", L"Zenlo.dll", L"ring6full.gif", L"CHIME.WAV",
                            L"TIPOFDAY.TXT"})
    if (!CopyFileW((bin + L"\\" + name).c_str(), (folder + L"\\" + name).c_str(), FALSE))
      return {};
  if (!CopyFolderFiles(bin + L"\\skins", folder + L"\\skins")) return {};
  return folder;
}

void RemoveProgramFolder(const std::wstring& folder) {
  WIN32_FIND_DATAW d;
  HANDLE h = FindFirstFileW((folder + L"\\*").c_str(), &d);
  if (h != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = d.cFileName;
      if (!(d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        DeleteFileW((folder + L"\\" + name).c_str());
      else if (name == L"skins")
        RemoveProgramFolder(folder + L"\\" + name);
    } while (FindNextFileW(h, &d));
    FindClose(h);
  }
  RemoveDirectoryW(folder.c_str());
}

ProgramRun::~ProgramRun() {
  const std::wstring store = std::wstring(L"Software\\") + varnello::kReportingStoreName;
  RegDeleteTreeW(HKEY_CURRENT_USER, store.c_str());
  RegDeleteKeyW(HKEY_CURRENT_USER, store.c_str());
  if (process_.hProcess) {
    if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
      TerminateProcess(process_.hProcess, 99);
      WaitForSingleObject(process_.hProcess, 5000);
    }
    CloseHandle(process_.hProcess);
    CloseHandle(process_.hThread);
  }
}

bool ProgramRun::Start(const std::wstring& folder) {
  const std::wstring options = std::wstring(L"Software\\") + varnello::kReportingStoreName + L"\\Options";
  const wchar_t* show = ShowTips ? L"1" : L"0";
  RegSetKeyValueW(HKEY_CURRENT_USER, options.c_str(), L"Show Tips at Startup", REG_SZ, show,
                  sizeof(wchar_t) * 2);
  std::wstring command = L"\"" + folder + L"\\Varnello.exe\"";
  STARTUPINFOW si{};
  si.cb = sizeof si;
  return CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.c_str(), &si, &process_) != FALSE;
}

HWND ProgramRun::FindWindowOf(bool main) const {
  Search s{process_.dwProcessId, main, nullptr};
  EnumWindows(&FindOne, reinterpret_cast<LPARAM>(&s));
  return s.found;
}

HWND ProgramRun::MainWindow() const { return FindWindowOf(true); }
HWND ProgramRun::SplashWindow() const { return FindWindowOf(false); }

HWND ProgramRun::WaitForMainWindow(DWORD timeoutMs) const {
  const DWORD start = GetTickCount();
  for (;;) {
    if (HWND w = MainWindow()) return w;
    if (WaitForSingleObject(process_.hProcess, 0) != WAIT_TIMEOUT) return nullptr;
    if (GetTickCount() - start > timeoutMs) return nullptr;
    Sleep(10);
  }
}

HWND ProgramRun::ReportWindow() const {
  for (HWND w = nullptr;
       (w = FindWindowExW(HWND_MESSAGE, w, varnello::kStateReportClass, nullptr)) != nullptr;) {
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    if (pid == process_.dwProcessId) return w;
  }
  return nullptr;
}

std::vector<std::wstring> ProgramRun::DescribePanes() const {
  HWND report = ReportWindow();
  if (!report) return {};
  static const wchar_t kReader[] = L"VarnelloReportReader";
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = &ReaderProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = kReader;
  RegisterClassExW(&wc);  // fails harmlessly once registered
  HWND reader = CreateWindowExW(0, kReader, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                wc.hInstance, nullptr);
  if (!reader) return {};
  std::wstring text;
  SetWindowLongPtrW(reader, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&text));
  COPYDATASTRUCT request{};
  request.dwData = varnello::kDescribePanesRequest;
  DWORD_PTR result = 0;
  const bool answered =
      SendMessageTimeoutW(report, WM_COPYDATA, reinterpret_cast<WPARAM>(reader),
                          reinterpret_cast<LPARAM>(&request), SMTO_NORMAL, 10000, &result) &&
      result;
  DestroyWindow(reader);
  if (!answered) return {};
  std::vector<std::wstring> lines;
  size_t start = 0;
  for (size_t nl; (nl = text.find(L'\n', start)) != std::wstring::npos; start = nl + 1)
    lines.push_back(text.substr(start, nl - start));
  return lines;
}

long ProgramRun::Close(DWORD timeoutMs) {
  if (HWND main = MainWindow()) PostMessageW(main, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(process_.hProcess, timeoutMs) != WAIT_OBJECT_0) return -1;
  DWORD code = 0;
  GetExitCodeProcess(process_.hProcess, &code);
  return static_cast<long>(code);
}

}  // namespace e2e
