#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDateEdit>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QVBoxLayout>

#include "util/MoneyEdit.h"
#include "util/WindowKit.h"

namespace {

// Every builder names its control for tests and help, and for screen readers
// either by its own accessible name or through the label it is buddy of.
TEST(WindowKitTest, ControlsCarryTheirObjectAndAccessibleNames) {
  QDialog window;
  QLineEdit* note = util::MakeEdit(&window, "Edit4", QStringLiteral("Note"), 34);
  QLineEdit* unnamed = util::MakeEdit(&window, "Edit2", QString());
  QLabel* label = util::MakeLabel(&window, QStringLiteral("&Description"), unnamed);
  MoneyEdit* amount = util::MakeMoneyEdit(&window, "MaskEdit1", QStringLiteral("Total:"), 10, 2);
  const struct {
    QWidget* widget;
    const char* object_name;
    const char* accessible_name;
  } cases[] = {
      {util::MakeButton(&window, "BtnSave", QStringLiteral("Save")), "BtnSave", ""},
      {note, "Edit4", "Note"},
      {unnamed, "Edit2", ""},
      {amount, "MaskEdit1", "Total:"},
      {util::MakeMemo(&window, "Memo2", QStringLiteral("Invoice note")), "Memo2", "Invoice note"},
      {util::MakeDateEdit(&window, "DateTimePicker1", QStringLiteral("Date Sold")),
       "DateTimePicker1", "Date Sold"},
      {util::MakeCheckBox(&window, "CheckBox1", QStringLiteral("Inventory Item")), "CheckBox1", ""},
      {util::MakeRadio(&window, "RadioButton1", QStringLiteral("Left")), "RadioButton1", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.object_name);
    EXPECT_EQ(c.widget->parent(), &window);
    EXPECT_EQ(c.widget->objectName(), QString::fromLatin1(c.object_name));
    EXPECT_EQ(c.widget->accessibleName(), QString::fromLatin1(c.accessible_name));
  }
  EXPECT_EQ(note->maxLength(), 34);
  EXPECT_EQ(unnamed->maxLength(), QLineEdit().maxLength());
  EXPECT_EQ(label->buddy(), unnamed);
  EXPECT_EQ(amount->Width(), 10);
  EXPECT_EQ(amount->Decimals(), 2);
}

// Enter in a field moves on; a button built by the kit never turns into the
// default button that Enter would press.
TEST(WindowKitTest, ButtonsNeverBecomeTheDefault) {
  QDialog window;
  QPushButton* button = util::MakeButton(&window, "BtnDelete", QStringLiteral("Delete"));
  EXPECT_FALSE(button->autoDefault());
  EXPECT_FALSE(button->isDefault());
}

TEST(WindowKitTest, ShownOnlyFieldsAreSkippedByTabAndTabFollowsTheGivenOrder) {
  QDialog window;
  auto* layout = new QVBoxLayout(&window);
  QLineEdit* first = util::MakeEdit(&window, "Edit1", QString());
  QLineEdit* shown = util::MakeEdit(&window, "Edit2", QString());
  QLineEdit* third = util::MakeEdit(&window, "Edit3", QString());
  QPushButton* save = util::MakeButton(&window, "BtnSave", QStringLiteral("Save"));
  for (QWidget* widget : std::initializer_list<QWidget*>{first, shown, third, save})
    layout->addWidget(widget);
  util::ShowOnly(shown);
  EXPECT_TRUE(shown->isReadOnly());
  util::SetTabOrder({save, third, first});
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  save->setFocus();
  QStringList visited;
  for (int i = 0; i < 3; ++i) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    visited << QApplication::focusWidget()->objectName();
  }
  EXPECT_EQ(visited, (QStringList{"Edit3", "Edit1", "BtnSave"}));
}

}  // namespace
