#include "invoicing/TaxDefEdit.h"

#include "masterdata/ProdDefEdit.h"
#include "platform/Platform.h"
#include "store/dbFiles.h"
#include "util/MoneyUtil.h"

namespace invoicing {
namespace {

// 1 to 3 as an item index; anything else as no choice.
int ChoiceIndex(int stored) { return stored >= 1 && stored <= 3 ? stored - 1 : -1; }

}  // namespace

TaxForm OpenTaxDef() {
  const SettingsRecord& s = Settings;
  TaxForm form;
  form.ship_line = s.ShipLine.trimmed();
  form.tax_line = s.TaxLine.trimmed();
  form.rate1 = FormatAmount(s.TaxRate1, QStringLiteral("%5.2f"));
  form.rate2 = FormatAmount(s.TaxRate2, QStringLiteral("%5.2f"));
  form.ship_tax_index = ChoiceIndex(s.ShipTax);
  form.tax_round_index = ChoiceIndex(s.TaxRound);
  form.gst_field = s.GSTField == 1 || s.GSTField == 2 ? s.GSTField : 0;
  return form;
}

bool SaveTaxDef(const TaxForm& form) {
  double rate1 = 0;
  double rate2 = 0;
  if (!masterdata::ReadAmount(form.rate1, &rate1) || !masterdata::ReadAmount(form.rate2, &rate2)) {
    return false;
  }
  SettingsRecord& s = Settings;
  s.ShipLine = form.ship_line.trimmed();
  s.TaxLine = form.tax_line.trimmed();
  s.TaxRate1 = rate1;
  s.TaxRate2 = rate2;
  s.ShipTax = ChoiceIndex(form.ship_tax_index + 1) + 1;
  s.TaxRound = ChoiceIndex(form.tax_round_index + 1) + 1;
  s.GSTField = form.gst_field == 1 || form.gst_field == 2 ? form.gst_field : 0;
  return SaveSettings();
}

void RunTaxCommand() { platform::Current().ShowModal(platform::WindowId::kTaxDef); }

}  // namespace invoicing
