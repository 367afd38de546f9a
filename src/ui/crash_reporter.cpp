#include "ui/crash_reporter.h"

#include <unistd.h>

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QMessageBox>

#include "shell/crash_handler.h"
#include "shell/crash_report.h"
#include "ui/app_paths.h"
#include "ui/dialogs/qt_ui.h"

namespace orv {

namespace {

constexpr uint64_t kMaxRecordSize = 16 << 20;

// A record that nobody took up this long after it was written was left by a
// helper that could not ask (no display, say).
constexpr qint64 kLeftRecordAge = 60;  // seconds

QString CrashQuestion(const SCrashRecord& record, ECrashAsked eAsked) {
  const QString sName = QString::fromUtf8(kCrashApplicationName);
  const QString sLead =
      eAsked == ECrashAsked::AsItEnds
          ? QObject::tr("An unhandled exception has occurred in %1\n\n%1 has to be closed.")
                .arg(sName)
          : QObject::tr("%1 was closed by an unhandled exception on %2.")
                .arg(sName, QLocale().toString(QDateTime::fromSecsSinceEpoch(record.nTime),
                                               QLocale::ShortFormat));
  return sLead +
         QObject::tr(
             "\n\nWould you like to generate an exception report? It describes this computer's "
             "system, the fault and where in %1 it happened, so that the developers can find "
             "the cause; you can send it to them with a few words on what you were doing.\n\n"
             "The report holds none of your notes' text, but it does name the folders the "
             "program and its libraries are installed in.")
             .arg(sName);
}

QString SavedAdvice(const QString& sReportPath, const QString& sCommentsPath) {
  return QObject::tr(
             "The exception report has been saved to \"%1\".\n\n"
             "Please make sure you have the latest version of %2, and when you send "
             "the report, add a short explanation of what you did before the crash "
             "(the file \"%3\" is there for it).")
      .arg(sReportPath, QString::fromUtf8(kCrashApplicationName), sCommentsPath);
}

}  // namespace

void InstallAppCrashHandler(const CAppPaths& paths) {
  const std::string sRecord =
      (paths.TempDir() + QString("/crash-%1.txt").arg(::getpid())).toStdString();
  // The dying program's own file, even when an update has replaced it since.
  InstallCrashHandler({sRecord, {"/proc/self/exe", kCrashReportSwitch, sRecord}});
}

std::optional<int> RunCrashReportHelper(const QStringList& arguments, const CAppPaths& paths) {
  if (arguments.size() != 3 || arguments[1] != kCrashReportSwitch) return std::nullopt;
  return ReportCrash(arguments[2], paths.DataDir(), ECrashAsked::AsItEnds) ? 0 : 1;
}

void OfferLeftCrashReports(const CAppPaths& paths, QWidget* pParent) {
  const QDateTime oldest = QDateTime::currentDateTime().addSecs(-kLeftRecordAge);
  for (const QFileInfo& record : QDir(paths.TempDir()).entryInfoList({"crash-*.txt"}, QDir::Files))
    if (record.lastModified() < oldest)
      ReportCrash(record.filePath(), paths.DataDir(), ECrashAsked::AtNextStart, pParent);
}

bool ReportCrash(const QString& sRecordPath, const QString& sReportFolder, ECrashAsked eAsked,
                 QWidget* pParent) {
  CFileSystem& fs = CFileSystem::Default();
  std::optional<SCrashRecord> record;
  try {
    if (std::optional<std::string> sText =
            ReadSmallFile(fs, sRecordPath.toStdString(), kMaxRecordSize))
      record = ParseCrashRecord(*sText);
    fs.Remove(sRecordPath.toStdString());
  } catch (const CIoError&) {
  }
  if (!record) return false;
  QMessageBox question(QMessageBox::Question, QString::fromUtf8(kCrashApplicationName),
                       CrashQuestion(*record, eAsked), QMessageBox::Yes | QMessageBox::No, pParent);
  question.setTextFormat(Qt::PlainText);  // it names folders, whatever they hold
  if (question.exec() != QMessageBox::Yes) return true;
  std::string sTold;
  try {
    const std::string sReport =
        FormatCrashReport(*record, ReadSystemDetails(*record), SymbolizeFrames(*record));
    const std::string sPath = WriteCrashReportFiles(fs, sReportFolder.toStdString(), sReport);
    sTold = SavedAdvice(QString::fromStdString(sPath),
                        sReportFolder + "/" + QString::fromUtf8(kCrashCommentsFileName))
                .toStdString();
  } catch (const CIoError& e) {
    sTold = QObject::tr("Unable to create exception report, error code %1.")
                .arg(e.Errno())
                .toStdString();
  }
  ShowMessageAsWritten(pParent, "Error", sTold, EMessageIcon::Error);
  return true;
}

}  // namespace orv
