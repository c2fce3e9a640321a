#pragma once
// Shared set-up for the catalogue tests: a temporary data directory made the
// current directory, the program's engine instance, the scripted platform,
// fresh program-wide records, and helpers to create tables and run the data tool.

#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

#include "store/dbFiles.h"
#include "testing/ScriptedPlatform.h"

namespace store_test {

// Result of one run of the data tool.
struct ToolRun {
  int exit_code = -1;
  QString out;
  QString err;
};

// Runs pelmark-data with the arguments (waits up to ten minutes).
ToolRun RunTool(const QStringList& arguments);
// Runs the python witness script on a data directory; lines of its output.
ToolRun RunWitness(const QStringList& arguments);

// Creates the nine empty tables, the settings row and every index group in
// the current directory through the program's engine instance.
void CreateEmptyDataSet();

// Resets every program-wide record, selection number and grid.
void ResetProgramState();

class StoreTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  QString Path(const QString& name) const { return dir_.filePath(name); }

  QTemporaryDir dir_;
  QString old_directory_;
  platform::ScriptedPlatform platform_;
};

// Appends a customer through the store routine and returns its record number.
long AddCustomer(long number, const QString& last, const QString& company = QString(),
                 const QString& zip = QString());

}  // namespace store_test
