#include "settings/SettingsStore.h"

#include "mainwindow/Master.h"
#include "mainwindow/ProgramMessageBox.h"
#include "commands/MainMenu.h"
#include "settings/WindowPosition.h"
#include "toolkit/Error.h"
#include "toolkit/PathText.h"
#include "toolkit/Text.h"

#include <string_view>

namespace varnello {

namespace {

using tk::SettingRecord;
using tk::SettingValue;

const SettingValue kZero = SettingValue::Whole(0);

SettingRecord Record(const wchar_t* key, SettingValue a, SettingValue b = kZero,
                     SettingValue c = kZero, SettingValue d = kZero, SettingValue e = kZero) {
  return {key, {std::move(a), std::move(b), std::move(c), std::move(d), std::move(e)}};
}

SettingValue Truth(bool v) { return SettingValue::Truth(v); }
SettingValue Whole(std::int64_t v) { return SettingValue::Whole(v); }
SettingValue Text(const std::wstring& v) { return SettingValue::Text(v); }
SettingValue Single(float v) { return SettingValue::Real(v, true); }

SettingValue FromVariant(const zenlo::Variant& v) {
  if (const auto* b = std::get_if<bool>(&v)) return Truth(*b);
  if (const auto* s = std::get_if<std::int16_t>(&v)) return Whole(*s);
  if (const auto* l = std::get_if<std::int32_t>(&v)) return Whole(*l);
  if (const auto* t = std::get_if<std::wstring>(&v)) return Text(*t);
  return SettingValue::Null();
}

// The keys that describe one pane's lists.
bool PaneKey(const std::wstring& upperKey) {
  for (const wchar_t* k : {L"LISTTYPE", L"LISTMODE", L"INITIALDRIVE", L"EXPANDED", L"ACTIVE",
                           L"HEADING", L"SORTING"})
    if (upperKey == k) return true;
  return false;
}

// Keys only a pane's lists act on, matched without a case-mapping call: the program-wide
// dispatch passes them by, so the start-up read need not upper-case and compare each of them.
// A key that only maps to one of these through other letters still goes the long way.
bool ListOnlyKey(const std::wstring& key) {
  for (std::wstring_view k : {L"LISTTYPE", L"LISTMODE", L"EXPANDED", L"ACTIVE", L"HEADING",
                              L"SORTING"}) {
    if (key.size() != k.size()) continue;
    bool same = true;
    for (std::size_t n = 0; same && n < k.size(); ++n) {
      const wchar_t c = key[n];
      same = (c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - 32) : c) == k[n];
    }
    if (same) return true;
  }
  return false;
}

bool NamesPane(const SettingValue& v, short pane) {
  const auto n = v.AsWhole();
  return n && (*n == pane || *n == pane + 100);
}

const wchar_t* const kHeadingProperties[] = {L"key",      L"Width",   L"Index",  L"active",
                                             L"MenuName", L"Caption", L"ToolTip"};

}  // namespace

const SettingsLocation& SettingsStore::Location() {
  if (!location_) location_ = LocateSettingsFile(m_.ProgramFolder());
  return *location_;
}

std::vector<SettingRecord> SettingsStore::SettingsRecords() const {
  std::vector<SettingRecord> out;
  AppendSettingsRecords(out);
  return out;
}

