// The data tool and the file format witnesses: init, demo, check, dump and
// reindex, with python dbfread reading what the tool and the program wrote.

#include <QCryptographicHash>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <cmath>
#include <functional>
#include <map>

#include "StoreFixture.h"
#include "engine/DirectoryLock.h"
#include "engine/FileSystem.h"
#include "engine/Replacement.h"
#include "util/DateUtil.h"
#include "util/MoneyUtil.h"

namespace store_test {
namespace {

using store::Table;

constexpr const char* kToday = "2026-03-15";

QString Escape(QString text) {
  return text.replace('\\', "\\\\").replace('\t', "\\t").replace('\r', "\\r").replace('\n', "\\n");
}

// One record as the witness prints it, built from the program's record.
class Row {
 public:
  explicit Row(Table table) : table_(table) {}
  Row& Text(const QString& value) {
    QString text = value;
    while (text.endsWith(' ')) text.chop(1);
    return Add(Escape(text));
  }
  Row& Memo(const QString& value) { return Add(Escape(value)); }
  Row& Int(long value) { return Add(QString::number(value)); }
  Row& Num(double value) {
    const int decimals = store::Def(table_).fields[values_.size()].decimals;
    return Add(QString::asprintf("%.*f", decimals, value));
  }
  Row& Date(TDate value) {
    return Add(value > 0 ? ToQDate(value).toString(QStringLiteral("yyyyMMdd")) : QString());
  }
  Row& Flag(bool value) { return Add(value ? "T" : "F"); }
  QString Line() const { return values_.join('\t'); }

