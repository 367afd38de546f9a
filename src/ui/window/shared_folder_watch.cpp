#include "ui/window/shared_folder_watch.h"

#include <QDir>

namespace orv {

CSharedFolderWatch::CSharedFolderWatch(QObject* pParent) : QObject(pParent), m_watcher(this) {
  // A program writing several files is one change, not several.
  m_settle.setSingleShot(true);
  m_settle.setInterval(300);
  connect(&m_watcher, &QFileSystemWatcher::directoryChanged, &m_settle,
          qOverload<>(&QTimer::start));
  connect(&m_watcher, &QFileSystemWatcher::fileChanged, &m_settle, qOverload<>(&QTimer::start));
  connect(&m_settle, &QTimer::timeout, this, &CSharedFolderWatch::Changed);
}

void CSharedFolderWatch::Watch(const std::vector<std::string>& directories) {
  Stop();
  m_directories = directories;
  QStringList paths;
  for (const std::string& sDirectory : directories) {
    const QString sPath = QString::fromStdString(sDirectory);
    paths << sPath;
    // A file written in place shows only on the file; one renamed into place on its directory.
    for (const QString& sFile : QDir(sPath).entryList(QDir::Files | QDir::NoSymLinks))
      paths << sPath + sFile;
  }
  if (!paths.isEmpty()) m_watcher.addPaths(paths);
}

void CSharedFolderWatch::Stop() {
  m_directories.clear();
  const QStringList watched = m_watcher.files() + m_watcher.directories();
  if (!watched.isEmpty()) m_watcher.removePaths(watched);
}

}  // namespace orv
