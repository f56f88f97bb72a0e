// Widgets need a QApplication for the whole test run; without a display
// (also while CTest lists the tests) it runs offscreen, and the fixtures
// default to the ones this build folder made.
#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  if (qEnvironmentVariableIsEmpty("QUENNEL_FIXTURES"))
    qputenv("QUENNEL_FIXTURES", QUENNEL_DEFAULT_FIXTURES);
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
