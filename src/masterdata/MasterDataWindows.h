#pragma once
// Creating the master data windows once for the run and registering them
// with the program's platform, and the help hook their Help buttons and F1
// call.

#include <functional>

#include "masterdata/PickU.h"
#include "platform/QtPlatform.h"

class QDialog;
class QHBoxLayout;
class QListWidget;
class QPushButton;
class QString;
class QWidget;

class QAbstractButton;

namespace masterdata {

inline constexpr int kHelpCustomer = 410;
inline constexpr int kHelpGroup = 420;

// Creates TCustomer, TPickCust, TPickGroup, TGroupDef, TPickProd, TPickInv,
// TMultGroup, TPickPur and TPickLab (in that order), parented to `parent`,
// and registers each under its window id. Creates them only once.
void CreateMasterDataWindows(QWidget* parent, platform::QtPlatform* qt_platform);

// Creates a Window once for the run, parented to `parent`, and registers it
// under id; an editor that a pick list's New opens is marked ready.
template <class Window>
void CreateWindowOnce(QWidget* parent, platform::QtPlatform* qt_platform, platform::WindowId id,
                      bool pick_list_editor) {
  static bool created = false;
  if (created || qt_platform == nullptr) return;
  created = true;
  qt_platform->RegisterWindow(id, new Window(parent));
  if (pick_list_editor) SetEditorReady(id, true);
}

// What opens the help topic of a help context; unset, help does nothing.
void SetHelpHandler(std::function<void(int context)> handler);
void ShowHelp(int context);
// A window's help: F1 anywhere in it, and its Help button when it has one,
// open the topic of the context.
void InstallHelp(QWidget* window, QAbstractButton* help_button, int context);

struct ListPick;

// The parts of a list-box pick window (groups, label stocks): the named list
// box and Select, New and Cancel buttons, wired to the window's handlers
// (double-click selects; the highlighted row follows into pick->highlighted),
// with the buttons in a row. The window lays them out.
struct ListPickParts {
  QListWidget* list;
  QPushButton* select;
  QPushButton* add;
  QPushButton* cancel;
  QHBoxLayout* buttons;
};
ListPickParts MakeListPickParts(QDialog* window, const QString& name, const QString& list_name,
                                ListPick* pick, const std::function<void()>& on_select,
                                const std::function<void()>& on_new,
                                const std::function<void()>& on_cancel);

}  // namespace masterdata
