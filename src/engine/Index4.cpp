// Building tags in bulk (i4create), and the table rewrites that rebuild
// them: pack, zap and memo compression.

#include <cstring>
#include <functional>

#include "Engine.h"
#include "TagGroup.h"

using engine::Fail;

namespace engine {

int CollectKeys(TableFile& table, const std::vector<const KeyExpr*>& exprs,
                const std::function<int(size_t i, KeyList* keys)>& done) {
  // Key lists of this many bytes in all share one scan of the table.
  constexpr uint64_t kScanBudget = uint64_t{48} << 20;
  const uint32_t count = table.RecordCount();
  size_t first = 0;
  while (first < exprs.size()) {
    size_t last = first;
    std::vector<KeyList> lists;
    uint64_t bytes = 0;
    while (last < exprs.size()) {
      KeyList list(exprs[last]->KeyLength());
      uint64_t need = uint64_t{count} * static_cast<uint64_t>(list.StrideWords()) * 8;
      if (last > first && bytes + need > kScanBudget) break;
      bytes += need;
      list.Reserve(count);
      lists.push_back(std::move(list));
      ++last;
    }
    int rc = table.Scan([&](uint32_t rec, char* record) {
      for (size_t i = first; i < last; ++i) exprs[i]->Evaluate(record, lists[i - first].Add(rec));
      return 0;
    });
    for (size_t i = first; rc == 0 && i < last; ++i) rc = done(i, &lists[i - first]);
    if (rc != 0) return rc;
    first = last;
  }
  return 0;
}

}  // namespace engine

namespace {

using engine::Replacement;

bool ValidTagName(const char* name) {
  if (name == nullptr || *name == '\0' || std::strlen(name) > 64) return false;
  for (const char* p = name; *p != '\0'; ++p) {
    if (static_cast<unsigned char>(*p) <= ' ' || *p == '/') return false;
  }
  return true;
}

// Removes files in dir whose names equal name except for case, so that a
// replaced file does not leave a second copy under another spelling.
void RemoveOtherSpellings(engine::FileSystem& fs, const std::string& dir, const std::string& name) {
  std::vector<std::string> entries;
  if (fs.ListDirectory(dir, &entries) != 0) return;
  for (const std::string& entry : entries) {
    if (entry != name && engine::EqualNoCase(entry, name)) {
      (void)fs.Remove(engine::JoinPath(dir, entry));
    }
  }
}

std::string WithoutTrailingSlash(std::string dir) {
  while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
  return dir;
}

// The change a rewrite of one table's files goes into: the instance's open
// group (committed later, with the others), or one of its own, committed as
// soon as the new files are written.
class FileChange {
 public:
  explicit FileChange(DATA4* d) : cb_(d->cb) {
    if (cb_->group == nullptr) {
      own_ = std::make_unique<Replacement>(cb_->Fs(), d->directory);
    } else if (WithoutTrailingSlash(cb_->group->Directory()) !=
               WithoutTrailingSlash(d->directory)) {
      wrong_directory_ = true;
    }
  }
  bool Usable() const { return !wrong_directory_; }
  Replacement& Set() { return own_ ? *own_ : *cb_->group; }
  // True while the new files wait for the group's commit.
  bool Deferred() const { return own_ == nullptr; }
  // Commits a change of its own; in a group, marks the group failed when the
  // rewrite did not finish.
  int Finish(int rc) {
    if (Deferred()) {
      if (rc != 0 && cb_->group_error == 0) cb_->group_error = rc;
      return rc;
    }
    if (rc != 0) {
      own_->Abandon();
      return rc;
    }
    return own_->Commit();
  }

