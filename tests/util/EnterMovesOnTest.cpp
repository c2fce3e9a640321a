#include <gtest/gtest.h>

#include <QDateEdit>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTest>
#include <QVBoxLayout>

#include "QtPrinters.h"
#include "util/EnterMovesOn.h"

namespace {

class EnterMovesOnTest : public ::testing::Test {
 protected:
  void SetUp() override {
    auto* layout = new QVBoxLayout(&window_);
    name_ = new QLineEdit(&window_);
    disabled_ = new QLineEdit(&window_);
    disabled_->setEnabled(false);
    count_ = new QSpinBox(&window_);
    date_ = new QDateEdit(&window_);
    ok_ = new QPushButton(QStringLiteral("OK"), &window_);
    ok_->setDefault(true);
    for (QWidget* widget : {static_cast<QWidget*>(name_), static_cast<QWidget*>(disabled_),
                            static_cast<QWidget*>(count_), static_cast<QWidget*>(date_),
                            static_cast<QWidget*>(ok_)}) {
      layout->addWidget(widget);
    }
    QObject::connect(ok_, &QPushButton::clicked, &window_, &QDialog::accept);
  }

  void Show() {
    window_.show();
    window_.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window_));
  }

  static void PressEnter() { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return); }

  QDialog window_;
  QLineEdit* name_ = nullptr;
  QLineEdit* disabled_ = nullptr;
  QSpinBox* count_ = nullptr;
  QDateEdit* date_ = nullptr;
  QPushButton* ok_ = nullptr;
};

TEST_F(EnterMovesOnTest, EnterWalksTheFieldsInTabOrderSkippingDisabledOnes) {
  EnterMovesOn::InstallOn(&window_);
  Show();
  QSignalSpy clicked(ok_, &QPushButton::clicked);
  name_->setFocus();
  PressEnter();
  EXPECT_TRUE(count_->hasFocus());
  PressEnter();
  EXPECT_TRUE(date_->hasFocus());
  PressEnter();
  EXPECT_TRUE(ok_->hasFocus());
  EXPECT_EQ(clicked.count(), 0);
  EXPECT_TRUE(window_.isVisible());
  // On a button Enter still presses it.
  PressEnter();
  EXPECT_EQ(clicked.count(), 1);
}

TEST_F(EnterMovesOnTest, WithoutTheFilterEnterPressesTheDefaultButton) {
  // The behaviour the filter exists to prevent, so the test above means
  // something.
  Show();
  QSignalSpy clicked(ok_, &QPushButton::clicked);
  name_->setFocus();
  PressEnter();
  EXPECT_EQ(clicked.count(), 1);
}

TEST_F(EnterMovesOnTest, FieldsAddedLaterAreCoveredThroughTheWindow) {
  EnterMovesOn::InstallOn(&window_);
  auto* late = new QLineEdit(&window_);
  window_.layout()->addWidget(late);
  QWidget::setTabOrder(late, ok_);
  Show();
  QSignalSpy clicked(ok_, &QPushButton::clicked);
  late->setFocus();
  PressEnter();
  EXPECT_TRUE(ok_->hasFocus());
  EXPECT_EQ(clicked.count(), 0);
}

}  // namespace
