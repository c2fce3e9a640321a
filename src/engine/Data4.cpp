// Open tables: opening with their tag group, closing, moving the record
// pointer in record or tag order, and writing back the buffered record.

#include <algorithm>
#include <cstring>

#include "Engine.h"
#include "NtxBuild.h"
#include "TagGroup.h"

using engine::Fail;

namespace engine {
namespace {
// Appended keys held back per tag before they go into the tree.
constexpr size_t kMaxPending = 100000;
}  // namespace

void MarkChanged(DATA4* d) {
  if (!d->changed) {
    d->saved = d->record;
    d->changed = true;
  }
}

void SetEof(DATA4* d) {
  d->rec_no = 0;
  d->eof = true;
  d->bof = d->table->RecordCount() == 0;
  d->changed = d->appended = false;
  d->cursor_seated = false;
  std::memset(d->record.data(), ' ', d->record.size());
  ++d->generation;
}

int LoadRecord(DATA4* d, uint32_t rec) {
  int rc = d->table->ReadRecord(rec, d->record.data());
  if (rc != 0) {
    SetEof(d);
    return rc;
  }
  d->rec_no = rec;
  d->eof = d->bof = false;
  ++d->generation;
  return 0;
}

bool ParseMemoBlock(const char* text, uint32_t* block) {
  // Right aligned blank padded, or left aligned, or zero padded.
  uint64_t value = 0;
  int i = 0;
  while (i < 10 && text[i] == ' ') ++i;
  bool digits = false;
  for (; i < 10 && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + static_cast<uint64_t>(text[i] - '0');
    digits = true;
  }
  while (i < 10 && (text[i] == ' ' || text[i] == '\0')) ++i;
  if (i != 10 || value > UINT32_MAX) return false;
  *block = digits ? static_cast<uint32_t>(value) : 0;
  return true;
}

namespace {

// Writes changed memos to the memo file and their block numbers into the record.
int WriteMemos(DATA4* d) {
  for (auto& field : d->fields) {
    if (field->desc.type != 'M' || !field->memo_changed ||
        field->memo_generation != d->generation) {
      continue;
    }
    if (!d->memo) return e4memo;
    char* slot = d->record.data() + field->desc.offset;
    uint32_t old_block = 0;
    if (!d->appended && !ParseMemoBlock(d->saved.data() + field->desc.offset, &old_block)) {
      old_block = 0;
    }
    uint32_t block = 0;
    int rc = d->memo->Write(old_block, field->memo, &block);
    if (rc != 0) return rc;
    char text[11];
    if (block == 0) {
      std::memset(slot, ' ', 10);
    } else {
      std::snprintf(text, sizeof text, "%10u", block);
      std::memcpy(slot, text, 10);
    }
    field->memo_changed = false;
  }
  return 0;
}

}  // namespace

int ApplyPending(DATA4* d) {
  int result = 0;
  for (auto& tag : d->tags) {
    KeyList& pending = tag->pending;
    if (pending.Empty()) continue;
    int rc = ntx::SortKeys(&pending);
    if (rc == 0) rc = tag->ntx->InsertSorted(pending);
    if (rc != 0 && result == 0) result = rc;
    pending.Clear();
    tag->written = true;
    if (tag.get() == d->selected) d->cursor_seated = false;
  }
  return result;
}

int WriteCurrent(DATA4* d) {
  if ((!d->changed && !d->appended) || d->rec_no == 0) {
    d->changed = d->appended = false;
    return 0;
  }
  // A changed key is removed from the tree, so it must be there first.
  if (!d->appended) {
    int rc = ApplyPending(d);
    if (rc != 0) return rc;
  }
  int result = WriteMemos(d);
  if (result == 0) result = d->table->WriteRecord(d->rec_no, d->record.data());
  if (result != 0) return result;
  for (auto& tag : d->tags) {
    int key_length = tag->expr->KeyLength();
    int rc = 0;
    if (d->appended) {
      if (tag->pending.KeyLength() != key_length) tag->pending.Reset(key_length);
      tag->expr->Evaluate(d->record.data(), tag->pending.Add(d->rec_no));
      if (tag->pending.Size() >= kMaxPending) {
        rc = ApplyPending(d);
        if (rc != 0 && result == 0) result = rc;
      }
      continue;
    }
    d->scratch_key.resize(static_cast<size_t>(key_length));
    tag->expr->Evaluate(d->record.data(), d->scratch_key.data());
    d->old_key.resize(static_cast<size_t>(key_length));
    tag->expr->Evaluate(d->saved.data(), d->old_key.data());
    if (d->old_key == d->scratch_key) continue;
    rc = tag->ntx->Remove(d->old_key, d->rec_no);
    int insert_rc = tag->ntx->Insert(d->scratch_key, d->rec_no);
    if (rc == 0) rc = insert_rc;
    tag->written = true;
    if (tag.get() == d->selected) d->cursor_seated = false;
    if (rc != 0 && result == 0) result = rc;
  }
  d->changed = d->appended = false;
  return result;
}

int FlushFiles(DATA4* d, bool sync) {
  // Everything is written first, each file's writeback started as soon as
  // it is written (the disk works while the tags are brought up to date),
  // and only then is each file synced: one fdatasync per file written.
  int result = d->table->Flush(false);
  if (sync) d->table->StartWriteback();
  int applied = ApplyPending(d);
  if (result == 0) result = applied;
  if (d->memo && sync) d->memo->StartWriteback();
  for (auto& tag : d->tags) {
    if (!tag->written) continue;
    int rc = tag->ntx->Flush(false);
    if (result == 0) result = rc;
    if (sync) tag->ntx->StartWriteback();
  }
  if (!sync) return result;
  int rc = d->table->Flush(true);
  if (result == 0) result = rc;
  if (d->memo) {
    rc = d->memo->Flush(true);
    if (result == 0) result = rc;
  }
  for (auto& tag : d->tags) {
    if (!tag->written) continue;
    rc = tag->ntx->Flush(true);
    if (result == 0) result = rc;
    if (rc == 0) tag->written = false;
  }
  return result;
}

std::string CurrentPath(CODE4* cb, const std::string& path) {
  if (cb->group) {
    std::string staged = cb->group->StagedPath(path);
    if (!staged.empty()) return staged;
  }
  return path;
}

int OpenTag(DATA4* d, const std::string& tag_name, const std::string& file_name) {
  FileSystem& fs = d->cb->Fs();
  auto tag = std::make_unique<TAG4>();
  tag->data = d;
  tag->name = tag_name;
  tag->path = ResolvePath(fs, d->directory, file_name);
  int rc = Ntx::Open(fs, CurrentPath(d->cb, tag->path), d->table->ReadOnly(), &tag->ntx);
  if (rc != 0) return rc < 0 ? rc : e4index;
  std::string error;
  tag->expr = KeyExpr::Parse(tag->ntx->Expression(), d->key_fields, &error);
  if (!tag->expr) return e4expr;
  if (tag->expr->KeyLength() != tag->ntx->KeyLength()) return e4index;
  d->tags.push_back(std::move(tag));
  return 0;
}

}  // namespace engine

