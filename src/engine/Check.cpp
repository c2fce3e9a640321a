// d4check: the table against its file size, memo pointers against the memo
// file, and every open tag through the index checker.

#include <functional>

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
  std::vector<char> record(static_cast<size_t>(table.RecordLength()));
  std::string text;
  bool has_memo = false;
  for (auto& field : d->fields) has_memo = has_memo || field->desc.type == 'M';
  for (uint32_t rec = 1; has_memo && rec <= count; ++rec) {
    rc = table.ReadRecord(rec, record.data());
    if (rc != 0) {
      problem(rc, "record " + std::to_string(rec) + " cannot be read");
      break;
    }
    if (record[0] != ' ' && record[0] != '*') {
      problem(e4data, "record " + std::to_string(rec) + " has a bad deletion flag");
    }
    for (auto& field : d->fields) {
      if (field->desc.type != 'M') continue;
      uint32_t block = 0;
      std::string where = "record " + std::to_string(rec) + " field " + field->desc.name;
      if (!engine::ParseMemoBlock(record.data() + field->desc.offset, &block)) {
        problem(e4memo, where + ": memo pointer is not a number");
      } else if (block != 0 && (!d->memo || !d->memo->Contains(block))) {
        problem(e4memo, where + ": memo block " + std::to_string(block) + " outside the memo file");
      } else if (block != 0 && d->memo->Read(block, &text) != 0) {
        problem(e4memo, where + ": memo at block " + std::to_string(block) + " has no end marker");
      }
    }
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
