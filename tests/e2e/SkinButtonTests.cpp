// The toolbar's skin button clicked for real: the screen shows the skin's colours, and the next
// start opens in the same skin.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "DesktopInput.h"
#include "ProgramRun.h"

namespace {

COLORREF ScreenPixel(int x, int y) {
  HDC screen = GetDC(nullptr);
  const COLORREF c = GetPixel(screen, x, y);
  ReleaseDC(nullptr, screen);
  return c;
}

bool Near(COLORREF a, COLORREF b) {
  return std::abs(GetRValue(a) - GetRValue(b)) <= 4 && std::abs(GetGValue(a) - GetGValue(b)) <= 4 &&
         std::abs(GetBValue(a) - GetBValue(b)) <= 4;
}

// The colour at the right end of a text box, where no text is drawn.
COLORREF EmptyEnd(const RECT& r) { return ScreenPixel(r.right - 3, (r.top + r.bottom) / 2); }

// The grasshopper skin's active title bar and program background (the path box).
const COLORREF kActiveTitle = RGB(30, 100, 30);
const COLORREF kProgramBackground = RGB(150, 200, 110);

struct Seen {
  COLORREF title = CLR_INVALID;
  COLORREF path = CLR_INVALID;
};

// Waits until the active pane's title bar and the path box show the colours wanted.
Seen WaitForColours(const e2e::ProgramRun& run, DWORD timeoutMs) {
  Seen seen;
  const DWORD start = GetTickCount();
  do {
    const auto report = run.DescribePanes();
    RECT title{}, path{};
    if (e2e::ReportRect(report, L"place", L"titlebar 0", title) &&
        e2e::ReportRect(report, L"place", L"pathbox", path)) {
      seen.title = EmptyEnd(title);
      seen.path = EmptyEnd(path);
      if (Near(seen.title, kActiveTitle) && Near(seen.path, kProgramBackground)) return seen;
    }
    Sleep(200);
  } while (GetTickCount() - start < timeoutMs);
  return seen;
}

std::string Hex(COLORREF c) {
  std::ostringstream s;
  s << std::hex << c;
  return s.str();
}

TEST(SkinButton, GrasshopperShowsItsColoursAndComesBackAfterARestart) {
  const std::wstring folder = e2e::MakeProgramFolder(e2e::BinFolder(), e2e::TempBase());
  ASSERT_FALSE(folder.empty());
  // The path box shows with the command line.
  std::ofstream((folder + L"\\user.usr").c_str(), std::ios::binary)
      << "\"ShowCommandLine\",#TRUE#,0,0,0,0\r\n";
  {
    e2e::ProgramRun run;
    ASSERT_TRUE(run.Start(folder));
    ASSERT_NE(run.WaitForMainWindow(60000), nullptr);
    Sleep(500);
    // The default skin first: not the colours looked for.
    const Seen before = WaitForColours(run, 1000);
    EXPECT_FALSE(Near(before.title, kActiveTitle)) << Hex(before.title);
    RECT button{};
    ASSERT_TRUE(e2e::ReportRect(run.DescribePanes(), L"button", L"skinsecond", button));
    e2e::RealLeftClick((button.left + button.right) / 2, (button.top + button.bottom) / 2);
    const Seen after = WaitForColours(run, 10000);
    EXPECT_TRUE(Near(after.title, kActiveTitle)) << Hex(after.title);
    EXPECT_TRUE(Near(after.path, kProgramBackground)) << Hex(after.path);
    EXPECT_EQ(run.Close(30000), 0);
  }
  {
    std::ifstream in((folder + L"\\user.usr").c_str(), std::ios::binary);
    std::stringstream settings;
    settings << in.rdbuf();
    EXPECT_NE(settings.str().find("\"SkinName\",\"GRASSHOPPER\""), std::string::npos);
  }
  {
    e2e::ProgramRun run;
    ASSERT_TRUE(run.Start(folder));
    ASSERT_NE(run.WaitForMainWindow(60000), nullptr);
    const Seen again = WaitForColours(run, 10000);
    EXPECT_TRUE(Near(again.title, kActiveTitle)) << Hex(again.title);
    EXPECT_TRUE(Near(again.path, kProgramBackground)) << Hex(again.path);
    EXPECT_EQ(run.Close(30000), 0);
  }
  e2e::RemoveProgramFolder(folder);
}

}  // namespace
