#include "masterdata/CustomerEdit.h"

#include "engine/TableEngine.h"
#include "masterdata/PickU.h"
#include "platform/Platform.h"
#include "store/CodeBase.h"
#include "store/dbFiles.h"
#include "util/TextUtil.h"

namespace masterdata {
namespace {

QString TrimEnd(const QString& text) {
  qsizetype end = text.size();
  while (end > 0 && text.at(end - 1).isSpace()) --end;
  return text.left(end);
}

// The name of group `number` through tag "nGroup"; false when there is none.
bool LookUpGroup(int number, QString* name) {
  if (GroupDb == nullptr || number == 0) return false;
  SelectTag(GroupDb, "nGroup");
  if (d4seek(GroupDb, KeyText(PadNumber(number, 2)).constData()) != r4success) return false;
  LoadGroup();
  *name = GroupRec.cGroup.trimmed();
  return true;
}

}  // namespace

CustomerOpening OpenCustomerEditor() {
  CustomerOpening opening;
  if (SelCust > 0 && CustDb != nullptr && d4go(CustDb, SelCust) == r4success) {
    opening.delete_enabled = true;
    LoadCustomer();
  } else {
    CustRec = CustomerRecord{};
    SelCust = -1;
  }
  const CustomerRecord& r = CustRec;
  opening.form = {r.title.trimmed(),  r.first.trimmed(), r.last.trimmed(),  r.addr1.trimmed(),
                  r.addr2.trimmed(),  r.addr3.trimmed(), r.addr4.trimmed(), r.zip.trimmed(),
                  r.phone.trimmed(),  r.fax.trimmed(),   r.email.trimmed(), r.note.trimmed(),
                  TrimEnd(r.comments)};
  if (CustRec.ngroup != 0 && !LookUpGroup(CustRec.ngroup, &opening.group_name)) {
    // The group no longer exists: the customer must be given another.
    CustRec.ngroup = 0;
  }
  return opening;
}

bool ChooseCustomerGroup(QString* group_name) {
  bool is_new = false;
  if (!PickGroup(true, &is_new)) return false;
  if (GroupDb == nullptr || d4go(GroupDb, SelGroup) != r4success) return false;
  LoadGroup();
  CustRec.ngroup = GroupRec.nGroup;
  *group_name = GroupRec.cGroup.trimmed();
  return true;
}

bool SaveCustomer(const CustomerForm& form) {
  if (CustRec.ngroup == 0) {
    platform::Current().Inform(QStringLiteral("Please Select Customer Group"));
    return false;
  }
  if (CustDb == nullptr) return false;
  const bool adding = CustRec.cuno == 0;
  if (!adding) {
    if (d4go(CustDb, SelCust) != r4success) return false;
  } else {
    CustRec.cuno = NextCustomerNo();
    if (d4appendBlank(CustDb) != r4success) {
      platform::Current().Inform(QStringLiteral("Unable to Append record . . Please try again."));
      CustRec.cuno = 0;
      return false;
    }
    SelCust = d4recNo(CustDb);
  }
  CustomerRecord& r = CustRec;
  r.title = form.title;
  r.first = form.first;
  r.last = form.last;
  r.addr1 = form.addr1;
  r.addr2 = form.addr2;
  r.addr3 = form.addr3;
  r.addr4 = form.addr4;
  r.zip = form.zip;
  r.phone = form.phone;
  r.fax = form.fax;
  r.email = form.email;
  r.note = form.note;
  r.comments = form.comments;
  // Saving a customer marked for deletion brings it back, written with the save.
  if (d4deleted(CustDb) != 0) d4recall(CustDb);
  if (!StoreCustomer()) {
    if (adding && ForgetUnwrittenAppend(CustDb, &SelCust)) CustRec.cuno = 0;
    return false;
  }
  SelCust = d4recNo(CustDb);
  return true;
}

void DeleteCustomer() {
  if (CustDb == nullptr || SelCust <= 0 || d4go(CustDb, SelCust) != r4success) return;
  d4delete(CustDb);
  PackPending = true;
  (void)FlushChanges(CustDb, store::Table::kCustomers);  // the operator is told when it fails
}

}  // namespace masterdata
