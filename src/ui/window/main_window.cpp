#include "ui/window/main_window.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDateTime>
#include <QDesktopServices>
#include <QDragEnterEvent>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QMimeData>
#include <QScrollBar>
#include <QSplitter>
#include <QStatusBar>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QToolBar>
#include <QUrl>
#include <QVBoxLayout>

#include "base/file_system.h"
#include "editors/html_cleanup.h"
#include "editors/html_table_rules.h"
#include "exchange/shared_folder.h"
#include "model/note_keys.h"
#include "ports/hex_colour_setting.h"
#include "ports/settings_defaults.h"
#include "tree/bookmark_commands.h"
#include "tree/document_commands.h"
#include "tree/note_navigation.h"
#include "ui/activation_hot_key.h"
#include "ui/app_paths.h"
#include "ui/dialogs/colour_ref.h"
#include "ui/dialogs/font_ref.h"
#include "ui/dialogs/note_icons.h"
#include "ui/editors/editor_pane.h"
#include "ui/editors/find_bar.h"
#include "ui/single_instance.h"
#include "ui/window/builtin_keys.h"
#include "ui/window/folder_tab_bar.h"
#include "ui/window/menu_builder.h"
#include "ui/window/note_tree_view.h"
#include "ui/window/shared_folder_watch.h"
#include "ui/window/tools_menu.h"

namespace orv {

CMainWindow::CMainWindow(CSettingsStore& settings, const CAppPaths& paths, EWindowRole eRole)
    : m_settings(settings),
      m_paths(paths),
      m_eRole(eRole),
      m_ui(this, settings),
      m_doc(m_ui, settings),
      m_tree(m_doc, m_ui, settings, *this),
      m_recent(settings),
      m_accelerators(StartUpAccelerators()),
      m_pShares(std::make_unique<CSharedFolders>()),
      m_pShareWatch(new CSharedFolderWatch(this)),
      m_recovery(CFileSystem::Default(), paths.RecoveryDir().toStdString()),
      m_pRecoveryTimer(new QTimer(this)) {
  setObjectName("MainWindow");
  setAcceptDrops(true);
  // The core's view must never see an empty folder list.
  m_doc.OnNewDocument();
  setWindowIcon(AppIcon());
  m_doc.SetLog([this](const std::string& sText) { Log(QString::fromStdString(sText)); });

  m_pTreeView = new CNoteTreeView(m_tree, this);
  m_pTreeView->setObjectName("NoteTree");
  auto* pEditorArea = new QWidget(this);
  m_pEditors = new CEditorPane(m_tree, settings, pEditorArea);
  m_pFindBar = new CFindBar(*m_pEditors, pEditorArea);
  auto* pEditorLayout = new QVBoxLayout(pEditorArea);
  pEditorLayout->setContentsMargins(0, 0, 0, 0);
  pEditorLayout->setSpacing(0);
  pEditorLayout->addWidget(m_pEditors);
  pEditorLayout->addWidget(m_pFindBar);
  m_pSplitter = new QSplitter(Qt::Horizontal, this);
  m_pSplitter->addWidget(m_pTreeView);
  m_pSplitter->addWidget(pEditorArea);
  m_pSplitter->setStretchFactor(1, 3);
  RememberSplitter();
  setCentralWidget(m_pSplitter);

  m_pTabs = new CFolderTabBar(m_tree, this);
  m_pTabs->setObjectName("FolderTabs");
  m_pStatusNote = new QLabel(this);
  m_pStatusNote->setTextFormat(Qt::PlainText);  // a note's name, whatever it holds
  m_pStatusDoc = new QLabel(this);
  statusBar()->addWidget(m_pStatusNote, 1);
  statusBar()->addPermanentWidget(m_pStatusDoc);

  if (auto sProblem = LoadShortcutsFile(m_accelerators, CFileSystem::Default(),
                                        paths.ShortcutsFile().toStdString()))
    Log(QString::fromStdString(*sProblem));
  m_pMenus = std::make_unique<CMenuBuilder>(*this);
  auto* pTabsBar = new QToolBar(tr("Tabs Bar"), this);
  pTabsBar->setObjectName("TabsBar");
  pTabsBar->setMovable(false);
  pTabsBar->addWidget(m_pTabs);
  m_pMenus->Build();
  // The tabs get a row of their own: sharing one, many folders would push
  // the other tool bar's buttons out of sight.
  addToolBarBreak();
  addToolBar(pTabsBar);
  RememberToolBar(*pTabsBar, kTabsBar);

  connect(m_pTreeView, &CNoteTreeView::NoteChosen, this,
          [this](XMLelement* pNote) { Guarded([&] { SelectByUser(m_tree, pNote); }); });
  connect(m_pTreeView, &CNoteTreeView::FilesDropped, this, &CMainWindow::AttachDropped);
  connect(m_pTreeView, &CNoteTreeView::DocumentDropped, this, &CMainWindow::OpenDocument);
  // A label edited in the pane renames the note without a refresh.
  connect(&m_pTreeView->Model(), &QAbstractItemModel::dataChanged, this, [this] {
    StoreSharedFolder();
    UpdateStatus();
  });
  connect(m_pShareWatch, &CSharedFolderWatch::Changed, this, &CMainWindow::OnSharedFolderChanged);
  QCoreApplication::instance()->installEventFilter(this);
  connect(m_pEditors, &CEditorPane::LinkClicked, this, &CMainWindow::FollowLink);
  connect(m_pEditors, &CEditorPane::Edited, this, [this] {
    setWindowModified(true);
    KeepRecoveryCopySoon();
  });
  m_pRecoveryTimer->setSingleShot(true);
  m_pRecoveryTimer->setInterval(kRecoveryPause);
  connect(m_pRecoveryTimer, &QTimer::timeout, this, &CMainWindow::WriteRecoveryCopy);
  connect(m_pEditors, &CEditorPane::UnsupportedTagsRemoved, this, [this](const QString& sMessage) {
    m_ui.ShowMessage(std::string(kUnsupportedTagsTitle), sMessage.toStdString(),
                     EMessageIcon::Warning);
  });
  connect(m_pEditors, &CEditorPane::HtmlEditorError, this, [this](const QString& sMessage) {
    m_ui.ShowMessage(std::string(kTableErrorTitle), sMessage.toStdString(), EMessageIcon::Error);
  });
  connect(m_pEditors, &CEditorPane::NotShownWhole, this,
          [this](const QString& sMessage) { statusBar()->showMessage(sMessage); });
  connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this,
          &CMainWindow::PasteTrackedClipboard);
  if (m_eRole == EWindowRole::Main) {
    SetUpTray();
    m_pHotKey = new CActivationHotKey(this);
    connect(m_pHotKey, &CActivationHotKey::Activated, this, &CMainWindow::Activate);
    RegisterHotKey();  // at start-up a key another program holds is no news
  }
  ApplyLooks();
  RebuildTabs();
  m_tree.RefreshTree(false);
}

