#include "reports/RptProfile.h"

#include <algorithm>
#include <vector>

#include "engine/TableEngine.h"
#include "masterdata/GroupEdit.h"
#include "masterdata/PickU.h"
#include "platform/Platform.h"
#include "reports/ReportRun.h"
#include "reports/RptUtil.h"
#include "store/dbFiles.h"
#include "util/DateUtil.h"
#include "util/TextUtil.h"

namespace reports {
namespace {

// One invoice line of the customer: date, product, quantity, unit price.
using PurchaseRow = QStringList;

QStringList ProfileCodes() {
  return {"V00", "L01", "V35", "R43", "V45", "L46", "V57", "R65", "V66", "R74", "V75"};
}

void ProfileLayout() {
  RptTitles = {QStringLiteral("Customer Profile")};
  ColCodes = ProfileCodes();
  // The heading texts stand alone, without the column rules of the rows.
  QStringList above(RptCells, QString());
  above[FlagsCell()] = QStringLiteral("U");
  QStringList headings(RptCells, QString());
  const std::pair<int, const char*> texts[] = {
      {1, "Customer"}, {3, "Date"}, {5, "Product"}, {7, "Qty"}, {9, "U-Price"}};
  for (const auto& [cell, text] : texts)
    headings[cell] = ColCodes[cell] + QString::fromLatin1(text);
  headings[FlagsCell()] = QStringLiteral("U");
  ColHeads = {above, headings};
}

// Every invoice line billed to the customer in CustRec, invoice by invoice
// in customer order.
std::vector<PurchaseRow> PurchaseRows() {
  std::vector<PurchaseRow> rows;
  if (InvDb == nullptr || ItemDb == nullptr) return rows;
  SelectTag(InvDb, "InvC");
  const long customer = CustRec.cuno;
  int rc = d4seek(InvDb, KeyText(PadNumber(customer, 6)).constData());
  if (rc != r4success) return rows;
  while (rc == r4success && f4long(InvFld.CuNo) == customer) {
    const QString date = ShortDateText(TextToDate(QString::fromLatin1(f4str(InvFld.IDate))));
    const long invoice = f4long(InvFld.IvNo);
    int item_rc = d4seek(ItemDb, KeyText(PadNumber(invoice, 6)).constData());
    while (item_rc == r4success && f4long(ItemFld.IvNo) == invoice) {
      LoadLineItem();
      rows.push_back({date, ItemRec.PrID, QString::asprintf("%8.2f", ItemRec.Qty),
                      QString::asprintf("%8.2f", ItemRec.UPR)});
      item_rc = d4skip(ItemDb, 1);
    }
    rc = d4skip(InvDb, 1);
  }
  return rows;
}

// Adds the profile of the customer at record SelCust.
void AddProfile() {
  if (CustDb == nullptr || d4go(CustDb, SelCust) != r4success) return;
  LoadCustomer();
  SelCust = d4recNo(CustDb);
  BuildAddressBlock();
  const QStringList block = ProfileAddressBlock();
  const std::vector<PurchaseRow> rows = PurchaseRows();

  CheckPage(PageLine + 4, true);
  const size_t count = std::max(static_cast<size_t>(block.size()), rows.size());
  for (size_t i = 0; i < count; ++i) {
    NewDetailLine();
    const PurchaseRow row = i < rows.size() ? rows[i] : PurchaseRow(4);
    PutRow({block.value(static_cast<qsizetype>(i)), row[0], row[1], row[2], row[3]});
  }
  // A rule between customers.
  AddFlags(QStringLiteral("U"));
}

bool GroupChosen(int group) { return IndexInList(&masterdata::GroupChoice, group) >= 0; }

}  // namespace

QStringList ProfileAddressBlock() {
  QStringList block = AddressBlock;
  while (block.size() < 5) block << QString();
  if ((block[3] + block[4]).trimmed().isEmpty()) block = block.mid(0, 4);
  if (!block.constLast().trimmed().isEmpty()) block << QString();
  FindGroup();
  block.last() = QStringLiteral("Cust#: ") + QString::number(CustRec.cuno) +
                 QStringLiteral("  Group: ") + GroupRec.cGroup.trimmed();
  return block;
}

void CustomerProfile(bool by_groups) {
  ReportRun run;
  run.open_tables = [] {
    return OpenCustomers() && OpenGroups() && OpenInvoices() && OpenLineItems() && OpenPayments() &&
           OpenProducts();
  };
  if (by_groups) {
    run.prepare = [] {
      platform::Current().ShowModal(platform::WindowId::kMultGroup);
      return !masterdata::GroupChoice.isEmpty();
    };
    run.progress_text = QStringLiteral("Processing Customer Profiles");
  }
  run.width = 75;
  run.cells = 12;
  run.layout = ProfileLayout;
  run.write = [by_groups](RecordProgress& progress) {
    if (by_groups) {
      SelectTag(CustDb, "cname");
      progress.SetTotal(d4recCountDo(CustDb));
      for (int rc = d4top(CustDb); rc == r4success; rc = d4skip(CustDb, 1)) {
        if (GroupChosen(f4int(CustFld.ngroup))) {
          SelCust = d4recNo(CustDb);
          AddProfile();
        }
        progress.Step();
      }
      return;
    }
    SelCust = d4top(CustDb) == r4success ? d4recNo(CustDb) : 0;
    bool is_new = false;
    while (masterdata::PickCustomer(false, &is_new)) AddProfile();
  };
  RunReport(run);
}

}  // namespace reports
