#pragma once
// The format bar's style box: the named styles of the settings, applied to
// the editor's selection when one is chosen, and a menu to add a style from
// the selection's format, redefine the chosen one or delete it.

#include <QWidget>
#include <memory>

#include "app/style_list.h"

class QComboBox;
class QTextEdit;

namespace orv {

class CStyleBox : public QWidget {
  Q_OBJECT

 public:
  CStyleBox(QTextEdit& edit, CSettingsStore& settings, QWidget* pParent = nullptr);

  QComboBox& Box() { return *m_pBox; }
  // The commands of the menu ("RTF Editor - Add Style", …).
  QList<QAction*> Commands() const;

  void AddStyle();
  void RedefineStyle();
  void DeleteStyle();
  // Applies the style at nIndex to the selection; a style whose records are
  // missing applies nothing, one whose records do not read is reported.
  void ApplyStyle(int nIndex);

 protected:
  bool event(QEvent* pEvent) override;

 private:
  SStyleRecords SelectionRecords() const;
  void ShowList();

  QTextEdit& m_edit;
  CStyleList m_styles;
  QComboBox* m_pBox;
};

}  // namespace orv
