#include "labels/LabelGen.h"

#include <algorithm>
#include <cstring>

#include "engine/TableEngine.h"
#include "labels/LabPrint.h"
#include "masterdata/GroupEdit.h"
#include "masterdata/PickLists.h"
#include "masterdata/PickU.h"
#include "platform/Canvas.h"
#include "platform/Platform.h"
#include "reports/ReportOutput.h"
#include "reports/ReportRun.h"
#include "reports/RptUtil.h"
#include "util/DateUtil.h"
#include "util/TextUtil.h"

namespace labels {

// --- Layout -------------------------------------------------------------------

LabelLayout WorkOutLayout(platform::Canvas& canvas, const LabelRecord& stock) {
  const auto across = [&canvas](double points) {
    return static_cast<int>(canvas.DpiX() * points / 72.0);
  };
  const auto down = [&canvas](double points) {
    return static_cast<int>(canvas.DpiY() * points / 72.0);
  };
  LabelLayout layout;
  layout.top = down(stock.TopM);
  layout.bottom = down(stock.BottomM);
  layout.height = down(stock.Height);
  layout.vgap = down(stock.VGap);
  layout.left = across(stock.LeftM);
  layout.right = across(stock.RightM);
  layout.width = across(stock.Width);
  layout.hgap = across(stock.HGap);

  // The stock measures from the sheet's edges; the canvas counts from the
  // corner of the area the printer can reach.
  const QPoint offset = canvas.PrintingOffset();
  const QSize paper = canvas.PhysicalPageSize();
  const QSize page = canvas.PageSize();
  layout.top = std::max(0, layout.top - offset.y());
  layout.left = std::max(0, layout.left - offset.x());
  layout.bottom = std::max(0, layout.bottom - (paper.height() - offset.y() - page.height()));
  layout.right = std::max(0, layout.right - (paper.width() - offset.x() - page.width()));

  // Five lines of about 25 characters to a label.
  while (canvas.FontPoints() > kMinLabelPoints &&
         5 * canvas.TextExtent(QStringLiteral("Abcde")).width() > layout.width) {
    canvas.SetFontPoints(canvas.FontPoints() - 1);
  }
  while (canvas.FontPoints() > kMinLabelPoints &&
         kAddressLines * canvas.TextExtent(QStringLiteral("A")).height() > layout.height) {
    canvas.SetFontPoints(canvas.FontPoints() - 1);
  }
  layout.line_h = canvas.TextExtent(QStringLiteral("A")).height();

  // The last row needs no gap below it. A stock without a row height puts
  // each row on a sheet of its own rather than all rows on one spot.
  const int usable = page.height() - layout.top - layout.bottom;
  if (layout.Pitch() > 0) {
    layout.down = usable / layout.Pitch();
    if (usable >= layout.Pitch() * layout.down + layout.height) ++layout.down;
  }
  layout.down = std::max(1, layout.down);
  return layout;
}

// --- The row buffer ---------------------------------------------------------------

LabelRun::LabelRun(const LabelRecord& stock, int column, int row, JobStarter start_job)
    : stock_(stock),
      across_(std::max(1, stock.NAcross)),
      column_(std::clamp(column, 1, across_)),
      row_(std::max(1, row)),
      lines_(static_cast<size_t>(kAddressLines * across_)),
      start_job_(std::move(start_job)) {}

LabelRun::~LabelRun() = default;

void LabelRun::ClearRow() {
  for (QString& line : lines_) line.clear();
  row_pending_ = false;
}

bool LabelRun::Add(const QStringList& address) {
  if (failed_) return false;
  const int label = column_ - 1;
  for (int line = 0; line < kAddressLines; ++line) {
    lines_[static_cast<size_t>(line * across_ + label)] = address.value(line);
  }
  ++labels_;
  row_pending_ = true;
  if (column_ < across_) {
    ++column_;
    return true;
  }
  const bool printed = PrintRow();
  ClearRow();
  column_ = 1;
  ++row_;
  return printed;
}

bool LabelRun::PrintRow() {
  if (failed_) return false;
  if (!job_) {
    job_ = start_job_ ? start_job_() : nullptr;
    if (!job_) {
      failed_ = true;
      return false;
    }
    layout_ = WorkOutLayout(*job_, stock_);
    sheets_ = 1;
  }
  const auto row_top = [this] { return layout_.top + (row_ - 1) * layout_.Pitch(); };
  // Sheet stock holds `down` rows; continuous stock runs on until a row
  // would pass the bottom of the printer's page. A page not yet printed on
  // takes the row at its top instead of being left blank.
  const bool past_end =
      stock_.Continuous
          ? row_ > 1 && row_top() + std::max(layout_.height, kAddressLines * layout_.line_h) >
                            job_->PageSize().height()
          : row_ > layout_.down;
  if (past_end) {
    if (page_used_) {
      if (!job_->NewPage()) {
        failed_ = true;
        return false;
      }
      ++sheets_;
    }
    row_ = 1;
  }
  int y = row_top();
  for (int line = 0; line < kAddressLines; ++line) {
    for (int label = 0; label < across_; ++label) {
      const QString& text = lines_[static_cast<size_t>(line * across_ + label)];
      if (!text.isEmpty()) {
        job_->DrawText(layout_.left + label * (layout_.width + layout_.hgap), y, text);
      }
    }
    y += layout_.line_h;
  }
  page_used_ = true;
  return true;
}

bool LabelRun::Finish() {
  if (row_pending_ && !failed_) PrintRow();
  ClearRow();
  if (!job_) return !failed_;
  const bool finished = job_->Finish();
  job_.reset();
  if (!finished) failed_ = true;
  return !failed_;
}

QString LabelSummary(int labels, int sheets) {
  return QStringLiteral("%1 %2 printed on %3 %4")
      .arg(labels)
      .arg(labels == 1 ? QStringLiteral("label") : QStringLiteral("labels"))
      .arg(sheets)
      .arg(sheets == 1 ? QStringLiteral("sheet") : QStringLiteral("sheets"));
}

// --- The runs ---------------------------------------------------------------------

namespace {

// Labels the customer at the current row of CUST5; false once printing failed.
bool AddCustomer(LabelRun& run) {
  LoadCustomer();
  BuildAddressBlock();
  return run.Add(AddressBlock);
}

// The percentage in the status bar, passed on only when it changes.
class Percent {
 public:
  void Show(long long done, long long total) {
    if (total <= 0) return;
    const int percent = static_cast<int>(std::clamp(done * 100 / total, 0LL, 100LL));
    if (percent == shown_) return;
    shown_ = percent;
    platform::Current().SetProgress(percent);
  }

