#include "listing/model/FolderEntryFeed.h"

#include <chrono>
#include <cwchar>
#include <exception>
#include <utility>

namespace zenlo {

namespace {
// Enough for the worker to fill one batch while the reader empties another.
constexpr std::size_t kBatchCount = 4;
}  // namespace

FolderEntryFeed::FolderEntryFeed(HANDLE search, const WIN32_FIND_DATAW& first)
    : FolderEntryFeed(search, first, Tuning{}) {}

FolderEntryFeed::FolderEntryFeed(HANDLE search, const WIN32_FIND_DATAW& first,
                                 const Tuning& tuning, std::shared_ptr<NameKeyBlocks> keys)
    : search_(search), tuning_(tuning), keys_(std::move(keys)), entry_(first) {
  if (tuning_.BatchEntries == 0) tuning_.BatchEntries = 1;
  done_ = search_ == INVALID_HANDLE_VALUE;
}

FolderEntryFeed::~FolderEntryFeed() {
  if (worker_.joinable()) {
    {
      std::lock_guard<std::mutex> hold(lock_);
      stop_.store(true);
    }
    emptied_.notify_all();
    worker_.join();
  }
  if (search_ != INVALID_HANDLE_VALUE) FindClose(search_);
}

const WIN32_FIND_DATAW* FolderEntryFeed::Next(DWORD waitMs) {
  if (done_) return nullptr;
  if (!firstGiven_) {
    firstGiven_ = true;
    return &entry_;
  }
  if (worker_.joinable()) return NextFromWorker(waitMs);
  if (!workerTried_ && readHere_ >= tuning_.SyncEntries && StartWorker())
    return NextFromWorker(waitMs);
  return NextFromSearch();
}

const NameKeyRef* FolderEntryFeed::LastKey() const {
  if (!keys_ || !current_ || taken_ == 0 || taken_ > current_->Keys.size()) return nullptr;
  return &current_->Keys[taken_ - 1];
}

const WIN32_FIND_DATAW* FolderEntryFeed::NextFromSearch() {
  if (!FindNextFileW(search_, &entry_)) {
    done_ = true;
    return nullptr;
  }
  ++readHere_;
  return &entry_;
}

bool FolderEntryFeed::StartWorker() {
  workerTried_ = true;
  try {
    for (std::size_t i = 0; i < kBatchCount; ++i) {
      batches_.push_back(std::make_unique<Batch>(tuning_.BatchEntries));
      if (keys_) batches_.back()->Keys.resize(tuning_.BatchEntries);
      empty_.push_back(batches_.back().get());
    }
    worker_ = std::thread([this] { ReadAhead(); });
    return true;
  } catch (const std::exception&) {
    // No memory or no thread: the rest of the folder is read here, as a small one is.
    empty_.clear();
    batches_.clear();
    return false;
  }
}

const WIN32_FIND_DATAW* FolderEntryFeed::NextFromWorker(DWORD waitMs) {
  if (current_ && taken_ < current_->Count) return &current_->Entries[taken_++];
  std::unique_lock<std::mutex> hold(lock_);
  if (current_) {
    const bool last = current_->Last;
    current_->Count = 0;
    current_->Last = false;
    empty_.push_back(current_);
    current_ = nullptr;
    if (last) {
      done_ = true;
      return nullptr;
    }
    emptied_.notify_one();
  }
  if (!filled_.wait_for(hold, std::chrono::milliseconds(waitMs),
                        [this] { return !full_.empty(); }))
    return nullptr;
  current_ = full_.front();
  full_.pop_front();
  taken_ = 0;
  if (current_->Count == 0) {  // the search ended right after the previous batch
    done_ = true;
    return nullptr;
  }
  return &current_->Entries[taken_++];
}

void FolderEntryFeed::ReadAhead() {
  for (;;) {
    Batch* batch = nullptr;
    {
      std::unique_lock<std::mutex> hold(lock_);
      emptied_.wait(hold, [this] { return stop_.load() || !empty_.empty(); });
      if (stop_.load()) return;
      batch = empty_.back();
      empty_.pop_back();
    }
    const ULONGLONG started = GetTickCount64();
    while (batch->Count < tuning_.BatchEntries) {
      WIN32_FIND_DATAW& entry = batch->Entries[batch->Count];
      if (!FindNextFileW(search_, &entry)) {
        batch->Last = true;
        break;
      }
      if (keys_) {
        try {
          batch->Keys[batch->Count] = keys_->Add(entry.cFileName, wcslen(entry.cFileName));
        } catch (const std::exception&) {
          batch->Keys[batch->Count] = NameKeyRef{};  // no memory: the sort makes this one
        }
      }
      ++batch->Count;
      if (stop_.load(std::memory_order_relaxed)) return;
      if (GetTickCount64() - started >= tuning_.BatchMaxMs) break;
    }
    const bool last = batch->Last;
    {
      std::lock_guard<std::mutex> hold(lock_);
      full_.push_back(batch);
    }
    filled_.notify_one();
    if (last) return;
  }
}

}  // namespace zenlo
