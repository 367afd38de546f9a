#include "ui/editors/html_editor.h"

#include <QVBoxLayout>

#include "ui/editors/html_document_writer.h"
#include "ui/editors/html_tool_bar.h"

namespace orv {

namespace {

// Shows sHtml as a fresh start: nothing to undo, nothing changed.
void LoadWeb(QTextEdit& web, const QString& sHtml) {
  QTextDocument& document = *web.document();
  document.setUndoRedoEnabled(false);
  web.setHtml(sHtml);
  DropClosingLineBreaks(document);
  document.setUndoRedoEnabled(true);
  document.setModified(false);
}

}  // namespace

CHtmlEditor::CHtmlEditor(QWidget* pParent) : QWidget(pParent) {
  m_pViews = new QStackedWidget(this);
  m_pWeb = new CRichTextEdit(m_pViews);
  m_pWeb->setObjectName("HtmlEditor");
  m_pSource = new CSourceView(m_pViews);
  m_pViews->addWidget(m_pWeb);
  m_pViews->addWidget(m_pSource);
  m_pToolBar = new CHtmlToolBar(*m_pWeb, this);
  auto* pLayout = new QVBoxLayout(this);
  pLayout->setContentsMargins(0, 0, 0, 0);
  pLayout->setSpacing(0);
  pLayout->addWidget(m_pToolBar);
  pLayout->addWidget(m_pViews);
  // Typed into the web view after carried source: the web view is what counts.
  connect(m_pWeb->document(), &QTextDocument::modificationChanged, this, [this](bool bChanged) {
    if (bChanged) m_sCarried.reset();
  });
  connect(m_pSource->document(), &QTextDocument::modificationChanged, this,
          [this](bool bChanged) { m_bSourceAhead |= bChanged; });
}

void CHtmlEditor::SetCleanup(std::function<QString(const QString&)> clean) {
  m_clean = clean;
  m_pWeb->CleanPastedHtml(std::move(clean));
}

void CHtmlEditor::Load(const QString& sShown, std::string sStored, bool bReadOnly) {
  m_sStored = std::move(sStored);
  m_sCarried.reset();
  LoadWeb(*m_pWeb, sShown);
  m_pSource->Load({});
  m_bSourceAhead = false;
  m_pWeb->setReadOnly(bReadOnly);
  m_pSource->setReadOnly(bReadOnly);
  m_pToolBar->setEnabled(!bReadOnly);
  m_pViews->setCurrentWidget(m_pWeb);
}

void CHtmlEditor::ShowSource(bool bSource) {
  if (bSource == IsSourceShown()) return;
  const bool bHadFocus = ShownEdit().hasFocus();
  if (bSource) {
    m_pSource->Load(QString::fromStdString(CurrentHtml()));
  } else if (m_bSourceAhead) {
    // As a paste: what the web view takes is what the note then holds.
    const QString sSource = m_pSource->toPlainText();
    const QString sShown = m_clean ? m_clean(sSource) : sSource;
    LoadWeb(*m_pWeb, sShown);
    m_sCarried = sShown.toStdString();
    m_bSourceAhead = false;
  }
  m_pViews->setCurrentWidget(bSource ? static_cast<QWidget*>(m_pSource) : m_pWeb);
  // The tool bar formats the web view; in the source view the user writes tags.
  m_pToolBar->SetSourceShown(bSource);
  if (bHadFocus) ShownEdit().setFocus();
  emit ViewSwitched();
}

QWidget& CHtmlEditor::ShownEdit() const { return *m_pViews->currentWidget(); }

std::string CHtmlEditor::CurrentHtml() const {
  if (m_pWeb->document()->isModified()) return WriteHtmlDocument(*m_pWeb->document());
  return m_sCarried ? *m_sCarried : m_sStored;
}

std::optional<std::string> CHtmlEditor::EditedHtml() const {
  if (IsSourceShown() && m_pSource->document()->isModified())
    return m_pSource->toPlainText().toStdString();
  if (m_pWeb->document()->isModified()) return WriteHtmlDocument(*m_pWeb->document());
  return m_sCarried;
}

void CHtmlEditor::MarkStored(const std::optional<std::string>& sStored) {
  if (sStored) m_sStored = *sStored;
  m_sCarried.reset();
  m_pWeb->document()->setModified(false);
  // Stored: the source view's next change is news again, but the web view
  // still has to take over what it holds.
  m_pSource->document()->setModified(false);
}

}  // namespace orv
