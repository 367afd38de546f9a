#pragma once
// The desktop app's side of the crash report. At start-up the app installs
// the crash handler with itself as the helper; the helper, started as
// `orvella --crash-report RECORD` by the dying program, asks the user
// whether to write the report and says where it went.

#include <QString>
#include <QStringList>
#include <optional>

class QWidget;

namespace orv {

class CAppPaths;

inline constexpr char kCrashReportSwitch[] = "--crash-report";

// The record goes to the scratch folder, the report to the data folder.
void InstallAppCrashHandler(const CAppPaths& paths);

// The helper's work when the command line asks for it: the exit status;
// nullopt for any other command line.
std::optional<int> RunCrashReportHelper(const QStringList& arguments, const CAppPaths& paths);

// Asked by the helper as the program ends, or at the next start for a
// record the helper could not take up.
enum class ECrashAsked { AsItEnds, AtNextStart };

// Reads and removes the record at sRecordPath, asks the user, and writes the
// report into sReportFolder when they say yes. False when there was no
// record to read.
bool ReportCrash(const QString& sRecordPath, const QString& sReportFolder, ECrashAsked eAsked,
                 QWidget* pParent = nullptr);

// Offers the reports of crashes whose helper could not ask (it found no
// display, say): their records are still in the scratch folder.
void OfferLeftCrashReports(const CAppPaths& paths, QWidget* pParent);

}  // namespace orv
