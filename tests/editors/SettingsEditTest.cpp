// The sales tax and stationery settings: what their windows open on, and
// what their saves write into PLM1 (read back from the file).

#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>

#include "EditorsFixture.h"
#include "invoicing/TaxDefEdit.h"
#include "masterdata/StationaryEdit.h"

namespace editors_test {
namespace {

class SettingsEditTest : public EditorsFixture {
 protected:
  // Writes the settings record as it is in memory.
  static void StoreNow() {
    ASSERT_TRUE(OpenSettings());
    EXPECT_TRUE(StoreSettings());
    EXPECT_TRUE(CloseSettings());
  }

  // The settings as stored in PLM1 now; the record in memory is left as it is.
  static SettingsRecord Stored() {
    const SettingsRecord in_memory = Settings;
    EXPECT_TRUE(OpenSettings());
    LoadSettings();
    EXPECT_TRUE(CloseSettings());
    const SettingsRecord stored = Settings;
    Settings = in_memory;
    return stored;
  }

  static QByteArray FileBytes(const char* name) {
    QFile file(QString::fromLatin1(name));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return file.readAll();
  }

  void MakeFile(const QString& path) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("BM");
  }
};

TEST_F(SettingsEditTest, TaxSettingsRoundTripUnchanged) {
  Settings.ShipLine = QStringLiteral("Freight");
  Settings.TaxLine = QStringLiteral("GST");
  Settings.TaxRate1 = -2.5;
  Settings.TaxRate2 = 12.75;
  Settings.ShipTax = 3;
  Settings.TaxRound = 2;
  Settings.GSTField = 1;
  StoreNow();
  const QByteArray before = FileBytes("PLM1.dbf");

  const invoicing::TaxForm form = invoicing::OpenTaxDef();
  EXPECT_EQ(form.ship_line, QStringLiteral("Freight"));
  EXPECT_EQ(form.rate1, QStringLiteral("-2.50"));
  EXPECT_EQ(form.rate2, QStringLiteral("12.75"));
  EXPECT_EQ(form.ship_tax_index, 2);
  EXPECT_EQ(form.tax_round_index, 1);
  EXPECT_EQ(form.gst_field, 1);
  ASSERT_TRUE(invoicing::SaveTaxDef(form));
  EXPECT_EQ(FileBytes("PLM1.dbf"), before);
}

TEST_F(SettingsEditTest, TaxChoicesAreStoredAsNumbers) {
  struct Case {
    int ship_tax_index, tax_round_index, gst_field;
    int ship_tax, tax_round, stored_gst;
  };
  for (const Case& c : {Case{0, 0, 2, 1, 1, 2}, Case{2, 2, 1, 3, 3, 1}, Case{1, 1, 0, 2, 2, 0},
                        Case{-1, -1, 2, 0, 0, 2}}) {
    SCOPED_TRACE(c.ship_tax_index);
    invoicing::TaxForm form = invoicing::OpenTaxDef();
    form.ship_tax_index = c.ship_tax_index;
    form.tax_round_index = c.tax_round_index;
    form.gst_field = c.gst_field;
    ASSERT_TRUE(invoicing::SaveTaxDef(form));
    // In effect at once, and on disk.
    EXPECT_EQ(Settings.GSTField, c.stored_gst);
    const SettingsRecord stored = Stored();
    EXPECT_EQ(stored.ShipTax, c.ship_tax);
    EXPECT_EQ(stored.TaxRound, c.tax_round);
    EXPECT_EQ(stored.GSTField, c.stored_gst);
  }
}

TEST_F(SettingsEditTest, TaxLabelsAndNegativeRatesAreSaved) {
  invoicing::TaxForm form = invoicing::OpenTaxDef();
  form.ship_line = QStringLiteral("  Delivery ");
  form.tax_line = QStringLiteral("VAT");
  form.rate1 = QStringLiteral("-5.25");
  form.rate2 = QStringLiteral(" 7.5");
  ASSERT_TRUE(invoicing::SaveTaxDef(form));
  EXPECT_EQ(Settings.TaxRate1, -5.25);
  const SettingsRecord stored = Stored();
  EXPECT_EQ(stored.ShipLine.trimmed(), QStringLiteral("Delivery"));
  EXPECT_EQ(stored.TaxLine.trimmed(), QStringLiteral("VAT"));
  EXPECT_EQ(stored.TaxRate1, -5.25);
  EXPECT_EQ(stored.TaxRate2, 7.5);
}

TEST_F(SettingsEditTest, TaxRateThatIsNotANumberChangesNothing) {
  const QByteArray before = FileBytes("PLM1.dbf");
  const double rate = Settings.TaxRate2;
  invoicing::TaxForm form = invoicing::OpenTaxDef();
  form.ship_line = QStringLiteral("Changed");
  form.rate2 = QStringLiteral("-.");
  EXPECT_FALSE(invoicing::SaveTaxDef(form));
  EXPECT_EQ(scripted_.Said(), QStringList{QStringLiteral("'-.' is not a valid number.")});
  EXPECT_EQ(Settings.TaxRate2, rate);
  EXPECT_EQ(Settings.ShipLine.trimmed(), QStringLiteral("Computed 1"));
  EXPECT_EQ(FileBytes("PLM1.dbf"), before);
}

TEST_F(SettingsEditTest, StoredChoicesOutsideTheirRangeShowNone) {
  for (int stored : {0, 4, -1}) {
    Settings.ShipTax = stored;
    Settings.TaxRound = stored;
    Settings.GSTField = stored;
    const invoicing::TaxForm form = invoicing::OpenTaxDef();
    EXPECT_EQ(form.ship_tax_index, -1);
    EXPECT_EQ(form.tax_round_index, -1);
    EXPECT_EQ(form.gst_field, 0);
  }
}

TEST_F(SettingsEditTest, StationerySaveWritesTheWholeSettingsRecord) {
  Settings.TaxLine = QStringLiteral("Keep me");
  Settings.FontName = QStringLiteral("DejaVu Sans");
  Settings.LabID = QStringLiteral("Avery");
  StoreNow();
  MakeFile(DataPath(QStringLiteral("logo.bmp")));
  masterdata::StationeryForm form = masterdata::OpenStationery();
  form.logo_file = QStringLiteral("logo.bmp");
  form.top_margin = QStringLiteral(" 1.25");
  form.logo_height = QStringLiteral("0.75");
  form.logo_width = QStringLiteral("2");
  form.company = QStringLiteral("  Acme Pty Ltd  ");
  form.addr1 = QStringLiteral("1 Main St");
  form.addr4 = QStringLiteral("Springfield");
  form.closing = QStringLiteral("Thank you");
  form.signature = QStringLiteral("J. Smith");
  form.justify = 3;
  ASSERT_TRUE(masterdata::SaveStationery(form));

  const SettingsRecord stored = Stored();
  EXPECT_EQ(stored.Company.trimmed(), QStringLiteral("Acme Pty Ltd"));
  EXPECT_EQ(stored.Addr1.trimmed(), QStringLiteral("1 Main St"));
  EXPECT_EQ(stored.Addr4.trimmed(), QStringLiteral("Springfield"));
  EXPECT_EQ(stored.CloLine.trimmed(), QStringLiteral("Thank you"));
  EXPECT_EQ(stored.SigLine.trimmed(), QStringLiteral("J. Smith"));
  EXPECT_EQ(stored.LogoFile.trimmed(), QStringLiteral("logo.bmp"));
  EXPECT_EQ(stored.TopMargin, 1.25);
  EXPECT_EQ(stored.LogoHeight, 0.75);
  EXPECT_EQ(stored.LogoWidth, 2.0);
  EXPECT_EQ(stored.LHJustify, 3);
  // Fields of other windows were written back unchanged.
  EXPECT_EQ(stored.TaxLine.trimmed(), QStringLiteral("Keep me"));
  EXPECT_EQ(stored.FontName.trimmed(), QStringLiteral("DejaVu Sans"));
  EXPECT_EQ(stored.LabID.trimmed(), QStringLiteral("Avery"));

  // Opened again, the window shows what was saved.
  const masterdata::StationeryForm again = masterdata::OpenStationery();
  EXPECT_EQ(again.company, QStringLiteral("Acme Pty Ltd"));
  EXPECT_EQ(again.top_margin, QStringLiteral(" 1.25"));
  EXPECT_EQ(again.logo_file, QStringLiteral("logo.bmp"));
  EXPECT_EQ(again.justify, 3);
}

TEST_F(SettingsEditTest, LogoPathThatNamesNoFileIsDroppedOnSave) {
  MakeFile(DataPath(QStringLiteral("there.png")));
  QDir().mkdir(DataPath(QStringLiteral("folder")));
  struct Case {
    const char* typed;
    const char* stored;
  };
  for (const Case& c : {Case{"missing.bmp", ""}, Case{" there.png ", "there.png"},
                        Case{"folder", ""}, Case{"", ""}}) {
    SCOPED_TRACE(c.typed);
    masterdata::StationeryForm form = masterdata::OpenStationery();
    form.logo_file = QString::fromLatin1(c.typed);
    ASSERT_TRUE(masterdata::SaveStationery(form));
    EXPECT_EQ(Stored().LogoFile.trimmed(), QString::fromLatin1(c.stored));
  }
}

TEST_F(SettingsEditTest, JustificationOtherThanCentreOrRightIsLeft) {
  struct Case {
    int stored, shown;
  };
  for (const Case& c : {Case{0, 1}, Case{1, 1}, Case{2, 2}, Case{3, 3}, Case{7, 1}}) {
    Settings.LHJustify = c.stored;
    masterdata::StationeryForm form = masterdata::OpenStationery();
    EXPECT_EQ(form.justify, c.shown);
    ASSERT_TRUE(masterdata::SaveStationery(form));
    EXPECT_EQ(Stored().LHJustify, c.shown);
  }
}

TEST_F(SettingsEditTest, StationeryMeasureThatIsNotANumberChangesNothing) {
  const QByteArray before = FileBytes("PLM1.dbf");
  masterdata::StationeryForm form = masterdata::OpenStationery();
  form.company = QStringLiteral("Changed");
  form.logo_width = QStringLiteral(".");
  EXPECT_FALSE(masterdata::SaveStationery(form));
  EXPECT_EQ(scripted_.Said(), QStringList{QStringLiteral("'.' is not a valid number.")});
  EXPECT_EQ(Settings.Company.trimmed(), QString());
  EXPECT_EQ(FileBytes("PLM1.dbf"), before);
}

TEST_F(SettingsEditTest, LogoDialogShowsOnlyFilesThatExist) {
  MakeFile(DataPath(QStringLiteral("logo.bmp")));
  MakeFile(DataPath(QStringLiteral("stored.png")));
  QTemporaryDir outside;
  ASSERT_TRUE(outside.isValid());
  const QString deep_dir = outside.filePath(QStringLiteral("a-rather-long-folder-name"));
  ASSERT_TRUE(QDir().mkpath(deep_dir));
  const QString long_path = deep_dir + QStringLiteral("/company-logo.png");
  MakeFile(long_path);
  ASSERT_GT(long_path.size(), masterdata::kLogoPathWidth);

  struct Case {
    const char* name;
    QString stored;    // the settings' logo path
    QString dialog;    // what the dialog returns ("" cancels)
    QString shown;     // what the box shows before
    QString expected;  // and after
    bool refused;
  };
  const QString data = QDir::currentPath();
  const std::vector<Case> cases = {
      {"chosen in data directory", "", data + "/logo.bmp", "", "logo.bmp", false},
      {"chosen but missing", "", data + "/none.bmp", "old", "", false},
      {"cancelled, stored exists", "stored.png", "", "", "stored.png", false},
      {"cancelled, stored missing", "gone.bmp", "", "gone.bmp", "", false},
      {"cancelled, none stored", "", "", "", "", false},
      {"too long to store", "", long_path, "stored.png", "stored.png", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    scripted_.ClearRecords();
    Settings.LogoFile = c.stored;
    scripted_.QueueFileName(c.dialog);
    EXPECT_EQ(masterdata::ChooseLogoFile(c.shown), c.expected);
    EXPECT_EQ(QDir::currentPath(), data);
    ASSERT_FALSE(scripted_.Requests().empty());
    EXPECT_EQ(scripted_.Requests().front().kind, platform::ScriptedPlatform::Kind::kOpenFile);
    EXPECT_TRUE(scripted_.Requests().front().caption.contains(QStringLiteral("*.PNG")));
    EXPECT_EQ(scripted_.Requests().size(), c.refused ? 2u : 1u);
  }
  // A path too long for the field is refused on save as well.
  masterdata::StationeryForm form = masterdata::OpenStationery();
  form.logo_file = long_path;
  EXPECT_FALSE(masterdata::SaveStationery(form));
}

}  // namespace
}  // namespace editors_test
