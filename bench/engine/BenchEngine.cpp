// Measures the table engine on a generated invoice-line table: index builds,
// appends with tags maintained, seeks, reads, skips, delete marking, pack,
// open/close and the cost of one durable store. One line per measure with
// the median of several runs and its goal.

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "../BenchTiming.h"

#include "engine/TableEngine.h"

namespace {

namespace fs = std::filesystem;

const FIELD4INFO kFields[] = {
    {"IvNo", 'N', 6, 0},  {"PrID", 'C', 10, 0},  {"Qty", 'N', 12, 2},
    {"UPR", 'N', 12, 2},  {"PDesc", 'C', 27, 0}, {"IComm", 'C', 27, 0},
    {"LTax1", 'L', 1, 0}, {"LTax2", 'L', 1, 0},  {nullptr, 0, 0, 0},
};
const TAG4INFO kFirstTag[] = {{"Itm", "Str(IvNo,6,0)", nullptr, 0, 0},
                              {nullptr, nullptr, nullptr, 0, 0}};
const TAG4INFO kBothTags[] = {{"Itm", "Str(IvNo,6,0)", nullptr, 0, 0},
                              {"ItmP", "PrID + Str(IvNo,6,0)", nullptr, 0, 0},
                              {nullptr, nullptr, nullptr, 0, 0}};

double Now() {
  using Clock = std::chrono::steady_clock;
  return std::chrono::duration<double>(Clock::now().time_since_epoch()).count();
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

void Die(CODE4* cb, const char* what) {
  std::fprintf(stderr, "bench_engine: %s failed (error %d)\n", what, code4errorCode(cb, 0));
  std::exit(1);
}

struct Fields {
  FIELD4* ivno;
  FIELD4* prid;
  FIELD4* qty;
  FIELD4* upr;
  FIELD4* pdesc;
  FIELD4* icomm;
  FIELD4* ltax1;
  FIELD4* ltax2;
  explicit Fields(DATA4* d)
      : ivno(d4field(d, "IvNo")),
        prid(d4field(d, "PrID")),
        qty(d4field(d, "Qty")),
        upr(d4field(d, "UPR")),
        pdesc(d4field(d, "PDesc")),
        icomm(d4field(d, "IComm")),
        ltax1(d4field(d, "LTax1")),
        ltax2(d4field(d, "LTax2")) {}
};

// Reads every field the way the program loads a line item; returns a checksum.
long ReadAll(const Fields& f) {
  double qty = 0;
  double upr = 0;
  bench::MustSucceed(f4double2(f.qty, &qty), "f4double2");
  bench::MustSucceed(f4double2(f.upr, &upr), "f4double2");
  long sum = f4int(f.ivno) + f4str(f.prid)[0] + f4str(f.pdesc)[0] + f4str(f.icomm)[0];
  return sum + f4true(f.ltax1) + f4true(f.ltax2) + static_cast<long>(qty + upr);
}

void FillLine(const Fields& f, int ivno, std::mt19937& rng) {
  char prid[16];
  std::snprintf(prid, sizeof prid, "P%06u", static_cast<unsigned>(rng() % 20000));
  f4assignInt(f.ivno, ivno);
  f4assign(f.prid, prid);
  f4assignDouble(f.qty, static_cast<double>(rng() % 1000) / 4);
  f4assignDouble(f.upr, static_cast<double>(rng() % 100000) / 100);
  f4assign(f.pdesc, "Widget, blue, large");
  f4assign(f.icomm, "");
  f4assign(f.ltax1, rng() % 2 ? "T" : "F");
  f4assign(f.ltax2, "F");
}

void Report(const char* measure, double value, const char* unit, const char* goal, bool met) {
  struct rusage u;
  getrusage(RUSAGE_SELF, &u);
  std::printf("%-58s %12.3f %-6s goal %-12s %s  [%ld MiB]\n", measure, value, unit, goal,
              met ? "met" : "NOT MET", u.ru_maxrss / 1024);
  std::fflush(stdout);
}

void CopyTable(const std::string& from_dir, const std::string& to_dir) {
  fs::remove_all(to_dir);
  fs::create_directories(to_dir);
  for (const auto& entry : fs::directory_iterator(from_dir)) {
    fs::copy_file(entry.path(), fs::path(to_dir) / entry.path().filename());
  }
}

}  // namespace

int main(int argc, char** argv) {
  std::string root = argc > 1 ? argv[1] : "/tmp/bench_engine";
  long records = argc > 2 ? std::atol(argv[2]) : 1000000;
  int runs = argc > 3 ? std::atoi(argv[3]) : 5;
  // An optional comma list picks measures: build,open,seek,go,skip,pack,append,store.
  std::string only = argc > 4 ? "," + std::string(argv[4]) + "," : "";
  auto wanted = [&](const char* name) {
    return only.empty() || only.find("," + std::string(name) + ",") != std::string::npos;
  };
  fs::remove_all(root);
  std::string base = root + "/base";
  fs::create_directories(base);
  std::printf("bench_engine: %ld records, median of %d runs, files in %s\n", records, runs,
              root.c_str());

  CODE4* cb = code4allocate();
  bench::MustSucceed(code4initP(cb), "code4initP");
  code4directory(cb, base.c_str());
  std::mt19937 rng(42);

  // The table: about three lines per invoice, in invoice order.
  double start = Now();
  DATA4* d = d4create(cb, "ITM5", kFields);
  if (d == nullptr) Die(cb, "d4create");
  {
    Fields f(d);
    for (long i = 0; i < records; ++i) {
      if (d4appendBlank(d) != 0) Die(cb, "d4appendBlank");
      FillLine(f, static_cast<int>(i / 3 + 1), rng);
    }
  }
  if (d4flush(d) != 0) Die(cb, "d4flush");
  Report("generate table (append, no tags)", records / (Now() - start), "rec/s", "-", true);

  // Index builds.
  code4safety(cb, 0);
  if (!wanted("build")) {
    if (i4create(d, "ITM5", kBothTags) == nullptr) Die(cb, "i4create");
  } else {
    std::vector<double> first_times;
    std::vector<double> both_times;
    for (int run = 0; run < runs; ++run) {
      start = Now();
      if (i4create(d, "ITM5", kFirstTag) == nullptr) Die(cb, "i4create");
      first_times.push_back(Now() - start);
      start = Now();
      if (i4create(d, "ITM5", kBothTags) == nullptr) Die(cb, "i4create");
      both_times.push_back(Now() - start);
    }
    double first = Median(first_times);
    double both = Median(both_times);
    Report("i4create Str(IvNo,6,0)", first, "s", "<= 0.25 s", first <= 0.25);
    Report("i4create both tags", both, "s", "<= 0.6 s", both <= 0.6);
  }
  if (d4close(d) != 0) Die(cb, "d4close");

  // Open with the group, and close.
  if (wanted("open")) {
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
      const int kOpens = 200;
      start = Now();
      for (int i = 0; i < kOpens; ++i) {
        DATA4* t = d4open(cb, "ITM5");
        if (t == nullptr) Die(cb, "d4open");
        bench::MustSucceed(d4close(t), "d4close");
      }
      times.push_back((Now() - start) / kOpens * 1000);
    }
    double ms = Median(times);
    Report("d4open with group + d4close", ms, "ms", "< 2 ms", ms < 2);
  }

