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
