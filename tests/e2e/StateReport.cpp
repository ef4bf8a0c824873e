#include "StateReport.h"

#include <commctrl.h>

#include <algorithm>

#include "listing/view/ViewState.h"
#include "mainwindow/Master.h"
#include "mainwindow/VarnelloApp.h"
#include "zenlo/ZenloFileControl.h"

namespace varnello {

namespace {

std::wstring Rect(const RECT& r) {
  return std::to_wstring(r.left) + L" " + std::to_wstring(r.top) + L" " +
         std::to_wstring(r.right) + L" " + std::to_wstring(r.bottom);
}

// Where a listing's rows and toolbar buttons stand on the screen: "row <rect> <path>" for each
// row in view and "button <rect> <key>" for each toolbar button.
std::wstring ScreenPlaces(const zenlo::ZenloFileControl& c) {
  std::wstring out;
  const zenlo::ViewState& v = c.View();
  RECT box{};
  GetClientRect(v.FolderBox.Handle(), &box);
  const auto& items = c.ListItems();
  const std::int32_t last = std::min(c.LastShownItem(), c.ItemCount() - 1);
  for (std::int32_t i = 0; i <= last && i < static_cast<std::int32_t>(items.size()); ++i) {
    const zenlo::TypeListItem& item = items[static_cast<size_t>(i)];
    POINT topLeft{tk::TwipsToPixels(item.DrawLeft, tk::TwipsPerPixelX()),
                  tk::TwipsToPixels(item.DrawBottom - v.FolderBoxScaleTop, tk::TwipsPerPixelY())};
    const int height = tk::TwipsToPixels(v.RowHeight, tk::TwipsPerPixelY());
    if (topLeft.y < 0 || topLeft.y + height > box.bottom) continue;
    ClientToScreen(v.FolderBox.Handle(), &topLeft);
    out += L"row " + Rect({topLeft.x, topLeft.y, topLeft.x + 150, topLeft.y + height}) + L" " +
           item.FullPath + L"\n";
  }
  for (const auto& b : v.Toolbar1.Buttons()) {
    if (b.Key.empty() || b.Separator) continue;
    RECT r = v.Toolbar1.ButtonRect(b.Key);
    MapWindowPoints(v.Toolbar1.Handle(), nullptr, reinterpret_cast<POINT*>(&r), 2);
    out += L"button " + Rect(r) + L" " + b.Key + L"\n";
  }
  return out;
}

}  // namespace

std::wstring DescribePanes(const Master& master) {
  std::wstring out;
  for (short i = 0; i < kPaneCount; ++i) {
    if (!master.Panes[i].Loaded || master.Panes[i].Status != 0) continue;
    PaneList* listing = master.List(static_cast<short>(i + 100));
    out += L"pane " + std::to_wstring(i) + L" " + (listing ? listing->currentFolder() : L"") + L"\n";
    if (PaneList* tree = master.List(i))
      for (const auto& p : tree->ShownItems()) out += L"tree " + p + L"\n";
    if (listing) {
      for (const auto& p : listing->ShownItems()) out += L"list " + p + L"\n";
      for (const auto& p : listing->MarkedItems()) out += L"mark " + p + L"\n";
      if (const zenlo::ZenloFileControl* c = listing->Control()) out += ScreenPlaces(*c);
      for (const auto& [p, mark] : listing->CompareMarks())
        if (mark != zenlo::NotActive)
          out += (mark == zenlo::IsMatch ? L"match " : L"nomatch ") + p + L"\n";
    }
    for (const short index : {i, static_cast<short>(i + 100)}) {
      PaneList* l = master.List(index);
      if (!l) continue;
      for (const wchar_t* column : {L"Extension", L"Size", L"DateLastModified", L"DateCreated",
                                    L"DateLastAccessed", L"FileType", L"Attributes", L"Comments"})
        if (l->GetHeadingValue(column))
          out += L"column " + std::to_wstring(index) + L" " + column + L"\n";
    }
  }
  for (short i = 0; i < kPaneCount; ++i)
    for (const short index : {i, static_cast<short>(i + 100)})
      if (const PaneList* l = master.List(index); l && l->Reading())
        out += L"reading " + std::to_wstring(index) + L"\n";
  out += L"active " + std::to_wstring(master.Options.ActivePane) + L"\n";
  out += L"clicked " + std::to_wstring(master.Options.ClickedPane) + L"\n";
  for (short i = 0; i < kPaneCount; ++i)
    if (master.TitleBarActive(i)) out += L"title " + std::to_wstring(i) + L"\n";
  // Where the menu bar's entries and the entries of an open drop-down stand on the screen.
  HMENU bar = master.MenuBar();
  auto caption = [](HMENU menu, int i) {
    wchar_t text[256] = L"";
    GetMenuStringW(menu, static_cast<UINT>(i), text, 256, MF_BYPOSITION);
    return std::wstring(text);
  };
  for (int i = 0; bar && i < GetMenuItemCount(bar); ++i) {
    RECT r{};
    if (GetMenuItemRect(master.Handle(), bar, static_cast<UINT>(i), &r))
      out += L"menu " + Rect(r) + L" " + caption(bar, i) + L"\n";
    HMENU sub = GetSubMenu(bar, i);
    for (int k = 0; sub && k < GetMenuItemCount(sub); ++k)
      if (GetMenuItemRect(nullptr, sub, static_cast<UINT>(k), &r) && r.right > r.left &&
          r.bottom > r.top)
        out += L"item " + Rect(r) + L" " + caption(sub, k) + L"\n";
  }
  if (const TipForm* tip = master.Tip()) out += L"tip " + tip->TipText() + L"\n";
  // Screen places of the main toolbar's buttons, the pane title bars and the path box.
  auto onScreen = [&](HWND w, RECT r) {
    MapWindowPoints(w, HWND_DESKTOP, reinterpret_cast<POINT*>(&r), 2);
    return Rect(r);
  };
  const tk::Toolbar& toolbar = master.Toolbar1();
  for (const auto& b : toolbar.Buttons())
    if (!b.Key.empty() && !b.Separator)
      out += L"button " + onScreen(toolbar.Handle(), toolbar.ButtonRect(b.Key)) + L" " + b.Key + L"\n";
  auto place = [&](const std::wstring& name, HWND w) {
    RECT r{};
    if (!w || !IsWindowVisible(w) || !GetClientRect(w, &r)) return;
    out += L"place " + onScreen(w, r) + L" " + name + L"\n";
  };
  for (short i = 0; i < kPaneCount; ++i) place(L"titlebar " + std::to_wstring(i), master.TitleBarWindow(i));
  place(L"pathbox", master.CurrentPathWindow());
  return out;
}

StateReportWindow::StateReportWindow(const VarnelloApp& app) : app_(app) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = &Proc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = kStateReportClass;
  RegisterClassExW(&wc);
  hwnd_ = CreateWindowExW(0, kStateReportClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                          wc.hInstance, nullptr);
  if (hwnd_) SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

StateReportWindow::~StateReportWindow() {
  if (hwnd_) DestroyWindow(hwnd_);
}

LRESULT CALLBACK StateReportWindow::Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg != WM_COPYDATA) return DefWindowProcW(hwnd, msg, wParam, lParam);
  auto* self = reinterpret_cast<StateReportWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  const auto* request = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
  HWND asker = reinterpret_cast<HWND>(wParam);
  if (!self || !request || request->dwData != kDescribePanesRequest || !IsWindow(asker))
    return FALSE;
  const Master* master = self->app_.MainForm();
  if (!master) return FALSE;
  const std::wstring text = DescribePanes(*master);
  COPYDATASTRUCT answer{};
  answer.dwData = kDescribePanesAnswer;
  answer.cbData = static_cast<DWORD>(text.size() * sizeof(wchar_t));
  answer.lpData = const_cast<wchar_t*>(text.c_str());
  DWORD_PTR result = 0;
  // Not "abort if hung": the asker waits inside its own send and may not have read its queue
  // for a while.
  return SendMessageTimeoutW(asker, WM_COPYDATA, reinterpret_cast<WPARAM>(hwnd),
                             reinterpret_cast<LPARAM>(&answer), SMTO_NORMAL, 10000,
                             &result) && result
             ? TRUE
             : FALSE;
}

}  // namespace varnello
