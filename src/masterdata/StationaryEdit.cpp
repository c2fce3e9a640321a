#include "masterdata/StationaryEdit.h"

#include <QDir>
#include <QFileInfo>

#include "masterdata/ProdDefEdit.h"
#include "platform/Platform.h"
#include "store/dbFiles.h"
#include "util/MoneyUtil.h"

namespace masterdata {
namespace {

bool IsFile(const QString& path) { return !path.isEmpty() && QFileInfo(path).isFile(); }

// The path as it is best stored: relative to the data directory (the current
// one) when the file lies inside it, else absolute.
QString StoredForm(const QString& path) {
  const QString absolute = QFileInfo(path).absoluteFilePath();
  const QString relative = QDir::current().relativeFilePath(absolute);
  if (!relative.startsWith(QLatin1String("..")) && !QDir::isAbsolutePath(relative)) {
    return relative;
  }
  return QDir::toNativeSeparators(absolute);
}

// Cut to the field's width a longer path would name some other file, or none.
void ReportPathTooLong() {
  platform::Current().Inform(
      QStringLiteral("The path of the logo file is longer than %1 characters.\r\n"
                     "Please copy the file into the data directory and choose it there.")
          .arg(kLogoPathWidth));
}

}  // namespace

StationeryForm OpenStationery() {
  const SettingsRecord& s = Settings;
  StationeryForm form;
  form.logo_file = s.LogoFile.trimmed();
  form.top_margin = FormatAmount(s.TopMargin, QStringLiteral("%5.2f"));
  form.logo_height = FormatAmount(s.LogoHeight, QStringLiteral("%5.2f"));
  form.logo_width = FormatAmount(s.LogoWidth, QStringLiteral("%5.2f"));
  form.company = s.Company.trimmed();
  form.addr1 = s.Addr1.trimmed();
  form.addr2 = s.Addr2.trimmed();
  form.addr3 = s.Addr3.trimmed();
  form.addr4 = s.Addr4.trimmed();
  form.closing = s.CloLine.trimmed();
  form.signature = s.SigLine.trimmed();
  form.justify = s.LHJustify == 2 || s.LHJustify == 3 ? s.LHJustify : 1;
  return form;
}

QString ChooseLogoFile(const QString& shown) {
  // The program's tables are found in the current directory; a dialog may
  // move it.
  const QString data_directory = QDir::currentPath();
  QString chosen = platform::Current().OpenFileName(QStringLiteral("Logo File"),
                                                    QString::fromLatin1(kLogoFilter));
  QDir::setCurrent(data_directory);
  // A cancelled dialog leaves the stored path as its file name.
  if (chosen.isEmpty()) chosen = Settings.LogoFile.trimmed();
  if (!IsFile(chosen)) return QString();
  const QString stored = StoredForm(chosen);
  if (stored.size() > kLogoPathWidth) {
    ReportPathTooLong();
    return shown;
  }
  return stored;
}

bool SaveStationery(const StationeryForm& form) {
  double top_margin = 0;
  double logo_height = 0;
  double logo_width = 0;
  if (!ReadAmount(form.top_margin, &top_margin) || !ReadAmount(form.logo_height, &logo_height) ||
      !ReadAmount(form.logo_width, &logo_width)) {
    return false;
  }
  const QString logo = form.logo_file.trimmed();
  if (IsFile(logo) && logo.size() > kLogoPathWidth) {
    ReportPathTooLong();
    return false;
  }
  SettingsRecord& s = Settings;
  s.TopMargin = top_margin;
  s.LogoHeight = logo_height;
  s.LogoWidth = logo_width;
  s.LogoFile = IsFile(logo) ? logo : QString();
  s.Company = form.company.trimmed();
  s.Addr1 = form.addr1.trimmed();
  s.Addr2 = form.addr2.trimmed();
  s.Addr3 = form.addr3.trimmed();
  s.Addr4 = form.addr4.trimmed();
  s.CloLine = form.closing.trimmed();
  s.SigLine = form.signature.trimmed();
  s.LHJustify = form.justify == 2 || form.justify == 3 ? form.justify : 1;
  return SaveSettings();
}

void RunStationeryCommand() { platform::Current().ShowModal(platform::WindowId::kStationary); }

}  // namespace masterdata
