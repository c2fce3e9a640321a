#pragma once
// The sales tax settings without their window: the labels and percentages of
// the two computed lines, tax on tax, rounding and which line is the GST/VAT
// tax, as the window shows them, and the save that changes the settings in
// memory and writes the whole settings record back to PLM1.

#include <QString>

namespace invoicing {

inline constexpr int kHelpTaxDef = 630;

// The window's fields: the rates as their field texts ("%5.2f"); the choices
// as the item index of their group (-1: none chosen) and the GST/VAT line
// (1, 2, or 0 for neither).
struct TaxForm {
  QString ship_line;
  QString rate1;
  QString tax_line;
  QString rate2;
  int ship_tax_index = -1;   // "No", "Yes", "When Tax on Items"
  int tax_round_index = -1;  // "Normal", "Up", "Down"
  int gst_field = 0;
};

// The settings as the window opens on them: labels trimmed, a stored choice
// outside 1 to 3 shows none.
TaxForm OpenTaxDef();

// Save: false (nothing changed) when a rate is not a number (reported);
// otherwise the settings take the window's values at once and are written
// whole into PLM1.
[[nodiscard]] bool SaveTaxDef(const TaxForm& form);

// "Sales Tax": shows the tax window.
void RunTaxCommand();

}  // namespace invoicing
