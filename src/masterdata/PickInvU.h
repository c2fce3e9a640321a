#pragma once
// The invoice pick list: invoices by number, with the invoice's customer in the information box.

#include "masterdata/PickGrid.h"

class TPickInv final : public masterdata::PickGrid {
  Q_OBJECT

 public:
  explicit TPickInv(QWidget* parent = nullptr);
};
