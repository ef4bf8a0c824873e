#pragma once
// Releases a replaced item array away from the user-interface thread: freeing the texts of
// 100,000 records is work the user should not wait for.
#include <thread>

#include "zenlo/ItemArray.h"

namespace zenlo {

class ItemReleaser {
 public:
  ItemReleaser() = default;
  ~ItemReleaser() { Wait(); }
  ItemReleaser(const ItemReleaser&) = delete;
  ItemReleaser& operator=(const ItemReleaser&) = delete;

  void Release(ItemArray&& items);
  // Returns once the last array handed over is gone.
  void Wait();

 private:
  std::thread worker_;
};

}  // namespace zenlo
