// The Setting and Tools menus: the user's keyboard shortcuts and external tools.
#include <QMenuBar>
#include <QMessageBox>

#include "base/file_system.h"
#include "ui/app_paths.h"
#include "ui/dialogs/accel_map_dialog.h"
#include "ui/dialogs/settings_dialog.h"
#include "ui/window/main_window.h"
#include "ui/window/menu_builder.h"
#include "ui/window/tools_menu.h"

namespace orv {

void CMenuBuilder::BuildSettingMenu() {
  QMenu* pSetting = m_window.menuBar()->addMenu(QObject::tr("&Setting"));
  Add(pSetting, "Setting - Setting", QObject::tr("&Settings..."), [this] {
    CSettingsDialog dialog(m_window.Settings(), &m_window);
    auto hotKey = [this] {
      return std::pair(ReadSetting(m_window.Settings(), kActShortcutKeyCode),
                       ReadSetting(m_window.Settings(), kActShortcutModifiers));
    };
    QObject::connect(
        &dialog, &CSettingsDialog::Applied, &m_window, [this, hotKey, held = hotKey()]() mutable {
          m_window.ApplyLooks();
          if (hotKey() == held) return;
          held = hotKey();
          // The new key is stored all the same.
          if (!m_window.RegisterHotKey())
            m_window.Ui().ShowMessage(
                "Warning", "Activation hot key is not registered, please choose another key.",
                EMessageIcon::Warning);
        });
    dialog.exec();
  });
  Add(pSetting, "Setting - Edit Accels", QObject::tr("&Keyboard Shortcuts..."),
      [this] { EditShortcuts(); });
}

void CMenuBuilder::BuildToolsMenu() {
  QMenu* pTools = m_window.menuBar()->addMenu(QObject::tr("&Tools"));
  Add(pTools, "Tools - External Tools ...", QObject::tr("&External Tools ..."),
      [this] { m_window.m_pToolsMenu->EditTools(); });
  m_window.m_pToolsMenu = new CToolsMenu(m_window, *pTools, m_window.m_paths.ExternalToolsFile());
}

void CMenuBuilder::EditShortcuts() {
  CAccelMapDialog dialog(m_window.m_accelerators, &m_window);
  if (dialog.exec() != QDialog::Accepted) return;
  SaveShortcutsFile(dialog.Keys(), CFileSystem::Default(),
                    m_window.m_paths.ShortcutsFile().toStdString());
  m_window.m_accelerators = dialog.Keys();
  ApplyShortcuts();
}

void CMenuBuilder::ApplyShortcuts() {
  for (QAction* pAction : m_window.findChildren<QAction*>()) {
    const std::string sName = pAction->objectName().toStdString();
    if (!m_window.m_accelerators.FindByName(sName)) continue;
    pAction->setShortcuts(KeysOf(sName));
    // A command that had no keys lived in its menu alone; the window takes
    // its keys now (a second add changes nothing).
    if (pAction->shortcutContext() == Qt::WindowShortcut) m_window.addAction(pAction);
  }
}

}  // namespace orv
