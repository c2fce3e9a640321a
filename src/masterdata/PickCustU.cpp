#include "masterdata/PickCustU.h"

#include "store/dbFiles.h"

using namespace masterdata;

TPickCust::TPickCust(QWidget* parent)
    : PickGrid({QStringLiteral("Select Customer"), QLatin1Char('B'),
                [] { return CustomerColumns(Settings.ByCust); }, CustomerPickConfig(), &SelCust,
                platform::WindowId::kPickCust, QStringLiteral("Edit1"), QStringLiteral("Seek:"),
                false, QStringLiteral("Group:"), &CustomerGroupText, &SelectCustomerPickTag},
               parent) {
  setObjectName(QStringLiteral("PickCust"));
}
