#pragma once
// Closes every modal dialog that comes up while it lives, however late, and
// counts them: a test presses a button that opens a dialog and goes on
// without guessing how long the dialog takes to appear.

#include <QApplication>
#include <QDialog>
#include <QTimer>

namespace testdata {

class ModalCloser {
 public:
  explicit ModalCloser(int interval_ms = 10) {
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
        ++closed_;
        dialog->reject();
      }
    });
    timer_.start(interval_ms);
  }
  int Closed() const { return closed_; }

 private:
  QTimer timer_;
  int closed_ = 0;
};

}  // namespace testdata
