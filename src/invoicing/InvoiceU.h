#pragma once
// The invoice window: one invoice with its customer, header fields, line
// items, payments, the two computed tax lines and the totals, and the Save,
// Print, Delete and Cancel buttons. The invoice itself lives in the
// document (InvoiceDoc.h); the window shows it and reports edits.

#include <QDialog>

#include "invoicing/InvoiceDocSave.h"

class QDateEdit;
class QLabel;
class QLayout;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTableWidget;
class MoneyEdit;

inline constexpr int kHelpInvoice = 310;

class TInvoice final : public QDialog {
  Q_OBJECT

 public:
  explicit TInvoice(QWidget* parent = nullptr);

  QPushButton* BtnCust;
  QPushButton* BtnCustEdit;
  QPlainTextEdit* Memo1;  // the customer's address, read-only
  QLineEdit* Edit4;       // the customer's note
  QLineEdit* Edit1;       // invoice number, read-only
  QDateEdit* DateTimePicker1;
  QLineEdit* Edit2;  // department
  QLineEdit* Edit3;  // credit card or cheque reference
  QTableWidget* StringGrid1;
  QPushButton* BAddItm;
  QPushButton* BEditItm;
  QPushButton* BAddPmt;
  QPushButton* BEditPmt;
  MoneyEdit* MaskEdit2;   // subtotal
  MoneyEdit* MaskEdit3;   // computed line 1
  MoneyEdit* MaskEdit4;   // computed line 2
  MoneyEdit* MaskEdit5;   // total
  MoneyEdit* MaskEdit6;   // payments
  MoneyEdit* MaskEdit7;   // amount due
  QLabel* ShipLabel;      // label of computed line 1
  QLabel* TaxLabel;       // label of computed line 2
  QPlainTextEdit* Memo2;  // the invoice's note
  QPushButton* BtnSave;
  QPushButton* BtnPrint;
  QPushButton* BtnDelete;
  QPushButton* BtnCancel;
  QPushButton* BtnHelp;

  void FormShow();
  void BtnCustClick();
  void BtnCustEditClick();
  void BtnCancelClick();
  void BAddItmClick();
  void BEditItmClick();
  void StringGrid1DblClick();
  void BAddPmtClick();
  void BEditPmtClick();
  void MaskEdit3Exit();
  void MaskEdit4Exit();
  void BtnSaveClick();
  void BtnPrintClick();
  void BtnDeleteClick();
  void Edit2Exit();
  void Edit3Exit();
  void Edit4Exit();
  void Memo2Exit();
  void DateTimePicker1Change();

  // Copies what the document shows into the controls.
  void ShowScreen();

 protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // The window's parts, built top to bottom.
  void CreateHeader();
  void CreateGrid();
  // Widens the grid's amount columns to their widest amounts in the locale.
  void SizeGridColumns();
  void CreateFooter();
  QLayout* HeaderLayout();
  QLayout* FooterLayout();
  void ConnectHandlers();

  void EditLine();
  // The fields a save or a print copies into the invoice, as typed.
  invoicing::WindowFields Fields() const;
  // The grid's current row counted as the document counts lines (1 the
  // first); 0 when no row is current.
  int CurrentGridRow() const;
};
