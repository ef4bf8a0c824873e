#include "settings/CommonDialogs.h"

#include <algorithm>
#include <vector>

#include "toolkit/Gdi.h"
#include "toolkit/Window.h"

namespace varnello {

namespace {
ColorDialogSeam g_colorSeam;
FileDialogSeam g_fileSeam;
}  // namespace

std::int32_t clsCommonDia::ShowColor(const std::int32_t& DefaultColor) {
  for (std::size_t k = 0; k < custom_.size(); ++k) {
    const auto level = static_cast<BYTE>(15 * (k + 1));
    custom_[k] = RGB(level, level, level);
  }
  const COLORREF initial = tk::SkinColour(DefaultColor);
  if (g_colorSeam) return g_colorSeam(initial);
  CHOOSECOLORW cc{};
  cc.lStructSize = sizeof cc;
  cc.hwndOwner = owner_;
  cc.rgbResult = initial;
  cc.lpCustColors = custom_.data();
  cc.Flags = CC_RGBINIT | CC_FULLOPEN | CC_SOLIDCOLOR;
  if (!ChooseColorW(&cc)) return -1;
  return static_cast<std::int32_t>(cc.rgbResult & 0xFFFFFF);
}

namespace {
// Posted by the hook to itself: the dialog is centred again once it has laid itself out.
constexpr UINT kCentreAgain = WM_APP + 0x2B1;

void CentreOnScreen(HWND dialog) {
  RECT r{};
  GetWindowRect(dialog, &r);
  const int w = r.right - r.left, h = r.bottom - r.top;
  const int screenW = GetSystemMetrics(SM_CXSCREEN), screenH = GetSystemMetrics(SM_CYSCREEN);
  MoveWindow(dialog, (screenW - w) / 2, (screenH - h) / 2, w, h, TRUE);
}
}  // namespace

UINT_PTR CALLBACK OFNHookProc(HWND hDlg, UINT msg, WPARAM, LPARAM) {
  if (msg != WM_INITDIALOG && msg != kCentreAgain) return 0;
  HWND dialog = GetParent(hDlg);
  if (!dialog) return 0;
  CentreOnScreen(dialog);
  if (msg == WM_INITDIALOG) PostMessageW(hDlg, kCentreAgain, 0, 0);
  return 1;
}

LPOFNHOOKPROC FarProc(LPOFNHOOKPROC address) { return address; }

std::optional<std::wstring> ShowFileDialog(const FileDialogRequest& request) {
  if (g_fileSeam) return g_fileSeam(request);
  std::wstring filter = request.FilterName + L'\0' + request.FilterPattern + L'\0' + L'\0';
  // Room for any path the user may pick.
  std::vector<wchar_t> file(32768, L'\0');
  request.FileName.copy(file.data(), std::min(request.FileName.size(), file.size() - 1));
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = request.Owner;
  ofn.lpstrFilter = filter.c_str();
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = static_cast<DWORD>(file.size());
  ofn.lpstrInitialDir = request.InitialFolder.empty() ? nullptr : request.InitialFolder.c_str();
  ofn.lpstrTitle = request.Title.c_str();
  ofn.lpstrDefExt = request.DefaultExtension.empty() ? nullptr : request.DefaultExtension.c_str();
  ofn.lpfnHook = FarProc(&OFNHookProc);
  ofn.Flags = OFN_EXPLORER | OFN_ENABLEHOOK | OFN_LONGNAMES | OFN_HIDEREADONLY |
              OFN_PATHMUSTEXIST | OFN_NODEREFERENCELINKS;
  ofn.Flags |= request.Save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST;
  const BOOL chosen = request.Save ? GetSaveFileNameW(&ofn) : GetOpenFileNameW(&ofn);
  if (!chosen) return std::nullopt;
  return std::wstring(file.data());
}

void SetColorDialogSeam(ColorDialogSeam seam) { g_colorSeam = std::move(seam); }
void SetFileDialogSeam(FileDialogSeam seam) { g_fileSeam = std::move(seam); }

}  // namespace varnello
