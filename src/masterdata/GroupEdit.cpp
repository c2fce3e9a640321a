#include "masterdata/GroupEdit.h"

#include "engine/TableEngine.h"
#include "masterdata/PickU.h"
#include "platform/Platform.h"
#include "store/CodeBase.h"
#include "store/dbFiles.h"
#include "util/TextUtil.h"

namespace masterdata {

QList<int> GroupChoice;

GroupOpening OpenGroupEditor() {
  GroupOpening opening;
  if (SelGroup > 0 && GroupDb != nullptr && d4go(GroupDb, SelGroup) == r4success) {
    LoadGroup();
    opening.delete_enabled = true;
  } else {
    GroupRec = GroupRecord{};
    SelGroup = -1;
  }
  opening.number_text = PadNumber(GroupRec.nGroup, 2);
  opening.name = GroupRec.cGroup;
  return opening;
}

int NextGroupNo() {
  if (GroupDb == nullptr || d4recCountDo(GroupDb) <= 0) return 1;
  TAG4* const selected = d4tagSelected(GroupDb);
  SelectTag(GroupDb, "nGroup");
  int c = 0;
  for (int rc = d4top(GroupDb); rc == r4success; rc = d4skip(GroupDb, 1)) {
    const int number = f4int(GroupFld.nGroup);
    if (number > c + 1) break;
    c = number;
  }
  SelectTag(GroupDb, selected);
  return c + 1;
}

bool SaveGroup(const QString& name) {
  if (name.trimmed().isEmpty()) {
    platform::Current().Inform(QStringLiteral("Can't Save Blank Name"));
    return false;
  }
  if (GroupDb == nullptr) return false;
  GroupRec.cGroup = name;
  const bool adding = GroupRec.nGroup == 0;
  if (adding) {
    const int number = NextGroupNo();
    // A third digit would not fit the two-place key: the group could never be found.
    if (number > kMaxGroupNumber) {
      platform::Current().Inform(QStringLiteral("No more than 99 customer groups can be kept."));
      return false;
    }
    GroupRec.nGroup = number;
    if (d4appendBlank(GroupDb) != r4success) {
      platform::Current().Inform(
          QStringLiteral("Unable to add record at this time. Please try later."));
      GroupRec.nGroup = 0;
      return false;
    }
    SelGroup = d4recNo(GroupDb);
  }
  if (d4go(GroupDb, SelGroup) != r4success) return false;
  // Saving a group marked for deletion brings it back, written with the save.
  if (d4deleted(GroupDb) != 0) d4recall(GroupDb);
  if (!StoreGroup()) {
    if (adding && ForgetUnwrittenAppend(GroupDb, &SelGroup)) GroupRec.nGroup = 0;
    return false;
  }
  return true;
}

bool DeleteGroup() {
  if (GroupDb == nullptr || CustDb == nullptr || SelGroup <= 0) return false;
  const long deleted_rec = SelGroup;
  const GroupRecord deleted = GroupRec;
  const platform::Answer answer = platform::Current().AskOkCancel(
      QStringLiteral("Move Customers in ") + deleted.cGroup.trimmed() +
      QStringLiteral(" to a selected group"));
  if (answer != platform::Answer::kOk) return false;

  bool is_new = false;
  const bool chosen = PickGroup(false, &is_new);
  bool receiver_usable = chosen && SelGroup != deleted_rec && d4go(GroupDb, SelGroup) == r4success;
  // Customers moved into a group that is itself marked for deletion would be
  // left with a missing group once the table is packed.
  if (receiver_usable && d4deleted(GroupDb) != 0) receiver_usable = false;
  if (!receiver_usable) {
    // The pick list loaded other groups into GroupRec; the editor stays on this one.
    SelGroup = deleted_rec;
    GroupRec = deleted;
    return false;
  }
  LoadGroup();
  const int receiving_number = GroupRec.nGroup;
  for (int rc = d4top(CustDb); rc == r4success; rc = d4skip(CustDb, 1)) {
    if (f4int(CustFld.ngroup) == deleted.nGroup) f4assignInt(CustFld.ngroup, receiving_number);
  }
  // The customers are on disk in their new group before the group goes.
  if (!FlushChanges(CustDb, store::Table::kCustomers)) return false;
  if (d4go(GroupDb, deleted_rec) != r4success) return false;
  d4delete(GroupDb);
  SelGroup = 0;
  PackPending = true;
  (void)FlushChanges(GroupDb, store::Table::kGroups);  // the operator is told when it fails
  return true;
}

QStringList ReadGroupChoiceItems() {
  GroupChoice.clear();
  QStringList items;
  if (GroupDb == nullptr) return items;
  for (int rc = d4top(GroupDb); rc == r4success; rc = d4skip(GroupDb, 1)) {
    if (d4deleted(GroupDb) != 0) continue;
    LoadGroup();
    items << PadNumber(GroupRec.nGroup, 2) + QStringLiteral(" - ") + GroupRec.cGroup;
  }
  return items;
}

void SetGroupChoice(const QStringList& chosen_items) {
  GroupChoice.clear();
  for (const QString& item : chosen_items) {
    bool ok = false;
    const int number = item.left(2).trimmed().toInt(&ok);
    if (ok) GroupChoice << number;
  }
}

}  // namespace masterdata
