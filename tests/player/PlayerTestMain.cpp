// The player's callbacks arrive on the thread of the application object, so
// every test runs with one and pumps its events while it waits.
#include <gtest/gtest.h>

#include <QGuiApplication>

int main(int argc, char** argv) {
  // Without a display, also while CTest lists the tests.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  ::testing::InitGoogleTest(&argc, argv);
  // Listing the tests happens without the test environment, and without a display.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
