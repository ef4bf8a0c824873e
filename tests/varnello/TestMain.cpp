#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include "BoxAnswers.h"
#include "toolkit/MessageBox.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  OleInitialize(nullptr);
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_BAR_CLASSES};
  InitCommonControlsEx(&icc);
  // No test may block on a box on the screen: an unexpected box fails the test at once.
  tk::SetMessageBoxSeam([](const tk::MessageBoxRequest&) {
    ADD_FAILURE() << "unexpected message box";
    return IDCANCEL;
  });
  vtest::BoxAnswers::InstallDefault();
  int rc = RUN_ALL_TESTS();
  OleUninitialize();
  return rc;
}
