#pragma once
// Customer account statements on the firm's stationery: one document per
// customer listing invoices with their charges, payments and amounts due in
// a boxed table, with column totals.

#include <QString>
#include <vector>

// The statement command: with balances, every customer (in postal code
// order) with invoices in the chosen span that are not settled (a credit
// counts too); otherwise, for customers picked one after another, all of
// their invoices. Shows the statements when there are any.
void PrintStatements(bool withBalances);

// One listed invoice, as printed: the number right-aligned in 6 characters,
// the short date, and charges, payments and amount due formatted "%11.2f".
struct StatementRow {
  QString number;
  QString date;
  QString charges;
  QString payments;
  QString due;
};

// Starts a report of statements: 59 columns, the boxed table's codes and
// headings.
void InitStatementLayout();
// The row for the invoice loaded in InvRec, ItemGrid and PaymentGrid. Its
// charges add each line's quantity times price unrounded to the two
// computed lines; the amount due is Due as stored.
StatementRow MakeStatementRow();
// Appends the statement of the customer in CustRec and AddressBlock with these
// rows.
void PutStatement(const std::vector<StatementRow>& rows);
