#pragma once
// The engine's pending error, taken in one place and turned into a result
// that names the table and says in words what failed. Every part of the
// program clears the pending error through TakeResult, so an error left by
// one call is never blamed on the next.

#include <QString>
#include <string>

#include "store/TableDefs.h"

namespace store {

// Words for an engine error code ("write failed", "damaged index file").
std::string ErrorText(int code);

// What became of the engine calls made on one table.
struct Result {
  int code = 0;   // 0, or the engine's negative error code
  QString words;  // "INV: write failed"; empty on success
  bool ok() const { return code >= 0; }
};

// The outcome of engine work on table: the pending error, or else rc when
// it is negative (a call that failed without leaving one pending). The
// pending error is cleared.
Result TakeResult(Table table, int rc = 0);
// The same for a table known by its handle: one of the catalogue's open
// tables, or else a table of the same directory named "table".
Result TakeResult(DATA4* data, int rc = 0);

// Takes the result of engine work on table that a caller cut short, and
// tells the operator `what` ended early and why when there was a failure.
// True when there was none.
bool TellIfFailed(Table table, const QString& what);

// True while an engine error waits to be taken; the error stays pending.
bool ErrorPending();

}  // namespace store
