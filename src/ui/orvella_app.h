#pragma once
// The application: brings the program up (settings, folders, one running
// copy, the first document, the window as it was left, the splash window and
// the tip of the day) and down again; or prints a document's selected note,
// or answers --help and --version.

#include <QApplication>
#include <QStringList>
#include <optional>

namespace orv {

class CAppPaths;
class CSettingsStore;

// A document named on the command line as an absolute path; empty for none.
QString CommandLineDocument(const QString& sFile);

class COrvellaApp {
 public:
  COrvellaApp(int& argc, char** argv);
  // Runs until the window closes; the process exit status.
  int Run();

 private:
  int Print(CSettingsStore& settings, const CAppPaths& paths, const QString& sPath);

  // Set when the command line was answered without starting Qt, which
  // needs a display that --help and --version do not.
  std::optional<int> m_nAnswered;
  std::optional<QApplication> m_app;
};

}  // namespace orv
