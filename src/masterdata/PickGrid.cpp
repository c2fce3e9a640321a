#include "masterdata/PickGrid.h"

#include <QApplication>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QScrollBar>
#include <QTableWidget>
#include <QVBoxLayout>

#include "masterdata/PickU.h"
#include "util/WindowKit.h"

namespace masterdata {

PickGrid::PickGrid(PickGridSetup setup, QWidget* parent)
    : QDialog(parent), setup_(std::move(setup)), model_(setup_.config) {
  setWindowTitle(setup_.title);

  CreateControls();
  LayOutControls();
  ConnectHandlers();
}

void PickGrid::CreateControls() {
  StringGrid1 = new QTableWidget(kPageRows, 1, this);
  StringGrid1->setObjectName(QStringLiteral("StringGrid1"));
  StringGrid1->setAccessibleName(setup_.title);
  StringGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
  StringGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
  StringGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
  StringGrid1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  StringGrid1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  StringGrid1->verticalHeader()->hide();
  StringGrid1->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  StringGrid1->setTabKeyNavigation(false);
  StringGrid1->installEventFilter(this);

  ScrollBar1 = new QScrollBar(Qt::Vertical, this);
  ScrollBar1->setObjectName(QStringLiteral("ScrollBar1"));
  ScrollBar1->setAccessibleName(QStringLiteral("Scroll the list"));
  ScrollBar1->setRange(0, 100);
  ScrollBar1->setPageStep(10);

  SearchEdit = util::MakeEdit(this, setup_.search_name.toLatin1().constData(), QString());
  SearchLabel = util::MakeLabel(this, setup_.search_label, SearchEdit);
  if (setup_.digits_only) {
    SearchEdit->setMaxLength(6);
    SearchEdit->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9 ]{0,6}")), this));
  }

  Edit2 = nullptr;
  InfoLabel = nullptr;
  if (!setup_.info_label.isEmpty()) {
    Edit2 = util::MakeEdit(this, "Edit2", QString());
    util::ShowOnly(Edit2);
    InfoLabel = util::MakeLabel(this, setup_.info_label, Edit2);
  }

  BtnSelect = util::MakeButton(this, "BtnSelect", QStringLiteral("Select"));
  BtnNew = util::MakeButton(this, "BtnNew", QStringLiteral("New"));
  BtnCancel = util::MakeButton(this, "BtnCancel", QStringLiteral("Cancel"));
}

void PickGrid::LayOutControls() {
  auto* grid_row = new QHBoxLayout;
  grid_row->setSpacing(0);
  grid_row->addWidget(StringGrid1);
  grid_row->addWidget(ScrollBar1);
  grid_row->addStretch();

  auto* search_row = new QHBoxLayout;
  search_row->addWidget(SearchLabel);
  search_row->addWidget(SearchEdit, 1);
  if (Edit2 != nullptr) {
    search_row->addSpacing(12);
    search_row->addWidget(InfoLabel);
    search_row->addWidget(Edit2, 1);
  }

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(10, 10, 10, 10);
  layout->addLayout(grid_row);
  layout->addLayout(search_row);
  layout->addLayout(util::ButtonRow({BtnSelect, BtnNew, BtnCancel}));
}

void PickGrid::ConnectHandlers() {
  connect(BtnSelect, &QPushButton::clicked, this, &PickGrid::BtnSelectClick);
  connect(BtnNew, &QPushButton::clicked, this, &PickGrid::BtnNewClick);
  connect(BtnCancel, &QPushButton::clicked, this, &PickGrid::BtnCancelClick);
  connect(SearchEdit, &QLineEdit::textChanged, this, &PickGrid::SearchChange);
  connect(ScrollBar1, &QScrollBar::actionTriggered, this, &PickGrid::ScrollBar1Action);
  connect(ScrollBar1, &QScrollBar::sliderReleased, this, &PickGrid::ScrollBar1Released);
  connect(StringGrid1, &QTableWidget::cellClicked, this, &PickGrid::StringGrid1CellClick);
  connect(StringGrid1, &QTableWidget::cellDoubleClicked, this,
          [this](int, int) { StringGrid1DblClick(); });
  connect(StringGrid1, &QTableWidget::currentCellChanged, this, [this](int row, int, int, int) {
    if (showing_page_ || row < 0) return;
    model_.SetCurrentRow(row + 1);
    ShowInfo();
  });
}

PickGrid::~PickGrid() = default;

void PickGrid::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!event->spontaneous()) FormShow();
}

void PickGrid::SetUpColumns() {
  const std::vector<PickColumn> columns = setup_.columns();
  const int unit = QFontMetrics(StringGrid1->font()).horizontalAdvance(setup_.unit_letter);
  StringGrid1->setColumnCount(static_cast<int>(columns.size()));
  QStringList titles;
  int width = 0;
  for (size_t i = 0; i < columns.size(); ++i) {
    titles << QString::fromLatin1(columns[i].title);
    StringGrid1->setColumnWidth(static_cast<int>(i), columns[i].width_units * unit);
    width += columns[i].width_units * unit;
  }
  StringGrid1->setHorizontalHeaderLabels(titles);
  const int frame = 2 * StringGrid1->frameWidth();
  StringGrid1->setFixedWidth(width + frame);
  const int row_height = StringGrid1->verticalHeader()->defaultSectionSize();
  StringGrid1->setFixedHeight(StringGrid1->horizontalHeader()->sizeHint().height() +
                              kPageRows * row_height + frame + 1);
  ScrollBar1->setFixedHeight(StringGrid1->height());
  // The columns follow the font and the display order: fit the window to them.
  layout()->activate();
  adjustSize();
}

