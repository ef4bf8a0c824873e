#include "settings/SettingDispatcher.h"

#include <cmath>

#include "commands/MainMenu.h"
#include "mainwindow/Master.h"
#include "settings/WindowPosition.h"
#include "toolkit/Text.h"

namespace varnello {

namespace {

using PaneField = float PaneRecord::*;
using PaneLong = long PaneRecord::*;
using PaneShort = short PaneRecord::*;

// The heading keys a list can be sorted by; the filler has nothing to sort by.
const wchar_t* const kSortableKeys[] = {L"sColor",       L"sName",        L"sDateLastModified",
                                        L"sSize",        L"sExt",         L"sDateCreated",
                                        L"sDateLastAccessed", L"sAttributes", L"sComments",
                                        L"sFileType"};

bool Sortable(const std::wstring& key) {
  for (const wchar_t* k : kSortableKeys)
    if (tk::SameText(key, k)) return true;
  return false;
}

// A colour as the skins store it: red + 256 green + 65536 blue, or a system colour.
bool ValidColour(std::int32_t v) {
  if (v >= 0 && v <= 0xFFFFFF) return true;
  const auto u = static_cast<std::uint32_t>(v);
  return (u & 0xFFFFFF00u) == 0x80000000u && (u & 0xFFu) <= COLOR_MENUBAR;
}

std::wstring PaneKey(short pane) { return L"pane" + std::to_wstring(pane); }

}  // namespace

bool SettingDispatcher::Truth(const tk::SettingValue& v) {
  auto t = v.AsTruth();
  if (!t) throw Refused{};
  return *t;
}

std::int32_t SettingDispatcher::Whole(const tk::SettingValue& v) {
  auto w = v.AsWhole();
  if (!w) throw Refused{};
  return *w;
}

short SettingDispatcher::Short(const tk::SettingValue& v) {
  auto s = v.AsShort();
  if (!s) throw Refused{};
  return *s;
}

std::wstring SettingDispatcher::Text(const tk::SettingValue& v) {
  auto t = v.AsText();
  if (!t) throw Refused{};
  return *t;
}

float SettingDispatcher::Share(const tk::SettingValue& v) {
  auto r = v.AsReal();
  if (!r || !(*r >= 0.0 && *r <= 1.0)) throw Refused{};
  return static_cast<float>(*r);
}

bool SettingDispatcher::ApplySetting(const std::wstring& currProperty, const SettingValues& values,
                                     short paneNum) {
  try {
    const std::wstring key = tk::UpperCase(currProperty);
    if (paneNum == -1)
      ProgramWide(key, values);
    else
      PerPane(key, values, paneNum);
    return true;
  } catch (const Refused&) {
    return false;
  }
}

void SettingDispatcher::ProgramWide(const std::wstring& key, const SettingValues& v) {
  ProgramOptions& o = m_.Options;
  HMENU menu = m_.MenuBar();
  struct TruthKey {
    const wchar_t* key;
    bool ProgramOptions::*field;
  };
  static const TruthKey kTruths[] = {
      {L"SHOWFILEICONS", &ProgramOptions::ShowFileIcons},
      {L"SHOWFOLDERICONS", &ProgramOptions::ShowFolderIcons},
      {L"TRACKFOLDCHANGES", &ProgramOptions::TrackFoldChanges},
      {L"TRACKFILECHANGES", &ProgramOptions::TrackFileChanges},
      {L"TRACKCHIME", &ProgramOptions::TrackChime},
      {L"DEFAULTACTIONMOVE", &ProgramOptions::DefaultActionMove},
      {L"MINIMIZETOTASKBAR", &ProgramOptions::MinimizeToTaskBar},
      {L"FIRSTCOLOREVER", &ProgramOptions::FirstColorEver},
      {L"SKIPWIN9XWARNINGPANES", &ProgramOptions::SkipWin9XWarningPanes},
      {L"ISFIRSTCOLORCODINGOVERMAX", &ProgramOptions::IsFirstColorCodingOverMax},
      {L"USEENHANCEDMODE", &ProgramOptions::UseEnhancedMode},
  };
  for (const TruthKey& t : kTruths)
    if (key == t.key) {
      o.*t.field = Truth(v[0]);
      return;
    }

  struct PaneKeyRow {
    const wchar_t* key;
    PaneField share;
    PaneLong whole;
    PaneShort shortValue;
  };
  static const PaneKeyRow kPaneRows[] = {
      {L"PERCENTWIDTH", &PaneRecord::PercentWidth, nullptr, nullptr},
      {L"PERCENTHEIGHT", &PaneRecord::PercentHeight, nullptr, nullptr},
      {L"PERCENTWIDTHH", &PaneRecord::PercentWidthH, nullptr, nullptr},
      {L"PERCENTHEIGHTH", &PaneRecord::PercentHeightH, nullptr, nullptr},
      {L"ORDER", nullptr, nullptr, &PaneRecord::Order},
      {L"CONTROLGROUP", nullptr, nullptr, &PaneRecord::ControlGroup},
      {L"WIDTH", nullptr, &PaneRecord::Width, nullptr},
      {L"HEIGHT", nullptr, &PaneRecord::Height, nullptr},
      {L"WIDTHH", nullptr, &PaneRecord::WidthH, nullptr},
      {L"HEIGHTH", nullptr, &PaneRecord::HeightH, nullptr},
      {L"LEFT", nullptr, &PaneRecord::Left, nullptr},
  };
  for (const PaneKeyRow& row : kPaneRows) {
    if (key != row.key) continue;
    // Values are taken pane by pane: a refused one leaves the later panes as they were.
    for (short k = 0; k < kPaneCount; ++k) {
      PaneRecord& p = m_.Panes[k];
      if (row.share) p.*row.share = Share(v[k]);
      if (row.whole) p.*row.whole = Whole(v[k]);
      if (row.shortValue) p.*row.shortValue = Short(v[k]);
    }
    return;
  }

  if (key == L"SHOWCOLOR") {
    m_.ShowColor(Truth(v[0]));
  } else if (key == L"FILECOUNTMAX") {
    const std::int32_t n = Whole(v[0]);
    if (n < 0) throw Refused{};
    o.FileCountMax = n;
  } else if (key == L"FOLDERFILELISTING") {
    // Older files write 0 for "no folder".
    const std::wstring folder = Text(v[0]);
    o.FolderFileListing = folder == L"0" ? std::wstring() : folder;
  } else if (key == L"BOOKMARK") {
    const std::int32_t slot = Whole(v[0]);
    if (slot < 0 || slot >= static_cast<std::int32_t>(o.BookMarks.size())) throw Refused{};
    o.BookMarks[static_cast<std::size_t>(slot)].Path = Text(v[1]);
  } else if (key == L"SHOWCOMMANDLINE") {
    m_.ShowCommandLine(Truth(v[0]), true);
  } else if (key == L"SKINNAME") {
    o.SkinName = Text(v[0]);
  } else if (key == L"PROGRAMPOSITION") {
    ProgramPosition(v);
  } else if (key == L"SHOWHIDDEN") {
    o.ShowHidden = Truth(v[0]);
    SetMenuCheck(menu, mnuHidden, o.ShowHidden);
  } else if (key == L"SHOWSYSTEM") {
    o.ShowSystem = Truth(v[0]);
    SetMenuCheck(menu, mnuSystem, o.ShowSystem);
  } else if (key == L"LAYOUT") {
    Layout(v);
  } else if (key == L"COMPAREMODE") {
    CompareMode(v);
  } else if (key == L"LAYOUTAUTOEXPAND") {
    m_.SwitchAutoExpand(Truth(v[0]));
  } else if (key == L"ONLINEVERSION") {
    auto r = v[0].AsReal();
    if (!r) throw Refused{};
    o.OnlineVersion = *r;
  } else if (key == L"STATUS") {
    Status(v);
  } else if (key == L"INITIALDRIVE") {
    const std::wstring drive = Text(v[1]);
    if (drive.empty()) return;
    const std::int32_t pane = Whole(v[0]);
    if (pane < 0 || pane >= kPaneCount) throw Refused{};
    m_.Panes[static_cast<std::size_t>(pane)].InitialDrive = drive;
  } else if (COLORREF* colour = key.rfind(L"COLOR", 0) == 0 ? m_.Skin.ByKey(key) : nullptr) {
    // Only keys that start like a colour's are looked up among the 28 colours.
    const std::int32_t value = Whole(v[0]);
    if (!ValidColour(value)) throw Refused{};
    *colour = static_cast<COLORREF>(value);
  }
}

void SettingDispatcher::ProgramPosition(const SettingValues& v) {
  m_.ResizeAllowed = false;
  WindowPlace place;
  auto real = [](const tk::SettingValue& x) {
    auto r = x.AsReal();
    if (!r) throw Refused{};
    return *r;
  };
  const auto first = v[0].AsText();
  if (first && tk::SameText(*first, L"max")) {
    place.Top = real(v[1]);
    place.Left = real(v[2]);
    // Newer files also keep the size the window is restored to.
    const auto w = v[3].AsReal(), h = v[4].AsReal();
    if (w && h && *w > 0 && *h > 0) place.Width = *w, place.Height = *h;
    place.Maximised = true;
  } else if (real(v[0]) < 0) {
    // An older file written while the window was minimised: its numbers are no place.
    WINDOWPLACEMENT wp{};
    wp.length = sizeof wp;
    GetWindowPlacement(m_.Handle(), &wp);
    place.Top = static_cast<double>(wp.rcNormalPosition.top) * tk::TwipsPerPixelY();
    place.Left = static_cast<double>(wp.rcNormalPosition.left) * tk::TwipsPerPixelX();
    place.Maximised = true;
  } else {
    place.Top = real(v[0]);
    place.Left = real(v[1]);
    place.Width = real(v[2]);
    place.Height = real(v[3]);
  }
  PlaceWindow(m_.Handle(), place, m_.StartMaximised);
}

void SettingDispatcher::Layout(const SettingValues& v) {
  const bool horizontal = Whole(v[0]) != 0;
  m_.Options.Layout = horizontal ? 1 : 0;
  const wchar_t* on = horizontal ? L"layouthorizontal" : L"layoutvertical";
  const wchar_t* off = horizontal ? L"layoutvertical" : L"layouthorizontal";
  if (!m_.MenuIconsFailed) m_.MenuIcons().SetImage(mnuOrientation, m_.ImageList1().IndexOf(on));
  m_.Toolbar1().SetValue(on, true);
  m_.Toolbar1().SetValue(off, false);
}

void SettingDispatcher::CompareMode(const SettingValues& v) {
  const std::int32_t mode = Whole(v[0]);
  const bool size = mode != 0 && mode != 2, date = mode != 0 && mode != 1;
  m_.Toolbar1().SetValue(L"compare_size", size);
  m_.Toolbar1().SetValue(L"compare_date", date);
  // What the buttons were just given, not read back from them: each toolbar message is slow.
  m_.Options.CompareMode = (size ? 1 : 0) + (date ? 2 : 0);
  SetMenuCheck(m_.MenuBar(), mnuCompareSize, size);
  SetMenuCheck(m_.MenuBar(), mnuCompareDate, date);
}

void SettingDispatcher::Status(const SettingValues& v) {
  m_.Options.ShownPaneCount = 0;
  for (short k = 0; k < kPaneCount; ++k) {
    // Anything but 0 is a hidden pane.
    const bool shown = Whole(v[k]) == 0;
    m_.Panes[k].Status = shown ? 0 : 1;
    m_.Toolbar1().SetValue(PaneKey(k), shown);
    SetMenuCheck(m_.MenuBar(), mnuPane0 + static_cast<UINT>(k), shown);
    if (shown) ++m_.Options.ShownPaneCount;
  }
}

void SettingDispatcher::PerPane(const std::wstring& key, const SettingValues& v, short pane) {
  if (pane < 0 || pane >= kPaneCount || v[0].IsNull()) return;
  const bool heading = key == L"HEADING", sorting = key == L"SORTING";
  const bool expanded = key == L"EXPANDED", active = key == L"ACTIVE";
  const bool listType = key == L"LISTTYPE", listMode = key == L"LISTMODE";
  if (!heading && !sorting && !expanded && !active && !listType && !listMode) return;
  const auto target = v[0].AsWhole();
  if (!target) return;
  const bool tree = *target == pane, listing = *target == pane + 100;
  if ((heading || sorting) && !tree && !listing) return;
  if ((expanded || active) && !tree) return;
  if ((listType || listMode) && !listing) return;
  PaneList* list = m_.List(static_cast<short>(*target));
  if (!list) return;
  if (heading) {
    Heading(*list, v);
  } else if (sorting) {
    Sorting(*list, v);
  } else if (expanded) {
    const std::wstring path = Text(v[1]);
    if (path.empty()) throw Refused{};
    list->AddToExpandedFolderString(path);
  } else if (active) {
    const std::wstring drive = Text(v[1]);
    const std::wstring folder = Text(v[2]);
    if (drive.empty()) throw Refused{};
    list->AddToActiveFolderInfo(drive, folder);
  } else {
    // A listing shows files, or files and folders; it is details (0) or list (2).
    const std::int32_t value = Whole(v[1]);
    if (value != 0 && value != 2) throw Refused{};
    if (listType)
      list->SetListType(static_cast<zenlo::ListType>(value));
    else
      list->SetListMode(static_cast<zenlo::EnumListMode>(value));
  }
}

void SettingDispatcher::Heading(PaneList& list, const SettingValues& v) {
  const short h = Short(v[1]);
  if (h < 0 || h > 10) throw Refused{};
  const std::wstring property = Text(v[2]);
  zenlo::Variant value;
  if (tk::SameText(property, L"key")) {
    const std::wstring key = Text(v[3]);
    if (!Sortable(key) && !tk::SameText(key, L"sFiller")) throw Refused{};
    value = key;
  } else if (tk::SameText(property, L"MenuName") || tk::SameText(property, L"Caption") ||
             tk::SameText(property, L"ToolTip")) {
    value = Text(v[3]);
  } else if (tk::SameText(property, L"Width")) {
    const std::int32_t width = Whole(v[3]);
    if (width < 0) throw Refused{};
    value = width;
  } else if (tk::SameText(property, L"Index")) {
    const short index = Short(v[3]);
    if (index < 0 || index > 10) throw Refused{};
    value = static_cast<std::int16_t>(index);
  } else if (tk::SameText(property, L"active")) {
    value = Truth(v[3]);
  } else {
    throw Refused{};
  }
  list.SetHeadingProperty(h, property, value);
}

void SettingDispatcher::Sorting(PaneList& list, const SettingValues& v) {
  const short level = Short(v[1]);
  if (level < 0 || level > 100) throw Refused{};
  const std::wstring key = Text(v[2]);
  const std::wstring order = Text(v[3]);
  if (!tk::SameText(order, L"asc") && !tk::SameText(order, L"des")) throw Refused{};
  if (!Sortable(key)) throw Refused{};
  // Only a heading the list has; a list whose headings are not set up yet gets every heading.
  bool has = false, any = false;
  for (short h = 0; h <= 10 && !has; ++h) {
    const zenlo::Variant k = list.GetHeadingProperty(h, L"key");
    if (const auto* text = std::get_if<std::wstring>(&k); text && !text->empty()) {
      any = true;
      has = tk::SameText(*text, key);
    }
  }
  if (any && !has) throw Refused{};
  list.SetSortOrder(level, key, tk::LowerCase(order));
}

void SettingDispatcher::EqualiseShares() {
  short shown = 0;
  for (const PaneRecord& p : m_.Panes) shown += p.Status == 0 ? 1 : 0;
  if (shown == 0) return;
  for (PaneField field : {&PaneRecord::PercentWidth, &PaneRecord::PercentHeightH}) {
    double sum = 0;
    for (const PaneRecord& p : m_.Panes)
      if (p.Status == 0) sum += p.*field;
    if (std::fabs(sum - 1.0) <= 0.01) continue;
    for (PaneRecord& p : m_.Panes)
      if (p.Status == 0) p.*field = 1.0f / static_cast<float>(shown);
  }
}

}  // namespace varnello
