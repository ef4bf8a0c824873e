#include "commands/FolderCompare.h"

#include <string>
#include <vector>

#include "mainwindow/Master.h"
#include "toolkit/MousePointer.h"

namespace varnello {

namespace {

std::wstring PaneNames(const std::vector<short>& panes) {
  std::wstring names;
  for (size_t i = 0; i < panes.size(); ++i) {
    if (i > 0) names += i + 1 == panes.size() ? L" and " : L", ";
    names += std::to_wstring(panes[i] + 1);
  }
  return names;
}

}  // namespace

void FolderCompare::Run() {
  tk::HourglassPointer hourglass;
  m_.WatchStopPanes();
  try {
    Compare();
  } catch (...) {
    std::wstring text = L"An error has occurred while comparing folders.";
    m_.Message(text, 0, L"Master");
  }
  m_.WatchStartPanes();
}

void FolderCompare::Compare() {
  // The compare follows what the two toolbar buttons show.
  m_.SetCompareMode();
  if (m_.Options.ShownPaneCount <= 1) {
    std::wstring text =
        L"You are only showing one folder currently, so there is nothing to compare.";
    m_.Message(text, 0, L"Master");
    return;
  }
  const short source = m_.ClickedPaneNumber();
  PaneList* sourceList = source >= 0 ? m_.List(static_cast<short>(source + 100)) : nullptr;
  if (!sourceList) return;
  if (sourceList->Reading()) {
    std::wstring text = L"Pane " + std::to_wstring(source + 1) +
                        L" is still reading its folder. Compare the folders again once it has "
                        L"finished.";
    m_.Message(text, 0, L"Master");
    return;
  }
  std::vector<zenlo::TypeFolderContents> contents = sourceList->FileArrayForCompare();
  const auto mode = static_cast<zenlo::EnumCompareMode>(m_.Options.CompareMode);
  std::vector<short> compared, stillReading;
  for (short i = 0; i < kPaneCount; ++i) {
    if (i == source || m_.Panes[i].Status != 0 || !m_.Panes[i].Loaded) continue;
    PaneList* other = m_.List(static_cast<short>(i + 100));
    if (!other) continue;
    // A listing still reading has no settled items to mark.
    if (other->Reading()) {
      stillReading.push_back(i);
      continue;
    }
    other->CompareFolder(contents, mode);
    compared.push_back(i);
  }
  // With one other pane the clicked listing learns which of its items that pane matched.
  if (m_.Options.ShownPaneCount == 2 && compared.size() == 1)
    sourceList->CompareResultsUpdate(contents);
  if (!stillReading.empty()) {
    std::wstring text = (stillReading.size() == 1 ? L"Pane " : L"Panes ") +
                        PaneNames(stillReading) +
                        (stillReading.size() == 1 ? L" was" : L" were") +
                        L" still reading and left out of the compare.";
    m_.Message(text, 0, L"Master");
  }
}

}  // namespace varnello
