#include "store/CodeBase.h"

#include "platform/Platform.h"

CODE4* cb = nullptr;

namespace {

// The engine ends the program through this hook; the platform decides what
// ending means (the running program quits, a test records the request).
void TerminateThroughPlatform(int exit_code) { platform::Current().Terminate(exit_code); }

}  // namespace

bool StartEngine() {
  if (cb == nullptr) cb = code4allocate();
  if (cb == nullptr) return false;
  return code4init(cb) >= 0;
}

void EndEngine() {
  if (cb == nullptr) return;
  code4initUndo(cb);
  code4free(cb);
  cb = nullptr;
}

int code4init(CODE4* code_base) {
  const int rc = code4initP(code_base);
  code4setExitHook(code_base, &TerminateThroughPlatform);
  return rc;
}

int code4initUndo(CODE4* code_base) { return code4initUndoP(code_base); }

int d4tagSelect(DATA4* data, TAG4* tag) { return d4tagSelectP(data, tag); }

double d4position(DATA4* data) {
  double result = 0;
  d4position2(data, &result);
  return result;
}

double f4double(FIELD4* field) {
  double result = 0;
  f4double2(field, &result);
  return result;
}
