#pragma once
// Report tests run on a scripted platform (no printer unless a test gives
// one), in the US English locale, with today fixed, and start from an
// empty report buffer.

#include <gtest/gtest.h>

#include <QDate>
#include <QLocale>
#include <QString>
#include <QStringList>
#include <ostream>

#include "reports/RptUtil.h"
#include "testing/ScriptedPlatform.h"
#include "util/DateUtil.h"

inline void PrintTo(const QString& text, std::ostream* out) {
  *out << '"' << text.toStdString() << '"';
}

inline void PrintTo(const QStringList& texts, std::ostream* out) {
  *out << '{';
  for (qsizetype i = 0; i < texts.size(); ++i)
    *out << (i > 0 ? ", " : "") << '"' << texts[i].toStdString() << '"';
  *out << '}';
}

class ReportTest : public ::testing::Test {
 protected:
  ReportTest() : platform_scope_(&scripted_) {
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    RptTitles.clear();
    SetTodayForTests(QDate(2026, 3, 14));
  }
  void TearDown() override { EXPECT_EQ(scripted_.Leftovers().toStdString(), ""); }

  ~ReportTest() override {
    FreeReport();
    SetTodayForTests(QDate());
    QLocale::setDefault(previous_locale_);
  }

  // A report of the width and cells, initialised.
  static void StartReport(int width, int cells) {
    RptWidth = width;
    RptCells = cells;
    InitReport();
  }
  // Appends a line holding the cells (flags last when given in full).
  static void AddLine(const QStringList& cells) {
    NewLine();
    for (int i = 0; i < cells.size(); ++i) RptLines[CurLine][i] = cells[i];
  }

  // A line's cells joined by "|", flags last.
  static QString Dump(int line) { return RptLines.Line(line).join(QLatin1Char('|')); }

  QLocale previous_locale_;
  platform::ScriptedPlatform scripted_;
  platform::ScopedPlatform platform_scope_;
};
