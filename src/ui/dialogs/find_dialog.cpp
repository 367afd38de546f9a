#include "ui/dialogs/find_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "search/pass_to_hit.h"
#include "ui/dialogs/find_results_model.h"
#include "ui/editors/editor_pane.h"

namespace orv {
namespace {

std::string_view HistorySection(EFindDialog eDialog) {
  return eDialog == EFindDialog::FolderNotes ? kFindNodeHistorySection
                                             : kAdvancedFindHistorySection;
}

// The folder dialog searches for notes, the advanced one for nodes (and folders).
const char* Noun(EFindDialog eDialog) {
  return eDialog == EFindDialog::FolderNotes ? "note" : "node";
}

}  // namespace

CFindDialog::CFindDialog(EFindDialog eDialog, CNoteTree& tree, CSettingsStore& settings,
                         CEditorPane& editors, QWidget* pParent)
    : QDialog(pParent),
      m_eDialog(eDialog),
      m_tree(tree),
      m_settings(settings),
      m_editors(editors),
      m_loaded(LoadFindDialogState(settings, eDialog)),
      m_pResults(new CFindResultsModel(eDialog, this)) {
  auto* pLayout = new QVBoxLayout(this);
  auto* pTextRow = new QHBoxLayout;
  m_pText = new QComboBox(this);
  m_pText->setObjectName("findText");
  m_pText->setEditable(true);
  m_pText->setInsertPolicy(QComboBox::NoInsert);
  m_pText->setMinimumContentsLength(30);
  auto* pLabel = new QLabel(tr("Fi&nd what:"), this);
  pLabel->setBuddy(m_pText);
  pTextRow->addWidget(pLabel);
  pTextRow->addWidget(m_pText, 1);
  pLayout->addLayout(pTextRow);

  auto* pBoxes = new QHBoxLayout;
  m_pMatchCase = new QCheckBox(tr("Match &case"), this);
  m_pMatchCase->setObjectName("matchCase");
  m_pMatchCase->setChecked(m_loaded.bMatchCase);
  m_pWholeWord = new QCheckBox(tr("Match &whole word"), this);
  m_pWholeWord->setObjectName("wholeWord");
  m_pWholeWord->setToolTip(tr("The whole name or text must be what you typed"));
  m_pWholeWord->setChecked(m_loaded.bWholeWord);
  pBoxes->addWidget(m_pMatchCase);
  pBoxes->addWidget(m_pWholeWord);
  pBoxes->addStretch();
  pLayout->addLayout(pBoxes);
  m_pChoices = new QVBoxLayout;
  pLayout->addLayout(m_pChoices);

  m_pGrid = new QTableView(this);
  m_pGrid->setObjectName("results");
  m_pGrid->setModel(m_pResults);
  m_pGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
  m_pGrid->setSelectionMode(QAbstractItemView::SingleSelection);
  m_pGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
  m_pGrid->verticalHeader()->hide();
  m_pGrid->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
  m_pGrid->setWordWrap(false);
  // The names take the room; the folder and the position take what they need.
  const int nNameColumn = m_pResults->columnCount() == 1 ? 0 : 1;
  m_pGrid->horizontalHeader()->setSectionResizeMode(nNameColumn, QHeaderView::Stretch);
  m_pGrid->setMinimumHeight(220);
  pLayout->addWidget(m_pGrid, 1);
  m_pStatus = new QLabel(this);
  m_pStatus->setObjectName("status");
  pLayout->addWidget(m_pStatus);

  auto* pButtons = new QHBoxLayout;
  m_pFind = new QPushButton(tr("&Find"), this);
  m_pFind->setObjectName("findButton");
  m_pFind->setDefault(true);
  m_pPass = new QPushButton(tr("&Pass"), this);
  m_pPass->setObjectName("passButton");
  m_pPass->setToolTip(tr("Pass to selected %1").arg(Noun(eDialog)));
  m_pPass->setEnabled(false);
  auto* pClose = new QPushButton(tr("Close"), this);
  pClose->setObjectName("closeButton");
  pClose->setToolTip(tr("Close this dialog"));
  pButtons->addStretch();
  pButtons->addWidget(m_pFind);
  pButtons->addWidget(m_pPass);
  pButtons->addWidget(pClose);
  pLayout->addLayout(pButtons);
  ShowFinished(true);
  m_pStatus->clear();

  connect(m_pFind, &QPushButton::clicked, this, [this] { m_runner.IsRunning() ? Stop() : Find(); });
  connect(m_pPass, &QPushButton::clicked, this, &CFindDialog::Pass);
  connect(pClose, &QPushButton::clicked, this, &QDialog::reject);
  connect(m_pGrid, &QTableView::doubleClicked, this, &CFindDialog::Pass);
  connect(m_pGrid->selectionModel(), &QItemSelectionModel::selectionChanged, this,
          [this] { m_pPass->setEnabled(m_pGrid->selectionModel()->hasSelection()); });
  connect(&m_runner, &CFindRunner::HitsReady, this, &CFindDialog::TakeHits);
  connect(&m_runner, &CFindRunner::Finished, this, &CFindDialog::ShowFinished);

  m_history.Load(settings, HistorySection(eDialog));
  // The advanced dialog comes back to the entry chosen last; 0 is the newest.
  const auto& entries = m_history.Entries();
  const size_t nBack = static_cast<size_t>(m_loaded.nHistorySelection);
  FillHistory(QString::fromStdString(nBack < entries.size() ? entries[entries.size() - 1 - nBack]
                                                            : m_history.Newest()));
  m_pText->lineEdit()->selectAll();
}

CFindDialog::~CFindDialog() { m_runner.Stop(); }

SFindDialogState CFindDialog::CurrentState() const {
  SFindDialogState state = m_loaded;
  state.bMatchCase = m_pMatchCase->isChecked();
  state.bWholeWord = m_pWholeWord->isChecked();
  const auto& entries = m_history.Entries();
  const std::string sText = m_pText->currentText().toStdString();
  for (size_t nBack = 0; nBack < entries.size(); ++nBack)
    if (entries[entries.size() - 1 - nBack] == sText) {
      state.nHistorySelection = static_cast<int32_t>(nBack);
      break;
    }
  return state;
}

void CFindDialog::done(int nResult) {
  m_runner.Stop();
  m_history.Save(m_settings, HistorySection(m_eDialog));
  SaveFindDialogState(m_settings, m_eDialog, CurrentState());
  QDialog::done(nResult);
}

void CFindDialog::FillHistory(const QString& sText) {
  m_pText->clear();
  for (const std::string& sEntry : m_history.DropDownItems())
    m_pText->addItem(QString::fromStdString(sEntry));
  m_pText->setCurrentIndex(-1);
  m_pText->setEditText(sText);
}

void CFindDialog::Find() {
  // The search reads the notes as stored: the open editor's text goes first.
  m_tree.StoreEditorContent();
  SFindRequest request{m_pText->currentText().toStdString(), m_pMatchCase->isChecked(),
                       m_pWholeWord->isChecked(), Scope()};
  // An empty text lists every note; it is not worth a place in the history.
  if (!request.sText.empty()) {
    m_history.Add(request.sText, m_eDialog == EFindDialog::Advanced ? EHistoryRepeat::KeepPlace
                                                                    : EHistoryRepeat::MoveToNewest);
    FillHistory(QString::fromStdString(request.sText));
  }
  m_pResults->Clear();
  m_pPass->setEnabled(false);
  m_lastRequest = request;
  m_pFind->setText(tr("&Stop"));
  m_pFind->setToolTip(tr("Stop this search"));
  m_pStatus->setText(tr("Searching..."));
  m_runner.Start(request, Work());
}

void CFindDialog::Stop() {
  m_runner.Stop();
  TakeHits();
  ShowFinished(false);
}

void CFindDialog::TakeHits() {
  const bool bFirst = m_pResults->rowCount() == 0;
  m_pResults->Append(m_runner.TakeHits());
  if (bFirst && m_pResults->rowCount() > 0) m_pGrid->selectRow(0);
  if (m_runner.IsRunning())
    m_pStatus->setText(tr("Searching... %n found", nullptr, m_pResults->rowCount()));
}

void CFindDialog::ShowFinished(bool bCompleted) {
  TakeHits();
  m_pFind->setText(tr("&Find"));
  m_pFind->setToolTip(tr("Find %1s").arg(Noun(m_eDialog)));
  const int nFound = m_pResults->rowCount();
  if (!bCompleted)
    m_pStatus->setText(tr("Stopped: %n found", nullptr, nFound));
  else
    m_pStatus->setText(nFound ? tr("%n found", nullptr, nFound) : tr("Nothing found"));
}

void CFindDialog::Pass() {
  // The hit's note must not change under a search still reading it.
  if (m_runner.IsRunning()) Stop();
  const QModelIndexList rows = m_pGrid->selectionModel()->selectedRows();
  const SFindHit* pHit = rows.isEmpty() ? nullptr : m_pResults->Hit(rows.front().row());
  if (!pHit || !PassToHit(m_tree, *pHit)) return;
  if (pHit->nPosition >= 0) SelectHitInEditor(m_lastRequest);
  accept();
}

void CFindDialog::SelectHitInEditor(const SFindRequest& request) {
  QTextCursor cursor = m_editors.TextCursor();
  if (cursor.isNull()) return;
  const QString sShown = cursor.document()->toPlainText();
  const std::string sUtf8 = sShown.toStdString();
  const std::optional<STextHit> hit =
      CTextMatcher(request.sText, request.bMatchCase, request.bWholeWord).FindInNoteText(sUtf8);
  if (!hit) return;
  // UTF-8 offsets to the editor's UTF-16 positions.
  const int nStart = QString::fromUtf8(sUtf8.data(), static_cast<qsizetype>(hit->nOffset)).size();
  const int nLength =
      QString::fromUtf8(sUtf8.data() + hit->nOffset, static_cast<qsizetype>(hit->nLength)).size();
  cursor.setPosition(nStart);
  cursor.setPosition(nStart + nLength, QTextCursor::KeepAnchor);
  m_editors.SetTextCursor(cursor);
}

}  // namespace orv
