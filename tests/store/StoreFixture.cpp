#include "StoreFixture.h"

#include <QDate>
#include <QFile>

#include "util/DateUtil.h"

namespace store_test {

ToolRun RunTool(const QStringList& arguments) {
  QProcess process;
  process.start(QStringLiteral(PELMARK_DATA_TOOL), arguments);
  ToolRun run;
  if (!process.waitForFinished(600000)) return run;
  run.exit_code = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
  run.out = QString::fromLocal8Bit(process.readAllStandardOutput());
  run.err = QString::fromLocal8Bit(process.readAllStandardError());
  return run;
}

ToolRun RunWitness(const QStringList& arguments) {
  QProcess process;
  process.start(QStringLiteral(PELMARK_TEST_PYTHON),
                QStringList{QStringLiteral(PELMARK_TEST_SOURCE_DIR "/dbf_rows.py")} + arguments);
  ToolRun run;
  if (!process.waitForFinished(600000)) return run;
  run.exit_code = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
  run.out = QString::fromUtf8(process.readAllStandardOutput());
  run.err = QString::fromUtf8(process.readAllStandardError());
  return run;
}

void CreateEmptyDataSet() {
  for (const store::TableDef& def : store::AllTables()) {
    const std::vector<FIELD4INFO> fields = store::CreateFieldList(def);
    DATA4* data = d4create(cb, def.name, fields.data());
    ASSERT_NE(data, nullptr) << def.name;
    if (!def.Indexed()) {
      ASSERT_EQ(d4appendBlank(data), 0);
    } else {
      const std::vector<TAG4INFO> tags = store::CreateTagList(def);
      ASSERT_NE(i4create(data, def.name, tags.data()), nullptr) << def.name;
    }
    ASSERT_EQ(d4close(data), 0) << def.name;
  }
  ASSERT_EQ(code4errorCode(cb, 0), 0);
}

void ResetProgramState() {
  Settings = SettingsRecord();
  CustRec = CustomerRecord();
  GroupRec = GroupRecord();
  InvRec = InvoiceRecord();
  ItemRec = LineItemRecord();
  PmtRec = PaymentRecord();
  ProdRec = ProductRecord();
  PurRec = PurchaseRecord();
  LabelRec = LabelRecord();
  SelCust = SelGroup = SelProd = SelInv = SelPur = SelLab = -1;
  PackPending = false;
  AddressBlock = QStringList{QString()};
  ItemGrid.clear();
  PaymentGrid.clear();
}

namespace {

// An empty data set made once per run; each test starts from a copy of it,
// which is much quicker than creating tables and indexes every time.
const QTemporaryDir& EmptyDataSetTemplate() {
  static QTemporaryDir directory;
  static bool made = false;
  if (!made) {
    made = true;
    const QString previous = QDir::currentPath();
    QDir::setCurrent(directory.path());
    CreateEmptyDataSet();
    QDir::setCurrent(previous);
  }
  return directory;
}

}  // namespace

void StoreTest::SetUp() {
  ASSERT_TRUE(dir_.isValid());
  old_directory_ = QDir::currentPath();
  platform::Install(&platform_);
  SetTodayForTests(QDate(2026, 3, 15));
  ResetProgramState();
  ASSERT_TRUE(StartEngine());
  const QDir source(EmptyDataSetTemplate().path());
  const QStringList files = source.entryList(QDir::Files);
  ASSERT_EQ(files.size(), 9 + 3 + 8 + 16);
  for (const QString& name : files) {
    ASSERT_TRUE(QFile::copy(source.filePath(name), dir_.filePath(name))) << name.toStdString();
  }
  ASSERT_TRUE(QDir::setCurrent(dir_.path()));
}

void StoreTest::TearDown() {
  EXPECT_EQ(platform_.Leftovers().toStdString(), "");
  CloseAllTables();
  EndEngine();
  SetTodayForTests(QDate());
  platform::Install(nullptr);
  QDir::setCurrent(old_directory_);
}

long AddCustomer(long number, const QString& last, const QString& company, const QString& zip) {
  EXPECT_EQ(d4appendBlank(CustDb), 0);
  CustRec = CustomerRecord();
  CustRec.cuno = number;
  CustRec.last = last;
  CustRec.addr1 = company;
  CustRec.zip = zip;
  CustRec.ngroup = 1;
  EXPECT_TRUE(StoreCustomer());
  return d4recNo(CustDb);
}

}  // namespace store_test
