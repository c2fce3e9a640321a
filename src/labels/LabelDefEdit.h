#pragma once
// The label stock editor and the "Label Forms" command without their
// window: opening a stock (a new one with every measure 0 and one label
// across), saving it into LABELS, and the pick-and-edit loop over the label
// stocks, which never deletes or packs. Works on LabelRec, SelLab and the
// open LABELS table.

#include <QString>
#include <array>

namespace labels {

inline constexpr int kHelpLabelDef = 620;
inline constexpr int kMeasureCount = 8;
// Labels across are typed as one digit.
inline constexpr int kMaxAcross = 9;

// The editor's fields: the measures (TopM, LeftM, BottomM, RightM, Width,
// Height, HGap, VGap, in printer points) as their field texts ("%8.3f") and
// the labels across as typed.
struct LabelForm {
  QString name;
  std::array<QString, kMeasureCount> measures;
  QString across;
  bool continuous = false;
};

// Loads the stock SelLab names (greater than 0), or clears LabelRec for a
// new one.
LabelForm OpenLabelDef();

// Save: false (the editor stays open, nothing written) for a blank name, a
// measure or count that is not a number, a count outside 1 to 9, or a record
// that could not be appended; true when stored (SelLab names the record).
[[nodiscard]] bool SaveLabelDef(const LabelForm& form);

// "Label Forms": opens LABELS, loops the label stock pick list and the editor
// until the pick list is cancelled, and closes the tables.
void RunLabelFormsCommand();

}  // namespace labels