namespace {

bool HasExtension(const std::string& name) {
  size_t slash = name.rfind('/');
  size_t dot = name.rfind('.');
  return dot != std::string::npos && (slash == std::string::npos || dot > slash);
}

void Destroy(DATA4* d) {
  CODE4* cb = d->cb;
  auto& tables = cb->tables;
  for (size_t i = 0; i < tables.size(); ++i) {
    if (tables[i] == d) {
      tables.erase(tables.begin() + static_cast<long>(i));
      break;
    }
  }
  delete d;
}

// Seats the selected tag's cursor on the current record.
int SeatCursor(DATA4* d) {
  if (d->cursor_seated) return 0;
  TAG4* tag = d->selected;
  d->scratch_key.resize(static_cast<size_t>(tag->expr->KeyLength()));
  tag->expr->Evaluate(d->record.data(), d->scratch_key.data());
  int rc = tag->ntx->SeekEntry(d->scratch_key, d->rec_no);
  if (rc < 0) return rc;
  d->cursor_seated = rc == 0;
  return rc;
}

// Makes the tag cursor's entry the current record.
int TakeCursor(DATA4* d) {
  uint32_t rec = d->selected->ntx->CurrentRecord();
  if (rec < 1 || rec > d->table->RecordCount()) {
    engine::SetEof(d);
    return e4index;
  }
  int rc = engine::LoadRecord(d, rec);
  if (rc != 0) return rc;
  d->cursor_seated = true;
  return 0;
}

int Position(DATA4* d, bool top) {
  if (d == nullptr) return e4parm;
  int rc = engine::WriteCurrent(d);
  if (rc != 0) return Fail(d, rc);
  if (d->selected != nullptr) {
    rc = engine::ApplyPending(d);
    if (rc != 0) return Fail(d, rc);
    rc = top ? d->selected->ntx->Top() : d->selected->ntx->Bottom();
    if (rc < 0) {
      engine::SetEof(d);
      return Fail(d, rc);
    }
    if (rc != 0) {
      engine::SetEof(d);
      d->bof = true;
      return r4eof;
    }
    rc = TakeCursor(d);
    return rc != 0 ? Fail(d, rc) : r4success;
  }
  uint32_t count = d->table->RecordCount();
  if (count == 0) {
    engine::SetEof(d);
    d->bof = true;
    return r4eof;
  }
  rc = engine::LoadRecord(d, top ? 1 : count);
  return rc != 0 ? Fail(d, rc) : r4success;
}

}  // namespace

