#pragma once
// The program's binding to the table engine: the one engine instance every
// table is opened through, and the few engine calls the program uses under
// their short names (code4init, code4initUndo, d4tagSelect, d4position,
// f4double). A fatal engine exit goes to the platform's Terminate, so tests
// see the request and survive it.

#include "engine/TableEngine.h"

// The program-wide engine instance; null until StartEngine.
extern CODE4* cb;

// Allocates the instance when needed and initialises it (code4init). Returns
// false when the engine could not be initialised.
[[nodiscard]] bool StartEngine();
// Ends the instance (code4initUndo) and releases it; cb is null afterwards.
void EndEngine();

// code4initP, with the engine's exit routed to platform::Current().Terminate.
[[nodiscard]] int code4init(CODE4* code_base);
// code4initUndoP.
[[nodiscard]] int code4initUndo(CODE4* code_base);
// d4tagSelectP; a null tag selects record number order.
[[nodiscard]] int d4tagSelect(DATA4* data, TAG4* tag);
// d4position2: the current record's place in tag order, 0 to 1.
double d4position(DATA4* data);
// f4double2: the field's numeric value (0 for blanks).
double f4double(FIELD4* field);
