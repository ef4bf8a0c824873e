#pragma once
// Test seam of the folder read: a fault injected while an entry becomes an item stands for
// what the file system cannot be made to do on demand (contents changing under the read).
#include <functional>
#include <string>

namespace zenlo {

struct ReadSeams {
  // Called for every entry before it becomes an item; throwing abandons the pass.
  std::function<void(const std::wstring& name)> OnEntry;
  // Called for every folder a tree searches for sub-folders.
  std::function<void(const std::wstring& path)> OnProbe;
  // Called as every filtering pass starts; throwing makes that pass fail.
  std::function<void()> OnFilterPass;
};

ReadSeams& TestReadSeams();

}  // namespace zenlo
