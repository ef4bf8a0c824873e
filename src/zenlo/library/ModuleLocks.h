#pragma once
// Objects and server locks that keep the library loaded (DllCanUnloadNow).
#include <atomic>

namespace zenlo {

class ModuleLockCount {
 public:
  void Add() { ++count_; }
  void Remove() { --count_; }
  long Count() const { return count_; }

 private:
  std::atomic<long> count_{0};
};

ModuleLockCount& ModuleLocks();

}  // namespace zenlo
