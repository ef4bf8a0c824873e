#pragma once
// The colour memory: files whose colour could not be stored, with the colour they were given.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zenlo {

struct TypeColorMemory {
  std::wstring Path;  // the file's full path in upper case
  std::wstring ColorWord;
};

class ColorMemory {
 public:
  // A path met before takes the new word; a new one is added at the end.
  void Remember(const std::wstring& fullPath, const std::wstring& word);
  // The highest index; -1 before the first failure.
  std::int32_t Count() const { return static_cast<std::int32_t>(entries_.size()) - 1; }
  const TypeColorMemory* At(std::int32_t j) const;

 private:
  std::vector<TypeColorMemory> entries_;
};

}  // namespace zenlo