 private:
  Row& Add(const QString& value) {
    values_ << value;
    return *this;
  }
  Table table_;
  QStringList values_;
};

// Loads the current record with the program's load routine and renders it.
QString ProgramRow(Table table) {
  Row row(table);
  switch (table) {
    case Table::kSettings: {
      LoadSettings();
      const SettingsRecord& s = Settings;
      row.Text(s.FontName).Int(s.FontSize).Text(s.LabID).Text(s.Company).Text(s.Addr1);
      row.Text(s.Addr2).Text(s.Addr3).Text(s.Addr4).Text(s.CloLine).Text(s.SigLine);
      row.Text(s.LogoFile).Num(s.LogoHeight).Num(s.LogoWidth).Num(s.TopMargin).Int(s.LHJustify);
      row.Text(s.ShipLine).Text(s.TaxLine).Num(s.TaxRate1).Num(s.TaxRate2).Int(s.ShipTax);
      row.Int(s.TaxRound).Int(s.GSTField).Flag(s.ByCust).Flag(s.fifo);
      break;
    }
    case Table::kCustomers: {
      LoadCustomer();
      const CustomerRecord& c = CustRec;
      row.Int(c.cuno).Text(c.title).Text(c.first).Text(c.last).Text(c.addr1).Text(c.addr2);
      row.Text(c.addr3).Text(c.addr4).Text(c.zip).Memo(c.comments).Int(c.ngroup).Text(c.note);
      row.Text(c.phone).Text(c.fax).Text(c.email);
      break;
    }
    case Table::kGroups:
      LoadGroup();
      row.Int(GroupRec.nGroup).Text(GroupRec.cGroup);
      break;
    case Table::kInvoices: {
      LoadInvoice();
      const InvoiceRecord& i = InvRec;
      row.Int(i.IvNo).Int(i.CuNo).Text(i.Dept).Date(i.IDate).Text(i.IMemo).Num(i.Ship);
      row.Num(i.Tax).Num(i.Due).Memo(i.REM);
      break;
    }
    case Table::kLineItems: {
      LoadLineItem();
      const LineItemRecord& l = ItemRec;
      row.Int(l.IvNo).Text(l.PrID).Num(l.Qty).Num(l.UPR).Flag(l.LTax1).Flag(l.LTax2);
      row.Text(l.PDesc).Text(l.IComm).Flag(l.lBuild).Num(l.BackOrder);
      break;
    }
    case Table::kPayments:
      LoadPayment();
      row.Int(PmtRec.IvNo).Date(PmtRec.PDate).Num(PmtRec.PAmt).Num(PmtRec.GST).Flag(PmtRec.lGST);
      break;
    case Table::kProducts: {
      LoadProduct();
      const ProductRecord& p = ProdRec;
      row.Text(p.PrID).Text(p.RCode).Text(p.PDesc).Num(p.UPrice).Flag(p.LTax1).Flag(p.LTax2);
      row.Flag(p.lInven).Text(p.IComm).Memo(p.PMemo).Num(p.REORDER).Num(p.ONHAND);
      row.Flag(p.lBuild);
      break;
    }
    case Table::kPurchases:
      LoadPurchase();
      row.Text(PurRec.PURProd).Date(PurRec.PURDate).Num(PurRec.PURQty).Num(PurRec.PURCost);
      row.Int(PurRec.PURNo);
      break;
    case Table::kLabels: {
      LoadLabel();
      const LabelRecord& l = LabelRec;
      row.Text(l.Name).Num(l.TopM).Num(l.LeftM).Num(l.BottomM).Num(l.RightM).Num(l.Width);
      row.Num(l.Height).Num(l.HGap).Num(l.VGap).Int(l.NAcross).Flag(l.Continuous);
      break;
    }
  }
  return row.Line();
}

struct Opener {
  bool (*open)();
  DATA4** handle;
};

Opener OpenerFor(Table table) {
  switch (table) {
    case Table::kSettings:
      return {&OpenSettings, &SettingsDb};
    case Table::kCustomers:
      return {&OpenCustomers, &CustDb};
    case Table::kGroups:
      return {&OpenGroups, &GroupDb};
    case Table::kInvoices:
      return {&OpenInvoices, &InvDb};
    case Table::kLineItems:
      return {&OpenLineItems, &ItemDb};
    case Table::kLabels:
      return {&OpenLabels, &LabelDb};
    case Table::kPayments:
      return {&OpenPayments, &PmtDb};
    case Table::kProducts:
      return {&OpenProducts, &ProdDb};
    case Table::kPurchases:
      return {&OpenPurchases, &PurDb};
  }
  return {nullptr, nullptr};
}

// Every live record of the table in record order, as the program loads it.
QStringList ProgramRows(Table table) {
  const Opener opener = OpenerFor(table);
  QStringList rows;
  if (!opener.open()) return {"cannot open"};
  DATA4* data = *opener.handle;
  EXPECT_GE(d4tagSelect(data, nullptr), 0);
  for (int rc = d4top(data); rc == r4success; rc = d4skip(data, 1)) {
    if (!d4deleted(data)) rows << ProgramRow(table);
  }
  CloseAllTables();
  return rows;
}

QStringList Lines(const QString& text) {
  QStringList lines = text.split('\n');
  if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
  return lines;
}

// The witness reads every table of the current directory exactly as the program loads it.
void ExpectWitnessAgrees() {
  for (const store::TableDef& def : store::AllTables()) {
    const ToolRun fields = RunWitness({QDir::currentPath(), def.name, "--fields"});
    ASSERT_EQ(fields.exit_code, 0) << fields.err.toStdString();
    QStringList expected_fields;
    for (const store::FieldDef& field : def.fields) {
      expected_fields << QStringLiteral("%1 %2 %3 %4")
                             .arg(QString(field.name).toUpper())
                             .arg(QChar(field.type))
                             .arg(field.length)
                             .arg(field.decimals);
    }
    QStringList read_fields = Lines(fields.out);
    for (QString& line : read_fields)
      line = line.section(' ', 0, 0).toUpper() + ' ' + line.section(' ', 1);
    EXPECT_EQ(read_fields, expected_fields) << def.name;

    const ToolRun rows = RunWitness({QDir::currentPath(), def.name});
    ASSERT_EQ(rows.exit_code, 0) << def.name << ": " << rows.err.toStdString();
    const QStringList witness = Lines(rows.out);
    const QStringList program = ProgramRows(def.table);
    ASSERT_EQ(witness.size(), program.size()) << def.name;
    for (qsizetype i = 0; i < witness.size(); ++i) {
      ASSERT_EQ(witness[i], program[i]) << def.name << " record " << i + 1;
    }
  }
}

class DataToolTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    old_directory_ = QDir::currentPath();
    platform::Install(&platform_);
    ResetProgramState();
    ASSERT_TRUE(StartEngine());
  }
  void TearDown() override {
    EXPECT_EQ(platform_.Leftovers().toStdString(), "");
    CloseAllTables();
    EndEngine();
    platform::Install(nullptr);
    QDir::setCurrent(old_directory_);
  }
  QString Data(const QString& name = "data") const { return dir_.filePath(name); }
  ToolRun Demo(const QString& directory, const QStringList& extra = {}) {
    return RunTool(QStringList{"demo", directory, "--customers", "40", "--invoices", "150",
                               "--seed", "3", "--today", kToday} +
                   extra);
  }
  void Enter(const QString& directory) { ASSERT_TRUE(QDir::setCurrent(directory)); }

  QTemporaryDir dir_;
  QString old_directory_;
  platform::ScriptedPlatform platform_;
};