  d = d4open(cb, "ITM5");
  if (d == nullptr) Die(cb, "d4open");
  Fields f(d);
  volatile long sink = 0;

  // Random exact seeks.
  if (wanted("seek")) {
    long invoices = records / 3;
    std::vector<double> rates;
    bench::MustSucceed(d4tagSelectP(d, d4tag(d, "Itm")), "d4tagSelectP");
    for (int run = 0; run < runs; ++run) {
      const int kSeeks = 200000;
      std::vector<std::string> keys(kSeeks);
      char key[16];
      for (std::string& k : keys) {
        std::snprintf(key, sizeof key, "%6ld", static_cast<long>(1 + rng() % invoices));
        k = key;
      }
      start = Now();
      for (const std::string& k : keys) {
        if (d4seek(d, k.c_str()) != r4success) Die(cb, "d4seek");
      }
      rates.push_back(kSeeks / (Now() - start));
    }
    double rate = Median(rates);
    Report("random exact d4seek", rate, "/s", ">= 500000/s", rate >= 500000);
  }

  // Random d4go reading every field.
  if (wanted("go")) {
    std::vector<double> rates;
    bench::MustSucceed(d4tagSelectP(d, nullptr), "d4tagSelectP");
    for (int run = 0; run < runs; ++run) {
      const int kGoes = 500000;
      std::vector<long> recs(kGoes);
      for (long& r : recs) r = static_cast<long>(1 + rng() % records);
      start = Now();
      for (long r : recs) {
        if (d4go(d, r) != r4success) Die(cb, "d4go");
        sink = sink + ReadAll(f);
      }
      rates.push_back(kGoes / (Now() - start));
    }
    double rate = Median(rates);
    Report("random d4go + read every field", rate, "rec/s", ">= 1000000/s", rate >= 1000000);
  }

