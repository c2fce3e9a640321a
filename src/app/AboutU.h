#pragma once
// The About box: program name and version. At start-up it doubles as the
// splash screen, shown without its OK button while the splash flag is set.

#include <QDialog>

class QLabel;
class QPushButton;

class TAboutForm final : public QDialog {
  Q_OBJECT

 public:
  explicit TAboutForm(QWidget* parent = nullptr);

  QLabel* ProgramIcon;
  QLabel* ProductName;
  QLabel* Version;
  QLabel* Copyright;
  QPushButton* OKButton;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void FormShow();
};

// True while the About box is shown as the start-up splash.
extern bool Splash;
