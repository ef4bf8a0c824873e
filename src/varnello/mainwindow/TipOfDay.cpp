#include "mainwindow/TipOfDay.h"

#include <commctrl.h>

#include <chrono>
#include <random>

#include "settings/UserStore.h"
#include "toolkit/PathText.h"
#include "toolkit/SettingRecords.h"
#include "toolkit/Text.h"

namespace varnello {

namespace {

constexpr int kOkId = 401;
constexpr int kNextId = 402;
constexpr int kCheckId = 403;
constexpr UINT_PTR kKeysId = 1;
const wchar_t kSection[] = L"Options";
const wchar_t kShowTips[] = L"Show Tips at Startup";

int X(int twips) { return tk::TwipsToPixels(twips, tk::TwipsPerPixelX()); }
int Y(int twips) { return tk::TwipsToPixels(twips, tk::TwipsPerPixelY()); }
RECT Twips(int left, int top, int width, int height) {
  return {X(left), Y(top), X(left + width), Y(top + height)};
}

// Picture1 and the two labels it holds.
RECT Panel() { return Twips(120, 120, 3735, 2715); }
RECT DidYouKnow() { return Twips(120 + 135, 120 + 180, 3060, 255); }
RECT TipTextRect() { return Twips(120 + 180, 120 + 840, 3255, 1635); }

}  // namespace

std::vector<std::wstring> ReadTips(const std::string& bytes) {
  const std::wstring text = tk::DecodeText(bytes);
  std::vector<std::wstring> tips;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find_first_of(L"\r\n", start);
    if (end == std::wstring::npos) end = text.size();
    tips.push_back(text.substr(start, end - start));
    if (end < text.size() && text[end] == L'\r' && end + 1 < text.size() && text[end + 1] == L'\n')
      ++end;
    start = end + 1;
  }
  return tips;
}

TipForm::~TipForm() { Destroy(); }

