// The program as the end-to-end tests run it: Varnello.exe plus the state report window. Never
// shipped: the program folder and the run script use the plain build.
#include <windows.h>

#include <cwchar>
#include <vector>

#include "StateReport.h"
#include "mainwindow/PaneList.h"
#include "mainwindow/VarnelloApp.h"

namespace {

// Nothing listens on the discard port here: by default the update check is refused at once.
const wchar_t kLoopbackUpdateFolder[] = L"http://127.0.0.1:9/vr_ver/";

// The library's lists, except that those named in VARNELLO_FAIL_LISTS (list indexes separated
// by commas) cannot be made, as when the library fails to make a control.
class FailingLists final : public varnello::PaneListFactory {
 public:
  FailingLists(varnello::PaneListFactory& library, std::vector<short> failing)
      : library_(library), failing_(std::move(failing)) {}
  std::unique_ptr<varnello::PaneList> Create(short index, HWND parent,
                                             varnello::PaneListEvents& events) override {
    for (short f : failing_)
      if (f == index) return nullptr;
    return library_.Create(index, parent, events);
  }

 private:
  varnello::PaneListFactory& library_;
  std::vector<short> failing_;
};

std::vector<short> FailingIndexes() {
  wchar_t value[256] = L"";
  const DWORD n = GetEnvironmentVariableW(L"VARNELLO_FAIL_LISTS", value, 256);
  std::vector<short> out;
  if (n == 0 || n >= 256) return out;
  for (wchar_t* p = value; *p;) {
    wchar_t* end = nullptr;
    const long v = std::wcstol(p, &end, 10);
    if (end == p) break;
    out.push_back(static_cast<short>(v));
    p = *end == L',' ? end + 1 : end;
  }
  return out;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  return varnello::RunProgram([](varnello::VarnelloApp& app) {
    // The update check asks a test's own server on 127.0.0.1 (VARNELLO_UPDATE_URL), never the
    // web; the per-user options are kept apart from the shipped program's.
    wchar_t address[512] = L"";
    const DWORD n = GetEnvironmentVariableW(L"VARNELLO_UPDATE_URL", address, 512);
    app.SetUpdateAddress(n > 0 && n < 512 ? address : kLoopbackUpdateFolder);
    app.SetUserStoreName(varnello::kReportingStoreName);
    // Lives as long as the program: the main window keeps it to the end.
    static FailingLists lists(app.LibraryLists(), FailingIndexes());
    app.UseLists(lists);
    varnello::StateReportWindow report(app);
    return app.Run();
  });
}
