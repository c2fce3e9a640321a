#include "store/DriveDirU.h"

#include <QComboBox>
#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStorageInfo>
#include <QVBoxLayout>

#include "platform/Platform.h"
#include "store/FileMaint.h"

namespace {

constexpr int kPathRole = Qt::UserRole;

}  // namespace

TDriveDir::TDriveDir(QWidget* parent) : QDialog(parent) {
  setObjectName("DriveDir");
  // No border icons: the window ends through its two buttons.
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
  setWindowTitle("Choose Drive & Directory");

  auto* drive_label = new QLabel("&Drive:", this);
  DriveComboBox1 = new QComboBox(this);
  DriveComboBox1->setObjectName("DriveComboBox1");
  DriveComboBox1->setAccessibleName("Drive");
  drive_label->setBuddy(DriveComboBox1);

  auto* directory_label = new QLabel("D&irectories:", this);
  DirLabel = new QLabel(this);
  DirLabel->setObjectName("DirLabel");
  // Named by its text, the directory, so a screen reader reads where it is.
  DirLabel->setAccessibleDescription("Current directory");
  DirLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
  DirectoryListBox1 = new QListWidget(this);
  DirectoryListBox1->setObjectName("DirectoryListBox1");
  DirectoryListBox1->setAccessibleName("Directories");
  directory_label->setBuddy(DirectoryListBox1);

  auto* file_label = new QLabel("Files:", this);
  FileListBox1 = new QListWidget(this);
  FileListBox1->setObjectName("FileListBox1");
  FileListBox1->setAccessibleName("Files");
  FileListBox1->setEnabled(false);

  BtnNew = new QPushButton("&New Data Directory...", this);
  BtnNew->setObjectName("BtnNew");
  BtnNew->setToolTip("Make a new, empty data directory in the directory shown");
  BtnNew->setAutoDefault(false);
  BtnOK = new QPushButton("OK", this);
  BtnOK->setObjectName("BtnOK");
  BtnOK->setDefault(true);
  BtnCancel = new QPushButton("Cancel", this);
  BtnCancel->setObjectName("BtnCancel");

  auto* lists = new QHBoxLayout;
  auto* directories = new QVBoxLayout;
  directories->addWidget(directory_label);
  directories->addWidget(DirLabel);
  directories->addWidget(DirectoryListBox1, 1);
  auto* files = new QVBoxLayout;
  files->addWidget(file_label);
  files->addWidget(FileListBox1, 1);
  lists->addLayout(directories, 1);
  lists->addLayout(files, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(BtnNew);
  buttons->addStretch(1);
  buttons->addWidget(BtnOK);
  buttons->addWidget(BtnCancel);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(drive_label);
  layout->addWidget(DriveComboBox1);
  layout->addLayout(lists, 1);
  layout->addLayout(buttons);
  resize(520, 380);

  connect(DriveComboBox1, &QComboBox::currentIndexChanged, this, &TDriveDir::DriveComboBox1Change);
  connect(DirectoryListBox1, &QListWidget::itemDoubleClicked, this,
          &TDriveDir::DirectoryListBox1DblClick);
  connect(BtnNew, &QPushButton::clicked, this, &TDriveDir::BtnNewClick);
  connect(BtnOK, &QPushButton::clicked, this, &TDriveDir::BtnOKClick);
  connect(BtnCancel, &QPushButton::clicked, this, &TDriveDir::BtnCancelClick);
}

void TDriveDir::LoadDrives() {
  const QSignalBlocker blocker(DriveComboBox1);
  DriveComboBox1->clear();
  for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
    if (!volume.isValid() || !volume.isReady()) continue;
    QString text = volume.rootPath();
    const QString name = volume.displayName();
    if (!name.isEmpty() && name != text) text += "  [" + name + "]";
    DriveComboBox1->addItem(text, volume.rootPath());
  }
}

