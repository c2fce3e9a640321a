// Saving and deleting invoices over real tables: numbering, the first
// invoice prompt, line and payment records overwritten, appended, deleted
// and packed in order, the customer's note, reading a saved invoice back,
// and a save that fails part way and is tried again.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <algorithm>
#include <map>
#include <optional>

#include "InvoiceFixture.h"
#include "store/FileMaint.h"
#include "testing/FaultyFileSystem.h"

namespace invoicing_test {
namespace {

using namespace invoicing;
using platform::Answer;

class SaveTest : public InvoiceFixture {
 protected:
  void SetUp() override {
    InvoiceFixture::SetUp();
    customer_ = AddCustomer(7, "Carter", "Cleo", "old note");
  }

  // A saved invoice with the lines and payments; returns its record.
  long SaveInvoiceWith(const std::vector<ItemRow>& lines, const std::vector<PaymentRow>& payments) {
    StartNewInvoice(customer_);
    ItemGrid = lines;
    PaymentGrid = payments;
    ShowInvoice();
    return SaveNewAndClose();
  }

  // Opens the invoice at the record as the window does.
  void Reopen(long record) {
    SelInv = record;
    OpenInvoiceDocument();
  }

  static std::vector<StoredLine> LinesOf(long invoice) {
    std::vector<StoredLine> lines;
    for (const StoredLine& line : StoredLines()) {
      if (line.invoice == invoice && !line.deleted) lines.push_back(line);
    }
    return lines;
  }

