#pragma once
// The bar under the editors that finds and replaces text in the one shown.
// What was searched for last is offered again while the program runs.

#include <QWidget>

#include "ui/editors/text_find.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace orv {

class CEditorPane;

class CFindBar : public QWidget {
  Q_OBJECT

 public:
  explicit CFindBar(CEditorPane& editors, QWidget* pParent = nullptr);

  // Shows the bar on the text selected (else the text searched for last),
  // with the replace row or without it.
  void Open(bool bReplace);
  // Finds the next match in the direction chosen (bReverse: the other way);
  // opens the bar when there is nothing to find yet.
  void FindNext(bool bReverse);
  void ReplaceOne();
  void ReplaceEvery();

  QLineEdit& FindEdit() { return *m_pFind; }
  QLineEdit& ReplaceEdit() { return *m_pReplace; }
  SFindOptions Options() const;
  QString Status() const;

 protected:
  void keyPressEvent(QKeyEvent* pEvent) override;

 private:
  void Remember();
  void Say(const QString& sText);

  CEditorPane& m_editors;
  QLineEdit* m_pFind;
  QLineEdit* m_pReplace;
  QWidget* m_pReplaceRow;
  QCheckBox* m_pMatchCase;
  QCheckBox* m_pWholeWord;
  QCheckBox* m_pBackward;
  QCheckBox* m_pWrap;
  QPushButton* m_pReplaceOne;
  QPushButton* m_pReplaceAll;
  QLabel* m_pStatus;
};

}  // namespace orv
