// The label stock editor and the "Label Forms" command through the scripted
// platform, checked by reading LABELS back.

#include <gtest/gtest.h>

#include "EditorsFixture.h"
#include "labels/LabelDefEdit.h"

namespace editors_test {
namespace {

using labels::LabelForm;
using platform::WindowId;

class LabelEditTest : public EditorsFixture {
 protected:
  void SetUp() override {
    EditorsFixture::SetUp();
    ASSERT_TRUE(OpenLabels());
  }

  static LabelForm Form(const char* name, const char* across = "3") {
    LabelForm form;
    form.name = QString::fromLatin1(name);
    const char* measures[labels::kMeasureCount] = {"36",      "9.5", "36",     "9.5",
                                                   "189.000", "72",  " 9.125", "0"};
    for (int i = 0; i < labels::kMeasureCount; ++i) form.measures[i] = measures[i];
    form.across = QString::fromLatin1(across);
    form.continuous = true;
    return form;
  }

  static void Reopen() {
    CloseAllTables();
    ASSERT_TRUE(OpenLabels());
  }
};

TEST_F(LabelEditTest, NewStockOpensWithZeroMeasuresAndOneAcross) {
  for (long selection : {0L, -1L}) {
    SelLab = selection;
    const LabelForm form = labels::OpenLabelDef();
    EXPECT_EQ(form.name, QString());
    for (const QString& measure : form.measures) EXPECT_EQ(measure, QStringLiteral("   0.000"));
    EXPECT_EQ(form.across, QStringLiteral("1"));
    EXPECT_FALSE(form.continuous);
  }
}

TEST_F(LabelEditTest, NewStockIsAppendedAndEditedInPlace) {
  SelLab = 0;
  (void)labels::OpenLabelDef();
  ASSERT_TRUE(labels::SaveLabelDef(Form("  Avery 5160  ")));
  const long record = SelLab;
  ASSERT_GT(record, 0);
  Reopen();
  ASSERT_EQ(d4go(LabelDb, record), 0);
  LoadLabel();
  EXPECT_EQ(LabelRec.Name.trimmed(), QStringLiteral("Avery 5160"));
  EXPECT_EQ(LabelRec.TopM, 36.0);
  EXPECT_EQ(LabelRec.LeftM, 9.5);
  EXPECT_EQ(LabelRec.Width, 189.0);
  EXPECT_EQ(LabelRec.HGap, 9.125);
  EXPECT_EQ(LabelRec.VGap, 0.0);
  EXPECT_EQ(LabelRec.NAcross, 3);
  EXPECT_TRUE(LabelRec.Continuous);

  SelLab = record;
  LabelForm form = labels::OpenLabelDef();
  EXPECT_EQ(form.name, QStringLiteral("Avery 5160"));
  EXPECT_EQ(form.measures[4], QStringLiteral(" 189.000"));
  EXPECT_EQ(form.measures[6], QStringLiteral("   9.125"));
  form.measures[5] = QStringLiteral("144.5");
  form.continuous = false;
  ASSERT_TRUE(labels::SaveLabelDef(form));
  EXPECT_EQ(SelLab, record);
  Reopen();
  EXPECT_EQ(d4recCountDo(LabelDb), 1);
  ASSERT_EQ(d4go(LabelDb, record), 0);
  EXPECT_EQ(f4double(LabelFld.Height), 144.5);
  EXPECT_EQ(f4true(LabelFld.Continuous), 0);
}

TEST_F(LabelEditTest, RefusedSavesWriteNothing) {
  struct Case {
    const char* name;
    const char* across;
    const char* message;
  };
  for (const Case& c :
       {Case{"   ", "1", "Please fill in label name."}, Case{"", "1", "Please fill in label name."},
        Case{"Sheet", " ", "'' is not a valid integer value."},
        Case{"Sheet", "0", "No. Labels Across must be from 1 to 9."}}) {
    SCOPED_TRACE(c.message);
    scripted_.ClearRecords();
    SelLab = 0;
    (void)labels::OpenLabelDef();
    EXPECT_FALSE(labels::SaveLabelDef(Form(c.name, c.across)));
    EXPECT_EQ(scripted_.Said(), QStringList{QString::fromLatin1(c.message)});
  }
  Reopen();
  EXPECT_EQ(d4recCountDo(LabelDb), 0);
}

TEST_F(LabelEditTest, SaveWithoutAChosenStockAppendsRatherThanOverwrites) {
  const long existing = AddLabel("Existing", 100.0, 2);
  ASSERT_EQ(d4go(LabelDb, existing), 0);
  SelLab = -1;
  (void)labels::OpenLabelDef();
  ASSERT_TRUE(labels::SaveLabelDef(Form("Another")));
  EXPECT_NE(SelLab, existing);
  Reopen();
  EXPECT_EQ(d4recCountDo(LabelDb), 2);
  EXPECT_EQ(FieldText(LabelDb, existing, LabelFld.Name), QStringLiteral("Existing"));
  EXPECT_EQ(f4double(LabelFld.Width), 100.0);
}

TEST_F(LabelEditTest, LabelFormsLoopsPickAndEditorAndNeverPacks) {
  const long first = AddLabel("Bravo", 10.0, 1);
  const long second = AddLabel("Alpha", 20.0, 2);
  ASSERT_EQ(d4go(LabelDb, first), 0);
  d4delete(LabelDb);
  ASSERT_EQ(d4flush(LabelDb), 0);
  CloseAllTables();
  PackPending = true;

  std::vector<long> opened_on;
  scripted_.OnModal(WindowId::kPickLab, [&] {
    opened_on.push_back(SelLab);
    SelLab = opened_on.size() == 1 ? second : -1;
    return SelLab > 0 ? 1 : 0;
  });
  scripted_.OnModal(WindowId::kLabelDef, [] {
    LabelForm form = labels::OpenLabelDef();
    form.measures[4] = QStringLiteral("25.5");
    return labels::SaveLabelDef(form) ? 1 : 0;
  });
  labels::RunLabelFormsCommand();
  ASSERT_EQ(opened_on.size(), 2u);
  EXPECT_EQ(opened_on[0], second);  // the first stock by name
  EXPECT_EQ(scripted_.ModalCount(WindowId::kLabelDef), 1);
  EXPECT_EQ(LabelDb, nullptr);
  // The stock marked for deletion is still there.
  EXPECT_TRUE(PackPending);
  ASSERT_TRUE(OpenLabels());
  EXPECT_EQ(d4recCountDo(LabelDb), 2);
  ASSERT_EQ(d4go(LabelDb, second), 0);
  EXPECT_EQ(f4double(LabelFld.Width), 25.5);
  EXPECT_EQ(f4int(LabelFld.NAcross), 2);
}

}  // namespace
}  // namespace editors_test