  long customer_ = 0;
  // Outlives the tables opened over it: TearDown closes them.
  engine::FaultyFileSystem faulty_;
};

TEST_F(SaveTest, FirstInvoiceNumberIsAsked) {
  struct Case {
    std::optional<const char*> answer;  // nullopt: the box is cancelled
    long stored;
  } cases[] = {
      {"1001", 1001}, {" 42 ", 42}, {"abc", 1},         {"", 1},        {std::nullopt, 1},
      {"0", 1},       {"-5", 1},    {"999999", 999999}, {"1000000", 1},
  };
  for (const Case& c : cases) {
    ASSERT_EQ(d4zap(InvDb, 1, d4recCountDo(InvDb)), 0);
    scripted_.ClearRecords();
    if (c.answer) {
      scripted_.QueueInput(QString::fromLatin1(*c.answer));
    } else {
      scripted_.QueueInputCancelled();
    }
    SaveInvoiceWith({}, {});
    ASSERT_EQ(scripted_.Requests().size(), 2u);
    EXPECT_EQ(scripted_.Requests()[0].kind, platform::ScriptedPlatform::Kind::kInputBox);
    EXPECT_EQ(scripted_.Requests()[0].caption, QStringLiteral("FIRST INVOICE"));
    EXPECT_EQ(scripted_.Requests()[0].text,
              QStringLiteral("What invoice number would you like to start with?"));
    EXPECT_EQ(scripted_.Requests()[0].proposed, QStringLiteral("1"));
    EXPECT_EQ(StoredInvoiceNumbers(), std::vector<long>{c.stored}) << c.answer.value_or("cancel");
  }
  // The next invoice follows without asking.
  scripted_.ClearRecords();
  SaveInvoiceWith({}, {});
  EXPECT_EQ(StoredInvoiceNumbers(), (std::vector<long>{1, 2}));
  EXPECT_EQ(scripted_.Requests().size(), 1u);  // just "Add another invoice?"
}

TEST_F(SaveTest, FirstInvoiceThenNextNumber) {
  scripted_.QueueInput(QStringLiteral("1001"));
  SaveInvoiceWith({Line("A", 1, 5)}, {});
  SelInv = 0;
  OpenInvoiceDocument();
  EXPECT_EQ(InvRec.IvNo, 1002);
  EXPECT_EQ(Screen.invoice_no, QStringLiteral("  1002"));
}

TEST_F(SaveTest, NoNewInvoiceAfter999999AndNothingWritten) {
  scripted_.QueueInput(QStringLiteral("999999"));
  const long last = SaveInvoiceWith({Line("A", 1, 5)}, {Payment(QDate(2026, 3, 1), 5)});
  const long headers = d4recCountDo(InvDb);
  const long lines = d4recCountDo(ItemDb);
  const long payments = d4recCountDo(PmtDb);
  for (int attempt = 1; attempt <= 2; ++attempt) {
    SCOPED_TRACE(attempt);
    scripted_.ClearRecords();
    StartNewInvoice(customer_);
    ItemGrid = {Line("B", 2, 3)};
    PaymentGrid = {Payment(QDate(2026, 3, 2), 6)};
    EXPECT_EQ(Save(), SaveOutcome::kStays);
    EXPECT_EQ(scripted_.Said(), QStringList(QStringLiteral(
                                    "Invoice numbers have reached 999999, the highest an invoice "
                                    "can have, so no new invoice can be saved.\r\nBack up the "
                                    "data files and keep further invoices in a new set of data "
                                    "files, or delete invoice 999999 if it was numbered by "
                                    "mistake.")));
    EXPECT_EQ(d4recCountDo(InvDb), headers);
    EXPECT_EQ(d4recCountDo(ItemDb), lines);
    EXPECT_EQ(d4recCountDo(PmtDb), payments);
    EXPECT_EQ(ItemGrid.size(), 1u);  // the invoice stays in the window
  }
  // Invoice 999999 itself can still be edited and saved.
  SelInv = last;
  OpenInvoiceDocument();
  ItemGrid.push_back(Line("C", 1, 1));
  EXPECT_EQ(Save(), SaveOutcome::kClose);
  EXPECT_EQ(StoredInvoiceNumbers(), std::vector<long>{999999});
  EXPECT_EQ(LinesOf(999999).size(), 2u);
}

TEST_F(SaveTest, SaveWithoutCustomerIsRefused) {
  SelInv = 0;
  OpenInvoiceDocument();
  ItemGrid = {Line("A", 1, 5)};
  EXPECT_EQ(Save(), SaveOutcome::kStays);
  EXPECT_TRUE(scripted_.WasShown(QStringLiteral("Customer selection required before saving.")));
  EXPECT_EQ(d4recCountDo(InvDb), 0);
  EXPECT_EQ(d4recCountDo(ItemDb), 0);
  EXPECT_EQ(ItemGrid.size(), 1u);
}

TEST_F(SaveTest, SavedInvoiceReadsBackIdentically) {
  Settings.TaxRate1 = 5;
  Settings.TaxRate2 = 10;
  Settings.ShipTax = 2;
  AddProduct({"BOLT", "Bolt M6", 0.25, true, true, "", "RC-9", "Torque to 10 Nm"});
  scripted_.QueueInput(QStringLiteral("500"));
  StartNewInvoice(customer_);
  ItemGrid = {Line("BOLT", 10, 0.25, true, true, "Bolt M6"), Line("LABOUR", 1.5, 40, false, true),
              Line("FREE", 1, 0, false, false, "Sample")};
  ItemGrid[0][6] = QStringLiteral("zinc");
  ItemGrid[0][7] = QStringLiteral("RC-9");
  ItemGrid[0][8] = QStringLiteral("Torque to 10 Nm");
  PaymentGrid = {Payment(QDate(2026, 3, 10), 20, 1.82, true), Payment(QDate(2026, 3, 12), 5)};
  ComputeTaxes(true);
  ShowInvoice();
  WindowFields fields = ShownFields();
  fields.dept = QStringLiteral("Workshop");
  fields.imemo = QStringLiteral("VISA 4111");
  fields.rem = QStringLiteral("Deliver to the back door.\r\nRing twice.");
  fields.date = FromQDate(QDate(2026, 3, 11));
  fields.note = QStringLiteral("  new note  ");
  const InvoiceRecord expected_header = [&] {
    InvoiceRecord r = InvRec;
    r.IvNo = 500;
    r.Dept = fields.dept;
    r.IMemo = fields.imemo;
    r.REM = fields.rem;
    r.IDate = fields.date;
    return r;
  }();
  const std::vector<ItemRow> expected_lines = ItemGrid;
  const std::vector<PaymentRow> expected_payments = PaymentGrid;
  scripted_.QueueAnswer(Answer::kNo);
  ASSERT_EQ(SaveInvoice(fields), SaveOutcome::kClose);
  EXPECT_TRUE(ItemGrid.empty());
  EXPECT_TRUE(PaymentGrid.empty());

  InvRec = InvoiceRecord();
  ASSERT_TRUE(LoadInvoiceForPrint());
  EXPECT_EQ(InvRec.IvNo, expected_header.IvNo);
  EXPECT_EQ(InvRec.CuNo, 7);
  EXPECT_EQ(InvRec.IDate, expected_header.IDate);
  EXPECT_EQ(InvRec.Dept.trimmed(), expected_header.Dept);
  EXPECT_EQ(InvRec.IMemo.trimmed(), expected_header.IMemo);
  EXPECT_EQ(InvRec.REM, expected_header.REM);
  EXPECT_DOUBLE_EQ(InvRec.Ship, 0.13);  // 5% of 2.50, half a cent up
  EXPECT_DOUBLE_EQ(InvRec.Tax, 6.26);   // 10% of 2.50 + 60.00 + 0.13
  EXPECT_DOUBLE_EQ(InvRec.Due, 43.89);  // 62.50 + 0.13 + 6.26 - 25.00
  ASSERT_EQ(ItemGrid.size(), expected_lines.size());
  for (size_t i = 0; i < ItemGrid.size(); ++i) {
    for (size_t column = 0; column < 7; ++column) {
      EXPECT_EQ(ItemGrid[i][column].trimmed(), expected_lines[i][column].trimmed())
          << "line " << i << " column " << column;
    }
  }
  EXPECT_EQ(ItemGrid[0][7], QStringLiteral("RC-9"));
  EXPECT_EQ(ItemGrid[0][8], QStringLiteral("Torque to 10 Nm"));
  EXPECT_EQ(PaymentGrid, expected_payments);
  EXPECT_EQ(CustRec.note.trimmed(), QStringLiteral("new note"));
  EXPECT_EQ(AddressBlock[0], QStringLiteral("Cleo Carter"));
}

TEST_F(SaveTest, EditingDownToOneLineOverwritesDeletesAndPacks) {
  const long first = SaveInvoiceWith({Line("A", 1, 1), Line("B", 2, 2), Line("C", 3, 3)}, {});
  const long other = SaveInvoiceWith({Line("X", 9, 9)}, {});
  ASSERT_EQ(StoredLines().size(), 4u);
  Reopen(first);
  ASSERT_EQ(ItemGrid.size(), 3u);
  ItemGrid = {Line("Z", 5, 5)};
  scripted_.ClearRecords();
  EXPECT_EQ(Save(), SaveOutcome::kClose);  // an edited invoice closes without asking
  EXPECT_TRUE(scripted_.Requests().empty());

  const std::vector<StoredLine> lines = StoredLines();
  ASSERT_EQ(lines.size(), 2u);  // packed: nothing left marked
  EXPECT_EQ(lines[0].record, 1);
  EXPECT_EQ(lines[0].product, QStringLiteral("Z"));
  EXPECT_DOUBLE_EQ(lines[0].quantity, 5);
  EXPECT_FALSE(lines[0].deleted);
  EXPECT_EQ(lines[1].product, QStringLiteral("X"));
  EXPECT_FALSE(lines[1].deleted);
  Reopen(other);
  ASSERT_EQ(ItemGrid.size(), 1u);
  EXPECT_EQ(ItemGrid[0][0].trimmed(), QStringLiteral("X"));
}

TEST_F(SaveTest, EditingUpToThreeLinesOverwritesAndAppendsWithoutPacking) {
  const long first = SaveInvoiceWith({Line("A", 1, 1)}, {});
  // A line of another invoice marked for deletion shows whether the table was packed.
  ASSERT_EQ(d4appendBlank(ItemDb), 0);
  f4assignLong(ItemFld.IvNo, 999);
  d4delete(ItemDb);
  ASSERT_EQ(d4flush(ItemDb), 0);

  Reopen(first);
  ItemGrid.push_back(Line("B", 2, 2));
  ItemGrid.push_back(Line("C", 3, 3));
  EXPECT_EQ(Save(), SaveOutcome::kClose);
  const std::vector<StoredLine> lines = StoredLines();
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0].product, QStringLiteral("A"));
  EXPECT_TRUE(lines[1].deleted);
  EXPECT_EQ(lines[2].product, QStringLiteral("B"));
  EXPECT_EQ(lines[3].product, QStringLiteral("C"));
  Reopen(first);
  ASSERT_EQ(ItemGrid.size(), 3u);
  EXPECT_EQ(ItemGrid[2][0].trimmed(), QStringLiteral("C"));
}

