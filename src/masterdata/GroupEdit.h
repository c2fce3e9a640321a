#pragma once
// The customer group editor and the multiple group choice without their
// windows: opening a group, saving it (a new group takes the next free
// number), deleting it after moving its customers to a receiving group, and
// the program-wide list of chosen group numbers.

#include <QList>
#include <QString>
#include <QStringList>

namespace masterdata {

// Group numbers are two places wide in the "nGroup" key.
inline constexpr int kMaxGroupNumber = 99;

struct GroupOpening {
  bool delete_enabled = false;
  QString number_text;  // the number right-aligned in 2 characters
  QString name;         // as stored
};

// Loads the group SelGroup names (greater than 0), or clears GroupRec and
// sets SelGroup to -1 for a new one.
GroupOpening OpenGroupEditor();

// The lowest number above the unbroken run of group numbers from 1.
int NextGroupNo();

// Save: false (the window stays) for a blank name, when no number is left or
// a new record could not be appended; true when stored.
[[nodiscard]] bool SaveGroup(const QString& name);

// Delete: asks, picks the receiving group and moves the customers; true when
// the group was marked for deletion (the window closes), false when nothing
// changed (the window stays on the group).
[[nodiscard]] bool DeleteGroup();

// The numbers chosen in the multiple group choice; empty when none.
extern QList<int> GroupChoice;

// The items of the multiple group choice: every group not marked deleted, in
// the table's current tag order, as "nn - name". Empties GroupChoice.
QStringList ReadGroupChoiceItems();
// Sets GroupChoice from the chosen items (their first two characters).
void SetGroupChoice(const QStringList& chosen_items);

}  // namespace masterdata
