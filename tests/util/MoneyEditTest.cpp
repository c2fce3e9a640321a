#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>

#include "LocaleScope.h"
#include "QtPrinters.h"
#include "platform/QtPlatform.h"
#include "testing/ScriptedPlatform.h"
#include "util/MoneyEdit.h"

namespace {

// A window with the money field, a plain field after it and an OK button
// that is the default button, shown and active so focus moves for real.
class MoneyEditTest : public ::testing::TestWithParam<QLocale> {
 protected:
  MoneyEditTest() : locale_(GetParam()), installed_(&platform_) {}

  void SetUp() override {
    auto* layout = new QVBoxLayout(&window_);
    money_ = new MoneyEdit(8, 2, &window_);
    next_ = new QLineEdit(&window_);
    ok_ = new QPushButton(QStringLiteral("OK"), &window_);
    ok_->setDefault(true);
    layout->addWidget(money_);
    layout->addWidget(next_);
    layout->addWidget(ok_);
    QObject::connect(ok_, &QPushButton::clicked, &window_, &QDialog::accept);
    window_.show();
    window_.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window_));
    money_->setFocus();
    ASSERT_TRUE(money_->hasFocus());
  }

  void TearDown() override { EXPECT_EQ(platform_.Leftovers().toStdString(), ""); }

  // Types text where "." is the locale's separator key.
  void Type(const char* text) {
    for (QChar c : WithSeparator(text)) QTest::keyClick(money_, c.toLatin1());
  }

  LocaleScope locale_;
  platform::ScriptedPlatform platform_;
  platform::ScopedPlatform installed_;
  QDialog window_;
  MoneyEdit* money_ = nullptr;
  QLineEdit* next_ = nullptr;
  QPushButton* ok_ = nullptr;
};

TEST_P(MoneyEditTest, SeparatorKeyTidiesWhatWasTypedAndTheDecimalsFollow) {
  EXPECT_EQ(money_->Format(), QStringLiteral("%8.2f"));
  Type("12.");
  EXPECT_EQ(money_->text(), WithSeparator("   12.00"));
  EXPECT_TRUE(money_->alignment() & Qt::AlignRight);
  Type("5");
  EXPECT_EQ(money_->text(), WithSeparator("   12.5"));
  QTest::keyClick(money_, Qt::Key_Tab);
  EXPECT_TRUE(next_->hasFocus());
  EXPECT_EQ(money_->text(), WithSeparator("   12.50"));
  EXPECT_EQ(money_->Value(), std::optional<double>(12.5));
  EXPECT_TRUE(platform_.Said().isEmpty());
}

TEST_P(MoneyEditTest, SeparatorOverASelectedAmountStartsAfresh) {
  money_->SetValue(12);
  money_->selectAll();
  Type(".25");
  EXPECT_EQ(money_->text(), WithSeparator(".25"));
  QTest::keyClick(money_, Qt::Key_Tab);
  EXPECT_EQ(money_->text(), WithSeparator("    0.25"));
  // Only part selected: the amount is tidied as it stands.
  money_->setFocus();
  money_->SetValue(12);
  money_->setSelection(3, 2);
  Type(".");
  EXPECT_EQ(money_->text(), WithSeparator("   12.00"));
  EXPECT_EQ(money_->selectedText(), QStringLiteral("00"));
}

TEST_P(MoneyEditTest, LeavingTidiesAndSignalsAfterwards) {
  QSignalSpy left(money_, &MoneyEdit::Left);
  QString text_when_left;
  QObject::connect(money_, &MoneyEdit::Left, [&] { text_when_left = money_->text(); });
  Type("7");
  QTest::keyClick(money_, Qt::Key_Tab);
  EXPECT_EQ(left.count(), 1);
  EXPECT_EQ(text_when_left, WithSeparator("    7.00"));
}

TEST_P(MoneyEditTest, MinusShowsRedUntilRemoved) {
  EXPECT_FALSE(money_->ShowsRed());
  Type("-");
  EXPECT_TRUE(money_->ShowsRed());
  EXPECT_EQ(money_->palette().color(QPalette::Text), QColor(255, 0, 0));
  Type(".");
  // The sign survives a tidy with no digits yet.
  EXPECT_EQ(money_->text(), WithSeparator("   -0.00"));
  EXPECT_TRUE(money_->ShowsRed());
  Type("5");
  QTest::keyClick(money_, Qt::Key_Tab);
  EXPECT_EQ(money_->text(), WithSeparator("   -0.50"));
  money_->SetValue(3);
  EXPECT_FALSE(money_->ShowsRed());
  EXPECT_NE(money_->palette().color(QPalette::Text), QColor(255, 0, 0));
}

TEST_P(MoneyEditTest, ColouringCanBeSwitchedOff) {
  money_->SetRedWhenNegative(false);
  Type("-3");
  EXPECT_FALSE(money_->ShowsRed());
  money_->SetRedWhenNegative(true);
  EXPECT_TRUE(money_->ShowsRed());
}