TEST_F(SaveTest, RemovingEveryPaymentDeletesTheirRecords) {
  const long first = SaveInvoiceWith(
      {Line("A", 1, 100)}, {Payment(QDate(2026, 3, 1), 10), Payment(QDate(2026, 3, 2), 20)});
  const long other = SaveInvoiceWith({}, {Payment(QDate(2026, 3, 3), 30)});
  ASSERT_EQ(StoredPayments().size(), 3u);
  Reopen(first);
  ASSERT_EQ(PaymentGrid.size(), 2u);
  PaymentGrid.clear();
  ShowPayments();
  EXPECT_EQ(Save(), SaveOutcome::kClose);
  const std::vector<StoredPayment> payments = StoredPayments();
  ASSERT_EQ(payments.size(), 1u);
  EXPECT_DOUBLE_EQ(payments[0].amount, 30);
  Reopen(first);
  EXPECT_TRUE(PaymentGrid.empty());
  EXPECT_DOUBLE_EQ(InvRec.Due, 100);
  Reopen(other);
  EXPECT_EQ(PaymentGrid.size(), 1u);
}

TEST_F(SaveTest, AddAnotherInvoiceStartsANewOneWithoutCustomer) {
  StartNewInvoice(customer_);
  ItemGrid = {Line("A", 1, 5)};
  scripted_.QueueInput(QStringLiteral("1"));
  scripted_.QueueAnswer(Answer::kYes);
  EXPECT_EQ(Save(), SaveOutcome::kNextInvoice);
  EXPECT_EQ(SelInv, 0);
  EXPECT_EQ(InvRec.IvNo, 2);
  EXPECT_EQ(InvRec.CuNo, 0);
  EXPECT_TRUE(ItemGrid.empty());
  EXPECT_TRUE(Screen.customer.isEmpty());
  EXPECT_EQ(Screen.invoice_no, QStringLiteral("     2"));
  EXPECT_EQ(Screen.total, QStringLiteral("      0.00"));
  EXPECT_EQ(StoredInvoiceNumbers(), std::vector<long>{1});
}

