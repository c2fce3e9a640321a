#pragma once
// The drive and directory chooser used by backup and restore: a list of the
// mounted volumes, the directories of the current one, and its files shown
// for reference. OK leaves the directory in ChosenDirectory, Cancel leaves it
// empty; either way the process returns to the directory it was in. When
// asked to, it also makes a new data directory inside the one shown.

#include <QDialog>
#include <QString>

class QComboBox;
class QLabel;
class QListWidget;
class QListWidgetItem;
class QPushButton;

class TDriveDir final : public QDialog {
  Q_OBJECT

 public:
  explicit TDriveDir(QWidget* parent = nullptr);

  // The directory the directory list shows.
  QString Directory() const { return directory_; }
  // Shows a directory in the directory and file lists; false (and nothing
  // changed) when it cannot be read.
  bool SetDirectory(const QString& path);
  // Refills the drive list from the mounted volumes.
  void LoadDrives();
  // Escape and closing cancel, like the Cancel button.
  void reject() override;

  QComboBox* DriveComboBox1;
  QLabel* DirLabel;
  QListWidget* DirectoryListBox1;
  QListWidget* FileListBox1;
  QPushButton* BtnNew;
  QPushButton* BtnOK;
  QPushButton* BtnCancel;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void FormShow();
  void DriveComboBox1Change(int index);
  void DirectoryListBox1DblClick(QListWidgetItem* item);
  void BtnNewClick();
  void BtnOKClick();
  void BtnCancelClick();
  void SelectDriveOf(const QString& path);

  QString directory_;
  QString noted_directory_;  // the current directory when shown
  int noted_drive_ = -1;     // the drive list entry when shown
};
