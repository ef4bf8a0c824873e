#include "listing/model/ChangeWatch.h"

#include "library/LibraryModule.h"
#include "listing/CallGuard.h"
#include "listing/model/FolderPathCheck.h"
#include "listing/model/FolderSizes.h"
#include "listing/model/SoundPlayer.h"
#include "listing/model/PathText.h"
#include "zenlo/ZenloFileControl.h"

namespace zenlo {

void ChangeWatch::Open(const std::wstring& folder, DWORD filter) {
  Close();
  if (folder.empty()) return;
  handle_ = FindFirstChangeNotificationW(LongPathForm(folder).c_str(), FALSE, filter);
}

void ChangeWatch::Close() {
  if (handle_ != INVALID_HANDLE_VALUE) FindCloseChangeNotification(handle_);
  handle_ = INVALID_HANDLE_VALUE;
}

bool ChangeWatch::Signalled() const {
  return handle_ != INVALID_HANDLE_VALUE && WaitForSingleObject(handle_, 0) == WAIT_OBJECT_0;
}

void ZenloFileControl::WatchStart() {
  std::wstring folder;
  DWORD filter;
  if (ltFolderListType == fbFolder) {
    folder = WatchFolder;
    filter = FILE_NOTIFY_CHANGE_DIR_NAME;
  } else {
    folder = currentFolder_;
    auto unc = folder.find(L"\\\\");
    if (unc != std::wstring::npos) folder = folder.substr(unc);
    filter = FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME;
  }
  watch_->Open(folder, filter);
  WatchResume();
}

void ZenloFileControl::WatchStop() {
  watch_->Timer1.SetInterval(0);
  watch_->Timer1.SetEnabled(false);
}

void ZenloFileControl::WatchResume() {
  // A size calculation keeps the watch paused through the reads and highlights of its yields
  // and starts it when it ends.
  if (closing_ || sizes_->Running()) return;
  watch_->Timer1.SetInterval(kFirstPollMs);
  watch_->Timer1.SetEnabled(true);
}

void ZenloFileControl::ChangeNoticeClear() { folderChanged_ = false; }

void ZenloFileControl::OnWatchTick() {
  CallGuard guard(*this);
  try {
    // The folder's own removal is no change in it: under Wine a folder removed from outside,
    // or whose parent was renamed, never signals, and one that could not be watched has no
    // notification at all. One look per tick finds it gone and the listing moves on.
    const bool gone = ltFolderListType != fbFolder && currentFolder_.size() > 1 &&
                      FolderIsGone(currentFolder_);
    if (watch_->Signalled() || gone) {
      watch_->Timer1.SetInterval(0);
      folderChanged_ = true;
      RefreshList();
      if (closing_) return;
      // A refresh that read nothing (a tree without a place, a gone folder with nothing left
      // to show) started no new watch: without this one the pane would never look again.
      if (watch_->Timer1.Interval() == 0 && !readBusy_) WatchStart();
    }
    if (!closing_ && watch_->Timer1.Interval() == kFirstPollMs)
      watch_->Timer1.SetInterval(kSteadyPollMs);
  } catch (...) {
    // The next start re-arms the poll.
  }
}

static std::wstring ProgramFolder() {
  const std::wstring path = ModuleFileName(nullptr);
  return path.substr(0, path.find_last_of(L'\\'));
}

// The built-in chime plays straight from the library's locked resource, which stays valid while
// the library is loaded: an asynchronous sound never plays from freed memory.
void ZenloFileControl::TestSound() {
  try {
    const std::wstring file = ProgramFolder() + L"\\CHIME.WAV";
    if (GetFileAttributesW(file.c_str()) != INVALID_FILE_ATTRIBUTES) {
      if (sound_->DeviceCount() < 1)
        sound_->Beep();
      else
        sound_->PlayFile(file);
      return;
    }
    HMODULE module = LibraryModule();
    HRSRC res = FindResourceW(module, MAKEINTRESOURCEW(101), L"VR_SOUND");
    HGLOBAL data = res ? LoadResource(module, res) : nullptr;
    const void* wave = data ? LockResource(data) : nullptr;
    if (wave) sound_->PlayMemory(wave);
  } catch (...) {
    // A missing device or sound never produces a message.
  }
}

}  // namespace zenlo
