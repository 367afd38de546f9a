#pragma once
// The main window: the note tree pane, the folder tabs, the editor pane,
// menus, tool bars, status bar and tray icon. It owns the open document and
// is the core's view of it: menu commands call core commands, the core tells
// the window what to redraw.

#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <memory>

#include "app/accelerator_manager.h"
#include "app/recent_files.h"
#include "editors/clipboard_tracker.h"
#include "storage/orvella_doc.h"
#include "tree/branch_commands.h"
#include "tree/note_tree.h"
#include "ui/dialogs/qt_ui.h"

class QMimeData;
class QSplitter;
class QSystemTrayIcon;
class QLabel;
class QToolBar;

namespace orv {

class CAppPaths;
class CEditorPane;
class CFindBar;
class CFolderTabBar;
class CMenuBuilder;
class CNoteTreeView;
class CSharedFolders;
class CSharedFolderWatch;
class CToolsMenu;
class CActivationHotKey;

struct SIntSetting;

// The user's window, or the window Help Contents shows the guide in: that one
// leaves the recent files, the tray and the window's remembered state alone.
enum class EWindowRole { Main, Guide };

class CMainWindow : public QMainWindow, public CTreeViewPort {
  Q_OBJECT

 public:
  CMainWindow(CSettingsStore& settings, const CAppPaths& paths,
              EWindowRole eRole = EWindowRole::Main);
  ~CMainWindow() override;

  // Document life cycle. Each offers to save unsaved changes first and
  // reports failures; false when nothing was done.
  bool NewDocument();
  bool OpenDocument(const QString& sPath);
  bool SaveDocument();
  bool SaveDocumentAs();
  // Saves or discards unsaved changes as the user says; false on Cancel.
  bool SaveModified();
  // Places the window as the settings remember and shows it.
  void ShowAsRemembered();
  // Brings the window forward from the tray, minimised or behind others.
  void Activate();
  bool IsOpen(const QString& sPath) const;
  // Opens the first local file of a drop, once the drop is over; false when
  // it carries none.
  bool OpenDropped(const QMimeData& data);
  // True after a wrong passphrase ended the program.
  bool HasQuit() const { return m_bQuitting; }
  // True when the last OpenDocument failed because its passphrase prompt was cancelled.
  bool OpenWasCancelled() const { return m_bOpenCancelled; }
  // Help Contents: the guide in a window of its own, so the user's document
  // stays open here; null when the guide could not be opened.
  CMainWindow* ShowGuide();
  EWindowRole Role() const { return m_eRole; }

  COrvellaDoc& Doc() { return m_doc; }
  CNoteTree& Tree() { return m_tree; }
  CNoteTreeView& TreeView() { return *m_pTreeView; }
  CFolderTabBar& Tabs() { return *m_pTabs; }
  CEditorPane& Editors() { return *m_pEditors; }
  CFindBar& FindBar() { return *m_pFindBar; }
  CSettingsStore& Settings() { return m_settings; }
  CUiPort& Ui() { return m_ui; }
  // A command of the menus by its display name ("Notes - Move - Up"), or null.
  QAction* Command(const QString& sName) const;
  // Every command's keys: the built-in ones and the user's.
  const CAcceleratorManager& Accelerators() const { return m_accelerators; }

  // CTreeViewPort
  void RefreshTree() override;
  void StoreEditorContent() override;
  void RebuildTabs() override;
  std::pair<int, int> ScrollPosition() const override;
  void SetScrollPosition(int nHorizontal, int nVertical) override;
  std::string EditorSelectedText() override;
  void StartLabelEdit(XMLelement& note) override;

 signals:
  // A wrong passphrase ends the program; the application ends it.
  void QuitRequested();
  // The simple beep played: Back or Forward with an empty history.
  void Beeped();

 protected:
  void closeEvent(QCloseEvent* pEvent) override;
  void changeEvent(QEvent* pEvent) override;
  void moveEvent(QMoveEvent* pEvent) override;
  void resizeEvent(QResizeEvent* pEvent) override;
  // A document file dropped on the window from a file manager opens.
  void dragEnterEvent(QDragEnterEvent* pEvent) override;
  void dropEvent(QDropEvent* pEvent) override;
  // Keys that miss their shortcuts on some keyboards and displays.
  bool eventFilter(QObject* pWatched, QEvent* pEvent) override;

 private:
  friend class CMenuBuilder;
  friend class CToolsMenu;

  // Runs a command, reporting what it throws in an error box.
  void Guarded(const std::function<void()>& run);
  void AfterDocumentChanged();
  void ShowProperties();
  void CloseDocument();
  // A mishap that did not stop the command (a backup copy that failed): on
  // the status bar, and in the log file while logging is on.
  void Log(const QString& sText);
  void UpdateTitle();
  void UpdateStatus();
  void FollowLink(const QString& sLink);
  void Beep();
  // The tree's and the editors' colours and fonts from the settings.
  void ApplyLooks();
  // Shows or hides a tool bar as the user left it, and remembers their choice.
  void RememberToolBar(QToolBar& bar, const SIntSetting& setting);
  void RememberSplitter();
  void SetUpTray();
  // Grabs the activation hot key the settings hold; false when it could not be.
  bool RegisterHotKey();
  // Hides to the tray (saving first when the settings ask for it).
  void MinimizeToTray();
  void SetFullScreen(bool bOn);
  // Keeps the window above all others, or releases it; remembered.
  void ToggleTopmost();
  // Track Clipboard: text copied anywhere is pasted into the open editor.
  void ToggleTrackClipboard();
  bool IsTrackingClipboard() const { return m_clipboardTracker.IsOn(); }
  void PasteTrackedClipboard();
  void Quit();
  // Shared folders (main_window_shared.cpp).
  bool NewSharedFolder();
  void StoreSharedFolder();
  // Reads the open shared folder again, once the running command is over,
  // when it is new here or changed on disk.
  void CheckSharedFolderSoon();
  void ForgetSharedFolders();
  void OnSharedFolderChanged();
  void TellShareError(const std::exception& error);

  CSettingsStore& m_settings;
  const CAppPaths& m_paths;
  const EWindowRole m_eRole;
  CQtUi m_ui;
  COrvellaDoc m_doc;
  CNoteTree m_tree;
  CBranchClipboard m_clipboard;
  CRecentFiles m_recent;
  CAcceleratorManager m_accelerators;
  CNoteTreeView* m_pTreeView;
  CFolderTabBar* m_pTabs;
  CEditorPane* m_pEditors;
  CFindBar* m_pFindBar;
  CClipboardTracker m_clipboardTracker;
  QSplitter* m_pSplitter;
  QPointer<CMainWindow> m_pGuide;
  std::unique_ptr<CMenuBuilder> m_pMenus;
  std::unique_ptr<CSharedFolders> m_pShares;
  CSharedFolderWatch* m_pShareWatch;
  CToolsMenu* m_pToolsMenu = nullptr;
  CActivationHotKey* m_pHotKey = nullptr;
  QLabel* m_pStatusNote;
  QLabel* m_pStatusDoc;
  QSystemTrayIcon* m_pTray = nullptr;
  bool m_bQuitting = false;
  bool m_bOpenCancelled = false;
  bool m_bShareCheckQueued = false;
  // The last failure to read or write a shared folder, told once.
  std::string m_sShareError;
  const CXMLTree* m_pWatchedShare = nullptr;  // the shared folder the watch is on, never read
};

}  // namespace orv
