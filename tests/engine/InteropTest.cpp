// Other dBASE readers and writers as witnesses: python dbfread and dbf read
// our tables, and we read a table python dbf wrote.

#include <cstdio>
#include <string>

#include "EngineTestUtil.h"

namespace {

using engine_test::EngineFixture;

// Runs a python script with the system interpreter; returns its output.
std::string RunPython(const std::string& dir, const std::string& script, int* status) {
  std::string path = dir + "/script.py";
  engine_test::WriteAll(path, script);
  std::string command = std::string(PELMARK_TEST_PYTHON) + " " + path + " 2>&1";
  std::string output;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr) {
    *status = -1;
    return output;
  }
  char buffer[4096];
  size_t got = 0;
  while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, got);
  *status = ::pclose(pipe);
  return output;
}

bool HaveModules(const std::string& dir) {
  int status = 0;
  RunPython(dir, "import dbf, dbfread\n", &status);
  return status == 0;
}

class InteropTest : public EngineFixture {};

TEST_F(InteropTest, OtherReadersReadOurTables) {
  if (!HaveModules(dir_.Path())) GTEST_SKIP() << "python3 lacks dbf or dbfread";
  const FIELD4INFO fields[] = {{"NAME", 'C', 12, 0}, {"AMT", 'N', 9, 2},  {"CNT", 'N', 5, 0},
                               {"DAY", 'D', 8, 0},   {"PAID", 'L', 1, 0}, {"NOTES", 'M', 10, 0},
                               {nullptr, 0, 0, 0}};
  DATA4* d = d4create(cb_, "INTEROP", fields);
  ASSERT_NE(d, nullptr);
  std::string long_memo;
  for (int i = 0; i < 200; ++i) long_memo += "line " + std::to_string(i) + "\r\n";
  // Row 1: every value set, a multi-block memo.
  ASSERT_EQ(d4appendBlank(d), 0);
  f4assign(d4field(d, "NAME"), "Alpha");
  f4assignDouble(d4field(d, "AMT"), -1234.5);
  f4assignInt(d4field(d, "CNT"), -42);
  f4assign(d4field(d, "DAY"), "20260314");
  f4assign(d4field(d, "PAID"), "T");
  ASSERT_EQ(f4memoAssign(d4field(d, "NOTES"), long_memo.c_str()), 0);
  // Row 2: all empty.
  ASSERT_EQ(d4appendBlank(d), 0);
  // Row 3: deleted, memo rewritten longer after its first write.
  ASSERT_EQ(d4appendBlank(d), 0);
  f4assign(d4field(d, "NAME"), "Gamma");
  f4assignDouble(d4field(d, "AMT"), 0.5);
  f4assign(d4field(d, "PAID"), "F");
  ASSERT_EQ(f4memoAssign(d4field(d, "NOTES"), "short"), 0);
  ASSERT_EQ(d4flush(d), 0);
  ASSERT_EQ(f4memoAssign(d4field(d, "NOTES"), (long_memo + "more").c_str()), 0);
  d4delete(d);
  ASSERT_EQ(d4close(d), 0);

  std::string script = R"(
import datetime, dbf, dbfread
path = ')" + dir_.File("INTEROP.dbf") +
                       R"('
long_memo = ''.join('line %d\r\n' % i for i in range(200))
problems = []
def check(what, got, want):
    if got != want:
        problems.append('%s: %r != %r' % (what, got, want))
table = dbfread.DBF(path, load=True)
check('count', len(table.records), 2)
check('deleted', len(table.deleted), 1)
r1, r2 = table.records
check('name', r1['NAME'], 'Alpha')
check('amt', r1['AMT'], -1234.5)
check('cnt', r1['CNT'], -42)
check('day', r1['DAY'], datetime.date(2026, 3, 14))
check('paid', r1['PAID'], True)
check('memo', r1['NOTES'], long_memo)
check('empty amt', r2['AMT'], None)
check('empty day', r2['DAY'], None)
check('empty memo', r2['NOTES'] or '', '')
d = table.deleted[0]
check('deleted name', d['NAME'], 'Gamma')
check('deleted memo', d['NOTES'], long_memo + 'more')
check('deleted paid', d['PAID'], False)
t = dbf.Table(path)
t.open()
check('dbf count', len(t), 3)
check('dbf name', t[0].name.rstrip(), 'Alpha')
check('dbf amt', float(t[0].amt), -1234.5)
check('dbf memo', t[0].notes, long_memo)
check('dbf deleted', dbf.is_deleted(t[2]), True)
check('dbf deleted memo', t[2].notes, long_memo + 'more')
t.close()
print('\n'.join(problems) if problems else 'OK')
)";
  int status = 0;
  std::string output = RunPython(dir_.Path(), script, &status);
  EXPECT_EQ(status, 0) << output;
  EXPECT_EQ(output, "OK\n");
}

