#include "app/uQuennelApp.h"
#include "settings/uFMXUtils.h"
#include "tests/app/AppTestUtil.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  // Offscreen also when CTest runs us only to list the tests.
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // The program's own application object, so exceptions reach its handler.
  TQuennelApp app(argc, argv);
  InitTheme();  // as the program does before its first window
  ::testing::AddGlobalTestEnvironment(new TSettingsFileCleanup);
  return RUN_ALL_TESTS();
}
