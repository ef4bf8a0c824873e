// The filter box: a choice from its list, or Enter in its text, filters the listing.
#include <windows.h>
#include <commctrl.h>

#include "listing/CallGuard.h"
#include "listing/view/ViewState.h"
#include "zenlo/ZenloFileControl.h"

namespace zenlo {

namespace {
constexpr UINT_PTR kFilterEditSubclassId = 0x7B02;
}  // namespace

void ZenloFileControl::AttachFilterBox() {
  ViewState& v = *view_;
  COMBOBOXINFO info{};
  info.cbSize = sizeof(info);
  if (!v.cboFilter.Handle() || !GetComboBoxInfo(v.cboFilter.Handle(), &info) || !info.hwndItem)
    return;
  SetWindowSubclass(info.hwndItem, &ZenloFileControl::FilterEditProc, kFilterEditSubclassId,
                    reinterpret_cast<DWORD_PTR>(this));
}

bool ZenloFileControl::OnFilterBoxCommand(WPARAM wParam, LPARAM lParam) {
  ViewState& v = *view_;
  if (!v.cboFilter.Handle() || reinterpret_cast<HWND>(lParam) != v.cboFilter.Handle())
    return false;
  if (HIWORD(wParam) != CBN_SELCHANGE) return true;
  // The box's text follows the choice only after this notice: take the chosen entry's text.
  const LRESULT chosen = SendMessageW(v.cboFilter.Handle(), CB_GETCURSEL, 0, 0);
  if (chosen != CB_ERR) {
    const LRESULT length = SendMessageW(v.cboFilter.Handle(), CB_GETLBTEXTLEN, chosen, 0);
    if (length != CB_ERR) {
      std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
      SendMessageW(v.cboFilter.Handle(), CB_GETLBTEXT, chosen, reinterpret_cast<LPARAM>(text.data()));
      text.resize(static_cast<std::size_t>(length));
      v.cboFilter.SetText(text);
    }
  }
  NewFilterSelected();
  return true;
}

LRESULT CALLBACK ZenloFileControl::FilterEditProc(HWND hwnd, UINT msg, WPARAM wParam,
                                                  LPARAM lParam, UINT_PTR id, DWORD_PTR data) {
  auto* self = reinterpret_cast<ZenloFileControl*>(data);
  switch (msg) {
    case WM_KEYDOWN:
      if (wParam != VK_RETURN) break;
      {
        CallGuard guard(*self);
        try {
          if (!self->closing_) self->NewFilterSelected();
        } catch (...) {
          // Nothing may leave a window procedure; the host hears of it instead.
          self->RaiseMessage(L"An error occurred when the key was pressed.");
        }
      }
      return 0;
    case WM_CHAR:
      if (wParam == L'\r') return 0;  // handled at the key press; no beep
      break;
    case WM_NCDESTROY:
      RemoveWindowSubclass(hwnd, &ZenloFileControl::FilterEditProc, id);
      break;
    default:
      break;
  }
  return DefSubclassProc(hwnd, msg, wParam, lParam);
}

}  // namespace zenlo