void SettingsStore::AppendSettingsRecords(std::vector<SettingRecord>& out) const {
  const ProgramOptions& o = m_.Options;
  HMENU menu = m_.MenuBar();
  out.push_back(WindowPositionRecord(m_.Handle(), m_.StartMaximised));
  out.push_back(Record(L"FolderFileListing",
                       o.FolderFileListing.empty() ? kZero : Text(o.FolderFileListing)));
  out.push_back(Record(L"SkipWin9XWarningPanes", Truth(o.SkipWin9XWarningPanes)));
  out.push_back(Record(L"SkinName", Text(o.SkinName)));
  out.push_back(Record(L"Layout", Whole(o.Layout)));
  out.push_back(Record(L"CompareMode", Whole(o.CompareMode)));
  out.push_back(Record(L"UseEnhancedMode", Truth(o.UseEnhancedMode)));
  const bool commandLine = MenuChecked(menu, mnuCommandOn);
  out.push_back(Record(L"ShowCommandLine", Truth(commandLine)));
  out.push_back(Record(L"ShowColor", Truth(m_.ColorMenuOn())));
  out.push_back(Record(L"ShowFileIcons", Truth(o.ShowFileIcons)));
  out.push_back(Record(L"ShowFolderIcons", Truth(o.ShowFolderIcons)));
  out.push_back(Record(L"FileCountMax", Whole(o.FileCountMax)));
  out.push_back(Record(L"MinimizeToTaskBar", Truth(o.MinimizeToTaskBar)));
  out.push_back(Record(L"TrackFoldChanges", Truth(o.TrackFoldChanges)));
  out.push_back(Record(L"TrackFileChanges", Truth(o.TrackFileChanges)));
  out.push_back(Record(L"TrackChime", Truth(o.TrackChime)));
  out.push_back(Record(L"DefaultActionMove", Truth(o.DefaultActionMove)));
  out.push_back(Record(L"IsFirstColorCodingOverMax", Truth(o.IsFirstColorCodingOverMax)));
  out.push_back(Record(L"FirstColorEver", Truth(o.FirstColorEver)));
  out.push_back(Record(L"ShowCommandLine", Truth(commandLine)));
  out.push_back(Record(L"LayoutAutoExpand", Truth(MenuChecked(menu, mnuAutoExpandOn))));
  out.push_back(Record(L"OnlineVersion", SettingValue::Real(o.OnlineVersion)));

  const PaneRecords& p = m_.Panes;
  auto paneRow = [&](const wchar_t* key, auto field) {
    SettingRecord r;
    r.Key = key;
    for (std::size_t k = 0; k < kPaneCount; ++k) r.Values[k] = field(p[k]);
    out.push_back(std::move(r));
  };
  paneRow(L"PercentWidth", [](const PaneRecord& r) { return Single(r.PercentWidth); });
  paneRow(L"PercentHeight", [](const PaneRecord& r) { return Single(r.PercentHeight); });
  paneRow(L"PercentWidthH", [](const PaneRecord& r) { return Single(r.PercentWidthH); });
  paneRow(L"PercentHeightH", [](const PaneRecord& r) { return Single(r.PercentHeightH); });
  paneRow(L"Status", [](const PaneRecord& r) { return Whole(r.Status); });
  paneRow(L"Order", [](const PaneRecord& r) { return Whole(r.Order); });
  paneRow(L"ControlGroup", [](const PaneRecord& r) { return Whole(r.ControlGroup); });
  paneRow(L"Width", [](const PaneRecord& r) { return Whole(r.Width); });
  paneRow(L"Height", [](const PaneRecord& r) { return Whole(r.Height); });
  paneRow(L"WidthH", [](const PaneRecord& r) { return Whole(r.WidthH); });
  paneRow(L"HeightH", [](const PaneRecord& r) { return Whole(r.HeightH); });
  paneRow(L"Left", [](const PaneRecord& r) { return Whole(r.Left); });

  out.push_back(Record(L"ShowHidden", Truth(MenuChecked(menu, mnuHidden))));
  out.push_back(Record(L"ShowSystem", Truth(MenuChecked(menu, mnuSystem))));
  for (std::size_t n = 0; n < o.BookMarks.size(); ++n)
    out.push_back(Record(L"BookMark", Whole(static_cast<std::int64_t>(n)), Text(o.BookMarks[n].Path)));
  for (short i = 0; i < kPaneCount; ++i) AppendPaneBlock(i, out);
  out.push_back(Record(L"End", kZero));
}

