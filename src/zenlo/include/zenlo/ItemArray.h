#pragma once
// ItemArray: the records of a listing or tree, as ZenloFileControl::ListItems() hands them out.
// It is not a std::vector. Its records sit in blocks that never move once made, so an array
// that grows while a folder is read copies no record and touches each page once, and a
// reference to a record stays valid while records are added behind it. A host reads it by
// size(), indexing and iteration; the records of one array are not contiguous in memory.
#include <bit>
#include <compare>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <iterator>
#include <type_traits>
#include <vector>

#include "zenlo/ZenloApi.h"
#include "zenlo/ZenloTypes.h"

namespace zenlo {

class ZENLO_API ItemArray {
 public:
  using value_type = TypeListItem;
  using size_type = std::size_t;
  using difference_type = std::ptrdiff_t;
  using reference = TypeListItem&;
  using const_reference = const TypeListItem&;

  // Record i of an array, walked in index order.
  template <bool Const>
  class Iter {
   public:
    using iterator_category = std::random_access_iterator_tag;
    using iterator_concept = std::random_access_iterator_tag;
    using value_type = TypeListItem;
    using difference_type = std::ptrdiff_t;
    using Array = std::conditional_t<Const, const ItemArray, ItemArray>;
    using reference = std::conditional_t<Const, const TypeListItem&, TypeListItem&>;
    using pointer = std::conditional_t<Const, const TypeListItem*, TypeListItem*>;

    Iter() = default;
    Iter(Array* a, std::size_t i) : a_(a), i_(i) {}
    // A mutable walk converts to a read-only one.
    template <bool C = Const, typename = std::enable_if_t<C>>
    Iter(const Iter<false>& o) : a_(o.a_), i_(o.i_) {}

    reference operator*() const { return (*a_)[i_]; }
    pointer operator->() const { return &(*a_)[i_]; }
    reference operator[](difference_type n) const {
      return (*a_)[static_cast<std::size_t>(static_cast<difference_type>(i_) + n)];
    }
    Iter& operator++() { ++i_; return *this; }
    Iter operator++(int) { Iter t = *this; ++i_; return t; }
    Iter& operator--() { --i_; return *this; }
    Iter operator--(int) { Iter t = *this; --i_; return t; }
    Iter& operator+=(difference_type n) {
      i_ = static_cast<std::size_t>(static_cast<difference_type>(i_) + n);
      return *this;
    }
    Iter& operator-=(difference_type n) { return *this += -n; }
    friend Iter operator+(Iter it, difference_type n) { return it += n; }
    friend Iter operator+(difference_type n, Iter it) { return it += n; }
    friend Iter operator-(Iter it, difference_type n) { return it -= n; }
    friend difference_type operator-(const Iter& a, const Iter& b) {
      return static_cast<difference_type>(a.i_) - static_cast<difference_type>(b.i_);
    }
    friend bool operator==(const Iter& a, const Iter& b) { return a.i_ == b.i_; }
    friend auto operator<=>(const Iter& a, const Iter& b) { return a.i_ <=> b.i_; }

   private:
    friend class Iter<!Const>;
    Array* a_ = nullptr;
    std::size_t i_ = 0;
  };
  using iterator = Iter<false>;
  using const_iterator = Iter<true>;

  ItemArray() = default;
  // n blank records.
  explicit ItemArray(size_type n);
  ItemArray(std::initializer_list<TypeListItem> items);
  ItemArray(const ItemArray& other);
  ItemArray(ItemArray&& other) noexcept;
  ItemArray& operator=(const ItemArray& other);
  ItemArray& operator=(ItemArray&& other) noexcept;
  ~ItemArray();

  size_type size() const { return size_; }
  bool empty() const { return size_ == 0; }
  // Records the blocks made so far hold, used or not.
  size_type capacity() const;

  // No bounds check, as with std::vector.
  TypeListItem& operator[](size_type i) { return blocks_[BlockOf(i)][SlotOf(i)]; }
  const TypeListItem& operator[](size_type i) const { return blocks_[BlockOf(i)][SlotOf(i)]; }
  TypeListItem& front() { return (*this)[0]; }
  const TypeListItem& front() const { return (*this)[0]; }
  TypeListItem& back() { return (*this)[size_ - 1]; }
  const TypeListItem& back() const { return (*this)[size_ - 1]; }

  iterator begin() { return {this, 0}; }
  iterator end() { return {this, size_}; }
  const_iterator begin() const { return {this, 0}; }
  const_iterator end() const { return {this, size_}; }
  const_iterator cbegin() const { return begin(); }
  const_iterator cend() const { return end(); }

  // A blank record at the end.
  TypeListItem& emplace_back();
  void push_back(const TypeListItem& item);
  void push_back(TypeListItem&& item);
  // Fewer records destroys the ones past n (their blocks stay for the array's next growth);
  // more adds blank records.
  void resize(size_type n);
  void assign(size_type n, const TypeListItem& item);
  // Destroys every record; the blocks stay.
  void clear();
  // Makes the blocks for n records now; none of their pages is touched.
  void reserve(size_type n);
  void swap(ItemArray& other) noexcept;

  // Block geometry: the first blocks double from kFirst records up to kFull, every later block
  // holds kFull. A small listing costs little; a large one adds fixed blocks, each large enough
  // that the heap takes it straight from the system and gives it back when the array goes.
  static constexpr unsigned kFirstShift = 5;
  static constexpr unsigned kFullShift = 13;
  static constexpr size_type kFirst = size_type{1} << kFirstShift;
  static constexpr size_type kFull = size_type{1} << kFullShift;
  static constexpr size_type kSmallBlocks = kFullShift - kFirstShift + 1;

  static size_type BlockOf(size_type i) {
    if (i >= kFull) return (i >> kFullShift) + kSmallBlocks - 1;
    if (i < kFirst) return 0;
    return static_cast<size_type>(std::bit_width(i)) - kFirstShift;
  }
  static size_type SlotOf(size_type i) {
    if (i >= kFull) return i & (kFull - 1);
    if (i < kFirst) return i;
    return i - std::bit_floor(i);
  }
  static size_type BlockSize(size_type block) {
    if (block == 0) return kFirst;
    if (block < kSmallBlocks) return kFirst << (block - 1);
    return kFull;
  }

 private:
  // Makes the block that record `size_` goes into when it does not exist yet.
  void MakeRoomForOne();
  void DestroyFrom(size_type n);
  void FreeBlocks();

  std::vector<TypeListItem*> blocks_;
  size_type size_ = 0;
};

inline void swap(ItemArray& a, ItemArray& b) noexcept { a.swap(b); }

}  // namespace zenlo