TEST_F(SaveTest, DeletingRemovesTheInvoiceWithItsLinesAndPayments) {
  const long first =
      SaveInvoiceWith({Line("A", 1, 1), Line("B", 1, 2)}, {Payment(QDate(2026, 3, 1), 1)});
  SaveInvoiceWith({Line("C", 1, 3)}, {Payment(QDate(2026, 3, 2), 3)});
  const long third = SaveInvoiceWith({Line("D", 1, 4)}, {});
  Reopen(first);

  scripted_.QueueAnswer(Answer::kCancel);
  EXPECT_FALSE(DeleteInvoice());
  EXPECT_EQ(d4recCountDo(InvDb), 3);

  scripted_.QueueAnswer(Answer::kOk);
  EXPECT_TRUE(DeleteInvoice());
  EXPECT_TRUE(scripted_.WasShown(QStringLiteral("Are you sure you want to delete this invoice?")));
  EXPECT_EQ(StoredInvoiceNumbers(), (std::vector<long>{2, 3}));
  const std::vector<StoredLine> lines = StoredLines();
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].product, QStringLiteral("C"));
  const std::vector<StoredPayment> payments = StoredPayments();
  ASSERT_EQ(payments.size(), 1u);
  EXPECT_DOUBLE_EQ(payments[0].amount, 3);
  EXPECT_EQ(SelInv, third - 1);  // the last invoice, moved up by the pack
  EXPECT_EQ(SelCust, customer_);
  EXPECT_TRUE(ItemGrid.empty());
}

TEST_F(SaveTest, DeletingANeverSavedInvoiceRemovesNothingStored) {
  SaveInvoiceWith({Line("A", 1, 1)}, {Payment(QDate(2026, 3, 1), 1)});
  StartNewInvoice(customer_);
  ItemGrid = {Line("B", 1, 1)};
  scripted_.QueueAnswer(Answer::kOk);
  EXPECT_TRUE(DeleteInvoice());
  EXPECT_EQ(StoredInvoiceNumbers(), std::vector<long>{1});
  EXPECT_EQ(StoredLines().size(), 1u);
  EXPECT_EQ(StoredPayments().size(), 1u);
  EXPECT_EQ(SelInv, 1);
}

TEST_F(SaveTest, CustomerNoteIsWrittenBack) {
  StartNewInvoice(customer_);
  WindowFields fields = ShownFields();
  EXPECT_EQ(fields.note, QStringLiteral("old note"));
  fields.note = QStringLiteral(" pays by cheque ");
  scripted_.QueueInputCancelled();  // the first invoice's number: 1
  scripted_.QueueAnswer(Answer::kNo);
  ASSERT_EQ(SaveInvoice(fields), SaveOutcome::kClose);
  ASSERT_EQ(d4go(CustDb, customer_), 0);
  EXPECT_EQ(QString::fromLatin1(f4str(CustFld.note)).trimmed(), QStringLiteral("pays by cheque"));
  EXPECT_EQ(d4tagSelected(CustDb), d4tag(CustDb, "cname"));
}

