#pragma once
// The engine's handles behind the flat call interface, and the helpers the
// interface's units share (errors, record buffering, tag maintenance).

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Dbf.h"
#include "Dbt.h"
#include "FileSystem.h"
#include "KeyExpr.h"
#include "Ntx.h"
#include "Replacement.h"
#include "TableEngine.h"
#include "TableLock.h"

struct CODE4 {
  int error = 0;
  bool initialised = false;
  int auto_open = 1;
  int access_mode = 0;
  int safety = 1;
  int optimize = 1;
  int optimize_write = -1;
  std::string directory;
  engine::FileSystem* file_system = nullptr;
  ExitHook exit_hook = nullptr;
  std::vector<DATA4*> tables;
  // Between code4replaceBegin and its commit: the new files of every table
  // rewritten meanwhile, made live together. group_error is the first
  // failure of one of those rewrites; the whole change is then abandoned.
  std::unique_ptr<engine::Replacement> group;
  int group_error = 0;

  engine::FileSystem& Fs() { return file_system ? *file_system : engine::DiskFileSystem(); }
};

struct FIELD4 {
  DATA4* data = nullptr;
  engine::FieldDesc desc;
  std::string text;  // f4str's result
  // The memo of the current record, once read or assigned.
  uint64_t memo_generation = 0;
  bool memo_changed = false;
  std::string memo;
};

struct TAG4 {
  DATA4* data = nullptr;
  std::string name;
  std::string path;
  std::unique_ptr<engine::Ntx> ntx;
  std::unique_ptr<engine::KeyExpr> expr;
  bool written = false;  // changed since the last durable flush
  // Keys of appended records not yet in the tree: inserted in key order in
  // one batch before the tag is next used, which keeps appends fast.
  engine::KeyList pending;
};

struct INDEX4 {
  DATA4* data = nullptr;
  std::string name;
};

struct DATA4 {
  CODE4* cb = nullptr;
  std::string path;       // the .dbf as found
  std::string directory;  // where its companion files live ("" = current)
  std::string base_name;  // file name without extension
  std::unique_ptr<engine::TableLock> lock;
  std::unique_ptr<engine::TableFile> table;
  std::unique_ptr<engine::MemoFile> memo;
  std::vector<std::unique_ptr<FIELD4>> fields;
  std::vector<std::unique_ptr<TAG4>> tags;
  std::vector<std::unique_ptr<INDEX4>> indexes;
  TAG4* selected = nullptr;

  std::vector<char> record;  // the current record
  std::vector<char> saved;   // the record as stored, kept from its first change
  uint32_t rec_no = 0;       // 0: no record is current
  bool eof = true;
  bool bof = true;
  bool changed = false;
  bool appended = false;       // keys of the current record not yet in the tags
  bool cursor_seated = false;  // the selected tag's cursor is on the current record
  uint64_t generation = 1;     // changes whenever another record becomes current
  std::vector<engine::KeyField> key_fields;
  std::string scratch_key;
  std::string old_key;
};

namespace engine {

// Leaves code pending in the instance (the first error stays) and returns it.
int Fail(CODE4* cb, int code);
int Fail(DATA4* d, int code);

// Joins a directory and a file name ("" is the current directory).
std::string JoinPath(const std::string& dir, const std::string& name);
// The path of name in dir: the exact spelling when present, else an entry
// whose name differs only in case, else the exact spelling (absent).
std::string ResolvePath(FileSystem& fs, const std::string& dir, const std::string& name);
bool EqualNoCase(const std::string& a, const std::string& b);

// Record buffering.
void MarkChanged(DATA4* d);
[[nodiscard]] int WriteCurrent(DATA4* d);  // writes a changed record and its keys
[[nodiscard]] int LoadRecord(DATA4* d, uint32_t rec);
void SetEof(DATA4* d);

// A memo field's block number from its stored text; false when garbage.
bool ParseMemoBlock(const char* text, uint32_t* block);

// Opens one tag file on d (expression parsed against d's fields).
[[nodiscard]] int OpenTag(DATA4* d, const std::string& tag_name, const std::string& file_name);
// Inserts the pending keys of appended records into their tags.
[[nodiscard]] int ApplyPending(DATA4* d);
// The keys of every expression, in as few sequential scans of the table as
// memory allows; done(i, keys) gets each expression's list in turn.
[[nodiscard]] int CollectKeys(TableFile& table, const std::vector<const KeyExpr*>& exprs,
                              const std::function<int(size_t i, KeyList* keys)>& done);
// The file to open for the live file at path: its new version while a group
// of changes holds one, else path itself.
std::string CurrentPath(CODE4* cb, const std::string& path);
// Flushes d's files; sync makes every written file durable.
[[nodiscard]] int FlushFiles(DATA4* d, bool sync);

}  // namespace engine