 private:
  CODE4* cb_;
  std::unique_ptr<Replacement> own_;
  bool wrong_directory_ = false;
};

// Builds every open tag of d anew from the records of the table file at
// path, into the change; the new indexes are opened in *built.
int StageTags(DATA4* d, Replacement& set, const std::string& path,
              std::vector<std::unique_ptr<engine::Ntx>>* built) {
  engine::FileSystem& fs = d->cb->Fs();
  std::unique_ptr<engine::TableFile> table;
  int rc = engine::TableFile::Open(fs, path, true, &table);
  if (rc != 0) return rc;
  std::vector<const engine::KeyExpr*> exprs;
  for (auto& tag : d->tags) exprs.push_back(tag->expr.get());
  built->clear();
  return engine::CollectKeys(*table, exprs, [&](size_t i, engine::KeyList* keys) {
    TAG4& tag = *d->tags[i];
    std::unique_ptr<engine::Ntx> ntx;
    int created = engine::Ntx::Create(fs, set.Stage(tag.path), tag.ntx->Expression(), keys, &ntx);
    if (created != 0) return created;
    built->push_back(std::move(ntx));
    return 0;
  });
}

// Another file rewritten together with a table (the compacted memo file).
struct CompanionFile {
  std::function<int(Replacement& set)> start;  // before the table is rewritten
  std::function<int()> finish;                 // once the table copy is whole
  std::function<int(bool deferred)> reopen;    // once the new version is the table's
};

// Rewrites d's table through visit into a new version, with its tags rebuilt
// from the new records when asked, and puts the new files in place together
// (or leaves them to the group). Afterwards the table is on the new files,
// at its top; when the change failed it is on its old files, as it was.
int ReplaceTable(DATA4* d, const engine::TableFile::Visitor& visit, bool rebuild_tags,
                 const CompanionFile* companion = nullptr) {
  // The old generation whole and durable first: it is what stays should the
  // change not happen.
  int rc = engine::WriteCurrent(d);
  if (rc == 0) rc = engine::FlushFiles(d, true);
  if (rc != 0) return Fail(d, rc);
  FileChange change(d);
  if (!change.Usable()) return Fail(d, e4parm);
  Replacement& set = change.Set();
  const std::string staged = set.Stage(d->path);
  std::vector<std::unique_ptr<engine::Ntx>> tags;
  if (companion != nullptr) rc = companion->start(set);
  if (rc == 0) rc = d->table->Rewrite(visit, staged);
  if (rc == 0 && rebuild_tags) {
    // The memory of the old files' caches is better used by the new indexes.
    d->table->ReleaseCache();
    for (auto& tag : d->tags) (void)tag->ntx->SetCacheBytes(0);
    rc = StageTags(d, set, staged, &tags);
  }
  if (rc == 0 && companion != nullptr) rc = companion->finish();
  rc = change.Finish(rc);
  if (rc != 0) {
    engine::SetEof(d);
    return Fail(d, rc);
  }
  // The table's files are now the new ones: the indexes just built (their
  // files renamed in), the table and memo file opened again.
  for (size_t i = 0; i < tags.size(); ++i) {
    d->tags[i]->ntx = std::move(tags[i]);
    d->tags[i]->pending.Release();
    d->tags[i]->written = false;
  }
  rc = d->table->Reopen(change.Deferred() ? staged : d->path);
  if (rc == 0 && companion != nullptr) rc = companion->reopen(change.Deferred());
  if (rc == 0 && !change.Deferred()) rc = d->lock->Renew();
  engine::SetEof(d);
  if (rc != 0) return Fail(d, rc);
  int top = d4top(d);
  return top < 0 ? top : 0;
}

// A tag of an i4create call, its expression parsed.
struct Planned {
  std::string name;
  std::string expression;
  std::unique_ptr<engine::KeyExpr> expr;
};

// Every tag's expression parsed before anything is written, so that a bad
// one writes nothing. 0, e4parm or e4expr.
int PlanTags(const DATA4* d, const TAG4INFO* infos, std::vector<Planned>* planned) {
  if (infos == nullptr || infos[0].name == nullptr) return e4parm;
  for (const TAG4INFO* info = infos; info->name != nullptr; ++info) {
    if (!ValidTagName(info->name) || info->expression == nullptr ||
        (info->filter != nullptr && *info->filter != '\0') || info->unique != 0 ||
        info->descending != 0) {
      return e4parm;
    }
    std::string error;
    auto expr = engine::KeyExpr::Parse(info->expression, d->key_fields, &error);
    if (!expr || expr->KeyLength() < 1 || expr->KeyLength() > 250) return e4expr;
    planned->push_back({info->name, info->expression, std::move(expr)});
  }
  return 0;
}

// The group file's name: `name`, or the table's, with ".cgp" added when missing.
std::string GroupFileName(const DATA4* d, const char* name) {
  std::string group_name = name == nullptr || *name == '\0' ? d->base_name : name;
  if (group_name.size() < 4 ||
      !engine::EqualNoCase(group_name.substr(group_name.size() - 4), ".cgp")) {
    group_name += ".cgp";
  }
  return group_name;
}

// Whether the group file or one of the tag files exists already.
bool AnyIndexFileExists(DATA4* d, const std::string& group_name,
                        const std::vector<Planned>& planned) {
  engine::FileSystem& fs = d->cb->Fs();
  bool exists = fs.Exists(engine::ResolvePath(fs, d->directory, group_name));
  for (const Planned& tag : planned) {
    exists = exists || fs.Exists(engine::ResolvePath(fs, d->directory, tag.name + ".ntx"));
  }
  return exists;
}

// The new tags join the table; open tags of the same names or files give
// way to them.
void AdoptTags(DATA4* d, std::vector<std::unique_ptr<TAG4>> built) {
  for (const auto& tag : built) {
    for (size_t i = 0; i < d->tags.size(); ++i) {
      if (engine::EqualNoCase(d->tags[i]->name, tag->name) ||
          engine::EqualNoCase(d->tags[i]->path, tag->path)) {
        if (d->selected == d->tags[i].get()) d->selected = nullptr;
        d->tags.erase(d->tags.begin() + static_cast<long>(i));
        --i;
      }
    }
  }
  for (auto& tag : built) d->tags.push_back(std::move(tag));
  d->cursor_seated = false;
}

}  // namespace