DATA4* d4open(CODE4* cb, const char* name) {
  if (cb == nullptr) return nullptr;
  if (name == nullptr || *name == '\0') {
    Fail(cb, e4parm);
    return nullptr;
  }
  engine::FileSystem& fs = cb->Fs();
  std::string file = name;
  if (!HasExtension(file)) file += ".dbf";
  std::string path = engine::ResolvePath(fs, cb->directory, file);
  if (!cb->group) {
    // A change of several files cut short in this directory is undone before
    // any of them is read.
    size_t slash = path.rfind('/');
    std::string dir = slash == std::string::npos ? "" : path.substr(0, slash + 1);
    if (engine::ReplacementPending(fs, dir)) {
      engine::RecoveryReport report;
      (void)engine::RecoverDirectory(fs, dir, &report);
      path = engine::ResolvePath(fs, cb->directory, file);
    }
  }
  if (!fs.Exists(path)) {
    Fail(cb, e4open);
    return nullptr;
  }
  auto d = std::make_unique<DATA4>();
  d->cb = cb;
  d->path = path;
  size_t slash = path.rfind('/');
  d->directory = slash == std::string::npos ? "" : path.substr(0, slash + 1);
  std::string file_name = slash == std::string::npos ? path : path.substr(slash + 1);
  d->base_name = file_name.substr(0, file_name.rfind('.'));
  int rc = engine::TableLock::Acquire(path, cb->access_mode == 1, &d->lock);
  const std::string table_path = engine::CurrentPath(cb, path);
  if (rc == 0) {
    rc = engine::TableFile::Open(fs, table_path, false, &d->table);
    // A read-only file still opens for reading.
    if (rc == e4open) rc = engine::TableFile::Open(fs, table_path, true, &d->table);
  }
  if (rc == 0 && d->table->HasMemoField()) {
    std::string memo_path = engine::ResolvePath(fs, d->directory, d->base_name + ".dbt");
    rc = engine::MemoFile::Open(fs, engine::CurrentPath(cb, memo_path), d->table->ReadOnly(),
                                &d->memo);
  }
  if (rc != 0) {
    Fail(cb, rc);
    return nullptr;
  }
  const auto& descs = d->table->Fields();
  for (const engine::FieldDesc& desc : descs) {
    auto field = std::make_unique<FIELD4>();
    field->data = d.get();
    field->desc = desc;
    d->fields.push_back(std::move(field));
    if (desc.type != 'M') {
      d->key_fields.push_back({desc.name, desc.type, desc.offset, desc.length, desc.decimals});
    }
  }
  d->record.assign(static_cast<size_t>(d->table->RecordLength()), ' ');
  d->saved = d->record;
  if (cb->auto_open == 1) {
    std::string group =
        engine::CurrentPath(cb, engine::ResolvePath(fs, d->directory, d->base_name + ".cgp"));
    if (fs.Exists(group)) {
      std::vector<engine::TagGroupEntry> entries;
      rc = engine::ReadTagGroup(fs, group, &entries);
      for (size_t i = 0; rc == 0 && i < entries.size(); ++i) {
        rc = engine::OpenTag(d.get(), entries[i].tag_name, entries[i].file_name);
      }
      if (rc != 0) {
        Fail(cb, rc);
        return nullptr;
      }
    }
  }
  DATA4* result = d.release();
  cb->tables.push_back(result);
  engine::SetEof(result);
  (void)Position(result, true);
  return result;
}

