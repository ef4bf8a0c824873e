#pragma once
// Finds touches of deleted objects. While a watch is on, objects of the watched sizes get pages
// of their own; deleting one makes its pages inaccessible instead of freeing them, and every
// later touch is counted (then let through, so that the test can report it). Link
// UseAfterFree.cpp into one test executable only: it replaces the global operator new.
#include <cstddef>
#include <initializer_list>

namespace testsupport {

class UseAfterFreeWatch {
 public:
  explicit UseAfterFreeWatch(std::initializer_list<std::size_t> sizes);
  ~UseAfterFreeWatch();
  UseAfterFreeWatch(const UseAfterFreeWatch&) = delete;
  UseAfterFreeWatch& operator=(const UseAfterFreeWatch&) = delete;

  int Watched() const;   // objects allocated on their own pages so far
  int Deleted() const;   // of those, deleted
  int Touches() const;   // touches of deleted ones
};

}  // namespace testsupport
