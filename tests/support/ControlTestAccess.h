#pragma once
// State of a control that only parts not built yet set; tests put it in place directly.
#include "zenlo/ZenloFileControl.h"

namespace zenlo {

struct ZenloFileControlTestAccess {
  // As the extension filter leaves a listing: the items from `index` on are the ones it hides.
  static void HideFrom(ZenloFileControl& c, std::int32_t index) {
    c.lastShownItem_ = index - 1;
    c.filesShown_ = index - c.foldersShown_;
  }
};

}  // namespace zenlo
