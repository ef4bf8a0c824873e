#pragma once
// The program run: the splash, the main window it loads, and the message loop they share.
#include <memory>
#include <string>

#include "mainwindow/Splash.h"
#include "toolkit/Timer.h"

namespace varnello {

class Master;
class Tray;
class PaneListFactory;
class ZenloPaneListFactory;

// The folder of the running executable, without a trailing backslash.
std::wstring ExecutableFolder();

class VarnelloApp;

// The entry sequence of the program's executables: OLE and the common controls set up around
// an app for the executable's folder, and `run` called with it; its exit code, or 1 when an
// exception escaped.
int RunProgram(int (*run)(VarnelloApp& app));

class VarnelloApp final : public SplashHost {
 public:
  explicit VarnelloApp(std::wstring programFolder);
  ~VarnelloApp() override;
  // Runs until the main window has unloaded or start-up ended the program; the exit code.
  int Run();
  // The main window once the splash has loaded it, else null.
  const Master* MainForm() const { return master_.get(); }

  bool PrepareMaster() override;
  void LoadMaster(StartupReporter& splash) override;
  void ShowMaster() override;
  void UnloadSplash() override;
  void ShowTip() override;
  void CheckForUpdate() override;
  void EndProgram() override;

  // Where the update check asks, and the per-user store's application name (the executable's
  // name unless set); both before Run.
  void SetUpdateAddress(std::wstring baseAddress) { updateAddress_ = std::move(baseAddress); }
  void SetUserStoreName(std::wstring name) { storeName_ = std::move(name); }
  // The library's own maker of the main window's lists, and the one the main window uses (the
  // library's unless another is given before Run; it must outlive the app).
  PaneListFactory& LibraryLists();
  void UseLists(PaneListFactory& lists) { listsInUse_ = &lists; }

 private:
  void ShowAbout();
  // The main window with what it is connected to; with `inParts` only its window and menu.
  void MakeMaster(bool inParts);

  std::wstring folder_;
  SplashShared shared_;
  std::unique_ptr<ZenloPaneListFactory> lists_;
  PaneListFactory* listsInUse_ = nullptr;
  std::unique_ptr<Master> master_;
  std::unique_ptr<Tray> tray_;
  std::wstring updateAddress_;
  std::wstring storeName_;
  std::unique_ptr<Splash> splash_;
  std::unique_ptr<Splash> leaving_;  // an unloaded splash, destroyed after its tick returned
  tk::Timer reaper_;
  int exitCode_ = 0;
  int prepared_ = 0;  // pieces of PrepareMaster done
  bool masterLoaded_ = false;
};

}  // namespace varnello
