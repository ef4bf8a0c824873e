#include "support/HostWindow.h"

#include <vector>

namespace testsupport {

HostWindow::HostWindow(int width, int height, const wchar_t* title) {
  static ATOM atom = [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = L"ZenloTestHost";
    return RegisterClassExW(&wc);
  }();
  (void)atom;
  hwnd_ = CreateWindowExW(0, L"ZenloTestHost", title, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                          20, 20, width, height, nullptr, nullptr, GetModuleHandleW(nullptr),
                          nullptr);
  ShowWindow(hwnd_, SW_SHOW);
  UpdateWindow(hwnd_);
}

HostWindow::~HostWindow() {
  if (hwnd_) DestroyWindow(hwnd_);
}

INPUT RealMouseAt(POINT screen, DWORD flags) {
  const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dx = static_cast<LONG>((screen.x * 65535 + w / 2) / (w - 1));
  in.mi.dy = static_cast<LONG>((screen.y * 65535 + h / 2) / (h - 1));
  in.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  return in;
}

bool SaveWindowPicture(HWND hwnd, const std::wstring& path) {
  RECT r;
  GetWindowRect(hwnd, &r);
  const int w = r.right - r.left, h = r.bottom - r.top;
  HDC screen = GetDC(nullptr);
  HDC mem = CreateCompatibleDC(screen);
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = w;
  bi.bmiHeader.biHeight = h;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 24;
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(mem, dib);
  BitBlt(mem, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
  GdiFlush();
  const DWORD stride = ((w * 3 + 3) / 4) * 4;
  BITMAPFILEHEADER fh{};
  fh.bfType = 0x4D42;
  fh.bfOffBits = sizeof fh + sizeof bi.bmiHeader;
  fh.bfSize = fh.bfOffBits + stride * h;
  bool ok = false;
  HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (f != INVALID_HANDLE_VALUE) {
    DWORD n;
    ok = WriteFile(f, &fh, sizeof fh, &n, nullptr) &&
         WriteFile(f, &bi.bmiHeader, sizeof bi.bmiHeader, &n, nullptr) &&
         WriteFile(f, bits, stride * h, &n, nullptr);
    CloseHandle(f);
  }
  SelectObject(mem, old);
  DeleteObject(dib);
  DeleteDC(mem);
  ReleaseDC(nullptr, screen);
  return ok;
}

std::wstring ScreenshotPath(const std::wstring& name) {
  wchar_t root[1024];
  DWORD n = GetEnvironmentVariableW(L"ZENLO_SCREENSHOTS", root, 1024);
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  std::wstring folder = n && n < 1024 ? std::wstring(root) : std::wstring(temp) + L"screenshots";
  CreateDirectoryW(folder.c_str(), nullptr);
  return folder + L"\\" + name;
}

}  // namespace testsupport
