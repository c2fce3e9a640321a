// Building tags in bulk (i4create), and the table rewrites that rebuild
// them: pack, zap and memo compression.

#include <cstring>
#include <functional>

#include "Engine.h"
#include "TagGroup.h"

using engine::Fail;

namespace engine {

int CollectKeys(DATA4* d, const std::vector<const KeyExpr*>& exprs,
                const std::function<int(size_t i, KeyList* keys)>& done) {
  // Key lists of this many bytes in all share one scan of the table.
  constexpr uint64_t kScanBudget = uint64_t{48} << 20;
  const uint32_t count = d->table->RecordCount();
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
    int rc = d->table->Scan([&](uint32_t rec, char* record) {
      for (size_t i = first; i < last; ++i) exprs[i]->Evaluate(record, lists[i - first].Add(rec));
      return 0;
    });
    for (size_t i = first; rc == 0 && i < last; ++i) rc = done(i, &lists[i - first]);
    if (rc != 0) return rc;
    first = last;
  }
  return 0;
}

int RebuildTags(DATA4* d) {
  std::vector<const KeyExpr*> exprs;
  for (auto& tag : d->tags) {
    tag->pending.Release();  // the rebuild reads every record
    exprs.push_back(tag->expr.get());
  }
  int rc = CollectKeys(d, exprs, [d](size_t i, KeyList* keys) {
    TAG4& tag = *d->tags[i];
    std::unique_ptr<Ntx> rebuilt;
    int created = Ntx::Create(d->cb->Fs(), tag.path, tag.ntx->Expression(), keys, &rebuilt);
    if (created != 0) return created;
    tag.ntx = std::move(rebuilt);
    tag.written = false;
    return 0;
  });
  d->cursor_seated = false;
  return rc;
}

}  // namespace engine

namespace {

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

// After a rewrite the table is positioned at its top (or at eof when empty).
int AfterRewrite(DATA4* d, bool rebuild_tags = true) {
  int rc = d->lock->Renew();
  if (rebuild_tags) {
    int rebuilt = engine::RebuildTags(d);
    if (rc == 0) rc = rebuilt;
  }
  engine::SetEof(d);
  if (rc != 0) return Fail(d, rc);
  int top = d4top(d);
  return top < 0 ? top : 0;
}

}  // namespace

INDEX4* i4create(DATA4* d, const char* name, const TAG4INFO* infos) {
  if (d == nullptr) return nullptr;
  if (infos == nullptr || infos[0].name == nullptr) {
    Fail(d, e4parm);
    return nullptr;
  }
  // Every expression first: a bad one writes nothing.
  struct Planned {
    std::string name;
    std::string expression;
    std::unique_ptr<engine::KeyExpr> expr;
  };
  std::vector<Planned> planned;
  for (const TAG4INFO* info = infos; info->name != nullptr; ++info) {
    if (!ValidTagName(info->name) || info->expression == nullptr ||
        (info->filter != nullptr && *info->filter != '\0') || info->unique != 0 ||
        info->descending != 0) {
      Fail(d, e4parm);
      return nullptr;
    }
    std::string error;
    auto expr = engine::KeyExpr::Parse(info->expression, d->key_fields, &error);
    if (!expr || expr->KeyLength() < 1 || expr->KeyLength() > 250) {
      Fail(d, e4expr);
      return nullptr;
    }
    planned.push_back({info->name, info->expression, std::move(expr)});
  }
  int rc = engine::WriteCurrent(d);
  if (rc == 0) rc = engine::FlushFiles(d, false);
  if (rc != 0) {
    Fail(d, rc);
    return nullptr;
  }
  engine::FileSystem& fs = d->cb->Fs();
  std::string group_name = name == nullptr || *name == '\0' ? d->base_name : name;
  if (group_name.size() < 4 ||
      !engine::EqualNoCase(group_name.substr(group_name.size() - 4), ".cgp")) {
    group_name += ".cgp";
  }
  std::string group_path = engine::JoinPath(d->directory, group_name);
  if (d->cb->safety == 1) {
    bool exists = fs.Exists(engine::ResolvePath(fs, d->directory, group_name));
    for (const Planned& tag : planned) {
      exists = exists || fs.Exists(engine::ResolvePath(fs, d->directory, tag.name + ".ntx"));
    }
    if (exists) {
      Fail(d, e4create);
      return nullptr;
    }
  }
  // Open tags of the same names or files are replaced.
  for (const Planned& tag : planned) {
    std::string path = engine::JoinPath(d->directory, tag.name + ".ntx");
    for (size_t i = 0; i < d->tags.size(); ++i) {
      if (engine::EqualNoCase(d->tags[i]->name, tag.name) ||
          engine::EqualNoCase(d->tags[i]->path, path)) {
        if (d->selected == d->tags[i].get()) d->selected = nullptr;
        d->tags.erase(d->tags.begin() + static_cast<long>(i));
        --i;
      }
    }
  }
  std::vector<const engine::KeyExpr*> exprs;
  for (const Planned& tag : planned) exprs.push_back(tag.expr.get());
  std::vector<engine::TagGroupEntry> group;
  rc = engine::CollectKeys(d, exprs, [&](size_t i, engine::KeyList* keys) {
    Planned& tag = planned[i];
    std::string file_name = tag.name + ".ntx";
    std::string path = engine::JoinPath(d->directory, file_name);
    std::unique_ptr<engine::Ntx> ntx;
    int created = engine::Ntx::Create(fs, path, tag.expression, keys, &ntx);
    if (created != 0) return created;
    RemoveOtherSpellings(fs, d->directory, file_name);
    auto opened = std::make_unique<TAG4>();
    opened->data = d;
    opened->name = tag.name;
    opened->path = path;
    opened->ntx = std::move(ntx);
    opened->expr = std::move(tag.expr);
    d->tags.push_back(std::move(opened));
    group.push_back({tag.name, file_name});
    return 0;
  });
  if (rc != 0) {
    Fail(d, rc);
    return nullptr;
  }
  rc = engine::WriteTagGroup(fs, group_path, group);
  if (rc != 0) {
    Fail(d, rc);
    return nullptr;
  }
  RemoveOtherSpellings(fs, d->directory, group_name);
  d->cursor_seated = false;
  auto index = std::make_unique<INDEX4>();
  index->data = d;
  index->name = group_name;
  d->indexes.push_back(std::move(index));
  return d->indexes.back().get();
}

