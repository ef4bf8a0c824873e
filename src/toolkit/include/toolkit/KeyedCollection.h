#pragma once
// An insertion-ordered collection keyed by text compared without regard to case.
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "toolkit/Text.h"

namespace tk {

template <typename T>
class KeyedCollection {
 public:
  // Adds an item; returns false (and changes nothing) when the key is already present.
  bool Add(const std::wstring& key, T value) {
    auto folded = UpperCase(key);
    if (index_.count(folded)) return false;
    index_.emplace(std::move(folded), items_.size());
    items_.emplace_back(key, std::move(value));
    return true;
  }
  bool Contains(const std::wstring& key) const { return index_.count(UpperCase(key)) != 0; }
  const T* Find(const std::wstring& key) const {
    auto it = index_.find(UpperCase(key));
    return it == index_.end() ? nullptr : &items_[it->second].second;
  }
  std::size_t Count() const { return items_.size(); }
  bool Empty() const { return items_.empty(); }
  void Clear() {
    items_.clear();
    index_.clear();
  }
  const std::vector<std::pair<std::wstring, T>>& Items() const { return items_; }

 private:
  std::vector<std::pair<std::wstring, T>> items_;
  std::unordered_map<std::wstring, std::size_t> index_;
};

}  // namespace tk
