#pragma once
// The settings file user.usr: written whole from the program's state, read once at start-up
// into a cache whose per-pane records are replayed when a pane's lists are made, and the pane
// mimic, which copies one pane's view onto another through the same records.
#include <optional>
#include <string>
#include <vector>

#include "settings/SettingDispatcher.h"
#include "settings/SettingsLocation.h"
#include "toolkit/SettingRecords.h"

namespace varnello {

class Master;

class SettingsStore {
 public:
  explicit SettingsStore(Master& master) : m_(master), dispatcher_(master) {}

  const SettingsLocation& Location();
  // Tests and hosts that keep the file elsewhere.
  void SetLocation(SettingsLocation location) { location_ = std::move(location); }

  bool ApplySetting(const std::wstring& key, const SettingValues& values, short paneNum) {
    return dispatcher_.ApplySetting(key, values, paneNum);
  }
  // Every record of the file as the program stands now, in the file's order.
  std::vector<tk::SettingRecord> SettingsRecords() const;
  // Writes the file whole through a temporary file. A failure keeps the old file and is told
  // to the user once per run (never while `quiet`, e.g. while the session ends).
  bool SaveSettings(bool quiet = false);

  // Start-up: reads the file, applies the program-wide records and, with `paneNum` -1, keeps
  // every record for the panes.
  void CacheUserSettings(short& paneNum);
  void ReplayCachedSettings(short paneNum);
  void ResetStartItems();
  // After the file was read: shares of the shown panes that do not add up are made equal.
  void SettleShares() { dispatcher_.EqualiseShares(); }
  const std::vector<tk::SettingRecord>& Cache() const { return cache_; }
  bool PositionFound() const { return positionFound_; }

  // "Make same as pane N" asked by list `index` (0-4 tree, 100-104 listing).
  void PaneWantsToMimicFolder(short index, short paneNum);
  // The records of pane `paneNum` that a mimic copies, from the records last written.
  void ReadPaneState(short paneNum, std::vector<tk::SettingRecord>& records) const;
  void ApplyPaneState(short index, short paneNum, const std::vector<tk::SettingRecord>& records);

 private:
  void AppendSettingsRecords(std::vector<tk::SettingRecord>& out) const;
  void AppendPaneBlock(short pane, std::vector<tk::SettingRecord>& out) const;

  Master& m_;
  SettingDispatcher dispatcher_;
  std::optional<SettingsLocation> location_;
  std::vector<tk::SettingRecord> cache_;
  std::vector<tk::SettingRecord> lastWritten_;
  // The records of the last read, before they are applied; kept so that a read again reuses
  // the storage (a block this large is fresh pages from the system each time).
  std::vector<tk::SettingRecord> read_;
  bool positionFound_ = false;
  bool failureReported_ = false;
};

}  // namespace varnello
