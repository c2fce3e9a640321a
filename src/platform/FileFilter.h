#pragma once
// File dialog filters: the program writes them as "Description|pattern"
// pairs ("Text files (*.txt)|*.TXT"); Qt wants "Description (patterns)"
// entries joined by ";;". Patterns match regardless of case, as the data
// files may come from systems that ignore it.

#include <QString>

namespace platform {

// The filter in Qt's form. A filter without "|" is taken as already in Qt's
// form and returned unchanged.
QString QtFileFilter(const QString& filter);

}  // namespace platform
