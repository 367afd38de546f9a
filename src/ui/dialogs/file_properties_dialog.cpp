#include "ui/dialogs/file_properties_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QLabel>
#include <QLocale>
#include <QVBoxLayout>

namespace orv {

namespace {

QString SizeText(const std::string& sPath) {
  const QFileInfo file(QString::fromStdString(sPath));
  if (sPath.empty() || !file.isFile()) return QObject::tr("not saved yet");
  return QObject::tr("%1 (%2 bytes)")
      .arg(QLocale().formattedDataSize(file.size()), QLocale().toString(file.size()));
}

size_t CountNotes(const CFolderList& folders) {
  size_t nNotes = 0;
  for (const auto& pFolder : folders) nNotes += pFolder->NoteCount();
  return nNotes;
}

QLabel* Selectable(const QString& sText) {
  auto* pLabel = new QLabel(sText);
  pLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
  return pLabel;
}

}  // namespace

CFilePropertiesDlg::CFilePropertiesDlg(COrvellaDoc& doc, CUiPort& ui, QWidget* pParent)
    : QDialog(pParent),
      m_doc(doc),
      m_properties(doc, ui),
      m_pProtect(new QCheckBox(tr("Protect this file with a passphrase"), this)) {
  setWindowTitle(tr("Properties"));
  const QString sPath = QString::fromStdString(doc.PathName());

  auto* pFacts = new QFormLayout;
  pFacts->addRow(tr("File:"), Selectable(sPath.isEmpty() ? tr("(untitled)") : sPath));
  pFacts->addRow(tr("Size:"), Selectable(SizeText(doc.PathName())));
  pFacts->addRow(tr("Folders:"), Selectable(QLocale().toString(qulonglong(doc.Folders().Count()))));
  pFacts->addRow(tr("Notes:"),
                 Selectable(QLocale().toString(qulonglong(CountNotes(doc.Folders())))));

  m_pProtect->setChecked(m_properties.IsChecked());
  connect(m_pProtect, &QCheckBox::clicked, this, &CFilePropertiesDlg::OnProtectClicked);

  auto* pButtons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(pButtons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(pButtons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* pLayout = new QVBoxLayout(this);
  pLayout->addLayout(pFacts);
  pLayout->addWidget(m_pProtect);
  pLayout->addWidget(pButtons);
}

void CFilePropertiesDlg::OnProtectClicked() {
  // The click has already flipped the box; the prompts decide where it ends up.
  m_properties.OnCheckBoxClicked();
  m_pProtect->setChecked(m_properties.IsChecked());
}

void CFilePropertiesDlg::accept() {
  m_properties.OnOk(m_doc);
  QDialog::accept();
}

}  // namespace orv
