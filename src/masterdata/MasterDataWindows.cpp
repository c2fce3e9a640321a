#include "masterdata/MasterDataWindows.h"

#include <QAbstractButton>
#include <QShortcut>

#include "masterdata/CustomerU.h"
#include "masterdata/GroupDefU.h"
#include "masterdata/MultGroupU.h"
#include "masterdata/PickCustU.h"
#include "masterdata/PickGroupU.h"
#include "masterdata/PickInvU.h"
#include "masterdata/PickLabU.h"
#include "masterdata/PickProdU.h"
#include "masterdata/PickPurU.h"
#include "platform/QtPlatform.h"

namespace masterdata {
namespace {

std::function<void(int)>& HelpHandler() {
  static std::function<void(int)> handler;
  return handler;
}

}  // namespace

void CreateMasterDataWindows(QWidget* parent, platform::QtPlatform* qt_platform) {
  static bool created = false;
  if (created || qt_platform == nullptr) return;
  created = true;
  using platform::WindowId;
  qt_platform->RegisterWindow(WindowId::kCustomer, new TCustomer(parent));
  qt_platform->RegisterWindow(WindowId::kPickCust, new TPickCust(parent));
  qt_platform->RegisterWindow(WindowId::kPickGroup, new TPickGroup(parent));
  qt_platform->RegisterWindow(WindowId::kGroupDef, new TGroupDef(parent));
  qt_platform->RegisterWindow(WindowId::kPickProd, new TPickProd(parent));
  qt_platform->RegisterWindow(WindowId::kPickInv, new TPickInv(parent));
  qt_platform->RegisterWindow(WindowId::kMultGroup, new TMultGroup(parent));
  qt_platform->RegisterWindow(WindowId::kPickPur, new TPickPur(parent));
  qt_platform->RegisterWindow(WindowId::kPickLab, new TPickLab(parent));
}

void SetHelpHandler(std::function<void(int context)> handler) {
  HelpHandler() = std::move(handler);
}

void ShowHelp(int context) {
  if (HelpHandler()) HelpHandler()(context);
}

void InstallHelp(QWidget* window, QAbstractButton* help_button, int context) {
  auto* help_key = new QShortcut(QKeySequence(Qt::Key_F1), window);
  QObject::connect(help_key, &QShortcut::activated, window, [context] { ShowHelp(context); });
  if (help_button != nullptr) {
    QObject::connect(help_button, &QAbstractButton::clicked, window,
                     [context] { ShowHelp(context); });
  }
}

}  // namespace masterdata