TEST_F(DataToolTest, InitWritesAnEmptySoundSetAndRefusesToOverwrite) {
  const ToolRun init = RunTool({"init", Data()});
  ASSERT_EQ(init.exit_code, 0) << init.err.toStdString();
  const ToolRun check = RunTool({"check", Data()});
  EXPECT_EQ(check.exit_code, 0) << check.out.toStdString();
  EXPECT_TRUE(check.out.contains("sound"));

  Enter(Data());
  EXPECT_TRUE(DataFilesPresent());
  ASSERT_TRUE(OpenSettings());
  EXPECT_EQ(d4recCountDo(SettingsDb), 1);
  LoadSettings();
  EXPECT_TRUE(CloseSettings());
  EXPECT_EQ(Settings.ShipLine.trimmed(), "Computed 1");
  EXPECT_EQ(Settings.TaxLine.trimmed(), "Computed 2");
  EXPECT_EQ(Settings.TaxRate1, 0);
  EXPECT_EQ(Settings.TaxRate2, 0);
  EXPECT_EQ(Settings.ShipTax, 1);
  EXPECT_EQ(Settings.TaxRound, 1);
  EXPECT_EQ(Settings.GSTField, 2);
  EXPECT_EQ(Settings.LHJustify, 1);
  EXPECT_TRUE(Settings.ByCust);
  EXPECT_TRUE(Settings.fifo);
  ASSERT_TRUE(OpenCustomers());
  EXPECT_EQ(d4recCountDo(CustDb), 0);
  EXPECT_EQ(NextCustomerNo(), 1);
  CloseAllTables();
  EXPECT_FALSE(platform_.TerminateRequested());

  const QByteArray before = [&] {
    QFile file(Data() + "/CUST5.dbf");
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }();
  const ToolRun again = RunTool({"init", Data()});
  EXPECT_EQ(again.exit_code, 1);
  EXPECT_TRUE(again.err.contains("already holds data files")) << again.err.toStdString();
  EXPECT_EQ(Lines(again.err).size(), 1);
  QFile file(Data() + "/CUST5.dbf");
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.readAll(), before);

  // A lone index file is enough to refuse.
  QDir().mkpath(Data("other"));
  QFile stray(Data("other") + "/CCOMP.NTX");
  ASSERT_TRUE(stray.open(QIODevice::WriteOnly));
  stray.close();
  EXPECT_EQ(RunTool({"init", Data("other")}).exit_code, 1);
  EXPECT_FALSE(QFile::exists(Data("other") + "/PLM1.dbf"));
}

TEST_F(DataToolTest, DemoIsReadByDbfreadAsTheProgramLoadsIt) {
  // Products past the catalogue's sixty are generated.
  const ToolRun demo = Demo(Data(), {"--products", "75", "--purchases", "40"});
  ASSERT_EQ(demo.exit_code, 0) << demo.err.toStdString();
  Enter(Data());
  ExpectWitnessAgrees();
  ASSERT_TRUE(OpenProducts() && OpenPurchases());
  EXPECT_EQ(d4recCountDo(ProdDb), 75);
  EXPECT_EQ(d4recCountDo(PurDb), 40);
  CloseAllTables();
  EXPECT_FALSE(platform_.TerminateRequested());
}

TEST_F(DataToolTest, RecordsStoredByTheProgramAreReadByDbfread) {
  ASSERT_EQ(RunTool({"init", Data()}).exit_code, 0);
  Enter(Data());
  ASSERT_TRUE(OpenCustomers());
  ASSERT_EQ(d4appendBlank(CustDb), 0);
  CustRec.cuno = 12;
  CustRec.title = "Ms";
  CustRec.first = "Ren\u00e9e";
  CustRec.last = QString(80, 'L');
  CustRec.addr1 = "Caf\u00e9 & Co";
  CustRec.comments = "Line one\r\n\tLine two  \r\n";
  CustRec.ngroup = 3;
  ASSERT_TRUE(StoreCustomer());
  ASSERT_TRUE(OpenInvoices());
  for (TDate date : {FromQDate(QDate(2026, 2, 28)), 0}) {
    ASSERT_EQ(d4appendBlank(InvDb), 0);
    InvRec = InvoiceRecord();
    InvRec.IvNo = 1001;
    InvRec.CuNo = 12;
    InvRec.IDate = date;
    InvRec.Ship = 12.5;
    InvRec.Tax = -3.25;
    InvRec.Due = 1234567.89;
    InvRec.REM = date > 0 ? QString(600, 'r') + "\r\nlast line   " : QString();
    ASSERT_TRUE(StoreInvoice());
  }
  ASSERT_TRUE(OpenPayments());
  ASSERT_EQ(d4appendBlank(PmtDb), 0);
  PmtRec = {1001, FromQDate(QDate(2026, 3, 1)), 100, 9.09, true};
  ASSERT_TRUE(StorePayment());
  ASSERT_TRUE(OpenSettings());
  LoadSettings();
  Settings.Company = "Pelmark Test \u00c5B";
  Settings.TaxRate2 = -12.5;
  EXPECT_TRUE(StoreSettings());
  CloseAllTables();
  ExpectWitnessAgrees();

  // And the values the witness read are the ones stored.
  const ToolRun customers = RunWitness({QDir::currentPath(), "CUST5"});
  EXPECT_TRUE(customers.out.startsWith("12\tMs\tRen\u00e9e\t" + QString(20, 'L') +
                                       "\tCaf\u00e9 & Co\t\t\t\t\tLine one\\r\\n\\tLine two\t3\t"))
      << customers.out.toStdString();
  const ToolRun invoices = RunWitness({QDir::currentPath(), "INV5"});
  EXPECT_EQ(Lines(invoices.out).value(1), "1001\t12\t\t\t\t12.50\t-3.25\t1234567.89\t");
}

