// Times the sales, tax and receivables reports composed into the report
// buffer (the viewer is a stand-in that only reads the totals) against SQLite
// computing the same figures from the same data loaded into indexed tables.
// Each pair is timed in turn within one run; the medians are compared.
//
// Usage: bench_sales [--clustered] DATA_DIR [RUNS [REPORTS]]
// REPORTS is a comma list of report names (all by default). SQLite gets the
// tables with one index per tag the program has; --clustered makes the
// invoice and customer numbers the tables' own keys (rowids) instead. Times are the
// process's CPU time (user and system), which other work on a shared machine
// disturbs far less than the wall clock; the wall clock is shown beside it.
// The SQLite copy of the data is made once (/tmp/bench_sales/<data dir
// name>[-clustered].sqlite) and made again when the data directory's invoice
// table is newer.

#include <sqlite3.h>
#include <time.h>

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "../BenchTiming.h"
#include "testing/ScriptedPlatform.h"
#include "reports/ReportOutput.h"
#include "reports/RptSales.h"
#include "reports/RptUtil.h"
#include "store/CodeBase.h"
#include "store/dbFiles.h"

namespace {

using bench::CpuSeconds;
using bench::Median;

// --- SQLite --------------------------------------------------------------------

class Sql {
 public:
  ~Sql() {
    if (db_ != nullptr) sqlite3_close(db_);
  }
  bool Open(const std::string& path) { return sqlite3_open(path.c_str(), &db_) == SQLITE_OK; }
  bool Exec(const char* sql) {
    char* error = nullptr;
    if (sqlite3_exec(db_, sql, nullptr, nullptr, &error) == SQLITE_OK) return true;
    std::fprintf(stderr, "sqlite: %s\n  in: %s\n", error, sql);
    sqlite3_free(error);
    return false;
  }
  sqlite3_stmt* Prepare(const char* sql) {
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db_, sql, -1, &statement, nullptr) != SQLITE_OK) {
      std::fprintf(stderr, "sqlite: %s\n  in: %s\n", sqlite3_errmsg(db_), sql);
    }
    return statement;
  }

 private:
  sqlite3* db_ = nullptr;
};

std::string Trimmed(const char* text) {
  std::string s(text);
  while (!s.empty() && s.back() == ' ') s.pop_back();
  return s;
}

std::string IsoDate(const char* stored) {
  const std::string s(stored, 8);
  if (s[0] == ' ') return std::string();
  return s.substr(0, 4) + "-" + s.substr(4, 2) + "-" + s.substr(6, 2);
}

