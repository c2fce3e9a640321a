#include "util/MoneyEdit.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QLocale>
#include <QPalette>
#include <algorithm>

#include "platform/Platform.h"
#include "util/EnterMovesOn.h"
#include "util/MoneyUtil.h"

namespace {

QString DecimalSeparator() { return QLocale().decimalPoint(); }

}  // namespace

MoneyValidator::MoneyValidator(int width, int decimals, QObject* parent)
    : QValidator(parent), width_(width), decimals_(decimals) {}

QValidator::State MoneyValidator::validate(QString& input, int& /*pos*/) const {
  if (input.size() > std::max<qsizetype>(width_, shown_length_)) return Invalid;
  const QString separator = DecimalSeparator();
  bool seen_digit = false;
  bool seen_minus = false;
  bool seen_separator = false;
  int decimals_seen = 0;
  for (qsizetype i = 0; i < input.size(); ++i) {
    const QChar c = input[i];
    if (input.mid(i, separator.size()) == separator) {
      if (seen_separator) return Invalid;
      seen_separator = true;
      i += separator.size() - 1;
    } else if (c == QLatin1Char('-')) {
      if (seen_minus || seen_digit || seen_separator) return Invalid;
      seen_minus = true;
    } else if (c.isDigit() && c.unicode() < 128) {
      seen_digit = true;
      if (seen_separator && ++decimals_seen > decimals_) return Invalid;
    } else if (c != QLatin1Char(' ')) {
      return Invalid;
    }
  }
  return Acceptable;
}

MoneyEdit::MoneyEdit(int width, int decimals, QWidget* parent)
    : QLineEdit(parent),
      width_(width),
      decimals_(decimals),
      validator_(new MoneyValidator(width, decimals, this)) {
  setValidator(validator_);
  setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  normal_text_ = palette().color(QPalette::Text);
  connect(this, &QLineEdit::textChanged, this, [this](const QString& text) {
    validator_->SetShownLength(text.size());
    UpdateColour();
  });
}

QString MoneyEdit::Format() const { return QStringLiteral("%%1.%2f").arg(width_).arg(decimals_); }

void MoneyEdit::SetValue(double value) { setText(FormatAmount(value, Format())); }

std::optional<double> MoneyEdit::Value() const {
  QString bare = text();
  bare.remove(QLatin1Char(' '));
  return TextToNumber(bare);
}

bool MoneyEdit::Tidy() {
  const std::optional<QString> tidy = TidyAmount(text(), Format());
  if (!tidy) {
    QString bare = text();
    bare.remove(QLatin1Char(' '));
    // The box takes the focus from the field; that is not the operator
    // leaving it, so no second tidy (and box) may follow from it.
    reporting_ = true;
    platform::Current().Inform(QStringLiteral("'%1' is not a valid number.").arg(bare));
    reporting_ = false;
    return false;
  }
  if (*tidy != text()) setText(*tidy);
  return true;
}

void MoneyEdit::SetRedWhenNegative(bool on) {
  red_when_negative_ = on;
  UpdateColour();
}

void MoneyEdit::UpdateColour() {
  const bool red = red_when_negative_ && text().contains(QLatin1Char('-'));
  if (red == shows_red_) return;
  shows_red_ = red;
  QPalette colours = palette();
  colours.setColor(QPalette::Text, red ? QColor(255, 0, 0) : normal_text_);
  setPalette(colours);
}

void MoneyEdit::SelectDecimals() {
  const qsizetype at = text().lastIndexOf(DecimalSeparator());
  if (at < 0) return;
  const int start = static_cast<int>(at + DecimalSeparator().size());
  setSelection(start, static_cast<int>(text().size()) - start);
}

void MoneyEdit::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    event->accept();
    MoveFocusOn(this);
    return;
  }
  // The keypad's separator key types the locale's separator, whatever the
  // keyboard layout sends.
  const bool separator_key =
      event->text() == DecimalSeparator() ||
      (event->key() == Qt::Key_Period && (event->modifiers() & Qt::KeypadModifier)) ||
      (event->key() == Qt::Key_Comma && (event->modifiers() & Qt::KeypadModifier));
  if (separator_key && !isReadOnly()) {
    event->accept();
    // Nothing typed yet, or everything selected to be typed over: the
    // operator is starting with the decimals.
    if (text().trimmed().isEmpty() || selectedText() == text()) {
      insert(DecimalSeparator());
      return;
    }
    if (Tidy()) SelectDecimals();
    return;
  }
  QLineEdit::keyPressEvent(event);
}

void MoneyEdit::focusOutEvent(QFocusEvent* event) {
  const bool left = !reporting_ && event->reason() != Qt::ActiveWindowFocusReason &&
                    event->reason() != Qt::PopupFocusReason;
  if (left && !isReadOnly()) Tidy();
  QLineEdit::focusOutEvent(event);
  if (left) emit Left();
}