INDEX4* i4create(DATA4* d, const char* name, const TAG4INFO* infos) {
  if (d == nullptr) return nullptr;
  std::vector<Planned> planned;
  int rc = PlanTags(d, infos, &planned);
  if (rc == 0) rc = engine::WriteCurrent(d);
  if (rc == 0) rc = engine::FlushFiles(d, false);
  if (rc != 0) {
    Fail(d, rc);
    return nullptr;
  }
  engine::FileSystem& fs = d->cb->Fs();
  const std::string group_name = GroupFileName(d, name);
  const std::string group_path = engine::JoinPath(d->directory, group_name);
  if (d->cb->safety == 1 && AnyIndexFileExists(d, group_name, planned)) {
    Fail(d, e4create);
    return nullptr;
  }
  FileChange change(d);
  if (!change.Usable()) {
    Fail(d, e4parm);
    return nullptr;
  }
  // The tag files and the group file are written as new versions and put in
  // place together, so a group is never half old and half new.
  std::vector<const engine::KeyExpr*> exprs;
  for (const Planned& tag : planned) exprs.push_back(tag.expr.get());
  std::vector<std::unique_ptr<TAG4>> built;
  std::vector<engine::TagGroupEntry> group;
  rc = engine::CollectKeys(*d->table, exprs, [&](size_t i, engine::KeyList* keys) {
    Planned& tag = planned[i];
    std::string file_name = tag.name + ".ntx";
    std::string path = engine::JoinPath(d->directory, file_name);
    std::unique_ptr<engine::Ntx> ntx;
    int created = engine::Ntx::Create(fs, change.Set().Stage(path), tag.expression, keys, &ntx);
    if (created != 0) return created;
    auto opened = std::make_unique<TAG4>();
    opened->data = d;
    opened->name = tag.name;
    opened->path = path;
    opened->ntx = std::move(ntx);
    opened->expr = std::move(tag.expr);
    built.push_back(std::move(opened));
    group.push_back({tag.name, file_name});
    return 0;
  });
  if (rc == 0) rc = engine::WriteTagGroup(fs, change.Set().Stage(group_path), group);
  rc = change.Finish(rc);
  if (rc != 0) {
    Fail(d, rc);
    return nullptr;
  }
  if (!change.Deferred()) {
    for (const engine::TagGroupEntry& entry : group) {
      RemoveOtherSpellings(fs, d->directory, entry.file_name);
    }
    RemoveOtherSpellings(fs, d->directory, group_name);
  }
  AdoptTags(d, std::move(built));
  auto index = std::make_unique<INDEX4>();
  index->data = d;
  index->name = group_name;
  d->indexes.push_back(std::move(index));
  return d->indexes.back().get();
}