// Copies the tables the reports read, with an index for every tag they use
// (clustered: invoice and customer numbers as the rowids instead).
bool LoadSqlite(Sql& sql, bool clustered) {
  const std::string key = clustered ? " PRIMARY KEY" : "";
  const std::string schema =
      "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF;"
      "CREATE TABLE inv(ivno INTEGER" +
      key +
      ", cuno INTEGER, idate TEXT, imemo TEXT,"
      " ship REAL, tax REAL, due REAL);"
      "CREATE TABLE itm(ivno INTEGER, prid TEXT, qty REAL, upr REAL, ltax1 INTEGER,"
      " ltax2 INTEGER);"
      "CREATE TABLE pmt(ivno INTEGER, pdate TEXT, pamt REAL, gst REAL);"
      "CREATE TABLE cust(cuno INTEGER" +
      key +
      ", title TEXT, first TEXT, last TEXT,"
      " addr1 TEXT, ngroup INTEGER);"
      "CREATE TABLE prod(prid TEXT, pdesc TEXT);"
      "BEGIN;";
  if (!sql.Exec(schema.c_str())) return false;
  auto copy = [&](DATA4* table, const char* insert,
                  const std::function<void(sqlite3_stmt*)>& bind) {
    sqlite3_stmt* statement = sql.Prepare(insert);
    if (statement == nullptr) return false;
    bench::MustSucceed(d4tagSelect(table, nullptr), "d4tagSelect");
    for (int rc = d4top(table); rc == r4success; rc = d4skip(table, 1)) {
      bind(statement);
      if (sqlite3_step(statement) != SQLITE_DONE) return false;
      sqlite3_reset(statement);
    }
    sqlite3_finalize(statement);
    return true;
  };
  auto text = [](sqlite3_stmt* s, int i, const std::string& value) {
    sqlite3_bind_text(s, i, value.c_str(), static_cast<int>(value.size()), SQLITE_TRANSIENT);
  };
  const bool copied = copy(InvDb, "INSERT INTO inv VALUES(?,?,?,?,?,?,?)",
                           [&](sqlite3_stmt* s) {
                             sqlite3_bind_int64(s, 1, f4long(InvFld.IvNo));
                             sqlite3_bind_int64(s, 2, f4long(InvFld.CuNo));
                             text(s, 3, IsoDate(f4str(InvFld.IDate)));
                             text(s, 4, f4str(InvFld.IMemo));
                             sqlite3_bind_double(s, 5, f4double(InvFld.Ship));
                             sqlite3_bind_double(s, 6, f4double(InvFld.Tax));
                             sqlite3_bind_double(s, 7, f4double(InvFld.Due));
                           }) &&
                      copy(ItemDb, "INSERT INTO itm VALUES(?,?,?,?,?,?)",
                           [&](sqlite3_stmt* s) {
                             sqlite3_bind_int64(s, 1, f4long(ItemFld.IvNo));
                             text(s, 2, f4str(ItemFld.PrID));
                             sqlite3_bind_double(s, 3, f4double(ItemFld.Qty));
                             sqlite3_bind_double(s, 4, f4double(ItemFld.UPR));
                             sqlite3_bind_int(s, 5, f4true(ItemFld.LTax1));
                             sqlite3_bind_int(s, 6, f4true(ItemFld.LTax2));
                           }) &&
                      copy(PmtDb, "INSERT INTO pmt VALUES(?,?,?,?)",
                           [&](sqlite3_stmt* s) {
                             sqlite3_bind_int64(s, 1, f4long(PmtFld.IvNo));
                             text(s, 2, IsoDate(f4str(PmtFld.PDate)));
                             sqlite3_bind_double(s, 3, f4double(PmtFld.PAmt));
                             sqlite3_bind_double(s, 4, f4double(PmtFld.GST));
                           }) &&
                      copy(CustDb, "INSERT INTO cust VALUES(?,?,?,?,?,?)",
                           [&](sqlite3_stmt* s) {
                             sqlite3_bind_int64(s, 1, f4long(CustFld.cuno));
                             text(s, 2, f4str(CustFld.title));
                             text(s, 3, f4str(CustFld.first));
                             text(s, 4, f4str(CustFld.last));
                             text(s, 5, f4str(CustFld.addr1));
                             sqlite3_bind_int(s, 6, f4int(CustFld.ngroup));
                           }) &&
                      copy(ProdDb, "INSERT INTO prod VALUES(?,?)", [&](sqlite3_stmt* s) {
                        text(s, 1, f4str(ProdFld.PrID));
                        text(s, 2, f4str(ProdFld.PDesc));
                      });
  if (!copied || !sql.Exec("COMMIT;")) return false;
  if (!clustered &&
      !sql.Exec("CREATE INDEX inv_n ON inv(ivno); CREATE INDEX cust_n ON cust(cuno);")) {
    return false;
  }
  return sql.Exec(
      "CREATE INDEX prod_p ON prod(prid);"
      "CREATE INDEX inv_d ON inv(idate);"
      "CREATE INDEX inv_c ON inv(cuno);"
      "CREATE INDEX itm_n ON itm(ivno);"
      "CREATE INDEX itm_p ON itm(prid, ivno);"
      "CREATE INDEX pmt_n ON pmt(ivno);"
      "CREATE INDEX pmt_d ON pmt(pdate);"
      "ANALYZE;");
}

// Steps through the statement's rows; `row` reads each one.
void Rows(sqlite3_stmt* statement, const std::function<void(sqlite3_stmt*)>& row) {
  while (sqlite3_step(statement) == SQLITE_ROW) row(statement);
  sqlite3_reset(statement);
}

std::string Iso(TDate day) { return ToQDate(day).toString(Qt::ISODate).toStdString(); }

void BindSpan(sqlite3_stmt* statement, TDate start, TDate end) {
  const std::string from = Iso(start), to = Iso(end);
  sqlite3_bind_text(statement, 1, from.c_str(), -1, SQLITE_TRANSIENT);
  sqlite3_bind_text(statement, 2, to.c_str(), -1, SQLITE_TRANSIENT);
}

// --- The figures each side gives -------------------------------------------------

struct Figures {
  long rows = 0;               // result rows
  std::vector<double> totals;  // the report's totals, in print order
  size_t name_bytes = 0;       // customer names built, as the report builds them
};

