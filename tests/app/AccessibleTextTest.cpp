// What a screen reader hears of the windows: a label whose text changes is
// named by that text, with what it is (its role) as the description, so the
// text is never hidden behind a fixed name.

#include <gtest/gtest.h>

#include <QAccessible>
#include <QDir>
#include <QLabel>
#include <QTemporaryDir>

#include "AboutU.h"
#include "HelpU.h"
#include "MainU.h"
#include "store/DriveDirU.h"

namespace {

QString Accessible(QWidget* widget, QAccessible::Text which) {
  QAccessibleInterface* face = QAccessible::queryAccessibleInterface(widget);
  return face == nullptr ? QString() : face->text(which);
}

TEST(AccessibleTextTest, NoLabelHidesItsTextBehindAFixedName) {
  TMain main;
  TDriveDir chooser;
  TAboutForm about;
  THelpForm help;
  for (QWidget* window : std::initializer_list<QWidget*>{&main, &chooser, &about, &help}) {
    for (QLabel* label : window->findChildren<QLabel*>()) {
      if (!label->pixmap().isNull()) continue;  // a picture is named for what it shows
      SCOPED_TRACE((window->objectName() + "/" + label->objectName()).toStdString());
      EXPECT_TRUE(label->accessibleName().isEmpty() || label->accessibleName() == label->text())
          << "named \"" << label->accessibleName().toStdString() << "\"";
    }
  }
}

TEST(AccessibleTextTest, ChangingTextsAreReadWithTheirRole) {
  TMain main;
  TDriveDir chooser;
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString directory = QDir(dir.path()).canonicalPath();
  struct Case {
    const char* role;
    QWidget* control;
    std::function<void()> change;
    QString shown;
  };
  const Case cases[] = {
      {"Status", main.StatusText, [&] { main.ShowProgress("Erasing Data Files"); },
       "Erasing Data Files"},
      {"Status", main.StatusText, [&] { main.ShowProgress(""); }, ""},
      {"Current directory", chooser.DirLabel, [&] { ASSERT_TRUE(chooser.SetDirectory(directory)); },
       directory},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.role + (" " + c.shown).toStdString());
    c.change();
    EXPECT_EQ(Accessible(c.control, QAccessible::Name), c.shown);
    EXPECT_EQ(Accessible(c.control, QAccessible::Description), c.role);
  }
}

}  // namespace
