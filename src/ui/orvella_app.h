#pragma once
// The application: brings the program up (settings, folders, one running
// copy, the first document, the window as it was left) and down again.

#include <QApplication>
#include <QStringList>

namespace orv {

class COrvellaApp {
 public:
  COrvellaApp(int& argc, char** argv);
  // Runs until the window closes; the process exit status.
  int Run();

 private:
  QApplication m_app;
};

}  // namespace orv
