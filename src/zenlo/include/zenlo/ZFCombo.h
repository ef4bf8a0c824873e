#pragma once
// ZFCombo: the drive and place selector at the top of a listing control. It lists the drives
// with their types and labels, My Documents, My Network Places and the host's bookmarks, tests
// a chosen drive before it reports it, and reports the choice through its Click event.
//
// The entries and the selection live in the object; the window, once created, mirrors them.
// So the selector also works without a window.
#include <windows.h>
#include <unknwn.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "zenlo/ZFComboEvents.h"
#include "zenlo/ZenloApi.h"
#include "zenlo/ZenloClassIds.h"
#include "zenlo/ZenloTypes.h"

namespace zenlo {

class CallLifetime;
class DriveProvider;
struct ZFComboWindow;

enum PlaceKind : std::int32_t {
  placeDrive = 0,  // also the blank separator lines
  placeNetwork = 1,
  placeDocuments = 2,
  placeBookmark = 3,
};

// One line of the list.
struct PlaceEntry {
  std::wstring Text;       // the line as shown
  std::wstring PlaceName;  // "C:", "My Documents", "My Network Places", "Bookmark 3"; empty: blank
  std::wstring Key;        // "C", "?", "*", "0".."9"; empty for the blank lines
  std::int32_t Kind = placeDrive;
};

class ZENLO_API ZFCombo final : public IUnknown {
 public:
  // Creates an instance with one reference, using this machine's drives.
  static ZFCombo* Create();

  // IUnknown. A last Release while a handler of the selector is on the stack defers
  // destruction until that handler has unwound.
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  void AttachEvents(ZFComboEvents* sink);
  // Creates the control's window, holding the drop-down list box, inside the owner's window;
  // the owner then sets its position and size on Window().
  bool CreateFrame(HWND parent);
  HWND Window() const;
  HWND ComboWindow() const;

  // ---- Published members ----
  // Text of the entry selected by the last GetDrives.
  std::wstring currDrive;
  void PlaceControls();
  // Refills the list and, unless SkipAutoSet, selects the entry whose key is strName (or the
  // first drive other than A: and B:, putting its letter into strName). The selection is
  // handled at once, so a place that passes its test raises Click before this returns.
  // Returns the selected place as a drive text: "C:", "*:" (network), "?:" (documents) or
  // "<slot>:" for a bookmark; empty when nothing is selected or SkipAutoSet is set.
  std::wstring GetDrives(std::wstring& strName, bool SkipAutoSet = false,
                         bool DisplayMessage = false);
  std::wstring GetDrives(bool SkipAutoSet = false, bool DisplayMessage = false);
  // A literal would bind to the bool overload; pass a std::wstring variable.
  std::wstring GetDrives(const wchar_t*, bool = false, bool = false) = delete;
  void ApplyProperty(const std::wstring& PropName, const Variant& TheValue);
  void ApplySkinChange();
  std::int32_t HiWord(const std::int32_t& dw) const;
  std::int32_t LoWord(const std::int32_t& dw) const;

  // ---- The box's handlers: the window's notifications run them, and so may the owner ----
  void Combo1_Click();     // the selection changed (CBN_SELCHANGE)
  void Combo1_DropDown();  // the list opens (CBN_DROPDOWN)
  void Combo1_GotFocus();  // the box gets the focus (CBN_SETFOCUS)

  // ---- The box ----
  const std::vector<PlaceEntry>& PlaceEntries() const { return entries_; }
  std::wstring Text() const;
  std::int32_t ListIndex() const { return selected_; }
  // Selects a line as the user's choice does and handles the selection at once; -1 clears
  // the selection without handling it.
  void SetListIndex(std::int32_t index);
  // Selects the first line with this text (without regard to case), as SetListIndex does.
  // False, and nothing changes, when no line has it; an empty text clears the selection.
  bool SetText(const std::wstring& text);
  std::wstring DefaultEntryText() const { return defaultEntryText_; }
  COLORREF ListColor() const { return listColor_; }
  COLORREF TextColor() const { return textColor_; }

  // ---- Platform seam (the real one is installed by Create; null puts it back) ----
  void SetDriveProvider(std::shared_ptr<DriveProvider> drives);
  // The drive and folder queries in use; the listing control asks them too.
  DriveProvider& Drives() const { return *drives_; }

 private:
  ZFCombo();
  ~ZFCombo();
  ZFCombo(const ZFCombo&) = delete;
  ZFCombo& operator=(const ZFCombo&) = delete;
  class Hold;
  class ClickGuard;

  // The list, mirrored to the window when there is one.
  void BoxClear();
  void BoxAdd(PlaceEntry entry);
  void BoxSelect(std::int32_t index);
  void ShowAgain();
  std::int32_t FindText(const std::wstring& text) const;
  void PlaceDropDown(double inches);
  void MirrorToWindow();
  void SetFontOfBox();
  bool OnFrameMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
  void RaiseMouse(bool down, WPARAM wParam, LPARAM lParam, short button);

  void RaiseClick(const std::wstring& text);
  void RaiseChangeFocus();
  void RaiseMessage(const std::wstring& text);
  void RaiseMouseLocked(bool locked);
  void RaiseGetBookmark(short slot, std::wstring& path);

  std::unique_ptr<CallLifetime> lifetime_;  // destruction waits for the handlers on the stack
  bool closing_ = false;
  ZFComboEvents* sink_ = nullptr;
  std::shared_ptr<DriveProvider> drives_;

  std::vector<PlaceEntry> entries_;
  std::int32_t selected_ = -1;
  // The entry last reported through Click: a blank line or a drive that is not ready goes back
  // to it, so the box shows what the listing shows.
  std::wstring shownText_;
  std::wstring dropDownKey_;
  bool comboClickGuard_ = false;
  std::wstring defaultEntryText_;
  bool showUnavailableMessage_ = false;
  COLORREF listColor_ = 0;
  COLORREF textColor_ = 0;
  bool skinApplied_ = false;

  std::unique_ptr<ZFComboWindow> window_;
};

}  // namespace zenlo
