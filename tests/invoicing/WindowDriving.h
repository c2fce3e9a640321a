#pragma once
// Driving the real windows offscreen as the operator would: showing them
// active, focusing and retyping fields, reading grid cells, and saving a
// picture of a window beside the test executable.

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTableWidget>
#include <QTest>
#include <QWidget>

namespace invoicing_test {

inline void SaveScreenshot(QWidget* window, const char* name) {
  const QString path = QStringLiteral(PELMARK_SCREENSHOT_DIR "/") + QString::fromLatin1(name);
  EXPECT_TRUE(window->grab().save(path));
}

// Shows a window as the operator meets it: visible and active.
inline void ShowActive(QWidget* window) {
  window->show();
  window->activateWindow();
  EXPECT_TRUE(QTest::qWaitForWindowActive(window));
}

// Makes the field's window the active one and gives the field the focus.
inline void Focus(QWidget* field) {
  ShowActive(field->window());
  field->setFocus();
}

// Types over a field's text and leaves it with Enter.
inline void Retype(QLineEdit* field, const QString& text) {
  Focus(field);
  field->selectAll();
  QTest::keyClicks(field, text);
  QTest::keyClick(field, Qt::Key_Return);
}

inline QString Cell(QTableWidget* grid, int row, int column) {
  const QTableWidgetItem* item = grid->item(row, column);
  return item == nullptr ? QString() : item->text();
}

}  // namespace invoicing_test
