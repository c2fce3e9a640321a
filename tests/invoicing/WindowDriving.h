#pragma once
// Driving the real windows offscreen as the operator would: showing them
// active, focusing and retyping fields, reading grid cells, and saving a
// picture of a window beside the test executable.

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QWidget>

#include "invoicing/InvoiceU.h"
#include "testing/ScriptedPlatform.h"
#include "store/dbFiles.h"

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

// Clicks the invoice window's Customer button, the customer pick list
// choosing the record (-1: the list is cancelled).
inline void ClickCustomer(platform::ScriptedPlatform* scripted, TInvoice* invoice, long record) {
  scripted->OnModal(platform::WindowId::kPickCust, [record] {
    SelCust = record;
    return record > 0 ? 1 : 0;
  });
  QTest::mouseClick(invoice->BtnCust, Qt::LeftButton);
}

}  // namespace invoicing_test
