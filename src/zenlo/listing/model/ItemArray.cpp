// The item array's blocks: made as records are added, never moved, freed with the array.
#include "zenlo/ItemArray.h"

#include <new>
#include <utility>

namespace zenlo {

namespace {
TypeListItem* NewBlock(std::size_t records) {
  // Raw room only: a record is made when it is added, so no page is touched before.
  return static_cast<TypeListItem*>(::operator new(records * sizeof(TypeListItem)));
}
}  // namespace

ItemArray::ItemArray(size_type n) { resize(n); }

ItemArray::ItemArray(std::initializer_list<TypeListItem> items) {
  try {
    reserve(items.size());
    for (const TypeListItem& item : items) push_back(item);
  } catch (...) {
    DestroyFrom(0);
    FreeBlocks();
    throw;
  }
}

ItemArray::ItemArray(const ItemArray& other) {
  try {
    reserve(other.size_);
    for (const TypeListItem& item : other) push_back(item);
  } catch (...) {
    DestroyFrom(0);
    FreeBlocks();
    throw;
  }
}

ItemArray::ItemArray(ItemArray&& other) noexcept
    : blocks_(std::move(other.blocks_)), size_(other.size_) {
  other.blocks_.clear();
  other.size_ = 0;
}

ItemArray& ItemArray::operator=(const ItemArray& other) {
  if (this != &other) {
    ItemArray copy(other);
    swap(copy);
  }
  return *this;
}

ItemArray& ItemArray::operator=(ItemArray&& other) noexcept {
  if (this != &other) {
    ItemArray taken(std::move(other));
    swap(taken);
  }
  return *this;
}

ItemArray::~ItemArray() {
  DestroyFrom(0);
  FreeBlocks();
}

ItemArray::size_type ItemArray::capacity() const {
  const size_type n = blocks_.size();
  if (n == 0) return 0;
  if (n <= kSmallBlocks) return kFirst << (n - 1);
  return kFull + (n - kSmallBlocks) * kFull;
}

void ItemArray::MakeRoomForOne() {
  if (BlockOf(size_) < blocks_.size()) return;
  blocks_.reserve(blocks_.size() + 1);  // may throw; nothing was made yet
  blocks_.push_back(NewBlock(BlockSize(blocks_.size())));
}

TypeListItem& ItemArray::emplace_back() {
  MakeRoomForOne();
  TypeListItem* at = &blocks_[BlockOf(size_)][SlotOf(size_)];
  new (at) TypeListItem();
  ++size_;
  return *at;
}

void ItemArray::push_back(const TypeListItem& item) {
  MakeRoomForOne();
  TypeListItem* at = &blocks_[BlockOf(size_)][SlotOf(size_)];
  new (at) TypeListItem(item);
  ++size_;
}

void ItemArray::push_back(TypeListItem&& item) {
  MakeRoomForOne();
  TypeListItem* at = &blocks_[BlockOf(size_)][SlotOf(size_)];
  new (at) TypeListItem(std::move(item));
  ++size_;
}

void ItemArray::resize(size_type n) {
  if (n < size_) {
    DestroyFrom(n);
    return;
  }
  reserve(n);
  while (size_ < n) emplace_back();
}

void ItemArray::assign(size_type n, const TypeListItem& item) {
  clear();
  reserve(n);
  for (size_type i = 0; i < n; ++i) push_back(item);
}

void ItemArray::clear() { DestroyFrom(0); }

void ItemArray::reserve(size_type n) {
  while (capacity() < n) {
    blocks_.reserve(blocks_.size() + 1);
    blocks_.push_back(NewBlock(BlockSize(blocks_.size())));
  }
}

void ItemArray::swap(ItemArray& other) noexcept {
  blocks_.swap(other.blocks_);
  std::swap(size_, other.size_);
}

void ItemArray::DestroyFrom(size_type n) {
  while (size_ > n) {
    --size_;
    blocks_[BlockOf(size_)][SlotOf(size_)].~TypeListItem();
  }
}

void ItemArray::FreeBlocks() {
  for (TypeListItem* block : blocks_) ::operator delete(block);
  blocks_.clear();
}

}  // namespace zenlo
