#include "masterdata/PickInvU.h"

#include "store/dbFiles.h"

using namespace masterdata;

TPickInv::TPickInv(QWidget* parent)
    : PickGrid({QStringLiteral("Select Invoice"),
                QLatin1Char('M'),
                [] { return InvoiceColumns(); },
                InvoicePickConfig(),
                &SelInv,
                platform::WindowId::kPickInv,
                QStringLiteral("MaskEdit1"),
                QStringLiteral("Seek Invoice No:"),
                true,
                QStringLiteral("Customer:"),
                &InvoiceCustomerText,
                {}},
               parent) {
  setObjectName(QStringLiteral("PickInv"));
}
