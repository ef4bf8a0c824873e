#pragma once
// The main window's five pane records and the program-wide options, with their defaults.
#include <array>
#include <string>

namespace varnello {

struct PaneRecord {
  std::wstring InitialDrive = L"C";
  bool Loaded = false;
  long Status = 0;  // 0 shown, 1 hidden
  bool MainListFits = false;
  bool ChildListFits = false;
  float PercentWidth = 0;
  float PercentHeight = 0;
  float PercentWidthH = 0;
  float PercentHeightH = 0;
  long MainListHeight = 0;
  long ChildListHeight = 0;
  long MainListWidth = 0;
  long ChildListWidth = 0;
  bool NeedsResize = false;
  short Order = 0;
  short ControlGroup = 0;
  long Width = 0;
  long WidthH = 0;
  long Height = 0;
  long HeightH = 0;
  long Left = 0;
  long Top = 0;
  std::wstring CurrentFolder;
  bool FolderSet = false;
  // The folder this pane's listing was last asked to show; kept per pane so that reads of two
  // panes that interleave never hand one pane the other's folder.
  std::wstring LastChildFolder;
};

constexpr int kPaneCount = 5;
using PaneRecords = std::array<PaneRecord, kPaneCount>;

// The records every run starts from before the settings file is read.
PaneRecords DefaultPaneRecords();

struct Bookmark {
  std::wstring Path = L"(empty)";
  std::wstring DisplayPath = L"(empty)";
};

// Program-wide option variables, named by their settings keys.
struct ProgramOptions {
  std::wstring SkinName = L"Cloud 9";
  short StartPane = -1;
  short ActivePane = -99;
  short ClickedPane = 0;
  short DragSourceIndex = -2;
  double OnlineVersion = 0;
  bool SkipWin9XWarningPanes = false;
  bool UseEnhancedMode = false;
  bool IsFirstColorCodingOverMax = true;
  bool FirstColorEver = true;
  long FileCountMax = 50;
  bool ShowFileIcons = true;
  bool ShowFolderIcons = false;
  bool MinimizeToTaskBar = true;
  bool TrackFoldChanges = false;
  bool TrackFileChanges = false;
  bool TrackChime = false;
  bool DefaultActionMove = false;
  long CompareMode = 3;
  long Layout = 1;  // 0 vertical, 1 horizontal
  bool ColorCodingOn = false;
  bool ShowHidden = false;       // menu check mnuHidden
  bool ShowSystem = false;       // menu check mnuSystem
  bool CommandLineOn = false;    // menu check mnuCommandOn
  bool AutoExpandOn = false;     // menu check mnuAutoExpandOn
  std::array<Bookmark, 10> BookMarks{};
  std::wstring FolderFileListing;  // the folder the file listing was last exported to
  short ShownPaneCount = 2;
  bool FirstRun = true;
};

// The lowest shown pane, or -1 when every pane is hidden.
short LowestShownPane(const PaneRecords& panes);

}  // namespace varnello
