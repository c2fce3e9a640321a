#include "masterdata/PickProdU.h"

#include "store/dbFiles.h"

using namespace masterdata;

TPickProd::TPickProd(QWidget* parent)
    : PickGrid({QStringLiteral("PickProd"),
                QLatin1Char('M'),
                [] { return ProductColumns(); },
                ProductPickConfig(),
                &SelProd,
                platform::WindowId::kPickProd,
                QStringLiteral("Edit1"),
                QStringLiteral("Seek:"),
                false,
                QString(),
                {},
                {}},
               parent) {
  setObjectName(QStringLiteral("PickProd"));
}