void SettingsStore::AppendPaneBlock(short i, std::vector<SettingRecord>& out) const {
  PaneList* tree = m_.List(i);
  PaneList* listing = m_.List(static_cast<short>(i + 100));
  if (!m_.Panes[i].Loaded || !tree || !listing) {
    // A pane not shown since start-up keeps its stored view as it was read.
    for (const SettingRecord& r : cache_)
      if (!r.Key.empty() && PaneKey(tk::UpperCase(r.Key)) && NamesPane(r.Values[0], i))
        out.push_back(r);
    return;
  }
  const short child = static_cast<short>(i + 100);
  out.push_back(Record(L"ListType", Whole(child), Whole(listing->FolderListType())));
  out.push_back(Record(L"InitialDrive", Whole(i), Text(tree->CurrentDriveLetter())));
  out.push_back(Record(L"ListMode", Whole(child), Whole(listing->GetListMode())));
  for (std::int32_t n = 0; n <= tree->ExpandedCount(); ++n) {
    const std::wstring folder = tree->GetExpandedFolderString(n);
    if (!folder.empty()) out.push_back(Record(L"Expanded", Whole(i), Text(folder)));
  }
  for (std::int32_t n = 0; n <= tree->GetActiveFolderCount(); ++n) {
    std::wstring drive, folder;
    tree->GetActiveFolderInfo(n, drive, folder);
    if (!folder.empty()) out.push_back(Record(L"Active", Whole(i), Text(drive), Text(folder)));
  }
  const std::pair<PaneList*, short> lists[] = {{tree, i}, {listing, child}};
  for (const auto& [list, number] : lists)
    for (short h = 0; h <= 10; ++h)
      for (const wchar_t* property : kHeadingProperties)
        out.push_back(Record(L"Heading", Whole(number), Whole(h), Text(property),
                             FromVariant(list->GetHeadingProperty(h, property))));
  for (const auto& [list, number] : lists) {
    const short sorts = list->GetNumberOfSorts();
    for (short s = 0; s < sorts; ++s) {
      std::wstring key, order;
      list->GetSortOrder(s, key, order);
      out.push_back(Record(L"SORTING", Whole(number), Whole(s), Text(key), Text(order)));
    }
  }
}

bool SettingsStore::SaveSettings(bool quiet) {
  const SettingsLocation& where = Location();
  // Built in place: the last save's storage is reused rather than a large block taken afresh.
  lastWritten_.clear();
  AppendSettingsRecords(lastWritten_);
  const unsigned long error = tk::ReplaceFileContents(tk::LongPathForm(where.WritePath),
                                                      tk::FormatSettingRecords(lastWritten_));
  if (error == 0) return true;
  if (!quiet && !failureReported_) {
    failureReported_ = true;
    std::wstring text = L"Varnello could not save its settings in " + where.WritePath +
                        L". The settings file was left as it was, so changes made in this "
                        L"session will not be there at the next start.";
    m_.Message(text, 0, L"", static_cast<long>(error), tk::SystemErrorText(error));
  }
  return false;
}

void SettingsStore::CacheUserSettings(short& paneNum) {
  if (paneNum == -1) {
    cache_.clear();
    positionFound_ = false;
  }
  const auto bytes = tk::ReadFileBytes(tk::LongPathForm(Location().ReadPath));
  if (!bytes) return;  // no file: the defaults stand
  tk::ParseSettingRecords(*bytes, read_);
  for (SettingRecord& r : read_) {
    m_.Options.FirstRun = false;
    if (r.Key == L"ProgramPosition") positionFound_ = true;
    if (!r.Values[0].IsNull() && !(paneNum == -1 && ListOnlyKey(r.Key)))
      dispatcher_.ApplySetting(r.Key, r.Values, paneNum);
    if (paneNum == -1) cache_.push_back(std::move(r));
  }
  read_.clear();
}

void SettingsStore::ReplayCachedSettings(short paneNum) {
  // A record a list refuses ends only that record: the pane gets every other one. Only records
  // naming one of the pane's lists can act on it; the others are not dispatched at all.
  for (const SettingRecord& r : cache_)
    if (!r.Key.empty() && NamesPane(r.Values[0], paneNum))
      dispatcher_.ApplySetting(r.Key, r.Values, paneNum);
}

void SettingsStore::ResetStartItems() {
  for (short i = 0; i < kPaneCount; ++i) {
    if (!m_.Panes[i].Loaded) continue;
    if (PaneList* l = m_.List(i)) l->ResetStartItem();
    if (PaneList* l = m_.List(static_cast<short>(i + 100))) l->ResetStartItem();
  }
}

}  // namespace varnello
