#include "masterdata/PickPurU.h"

#include "store/dbFiles.h"

using namespace masterdata;

TPickPur::TPickPur(QWidget* parent)
    : PickGrid({QStringLiteral("PickPur"),
                QLatin1Char('B'),
                [] { return PurchaseColumns(); },
                PurchasePickConfig(),
                &SelPur,
                platform::WindowId::kPickPur,
                QStringLiteral("Edit1"),
                QStringLiteral("Seek:"),
                false,
                QString(),
                {},
                {}},
               parent) {
  setObjectName(QStringLiteral("PickPur"));
}
