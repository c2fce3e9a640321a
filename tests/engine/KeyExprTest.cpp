// Key expressions: every expression of the program's index tags, spelling
// and spacing variants, Str() formatting and rounding, blank values, and the
// expressions the engine refuses.

#include <gtest/gtest.h>

#include <map>

#include "engine/KeyExpr.h"

namespace {

using engine::KeyExpr;
using engine::KeyField;

// A record layout holding the fields the tags of the program use.
class Record {
 public:
  Record() {
    Add("Last", 'C', 20);
    Add("First", 'C', 13);
    Add("CuNo", 'N', 6);
    Add("Zip", 'C', 10);
    Add("Addr1", 'C', 34);
    Add("nGroup", 'N', 2);
    Add("cGroup", 'C', 20);
    Add("PrID", 'C', 10);
    Add("PURProd", 'C', 10);
    Add("PURDate", 'D', 8);
    Add("IvNo", 'N', 6);
    Add("IDate", 'D', 8);
    Add("PDate", 'D', 8);
    Add("Name", 'C', 40);
    Add("Amt", 'N', 9, 2);
    Add("Comments", 'M', 10);
    Add("Paid", 'L', 1);
    bytes_.assign(static_cast<size_t>(next_), ' ');
  }
  const std::vector<KeyField>& Fields() const { return fields_; }
  // Stores value as the table would: C left aligned, N right aligned.
  void Set(const std::string& name, const std::string& value) {
    for (const KeyField& f : fields_) {
      if (f.name != name) continue;
      std::string v = value.substr(0, f.length);
      std::string cell(static_cast<size_t>(f.length), ' ');
      if (f.type == 'N') {
        cell.replace(cell.size() - v.size(), v.size(), v);
      } else {
        cell.replace(0, v.size(), v);
      }
      bytes_.replace(static_cast<size_t>(f.offset), cell.size(), cell);
      return;
    }
    ADD_FAILURE() << "no field " << name;
  }
  const char* Bytes() const { return bytes_.data(); }