 private:
  int shown_ = 0;
};

// Kind 1: customers picked one after another until the pick list is
// cancelled.
void LabelPickedCustomers(LabelRun& run) {
  if (!OpenCustomers() || !OpenGroups()) return;
  masterdata::SelectCustomerPickTag();
  SelCust = d4top(CustDb) == r4success ? d4recNo(CustDb) : 0;
  bool is_new = false;
  while (masterdata::PickCustomer(false, &is_new)) {
    if (d4go(CustDb, SelCust) == r4success && !AddCustomer(run)) return;
  }
}

// The date span for kinds 2 to 4, starting at today; false when cancelled.
bool AskLabelSpan() {
  SpanStart = Today();
  SpanEnd = Today();
  return AskDateSpan();
}

// Dates compare as their stored "yyyymmdd" texts; a blank date sorts first.
int CompareDate(const char* field, const QByteArray& date) {
  return std::strncmp(field, date.constData(), 8);
}

// Seeks the invoice's customer by number and labels it when found.
bool AddInvoiceCustomer(LabelRun& run) {
  if (d4seek(CustDb, f4str(InvFld.CuNo)) != r4success) return true;  // no such customer
  return AddCustomer(run);
}

// Kind 2: the customer of each invoice dated in the span, in date order.
void LabelInvoicesDated(LabelRun& run) {
  if (!AskLabelSpan() || !OpenInvoices() || !OpenCustomers()) return;
  platform::Current().ShowProgress(QStringLiteral("Processing Invoice Labels"));
  SelectTag(CustDb, "CCNO");
  SelectTag(InvDb, "InvD");
  const QByteArray from = KeyText(DateToText(SpanStart));
  const QByteArray to = KeyText(DateToText(SpanEnd));
  const long long days = static_cast<long long>(SpanEnd - SpanStart) + 1;
  Percent percent;
  int rc = d4seek(InvDb, from.constData());
  if (rc == r4eof) return;
  for (; rc == r4success || rc == r4after; rc = d4skip(InvDb, 1)) {
    const char* date = f4str(InvFld.IDate);
    if (CompareDate(date, to) > 0) break;
    if (!AddInvoiceCustomer(run)) return;
    percent.Show(TextToDate(QString::fromLatin1(date, 8)) - SpanStart, days);
  }
  platform::Current().SetProgress(100);
}

// Kind 3: the customer of each invoice in the span with an amount due, in
// date order.
void LabelPastDue(LabelRun& run) {
  if (!AskLabelSpan() || !OpenInvoices() || !OpenCustomers()) return;
  platform::Current().ShowProgress(QStringLiteral("Processing Billing Labels"));
  SelectTag(CustDb, "CCNO");
  SelectTag(InvDb, "InvD");
  const QByteArray from = KeyText(DateToText(SpanStart));
  const QByteArray to = KeyText(DateToText(SpanEnd));
  reports::RecordProgress progress;
  progress.SetTotal(d4recCountDo(InvDb));
  for (int rc = d4top(InvDb); rc == r4success; rc = d4skip(InvDb, 1)) {
    const char* date = f4str(InvFld.IDate);
    if (CompareDate(date, to) > 0) break;
    if (CompareDate(date, from) >= 0 && f4double(InvFld.Due) != 0 && !AddInvoiceCustomer(run)) {
      return;
    }
    progress.Step();
  }
}

// Whether the customer at the current row of CUST5 has an invoice in the
// span with an amount due. INV5 is under "InvC".
bool OwesInSpan(const QByteArray& from, const QByteArray& to) {
  const long customer = f4long(CustFld.cuno);
  int rc = d4seek(InvDb, KeyText(PadNumber(customer, 6)).constData());
  if (rc != r4success) return false;
  for (; rc == r4success && f4long(InvFld.CuNo) == customer; rc = d4skip(InvDb, 1)) {
    const char* date = f4str(InvFld.IDate);
    if (f4double(InvFld.Due) != 0 && CompareDate(date, from) >= 0 && CompareDate(date, to) <= 0) {
      return true;
    }
  }
  return false;
}

// Kind 4: each customer with an amount due in the span, once, in postal
// code order.
void LabelBalanceDue(LabelRun& run) {
  if (!AskLabelSpan() || !OpenCustomers() || !OpenInvoices()) return;
  SelectTag(CustDb, "CZip");
  SelectTag(InvDb, "InvC");
  platform::Current().ShowProgress(QStringLiteral("Processing Statement Labels"));
  const QByteArray from = KeyText(DateToText(SpanStart));
  const QByteArray to = KeyText(DateToText(SpanEnd));
  reports::RecordProgress progress;
  progress.SetTotal(d4recCountDo(CustDb));
  for (int rc = d4top(CustDb); rc == r4success; rc = d4skip(CustDb, 1)) {
    if (OwesInSpan(from, to) && !AddCustomer(run)) return;
    progress.Step();
  }
}

// Kind 5: the customers of the chosen groups, in postal code order.
void LabelGroups(LabelRun& run) {
  if (!OpenCustomers() || !OpenGroups()) return;
  SelectTag(CustDb, "CZip");
  platform::Current().ShowModal(platform::WindowId::kMultGroup);
  if (masterdata::GroupChoice.isEmpty()) return;
  platform::Current().ShowProgress(QStringLiteral("Processing Customers"));
  reports::RecordProgress progress;
  progress.SetTotal(d4recCountDo(CustDb));
  for (int rc = d4top(CustDb); rc == r4success; rc = d4skip(CustDb, 1)) {
    if (IndexInList(&masterdata::GroupChoice, f4int(CustFld.ngroup)) >= 0 && !AddCustomer(run)) {
      return;
    }
    progress.Step();
  }
}

// The stock and starting place from the print dialog; false when there is
// no stock or the dialog was cancelled.
bool ChooseStock() {
  platform::Platform& desktop = platform::Current();
  if (!OpenLabels()) {
    CloseAllTables();
    return false;
  }
  if (d4recCountDo(LabelDb) == 0) {
    desktop.Inform(
        QStringLiteral("Label Stock has not been defined. Choose Setup - Labels to define label "
                       "stock."));
    CloseAllTables();
    return false;
  }
  LabPrintCancelled = true;
  desktop.ShowModal(platform::WindowId::kLabPrint);
  CloseAllTables();
  return !LabPrintCancelled;
}

}  // namespace

void PrintLabels(int kind) {
  if (kind < kSelectedCustomers || kind > kCustomerGroups || !ChooseStock()) return;
  QString pdf_path;
  if (!reports::ChoosePrintTarget(&pdf_path)) return;
  platform::Platform& desktop = platform::Current();
  LabelRun run(LabelRec, LabStartColumn, LabStartRow,
               [pdf_path] { return platform::Current().StartPrintJob(pdf_path); });
  switch (kind) {
    case kSelectedCustomers:
      LabelPickedCustomers(run);
      break;
    case kInvoicesDated:
      LabelInvoicesDated(run);
      break;
    case kPastDueBilling:
      LabelPastDue(run);
      break;
    case kBalanceDue:
      LabelBalanceDue(run);
      break;
    case kCustomerGroups:
      LabelGroups(run);
      break;
  }
  const bool printed = run.Finish();
  desktop.ShowProgress(printed && run.LabelsAdded() ? LabelSummary(run.Labels(), run.Sheets())
                                                    : QString());
  CloseAllTables();
  if (printed) return;
  if (pdf_path.isEmpty()) {
    desktop.Inform(QStringLiteral("Unable to print the labels."));
  } else {
    desktop.Inform(QStringLiteral("Unable to save to: ") + pdf_path);
  }
}

}  // namespace labels
