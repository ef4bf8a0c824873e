#include "mainwindow/Splash.h"

#include <commctrl.h>

#include "mainwindow/ProgramVersion.h"
#include "toolkit/Gdi.h"
#include "toolkit/MessageBox.h"
#include "toolkit/PathText.h"
#include "toolkit/Text.h"

namespace varnello {

namespace {

constexpr int kWidthPx = 420, kHeightPx = 300;
constexpr int kFrameLeftPx = 24, kFrameTopPx = 24;
constexpr int kCloseId = 201;
constexpr int kAckCloseId = 202;
constexpr COLORREF kWebColour = RGB(50, 67, 149);
const wchar_t kAckCaption[] = L"Acknowledgements and Disclaimer...";

const wchar_t kCopyRight[] = L"Copyright (c) the Varnello developers. All rights reserved.";
const wchar_t kTrademark[] = L"Varnello and its ring logo are trademarks of the Varnello developers.";
const wchar_t kWeb[] = L"www.varnello.example";

int Px(long twips, int tpp) { return tk::TwipsToPixels(twips, tpp); }

// The credit form the About box links to.
class AcknowledgementsForm final : public tk::Window {
 public:
  bool Open(HWND owner, const RECT& over) {
    if (!CreateOwn(owner, WS_POPUP | WS_CAPTION | WS_SYSMENU)) return false;
    SetWindowTextW(Handle(), L"Acknowledgements and Disclaimer");
    const int w = 380, h = 180;
    // Centred over the splash.
    const int left = over.left + (over.right - over.left) / 2 - w / 2;
    const int top = over.top + (over.bottom - over.top) / 2 - h / 2;
    SetWindowPos(Handle(), nullptr, left, top, w, h, SWP_NOZORDER);
    RECT client;
    GetClientRect(Handle(), &client);
    HWND close = CreateWindowExW(0, L"BUTTON", L"Close", WS_CHILD | WS_VISIBLE | WS_TABSTOP |
                                 BS_DEFPUSHBUTTON, client.right - 88, client.bottom - 34, 76, 24,
                                 Handle(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(kAckCloseId)),
                                 nullptr, nullptr);
    SendMessageW(close, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)),
                 FALSE);
    ShowWindow(Handle(), SW_SHOW);
    return true;
  }

 protected:
  LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
    if (msg == WM_PAINT) {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(Handle(), &ps);
      RECT r;
      GetClientRect(Handle(), &r);
      FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
      InflateRect(&r, -12, -12);
      r.bottom -= 34;  // above the close button
      SetBkMode(dc, TRANSPARENT);
      DrawTextW(dc,
                L"Varnello includes the work of others whom we thank here; their code is used "
                L"under the terms they chose.\r\n\r\nVarnello comes without any warranty: use it "
                L"at your own risk.",
                -1, &r, DT_WORDBREAK);
      EndPaint(Handle(), &ps);
      return 0;
    }
    if (msg == WM_COMMAND && LOWORD(wParam) == kAckCloseId) {
      PostMessageW(Handle(), WM_CLOSE, 0, 0);  // not while the button is still on the stack
      return 0;
    }
    if (msg == WM_CLOSE) {
      Destroy();
      delete this;  // the form owns itself once open
      return 0;
    }
    return Window::OnMessage(msg, wParam, lParam);
  }
};

}  // namespace

// The status line, which in the About box is a link.
class Splash::StatusLabel final : public tk::Label {
 public:
  explicit StatusLabel(Splash& owner) : owner_(owner) {}

 protected:
  LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
    if (msg == WM_LBUTTONUP) {
      owner_.txtStatus_Click();
      return 0;
    }
    return Label::OnMessage(msg, wParam, lParam);
  }

 private:
  Splash& owner_;
};

Splash::Splash(SplashHost& host, SplashShared& shared, std::wstring programFolder)
    : host_(host), shared_(shared), folder_(std::move(programFolder)) {
  timer1_.SetEnabled(false);
  timer1_.OnTick = [this] { Timer1_Tick(); };
}

Splash::~Splash() {
  timer1_.SetEnabled(false);
  if (acknow_ && IsWindow(acknow_)) PostMessageW(acknow_, WM_CLOSE, 0, 0);
}

