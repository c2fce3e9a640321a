#pragma once
// Line items and payments of the invoice being edited: adding a line from a
// picked product, editing or removing a line, adding, editing and removing
// payments, and the amounts the line item and payment dialogs preview. The
// dialogs exchange their fields and outcome with this unit through ItemForm /
// ItemResult and PmtForm / PmtResult: the caller fills the form, shows the
// dialog, and reads the outcome once it is closed.

#include <QString>
#include <QStringList>
#include <optional>

#include "util/DateUtil.h"

namespace invoicing {

// Outcome of the line item and payment dialogs.
inline constexpr int kResultSave = 1;
inline constexpr int kResultDelete = 2;
inline constexpr int kResultCancel = 3;

// The fields of the line item dialog (TItemDef), as texts.
struct LineForm {
  QString product;      // Edit1, read-only
  QString description;  // Edit2
  QString price;        // MaskEdit1, "%8.2f"
  QString quantity;     // MaskEdit2, "%9.2f"
  QString total;        // MaskEdit3, "%10.2f", read-only
  QString comment;      // Edit3
  bool tax1 = false;    // CheckBox1
  bool tax2 = false;    // CheckBox2
};

// The fields of the payment dialog (TPmtDef).
struct PaymentForm {
  TDate date = 0;               // DateTimePicker1
  QString amount;               // MaskEdit2, "%10.2f"
  QString gst;                  // MaskEdit1, "%10.2f"
  bool includes_gst = false;    // CheckBox1
  bool delete_enabled = false;  // BtnDelete
};

extern LineForm ItemForm;
extern int ItemResult;
extern PaymentForm PmtForm;
extern int PmtResult;

// Formats of the line item dialog's amount fields.
inline constexpr char kPriceFormat[] = "%8.2f";
inline constexpr char kQuantityFormat[] = "%9.2f";

// The widest texts the invoice grid's amount column (2 price, 3 quantity,
// 4 total with the tax flags) can show: the largest and most negative
// price and quantity these formats admit, and the line totals they make.
// Empty for the other columns.
QStringList WidestGridTexts(int column);

// "Add Item": picks a product (New allowed), fills and shows the line item
// dialog, appends the line on Save; then recomputes and shows the invoice
// unless the pick list was cancelled.
void AddLine();
// "Edit Item" and a double click: edits the line under grid row `row` (1 is
// the first line); Save rewrites it, Delete removes it.
void EditLine(int row);
// The line item dialog's total preview: price times quantity, a negative
// total nudged so the formatting rounds it away from zero.
QString PreviewLineTotal(const QString& price, const QString& quantity);

// The computed line that is the GST/VAT: its rate and its trimmed label.
double GstRate();
QString GstLabel();
// The GST/VAT included in an amount at the rate (percent): "%9.2f" of the
// included part when ticked, of 0 when not; nullopt (leave the field) when
// the rate is not above 0.
[[nodiscard]] std::optional<QString> ComputeIncludedGST(double rate, const QString& amount,
                                                        bool ticked);

// "Add Paym't": shows the payment dialog on a new payment and appends it on Save.
void AddPayment();
// "Edit Paym't": the payment list, when there are payments; then the payments are shown again.
void EditPayments();
// The payment list's Select: edits payment `row` (1 is the first) in the
// payment dialog. False, and the list stays, when the row names no payment.
[[nodiscard]] bool EditPayment(int row);

}  // namespace invoicing
