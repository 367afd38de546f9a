#pragma once
// Watches the open shared folder's directories and note files, and says so
// once things have settled after another program changed them.

#include <QFileSystemWatcher>
#include <QObject>
#include <QTimer>
#include <string>
#include <vector>

namespace orv {

class CSharedFolderWatch : public QObject {
  Q_OBJECT

 public:
  explicit CSharedFolderWatch(QObject* pParent);
  // Watches these directories and the files in them, instead of what was watched.
  void Watch(const std::vector<std::string>& directories);
  void Stop();
  const std::vector<std::string>& Directories() const { return m_directories; }

 signals:
  void Changed();

 private:
  QFileSystemWatcher m_watcher;
  QTimer m_settle;
  std::vector<std::string> m_directories;
};

}  // namespace orv
