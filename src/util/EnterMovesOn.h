#pragma once
// Enter in a one-line field moves the focus to the next control in tab order
// instead of pressing the window's default button: one event filter that a
// window installs on itself (catching the key as it bubbles up from its
// fields) or on single fields.

#include <QObject>

class QWidget;

class EnterMovesOn final : public QObject {
  Q_OBJECT

 public:
  explicit EnterMovesOn(QObject* parent = nullptr);

  // Installs one filter, owned by the window, on the window and on every
  // one-line field it holds now; fields added later are still covered
  // through the window.
  static EnterMovesOn* InstallOn(QWidget* window);

  // Line edits, spin boxes and date edits.
  static bool IsOneLineField(const QWidget* widget);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
};

// Moves the focus from the widget to the next control of its window in tab
// order that takes the focus by Tab, as Tab itself would.
void MoveFocusOn(QWidget* from);