TEST_F(DataToolTest, DemoIsDeterministicForSeedAndDay) {
  ASSERT_EQ(Demo(Data("a")).exit_code, 0);
  ASSERT_EQ(Demo(Data("b")).exit_code, 0);
  ASSERT_EQ(Demo(Data("c"), {"--seed", "4"}).exit_code, 0);
  const auto digest = [](const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly)
               ? QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256)
               : QByteArray();
  };
  int files = 0;
  for (QDirIterator it(Data("a"), QDir::Files); it.hasNext();) {
    const QString name = QFileInfo(it.next()).fileName();
    ++files;
    EXPECT_EQ(digest(Data("a") + "/" + name), digest(Data("b") + "/" + name)) << name.toStdString();
  }
  EXPECT_EQ(files, 9 + 3 + 8 + 16);
  EXPECT_NE(digest(Data("a") + "/CUST5.dbf"), digest(Data("c") + "/CUST5.dbf"));
  EXPECT_NE(digest(Data("a") + "/ITM5.dbf"), digest(Data("c") + "/ITM5.dbf"));
}

TEST_F(DataToolTest, DemoInvoicesAddUp) {
  ASSERT_EQ(Demo(Data()).exit_code, 0);
  Enter(Data());
  ASSERT_TRUE(OpenSettings());
  LoadSettings();
  EXPECT_TRUE(CloseSettings());
  ASSERT_TRUE(OpenCustomers());
  ASSERT_TRUE(OpenInvoices());
  ASSERT_TRUE(OpenLineItems());
  ASSERT_TRUE(OpenPayments());
  ASSERT_TRUE(OpenProducts());
  EXPECT_EQ(Settings.GSTField, 2);
  const double rate = Settings.TaxRate2;
  EXPECT_EQ(rate, 10);
  int invoices = 0;
  int paid_in_full = 0;
  int unpaid = 0;
  int partly_paid = 0;
  int with_gst_payment = 0;
  std::vector<long> records;
  for (int rc = d4top(InvDb); rc == r4success; rc = d4skip(InvDb, 1))
    records.push_back(d4recNo(InvDb));
  long last_number = 0;
  TDate last_date = 0;
  for (long record : records) {
    SelInv = record;
    ASSERT_TRUE(LoadInvoiceForPrint());
    ++invoices;
    EXPECT_GT(InvRec.IvNo, last_number);
    EXPECT_GE(InvRec.IDate, last_date);
    last_number = InvRec.IvNo;
    last_date = InvRec.IDate;
    ASSERT_GE(ItemLastRow(), 0) << InvRec.IvNo;
    EXPECT_LE(ItemLastRow(), 5);
    EXPECT_EQ(AddressBlock.size(), 5) << "customer " << InvRec.CuNo << " missing";
    double subtotal = 0;
    double taxable = 0;
    for (const ItemRow& row : ItemGrid) {
      const double total = RoundMoney(row[1].toDouble() * row[2].toDouble());
      subtotal += total;
      if (row[4] == "t") taxable += total;
    }
    EXPECT_DOUBLE_EQ(InvRec.Tax, RoundTax(rate / 100 * taxable, Settings.TaxRound)) << InvRec.IvNo;
    double payments = 0;
    for (const PaymentRow& row : PaymentGrid) {
      const double amount = row[1].toDouble();
      payments += amount;
      const double gst = row[3] == "T" ? RoundMoney(rate / 100 * amount / (rate / 100 + 1)) : 0;
      EXPECT_DOUBLE_EQ(row[2].toDouble(), gst) << InvRec.IvNo;
      with_gst_payment += row[3] == "T" ? 1 : 0;
    }
    const double total = RoundMoney(subtotal + InvRec.Ship + InvRec.Tax);
    EXPECT_NEAR(InvRec.Due, total - payments, 0.001) << InvRec.IvNo;
    EXPECT_GE(InvRec.Due, -0.001);
    if (PaymentGrid.empty()) {
      ++unpaid;
    } else if (std::fabs(InvRec.Due) < 0.001) {
      ++paid_in_full;
    } else {
      ++partly_paid;
    }
  }
  EXPECT_EQ(invoices, 150);
  EXPECT_GT(paid_in_full, 0);
  EXPECT_GT(unpaid, 0);
  EXPECT_GT(partly_paid, 0);
  EXPECT_GT(with_gst_payment, 0);
  // Numbers were packed away here and there, and the first gap is offered again.
  EXPECT_GE(d4tagSelect(CustDb, d4tag(CustDb, "CCNO")), 0);
  long expected = 0;
  for (int rc = d4top(CustDb); rc == r4success; rc = d4skip(CustDb, 1)) {
    if (f4long(CustFld.cuno) > expected + 1) break;
    expected = f4long(CustFld.cuno);
  }
  EXPECT_LE(expected, d4recCountDo(CustDb));
  EXPECT_EQ(NextCustomerNo(), expected + 1);
}

