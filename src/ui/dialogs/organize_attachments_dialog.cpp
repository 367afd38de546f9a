#include "ui/dialogs/organize_attachments_dialog.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressDialog>
#include <QPushButton>
#include <QTableWidget>
#include <QUrl>
#include <QVBoxLayout>
#include <memory>

#include "attachments/attachment_commands.h"
#include "attachments/attachment_scratch.h"

namespace orv {

namespace {

constexpr char kSection[] = "COrganizeAttachmentsDlg";
constexpr char kWarning[] = "Warning";

// A progress bar that shows only when a copy takes a while; Cancel stops it.
class CCopyProgress {
 public:
  explicit CCopyProgress(QWidget* pParent) : m_pParent(pParent) {}
  TCopyProgress Callback() {
    return [this](uint64_t nDone, uint64_t nTotal) {
      if (!m_pDialog) {
        m_pDialog = std::make_unique<QProgressDialog>(QObject::tr("Copying the attachment..."),
                                                      QObject::tr("Cancel"), 0, 1000, m_pParent);
        m_pDialog->setWindowModality(Qt::WindowModal);
        m_pDialog->setMinimumDuration(500);
      }
      m_pDialog->setValue(nTotal ? static_cast<int>(nDone * 1000 / nTotal) : 1000);
      return !m_pDialog->wasCanceled();
    };
  }