bool Splash::Load() {
  aboutBox_ = shared_.StartupDone;
  if (!CreateOwn(nullptr, WS_POPUP | WS_BORDER | WS_CLIPCHILDREN, WS_EX_TOOLWINDOW)) return false;
  SetWindowTextW(Handle(), L"Varnello");
  // Centred on the screen.
  const int left = GetSystemMetrics(SM_CXSCREEN) / 2 - kWidthPx / 2;
  const int top = GetSystemMetrics(SM_CYSCREEN) / 2 - kHeightPx / 2;
  SetWindowPos(Handle(), nullptr, left, top, kWidthPx, kHeightPx, SWP_NOZORDER | SWP_NOACTIVATE);
  ResetRequested = false;
  image1_.Elements[0].Left = kFrameLeftPx * tk::TwipsPerPixelX();
  image1_.Elements[0].Top = kFrameTopPx * tk::TwipsPerPixelY();

  status_ = std::make_unique<StatusLabel>(*this);
  status_->Create(Handle());
  status_->SetColours(RGB(0, 0, 0), RGB(255, 255, 255));
  status_->SetBounds(16, kHeightPx - 40, kWidthPx - 34, 20);
  status_->SetVisible(true);
  if (aboutBox_) {
    closeButton_ = CreateWindowExW(0, L"BUTTON", L"x", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON,
                                   kWidthPx - 30, 6, 20, 20, Handle(),
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(kCloseId)),
                                   nullptr, nullptr);
    closeTip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                Handle(), nullptr, nullptr, nullptr);
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = Handle();
    tool.uId = reinterpret_cast<UINT_PTR>(closeButton_);
    tool.lpszText = const_cast<wchar_t*>(L"Press to close.");
    SendMessageW(closeTip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  } else {
    SetStatus(L"initializing...");
  }
  text1_ = tk::AddTrailingBackslash(folder_) + L"ring6full.gif";
  timer1_.SetEnabled(false);
  start();
  return true;
}

void Splash::Show() {
  ShowWindow(Handle(), SW_SHOW);
  SetForegroundWindow(Handle());
  SetFocus(Handle());
  UpdateWindow(Handle());
}

void Splash::start() {
  timer1_.SetEnabled(false);
  frameIndex_ = 0;
  framesLoaded_ = LoadAniGifFrames(text1_, image1_, shared_.FrameLast);
  for (size_t i = 0; i < image1_.Elements.size(); ++i) image1_.Elements[i].Visible = i == 0;
  if (Handle()) InvalidateRect(Handle(), nullptr, FALSE);
  timer1_.SetInterval(40);
  timer1_.SetEnabled(true);
}

void Splash::SetStatus(const std::wstring& text) {
  if (!status_) return;
  status_->SetCaption(text);
  status_->Refresh();
}

std::wstring Splash::Status() const { return status_ ? status_->Caption() : std::wstring(); }

void Splash::ShowElement(long i, bool visible) {
  if (i < 0 || i >= static_cast<long>(image1_.Elements.size())) return;
  AnimationFrame& frame = image1_.Elements[static_cast<size_t>(i)];
  frame.Visible = visible;
  if (visible) frame.Decode();
  if (Handle()) InvalidateRect(Handle(), nullptr, FALSE);
}

void Splash::Timer1_Tick() {
  long& i = frameIndex_;
  if (i >= shared_.FrameLast) {
    i = 0;
    if (framesLoaded_) {
      for (size_t n = 1; n < image1_.Elements.size(); ++n) image1_.Elements[n].Visible = false;
      ShowElement(0, true);
    }
    timer1_.SetInterval(40);
    if (Handle()) UpdateWindow(Handle());
    // A tick nested inside the main window's start-up must not load it again. One nested in
    // a piece of the preparation waits for that piece to unwind: the cycle completes again on
    // the next tick.
    if (!shared_.StartupDone && !masterLoadStarted_) {
      if (preparing_) {
        i = shared_.FrameLast;
      } else {
        masterLoadStarted_ = true;
        host_.LoadMaster(*this);
      }
    }
  } else {
    // Re-armed first: decoding the next frame must not stretch the animation's cadence.
    timer1_.SetInterval(40);
    if (framesLoaded_) ShowElement(i, false);
    ++i;
    if (framesLoaded_) ShowElement(i, true);
    if (!shared_.StartupDone) {
      // Once the main window loads, the status line names its phase; a nested tick must not
      // overwrite it, or a failure would report the wrong stage.
      if (i == 12 && !masterLoadStarted_) SetStatus(L"loading main window...");
      if (ResetRequested) AskReset();
      // The hidden part of the main window is made while the animation waits for its next
      // frame, a piece a tick, so that the tick that loads it has less to do.
      if (preparationLeft_ && !preparing_ && !masterLoadStarted_) {
        preparing_ = true;
        try {
          preparationLeft_ = host_.PrepareMaster();
        } catch (...) {
          preparationLeft_ = false;  // the phases make what is missing
        }
        preparing_ = false;
      }
    }
  }
  if (!shared_.StartupDone && LoadedFlag && !ShutDown) {
    shared_.StartupDone = true;  // before anything below can yield into another tick
    timer1_.SetEnabled(false);
    host_.ShowMaster();
    host_.UnloadSplash();
    try {
      host_.ShowTip();
      host_.CheckForUpdate();
    } catch (...) {
      // The tip and the update check cannot undo a finished start-up.
    }
    return;
  }
  if (ShutDown) {
    timer1_.SetEnabled(false);
    host_.EndProgram();
  }
}

