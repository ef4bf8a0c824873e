#include <gtest/gtest.h>
#include <objbase.h>

#include "toolkit/MessageBox.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  OleInitialize(nullptr);
  // No test may block on a box on the screen: an unexpected box fails the test at once.
  tk::SetMessageBoxSeam([](const tk::MessageBoxRequest& r) {
    ADD_FAILURE() << "unexpected message box";
    (void)r;
    return IDCANCEL;
  });
  int rc = RUN_ALL_TESTS();
  OleUninitialize();
  return rc;
}
