#pragma once
// Key expressions of index tags: field names (any case), '+', Upper(),
// Str(n, w[, d]) and DTOS(). Parsed once, evaluated on each record's bytes.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace engine {

// What the expression needs to know of the table's fields.
struct KeyField {
  std::string name;  // as stored in the table header
  char type;         // 'C', 'N', 'D', 'L'
  int offset;        // offset of the field in the record (after the flag byte: offset >= 1)
  int length;
  int decimals;
};

class KeyExpr {
 public:
  // Parses text against the table's fields. Returns null and sets *error to a
  // readable reason when the expression is one the engine cannot evaluate.
  static std::unique_ptr<KeyExpr> Parse(std::string_view text, const std::vector<KeyField>& fields,
                                        std::string* error);
  virtual ~KeyExpr() = default;
  // The key length in bytes (fixed for a given expression and table).
  virtual int KeyLength() const = 0;
  // Writes exactly KeyLength() bytes for the record (flag byte included at 0).
  virtual void Evaluate(const char* record, char* key_out) const = 0;
  std::string Evaluate(const char* record) const {
    std::string key(static_cast<size_t>(KeyLength()), ' ');
    Evaluate(record, key.data());
    return key;
  }
};

}  // namespace engine
