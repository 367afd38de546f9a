#include "ui/window/tools_menu.h"

#include <QDir>
#include <QKeyEvent>
#include <QMenu>
#include <QMessageBox>
#include <QProcess>

#include "base/file_system.h"
#include "model/note_keys.h"
#include "text/note_text.h"
#include "ui/app_paths.h"
#include "ui/dialogs/external_tool_dialog.h"
#include "ui/window/main_window.h"

namespace orv {

CToolsMenu::CToolsMenu(CMainWindow& window, QMenu& menu, QString sToolsFile)
    : QObject(&window), m_window(window), m_menu(menu), m_sToolsFile(std::move(sToolsFile)) {
  try {
    m_tools = LoadExternalToolsFile(CFileSystem::Default(), m_sToolsFile.toStdString());
  } catch (const CIoError& e) {
    m_window.Log(QString::fromStdString(e.what()));
  }
  connect(&m_menu, &QMenu::aboutToShow, this, &CToolsMenu::Rebuild);
}

void CToolsMenu::Rebuild() {
  const QList<QAction*> actions = m_menu.actions();
  for (qsizetype i = 1; i < actions.size(); ++i) {
    m_menu.removeAction(actions[i]);
    actions[i]->deleteLater();
  }
  if (m_tools.empty()) return;
  m_menu.addSeparator();
  for (size_t i = 0; i < m_tools.size(); ++i) {
    QAction* pAction = m_menu.addAction(QString::fromStdString(ToolMenuText(m_tools[i])));
    connect(pAction, &QAction::triggered, this, [this, i] { Start(i); });
  }
}

bool CToolsMenu::HandleKey(QEvent& event) {
  if (m_tools.empty() ||
      (event.type() != QEvent::ShortcutOverride && event.type() != QEvent::KeyPress))
    return false;
  const auto& keyEvent = static_cast<const QKeyEvent&>(event);
  const auto pressed = CombinationOfQtKey(keyEvent.keyCombination().toCombined());
  const std::optional<size_t> nTool = pressed ? ToolForKey(m_tools, *pressed) : std::nullopt;
  if (!nTool) return false;
  // Taking the override keeps the key from a shortcut; its press starts the tool.
  event.accept();
  if (event.type() == QEvent::KeyPress) Start(*nTool);
  return true;
}

void CToolsMenu::EditTools() {
  CExternalToolDialog dialog(m_tools, m_window.Ui(), m_window.Settings(), &m_window);
  dialog.exec();
  m_tools = dialog.Tools();
  SaveExternalToolsFile(m_tools, CFileSystem::Default(), m_sToolsFile.toStdString());
}

void CToolsMenu::Start(size_t nTool) {
  if (nTool >= m_tools.size()) return;
  const CExternalTool& tool = m_tools[nTool];
  SToolContext context{m_window.Doc().PathName(), {}};
  if (tool.sArguments.find("%n") != std::string::npos) {
    // The note's text as a reader sees it, in a scratch file the tool may read.
    if (XMLelement* pNote = m_window.Tree().SelectedNote()) {
      m_window.StoreEditorContent();
      const CBaseContentNode* pContent = m_window.Tree().CurrentFolder().ContentOf(*pNote);
      const int32_t nType = std::atoi(GetProperty(*pNote, kTypeKey).c_str());
      context.sNoteFile = QDir(m_window.m_paths.TempDir()).filePath("note.txt").toStdString();
      ReplaceFileContents(CFileSystem::Default(), context.sNoteFile,
                          pContent ? VisibleNoteText(pContent->CachedContent(), nType) : "");
    }
  }
  const auto commandLine = ToolCommandLine(tool, context);
  QStringList arguments;
  if (commandLine)
    for (size_t i = 1; i < commandLine->size(); ++i)
      arguments << QString::fromStdString((*commandLine)[i]);
  if (!commandLine || tool.sCommand.empty() ||
      !QProcess::startDetached(QString::fromStdString(tool.sCommand), arguments))
    QMessageBox::warning(&m_window, tr("Warning"),
                         "Application is unable to execute!. Check its parameters.");
}

}  // namespace orv
