#include "util/WindowKit.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

#include "util/MoneyEdit.h"

namespace util {
namespace {

QString Name(const char* name) { return QString::fromLatin1(name); }

// Names a control for screen readers; an empty name leaves it to the buddy label.
void SetAccessible(QWidget* widget, const QString& accessible) {
  if (!accessible.isEmpty()) widget->setAccessibleName(accessible);
}

}  // namespace

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(Name(name));
  button->setAutoDefault(false);
  return button;
}

QLabel* MakeLabel(QWidget* parent, const QString& text, QWidget* buddy) {
  auto* label = new QLabel(text, parent);
  label->setBuddy(buddy);
  return label;
}

QLineEdit* MakeEdit(QWidget* parent, const char* name, const QString& accessible, int max_length) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(Name(name));
  if (max_length > 0) edit->setMaxLength(max_length);
  SetAccessible(edit, accessible);
  return edit;
}

MoneyEdit* MakeMoneyEdit(QWidget* parent, const char* name, const QString& accessible, int width,
                         int decimals) {
  auto* edit = new MoneyEdit(width, decimals, parent);
  edit->setObjectName(Name(name));
  SetAccessible(edit, accessible);
  return edit;
}

QPlainTextEdit* MakeMemo(QWidget* parent, const char* name, const QString& accessible) {
  auto* memo = new QPlainTextEdit(parent);
  memo->setObjectName(Name(name));
  SetAccessible(memo, accessible);
  memo->setTabChangesFocus(true);
  return memo;
}

QDateEdit* MakeDateEdit(QWidget* parent, const char* name, const QString& accessible) {
  auto* date = new QDateEdit(parent);
  date->setObjectName(Name(name));
  SetAccessible(date, accessible);
  date->setCalendarPopup(true);
  return date;
}

QCheckBox* MakeCheckBox(QWidget* parent, const char* name, const QString& caption) {
  auto* box = new QCheckBox(caption, parent);
  box->setObjectName(Name(name));
  return box;
}

QRadioButton* MakeRadio(QWidget* parent, const char* name, const QString& caption) {
  auto* radio = new QRadioButton(caption, parent);
  radio->setObjectName(Name(name));
  return radio;
}

void ShowOnly(QLineEdit* field) {
  field->setReadOnly(true);
  field->setFocusPolicy(Qt::NoFocus);
}

void ShowOnly(QPlainTextEdit* field) {
  field->setReadOnly(true);
  field->setFocusPolicy(Qt::NoFocus);
}

int TextWidth(const QWidget* widget, int count, QChar sample) {
  return count * widget->fontMetrics().horizontalAdvance(sample);
}

void SetTabOrder(std::initializer_list<QWidget*> order) {
  QWidget* previous = nullptr;
  for (QWidget* widget : order) {
    if (previous != nullptr) QWidget::setTabOrder(previous, widget);
    previous = widget;
  }
}

QHBoxLayout* ButtonRow(std::initializer_list<QPushButton*> buttons) {
  auto* row = new QHBoxLayout;
  row->addStretch();
  for (QPushButton* button : buttons) row->addWidget(button);
  return row;
}

}  // namespace util
