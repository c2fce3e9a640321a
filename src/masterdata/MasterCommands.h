#pragma once
// The main window's two customer maintenance commands: open the tables,
// loop the pick list and its editor until the operator cancels, close every
// table, and pack the maintained table when a deletion is pending.

namespace masterdata {

// "Add & Edit Customers": customers in the order the settings choose.
void RunCustomerCommand();
// "Add & Edit Customer Groups": groups by name.
void RunGroupCommand();

}  // namespace masterdata
