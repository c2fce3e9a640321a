#pragma once
// The window shared by the four grid pick lists: a grid of a title row and
// ten data rows, a scroll bar beside it, a search box, an optional
// information box and the Select, New and Cancel buttons, all driven by a
// PickGridModel. The pick list classes only say what differs.

#include <QDialog>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

#include "masterdata/PickLists.h"
#include "masterdata/PickModel.h"
#include "platform/Platform.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;
class QTableWidget;

namespace masterdata {

struct PickGridSetup {
  QString title;
  QChar unit_letter;  // the letter whose width is the unit of column widths
  std::function<std::vector<PickColumn>()> columns;
  PickGridConfig config;
  long* selection;           // the table's selection number
  platform::WindowId id;     // this window, for the New button's state
  QString search_name;       // "Edit1" or "MaskEdit1"
  QString search_label;      // "Seek:" or "Seek Invoice No:"
  bool digits_only = false;  // the invoice number search takes six digits
  QString info_label;        // empty: no information box
  std::function<QString(long)> info_text;
  std::function<void()> before_open;  // e.g. selecting the customer tag
};

class PickGrid : public QDialog {
  Q_OBJECT

 public:
  PickGrid(PickGridSetup setup, QWidget* parent);
  ~PickGrid() override;

  PickGridModel& model() { return model_; }

  QTableWidget* StringGrid1;
  QScrollBar* ScrollBar1;
  QLineEdit* SearchEdit;  // objectName Edit1 or MaskEdit1
  QLabel* SearchLabel;
  QLineEdit* Edit2;  // the information box; null when the list has none
  QLabel* InfoLabel;
  QPushButton* BtnSelect;
  QPushButton* BtnNew;
  QPushButton* BtnCancel;

  void FormShow();
  void BtnSelectClick();
  void BtnNewClick();
  void BtnCancelClick();
  void SearchChange(const QString& text);
  void ScrollBar1Action(int action);
  void ScrollBar1Released();
  void StringGrid1CellClick(int row, int column);
  void StringGrid1DblClick();

 protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void CreateControls();
  void LayOutControls();
  void ConnectHandlers();
  void SetUpColumns();
  // Copies the model's page into the grid and the thumb, and the highlight.
  void ShowPage();
  void ShowInfo();
  void SyncCurrentRow();
  [[nodiscard]] bool HandleGridKey(int key);

  PickGridSetup setup_;
  PickGridModel model_;
  bool showing_page_ = false;
};

}  // namespace masterdata
