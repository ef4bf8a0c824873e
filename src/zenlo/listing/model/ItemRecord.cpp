// The item record's texts, formatted from what it stores, and the shared type entries.
#include <windows.h>

#include <mutex>
#include <unordered_map>

#include "listing/model/ItemDetails.h"
#include "listing/model/PathText.h"
#include "toolkit/Text.h"
#include "zenlo/ZenloTypes.h"

namespace zenlo {

namespace {
const std::wstring kNoText;
const std::wstring kFolderType = L"File Folder";

std::wstring DateText(std::uint64_t t) {
  FILETIME ft;
  ft.dwLowDateTime = static_cast<DWORD>(t);
  ft.dwHighDateTime = static_cast<DWORD>(t >> 32);
  return tk::FileTimeToDateText(ft);
}
}  // namespace

const ItemTypeEntry* InternItemType(const std::wstring& extKey, const std::wstring& fileType) {
  // Few distinct entries exist (one per extension and type name met); records of every
  // control point at them, so they are never released.
  static std::mutex lock;
  static auto* entries = new std::unordered_map<std::wstring, const ItemTypeEntry*>();
  std::wstring key;
  key.reserve(extKey.size() + 1 + fileType.size());
  key.append(extKey).append(1, L'\0').append(fileType);
  std::lock_guard<std::mutex> hold(lock);
  auto found = entries->find(key);
  if (found != entries->end()) return found->second;
  const ItemTypeEntry* entry = new ItemTypeEntry{extKey, fileType};
  entries->emplace(std::move(key), entry);
  return entry;
}

void TypeListItem::SetDetails(Details kind, std::uint64_t created, std::uint64_t written,
                              std::uint64_t accessed, std::uint32_t attributes) {
  kind_ = static_cast<std::uint8_t>(kind);
  created_ = created;
  written_ = written;
  accessed_ = accessed;
  attributes_ = attributes;
}

void TypeListItem::SetSize(std::uint64_t bytes) {
  size_ = bytes;
  flags_ = static_cast<std::uint8_t>((flags_ | kSized) & ~kPartialSize);
}

void TypeListItem::SetPartialSize(std::uint64_t bytes) {
  size_ = bytes;
  flags_ |= kSized | kPartialSize;
}

void TypeListItem::ClearSize() {
  size_ = 0;
  flags_ = static_cast<std::uint8_t>(flags_ & ~(kSized | kPartialSize));
}

void TypeListItem::SetNameKeyed(bool on) {
  flags_ = static_cast<std::uint8_t>(on ? (flags_ | kNameKeyed) : (flags_ & ~kNameKeyed));
}

void TypeListItem::SetRealPath(const std::wstring& path) {
  if (path == FullPath) {
    if (rare_.get()) rare_.Ensure().RealPath.clear();
    return;
  }
  rare_.Ensure().RealPath = path;
}

void TypeListItem::SetTreeSortKey(const std::wstring& text) {
  if (!text.empty() || rare_.get()) rare_.Ensure().TreeSortKey = text;
}

void TypeListItem::SetComments(const std::wstring& text) {
  if (!text.empty() || rare_.get()) rare_.Ensure().Comments = text;
}

void TypeListItem::SetColorWord(const std::wstring& text) {
  if (!text.empty() || rare_.get()) rare_.Ensure().ColorWord = text;
}

const std::wstring& TypeListItem::RealPath() const {
  const ItemRareTexts* r = rare_.get();
  return r && !r->RealPath.empty() ? r->RealPath : FullPath;
}

const std::wstring& TypeListItem::TreeSortKey() const {
  return rare_.get() ? rare_.get()->TreeSortKey : kNoText;
}

const std::wstring& TypeListItem::Comments() const {
  return rare_.get() ? rare_.get()->Comments : kNoText;
}

const std::wstring& TypeListItem::ColorWord() const {
  return rare_.get() ? rare_.get()->ColorWord : kNoText;
}

std::wstring TypeListItem::DateCreated() const {
  return Kind() == Details::None ? std::wstring() : DateText(created_);
}

std::wstring TypeListItem::DateLastModified() const {
  return Kind() == Details::None ? std::wstring() : DateText(written_);
}

std::wstring TypeListItem::DateLastAccessed() const {
  return Kind() == Details::None ? std::wstring() : DateText(accessed_);
}

std::wstring TypeListItem::SizeText() const {
  if (HasSize()) return tk::GroupedNumber(size_) + (SizeIsPartial() ? L"+" : L"");
  return Kind() == Details::Folder ? std::wstring(L"--") : std::wstring();
}

std::wstring TypeListItem::AttributesText() const {
  return Kind() == Details::None ? std::wstring() : FormatAttributeLetters(attributes_);
}

std::wstring TypeListItem::Extension() const {
  switch (Kind()) {
    case Details::Folder: return L"dir";
    case Details::File: {
      const auto dot = Name.rfind(L'.');
      return dot == std::wstring::npos ? std::wstring() : Name.substr(dot + 1);
    }
    case Details::None: break;
  }
  return {};
}

const std::wstring& TypeListItem::ExtKey() const { return type_ ? type_->ExtKey : kNoText; }

const std::wstring& TypeListItem::FileType() const {
  if (Kind() == Details::Folder) return kFolderType;
  return type_ ? type_->FileType : kNoText;
}

std::wstring TypeListItem::NameKey() const {
  return (flags_ & kNameKeyed) ? NameKeyOf(FullPath) : std::wstring();
}

}  // namespace zenlo
