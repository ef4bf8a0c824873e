// VarnelloDriver: waits for a running Varnello's main window, or closes it. Used by the run
// script to take its screenshot on a private display.
//   VarnelloDriver wait-main <timeout-ms>   prints the milliseconds it waited; 1 on time-out
//   VarnelloDriver close <timeout-ms>       closes the main window and waits for it to go
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

HWND FindMain() {
  struct S {
    HWND found = nullptr;
  } s;
  EnumWindows(
      [](HWND hwnd, LPARAM lp) -> BOOL {
        wchar_t title[64] = L"";
        GetWindowTextW(hwnd, title, 64);
        if (IsWindowVisible(hwnd) && GetMenu(hwnd) && std::wstring(title) == L"Varnello") {
          reinterpret_cast<S*>(lp)->found = hwnd;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&s));
  return s.found;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) {
    std::fwprintf(stderr, L"usage: VarnelloDriver wait-main|close <timeout-ms>\n");
    return 2;
  }
  const std::wstring command = argv[1];
  const DWORD timeout = static_cast<DWORD>(std::wcstoul(argv[2], nullptr, 10));
  const DWORD start = GetTickCount();
  if (command == L"wait-main") {
    while (!FindMain()) {
      if (GetTickCount() - start > timeout) return 1;
      Sleep(20);
    }
    std::printf("%lu\n", static_cast<unsigned long>(GetTickCount() - start));
    return 0;
  }
  if (command == L"close") {
    HWND main = FindMain();
    if (!main) return 1;
    PostMessageW(main, WM_CLOSE, 0, 0);
    while (IsWindow(main) && IsWindowVisible(main)) {
      if (GetTickCount() - start > timeout) return 1;
      Sleep(20);
    }
    return 0;
  }
  return 2;
}
