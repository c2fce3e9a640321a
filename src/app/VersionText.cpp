#include "VersionText.h"

#include <QStringList>

QString VersionText() {
#ifdef PELMARK_VERSION
  // Always four parts, as a file version has.
  QStringList parts = QString(PELMARK_VERSION).split('.');
  while (parts.size() < 4) parts << "0";
  return parts.mid(0, 4).join('.');
#else
  return QString();
#endif
}
