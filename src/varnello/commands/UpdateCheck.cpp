#include "commands/UpdateCheck.h"

#include <shellapi.h>

#include <atomic>
#include <mutex>
#include <thread>

#include "mainwindow/Master.h"
#include "mainwindow/ProgramVersion.h"
#include "toolkit/MousePointer.h"
#include "toolkit/PathText.h"
#include "toolkit/SettingRecords.h"
#include "toolkit/Text.h"

#ifndef VARNELLO_UPDATE_BASE_URL
#define VARNELLO_UPDATE_BASE_URL "https://www.varnello.example/vr_ver/"
#endif

namespace varnello {

namespace {

const wchar_t kSiteHost[] = L"www.varnello.example";
const wchar_t kSiteHome[] = L"https://www.varnello.example/";
const wchar_t kFirstRunMarker[] = L"X09x";
const wchar_t kMarkerTold[] = L"X09y";

constexpr UINT kJobDone = WM_APP + 1;
constexpr int kUpdateId = 301;
constexpr int kPassId = 302;
// The worker's fetches have their own time-outs; this only guards against one that hangs.
constexpr unsigned kDeadlineMs = 10000;
constexpr std::size_t kVersionLimit = 4096;
constexpr std::size_t kNewsLimit = 64 * 1024;
constexpr int kMaxPart = 9999;

std::wstring Widen(const char* s) { return std::wstring(s, s + std::char_traits<char>::length(s)); }

bool Blank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// A whole number of 1 to 4 digits, nothing else.
std::optional<int> Part(const std::string& s) {
  if (s.empty() || s.size() > 4) return std::nullopt;
  int v = 0;
  for (char c : s) {
    if (c < '0' || c > '9') return std::nullopt;
    v = v * 10 + (c - '0');
  }
  return v <= kMaxPart ? std::optional<int>(v) : std::nullopt;
}

VersionNumber LocalVersion() { return {kVersionMajor, kVersionMinor, kVersionRevision}; }

}  // namespace

double VersionNumber::Stored() const {
  return static_cast<double>(Major) * 1e8 + static_cast<double>(Minor) * 1e4 +
         static_cast<double>(Revision);
}

VersionReply ReadVersionReply(const std::string& reply) {
  std::size_t b = 0, e = reply.size();
  while (b < e && Blank(reply[b])) ++b;
  while (e > b && Blank(reply[e - 1])) --e;
  const std::string text = reply.substr(b, e - b);
  VersionReply out;
  // An error page or nothing at all.
  if (text.empty() || text.size() >= 31) return out;
  if (text == "888888") {
    out.What = VersionReply::Kind::Outdated;
    return out;
  }
  const std::size_t p1 = text.find('.');
  const std::size_t p2 = p1 == std::string::npos ? p1 : text.find('.', p1 + 1);
  if (p2 == std::string::npos || text.find('.', p2 + 1) != std::string::npos) return out;
  const auto a = Part(text.substr(0, p1));
  const auto m = Part(text.substr(p1 + 1, p2 - p1 - 1));
  const auto r = Part(text.substr(p2 + 1));
  if (!a || !m || !r) return out;
  out.What = VersionReply::Kind::Version;
  out.Version = {*a, *m, *r};
  return out;
}

UpdateVerdict JudgeReply(const VersionReply& reply, VersionNumber local, double announced,
                         bool manual) {
  if (reply.What == VersionReply::Kind::Failed) return UpdateVerdict::Failed;
  if (reply.What == VersionReply::Kind::Outdated) return UpdateVerdict::Outdated;
  if (!manual && reply.Version.Stored() == announced) return UpdateVerdict::AlreadyAnnounced;
  if (!(reply.Version > local)) return UpdateVerdict::UpToDate;
  return UpdateVerdict::Newer;
}

std::wstring NormaliseLineEnds(const std::wstring& text) {
  std::wstring out;
  out.reserve(text.size() + text.size() / 16);
  for (std::size_t i = 0; i < text.size(); ++i) {
    const wchar_t c = text[i];
    if (c == L'\0') continue;
    if (c == L'\r') {
      if (i + 1 < text.size() && text[i + 1] == L'\n') ++i;
      out += L"\r\n";
    } else if (c == L'\n') {
      out += L"\r\n";
    } else {
      out += c;
    }
  }
  return out;
}

// ---------------------------------------------------------------------------------------------
// frmUpdate

UpdateNoticeForm::~UpdateNoticeForm() { Destroy(); }

bool UpdateNoticeForm::Open(const std::wstring& news, const RECT& over) {
  if (!CreateOwn(nullptr, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN)) return false;
  SetWindowTextW(Handle(), L"Software Update Available!");
  RECT frame{0, 0, 440, 300};
  AdjustWindowRectEx(&frame, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, FALSE, 0);
  const int w = frame.right - frame.left, h = frame.bottom - frame.top;
  SetWindowPos(Handle(), nullptr, over.left + (over.right - over.left) / 2 - w / 2,
               over.top + (over.bottom - over.top) / 2 - h / 2, w, h, SWP_NOZORDER);
  newsFont_.Reset(CreateFontW(-13, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0,
                              L"Arial"));
  buttonFont_.Reset(CreateFontW(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0,
                                L"Tahoma"));
  news_ = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"",
                          WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_READONLY |
                              ES_AUTOVSCROLL,
                          12, 12, 416, 232, Handle(), nullptr, nullptr, nullptr);
  SendMessageW(news_, WM_SETFONT, reinterpret_cast<WPARAM>(newsFont_.Get()), FALSE);
  SetWindowTextW(news_, news.c_str());
  auto button = [&](const wchar_t* caption, int id, int x) {
    HWND b = CreateWindowExW(0, L"BUTTON", caption, WS_CHILD | WS_VISIBLE | WS_TABSTOP, x, 256,
                             200, 30, Handle(),
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
    SendMessageW(b, WM_SETFONT, reinterpret_cast<WPARAM>(buttonFont_.Get()), FALSE);
    return b;
  };
  update_ = button(L"Get Update from Website", kUpdateId, 12);
  pass_button_ = button(L"Don't get the Update", kPassId, 228);
  ShowWindow(Handle(), SW_SHOW);
  SetFocus(update_);
  return true;
}

std::wstring UpdateNoticeForm::News() const {
  if (!news_ || !Handle()) return {};
  std::wstring s(static_cast<std::size_t>(GetWindowTextLengthW(news_)) + 1, L'\0');
  s.resize(static_cast<std::size_t>(GetWindowTextW(news_, s.data(), static_cast<int>(s.size()))));
  return s;
}

void UpdateNoticeForm::cmdUpdate_Click() {
  Destroy();
  // The owner may replace this form from here on: nothing of it is touched after the call.
  auto act = getUpdate_;
  if (act) act();
}

void UpdateNoticeForm::cmdPass_Click() {
  Destroy();
  auto act = pass_;
  if (act) act();
}

LRESULT UpdateNoticeForm::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_COMMAND:
      if (LOWORD(wParam) == kUpdateId && HIWORD(wParam) == BN_CLICKED) {
        cmdUpdate_Click();
        return 0;
      }
      if (LOWORD(wParam) == kPassId && HIWORD(wParam) == BN_CLICKED) {
        cmdPass_Click();
        return 0;
      }
      break;
    case WM_CTLCOLORSTATIC:
      // The read-only news box keeps the form's white.
      SetBkColor(reinterpret_cast<HDC>(wParam), RGB(255, 255, 255));
      return reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
    case WM_ERASEBKGND: {
      RECT r;
      GetClientRect(Handle(), &r);
      FillRect(reinterpret_cast<HDC>(wParam), &r, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
      return 1;
    }
    default:
      break;
  }
  return ModelessForm::OnMessage(msg, wParam, lParam);
}

