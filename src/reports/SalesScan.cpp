#include "reports/SalesScan.h"

#include <QByteArray>
#include <QLocale>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <iterator>

#include "platform/Platform.h"
#include "reports/RptUtil.h"
#include "reports/SalesAmounts.h"
#include "store/CodeBase.h"
#include "store/EngineResult.h"
#include "util/MoneyUtil.h"

namespace reports {

namespace {

constexpr int kStoredDateLength = 8;

}  // namespace

DATA4* SpanWalk::Table() const { return over_ == kInvoices ? InvDb : PmtDb; }

FIELD4* SpanWalk::DateField() const { return over_ == kInvoices ? InvFld.IDate : PmtFld.PDate; }

bool SpanWalk::Start() {
  DATA4* table = Table();
  first_ = 0;
  estimate_ = 0;
  const QByteArray end = DateToText(SpanEnd).toLatin1();
  std::memset(end_, 0, sizeof end_);
  std::memcpy(end_, end.constData(), std::min<size_t>(end.size(), kStoredDateLength));
  if (table != nullptr) {
    SelectTag(table, over_ == kInvoices ? "InvD" : "PmtD");
    const int found = d4seek(table, DateToText(SpanStart).toLatin1().constData());
    if (found == r4success || found == r4after) first_ = d4recNo(table);
    if (InSpan()) {
      const double from = d4position(table);
      // The first key after the span marks its end.
      const int after = d4seek(table, DateToText(SpanEnd + 1).toLatin1().constData());
      const double to = after == r4eof ? 1.0 : d4position(table);
      estimate_ = std::max(1L, std::lround((to - from) * static_cast<double>(d4recCountDo(table))));
      Rewind();
      return true;
    }
    first_ = 0;
  }
  platform::Current().Inform(over_ == kInvoices
                                 ? QStringLiteral("No Invoices within selected dates.")
                                 : QStringLiteral("No Payments within selected dates."));
  return false;
}

void SpanWalk::Rewind() {
  if (first_ > 0 && d4go(Table(), first_) != r4success) Stop();
}

bool SpanWalk::InSpan() const {
  DATA4* table = Table();
  if (table == nullptr || first_ == 0 || d4recNo(table) == 0) return false;
  return std::memcmp(f4str(DateField()), end_, kStoredDateLength) <= 0;
}

void SpanWalk::Next() {
  if (d4skip(Table(), 1) < 0) Stop();
}

void SpanWalk::Stop() {
  first_ = 0;
  store::TellIfFailed(over_ == kInvoices ? store::Table::kInvoices : store::Table::kPayments,
                      QStringLiteral("The report stopped early and is not complete."));
}

bool NumberKey(long number, int width, char (&key)[16]) {
  if (width < 1 || width >= static_cast<int>(sizeof key)) return false;
  unsigned long magnitude = number < 0 ? 0UL - static_cast<unsigned long>(number) : number;
  key[width] = '\0';
  int at = width;
  do {
    if (at == 0) return false;
    key[--at] = static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude > 0);
  if (number < 0) {
    if (at == 0) return false;
    key[--at] = '-';
  }
  while (at > 0) key[--at] = ' ';
  return true;
}

bool SeekNumber(DATA4* table, long number, int width) {
  char key[16];
  return table != nullptr && NumberKey(number, width, key) && d4seek(table, key) == r4success;
}

bool InvoiceLines::Find(long invoice, char (&key)[16]) {
  if (ItemDb == nullptr || !NumberKey(invoice, 6, key)) return false;
  // Right where the last invoice's lines ended: its key is the next one, so
  // this is the first line of the invoice.
  if (on_next_ && std::strcmp(key, last_) > 0 && f4long(ItemFld.IvNo) == invoice) return true;
  const int rc = d4seek(ItemDb, key);
  Passed(key, rc == r4after);
  return rc == r4success;
}

void InvoiceLines::Passed(const char* key, bool on_next) {
  std::strcpy(last_, key);
  on_next_ = on_next;
}

QString CustomerName() {
  if (Settings.ByCust) {
    return FieldText(CustFld.title).trimmed() + QLatin1Char(' ') +
           FieldText(CustFld.first).trimmed() + QLatin1Char(' ') + FieldText(CustFld.last);
  }
  return FieldText(CustFld.addr1).trimmed();
}

QString GroupName(int number) {
  if (!SeekNumber(GroupDb, number, 2)) return QStringLiteral("UNKNOWN");
  return FieldText(GroupFld.cGroup).trimmed();
}

const StoredDates::Entry& StoredDates::Find(const char* stored) {
  const size_t length = strnlen(stored, kStoredDateLength);
  unsigned long long key = 0;
  std::memcpy(&key, stored, length);
  auto found = known_.find(key);
  if (found == known_.end()) {
    const TDate day = TextToDate(QString::fromLatin1(stored, static_cast<qsizetype>(length)));
    found = known_.emplace(key, Entry{day, ShortDateText(day)}).first;
  }
  return found->second;
}

void PutRules(int first) {
  for (int cell = first; cell < ColCodes.size(); ++cell) {
    if (ColCodes[cell].startsWith(QLatin1Char('V'))) PutCell(cell, QString());
  }
}

namespace {

// Writes the digits of magnitude right to left ending before `end`, a point
// standing `decimals` digits from the right; returns where they begin.
char16_t* WriteDigits(unsigned long long magnitude, int decimals, char16_t point, char16_t* end) {
  char16_t* at = end;
  int written = 0;
  do {
    if (written == decimals && decimals > 0) *--at = point;
    *--at = static_cast<char16_t>(u'0' + magnitude % 10);
    magnitude /= 10;
    ++written;
  } while (magnitude > 0 || written <= decimals);
  return at;
}

}  // namespace

NumberText::NumberText(long number, int width) {
  char16_t* end = text_ + std::size(text_);
  const unsigned long long magnitude =
      number < 0 ? 0ULL - static_cast<unsigned long long>(number) : number;
  char16_t* at = WriteDigits(magnitude, 0, u'.', end);
  if (number < 0) *--at = u'-';
  while (end - at < width && at > text_) *--at = u' ';
  size_ = end - at;
  std::memmove(text_, at, sizeof(char16_t) * static_cast<size_t>(size_));
}

NumberText::operator QStringView() const {
  return spilled_.isNull() ? QStringView(text_, size_) : QStringView(spilled_);
}

AmountFormat::AmountFormat() : point_(QLocale().decimalPoint()) {}

NumberText AmountFormat::operator()(double value, int width) const {
  NumberText text;
  long long cents = 0;
  if (point_.size() != 1 || width > 30 || !RoundToCents(value, &cents)) {
    text.spilled_ = FixedText(value, width, 2);
    return text;
  }
  char16_t* end = text.text_ + std::size(text.text_);
  const auto magnitude = static_cast<unsigned long long>(cents < 0 ? -cents : cents);
  char16_t* at = WriteDigits(magnitude, 2, point_.at(0).unicode(), end);
  // A negative amount that rounds to 0 keeps its sign; -0 itself prints as 0.
  if (value < 0) *--at = u'-';
  while (end - at < width) *--at = u' ';
  text.size_ = end - at;
  std::memmove(text.text_, at, sizeof(char16_t) * static_cast<size_t>(text.size_));
  return text;
}

}  // namespace reports