int d4close(DATA4* d) {
  if (d == nullptr) return e4parm;
  int rc = engine::WriteCurrent(d);
  int flushed = engine::FlushFiles(d, true);
  if (rc == 0) rc = flushed;
  if (rc != 0) Fail(d, rc);
  Destroy(d);
  return rc;
}

int d4flush(DATA4* d) {
  if (d == nullptr) return e4parm;
  int rc = engine::WriteCurrent(d);
  int flushed = engine::FlushFiles(d, true);
  if (rc == 0) rc = flushed;
  return rc != 0 ? Fail(d, rc) : 0;
}

long d4recordsBeyondCount(DATA4* d) {
  return d == nullptr ? 0 : static_cast<long>(d->table->RecordsBeyondCount());
}

int d4recoverRecords(DATA4* d, long* taken) {
  if (taken != nullptr) *taken = 0;
  if (d == nullptr) return e4parm;
  int rc = engine::WriteCurrent(d);
  if (rc != 0) return Fail(d, rc);
  uint32_t added = 0;
  rc = d->table->TakeInRecordsBeyondCount(&added);
  if (rc != 0) return Fail(d, rc);
  if (taken != nullptr) *taken = static_cast<long>(added);
  if (added == 0) return 0;
  // The tags learn of them like of appended records.
  const uint32_t count = d->table->RecordCount();
  std::vector<char> record(d->record.size());
  for (uint32_t rec = count - added + 1; rec <= count; ++rec) {
    rc = d->table->ReadRecord(rec, record.data());
    if (rc != 0) return Fail(d, rc);
    for (auto& tag : d->tags) {
      if (tag->pending.KeyLength() != tag->expr->KeyLength()) {
        tag->pending.Reset(tag->expr->KeyLength());
      }
      tag->expr->Evaluate(record.data(), tag->pending.Add(rec));
    }
  }
  rc = engine::FlushFiles(d, true);
  engine::SetEof(d);
  return rc != 0 ? Fail(d, rc) : 0;
}

TAG4* d4tag(DATA4* d, const char* name) {
  if (d == nullptr) return nullptr;
  if (name != nullptr) {
    for (auto& tag : d->tags) {
      if (engine::EqualNoCase(tag->name, name)) return tag.get();
    }
  }
  Fail(d, e4tagName);
  return nullptr;
}

int d4tagSelectP(DATA4* d, TAG4* tag) {
  if (d == nullptr || (tag != nullptr && tag->data != d)) return Fail(d, e4parm);
  d->selected = tag;
  d->cursor_seated = false;
  return 0;
}

TAG4* d4tagSelected(DATA4* d) { return d == nullptr ? nullptr : d->selected; }

int d4top(DATA4* d) { return Position(d, true); }
int d4bottom(DATA4* d) { return Position(d, false); }