CMainWindow::~CMainWindow() = default;

QAction* CMainWindow::Command(const QString& sName) const { return m_pMenus->Command(sName); }

// --- the core's view --------------------------------------------------------

void CMainWindow::RefreshTree() {
  StoreSharedFolder();
  CheckSharedFolderSoon();
  XMLelement* pSelected = m_tree.SelectedNote();
  m_pTreeView->Rebuild(pSelected);
  m_pEditors->ShowNote(pSelected);
  UpdateStatus();
}

void CMainWindow::StoreEditorContent() { m_pEditors->Store(); }

void CMainWindow::RebuildTabs() { m_pTabs->Rebuild(); }

std::pair<int, int> CMainWindow::ScrollPosition() const {
  return {m_pTreeView->horizontalScrollBar()->value(), m_pTreeView->verticalScrollBar()->value()};
}

void CMainWindow::SetScrollPosition(int nHorizontal, int nVertical) {
  m_pTreeView->horizontalScrollBar()->setValue(nHorizontal);
  m_pTreeView->verticalScrollBar()->setValue(nVertical);
}

std::string CMainWindow::EditorSelectedText() { return m_pEditors->SelectedText(); }

void CMainWindow::StartLabelEdit(XMLelement& note) { m_pTreeView->StartLabelEdit(note); }

// --- commands ---------------------------------------------------------------

void CMainWindow::Guarded(const std::function<void()>& run) {
  try {
    run();
  } catch (const CPassphraseError& e) {
    m_ui.ShowMessage("Warning", e.what(), EMessageIcon::Warning);
    if (e.IsFatal()) Quit();
  } catch (const std::exception& e) {
    m_ui.ShowMessage("Error", e.what(), EMessageIcon::Error);
  }
  // What a command changed in a shared folder reaches its files at once.
  StoreSharedFolder();
  UpdateTitle();
}

