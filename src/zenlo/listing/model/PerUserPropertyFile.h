#pragma once
// The per-user property records for files that carry no property sets of their own: one UTF-8
// file, one record per (volume serial, file index), replaced whole on every change.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace zenlo {

struct FileKey {
  DWORD VolumeSerial = 0;
  std::uint64_t FileIndex = 0;
  bool operator==(const FileKey&) const = default;
};

// Named values in the order they were added.
using PropertyValues = std::vector<std::pair<std::wstring, std::wstring>>;

class PerUserPropertyFile {
 public:
  // `folder` holds the records file "properties"; it is made on the first write.
  explicit PerUserPropertyFile(std::wstring folder);

  const std::wstring& FilePath() const { return path_; }
  // The values recorded for a file (empty when none). Throws tk::RuntimeError when the
  // records exist but cannot be read.
  PropertyValues Find(const FileKey& key);
  // Whether any record belongs to a file of that volume.
  bool HasVolume(DWORD serial);
  // While held, finds answer from the records as last read instead of checking the file for
  // changes each time (one listing read; writes still read the file afresh).
  void HoldSnapshot(bool hold);
  // Re-reads the records, lets `change` edit the file's values and writes them all back
  // (temporary file, then replace). Throws tk::RuntimeError with the cause when it could not
  // write; the records on disk are then as they were.
  template <typename Change>
  void Update(const FileKey& key, Change&& change) {
    UpdateValues(key, [&](PropertyValues& v) { change(v); });
  }

 private:
  struct Record {
    FileKey Key;
    PropertyValues Values;
  };
  struct Loaded {
    std::vector<Record> Records;
    // Lines this version does not understand, written back as they were.
    std::vector<std::string> Unknown;
  };

  void UpdateValues(const FileKey& key, const std::function<void(PropertyValues&)>& change);
  bool LoadIfChanged();
  void Refresh();
  Loaded Parse(const std::string& text) const;
  std::string Format(const Loaded& data) const;
  void WriteReplacing(const std::string& text);

  std::wstring folder_;
  std::wstring path_;
  Loaded cache_;
  FILETIME cachedTime_{};
  std::uint64_t cachedSize_ = 0;
  bool cacheValid_ = false;
  bool holdSnapshot_ = false;
  bool snapshotChecked_ = false;
};

}  // namespace zenlo
