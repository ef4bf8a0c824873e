// Placeholder until copy, cut and paste of files are built.
#include "mainwindow/Master.h"

namespace varnello {

void Master::RunPaneVerb(short) {}
void Master::ClipboardCopy(const std::vector<std::wstring>&, bool) {}
void Master::ClipboardPaste(const std::wstring&) {}

}  // namespace varnello
