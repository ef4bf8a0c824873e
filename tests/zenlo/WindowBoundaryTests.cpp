// Where the control meets user32 and the loader: failures that end at the window procedure,
// windows that end with their parent, the toolbar's notices to the host, and the library loaded
// a second time.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "support/FakeHost.h"
#include "support/HostWindow.h"
#include "support/UseAfterFree.h"
#include "toolkit/Controls.h"
#include "toolkit/Error.h"
#include "toolkit/Window.h"
#include "zenlo/ZFCombo.h"
#include "zenlo/ZenloClassIds.h"
#include "zenlo/ZenloFileControl.h"

using namespace zenlo;

namespace {

constexpr UINT kFail = WM_APP + 1;

struct ThrowCase {
  const char* Name;
  std::function<void()> Throw;
  long Number;
};

void PrintTo(const ThrowCase& c, std::ostream* os) { *os << c.Name; }

const ThrowCase kThrows[] = {
    {"RuntimeError", [] { throw tk::RuntimeError(53, L"File not found"); }, 53},
    {"StdException", [] { throw std::runtime_error("broken"); }, 0},
    {"AnythingElse", [] { throw 42; }, 0},
};

class WindowProcedureBoundary : public testing::TestWithParam<ThrowCase> {};

TEST_P(WindowProcedureBoundary, AFailingHandlerIsReportedOnceAndGoesNoFurther) {
  testsupport::HostWindow parent(200, 100);
  tk::HandlerWindow window;
  ASSERT_TRUE(window.Create(parent.Handle(), WS_CHILD | WS_VISIBLE,
                            [&](UINT msg, WPARAM, LPARAM, LRESULT& result) {
                              if (msg != kFail) return false;
                              GetParam().Throw();
                              result = 7;
                              return true;
                            }));
  std::vector<tk::ErrorInfo> reports;
  window.SetErrorHandler([&] { reports.push_back(tk::CurrentError()); });
  bool escaped = false;
  try {
    SendMessageW(window.Handle(), kFail, 0, 0);
  } catch (...) {
    escaped = true;
  }
  EXPECT_FALSE(escaped);
  ASSERT_EQ(reports.size(), 1u);
  if (GetParam().Number) {
    EXPECT_EQ(reports[0].Number, GetParam().Number);
  }
  // The window still works.
  EXPECT_TRUE(IsWindow(window.Handle()));
  EXPECT_EQ(SendMessageW(window.Handle(), WM_GETTEXTLENGTH, 0, 0), 0);
}

INSTANTIATE_TEST_SUITE_P(Throws, WindowProcedureBoundary, testing::ValuesIn(kThrows),
                         [](const testing::TestParamInfo<ThrowCase>& i) { return i.param.Name; });

TEST(WindowBoundary, AHandlerMayDeleteItsOwnWindow) {
  testsupport::UseAfterFreeWatch watch{sizeof(tk::HandlerWindow)};
  testsupport::HostWindow parent(200, 100);
  auto* window = new tk::HandlerWindow;
  ASSERT_EQ(watch.Watched(), 1);
  ASSERT_TRUE(window->Create(parent.Handle(), WS_CHILD | WS_VISIBLE,
                             [&](UINT msg, WPARAM, LPARAM, LRESULT&) {
                               if (msg != kFail) return false;
                               delete window;
                               return false;  // default handling, after the object is gone
                             }));
  const HWND hwnd = window->Handle();
  SendMessageW(hwnd, kFail, 0, 0);
  EXPECT_EQ(watch.Deleted(), 1);
  EXPECT_EQ(watch.Touches(), 0);
  EXPECT_FALSE(IsWindow(hwnd));
}

// A parent destroyed first takes its children with it; their owners forget the handles rather
// than destroy them again later (a handle may be in use by another window by then).
TEST(WindowBoundary, WindowsForgetTheirHandlesWhenTheParentGoesFirst) {
  testsupport::HostWindow parent(300, 200);
  tk::HandlerWindow own;
  tk::ComboBox standard;
  tk::ScrollBar bar;
  ASSERT_TRUE(own.Create(parent.Handle(), WS_CHILD | WS_VISIBLE, nullptr));
  ASSERT_TRUE(standard.Create(parent.Handle(), 100, 200));
  ASSERT_TRUE(bar.Create(parent.Handle(), true));
  DestroyWindow(parent.Handle());
  EXPECT_EQ(own.Handle(), nullptr);
  EXPECT_EQ(standard.Handle(), nullptr);
  EXPECT_EQ(bar.Handle(), nullptr);
}

struct HostedControl {
  HostedControl() : window(900, 600) {
    control = ZenloFileControl::Create();
    control->AttachEvents(&host);
    control->Initialize();
    control->ltFolderListType = fbFileAndFolder;
    control->CreateFrame(window.Handle());
    MoveWindow(control->Window(), 0, 0, 700, 500, TRUE);
    control->LoadSetup();
    control->ResizeControl(vertical);
  }
  ~HostedControl() { control->Release(); }
  HWND Toolbar() const {
    return FindWindowExW(control->Window(), nullptr, TOOLBARCLASSNAMEW, nullptr);
  }
  testsupport::FakeHost host;
  testsupport::HostWindow window;
  ZenloFileControl* control = nullptr;
};

TEST(WindowBoundary, AHostMayDestroyItsWindowBeforeReleasingTheControl) {
  testsupport::UseAfterFreeWatch watch{sizeof(ZenloFileControl), sizeof(ZFCombo)};
  auto* pane = new HostedControl;
  ASSERT_NE(pane->control->Window(), nullptr);
  ASSERT_NE(pane->control->Selector().Window(), nullptr);
  DestroyWindow(pane->window.Handle());
  EXPECT_EQ(pane->control->Window(), nullptr);
  EXPECT_EQ(pane->control->Selector().Window(), nullptr);
  EXPECT_EQ(pane->control->Selector().ComboWindow(), nullptr);
  delete pane;
  EXPECT_EQ(watch.Deleted(), 2);
  EXPECT_EQ(watch.Touches(), 0);
}

struct PointerCase {
  const char* Name;
  UINT Message;
  WPARAM Keys;
  const wchar_t* Event;
  const wchar_t* Text;
};

void PrintTo(const PointerCase& c, std::ostream* os) { *os << c.Name; }

const PointerCase kToolbarPointer[] = {
    {"Move", WM_MOUSEMOVE, 0, L"SetMasterMousePointer", L"0"},
    {"LeftPress", WM_LBUTTONDOWN, MK_LBUTTON, L"SetLockedIndex", L""},
    {"RightPress", WM_RBUTTONDOWN, MK_RBUTTON, L"SetLockedIndex", L""},
};

class ToolbarPointer : public testing::TestWithParam<PointerCase> {};

// The host makes the pane whose toolbar is pressed the clicked one, and shows its default pointer
// over it.
TEST_P(ToolbarPointer, ReachesTheHost) {
  const PointerCase& c = GetParam();
  HostedControl pane;
  const HWND toolbar = pane.Toolbar();
  ASSERT_NE(toolbar, nullptr);
  RECT r{};
  ASSERT_TRUE(SendMessageW(toolbar, TB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&r)));
  const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  pane.host.Events.clear();
  SendMessageW(toolbar, c.Message, c.Keys, at);
  if (c.Message == WM_LBUTTONDOWN) SendMessageW(toolbar, WM_LBUTTONUP, 0, at);
  if (c.Message == WM_RBUTTONDOWN) SendMessageW(toolbar, WM_RBUTTONUP, 0, at);
  ASSERT_EQ(pane.host.Count(c.Event), 1);
  for (const auto& e : pane.host.Events)
    if (e.Name == c.Event) {
      EXPECT_EQ(e.Text, c.Text);
    }
}

