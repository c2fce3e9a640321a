#pragma once
// The help window: the program's HTML help topics, compiled into the program,
// one topic per help context, shown in a browser window that stays open beside
// the program.

#include <QDialog>
#include <QUrl>

class QTextBrowser;
class QPushButton;

// Help contexts of the main window and its tabs.
inline constexpr int kHelpMainWindow = 10;
inline constexpr int kHelpInvoices = 300;
inline constexpr int kHelpCustomers = 400;
inline constexpr int kHelpReports = 500;
inline constexpr int kHelpPreferences = 600;
inline constexpr int kHelpFileMaintenance = 700;

// The topic page of a help context; the contents page for an unknown context.
QUrl HelpTopic(int context);
QUrl HelpContents();

class THelpForm final : public QDialog {
  Q_OBJECT

 public:
  explicit THelpForm(QWidget* parent = nullptr);

  // Shows the window on the page and brings it to the front.
  void ShowPage(const QUrl& page);

  QTextBrowser* HelpBrowser;
  QPushButton* BtnContents;
  QPushButton* BtnBack;
  QPushButton* BtnClose;
};
