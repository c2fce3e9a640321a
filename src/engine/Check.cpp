// d4check: the table against its file size, memo pointers against the memo
// file, and every open tag through the index checker.

#include <functional>
#include <string_view>

#include "Engine.h"

using engine::Fail;

int d4check(DATA4* d, std::vector<std::string>* problems) {
  if (d == nullptr) return e4parm;
  std::vector<std::string> local;
  if (problems == nullptr) problems = &local;
  int first = 0;
  auto problem = [&](int code, std::string text) {
    problems->push_back(std::move(text));
    if (first == 0) first = code;
  };
  int rc = engine::WriteCurrent(d);
  if (rc == 0) rc = engine::FlushFiles(d, false);
  if (rc != 0) problem(rc, "the current record could not be written");

  engine::TableFile& table = *d->table;
  uint32_t count = table.RecordCount();
  uint64_t needed =
      table.HeaderLength() + uint64_t{count} * static_cast<uint64_t>(table.RecordLength());
  if (static_cast<uint64_t>(table.DiskSize()) < needed) {
    problem(e4data, "table file shorter than its header and " + std::to_string(count) + " records");
  } else if (table.RecordsBeyondCount() > 0) {
    problem(e4data, "table file holds " + std::to_string(table.RecordsBeyondCount()) +
                        " more records than the " + std::to_string(count) +
                        " its header counts (pelmark-data repair takes them in)");
  }
  for (const std::string& note : table.HeaderNotes()) problem(e4data, note);
  std::vector<char> record(static_cast<size_t>(table.RecordLength()));
  std::string text;
  constexpr uint32_t kListedFlags = 20;  // a shifted table has one on every record
  uint32_t bad_flags = 0;
  for (uint32_t rec = 1; rec <= count; ++rec) {
    rc = table.ReadRecord(rec, record.data());
    if (rc != 0) {
      problem(rc, "record " + std::to_string(rec) + " cannot be read");
      break;
    }
    if (record[0] != ' ' && record[0] != '*' && ++bad_flags <= kListedFlags) {
      problem(e4data, "record " + std::to_string(rec) + " has a bad deletion flag");
    }
    for (auto& field : d->fields) {
      if (field->desc.type != 'M') continue;
      uint32_t block = 0;
      std::string where = "record " + std::to_string(rec) + " field " + field->desc.name;
      const char* slot = record.data() + field->desc.offset;
      if (!engine::ParseMemoBlock(slot, &block)) {
        problem(e4memo, where + ": memo pointer is not a number");
      } else if (block == 0 && std::string_view(slot, 10).find_first_not_of(
                                   std::string_view(" \0", 2)) != std::string_view::npos) {
        // No memo is stored as blanks; block 0 is the memo file's header.
        problem(e4memo, where + ": memo pointer 0 (its memo is lost)");
      } else if (block != 0 && (!d->memo || !d->memo->Contains(block))) {
        problem(e4memo, where + ": memo block " + std::to_string(block) + " outside the memo file");
      } else if (block != 0 && d->memo->Read(block, &text) != 0) {
        problem(e4memo, where + ": memo at block " + std::to_string(block) + " has no end marker");
      }
    }
  }
  if (bad_flags > kListedFlags) {
    problem(e4data,
            std::to_string(bad_flags - kListedFlags) + " more records have a bad deletion flag");
  }
  std::vector<char> key_record(static_cast<size_t>(table.RecordLength()));
  for (auto& tag : d->tags) {
    engine::KeyExpr& expr = *tag->expr;
    std::function<bool(uint32_t, std::string*)> key_of = [&](uint32_t rec, std::string* key) {
      if (table.ReadRecord(rec, key_record.data()) != 0) return false;
      key->resize(static_cast<size_t>(expr.KeyLength()));
      expr.Evaluate(key_record.data(), key->data());
      return true;
    };
    engine::Ntx::CheckReport report;
    rc = tag->ntx->Check(count, &key_of, &report);
    for (const std::string& line : report.problems)
      problem(e4index, "tag " + tag->name + ": " + line);
    if (rc < 0 && report.problems.empty()) problem(rc, "tag " + tag->name + " cannot be checked");
    if (rc < 0 && first == 0) first = rc;
  }
  d->cursor_seated = false;
  if (first != 0) Fail(d, first);
  return first;
}
