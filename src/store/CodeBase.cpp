#include "store/CodeBase.h"

#include "platform/Platform.h"
#include "store/EngineResult.h"

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
  // Every table is closed by now; what ending met has nothing left to lose.
  store::TakeResult(static_cast<DATA4*>(nullptr), code4initUndo(cb));
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
  // On failure the error stays pending for the walk that asked.
  return d4position2(data, &result) == 0 ? result : 0.0;
}

double f4double(FIELD4* field) {
  double result = 0;
  return f4double2(field, &result) == 0 ? result : 0.0;
}
