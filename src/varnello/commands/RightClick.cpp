// Placeholder until the right-click menu is built.
#include "mainwindow/Master.h"

namespace varnello {

void Master::List_FBRightClick(short, short, short, float, float, std::wstring&, std::wstring&,
                               std::wstring&, std::wstring&, bool, zenlo::sTypes) {}

void Master::RunPaneCommand(float, float, short, std::wstring, short verbMode) {
  if (verbMode != 0) RunPaneVerb(verbMode);
}

}  // namespace varnello
