#pragma once
// Creating the master data windows once for the run and registering them
// with the program's platform, and the help hook their Help buttons and F1
// call.

#include <functional>

class QWidget;

namespace platform {
class QtPlatform;
}

class QAbstractButton;

namespace masterdata {

inline constexpr int kHelpCustomer = 410;
inline constexpr int kHelpGroup = 420;

// Creates TCustomer, TPickCust, TPickGroup, TGroupDef, TPickProd, TPickInv,
// TMultGroup, TPickPur and TPickLab (in that order), parented to `parent`,
// and registers each under its window id. Creates them only once.
void CreateMasterDataWindows(QWidget* parent, platform::QtPlatform* qt_platform);

// What opens the help topic of a help context; unset, help does nothing.
void SetHelpHandler(std::function<void(int context)> handler);
void ShowHelp(int context);
// A window's help: F1 anywhere in it, and its Help button when it has one,
// open the topic of the context.
void InstallHelp(QWidget* window, QAbstractButton* help_button, int context);

}  // namespace masterdata
