#include "listing/model/NameKeys.h"

#include <cstring>
#include <new>

#include "listing/model/MultiHeadingSort.h"

namespace zenlo {

std::uint32_t HashName(const wchar_t* name, std::size_t length) {
  // FNV-1a over the UTF-16 units; the length goes in too.
  std::uint32_t h = 2166136261u ^ static_cast<std::uint32_t>(length);
  for (std::size_t i = 0; i < length; ++i) {
    h ^= static_cast<std::uint16_t>(name[i]);
    h *= 16777619u;
  }
  return h;
}

std::uint32_t HashName(const std::wstring& name) { return HashName(name.data(), name.size()); }

NameKeyRef NameKeyBlocks::Add(const wchar_t* name, std::size_t length) {
  scratch_.clear();
  AppendTextSortKey(name, length, scratch_);
  const std::size_t bytes = scratch_.size();
  if (size_ - used_ < bytes || blocks_.empty()) {
    size_ = bytes > kBlockBytes ? bytes : kBlockBytes;
    blocks_.push_back(std::make_unique<char[]>(size_));
    used_ = 0;
  }
  char* at = blocks_.back().get() + used_;
  if (bytes) std::memcpy(at, scratch_.data(), bytes);
  used_ += bytes;
  return NameKeyRef{at, static_cast<std::uint32_t>(bytes), HashName(name, length)};
}

void ReadNameKeys::Reset(std::size_t expected) {
  blocks_.clear();
  rows_ = std::vector<NameKeyRef>();
  handedOver_ = givenUp_ = false;
  try {
    rows_.reserve(expected);
  } catch (const std::bad_alloc&) {
    givenUp_ = true;
  }
}

std::shared_ptr<NameKeyBlocks> ReadNameKeys::NewBlocks() {
  if (givenUp_) return nullptr;
  try {
    blocks_.push_back(std::make_shared<NameKeyBlocks>());
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
  return blocks_.back();
}

void ReadNameKeys::Placed(std::int32_t row, const NameKeyRef* key) {
  if (row < 0 || givenUp_ || (!key && rows_.empty())) return;
  const std::size_t at = static_cast<std::size_t>(row);
  try {
    if (rows_.size() <= at) rows_.resize(at + 1);
  } catch (const std::bad_alloc&) {
    rows_ = std::vector<NameKeyRef>();
    givenUp_ = true;
    return;
  }
  rows_[at] = key ? *key : NameKeyRef{};
}

void ReadNameKeys::HandOver(std::size_t rows) {
  if (givenUp_ || rows_.empty()) return;
  // Rows placed without a key at the end still need a slot.
  if (rows_.size() != rows) {
    try {
      rows_.resize(rows);
    } catch (const std::bad_alloc&) {
      return;
    }
  }
  handedOver_ = true;
}

std::vector<NameKeyRef>* ReadNameKeys::Rows() { return handedOver_ ? &rows_ : nullptr; }

}  // namespace zenlo