// The numbers of the report's last `lines` lines, as exported.
std::vector<double> NumbersOfLastLines(int lines) {
  static const QRegularExpression kNumber(QStringLiteral("-?\\d+\\.\\d\\d"));
  std::vector<double> numbers;
  for (int line = std::max(0, CurLine - lines + 1); line <= CurLine; ++line) {
    const QString text = reports::ExportLine(line, reports::ExportKind::kPlainText);
    for (const QRegularExpressionMatch& m : kNumber.globalMatch(text)) {
      numbers.push_back(m.captured().toDouble());
    }
  }
  return numbers;
}

struct Report {
  const char* name;
  const char* span;  // "month", "year" or "all"
  void (*pelmark)();
  int total_lines;  // lines at the end holding the totals
  std::function<Figures(TDate, TDate)> sqlite;
};

bool Close(const std::vector<double>& a, const std::vector<double>& b, double tolerance) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (std::fabs(a[i] - b[i]) > tolerance) return false;
  }
  return true;
}

std::string List(const std::vector<double>& values) {
  std::string text;
  for (double v : values) {
    char number[32];
    std::snprintf(number, sizeof number, "%s%.2f", text.empty() ? "" : " ", v);
    text += number;
  }
  return text;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QStringList args = app.arguments().mid(1);
  const bool clustered = args.removeAll(QStringLiteral("--clustered")) > 0;
  if (args.isEmpty()) {
    std::fprintf(stderr, "usage: bench_sales [--clustered] DATA_DIR [RUNS [REPORTS]]\n");
    return 2;
  }
  const QString data_dir = QDir(args[0]).absolutePath();
  const int runs = args.size() > 1 ? std::max(1, args[1].toInt()) : 5;
  const QStringList only = args.size() > 2 ? args[2].split(',', Qt::SkipEmptyParts) : QStringList();
  const QString sqlite_file = QStringLiteral("/tmp/bench_sales/") + QFileInfo(data_dir).fileName() +
                              (clustered ? "-clustered.sqlite" : ".sqlite");
  if (!QDir::setCurrent(data_dir)) {
    std::fprintf(stderr, "no data directory %s\n", qPrintable(data_dir));
    return 2;
  }
  platform::ScriptedPlatform scripted;
  platform::Install(&scripted);
  QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
  if (!StartEngine() || !OpenSettings()) return 1;
  LoadSettings();
  bench::MustSucceed(CloseSettings(), "CloseSettings");

  // The data's last invoice day stands for today; the month is the last
  // whole month before it, the year the twelve months ending with it.
  if (!OpenInvoices()) return 1;
  bench::MustSucceed(d4tagSelect(InvDb, d4tag(InvDb, "InvD")), "d4tagSelect");
  bench::MustSucceed(d4bottom(InvDb), "d4bottom");
  const QDate last_day = ToQDate(TextToDate(QString::fromLatin1(f4str(InvFld.IDate))));
  CloseAllTables();
  SetTodayForTests(last_day);
  const QDate month_start = QDate(last_day.year(), last_day.month(), 1).addMonths(-1);
  const QDate month_end = month_start.addMonths(1).addDays(-1);
  const QDate year_start = month_start.addMonths(-11);

  Sql sql;
  const QFileInfo sqlite_info(sqlite_file);
  const bool fresh = sqlite_info.exists() &&
                     sqlite_info.lastModified() > QFileInfo(data_dir + "/INV5.dbf").lastModified();
  if (!fresh) {
    std::printf("loading %s into %s ...\n", qPrintable(data_dir), qPrintable(sqlite_file));
    QDir().mkpath(sqlite_info.absolutePath());
    QFile::remove(sqlite_file);
    if (!sql.Open(sqlite_file.toStdString()) || !OpenInvoices() || !OpenLineItems() ||
        !OpenPayments() || !OpenCustomers() || !OpenProducts() || !LoadSqlite(sql, clustered)) {
      std::fprintf(stderr, "could not load the SQLite copy\n");
      return 1;
    }
    CloseAllTables();
  } else if (!sql.Open(sqlite_file.toStdString())) {
    return 1;
  }

  const int ship_tax = Settings.ShipTax;
  sqlite3_stmt* summary = sql.Prepare(
      "SELECT i.ivno, i.idate, i.ship, i.tax,"
      " (SELECT total(l.qty * l.upr) FROM itm l WHERE l.ivno = i.ivno)"
      " FROM inv i WHERE i.idate BETWEEN ?1 AND ?2 ORDER BY i.idate, i.ivno");
  sqlite3_stmt* by_product = sql.Prepare(
      "SELECT s.prid, p.pdesc, s.qty, s.total FROM"
      " (SELECT l.prid AS prid, total(l.qty) AS qty, total(l.qty * l.upr) AS total"
      "  FROM inv i CROSS JOIN itm l ON l.ivno = i.ivno WHERE i.idate BETWEEN ?1 AND ?2"
      "  GROUP BY l.prid) s LEFT JOIN prod p ON p.prid = s.prid"
      " ORDER BY p.prid IS NULL, p.prid");
  sqlite3_stmt* tax_lines = sql.Prepare(
      "SELECT total(l.qty * l.upr), total(CASE WHEN l.ltax1 THEN l.qty * l.upr END),"
      " total(CASE WHEN l.ltax2 THEN l.qty * l.upr END)"
      " FROM inv i CROSS JOIN itm l ON l.ivno = i.ivno WHERE i.idate BETWEEN ?1 AND ?2");
  sqlite3_stmt* tax_charges = sql.Prepare(
      "SELECT total(ship), total(tax),"
      " total(CASE WHEN ?3 = 2 OR (?3 = 3 AND tax > 0) THEN ship END)"
      " FROM inv WHERE idate BETWEEN ?1 AND ?2");
  sqlite3_stmt* receivables = sql.Prepare(
      "SELECT i.ivno, c.title, c.first, c.last, c.addr1,"
      " CAST(julianday(?1) - julianday(i.idate) AS INTEGER), i.due"
      " FROM inv i LEFT JOIN cust c ON c.cuno = i.cuno WHERE i.due <> 0 ORDER BY i.ivno");
  if (!summary || !by_product || !tax_lines || !tax_charges || !receivables) return 1;
  const std::string today_iso = last_day.toString(Qt::ISODate).toStdString();
  sqlite3_bind_text(receivables, 1, today_iso.c_str(), -1, SQLITE_TRANSIENT);

  // A customer's name as the reports print it, so both sides build the same texts.
  const bool by_cust = Settings.ByCust;
  auto name = [by_cust](sqlite3_stmt* s) {
    auto column = [s](int i) {
      const unsigned char* t = sqlite3_column_text(s, i);
      return t == nullptr ? std::string() : std::string(reinterpret_cast<const char*>(t));
    };
    if (sqlite3_column_type(s, 1) == SQLITE_NULL) return std::string("UNKNOWN");
    return by_cust ? Trimmed(column(1).c_str()) + " " + Trimmed(column(2).c_str()) + " " + column(3)
                   : Trimmed(column(4).c_str());
  };

  const std::vector<Report> reports = {
      {"SalesSummary", "month", reports::SalesSummary, 1,
       [&](TDate from, TDate to) {
         Figures f;
         double sums[4] = {};
         BindSpan(summary, from, to);
         Rows(summary, [&](sqlite3_stmt* s) {
           const double ship = sqlite3_column_double(s, 2), tax = sqlite3_column_double(s, 3),
                        items = sqlite3_column_double(s, 4);
           sums[0] += items;
           sums[1] += ship;
           sums[2] += tax;
           sums[3] += items + ship + tax;
           ++f.rows;
         });
         f.totals.assign(sums, sums + 4);
         return f;
       }},
      {"SalesByProduct", "year", reports::SalesByProduct, 1,
       [&](TDate from, TDate to) {
         Figures f;
         double sum = 0;
         BindSpan(by_product, from, to);
         Rows(by_product, [&](sqlite3_stmt* s) {
           sum += sqlite3_column_double(s, 3);
           ++f.rows;
         });
         f.totals = {sum};
         return f;
       }},
      {"TaxSummary", "year", reports::TaxSummary, 7,
       [&](TDate from, TDate to) {
         Figures f;
         double net = 0, subject1 = 0, subject2 = 0, ship = 0, tax = 0, ship_subject = 0;
         BindSpan(tax_lines, from, to);
         Rows(tax_lines, [&](sqlite3_stmt* s) {
           net = sqlite3_column_double(s, 0);
           subject1 = sqlite3_column_double(s, 1);
           subject2 = sqlite3_column_double(s, 2);
         });
         BindSpan(tax_charges, from, to);
         sqlite3_bind_int(tax_charges, 3, ship_tax);
         Rows(tax_charges, [&](sqlite3_stmt* s) {
           ship = sqlite3_column_double(s, 0);
           tax = sqlite3_column_double(s, 1);
           ship_subject = sqlite3_column_double(s, 2);
         });
         f.totals = {net};
         if (Settings.TaxRate1 > 0) f.totals.insert(f.totals.end(), {subject1, ship});
         f.totals.insert(f.totals.end(), {subject2 + ship_subject, tax, net + ship + tax});
         return f;
       }},
      {"Receivables", "all", reports::Receivables, 1,
       [&](TDate, TDate) {
         Figures f;
         double sum = 0;
         Rows(receivables, [&](sqlite3_stmt* s) {
           f.name_bytes += name(s).size();
           sum += sqlite3_column_double(s, 6);
           ++f.rows;
         });
         f.totals = {sum};
         return f;
       }},
      {"ReceivablesAging", "all", reports::ReceivablesAging, 2,
       [&](TDate, TDate) {
         Figures f;
         std::array<double, 4> sums{};
         Rows(receivables, [&](sqlite3_stmt* s) {
           f.name_bytes += name(s).size();
           const int age = sqlite3_column_int(s, 5);
           sums[age <= 30 ? 0 : age <= 60 ? 1 : age <= 90 ? 2 : 3] += sqlite3_column_double(s, 6);
           ++f.rows;
         });
         f.totals.assign(sums.begin(), sums.end());
         f.totals.push_back(sums[0] + sums[1] + sums[2] + sums[3]);
         return f;
       }},
  };

  std::printf("sqlite %s (%s keys)\n", qPrintable(sqlite_file), clustered ? "clustered" : "tag");
  std::printf("data %s, today %s, month %s..%s, year %s..%s, %d runs each (medians)\n",
              qPrintable(data_dir), qPrintable(last_day.toString(Qt::ISODate)),
              qPrintable(month_start.toString(Qt::ISODate)),
              qPrintable(month_end.toString(Qt::ISODate)),
              qPrintable(year_start.toString(Qt::ISODate)),
              qPrintable(month_end.toString(Qt::ISODate)), runs);
  bool all_ok = true;
  for (const Report& report : reports) {
    if (!only.isEmpty() && !only.contains(QString::fromLatin1(report.name))) continue;
    const bool month = std::string(report.span) == "month";
    const TDate from = FromQDate(month ? month_start : year_start);
    const TDate to = FromQDate(month_end);
    scripted.OnModal(platform::WindowId::kDateSpan, [&] {
      SpanStart = from;
      SpanEnd = to;
      SpanCancelled = false;
      return 1;
    });
    Figures pelmark;
    int lines = 0;
    scripted.OnModal(platform::WindowId::kReportF, [&] {
      lines = CurLine + 1;
      pelmark.totals = NumbersOfLastLines(report.total_lines);
      return 1;
    });
    std::vector<double> ours, theirs, ours_wall, theirs_wall;
    Figures sqlite;
    for (int run = 0; run < runs; ++run) {
      QElapsedTimer timer;
      timer.start();
      double cpu = CpuSeconds();
      report.pelmark();
      ours.push_back(CpuSeconds() - cpu);
      ours_wall.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e9);
      timer.restart();
      cpu = CpuSeconds();
      sqlite = report.sqlite(from, to);
      theirs.push_back(CpuSeconds() - cpu);
      theirs_wall.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e9);
    }
    // Rounding at each addition may move a sum by a cent per few lines.
    const double tolerance = std::string(report.name) == "SalesByProduct" ? 1.0 : 0.005;
    const bool agree = Close(pelmark.totals, sqlite.totals, tolerance);
    const double mine = Median(ours), yardstick = Median(theirs);
    const bool fast = mine <= yardstick;
    all_ok = all_ok && agree && fast;
    for (const QString& said : scripted.Said()) std::printf("said: %s\n", qPrintable(said));
    scripted.ClearRecords();
    std::printf(
        "%-17s %-5s pelmark %.3f s (wall %.3f, %d lines)  sqlite %.3f s (wall %.3f,"
        " %ld rows)  %s, %s\n"
        "%17s totals pelmark [%s] sqlite [%s]\n",
        report.name, report.span, mine, Median(ours_wall), lines, yardstick, Median(theirs_wall),
        sqlite.rows, fast ? "ok" : "SLOWER", agree ? "figures agree" : "FIGURES DIFFER", "",
        List(pelmark.totals).c_str(), List(sqlite.totals).c_str());
  }
  EndEngine();
  platform::Install(nullptr);
  return all_ok ? 0 : 1;
}