void CMainWindow::FollowLink(const QString& sLink) {
  Guarded([&] {
    if (orv::FollowLink(m_tree, sLink.toStdString()) == ELinkResult::External)
      QDesktopServices::openUrl(QUrl::fromUserInput(sLink));
  });
}

void CMainWindow::Beep() {
  QApplication::beep();
  emit Beeped();
}

void CMainWindow::Log(const QString& sText) {
  statusBar()->showMessage(sText);
  if (!ReadSetting(m_settings, kEnableLog)) return;
  QFile file(m_paths.LogFile());
  if (file.open(QIODevice::Append | QIODevice::Text))
    file.write((QDateTime::currentDateTime().toString(Qt::ISODate) + ' ' + sText + '\n').toUtf8());
}

void CMainWindow::UpdateTitle() {
  QString sName = m_doc.PathName().empty()
                      ? tr("Untitled")
                      : QFileInfo(QString::fromStdString(m_doc.PathName())).fileName();
  setWindowTitle(sName + "[*] - Orvella");
  setWindowModified(m_doc.IsModified());
  // Saved, reloaded or replaced: the changes are no longer at risk.
  if (m_doc.IsModified())
    KeepRecoveryCopySoon();
  else
    m_recovery.Discard();
}

void CMainWindow::UpdateStatus() {
  XMLelement* pNote = m_pEditors->OpenNoteElement();
  m_pStatusNote->setText(pNote ? QString::fromStdString(GetProperty(*pNote, kNameKey)) : QString());
  m_pStatusDoc->setText(
      tr("Folder %1 of %2").arg(m_tree.CurrentIndex() + 1).arg(m_tree.Folders().Count()));
  UpdateTitle();
}

bool CMainWindow::IsOpen(const QString& sPath) const {
  return IsSameDocumentPath(sPath, QString::fromStdString(m_doc.PathName()));
}

// --- window -----------------------------------------------------------------

void CMainWindow::closeEvent(QCloseEvent* pEvent) {
  // The guide goes with the window, after its own question about its changes.
  if (!m_bQuitting && ((m_pGuide && !m_pGuide->close()) || !SaveModified())) {
    pEvent->ignore();
    return;
  }
  if (m_pTray) m_pTray->hide();
  // Saved, or dropped by the user's answer.
  m_recovery.Discard();
  pEvent->accept();
}

void CMainWindow::changeEvent(QEvent* pEvent) {
  QMainWindow::changeEvent(pEvent);
  if (pEvent->type() != QEvent::WindowStateChange || m_eRole != EWindowRole::Main) return;
  int nState = isMinimized() ? 1 : isMaximized() ? 2 : 0;
  WriteSetting(m_settings, kMainFrameState, nState);
  if (isMinimized() && ReadSetting(m_settings, kMinimizeToTray)) {
    // Hiding from inside the state change confuses some window managers.
    QMetaObject::invokeMethod(
        this, [this] { MinimizeToTray(); }, Qt::QueuedConnection);
  }
}

void CMainWindow::moveEvent(QMoveEvent* pEvent) {
  QMainWindow::moveEvent(pEvent);
  if (m_eRole != EWindowRole::Main || isMaximized() || isMinimized() || !isVisible()) return;
  WriteSetting(m_settings, kMainFrameX, x());
  WriteSetting(m_settings, kMainFrameY, y());
}

void CMainWindow::resizeEvent(QResizeEvent* pEvent) {
  QMainWindow::resizeEvent(pEvent);
  if (m_eRole != EWindowRole::Main || isMaximized() || isMinimized() || !isVisible()) return;
  if (width() > 0 && height() > 0) {
    WriteSetting(m_settings, kMainFrameWidth, width());
    WriteSetting(m_settings, kMainFrameHeight, height());
  }
}

namespace {

// The first local file a drag from outside carries, or empty.
QString DroppedFile(const QMimeData* pData) {
  for (const QUrl& url : pData->urls())
    if (url.isLocalFile()) return url.toLocalFile();
  return {};
}

}  // namespace

