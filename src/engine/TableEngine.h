#pragma once
// The table engine's flat call interface: dBASE III tables (.dbf) with memo
// files (.dbt), Clipper index tags (.ntx) collected in tag groups (.cgp).
// Every call reports failure by its return value and leaves the error pending
// in the engine instance until code4errorCode(cb, 0) reads and clears it.

#include <cstdint>

namespace engine {
class FileSystem;
}

// Opaque handles. A CODE4 is one engine instance; a DATA4 one open table;
// a FIELD4 one field of an open table; a TAG4 one open index tag.
struct CODE4;
struct DATA4;
struct FIELD4;
struct TAG4;
struct INDEX4;

// Return codes of positioning calls.
inline constexpr int r4success = 0;  // a record is current / exact match
inline constexpr int r4after = 2;    // d4seek: positioned on the next greater key
inline constexpr int r4eof = 3;      // end of file
inline constexpr int r4bof = 4;      // beginning of file on a backward skip

// Error codes (negative). They are left pending in the instance as well.
inline constexpr int e4close = -10;     // a file could not be closed or flushed
inline constexpr int e4create = -20;    // a file could not be created
inline constexpr int e4open = -60;      // a file could not be opened
inline constexpr int e4read = -70;      // a read failed
inline constexpr int e4write = -80;     // a write failed (disk full, read only, I/O error)
inline constexpr int e4rename = -90;    // a replacement could not be renamed into place
inline constexpr int e4data = -200;     // the table file is damaged
inline constexpr int e4field = -210;    // no field of that name
inline constexpr int e4memo = -220;     // the memo file is damaged or a memo pointer is bad
inline constexpr int e4index = -300;    // an index file is damaged
inline constexpr int e4tagName = -330;  // no tag of that name
inline constexpr int e4expr = -400;     // a key expression the engine cannot evaluate
inline constexpr int e4record = -500;   // a record number outside the table
inline constexpr int e4access = -600;   // the access mode forbids the operation
inline constexpr int e4parm = -910;     // a bad argument (null handle, bad range)

// One tag of an i4create call; the list ends with an entry whose name is null.
struct TAG4INFO {
  const char* name;        // tag name; the tag file is name + ".ntx"
  const char* expression;  // key expression
  const char* filter;      // must be null (filters are not supported)
  int unique;              // must be 0
  int descending;          // must be 0
};

// --- Instance -----------------------------------------------------------------
// code4initP fills a fresh instance; returns 0 or a negative error.
CODE4* code4allocate();         // a new instance, not yet initialised
[[nodiscard]] int code4initP(CODE4* cb);      // initialise (modes to their defaults)
[[nodiscard]] int code4initUndoP(CODE4* cb);  // close everything and end the instance
void code4free(CODE4* cb);      // release an instance from code4allocate
[[nodiscard]] int code4close(CODE4* cb);      // close every open table (flushing them)
// Ends the process through the exit hook when an error is pending; returns 0
// otherwise. Tests replace the exit hook so the process survives.
int error4exitTest(CODE4* cb);
void code4exit(CODE4* cb);
using ExitHook = void (*)(int code);
void code4setExitHook(CODE4* cb, ExitHook hook);  // null restores std::exit

// Modes. Each setter returns the previous value.
int code4autoOpen(CODE4* cb, int value);       // 1: d4open opens the .cgp group and its tags
int code4accessMode(CODE4* cb, int value);     // 0 shared, 1 exclusive (pack, erase, reindex)
int code4safety(CODE4* cb, int value);         // 0: i4create may overwrite existing files
int code4optimize(CODE4* cb, int value);       // read caching on (1) or off (0)
int code4optimizeWrite(CODE4* cb, int value);  // write caching; -1 default
// Returns the pending error (0 when none) and sets the pending error to value.
int code4errorCode(CODE4* cb, int value);
// The directory files are opened in; empty (the default) is the current directory.
void code4directory(CODE4* cb, const char* dir);
// The file system every file operation goes through (tests inject faults).
// Null restores the real disk.
void code4fileSystem(CODE4* cb, engine::FileSystem* fs);

// Changes of several tables that take effect together: between
// code4replaceBegin and code4replaceCommit, d4pack, d4zap, d4memoCompress and
// i4create write the new versions of their files beside the live ones (the
// table goes on working on its new version), and the commit puts all of
// them in place at once, or none when one of them failed. Close the tables
// before committing or abandoning. Tables of the instance's directory only.
[[nodiscard]] int code4replaceBegin(CODE4* cb);
[[nodiscard]] int code4replaceCommit(CODE4* cb);  // 0, or the error of the change that failed
void code4replaceAbandon(CODE4* cb);