TEST_P(MoneyEditTest, EnterMovesOnInsteadOfPressingTheDefaultButton) {
  QSignalSpy clicked(ok_, &QPushButton::clicked);
  Type("4");
  QTest::keyClick(money_, Qt::Key_Return);
  EXPECT_TRUE(next_->hasFocus());
  EXPECT_EQ(money_->text(), WithSeparator("    4.00"));
  QTest::keyClick(money_, Qt::Key_Enter, Qt::KeypadModifier);
  EXPECT_EQ(clicked.count(), 0);
  EXPECT_TRUE(window_.isVisible());
}

TEST_P(MoneyEditTest, NotANumberIsReportedAndKept) {
  Type(".");  // an empty field takes the separator as the start of the decimals
  EXPECT_EQ(money_->text(), WithSeparator("."));
  QTest::keyClick(money_, Qt::Key_Tab);
  const QString message = QStringLiteral("'%1' is not a valid number.").arg(WithSeparator("."));
  EXPECT_EQ(platform_.Said(), QStringList{message});
  EXPECT_EQ(platform_.Requests().at(0).kind, platform::ScriptedPlatform::Kind::kInform);
  EXPECT_EQ(money_->text(), WithSeparator("."));
  EXPECT_EQ(money_->Value(), std::nullopt);

  // At the separator key too: the text stays and the key is not typed.
  platform_.ClearRecords();
  money_->setFocus();
  money_->setText(WithSeparator("- ."));
  money_->end(false);
  EXPECT_FALSE(money_->Tidy());
  EXPECT_EQ(platform_.Said(),
            QStringList{QStringLiteral("'%1' is not a valid number.").arg(WithSeparator("-."))});
  EXPECT_EQ(money_->text(), WithSeparator("- ."));
}

TEST_P(MoneyEditTest, TheRealBoxTakingTheFocusDoesNotReportAgain) {
  platform::QtPlatform qt;
  platform::ScopedPlatform use_qt(&qt);
  QStringList boxes;
  QTimer closer;
  QObject::connect(&closer, &QTimer::timeout, [&boxes] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      boxes << box->text();
      box->accept();
    }
  });
  closer.start(10);
  // The second separator tidies while the field has the focus; the box
  // then takes it.
  Type("..");
  // Until the box has come and gone and the field has settled.
  EXPECT_TRUE(QTest::qWaitFor(
      [&boxes] { return !boxes.isEmpty() && QApplication::activeModalWidget() == nullptr; }));
  QApplication::processEvents();
  EXPECT_EQ(boxes,
            QStringList{QStringLiteral("'%1' is not a valid number.").arg(WithSeparator("."))});
  EXPECT_EQ(money_->text(), WithSeparator("."));
}

TEST_P(MoneyEditTest, ValidatorAdmitsOnlyWhatTheMaskAdmits) {
  Type("1a2b");
  EXPECT_EQ(money_->text(), QStringLiteral("12"));
  money_->clear();
  Type("-1-2");
  EXPECT_EQ(money_->text(), QStringLiteral("-12"));
  money_->clear();
  Type("123456789");
  EXPECT_EQ(money_->text(), QStringLiteral("12345678"));

  const MoneyValidator validator(8, 2);
  const struct {
    const char* text;  // "." stands for the locale's separator
    bool admitted;
  } cases[] = {
      {"", true},           {"   12.00", true}, {"-12.5", true}, {"  - 1 2", true}, {".", true},
      {"12.345", false},    {"1.2.3", false},   {"--1", false},  {"1-", false},     {".-1", false},
      {"123456789", false}, {"+12", false},     {"1e5", false},  {"12x", false},
  };
  for (const auto& c : cases) {
    QString text = WithSeparator(c.text);
    int pos = 0;
    EXPECT_EQ(validator.validate(text, pos) == QValidator::Acceptable, c.admitted) << c.text;
  }
  // The other locale's separator is not a separator here.
  QString other = QLocale().decimalPoint() == QLatin1String(".") ? QStringLiteral("12,5")
                                                                 : QStringLiteral("12.5");
  int pos = 0;
  EXPECT_EQ(validator.validate(other, pos), QValidator::Invalid);
}

TEST_P(MoneyEditTest, AnAmountWiderThanTheFieldCanBeEditedDown) {
  money_->SetValue(1234567.5);
  EXPECT_EQ(money_->text(), WithSeparator("1234567.50"));
  money_->end(false);
  QTest::keyClick(money_, Qt::Key_Backspace);
  EXPECT_EQ(money_->text(), WithSeparator("1234567.5"));
  // ...but not grown again.
  QTest::keyClick(money_, Qt::Key_9);
  EXPECT_EQ(money_->text(), WithSeparator("1234567.5"));
  money_->selectAll();
  Type("5");
  EXPECT_EQ(money_->text(), QStringLiteral("5"));
}

INSTANTIATE_TEST_SUITE_P(Locales, MoneyEditTest, ::testing::Values(PointLocale(), CommaLocale()),
                         [](const ::testing::TestParamInfo<QLocale>& info) {
                           return info.param.name().toStdString();
                         });

}  // namespace