TEST_F(InteropTest, WeReadTablesPythonDbfWrote) {
  if (!HaveModules(dir_.Path())) GTEST_SKIP() << "python3 lacks dbf or dbfread";
  std::string script = R"(
import datetime, dbf
t = dbf.Table(')" + dir_.File("X.DBF") +
                       R"(',
              'LAST C(15); CUNO N(6,0); AMT N(9,2); IDATE D; PAID L; NOTES M', dbf_type='db3')
t.open(dbf.READ_WRITE)
t.append(('Smith', 42, -10.25, datetime.date(2025, 12, 31), True, 'first note'))
t.append(('Jones', 7, 0, None, None, ''))
t.append(('Brown', 9, 99.99, datetime.date(2024, 2, 29), False, 'x' * 1200))
dbf.delete(t[2])
t.close()
print('OK')
)";
  int status = 0;
  std::string output = RunPython(dir_.Path(), script, &status);
  ASSERT_EQ(output, "OK\n") << output;
  DATA4* d = d4open(cb_, "x");
  ASSERT_NE(d, nullptr) << TakeError();
  ASSERT_EQ(d4recCountDo(d), 3);
  FIELD4* last = d4field(d, "last");
  FIELD4* amt = d4field(d, "Amt");
  double value = 0;
  ASSERT_EQ(d4top(d), r4success);
  EXPECT_STREQ(f4str(last), "Smith          ");
  EXPECT_EQ(f4long(d4field(d, "CUNO")), 42);
  EXPECT_EQ(f4double2(amt, &value), 0);
  EXPECT_DOUBLE_EQ(value, -10.25);
  EXPECT_STREQ(f4str(d4field(d, "IDATE")), "20251231");
  EXPECT_EQ(f4true(d4field(d, "PAID")), 1);
  EXPECT_STREQ(f4memoStr(d4field(d, "NOTES")), "first note");
  ASSERT_EQ(d4skip(d, 1), r4success);
  EXPECT_EQ(f4true(d4field(d, "PAID")), 0);  // '?' reads as false
  EXPECT_STREQ(f4memoStr(d4field(d, "NOTES")), "");
  ASSERT_EQ(d4skip(d, 1), r4success);
  EXPECT_TRUE(d4deleted(d));
  EXPECT_EQ(std::string(f4memoStr(d4field(d, "NOTES"))), std::string(1200, 'x'));
  EXPECT_EQ(d4check(d, nullptr), 0);
  EXPECT_EQ(TakeError(), 0);
  // Our writes to their table stay readable by them.
  f4assign(last, "Changed");
  ASSERT_EQ(f4memoAssign(d4field(d, "NOTES"), "rewritten"), 0);
  ASSERT_EQ(d4close(d), 0);
  script = R"(
import dbfread
t = dbfread.DBF(')" +
           dir_.File("X.DBF") + R"(', load=True)
print(t.deleted[0]['LAST'], t.deleted[0]['NOTES'], len(t.records))
)";
  output = RunPython(dir_.Path(), script, &status);
  EXPECT_EQ(output, "Changed rewritten 2\n");
}

}  // namespace
