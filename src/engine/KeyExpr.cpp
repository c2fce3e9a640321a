#include "KeyExpr.h"

#include <cctype>
#include <cstring>

namespace engine {

namespace {

constexpr int kMaxKey = 250;

// One step of evaluation; each writes into the key at dst.
struct Op {
  enum Kind { kCopy, kStr, kUpper } kind;
  int src = 0;  // record offset (kCopy, kStr)
  int len = 0;  // bytes read (kCopy, kStr) or bytes changed (kUpper)
  int dst = 0;
  int width = 0;  // kStr
  int decimals = 0;
};

// Formats the number text of an N field right aligned in width characters
// with decimals places, rounding half away from zero on the decimal digits
// themselves (no binary floating point); all '*' when it does not fit. Blank
// or unreadable text counts as 0.
void FormatStr(const char* src, int len, int width, int decimals, char* out) {
  char digits[2 * 256 + 4];
  int i = 0;
  while (i < len && src[i] == ' ') ++i;
  bool negative = false;
  if (i < len && (src[i] == '-' || src[i] == '+')) negative = src[i++] == '-';
  // digits[0] is kept free for a carry out of the top digit.
  int n = 1;
  while (i < len && std::isdigit(static_cast<unsigned char>(src[i]))) digits[n++] = src[i++];
  int int_digits = n - 1;
  int frac_start = n;
  char first_dropped = '0';  // the first fraction digit past `decimals`
  if (i < len && src[i] == '.') {
    ++i;
    while (i < len && std::isdigit(static_cast<unsigned char>(src[i]))) {
      if (n - frac_start == decimals) first_dropped = src[i];
      digits[n++] = src[i++];
    }
  }
  int frac_digits = n - frac_start;
  bool round_up = first_dropped >= '5';
  // Keep exactly `decimals` fraction digits.
  n = frac_start + std::min(frac_digits, decimals);
  while (n < frac_start + decimals) digits[n++] = '0';
  if (int_digits == 0) {
    // ".5" has an integer part of 0: make room by shifting.
    std::memmove(digits + 2, digits + 1, static_cast<size_t>(n - 1));
    digits[1] = '0';
    ++n;
    ++frac_start;
    int_digits = 1;
  }
  digits[0] = '0';
  if (round_up) {
    int k = n - 1;
    while (k >= 0 && digits[k] == '9') digits[k--] = '0';
    if (k >= 0) ++digits[k];
  }
  int first = 0;
  while (first < frac_start - 1 && digits[first] == '0') ++first;
  bool zero = true;
  for (int k = first; k < n; ++k) zero = zero && digits[k] == '0';
  char text[2 * 256 + 8];
  int t = 0;
  if (negative && !zero) text[t++] = '-';
  for (int k = first; k < frac_start; ++k) text[t++] = digits[k];
  if (decimals > 0) {
    text[t++] = '.';
    for (int k = frac_start; k < n; ++k) text[t++] = digits[k];
  }
  if (t > width) {
    std::memset(out, '*', static_cast<size_t>(width));
    return;
  }
  std::memset(out, ' ', static_cast<size_t>(width - t));
  std::memcpy(out + width - t, text, static_cast<size_t>(t));
}

class Compiled final : public KeyExpr {
 public:
  Compiled(std::vector<Op> ops, int length) : ops_(std::move(ops)), length_(length) {}
  int KeyLength() const override { return length_; }
  void Evaluate(const char* record, char* key_out) const override {
    for (const Op& op : ops_) {
      switch (op.kind) {
        case Op::kCopy:
          std::memcpy(key_out + op.dst, record + op.src, static_cast<size_t>(op.len));
          break;
        case Op::kStr:
          FormatStr(record + op.src, op.len, op.width, op.decimals, key_out + op.dst);
          break;
        case Op::kUpper:
          for (int k = op.dst; k < op.dst + op.len; ++k) {
            char c = key_out[k];
            if (c >= 'a' && c <= 'z') key_out[k] = static_cast<char>(c - 'a' + 'A');
          }
          break;
      }
    }
  }
  using KeyExpr::Evaluate;