int d4pack(DATA4* d) {
  if (d == nullptr) return e4parm;
  return ReplaceTable(
      d,
      [](uint32_t, char* record, bool* keep) {
        *keep = record[0] != '*';
        return 0;
      },
      true);
}

int d4zap(DATA4* d, long first, long count) {
  if (d == nullptr) return e4parm;
  if (first < 1 || count < 0) return Fail(d, e4parm);
  int64_t from = first;
  int64_t to = from + count;  // exclusive
  return ReplaceTable(
      d,
      [from, to](uint32_t rec, char*, bool* keep) {
        *keep = rec < from || rec >= to;
        return 0;
      },
      true);
}

int d4memoCompress(DATA4* d) {
  if (d == nullptr) return e4parm;
  int rc = engine::WriteCurrent(d);
  if (rc != 0) return Fail(d, rc);
  if (!d->memo) return 0;
  engine::FileSystem& fs = d->cb->Fs();
  const std::string memo_path = engine::ResolvePath(fs, d->directory, d->base_name + ".dbt");
  // Every memo still pointed to is copied, in record order, to a compact
  // memo file written beside its staged name and moved there once whole; it
  // goes live together with the table that points into it.
  std::string staged_memo;
  std::string temp;
  std::unique_ptr<engine::MemoFile> compact;
  CompanionFile memo_file;
  memo_file.start = [&](Replacement& set) {
    staged_memo = set.Stage(memo_path);
    temp = staged_memo + ".tmp";
    int created = engine::MemoFile::Create(fs, temp);
    if (created == 0) created = engine::MemoFile::Open(fs, temp, false, &compact);
    return created;
  };
  memo_file.finish = [&]() {
    int synced = compact->Flush(true);
    compact.reset();
    if (synced != 0) return synced;
    return fs.Rename(temp, staged_memo) == 0 ? 0 : e4rename;
  };
  memo_file.reopen = [&](bool deferred) {
    return engine::MemoFile::Open(fs, deferred ? staged_memo : memo_path, false, &d->memo);
  };
  std::string text;
  engine::MemoFile* old_memo = d->memo.get();
  rc = ReplaceTable(
      d,
      [&](uint32_t, char* record, bool* keep) {
        *keep = true;
        for (auto& field : d->fields) {
          if (field->desc.type != 'M') continue;
          char* slot = record + field->desc.offset;
          uint32_t block = 0;
          if (!engine::ParseMemoBlock(slot, &block)) return e4memo;
          if (block == 0) continue;
          int read = old_memo->Read(block, &text);
          if (read != 0) return read;
          uint32_t moved = 0;
          if (!text.empty()) {
            int written = compact->Append(text, &moved);
            if (written != 0) return written;
          }
          if (moved == 0) {
            std::memset(slot, ' ', 10);
          } else {
            char digits[11];
            std::snprintf(digits, sizeof digits, "%10u", moved);
            std::memcpy(slot, digits, 10);
          }
        }
        return 0;
      },
      false, &memo_file);
  compact.reset();
  if (!temp.empty() && fs.Exists(temp)) (void)fs.Remove(temp);
  return rc;
}
