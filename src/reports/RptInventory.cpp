#include "reports/RptInventory.h"

#include <QString>
#include <QStringList>

#include "reports/CostProduct.h"
#include "reports/ReportRun.h"
#include "reports/RptUtil.h"
#include "store/EngineResult.h"
#include "store/dbFiles.h"
#include "util/MoneyUtil.h"
#include "util/TextUtil.h"

namespace {

using reports::RecordProgress;
using reports::ReportRun;

QString Amount(double value, const char* format) {
  return FormatAmount(value, QString::fromLatin1(format));
}

// A text field as shown: without the blanks that pad it to its width.
QString Shown(const QString& text) {
  qsizetype length = text.size();
  while (length > 0 && text[length - 1] == QLatin1Char(' ')) --length;
  return text.left(length);
}

bool InSpan(TDate date) { return SpanStart <= date && !(date > SpanEnd); }

// Visits every record of the table in the order of its selected tag.
template <typename Visit>
void ForEachRecord(DATA4* table, Visit visit) {
  for (int rc = d4top(table); rc == r4success && d4recNo(table) > 0; rc = d4skip(table, 1)) {
    visit();
  }
}

long RecordCount(DATA4* table) { return table != nullptr ? d4recCountDo(table) : 0; }

// The tables the costing reads, with the line items in product order. A
// missing product tag is fatal, as a missing opening tag is.
bool OpenStockTables() {
  if (!OpenProducts() || !OpenPurchases() || !OpenLineItems() || !OpenInvoices()) return false;
  TAG4* by_product = d4tag(ItemDb, "ItmP");
  if (by_product == nullptr) {
    store::TakeResult(store::Table::kLineItems);
    OpenFailed(QStringLiteral("itmP.ntx"));
    return false;
  }
  SelectTag(ItemDb, by_product);
  return true;
}

// The sum of LotCost over every tracked product at the cut-off.
double InventoryValue(TDate cutoff, RecordProgress& progress) {
  double total = 0;
  ForEachRecord(ProdDb, [&] {
    LoadProduct();
    if (CostProduct(ProdRec.PrID, cutoff)) total += ProductCost.LotCost;
    progress.Step();
  });
  return total;
}

// A line of the cost of goods report: caption and amount.
void CostLine(const char* caption, double amount, const char* flags = "") {
  NewLine();
  PutRow({QString::fromLatin1(caption), Amount(amount, "%12.2f")});
  if (*flags != '\0') AddFlags(QString::fromLatin1(flags));
}

}  // namespace

void ProductListing() {
  ReportRun run;
  run.open_tables = [] { return OpenProducts(); };
  run.width = 64;
  run.cells = 5;
  run.layout = [] {
    RptTitles = {QStringLiteral("Product Listing")};
    ColCodes = {"L00", "L12", "R51", "R64"};
    SetColumnHeadings({"Product", "Description", "Unit Price", "Reorder"});
  };
  run.progress_text = QStringLiteral("Processing Product Listing");
  run.write = [](RecordProgress& progress) {
    progress.SetTotal(RecordCount(ProdDb));
    ForEachRecord(ProdDb, [&] {
      LoadProduct();
      NewDetailLine();
      PutRow({Shown(ProdRec.PrID), Shown(ProdRec.PDesc), Amount(ProdRec.UPrice, "%12.2f"),
              Amount(ProdRec.REORDER, "%12.2f")});
      const QString comment = ProdRec.IComm.trimmed();
      if (!comment.isEmpty()) {
        NewLine();
        PutCell(1, comment);
      }
      progress.Step();
    });
  };
  reports::RunReport(run);
}

void PurchasingReport() {
  ReportRun run;
  run.preset_span = SetMonthSpan;
  run.open_tables = [] { return OpenProducts() && OpenPurchases(); };
  run.width = 71;
  run.cells = 6;
  run.layout = [] {
    RptTitles = {QStringLiteral("Purchasing Report for ") + ShortDateText(SpanStart) +
                 QStringLiteral(" through ") + ShortDateText(SpanEnd)};
    ColCodes = {"L00", "L12", "R47", "R58", "R71"};
    SetColumnHeadings({"Product", "Description", "Date", "Quantity", "Cost"});
  };
  run.progress_text = QStringLiteral("Processing Purchasing Report");
  run.write = [](RecordProgress& progress) {
    progress.SetTotal(RecordCount(PurDb));
    QString previous;  // the product of the line printed last
    bool any = false;
    double total = 0;
    ForEachRecord(PurDb, [&] {
      LoadPurchase();
      if (InSpan(PurRec.PURDate)) {
        const bool new_product = !any || PurRec.PURProd != previous;
        QString description;
        if (new_product) {
          description = QStringLiteral("Not Found");
          if (d4seek(ProdDb, KeyText(PurRec.PURProd.toUpper()).constData()) == r4success) {
            LoadProduct();
            description = Shown(ProdRec.PDesc);
          }
        }
        NewDetailLine();
        PutRow({new_product ? Shown(PurRec.PURProd) : QString(), description,
                ShortDateText(PurRec.PURDate), Amount(PurRec.PURQty, "%10.2f"),
                Amount(PurRec.PURCost, "%12.2f")});
        previous = PurRec.PURProd;
        any = true;
        total += PurRec.PURCost;
      }
      progress.Step();
    });
    if (!any) return;
    AddFlags(QStringLiteral("U"));
    NewLine();
    PutRow({QStringLiteral("Total"), QString(), QString(), QString(), Amount(total, "%13.2f")});
  };
  reports::RunReport(run);
}

