#include "listing/model/NetworkPaths.h"

#include "listing/model/NetResource.h"
#include "toolkit/Text.h"
#include "zenlo/ZenloFileControl.h"

namespace zenlo {

namespace {
bool StartsWithStar(const std::wstring& path) { return !path.empty() && path[0] == L'*'; }

std::wstring WithoutOneTrailingBackslash(std::wstring path) {
  if (!path.empty() && path.back() == L'\\') path.pop_back();
  return path;
}
}  // namespace

sTypes NetworkObjectType(const std::wstring& path) {
  if (tk::SameText(path, L"*:\\") || tk::SameText(path, L"*:")) return sEntireNetwork;
  if (IsComputerPath(path)) return sComputer;
  if (IsDomainPath(path)) return sDomain;
  if (IsNetworkPath(path)) return sNetwork;
  return sDefault;
}

bool IsComputerPath(const std::wstring& path) {
  const auto unc = path.find(L"\\\\");
  const std::wstring text = unc == std::wstring::npos ? path : path.substr(unc);
  if (!path.empty() && path.back() == L'\\') {
    if (text.size() < 3) return false;
    const std::wstring inner = text.substr(2, text.size() - 3);
    return !inner.empty() && inner.find(L'\\') == std::wstring::npos;
  }
  return text.rfind(L"\\\\", 0) == 0 && text.find(L'\\', 2) == std::wstring::npos;
}

bool IsDomainPath(const std::wstring& path) {
  if (!StartsWithStar(path) || path.size() < 4) return false;
  std::wstring text = path.substr(3);
  const auto slash = text.find(L'\\');
  if (slash == std::wstring::npos) return false;
  text = text.substr(slash + 1);
  if (text.empty()) return false;
  for (int k = 0; k < 2 && !text.empty() && text.back() == L'\\'; ++k) text.pop_back();
  return text.find(L'\\') == std::wstring::npos;
}

bool IsNetworkPath(const std::wstring& path) {
  if (!StartsWithStar(path)) return false;
  std::wstring text = path.size() > 3 ? path.substr(3) : std::wstring();
  if (text.find(L'\\') == std::wstring::npos) return true;
  text.pop_back();
  return text.find(L'\\') == std::wstring::npos;
}

std::wstring SplitNetworkPath(const std::wstring& path, sTypes level) {
  if (!StartsWithStar(path)) return {};
  auto upToSlash = [](const std::wstring& text) { return text.substr(0, text.find(L'\\')); };
  const std::wstring after = path.size() > 3 ? path.substr(3) : std::wstring();
  switch (level) {
    case sNetwork:
      return upToSlash(after);
    case sDomain: {
      const auto slash = after.find(L'\\');
      return slash == std::wstring::npos ? std::wstring() : upToSlash(after.substr(slash + 1));
    }
    case sComputer: {
      const auto unc = path.find(L"\\\\");
      return unc == std::wstring::npos ? std::wstring() : upToSlash(path.substr(unc + 2));
    }
    default:
      return {};
  }
}

std::vector<std::wstring> NetworkPathSegments(const std::wstring& path) {
  std::vector<std::wstring> segments;
  const std::wstring text = WithoutOneTrailingBackslash(path);
  const auto first = text.find(L'\\');
  if (first == std::wstring::npos) return segments;
  std::wstring segment;
  bool afterSeparator = true;
  for (std::size_t i = first + 1; i < text.size(); ++i) {
    const wchar_t ch = text[i];
    if (ch == L'\\' && !(afterSeparator && segment.empty())) {
      segments.push_back(segment);
      segment.clear();
      afterSeparator = true;
      continue;
    }
    segment += ch;
    afterSeparator = false;
  }
  segments.push_back(segment);
  return segments;
}

NetResource* WalkNetworkPath(NetResource& root, const std::wstring& path) {
  NetResource* at = &root;
  for (const std::wstring& segment : NetworkPathSegments(path)) {
    if (at->ResourceTypeName().empty()) at = &root;
    if (segment.empty()) break;
    const std::wstring kind = at->ResourceTypeName();
    if (tk::SameText(kind, L"generic") || tk::SameText(kind, L"network")) {
      at = at->Child(segment);
      if (!at) return nullptr;
    } else if (tk::SameText(kind, L"domain")) {
      return at->Child(L"\\" + segment);
    }
  }
  return at;
}

bool IsProviderNeverListed(const std::wstring& remoteName) {
  const std::wstring upper = tk::UpperCase(remoteName);
  return upper == L"MICROSOFT TERMINAL SERVICES" || upper == L"WEB CLIENT NETWORK";
}

bool CheckNetworkPathAccess(const std::wstring& path, std::shared_ptr<NetEnumerator> enumerator) {
  const sTypes level = NetworkObjectType(path);
  if (level != sNetwork && level != sDomain && level != sComputer) return false;
  const std::wstring provider = SplitNetworkPath(path, sNetwork);
  const std::wstring name = SplitNetworkPath(path, level);
  try {
    NetResource root(std::move(enumerator));
    for (const auto& candidate : root.Children()) {
      if (!tk::SameText(candidate->RemoteName(), provider)) continue;
      // A provider is confirmed by its name alone, without walking below it.
      if (level == sNetwork) return true;
      if (IsProviderNeverListed(candidate->RemoteName())) return false;
      NetResource* found = WalkNetworkPath(root, path);
      return found && !name.empty() && tk::SameText(found->ShortName(), name);
    }
  } catch (...) {
    // A check that cannot finish has not found the path.
  }
  return false;
}

sTypes ZenloFileControl::GetObjectType(const std::wstring& strPath) const {
  return NetworkObjectType(strPath);
}
bool ZenloFileControl::IsComputer(const std::wstring& strPath) const {
  return IsComputerPath(strPath);
}
bool ZenloFileControl::IsDomain(const std::wstring& strPath) const { return IsDomainPath(strPath); }
bool ZenloFileControl::IsNetwork(const std::wstring& strPath) const {
  return IsNetworkPath(strPath);
}

}  // namespace zenlo
