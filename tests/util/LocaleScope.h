#pragma once
// Sets the default locale for a test's scope and restores the previous one;
// the helpers under test read the decimal separator and date format from it.

#include <QLocale>
#include <QString>

class LocaleScope {
 public:
  explicit LocaleScope(const QLocale& locale) : previous_(QLocale()) {
    QLocale::setDefault(locale);
  }
  ~LocaleScope() { QLocale::setDefault(previous_); }
  LocaleScope(const LocaleScope&) = delete;
  LocaleScope& operator=(const LocaleScope&) = delete;

 private:
  QLocale previous_;
};

// The two kinds of locale every locale-dependent test runs under.
inline QLocale PointLocale() { return QLocale(QLocale::English, QLocale::UnitedStates); }
inline QLocale CommaLocale() { return QLocale(QLocale::German, QLocale::Germany); }

// Writes a test text with "." standing for the locale's decimal separator.
inline QString WithSeparator(const char* text) {
  return QString::fromLatin1(text).replace(QLatin1Char('.'), QLocale().decimalPoint());
}
