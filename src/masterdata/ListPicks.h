#pragma once
// The two small pick lists read whole into a list box, without the window:
// the customer groups (by name, with a search) and the label stocks. Each
// item remembers its record number, so choosing an item needs no walk.

#include <QString>
#include <QStringList>
#include <vector>

struct TAG4;

namespace masterdata {

struct ListPick {
  QStringList items;        // the names as stored, "<DELETED>" appended when marked
  QStringList upper_names;  // the names upper-cased, for the search
  std::vector<long> rec_nos;
  int highlighted = -1;  // index of the highlighted item; -1 none
};

// Reads GROUPS under tag "cGroup" (loading each group into GroupRec) and
// highlights the group SelGroup names, else the first. The tag selected
// before is returned in *previous_tag, to be selected again on closing.
ListPick ReadGroupPick(TAG4** previous_tag);
void RestoreGroupTag(TAG4* previous_tag);

// Reads LABELS in its tag order (loading each into LabelRec), highlights the
// stock SelLab names, else the first; then sets SelLab to -1.
ListPick ReadLabelPick();

// The group search: with two items or more, the first item whose upper-cased
// name cut to the typed length sorts at or after the typed text (upper-cased,
// trimmed); -1 when there is none. With fewer items the highlight stays.
int SearchGroupPick(const ListPick& pick, const QString& typed);

// Selecting: false (after "Item Not Selected") when nothing is highlighted;
// else *selection becomes the item's record number.
[[nodiscard]] bool SelectListItem(const ListPick& pick, long* selection);

}  // namespace masterdata