TEST_F(DataToolTest, CheckFindsADamagedTagAndReindexRepairsIt) {
  ASSERT_EQ(Demo(Data()).exit_code, 0);
  const ToolRun sound = RunTool({"check", Data()});
  ASSERT_EQ(sound.exit_code, 0) << sound.out.toStdString();

  // Overwrite the first key of the first leaf-or-root page of czip.ntx.
  QFile file(Data() + "/czip.ntx");
  ASSERT_TRUE(file.open(QIODevice::ReadWrite));
  QByteArray bytes = file.readAll();
  ASSERT_GE(bytes.size(), 2048);
  const int first_slot =
      static_cast<unsigned char>(bytes[1026]) | (static_cast<unsigned char>(bytes[1027]) << 8);
  bytes[1024 + first_slot + 8] = '~';
  ASSERT_TRUE(file.seek(0));
  ASSERT_EQ(file.write(bytes), bytes.size());
  file.close();

  const ToolRun damaged = RunTool({"check", Data()});
  EXPECT_EQ(damaged.exit_code, 1);
  EXPECT_TRUE(damaged.out.contains("czip", Qt::CaseInsensitive)) << damaged.out.toStdString();
  EXPECT_TRUE(damaged.out.contains("CUST5")) << damaged.out.toStdString();
  EXPECT_FALSE(damaged.out.contains("INV5"));

  // A tag file built on the wrong expression is named too.
  ASSERT_TRUE(QFile::remove(Data() + "/czip.ntx"));
  ASSERT_TRUE(QFile::copy(Data() + "/ccno.ntx", Data() + "/czip.ntx"));
  const ToolRun swapped = RunTool({"check", Data()});
  EXPECT_EQ(swapped.exit_code, 1);
  EXPECT_TRUE(swapped.out.contains("CZip (czip.ntx): key expression")) << swapped.out.toStdString();

  // A missing tag file is named.
  ASSERT_TRUE(QFile::remove(Data() + "/invd.ntx"));
  const ToolRun missing = RunTool({"check", Data()});
  EXPECT_EQ(missing.exit_code, 1);
  EXPECT_TRUE(missing.out.contains("InvD (invd.ntx): file missing")) << missing.out.toStdString();

  const ToolRun reindex = RunTool({"reindex", Data()});
  ASSERT_EQ(reindex.exit_code, 0) << reindex.err.toStdString();
  const ToolRun repaired = RunTool({"check", Data()});
  EXPECT_EQ(repaired.exit_code, 0) << repaired.out.toStdString();
}

