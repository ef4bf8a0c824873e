#include "listing/model/SubFolderProbe.h"

#include "toolkit/Text.h"

namespace zenlo {

std::wstring SubFolderProbe::Key(const std::wstring& path) {
  std::wstring key = tk::UpperCase(path);
  if (!key.empty() && key.back() == L'\\') key.pop_back();
  return key;
}

}  // namespace zenlo
