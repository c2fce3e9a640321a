#pragma once
// What each grid pick list shows: its columns and widths (in letter units),
// how a record becomes a row, the search style, and the information box
// lookups (a customer's group, an invoice's customer). The windows draw from
// here; the benchmark and the tests build the same models.

#include <QString>
#include <vector>

#include "masterdata/PickModel.h"

namespace masterdata {

struct PickColumn {
  const char* title;
  int width_units;  // in widths of the window's unit letter
};

// Customers: by name (ByCust) or by company.
std::vector<PickColumn> CustomerColumns(bool by_cust);
std::vector<PickColumn> ProductColumns();
std::vector<PickColumn> InvoiceColumns();
std::vector<PickColumn> PurchaseColumns();

// The customer tag the pick list browses: "cname" by name, "cComp" by company.
const char* CustomerPickTag(bool by_cust);
// Selects that tag on the open customer table (by the settings flag ByCust).
void SelectCustomerPickTag();

// Models configured as the four windows use them. The customer rows follow
// Settings.ByCust at the time each row is read.
PickGridConfig CustomerPickConfig();
PickGridConfig ProductPickConfig();
PickGridConfig InvoicePickConfig();
PickGridConfig PurchasePickConfig();

// Information boxes: the group name of the customer at rec_no ("" when the
// group is missing or the group table is not open), and the name of the
// customer of the invoice at rec_no (first and last, trimmed).
QString CustomerGroupText(long rec_no);
QString InvoiceCustomerText(long rec_no);

}  // namespace masterdata
