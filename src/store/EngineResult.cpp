#include "store/EngineResult.h"

#include "platform/Platform.h"
#include "store/CodeBase.h"

namespace store {

std::string ErrorText(int code) {
  switch (code) {
    case 0:
      return "no error";
    case e4close:
      return "could not be closed or flushed";
    case e4create:
      return "could not be created";
    case e4open:
      return "could not be opened";
    case e4read:
      return "read failed";
    case e4write:
      return "write failed";
    case e4rename:
      return "could not be renamed into place";
    case e4data:
      return "damaged table file";
    case e4field:
      return "field missing";
    case e4memo:
      return "damaged memo file or memo pointer";
    case e4index:
      return "damaged index file";
    case e4tagName:
      return "tag missing";
    case e4expr:
      return "key expression not understood";
    case e4record:
      return "record number outside the table";
    case e4access:
      return "access denied";
    case e4parm:
      return "bad argument";
    default:
      return "engine error " + std::to_string(code);
  }
}

namespace {

Result Take(const char* table_name, int rc) {
  const int pending = cb != nullptr ? code4errorCode(cb, 0) : 0;
  Result result;
  result.code = pending < 0 ? pending : (rc < 0 ? rc : 0);
  if (!result.ok()) {
    result.words = QString::fromLatin1(table_name) + ": " +
                   QString::fromStdString(ErrorText(result.code));
  }
  return result;
}

}  // namespace

Result TakeResult(Table table, int rc) { return Take(Def(table).name, rc); }

Result TakeResult(DATA4* data, int rc) {
  for (const TableDef& def : AllTables()) {
    if (data != nullptr && *def.data == data) return Take(def.name, rc);
  }
  return Take("table", rc);
}

bool TellIfFailed(Table table, const QString& what) {
  const Result result = TakeResult(table);
  if (!result.ok()) platform::Current().Inform(what + "\r\n" + result.words);
  return result.ok();
}

bool ErrorPending() {
  if (cb == nullptr) return false;
  const int pending = code4errorCode(cb, 0);
  code4errorCode(cb, pending);
  return pending < 0;
}

}  // namespace store