void CMainWindow::dragEnterEvent(QDragEnterEvent* pEvent) {
  if (!DroppedFile(pEvent->mimeData()).isEmpty()) pEvent->acceptProposedAction();
}

void CMainWindow::dropEvent(QDropEvent* pEvent) {
  if (OpenDropped(*pEvent->mimeData())) pEvent->acceptProposedAction();
}

bool CMainWindow::OpenDropped(const QMimeData& data) {
  const QString sPath = DroppedFile(&data);
  if (sPath.isEmpty()) return false;
  // Opened once the drag is over, so the file manager is not kept waiting
  // behind the save question.
  QMetaObject::invokeMethod(
      this, [this, sPath] { OpenDocument(sPath); }, Qt::QueuedConnection);
  return true;
}

void CMainWindow::ShowAsRemembered() {
  move(ReadSetting(m_settings, kMainFrameX), ReadSetting(m_settings, kMainFrameY));
  resize(std::max(200, ReadSetting(m_settings, kMainFrameWidth)),
         std::max(150, ReadSetting(m_settings, kMainFrameHeight)));
  switch (ReadSetting(m_settings, kMainFrameState)) {
    case 1:
      // Started hidden: only the tray icon shows, when there is a tray.
      if (!m_pTray) show();
      break;
    case 2:
      showMaximized();
      break;
    default:
      show();
      break;
  }
  if (ReadSetting(m_settings, kTopmost)) {
    setWindowFlag(Qt::WindowStaysOnTopHint, true);
    show();
  }
  if (ReadSetting(m_settings, kFullScreen)) SetFullScreen(true);
}

void CMainWindow::Activate() {
  if (isHidden()) show();
  if (isMinimized()) showNormal();
  raise();
  activateWindow();
}

void CMainWindow::ApplyLooks() {
  struct SLooks {
    QWidget* pWidget;
    const SIntSetting& background;
    const SIntSetting* pText;
    const SBinarySetting& font;
  };
  for (const SLooks& looks :
       {SLooks{m_pTreeView, kTreeBckColor, &kTreeTextColor, kTreeFont},
        SLooks{&m_pEditors->PlainEdit(), kTextBckColor, &kTextColor, kTextFont},
        SLooks{&m_pEditors->RichEdit(), kRtfBckColor, nullptr, kRtfFont},
        SLooks{&m_pEditors->HtmlEdit(), kHtmlBckColor, &kHtmlTextColor, kHtmlFont}}) {
    // Only what the user chose: unset, the desktop's theme decides.
    QPalette palette = looks.pWidget->palette();
    auto apply = [&](const SIntSetting& setting, QPalette::ColorRole eRole) {
      if (const std::optional<int32_t> nColour = ReadColour(m_settings, setting))
        palette.setColor(eRole, ToQColor(*nColour));
    };
    apply(looks.background, QPalette::Base);
    if (looks.pText) apply(*looks.pText, QPalette::Text);
    looks.pWidget->setPalette(palette);
    if (std::optional<QFont> font = StoredFont(m_settings, looks.font, looks.pWidget->font()))
      looks.pWidget->setFont(*font);
  }
}

void CMainWindow::RememberToolBar(QToolBar& bar, const SIntSetting& setting) {
  bar.setVisible(ReadSetting(m_settings, setting) != 0);
  if (m_eRole != EWindowRole::Main) return;
  // Only the user's choice: a tool bar also hides when the window does.
  connect(bar.toggleViewAction(), &QAction::triggered, this,
          [this, &setting](bool bShown) { WriteSetting(m_settings, setting, bShown ? 1 : 0); });
}

void CMainWindow::RememberSplitter() {
  const int nTree = std::max(0, ReadSetting(m_settings, kTreeWidth));
  m_pSplitter->setSizes({nTree, std::max(nTree * 3, 760)});
  if (m_eRole != EWindowRole::Main) return;
  connect(m_pSplitter, &QSplitter::splitterMoved, this,
          [this] { WriteSetting(m_settings, kTreeWidth, m_pSplitter->sizes().value(0)); });
}

CMainWindow* CMainWindow::ShowGuide() {
  if (m_eRole == EWindowRole::Guide) return this;
  if (!m_pGuide) {
    auto* pGuide = new CMainWindow(m_settings, m_paths, EWindowRole::Guide);
    pGuide->setParent(this, Qt::Window);
    pGuide->setAttribute(Qt::WA_DeleteOnClose);
    if (!pGuide->OpenDocument(m_paths.AboutDocument())) {
      delete pGuide;
      return nullptr;
    }
    pGuide->resize(size() * 0.8);
    m_pGuide = pGuide;
  }
  m_pGuide->Activate();
  return m_pGuide;
}