// The data directory is held by another process (here: this test) while
// the tool runs in its own: commands that write refuse while anyone holds it,
// commands that read refuse only beside a writer, and every refusal says why.
TEST_F(DataToolTest, CommandsRefuseADirectoryInUseByAnotherCopy) {
  ASSERT_EQ(Demo(Data()).exit_code, 0);
  struct Case {
    engine::LockMode held;
    QStringList command;
    int exit_code;
  };
  const engine::LockMode kExclusive = engine::LockMode::kExclusive;
  const engine::LockMode kShared = engine::LockMode::kShared;
  const Case cases[] = {
      {kExclusive, {"reindex", Data()}, 1},
      {kExclusive, {"check", Data()}, 1},
      {kExclusive, {"dump", Data(), "GROUPS"}, 1},
      {kShared, {"reindex", Data()}, 1},
      {kShared, {"check", Data()}, 0},
      {kShared, {"dump", Data(), "GROUPS"}, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE((c.held == kExclusive ? "exclusive " : "shared ") +
                 c.command.join(' ').toStdString());
    std::unique_ptr<engine::DirectoryLock> held;
    ASSERT_EQ(engine::DirectoryLock::Acquire(Data().toStdString(), c.held, &held), 0);
    const ToolRun run = RunTool(c.command);
    EXPECT_EQ(run.exit_code, c.exit_code) << run.err.toStdString();
    if (c.exit_code != 0) {
      EXPECT_EQ(run.err, "pelmark-data: " + Data() +
                             ": the data files are in use by another copy of the program\n");
      EXPECT_TRUE(run.out.isEmpty());
    }
  }
}

TEST_F(DataToolTest, DumpPrintsRecordsInTagOrderAndMarksDeleted) {
  ASSERT_EQ(Demo(Data()).exit_code, 0);
  Enter(Data());
  ASSERT_TRUE(OpenCustomers());
  ASSERT_EQ(d4go(CustDb, 2), 0);
  d4delete(CustDb);
  CloseAllTables();

  const ToolRun by_number = RunTool({"dump", Data(), "cust5", "--tag", "CCNO"});
  ASSERT_EQ(by_number.exit_code, 0) << by_number.err.toStdString();
  const QStringList lines = Lines(by_number.out);
  ASSERT_EQ(lines.size(), 40);
  long previous = 0;
  int deleted = 0;
  for (const QString& line : lines) {
    const QStringList cells = line.split('\t');
    ASSERT_EQ(cells.size(), 2 + 15);
    EXPECT_GT(cells[2].toLong(), previous);
    previous = cells[2].toLong();
    if (cells[1] == "*") {
      ++deleted;
      EXPECT_EQ(cells[0], "2");
    }
  }
  EXPECT_EQ(deleted, 1);
  const ToolRun physical = RunTool({"dump", Data(), "GROUPS"});
  EXPECT_EQ(physical.out.section('\n', 0, 0), "1\t\t1\tRetail");
}

struct ErrorCase {
  const char* label;
  std::function<void(const QString& data)> prepare;
  QStringList arguments;  // "DATA" stands for the prepared directory
  int exit_code;
  const char* message;
};

void PrintTo(const ErrorCase& c, std::ostream* os) { *os << c.label; }

class DataToolErrorTest : public DataToolTest, public ::testing::WithParamInterface<ErrorCase> {};

TEST_P(DataToolErrorTest, FailsWithOneClearLine) {
  const ErrorCase& c = GetParam();
  c.prepare(Data());
  QStringList arguments = c.arguments;
  arguments.replaceInStrings("DATA", Data());
  const ToolRun run = RunTool(arguments);
  EXPECT_EQ(run.exit_code, c.exit_code) << c.label << ": " << run.err.toStdString();
  EXPECT_TRUE(run.err.contains(c.message)) << c.label << ": " << run.err.toStdString();
  EXPECT_TRUE(run.err.startsWith("pelmark-data: ")) << c.label;
}

void Nothing(const QString&) {}
void EmptyDirectory(const QString& data) { QDir().mkpath(data); }
void DemoSet(const QString& data) {
  ASSERT_EQ(RunTool({"demo", data, "--customers", "5", "--invoices", "5"}).exit_code, 0);
}
void TruncatedCustomers(const QString& data) {
  DemoSet(data);
  QFile file(data + "/CUST5.dbf");
  ASSERT_TRUE(file.resize(file.size() / 2));
}
void GarbageCustomers(const QString& data) {
  DemoSet(data);
  QFile file(data + "/CUST5.dbf");
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(QByteArray(100, '\x7f'));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DataToolErrorTest,
    ::testing::Values(
        ErrorCase{"check, no directory", &Nothing, {"check", "DATA"}, 1, "no such directory"},
        ErrorCase{"reindex, no directory", &Nothing, {"reindex", "DATA"}, 1, "no such directory"},
        ErrorCase{
            "dump, no directory", &Nothing, {"dump", "DATA", "CUST5"}, 1, "no such directory"},
        ErrorCase{"check, empty directory",
                  &EmptyDirectory,
                  {"check", "DATA"},
                  1,
                  "is not a data directory"},
        ErrorCase{"dump, unknown table",
                  &DemoSet,
                  {"dump", "DATA", "CUSTOMERS"},
                  2,
                  "no table named CUSTOMERS"},
        ErrorCase{"dump, unknown tag",
                  &DemoSet,
                  {"dump", "DATA", "CUST5", "--tag", "Nope"},
                  1,
                  "has no tag Nope"},
        ErrorCase{"dump, truncated table",
                  &TruncatedCustomers,
                  {"dump", "DATA", "CUST5"},
                  1,
                  "CUST5.dbf"},
        ErrorCase{
            "dump, garbage table", &GarbageCustomers, {"dump", "DATA", "CUST5"}, 1, "CUST5.dbf"},
        ErrorCase{"demo, bad count",
                  &Nothing,
                  {"demo", "DATA", "--customers", "x"},
                  2,
                  "bad value for --customers"},
        ErrorCase{"demo, no products",
                  &Nothing,
                  {"demo", "DATA", "--products", "0"},
                  2,
                  "bad value for --products"},
        ErrorCase{
            "demo, into a data set", &DemoSet, {"demo", "DATA"}, 1, "already holds data files"},
        ErrorCase{"unknown command",
                  &Nothing,
                  {"frobnicate", "DATA"},
                  2,
                  "cannot read the command line"}));

TEST_F(DataToolTest, CheckReportsADamagedTableWithoutCrashing) {
  TruncatedCustomers(Data("t"));
  const ToolRun run = RunTool({"check", Data("t")});
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_TRUE(run.out.contains("CUST5")) << run.out.toStdString();
  EXPECT_TRUE(run.out.contains("problem")) << run.out.toStdString();
}

}  // namespace
}  // namespace store_test

namespace store_test {
namespace {

// --- Damaged data sets: what check reports, and what mends it ----------------

QByteArray FileBytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void Patch(const QString& path, qint64 offset, const QByteArray& bytes) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadWrite)) << path.toStdString();
  ASSERT_TRUE(file.seek(offset));
  ASSERT_EQ(file.write(bytes), bytes.size());
}

quint32 Little(const QByteArray& bytes, int at, int size) {
  quint32 value = 0;
  for (int i = size - 1; i >= 0; --i) value = value << 8 | static_cast<quint8>(bytes[at + i]);
  return value;
}

QByteArray LittleBytes(quint32 value, int size) {
  QByteArray bytes;
  for (int i = 0; i < size; ++i) bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
  return bytes;
}

