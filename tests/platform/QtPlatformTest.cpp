#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <functional>

#include "QtPrinters.h"
#include "platform/QtPlatform.h"

namespace platform {
namespace {

// What a message box looked like when it came up.
struct SeenBox {
  QString title;
  QString text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QMessageBox::StandardButtons buttons;
};

// Once the box is up, notes what it shows and presses the button.
void AnswerNextBox(SeenBox* seen, QMessageBox::StandardButton press) {
  QTimer::singleShot(0, [seen, press] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    seen->title = box->windowTitle();
    seen->text = box->text();
    seen->icon = box->icon();
    seen->buttons = box->standardButtons();
    box->button(press)->click();
  });
}

TEST(QtPlatformTest, BoxesShowTheTextTitleIconAndButtons) {
  QtPlatform qt;
  SeenBox seen;

  AnswerNextBox(&seen, QMessageBox::Ok);
  qt.Inform(
      QStringLiteral("Database files not found in startup directory\r\nProgram must be "
                     "started from the directory containing the data files."));
  EXPECT_EQ(seen.title, QStringLiteral("Pelmark Invoicing"));
  EXPECT_EQ(seen.text, QStringLiteral("Database files not found in startup directory\nProgram must "
                                      "be started from the directory containing the data files."));
  EXPECT_EQ(seen.icon, QMessageBox::Information);
  EXPECT_EQ(seen.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));

  const struct {
    std::function<Answer(QtPlatform&, const QString&)> ask;
    QMessageBox::Icon icon;
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton press;
    Answer answer;
  } cases[] = {
      {&QtPlatform::AskYesNo, QMessageBox::Question, QMessageBox::Yes | QMessageBox::No,
       QMessageBox::Yes, Answer::kYes},
      {&QtPlatform::AskYesNo, QMessageBox::Question, QMessageBox::Yes | QMessageBox::No,
       QMessageBox::No, Answer::kNo},
      {&QtPlatform::AskOkCancel, QMessageBox::Information, QMessageBox::Ok | QMessageBox::Cancel,
       QMessageBox::Ok, Answer::kOk},
      {&QtPlatform::AskOkCancel, QMessageBox::Information, QMessageBox::Ok | QMessageBox::Cancel,
       QMessageBox::Cancel, Answer::kCancel},
      {&QtPlatform::WarnOkCancel, QMessageBox::Warning, QMessageBox::Ok | QMessageBox::Cancel,
       QMessageBox::Ok, Answer::kOk},
      {&QtPlatform::WarnOkCancel, QMessageBox::Warning, QMessageBox::Ok | QMessageBox::Cancel,
       QMessageBox::Cancel, Answer::kCancel},
  };
  for (const auto& c : cases) {
    seen = SeenBox();
    AnswerNextBox(&seen, c.press);
    EXPECT_EQ(c.ask(qt, QStringLiteral("Question")), c.answer);
    EXPECT_EQ(seen.title, QStringLiteral("Pelmark Invoicing"));
    EXPECT_EQ(seen.text, QStringLiteral("Question"));
    EXPECT_EQ(seen.icon, c.icon);
    EXPECT_EQ(seen.buttons, c.buttons);
  }
}

TEST(QtPlatformTest, InputBoxReturnsTheEntryOrCancel) {
  QtPlatform qt;
  QString label;
  QTimer::singleShot(0, [&label] {
    auto* dialog = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    label = dialog->labelText();
    EXPECT_EQ(dialog->textValue(), QStringLiteral("1"));
    dialog->setTextValue(QStringLiteral("1001"));
    dialog->accept();
  });
  QString entry;
  EXPECT_TRUE(qt.InputBox(QStringLiteral("Invoice"), QStringLiteral("First\r\nnumber"),
                          QStringLiteral("1"), &entry));
  EXPECT_EQ(entry, QStringLiteral("1001"));
  EXPECT_EQ(label, QStringLiteral("First\nnumber"));

  QTimer::singleShot(0, [] { QApplication::activeModalWidget()->close(); });
  entry = QStringLiteral("untouched");
  EXPECT_FALSE(qt.InputBox(QStringLiteral("Invoice"), QStringLiteral("n"), QString(), &entry));
  EXPECT_EQ(entry, QStringLiteral("untouched"));
}

TEST(QtPlatformTest, ShowModalRunsTheRegisteredWindow) {
  QtPlatform qt;
  EXPECT_EQ(qt.ShowModal(WindowId::kDateSpan), 0);

  QDialog span;
  qt.RegisterWindow(WindowId::kDateSpan, &span);
  EXPECT_EQ(qt.Window(WindowId::kDateSpan), &span);
  QTimer::singleShot(0, &span, &QDialog::accept);
  EXPECT_EQ(qt.ShowModal(WindowId::kDateSpan), QDialog::Accepted);
  QTimer::singleShot(0, &span, &QDialog::reject);
  EXPECT_EQ(qt.ShowModal(WindowId::kDateSpan), QDialog::Rejected);

  {
    QDialog gone;
    qt.RegisterWindow(WindowId::kAboutForm, &gone);
  }
  EXPECT_EQ(qt.Window(WindowId::kAboutForm), nullptr);
  EXPECT_EQ(qt.ShowModal(WindowId::kAboutForm), 0);
}

TEST(QtPlatformTest, ProgressGoesToTheRegisteredHandlers) {
  QtPlatform qt;
  qt.ShowProgress(QStringLiteral("ignored without handlers"));
  QStringList texts;
  std::vector<int> percents;
  qt.SetProgressHandlers([&texts](const QString& text) { texts << text; },
                         [&percents](int percent) { percents.push_back(percent); });
  qt.ShowProgress(QStringLiteral("Rebuilding Indexes"));
  qt.SetProgress(5);
  qt.ShowProgress(QString());
  EXPECT_EQ(texts, (QStringList{QStringLiteral("Rebuilding Indexes"), QString()}));
  EXPECT_EQ(percents, std::vector<int>{5});
}

TEST(QtPlatformTest, TerminateInsideTheEventLoopLeavesItWithTheCode) {
  QtPlatform qt;
  QTimer::singleShot(0, [&qt] { qt.Terminate(4); });
  EXPECT_EQ(QApplication::exec(), 4);
}

TEST(QtPlatformDeathTest, TerminateWithoutAnEventLoopEndsTheProcess) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  QtPlatform qt;
  EXPECT_EXIT(qt.Terminate(7), ::testing::ExitedWithCode(7), "");
}

}  // namespace
}  // namespace platform
