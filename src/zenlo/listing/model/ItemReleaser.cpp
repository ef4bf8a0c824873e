#include "listing/model/ItemReleaser.h"

#include <system_error>

namespace zenlo {

namespace {
// Below this many records freeing them costs less than starting a thread.
constexpr std::size_t kReleaseHereBelow = 4096;
}  // namespace

void ItemReleaser::Release(ItemArray&& items) {
  if (items.size() < kReleaseHereBelow) {
    ItemArray().swap(items);
    return;
  }
  Wait();  // one array at a time: a burst of refreshes never piles up threads
  ItemArray doomed;
  doomed.swap(items);
  try {
    worker_ = std::thread([held = std::move(doomed)]() mutable {
      ItemArray().swap(held);
    });
  } catch (const std::system_error&) {
    // No thread to be had: the records went with the task that could not start and are
    // freed here instead.
  }
}

void ItemReleaser::Wait() {
  if (worker_.joinable()) worker_.join();
}

}  // namespace zenlo
