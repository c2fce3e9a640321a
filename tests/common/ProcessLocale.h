#pragma once
// Runs a test under a locale the way the desktop application runs under the
// user's: Qt's default locale for the program's own texts and, when asked,
// the C library's locale (setlocale, which the application object sets from
// the environment) for any C conversion on the way. A C locale the system
// lacks is built once with localedef into a directory under the temporary
// directory and found through LOCPATH; when it cannot be had, Usable() is
// false and the test says so and skips.

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QProcess>
#include <QString>
#include <clocale>
#include <cstdlib>
#include <string>

namespace test_support {

class ProcessLocale {
 public:
  // name: a locale such as "de_DE"; the C library gets name + ".UTF-8".
  // "C" is the C locale in both.
  explicit ProcessLocale(const char* name, bool c_library = true)
      : previous_qt_(QLocale()),
        c_name_(std::string(name) == "C" ? std::string(name) : std::string(name) + ".UTF-8") {
    if (const char* current = std::setlocale(LC_ALL, nullptr)) previous_c_ = current;
    QLocale::setDefault(QLocale(QString::fromLatin1(name)));
    if (c_library) usable_ = SetCLocale(c_name_);
  }
  ~ProcessLocale() {
    std::setlocale(LC_ALL, previous_c_.c_str());
    QLocale::setDefault(previous_qt_);
  }
  ProcessLocale(const ProcessLocale&) = delete;
  ProcessLocale& operator=(const ProcessLocale&) = delete;

  bool Usable() const { return usable_; }
  std::string SkipReason() const {
    return "the C library locale " + c_name_ +
           " is not installed and could not be built with localedef (Debian package locales)";
  }

 private:
  static bool SetCLocale(const std::string& c_name) {
    const QString dir = QDir::temp().filePath(QStringLiteral("pelmark-test-locales"));
    // The C library remembers a locale it could not find under a search
    // path, so once the built ones are in use a locale is built before it
    // is first asked for.
    const bool built_in_use = qEnvironmentVariable("LOCPATH") == dir;
    if (!built_in_use && std::setlocale(LC_ALL, c_name.c_str()) != nullptr) return true;
    const QString target = dir + QLatin1Char('/') + QString::fromStdString(c_name);
    if (!QFile::exists(target + QStringLiteral("/LC_NUMERIC"))) {
      // Built beside the target and renamed into place, so test processes
      // running side by side never see half a locale.
      QDir().mkpath(dir);
      const QString building =
          target + QStringLiteral(".building.%1").arg(QCoreApplication::applicationPid());
      const QString source = QString::fromStdString(c_name.substr(0, c_name.find('.')));
      QProcess::execute(
          QStringLiteral("localedef"),
          {QStringLiteral("-i"), source, QStringLiteral("-f"), QStringLiteral("UTF-8"), building});
      if (!QFile::exists(building + QStringLiteral("/LC_NUMERIC")) ||
          !QDir().rename(building, target)) {
        QDir(building).removeRecursively();
      }
    }
    if (!QFile::exists(target + QStringLiteral("/LC_NUMERIC"))) return false;
    // With LOCPATH set the C library looks only there, so the system's own
    // locales must not be needed after this; the tests ask for the ones they use.
    setenv("LOCPATH", dir.toLocal8Bit().constData(), 1);
    return std::setlocale(LC_ALL, c_name.c_str()) != nullptr;
  }

  QLocale previous_qt_;
  std::string previous_c_ = "C";
  std::string c_name_;
  bool usable_ = true;
};

}  // namespace test_support
