#pragma once
// The Tools menu: "External Tools ..." and, after it, the user's tools, each
// started from its item or its key. The list is read at start-up and written
// whenever the tools dialog closes.

#include <QObject>
#include <QString>
#include <vector>

#include "app/external_tools.h"

class QEvent;
class QMenu;

namespace orv {

class CMainWindow;

class CToolsMenu : public QObject {
 public:
  CToolsMenu(CMainWindow& window, QMenu& menu, QString sToolsFile);

  // A key press that is a tool's key starts it, before any shortcut.
  bool HandleKey(QEvent& event);
  void EditTools();
  const std::vector<CExternalTool>& Tools() const { return m_tools; }

 private:
  void Rebuild();
  void Start(size_t nTool);

  CMainWindow& m_window;
  QMenu& m_menu;
  QString m_sToolsFile;
  std::vector<CExternalTool> m_tools;
};

}  // namespace orv
