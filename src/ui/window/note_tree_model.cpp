#include "ui/window/note_tree_model.h"

#include <QFont>
#include <QMimeData>
#include <QPalette>
#include <QTimer>
#include <algorithm>

#include "model/note_keys.h"
#include "tree/note_appearance.h"
#include "tree/note_commands.h"
#include "ui/dialogs/colour_ref.h"
#include "ui/dialogs/note_icons.h"

namespace orv {

CNoteTreeModel::CNoteTreeModel(CNoteTree& tree, QObject* pParent)
    : QAbstractItemModel(pParent), m_tree(tree) {}

void CNoteTreeModel::Reload(const XMLelement* pSelected) {
  if (!m_children.empty() && ListsStillHold()) {
    // Only the selected note's box can have come: asking every listed note
    // would cost a walk of a big folder. A box that went leaves the room
    // until the rows are listed afresh.
    if (pSelected && HasCheckBox(*pSelected)) m_bShowsCheckBoxes = true;
    return;
  }
  beginResetModel();
  ++m_nGeneration;
  m_children.clear();
  m_places.clear();
  m_bShowsCheckBoxes = false;
  endResetModel();
}

bool CNoteTreeModel::ListsStillHold() const {
  // Top down from the live tree, so only notes that still exist are asked
  // for their subnotes; a listed note that is gone leaves a list unvisited.
  size_t nVisited = 0;
  std::vector<XMLelement*> pending{nullptr};
  while (!pending.empty()) {
    XMLelement* pParent = pending.back();
    pending.pop_back();
    auto listed = m_children.find(pParent);
    if (listed == m_children.end()) continue;
    if (m_tree.ShownChildren(pParent) != listed->second) return false;
    ++nVisited;
    for (XMLelement* pChild : listed->second) {
      if (m_children.count(pChild))
        pending.push_back(pChild);
      else if (const std::optional<bool>& told = m_places.at(pChild).hasChildNotes;
               told && HasChildNotes(*pChild) != *told)
        return false;  // a branch appeared or went where none was listed
    }
  }
  return nVisited == m_children.size();
}

const std::vector<XMLelement*>& CNoteTreeModel::Children(XMLelement* pParent) const {
  auto it = m_children.find(pParent);
  if (it != m_children.end()) return it->second;
  std::vector<XMLelement*> children = m_tree.ShownChildren(pParent);
  for (size_t i = 0; i < children.size(); ++i) {
    m_places[children[i]] = {pParent, static_cast<int>(i), std::nullopt};
    if (HasCheckBox(*children[i])) m_bShowsCheckBoxes = true;
  }
  return m_children.emplace(pParent, std::move(children)).first->second;
}

XMLelement* CNoteTreeModel::Note(const QModelIndex& index) const {
  return index.isValid() ? static_cast<XMLelement*>(index.internalPointer()) : nullptr;
}

QModelIndex CNoteTreeModel::IndexOf(XMLelement* pNote) {
  if (!pNote) return {};
  auto it = m_places.find(pNote);
  if (it == m_places.end()) {
    // Not listed yet: list the rows from the top down along its ancestors.
    XMLelement* pParent = nullptr;
    if (!m_tree.CurrentFolder().FindParent(*pNote, pParent) || !m_tree.IsShown(*pNote)) return {};
    if (pParent && !IndexOf(pParent).isValid()) return {};
    Children(pParent);
    it = m_places.find(pNote);
    if (it == m_places.end()) return {};
  }
  return createIndex(it->second.nRow, 0, pNote);
}

std::vector<std::pair<QModelIndex, bool>> CNoteTreeModel::Branches() {
  std::vector<std::pair<QModelIndex, bool>> branches;
  std::vector<XMLelement*> pending{nullptr};
  while (!pending.empty()) {
    XMLelement* pParent = pending.back();
    pending.pop_back();
    for (XMLelement* pNote : Children(pParent)) {
      const bool bOpen = PropertyIs(*pNote, kExpandKey, "true");
      // Closed branches are not listed: their rows do not exist for the view yet.
      if (!bOpen && !m_children.count(pNote)) continue;
      if (!HasChildNotes(*pNote) || Children(pNote).empty()) continue;
      branches.emplace_back(IndexOf(pNote), bOpen);
      if (bOpen) pending.push_back(pNote);
    }
  }
  return branches;
}

QModelIndex CNoteTreeModel::index(int nRow, int nColumn, const QModelIndex& parent) const {
  if (nColumn != 0 || nRow < 0) return {};
  const std::vector<XMLelement*>& children = Children(Note(parent));
  if (nRow >= static_cast<int>(children.size())) return {};
  return createIndex(nRow, 0, children[nRow]);
}

QModelIndex CNoteTreeModel::parent(const QModelIndex& index) const {
  XMLelement* pNote = Note(index);
  if (!pNote) return {};
  auto it = m_places.find(pNote);
  if (it == m_places.end() || !it->second.pParent) return {};
  auto parentPlace = m_places.find(it->second.pParent);
  if (parentPlace == m_places.end()) return {};
  return createIndex(parentPlace->second.nRow, 0, it->second.pParent);
}

int CNoteTreeModel::rowCount(const QModelIndex& parent) const {
  if (parent.column() > 0) return 0;
  return static_cast<int>(Children(Note(parent)).size());
}

int CNoteTreeModel::columnCount(const QModelIndex&) const { return 1; }

bool CNoteTreeModel::hasChildren(const QModelIndex& parent) const {
  XMLelement* pNote = Note(parent);
  if (!pNote) return true;
  // Cheaper than listing: a branch of only hidden notes shows an empty expander.
  auto it = m_children.find(pNote);
  if (it != m_children.end()) return !it->second.empty();
  const bool bHas = HasChildNotes(*pNote);
  auto place = m_places.find(pNote);
  if (place != m_places.end()) place->second.hasChildNotes = bHas;
  return bHas;
}

bool CNoteTreeModel::IsHidden(XMLelement* pNote) const {
  // A listed note's ancestors are listed too.
  for (; pNote; pNote = m_places.at(pNote).pParent)
    if (ItemLook(*pNote).bHidden) return true;
  return false;
}

QVariant CNoteTreeModel::data(const QModelIndex& index, int nRole) const {
  XMLelement* pNote = Note(index);
  if (!pNote) return {};
  switch (nRole) {
    case Qt::DisplayRole:
    case Qt::EditRole:
      return QString::fromStdString(GetProperty(*pNote, kNameKey));
    case Qt::DecorationRole:
      return NoteIcon(ItemLook(*pNote).nIcon);
    case Qt::ForegroundRole: {
      SItemLook look = ItemLook(*pNote);
      if (look.bCut || IsHidden(pNote)) return QPalette().color(QPalette::Disabled, QPalette::Text);
      if (look.bDropHighlighted) return QPalette().color(QPalette::HighlightedText);
      if (look.textColor) return ToQColor(*look.textColor);
      return {};
    }
    case Qt::BackgroundRole: {
      SItemLook look = ItemLook(*pNote);
      if (look.bDropHighlighted) return QPalette().color(QPalette::Highlight);
      if (look.backgroundColor) return ToQColor(*look.backgroundColor);
      return {};
    }
    case Qt::FontRole: {
      // Only what the note sets: the rest comes from the pane's font.
      const bool bBold = ItemLook(*pNote).bBold;
      const bool bHidden = IsHidden(pNote);
      if (!bBold && !bHidden) return {};
      QFont font;
      if (bBold) font.setBold(true);
      if (bHidden) font.setItalic(true);
      return font;
    }
    case Qt::CheckStateRole:
      switch (ItemLook(*pNote).eCheckBox) {
        case ECheckBox::None:
          return {};
        case ECheckBox::Unticked:
          return Qt::Unchecked;
        case ECheckBox::Ticked:
          return Qt::Checked;
      }
      return {};
    case Qt::ToolTipRole:
      if (std::optional<std::string> hint = HoverHint(m_tree, *pNote))
        return QString::fromStdString(*hint);
      return {};
    default:
      return {};
  }
}

bool CNoteTreeModel::setData(const QModelIndex& index, const QVariant& value, int nRole) {
  XMLelement* pNote = Note(index);
  if (!pNote || nRole != Qt::EditRole) return false;
  OnLabelEdited(m_tree, *pNote, value.toString().toStdString());
  emit dataChanged(index, index);
  return true;
}

Qt::ItemFlags CNoteTreeModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::ItemIsDropEnabled;
  // Not user-checkable: the core decides which click ticks a box.
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable | Qt::ItemIsDragEnabled |
         Qt::ItemIsDropEnabled;
}

