// Pelmark Invoicing: creates every window once, in order, and runs the
// message loop until the main window closes.

#include <QApplication>

#include "AboutU.h"
#include "MainU.h"
#include "platform/QtPlatform.h"
#include "store/DriveDirU.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("Pelmark Invoicing");
  QApplication::setApplicationVersion(PELMARK_VERSION);

  platform::QtPlatform qt_platform;
  platform::Install(&qt_platform);

  TMain Main;
  TAboutForm AboutForm(&Main);
  TDriveDir DriveDir(&Main);
  Main.SetAboutForm(&AboutForm);
  qt_platform.RegisterWindow(platform::WindowId::kAboutForm, &AboutForm);
  qt_platform.RegisterWindow(platform::WindowId::kDriveDir, &DriveDir);
  qt_platform.SetProgressHandlers([&Main](const QString& text) { Main.ShowProgress(text); },
                                  [&Main](int percent) { Main.SetProgress(percent); });

  Main.show();
  const int exit_code = app.exec();
  platform::Install(nullptr);
  return exit_code;
}
