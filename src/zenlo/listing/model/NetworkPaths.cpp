// The grammar of the listing's network paths: "*:\" the whole network, "*:\provider",
// "*:\provider\domain", and anything with "\\computer".
#include "toolkit/Text.h"
#include "zenlo/ZenloFileControl.h"

namespace zenlo {

sTypes ZenloFileControl::GetObjectType(const std::wstring& strPath) const {
  if (tk::SameText(strPath, L"*:\\") || tk::SameText(strPath, L"*:")) return sEntireNetwork;
  if (IsComputer(strPath)) return sComputer;
  if (IsDomain(strPath)) return sDomain;
  if (IsNetwork(strPath)) return sNetwork;
  return sDefault;
}

bool ZenloFileControl::IsComputer(const std::wstring& strPath) const {
  auto unc = strPath.find(L"\\\\");
  std::wstring text = unc == std::wstring::npos ? strPath : strPath.substr(unc);
  if (!strPath.empty() && strPath.back() == L'\\') {
    if (text.size() < 3) return false;
    std::wstring inner = text.substr(2, text.size() - 3);
    return !inner.empty() && inner.find(L'\\') == std::wstring::npos;
  }
  return text.rfind(L"\\\\", 0) == 0 && text.find(L'\\', 2) == std::wstring::npos;
}

bool ZenloFileControl::IsDomain(const std::wstring& strPath) const {
  if (strPath.empty() || strPath[0] != L'*' || strPath.size() < 4) return false;
  std::wstring text = strPath.substr(3);
  auto slash = text.find(L'\\');
  if (slash == std::wstring::npos) return false;
  text = text.substr(slash + 1);
  if (text.empty()) return false;
  for (int k = 0; k < 2 && !text.empty() && text.back() == L'\\'; ++k) text.pop_back();
  return text.find(L'\\') == std::wstring::npos;
}

bool ZenloFileControl::IsNetwork(const std::wstring& strPath) const {
  if (strPath.empty() || strPath[0] != L'*') return false;
  std::wstring text = strPath.size() > 3 ? strPath.substr(3) : std::wstring();
  if (text.find(L'\\') == std::wstring::npos) return true;
  text.pop_back();
  return text.find(L'\\') == std::wstring::npos;
}

}  // namespace zenlo