void Splash::AskReset() {
  ResetRequested = false;
  // Once the main window has begun loading, the settings file may already have been read:
  // deleting it then would lose it without resetting anything.
  if (masterLoadStarted_) return;
  const bool wasEnabled = timer1_.Enabled();
  timer1_.SetEnabled(false);  // no tick may run on while the question waits
  const int answer = tk::ShowMessageBox(Handle(), L"Do you want to reset Varnello?", L"Varnello",
                                        MB_YESNO);
  if (answer == IDYES) DeleteFileW((folder_ + L"\\user.usr").c_str());
  if (wasEnabled && !masterLoadStarted_) timer1_.SetEnabled(true);
}

void Splash::Form_KeyDown(int keyCode) {
  if (keyCode == 82) ResetRequested = true;
}

void Splash::txtStatus_Click() {
  if (tk::UpperCase(Status()) != tk::UpperCase(kAckCaption)) return;
  RECT over{};
  GetWindowRect(Handle(), &over);
  auto* form = new AcknowledgementsForm();
  if (form->Open(nullptr, over)) {
    acknow_ = form->Handle();
    acknowShown_ = true;
  } else {
    delete form;
  }
}

void Splash::OnPaint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(Handle(), &ps);
  RECT client;
  GetClientRect(Handle(), &client);
  FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  for (const AnimationFrame& e : image1_.Elements)
    if (e.Visible && e.Image)
      e.Image.Render(dc, Px(e.Left, tk::TwipsPerPixelX()), Px(e.Top, tk::TwipsPerPixelY()));
  SetBkMode(dc, TRANSPARENT);
  tk::Font big(CreateFontW(-28, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma"));
  tk::Font small(CreateFontW(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0,
                             L"Tahoma"));
  {
    tk::SelectObjectScope f(dc, big.Get());
    SetTextColor(dc, kWebColour);
    RECT r{170, 40, kWidthPx - 16, 80};
    DrawTextW(dc, L"Varnello", -1, &r, DT_SINGLELINE);
  }
  tk::SelectObjectScope f(dc, small.Get());
  SetTextColor(dc, RGB(0, 0, 0));
  const std::wstring version = L"Version " + std::to_wstring(kVersionMajor) + L"." +
                               std::to_wstring(kVersionMinor) + L"." +
                               std::to_wstring(kVersionRevision);
  RECT r{170, 84, kWidthPx - 16, 104};
  DrawTextW(dc, version.c_str(), -1, &r, DT_SINGLELINE);
  r = {16, 170, kWidthPx - 16, 200};
  DrawTextW(dc, kCopyRight, -1, &r, DT_WORDBREAK);
  r = {16, 200, kWidthPx - 16, 230};
  DrawTextW(dc, kTrademark, -1, &r, DT_WORDBREAK);
  SetTextColor(dc, kWebColour);
  r = {16, 232, kWidthPx - 16, 252};
  DrawTextW(dc, kWeb, -1, &r, DT_SINGLELINE);
  EndPaint(Handle(), &ps);
}

LRESULT Splash::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_PAINT:
      OnPaint();
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_KEYDOWN:
      Form_KeyDown(static_cast<int>(wParam));
      return 0;
    case WM_LBUTTONDOWN:
      SetFocus(Handle());
      return 0;
    case WM_COMMAND:
      if (LOWORD(wParam) == kCloseId) host_.UnloadSplash();
      return 0;
    default:
      return Window::OnMessage(msg, wParam, lParam);
  }
}

}  // namespace varnello
