#include "ui/window/main_window.h"

#include <QCloseEvent>
#include <QDateTime>
#include <QDesktopServices>
#include <QDragEnterEvent>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QMimeData>
#include <QScrollBar>
#include <QSplitter>
#include <QStatusBar>
#include <QSystemTrayIcon>
#include <QToolBar>
#include <QUrl>

#include "ports/settings_defaults.h"
#include "tree/bookmark_commands.h"
#include "tree/note_navigation.h"
#include "ui/app_paths.h"
#include "ui/dialogs/colour_ref.h"
#include "ui/dialogs/note_icons.h"
#include "ui/editors/editor_pane.h"
#include "ui/single_instance.h"
#include "ui/window/folder_tab_bar.h"
#include "ui/window/menu_builder.h"
#include "ui/window/note_tree_view.h"

namespace orv {

CMainWindow::CMainWindow(CSettingsStore& settings, const CAppPaths& paths)
    : m_settings(settings),
      m_paths(paths),
      m_ui(this, settings),
      m_doc(m_ui, settings),
      m_tree(m_doc, m_ui, settings, *this),
      m_recent(settings) {
  setObjectName("MainWindow");
  setAcceptDrops(true);
  // The core's view must never see an empty folder list.
  m_doc.OnNewDocument();
  setWindowIcon(AppIcon());
  m_doc.m_log = [this](const std::string& sText) { Log(QString::fromStdString(sText)); };

  m_pTreeView = new CNoteTreeView(m_tree, this);
  m_pTreeView->setObjectName("NoteTree");
  m_pEditors = new CEditorPane(m_tree, settings, this);
  auto* pSplitter = new QSplitter(Qt::Horizontal, this);
  pSplitter->addWidget(m_pTreeView);
  pSplitter->addWidget(m_pEditors);
  pSplitter->setStretchFactor(1, 3);
  pSplitter->setSizes({260, 760});
  setCentralWidget(pSplitter);

  m_pTabs = new CFolderTabBar(m_tree, this);
  m_pTabs->setObjectName("FolderTabs");
  m_pStatusNote = new QLabel(this);
  m_pStatusDoc = new QLabel(this);
  statusBar()->addWidget(m_pStatusNote, 1);
  statusBar()->addPermanentWidget(m_pStatusDoc);

  m_pMenus = std::make_unique<CMenuBuilder>(*this);
  auto* pTabsBar = new QToolBar(tr("Tabs Bar"), this);
  pTabsBar->setObjectName("TabsBar");
  pTabsBar->setMovable(false);
  pTabsBar->addWidget(m_pTabs);
  addToolBarBreak();
  addToolBar(pTabsBar);
  m_pMenus->Build();

  connect(m_pTreeView, &CNoteTreeView::NoteChosen, this,
          [this](XMLelement* pNote) { Guarded([&] { SelectByUser(m_tree, pNote); }); });
  connect(m_pEditors, &CEditorPane::LinkClicked, this, &CMainWindow::FollowLink);
  connect(m_pEditors, &CEditorPane::Edited, this, [this] { setWindowModified(true); });
  SetUpTray();
  ApplyColours();
  RebuildTabs();
  m_tree.RefreshTree(false);
}

CMainWindow::~CMainWindow() = default;

QAction* CMainWindow::Command(const QString& sName) const { return m_pMenus->Command(sName); }

// --- the core's view --------------------------------------------------------

void CMainWindow::RefreshTree() {
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
  UpdateTitle();
}

void CMainWindow::FollowLink(const QString& sLink) {
  Guarded([&] {
    if (orv::FollowLink(m_tree, sLink.toStdString()) == ELinkResult::External)
      QDesktopServices::openUrl(QUrl::fromUserInput(sLink));
  });
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
  setWindowModified(m_doc.m_bModified);
}

void CMainWindow::UpdateStatus() {
  XMLelement* pNote = m_pEditors->OpenNoteElement();
  m_pStatusNote->setText(pNote ? QString::fromStdString(GetProperty(*pNote, "name")) : QString());
  m_pStatusDoc->setText(
      tr("Folder %1 of %2").arg(m_tree.CurrentIndex() + 1).arg(m_tree.Folders().m_folders.size()));
  UpdateTitle();
}

bool CMainWindow::IsOpen(const QString& sPath) const {
  return IsSameDocumentPath(sPath, QString::fromStdString(m_doc.PathName()));
}

// --- window -----------------------------------------------------------------

void CMainWindow::closeEvent(QCloseEvent* pEvent) {
  if (!m_bQuitting && !SaveModified()) {
    pEvent->ignore();
    return;
  }
  if (m_pTray) m_pTray->hide();
  pEvent->accept();
}

void CMainWindow::changeEvent(QEvent* pEvent) {
  QMainWindow::changeEvent(pEvent);
  if (pEvent->type() != QEvent::WindowStateChange) return;
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
  if (isMaximized() || isMinimized() || !isVisible()) return;
  WriteSetting(m_settings, kMainFrameX, x());
  WriteSetting(m_settings, kMainFrameY, y());
}

void CMainWindow::resizeEvent(QResizeEvent* pEvent) {
  QMainWindow::resizeEvent(pEvent);
  if (isMaximized() || isMinimized() || !isVisible()) return;
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

void CMainWindow::ApplyColours() {
  struct SColours {
    QWidget* pWidget;
    const SIntSetting& background;
    const SIntSetting* pText;
  };
  for (const SColours& colours :
       {SColours{m_pTreeView, kTreeBckColor, &kTreeTextColor},
        SColours{&m_pEditors->PlainEdit(), kTextBckColor, &kTextColor},
        SColours{&m_pEditors->RichEdit(), kRtfBckColor, nullptr},
        SColours{&m_pEditors->HtmlEdit(), kHtmlBckColor, &kHtmlTextColor}}) {
    // Only colours the user chose: unset, the desktop's theme decides.
    QPalette palette = colours.pWidget->palette();
    auto apply = [&](const SIntSetting& setting, QPalette::ColorRole eRole) {
      int32_t nColour = m_settings.GetInt(setting.sSection, setting.sName, -1);
      if (nColour >= 0) palette.setColor(eRole, ToQColor(nColour));
    };
    apply(colours.background, QPalette::Base);
    if (colours.pText) apply(*colours.pText, QPalette::Text);
    colours.pWidget->setPalette(palette);
  }
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

void CMainWindow::MinimizeToTray() {
  if (ReadSetting(m_settings, kAutoSaveByMinimize))
    Guarded([&] {
      StoreEditorContent();
      m_doc.SaveOnMinimize();
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

}  // namespace orv
