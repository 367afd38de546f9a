#pragma once
// The note tree pane's item model over the core tree. Rows are listed lazily,
// one parent at a time, so a folder of a million notes shows at once; the core
// decides which notes show and how they look, the model only hands that on.

#include <QAbstractItemModel>
#include <optional>
#include <unordered_map>
#include <vector>

#include "tree/note_commands.h"
#include "tree/note_tree.h"

namespace orv {

class CNoteTreeModel : public QAbstractItemModel {
  Q_OBJECT

 public:
  // The MIME type of a note dragged within the pane.
  static constexpr const char* kNoteMimeType = "application/x-orvella-note";

  explicit CNoteTreeModel(CNoteTree& tree, QObject* pParent = nullptr);

  // Lists the rows again from the core. When every list comes out as it was
  // (only the selection or a look changed), the rows stand: re-laying out a
  // huge folder is what makes a click slow. The pane, the model's only view,
  // then repaints its rows itself; announcing every row as changed would
  // cost as much as the relayout. Otherwise the model resets.
  // pSelected: the selected note, the one whose look a command may have changed.
  void Reload(const XMLelement* pSelected);
  XMLelement* Note(const QModelIndex& index) const;
  // Counts the reloads: a note pointer taken before one may be gone.
  uint64_t Generation() const { return m_nGeneration; }
  // The item of a shown note, listing the rows of its ancestors as needed;
  // invalid for a note that is not shown.
  QModelIndex IndexOf(XMLelement* pNote);
  // Every listed note with shown subnotes, and whether the document says
  // its branch is open; parents first.
  std::vector<std::pair<QModelIndex, bool>> Branches();
  // Whether any listed row has a check box: then every row keeps room for
  // one, so that a boxed note lines up with the other notes of its level.
  bool ShowsCheckBoxes() const { return m_bShowsCheckBoxes; }

  QModelIndex index(int nRow, int nColumn, const QModelIndex& parent = {}) const override;
  QModelIndex parent(const QModelIndex& index) const override;
  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  bool hasChildren(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int nRole = Qt::DisplayRole) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int nRole) override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

  Qt::DropActions supportedDropActions() const override;
  QStringList mimeTypes() const override;
  QMimeData* mimeData(const QModelIndexList& indexes) const override;
  bool canDropMimeData(const QMimeData* pData, Qt::DropAction eAction, int nRow, int nColumn,
                       const QModelIndex& parent) const override;
  bool dropMimeData(const QMimeData* pData, Qt::DropAction eAction, int nRow, int nColumn,
                    const QModelIndex& parent) override;

 private:
  struct SPlace {
    XMLelement* pParent = nullptr;
    int nRow = 0;
    // What hasChildren told the view of the row while its subnotes were not
    // listed: the view keeps that answer until it lays the rows out again.
    std::optional<bool> hasChildNotes;
  };
  struct SDropTarget {
    XMLelement* pDragged;
    XMLelement* pNote;
    EDropPlace ePlace;
  };
  const std::vector<XMLelement*>& Children(XMLelement* pParent) const;
  bool ListsStillHold() const;
  // Whether the note shows only because the folder shows hidden notes: it
  // or a note above it is hidden.
  bool IsHidden(XMLelement* pNote) const;
  XMLelement* DraggedNote(const QMimeData* pData) const;
  // Where a drop at nRow of `parent` lands (nRow -1: onto `parent`), or null
  // when it is refused.
  std::optional<SDropTarget> DropTarget(const QMimeData* pData, Qt::DropAction eAction, int nRow,
                                        const QModelIndex& parent) const;

  CNoteTree& m_tree;
  uint64_t m_nGeneration = 0;
  // Filled on demand; `mutable` because Qt asks for rows through const calls.
  mutable std::unordered_map<XMLelement*, std::vector<XMLelement*>> m_children;
  mutable std::unordered_map<const XMLelement*, SPlace> m_places;
  mutable bool m_bShowsCheckBoxes = false;
};

}  // namespace orv
