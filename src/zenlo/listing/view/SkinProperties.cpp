// Colours and options of the skin, set by name one at a time.
#include <cwchar>

#include "listing/model/ItemDetails.h"
#include "listing/view/HeadingStrip.h"
#include "listing/view/ViewState.h"
#include "toolkit/Gdi.h"
#include "toolkit/Text.h"
#include "zenlo/ZFCombo.h"
#include "zenlo/ZenloFileControl.h"

namespace zenlo {

namespace {

// The value as a whole number; text must hold one (a colour is sent as its number).
bool ToLong(const Variant& v, std::int32_t& out) {
  if (auto s = std::get_if<std::wstring>(&v)) {
    const std::wstring t = tk::Trim(*s);
    if (tk::SameText(t, L"True") || tk::SameText(t, L"False")) {
      out = tk::SameText(t, L"True") ? -1 : 0;
      return true;
    }
    wchar_t* end = nullptr;
    const double d = std::wcstod(t.c_str(), &end);
    if (t.empty() || *end != L'\0' || d < -2147483648.0 || d > 4294967295.0) return false;
    out = static_cast<std::int32_t>(static_cast<std::int64_t>(d));
    return true;
  }
  if (std::holds_alternative<std::monostate>(v)) return false;
  out = VariantLong(v);
  return true;
}

}  // namespace

void ZenloFileControl::ApplyProperty(const std::wstring& PropName, const Variant& TheValue) {
  ViewState& v = *view_;
  SkinSettings& skin = v.Skin;
  auto is = [&](const wchar_t* key) { return tk::SameText(PropName, key); };

  if (is(L"ActiveHeading")) {
    v.Headings.ActiveHeadingIndex = 1;
    return;
  }
  if (is(L"ActiveButton")) {
    v.Headings.ActiveButtonIndex = 1;
    return;
  }
  if (is(L"ActiveString")) {
    activeString_ = VariantText(TheValue);
    return;
  }
  if (is(L"ColorDriveList") || is(L"ColorDriveText")) {
    zfCombo1_->ApplyProperty(PropName, TheValue);  // the selector's own colours
    return;
  }

  struct BoolKey {
    const wchar_t* key;
    bool* field;
  };
  const BoolKey bools[] = {{L"ShowFileIcons", &ShowFileIcons},
                           {L"ShowFolderIcons", &ShowFolderIcons},
                           {L"ShowColor", &ShowColor},
                           {L"TrackFoldChanges", &skin.TrackFoldChanges},
                           {L"TrackFileChanges", &skin.TrackFileChanges},
                           {L"TrackChime", &skin.TrackChime}};
  struct ColourKey {
    const wchar_t* key;
    COLORREF* field;
  };
  const ColourKey colours[] = {{L"ColorActiveHeading", &skin.ActiveHeading},
                               {L"ColorInactiveHeading", &skin.InactiveHeading},
                               {L"ColorActiveHeadingText", &skin.ActiveHeadingText},
                               {L"ColorInactiveHeadingText", &skin.InactiveHeadingText},
                               {L"ColorHeadingHoverText", &skin.HeadingHoverText},
                               {L"ColorProgramBackground", &skin.PaneBackground},
                               {L"ColorPaneBackground", &skin.PaneBackground},
                               {L"ColorTextSecondary", &skin.TextSecondary},
                               {L"ColorActiveListOutline", &skin.ActiveListOutline},
                               {L"ColorInActiveListOutline", &skin.InActiveListOutline},
                               {L"ColorActiveItemOutline", &skin.ActiveItemOutline},
                               {L"ColorActiveItemUnderline", &skin.ActiveItemUnderline},
                               {L"ColorStatusText", &skin.StatusText},
                               {L"ColorMinorToolbar", &skin.MinorToolbar},
                               {L"ColorListText", &skin.ListText},
                               {L"ColorListBackground", &skin.ListBackground},
                               {L"ColorStatusBackground", &skin.StatusBackground}};

  auto refuse = [&] {
    RaiseMessage(L"The skin property: " + PropName + L" cannot take the value \"" +
                 VariantText(TheValue) + L"\".");
  };
  for (const auto& b : bools) {
    if (!is(b.key)) continue;
    std::int32_t n;
    if (!ToLong(TheValue, n)) return refuse();
    *b.field = n != 0;
    return;
  }
  for (const auto& c : colours) {
    if (!is(c.key)) continue;
    std::int32_t n;
    if (!ToLong(TheValue, n)) return refuse();
    if (c.field == &skin.ListBackground) skin.PreviousListBackground = skin.ListBackground;
    *c.field = tk::SkinColour(n);
    // The heading buttons that exist keep their own copies of the heading colours.
    if (c.field == &skin.ActiveHeading || c.field == &skin.InactiveHeading ||
        c.field == &skin.ActiveHeadingText || c.field == &skin.InactiveHeadingText ||
        c.field == &skin.HeadingHoverText || is(L"ColorProgramBackground"))
      strip_->ForwardProperty(PropName, TheValue);
    return;
  }
  if (is(L"BorderWidth") || is(L"FileCountMax")) {
    std::int32_t n;
    if (!ToLong(TheValue, n)) return refuse();
    if (is(L"BorderWidth")) {
      // The shapes take the width at once.
      skin.BorderWidth = static_cast<std::int16_t>(n);
      if (v.Surface.Handle()) InvalidateRect(v.Surface.Handle(), nullptr, TRUE);
    } else {
      FileCountMax = n;
    }
    return;
  }
  RaiseMessage(L"The skin property: " + PropName + L" was not accounted for.");
}

void ZenloFileControl::ApplySkinChange() {
  ViewState& v = *view_;
  // The toolbar shows through to the control's background: drawn again on the new one.
  if (HWND toolbar = v.Toolbar1.Handle())
    RedrawWindow(toolbar, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  v.lblStatus.SetColours(v.Skin.StatusText, v.Skin.StatusBackground);
  if (v.Skin.ListBackground != v.Skin.PreviousListBackground) {
    // Cached icons are composed on the list background: compose them on the new one.
    DCDestroyIconTrans();
    DCSetupIconTrans();
    DCDestroyIconEXETrans();
    DCSetupIconEXETrans();
    MakeIconTransPalette();
  }
  ColorHeadings(v.Headings.ActiveButtonIndex);
  zfCombo1_->ApplySkinChange();
  if (v.Surface.Handle()) InvalidateRect(v.Surface.Handle(), nullptr, TRUE);
}

}  // namespace zenlo