// A save that fails at any write and is then tried again leaves exactly one
// header for the invoice, with every line and payment stored once.
TEST_F(SaveTest, SaveRetriedAfterAFailedWriteCompletesTheSameInvoice) {
  SaveInvoiceWith({Line("OLD", 1, 1)}, {});  // invoice 1, so no number is asked
  CloseAllTables();
  code4fileSystem(cb, &faulty_);
  OpenInvoiceTables();
  const std::vector<ItemRow> lines = {Line("A", 1, 1), Line("B", 2, 2), Line("C", 3, 3)};
  const std::vector<PaymentRow> payments = {Payment(QDate(2026, 3, 1), 4)};

  // How many steps a whole save takes.
  StartNewInvoice(customer_);
  ItemGrid = lines;
  PaymentGrid = payments;
  const int64_t before = faulty_.StepCount();
  scripted_.QueueAnswer(Answer::kNo);
  ASSERT_EQ(Save(), SaveOutcome::kClose);
  const int64_t writes = faulty_.StepCount() - before;
  ASSERT_GT(writes, 5);

  int retried_after_header = 0;
  for (int64_t n = 1; n <= writes; ++n) {
    SCOPED_TRACE(testing::Message() << "steps fail from the " << n << "th");
    platform::ScriptedPlatform attempt;
    platform::ScopedPlatform scope(&attempt);
    faulty_.Reset();
    StartNewInvoice(customer_);
    ItemGrid = lines;
    PaymentGrid = payments;
    const long number = InvRec.IvNo;
    const size_t headers_before = StoredInvoiceNumbers().size();
    faulty_.FailFromStep(n);
    attempt.QueueAnswer(Answer::kNo);
    const SaveOutcome first = Save();
    faulty_.Reset();
    if (first == SaveOutcome::kClose || attempt.TerminateRequested()) {
      // Saved after all, or the program would have ended on a table it could not reopen.
      CloseAllTables();
      OpenInvoiceTables();
      if (first == SaveOutcome::kClose && !attempt.TerminateRequested()) {
        // A save that reports success stored the whole invoice, once.
        const std::vector<long> numbers = StoredInvoiceNumbers();
        EXPECT_EQ(std::count(numbers.begin(), numbers.end(), number), 1);
        EXPECT_EQ(numbers.size(), headers_before + 1);
        EXPECT_EQ(LinesOf(number).size(), 3u);
      }
      continue;
    }
    if (UnfinishedHeaderRecord() > 0) ++retried_after_header;
    // The operator saves again in the same window.
    attempt.QueueAnswer(Answer::kNo);
    const SaveOutcome second = Save();
    ASSERT_EQ(second, SaveOutcome::kClose);
    const std::vector<long> numbers = StoredInvoiceNumbers();
    EXPECT_EQ(std::count(numbers.begin(), numbers.end(), number), 1);
    EXPECT_EQ(numbers.size(), headers_before + 1);
    const std::vector<StoredLine> stored = LinesOf(number);
    ASSERT_EQ(stored.size(), 3u);
    EXPECT_EQ(stored[0].product, QStringLiteral("A"));
    EXPECT_EQ(stored[2].product, QStringLiteral("C"));
  }
  EXPECT_GT(retried_after_header, 0);
  RecordProperty("steps_per_save", static_cast<int>(writes));
  RecordProperty("retried_after_header", retried_after_header);
  CloseAllTables();
  code4fileSystem(cb, nullptr);
}

