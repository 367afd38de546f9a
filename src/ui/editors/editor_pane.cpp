#include "ui/editors/editor_pane.h"

#include <QScrollBar>
#include <QTextBlock>
#include <QTimer>
#include <QVBoxLayout>

#include "editors/html_cleanup.h"
#include "editors/html_fragments.h"
#include "model/note_keys.h"
#include "tree/note_protection.h"
#include "ui/editors/html_tool_bar.h"
#include "ui/editors/text_links.h"
#include "ui/rtf/rtf_reader.h"
#include "ui/rtf/rtf_writer.h"

namespace orv {

namespace {

// What the pane shows while no note is open.
constexpr const char* kNoContentText = "No a tree node content!";

// The code page a document's rich text is written in when it names none.
constexpr std::string_view kRtfCodePage = "windows-1252";

EEditorKind KindOfType(const std::string& sType) {
  if (sType == "0" || sType == "3") return EEditorKind::Text;
  if (sType == "1" || sType == "4") return EEditorKind::Html;
  return EEditorKind::Rich;
}

}  // namespace

CEditorPane::CEditorPane(CNoteTree& tree, CSettingsStore& settings, QWidget* pParent)
    : QStackedWidget(pParent), m_tree(tree) {
  m_pEmpty = new QLabel(QString::fromUtf8(kNoContentText), this);
  m_pEmpty->setAlignment(Qt::AlignCenter);
  m_pPlain = new QPlainTextEdit(this);
  m_pPlain->setObjectName("PlainTextEditor");
  m_pRichPage = new QWidget(this);
  m_pRich = new CRichTextEdit(m_pRichPage);
  m_pRich->setObjectName("RichTextEditor");
  m_pFormatBar = new CFormatBar(*m_pRich, settings, m_pRichPage);
  auto* pLayout = new QVBoxLayout(m_pRichPage);
  pLayout->setContentsMargins(0, 0, 0, 0);
  pLayout->setSpacing(0);
  pLayout->addWidget(m_pFormatBar);
  pLayout->addWidget(m_pRich);
  m_pHtml = new CHtmlEditor(this);
  for (QWidget* pPage : {static_cast<QWidget*>(m_pEmpty), static_cast<QWidget*>(m_pPlain),
                         m_pRichPage, static_cast<QWidget*>(m_pHtml)})
    addWidget(pPage);
  connect(m_pRich, &CRichTextEdit::LinkClicked, this, &CEditorPane::LinkClicked);
  connect(FollowLinksIn(*m_pPlain), &CLinkClicks::LinkClicked, this, &CEditorPane::LinkClicked);
  for (QTextDocument* pDocument : {m_pPlain->document(), m_pRich->document(),
                                   m_pHtml->Web().document(), m_pHtml->Source().document()})
    connect(pDocument, &QTextDocument::modificationChanged, this, [this](bool bChanged) {
      if (bChanged && m_pNote) emit Edited();
    });
  connect(&m_pHtml->Web(), &CRichTextEdit::LinkClicked, this, &CEditorPane::LinkClicked);
  connect(&m_pHtml->ToolBar(), &CHtmlToolBar::Refused, this, &CEditorPane::HtmlEditorError);
  m_pHtml->SetCleanup([this](const QString& sHtml) {
    SCleaned cleaned = CleanedHtml(sHtml.toStdString());
    TellRemovedTags(cleaned.sWarning);
    return cleaned.sHtml;
  });
}

CEditorPane::SCleaned CEditorPane::CleanedHtml(const std::string& sHtml) {
  // Before Qt sees it: Qt would apply a <style> and drop a <script> unseen.
  SHtmlCleanup cleanup = CleanHtml(sHtml);
  const QString sWarning = cleanup.sReport.empty()
                               ? QString()
                               : QString::fromStdString(UnsupportedTagsMessage(cleanup.sReport));
  const QString sNotShown =
      cleanup.sNotShown.empty()
          ? QString()
          : tr("This note holds %1, which the HTML editor cannot show; its HTML is kept as "
               "stored unless you edit the note.")
                .arg(QString::fromStdString(cleanup.sNotShown));
  // Nothing removed: Qt reads the note's own bytes, and only an edit
  // writes them anew.
  return {QString::fromStdString(cleanup.bChanged ? cleanup.sHtml : sHtml), sWarning, sNotShown};
}

void CEditorPane::TellRemovedTags(const QString& sWarning) {
  if (sWarning.isEmpty()) return;
  QTimer::singleShot(0, this, [this, sWarning] { emit UnsupportedTagsRemoved(sWarning); });
}

void CEditorPane::ShowNote(XMLelement* pNote) {
  // Shown again after a change to the tree, a note has been warned about.
  const bool bNewNote = pNote != m_pNote;
  m_pNote = nullptr;
  m_pFolder = nullptr;
  m_tree.CurrentFolder().SetOpenNote(pNote);
  if (!pNote) {
    Load(EEditorKind::Empty, {}, true, true);
    return;
  }
  SNoteOpening opening = OpenNote(m_tree, *pNote);
  std::string sContent;
  if (opening.bShowContent) {
    if (CBaseContentNode* pContent = m_tree.CurrentFolder().ContentOf(*pNote))
      sContent = pContent->GetContent();
  }
  const SCleaned cleaned = Load(KindOfType(GetProperty(*pNote, kTypeKey)), sContent,
                                opening.bShowContent, opening.bReadOnly);
  if (bNewNote) TellRemovedTags(cleaned.sWarning);
  if (bNewNote && !cleaned.sNotShown.isEmpty()) emit NotShownWhole(cleaned.sNotShown);
  m_pNote = pNote;
  m_pFolder = &m_tree.CurrentFolder();
  int nScroll = std::atoi(GetProperty(*pNote, kScrollPosKey).c_str());
  int nCaret = std::atoi(GetProperty(*pNote, kCurLineKey).c_str());
  if (nScroll != 0 && nCaret != 0) RestoreScrollAndCaret(nScroll, nCaret);
}

CEditorPane::SCleaned CEditorPane::Load(EEditorKind eKind, const std::string& sContent,
                                        bool bShowContent, bool bReadOnly) {
  m_eKind = eKind;
  if (eKind == EEditorKind::Empty) {
    setCurrentWidget(m_pEmpty);
    return {};
  }
  if (eKind == EEditorKind::Html) {
    SCleaned cleaned{QString::fromUtf8(kHtmlPasswordPage.data(), kHtmlPasswordPage.size()), {}, {}};
    if (bShowContent) cleaned = CleanedHtml(sContent);
    m_pHtml->Load(cleaned.sHtml, bShowContent ? sContent : std::string(kHtmlPasswordPage),
                  bReadOnly || !bShowContent);
    setCurrentWidget(m_pHtml);
    return cleaned;
  }
  WithShownEdit([&](auto& edit) {
    QTextDocument& document = *edit.document();
    // Loading is not an edit: with undo on, Ctrl+Z would take the loaded
    // text away piece by piece. Turning it back on starts an empty history.
    document.setUndoRedoEnabled(false);
    if (!bShowContent)
      edit.setPlainText(QString::fromUtf8(kPasswordPlaceholder));
    else if (eKind == EEditorKind::Rich)
      ReadRtf(sContent, document, kRtfCodePage);
    else
      edit.setPlainText(QString::fromStdString(sContent));
    edit.setReadOnly(bReadOnly);
    document.setUndoRedoEnabled(true);
    document.setModified(false);
  });
  if (eKind == EEditorKind::Rich) {
    m_pFormatBar->setEnabled(!bReadOnly);
    // A caret that stays at the start moves no signal: the bar would go on
    // showing the note before (or the size list's first entry).
    m_pFormatBar->ShowCurrentFormat();
  }
  setCurrentWidget(eKind == EEditorKind::Rich ? m_pRichPage : ActiveEdit());
  return {};
}

void CEditorPane::Store() {
  // A note of another folder (the folder was switched or deleted since), or
  // one deleted since it was shown, is not ours to write to any more.
  if (!m_pNote || m_pFolder != &m_tree.CurrentFolder() || m_pFolder->OpenNote() != m_pNote) return;
  auto [nScroll, nCaret] = ScrollAndCaret();
  // Every refresh stores: an unchanged note costs no copy of its text.
  const std::optional<std::string> sEdited = EditedText();
  StoreEditorTextBack(m_tree, *m_pNote, sEdited, nScroll, nCaret);
  // Stored: the next change is news again (the window marks its title by it).
  if (m_eKind == EEditorKind::Html)
    m_pHtml->MarkStored(sEdited);
  else
    WithShownEdit([](auto& edit) { edit.document()->setModified(false); });
}

void CEditorPane::Forget() {
  m_pNote = nullptr;
  m_pFolder = nullptr;
  Load(EEditorKind::Empty, {}, true, true);
}

std::optional<std::string> CEditorPane::EditedText() const {
  switch (m_eKind) {
    case EEditorKind::Text:
      if (m_pPlain->document()->isModified()) {
        QString sText = m_pPlain->toPlainText();
        // Notes written on Windows end their lines with CR LF; keep it so.
        const CBaseContentNode* pContent = m_tree.CurrentFolder().ContentOf(*m_pNote);
        if (pContent && pContent->CachedContent().find("\r\n") != std::string::npos)
          sText.replace("\n", "\r\n");
        return sText.toStdString();
      }
      break;
    case EEditorKind::Rich:
      if (m_pRich->document()->isModified()) return WriteRtf(*m_pRich->document(), kRtfCodePage);
      break;
    case EEditorKind::Html:
      return m_pHtml->EditedHtml();
    case EEditorKind::Empty:
      break;
  }
  return std::nullopt;
}

QWidget* CEditorPane::ActiveEdit() const {
  switch (m_eKind) {
    case EEditorKind::Text:
      return m_pPlain;
    case EEditorKind::Rich:
      return m_pRich;
    case EEditorKind::Html:
      return &m_pHtml->ShownEdit();
    case EEditorKind::Empty:
      return nullptr;
  }
  return nullptr;
}

std::string CEditorPane::SelectedText() const {
  QString sText;
  WithShownEdit([&](auto& edit) { sText = edit.textCursor().selectedText(); });
  // Qt marks paragraph ends in a selection with U+2029.
  return sText.replace(QChar::ParagraphSeparator, '\n').toStdString();
}

void CEditorPane::InsertText(const QString& sText) {
  WithShownEdit([&](auto& edit) { edit.textCursor().insertText(sText); });
}

QTextCursor CEditorPane::TextCursor() const {
  QTextCursor cursor;
  WithShownEdit([&](auto& edit) { cursor = edit.textCursor(); });
  return cursor;
}

void CEditorPane::SetTextCursor(const QTextCursor& cursor) {
  WithShownEdit([&](auto& edit) {
    edit.setTextCursor(cursor);
    edit.ensureCursorVisible();
  });
}

bool CEditorPane::CanEdit() const {
  bool bCan = false;
  WithShownEdit([&](auto& edit) { bCan = !edit.isReadOnly(); });
  return bCan && m_pNote;
}

std::pair<int, int> CEditorPane::ScrollAndCaret() const {
  std::pair<int, int> position{0, 0};
  WithShownEdit([&](auto& edit) {
    position = {edit.verticalScrollBar()->value(), edit.textCursor().blockNumber() + 1};
  });
  return position;
}

void CEditorPane::RestoreScrollAndCaret(int nScroll, int nCaretLine) {
  WithShownEdit([&](auto& edit) {
    QTextBlock block = edit.document()->findBlockByNumber(nCaretLine - 1);
    if (block.isValid()) edit.setTextCursor(QTextCursor(block));
    edit.verticalScrollBar()->setValue(nScroll);
  });
}

}  // namespace orv
