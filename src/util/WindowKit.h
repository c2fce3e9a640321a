#pragma once
// The builders every window lays its controls out with. Each control gets its
// object name, so tests and help find it, and a name a screen reader reads:
// its own accessible name, or the label it is the buddy of.

#include <QString>
#include <initializer_list>

class MoneyEdit;
class QCheckBox;
class QDateEdit;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QWidget;

namespace util {

// A push button with its caption. It never becomes the default button, so
// Enter in a field moves on instead of pressing it.
QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption);

// A label with its buddy: the label names the control for screen readers,
// and its mnemonic moves the focus there.
QLabel* MakeLabel(QWidget* parent, const QString& text, QWidget* buddy);

// A one-line edit taking at most max_length characters (0: no limit). An
// empty accessible name leaves the naming to the edit's buddy label.
QLineEdit* MakeEdit(QWidget* parent, const char* name, const QString& accessible,
                    int max_length = 0);

// A money or measure field of `width` characters with `decimals` places.
MoneyEdit* MakeMoneyEdit(QWidget* parent, const char* name, const QString& accessible, int width,
                         int decimals);

// A multi-line text whose Tab moves to the next control.
QPlainTextEdit* MakeMemo(QWidget* parent, const char* name, const QString& accessible);

// A date field with its calendar popup.
QDateEdit* MakeDateEdit(QWidget* parent, const char* name, const QString& accessible);

QCheckBox* MakeCheckBox(QWidget* parent, const char* name, const QString& caption);
QRadioButton* MakeRadio(QWidget* parent, const char* name, const QString& caption);

// A field that only shows a value: read-only, and Tab passes it by.
void ShowOnly(QLineEdit* field);
void ShowOnly(QPlainTextEdit* field);

// The width of `count` characters `sample` in the widget's font.
int TextWidth(const QWidget* widget, int count, QChar sample = QLatin1Char('M'));

// Tab visits the widgets in the order given.
void SetTabOrder(std::initializer_list<QWidget*> order);

// The row of buttons along the foot of a window, kept to the right.
QHBoxLayout* ButtonRow(std::initializer_list<QPushButton*> buttons);

}  // namespace util