// --- Tables -------------------------------------------------------------------
// Opens name (".dbf" appended when no extension is given, matched without
// regard to case). Returns null on failure with the error pending. A change
// of several files that was cut short in the table's directory is undone
// first (see Replacement.h).
[[nodiscard]] DATA4* d4open(CODE4* cb, const char* name);
[[nodiscard]] int d4close(DATA4* d);                    // flushes, closes its tags, frees the handle
TAG4* d4tag(DATA4* d, const char* name);  // null (and e4tagName pending) when absent
[[nodiscard]] int d4tagSelectP(DATA4* d, TAG4* tag);    // null selects physical (record number) order
TAG4* d4tagSelected(DATA4* d);            // null when in record number order
[[nodiscard]] int d4top(DATA4* d);
[[nodiscard]] int d4bottom(DATA4* d);
// Past the last record: r4eof, no record current (d4recNo 0); a backward
// skip from there lands on the last record. Before the first: r4bof, and the
// first record stays current.
[[nodiscard]] int d4skip(DATA4* d, long n);
[[nodiscard]] int d4go(DATA4* d, long rec);
// Seeks the selected tag. A text shorter than the key matches the start of keys.
[[nodiscard]] int d4seek(DATA4* d, const char* key);
long d4recNo(DATA4* d);  // 0 when no record is current (eof, empty)
long d4recCountDo(DATA4* d);
[[nodiscard]] int d4position2(DATA4* d, double* result);  // place in tag order, 0 to 1
int d4eof(DATA4* d);
int d4bof(DATA4* d);

// --- Records ------------------------------------------------------------------
[[nodiscard]] int d4appendBlank(DATA4* d);
void d4delete(DATA4* d);
int d4deleted(DATA4* d);
void d4recall(DATA4* d);
[[nodiscard]] int d4pack(DATA4* d);
[[nodiscard]] int d4memoCompress(DATA4* d);
[[nodiscard]] int d4zap(DATA4* d, long first, long count);
[[nodiscard]] int d4flush(DATA4* d);
// Takes in the whole, well-formed records the file holds after the header's
// count (left by a stop between writing records and the header), ending the
// file after them; *taken (may be null) is how many. A well-formed record
// after a malformed one is damage: e4data, nothing changed. Until then such
// a table refuses appends (e4data) rather than write over them.
[[nodiscard]] int d4recoverRecords(DATA4* d, long* taken);
// How many whole records the file holds after the header's count (0 when none).
long d4recordsBeyondCount(DATA4* d);
FIELD4* d4field(DATA4* d, const char* name);  // null (and e4field pending) when absent
int d4numFields(DATA4* d);
FIELD4* d4fieldJ(DATA4* d, int j);  // 1-based

// --- Fields -------------------------------------------------------------------
// f4str and f4memoStr return text owned by the table, valid until the next
// call on the same table.
const char* f4str(FIELD4* f);
long f4long(FIELD4* f);
int f4int(FIELD4* f);
[[nodiscard]] int f4double2(FIELD4* f, double* result);
int f4true(FIELD4* f);
const char* f4memoStr(FIELD4* f);
unsigned f4memoLen(FIELD4* f);
void f4assign(FIELD4* f, const char* text);
void f4assignInt(FIELD4* f, int value);
void f4assignLong(FIELD4* f, long value);
void f4assignDouble(FIELD4* f, double value);
[[nodiscard]] int f4memoAssign(FIELD4* f, const char* text);
[[nodiscard]] int f4memoAssignN(FIELD4* f, const char* text, unsigned length);
const char* f4name(FIELD4* f);
char f4type(FIELD4* f);
int f4len(FIELD4* f);
int f4decimals(FIELD4* f);

// --- Index ----------------------------------------------------------------------
// Writes name + ".cgp" and one ".ntx" per tag, built in bulk from the table's
// records, and opens them on the table. Returns null on failure.
[[nodiscard]] INDEX4* i4create(DATA4* d, const char* name, const TAG4INFO* tags);

// --- Table creation (used by the data tool and tests) ---------------------------
struct FIELD4INFO {
  const char* name;
  char type;  // 'C', 'N', 'D', 'L', 'M'
  int length;
  int decimals;
};
// Creates a table from a field list ending with a null name; the memo file is
// created when a memo field is present. Returns the open table or null.
[[nodiscard]] DATA4* d4create(CODE4* cb, const char* name, const FIELD4INFO* fields);

// --- Verification (the data tool's check command and tests) ---------------------
// Checks the open table (header against file size, every memo pointer inside
// the memo file) and every open tag with the index checker (strict page walk,
// every record present once, keys equal to their expression, order by key then
// record). Appends one readable line per problem; returns 0 when sound, else
// the first error code met.
#include <string>
#include <vector>
[[nodiscard]] int d4check(DATA4* d, std::vector<std::string>* problems);
