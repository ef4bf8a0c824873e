#pragma once
// A main window on recording lists in a temporary program folder.
#include <memory>
#include <string>
#include <vector>

#include "BoxAnswers.h"
#include "ProgramRun.h"
#include "RecordingLists.h"
#include "mainwindow/Master.h"

namespace vtest {

struct Reporter final : varnello::StartupReporter {
  std::vector<std::wstring> Statuses;
  bool Loaded = false;
  bool ShutDown = false;
  void SetStatus(const std::wstring& t) override { Statuses.push_back(t); }
  std::wstring Status() const override { return Statuses.empty() ? L"" : Statuses.back(); }
  void SetLoadedFlag() override { Loaded = true; }
  void SetShutDown() override { ShutDown = true; }
};

// A program folder holds the shipped skins, or every start reports the missing skin.
inline const std::wstring& WithShippedSkins(const std::wstring& folder) {
  e2e::CopyFolderFiles(ExeFolder() + L"\\skins", folder + L"\\skins");
  return folder;
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