bool CMainWindow::eventFilter(QObject* pWatched, QEvent* pEvent) {
  if (!pWatched->isWidgetType() || static_cast<QWidget*>(pWatched)->window() != this) return false;
  if (m_pToolsMenu && m_pToolsMenu->HandleKey(*pEvent)) return true;
  // Only presses no shortcut took get here.
  if (pEvent->type() != QEvent::KeyPress) return false;
  // The tree's label editor types − and + as any other text.
  const bool bInTree = pWatched == m_pTreeView || pWatched == m_pTreeView->viewport();
  const std::string sCommand = UnmatchedKeyCommand(*static_cast<QKeyEvent*>(pEvent), bInTree);
  QAction* pAction =
      sCommand.empty() ? nullptr : findChild<QAction*>(QString::fromStdString(sCommand));
  if (!pAction) return false;
  pAction->trigger();
  return true;
}

void CMainWindow::SetUpTray() {
  if (!QSystemTrayIcon::isSystemTrayAvailable()) return;
  m_pTray = new QSystemTrayIcon(AppIcon(), this);
  m_pTray->setToolTip("Orvella");
  auto* pMenu = new QMenu(this);
  pMenu->addAction(tr("&Restore"), this, &CMainWindow::Activate);
  pMenu->addAction(tr("E&xit"), this, &QWidget::close);
  m_pTray->setContextMenu(pMenu);
  connect(m_pTray, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason e) {
    if (e == QSystemTrayIcon::Trigger || e == QSystemTrayIcon::DoubleClick) Activate();
  });
  m_pTray->show();
}

bool CMainWindow::RegisterHotKey() {
  return m_pHotKey && m_pHotKey->Register(HotKeyCombination(
                          static_cast<uint16_t>(ReadSetting(m_settings, kActShortcutKeyCode)),
                          static_cast<uint16_t>(ReadSetting(m_settings, kActShortcutModifiers))));
}

void CMainWindow::MinimizeToTray() {
  if (ReadSetting(m_settings, kAutoSaveByMinimize))
    Guarded([&] {
      StoreEditorContent();
      SaveOnMinimize(m_doc, m_settings);
    });
  if (m_pTray) hide();
}

void CMainWindow::SetFullScreen(bool bOn) {
  setWindowState(bOn ? windowState() | Qt::WindowFullScreen
                     : windowState() & ~Qt::WindowFullScreen);
  WriteSetting(m_settings, kFullScreen, bOn ? 1 : 0);
}

void CMainWindow::ToggleTopmost() {
  const bool bOnTop = ReadSetting(m_settings, kTopmost) == 0;
  WriteSetting(m_settings, kTopmost, bOnTop ? 1 : 0);
  setWindowFlag(Qt::WindowStaysOnTopHint, bOnTop);
  show();  // changing a window flag hides the window
}

void CMainWindow::Quit() {
  // Only after a wrong passphrase: what was open was saved or let go before
  // the other document was tried, so nothing unsaved is lost here.
  m_bQuitting = true;
  close();
  emit QuitRequested();
}

void CMainWindow::ToggleTrackClipboard() {
  m_clipboardTracker.SetOn(!m_clipboardTracker.IsOn(),
                           QGuiApplication::clipboard()->text().toStdString());
}

void CMainWindow::PasteTrackedClipboard() {
  QClipboard& clipboard = *QGuiApplication::clipboard();
  const QString sNow = clipboard.text();
  // On X the clipboard empties when the program that copied quits: that is
  // no copy, and the same text copied again afterwards is no news.
  if (sNow.isEmpty()) return;
  const std::optional<std::string> sText = m_clipboardTracker.OnClipboardChange(sNow.toStdString());
  // A copy or cut in this program is not news: pasted back, a cut would undo itself.
  if (!sText || clipboard.ownsClipboard() || !m_pEditors->CanEdit()) return;
  if (QWidget* pEdit = m_pEditors->ActiveEdit()) QMetaObject::invokeMethod(pEdit, "paste");
}

}  // namespace orv