 private:
  std::vector<Op> ops_;
  int length_;
};

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (std::toupper(static_cast<unsigned char>(a[i])) !=
        std::toupper(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

// Recursive descent over the text, emitting ops as it goes. Each value
// records its type: 'C' text, 'N' a numeric field, 'D' a date field.
class Parser {
 public:
  Parser(std::string_view text, const std::vector<KeyField>& fields)
      : text_(text), fields_(fields) {}

  bool Run(std::vector<Op>* ops, int* length, std::string* error) {
    Value v;
    if (!Expression(&v)) {
      *error = error_;
      return false;
    }
    SkipSpace();
    if (pos_ != text_.size()) {
      *error = "unexpected \"" + std::string(text_.substr(pos_)) + "\" in key expression";
      return false;
    }
    if (key_length_ > kMaxKey) {
      *error = "key of " + std::to_string(key_length_) + " bytes, longer than " +
               std::to_string(kMaxKey);
      return false;
    }
    *ops = std::move(ops_);
    *length = key_length_;
    return true;
  }

 private:
  struct Value {
    char type = 'C';
    int start = 0;  // key bytes [start, start + length)
    int length = 0;
    const KeyField* field = nullptr;  // set when the value is a bare field
  };

  void SkipSpace() {
    while (pos_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[pos_]))) ++pos_;
  }
  bool Accept(char c) {
    SkipSpace();
    if (pos_ < text_.size() && text_[pos_] == c) {
      ++pos_;
      return true;
    }
    return false;
  }
  bool Fail(std::string why) {
    if (error_.empty()) error_ = std::move(why);
    return false;
  }
  bool Expect(char c, const char* where) {
    if (Accept(c)) return true;
    return Fail(std::string("expected '") + c + "' " + where);
  }
  std::string Identifier() {
    SkipSpace();
    size_t b = pos_;
    while (pos_ < text_.size() &&
           (std::isalnum(static_cast<unsigned char>(text_[pos_])) || text_[pos_] == '_')) {
      ++pos_;
    }
    return std::string(text_.substr(b, pos_ - b));
  }
  bool Integer(int* value) {
    SkipSpace();
    size_t b = pos_;
    long v = 0;
    while (pos_ < text_.size() && std::isdigit(static_cast<unsigned char>(text_[pos_]))) {
      if (v < 100000) v = v * 10 + (text_[pos_] - '0');
      ++pos_;
    }
    if (pos_ == b) return Fail("expected a number in Str()");
    *value = static_cast<int>(v);
    return true;
  }

  bool Expression(Value* out) {
    if (!Term(out)) return false;
    while (Accept('+')) {
      Value right;
      if (!Term(&right)) return false;
      if (out->type != 'C' || right.type != 'C') {
        return Fail("'+' joins only character values (use Str() or DTOS())");
      }
      out->length += right.length;
      out->field = nullptr;
    }
    return true;
  }

  bool Term(Value* out) {
    SkipSpace();
    if (Accept('(')) {
      if (!Expression(out)) return false;
      return Expect(')', "after a bracketed expression");
    }
    std::string name = Identifier();
    if (name.empty()) {
      if (pos_ >= text_.size()) return Fail("key expression ends too early");
      return Fail("unexpected \"" + std::string(text_.substr(pos_)) + "\" in key expression");
    }
    if (Accept('(')) return Call(name, out);
    return Field(name, out);
  }

  bool Field(const std::string& name, Value* out) {
    const KeyField* f = nullptr;
    for (const KeyField& k : fields_) {
      if (SameName(k.name, name)) {
        f = &k;
        break;
      }
    }
    if (!f) return Fail("unknown field \"" + name + "\"");
    if (f->type != 'C' && f->type != 'N' && f->type != 'D') {
      return Fail("field \"" + name + "\" of type " + std::string(1, f->type) +
                  " cannot be part of a key");
    }
    if (f->length < 1 || f->offset < 1) return Fail("field \"" + name + "\" has no width");
    out->type = f->type;
    out->start = key_length_;
    out->length = f->length;
    out->field = f;
    // Everything but Str() reads the stored bytes; Str() replaces this op.
    ops_.push_back(Op{Op::kCopy, f->offset, f->length, key_length_, 0, 0});
    key_length_ += f->length;
    return true;
  }

  bool Call(const std::string& name, Value* out) {
    if (SameName(name, "UPPER")) {
      if (!Expression(out)) return false;
      if (!Expect(')', "after the argument of Upper()")) return false;
      if (out->type != 'C') return Fail("Upper() needs a character value");
      ops_.push_back(Op{Op::kUpper, 0, out->length, out->start, 0, 0});
      out->field = nullptr;
      return true;
    }
    if (SameName(name, "DTOS")) {
      if (!Expression(out)) return false;
      if (!Expect(')', "after the argument of DTOS()")) return false;
      if (out->type != 'D' || !out->field) return Fail("DTOS() needs a date field");
      out->type = 'C';
      out->field = nullptr;
      return true;
    }
    if (SameName(name, "STR")) {
      size_t mark = ops_.size();
      int start = key_length_;
      Value arg;
      if (!Expression(&arg)) return false;
      if (arg.type != 'N' || !arg.field) return Fail("Str() needs a numeric field");
      int width = 0, decimals = 0;
      if (!Expect(',', "and a width in Str()")) return false;
      if (!Integer(&width)) return false;
      if (Accept(',')) {
        if (!Integer(&decimals)) return false;
      }
      if (!Expect(')', "after the arguments of Str()")) return false;
      if (width < 1 || width > kMaxKey) return Fail("Str() width out of range");
      if (decimals > 0 && decimals + 2 > width) {
        return Fail("Str() needs a width of at least decimals + 2");
      }
      ops_.resize(mark);
      ops_.push_back(Op{Op::kStr, arg.field->offset, arg.field->length, start, width, decimals});
      key_length_ = start + width;
      out->type = 'C';
      out->start = start;
      out->length = width;
      out->field = nullptr;
      return true;
    }
    return Fail("unknown function \"" + name + "()\"");
  }

  std::string_view text_;
  const std::vector<KeyField>& fields_;
  size_t pos_ = 0;
  std::vector<Op> ops_;
  int key_length_ = 0;
  std::string error_;
};

}  // namespace

std::unique_ptr<KeyExpr> KeyExpr::Parse(std::string_view text, const std::vector<KeyField>& fields,
                                        std::string* error) {
  std::vector<Op> ops;
  int length = 0;
  std::string why;
  Parser parser(text, fields);
  if (!parser.Run(&ops, &length, &why)) {
    if (error) *error = why;
    return nullptr;
  }
  if (error) error->clear();
  return std::make_unique<Compiled>(std::move(ops), length);
}

}  // namespace engine
