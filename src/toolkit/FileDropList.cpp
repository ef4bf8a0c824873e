#include "toolkit/FileDropList.h"

#include <shlobj.h>

#include <cstring>

namespace tk {

std::wstring DoubleNulList(const std::vector<std::wstring>& paths) {
  std::wstring list;
  for (const auto& p : paths) {
    list += p;
    list += L'\0';
  }
  list += L'\0';
  return list;
}

HGLOBAL MakeDropFilesBlock(const std::vector<std::wstring>& paths) {
  std::size_t chars = 1;
  for (const auto& p : paths) chars += p.size() + 1;
  HGLOBAL block =
      GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + chars * sizeof(wchar_t));
  if (!block) return nullptr;
  auto* head = static_cast<DROPFILES*>(GlobalLock(block));
  if (!head) {
    GlobalFree(block);
    return nullptr;
  }
  head->pFiles = sizeof(DROPFILES);
  head->fWide = TRUE;
  auto* text = reinterpret_cast<wchar_t*>(reinterpret_cast<BYTE*>(head) + sizeof(DROPFILES));
  for (const auto& p : paths) {
    std::memcpy(text, p.c_str(), (p.size() + 1) * sizeof(wchar_t));
    text += p.size() + 1;
  }
  *text = L'\0';
  GlobalUnlock(block);
  return block;
}

// A list that is cut short or lies about where its names start gives the names that are
// complete, never more.
std::vector<std::wstring> ReadDropFilesBlock(HGLOBAL block) {
  std::vector<std::wstring> paths;
  const SIZE_T size = GlobalSize(block);
  const auto* head = static_cast<const DROPFILES*>(GlobalLock(block));
  if (!head) return paths;
  if (size >= sizeof(DROPFILES) && head->pFiles >= sizeof(DROPFILES) && head->pFiles < size) {
    const BYTE* at = reinterpret_cast<const BYTE*>(head) + head->pFiles;
    const BYTE* end = reinterpret_cast<const BYTE*>(head) + size;
    if (head->fWide) {
      const auto* text = reinterpret_cast<const wchar_t*>(at);
      const auto* stop = text + (end - at) / sizeof(wchar_t);
      while (text < stop && *text) {
        const wchar_t* name = text;
        while (text < stop && *text) ++text;
        if (text == stop) break;  // no end to this name
        paths.emplace_back(name, text);
        ++text;
      }
    } else {
      const auto* text = reinterpret_cast<const char*>(at);
      const auto* stop = reinterpret_cast<const char*>(end);
      while (text < stop && *text) {
        const char* name = text;
        while (text < stop && *text) ++text;
        if (text == stop) break;
        const int n = static_cast<int>(text - name);
        std::wstring wide(
            static_cast<std::size_t>(MultiByteToWideChar(CP_ACP, 0, name, n, nullptr, 0)), L'\0');
        MultiByteToWideChar(CP_ACP, 0, name, n, wide.data(), static_cast<int>(wide.size()));
        paths.push_back(std::move(wide));
        ++text;
      }
    }
  }
  GlobalUnlock(block);
  return paths;
}

}  // namespace tk
