#include "SettingsRow.h"

#include <charconv>

#include "DataDir.h"
#include "store/TableDefs.h"

namespace tool {

SettingsValues DefaultSettings() {
  return {{"FontSize", "0"},         {"LogoHeight", "0"}, {"LogoWidth", "0"},
          {"TopMargin", "0"},        {"LHJustify", "1"},  {"ShipLine", "Computed 1"},
          {"TaxLine", "Computed 2"}, {"TaxRate1", "0"},   {"TaxRate2", "0"},
          {"ShipTax", "1"},          {"TaxRound", "1"},   {"GSTField", "2"},
          {"ByCust", "T"},           {"fifo", "T"}};
}

bool WriteSettingsRow(CODE4* cb, const SettingsValues& values, std::string* error) {
  const store::TableDef& def = store::Def(store::Table::kSettings);
  const int auto_open = code4autoOpen(cb, 0);
  DATA4* data = d4open(cb, def.name);
  code4autoOpen(cb, auto_open);
  int rc = code4errorCode(cb, 0);
  if (data == nullptr || rc < 0) {
    *error = std::string(def.data_file) + ": " + ErrorText(rc < 0 ? rc : e4open);
    CloseAfterError(cb, data);
    return false;
  }
  rc = d4appendBlank(data);
  for (const auto& [name, text] : values) {
    if (rc < 0) break;
    FIELD4* field = d4field(data, name.c_str());
    if (field == nullptr) {
      rc = e4field;
      break;
    }
    switch (f4type(field)) {
      case 'N': {
        // The values are written with a point, read so in any locale.
        double value = 0;
        std::from_chars(text.data(), text.data() + text.size(), value);
        f4assignDouble(field, value);
        break;
      }
      default:
        f4assign(field, text.c_str());
    }
  }
  // Logicals never left blank: an unset flag reads as false anyway, but other
  // readers show blanks as "unknown".
  for (const store::FieldDef& field_def : def.fields) {
    if (rc < 0 || field_def.type != 'L') continue;
    bool named = false;
    for (const auto& value : values) named = named || value.first == field_def.name;
    if (!named) f4assign(d4field(data, field_def.name), "F");
  }
  const int close_rc = d4close(data);
  const int pending = code4errorCode(cb, 0);
  if (rc < 0 || close_rc < 0 || pending < 0) {
    const int code = rc < 0 ? rc : (close_rc < 0 ? close_rc : pending);
    *error = std::string(def.data_file) + ": the settings row was not written: " + ErrorText(code);
    return false;
  }
  return true;
}

}  // namespace tool
