#pragma once
// A main window on recording lists in a temporary program folder.
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "BoxAnswers.h"
#include "ProgramRun.h"
#include "RecordingLists.h"
#include "mainwindow/Master.h"
#include "mainwindow/PaneChrome.h"
#include "toolkit/Window.h"

namespace vtest {

struct Reporter final : varnello::StartupReporter {
  std::vector<std::wstring> Statuses;
  bool Loaded = false;
  bool ShutDown = false;
  // A phase announced with this text fails, as if its work had thrown.
  std::wstring FailingPhase;
  void SetStatus(const std::wstring& t) override {
    Statuses.push_back(t);
    if (!FailingPhase.empty() && t == FailingPhase) throw std::runtime_error("phase failed");
  }
  std::wstring Status() const override { return Statuses.empty() ? L"" : Statuses.back(); }
  void SetLoadedFlag() override { Loaded = true; }
  void SetShutDown() override { ShutDown = true; }
};

// A program folder holds the shipped skins, or every start reports the missing skin.
inline const std::wstring& WithShippedSkins(const std::wstring& folder) {
  e2e::CopyFolderFiles(ExeFolder() + L"\\skins", folder + L"\\skins");
  return folder;
}

inline std::string Describe(const RECT& r) {
  return "{" + std::to_string(r.left) + "," + std::to_string(r.top) + "," +
         std::to_string(r.right) + "," + std::to_string(r.bottom) + "}";
}

// Every shown pane's children stand where the arrangement of the window's current size says.
inline void ExpectChildrenWhereArranged(varnello::Master& m) {
  using namespace varnello;
  const Arrangement want =
      ArrangePanes2(m.ArrangementInput(), m.Panes, m.Options.ShownPaneCount);
  ASSERT_TRUE(want.Arranged);
  const int tx = tk::TwipsPerPixelX(), ty = tk::TwipsPerPixelY();
  // The toolbar spans the top of the window above the panes.
  RECT client{};
  GetClientRect(m.Handle(), &client);
  const RECT bar = tk::RectInParent(m.Toolbar1().Handle());
  EXPECT_TRUE(IsWindowVisible(m.Toolbar1().Handle()));
  EXPECT_TRUE(tk::SameRect(bar, RECT{0, 0, client.right, m.Toolbar1().PreferredHeight()}))
      << Describe(bar);
  for (short i = 0; i < kPaneCount; ++i) {
    SCOPED_TRACE(testing::Message() << "pane " << i);
    const PaneRecord& p = m.Panes[i];
    if (p.Status != 0) {
      if (p.Loaded) {
        EXPECT_FALSE(IsWindowVisible(m.List(i)->Window()));
      }
      EXPECT_FALSE(IsWindowVisible(m.TitleBarWindow(i)));
      continue;
    }
    const PanePlacement& c = want.Controls[i];
    const std::pair<HWND, TwipRect> placed[] = {
        {m.List(i)->Window(), c.Tree},
        {m.List(static_cast<short>(i + 100))->Window(), c.Child},
        {m.TitleBarWindow(i), c.TitleBar},
        {m.Chrome().CloseButton(i), c.CloseButton},
    };
    for (const auto& [w, r] : placed) {
      const RECT got = tk::RectInParent(w), expect = ToPixels(r, tx, ty);
      EXPECT_TRUE(tk::SameRect(got, expect)) << Describe(got) << " vs " << Describe(expect);
    }
    EXPECT_EQ(IsWindowVisible(m.List(i)->Window()) != FALSE, p.MainListFits);
    EXPECT_EQ(IsWindowVisible(m.Chrome().NoRoom(i)) != FALSE, !p.MainListFits);
    EXPECT_TRUE(IsWindowVisible(m.TitleBarWindow(i)));
  }
}

class MasterTest : public testing::Test {
 protected:
  MasterTest() : master(std::make_unique<varnello::Master>(WithShippedSkins(dir.Path()), lists)) {
    // The program folder holds the shipped tips, and no test's update check leaves this
    // machine: nothing listens on the discard port of 127.0.0.1.
    CopyFileW((ExeFolder() + L"\\TIPOFDAY.TXT").c_str(), dir.File(L"TIPOFDAY.TXT").c_str(), FALSE);
    master->Updates().SetSource(varnello::MakeInternetFetch(), L"http://127.0.0.1:9/vr_ver/");
  }
  // The whole start-up; fails the test when it did not load.
  void StartUp() {
    master->Form_Load(reporter);
    ASSERT_TRUE(reporter.Loaded);
  }
  TempDir dir;
  RecordingFactory lists;
  Reporter reporter;
  std::unique_ptr<varnello::Master> master;
};

}  // namespace vtest