int d4pack(DATA4* d) {
  if (d == nullptr) return e4parm;
  int rc = engine::WriteCurrent(d);
  if (rc != 0) return Fail(d, rc);
  rc = d->table->Rewrite([](uint32_t, char* record, bool* keep) {
    *keep = record[0] != '*';
    return 0;
  });
  if (rc != 0) {
    engine::SetEof(d);
    return Fail(d, rc);
  }
  return AfterRewrite(d);
}

int d4zap(DATA4* d, long first, long count) {
  if (d == nullptr) return e4parm;
  if (first < 1 || count < 0) return Fail(d, e4parm);
  int rc = engine::WriteCurrent(d);
  if (rc != 0) return Fail(d, rc);
  int64_t from = first;
  int64_t to = from + count;  // exclusive
  rc = d->table->Rewrite([from, to](uint32_t rec, char*, bool* keep) {
    *keep = rec < from || rec >= to;
    return 0;
  });
  if (rc != 0) {
    engine::SetEof(d);
    return Fail(d, rc);
  }
  return AfterRewrite(d);
}

int d4memoCompress(DATA4* d) {
  if (d == nullptr) return e4parm;
  int rc = engine::WriteCurrent(d);
  if (rc != 0) return Fail(d, rc);
  if (!d->memo) return 0;
  engine::FileSystem& fs = d->cb->Fs();
  std::string memo_path = engine::ResolvePath(fs, d->directory, d->base_name + ".dbt");
  std::string temp = memo_path + ".tmp";
  rc = engine::MemoFile::Create(fs, temp);
  std::unique_ptr<engine::MemoFile> compact;
  if (rc == 0) rc = engine::MemoFile::Open(fs, temp, false, &compact);
  if (rc != 0) {
    (void)fs.Remove(temp);
    return Fail(d, rc);
  }
  std::string text;
  engine::MemoFile* old_memo = d->memo.get();
  rc = d->table->Rewrite(
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
      [&]() {
        // The compacted memo file goes into place just before the table that
        // points into it.
        int synced = compact->Flush(true);
        compact.reset();
        if (synced != 0) return synced;
        return fs.Rename(temp, memo_path) == 0 ? 0 : e4rename;
      });
  if (rc != 0) {
    compact.reset();
    (void)fs.Remove(temp);
  }
  // Whatever happened, the memo file at the path is the one to use now.
  int reopened = engine::MemoFile::Open(fs, memo_path, false, &d->memo);
  if (rc == 0) rc = reopened;
  if (rc != 0) {
    engine::SetEof(d);
    return Fail(d, rc);
  }
  return AfterRewrite(d, false);
}
