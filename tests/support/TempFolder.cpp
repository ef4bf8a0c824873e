#include "support/TempFolder.h"

#include <atomic>
#include <stdexcept>
#include <string>

#include "toolkit/PathText.h"

namespace testsupport {

using tk::LongPathForm;

TempFolder::TempFolder() {
  static std::atomic<int> counter{0};
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  path_ = std::wstring(temp) + L"zenlo-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
          std::to_wstring(GetTickCount()) + L"-" + std::to_wstring(++counter) + L"\\";
  if (!CreateDirectoryW(path_.c_str(), nullptr)) throw std::runtime_error("temp folder");
}

TempFolder::~TempFolder() { RemoveTree(path_); }

static void MakeParents(const std::wstring& full) {
  for (std::size_t pos = full.find(L'\\', 3); pos != std::wstring::npos;
       pos = full.find(L'\\', pos + 1))
    CreateDirectoryW(LongPathForm(full.substr(0, pos)).c_str(), nullptr);
}

std::wstring TempFolder::File(const std::wstring& relative, std::size_t bytes, DWORD attributes) {
  std::wstring full = path_ + relative;
  MakeParents(full);
  HANDLE h = CreateFileW(LongPathForm(full).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) throw std::runtime_error("create file");
  if (bytes) {
    LARGE_INTEGER size;
    size.QuadPart = static_cast<LONGLONG>(bytes);
    SetFilePointerEx(h, size, nullptr, FILE_BEGIN);
    SetEndOfFile(h);
  }
  CloseHandle(h);
  if (attributes != FILE_ATTRIBUTE_NORMAL)
    SetFileAttributesW(LongPathForm(full).c_str(), attributes);
  return full;
}

std::wstring TempFolder::Folder(const std::wstring& relative, DWORD attributes) {
  std::wstring full = path_ + relative;
  MakeParents(full + L"\\");
  if (attributes)
    SetFileAttributesW(LongPathForm(full).c_str(), attributes | FILE_ATTRIBUTE_DIRECTORY);
  return full;
}

std::wstring TempFolder::DeepRelative(std::size_t length) const {
  std::wstring deep;
  while (path_.size() + deep.size() < length) deep += std::wstring(40, L'd') + L"\\";
  return deep;
}

void RemoveTree(const std::wstring& path) {
  std::wstring dir = path;
  if (!dir.empty() && dir.back() == L'\\') dir.pop_back();
  WIN32_FIND_DATAW e;
  HANDLE h = FindFirstFileW((LongPathForm(dir + L"\\") + L"*").c_str(), &e);
  if (h != INVALID_HANDLE_VALUE) {
    do {
      std::wstring name = e.cFileName;
      if (name == L"." || name == L"..") continue;
      std::wstring full = dir + L"\\" + name;
      SetFileAttributesW(LongPathForm(full).c_str(), FILE_ATTRIBUTE_NORMAL);
      if (e.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        RemoveTree(full);
      else
        DeleteFileW(LongPathForm(full).c_str());
    } while (FindNextFileW(h, &e));
    FindClose(h);
  }
  SetFileAttributesW(LongPathForm(dir).c_str(), FILE_ATTRIBUTE_NORMAL);
  RemoveDirectoryW(LongPathForm(dir).c_str());
}

std::string ReadAll(const std::wstring& path) {
  HANDLE h = CreateFileW(LongPathForm(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                         OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return {};
  std::string text(GetFileSize(h, nullptr), '\0');
  DWORD got = 0;
  ReadFile(h, text.data(), static_cast<DWORD>(text.size()), &got, nullptr);
  CloseHandle(h);
  return text;
}

std::wstring TestDataFolder(const std::wstring& name) {
  wchar_t root[1024];
  DWORD n = GetEnvironmentVariableW(L"ZENLO_TEST_DATA", root, 1024);
  if (n == 0 || n >= 1024) return {};
  return std::wstring(root) + L"\\" + name + L"\\";
}

void SetLastWriteLocal(const std::wstring& path, WORD y, WORD mo, WORD d, WORD h, WORD mi) {
  SYSTEMTIME local{y, mo, 0, d, h, mi, 0, 0};
  FILETIME lft, utc;
  SystemTimeToFileTime(&local, &lft);
  LocalFileTimeToFileTime(&lft, &utc);
  HANDLE f = CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                         nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  SetFileTime(f, nullptr, nullptr, &utc);
  CloseHandle(f);
}

}  // namespace testsupport