int d4skip(DATA4* d, long n) {
  if (d == nullptr) return e4parm;
  int rc = engine::WriteCurrent(d);
  if (rc != 0) return Fail(d, rc);
  if (d->rec_no == 0) {
    // From end of file a backward skip lands on the last record.
    if (n >= 0) return r4eof;
    rc = Position(d, false);
    if (rc != r4success) return rc == r4eof ? r4bof : rc;
    ++n;
  }
  if (n == 0) return r4success;
  if (d->selected == nullptr) {
    int64_t target = static_cast<int64_t>(d->rec_no) + n;
    if (target > static_cast<int64_t>(d->table->RecordCount())) {
      engine::SetEof(d);
      return r4eof;
    }
    bool before = target < 1;
    rc = engine::LoadRecord(d, before ? 1 : static_cast<uint32_t>(target));
    if (rc != 0) return Fail(d, rc);
    d->bof = before;
    return before ? r4bof : r4success;
  }
  rc = engine::ApplyPending(d);
  if (rc != 0) return Fail(d, rc);
  engine::Ntx& ntx = *d->selected->ntx;
  rc = SeatCursor(d);
  if (rc < 0) return Fail(d, rc);
  if (rc == r4after) {
    // The current record's entry is missing; the cursor already stands on the next.
    if (n > 0) --n;
  } else if (rc == r4eof) {
    if (n > 0) {
      engine::SetEof(d);
      return r4eof;
    }
    rc = ntx.Bottom();
    if (rc != 0) return rc < 0 ? Fail(d, rc) : r4bof;
    ++n;
  }
  while (n > 0) {
    rc = ntx.Next();
    if (rc < 0) return Fail(d, rc);
    if (rc == r4eof) {
      engine::SetEof(d);
      return r4eof;
    }
    --n;
  }
  while (n < 0) {
    rc = ntx.Prev();
    if (rc < 0) return Fail(d, rc);
    if (rc == r4bof) {
      rc = ntx.Top();
      if (rc != 0) {
        engine::SetEof(d);
        return rc < 0 ? Fail(d, rc) : r4eof;
      }
      rc = TakeCursor(d);
      if (rc != 0) return Fail(d, rc);
      d->bof = true;
      return r4bof;
    }
    ++n;
  }
  rc = TakeCursor(d);
  return rc != 0 ? Fail(d, rc) : r4success;
}

int d4go(DATA4* d, long rec) {
  if (d == nullptr) return e4parm;
  int rc = engine::WriteCurrent(d);
  if (rc != 0) return Fail(d, rc);
  if (rec < 1 || rec > static_cast<long>(d->table->RecordCount())) return Fail(d, e4record);
  d->cursor_seated = false;
  rc = engine::LoadRecord(d, static_cast<uint32_t>(rec));
  return rc != 0 ? Fail(d, rc) : r4success;
}

int d4seek(DATA4* d, const char* key) {
  if (d == nullptr || key == nullptr) return Fail(d, e4parm);
  int rc = engine::WriteCurrent(d);
  if (rc != 0) return Fail(d, rc);
  if (d->selected == nullptr) return Fail(d, e4tagName);
  rc = engine::ApplyPending(d);
  if (rc != 0) return Fail(d, rc);
  engine::Ntx& ntx = *d->selected->ntx;
  std::string_view prefix(key);
  if (prefix.size() > static_cast<size_t>(ntx.KeyLength())) {
    prefix = prefix.substr(0, static_cast<size_t>(ntx.KeyLength()));
  }
  rc = ntx.Seek(prefix);
  if (rc < 0) {
    engine::SetEof(d);
    return Fail(d, rc);
  }
  if (rc == r4eof) {
    engine::SetEof(d);
    return r4eof;
  }
  int taken = TakeCursor(d);
  if (taken != 0) return Fail(d, taken);
  return rc == 0 ? r4success : r4after;
}

long d4recNo(DATA4* d) { return d == nullptr ? 0 : static_cast<long>(d->rec_no); }

long d4recCountDo(DATA4* d) {
  return d == nullptr ? Fail(d, e4parm) : static_cast<long>(d->table->RecordCount());
}

