#pragma once
// The customer purchasing profile: for each customer picked one after
// another, or for every customer of the chosen groups, the address block
// with its "Cust#:" line beside every invoice line ever billed to the
// customer, one customer after another in one report.

#include <QStringList>

namespace reports {

// The report for picked customers (by_groups false) or for the customers of
// the groups chosen in the group choice (true).
void CustomerProfile(bool by_groups);

// The address block of the customer in CustRec as the profile prints it:
// cut to four lines when the fourth and fifth are blank, a line added when
// the last is not blank, and the last line "Cust#: " + number + "  Group: "
// + the group's name (empty when the group is missing). Needs GROUPS open.
QStringList ProfileAddressBlock();

}  // namespace reports
