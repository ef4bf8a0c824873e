#include "listing/model/NetResource.h"

#include <cwchar>

#include "toolkit/Error.h"
#include "toolkit/Text.h"

namespace zenlo {

namespace {

constexpr DWORD kFirstBufferSize = 1024;
// A service that keeps asking for more room past this gets no more: the pass ends.
constexpr DWORD kLargestBufferSize = 4u << 20;

// An enumeration buffer aligned for the records it receives.
class EnumBuffer {
 public:
  explicit EnumBuffer(DWORD bytes) { Resize(bytes); }
  void Resize(DWORD bytes) {
    words_.assign((bytes + sizeof(ULONGLONG) - 1) / sizeof(ULONGLONG), 0);
    bytes_ = bytes;
  }
  void* Data() { return words_.data(); }
  DWORD Size() const { return bytes_; }
  const wchar_t* Begin() const { return reinterpret_cast<const wchar_t*>(words_.data()); }
  const wchar_t* End() const {
    return reinterpret_cast<const wchar_t*>(reinterpret_cast<const char*>(words_.data()) + bytes_);
  }

 private:
  std::vector<ULONGLONG> words_;
  DWORD bytes_ = 0;
};

// A text an entry points to. Only texts inside the buffer are read, and never past its end.
std::wstring TextAt(const EnumBuffer& buffer, const wchar_t* text) {
  if (!text || text < buffer.Begin() || text >= buffer.End()) return {};
  const std::size_t room = static_cast<std::size_t>(buffer.End() - text);
  return std::wstring(text, wcsnlen(text, room));
}

class EnumHandle {
 public:
  EnumHandle(NetEnumerator& e, HANDLE h) : enumerator_(e), handle_(h) {}
  ~EnumHandle() { enumerator_.CloseEnum(handle_); }
  EnumHandle(const EnumHandle&) = delete;
  EnumHandle& operator=(const EnumHandle&) = delete;
  HANDLE Get() const { return handle_; }

 private:
  NetEnumerator& enumerator_;
  HANDLE handle_;
};

wchar_t* TextOrNull(std::wstring& text) { return text.empty() ? nullptr : text.data(); }

}  // namespace

std::size_t NetResources::Find(const std::wstring& key) const {
  for (std::size_t i = 0; i < items_.size(); ++i)
    if (tk::SameText(items_[i]->RemoteName(), key)) return i;
  return items_.size();
}

NetResource* NetResources::Item(std::int32_t index) const {
  if (index < 1 || index > Count()) return nullptr;
  return items_[static_cast<std::size_t>(index - 1)].get();
}

NetResource* NetResources::Item(const std::wstring& key) const {
  const std::size_t i = Find(key);
  return i < items_.size() ? items_[i].get() : nullptr;
}

void NetResources::Remove(std::int32_t index) {
  if (index < 1 || index > Count())
    throw tk::RuntimeError(tk::kErrInvalidCall, L"Invalid procedure call or argument");
  items_.erase(items_.begin() + (index - 1));
}

void NetResources::Remove(const std::wstring& key) {
  const std::size_t i = Find(key);
  if (i >= items_.size())
    throw tk::RuntimeError(tk::kErrInvalidCall, L"Invalid procedure call or argument");
  items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(i));
}

NetResource* NetResources::Add(std::unique_ptr<NetResource> node) {
  if (Find(node->RemoteName()) < items_.size()) return nullptr;
  items_.push_back(std::move(node));
  return items_.back().get();
}

NetResource::NetResource(std::shared_ptr<NetEnumerator> enumerator)
    : enumerator_(std::move(enumerator)),
      isRoot_(true),
      children_(std::make_unique<NetResources>()) {}

NetResource::NetResource(std::shared_ptr<NetEnumerator> enumerator, NetRecord record,
                         bool printer)
    : enumerator_(std::move(enumerator)),
      record_(std::move(record)),
      isPrinter_(printer),
      children_(std::make_unique<NetResources>()) {}