  // Whole-tag skips, forward and backward.
  auto walk = [&](const char* tag, bool forward) {
    std::vector<double> rates;
    bench::MustSucceed(d4tagSelectP(d, d4tag(d, tag)), "d4tagSelectP");
    for (int run = 0; run < runs; ++run) {
      long seen = 0;
      start = Now();
      int rc = forward ? d4top(d) : d4bottom(d);
      while (rc == r4success) {
        sink = sink + ReadAll(f);
        ++seen;
        rc = d4skip(d, forward ? 1 : -1);
      }
      if (seen != records) Die(cb, "tag walk");
      rates.push_back(seen / (Now() - start));
    }
    return Median(rates);
  };
  if (wanted("skip")) {
    double itm_forward = walk("Itm", true);
    double itm_backward = walk("Itm", false);
    double itmp_forward = walk("ItmP", true);
    double itmp_backward = walk("ItmP", false);
    Report("d4skip Itm forward + read (key order = physical)", itm_forward, "rec/s", ">= 2000000/s",
           itm_forward >= 2000000);
    Report("d4skip Itm backward + read", itm_backward, "rec/s", "fwd / 1.2",
           itm_backward * 1.2 >= itm_forward);
    Report("d4skip ItmP forward + read (key order random)", itmp_forward, "rec/s", ">= 600000/s",
           itmp_forward >= 600000);
    Report("d4skip ItmP backward + read", itmp_backward, "rec/s", "fwd / 1.2",
           itmp_backward * 1.2 >= itmp_forward);
  }
  bench::MustSucceed(d4close(d), "d4close");

  // Delete marking 10 %, then pack with both tags open, on fresh copies.
  if (wanted("pack")) {
    std::vector<double> mark_rates;
    std::vector<double> pack_times;
    std::vector<double> flush_times;
    std::string work = root + "/pack";
    for (int run = 0; run < runs; ++run) {
      CopyTable(base, work);
      code4directory(cb, work.c_str());
      DATA4* t = d4open(cb, "ITM5");
      if (t == nullptr) Die(cb, "d4open");
      std::vector<long> recs;
      for (long r = 1; r <= records; ++r) {
        if (rng() % 10 == 0) recs.push_back(r);
      }
      std::shuffle(recs.begin(), recs.end(), rng);
      start = Now();
      for (long r : recs) {
        if (d4go(t, r) != r4success) Die(cb, "d4go");
        d4delete(t);
      }
      if (d4go(t, 1) != r4success) Die(cb, "d4go");
      mark_rates.push_back(recs.size() / (Now() - start));
      start = Now();
      if (d4flush(t) != 0) Die(cb, "d4flush");
      flush_times.push_back(Now() - start);
      start = Now();
      if (d4pack(t) != 0) Die(cb, "d4pack");
      pack_times.push_back(Now() - start);
      if (d4recCountDo(t) != records - static_cast<long>(recs.size())) Die(cb, "pack count");
      bench::MustSucceed(d4close(t), "d4close");
    }
    double mark = Median(mark_rates);
    double pack = Median(pack_times);
    Report("delete-mark 10 % (random order, buffered)", mark, "rec/s", ">= 500000/s",
           mark >= 500000);
    Report("  then d4flush of the marks (written + fdatasync)", Median(flush_times), "s", "-",
           true);
    Report("d4pack 10 % deleted, both tags open", pack, "s", "<= 0.8 s", pack <= 0.8);
    code4directory(cb, base.c_str());
  }

