#pragma once
// The customer editor without its window: opening a customer (or a blank one
// for New), the group choice, saving (a new customer takes the next free
// number; saving a deleted customer recalls it) and deleting. Works on
// CustRec, SelCust and the open CUST5 and GROUPS tables.

#include <QString>

namespace masterdata {

// The texts of the editor's fields as typed (or as shown, trimmed).
struct CustomerForm {
  QString title, first, last, addr1, addr2, addr3, addr4, zip, phone, fax, email, note, comments;
};

struct CustomerOpening {
  bool delete_enabled = false;
  QString group_name;  // empty when the customer has no (existing) group
  CustomerForm form;   // every field trimmed; the comments trimmed at their end only
};

// Loads the customer SelCust names (nonzero), or clears CustRec and sets
// SelCust to -1 for a new one. A group number with no group becomes 0.
CustomerOpening OpenCustomerEditor();

// The group button: picks a group (New allowed); when one was chosen or
// created it becomes the customer's group and true is returned with its name.
[[nodiscard]] bool ChooseCustomerGroup(QString* group_name);

// Save: false (the window stays) when the customer has no group or a new
// record could not be appended; true when stored (SelCust names the record).
[[nodiscard]] bool SaveCustomer(const CustomerForm& form);

// Marks the customer SelCust names for deletion and sets the pack-pending flag.
void DeleteCustomer();

}  // namespace masterdata