// Lowers a table's header count by n, as a stop before the header was written leaves it.
void LowerCount(const QString& table, quint32 n) {
  const QByteArray head = FileBytes(table).left(8);
  Patch(table, 4, LittleBytes(Little(head, 4, 4) - n, 4));
}

// Sets the first non-blank memo pointer of the table to 0.
void ZeroFirstMemoPointer(const QString& table, const char* field) {
  const QByteArray bytes = FileBytes(table);
  const int header = static_cast<int>(Little(bytes, 8, 2));
  const int length = static_cast<int>(Little(bytes, 10, 2));
  int offset = 1;
  for (int at = 32; bytes[at] != '\x0d'; at += 32) {
    if (QByteArray(bytes.constData() + at).compare(field, Qt::CaseInsensitive) == 0) break;
    offset += static_cast<quint8>(bytes[at + 16]);
  }
  for (qint64 rec = 0; rec < Little(bytes, 4, 4); ++rec) {
    const qint64 at = header + rec * length + offset;
    if (bytes.mid(at, 10).trimmed().isEmpty()) continue;
    Patch(table, at, "         0");
    return;
  }
  FAIL() << "no memo in " << table.toStdString();
}

// One command run on the damaged set: its exit code, a text its output holds
// and one it must not hold.
struct Step {
  const char* command;
  int exit_code;
  const char* says;
  const char* never = nullptr;
};

struct DamageCase {
  const char* label;
  std::function<void(const QString& data)> damage;
  const char* check_says;  // the problem check reports
  std::vector<Step> then;
  bool records_kept;  // every table dumps as before the damage at the end
};

void PrintTo(const DamageCase& c, std::ostream* os) { *os << c.label; }

class DamagedSetTest : public DataToolTest, public ::testing::WithParamInterface<DamageCase> {};

