// The listing as comma-separated text: a header line and one line per item, in array order.
#include <windows.h>

#include <string>

#include "listing/model/FolderPathCheck.h"
#include "listing/model/PathText.h"
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

class FileHandle {
 public:
  explicit FileHandle(HANDLE h) : h_(h) {}
  ~FileHandle() { Close(); }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  bool Valid() const { return h_ != INVALID_HANDLE_VALUE; }
  HANDLE Get() const { return h_; }
  bool Close() {
    const bool ok = h_ == INVALID_HANDLE_VALUE || CloseHandle(h_);
    h_ = INVALID_HANDLE_VALUE;
    return ok;
  }

 private:
  HANDLE h_;
};

bool WriteAll(HANDLE file, const std::string& text) {
  std::size_t done = 0;
  while (done < text.size()) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(text.size() - done, 1u << 20));
    DWORD written = 0;
    if (!WriteFile(file, text.data() + done, chunk, &written, nullptr) || written == 0) return false;
    done += written;
  }
  return true;
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

    // A read-only file is not replaced (some file systems would let the replace through).
    const std::wstring target = LongPathForm(FilePath);
    const DWORD existing = GetFileAttributesW(target.c_str());
    if (existing != INVALID_FILE_ATTRIBUTES &&
        (existing & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)))
      return false;
    // Written beside the target and put in its place whole: a failed write (full disk) leaves
    // an existing file as it was instead of cut short.
    const std::wstring temp =
        LongPathForm(FilePath + L"." + std::to_wstring(GetCurrentProcessId()) + L".tmp");
    {
      FileHandle file(CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
      if (!file.Valid()) return false;
      const bool written = WriteAll(file.Get(), text) && FlushFileBuffers(file.Get());
      if (!file.Close() || !written) {
        DeleteFileW(temp.c_str());
        return false;
      }
    }
    if (!MoveFileExW(temp.c_str(), target.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
      DeleteFileW(temp.c_str());
      return false;
    }
    return true;
  } catch (...) {
    return false;  // out of memory for the text: the host words the failure
  }
}

}  // namespace zenlo
