#pragma once
// What the sales, income and receivables reports share: the walk over the
// invoices or payments of the date span in date order, the lookups by key
// (an invoice's lines, an invoice, a customer, a group), the customer name
// the reports print, and texts of stored dates and amounts. Rows are read
// field by field, never through the load routines, which would also read
// the memo fields the reports do not print.

#include <QString>
#include <QStringView>
#include <cstring>
#include <unordered_map>

#include "engine/TableEngine.h"
#include "store/dbFiles.h"
#include "util/DateUtil.h"

namespace reports {

// The invoices (tag "InvD" on IDate) or payments (tag "PmtD" on PDate) of
// SpanStart to SpanEnd, both days included, in date order:
//
//   SpanWalk walk(SpanWalk::kInvoices);
//   if (!walk.Start()) return false;          // said "No Invoices within selected dates."
//   progress.SetTotal(walk.Estimate());
//   for (walk.Rewind(); walk.InSpan(); walk.Next()) { ...the current row... }
//
// A move that fails ends the walk and tells the operator.
class SpanWalk {
 public:
  enum Over { kInvoices, kPayments };
  explicit SpanWalk(Over over) : over_(over) {}

  // Selects the date tag and seeks the first record dated SpanStart or
  // later. When no record lies in the span: the information box "No
  // Invoices within selected dates." (or "No Payments ..."), and false.
  [[nodiscard]] bool Start();
  // The records in the span as the index positions of its two ends tell
  // (at least 1): the progress runs over it without a counting walk.
  long Estimate() const { return estimate_; }
  // Back on the first record of the span.
  void Rewind();
  // Whether a record is current and dated no later than SpanEnd.
  bool InSpan() const;
  void Next();

 private:
  // Ends the walk after a failed move, telling the operator the report is
  // not complete.
  void Stop();
  DATA4* Table() const;
  FIELD4* DateField() const;

  Over over_;
  long first_ = 0;
  long estimate_ = 0;
  char end_[9] = {};  // SpanEnd as stored, "yyyymmdd"
};

// The key of a number right-aligned in `width` characters ("Str(IvNo,6,0)").
// False for a number wider than the key, which no record can carry.
bool NumberKey(long number, int width, char (&key)[16]);

// Seeks the number in the table's selected tag; true on an exact match.
bool SeekNumber(DATA4* table, long number, int width);

// The lines of invoices, found by key in ITM5 under its tag "Itm". Invoices
// taken in date order mostly follow their numbers, so when the lines of one
// invoice end on the first line of the next, that invoice needs no seek.
class InvoiceLines {
 public:
  // Calls each() on every line of the invoice, with the line's row current.
  template <typename Each>
  void ForEach(long invoice, Each each) {
    char key[16];
    if (!Find(invoice, key)) return;
    int rc = r4success;
    for (; rc == r4success && f4long(ItemFld.IvNo) == invoice; rc = d4skip(ItemDb, 1)) each();
    Passed(key, rc == r4success);
  }

 private:
  // Puts ITM5 on the invoice's first line; false when it has none.
  bool Find(long invoice, char (&key)[16]);
  // The lines of `key` were walked; on_next: ITM5 stands on the line after them.
  void Passed(const char* key, bool on_next);

  char last_[16] = {};
  bool on_next_ = false;
};

// A text field of the current row, as stored (blank padded).
inline QString FieldText(FIELD4* field) { return QString::fromLatin1(f4str(field)); }

// The customer's name as the reports print it, from CUST5's current row:
// with ByCust the trimmed title, a blank, the trimmed first name, a blank
// and the last name; otherwise the trimmed first address line (the company).
QString CustomerName();

// The trimmed name of group `number` in GROUPS (under "nGroup"); "UNKNOWN"
// when there is no such group.
QString GroupName(int number);

// Short date texts and day numbers of stored "yyyymmdd" dates, worked out
// once per date: a span holds many records of each day.
class StoredDates {
 public:
  // The date in the short date format; "" for no date.
  const QString& Text(const char* stored) { return Find(stored).text; }
  // The day number; 0 for no date.
  TDate Day(const char* stored) { return Find(stored).day; }

 private:
  struct Entry {
    TDate day;
    QString text;
  };
  const Entry& Find(const char* stored);

  std::unordered_map<unsigned long long, Entry> known_;
};

// Writes the rules (cells whose code begins with "V") of the current line
// from cell `first` on.
void PutRules(int first);

// A number as the reports print it, composed without allocating; it stands
// wherever a QStringView is taken, for the expression it is made in.
class NumberText {
 public:
  // The whole number right-aligned in `width` characters, as PadNumber.
  explicit NumberText(long number, int width = 0);
  operator QStringView() const;  // NOLINT: used as the text it holds
  QString ToString() const { return QStringView(*this).toString(); }

 private:
  friend class AmountFormat;
  NumberText() = default;

  char16_t text_[40];
  qsizetype size_ = 0;
  QString spilled_;  // a text too long for text_
};

// Amounts as FixedText(value, width, 2) writes them, with the locale's
// decimal separator as it was when the format was made.
class AmountFormat {
 public:
  AmountFormat();
  NumberText operator()(double value, int width) const;

 private:
  QString point_;
};

}  // namespace reports
