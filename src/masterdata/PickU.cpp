#include "masterdata/PickU.h"

#include <QString>
#include <map>

#include "engine/TableEngine.h"
#include "store/CodeBase.h"
#include "store/dbFiles.h"

namespace masterdata {
namespace {

using platform::WindowId;

std::map<WindowId, bool>& NewEnabled() {
  static std::map<WindowId, bool> enabled;
  return enabled;
}

std::map<WindowId, bool>& Editors() {
  static std::map<WindowId, bool> ready{{WindowId::kCustomer, true}, {WindowId::kGroupDef, true}};
  return ready;
}

struct PickKind {
  DATA4* table;
  long* selection;
  WindowId pick;
  WindowId editor;
  const char* empty_text;
  bool new_needs_positive;  // groups and label stock count only a saved record as new
};

bool RunPick(const PickKind& kind, bool allow_new, bool* is_new) {
  *is_new = false;
  const long count = kind.table != nullptr ? d4recCountDo(kind.table) : 0;
  if (count <= 0) {
    if (!allow_new) {
      platform::Current().Inform(QString::fromLatin1(kind.empty_text));
      *kind.selection = -1;
      return false;
    }
    *kind.selection = 0;
  }
  const bool new_allowed = allow_new && EditorReady(kind.editor);
  NewEnabled()[kind.pick] = new_allowed;
  platform::Current().ShowModal(kind.pick);
  NewEnabled()[kind.pick] = false;
  if (*kind.selection == 0) {
    // New from a list that may not create reads as nothing chosen.
    if (!new_allowed) {
      *kind.selection = -1;
      return false;
    }
    platform::Current().ShowModal(kind.editor);
    *is_new = kind.new_needs_positive ? *kind.selection > 0 : *kind.selection != 0;
  }
  return *kind.selection > 0;
}

}  // namespace

bool PickCustomer(bool allow_new, bool* is_new) {
  if (CustDb != nullptr) SelectTag(CustDb, "cname");
  return RunPick({CustDb, &SelCust, WindowId::kPickCust, WindowId::kCustomer,
                  "Customer Database is Empty", false},
                 allow_new, is_new);
}

bool PickGroup(bool allow_new, bool* is_new) {
  return RunPick({GroupDb, &SelGroup, WindowId::kPickGroup, WindowId::kGroupDef,
                  "Group Database is Empty", true},
                 allow_new, is_new);
}

bool PickProduct(bool allow_new, bool* is_new) {
  return RunPick({ProdDb, &SelProd, WindowId::kPickProd, WindowId::kProdDef,
                  "Product Database is Empty", false},
                 allow_new, is_new);
}

bool PickInvoice(bool allow_new, bool* is_new) {
  return RunPick(
      {InvDb, &SelInv, WindowId::kPickInv, WindowId::kInvoice, "Invoice Database is Empty", false},
      allow_new, is_new);
}

bool PickPurchase(bool allow_new, bool* is_new) {
  return RunPick(
      {PurDb, &SelPur, WindowId::kPickPur, WindowId::kPurDef, "Purchase Database is Empty", false},
      allow_new, is_new);
}

bool PickLabel(bool allow_new, bool* is_new) {
  return RunPick(
      {LabelDb, &SelLab, WindowId::kPickLab, WindowId::kLabelDef, "Label Database is Empty", true},
      allow_new, is_new);
}

bool PickNewEnabled(platform::WindowId pick) {
  const auto found = NewEnabled().find(pick);
  return found != NewEnabled().end() && found->second;
}

void SetEditorReady(platform::WindowId editor, bool ready) { Editors()[editor] = ready; }

bool EditorReady(platform::WindowId editor) {
  const auto found = Editors().find(editor);
  return found != Editors().end() && found->second;
}

}  // namespace masterdata
