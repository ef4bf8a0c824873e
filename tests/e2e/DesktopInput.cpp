#include "DesktopInput.h"

#include <algorithm>
#include <cwchar>

namespace e2e {

namespace {

void RealClick(int x, int y, DWORD down, DWORD up) {
  SetCursorPos(x, y);
  Sleep(50);
  INPUT in[2]{};
  in[0].type = in[1].type = INPUT_MOUSE;
  in[0].mi.dwFlags = down;
  in[1].mi.dwFlags = up;
  SendInput(2, in, sizeof(INPUT));
}

}  // namespace

std::vector<RECT> ListToolbars(HWND main) {
  struct Found {
    HWND main;
    std::vector<RECT> rects;
  } found{main, {}};
  EnumChildWindows(
      main,
      [](HWND w, LPARAM lp) -> BOOL {
        auto& f = *reinterpret_cast<Found*>(lp);
        wchar_t cls[64] = L"";
        GetClassNameW(w, cls, 64);
        if (std::wstring(cls) == L"ToolbarWindow32" && GetParent(w) != f.main &&
            IsWindowVisible(w)) {
          RECT r;
          GetWindowRect(w, &r);
          f.rects.push_back(r);
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&found));
  std::sort(found.rects.begin(), found.rects.end(), [](const RECT& a, const RECT& b) {
    return a.left != b.left ? a.left < b.left : a.top < b.top;
  });
  return found.rects;
}

void RealLeftClick(int x, int y) { RealClick(x, y, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP); }

void RealRightClick(int x, int y) { RealClick(x, y, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP); }

void RealKey(WORD key) {
  INPUT in[2]{};
  in[0].type = in[1].type = INPUT_KEYBOARD;
  in[0].ki.wVk = in[1].ki.wVk = key;
  in[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, in, sizeof(INPUT));
}

void RealKeyWith(WORD modifier, WORD key) {
  INPUT in[4]{};
  for (INPUT& i : in) i.type = INPUT_KEYBOARD;
  in[0].ki.wVk = in[3].ki.wVk = modifier;
  in[1].ki.wVk = in[2].ki.wVk = key;
  in[2].ki.dwFlags = in[3].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(4, in, sizeof(INPUT));
}

void RealText(const std::wstring& text) {
  for (wchar_t c : text) {
    INPUT in[2]{};
    in[0].type = in[1].type = INPUT_KEYBOARD;
    in[0].ki.wScan = in[1].ki.wScan = c;
    in[0].ki.dwFlags = KEYEVENTF_UNICODE;
    in[1].ki.dwFlags = KEYEVENTF_UNICODE | KEYEVENTF_KEYUP;
    SendInput(2, in, sizeof(INPUT));
    Sleep(10);
  }
}

void RealDrag(POINT from, POINT to, bool holdShift) {
  auto button = [](DWORD flags) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = flags;
    SendInput(1, &in, sizeof(INPUT));
  };
  auto shift = [](bool down) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = VK_SHIFT;
    in.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
    SendInput(1, &in, sizeof(INPUT));
  };
  // Real moves, as a mouse makes them: the drag loop follows the input, not the cursor's place.
  auto move = [](LONG x, LONG y) {
    const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = static_cast<LONG>((x * 65535 + w / 2) / (w - 1));
    in.mi.dy = static_cast<LONG>((y * 65535 + h / 2) / (h - 1));
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &in, sizeof(INPUT));
  };
  move(from.x, from.y);
  Sleep(100);
  button(MOUSEEVENTF_LEFTDOWN);
  Sleep(200);
  for (int step = 1; step <= 20; ++step) {
    move(from.x + (to.x - from.x) * step / 20, from.y + (to.y - from.y) * step / 20);
    if (step == 4 && holdShift) shift(true);
    Sleep(50);
  }
  Sleep(300);
  button(MOUSEEVENTF_LEFTUP);
  // Held until the program has surely taken the drop.
  Sleep(holdShift ? 1500 : 100);
  if (holdShift) shift(false);
}

void RealWheel(int notches) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dwFlags = MOUSEEVENTF_WHEEL;
  in.mi.mouseData = static_cast<DWORD>(notches * WHEEL_DELTA);
  SendInput(1, &in, sizeof(INPUT));
}

bool ReportRect(const std::vector<std::wstring>& report, const std::wstring& tag,
                const std::wstring& name, RECT& r) {
  for (const auto& l : report) {
    if (l.rfind(tag + L" ", 0) != 0) continue;
    const wchar_t* p = l.c_str() + tag.size();
    wchar_t* end = nullptr;
    LONG* fields[] = {&r.left, &r.top, &r.right, &r.bottom};
    for (LONG* f : fields) {
      *f = std::wcstol(p, &end, 10);
      p = end;
    }
    if (*p == L' ' && std::wstring(p + 1).rfind(name, 0) == 0) return true;
  }
  return false;
}

HWND WaitForShownWindow(const wchar_t* className, DWORD timeoutMs) {
  struct Search {
    const wchar_t* className;
    HWND found = nullptr;
  } search{className};
  const DWORD start = GetTickCount();
  for (;;) {
    EnumWindows(
        [](HWND w, LPARAM l) -> BOOL {
          auto& s = *reinterpret_cast<Search*>(l);
          wchar_t cls[64] = {};
          DWORD pid = 0;
          GetWindowThreadProcessId(w, &pid);
          GetClassNameW(w, cls, 64);
          if (pid == GetCurrentProcessId() && IsWindowVisible(w) && lstrcmpW(cls, s.className) == 0) {
            s.found = w;
            return FALSE;
          }
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    if (search.found || GetTickCount() - start >= timeoutMs) return search.found;
    Sleep(25);
  }
}

}  // namespace e2e
