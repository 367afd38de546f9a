// A copy of the app that the recovery test kills: it opens the document
// named on its command line, types into the note shown, and once its
// recovery copy is written prints "ready" and the note's stored text
// (base64) and waits to be killed. ORVELLA_HOME gives its folders.

#include <QApplication>
#include <QDir>
#include <QTest>
#include <QTimer>
#include <cstdio>

#include "ui/app_paths.h"
#include "ui/editors/editor_pane.h"
#include "ui/qt_settings_store.h"
#include "ui/window/main_window.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc != 3) return 2;
  orv::CAppPaths paths;
  paths.CreateFolders();
  orv::CQtSettingsStore settings(paths.SettingsFile());
  orv::CMainWindow window(settings, paths);
  if (!window.OpenDocument(QString::fromLocal8Bit(argv[1]))) return 1;
  window.show();
  QWidget* pEdit = window.Editors().ActiveEdit();
  if (!pEdit) return 1;
  QTest::keyClicks(pEdit, QString::fromUtf8(argv[2]));

  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    const QStringList copies = QDir(paths.RecoveryDir()).entryList({"*.orv"});
    if (copies.isEmpty()) return;
    poll.stop();
    orv::XMLelement* pNote = window.Editors().OpenNoteElement();
    const std::string sText = window.Tree().CurrentFolder().ContentOf(*pNote)->GetContent();
    std::printf("ready %s\n", QByteArray::fromStdString(sText).toBase64().constData());
    std::fflush(stdout);
  });
  poll.start(50);
  return QApplication::exec();
}
