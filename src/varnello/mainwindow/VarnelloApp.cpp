#include "mainwindow/VarnelloApp.h"

#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <shellapi.h>

#include "mainwindow/Master.h"
#include "mainwindow/Tray.h"
#include "mainwindow/ZenloPaneList.h"

namespace varnello {

std::wstring ExecutableFolder() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n < path.size()) {
      path.resize(n);
      break;
    }
    path.resize(path.size() * 2);
  }
  const auto slash = path.find_last_of(L'\\');
  return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

int RunProgram(int (*run)(VarnelloApp& app)) {
  OleInitialize(nullptr);
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_BAR_CLASSES};
  InitCommonControlsEx(&icc);
  int rc = 0;
  try {
    VarnelloApp app(ExecutableFolder());
    rc = run(app);
  } catch (...) {
    rc = 1;
  }
  OleUninitialize();
  return rc;
}

namespace {

// The running executable's name without its folder and extension.
std::wstring ExecutableName() {
  wchar_t path[MAX_PATH] = L"";
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring name = path;
  name = name.substr(name.find_last_of(L'\\') + 1);
  return name.substr(0, name.find_last_of(L'.'));
}

// The shell builds its file-type and icon tables on the first question about a file (about
// 50 ms under Wine): asked once while the splash waits, the first list read does not pay it.
void AskShellOnce() {
  SHFILEINFOW info{};
  SHGetFileInfoW(L"folder", FILE_ATTRIBUTE_DIRECTORY, &info, sizeof info,
                 SHGFI_USEFILEATTRIBUTES | SHGFI_SYSICONINDEX | SHGFI_SMALLICON | SHGFI_TYPENAME);
}

}  // namespace

VarnelloApp::VarnelloApp(std::wstring programFolder)
    : folder_(std::move(programFolder)),
      lists_(std::make_unique<ZenloPaneListFactory>(folder_)),
      listsInUse_(lists_.get()),
      storeName_(ExecutableName()) {
  reaper_.SetEnabled(false);
  reaper_.OnTick = [this] {
    reaper_.SetEnabled(false);
    leaving_.reset();
  };
}

VarnelloApp::~VarnelloApp() {
  leaving_.reset();
  splash_.reset();
  if (master_) master_->SetTray(nullptr);
  tray_.reset();
  master_.reset();  // before the library goes
  lists_.reset();
}

PaneListFactory& VarnelloApp::LibraryLists() { return *lists_; }

int VarnelloApp::Run() {
  splash_ = std::make_unique<Splash>(*this, shared_, folder_);
  if (!splash_->Load()) return 1;
  splash_->Show();
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  if (msg.message == WM_QUIT && exitCode_ == 0) exitCode_ = static_cast<int>(msg.wParam);
  return exitCode_;
}

void VarnelloApp::MakeMaster(bool inParts) {
  master_ = std::make_unique<Master>(folder_, *listsInUse_, inParts);
  master_->OnUnloaded = [] { PostQuitMessage(0); };
  master_->OnAbout = [this] { ShowAbout(); };
  master_->UserStoreName = storeName_;
  if (!updateAddress_.empty()) master_->Updates().SetSource(MakeInternetFetch(), updateAddress_);
  Master* m = master_.get();
  // The tray's right-button menu is the hidden SysTray menu; its choices come back to Master
  // as commands.
  tray_ = std::make_unique<Tray>(m->Handle(), [m] { m->RestoreWindow(); },
                                 [m] { return GetSubMenu(m->TrayMenu(), 0); });
  m->SetTray(tray_.get());
  if (splash_) master_->RegisterForm(L"Splash", splash_->Handle());
}

bool VarnelloApp::PrepareMaster() {
  // The window and its parts, the pictures, then pane 1's lists: shown by default, it is the
  // pane most starts set up after pane 0. Last, the shell's first answer.
  try {
    if (!master_) {
      MakeMaster(true);
      ++prepared_;
      return true;
    }
    if (master_->MakeNextPart()) return true;
    switch (prepared_++) {
      case 1:
        master_->MakeImagesAhead();
        return true;
      case 2:
        master_->MakeListAhead(1);
        return true;
      case 3:
        master_->MakeListAhead(101);
        return true;
      case 4:
        AskShellOnce();
        return false;
      default:
        return false;
    }
  } catch (...) {
    return false;  // what is missing is made by the start-up itself
  }
}

void VarnelloApp::LoadMaster(StartupReporter& splash) {
  if (masterLoaded_) return;
  masterLoaded_ = true;
  if (!master_) MakeMaster(false);
  master_->Form_Load(splash);
}

void VarnelloApp::ShowMaster() {
  if (master_) master_->Show();
}

void VarnelloApp::UnloadSplash() {
  if (!splash_) return;
  if (master_) master_->UnregisterForm(splash_->Handle());
  ShowWindow(splash_->Handle(), SW_HIDE);
  splash_->Timer1().SetEnabled(false);
  leaving_ = std::move(splash_);
  reaper_.SetInterval(1);
  reaper_.SetEnabled(true);
}

void VarnelloApp::ShowTip() {
  if (master_) master_->ShowTip(false);
}

void VarnelloApp::CheckForUpdate() {
  if (master_) master_->CheckForUpdate(false);
}

void VarnelloApp::EndProgram() {
  exitCode_ = 1;
  PostQuitMessage(1);
}

void VarnelloApp::ShowAbout() {
  if (splash_ || !master_) return;
  splash_ = std::make_unique<Splash>(*this, shared_, folder_);
  if (!splash_->Load()) {
    splash_.reset();
    return;
  }
  RECT m{};
  GetWindowRect(master_->Handle(), &m);
  RECT s{};
  GetWindowRect(splash_->Handle(), &s);
  const int w = s.right - s.left, h = s.bottom - s.top;
  SetWindowPos(splash_->Handle(), nullptr, m.left + (m.right - m.left) / 2 - w / 2,
               m.top + (m.bottom - m.top) / 2 - h / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  splash_->SetStatus(L"Acknowledgements and Disclaimer...");
  master_->RegisterForm(L"Splash", splash_->Handle());
  splash_->Show();
}

}  // namespace varnello
