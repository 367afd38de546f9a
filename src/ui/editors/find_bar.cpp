#include "ui/editors/find_bar.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

#include "ui/editors/editor_pane.h"

namespace orv {

namespace {

// Searched for and replaced with last, in any window, while the program runs.
QString& RememberedFind() {
  static QString sText;
  return sText;
}
QString& RememberedReplace() {
  static QString sText;
  return sText;
}

}  // namespace

CFindBar::CFindBar(CEditorPane& editors, QWidget* pParent) : QWidget(pParent), m_editors(editors) {
  setObjectName("FindBar");
  auto* pLayout = new QGridLayout(this);
  pLayout->setContentsMargins(4, 2, 4, 2);
  m_pFind = new QLineEdit(this);
  m_pFind->setObjectName("FindText");
  m_pReplace = new QLineEdit(this);
  m_pReplace->setObjectName("ReplaceText");
  m_pMatchCase = new QCheckBox(tr("Match &case"), this);
  m_pWholeWord = new QCheckBox(tr("&Whole word"), this);
  m_pBackward = new QCheckBox(tr("Search &up"), this);
  m_pWrap = new QCheckBox(tr("Wra&p around"), this);
  m_pWrap->setChecked(true);
  auto* pNext = new QPushButton(tr("Find &Next"), this);
  auto* pPrevious = new QPushButton(tr("Find Pre&vious"), this);
  m_pReplaceOne = new QPushButton(tr("&Replace"), this);
  m_pReplaceAll = new QPushButton(tr("Replace &All"), this);
  auto* pClose = new QToolButton(this);
  pClose->setText(QStringLiteral("×"));
  pClose->setToolTip(tr("Close the find bar (Esc)"));
  m_pStatus = new QLabel(this);

  pLayout->addWidget(new QLabel(tr("Find:"), this), 0, 0);
  pLayout->addWidget(m_pFind, 0, 1);
  pLayout->addWidget(pNext, 0, 2);
  pLayout->addWidget(pPrevious, 0, 3);
  pLayout->addWidget(m_pMatchCase, 0, 4);
  pLayout->addWidget(m_pWholeWord, 0, 5);
  pLayout->addWidget(m_pBackward, 0, 6);
  pLayout->addWidget(m_pWrap, 0, 7);
  pLayout->addWidget(pClose, 0, 8);
  m_pReplaceRow = new QLabel(tr("Replace:"), this);
  pLayout->addWidget(m_pReplaceRow, 1, 0);
  pLayout->addWidget(m_pReplace, 1, 1);
  pLayout->addWidget(m_pReplaceOne, 1, 2);
  pLayout->addWidget(m_pReplaceAll, 1, 3);
  pLayout->addWidget(m_pStatus, 1, 4, 1, 5);
  pLayout->setColumnStretch(1, 1);

  connect(m_pFind, &QLineEdit::returnPressed, this, [this] { FindNext(false); });
  connect(m_pReplace, &QLineEdit::returnPressed, this, &CFindBar::ReplaceOne);
  connect(pNext, &QPushButton::clicked, this, [this] { FindNext(false); });
  connect(pPrevious, &QPushButton::clicked, this, [this] { FindNext(true); });
  connect(m_pReplaceOne, &QPushButton::clicked, this, &CFindBar::ReplaceOne);
  connect(m_pReplaceAll, &QPushButton::clicked, this, &CFindBar::ReplaceEvery);
  connect(pClose, &QToolButton::clicked, this, &QWidget::hide);
  hide();
}

void CFindBar::Open(bool bReplace) {
  const QString sSelected = m_editors.TextCursor().selectedText();
  // A selection of several lines is what the search runs through, not its text.
  if (!sSelected.isEmpty() && !sSelected.contains(QChar::ParagraphSeparator))
    m_pFind->setText(sSelected);
  else if (m_pFind->text().isEmpty())
    m_pFind->setText(RememberedFind());
  if (m_pReplace->text().isEmpty()) m_pReplace->setText(RememberedReplace());
  for (QWidget* pReplacing :
       {m_pReplaceRow, static_cast<QWidget*>(m_pReplace), static_cast<QWidget*>(m_pReplaceOne),
        static_cast<QWidget*>(m_pReplaceAll)})
    pReplacing->setVisible(bReplace);
  const bool bCanEdit = m_editors.CanEdit();
  m_pReplaceOne->setEnabled(bCanEdit);
  m_pReplaceAll->setEnabled(bCanEdit);
  Say({});
  show();
  m_pFind->setFocus();
  m_pFind->selectAll();
}

SFindOptions CFindBar::Options() const {
  return {m_pFind->text(), m_pMatchCase->isChecked(), m_pWholeWord->isChecked(),
          m_pBackward->isChecked(), m_pWrap->isChecked()};
}

QString CFindBar::Status() const { return m_pStatus->text(); }

void CFindBar::FindNext(bool bReverse) {
  if (m_pFind->text().isEmpty()) m_pFind->setText(RememberedFind());
  if (m_pFind->text().isEmpty()) return Open(m_pReplace->isVisible());
  const QTextCursor cursor = m_editors.TextCursor();
  if (cursor.isNull()) return;
  Remember();
  SFindOptions options = Options();
  options.bBackward = options.bBackward != bReverse;
  const SFound found = FindText(*cursor.document(), cursor, options);
  if (found.match.isNull()) return Say(tr("\"%1\" was not found.").arg(options.sText));
  m_editors.SetTextCursor(found.match);
  Say(found.bWrapped
          ? (options.bBackward ? tr("Went on from the end.") : tr("Went on from the start."))
          : QString());
}

void CFindBar::ReplaceOne() {
  QTextCursor cursor = m_editors.TextCursor();
  if (cursor.isNull() || !m_editors.CanEdit()) return;
  Remember();
  if (IsMatch(*cursor.document(), cursor, Options())) {
    cursor.insertText(m_pReplace->text());
    m_editors.SetTextCursor(cursor);
  }
  FindNext(false);
}

void CFindBar::ReplaceEvery() {
  const QTextCursor cursor = m_editors.TextCursor();
  if (cursor.isNull() || !m_editors.CanEdit()) return;
  Remember();
  const int nReplaced = ReplaceAll(*cursor.document(), Options(), m_pReplace->text());
  Say(tr("%n replaced.", nullptr, nReplaced));
}

void CFindBar::keyPressEvent(QKeyEvent* pEvent) {
  if (pEvent->key() != Qt::Key_Escape) return QWidget::keyPressEvent(pEvent);
  hide();
  if (QWidget* pEdit = m_editors.ActiveEdit()) pEdit->setFocus();
}

void CFindBar::Remember() {
  RememberedFind() = m_pFind->text();
  RememberedReplace() = m_pReplace->text();
}

void CFindBar::Say(const QString& sText) { m_pStatus->setText(sText); }

}  // namespace orv
