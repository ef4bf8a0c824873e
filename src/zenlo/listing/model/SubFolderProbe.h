#pragma once
// Remembers whether a tree folder holds sub-folders, per folder, for as long as the folder's
// last-write time is unchanged: a sub-folder made, removed or renamed inside changes that time.
// Expanding one folder re-reads the tree without searching every big sibling folder again.
#include <cstdint>
#include <string>
#include <unordered_map>

namespace zenlo {

class SubFolderProbe {
 public:
  // The kept answer for the folder, or the one `probe` gives (then kept).
  template <typename Probe>
  bool HasSubFolders(const std::wstring& path, std::uint64_t lastWrite, bool showHidden,
                     bool showSystem, Probe&& probe) {
    const std::wstring key = Key(path);
    auto found = answers_.find(key);
    if (found != answers_.end() && found->second.LastWrite == lastWrite && lastWrite != 0 &&
        found->second.ShowHidden == showHidden && found->second.ShowSystem == showSystem)
      return found->second.Has;
    const bool has = probe();
    if (answers_.size() >= kMaxKept) answers_.clear();
    answers_[key] = Answer{lastWrite, showHidden, showSystem, has};
    return has;
  }
  void Clear() { answers_.clear(); }
  std::size_t Kept() const { return answers_.size(); }

 private:
  static constexpr std::size_t kMaxKept = 100000;
  static std::wstring Key(const std::wstring& path);
  struct Answer {
    std::uint64_t LastWrite = 0;
    bool ShowHidden = false;
    bool ShowSystem = false;
    bool Has = false;
  };
  std::unordered_map<std::wstring, Answer> answers_;
};

}  // namespace zenlo
