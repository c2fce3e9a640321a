#pragma once
// The customer pick list: customers by name or by company, with the customer's group in the
// information box.

#include "masterdata/PickGrid.h"

class TPickCust final : public masterdata::PickGrid {
  Q_OBJECT

 public:
  explicit TPickCust(QWidget* parent = nullptr);
};
