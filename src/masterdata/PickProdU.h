#pragma once
// The product pick list: products and services by product ID.

#include "masterdata/PickGrid.h"

class TPickProd final : public masterdata::PickGrid {
  Q_OBJECT

 public:
  explicit TPickProd(QWidget* parent = nullptr);
};
