#include "masterdata/MasterDataWindows.h"

#include <QAbstractButton>
#include <QDialog>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QShortcut>

#include "masterdata/CustomerU.h"
#include "masterdata/GroupDefU.h"
#include "masterdata/ListPicks.h"
#include "masterdata/MultGroupU.h"
#include "masterdata/PickCustU.h"
#include "masterdata/PickGroupU.h"
#include "masterdata/PickInvU.h"
#include "masterdata/PickLabU.h"
#include "masterdata/PickProdU.h"
#include "masterdata/PickPurU.h"
#include "platform/QtPlatform.h"
#include "util/WindowKit.h"

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

ListPickParts MakeListPickParts(QDialog* window, const QString& name, const QString& list_name,
                                ListPick* pick, const std::function<void()>& on_select,
                                const std::function<void()>& on_new,
                                const std::function<void()>& on_cancel) {
  window->setObjectName(name);
  window->setWindowTitle(name);
  ListPickParts parts{};
  parts.list = new QListWidget(window);
  parts.list->setObjectName(QStringLiteral("ListBox1"));
  parts.list->setAccessibleName(list_name);
  parts.select = util::MakeButton(window, "BtnSelect", QStringLiteral("Select"));
  parts.add = util::MakeButton(window, "BtnNew", QStringLiteral("New"));
  parts.cancel = util::MakeButton(window, "BtnCancel", QStringLiteral("Cancel"));
  parts.buttons = new QHBoxLayout;
  for (QPushButton* b : {parts.select, parts.add, parts.cancel}) parts.buttons->addWidget(b);
  QObject::connect(parts.select, &QPushButton::clicked, window, on_select);
  QObject::connect(parts.add, &QPushButton::clicked, window, on_new);
  QObject::connect(parts.cancel, &QPushButton::clicked, window, on_cancel);
  QObject::connect(parts.list, &QListWidget::itemDoubleClicked, window, on_select);
  QObject::connect(parts.list, &QListWidget::currentRowChanged, window,
                   [pick](int row) { pick->highlighted = row; });
  return parts;
}

}  // namespace masterdata
