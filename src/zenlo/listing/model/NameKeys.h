#pragma once
// Locale sort keys of a folder's names, made on the read-ahead thread while the platform
// enumerates, so that the first sort after a read takes them instead of making its own.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace zenlo {

// A made key and the hash of the name it was made of: a key is only taken for an item whose
// name hashes the same, so a key that lost its item is never used for another.
struct NameKeyRef {
  const char* Bytes = nullptr;  // nullptr: no key was made
  std::uint32_t Length = 0;
  std::uint32_t NameHash = 0;
};

std::uint32_t HashName(const std::wstring& name);
std::uint32_t HashName(const wchar_t* name, std::size_t length);

// Keys kept in blocks that never move: a key handed out stays valid while more are made.
// One thread adds; others read a key only after it was handed to them under a lock.
class NameKeyBlocks {
 public:
  NameKeyRef Add(const wchar_t* name, std::size_t length);

 private:
  static constexpr std::size_t kBlockBytes = 256 * 1024;
  std::vector<std::unique_ptr<char[]>> blocks_;
  std::size_t used_ = 0;
  std::size_t size_ = 0;
  std::string scratch_;
};

// The keys of the items a read placed, by row. They serve the first sort after the read and
// are let go with it: a listing's keys are as large as its texts.
class ReadNameKeys {
 public:
  // A read starts over: nothing placed yet; room for `expected` rows.
  void Reset(std::size_t expected);
  // Blocks for one folder's feed to fill.
  std::shared_ptr<NameKeyBlocks> NewBlocks();
  // The item at `row` was placed from the entry whose key is `key` (nullptr: none made).
  void Placed(std::int32_t row, const NameKeyRef* key);
  // The read hands over `rows` items: from now until Reset the keys belong to the live
  // listing, and whatever reorders it reorders Rows() with it.
  void HandOver(std::size_t rows);
  // The keys by row while handed over; nullptr otherwise.
  std::vector<NameKeyRef>* Rows();

 private:
  std::vector<std::shared_ptr<NameKeyBlocks>> blocks_;
  std::vector<NameKeyRef> rows_;
  bool handedOver_ = false;
  bool givenUp_ = false;  // no memory for the rows: this read's sort makes its own keys
};

}  // namespace zenlo