// ---------------------------------------------------------------------------------------------
// The check

struct UpdateCheck::Job {
  bool Manual = false;
  bool FirstRunNotice = false;
  std::wstring Base;
  VersionNumber Local;
  double Announced = 0;
  std::shared_ptr<DocumentFetch> Fetch;
  HWND Answer = nullptr;
  // Written by the worker before Done.
  UpdateVerdict Verdict = UpdateVerdict::Failed;
  VersionNumber Online;
  std::wstring News;
  std::atomic<bool> Done{false};
  std::mutex Lock;
  bool Abandoned = false;  // under Lock: the window that waited has gone or stopped waiting

  void Run() {
    try {
      if (FirstRunNotice) Fetch->Fetch(Base + L"vr00004.txt", kVersionLimit);
      const VersionReply reply = ReadVersionReply(Fetch->Fetch(Base + L"vrver.txt", kVersionLimit));
      Verdict = JudgeReply(reply, Local, Announced, Manual);
      Online = reply.Version;
      if (Verdict == UpdateVerdict::Newer)
        News = NormaliseLineEnds(tk::DecodeText(Fetch->Fetch(Base + L"vrnews.txt", kNewsLimit)));
    } catch (...) {
      Verdict = UpdateVerdict::Failed;
    }
    Done = true;
    std::lock_guard<std::mutex> hold(Lock);
    if (!Abandoned) PostMessageW(Answer, kJobDone, 0, 0);
  }

  void Abandon() {
    std::lock_guard<std::mutex> hold(Lock);
    Abandoned = true;
  }
};

