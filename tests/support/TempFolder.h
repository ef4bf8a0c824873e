#pragma once
// A real folder under %TEMP% for one test, removed with everything in it afterwards.
#include <windows.h>

#include <string>

namespace testsupport {

class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  // The folder's path, ending in "\".
  const std::wstring& Path() const { return path_; }
  // Creates a file (and missing parent folders) with the given size; returns its full path.
  // Names keep a trailing dot or blank, and paths may be longer than MAX_PATH.
  std::wstring File(const std::wstring& relative, std::size_t bytes = 0,
                    DWORD attributes = FILE_ATTRIBUTE_NORMAL);
  std::wstring Folder(const std::wstring& relative, DWORD attributes = 0);
  // A chain of folder names, ending in "\", that takes a path below this folder to at least
  // `length` characters (by default past the platform's 260).
  std::wstring DeepRelative(std::size_t length = 270) const;

 private:
  std::wstring path_;
};

void RemoveTree(const std::wstring& path);
// The bytes of a file; empty when it cannot be read.
std::string ReadAll(const std::wstring& path);
// A folder made by scripts/make-test-data for this test run, or "" when none was made.
std::wstring TestDataFolder(const std::wstring& name);
void SetLastWriteLocal(const std::wstring& path, WORD y, WORD mo, WORD d, WORD h, WORD mi);

}  // namespace testsupport
