#include "labels/LabelDefEdit.h"

#include "engine/TableEngine.h"
#include "masterdata/PickU.h"
#include "masterdata/ProdDefEdit.h"
#include "platform/Platform.h"
#include "store/dbFiles.h"
#include "util/MoneyUtil.h"

namespace labels {
namespace {

// The measures of the record in the order of the editor's fields.
std::array<double*, kMeasureCount> Measures(LabelRecord& r) {
  return {&r.TopM, &r.LeftM, &r.BottomM, &r.RightM, &r.Width, &r.Height, &r.HGap, &r.VGap};
}

// Reads the labels across; reports a text that is not a whole number, or a
// count no label sheet can have.
bool ReadAcross(const QString& text, int* across) {
  const QString bare = text.trimmed();
  bool ok = false;
  const int value = bare.toInt(&ok);
  if (!ok) {
    platform::Current().Inform(QStringLiteral("'%1' is not a valid integer value.").arg(bare));
    return false;
  }
  if (value < 1 || value > kMaxAcross) {
    platform::Current().Inform(
        QStringLiteral("No. Labels Across must be from 1 to %1.").arg(kMaxAcross));
    return false;
  }
  *across = value;
  return true;
}

}  // namespace

LabelForm OpenLabelDef() {
  if (SelLab > 0 && LabelDb != nullptr && d4go(LabelDb, SelLab) == r4success) {
    LoadLabel();
  } else {
    LabelRec = LabelRecord{};
  }
  LabelForm form;
  form.name = LabelRec.Name.trimmed();
  const std::array<double*, kMeasureCount> measures = Measures(LabelRec);
  for (int i = 0; i < kMeasureCount; ++i) {
    form.measures[i] = FormatAmount(*measures[i], QStringLiteral("%8.3f"));
  }
  form.across = QString::number(LabelRec.NAcross);
  form.continuous = LabelRec.Continuous;
  return form;
}

bool SaveLabelDef(const LabelForm& form) {
  const QString name = form.name.trimmed();
  if (name.isEmpty()) {
    platform::Current().Inform(QStringLiteral("Please fill in label name."));
    return false;
  }
  LabelRecord record;
  record.Name = name;
  const std::array<double*, kMeasureCount> measures = Measures(record);
  for (int i = 0; i < kMeasureCount; ++i) {
    if (!masterdata::ReadAmount(form.measures[i], measures[i])) return false;
  }
  if (!ReadAcross(form.across, &record.NAcross)) return false;
  record.Continuous = form.continuous;
  if (LabelDb == nullptr) return false;

  // Anything but a saved stock's number is a new stock: storing into
  // whatever row happens to be current would overwrite another stock.
  const bool adding = SelLab <= 0;
  if (!adding) {
    if (d4go(LabelDb, SelLab) != r4success) return false;
  } else {
    if (d4appendBlank(LabelDb) != r4success) {
      platform::Current().Inform(QStringLiteral("Unable to Append record . . Please try again."));
      return false;
    }
    SelLab = d4recNo(LabelDb);
  }
  LabelRec = record;
  if (StoreLabel()) return true;
  if (adding) ForgetUnwrittenAppend(LabelDb, &SelLab);
  return false;
}

void RunLabelFormsCommand() {
  if (!OpenLabels()) {
    CloseAllTables();
    return;
  }
  SelLab = d4top(LabelDb) == r4success ? d4recNo(LabelDb) : 0;
  bool is_new = false;
  while (masterdata::PickLabel(true, &is_new)) {
    if (!is_new) platform::Current().ShowModal(platform::WindowId::kLabelDef);
  }
  CloseAllTables();
}

}  // namespace labels
