#pragma once
// What the benchmarks of the whole main window share: a start-up reporter that stays quiet and
// running the messages a change left behind.
#include <windows.h>

#include <string>

#include "mainwindow/StartupReporter.h"

namespace bench {

struct QuietReporter final : varnello::StartupReporter {
  bool Loaded = false;
  void SetStatus(const std::wstring&) override {}
  std::wstring Status() const override { return L""; }
  void SetLoadedFlag() override { Loaded = true; }
  void SetShutDown() override {}
};

inline void Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

}  // namespace bench