INSTANTIATE_TEST_SUITE_P(Messages, ToolbarPointer, testing::ValuesIn(kToolbarPointer),
                         [](const testing::TestParamInfo<PointerCase>& i) { return i.param.Name; });

// ---- The library unloaded and loaded again ----

std::wstring DllPath() {
  wchar_t path[1024];
  DWORD n = GetEnvironmentVariableW(L"ZENLO_DLL", path, 1024);
  return n && n < 1024 ? path : L"";
}

template <typename F>
F Export(HMODULE dll, const char* name) {
  return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(dll, name)));
}

// Creates a control with the loaded library's own code, gives it a window, and lets it go.
// Returns whether the window could be made.
bool MakeAWindowWith(HMODULE dll, HWND parent) {
  using GetClassObject = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
  // Members called through their exports: the library's copy of the code, not this program's.
  using CreateFrame = bool (*)(ZenloFileControl*, HWND);
  using Initialize = void (*)(ZenloFileControl*);
  auto getClassObject = Export<GetClassObject>(dll, "DllGetClassObject");
  auto createFrame = Export<CreateFrame>(dll, "_ZN5zenlo16ZenloFileControl11CreateFrameEP6HWND__");
  auto initialize = Export<Initialize>(dll, "_ZN5zenlo16ZenloFileControl10InitializeEv");
  if (!getClassObject || !createFrame || !initialize) {
    ADD_FAILURE() << "exports missing";
    return false;
  }
  IClassFactory* factory = nullptr;
  if (getClassObject(CLSID_ZenloFileControl, IID_IClassFactory,
                     reinterpret_cast<void**>(&factory)) != S_OK)
    return false;
  ZenloFileControl* control = nullptr;
  const HRESULT hr = factory->CreateInstance(nullptr, IID_ZenloFileControl,
                                             reinterpret_cast<void**>(&control));
  factory->Release();
  if (hr != S_OK || !control) return false;
  initialize(control);
  const bool made = createFrame(control, parent);
  // Through IUnknown: the class is final, so a direct call would run this program's copy.
  static_cast<IUnknown*>(control)->Release();
  return made;
}

TEST(LibraryReload, MakesWindowsAgainAfterItWasUnloaded) {
  const std::wstring dll = DllPath();
  ASSERT_FALSE(dll.empty()) << "ZENLO_DLL is not set: run the tests through ctest";
  testsupport::HostWindow parent(400, 300);
  for (int load = 1; load <= 3; ++load) {
    HMODULE module = LoadLibraryW(dll.c_str());
    ASSERT_NE(module, nullptr);
    EXPECT_TRUE(MakeAWindowWith(module, parent.Handle())) << "load " << load;
    auto canUnload = Export<HRESULT(STDAPICALLTYPE*)()>(module, "DllCanUnloadNow");
    ASSERT_EQ(canUnload(), S_OK);
    ASSERT_TRUE(FreeLibrary(module));
    ASSERT_EQ(GetModuleHandleW(dll.c_str()), nullptr) << "the library stayed loaded";
    // Nothing of the unloaded copy is left registered.
    WNDCLASSEXW info{};
    info.cbSize = sizeof info;
    EXPECT_FALSE(GetClassInfoExW(module, L"VarnelloToolkitWindow", &info)) << "load " << load;
  }
}

}  // namespace
