// The icon cache surfaces: shared cells per extension and own cells per item, each kept plain
// (on the key colour) and composed on the list background.
#include "listing/model/ItemDetails.h"
#include "zenlo/ZenloFileControl.h"

namespace zenlo {

namespace {
constexpr int kSurfaceWidth(const ItemDetails& d) { return d.IconCacheColumns * kIconCell; }
constexpr int kSurfaceHeight(const ItemDetails& d) { return d.IconCacheRows * kIconCell; }
}  // namespace

void ZenloFileControl::EnsureSharedIconSurfaces() {
  ItemDetails& d = *details_;
  bool ok = d.Shared.Built() ||
            d.Shared.Create(kSurfaceWidth(d), kSurfaceHeight(d), kIconKeyColour);
  ok = (d.SharedTrans.Built() ||
        d.SharedTrans.Create(kSurfaceWidth(d), kSurfaceHeight(d), d.ListBackground)) &&
       ok;
  if (!ok) RaiseMessage(L"Error showing the folder contents.");
}

void ZenloFileControl::RebuildOwnIconSurfaces() {
  ItemDetails& d = *details_;
  bool ok = d.Own.Create(kSurfaceWidth(d), kSurfaceHeight(d), kIconKeyColour);
  ok = d.OwnTrans.Create(kSurfaceWidth(d), kSurfaceHeight(d), d.ListBackground) && ok;
  if (!ok) RaiseMessage(L"Error showing the folder contents.");
}

HDC ZenloFileControl::IconSurface(bool ownIcons, bool onBackground) const {
  const ItemDetails& d = *details_;
  if (ownIcons) return onBackground ? d.OwnTrans.Dc() : d.Own.Dc();
  return onBackground ? d.SharedTrans.Dc() : d.Shared.Dc();
}

}  // namespace zenlo