  // Appends with both tags maintained, into a copy of the full table.
  auto append = [&](bool ascending, double* flush_seconds) {
    std::vector<double> rates;
    std::vector<double> flushes;
    std::string work = root + "/append";
    const long kAppends = std::min<long>(records, 200000);
    for (int run = 0; run < runs; ++run) {
      CopyTable(base, work);
      code4directory(cb, work.c_str());
      DATA4* t = d4open(cb, "ITM5");
      if (t == nullptr) Die(cb, "d4open");
      Fields g(t);
      int next = static_cast<int>(records / 3 + 1);
      start = Now();
      for (long i = 0; i < kAppends; ++i) {
        if (d4appendBlank(t) != 0) Die(cb, "d4appendBlank");
        FillLine(g,
                 ascending ? next + static_cast<int>(i / 3)
                           : static_cast<int>(1 + rng() % (records / 3 + 1)),
                 rng);
      }
      double flush_start = Now();
      if (d4flush(t) != 0) Die(cb, "d4flush");
      flushes.push_back(Now() - flush_start);
      rates.push_back(kAppends / (Now() - start));
      bench::MustSucceed(d4close(t), "d4close");
    }
    code4directory(cb, base.c_str());
    *flush_seconds = Median(flushes);
    return Median(rates);
  };
  if (wanted("append")) {
    double ascending_flush = 0;
    double random_flush = 0;
    double ascending = append(true, &ascending_flush);
    double random = append(false, &random_flush);
    Report("append, both tags, ascending IvNo (flushed)", ascending, "rec/s", ">= 600000/s",
           ascending >= 600000);
    Report("  of which the closing d4flush (written + fdatasync)", ascending_flush, "s", "-", true);
    Report("append, both tags, random IvNo (flushed)", random, "rec/s", ">= 250000/s",
           random >= 250000);
    Report("  of which the closing d4flush (written + fdatasync)", random_flush, "s", "-", true);
  }

  // One store as the program does it: change a record, close (durable), reopen.
  if (wanted("store")) {
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
      const int kStores = 20;
      DATA4* t = d4open(cb, "ITM5");
      if (t == nullptr) Die(cb, "d4open");
      start = Now();
      for (int i = 0; i < kStores; ++i) {
        bench::MustSucceed(d4go(t, static_cast<long>(1 + rng() % records)), "d4go");
        f4assign(d4field(t, "PrID"), i % 2 ? "P000001" : "P000002");
        if (d4close(t) != 0) Die(cb, "d4close");
        t = d4open(cb, "ITM5");
        if (t == nullptr) Die(cb, "d4open");
      }
      times.push_back((Now() - start) / kStores * 1000);
      bench::MustSucceed(d4close(t), "d4close");
    }
    Report("store one record + close (fdatasync) + reopen", Median(times), "ms", "-", true);
  }

  struct rusage usage;
  getrusage(RUSAGE_SELF, &usage);
  double table_mib = static_cast<double>(fs::file_size(base + "/ITM5.dbf")) / (1 << 20);
  double peak_mib = usage.ru_maxrss / 1024.0;
  Report("peak resident memory", peak_mib, "MiB", "table + 64", peak_mib <= table_mib + 64);
  std::printf("(table file %.1f MiB; checksum %ld)\n", table_mib, static_cast<long>(sink));
  bench::MustSucceed(code4initUndoP(cb), "code4initUndoP");
  code4free(cb);
  fs::remove_all(root);
  return 0;
}
