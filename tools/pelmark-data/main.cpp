// pelmark-data: creates, fills, checks, dumps, reindexes and repairs a Pelmark data directory.

#include <cerrno>
#include <charconv>
#include <chrono>
#include <cstring>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "DataDir.h"
#include "DemoData.h"
#include "engine/DirectoryLock.h"

namespace {

constexpr const char* kUsage =
    "usage: pelmark-data init DIR\n"
    "       pelmark-data demo DIR [--customers N] [--invoices N] [--products N]\n"
    "                [--purchases N] [--seed S] [--today YYYY-MM-DD]\n"
    "       pelmark-data check DIR\n"
    "       pelmark-data dump DIR TABLE [--tag TAG]\n"
    "       pelmark-data reindex DIR\n"
    "       pelmark-data repair DIR\n";

int Usage(const std::string& problem) {
  if (!problem.empty()) std::cerr << "pelmark-data: " << problem << "\n";
  std::cerr << kUsage;
  return tool::kExitUsage;
}

template <typename T>
bool ParseNumber(const std::string& text, T* value) {
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, *value);
  return ec == std::errc() && ptr == end;
}

bool ParseDay(const std::string& text, std::chrono::sys_days* day) {
  int year = 0;
  unsigned month = 0;
  unsigned day_of_month = 0;
  if (text.size() != 10 || text[4] != '-' || text[7] != '-' ||
      !ParseNumber(text.substr(0, 4), &year) || !ParseNumber(text.substr(5, 2), &month) ||
      !ParseNumber(text.substr(8, 2), &day_of_month)) {
    return false;
  }
  const std::chrono::year_month_day ymd{std::chrono::year(year), std::chrono::month(month),
                                        std::chrono::day(day_of_month)};
  if (!ymd.ok()) return false;
  *day = std::chrono::sys_days(ymd);
  return true;
}

int Demo(const std::vector<std::string>& args) {
  tool::DemoOptions options;
  options.today = std::chrono::floor<std::chrono::days>(std::chrono::system_clock::now());
  for (size_t i = 1; i < args.size(); i += 2) {
    const std::string& option = args[i];
    if (i + 1 >= args.size()) return Usage(option + " needs a value");
    const std::string& value = args[i + 1];
    bool ok = false;
    if (option == "--customers") {
      ok = ParseNumber(value, &options.customers) && options.customers >= 1 &&
           options.customers <= 999999;  // six-digit customer numbers
    } else if (option == "--invoices") {
      ok = ParseNumber(value, &options.invoices) && options.invoices >= 0 &&
           options.invoices <= 999999 - 1001 + 1;  // six-digit invoice numbers from 1001
    } else if (option == "--products") {
      ok = ParseNumber(value, &options.products) && options.products >= 1 &&
           options.products <= 9999999;  // generated codes STK + seven digits
    } else if (option == "--purchases") {
      ok = ParseNumber(value, &options.purchases) && options.purchases >= 0 &&
           options.purchases <= 99999999;  // eight-digit purchase numbers
    } else if (option == "--seed") {
      ok = ParseNumber(value, &options.seed);
    } else if (option == "--today") {
      ok = ParseDay(value, &options.today);
    } else {
      return Usage("unknown option " + option);
    }
    if (!ok) return Usage("bad value for " + option + ": " + value);
  }
  return tool::RunDemo(args[0], options, std::cout, std::cerr);
}

// Holds the data directory's lock for one command: shared for commands that
// only read, exclusive for those that write, so none of them works beside
// the program (or another writer). False, with the reason told, when the
// directory is in use. A directory that does not exist is left for the
// command to report.
bool LockDirectory(const std::string& directory, engine::LockMode mode,
                   std::unique_ptr<engine::DirectoryLock>* lock) {
  const int rc = engine::DirectoryLock::Acquire(directory, mode, lock);
  if (rc == 0 || rc == ENOENT) return true;
  std::cerr << "pelmark-data: " << directory << ": "
            << (rc == EWOULDBLOCK ? "the data files are in use by another copy of the program"
                                  : "cannot lock the data files: " + std::string(std::strerror(rc)))
            << "\n";
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  if (argc < 3) return Usage("");
  const std::string command = argv[1];
  std::vector<std::string> args(argv + 2, argv + argc);
  if (command == "init" && args.size() == 1) return tool::RunInit(args[0], std::cout, std::cerr);
  if (command == "demo") return Demo(args);
  std::unique_ptr<engine::DirectoryLock> lock;
  if (command == "check" && args.size() == 1) {
    if (!LockDirectory(args[0], engine::LockMode::kShared, &lock)) return tool::kExitFailed;
    return tool::RunCheck(args[0], std::cout, std::cerr);
  }
  if (command == "reindex" && args.size() == 1) {
    if (!LockDirectory(args[0], engine::LockMode::kExclusive, &lock)) return tool::kExitFailed;
    return tool::RunReindex(args[0], std::cout, std::cerr);
  }
  if (command == "repair" && args.size() == 1) {
    if (!LockDirectory(args[0], engine::LockMode::kExclusive, &lock)) return tool::kExitFailed;
    return tool::RunRepair(args[0], std::cout, std::cerr);
  }
  if (command == "dump" && (args.size() == 2 || (args.size() == 4 && args[2] == "--tag"))) {
    if (!LockDirectory(args[0], engine::LockMode::kShared, &lock)) return tool::kExitFailed;
    return tool::RunDump(args[0], args[1], args.size() == 4 ? args[3] : std::string(), std::cout,
                         std::cerr);
  }
  return Usage("cannot read the command line");
}
