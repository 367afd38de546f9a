#pragma once
// The Internal Hyperlink dialog: the user picks a folder, then a note from
// that folder's tree (listed as the tree pane lists it), and the text the
// link shows.

#include <QDialog>
#include <string>

#include "tree/note_tree.h"

class QComboBox;
class QLineEdit;
class QTreeWidget;
class QTreeWidgetItem;

namespace orv {

class CInternalLinkDialog : public QDialog {
  Q_OBJECT

 public:
  // sText, the editor's selection, is what the link shows; without one it
  // shows the place of the note picked.
  CInternalLinkDialog(CNoteTree& tree, const QString& sText, QWidget* pParent = nullptr);

  // After OK: the link, and what it shows.
  const std::string& Link() const { return m_sLink; }
  QString Caption() const;

  QComboBox& Folders() { return *m_pFolders; }
  QTreeWidget& Notes() { return *m_pNotes; }

 private:
  void ListNotes(int nFolder);
  QTreeWidgetItem* AddNote(XMLelement& note, QTreeWidgetItem* pParent);
  void ListChildren(QTreeWidgetItem* pItem);
  // Makes a note of the chosen folder the current item, its branch open.
  void PickNote(XMLelement* pNote);
  CXMLTree& ChosenFolder() const;
  XMLelement* PickedNote() const;
  QString PlaceOf(const XMLelement& note) const;
  void NotePicked();
  void AcceptPicked();

  CNoteTree& m_tree;
  QComboBox* m_pFolders;
  QTreeWidget* m_pNotes;
  QLineEdit* m_pText;
  QString m_sAutoCaption;  // the text filled in for the picked note, not typed by the user
  std::string m_sLink;
};

}  // namespace orv