TEST_P(DamagedSetTest, CheckReportsItAndOnlyTheMendCallsItSound) {
  const DamageCase& c = GetParam();
  ASSERT_EQ(RunTool({"demo", Data(), "--customers", "12", "--invoices", "20", "--seed", "5",
                     "--today", kToday})
                .exit_code,
            0);
  std::map<QString, QString> dumps;
  for (const store::TableDef& def : store::AllTables()) {
    dumps[def.name] = RunTool({"dump", Data(), def.name}).out;
  }
  c.damage(Data());

  const ToolRun check = RunTool({"check", Data()});
  EXPECT_EQ(check.exit_code, 1) << c.label << "\n" << check.out.toStdString();
  EXPECT_TRUE(check.out.contains(c.check_says)) << c.label << "\n" << check.out.toStdString();
  for (const Step& step : c.then) {
    const QStringList words = QString(step.command).split(' ');
    const ToolRun run = RunTool(QStringList{words[0], Data()} + words.mid(1));
    const QString said = run.out + run.err;
    EXPECT_EQ(run.exit_code, step.exit_code) << c.label << ", " << step.command << "\n"
                                             << said.toStdString();
    EXPECT_TRUE(said.contains(step.says)) << c.label << ", " << step.command << "\n"
                                          << said.toStdString();
    if (step.never != nullptr) {
      EXPECT_FALSE(said.contains(step.never)) << c.label << ", " << step.command << "\n"
                                              << said.toStdString();
    }
  }
  if (c.records_kept) {
    for (const store::TableDef& def : store::AllTables()) {
      EXPECT_EQ(RunTool({"dump", Data(), def.name}).out, dumps[def.name]) << c.label << def.name;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DamagedSetTest,
    ::testing::Values(
        DamageCase{"header counts fewer records than the file holds",
                   [](const QString& d) { LowerCount(d + "/CUST5.dbf", 2); },
                   "CUST5: table file holds 2 more records than the 10 its header counts",
                   {{"reindex", 1, "CUST5.dbf: holds 2 records after its header's count"},
                    {"check", 1, "2 more records"},
                    {"dump CUST5", 1, "2 more records after its header's count, not shown"},
                    {"repair", 0, "CUST5: 2 records written before the interruption taken in"},
                    {"check", 0, "sound"}},
                   true},
        DamageCase{"records after the count not all well formed",
                   [](const QString& d) {
                     LowerCount(d + "/CUST5.dbf", 2);
                     const QByteArray bytes = FileBytes(d + "/CUST5.dbf");
                     const qint64 first_extra = Little(bytes, 8, 2) + 10 * Little(bytes, 10, 2);
                     Patch(d + "/CUST5.dbf", first_extra, "#");
                   },
                   "2 more records than the 10",
                   {{"repair", 1, "CUST5: 2 records after the table's count could not be taken in"},
                    {"check", 1, "2 more records than the 10"}},
                   false},
        DamageCase{"group names two tag files the other way round",
                   [](const QString& d) {
                     QFile group(d + "/INV5.cgp");
                     ASSERT_TRUE(group.open(QIODevice::WriteOnly | QIODevice::Truncate));
                     group.write("PELMARK-CGP 1\ninv invc.ntx\ninvc inv.ntx\ninvd invd.ntx\n");
                   },
                   "tag inv (invc.ntx): kept in the wrong file, expected inv.ntx",
                   {{"check", 1, "tag invc (inv.ntx): key expression \"Str(IvNo,6,0)\""},
                    {"reindex", 0, "rebuilt INV5.cgp"},
                    {"check", 0, "sound"}},
                   true},
        DamageCase{"bad deletion flag in a table without memos",
                   [](const QString& d) {
                     Patch(d + "/GROUPS.dbf", Little(FileBytes(d + "/GROUPS.dbf"), 8, 2), "X");
                   },
                   "GROUPS: record 1 has a bad deletion flag",
                   {},
                   false},
        DamageCase{"header length one past its field descriptors",
                   [](const QString& d) {
                     const quint32 length = Little(FileBytes(d + "/PLM1.dbf"), 8, 2);
                     Patch(d + "/PLM1.dbf", 8, LittleBytes(length + 1, 2));
                   },
                   "does not fit its 24 field descriptors",
                   {},
                   false},
        DamageCase{"dBASE IV version byte",
                   [](const QString& d) { Patch(d + "/GROUPS.dbf", 0, "\x8b"); },
                   "GROUPS: version byte 0x8B, expected 0x03",
                   {},
                   false},
        DamageCase{"memo pointer 0",
                   [](const QString& d) { ZeroFirstMemoPointer(d + "/INV5.dbf", "REM"); },
                   "field REM: memo pointer 0",
                   {},
                   false},
        DamageCase{"index key decimals",
                   [](const QString& d) { Patch(d + "/ccno.ntx", 16, LittleBytes(2, 2)); },
                   "header: key decimals 2, expected 0",
                   {{"reindex", 0, "rebuilt CUST5.cgp"}, {"check", 0, "sound"}},
                   true},
        DamageCase{"index half page",
                   [](const QString& d) { Patch(d + "/invd.ntx", 20, LittleBytes(3, 2)); },
                   "header: half page 3",
                   {},
                   false},
        DamageCase{"index unique flag",
                   [](const QString& d) { Patch(d + "/Pur.ntx", 278, "\x01"); },
                   "header: unique flag 1, expected 0",
                   {},
                   false},
        DamageCase{"leftovers of a stopped rewrite",
                   [](const QString& d) {
                     ASSERT_TRUE(QFile::copy(d + "/inv.ntx", d + "/inv.ntx.tmp~"));
                     ASSERT_TRUE(QFile::copy(d + "/INV5.cgp", d + "/INV5.cgp.tmp"));
                   },
                   "inv.ntx.tmp~: left over",
                   {{"check", 1, "INV5.cgp.tmp: left over"},
                    {"reindex", 0, "removed leftover inv.ntx.tmp~"},
                    {"check", 0, "sound"}},
                   true},
        DamageCase{"one table unreadable, another group damaged after it",
                   [](const QString& d) {
                     Patch(d + "/INV5.dbf", 8, LittleBytes(0xFFFF, 2));
                     Patch(d + "/itm.ntx", 1024, QByteArray(1024, '\xff'));
                   },
                   "INV5.dbf: cannot be opened",
                   {{"reindex", 1, "INV5.cgp: not rebuilt"},
                    {"check", 1, "INV5.dbf: cannot be opened", "ITM5: tag"}},
                   false}));

// A demo or init that is stopped part way leaves no data directory behind;
// one that completes in a directory of other files keeps them.
TEST_F(DataToolTest, NewDataSetsAppearWholeOrNotAtAll) {
  const QString killed = Data("killed");
  QProcess limited;
  limited.start("/bin/sh", {"-c", "ulimit -f 64; exec \"$0\" demo \"$1\" --customers 3000",
                            PELMARK_DATA_TOOL, killed});
  ASSERT_TRUE(limited.waitForFinished(600000));
  EXPECT_NE(limited.exitStatus() == QProcess::NormalExit ? limited.exitCode() : -1, 0);
  EXPECT_FALSE(QFileInfo::exists(killed));

  ASSERT_EQ(RunTool({"init", killed}).exit_code, 0);
  EXPECT_EQ(RunTool({"check", killed}).exit_code, 0);
  EXPECT_EQ(QDir(dir_.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
            QStringList{"killed"});

  const QString shared = Data("shared");
  ASSERT_TRUE(QDir().mkpath(shared));
  QFile other(shared + "/notes.txt");
  ASSERT_TRUE(other.open(QIODevice::WriteOnly));
  other.write("kept");
  other.close();
  ASSERT_EQ(Demo(shared).exit_code, 0);
  EXPECT_EQ(RunTool({"check", shared}).exit_code, 0);
  EXPECT_EQ(FileBytes(shared + "/notes.txt"), "kept");
  EXPECT_TRUE(engine::LeftoverFiles(engine::DiskFileSystem(), shared.toStdString()).empty());
}

}  // namespace
}  // namespace store_test
