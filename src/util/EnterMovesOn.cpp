#include "util/EnterMovesOn.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QWidget>

EnterMovesOn::EnterMovesOn(QObject* parent) : QObject(parent) {}

EnterMovesOn* EnterMovesOn::InstallOn(QWidget* window) {
  auto* filter = new EnterMovesOn(window);
  window->installEventFilter(filter);
  const QList<QWidget*> children = window->findChildren<QWidget*>();
  for (QWidget* child : children) {
    if (IsOneLineField(child)) child->installEventFilter(filter);
  }
  return filter;
}

bool EnterMovesOn::IsOneLineField(const QWidget* widget) {
  return qobject_cast<const QLineEdit*>(widget) != nullptr ||
         qobject_cast<const QAbstractSpinBox*>(widget) != nullptr;
}

bool EnterMovesOn::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress) return false;
  const auto* key = static_cast<QKeyEvent*>(event);
  if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) return false;
  if ((key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) return false;

  // On a window the key arrives after its field let it pass; the field is
  // the focus widget then.
  auto* widget = qobject_cast<QWidget*>(watched);
  if (widget != nullptr && widget->isWindow()) widget = QApplication::focusWidget();
  if (widget == nullptr) return false;
  // A spin box's inner line edit hands its focus to the spin box.
  if (!IsOneLineField(widget)) return false;
  MoveFocusOn(widget);
  return true;
}

void MoveFocusOn(QWidget* from) {
  if (from == nullptr) return;
  // A field inside a composite (the line edit of a spin box) moves on from
  // the composite.
  while (from->focusProxy() != nullptr) from = from->focusProxy();
  QWidget* window = from->window();
  for (QWidget* next = from->nextInFocusChain(); next != nullptr && next != from;
       next = next->nextInFocusChain()) {
    if (next->window() != window) continue;
    if ((next->focusPolicy() & Qt::TabFocus) != Qt::TabFocus) continue;
    if (!next->isVisibleTo(window) || !next->isEnabled()) continue;
    if (next->focusProxy() != nullptr) continue;
    next->setFocus(Qt::TabFocusReason);
    return;
  }
}
