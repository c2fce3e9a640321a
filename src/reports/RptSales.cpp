// The reports over the invoices of a date span and their lines: the sales
// summary, sales by product, the buyers of a product and the tax summary.

#include "reports/RptSales.h"

#include "masterdata/PickU.h"
#include "platform/Platform.h"
#include "reports/ReportRun.h"
#include "reports/RptUtil.h"
#include "reports/SalesAmounts.h"
#include "reports/SalesScan.h"
#include "store/CodeBase.h"
#include "store/EngineResult.h"
#include "util/TextUtil.h"

namespace reports {

namespace {

QString SpanText(const char* separator) {
  return ShortDateText(SpanStart) + QLatin1String(separator) + ShortDateText(SpanEnd);
}

bool OpenSalesTables() { return OpenInvoices() && OpenLineItems() && OpenProducts(); }

// Quantity times price summed over the invoice's lines, unrounded.
double InvoiceItems(InvoiceLines& lines, long invoice) {
  double items = 0;
  lines.ForEach(invoice, [&] { items += f4double(ItemFld.Qty) * f4double(ItemFld.UPR); });
  return items;
}

}  // namespace

void SalesSummary() {
  SpanWalk walk(SpanWalk::kInvoices);
  ReportRun run;
  run.preset_span = SetMonthSpan;
  run.open_tables = OpenSalesTables;
  run.prepare = [&] { return walk.Start(); };
  run.width = 64;
  run.cells = 14;
  run.layout = [] {
    RptTitles = {QStringLiteral("Sales Summary for ") + SpanText(" through ")};
    ColCodes = {"V00", "R07", "V08", "R17", "V18", "R28", "V29",
                "R40", "V41", "R52", "V53", "R63", "V64"};
    SetColumnHeadings({"Inv. No", "Date", "Items", Settings.ShipLine.trimmed(),
                       Settings.TaxLine.trimmed(), "Total"});
  };
  run.progress_text = QStringLiteral("Processing Sales");
  run.write = [&](RecordProgress& progress) {
    const AmountFormat money;
    progress.SetTotal(walk.Estimate());
    StoredDates dates;
    InvoiceLines lines;
    double items_sum = 0, ship_sum = 0, tax_sum = 0, total_sum = 0;
    for (walk.Rewind(); walk.InSpan(); walk.Next()) {
      const long invoice = f4long(InvFld.IvNo);
      const QString& date = dates.Text(f4str(InvFld.IDate));
      const double ship = f4double(InvFld.Ship);
      const double tax = f4double(InvFld.Tax);
      const double items = InvoiceItems(lines, invoice);
      NewDetailLine();
      PutRow({NumberText(invoice, 6), date, money(items, 10), money(ship, 10), money(tax, 10),
              money(items + ship + tax, 10)});
      items_sum += items;
      ship_sum += ship;
      tax_sum += tax;
      total_sum += items + ship + tax;
      progress.Step();
    }
    AddFlags(QStringLiteral("U"));
    NewDetailLine();
    PutCell(0, QString());
    PutCell(3, QStringLiteral("Totals"));
    PutRules(4);
    PutCell(5, money(items_sum, 10));
    PutCell(7, money(ship_sum, 10));
    PutCell(9, money(tax_sum, 10));
    PutCell(11, money(total_sum, 10));
    AddFlags(QStringLiteral("U"));
  };
  RunReport(run);
}

void SalesByProduct() {
  SpanWalk walk(SpanWalk::kInvoices);
  ReportRun run;
  run.preset_span = SetMonthSpan;
  run.open_tables = OpenSalesTables;
  run.prepare = [&] { return walk.Start(); };
  run.width = 65;
  run.cells = 10;
  run.layout = [] {
    RptTitles = {QStringLiteral("Sales by Product from ") + SpanText(" through ")};
    ColCodes = {"V00", "L02", "V13", "L15", "V43", "R49", "V51", "R63", "V65"};
    SetColumnHeadings({"Item Code", "Description", "Qty.", "Sale Total"});
  };
  run.progress_text = QStringLiteral("Processing Sales");
  run.write = [&](RecordProgress& progress) {
    const AmountFormat money;
    progress.SetTotal(walk.Estimate());
    ProductSales sales;
    InvoiceLines lines;
    for (walk.Rewind(); walk.InSpan(); walk.Next()) {
      lines.ForEach(f4long(InvFld.IvNo), [&] {
        sales.Add(f4str(ItemFld.PrID), f4double(ItemFld.Qty), f4double(ItemFld.UPR));
      });
      progress.Step();
    }
    if (sales.Empty()) {
      platform::Current().Inform(QStringLiteral("No Invoices within selected dates."));
      return;
    }
    double grand_total = 0;
    // Code and description go without the blanks that fill their fields:
    // a description of the full width would otherwise push the quantity out
    // of its column in the plain text export.
    auto put_row = [&](const ProductSales::Row& row, const QString& description) {
      NewDetailLine(2);
      PutRow({QString::fromLatin1(row.code).trimmed(), description.trimmed(),
              money(row.quantity, 10), money(row.total, 10)});
      grand_total += row.total;
    };
    // Known products in product order, then the codes no product carries.
    for (int rc = d4top(ProdDb); rc == r4success; rc = d4skip(ProdDb, 1)) {
      ProductSales::Row* row = sales.Take(f4str(ProdFld.PrID));
      if (row != nullptr) put_row(*row, FieldText(ProdFld.PDesc));
    }
    for (const ProductSales::Row& row : sales.Rows()) {
      if (!row.taken) put_row(row, QStringLiteral("Unknown Product"));
    }
    AddFlags(QStringLiteral("U"));
    PutTotalLine(u"Total Sales", {{7, money(grand_total, 10)}});
  };
  RunReport(run);
}

void ProductBuyers() {
  SpanWalk walk(SpanWalk::kInvoices);
  QString product;  // the chosen product's code as stored
  ReportRun run;
  run.open_tables = [] {
    return OpenInvoices() && OpenLineItems() && OpenProducts() && OpenCustomers() && OpenGroups();
  };
  run.prepare = [&] {
    bool is_new = false;
    if (!masterdata::PickProduct(false, &is_new)) return false;
    if (d4go(ProdDb, SelProd) != r4success) {
      store::TellIfFailed(store::Table::kProducts, QStringLiteral("The product could not be read."));
      return false;
    }
    LoadProduct();
    product = ProdRec.PrID;
    SetMonthSpan();
    if (!AskDateSpan()) return false;
    SelectTag(CustDb, "CCNO");
    return walk.Start();
  };
  run.width = 77;
  run.cells = 10;
  run.layout = [] {
    RptTitles = {QStringLiteral("Buyers of ") + ProdRec.PrID.trimmed() + QLatin1Char('-') +
                     ProdRec.PDesc.trimmed(),
                 QStringLiteral("from ") + SpanText(" through ")};
    ColCodes = {"V00", "L01", "V36", "L37", "V57", "R66", "V67", "R76", "V77"};
    SetColumnHeadings({"Customer", "MailGroup", "Date", "U-Price"});
  };
  run.progress_text = QStringLiteral("Processing Buyers");
  run.write = [&](RecordProgress& progress) {
    const AmountFormat money;
    progress.SetTotal(walk.Estimate());
    StoredDates dates;
    InvoiceLines lines;
    const QByteArray code = product.toLatin1();
    for (walk.Rewind(); walk.InSpan(); walk.Next()) {
      const long invoice = f4long(InvFld.IvNo);
      lines.ForEach(invoice, [&] {
        if (code != f4str(ItemFld.PrID)) return;
        QString name = QStringLiteral("UNKNOWN");
        QString group = name;
        if (SeekNumber(CustDb, f4long(InvFld.CuNo), 6)) {
          name = CustomerName();
          group = GroupName(f4int(CustFld.ngroup));
        }
        NewDetailLine();
        PutRow({name, group, dates.Text(f4str(InvFld.IDate)),
                QString::asprintf("%8.2f", f4double(ItemFld.UPR))});
      });
      progress.Step();
    }
  };
  RunReport(run);
}

void TaxSummary() {
  SpanWalk walk(SpanWalk::kInvoices);
  ReportRun run;
  run.preset_span = SetMonthSpan;
  run.open_tables = OpenSalesTables;
  run.prepare = [&] { return walk.Start(); };
  run.width = 50;
  run.cells = 4;
  run.layout = [] {
    RptTitles = {QStringLiteral("Tax report for ") + SpanText(" through ")};
    ColCodes = {"L00", "R38", "R50"};
  };
  run.progress_text = QStringLiteral("Processing Sales");
  run.write = [&](RecordProgress& progress) {
    const AmountFormat money;
    progress.SetTotal(walk.Estimate());
    TaxTotals totals;
    InvoiceLines lines;
    for (walk.Rewind(); walk.InSpan(); walk.Next()) {
      lines.ForEach(f4long(InvFld.IvNo), [&] {
        totals.AddLine(f4double(ItemFld.Qty) * f4double(ItemFld.UPR), f4true(ItemFld.LTax1) > 0,
                       f4true(ItemFld.LTax2) > 0);
      });
      totals.AddCharges(f4double(InvFld.Ship), f4double(InvFld.Tax), Settings.ShipTax);
      progress.Step();
    }
    // The labels as stored: the blanks filling the field stand before " Charged".
    const QString& label1 = Settings.ShipLine;
    const QString& label2 = Settings.TaxLine;
    auto put_line = [&money](const QString& label, int amount_cell, double amount, bool rule) {
      NewLine();
      PutCell(0, label);
      PutCell(amount_cell, money(amount, 11));
      if (rule) AddFlags(QStringLiteral("U"));
    };
    CheckPage(PageLine + 2, false);
    NewLine();
    AddFlags(QStringLiteral("U"));
    put_line(QStringLiteral("Net Item Sales"), 2, totals.net_sales, false);
    if (Settings.TaxRate1 > 0) {
      AddFlags(QStringLiteral("U"));
      put_line(QStringLiteral("Sales subject to ") + label1, 1, totals.subject_to_1, false);
      put_line(label1 + QStringLiteral(" Charged"), 2, totals.charged_1, true);
    }
    put_line(QStringLiteral("Sales subject to ") + label2, 1, totals.subject_to_2, false);
    put_line(label2 + QStringLiteral(" Charged"), 2, totals.charged_2, true);
    put_line(QStringLiteral("Total"), 2, totals.net_sales + totals.charged_1 + totals.charged_2,
             true);
  };
  RunReport(run);
}

}  // namespace reports
