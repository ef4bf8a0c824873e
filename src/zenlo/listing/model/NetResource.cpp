#include "listing/model/NetResource.h"

#include "toolkit/Text.h"

namespace zenlo {

NetResource* NetResource::Child(const std::wstring& remoteName) {
  for (auto& child : children_)
    if (tk::SameText(child->remoteName_, remoteName)) return child.get();
  return nullptr;
}

std::wstring NetResource::ShortName() const {
  auto slash = remoteName_.rfind(L'\\');
  return slash == std::wstring::npos ? remoteName_ : remoteName_.substr(slash + 1);
}

std::wstring NetResource::ResourceTypeName() const {
  static const wchar_t* const names[] = {L"Generic", L"Domain",     L"Server",    L"Share",
                                         L"File",    L"Group",      L"Network",   L"Root",
                                         L"AdminShare", L"Directory", L"Tree", L"NDSContainer"};
  if (isPrinter_) return L"Printer";
  if (displayType_ >= 0 && displayType_ < 12) return names[displayType_];
  return {};
}

}  // namespace zenlo
