#pragma once
// The hits of a find dialog as its grid shows them: the folder dialog's one
// column "Node name" (the display path), the advanced dialog's "Folder",
// "Note" and "Position". Rows come in batches as the search finds them.

#include <QAbstractTableModel>
#include <vector>

#include "search/find_dialog_state.h"
#include "search/note_search.h"

namespace orv {

class CFindResultsModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  CFindResultsModel(EFindDialog eDialog, QObject* pParent = nullptr)
      : QAbstractTableModel(pParent), m_eDialog(eDialog) {}

  void Append(std::vector<SFindHit> hits);
  void Clear();
  // The hit of a row; null for a row that is none.
  const SFindHit* Hit(int nRow) const;

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int nRole) const override;
  QVariant headerData(int nSection, Qt::Orientation eOrientation, int nRole) const override;

 private:
  EFindDialog m_eDialog;
  std::vector<SFindHit> m_hits;
};

}  // namespace orv
