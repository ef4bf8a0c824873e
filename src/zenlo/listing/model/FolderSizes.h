#pragma once
// Summing the bytes below a folder, and the state of the one size calculation a control runs.
#include <cstdint>
#include <functional>
#include <string>

namespace zenlo {

// Handed down the walk by reference.
struct TypeFolderTally {
  bool IncludeSubFolders = true;
  std::int64_t ByteCount = 0;
};

enum class WalkEnd { Complete, Stopped, NotSearched };

// Adds the sizes of every file below `folder` (which ends with "\") to the tally, the size of
// each taken from its directory entry. Junctions and symbolic links to folders are not
// entered: they lead to folders counted elsewhere, or back up the tree. `afterEntry` runs after
// every entry; when it answers false the walk stops at once (Stopped). NotSearched: `folder`
// itself could not be searched (a sub-folder that cannot be searched adds nothing).
WalkEnd SumFolderTree(const std::wstring& folder, TypeFolderTally& tally,
                      const std::function<bool()>& afterEntry);

// Whether a size calculation runs; the control refuses a second one and keeps its change watch
// paused until the first ends.
class FolderSizeState {
 public:
  bool Running() const { return running_; }

  class Run {
   public:
    explicit Run(FolderSizeState& s) : s_(s) { s_.running_ = true; }
    ~Run() { s_.running_ = false; }
    Run(const Run&) = delete;
    Run& operator=(const Run&) = delete;

   private:
    FolderSizeState& s_;
  };

 private:
  bool running_ = false;
};

}  // namespace zenlo