Qt::DropActions CNoteTreeModel::supportedDropActions() const {
  return Qt::MoveAction | Qt::CopyAction;
}

QStringList CNoteTreeModel::mimeTypes() const { return {kNoteMimeType}; }

QMimeData* CNoteTreeModel::mimeData(const QModelIndexList& indexes) const {
  if (indexes.isEmpty()) return nullptr;
  auto* pData = new QMimeData;
  pData->setData(kNoteMimeType,
                 QByteArray::number(reinterpret_cast<quintptr>(Note(indexes.front()))));
  return pData;
}

XMLelement* CNoteTreeModel::DraggedNote(const QMimeData* pData) const {
  if (!pData || !pData->hasFormat(kNoteMimeType)) return nullptr;
  // Only a note this pane lists counts: a drag from elsewhere, or from a
  // folder shown before, carries an address that means nothing now.
  // NOLINTNEXTLINE(performance-no-int-to-ptr): looked up, never followed, until found below
  auto* pNote = reinterpret_cast<XMLelement*>(pData->data(kNoteMimeType).toULongLong());
  return m_places.count(pNote) ? pNote : nullptr;
}

std::optional<CNoteTreeModel::SDropTarget> CNoteTreeModel::DropTarget(
    const QMimeData* pData, Qt::DropAction eAction, int nRow, const QModelIndex& parent) const {
  XMLelement* pDragged = DraggedNote(pData);
  if (!pDragged) return std::nullopt;
  SDropTarget target{pDragged, Note(parent), EDropPlace::Onto};
  // A row number means between two rows of `parent`: before the row there,
  // or after the last one.
  if (nRow >= 0) {
    const std::vector<XMLelement*>& siblings = Children(target.pNote);
    if (nRow < static_cast<int>(siblings.size()))
      target = {pDragged, siblings[nRow], EDropPlace::Before};
    else if (!siblings.empty())
      target = {pDragged, siblings.back(), EDropPlace::After};
  }
  if (!target.pNote || !CanDropNote(*pDragged, *target.pNote, eAction == Qt::MoveAction))
    return std::nullopt;
  return target;
}

bool CNoteTreeModel::canDropMimeData(const QMimeData* pData, Qt::DropAction eAction, int nRow, int,
                                     const QModelIndex& parent) const {
  return DropTarget(pData, eAction, nRow, parent).has_value();
}

bool CNoteTreeModel::dropMimeData(const QMimeData* pData, Qt::DropAction eAction, int nRow, int,
                                  const QModelIndex& parent) {
  std::optional<SDropTarget> target = DropTarget(pData, eAction, nRow, parent);
  if (!target) return false;
  bool bMove = eAction == Qt::MoveAction;
  // The core rebuilds the pane, which must not happen inside the view's own
  // drop handling; and the view must not remove the source rows itself, so
  // the drop reports itself as not taken.
  QTimer::singleShot(0, this, [this, nGeneration = m_nGeneration, t = *target, bMove] {
    if (nGeneration == m_nGeneration) DropNote(m_tree, *t.pDragged, *t.pNote, t.ePlace, bMove);
  });
  return false;
}

}  // namespace orv
