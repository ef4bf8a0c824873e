#pragma once
// The folder probe: a folder exists and its contents can be listed.
#include <string>

namespace zenlo {

bool FolderExistsAndOpens(const std::wstring& path);

}  // namespace zenlo