void TDriveDir::SelectDriveOf(const QString& path) {
  const QString root = QStorageInfo(path).rootPath();
  const QSignalBlocker blocker(DriveComboBox1);
  const int index = DriveComboBox1->findData(root);
  if (index >= 0) DriveComboBox1->setCurrentIndex(index);
}

bool TDriveDir::SetDirectory(const QString& path) {
  const QDir dir(path);
  if (!dir.exists() || !dir.isReadable()) return false;
  directory_ = dir.canonicalPath();
  DirLabel->setText(directory_);

  DirectoryListBox1->clear();
  if (!dir.isRoot()) {
    auto* up = new QListWidgetItem(style()->standardIcon(QStyle::SP_FileDialogToParent), "..");
    up->setData(kPathRole, QDir::cleanPath(directory_ + "/.."));
    DirectoryListBox1->addItem(up);
  }
  const QIcon folder = style()->standardIcon(QStyle::SP_DirIcon);
  for (const QFileInfo& entry :
       dir.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase)) {
    auto* item = new QListWidgetItem(folder, entry.fileName());
    item->setData(kPathRole, entry.absoluteFilePath());
    DirectoryListBox1->addItem(item);
  }
  FileListBox1->clear();
  FileListBox1->addItems(dir.entryList(QDir::Files, QDir::Name | QDir::IgnoreCase));
  return true;
}

void TDriveDir::showEvent(QShowEvent* event) {
  FormShow();
  QDialog::showEvent(event);
}

void TDriveDir::FormShow() {
  if (!DriveDirCaption.isEmpty()) setWindowTitle(DriveDirCaption);
  if (!DriveDirOkCaption.isEmpty()) BtnOK->setText(DriveDirOkCaption);
  BtnOK->setAccessibleName(BtnOK->text());
  BtnNew->setVisible(static_cast<bool>(DriveDirNewDataSet));
  noted_directory_ = QDir::currentPath();
  LoadDrives();
  SelectDriveOf(noted_directory_);
  noted_drive_ = DriveComboBox1->currentIndex();
  if (!SetDirectory(noted_directory_)) SetDirectory(QDir::rootPath());
  DirectoryListBox1->setFocus();
}

void TDriveDir::DriveComboBox1Change(int index) {
  const QString root = DriveComboBox1->itemData(index).toString();
  if (SetDirectory(root)) return;
  platform::Current().Inform("Unable to read from drive " + root);
  {
    const QSignalBlocker blocker(DriveComboBox1);
    DriveComboBox1->setCurrentIndex(noted_drive_);
  }
  SetDirectory(DriveComboBox1->itemData(noted_drive_).toString());
}

void TDriveDir::DirectoryListBox1DblClick(QListWidgetItem* item) {
  if (item == nullptr) return;
  SetDirectory(item->data(kPathRole).toString());
}

void TDriveDir::BtnNewClick() {
  if (!DriveDirNewDataSet) return;
  QString name;
  if (!platform::Current().InputBox("New Data Directory",
                                    "Name of the new data directory in " +
                                        QDir::toNativeSeparators(directory_) + ":",
                                    QString(), &name)) {
    return;
  }
  name = name.trimmed();
  if (name.isEmpty() || name == "." || name == ".." || name.contains('/')) {
    platform::Current().Inform("\"" + name + "\" cannot name a new directory here.");
    return;
  }
  const QString path = QDir(directory_).filePath(name);
  const QString error = DriveDirNewDataSet(path);
  if (!error.isEmpty()) {
    platform::Current().Inform("No new data directory was made:\r\n" + error);
    return;
  }
  SetDirectory(path);
}

void TDriveDir::BtnOKClick() {
  ChosenDirectory = directory_;
  QDir::setCurrent(noted_directory_);
  accept();
}

void TDriveDir::BtnCancelClick() {
  ChosenDirectory.clear();
  QDir::setCurrent(noted_directory_);
  QDialog::reject();
}

// Escape cancels like the Cancel button.
void TDriveDir::reject() { BtnCancelClick(); }
