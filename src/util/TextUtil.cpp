#include "util/TextUtil.h"

QString PadNumber(qint64 number, int width) {
  return QString::number(number).rightJustified(width, QLatin1Char(' '));
}

QByteArray KeyText(const QString& text) { return text.left(kMaxKeyLength).toLatin1(); }

QString Spaces(int count) { return count > 0 ? QString(count, QLatin1Char(' ')) : QString(); }

int LastPos(const QString& part, const QString& text) {
  if (part.isEmpty()) return 0;
  return static_cast<int>(text.lastIndexOf(part)) + 1;
}

int IndexInList(const QList<int>* list, int value) {
  if (list == nullptr) return -1;
  return static_cast<int>(list->indexOf(value));
}
