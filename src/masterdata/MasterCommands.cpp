#include "masterdata/MasterCommands.h"

#include "engine/TableEngine.h"
#include "masterdata/PickU.h"
#include "platform/Platform.h"
#include "store/CodeBase.h"
#include "store/FileMaint.h"
#include "store/dbFiles.h"

namespace masterdata {
namespace {

using platform::WindowId;

// The first record in the tag order just selected; 0 for an empty table.
long FirstRecord(DATA4* table) { return d4top(table) == r4success ? d4recNo(table) : 0; }

// Packs the maintained table once every table is closed.
void CloseAndPack(const char* table_name) {
  CloseAllTables();
  if (PackPending) {
    (void)PackTable(table_name, false);
    PackPending = false;
  }
}

}  // namespace

void RunCustomerCommand() {
  PackPending = false;
  if (!OpenCustomers() || !OpenGroups()) {
    CloseAllTables();
    return;
  }
  SelectTag(CustDb, Settings.ByCust ? "cname" : "cComp");
  SelCust = FirstRecord(CustDb);
  bool is_new = false;
  while (PickCustomer(true, &is_new)) {
    if (!is_new) platform::Current().ShowModal(WindowId::kCustomer);
  }
  CloseAndPack("CUST5");
}

void RunGroupCommand() {
  if (!OpenGroups() || !OpenCustomers()) {
    CloseAllTables();
    return;
  }
  SelectTag(GroupDb, "cGroup");
  SelGroup = FirstRecord(GroupDb);
  bool is_new = false;
  while (PickGroup(true, &is_new)) {
    if (!is_new) platform::Current().ShowModal(WindowId::kGroupDef);
  }
  CloseAndPack("GROUPS");
}

}  // namespace masterdata
