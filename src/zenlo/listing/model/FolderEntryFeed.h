#pragma once
// Hands a folder's directory entries to the reader one at a time. A small folder is read
// straight from its search; a large one is then read ahead on a worker thread, so that building
// the listing's records overlaps the platform's own enumeration instead of following it.
#include <windows.h>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "listing/model/NameKeys.h"

namespace zenlo {

class FolderEntryFeed {
 public:
  struct Tuning {
    // Entries read on the caller's thread before a worker is worth starting.
    std::uint32_t SyncEntries = 1024;
    // Entries handed over at a time once the worker reads.
    std::uint32_t BatchEntries = 256;
    // A partly filled batch is handed over after this long, so a slow folder still shows
    // progress and the reader can go on answering the user.
    DWORD BatchMaxMs = 30;
  };

  // Takes over `search` (closed by the feed) and the entry its first call returned. Given
  // `keys`, the worker also makes each name's sort key there while the reader places entries.
  FolderEntryFeed(HANDLE search, const WIN32_FIND_DATAW& first);
  FolderEntryFeed(HANDLE search, const WIN32_FIND_DATAW& first, const Tuning& tuning,
                  std::shared_ptr<NameKeyBlocks> keys = nullptr);
  // Stops the worker, waiting for the search call it may be in, and closes the search.
  ~FolderEntryFeed();
  FolderEntryFeed(const FolderEntryFeed&) = delete;
  FolderEntryFeed& operator=(const FolderEntryFeed&) = delete;

  // The next entry, valid until the next call; nullptr when the folder is done (Done()) or
  // when the worker has nothing ready within `waitMs`.
  const WIN32_FIND_DATAW* Next(DWORD waitMs);
  bool Done() const { return done_; }
  // The sort key the worker made of the entry Next gave last; nullptr when it made none (the
  // entries read before the worker started, or no keys asked for).
  const NameKeyRef* LastKey() const;
  // Whether a worker read ahead (for tests).
  bool ReadingAhead() const { return worker_.joinable(); }

 private:
  struct Batch {
    explicit Batch(std::uint32_t size) : Entries(size) {}
    std::vector<WIN32_FIND_DATAW> Entries;
    std::vector<NameKeyRef> Keys;  // beside Entries when keys are made
    std::uint32_t Count = 0;
    bool Last = false;
  };

  const WIN32_FIND_DATAW* NextFromSearch();
  const WIN32_FIND_DATAW* NextFromWorker(DWORD waitMs);
  bool StartWorker();
  void ReadAhead();

  HANDLE search_;
  Tuning tuning_;
  std::shared_ptr<NameKeyBlocks> keys_;
  WIN32_FIND_DATAW entry_;
  bool firstGiven_ = false;
  bool done_ = false;
  bool workerTried_ = false;
  std::uint32_t readHere_ = 0;

  std::vector<std::unique_ptr<Batch>> batches_;
  Batch* current_ = nullptr;
  std::uint32_t taken_ = 0;
  std::mutex lock_;
  std::condition_variable filled_;
  std::condition_variable emptied_;
  std::deque<Batch*> full_;
  std::vector<Batch*> empty_;
  std::atomic<bool> stop_{false};
  std::thread worker_;
};

}  // namespace zenlo
