#pragma once
// A listing's items found by name, for tests.
#include <cstdint>
#include <stdexcept>
#include <string>

#include "zenlo/ZenloFileControl.h"

namespace testsupport {

// The row of the item named `name` among all items read, or -1.
inline std::int32_t IndexOf(const zenlo::ZenloFileControl& c, const std::wstring& name) {
  for (std::int32_t i = 0; i < c.ItemCount(); ++i)
    if (c.ListItems()[static_cast<std::size_t>(i)].Name == name) return i;
  return -1;
}

inline const zenlo::TypeListItem* FindItem(const zenlo::ZenloFileControl& c,
                                           const std::wstring& name) {
  const std::int32_t i = IndexOf(c, name);
  return i < 0 ? nullptr : &c.ListItems()[static_cast<std::size_t>(i)];
}

// The item named `name`; throws when there is none, failing the test that asked.
inline const zenlo::TypeListItem& Item(const zenlo::ZenloFileControl& c,
                                       const std::wstring& name) {
  const zenlo::TypeListItem* item = FindItem(c, name);
  if (!item) throw std::runtime_error("no such item");
  return *item;
}

}  // namespace testsupport