// The machine stops at every step of a save in turn. At the next start every
// invoice stored before is there unchanged, the tables agree with their
// indexes, and a save that did not finish told the operator.
TEST_F(SaveTest, EveryStepOfASaveCanFailWithoutLosingStoredInvoices) {
  SaveInvoiceWith({Line("OLD", 1, 1), Line("OLD2", 2, 2)}, {Payment(QDate(2026, 3, 1), 1)});
  CloseAllTables();
  code4fileSystem(cb, &faulty_);
  const QString data = QDir::currentPath();
  std::map<QString, QByteArray> saved_files;
  for (const QString& name : QDir(data).entryList(QDir::Files)) {
    QFile file(name);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    saved_files[name] = file.readAll();
  }
  struct Stored {
    std::vector<long> invoices;
    std::vector<StoredLine> lines;
    std::vector<StoredPayment> payments;
    QString note;
  };
  auto read_back = [&] {
    Stored stored;
    stored.invoices = StoredInvoiceNumbers();
    stored.lines = StoredLines();
    stored.payments = StoredPayments();
    EXPECT_EQ(d4go(CustDb, customer_), 0);
    stored.note = QString::fromLatin1(f4str(CustFld.note)).trimmed();
    for (DATA4* table : {CustDb, InvDb, ItemDb, PmtDb}) {
      std::vector<std::string> problems;
      EXPECT_EQ(d4check(table, &problems), 0) << (problems.empty() ? "" : problems.front());
    }
    code4errorCode(cb, 0);
    return stored;
  };
  // From the files as they were before the save, with a new engine (the restart).
  auto restart = [&](bool put_back) {
    CloseAllTables();
    EndEngine();
    if (put_back) {
      // Files still there are rewritten in place: creating files costs most.
      for (const QString& name : QDir(data).entryList(QDir::Files)) {
        if (saved_files.count(name) == 0) QFile::remove(name);
      }
      for (const auto& [name, bytes] : saved_files) {
        QFile file(name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
      }
    }
    ASSERT_TRUE(StartEngine());
    code4fileSystem(cb, &faulty_);
    ForgetUnfinishedHeader();
    if (!put_back) {
      // The start after a run that did not end cleanly mends what it left.
      bool mended = false;
      RecoverDataFiles(&mended);
      EXPECT_TRUE(mended);
      RepairDataFiles();
    }
    OpenInvoiceTables();
  };
  auto save = [&](platform::ScriptedPlatform* ui) {
    platform::ScopedPlatform scope(ui);
    StartNewInvoice(customer_);
    ItemGrid = {Line("A", 1, 1), Line("B", 2, 2), Line("C", 3, 3)};
    PaymentGrid = {Payment(QDate(2026, 3, 2), 4)};
    ShowInvoice();
    Screen.note = QStringLiteral("new note");
    ui->QueueAnswer(Answer::kNo);
    return Save();
  };
  restart(true);
  const Stored before = read_back();
  faulty_.Reset();
  platform::ScriptedPlatform clean;
  ASSERT_EQ(save(&clean), SaveOutcome::kClose);
  const int64_t steps = faulty_.StepCount();
  for (int64_t n = 1; n <= steps; ++n) {
    SCOPED_TRACE(testing::Message() << "the disk stops at step " << n);
    restart(true);
    platform::ScriptedPlatform ui;
    faulty_.Reset();
    faulty_.FailFromStep(n);
    const SaveOutcome outcome = save(&ui);
    CloseAllTables();  // what the program still holds never reaches the disk
    faulty_.Reset();
    restart(false);
    const Stored now = read_back();
    ASSERT_GE(now.invoices.size(), before.invoices.size());
    EXPECT_TRUE(std::equal(before.invoices.begin(), before.invoices.end(), now.invoices.begin()));
    for (const StoredLine& line : before.lines) {
      EXPECT_TRUE(std::any_of(now.lines.begin(), now.lines.end(), [&](const StoredLine& l) {
        return l.record == line.record && l.deleted == line.deleted && l.invoice == line.invoice &&
               l.product == line.product && l.quantity == line.quantity;
      })) << line.product.toStdString();
    }
    for (const StoredPayment& payment : before.payments) {
      EXPECT_TRUE(
          std::any_of(now.payments.begin(), now.payments.end(), [&](const StoredPayment& p) {
            return p.record == payment.record && p.invoice == payment.invoice &&
                   p.amount == payment.amount;
          }));
    }
    if (outcome == SaveOutcome::kClose) {
      EXPECT_EQ(now.invoices.size(), before.invoices.size() + 1);
      EXPECT_EQ(LinesOf(now.invoices.back()).size(), 3u);
      EXPECT_EQ(now.note, QStringLiteral("new note"));
    } else {
      EXPECT_TRUE(!ui.Said().filter(QStringLiteral("nable to")).isEmpty() ||
                  ui.TerminateRequested())
          << ui.Said().join(QStringLiteral(" | ")).toStdString();
    }
    if (HasFailure()) break;
  }
  RecordProperty("steps_of_a_save", static_cast<int>(steps));
  CloseAllTables();
  code4fileSystem(cb, nullptr);
}

}  // namespace
}  // namespace invoicing_test