void StockOnHandReport() {
  ReportRun run;
  run.open_tables = OpenStockTables;
  run.prepare = [] {
    SpanStart = Today();
    return true;
  };
  run.width = 85;
  run.cells = 7;
  run.layout = [] {
    RptTitles = {QStringLiteral("Stock On-Hand as of ") + ShortDateText(Today())};
    ColCodes = {"L00", "L12", "R52", "R65", "R78", "R85"};
    SetColumnHeadings({"Product", "Description", "On-Hand", "On-Order", "Level", "Stock"});
    ColHeads.insert(1, RowCells({"", "", "Quantity", "Quantity", "Reorder", "Need"}));
  };
  run.progress_text = QStringLiteral("Processing Inventory");
  run.write = [](RecordProgress& progress) {
    const InvoiceDateMemo memo;
    progress.SetTotal(RecordCount(ProdDb));
    ForEachRecord(ProdDb, [&] {
      LoadProduct();
      if (CostProduct(ProdRec.PrID, SpanStart)) {
        const double on_hand = ProductCost.LotQty - ProductCost.Unmatched;
        // Judged on the quantities as printed, so a sum of quantities a hair
        // below the reorder level does not ask for stock next to equal figures.
        const bool enough =
            RoundMoney(on_hand + ProductCost.OnOrder) >= RoundMoney(ProdRec.REORDER);
        NewDetailLine(2);
        PutRow({Shown(ProdRec.PrID), Shown(ProdRec.PDesc), Amount(on_hand, "%12.2f"),
                Amount(ProductCost.OnOrder, "%12.2f"), Amount(ProdRec.REORDER, "%12.2f"),
                enough ? QStringLiteral("OK") : QStringLiteral("YES")});
        if (!enough) AddFlags(QStringLiteral("B"));
      }
      progress.Step();
    });
  };
  reports::RunReport(run);
}

void InventoryReport() {
  ReportRun run;
  run.preset_span = [] { SpanStart = Today(); };
  run.one_date_caption = QStringLiteral("Inventory as Of:");
  run.open_tables = OpenStockTables;
  run.width = 67;
  run.cells = 5;
  run.layout = [] {
    RptTitles = {QStringLiteral("Inventory as of ") + ShortDateText(SpanStart)};
    ColCodes = {"L00", "L12", "R52", "R67"};
    SetColumnHeadings({"Product", "Description", "Quantity", "Cost"});
  };
  run.progress_text = QStringLiteral("Processing Inventory");
  run.write = [](RecordProgress& progress) {
    const InvoiceDateMemo memo;
    progress.SetTotal(RecordCount(ProdDb));
    bool any = false;
    double total = 0;
    ForEachRecord(ProdDb, [&] {
      LoadProduct();
      if (CostProduct(ProdRec.PrID, SpanStart)) {
        NewDetailLine(2);
        PutRow({Shown(ProdRec.PrID), Shown(ProdRec.PDesc), Amount(ProductCost.LotQty, "%12.2f"),
                Amount(ProductCost.LotCost, "%12.2f")});
        total += ProductCost.LotCost;
        any = true;
      }
      progress.Step();
    });
    if (!any) return;
    AddFlags(QStringLiteral("U"));
    NewLine();
    PutRow({QString(), QString(), QStringLiteral("Total"), Amount(total, "%12.2f")});
  };
  reports::RunReport(run);
}

void CostOfGoodsReport() {
  ReportRun run;
  run.preset_span = SetMonthSpan;
  run.open_tables = OpenStockTables;
  run.width = 50;
  run.cells = 3;
  run.layout = [] {
    RptTitles = {QStringLiteral("Cost of Goods Sold from ") + ShortDateText(SpanStart) +
                 QStringLiteral(" through ") + ShortDateText(SpanEnd)};
    ColCodes = {"L00", "R50"};
    SetColumnHeadings({"Description", "Amount"});
  };
  run.progress_text = QStringLiteral("Processing Cost of Goods");
  run.write = [](RecordProgress& progress) {
    const InvoiceDateMemo memo;
    progress.SetTotal(2 * RecordCount(ProdDb) + RecordCount(PurDb));
    // The stock at the end of the day before the span.
    const double beginning = InventoryValue(SpanStart - 1, progress);
    CheckPage(PageLine + 6, true);
    CostLine("Beginning Inventory", beginning);
    double purchases = 0;
    ForEachRecord(PurDb, [&] {
      LoadPurchase();
      if (InSpan(PurRec.PURDate)) purchases += PurRec.PURCost;
      progress.Step();
    });
    CostLine("Inventory Purchases", purchases, "U");
    CostLine("Total", beginning + purchases);
    const double ending = InventoryValue(SpanEnd, progress);
    CostLine("Ending Inventory", ending, "U");
    CostLine("Cost of Goods Sold", beginning + purchases - ending);
  };
  reports::RunReport(run);
}
