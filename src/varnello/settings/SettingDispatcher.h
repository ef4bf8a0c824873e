#pragma once
// The one place where a settings record takes effect: program-wide keys set options, pane
// records, colours, menus, toolbar buttons and the window; per-pane keys set one pane's lists.
// A value that does not convert or lies outside what its key allows refuses the record at that
// point; nothing bad is ever indexed or handed to a list.
#include <array>
#include <string>

#include "toolkit/SettingRecords.h"

namespace varnello {

class Master;
class PaneList;

using SettingValues = std::array<tk::SettingValue, 5>;

class SettingDispatcher {
 public:
  explicit SettingDispatcher(Master& master) : m_(master) {}

  // False when the record was refused (what it stored before the refusal stays). `paneNum`
  // -1 applies the program-wide keys, 0-4 the per-pane keys of that pane's lists.
  bool ApplySetting(const std::wstring& currProperty, const SettingValues& values, short paneNum);

  // Shares of the shown panes that do not add up to 1 are made equal.
  void EqualiseShares();

 private:
  struct Refused {};
  void ProgramWide(const std::wstring& key, const SettingValues& v);
  void PerPane(const std::wstring& key, const SettingValues& v, short pane);
  void ProgramPosition(const SettingValues& v);
  void Layout(const SettingValues& v);
  void CompareMode(const SettingValues& v);
  void Status(const SettingValues& v);
  void Heading(PaneList& list, const SettingValues& v);
  void Sorting(PaneList& list, const SettingValues& v);

  static bool Truth(const tk::SettingValue& v);
  static std::int32_t Whole(const tk::SettingValue& v);
  static short Short(const tk::SettingValue& v);
  static std::wstring Text(const tk::SettingValue& v);
  static float Share(const tk::SettingValue& v);

  Master& m_;
};

}  // namespace varnello