bool TipForm::Form_Load() {
  const long showAtStartup = ReadUserNumber(setup_.StoreName, kSection, kShowTips, 1);
  if (!SkipCheck && showAtStartup == 0) return false;
  const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
  if (!CreateOwn(nullptr, style)) return false;
  SetWindowTextW(Handle(), L"Tip of the Day");
  RECT frame{0, 0, X(5415), Y(3285)};
  AdjustWindowRectEx(&frame, style, FALSE, 0);
  const int w = frame.right - frame.left, h = frame.bottom - frame.top;
  SetWindowPos(Handle(), nullptr, GetSystemMetrics(SM_CXSCREEN) / 2 - w / 2,
               GetSystemMetrics(SM_CYSCREEN) / 2 - h / 2, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
  CreateControls();
  SendMessageW(check_, BM_SETCHECK, showAtStartup != 0 ? BST_CHECKED : BST_UNCHECKED, 0);
  const std::wstring folder = setup_.ProgramFolder;
  const bool slash = !folder.empty() && folder.back() == L'\\';
  if (!LoadTips(tk::LongPathForm(folder + (slash ? L"" : L"\\") + kTipFile))) {
    tipText_ = std::wstring(L"That the ") + kTipFile + L" file was not found? \r\n\r\nCreate a text "
               L"file named " + kTipFile + L" using NotePad with 1 tip per line. Then place it in "
               L"the same directory as the application. ";
  }
  ShowWindow(Handle(), SW_SHOW);
  SetForegroundWindow(Handle());
  SetFocus(ok_);
  return true;
}

void TipForm::CreateControls() {
  bold_.Reset(CreateFontW(-11, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0,
                          L"MS Sans Serif"));
  normal_.Reset(CreateFontW(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0,
                            L"MS Sans Serif"));
  auto control = [&](const wchar_t* cls, const wchar_t* text, DWORD style, RECT r, int id) {
    HWND c = CreateWindowExW(0, cls, text, WS_CHILD | WS_VISIBLE | WS_TABSTOP | style, r.left,
                             r.top, r.right - r.left, r.bottom - r.top, Handle(),
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
    SendMessageW(c, WM_SETFONT, reinterpret_cast<WPARAM>(normal_.Get()), FALSE);
    SetWindowSubclass(c, &TipForm::ControlKeys, kKeysId, reinterpret_cast<DWORD_PTR>(this));
    return c;
  };
  ok_ = control(L"BUTTON", L"OK", BS_DEFPUSHBUTTON, Twips(4080, 120, 1215, 375), kOkId);
  next_ = control(L"BUTTON", L"&Next Tip", BS_PUSHBUTTON, Twips(4080, 600, 1215, 375), kNextId);
  check_ = control(L"BUTTON", L"&Show Tips at Startup", BS_AUTOCHECKBOX,
                   Twips(135, 2910, 2055, 315), kCheckId);
  HWND tips = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                              CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, Handle(),
                              nullptr, nullptr, nullptr);
  const std::pair<HWND, const wchar_t*> tooltips[] = {
      {ok_, L"Closes the 'Tip of the Day'."}, {next_, L"Shows the next tip."}};
  for (const auto& [button, text] : tooltips) {
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = Handle();
    tool.uId = reinterpret_cast<UINT_PTR>(button);
    tool.lpszText = const_cast<wchar_t*>(text);
    SendMessageW(tips, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  }
}

bool TipForm::LoadTips(const std::wstring& file) {
  if (file.empty()) return false;
  const auto bytes = tk::ReadFileBytes(file);
  if (!bytes) return false;
  tips_ = ReadTips(*bytes);
  if (setup_.FirstRun || tips_.empty()) {
    currentTip_ = 0;
  } else {
    std::mt19937 random(static_cast<unsigned>(
        std::chrono::steady_clock::now().time_since_epoch().count()));
    currentTip_ = std::uniform_int_distribution<long>(1, static_cast<long>(tips_.size()))(random);
  }
  DoNextTip();
  return true;
}

void TipForm::DisplayCurrentTip() {
  if (tips_.empty() || currentTip_ < 1) return;
  tipText_ = tips_[static_cast<std::size_t>(currentTip_ - 1)];
  if (Handle()) {
    RECT r = TipTextRect();
    InvalidateRect(Handle(), &r, TRUE);
  }
}

void TipForm::DoNextTip() {
  ++currentTip_;
  if (currentTip_ > static_cast<long>(tips_.size())) currentTip_ = 1;
  DisplayCurrentTip();
}

void TipForm::UserKeyDown(int keyCode, int) {
  if (keyCode == VK_F1 && setup_.OpenHelp) setup_.OpenHelp();
}

void TipForm::cmdOK_Click() { Destroy(); }

bool TipForm::ShowAtStartupChecked() const {
  return check_ && SendMessageW(check_, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void TipForm::chkLoadTipsAtStartup_Click() {
  WriteUserValue(setup_.StoreName, kSection, kShowTips, ShowAtStartupChecked() ? L"1" : L"0");
}

// Keys on the buttons and the box: F1 opens the help, Enter and Esc press OK, Tab moves on.
LRESULT CALLBACK TipForm::ControlKeys(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam,
                                      UINT_PTR, DWORD_PTR data) {
  auto* self = reinterpret_cast<TipForm*>(data);
  if (msg == WM_KEYDOWN) {
    if (wParam == VK_RETURN || wParam == VK_ESCAPE) {
      PostMessageW(GetParent(hwnd), WM_COMMAND, MAKEWPARAM(kOkId, BN_CLICKED),
                   reinterpret_cast<LPARAM>(self->ok_));
      return 0;
    }
    if (wParam == VK_TAB) {
      const bool back = GetKeyState(VK_SHIFT) < 0;
      if (HWND next = GetNextDlgTabItem(GetParent(hwnd), hwnd, back)) SetFocus(next);
      return 0;
    }
    self->UserKeyDown(static_cast<int>(wParam), 0);
  } else if (msg == WM_GETDLGCODE) {
    return DLGC_WANTALLKEYS | DefSubclassProc(hwnd, msg, wParam, lParam);
  } else if (msg == WM_NCDESTROY) {
    RemoveWindowSubclass(hwnd, &TipForm::ControlKeys, kKeysId);
  }
  return DefSubclassProc(hwnd, msg, wParam, lParam);
}

void TipForm::Paint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(Handle(), &ps);
  RECT client{};
  GetClientRect(Handle(), &client);
  FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
  RECT panel = Panel();
  FillRect(dc, &panel, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(0, 0, 0));
  {
    tk::SelectObjectScope font(dc, bold_.Get());
    RECT r = DidYouKnow();
    DrawTextW(dc, L"Did you know...", -1, &r, DT_NOPREFIX | DT_SINGLELINE);
  }
  tk::SelectObjectScope font(dc, normal_.Get());
  RECT r = TipTextRect();
  DrawTextW(dc, tipText_.c_str(), static_cast<int>(tipText_.size()), &r,
            DT_NOPREFIX | DT_WORDBREAK | DT_EDITCONTROL);
  EndPaint(Handle(), &ps);
}

LRESULT TipForm::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_PAINT:
      Paint();
      return 0;
    case WM_COMMAND:
      if (HIWORD(wParam) != BN_CLICKED) break;
      if (LOWORD(wParam) == kOkId) {
        cmdOK_Click();
      } else if (LOWORD(wParam) == kNextId) {
        cmdNextTip_Click();
      } else if (LOWORD(wParam) == kCheckId) {
        chkLoadTipsAtStartup_Click();
      }
      return 0;
    case WM_KEYDOWN:
      if (wParam == VK_ESCAPE || wParam == VK_RETURN) {
        cmdOK_Click();
        return 0;
      }
      UserKeyDown(static_cast<int>(wParam), 0);
      return 0;
    default:
      break;
  }
  return ModelessForm::OnMessage(msg, wParam, lParam);
}

}  // namespace varnello
