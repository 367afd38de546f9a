#include "ui/dialogs/advanced_find_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>

namespace orv {

CAdvancedFindDlg::CAdvancedFindDlg(CNoteTree& tree, CSettingsStore& settings, CEditorPane& editors,
                                   QWidget* pParent)
    : CFindDialog(EFindDialog::Advanced, tree, settings, editors, pParent) {
  setObjectName("CAdvancedFindDlg");
  setWindowTitle(tr("Advanced Find"));
  const SFindDialogState& state = LoadedState();
  m_pIncludeAttach = new QCheckBox(tr("Include &attachments"), this);
  m_pIncludeAttach->setObjectName("includeAttach");
  m_pIncludeAttach->setToolTip(tr("Also match the names of files attached to notes"));
  m_pIncludeAttach->setChecked(state.bIncludeAttachments);
  ChoicesLayout().addWidget(m_pIncludeAttach);

  auto* pScope = new QGroupBox(tr("Search in"), this);
  auto* pGrid = new QGridLayout(pScope);
  auto* pGroup = new QButtonGroup(pScope);
  m_pEverywhere = new QRadioButton(tr("&Everywhere"), pScope);
  m_pEverywhere->setObjectName("scopeEverywhere");
  pGroup->addButton(m_pEverywhere);
  pGrid->addWidget(m_pEverywhere, 0, 0);
  const char* const choices[] = {"Only in Folder name", "Only in Note name", "Only in Text note",
                                 "Only in RTF note", "Only in HTML note"};
  for (size_t i = 0; i < m_onlyIn.size(); ++i) {
    m_onlyIn[i] = new QRadioButton(tr(choices[i]), pScope);
    m_onlyIn[i]->setObjectName(QString("scope%1").arg(i));
    pGroup->addButton(m_onlyIn[i]);
    pGrid->addWidget(m_onlyIn[i], static_cast<int>(i + 1) / 3, static_cast<int>(i + 1) % 3);
  }
  (state.bOnlyIn ? m_onlyIn[static_cast<size_t>(state.nOnlyIn)] : m_pEverywhere)->setChecked(true);
  ChoicesLayout().addWidget(pScope);
}

SFindDialogState CAdvancedFindDlg::CurrentState() const {
  SFindDialogState state = CFindDialog::CurrentState();
  state.bIncludeAttachments = m_pIncludeAttach->isChecked();
  state.bOnlyIn = !m_pEverywhere->isChecked();
  for (size_t i = 0; i < m_onlyIn.size(); ++i)
    if (m_onlyIn[i]->isChecked()) state.nOnlyIn = static_cast<int32_t>(i);
  return state;
}

CFindRunner::CWork CAdvancedFindDlg::Work() {
  const CFolderList& folders = Tree().Folders();
  return [&folders](const CNoteSearch& search, const CHitSink& sink) {
    return search.SearchDocument(folders, sink);
  };
}

}  // namespace orv