 private:
  void Add(const char* name, char type, int length, int decimals = 0) {
    fields_.push_back({name, type, next_, length, decimals});
    next_ += length;
  }
  std::vector<KeyField> fields_;
  std::string bytes_;
  int next_ = 1;  // after the deletion flag
};

struct EvalCase {
  const char* expression;
  std::map<std::string, std::string> values;
  std::string key;
};

std::string Pad(const std::string& s, size_t width) {
  return s + std::string(width - s.size(), ' ');
}

TEST(KeyExpr, EvaluatesTheExpressionsOfTheIndexTags) {
  const std::vector<EvalCase> cases = {
      {"Upper(Last + First)",
       {{"Last", "smith"}, {"First", "john"}},
       Pad("SMITH", 20) + Pad("JOHN", 13)},
      {"Str(CuNo, 6)", {{"CuNo", "42"}}, "    42"},
      {"Zip", {{"Zip", "12345-678"}}, "12345-678 "},
      {"Addr1", {{"Addr1", "Acme ltd"}}, Pad("Acme ltd", 34)},
      {"Str(nGroup, 2)", {{"nGroup", "7"}}, " 7"},
      {"Upper(cGroup)", {{"cGroup", "Retail äz"}}, Pad("RETAIL äZ", 20)},
      {"Upper(PrID)", {{"PrID", "ab-1x"}}, Pad("AB-1X", 10)},
      {"Upper(PurProd)+ DTOS(PURDATE)",
       {{"PURProd", "abc"}, {"PURDate", "20240131"}},
       Pad("ABC", 10) + "20240131"},
      {"Str(IvNo,6,0)", {{"IvNo", "123456"}}, "123456"},
      {"Str(CuNo,6,0)", {{"CuNo", "-5"}}, "    -5"},
      {"DTOS(IDate)", {{"IDate", "19991231"}}, "19991231"},
      {"PrID + Str(IvNo,6,0)", {{"PrID", "X1"}, {"IvNo", "77"}}, Pad("X1", 10) + "    77"},
      {"DTOS(PDate)", {{"PDate", "20260101"}}, "20260101"},
      {"Name", {{"Name", "Avery 5160"}}, Pad("Avery 5160", 40)},
  };
  for (const EvalCase& c : cases) {
    Record r;
    for (const auto& [name, value] : c.values) r.Set(name, value);
    std::string error;
    auto expr = KeyExpr::Parse(c.expression, r.Fields(), &error);
    ASSERT_NE(expr, nullptr) << c.expression << ": " << error;
    EXPECT_EQ(expr->KeyLength(), static_cast<int>(c.key.size())) << c.expression;
    // Exactly KeyLength() bytes are written.
    std::string out(c.key.size() + 4, '#');
    expr->Evaluate(r.Bytes(), out.data());
    EXPECT_EQ(out.substr(c.key.size()), "####") << c.expression;
    EXPECT_EQ(out.substr(0, c.key.size()), c.key) << c.expression;
  }
}

TEST(KeyExpr, SpellingAndSpacingDoNotMatter) {
  Record r;
  r.Set("Last", "Ng");
  r.Set("First", "al");
  r.Set("CuNo", "9");
  r.Set("PDate", "20200229");
  const std::vector<std::pair<const char*, std::string>> cases = {
      {"upper(last+first)", Pad("NG", 20) + Pad("AL", 13)},
      {"  UPPER (  LAST  +  FIRST )  ", Pad("NG", 20) + Pad("AL", 13)},
      {"uPpEr(lAsT)+fIrSt", Pad("NG", 20) + Pad("al", 13)},
      {"STR(cuno,6)", "     9"},
      {"str( CUNO , 4 , 0 )", "   9"},
      {"dtos(pdate)", "20200229"},
      {"Upper((Last))", Pad("NG", 20)},
  };
  for (const auto& [text, key] : cases) {
    std::string error;
    auto expr = KeyExpr::Parse(text, r.Fields(), &error);
    ASSERT_NE(expr, nullptr) << text << ": " << error;
    EXPECT_EQ(expr->Evaluate(r.Bytes()), key) << text;
  }
}

TEST(KeyExpr, StrFormatsRoundsAndOverflows) {
  struct Case {
    const char* expression;
    const char* field;
    const char* stored;
    const char* key;
  };
  const std::vector<Case> cases = {
      {"Str(CuNo, 3)", "CuNo", "12345", "***"},
      {"Str(CuNo, 5)", "CuNo", "12345", "12345"},
      {"Str(CuNo, 6)", "CuNo", "", "     0"},  // blank number
      {"Str(CuNo, 2)", "CuNo", "-10", "**"},
      {"Str(CuNo, 8, 2)", "CuNo", "42", "   42.00"},
      {"Str(Amt, 9, 2)", "Amt", "-10.00", "   -10.00"},
      {"Str(Amt, 6, 1)", "Amt", "2.45", "   2.5"},  // half away from zero
      {"Str(Amt, 6, 1)", "Amt", "-2.45", "  -2.5"},
      {"Str(Amt, 6, 1)", "Amt", "2.44", "   2.4"},
      {"Str(Amt, 4)", "Amt", "2.50", "   3"},
      {"Str(Amt, 4)", "Amt", "2.49", "   2"},
      {"Str(Amt, 4)", "Amt", "-0.40", "   0"},  // no negative zero
      {"Str(Amt, 4)", "Amt", "-0.50", "  -1"},
      {"Str(Amt, 4, 1)", "Amt", "99.96", "****"},  // rounding carries past the width
      {"Str(Amt, 5, 1)", "Amt", "99.96", "100.0"},
      {"Str(Amt, 7, 3)", "Amt", "1.50", "  1.500"},
      {"Str(Amt, 6, 2)", "Amt", "0.05", "  0.05"},
      {"Str(Amt, 9, 2)", "Amt", "", "     0.00"},
      {"Str(Amt, 9, 2)", "Amt", "*********", "     0.00"},  // an overflowed cell has no value
  };
  for (const Case& c : cases) {
    Record r;
    r.Set(c.field, c.stored);
    std::string error;
    auto expr = KeyExpr::Parse(c.expression, r.Fields(), &error);
    ASSERT_NE(expr, nullptr) << c.expression << ": " << error;
    EXPECT_EQ(expr->Evaluate(r.Bytes()), c.key) << c.expression << " of \"" << c.stored << '"';
  }
}

TEST(KeyExpr, BareNumbersAndDatesGiveTheirStoredBytes) {
  Record r;
  r.Set("CuNo", "314");
  std::string error;
  auto number = KeyExpr::Parse("CuNo", r.Fields(), &error);
  ASSERT_NE(number, nullptr) << error;
  EXPECT_EQ(number->Evaluate(r.Bytes()), "   314");
  auto date = KeyExpr::Parse("IDate", r.Fields(), &error);
  ASSERT_NE(date, nullptr) << error;
  EXPECT_EQ(date->Evaluate(r.Bytes()), "        ");  // no date: 8 blanks
  auto dtos = KeyExpr::Parse("DTOS(IDate)", r.Fields(), &error);
  ASSERT_NE(dtos, nullptr) << error;
  EXPECT_EQ(dtos->Evaluate(r.Bytes()), "        ");
}

TEST(KeyExpr, RefusesWhatItCannotEvaluate) {
  Record r;
  const std::vector<const char*> refused = {
      "",
      "   ",
      "Nope",
      "Foo(Last)",
      "Str(Last, 5)",
      "Upper(CuNo)",
      "Upper(IDate)",
      "DTOS(Last)",
      "DTOS(CuNo)",
      "DTOS(IDate, 1)",
      "Str(CuNo)",
      "Str(CuNo, 6, 0, 1)",
      "Str(CuNo, x)",
      "Str(CuNo, 0)",
      "Str(CuNo, 4, 3)",
      "Str(CuNo + IvNo, 6)",
      "Last +",
      "+ Last",
      "Upper(Last",
      "Upper Last",
      "Last First",
      "Last + CuNo",
      "CuNo + IvNo",
      "IDate + Last",
      "Comments",
      "Upper(Comments)",
      "Paid",
      "Last - First",
      "Name+Name+Name+Name+Name+Name+Name",  // 280 bytes
  };
  for (const char* text : refused) {
    std::string error;
    EXPECT_EQ(KeyExpr::Parse(text, r.Fields(), &error), nullptr) << '"' << text << '"';
    EXPECT_FALSE(error.empty()) << '"' << text << '"';
  }
  std::string error;
  ASSERT_EQ(KeyExpr::Parse("Upper(Lst)", r.Fields(), &error), nullptr);
  EXPECT_NE(error.find("Lst"), std::string::npos) << error;
  // Six of the longest field still fit.
  EXPECT_NE(KeyExpr::Parse("Name+Name+Name+Name+Name+Name", r.Fields(), &error), nullptr);
}

}  // namespace