int d4position2(DATA4* d, double* result) {
  if (d == nullptr || result == nullptr) return Fail(d, e4parm);
  int rc = engine::WriteCurrent(d);
  if (rc != 0) return Fail(d, rc);
  uint32_t count = d->table->RecordCount();
  if (d->rec_no == 0) {
    *result = count == 0 ? 0.0 : 1.0;
    return 0;
  }
  if (d->selected == nullptr) {
    *result = count <= 1 ? 0.0 : static_cast<double>(d->rec_no - 1) / (count - 1);
    return 0;
  }
  rc = engine::ApplyPending(d);
  if (rc != 0) return Fail(d, rc);
  rc = SeatCursor(d);
  if (rc < 0) return Fail(d, rc);
  rc = d->selected->ntx->Position(result);
  return rc < 0 ? Fail(d, rc) : 0;
}

int d4eof(DATA4* d) { return d != nullptr && d->eof ? 1 : 0; }
int d4bof(DATA4* d) { return d != nullptr && d->bof ? 1 : 0; }

int d4appendBlank(DATA4* d) {
  if (d == nullptr) return e4parm;
  int rc = engine::WriteCurrent(d);
  if (rc != 0) return Fail(d, rc);
  uint32_t rec = d->table->RecordCount() + 1;
  std::memset(d->record.data(), ' ', d->record.size());
  rc = d->table->WriteRecord(rec, d->record.data());
  if (rc != 0) return Fail(d, rc);
  d->rec_no = rec;
  d->eof = d->bof = false;
  d->changed = false;
  d->appended = true;
  d->cursor_seated = false;
  ++d->generation;
  return 0;
}

void d4delete(DATA4* d) {
  if (d == nullptr || d->rec_no == 0 || d->record[0] == '*') return;
  engine::MarkChanged(d);
  d->record[0] = '*';
}

void d4recall(DATA4* d) {
  if (d == nullptr || d->rec_no == 0 || d->record[0] == ' ') return;
  engine::MarkChanged(d);
  d->record[0] = ' ';
}

int d4deleted(DATA4* d) { return d != nullptr && d->rec_no != 0 && d->record[0] == '*' ? 1 : 0; }

FIELD4* d4field(DATA4* d, const char* name) {
  if (d == nullptr) return nullptr;
  if (name != nullptr) {
    for (auto& field : d->fields) {
      if (engine::EqualNoCase(field->desc.name, name)) return field.get();
    }
  }
  Fail(d, e4field);
  return nullptr;
}

int d4numFields(DATA4* d) { return d == nullptr ? 0 : static_cast<int>(d->fields.size()); }

FIELD4* d4fieldJ(DATA4* d, int j) {
  if (d == nullptr || j < 1 || j > static_cast<int>(d->fields.size())) {
    Fail(d, e4parm);
    return nullptr;
  }
  return d->fields[static_cast<size_t>(j - 1)].get();
}

DATA4* d4create(CODE4* cb, const char* name, const FIELD4INFO* infos) {
  if (cb == nullptr) return nullptr;
  if (name == nullptr || infos == nullptr) {
    Fail(cb, e4parm);
    return nullptr;
  }
  std::vector<engine::FieldDesc> fields;
  bool memo = false;
  for (const FIELD4INFO* info = infos; info->name != nullptr; ++info) {
    fields.push_back({info->name, info->type, 0, info->length, info->decimals});
    if (info->type == 'M' || info->type == 'm') memo = true;
  }
  if (engine::TableFile::LayOut(&fields) != 0) {
    Fail(cb, e4create);
    return nullptr;
  }
  engine::FileSystem& fs = cb->Fs();
  std::string file = name;
  if (!HasExtension(file)) file += ".dbf";
  std::string path = engine::JoinPath(cb->directory, file);
  if (cb->safety == 1 && fs.Exists(path)) {
    Fail(cb, e4create);
    return nullptr;
  }
  int rc = engine::TableFile::Create(fs, path, fields);
  if (rc == 0 && memo) {
    std::string memo_path = path.substr(0, path.rfind('.')) + ".dbt";
    rc = engine::MemoFile::Create(fs, memo_path);
  }
  if (rc != 0) {
    Fail(cb, rc);
    return nullptr;
  }
  // A new table has no tags, even if an old group file lies beside it.
  int auto_open = code4autoOpen(cb, 0);
  DATA4* d = d4open(cb, file.c_str());
  code4autoOpen(cb, auto_open);
  return d;
}
