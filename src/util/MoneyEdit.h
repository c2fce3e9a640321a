#pragma once
// The money entry field used for every amount the operator types: admits
// digits, blanks, one leading minus sign and the locale's decimal separator
// within the field's width; tidies itself to its fixed format ("%8.2f") when
// left and when the decimal separator is typed; shows red while it holds a
// minus sign; Enter moves on to the next control. A text that is not a
// number is reported through the platform and left as typed.

#include <QColor>
#include <QLineEdit>
#include <QValidator>
#include <optional>

// Admits what the field's mask admits: at most width characters of digits
// and blanks, one minus sign before any digit, one decimal separator (the
// locale's) and at most `decimals` digits after it. An amount shown wider
// than the field (set by the program) can still be edited down.
class MoneyValidator final : public QValidator {
  Q_OBJECT

 public:
  MoneyValidator(int width, int decimals, QObject* parent = nullptr);
  State validate(QString& input, int& pos) const override;
  // The length of the text the field shows now; edits may keep a text that
  // long even when it is wider than the field.
  void SetShownLength(qsizetype length) { shown_length_ = length; }

 private:
  int width_;
  int decimals_;
  qsizetype shown_length_ = 0;
};

class MoneyEdit final : public QLineEdit {
  Q_OBJECT

 public:
  // width: characters of the formatted amount (8 for "%8.2f"); decimals: the
  // digits after the separator.
  explicit MoneyEdit(int width, int decimals = 2, QWidget* parent = nullptr);

  int Width() const { return width_; }
  int Decimals() const { return decimals_; }
  // The format the field tidies with, such as "%8.2f".
  QString Format() const;

  // Shows the amount in the field's format.
  void SetValue(double value);
  // The amount shown; nullopt when the text is not a number.
  [[nodiscard]] std::optional<double> Value() const;

  // Tidies the text; a text that is not a number is reported as
  // "'<text>' is not a valid number." and kept. Returns whether it was tidied.
  bool Tidy();

  // Whether the text turns red while it holds "-" (on unless switched off).
  void SetRedWhenNegative(bool on);
  bool RedWhenNegative() const { return red_when_negative_; }
  // Whether the text is shown red now.
  bool ShowsRed() const { return shows_red_; }

 signals:
  // The operator left the field; emitted after tidying.
  void Left();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  void UpdateColour();
  // After a tidy at the separator key: caret after the separator with the
  // decimals selected, so the next digits replace them.
  void SelectDecimals();

  int width_;
  int decimals_;
  MoneyValidator* validator_;
  bool red_when_negative_ = true;
  bool shows_red_ = false;
  bool reporting_ = false;
  QColor normal_text_;
};
