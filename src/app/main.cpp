// Pelmark Invoicing: creates every window once, in order, and runs the
// message loop until the main window closes.

#include <QApplication>
#include <QCommandLineParser>

#include "MainAssembly.h"
#include "MainU.h"
#include "OpenDataDir.h"
#include "platform/QtPlatform.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("Pelmark Invoicing");
  QApplication::setApplicationVersion(PELMARK_VERSION);
  QGuiApplication::setDesktopFileName("pelmark");

  // Plain `pelmark` works on the current directory; the desktop menu starts
  // `pelmark --open`, which first goes to the data directory used last.
  QCommandLineParser options;
  options.setApplicationDescription("Pelmark Invoicing");
  options.addHelpOption();
  options.addVersionOption();
  const QCommandLineOption open_option(
      "open", "Start in the data directory used last, or choose or make one.");
  options.addOption(open_option);
  options.process(app);

  platform::QtPlatform qt_platform;
  platform::Install(&qt_platform);

  TMain Main;
  AssembleMainWindow(&Main, &qt_platform);
  if (options.isSet(open_option) && !ChangeToDataDirectory()) {
    platform::Install(nullptr);
    return 0;  // the operator cancelled the chooser
  }

  Main.show();
  const int exit_code = app.exec();
  platform::Install(nullptr);
  return exit_code;
}
