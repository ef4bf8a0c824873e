#pragma once
// Class ids of the library's creatable classes (ProgID "Zenlo.<ClassName>").
#include <guiddef.h>

namespace zenlo {

// {C61FE665-9B22-41DF-A2DB-B4919204C6F5}
inline constexpr GUID CLSID_ZenloFileControl = {
    0xc61fe665, 0x9b22, 0x41df, {0xa2, 0xdb, 0xb4, 0x91, 0x92, 0x04, 0xc6, 0xf5}};

}  // namespace zenlo
