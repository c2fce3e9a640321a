#pragma once
// Mailing labels: one customer address per label on the chosen label stock.
// The five label runs differ in the customers they take and their order;
// each fills one row of labels at a time and prints it as soon as it is
// full, so only that row is held in memory. Rows are placed in printer
// pixels worked out from the stock's measures in points, less the part of
// the sheet the printer cannot reach.

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

#include "store/dbFiles.h"

namespace platform {
class Canvas;
}

namespace labels {

// The label runs of the main window, by their number.
enum LabelKind {
  kSelectedCustomers = 1,  // customers picked one after another
  kInvoicesDated = 2,      // the customer of each invoice dated in a range
  kPastDueBilling = 3,     // ... of each such invoice with an amount due
  kBalanceDue = 4,         // each customer with an amount due in the range, once
  kCustomerGroups = 5,     // the customers of the chosen groups
};

// Runs a label run: the stock and starting place from the print dialog
// (where the labels go, when there is no printer), the kind's customers,
// the labels printed row by row; the status bar then says how many labels
// were printed on how many sheets.
void PrintLabels(int kind);

inline constexpr int kAddressLines = 5;
// The label font is not made smaller than this, even when a label is too
// small for five lines at that size.
inline constexpr int kMinLabelPoints = 4;

// Where labels fall on the printable page, in printer pixels.
struct LabelLayout {
  int top = 0;
  int left = 0;
  int bottom = 0;
  int right = 0;
  int width = 0;
  int height = 0;
  int hgap = 0;
  int vgap = 0;
  int down = 1;    // label rows on one sheet
  int line_h = 0;  // one address line: the height of "A" in the label font
  int Pitch() const { return height + vgap; }
};

// Works the stock's layout out on the print job's canvas: measures from
// points to pixels at the canvas's resolution, margins made relative to the
// printable area (none below 0), the font lowered a point at a time until
// five "Abcde" fit across a label and five lines down it (not below
// kMinLabelPoints), and the rows that fit on a sheet (at least one).
LabelLayout WorkOutLayout(platform::Canvas& canvas, const LabelRecord& stock);

// One run's row buffer and print job.
class LabelRun {
 public:
  // Starts the print job; null when it cannot be started.
  using JobStarter = std::function<std::unique_ptr<platform::Canvas>()>;

  // The first label goes to the column and row given (the column held to
  // the labels across).
  LabelRun(const LabelRecord& stock, int column, int row, JobStarter start_job);
  ~LabelRun();
  LabelRun(const LabelRun&) = delete;
  LabelRun& operator=(const LabelRun&) = delete;

  // Puts the address (lines 0 to 4) into the next label; a full row is
  // printed at once. False once printing has failed: the run should stop.
  bool Add(const QStringList& address);
  // Prints a row not yet full and ends the job. False when printing failed
  // at any point.
  bool Finish();

  bool LabelsAdded() const { return labels_ > 0; }
  bool Failed() const { return failed_; }
  int Labels() const { return labels_; }
  // Pages of the print job so far.
  int Sheets() const { return sheets_; }
  const LabelLayout& Layout() const { return layout_; }

 private:
  bool PrintRow();
  void ClearRow();

  LabelRecord stock_;
  int across_;
  int column_;
  int row_;
  // lines_[line * across_ + label]
  std::vector<QString> lines_;
  bool row_pending_ = false;
  JobStarter start_job_;
  std::unique_ptr<platform::Canvas> job_;
  LabelLayout layout_;
  bool page_used_ = false;
  bool failed_ = false;
  int labels_ = 0;
  int sheets_ = 0;
};

// "42 labels printed on 2 sheets".
QString LabelSummary(int labels, int sheets);

}  // namespace labels
