#pragma once
// The application: brings the program up (settings, folders, one running
// copy, the first document, the window as it was left) and down again.

#include <QApplication>
#include <QStringList>

namespace orv {

// The document named on the command line (the first argument after the
// program), as an absolute path; empty when none is named.
QString CommandLineDocument(const QStringList& arguments);

class COrvellaApp {
 public:
  COrvellaApp(int& argc, char** argv);
  // Runs until the window closes; the process exit status.
  int Run();

 private:
  QApplication m_app;
};

}  // namespace orv
