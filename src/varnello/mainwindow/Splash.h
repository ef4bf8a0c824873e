#pragma once
// The start-up splash: plays the animation and drives start-up from its timer; after start-up
// the same form is the About box.
#include <memory>
#include <string>

#include "mainwindow/AnimationLoader.h"
#include "mainwindow/StartupReporter.h"
#include "toolkit/Timer.h"
#include "toolkit/Window.h"

namespace varnello {

class Splash;

// What the splash asks of the program around it.
class SplashHost {
 public:
  virtual ~SplashHost() = default;
  // One piece of the main window's hidden preparation, done on a tick of the first cycle;
  // false once nothing is left. Nothing of it shows, and what fails is done again (and
  // reported) by the start-up phase that needs it.
  virtual bool PrepareMaster() { return false; }
  // Loads the main window; its whole start-up runs inside this call.
  virtual void LoadMaster(StartupReporter& splash) = 0;
  virtual void ShowMaster() = 0;
  // The splash is done; it is destroyed once its tick has returned.
  virtual void UnloadSplash() = 0;
  virtual void ShowTip() = 0;
  virtual void CheckForUpdate() = 0;
  // Ends the program at once: nothing is saved, no unload runs.
  virtual void EndProgram() = 0;
};

// Program-wide values the splash shares with the rest of the program.
struct SplashShared {
  bool StartupDone = false;  // the main window has been shown; later loads are the About box
  long FrameLast = 0;        // index of the last animation frame
};

class Splash final : public tk::Window, public StartupReporter {
 public:
  Splash(SplashHost& host, SplashShared& shared, std::wstring programFolder);
  ~Splash() override;

  // Form_Load: creates and centres the window, fills its texts and starts the animation.
  bool Load();
  void Show();
  // (Re)starts the animation from frame 0.
  void start();
  void Timer1_Tick();
  void Form_KeyDown(int keyCode);
  void txtStatus_Click();

  bool LoadedFlag = false;
  bool ShutDown = false;
  bool ResetRequested = false;

  // StartupReporter
  void SetStatus(const std::wstring& text) override;
  std::wstring Status() const override;
  void SetLoadedFlag() override { LoadedFlag = true; }
  void SetShutDown() override { ShutDown = true; }

  long FrameIndex() const { return frameIndex_; }
  bool FramesLoaded() const { return framesLoaded_; }
  const AnimationFrames& Image1() const { return image1_; }
  const std::wstring& Text1() const { return text1_; }
  tk::Timer& Timer1() { return timer1_; }
  bool IsAboutBox() const { return aboutBox_; }
  bool AcknowledgementsShown() const { return acknowShown_; }

 protected:
  LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

 private:
  class StatusLabel;
  void AskReset();
  void OnPaint();
  void ShowElement(long i, bool visible);

  SplashHost& host_;
  SplashShared& shared_;
  std::wstring folder_;
  std::wstring text1_;
  std::unique_ptr<StatusLabel> status_;
  tk::Timer timer1_;
  AnimationFrames image1_;
  long frameIndex_ = 0;
  bool framesLoaded_ = false;
  bool masterLoadStarted_ = false;
  bool preparing_ = false;        // a piece of the preparation is on the stack
  bool preparationLeft_ = true;
  bool aboutBox_ = false;
  bool acknowShown_ = false;
  HWND acknow_ = nullptr;
  HWND closeButton_ = nullptr;
  HWND closeTip_ = nullptr;  // owned by the splash: goes with it
};

}  // namespace varnello