void PickGrid::FormShow() {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  SetUpColumns();
  if (setup_.before_open) setup_.before_open();
  {
    const QSignalBlocker block(SearchEdit);
    SearchEdit->clear();
  }
  model_.Open(*setup_.selection);
  // Any way of closing other than Select and New yields nothing chosen.
  *setup_.selection = -1;
  ScrollBar1->setVisible(model_.scroll_bar_visible());
  const bool has_records = model_.has_records();
  BtnSelect->setEnabled(has_records);
  StringGrid1->setEnabled(has_records);
  BtnNew->setEnabled(PickNewEnabled(setup_.id));
  ShowPage();
  if (has_records) SearchEdit->setFocus();
  QApplication::restoreOverrideCursor();
}

void PickGrid::ShowPage() {
  showing_page_ = true;
  const int columns = StringGrid1->columnCount();
  for (int r = 0; r < kPageRows; ++r) {
    const PickRow& row = model_.rows()[static_cast<size_t>(r)];
    for (int c = 0; c < columns; ++c) {
      QTableWidgetItem* item = StringGrid1->item(r, c);
      if (item == nullptr) {
        item = new QTableWidgetItem;
        StringGrid1->setItem(r, c, item);
      }
      item->setText(c < row.cells.size() ? row.cells[c] : QString());
    }
  }
  {
    const QSignalBlocker block(ScrollBar1);
    ScrollBar1->setValue(model_.scroll_position());
  }
  if (model_.current_row() > 0) {
    StringGrid1->setCurrentCell(model_.current_row() - 1, 0);
  } else {
    StringGrid1->setCurrentCell(-1, -1);
  }
  showing_page_ = false;
  ShowInfo();
}

void PickGrid::ShowInfo() {
  if (Edit2 == nullptr || !setup_.info_text) return;
  const long rec_no = model_.SelectedRecNo();
  if (rec_no > 0) Edit2->setText(setup_.info_text(rec_no));
}

void PickGrid::SyncCurrentRow() {
  const int row = StringGrid1->currentRow();
  if (row >= 0) model_.SetCurrentRow(row + 1);
}

void PickGrid::BtnSelectClick() {
  SyncCurrentRow();
  const long rec_no = model_.SelectedRecNo();
  // An empty row names no record; it must not read as New.
  if (rec_no <= 0) return;
  *setup_.selection = rec_no;
  accept();
}

void PickGrid::BtnNewClick() {
  *setup_.selection = 0;
  accept();
}

void PickGrid::BtnCancelClick() {
  *setup_.selection = -1;
  reject();
}

void PickGrid::SearchChange(const QString& text) {
  if (model_.Search(text)) ShowPage();
}

void PickGrid::ScrollBar1Action(int action) {
  ScrollAction scroll;
  switch (action) {
    case QAbstractSlider::SliderSingleStepSub:
      scroll = ScrollAction::kLineUp;
      break;
    case QAbstractSlider::SliderSingleStepAdd:
      scroll = ScrollAction::kLineDown;
      break;
    case QAbstractSlider::SliderPageStepSub:
      scroll = ScrollAction::kPageUp;
      break;
    case QAbstractSlider::SliderPageStepAdd:
      scroll = ScrollAction::kPageDown;
      break;
    case QAbstractSlider::SliderToMinimum:
      scroll = ScrollAction::kTop;
      break;
    case QAbstractSlider::SliderToMaximum:
      scroll = ScrollAction::kBottom;
      break;
    default:
      return;  // thumb tracking waits for the release
  }
  if (model_.Scroll(scroll)) ShowPage();
  ScrollBar1->setSliderPosition(model_.scroll_position());
}

void PickGrid::ScrollBar1Released() {
  if (model_.Scroll(ScrollAction::kThumbPosition, ScrollBar1->sliderPosition())) ShowPage();
  const QSignalBlocker block(ScrollBar1);
  ScrollBar1->setValue(model_.scroll_position());
}

void PickGrid::StringGrid1CellClick(int row, int /*column*/) {
  model_.SetCurrentRow(row + 1);
  // A click always brings the view back to the first column.
  StringGrid1->scrollToItem(StringGrid1->item(row, 0));
  ShowInfo();
}

void PickGrid::StringGrid1DblClick() { BtnSelectClick(); }

bool PickGrid::HandleGridKey(int key) {
  SyncCurrentRow();
  switch (key) {
    case Qt::Key_PageDown:
      return model_.Key(PickKey::kPageDown);
    case Qt::Key_PageUp:
      return model_.Key(PickKey::kPageUp);
    case Qt::Key_End:
      return model_.Key(PickKey::kEnd);
    case Qt::Key_Home:
      return model_.Key(PickKey::kHome);
    case Qt::Key_Down:
      return model_.Key(PickKey::kDown);
    case Qt::Key_Up:
      return model_.Key(PickKey::kUp);
    default:
      return false;
  }
}

bool PickGrid::eventFilter(QObject* watched, QEvent* event) {
  if (watched == StringGrid1 && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      BtnSelectClick();
      return true;
    }
    if (HandleGridKey(key)) {
      ShowPage();
      return true;
    }
    // Paging keys on a page that cannot move stay inside the page.
    if (key == Qt::Key_PageDown || key == Qt::Key_PageUp || key == Qt::Key_Home ||
        key == Qt::Key_End) {
      return true;
    }
  }
  if (watched == StringGrid1 && event->type() == QEvent::KeyRelease) {
    SyncCurrentRow();
    ShowInfo();
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace masterdata
