#include "ProgramRun.h"

#include <fstream>
#include <iterator>

namespace e2e {

namespace {

constexpr ULONG_PTR kDescribePanesRequest = 0x56524450;  // the main window's state report

std::wstring Utf8ToWide(const std::string& s) {
  const int n = MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
  std::wstring w(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), w.data(), n);
  return w;
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

std::wstring BinFolder() {
  wchar_t value[MAX_PATH] = L"";
  if (GetEnvironmentVariableW(L"VARNELLO_BIN", value, MAX_PATH)) return value;
  wchar_t path[MAX_PATH];
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring p = path;
  p = p.substr(0, p.find_last_of(L'\\'));
  if (GetFileAttributesW((p + L"\\Varnello.exe").c_str()) != INVALID_FILE_ATTRIBUTES) return p;
  return p + L"\\..\\bin";  // a tool in build/<dir> beside build/bin
}

std::wstring MakeProgramFolder(const std::wstring& bin, const std::wstring& parent) {
  const std::wstring folder =
      parent + L"\\varnello-run-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
      std::to_wstring(GetTickCount());
  if (!CreateDirectoryW(folder.c_str(), nullptr)) return {};
  for (const wchar_t* name : {L"Varnello.exe", L"Zenlo.dll", L"ring6full.gif", L"CHIME.WAV"})
    if (!CopyFileW((bin + L"\\" + name).c_str(), (folder + L"\\" + name).c_str(), FALSE))
      return {};
  return folder;
}

void RemoveProgramFolder(const std::wstring& folder) {
  WIN32_FIND_DATAW d;
  HANDLE h = FindFirstFileW((folder + L"\\*").c_str(), &d);
  if (h != INVALID_HANDLE_VALUE) {
    do {
      if (!(d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        DeleteFileW((folder + L"\\" + d.cFileName).c_str());
    } while (FindNextFileW(h, &d));
    FindClose(h);
  }
  RemoveDirectoryW(folder.c_str());
}

ProgramRun::~ProgramRun() {
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

std::vector<std::wstring> ProgramRun::DescribePanes(const std::wstring& file) const {
  HWND main = MainWindow();
  if (!main) return {};
  COPYDATASTRUCT data{};
  data.dwData = kDescribePanesRequest;
  data.cbData = static_cast<DWORD>(file.size() * sizeof(wchar_t));
  data.lpData = const_cast<wchar_t*>(file.c_str());
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(main, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG,
                           10000, &result) ||
      !result)
    return {};
  std::ifstream in(file.c_str(), std::ios::binary);
  const std::wstring text =
      Utf8ToWide(std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()));
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
