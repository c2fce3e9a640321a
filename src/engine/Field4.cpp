// Field access: reading the buffered record's fields as text, numbers,
// logicals and memos, and assigning them.

#include <cmath>
#include <cstring>

#include "Engine.h"
#include "FieldFormat.h"

using engine::Fail;

namespace {

char* Slot(FIELD4* f) { return f->data->record.data() + f->desc.offset; }

std::string_view Stored(FIELD4* f) {
  return std::string_view(Slot(f), static_cast<size_t>(f->desc.length));
}

// Reads the current record's memo into the field once per record.
int LoadMemo(FIELD4* f) {
  DATA4* d = f->data;
  if (f->memo_generation == d->generation) return 0;
  f->memo.clear();
  f->memo_changed = false;
  f->memo_generation = d->generation;
  uint32_t block = 0;
  if (!engine::ParseMemoBlock(Slot(f), &block)) return Fail(d, e4memo);
  if (block == 0) return 0;
  if (!d->memo) return Fail(d, e4memo);
  int rc = d->memo->Read(block, &f->memo);
  return rc != 0 ? Fail(d, rc) : 0;
}

}  // namespace

const char* f4str(FIELD4* f) {
  if (f == nullptr) return "";
  f->text.assign(Slot(f), static_cast<size_t>(f->desc.length));
  return f->text.c_str();
}

int f4double2(FIELD4* f, double* result) {
  if (f == nullptr || result == nullptr) return e4parm;
  *result = engine::ParseNumber(Stored(f));
  return 0;
}

long f4long(FIELD4* f) {
  if (f == nullptr) return 0;
  double value = engine::ParseNumber(Stored(f));
  if (value >= 9.2e18 || value <= -9.2e18) return 0;
  return static_cast<long>(value);
}

int f4int(FIELD4* f) {
  if (f == nullptr) return 0;
  double value = engine::ParseNumber(Stored(f));
  if (value >= 2147483648.0 || value <= -2147483649.0) return 0;
  return static_cast<int>(value);
}

int f4true(FIELD4* f) { return f != nullptr && engine::IsTrueLogical(*Slot(f)) ? 1 : 0; }

const char* f4memoStr(FIELD4* f) {
  if (f == nullptr) return "";
  if (f->desc.type != 'M') return f4str(f);
  (void)LoadMemo(f);
  return f->memo.c_str();
}

unsigned f4memoLen(FIELD4* f) {
  if (f == nullptr) return 0;
  if (f->desc.type != 'M') return static_cast<unsigned>(f->desc.length);
  (void)LoadMemo(f);
  return static_cast<unsigned>(f->memo.size());
}

int f4memoAssignN(FIELD4* f, const char* text, unsigned length) {
  if (f == nullptr) return e4parm;
  DATA4* d = f->data;
  std::string_view value(text == nullptr ? "" : text, text == nullptr ? 0 : length);
  if (f->desc.type != 'M') {
    engine::MarkChanged(d);
    engine::AssignText(value, f->desc.length, Slot(f));
    return 0;
  }
  if (d->rec_no == 0) return Fail(d, e4record);
  engine::MarkChanged(d);
  size_t cut = value.find('\x1A');
  if (cut != std::string_view::npos) value = value.substr(0, cut);
  f->memo.assign(value);
  f->memo_generation = d->generation;
  f->memo_changed = true;
  return 0;
}

int f4memoAssign(FIELD4* f, const char* text) {
  return f4memoAssignN(f, text, text == nullptr ? 0 : static_cast<unsigned>(std::strlen(text)));
}

void f4assign(FIELD4* f, const char* text) {
  if (f == nullptr) return;
  if (f->desc.type == 'M') {
    (void)f4memoAssign(f, text);
    return;
  }
  engine::MarkChanged(f->data);
  engine::AssignText(text == nullptr ? "" : text, f->desc.length, Slot(f));
}

void f4assignLong(FIELD4* f, long value) {
  if (f == nullptr || f->desc.type == 'M') return;
  engine::MarkChanged(f->data);
  engine::FormatInteger(value, f->desc.length, f->desc.decimals, Slot(f));
}

void f4assignInt(FIELD4* f, int value) { f4assignLong(f, value); }

void f4assignDouble(FIELD4* f, double value) {
  if (f == nullptr || f->desc.type == 'M') return;
  engine::MarkChanged(f->data);
  engine::FormatNumber(value, f->desc.length, f->desc.decimals, Slot(f));
}

const char* f4name(FIELD4* f) { return f == nullptr ? "" : f->desc.name.c_str(); }
char f4type(FIELD4* f) { return f == nullptr ? '\0' : f->desc.type; }
int f4len(FIELD4* f) { return f == nullptr ? 0 : f->desc.length; }
int f4decimals(FIELD4* f) { return f == nullptr ? 0 : f->desc.decimals; }
