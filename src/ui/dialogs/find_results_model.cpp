#include "ui/dialogs/find_results_model.h"

namespace orv {
namespace {

enum EAdvancedColumn { kFolderColumn, kNoteColumn, kPositionColumn };

// The note's own name: the last step of its path.
QString NoteName(const SFindHit& hit) {
  if (!hit.pNote) return {};
  const size_t nSlash = hit.sPath.rfind('\\');
  return QString::fromStdString(nSlash == std::string::npos ? hit.sPath
                                                            : hit.sPath.substr(nSlash + 1));
}

}  // namespace

void CFindResultsModel::Append(std::vector<SFindHit> hits) {
  if (hits.empty()) return;
  const int nFirst = rowCount();
  beginInsertRows({}, nFirst, nFirst + static_cast<int>(hits.size()) - 1);
  m_hits.insert(m_hits.end(), std::make_move_iterator(hits.begin()),
                std::make_move_iterator(hits.end()));
  endInsertRows();
}

void CFindResultsModel::Clear() {
  beginResetModel();
  m_hits.clear();
  endResetModel();
}

const SFindHit* CFindResultsModel::Hit(int nRow) const {
  return nRow >= 0 && nRow < rowCount() ? &m_hits[static_cast<size_t>(nRow)] : nullptr;
}

int CFindResultsModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(m_hits.size());
}

int CFindResultsModel::columnCount(const QModelIndex& parent) const {
  if (parent.isValid()) return 0;
  return m_eDialog == EFindDialog::FolderNotes ? 1 : 3;
}

QVariant CFindResultsModel::data(const QModelIndex& index, int nRole) const {
  const SFindHit* pHit = Hit(index.row());
  if (!pHit) return {};
  if (nRole == Qt::ToolTipRole) return QString::fromStdString(pHit->sPath);
  if (nRole != Qt::DisplayRole) return {};
  if (m_eDialog == EFindDialog::FolderNotes) return QString::fromStdString(pHit->sPath);
  switch (index.column()) {
    case kFolderColumn:
      return QString::fromStdString(pHit->sFolderName);
    case kNoteColumn:
      return NoteName(*pHit);
    default:
      return pHit->nPosition < 0 ? QVariant() : QVariant(static_cast<qlonglong>(pHit->nPosition));
  }
}

QVariant CFindResultsModel::headerData(int nSection, Qt::Orientation eOrientation,
                                       int nRole) const {
  if (eOrientation != Qt::Horizontal || nRole != Qt::DisplayRole) return {};
  if (m_eDialog == EFindDialog::FolderNotes) return tr("Node name");
  const char* const headings[] = {"Folder", "Note", "Position"};
  return nSection >= 0 && nSection < 3 ? tr(headings[nSection]) : QVariant();
}

}  // namespace orv
