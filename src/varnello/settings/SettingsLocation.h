#pragma once
// Where user.usr lives: in the program's folder when the program may write there (a program
// carried on a stick keeps its settings with it), else in the user's application-data folder
// (a program installed for every user).
#include <string>

namespace varnello {

struct SettingsLocation {
  std::wstring WritePath;
  // The file read at start-up: the written one, or the program folder's while the user has
  // none of their own yet.
  std::wstring ReadPath;
};

// `appDataFolder` empty asks the system for the user's application-data folder.
SettingsLocation LocateSettingsFile(const std::wstring& programFolder,
                                    const std::wstring& appDataFolder = L"");
// The choice alone, given whether the program folder takes new files.
SettingsLocation ChooseSettingsFile(const std::wstring& programFolder,
                                    const std::wstring& appDataFolder, bool programFolderWritable,
                                    bool userFileExists);
// A file can be created in `folder`.
bool FolderWritable(const std::wstring& folder);

}  // namespace varnello
