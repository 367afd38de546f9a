#include "ui/dialogs/internal_link_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QTreeWidget>

#include "model/note_keys.h"
#include "tree/bookmark_commands.h"
#include "tree/note_links.h"

namespace orv {

namespace {

XMLelement* NoteOf(const QTreeWidgetItem* pItem) {
  return pItem ? static_cast<XMLelement*>(pItem->data(0, Qt::UserRole).value<void*>()) : nullptr;
}

}  // namespace

CInternalLinkDialog::CInternalLinkDialog(CNoteTree& tree, const QString& sText, QWidget* pParent)
    : QDialog(pParent), m_tree(tree) {
  setWindowTitle(tr("Internal Hyperlink"));
  m_pFolders = new QComboBox(this);
  for (const auto& pFolder : tree.Folders())
    m_pFolders->addItem(QString::fromStdString(pFolder->FolderName()));
  m_pNotes = new QTreeWidget(this);
  m_pNotes->setHeaderHidden(true);
  m_pNotes->setMinimumWidth(360);
  m_pText = new QLineEdit(sText, this);
  auto* pButtons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  auto* pLayout = new QFormLayout(this);
  pLayout->addRow(tr("&Folder:"), m_pFolders);
  pLayout->addRow(tr("&Note:"), m_pNotes);
  pLayout->addRow(tr("&Text:"), m_pText);
  pLayout->addRow(pButtons);
  // Subnotes are listed when their branch opens: a folder may hold a million notes.
  connect(m_pNotes, &QTreeWidget::itemExpanded, this, &CInternalLinkDialog::ListChildren);
  connect(m_pNotes, &QTreeWidget::currentItemChanged, this, &CInternalLinkDialog::NotePicked);
  m_pFolders->setCurrentIndex(tree.CurrentIndex());
  ListNotes(tree.CurrentIndex());
  PickNote(tree.SelectedNote());
  connect(m_pFolders, &QComboBox::currentIndexChanged, this, &CInternalLinkDialog::ListNotes);
  connect(pButtons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(pButtons, &QDialogButtonBox::accepted, this, &CInternalLinkDialog::AcceptPicked);
}

void CInternalLinkDialog::PickNote(XMLelement* pNote) {
  std::vector<XMLelement*> path;  // from the top level down to pNote
  for (XMLelement* pStep = pNote; pStep;) {
    path.insert(path.begin(), pStep);
    if (!ChosenFolder().FindParent(*pStep, pStep)) return;
  }
  QTreeWidgetItem* pItem = nullptr;
  for (XMLelement* pStep : path) {
    if (pItem) pItem->setExpanded(true);
    const int nCount = pItem ? pItem->childCount() : m_pNotes->topLevelItemCount();
    QTreeWidgetItem* pNext = nullptr;
    for (int n = 0; n < nCount && !pNext; ++n) {
      QTreeWidgetItem* pChild = pItem ? pItem->child(n) : m_pNotes->topLevelItem(n);
      if (NoteOf(pChild) == pStep) pNext = pChild;
    }
    if (!(pItem = pNext)) return;
  }
  if (pItem) m_pNotes->setCurrentItem(pItem);
}

void CInternalLinkDialog::ListNotes(int nFolder) {
  // The place of a note of the folder before is no text for this one.
  if (m_pText->text() == m_sAutoCaption) m_pText->clear();
  m_pNotes->clear();
  auto& folders = m_tree.Folders();
  if (nFolder < 0 || nFolder >= static_cast<int>(folders.Count())) return;
  for (XMLelement* pNote : ShownChildren(folders.At(nFolder), nullptr)) AddNote(*pNote, nullptr);
}

QTreeWidgetItem* CInternalLinkDialog::AddNote(XMLelement& note, QTreeWidgetItem* pParent) {
  auto* pItem = pParent ? new QTreeWidgetItem(pParent) : new QTreeWidgetItem(m_pNotes);
  pItem->setText(0, QString::fromStdString(GetProperty(note, kNameKey)));
  pItem->setData(0, Qt::UserRole, QVariant::fromValue(static_cast<void*>(&note)));
  if (!ShownChildren(ChosenFolder(), &note).empty())
    pItem->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
  return pItem;
}

void CInternalLinkDialog::ListChildren(QTreeWidgetItem* pItem) {
  if (pItem->childCount() > 0) return;
  for (XMLelement* pNote : ShownChildren(ChosenFolder(), NoteOf(pItem))) AddNote(*pNote, pItem);
}

CXMLTree& CInternalLinkDialog::ChosenFolder() const {
  return m_tree.Folders().At(m_pFolders->currentIndex());
}

XMLelement* CInternalLinkDialog::PickedNote() const { return NoteOf(m_pNotes->currentItem()); }

QString CInternalLinkDialog::PlaceOf(const XMLelement& note) const {
  return QString::fromStdString(InternalLinkCaption(ChosenFolder(), note));
}

void CInternalLinkDialog::NotePicked() {
  XMLelement* pNote = PickedNote();
  if (!pNote || (!m_pText->text().isEmpty() && m_pText->text() != m_sAutoCaption)) return;
  m_sAutoCaption = PlaceOf(*pNote);
  m_pText->setText(m_sAutoCaption);
}

QString CInternalLinkDialog::Caption() const {
  if (!m_pText->text().isEmpty()) return m_pText->text();
  if (XMLelement* pNote = PickedNote()) return PlaceOf(*pNote);
  return m_pFolders->currentText();
}

void CInternalLinkDialog::AcceptPicked() {
  XMLelement* pNote = PickedNote();
  std::optional<std::string> link = MakeInternalLink(
      m_tree, m_pFolders->currentIndex(), pNote ? GetProperty(*pNote, kNameKey) : std::string(),
      m_pText->text().toStdString());
  if (!link) return;
  m_sLink = *link;
  accept();
}

}  // namespace orv
