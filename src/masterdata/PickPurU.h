#pragma once
// The inventory purchase pick list: purchases by product and date.

#include "masterdata/PickGrid.h"

class TPickPur final : public masterdata::PickGrid {
  Q_OBJECT

 public:
  explicit TPickPur(QWidget* parent = nullptr);
};
