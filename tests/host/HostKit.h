#pragma once
// What a host program built from the published headers brings along: a window to put controls
// in, the library's class factory, a sink that records what it hears, and folders made with
// plain Win32 calls.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "zenlo/ZenloFileControl.h"
#include "zenlo/ZenloFileControlEvents.h"

namespace hostkit {

class Host : public zenlo::ZenloFileControlEventsBase {
 public:
  std::vector<std::wstring> Messages;
  std::vector<std::wstring> PushedDown;  // the folder each PushedDownFolder asked for
  int DriveClicks = 0;
  std::wstring Bookmark = L"(empty)";
  void Message(std::wstring& text) override { Messages.push_back(text); }
  void DriveClick() override { ++DriveClicks; }
  void GetBookmark(short& slot, std::wstring& path) override {
    path = slot == 0 ? Bookmark : L"(empty)";
  }
  void PushedDownFolder(std::wstring& currentFolder, std::wstring&) override {
    PushedDown.push_back(currentFolder);
  }
};

HWND MakeHostWindow();

// DllGetClassObject of the loaded Zenlo.dll, as a host finds it.
using GetClassObject = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
GetClassObject LibraryClassObject();

// A control from the class factory, reached through QueryInterface; null on any failure.
zenlo::ZenloFileControl* CreateThroughTheFactory();

// A control made and set up in the documented order inside `window`, sized and drawn.
// Null on failure. The caller releases it.
zenlo::ZenloFileControl* SetUpControl(HWND window, Host& host, zenlo::ListType type);

// Plain Win32 on the "\\?\" form, so names keep trailing dots and blanks and paths may pass
// MAX_PATH. `path` is an ordinary full path.
std::wstring Long(const std::wstring& path);
bool MakeFolder(const std::wstring& path);
bool MakeFile(const std::wstring& path, std::uint64_t bytes);
void RemoveTree(const std::wstring& path);  // path ends in "\"
bool Exists(const std::wstring& path);
// The size of a file on disk, or -1 when it cannot be asked.
std::int64_t FileSizeOnDisk(const std::wstring& path);

// A folder under %TEMP% for a test, removed with everything in it.
class ScratchFolder {
 public:
  explicit ScratchFolder(const std::wstring& tag);
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  const std::wstring& Path() const { return path_; }  // ends in "\"

 private:
  std::wstring path_;
};

// The listing's filter box as a user reaches it: its window, its entries, typing a pattern
// and Enter, or choosing an entry from its list.
HWND FilterBox(zenlo::ZenloFileControl& control);
std::vector<std::wstring> FilterBoxEntries(HWND box);
void TypeIntoFilterBox(HWND box, const std::wstring& text);
void ChooseInFilterBox(HWND box, const std::wstring& entry);

// The names of the shown items (0..LastShownItem), in item order.
std::vector<std::wstring> ShownNames(const zenlo::ZenloFileControl& control);

// A text holds a lone half of a surrogate pair (a character cut in two).
bool HasBrokenCharacter(const std::wstring& text);

// "12,345" as the listing groups sizes here.
std::wstring Grouped(std::uint64_t n);

}  // namespace hostkit
