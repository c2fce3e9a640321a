// Random appends, key changes, deletes, recalls, packs and reopens on a
// table with three long-keyed tags, compared after each stretch with an
// in-memory model of the table.

#include <algorithm>
#include <cstdio>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "EngineTestUtil.h"

namespace {

const FIELD4INFO kFields[] = {
    {"NAME", 'C', 40, 0}, {"CODE", 'C', 20, 0}, {"NUM", 'N', 8, 0}, {nullptr, 0, 0, 0}};
const TAG4INFO kTags[] = {
    {"ByName", "Upper(Name)", nullptr, 0, 0},
    {"ByCode", "Code + Str(Num,8)", nullptr, 0, 0},
    {"ByNum", "Str(Num, 8) + Name", nullptr, 0, 0},
    {nullptr, nullptr, nullptr, 0, 0},
};

struct Row {
  std::string name;
  std::string code;
  int num;
  bool deleted;
};

std::string Pad(std::string text, size_t width) {
  text.resize(width, ' ');
  return text;
}

std::string Str8(int n) {
  char text[16];
  std::snprintf(text, sizeof text, "%8d", n);
  return text;
}

std::string KeyOf(const Row& row, int tag) {
  switch (tag) {
    case 0: {
      std::string key = Pad(row.name, 40);
      for (char& c : key) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
      return key;
    }
    case 1:
      return Pad(row.code, 20) + Str8(row.num);
    default:
      return Str8(row.num) + Pad(row.name, 40);
  }
}

class TableModelTest : public engine_test::EngineFixture,
                       public ::testing::WithParamInterface<unsigned> {
 protected:
  std::string RandomWord(size_t max_length) {
    std::uniform_int_distribution<size_t> length(0, max_length);
    std::uniform_int_distribution<int> letter(0, 3);
    std::string word;
    for (size_t i = length(rng_); i > 0; --i) word += "aBcD"[letter(rng_)];
    return word;
  }
  void Assign(DATA4* d, Row* row) {
    row->name = RandomWord(4) + std::string(static_cast<size_t>(rng_() % 30), 'x');
    row->code = RandomWord(3);
    row->num = static_cast<int>(rng_() % 50) - 10;
    f4assign(d4field(d, "name"), row->name.c_str());
    f4assign(d4field(d, "Code"), row->code.c_str());
    f4assignInt(d4field(d, "NUM"), row->num);
  }
  std::vector<std::pair<std::string, long>> Expected(int tag) {
    std::vector<std::pair<std::string, long>> entries;
    for (size_t i = 0; i < model_.size(); ++i) {
      entries.emplace_back(KeyOf(model_[i], tag), static_cast<long>(i + 1));
    }
    std::sort(entries.begin(), entries.end());
    return entries;
  }
  void Verify(DATA4* d) {
    ASSERT_EQ(d4recCountDo(d), static_cast<long>(model_.size()));
    for (int tag = 0; tag < 3; ++tag) {
      SCOPED_TRACE(kTags[tag].name);
      ASSERT_EQ(d4tagSelectP(d, d4tag(d, kTags[tag].name)), 0);
      auto expected = Expected(tag);
      std::vector<long> walked;
      for (int rc = d4top(d); rc == r4success; rc = d4skip(d, 1)) {
        walked.push_back(d4recNo(d));
        const Row& row = model_[static_cast<size_t>(d4recNo(d) - 1)];
        ASSERT_EQ(d4deleted(d) != 0, row.deleted);
        ASSERT_EQ(f4int(d4field(d, "NUM")), row.num);
      }
      ASSERT_EQ(walked.size(), expected.size());
      for (size_t i = 0; i < walked.size(); ++i) ASSERT_EQ(walked[i], expected[i].second) << i;
      // Backward walk gives the reverse order.
      std::vector<long> back;
      for (int rc = d4bottom(d); rc == r4success; rc = d4skip(d, -1)) back.push_back(d4recNo(d));
      std::reverse(back.begin(), back.end());
      ASSERT_EQ(back, walked);
      for (int probe = 0; probe < 20; ++probe) {
        std::string prefix;
        if (!expected.empty() && probe % 2 == 0) {
          prefix = expected[rng_() % expected.size()].first;
          prefix.resize(1 + rng_() % prefix.size());
        } else {
          prefix = KeyOf(
              Row{RandomWord(3), RandomWord(3), static_cast<int>(rng_() % 60) - 15, false}, tag);
          prefix.resize(1 + rng_() % prefix.size());
        }
        auto it = std::find_if(expected.begin(), expected.end(), [&](const auto& entry) {
          return entry.first.compare(0, prefix.size(), prefix) >= 0;
        });
        int want = it == expected.end()                               ? r4eof
                   : it->first.compare(0, prefix.size(), prefix) == 0 ? r4success
                                                                      : r4after;
        ASSERT_EQ(d4seek(d, prefix.c_str()), want) << "'" << prefix << "'";
        ASSERT_EQ(d4recNo(d), it == expected.end() ? 0 : it->second);
      }
    }
    std::vector<std::string> problems;
    ASSERT_EQ(d4check(d, &problems), 0) << (problems.empty() ? "" : problems.front());
    ASSERT_EQ(TakeError(), 0);
  }

  std::mt19937 rng_;
  std::vector<Row> model_;
};

TEST_P(TableModelTest, RandomOperationsMatchTheModel) {
  rng_.seed(GetParam());
  DATA4* d = d4create(cb_, "MODEL", kFields);
  ASSERT_NE(d, nullptr);
  ASSERT_NE(i4create(d, "MODEL", kTags), nullptr);
  const int kSteps = 3000;
  for (int step = 1; step <= kSteps; ++step) {
    int pick = static_cast<int>(rng_() % 100);
    if (pick < 45 || model_.empty()) {
      ASSERT_EQ(d4appendBlank(d), 0);
      model_.push_back(Row{"", "", 0, false});
      if (rng_() % 10 != 0) {
        Assign(d, &model_.back());
      } else {
        f4assignInt(d4field(d, "NUM"), 0);  // a blank-keyed record now and then
      }
    } else if (pick < 70) {
      long rec = static_cast<long>(1 + rng_() % model_.size());
      EXPECT_GE(d4tagSelectP(d, rng_() % 2 ? nullptr : d4tag(d, kTags[rng_() % 3].name)), 0);
      ASSERT_EQ(d4go(d, rec), r4success);
      Assign(d, &model_[static_cast<size_t>(rec - 1)]);
      if (rng_() % 2) {
        ASSERT_GE(d4skip(d, rng_() % 2 ? 1 : -1), 0);
      }
    } else if (pick < 90) {
      long rec = static_cast<long>(1 + rng_() % model_.size());
      ASSERT_EQ(d4go(d, rec), r4success);
      Row& row = model_[static_cast<size_t>(rec - 1)];
      row.deleted = rng_() % 3 != 0;
      if (row.deleted) {
        d4delete(d);
      } else {
        d4recall(d);
      }
    } else if (pick < 92) {
      ASSERT_EQ(d4pack(d), 0);
      model_.erase(
          std::remove_if(model_.begin(), model_.end(), [](const Row& r) { return r.deleted; }),
          model_.end());
    } else if (pick < 95) {
      ASSERT_EQ(d4close(d), 0);
      d = d4open(cb_, "model");
      ASSERT_NE(d, nullptr);
    } else if (pick < 96 && model_.size() > 3) {
      long first = static_cast<long>(1 + rng_() % model_.size());
      long count = std::min<long>(3, static_cast<long>(model_.size()) - first + 1);
      ASSERT_EQ(d4zap(d, first, count), 0);
      model_.erase(model_.begin() + first - 1, model_.begin() + first - 1 + count);
    }
    if (step % 500 == 0 || step == kSteps) {
      SCOPED_TRACE(step);
      Verify(d);
      if (HasFatalFailure()) return;
    }
  }
  ASSERT_EQ(d4close(d), 0);
}

INSTANTIATE_TEST_SUITE_P(Seeds, TableModelTest, ::testing::Values(1u, 7u, 99u, 2024u));

}  // namespace
