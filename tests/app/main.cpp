// The window tests need one application object for the whole run.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM",
          qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
  // Starting the program remembers the data directory in the user's
  // settings: the tests keep theirs to themselves.
  QTemporaryDir settings_home;
  qputenv("XDG_CONFIG_HOME", settings_home.path().toLocal8Bit());
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
