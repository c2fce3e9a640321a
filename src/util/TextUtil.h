#pragma once
// Small text helpers: padded numbers, engine search keys, blanks, searching
// backwards in a text, and finding a value in a chosen list.

#include <QByteArray>
#include <QList>
#include <QString>

// Search keys passed to the table engine are at most this long.
inline constexpr int kMaxKeyLength = 60;

// The decimal number with blanks added on the left up to the width; a longer
// number is not cut.
QString PadNumber(qint64 number, int width);

// The text as the engine's zero-terminated key (Latin-1, at most 60
// characters); constData() of the result is what the seek calls take.
QByteArray KeyText(const QString& text);

// That many blanks (none for a count of 0 or less).
QString Spaces(int count);

// 1-based position of the last occurrence of part in text; 0 when there is
// none or part is empty.
int LastPos(const QString& part, const QString& text);

// Index of the first element equal to value; -1 when absent or when there
// is no list (null).
int IndexInList(const QList<int>* list, int value);
