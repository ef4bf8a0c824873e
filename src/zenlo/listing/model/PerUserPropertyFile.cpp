#include "listing/model/PerUserPropertyFile.h"

#include <algorithm>
#include <cwchar>

#include "listing/model/PathText.h"
#include "toolkit/Error.h"
#include "toolkit/SettingRecords.h"
#include "toolkit/Text.h"

namespace zenlo {

namespace {

constexpr char kHeader[] = "Varnello file properties 1";

long HresultOf(DWORD error) { return static_cast<long>(HRESULT_FROM_WIN32(error)); }

[[noreturn]] void ThrowLastError(const std::wstring& what) {
  const DWORD error = GetLastError();
  throw tk::RuntimeError(HresultOf(error ? error : ERROR_GEN_FAILURE), what);
}

class Handle {
 public:
  explicit Handle(HANDLE h) : h_(h) {}
  ~Handle() {
    if (h_ && h_ != INVALID_HANDLE_VALUE) CloseHandle(h_);
  }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  HANDLE get() const { return h_; }
  bool valid() const { return h_ && h_ != INVALID_HANDLE_VALUE; }

 private:
  HANDLE h_;
};

// Serialises read-modify-write of one records file across stores and processes.
class RecordsLock {
 public:
  explicit RecordsLock(const std::wstring& path) {
    std::wstring name = L"Local\\VarnelloFileProperties-";
    std::uint64_t hash = 1469598103934665603ull;  // FNV-1a of the upper-cased path
    for (wchar_t c : tk::UpperCase(path)) hash = (hash ^ static_cast<std::uint16_t>(c)) * 1099511628211ull;
    wchar_t hex[17];
    std::swprintf(hex, 17, L"%016llx", static_cast<unsigned long long>(hash));
    name += hex;
    mutex_ = CreateMutexW(nullptr, FALSE, name.c_str());
    if (mutex_) {
      const DWORD r = WaitForSingleObject(mutex_, 10000);
      owned_ = r == WAIT_OBJECT_0 || r == WAIT_ABANDONED;
    }
    if (!owned_) throw tk::RuntimeError(static_cast<long>(0x80030021u),  // STG_E_LOCKVIOLATION
                                        L"The property records are busy.");
  }
  ~RecordsLock() {
    if (owned_) ReleaseMutex(mutex_);
    if (mutex_) CloseHandle(mutex_);
  }
  RecordsLock(const RecordsLock&) = delete;
  RecordsLock& operator=(const RecordsLock&) = delete;

