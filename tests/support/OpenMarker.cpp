// Stands in for an associated program: writes "<file>.opened" holding the folder it was
// started in, so a test sees that the shell started it, with which file and where.
#include <windows.h>

#include <string>

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return 1;
  wchar_t folder[MAX_PATH + 1] = {};
  GetCurrentDirectoryW(MAX_PATH + 1, folder);
  const std::wstring marker = std::wstring(argv[1]) + L".opened";
  HANDLE h = CreateFileW(marker.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return 2;
  DWORD written = 0;
  WriteFile(h, folder, static_cast<DWORD>(wcslen(folder) * sizeof(wchar_t)), &written, nullptr);
  CloseHandle(h);
  return 0;
}
