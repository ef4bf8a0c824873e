#pragma once
// Class ids of the library's creatable classes (ProgID "Zenlo.<ClassName>"), and the interface
// ids a host asks QueryInterface for to get the class itself:
//   zenlo::ZenloFileControl* control = nullptr;
//   unknown->QueryInterface(zenlo::IID_ZenloFileControl, reinterpret_cast<void**>(&control));
#include <guiddef.h>

namespace zenlo {

// {C61FE665-9B22-41DF-A2DB-B4919204C6F5}
inline constexpr GUID CLSID_ZenloFileControl = {
    0xc61fe665, 0x9b22, 0x41df, {0xa2, 0xdb, 0xb4, 0x91, 0x92, 0x04, 0xc6, 0xf5}};

// {55B1A08E-9357-4583-A58C-D53B50796B5A}
inline constexpr GUID CLSID_ZFCombo = {
    0x55b1a08e, 0x9357, 0x4583, {0xa5, 0x8c, 0xd5, 0x3b, 0x50, 0x79, 0x6b, 0x5a}};

// {6C1D2E80-4B7A-4C55-9E0B-2A51C3D9F001}
inline constexpr GUID IID_ZenloFileControl = {
    0x6c1d2e80, 0x4b7a, 0x4c55, {0x9e, 0x0b, 0x2a, 0x51, 0xc3, 0xd9, 0xf0, 0x01}};

// {6C1D2E80-4B7A-4C55-9E0B-2A51C3D9F002}
inline constexpr GUID IID_ZFCombo = {
    0x6c1d2e80, 0x4b7a, 0x4c55, {0x9e, 0x0b, 0x2a, 0x51, 0xc3, 0xd9, 0xf0, 0x02}};

// {05129777-0856-42F7-A37A-0E2D55E6EA56}
inline constexpr GUID CLSID_button_headings = {
    0x05129777, 0x0856, 0x42f7, {0xa3, 0x7a, 0x0e, 0x2d, 0x55, 0xe6, 0xea, 0x56}};

// {8046FD5D-1B09-4BB1-9CA2-BEBE67B555EA}
inline constexpr GUID IID_button_headings = {
    0x8046fd5d, 0x1b09, 0x4bb1, {0x9c, 0xa2, 0xbe, 0xbe, 0x67, 0xb5, 0x55, 0xea}};

}  // namespace zenlo