 private:
  HANDLE mutex_ = nullptr;
  bool owned_ = false;
};

std::string Escape(const std::wstring& text) {
  std::string out;
  for (char c : tk::ToUtf8(text)) {
    switch (c) {
      case '\\': out += "\\\\"; break;
      case '\t': out += "\\t"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      default: out += c;
    }
  }
  return out;
}

std::wstring Unescape(const std::string& field) {
  std::string out;
  for (std::size_t i = 0; i < field.size(); ++i) {
    char c = field[i];
    if (c == '\\' && i + 1 < field.size()) {
      const char n = field[++i];
      c = n == 't' ? '\t' : n == 'n' ? '\n' : n == 'r' ? '\r' : n;
    }
    out += c;
  }
  return tk::FromUtf8(out);
}

std::vector<std::string> SplitTabs(const std::string& line) {
  std::vector<std::string> fields;
  std::size_t start = 0;
  for (;;) {
    const std::size_t tab = line.find('\t', start);
    fields.push_back(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
    if (tab == std::string::npos) return fields;
    start = tab + 1;
  }
}

bool ParseKey(const std::string& text, FileKey& key) {
  unsigned long serial = 0;
  unsigned long long index = 0;
  char tail = 0;
  if (std::sscanf(text.c_str(), "%8lx %16llx%c", &serial, &index, &tail) != 2) return false;
  key.VolumeSerial = static_cast<DWORD>(serial);
  key.FileIndex = index;
  return true;
}

}  // namespace

PerUserPropertyFile::PerUserPropertyFile(std::wstring folder) : folder_(std::move(folder)) {
  if (!folder_.empty() && folder_.back() != L'\\') folder_ += L'\\';
  path_ = folder_ + L"properties";
}

PerUserPropertyFile::Loaded PerUserPropertyFile::Parse(const std::string& text) const {
  Loaded data;
  std::size_t pos = 0;
  bool first = true;
  while (pos < text.size()) {
    std::size_t end = text.find('\n', pos);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(pos, end - pos);
    pos = end + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (first) {
      first = false;
      if (line.rfind("\xEF\xBB\xBF", 0) == 0) line.erase(0, 3);
      if (line == kHeader) continue;
    }
    if (line.empty()) continue;
    auto fields = SplitTabs(line);
    Record r;
    if (fields.size() % 2 == 0 || !ParseKey(fields[0], r.Key)) {
      data.Unknown.push_back(line);
      continue;
    }
    for (std::size_t i = 1; i + 1 < fields.size(); i += 2)
      r.Values.emplace_back(Unescape(fields[i]), Unescape(fields[i + 1]));
    data.Records.push_back(std::move(r));
  }
  return data;
}

std::string PerUserPropertyFile::Format(const Loaded& data) const {
  std::string out = std::string(kHeader) + "\r\n";
  char key[40];
  for (const auto& r : data.Records) {
    if (r.Values.empty()) continue;
    std::snprintf(key, sizeof key, "%08lx %016llx", static_cast<unsigned long>(r.Key.VolumeSerial),
                  static_cast<unsigned long long>(r.Key.FileIndex));
    out += key;
    for (const auto& [name, value] : r.Values) out += "\t" + Escape(name) + "\t" + Escape(value);
    out += "\r\n";
  }
  for (const auto& line : data.Unknown) out += line + "\r\n";
  return out;
}

// Reads the records again when the file changed since the last read (another store or
// process wrote it). Returns false when there are no records yet.
bool PerUserPropertyFile::LoadIfChanged() {
  WIN32_FILE_ATTRIBUTE_DATA info{};
  if (!GetFileAttributesExW(LongPathForm(path_).c_str(), GetFileExInfoStandard, &info)) {
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) {
      cache_ = {};
      cacheValid_ = true;
      cachedSize_ = 0;
      cachedTime_ = {};
      return false;
    }
    throw tk::RuntimeError(HresultOf(error), L"The property records cannot be read.");
  }
  const std::uint64_t size = (static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
  if (cacheValid_ && size == cachedSize_ && CompareFileTime(&info.ftLastWriteTime, &cachedTime_) == 0)
    return true;
  Handle file(CreateFileW(LongPathForm(path_).c_str(), GENERIC_READ,
                          FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                          FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) ThrowLastError(L"The property records cannot be read.");
  LARGE_INTEGER length{};
  if (!GetFileSizeEx(file.get(), &length)) ThrowLastError(L"The property records cannot be read.");
  std::string text(static_cast<std::size_t>(length.QuadPart), '\0');
  DWORD got = 0;
  if (!text.empty() && (!ReadFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &got,
                                  nullptr) || got != text.size()))
    ThrowLastError(L"The property records cannot be read.");
  BY_HANDLE_FILE_INFORMATION now{};
  GetFileInformationByHandle(file.get(), &now);
  cache_ = Parse(text);
  cachedTime_ = now.ftLastWriteTime;
  cachedSize_ = static_cast<std::uint64_t>(length.QuadPart);
  cacheValid_ = true;
  return true;
}

void PerUserPropertyFile::HoldSnapshot(bool hold) {
  holdSnapshot_ = hold;
  snapshotChecked_ = false;
}

// Brings the records up to date with the file; while a snapshot is held, only the first time.
void PerUserPropertyFile::Refresh() {
  if (holdSnapshot_ && snapshotChecked_ && cacheValid_) return;
  LoadIfChanged();  // no file: no records
  snapshotChecked_ = holdSnapshot_;
}

PropertyValues PerUserPropertyFile::Find(const FileKey& key) {
  Refresh();
  for (const auto& r : cache_.Records)
    if (r.Key == key) return r.Values;
  return {};
}

bool PerUserPropertyFile::HasVolume(DWORD serial) {
  Refresh();
  for (const auto& r : cache_.Records)
    if (r.Key.VolumeSerial == serial) return true;
  return false;
}

void PerUserPropertyFile::WriteReplacing(const std::string& text) {
  const std::wstring folder = folder_.substr(0, folder_.size() - 1);  // without its last separator
  if (!CreateDirectoryW(LongPathForm(folder).c_str(), nullptr) &&
      GetLastError() != ERROR_ALREADY_EXISTS) {
    // The parent may be missing too (a fresh profile): make the chain.
    for (std::size_t i = 3; i <= folder.size(); ++i)
      if (i == folder.size() || folder[i] == L'\\')
        CreateDirectoryW(LongPathForm(folder.substr(0, i)).c_str(), nullptr);
  }
  const DWORD error = tk::ReplaceFileContents(LongPathForm(path_), text);
  if (error != ERROR_SUCCESS)
    throw tk::RuntimeError(HresultOf(error), L"The property records cannot be written.");
}

void PerUserPropertyFile::UpdateValues(const FileKey& key,
                                       const std::function<void(PropertyValues&)>& change) {
  RecordsLock lock(path_);
  cacheValid_ = false;
  LoadIfChanged();
  Loaded next = cache_;
  auto it = std::find_if(next.Records.begin(), next.Records.end(),
                         [&](const Record& r) { return r.Key == key; });
  if (it == next.Records.end()) {
    next.Records.push_back(Record{key, {}});
    it = std::prev(next.Records.end());
  }
  change(it->Values);
  if (it->Values.empty()) next.Records.erase(it);
  WriteReplacing(Format(next));
  cacheValid_ = false;  // read back on the next find, with the file's new time
}

}  // namespace zenlo
