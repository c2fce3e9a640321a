#include "masterdata/PickLists.h"

#include "engine/TableEngine.h"
#include "store/CodeBase.h"
#include "store/dbFiles.h"
#include "util/DateUtil.h"
#include "util/MoneyUtil.h"
#include "util/TextUtil.h"

namespace masterdata {
namespace {

// The rows read the shown fields straight from the current record: a page
// then costs ten record reads and no memo reads.
QString Text(FIELD4* field) {
  return field != nullptr ? QString::fromLatin1(f4str(field)) : QString();
}

QString Trimmed(FIELD4* field) { return Text(field).trimmed(); }

QString Money(FIELD4* field, const char* format) {
  return FormatAmount(field != nullptr ? f4double(field) : 0.0, QString::fromLatin1(format));
}

QStringList CustomerRow(DATA4* table) {
  const bool deleted = d4deleted(table) != 0;
  if (Settings.ByCust) {
    return {Trimmed(CustFld.last), Trimmed(CustFld.first),
            deleted ? QStringLiteral("< DELETED >") : Trimmed(CustFld.note)};
  }
  return {Trimmed(CustFld.addr1), Trimmed(CustFld.last),
          deleted ? QStringLiteral("< DELETED >") : Trimmed(CustFld.first)};
}

QStringList ProductRow(DATA4* table) {
  return {Trimmed(ProdFld.PrID), Trimmed(ProdFld.PDesc),
          d4deleted(table) != 0 ? QStringLiteral("<DELETED>") : Money(ProdFld.UPrice, "%8.2f")};
}

QStringList InvoiceRow(DATA4* table) {
  const long number = InvFld.IvNo != nullptr ? f4long(InvFld.IvNo) : 0;
  const TDate date = TextToDate(Text(InvFld.IDate));
  return {PadNumber(number, 6), ShortDateText(date),
          d4deleted(table) != 0 ? QStringLiteral("< DELETED >") : Trimmed(InvFld.IMemo)};
}

QStringList PurchaseRow(DATA4* table) {
  const TDate date = TextToDate(Text(PurFld.PURDate));
  return {Trimmed(PurFld.PURProd), ShortDateText(date), Money(PurFld.PURQty, "%10.2f"),
          d4deleted(table) != 0 ? QStringLiteral("<DELETED>") : Money(PurFld.PURCost, "%12.2f")};
}

}  // namespace

std::vector<PickColumn> CustomerColumns(bool by_cust) {
  if (by_cust) return {{"Last", 20}, {"First", 13}, {"Note", 34}, {"RecNo", 10}};
  return {{"Company", 34}, {"Last", 13}, {"First", 20}, {"RecNo", 10}};
}

std::vector<PickColumn> ProductColumns() {
  return {{"Product ID", 10}, {"Description", 27}, {"Price", 8}, {"RecNo", 10}};
}

std::vector<PickColumn> InvoiceColumns() {
  return {{"Invoice", 7}, {"Date", 10}, {"Note", 30}, {"RecNo", 10}};
}

std::vector<PickColumn> PurchaseColumns() {
  return {{"Product ID", 10}, {"Date", 8}, {"Quantity", 10}, {"Total Cost", 12}, {"RecNo", 10}};
}

const char* CustomerPickTag(bool by_cust) { return by_cust ? "cname" : "cComp"; }

void SelectCustomerPickTag() {
  if (CustDb == nullptr) return;
  SelectTag(CustDb, CustomerPickTag(Settings.ByCust));
}

PickGridConfig CustomerPickConfig() {
  return {[] { return CustDb; }, &CustomerRow, SearchStyle::kUpperTrim, RowFollow::kFirstRow};
}

PickGridConfig ProductPickConfig() {
  return {[] { return ProdDb; }, &ProductRow, SearchStyle::kUpperTrim, RowFollow::kKeepRow};
}

PickGridConfig InvoicePickConfig() {
  return {[] { return InvDb; }, &InvoiceRow, SearchStyle::kInvoiceNumber, RowFollow::kFirstRow};
}

PickGridConfig PurchasePickConfig() {
  return {[] { return PurDb; }, &PurchaseRow, SearchStyle::kUpperTrim, RowFollow::kKeepRow};
}

QString CustomerGroupText(long rec_no) {
  if (rec_no <= 0 || CustDb == nullptr || GroupDb == nullptr) return QString();
  if (d4go(CustDb, rec_no) != r4success) return QString();
  // The group number's text as stored is the "nGroup" key (two places).
  const QByteArray key = KeyText(Text(CustFld.ngroup));
  SelectTag(GroupDb, "nGroup");
  if (d4seek(GroupDb, key.constData()) != r4success) return QString();
  return Trimmed(GroupFld.cGroup);
}

QString InvoiceCustomerText(long rec_no) {
  if (rec_no <= 0 || InvDb == nullptr || CustDb == nullptr) return QString();
  if (d4go(InvDb, rec_no) != r4success) return QString();
  const QByteArray key = KeyText(Text(InvFld.CuNo));
  // Look the customer up by number, then give the customer table back its tag.
  TAG4* const selected = d4tagSelected(CustDb);
  SelectTag(CustDb, "CCNO");
  QString name;
  if (d4seek(CustDb, key.constData()) == r4success) {
    name = Trimmed(CustFld.first) + QLatin1Char(' ') + Trimmed(CustFld.last);
  }
  SelectTag(CustDb, selected);
  return name;
}

}  // namespace masterdata
