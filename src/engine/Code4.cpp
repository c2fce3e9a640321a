// The engine instance: modes, the pending error, the exit hook, and the
// helpers shared by the table calls (paths, errors).

#include <algorithm>
#include <cctype>
#include <cstdlib>

#include "Engine.h"

namespace engine {

int Fail(CODE4* cb, int code) {
  if (cb != nullptr && code < 0 && cb->error == 0) cb->error = code;
  return code;
}

int Fail(DATA4* d, int code) { return Fail(d == nullptr ? nullptr : d->cb, code); }

std::string JoinPath(const std::string& dir, const std::string& name) {
  if (dir.empty() || (!name.empty() && name[0] == '/')) return name;
  if (dir.back() == '/') return dir + name;
  return dir + "/" + name;
}

bool EqualNoCase(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

std::string ResolvePath(FileSystem& fs, const std::string& dir, const std::string& name) {
  std::string exact = JoinPath(dir, name);
  if (fs.Exists(exact)) return exact;
  // The name may carry a directory of its own.
  std::string folder = dir;
  std::string file = name;
  size_t slash = name.rfind('/');
  if (slash != std::string::npos) {
    folder = JoinPath(dir, name.substr(0, slash + 1));
    file = name.substr(slash + 1);
  }
  std::vector<std::string> entries;
  if (fs.ListDirectory(folder, &entries) != 0) return exact;
  std::sort(entries.begin(), entries.end());  // the same pick every time
  for (const std::string& entry : entries) {
    if (EqualNoCase(entry, file)) return JoinPath(folder, entry);
  }
  return exact;
}

}  // namespace engine

CODE4* code4allocate() { return new CODE4(); }

int code4initP(CODE4* cb) {
  if (cb == nullptr) return e4parm;
  cb->error = 0;
  cb->auto_open = 1;
  cb->access_mode = 0;
  cb->safety = 1;
  cb->optimize = 1;
  cb->optimize_write = -1;
  cb->initialised = true;
  return 0;
}

int code4close(CODE4* cb) {
  if (cb == nullptr) return e4parm;
  int result = 0;
  while (!cb->tables.empty()) {
    int rc = d4close(cb->tables.back());
    if (rc < 0 && result == 0) result = rc;
  }
  return result;
}

int code4initUndoP(CODE4* cb) {
  if (cb == nullptr) return e4parm;
  int rc = code4close(cb);
  code4replaceAbandon(cb);
  cb->initialised = false;
  return rc;
}

int code4replaceBegin(CODE4* cb) {
  if (cb == nullptr) return e4parm;
  if (cb->group) return engine::Fail(cb, e4parm);
  cb->group = std::make_unique<engine::Replacement>(cb->Fs(), cb->directory);
  cb->group_error = 0;
  return 0;
}

int code4replaceCommit(CODE4* cb) {
  if (cb == nullptr || !cb->group) return e4parm;
  std::unique_ptr<engine::Replacement> group = std::move(cb->group);
  int rc = cb->group_error;
  cb->group_error = 0;
  if (rc != 0) {
    group->Abandon();
  } else {
    rc = group->Commit();
  }
  // Tables still open now hold live files; their locks follow the new files.
  for (DATA4* d : cb->tables) (void)d->lock->Renew();
  return rc == 0 ? 0 : engine::Fail(cb, rc);
}

void code4replaceAbandon(CODE4* cb) {
  if (cb == nullptr || !cb->group) return;
  cb->group->Abandon();
  cb->group.reset();
  cb->group_error = 0;
}

void code4free(CODE4* cb) {
  if (cb == nullptr) return;
  (void)code4close(cb);
  delete cb;
}

int error4exitTest(CODE4* cb) {
  if (cb == nullptr || cb->error >= 0) return 0;
  int code = cb->error;
  code4exit(cb);
  return code;
}

void code4exit(CODE4* cb) {
  ExitHook hook = cb == nullptr ? nullptr : cb->exit_hook;
  int code = cb != nullptr && cb->error < 0 ? 1 : 0;
  if (cb != nullptr) (void)code4close(cb);
  if (hook != nullptr) {
    hook(code);
    return;
  }
  std::exit(code);
}

void code4setExitHook(CODE4* cb, ExitHook hook) {
  if (cb != nullptr) cb->exit_hook = hook;
}

namespace {
int Swap(int* mode, int value) {
  int previous = *mode;
  *mode = value;
  return previous;
}
}  // namespace

int code4autoOpen(CODE4* cb, int value) { return cb ? Swap(&cb->auto_open, value) : e4parm; }
int code4accessMode(CODE4* cb, int value) { return cb ? Swap(&cb->access_mode, value) : e4parm; }
int code4safety(CODE4* cb, int value) { return cb ? Swap(&cb->safety, value) : e4parm; }
int code4optimize(CODE4* cb, int value) { return cb ? Swap(&cb->optimize, value) : e4parm; }
int code4optimizeWrite(CODE4* cb, int value) {
  return cb ? Swap(&cb->optimize_write, value) : e4parm;
}
int code4errorCode(CODE4* cb, int value) { return cb ? Swap(&cb->error, value) : e4parm; }

void code4directory(CODE4* cb, const char* dir) {
  if (cb != nullptr) cb->directory = dir == nullptr ? "" : dir;
}

void code4fileSystem(CODE4* cb, engine::FileSystem* fs) {
  if (cb != nullptr) cb->file_system = fs;
}
