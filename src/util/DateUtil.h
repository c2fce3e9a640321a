#pragma once
// Dates as whole days: conversion to and from the stored "yyyymmdd" text and
// the operator's short date format, the century window that keeps two-digit
// years in the hundred years starting 60 years before today, and a today
// that tests can fix.

#include <QDate>
#include <QString>

// Days since 1899-12-30; 0 (or less) means "no date".
using TDate = int;

// Julian day number of day 0 (1899-12-30).
inline constexpr qint64 kJulianDayOfDateZero = 2415019;

// Years before today where the century window starts.
inline constexpr int kCenturyWindowYears = 60;

// The calendar date of a day number; an invalid QDate for 0 or less.
QDate ToQDate(TDate date);
// The day number of a calendar date; 0 for an invalid date.
TDate FromQDate(const QDate& date);

// Today's date (the fixed one while a test has set it).
QDate TodayDate();
TDate Today();
// Fixes today for tests; an invalid QDate returns to the clock.
void SetTodayForTests(const QDate& date);

// The stored form: "" for no date, else the windowed date as "yyyymmdd".
QString DateToText(TDate date);
// Reads "yyyymmdd" (surrounding blanks ignored); 0 when it is not a date.
TDate TextToDate(const QString& text);
// Moves the date by a hundred years into the window; a 29 February that does
// not exist in the target year is returned unchanged, and so is 0 (no date).
TDate CenturyWindow(TDate date);

// The full year for a two-digit year, inside the century window.
int ExpandTwoDigitYear(int two_digit_year);

// The date in the locale's short format; "" for no date.
QString ShortDateText(TDate date);
// The locale's short date format with the year in full, for date pickers:
// the date picked never depends on how a two-digit year would be read.
QString ShortFormatWithFullYear();
// Reads a date typed in the locale's short format, in the locale's digits or
// in ASCII ones; a year of one or two digits is placed in the century window.
// Whatever ShortDateText writes reads back. 0 when the text is not a date.
TDate ShortTextToDate(const QString& text);