 private:
  QWidget* m_pParent;
  std::unique_ptr<QProgressDialog> m_pDialog;
};

// Runs a copy with a progress bar; a failure is shown, a cancel is not.
bool RunCopy(QWidget* pParent, CNoteTree& tree,
             const std::function<void(const TCopyProgress&)>& run) {
  CCopyProgress progress(pParent);
  try {
    run(progress.Callback());
    return true;
  } catch (const CCopyCancelled&) {
    return false;
  } catch (const CAttachmentError& e) {
    tree.Ui().ShowMessage(kWarning, e.what(), EMessageIcon::Warning);
    return false;
  }
}

}  // namespace

bool AttachFiles(QWidget* pParent, CNoteTree& tree, XMLelement& note, CAttachmentStore& store,
                 const QStringList& files) {
  std::vector<std::string> paths;
  for (const QString& sFile : files) paths.push_back(sFile.toStdString());
  return RunCopy(pParent, tree, [&](const TCopyProgress& progress) {
    AddAttachments(tree, note, store, paths, progress);
  });
}

COrganizeAttachmentsDlg::COrganizeAttachmentsDlg(CNoteTree& tree, XMLelement& note,
                                                 CAttachmentStore& store, QString sAttDir,
                                                 QWidget* pParent)
    : QDialog(pParent), m_tree(tree), m_note(note), m_store(store), m_sAttDir(std::move(sAttDir)) {
  setObjectName(kSection);
  setWindowTitle(tr("Attachments"));
  m_pGrid = new QTableWidget(0, 2, this);
  m_pGrid->setHorizontalHeaderLabels({tr("Attachments name"), tr("Created data")});
  m_pGrid->horizontalHeader()->setStretchLastSection(true);
  m_pGrid->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
  m_pGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
  m_pGrid->setSelectionMode(QAbstractItemView::SingleSelection);
  m_pGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
  connect(m_pGrid, &QTableWidget::cellDoubleClicked, this, [this] { OpenFromDisk(); });

  auto* pButtons = new QVBoxLayout;
  const std::pair<QString, QString> kButtons[] = {
      {tr("&Add File..."), tr("Add file as new attachment")},
      {tr("Add &Folder..."), tr("Add folder as new attachment")},
      {tr("&Delete"), tr("Delete selected attachment")},
      {tr("Delete A&ll"), tr("Delete all attachments")},
      {tr("&Up"), tr("Move item up")},
      {tr("Do&wn"), tr("Move item down")},
      {tr("&Save"), tr("Save it on hard disk")},
      {tr("Save &As..."), tr("Save it to a place you choose")},
      {tr("&Open"), tr("Open it from hard disk")},
      {tr("&Close"), tr("Close this dialog")},
  };
  const std::function<void()> kActions[] = {
      [this] { AddFile(); },    [this] { AddFolder(); }, [this] { DeleteSelected(); },
      [this] { DeleteAll(); },  [this] { Move(-1); },    [this] { Move(1); },
      [this] { SaveToDisk(); }, [this] { SaveAs(); },    [this] { OpenFromDisk(); },
      [this] { accept(); },
  };
  for (size_t i = 0; i < std::size(kButtons); ++i) {
    auto* pButton = new QPushButton(kButtons[i].first, this);
    pButton->setToolTip(kButtons[i].second);
    pButton->setAutoDefault(false);
    connect(pButton, &QPushButton::clicked, this, kActions[i]);
    pButtons->addWidget(pButton);
  }
  pButtons->addStretch();
  auto* pTop = new QHBoxLayout;
  pTop->addWidget(m_pGrid, 1);
  pTop->addLayout(pButtons);
  m_pStatus = new QLabel(this);
  m_pStatus->setObjectName("status");
  m_pStatus->setTextInteractionFlags(Qt::TextSelectableByMouse);
  auto* pLayout = new QVBoxLayout(this);
  pLayout->addLayout(pTop, 1);
  pLayout->addWidget(m_pStatus);
  auto& settings = m_tree.Settings();
  resize(static_cast<int>(settings.GetInt(kSection, "Width", 620)),
         static_cast<int>(settings.GetInt(kSection, "Height", 360)));
  Fill(0);
}

COrganizeAttachmentsDlg::~COrganizeAttachmentsDlg() {
  m_tree.Settings().SetInt(kSection, "Width", width());
  m_tree.Settings().SetInt(kSection, "Height", height());
}

QString COrganizeAttachmentsDlg::Status() const { return m_pStatus->text(); }

int COrganizeAttachmentsDlg::SelectedRow() const {
  const QList<QTableWidgetSelectionRange> ranges = m_pGrid->selectedRanges();
  return ranges.isEmpty() ? -1 : ranges.first().topRow();
}

void COrganizeAttachmentsDlg::Fill(int nSelect) {
  m_list = ReadAttachments(m_note);
  m_pGrid->setRowCount(static_cast<int>(m_list.size()));
  for (int nRow = 0; nRow < m_pGrid->rowCount(); ++nRow) {
    const CAttachment& attachment = m_list[static_cast<size_t>(nRow)];
    auto* pName = new QTableWidgetItem(QString::fromStdString(attachment.sName));
    if (!attachment.sSourcePath.empty())
      pName->setToolTip(QString::fromStdString(attachment.sSourcePath));
    m_pGrid->setItem(nRow, 0, pName);
    m_pGrid->setItem(nRow, 1, new QTableWidgetItem(QString::fromStdString(attachment.sCreated)));
  }
  if (!m_list.empty())
    m_pGrid->selectRow(std::clamp(nSelect, 0, static_cast<int>(m_list.size()) - 1));
}

bool COrganizeAttachmentsDlg::Report(const std::function<void(const TCopyProgress&)>& run) {
  return RunCopy(this, m_tree, run);
}

void COrganizeAttachmentsDlg::AddFile() {
  const QString sFile =
      QFileDialog::getOpenFileName(this, tr("Add file as new attachment"), {}, tr("All files (*)"));
  if (sFile.isEmpty()) return;
  if (AttachFiles(this, m_tree, m_note, m_store, {sFile}))
    Fill(static_cast<int>(ReadAttachments(m_note).size()) - 1);
}

void COrganizeAttachmentsDlg::AddFolder() {
  const QString sFolder = QFileDialog::getExistingDirectory(
      this, tr("Add every file of a folder (not those of its subfolders)"));
  if (sFolder.isEmpty()) return;
  std::vector<std::string> files;
  if (!Report([&](const TCopyProgress&) {
        files = FilesOfFolder(CFileSystem::Default(), sFolder.toStdString());
      }))
    return;
  if (files.empty()) {
    m_tree.Ui().ShowMessage("Information", "The folder " + sFolder.toStdString() + " has no files",
                            EMessageIcon::Information);
    return;
  }
  QStringList list;
  for (const std::string& sFile : files) list << QString::fromStdString(sFile);
  if (AttachFiles(this, m_tree, m_note, m_store, list))
    Fill(static_cast<int>(ReadAttachments(m_note).size()) - 1);
}

void COrganizeAttachmentsDlg::DeleteSelected() {
  const int nRow = SelectedRow();
  if (nRow >= 0 && DeleteAttachment(m_tree, m_note, static_cast<size_t>(nRow))) Fill(nRow);
}

void COrganizeAttachmentsDlg::DeleteAll() {
  if (!m_list.empty() && DeleteAllAttachments(m_tree, m_note)) Fill(0);
}

void COrganizeAttachmentsDlg::Move(int nBy) {
  const int nRow = SelectedRow();
  if (nRow >= 0 && MoveAttachment(m_tree, m_note, static_cast<size_t>(nRow), nBy)) Fill(nRow + nBy);
}

QString COrganizeAttachmentsDlg::SaveSelected() {
  const int nRow = SelectedRow();
  if (nRow < 0) return {};
  std::string sPath;
  if (!Report([&](const TCopyProgress& progress) {
        sPath = SaveInFolder(m_store, m_list[static_cast<size_t>(nRow)], m_sAttDir.toStdString(),
                             CFileSystem::Default(), progress);
      }))
    return {};
  return QString::fromStdString(sPath);
}

void COrganizeAttachmentsDlg::SaveToDisk() {
  const QString sPath = SaveSelected();
  if (!sPath.isEmpty()) m_pStatus->setText(tr("Saved to %1").arg(sPath));
}

void COrganizeAttachmentsDlg::SaveAs() {
  const int nRow = SelectedRow();
  if (nRow < 0) return;
  const CAttachment& attachment = m_list[static_cast<size_t>(nRow)];
  const QString sName = QString::fromStdString(SafeFileName(attachment.sName).value_or(""));
  const QString sPath = QFileDialog::getSaveFileName(this, tr("Save As"), sName);
  if (sPath.isEmpty()) return;
  if (Report([&](const TCopyProgress& progress) {
        m_store.Extract(attachment.StreamName(), sPath.toStdString(), progress);
      }))
    m_pStatus->setText(tr("Saved to %1").arg(sPath));
}

void COrganizeAttachmentsDlg::OpenFromDisk() {
  const QString sPath = SaveSelected();
  if (sPath.isEmpty()) return;
  if (QDesktopServices::openUrl(QUrl::fromLocalFile(sPath)))
    m_pStatus->setText(tr("Opened %1").arg(sPath));
  else
    m_tree.Ui().ShowMessage(kWarning, "No program could open " + sPath.toStdString(),
                            EMessageIcon::Warning);
}

}  // namespace orv