NetResource::~NetResource() = default;

NetResources& NetResource::Children() {
  if (!childrenRead_) Enumerate();
  return *children_;
}

std::int32_t NetResource::ResourceType() const {
  return isPrinter_ ? 255 : static_cast<std::int32_t>(record_.DisplayType);
}

std::wstring NetResource::ResourceTypeName() const {
  static const wchar_t* const names[] = {L"Generic",    L"Domain",    L"Server", L"Share",
                                         L"File",       L"Group",     L"Network", L"Root",
                                         L"AdminShare", L"Directory", L"Tree",   L"NDSContainer"};
  if (isPrinter_) return L"Printer";
  if (record_.DisplayType < std::size(names)) return names[record_.DisplayType];
  return {};
}

std::wstring NetResource::ShortName() const {
  const auto slash = record_.RemoteName.rfind(L'\\');
  return slash == std::wstring::npos ? record_.RemoteName : record_.RemoteName.substr(slash + 1);
}

void NetResource::Enumerate() {
  children_ = std::make_unique<NetResources>();
  if (!enumerator_) return;
  if (!EnumeratePass(RESOURCETYPE_DISK, 0, false)) return;
  EnumeratePass(RESOURCETYPE_PRINT, RESOURCEUSAGE_CONNECTABLE, true);
  childrenRead_ = true;
}

bool NetResource::EnumeratePass(DWORD type, DWORD usage, bool printers) {
  NetRecord self = record_;
  NETRESOURCEW own{};
  own.dwScope = self.Scope;
  own.dwType = self.Type;
  own.dwDisplayType = self.DisplayType;
  own.dwUsage = self.Usage;
  own.lpLocalName = TextOrNull(self.LocalName);
  own.lpRemoteName = TextOrNull(self.RemoteName);
  own.lpComment = TextOrNull(self.Comment);
  own.lpProvider = TextOrNull(self.Provider);
  HANDLE raw = nullptr;
  if (enumerator_->OpenEnum(RESOURCE_GLOBALNET, type, usage, isRoot_ ? nullptr : &own, &raw) !=
      NO_ERROR)
    return false;
  EnumHandle handle(*enumerator_, raw);
  EnumBuffer buffer(kFirstBufferSize);
  for (;;) {
    DWORD count = 0xFFFFFFFF;
    DWORD size = buffer.Size();
    const DWORD result = enumerator_->EnumResource(handle.Get(), &count, buffer.Data(), &size);
    if (result == ERROR_MORE_DATA) {
      // Take the size asked for; a service that asks for no more than it has gets double.
      const DWORD next = size > buffer.Size() ? size : buffer.Size() * 2;
      if (next > kLargestBufferSize) break;
      buffer.Resize(next);
      continue;
    }
    // The end (ERROR_NO_MORE_ITEMS) and every other failure end the pass.
    if (result != NO_ERROR || count == 0) break;
    const DWORD fits = buffer.Size() / sizeof(NETRESOURCEW);
    if (count > fits) count = fits;
    const auto* entries = static_cast<const NETRESOURCEW*>(buffer.Data());
    for (DWORD i = 0; i < count; ++i) {
      const NETRESOURCEW& e = entries[i];
      if (printers && e.dwDisplayType != RESOURCEDISPLAYTYPE_SHARE) continue;
      NetRecord record;
      record.Scope = e.dwScope;
      record.Type = e.dwType;
      record.DisplayType = e.dwDisplayType;
      record.Usage = e.dwUsage;
      record.LocalName = TextAt(buffer, e.lpLocalName);
      record.RemoteName = TextAt(buffer, e.lpRemoteName);
      record.Comment = TextAt(buffer, e.lpComment);
      record.Provider = TextAt(buffer, e.lpProvider);
      // A name met twice keeps its first node; the rest of the level is still listed.
      children_->Add(std::unique_ptr<NetResource>(
          new NetResource(enumerator_, std::move(record), printers)));
    }
  }
  return true;
}

}  // namespace zenlo
