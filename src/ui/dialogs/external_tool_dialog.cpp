#include "ui/dialogs/external_tool_dialog.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QTableWidget>
#include <QVBoxLayout>

#include "ports/confirm.h"
#include "ports/settings_store.h"
#include "ui/dialogs/accel_map_dialog.h"

namespace orv {

namespace {

constexpr char kSection[] = "CExternalToolDlg";
enum EColumn { kTitle, kCommand, kArguments, kHotKey };

// With "All Exetables" chosen, the file dialog shows folders and programs.
class CProgramsOnly : public QSortFilterProxyModel {
 public:
  using QSortFilterProxyModel::QSortFilterProxyModel;
  bool m_bOn = true;

 protected:
  bool filterAcceptsRow(int nRow, const QModelIndex& parent) const override {
    if (!m_bOn) return true;
    const QModelIndex index = sourceModel()->index(nRow, 0, parent);
    const QFileInfo info(index.data(QFileSystemModel::FilePathRole).toString());
    return info.isDir() || info.isExecutable();
  }
};

}  // namespace

CExternalToolDialog::CExternalToolDialog(std::vector<CExternalTool> tools, CUiPort& ui,
                                         CSettingsStore& settings, QWidget* pParent)
    : QDialog(pParent), m_tools(std::move(tools)), m_ui(ui), m_settings(settings) {
  setObjectName("CExternalToolDlg");
  setWindowTitle(tr("External Tools"));
  m_pGrid = new QTableWidget(0, 4, this);
  m_pGrid->setHorizontalHeaderLabels({tr("Title"), tr("Command"), tr("Arguments"), tr("Hotkey")});
  m_pGrid->horizontalHeader()->setStretchLastSection(true);
  m_pGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
  m_pGrid->setSelectionMode(QAbstractItemView::SingleSelection);
  connect(m_pGrid, &QTableWidget::cellChanged, this, &CExternalToolDialog::TakeEdit);

  auto* pButtons = new QVBoxLayout;
  const std::pair<QString, QString> kButtons[] = {
      {tr("&Add"), tr("Add new item")},
      {tr("&Delete"), tr("Delete current item")},
      {tr("Delete A&ll"), tr("Delete all items")},
      {tr("&Up"), tr("Move item up")},
      {tr("Do&wn"), tr("Move item down")},
      {tr("C&hoose..."), tr("Choose command")},
      {tr("&Close"), tr("Close this dialog")},
  };
  const std::function<void()> kActions[] = {
      [this] { AddItem(); }, [this] { DeleteItem(); }, [this] { DeleteAll(); },
      [this] { Move(-1); },  [this] { Move(1); },      [this] { ChooseCommand(); },
      [this] { accept(); },
  };
  for (size_t i = 0; i < std::size(kButtons); ++i) {
    auto* pButton = new QPushButton(kButtons[i].first, this);
    pButton->setToolTip(kButtons[i].second);
    connect(pButton, &QPushButton::clicked, this, kActions[i]);
    pButtons->addWidget(pButton);
  }
  pButtons->addStretch();
  auto* pLayout = new QHBoxLayout(this);
  pLayout->addWidget(m_pGrid, 1);
  pLayout->addLayout(pButtons);
  resize(760, 360);
  Fill();
  const int nRow = static_cast<int>(m_settings.GetInt(kSection, "SelectedRow", 0));
  if (nRow >= 0 && nRow < m_pGrid->rowCount()) m_pGrid->selectRow(nRow);
}

CExternalToolDialog::~CExternalToolDialog() {
  m_settings.SetInt(kSection, "SelectedRow", std::max(0, SelectedRow()));
}

int CExternalToolDialog::SelectedRow() const {
  const QList<QTableWidgetSelectionRange> ranges = m_pGrid->selectedRanges();
  return ranges.isEmpty() ? -1 : ranges.first().topRow();
}

void CExternalToolDialog::Fill() {
  const QSignalBlocker block(m_pGrid);
  m_pGrid->setRowCount(static_cast<int>(m_tools.size()));
  for (int nRow = 0; nRow < m_pGrid->rowCount(); ++nRow) {
    const CExternalTool& tool = m_tools[static_cast<size_t>(nRow)];
    int nColumn = 0;
    for (const std::string* pText : {&tool.sTitle, &tool.sCommand, &tool.sArguments})
      m_pGrid->setItem(nRow, nColumn++, new QTableWidgetItem(QString::fromStdString(*pText)));
    auto* pKey = new CKeyboardEdit(m_pGrid);
    pKey->setText(QString::fromStdString(tool.sHotKeyText));
    connect(pKey, &CKeyboardEdit::CombinationChanged, this, [this, pKey, nRow] {
      if (auto combination = pKey->Combination())
        m_tools[static_cast<size_t>(nRow)].SetHotKey(*combination);
    });
    m_pGrid->setCellWidget(nRow, kHotKey, pKey);
  }
}

void CExternalToolDialog::TakeEdit(int nRow, int nColumn) {
  if (nRow < 0 || static_cast<size_t>(nRow) >= m_tools.size()) return;
  CExternalTool& tool = m_tools[static_cast<size_t>(nRow)];
  std::string* pFields[] = {&tool.sTitle, &tool.sCommand, &tool.sArguments};
  if (nColumn < kHotKey) *pFields[nColumn] = m_pGrid->item(nRow, nColumn)->text().toStdString();
}

void CExternalToolDialog::AddItem() {
  CExternalTool tool;
  tool.sTitle = "External Tool #" + std::to_string(m_tools.size());
  m_tools.push_back(std::move(tool));
  Fill();
  m_pGrid->selectRow(static_cast<int>(m_tools.size()) - 1);
}

void CExternalToolDialog::DeleteItem() {
  const int nRow = SelectedRow();
  if (nRow < 0) return;
  m_tools.erase(m_tools.begin() + nRow);
  Fill();
  if (!m_tools.empty()) m_pGrid->selectRow(std::min(nRow, static_cast<int>(m_tools.size()) - 1));
}

void CExternalToolDialog::DeleteAll() {
  if (m_tools.empty() || !Confirm(m_ui, m_settings, "Are you sure to delete all external tools ?",
                                  "ExtTools", "Question"))
    return;
  m_tools.clear();
  Fill();
}

void CExternalToolDialog::Move(int nBy) {
  const int nRow = SelectedRow();
  const int nTo = nRow + nBy;
  if (nRow < 0 || nTo < 0 || nTo >= static_cast<int>(m_tools.size())) return;
  std::swap(m_tools[static_cast<size_t>(nRow)], m_tools[static_cast<size_t>(nTo)]);
  Fill();
  m_pGrid->selectRow(nTo);
}

void CExternalToolDialog::ChooseCommand() {
  const int nRow = SelectedRow();
  if (nRow < 0) return;
  QFileDialog dialog(this, tr("Open file"));
  dialog.setOption(QFileDialog::DontUseNativeDialog);  // the filter below needs Qt's own
  dialog.setFileMode(QFileDialog::ExistingFile);
  const QString sPrograms = tr("All Exetables (*)");
  dialog.setNameFilters({sPrograms, tr("All files (*)")});
  auto* pFilter = new CProgramsOnly(&dialog);
  dialog.setProxyModel(pFilter);
  connect(&dialog, &QFileDialog::filterSelected, &dialog, [pFilter, sPrograms](const QString& s) {
    pFilter->m_bOn = s == sPrograms;
    pFilter->invalidate();
  });
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
  m_tools[static_cast<size_t>(nRow)].sCommand = dialog.selectedFiles().first().toStdString();
  Fill();
  m_pGrid->selectRow(nRow);
}

}  // namespace orv
