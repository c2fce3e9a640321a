#include "masterdata/ListPicks.h"

#include "engine/TableEngine.h"
#include "platform/Platform.h"
#include "store/CodeBase.h"
#include "store/dbFiles.h"

namespace masterdata {
namespace {

void AddItem(ListPick* pick, DATA4* table, const QString& name, long selected) {
  const long rec_no = d4recNo(table);
  QString item = name;
  if (d4deleted(table) != 0) item += QStringLiteral("<DELETED>");
  if (rec_no == selected) pick->highlighted = static_cast<int>(pick->items.size());
  pick->items << item;
  pick->upper_names << name.toUpper();
  pick->rec_nos.push_back(rec_no);
}

}  // namespace

ListPick ReadGroupPick(TAG4** previous_tag) {
  ListPick pick;
  *previous_tag = nullptr;
  if (GroupDb == nullptr) return pick;
  *previous_tag = d4tagSelected(GroupDb);
  SelectTag(GroupDb, "cGroup");
  for (int rc = d4top(GroupDb); rc == r4success; rc = d4skip(GroupDb, 1)) {
    LoadGroup();
    AddItem(&pick, GroupDb, GroupRec.cGroup, SelGroup);
  }
  if (pick.highlighted < 0 && !pick.items.isEmpty()) pick.highlighted = 0;
  return pick;
}

void RestoreGroupTag(TAG4* previous_tag) {
  if (GroupDb != nullptr) SelectTag(GroupDb, previous_tag);
}

ListPick ReadLabelPick() {
  ListPick pick;
  if (LabelDb != nullptr) {
    for (int rc = d4top(LabelDb); rc == r4success; rc = d4skip(LabelDb, 1)) {
      LoadLabel();
      AddItem(&pick, LabelDb, LabelRec.Name, SelLab);
    }
  }
  if (pick.highlighted < 0 && !pick.items.isEmpty()) pick.highlighted = 0;
  SelLab = -1;
  return pick;
}

int SearchGroupPick(const ListPick& pick, const QString& typed) {
  if (pick.items.size() < 2) return pick.highlighted;
  const QString text = typed.toUpper().trimmed();
  for (qsizetype i = 0; i < pick.upper_names.size(); ++i) {
    if (pick.upper_names[i].left(text.size()) >= text) return static_cast<int>(i);
  }
  return -1;
}

bool SelectListItem(const ListPick& pick, long* selection) {
  if (pick.highlighted < 0 || pick.highlighted >= static_cast<int>(pick.rec_nos.size())) {
    platform::Current().Inform(QStringLiteral("Item Not Selected"));
    return false;
  }
  *selection = pick.rec_nos[static_cast<size_t>(pick.highlighted)];
  return true;
}

}  // namespace masterdata
