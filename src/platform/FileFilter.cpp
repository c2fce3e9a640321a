#include "platform/FileFilter.h"

#include <QRegularExpression>
#include <QStringList>

namespace platform {
namespace {

// Each pattern as written and in lower and upper case; "*.*" means every
// file, also those without an extension.
QStringList CaseFreePatterns(const QString& patterns) {
  QStringList result;
  const QStringList parts =
      patterns.split(QRegularExpression(QStringLiteral("[;\\s]+")), Qt::SkipEmptyParts);
  for (const QString& part : parts) {
    const QString pattern = part == QLatin1String("*.*") ? QStringLiteral("*") : part;
    for (const QString& variant : {pattern, pattern.toLower(), pattern.toUpper()}) {
      if (!result.contains(variant)) result << variant;
    }
  }
  return result;
}

}  // namespace

QString QtFileFilter(const QString& filter) {
  if (!filter.contains(QLatin1Char('|'))) return filter;
  static const QRegularExpression kTrailingPatterns(QStringLiteral("\\s*\\([^()]*\\)\\s*$"));
  const QStringList parts = filter.split(QLatin1Char('|'));
  QStringList entries;
  for (int i = 0; i + 1 < parts.size(); i += 2) {
    QString description = parts[i];
    description.remove(kTrailingPatterns);
    description = description.trimmed();
    const QStringList patterns = CaseFreePatterns(parts[i + 1]);
    if (patterns.isEmpty()) continue;
    entries << description + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) +
                   QLatin1Char(')');
  }
  return entries.join(QStringLiteral(";;"));
}

}  // namespace platform
