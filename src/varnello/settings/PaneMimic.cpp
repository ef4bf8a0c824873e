// "Make same as pane N": the target pane takes the source pane's drive, expanded and active
// folders, sorts, list type and mode; its headings stay its own.
#include "mainwindow/Master.h"
#include "settings/SettingsStore.h"
#include "toolkit/Text.h"

namespace varnello {

namespace {

bool MimicKey(const std::wstring& upperKey) {
  for (const wchar_t* k :
       {L"EXPANDED", L"INITIALDRIVE", L"ACTIVE", L"SORTING", L"LISTTYPE", L"LISTMODE"})
    if (upperKey == k) return true;
  return false;
}

// Drawing comes back on however the set-up ends.
class DrawingOff {
 public:
  explicit DrawingOff(PaneList& list) : list_(list) { list_.SetDoDrawing(false); }
  ~DrawingOff() {
    try {
      list_.SetDoDrawing(true);
    } catch (...) {
    }
  }
  DrawingOff(const DrawingOff&) = delete;
  DrawingOff& operator=(const DrawingOff&) = delete;

 private:
  PaneList& list_;
};

template <typename F>
void Step(F&& f) {
  // A list call that fails leaves the target partly updated; the rest still runs.
  try {
    f();
  } catch (...) {
  }
}

}  // namespace

void SettingsStore::PaneWantsToMimicFolder(short index, short paneNum) {
  // A listing's request is its pane's.
  const short target = index >= 100 ? static_cast<short>(index - 100) : index;
  if (target < 0 || target >= kPaneCount || paneNum < 0 || paneNum >= kPaneCount) return;
  if (target == paneNum) return;  // the pane's own entry: nothing to copy
  SaveSettings();
  std::vector<tk::SettingRecord> records;
  ReadPaneState(paneNum, records);
  ApplyPaneState(target, paneNum, records);
}

void SettingsStore::ReadPaneState(short paneNum, std::vector<tk::SettingRecord>& records) const {
  // The records just written, kept in memory: a file that could not be written or was changed
  // since does not decide what is copied.
  for (const tk::SettingRecord& r : lastWritten_) {
    if (!MimicKey(tk::UpperCase(r.Key))) continue;
    const auto n = r.Values[0].AsWhole();
    if (n && (*n == paneNum || *n == paneNum + 100)) records.push_back(r);
  }
}

void SettingsStore::ApplyPaneState(short index, short paneNum,
                                   const std::vector<tk::SettingRecord>& records) {
  if (records.empty()) return;
  PaneList* tree = m_.List(index);
  PaneList* listing = m_.List(static_cast<short>(index + 100));
  if (!tree || !listing) return;
  std::wstring drive;
  for (const tk::SettingRecord& r : records)
    if (tk::UpperCase(r.Key) == L"INITIALDRIVE") drive = r.Values[1].AsText().value_or(L"");

  std::vector<tk::SettingRecord> kept;
  for (const tk::SettingRecord& r : records) {
    const std::wstring key = tk::UpperCase(r.Key);
    if (key == L"EXPANDED" || key == L"ACTIVE") {
      // Drive letters compare without regard to case.
      const std::wstring first = r.Values[1].AsText().value_or(L"").substr(0, 1);
      if (drive.empty() || first.empty() || !tk::SameText(first, drive.substr(0, 1))) continue;
    }
    tk::SettingRecord copy = r;
    const auto n = r.Values[0].AsWhole().value_or(0);
    copy.Values[0] = tk::SettingValue::Whole(n < 100 ? index : index + 100);
    kept.push_back(std::move(copy));
  }

  Step([&] { tree->ExpandFolderRemove(drive); });
  Step([&] { tree->ActiveFolderRemove(drive); });
  Step([&] { tree->SetActiveItemNum(-1); });
  Step([&] { tree->SortReset(); });
  Step([&] { listing->SortReset(); });
  Step([&] { tree->SetSortOrder(0, L"sName", L"asc"); });
  Step([&] { listing->SetSortOrder(0, L"sName", L"asc"); });
  for (const tk::SettingRecord& r : kept) {
    const bool driveRecord = tk::UpperCase(r.Key) == L"INITIALDRIVE";
    Step([&] { dispatcher_.ApplySetting(r.Key, r.Values, driveRecord ? -1 : index); });
  }
  Step([&] {
    DrawingOff drawing(*listing);
    listing->LoadSetup();
  });
  Step([&] { m_.SetPaneFolder(index); });
  // The lists may have gone while the folder was read.
  tree = m_.List(index);
  listing = m_.List(static_cast<short>(index + 100));
  PaneList* source = m_.List(static_cast<short>(paneNum + 100));
  if (!tree || !listing) return;
  Step([&] {
    tree->DrawFolderBox();
    tree->HighLightActiveItem();
  });
  Step([&] {
    // The source's active item is copied only where the target has such an item.
    const std::int32_t n = source ? source->GetActiveItemNum() : -1;
    if (n >= 0 && n < listing->ShownItemCount()) listing->SetActiveItemNum(n);
    listing->HighLightActiveItem();
  });
}

}  // namespace varnello
