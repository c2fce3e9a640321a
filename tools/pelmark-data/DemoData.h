#pragma once
// A believable demo business written into a fresh data set: customer groups,
// customers, products and services, inventory purchases, invoices with their
// line items and payments, tax settings, a letterhead and label stocks. The
// same seed and today give the same files.

#include <chrono>
#include <cstdint>
#include <iosfwd>
#include <string>

#include "engine/TableEngine.h"

namespace tool {

struct DemoOptions {
  long customers = 200;
  long invoices = 1000;
  // Products beyond the catalogue's are generated stock items; fewer take the
  // catalogue's first ones (stock items come first).
  long products = 60;
  long purchases = 150;
  uint64_t seed = 1;
  std::chrono::sys_days today{};  // invoices and purchases fall in the 18 months before it
};

// Fills the empty tables (created, settings row not yet written, no index).
[[nodiscard]] bool WriteDemoData(CODE4* cb, const DemoOptions& options, std::string* error);

// init, then the demo business, then the index groups.
int RunDemo(const std::string& directory, const DemoOptions& options, std::ostream& out,
            std::ostream& err);

}  // namespace tool
