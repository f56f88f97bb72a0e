#include "app/uQuennelApp.h"
#include "tests/app/AppTestUtil.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  // The program's own application object, so exceptions reach its handler.
  TQuennelApp app(argc, argv);
  ::testing::AddGlobalTestEnvironment(new TSettingsFileCleanup);
  return RUN_ALL_TESTS();
}
