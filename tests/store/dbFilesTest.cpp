// The catalogue in use: open failures, load/store round trips, Recommit, and
// the lookups built on the records.

#include <QFile>
#include <functional>

#include "StoreFixture.h"
#include "testing/FaultyFileSystem.h"
#include "util/DateUtil.h"
#include "util/MoneyUtil.h"

namespace store_test {
namespace {

TDate Day(int year, int month, int day) { return FromQDate(QDate(year, month, day)); }

// What a text field holds after a store and a load: cut to 59 and to the
// width, blank padded.
QString Stored(const QString& text, store::Table table, const char* field) {
  const int width = store::Def(table).Field(field)->length;
  return text.left(store::kTextCut).left(width).leftJustified(width);
}

const QString kLong =
    QStringLiteral("A text much longer than any field, seventy characters or more in all!!");

// --- OpenFailed ------------------------------------------------------------------

struct MissingFileCase {
  const char* file;
  bool (*open)();
  const char* message_name;
};

void PrintTo(const MissingFileCase& c, std::ostream* os) { *os << c.file; }

class OpenFailedTest : public StoreTest, public ::testing::WithParamInterface<MissingFileCase> {};

TEST_P(OpenFailedTest, MissingTableIsReportedAndEndsTheProgram) {
  const MissingFileCase& c = GetParam();
  ASSERT_TRUE(QFile::remove(Path(c.file)));
  EXPECT_FALSE(c.open());
  EXPECT_TRUE(platform_.WasShown(QStringLiteral("Unable to open file ") + c.message_name +
                                 "\r\nProgram will now terminate." + kOpenFailedHint))
      << platform_.Said().join("|").toStdString();
  EXPECT_TRUE(platform_.TerminateRequested());
  EXPECT_NE(platform_.ExitCode(), 0);
  // The engine is usable afterwards: no error is left pending.
  EXPECT_EQ(code4errorCode(cb, 0), 0);
}

INSTANTIATE_TEST_SUITE_P(
    EveryTable, OpenFailedTest,
    ::testing::Values(MissingFileCase{"PLM1.dbf", &OpenSettings, "PLM1.DBF"},
                      MissingFileCase{"CUST5.dbf", &OpenCustomers, "CUST5.DBF"},
                      MissingFileCase{"GROUPS.dbf", &OpenGroups, "GROUPS.DBF"},
                      MissingFileCase{"INV5.dbf", &OpenInvoices, "INV5.DBF"},
                      MissingFileCase{"ITM5.dbf", &OpenLineItems, "ITM5.DBF"},
                      MissingFileCase{"GSTPMT.dbf", &OpenPayments, "GSTPMT.DBF"},
                      MissingFileCase{"Prod5.dbf", &OpenProducts, "Prod5.DBF"},
                      MissingFileCase{"Pur5.dbf", &OpenPurchases, "Pur5.DBF"},
                      MissingFileCase{"LABELS.dbf", &OpenLabels, "LABELS.DBF"}));

struct MissingTagCase {
  store::Table table;
  const char* opening_tag_file;
  bool (*open)();
  const char* message_name;
};

void PrintTo(const MissingTagCase& c, std::ostream* os) { *os << c.opening_tag_file; }

class OpenTagFailedTest : public StoreTest, public ::testing::WithParamInterface<MissingTagCase> {};

// A group without the opening tag reports the tag's message name.
TEST_P(OpenTagFailedTest, GroupWithoutOpeningTagReportsTheTag) {
  const MissingTagCase& c = GetParam();
  const store::TableDef& def = store::Def(c.table);
  std::vector<TAG4INFO> tags;
  for (const store::TagDef& tag : def.tags) {
    if (QString(tag.file) != c.opening_tag_file)
      tags.push_back({tag.file, tag.expression, nullptr, 0, 0});
  }
  if (tags.empty()) tags.push_back({"Other", def.tags[0].expression, nullptr, 0, 0});
  tags.push_back({nullptr, nullptr, nullptr, 0, 0});
  const int auto_open = code4autoOpen(cb, 0);
  code4safety(cb, 0);
  DATA4* data = d4open(cb, def.name);
  ASSERT_NE(data, nullptr);
  ASSERT_NE(i4create(data, def.name, tags.data()), nullptr);
  EXPECT_GE(d4close(data), 0);
  code4autoOpen(cb, auto_open);
  code4safety(cb, 1);

  EXPECT_FALSE(c.open());
  EXPECT_TRUE(platform_.WasShown(QStringLiteral("Unable to open file ") + c.message_name +
                                 "\r\nProgram will now terminate." + kOpenFailedHint))
      << platform_.Said().join("|").toStdString();
  EXPECT_TRUE(platform_.TerminateRequested());
  EXPECT_NE(platform_.ExitCode(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    IndexedTables, OpenTagFailedTest,
    ::testing::Values(MissingTagCase{store::Table::kCustomers, "cName", &OpenCustomers,
                                     "AccTag.Ntx"},
                      MissingTagCase{store::Table::kGroups, "nGroup", &OpenGroups, "AccTag.Ntx"},
                      MissingTagCase{store::Table::kInvoices, "inv", &OpenInvoices, "Inv.Ntx"},
                      MissingTagCase{store::Table::kLineItems, "itm", &OpenLineItems, "Itm.Ntx"},
                      MissingTagCase{store::Table::kPayments, "Pmt", &OpenPayments, "Pmt.Ntx"},
                      MissingTagCase{store::Table::kProducts, "Prod", &OpenProducts, "Prod.Ntx"},
                      MissingTagCase{store::Table::kPurchases, "Pur", &OpenPurchases, "Pur.Ntx"},
                      MissingTagCase{store::Table::kLabels, "Labels", &OpenLabels, "Labels.Ntx"}));

TEST_F(StoreTest, AnEarlierPendingErrorDoesNotFailAnOpen) {
  ASSERT_TRUE(OpenInvoices());
  EXPECT_NE(d4go(InvDb, 42), 0);  // no such record: an error is left pending
  CloseAllTables();
  code4errorCode(cb, e4record);
  EXPECT_TRUE(OpenCustomers());
  code4errorCode(cb, e4record);
  EXPECT_TRUE(OpenSettings());
  EXPECT_FALSE(platform_.TerminateRequested());
  EXPECT_EQ(code4errorCode(cb, 0), 0);
}

TEST_F(StoreTest, OpenSelectsTheOpeningTagAndLeavesAutoOpenOn) {
  ASSERT_TRUE(OpenSettings());
  EXPECT_EQ(code4autoOpen(cb, 1), 1);  // switched back on after the settings table
  ASSERT_TRUE(OpenCustomers());
  EXPECT_EQ(d4tagSelected(CustDb), d4tag(CustDb, "CName"));
  ASSERT_TRUE(OpenInvoices());
  EXPECT_EQ(d4tagSelected(InvDb), d4tag(InvDb, "Inv"));
  EXPECT_FALSE(platform_.TerminateRequested());
}

TEST_F(StoreTest, DataFilesPresentNeedsAllNineTables) {
  EXPECT_TRUE(DataFilesPresent());
  for (const store::TableDef& def : store::AllTables()) {
    const QString name = def.data_file;
    ASSERT_TRUE(QFile::rename(Path(name), Path(name + ".away")));
    EXPECT_FALSE(DataFilesPresent()) << def.data_file;
    ASSERT_TRUE(QFile::rename(Path(name + ".away"), Path(name)));
  }
  // Memo and index files are not required.
  ASSERT_TRUE(QFile::remove(Path("CUST5.dbt")));
  ASSERT_TRUE(QFile::remove(Path("ccno.ntx")));
  EXPECT_TRUE(DataFilesPresent());
}

// --- NextCustomerNo --------------------------------------------------------------

struct NumberingCase {
  std::vector<long> numbers;
  long expected;
};

void PrintTo(const NumberingCase& c, std::ostream* os) {
  for (long n : c.numbers) *os << n << " ";
  *os << "-> " << c.expected;
}

class NextCustomerNoTest : public StoreTest, public ::testing::WithParamInterface<NumberingCase> {};

TEST_P(NextCustomerNoTest, ReusesTheFirstGap) {
  ASSERT_TRUE(OpenCustomers());
  for (long number : GetParam().numbers) AddCustomer(number, QStringLiteral("Name%1").arg(number));
  TAG4* comp = d4tag(CustDb, "cComp");
  EXPECT_GE(d4tagSelect(CustDb, comp), 0);
  EXPECT_EQ(NextCustomerNo(), GetParam().expected);
  EXPECT_EQ(d4tagSelected(CustDb), comp);  // the caller's tag is kept
}

INSTANTIATE_TEST_SUITE_P(Numbers, NextCustomerNoTest,
                         ::testing::Values(NumberingCase{{}, 1}, NumberingCase{{1, 2, 3, 5}, 4},
                                           NumberingCase{{2, 3}, 1}, NumberingCase{{1, 2, 3}, 4},
                                           NumberingCase{{5, 1, 3, 2}, 4},
                                           NumberingCase{{1, 1, 2}, 3}, NumberingCase{{7}, 1}));

// --- Dates -----------------------------------------------------------------------

struct DateCase {
  const char* stored;
  TDate expected;
};

void PrintTo(const DateCase& c, std::ostream* os) { *os << "\"" << c.stored << "\""; }

class DateLoadTest : public StoreTest, public ::testing::WithParamInterface<DateCase> {};

TEST_P(DateLoadTest, BlankShortAndBadDatesLoadAsNoDate) {
  ASSERT_TRUE(OpenInvoices());
  ASSERT_EQ(d4appendBlank(InvDb), 0);
  f4assign(InvFld.IDate, GetParam().stored);
  LoadInvoice();
  EXPECT_EQ(InvRec.IDate, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Texts, DateLoadTest,
                         ::testing::Values(DateCase{"", 0}, DateCase{"        ", 0},
                                           DateCase{"2024", 0}, DateCase{"2024011", 0},
                                           DateCase{"20241301", 0},
                                           DateCase{"20240229", Day(2024, 2, 29)}));

TEST_F(StoreTest, NoDateIsStoredAsBlanks) {
  ASSERT_TRUE(OpenPayments());
  for (TDate none : {0, -5}) {
    ASSERT_EQ(d4appendBlank(PmtDb), 0);
    PmtRec = PaymentRecord();
    PmtRec.IvNo = 1;
    PmtRec.PDate = none;
    ASSERT_TRUE(StorePayment());
    EXPECT_STREQ(f4str(PmtFld.PDate), "        ");
    LoadPayment();
    EXPECT_EQ(PmtRec.PDate, 0);
  }
}

// --- FindGroup ---------------------------------------------------------------------

TEST_F(StoreTest, FindGroupLoadsTheGroupOrClearsTheRecord) {
  ASSERT_TRUE(OpenGroups());
  for (int number : {1, 3, 12}) {
    ASSERT_EQ(d4appendBlank(GroupDb), 0);
    GroupRec.nGroup = number;
    GroupRec.cGroup = QStringLiteral("Group %1").arg(number);
    ASSERT_TRUE(StoreGroup());
  }
  struct {
    int ngroup;
    int expected_number;
    QString expected_name;
  } cases[] = {{3, 3, "Group 3"}, {12, 12, "Group 12"}, {2, 0, ""}, {0, 0, ""}, {123, 0, ""}};
  for (const auto& c : cases) {
    GroupRec.nGroup = 77;
    GroupRec.cGroup = "stale";
    CustRec.ngroup = c.ngroup;
    FindGroup();
    EXPECT_EQ(GroupRec.nGroup, c.expected_number) << c.ngroup;
    EXPECT_EQ(GroupRec.cGroup.trimmed(), c.expected_name) << c.ngroup;
  }
}

// --- BuildAddressBlock -------------------------------------------------------------

struct AddressCase {
  const char* label;
  bool by_cust;
  const char* title;
  const char* first;
  const char* last;
  const char* company;
  const char* addr2;
  const char* addr3;
  const char* addr4;
  const char* zip;
  QStringList expected;
};

void PrintTo(const AddressCase& c, std::ostream* os) { *os << c.label; }

class AddressBlockTest : public StoreTest, public ::testing::WithParamInterface<AddressCase> {};

TEST_P(AddressBlockTest, BuildsTheLinesInOrder) {
  const AddressCase& c = GetParam();
  Settings.ByCust = c.by_cust;
  CustRec.title = c.title;
  CustRec.first = c.first;
  CustRec.last = c.last;
  CustRec.addr1 = c.company;
  CustRec.addr2 = c.addr2;
  CustRec.addr3 = c.addr3;
  CustRec.addr4 = c.addr4;
  CustRec.zip = c.zip;
  BuildAddressBlock();
  EXPECT_EQ(AddressBlock, c.expected) << c.label << ": " << AddressBlock.join("|").toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Orders, AddressBlockTest,
    ::testing::Values(
        AddressCase{"by name",
                    true,
                    "Mr ",
                    "John ",
                    "Smith",
                    "Acme Pty Ltd",
                    "1 High St",
                    "",
                    "Newcastle NSW",
                    "2300",
                    {"Mr  John Smith", "Acme Pty Ltd", "1 High St", "", "Newcastle NSW  2300"}},
        AddressCase{"by company",
                    false,
                    "Dr",
                    "Ann",
                    "Lee",
                    "Acme Pty Ltd",
                    "1 High St",
                    "",
                    "Newcastle NSW",
                    "2300",
                    {"Acme Pty Ltd", "Dr  Ann Lee", "1 High St", "", "Newcastle NSW  2300"}},
        AddressCase{"no title",
                    true,
                    "",
                    "Ann",
                    "Lee",
                    "",
                    "",
                    "",
                    "",
                    "2300",
                    {"Ann Lee  2300", "", "", "", ""}},
        AddressCase{"company first, short name keeps the code",
                    false,
                    "",
                    "Ann",
                    "Lee",
                    "Company of 26 characters.",
                    "",
                    "",
                    "",
                    "2300",
                    {"Company of 26 characters.", "Ann Lee  2300", "", "", ""}},
        AddressCase{"22 characters stay",
                    true,
                    "",
                    "Ann",
                    "Lee",
                    "",
                    "Street of 22 character",
                    "",
                    "",
                    "2300",
                    {"Ann Lee", "", "Street of 22 character  2300", "", ""}},
        AddressCase{"23 characters move",
                    true,
                    "",
                    "Ann",
                    "Lee",
                    "",
                    "Street of 23 characters",
                    "",
                    "",
                    "2300",
                    {"Ann Lee", "", "Street of 23 characters", "                    2300", ""}},
        AddressCase{"long name last, by company",
                    false,
                    "",
                    "A long name of 23 chars",
                    "",
                    "Co",
                    "",
                    "",
                    "",
                    "2300",
                    {"Co", "A long name of 23 chars", "                    2300", "", ""}},
        AddressCase{
            "nothing at all", true, "", "", "", "", "", "", "", "2300", {"  2300", "", "", "", ""}},
        AddressCase{
            "over-long fifth line keeps the postal code",
            true,
            "",
            "Ann",
            "Lee",
            "",
            "",
            "",
            "Town of twenty-three ch",
            "2300",
            {"Ann Lee", "", "", "", "Town of twenty-three ch", "                    2300"}}));

// --- Recommit ----------------------------------------------------------------------

TEST_F(StoreTest, StoreKeepsTheSelectedTagAndRecord) {
  ASSERT_TRUE(OpenCustomers());
  AddCustomer(1, "Young", "Zeta Ltd");
  const long second = AddCustomer(2, "Adams", "Beta Ltd");
  AddCustomer(3, "Moss", "Alpha Ltd");
  for (const char* tag_name : {"cComp", "CZip", "CCNO"}) {
    TAG4* tag = d4tag(CustDb, tag_name);
    EXPECT_GE(d4tagSelect(CustDb, tag), 0);
    ASSERT_EQ(d4go(CustDb, second), 0);
    LoadCustomer();
    CustRec.addr1 = QStringLiteral("Gamma %1").arg(tag_name);
    ASSERT_TRUE(StoreCustomer());
    EXPECT_EQ(d4tagSelected(CustDb), d4tag(CustDb, tag_name)) << tag_name;
    EXPECT_EQ(d4recNo(CustDb), second) << tag_name;
  }
  // Record number order is kept too.
  EXPECT_GE(d4tagSelect(CustDb, nullptr), 0);
  ASSERT_EQ(d4go(CustDb, 3), 0);
  LoadCustomer();
  ASSERT_TRUE(StoreCustomer());
  EXPECT_EQ(d4tagSelected(CustDb), nullptr);
  EXPECT_EQ(d4recNo(CustDb), 3);

  // The new key is in the index, the old one gone.
  EXPECT_GE(d4tagSelect(CustDb, d4tag(CustDb, "cComp")), 0);
  EXPECT_EQ(d4seek(CustDb, "Gamma CCNO"), 0);
  EXPECT_EQ(d4recNo(CustDb), second);
  EXPECT_NE(d4seek(CustDb, "Beta Ltd"), 0);
}

// A store whose writes the disk refuses is reported, never taken as saved;
// the table stays open and the next store, once the disk takes writes, works.
TEST_F(StoreTest, StoreThatCannotBeWrittenIsReported) {
  engine::FaultyFileSystem disk;
  code4fileSystem(cb, &disk);
  ASSERT_TRUE(OpenCustomers());
  const long record = AddCustomer(1, "Young", "Zeta Ltd");
  ASSERT_EQ(d4go(CustDb, record), 0);
  LoadCustomer();
  CustRec.addr1 = QStringLiteral("New street");
  disk.FailAfterBytes(0);
  EXPECT_FALSE(StoreCustomer());
  EXPECT_TRUE(platform_.WasShown(QStringLiteral(
      "Unable to save the changes to CUST5 at this time. Please check the disk and try again.")));
  ASSERT_NE(CustDb, nullptr);
  EXPECT_EQ(d4recNo(CustDb), record);
  disk.Reset();
  ASSERT_EQ(d4go(CustDb, record), 0);
  LoadCustomer();
  EXPECT_NE(CustRec.addr1.trimmed(), QStringLiteral("New street"));
  CustRec.addr1 = QStringLiteral("New street");
  EXPECT_TRUE(StoreCustomer());
  code4fileSystem(cb, nullptr);
  ASSERT_EQ(d4go(CustDb, record), 0);
  LoadCustomer();
  EXPECT_EQ(CustRec.addr1.trimmed(), QStringLiteral("New street"));
  EXPECT_FALSE(platform_.TerminateRequested());
}

TEST_F(StoreTest, StoreFailsSafelyWithoutAnOpenTable) {
  ASSERT_TRUE(OpenCustomers());
  EXPECT_FALSE(Recommit(CustDb, store::Table::kSettings));
  EXPECT_FALSE(Recommit(nullptr, store::Table::kCustomers));
  CloseAllTables();
  CustRec.cuno = 5;
  EXPECT_FALSE(StoreCustomer());
  LoadCustomer();
  EXPECT_EQ(CustRec.cuno, 5);
  EXPECT_EQ(NextCustomerNo(), 1);
  SelInv = 1;
  EXPECT_FALSE(LoadInvoiceForPrint());
  EXPECT_FALSE(platform_.TerminateRequested());
}

// --- Round trips -------------------------------------------------------------------

// Stores through the store routine, closes everything, opens again and loads.
void Reopen(bool (*open)(), DATA4** handle) {
  CloseAllTables();
  ASSERT_TRUE(open());
  EXPECT_GE(d4tagSelect(*handle, nullptr), 0);
  ASSERT_EQ(d4top(*handle), 0);
}

TEST_F(StoreTest, SettingsRoundTrip) {
  ASSERT_TRUE(OpenSettings());
  SettingsRecord& s = Settings;
  s.FontName = "DejaVu Sans";
  s.FontSize = 11;
  s.LabID = kLong;
  s.Company = kLong;
  s.Addr1 = "Addr one";
  s.Addr2 = "Addr two";
  s.Addr3 = "Addr three";
  s.Addr4 = kLong;
  s.CloLine = "Closing";
  s.SigLine = kLong;
  s.LogoFile = "/tmp/logo.bmp";
  s.LogoHeight = 1.25;
  s.LogoWidth = 2.5;
  s.TopMargin = -0.75;
  s.LHJustify = 3;
  s.ShipLine = "Freight";
  s.TaxLine = "VAT";
  s.TaxRate1 = 2.5;
  s.TaxRate2 = 99.99;
  s.ShipTax = 3;
  s.TaxRound = 2;
  s.GSTField = 1;
  s.ByCust = false;
  s.fifo = false;
  const SettingsRecord written = s;
  EXPECT_TRUE(StoreSettings());
  EXPECT_TRUE(CloseSettings());
  Settings = SettingsRecord();
  ASSERT_TRUE(OpenSettings());
  LoadSettings();
  EXPECT_TRUE(CloseSettings());
  const auto text = [](const QString& value, const char* field) {
    return Stored(value, store::Table::kSettings, field);
  };
  EXPECT_EQ(s.FontName, text(written.FontName, "FontName"));
  EXPECT_EQ(s.FontSize, 11);
  EXPECT_EQ(s.LabID, text(kLong, "LabID"));
  EXPECT_EQ(s.Company, text(kLong, "Company"));
  EXPECT_EQ(s.Addr1, text("Addr one", "Addr1"));
  EXPECT_EQ(s.Addr2, text("Addr two", "Addr2"));
  EXPECT_EQ(s.Addr3, text("Addr three", "Addr3"));
  EXPECT_EQ(s.Addr4, text(kLong, "Addr4"));
  EXPECT_EQ(s.CloLine, text("Closing", "CloLine"));
  EXPECT_EQ(s.SigLine, text(kLong, "SigLine"));
  EXPECT_EQ(s.SigLine.size(), 59);
  EXPECT_EQ(s.LogoFile, text("/tmp/logo.bmp", "LogoFile"));
  EXPECT_DOUBLE_EQ(s.LogoHeight, 1.25);
  EXPECT_DOUBLE_EQ(s.LogoWidth, 2.5);
  EXPECT_DOUBLE_EQ(s.TopMargin, -0.75);
  EXPECT_EQ(s.LHJustify, 3);
  EXPECT_EQ(s.ShipLine.trimmed(), "Freight");
  EXPECT_EQ(s.TaxLine.trimmed(), "VAT");
  EXPECT_DOUBLE_EQ(s.TaxRate1, 2.5);
  EXPECT_DOUBLE_EQ(s.TaxRate2, 99.99);
  EXPECT_EQ(s.ShipTax, 3);
  EXPECT_EQ(s.TaxRound, 2);
  EXPECT_EQ(s.GSTField, 1);
  EXPECT_FALSE(s.ByCust);
  EXPECT_FALSE(s.fifo);
}

TEST_F(StoreTest, CustomerRoundTrip) {
  ASSERT_TRUE(OpenCustomers());
  ASSERT_EQ(d4appendBlank(CustDb), 0);
  CustomerRecord r;
  r.cuno = 999999;
  r.title = "Mrs";
  r.first = kLong;
  r.last = "O'Brien";
  r.addr1 = "Caf\u00e9 Company";
  r.addr2 = kLong;
  r.addr3 = " leading blank";
  r.addr4 = kLong;
  r.zip = "2300-12345678";
  r.comments = "  First line\r\nSecond line\r\n \t  \r\n";
  r.ngroup = 42;
  r.note = kLong;
  r.phone = "(02) 4929 1100";
  r.fax = "";
  r.email = kLong + kLong;
  CustRec = r;
  ASSERT_TRUE(StoreCustomer());
  Reopen(&OpenCustomers, &CustDb);
  CustRec = CustomerRecord();
  LoadCustomer();
  const auto text = [](const QString& value, const char* field) {
    return Stored(value, store::Table::kCustomers, field);
  };
  EXPECT_EQ(CustRec.cuno, 999999);
  EXPECT_EQ(CustRec.title, text(r.title, "title"));
  EXPECT_EQ(CustRec.first, text(r.first, "first"));
  EXPECT_EQ(CustRec.last, text(r.last, "last"));
  EXPECT_EQ(CustRec.addr1, text(r.addr1, "addr1"));
  EXPECT_EQ(CustRec.addr2, text(r.addr2, "addr2"));
  EXPECT_EQ(CustRec.addr3, text(r.addr3, "addr3"));
  EXPECT_EQ(CustRec.addr4, text(r.addr4, "addr4"));
  EXPECT_EQ(CustRec.zip, text(r.zip, "zip"));
  EXPECT_EQ(CustRec.comments, "  First line\r\nSecond line");
  EXPECT_EQ(CustRec.ngroup, 42);
  EXPECT_EQ(CustRec.note, text(r.note, "note"));
  EXPECT_EQ(CustRec.phone, text(r.phone, "phone"));
  EXPECT_EQ(CustRec.fax, text("", "fax"));
  EXPECT_EQ(CustRec.email, text(r.email, "email"));  // 60 wide, but cut to 59 first
  EXPECT_EQ(CustRec.email.trimmed().size(), 59);
}

TEST_F(StoreTest, GroupRoundTrip) {
  ASSERT_TRUE(OpenGroups());
  ASSERT_EQ(d4appendBlank(GroupDb), 0);
  GroupRec = {99, kLong};
  ASSERT_TRUE(StoreGroup());
  Reopen(&OpenGroups, &GroupDb);
  GroupRec = GroupRecord();
  LoadGroup();
  EXPECT_EQ(GroupRec.nGroup, 99);
  EXPECT_EQ(GroupRec.cGroup, Stored(kLong, store::Table::kGroups, "cGroup"));
  EXPECT_GE(GroupRec.cGroup.size(), 20);
}

TEST_F(StoreTest, InvoiceRoundTrip) {
  ASSERT_TRUE(OpenInvoices());
  InvoiceRecord r;
  r.IvNo = 123456;
  r.CuNo = 654321;
  r.Dept = kLong;
  r.IDate = Day(2025, 12, 31);
  r.IMemo = "Visa 4111";
  r.Ship = -9999999.99;
  r.Tax = 1234567.89;
  r.Due = 99999999999.99;
  r.REM = "Note\twith tab\r\n\r\n   ";
  for (int i = 0; i < 2; ++i) {
    ASSERT_EQ(d4appendBlank(InvDb), 0);
    InvRec = r;
    if (i == 1) {
      InvRec.IDate = 0;
      InvRec.REM.clear();
    }
    ASSERT_TRUE(StoreInvoice());
  }
  Reopen(&OpenInvoices, &InvDb);
  InvRec = InvoiceRecord();
  LoadInvoice();
  EXPECT_EQ(InvRec.IvNo, 123456);
  EXPECT_EQ(InvRec.CuNo, 654321);
  EXPECT_EQ(InvRec.Dept, Stored(kLong, store::Table::kInvoices, "Dept"));
  EXPECT_EQ(InvRec.IDate, Day(2025, 12, 31));
  EXPECT_EQ(InvRec.IMemo, Stored(r.IMemo, store::Table::kInvoices, "IMemo"));
  EXPECT_DOUBLE_EQ(InvRec.Ship, -9999999.99);
  EXPECT_DOUBLE_EQ(InvRec.Tax, 1234567.89);
  EXPECT_DOUBLE_EQ(InvRec.Due, 99999999999.99);
  EXPECT_EQ(InvRec.REM, "Note\twith tab");
  ASSERT_EQ(d4skip(InvDb, 1), 0);
  LoadInvoice();
  EXPECT_EQ(InvRec.IDate, 0);
  EXPECT_STREQ(f4str(InvFld.IDate), "        ");
  EXPECT_EQ(InvRec.REM, "");
}

TEST_F(StoreTest, LineItemRoundTripAlwaysWritesBuildAndBackOrder) {
  ASSERT_TRUE(OpenLineItems());
  ASSERT_EQ(d4appendBlank(ItemDb), 0);
  LineItemRecord r;
  r.IvNo = 1001;
  r.PrID = "WIDGET-0001-TOO-LONG";
  r.Qty = -999999.99;
  r.UPR = 99999.99;
  r.LTax1 = true;
  r.LTax2 = false;
  r.PDesc = kLong;
  r.IComm = "comment";
  r.lBuild = true;
  r.BackOrder = 12;
  ItemRec = r;
  ASSERT_TRUE(StoreLineItem());
  Reopen(&OpenLineItems, &ItemDb);
  ItemRec = LineItemRecord();
  LoadLineItem();
  EXPECT_EQ(ItemRec.IvNo, 1001);
  EXPECT_EQ(ItemRec.PrID, "WIDGET-000");
  EXPECT_DOUBLE_EQ(ItemRec.Qty, -999999.99);
  EXPECT_DOUBLE_EQ(ItemRec.UPR, 99999.99);
  EXPECT_TRUE(ItemRec.LTax1);
  EXPECT_FALSE(ItemRec.LTax2);
  EXPECT_EQ(ItemRec.PDesc, Stored(kLong, store::Table::kLineItems, "PDesc"));
  EXPECT_EQ(ItemRec.IComm, Stored("comment", store::Table::kLineItems, "IComm"));
  EXPECT_FALSE(ItemRec.lBuild);
  EXPECT_EQ(ItemRec.BackOrder, 0);
  EXPECT_STREQ(f4str(ItemFld.lBuild), "F");
}

TEST_F(StoreTest, PaymentRoundTrip) {
  ASSERT_TRUE(OpenPayments());
  ASSERT_EQ(d4appendBlank(PmtDb), 0);
  PmtRec = {77, Day(2026, 1, 2), 110.00, 10.00, true};
  ASSERT_TRUE(StorePayment());
  Reopen(&OpenPayments, &PmtDb);
  PmtRec = PaymentRecord();
  LoadPayment();
  EXPECT_EQ(PmtRec.IvNo, 77);
  EXPECT_EQ(PmtRec.PDate, Day(2026, 1, 2));
  EXPECT_DOUBLE_EQ(PmtRec.PAmt, 110.00);
  EXPECT_DOUBLE_EQ(PmtRec.GST, 10.00);
  EXPECT_TRUE(PmtRec.lGST);
}

TEST_F(StoreTest, ProductRoundTrip) {
  ASSERT_TRUE(OpenProducts());
  ASSERT_EQ(d4appendBlank(ProdDb), 0);
  ProductRecord r;
  r.PrID = "ABC";
  r.RCode = "LIC-1234567890";
  r.PDesc = "Widget";
  r.UPrice = 99999.99;
  r.LTax1 = false;
  r.LTax2 = true;
  r.lInven = true;
  r.IComm = kLong;
  r.PMemo = QString(700, QLatin1Char('x')) + "\r\nend  \r\n";  // more than one memo block
  r.REORDER = 999999.99;
  r.ONHAND = -3.5;
  r.lBuild = true;
  ProdRec = r;
  ASSERT_TRUE(StoreProduct());
  Reopen(&OpenProducts, &ProdDb);
  ProdRec = ProductRecord();
  LoadProduct();
  EXPECT_EQ(ProdRec.PrID, Stored("ABC", store::Table::kProducts, "PrID"));
  EXPECT_EQ(ProdRec.RCode, "LIC-123456");
  EXPECT_EQ(ProdRec.PDesc, Stored("Widget", store::Table::kProducts, "PDesc"));
  EXPECT_DOUBLE_EQ(ProdRec.UPrice, 99999.99);
  EXPECT_FALSE(ProdRec.LTax1);
  EXPECT_TRUE(ProdRec.LTax2);
  EXPECT_TRUE(ProdRec.lInven);
  EXPECT_EQ(ProdRec.IComm, Stored(kLong, store::Table::kProducts, "IComm"));
  EXPECT_EQ(ProdRec.PMemo, QString(700, QLatin1Char('x')) + "\r\nend");
  EXPECT_DOUBLE_EQ(ProdRec.REORDER, 999999.99);
  EXPECT_DOUBLE_EQ(ProdRec.ONHAND, -3.5);
  EXPECT_FALSE(ProdRec.lBuild);
}

TEST_F(StoreTest, PurchaseRoundTrip) {
  ASSERT_TRUE(OpenPurchases());
  ASSERT_EQ(d4appendBlank(PurDb), 0);
  PurRec = {"abc", Day(2025, 7, 1), 9999999.99, 999999999.99, 12345678};
  ASSERT_TRUE(StorePurchase());
  Reopen(&OpenPurchases, &PurDb);
  PurRec = PurchaseRecord();
  LoadPurchase();
  EXPECT_EQ(PurRec.PURProd, Stored("abc", store::Table::kPurchases, "PURProd"));
  EXPECT_EQ(PurRec.PURDate, Day(2025, 7, 1));
  EXPECT_DOUBLE_EQ(PurRec.PURQty, 9999999.99);
  EXPECT_DOUBLE_EQ(PurRec.PURCost, 999999999.99);
  EXPECT_EQ(PurRec.PURNo, 12345678);
}

TEST_F(StoreTest, LabelRoundTrip) {
  ASSERT_TRUE(OpenLabels());
  ASSERT_EQ(d4appendBlank(LabelDb), 0);
  LabelRec = {kLong, 42.803, 20.409, 1.5, 0.001, 180.0, 108.0, 7.087, 999999.999, 3, true};
  ASSERT_TRUE(StoreLabel());
  Reopen(&OpenLabels, &LabelDb);
  LabelRec = LabelRecord();
  LoadLabel();
  EXPECT_EQ(LabelRec.Name, Stored(kLong, store::Table::kLabels, "Name"));
  EXPECT_EQ(LabelRec.Name.size(), 40);
  EXPECT_DOUBLE_EQ(LabelRec.TopM, 42.803);
  EXPECT_DOUBLE_EQ(LabelRec.LeftM, 20.409);
  EXPECT_DOUBLE_EQ(LabelRec.BottomM, 1.5);
  EXPECT_DOUBLE_EQ(LabelRec.RightM, 0.001);
  EXPECT_DOUBLE_EQ(LabelRec.Width, 180.0);
  EXPECT_DOUBLE_EQ(LabelRec.Height, 108.0);
  EXPECT_DOUBLE_EQ(LabelRec.HGap, 7.087);
  EXPECT_DOUBLE_EQ(LabelRec.VGap, 999999.999);
  EXPECT_EQ(LabelRec.NAcross, 3);
  EXPECT_TRUE(LabelRec.Continuous);
}

// --- Invoices for printing ---------------------------------------------------------

class InvoicePrintTest : public StoreTest {
 protected:
  void SetUp() override {
    StoreTest::SetUp();
    ASSERT_TRUE(OpenCustomers());
    ASSERT_TRUE(OpenInvoices());
    ASSERT_TRUE(OpenLineItems());
    ASSERT_TRUE(OpenPayments());
    ASSERT_TRUE(OpenProducts());
    AddCustomer(6, "Other");
    customer_record_ = AddCustomer(7, "Smith", "Acme Pty Ltd", "2300");
    ASSERT_EQ(d4appendBlank(ProdDb), 0);
    ProdRec = ProductRecord();
    ProdRec.PrID = "SOFT";
    ProdRec.RCode = " LIC-9 ";
    ProdRec.PMemo = "  Licence text.  ";
    ASSERT_TRUE(StoreProduct());
    // Invoice 1002 first, so record order differs from number order.
    invoice_record_ = AddInvoice(1002, 7);
    AddInvoice(1001, 99);  // its customer does not exist
    AddItem(1001, "SOFT", 1, 1);
    AddItem(1002, "GONE", 1.5, 20);
    AddItem(1002, "SOFT", 2.5, 12.34);
    AddItem(1003, "SOFT", 9, 9);
    AddPayment(1002, Day(2026, 2, 1), 50, 4.55, true);
    AddPayment(1001, Day(2026, 2, 1), 1, 0, false);
    AddPayment(1002, Day(2026, 2, 3), 0.5, 0, false);
  }

  long AddInvoice(long number, long customer) {
    EXPECT_EQ(d4appendBlank(InvDb), 0);
    InvRec = InvoiceRecord();
    InvRec.IvNo = number;
    InvRec.CuNo = customer;
    InvRec.IDate = Day(2026, 1, 31);
    EXPECT_TRUE(StoreInvoice());
    return d4recNo(InvDb);
  }
  void AddItem(long invoice, const char* product, double qty, double price) {
    EXPECT_EQ(d4appendBlank(ItemDb), 0);
    ItemRec = LineItemRecord();
    ItemRec.IvNo = invoice;
    ItemRec.PrID = product;
    ItemRec.Qty = qty;
    ItemRec.UPR = price;
    ItemRec.LTax2 = true;
    ItemRec.PDesc = QStringLiteral("Item %1").arg(product);
    ItemRec.IComm = "  note  ";
    EXPECT_TRUE(StoreLineItem());
  }
  void AddPayment(long invoice, TDate date, double amount, double gst, bool includes) {
    EXPECT_EQ(d4appendBlank(PmtDb), 0);
    PmtRec = {invoice, date, amount, gst, includes};
    EXPECT_TRUE(StorePayment());
  }

  long customer_record_ = 0;
  long invoice_record_ = 0;
};

TEST_F(InvoicePrintTest, LoadsItemsPaymentsCustomerAndAddress) {
  Settings.ByCust = false;
  SelInv = invoice_record_;
  ASSERT_TRUE(LoadInvoiceForPrint());
  EXPECT_EQ(InvRec.IvNo, 1002);
  ASSERT_EQ(ItemLastRow(), 1);
  const ItemRow first{
      "GONE      ", "     1.50", "   20.00",
      "f",          "t",         Stored("Item GONE", store::Table::kLineItems, "PDesc"),
      "note",       "",          ""};
  const ItemRow second{
      "SOFT      ", "     2.50", "   12.34",
      "f",          "t",         Stored("Item SOFT", store::Table::kLineItems, "PDesc"),
      "note",       "LIC-9",     "Licence text."};
  EXPECT_EQ(ItemGrid[0], first);
  EXPECT_EQ(ItemGrid[1], second);
  ASSERT_EQ(PaymentLastRow(), 1);
  const PaymentRow paid{ShortDateText(Day(2026, 2, 1)), "     50.00", "      4.55", "T"};
  const PaymentRow rest{ShortDateText(Day(2026, 2, 3)), "      0.50", "      0.00", "F"};
  EXPECT_EQ(PaymentGrid[0], paid);
  EXPECT_EQ(PaymentGrid[1], rest);
  EXPECT_EQ(SelCust, customer_record_);
  EXPECT_EQ(CustRec.cuno, 7);
  EXPECT_EQ(AddressBlock, (QStringList{"Acme Pty Ltd", "Smith  2300", "", "", ""}));
}

TEST_F(InvoicePrintTest, MissingCustomerGivesOneEmptyAddressLine) {
  AddressBlock = QStringList{"left over"};
  SelCust = 5;
  EXPECT_GE(d4tagSelect(InvDb, nullptr), 0);
  ASSERT_EQ(d4go(InvDb, invoice_record_ + 1), 0);  // invoice 1001, customer 99
  SelInv = d4recNo(InvDb);
  ASSERT_TRUE(LoadInvoiceForPrint());
  EXPECT_EQ(InvRec.IvNo, 1001);
  EXPECT_EQ(AddressBlock, QStringList{QString()});
  EXPECT_EQ(SelCust, 5);
  EXPECT_EQ(ItemLastRow(), 0);
  EXPECT_EQ(PaymentLastRow(), 0);
}

TEST_F(InvoicePrintTest, InvoiceWithoutLinesHasEmptyGrids) {
  const long record = AddInvoice(1004, 7);
  SelInv = record;
  ASSERT_TRUE(LoadInvoiceForPrint());
  EXPECT_EQ(ItemLastRow(), -1);
  EXPECT_EQ(PaymentLastRow(), -1);
  EXPECT_EQ(AddressBlock.size(), 5);
}

TEST_F(InvoicePrintTest, BadSelectionLoadsNothing) {
  for (long selection : {-1L, 0L, 999L}) {
    SelInv = selection;
    ItemGrid.push_back(ItemRow{});
    EXPECT_FALSE(LoadInvoiceForPrint()) << selection;
    EXPECT_EQ(ItemLastRow(), -1);
    EXPECT_EQ(InvRec.IvNo, 0);
    EXPECT_EQ(AddressBlock, QStringList{QString()});
  }
}

}  // namespace
}  // namespace store_test
