// The listing as comma-separated text: a header line and one line per item, in array order.
#include <windows.h>

#include <string>

#include "listing/model/FolderPathCheck.h"
#include "listing/model/PathText.h"
#include "toolkit/SettingRecords.h"
#include "toolkit/Text.h"
#include "zenlo/ZenloFileControl.h"

namespace zenlo {

namespace {

const char kHeader[] =
    "\"Type\",\"Name\",\"Size\",\"Date Created\",\"Date Last Modified\",\"Date Last Accessed\","
    "\"Extension\",\"File Type\",\"Full Path\",\"Attributes\",\"Folder Level\"\r\n";

const char* KindWord(sTypes type) {
  switch (type) {
    case sFile: return "File";
    case sFolder: return "Folder";
    case sEntireNetwork: return "Entire Network";
    case sNetwork: return "Network";
    case sDomain: return "Domain";
    case sComputer: return "Computer";
    case sServer: return "Server";
    case sShare: return "Share";
    default: return "Other";
  }
}

// A quoted field; a quote inside it is doubled, so that a reader does not end the field there.
void AppendField(std::string& out, const std::wstring& text) {
  out += '"';
  for (char c : tk::ToUtf8(text)) {
    if (c == '"') out += '"';
    out += c;
  }
  out += "\",";
}

}  // namespace

bool ZenloFileControl::WriteFileListing(const std::wstring& FilePath) {
  if (FilePath.empty()) return false;
  // The platform would stop at the NUL and write over whatever the part before it names.
  if (FilePath.find(L'\0') != std::wstring::npos) {
    RaiseMessage(L"The file listing could not be written.\r\n\r\nFile: " +
                 PathForMessage(FilePath) + L"\r\n\r\nThe path holds a NUL character.");
    return false;
  }
  try {
    std::string text = kHeader;
    for (std::int32_t i = 0; i < itemCount_; ++i) {
      const TypeListItem& item = listItems_[static_cast<std::size_t>(i)];
      text += '"';
      text += KindWord(item.ItemType);
      text += "\",";
      AppendField(text, item.Name);
      AppendField(text, item.SizeText());
      AppendField(text, item.DateCreated());
      AppendField(text, item.DateLastModified());
      AppendField(text, item.DateLastAccessed());
      AppendField(text, item.Extension());
      AppendField(text, item.FileType());
      AppendField(text, item.RealPath());
      AppendField(text, item.AttributesText());
      text += std::to_string(item.Level);
      text += "\r\n";
    }
    // Spreadsheet programs take a file without the mark for the ANSI code page; an all-ASCII
    // file reads the same either way and goes without it.
    bool ascii = true;
    for (char c : text)
      if (static_cast<unsigned char>(c) >= 0x80) {
        ascii = false;
        break;
      }
    if (!ascii) text.insert(0, "\xEF\xBB\xBF");

    // Written beside the target and put in its place whole: a failed write (full disk) leaves
    // an existing file as it was instead of cut short. A read-only file is not replaced (some
    // file systems would let the replace through).
    return tk::ReplaceFileContents(LongPathForm(FilePath), text) == ERROR_SUCCESS;
  } catch (...) {
    return false;  // out of memory for the text: the host words the failure
  }
}

}  // namespace zenlo