UpdateCheck::UpdateCheck(Master& master)
    : m_(master), fetch_(MakeInternetFetch()), base_(Widen(VARNELLO_UPDATE_BASE_URL)) {
  OpenAddress = [](const std::wstring& address) {
    ShellExecuteW(nullptr, nullptr, address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
  };
  answers_.Create(HWND_MESSAGE, 0, [this](UINT msg, WPARAM, LPARAM, LRESULT& result) {
    if (msg != kJobDone) return false;
    if (job_ && job_->Done) Finished();
    result = 0;
    return true;
  });
  deadline_.SetEnabled(false);
  deadline_.OnTick = [this] {
    deadline_.SetEnabled(false);
    if (!job_ || job_->Done) return;
    // The worker is left to end on its own; its answer is no longer wanted.
    job_->Abandon();
    job_->Verdict = UpdateVerdict::Failed;
    Finished();
  };
}

UpdateCheck::~UpdateCheck() {
  deadline_.SetEnabled(false);
  if (job_) job_->Abandon();
  if (savedPointer_) tk::SetScreenMousePointer(*savedPointer_);
}

void UpdateCheck::SetSource(std::shared_ptr<DocumentFetch> fetch, std::wstring baseAddress) {
  fetch_ = std::move(fetch);
  base_ = std::move(baseAddress);
}

UpdateNoticeForm* UpdateCheck::Notice() {
  return notice_ && notice_->Handle() ? notice_.get() : nullptr;
}

void UpdateCheck::CheckForUpdate(bool manual) {
  if (job_) {
    queued_ = queued_.value_or(false) || manual;
    return;
  }
  Start(manual);
}

bool UpdateCheck::TellFirstRun() {
  const std::wstring path = tk::LongPathForm(m_.ProgramFolder() + L"\\arbr.ist");
  const auto bytes = tk::ReadFileBytes(path);
  if (!bytes) return false;
  const auto records = tk::ParseSettingRecords(*bytes);
  if (records.empty() || records.back().Key != kFirstRunMarker) return false;
  // A marker that cannot be rewritten still lets the site hear of this first run.
  tk::ReplaceFileContents(path, "\"" + tk::ToUtf8(kMarkerTold) + "\"\r\n");
  return true;
}

void UpdateCheck::Start(bool manual) {
  auto job = std::make_shared<Job>();
  job->Manual = manual;
  job->Base = base_;
  job->Local = LocalVersion();
  job->Announced = m_.Options.OnlineVersion;
  job->Fetch = fetch_;
  job->Answer = answers_.Handle();
  try {
    job->FirstRunNotice = TellFirstRun();
  } catch (...) {
  }
  if (!job->Fetch || !job->Answer) {
    Show(UpdateVerdict::Failed, manual, {}, {});
    return;
  }
  // Only an asked-for check shows that it is busy: the window stays usable meanwhile.
  if (manual && !savedPointer_) {
    savedPointer_ = tk::ScreenMousePointer();
    tk::SetScreenMousePointer(tk::PointerHourglass);
  }
  job_ = job;
  try {
    std::thread([job] { job->Run(); }).detach();
  } catch (...) {
    job_.reset();
    Show(UpdateVerdict::Failed, manual, {}, {});
    return;
  }
  deadline_.SetInterval(kDeadlineMs);
  deadline_.SetEnabled(true);
}

void UpdateCheck::Finished() {
  deadline_.SetEnabled(false);
  const std::shared_ptr<Job> job = std::move(job_);
  if (savedPointer_) {
    tk::SetScreenMousePointer(*savedPointer_);
    savedPointer_.reset();
  }
  Show(job->Verdict, job->Manual, job->Online, job->News);
  if (queued_ && !job_) {
    const bool manual = *queued_;
    queued_.reset();
    CheckForUpdate(manual);
  }
}

void UpdateCheck::Show(UpdateVerdict verdict, bool manual, VersionNumber online,
                       const std::wstring& news) {
  switch (verdict) {
    case UpdateVerdict::Failed:
      if (manual) SayFailed();
      break;
    case UpdateVerdict::Outdated:
      SayOutdated();
      break;
    case UpdateVerdict::UpToDate:
      if (manual) SayNoUpdate();
      break;
    case UpdateVerdict::AlreadyAnnounced:
      break;
    case UpdateVerdict::Newer: {
      m_.Options.OnlineVersion = online.Stored();
      RECT over{};
      HWND main = m_.Handle();
      if (main && IsWindowVisible(main) && !IsIconic(main)) {
        GetWindowRect(main, &over);
      } else {
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &over, 0);
      }
      notice_ = std::make_unique<UpdateNoticeForm>(
          [this] {
            if (OpenAddress) OpenAddress(kSiteHome);
          },
          [this] {
            std::wstring text =
                L"Don't want the update?\r\n\r\nNo problem! The next time a new update becomes "
                L"available, you will be reminded again.";
            m_.Message(text, 0, L"");
          });
      notice_->Open(news, over);
      break;
    }
  }
}

void UpdateCheck::SayFailed() {
  std::wstring text = std::wstring(L"Update information could not be obtained from the Varnello "
                                   L"website (") +
                      kSiteHost + L").\r\n\r\nPlease try again later.";
  m_.Message(text, 0, L"");
}

void UpdateCheck::SayOutdated() {
  std::wstring text =
      std::wstring(L"This version of Varnello is extremely outdated.\r\n\r\nIt is recommended "
                   L"that you upgrade to the latest version as soon as possible. Please visit the ") +
      kSiteHost + L" for the new version and additional information.";
  m_.Message(text, 0, L"");
}

void UpdateCheck::SayNoUpdate() {
  std::wstring text = L"Your version of Varnello is up to date.";
  m_.Message(text, 0, L"");
}

}  // namespace varnello
