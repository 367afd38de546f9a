#pragma once
// The right-hand pane: the editor the selected note's type chooses (plain
// text, rich text with its format bar, HTML), or an empty view. It loads a
// note as the core's protection rules say and stores it back only when the
// user changed it, so an unchanged note keeps its bytes and its time.

#include <QLabel>
#include <QPlainTextEdit>
#include <QStackedWidget>
#include <optional>
#include <string>

#include "tree/note_tree.h"
#include "ui/editors/format_bar.h"
#include "ui/editors/html_editor.h"
#include "ui/editors/rich_text_edit.h"

namespace orv {

enum class EEditorKind { Empty, Text, Rich, Html };

class CEditorPane : public QStackedWidget {
  Q_OBJECT

 public:
  CEditorPane(CNoteTree& tree, CSettingsStore& settings, QWidget* pParent = nullptr);

  // Shows a note of the current folder (none for null). The note shown
  // before is not stored: the core stores first when it should.
  void ShowNote(XMLelement* pNote);
  // Writes the open editor's state back into its note.
  void Store();
  // Forgets the open note without storing (its document is going away).
  void Forget();

  XMLelement* OpenNoteElement() const { return m_pNote; }
  EEditorKind Kind() const { return m_eKind; }
  // The editor with the focus's job: the plain, rich text or HTML edit shown
  // (the HTML editor's web or source view), or null.
  QWidget* ActiveEdit() const;
  std::string SelectedText() const;
  // Replaces the selection as the user would type it (date insertion, links).
  void InsertText(const QString& sText);
  // The caret and selection of the edit shown (a null cursor for none).
  QTextCursor TextCursor() const;
  // Moves the caret of the edit shown and scrolls it into view.
  void SetTextCursor(const QTextCursor& cursor);
  // Whether the program may change the text shown: an edit is shown and the
  // note is not read-only (a program's change would go past that).
  bool CanEdit() const;

  QPlainTextEdit& PlainEdit() { return *m_pPlain; }
  CRichTextEdit& RichEdit() { return *m_pRich; }
  CRichTextEdit& HtmlEdit() { return m_pHtml->Web(); }
  CHtmlEditor& HtmlEditor() { return *m_pHtml; }
  CFormatBar& FormatBar() { return *m_pFormatBar; }

 signals:
  void LinkClicked(const QString& sLink);
  // The user changed the open note's text (it is stored later).
  void Edited();
  // HTML of a note or a paste held tags the HTML editor does not take; they
  // were removed before it showed. sMessage says which.
  void UnsupportedTagsRemoved(const QString& sMessage);
  // A command of the HTML editor could not run here; sMessage says why.
  void HtmlEditorError(const QString& sMessage);
  // The note holds HTML the HTML editor cannot show all of (sMessage says
  // what); it keeps its HTML as stored unless the user edits it.
  void NotShownWhole(const QString& sMessage);

 private:
  // Calls run with the edit shown (plain or rich text; none for the empty
  // view): the two share no base class that has a caret.
  template <typename FRun>
  void WithShownEdit(FRun&& run) const {
    switch (m_eKind) {
      case EEditorKind::Text:
        run(*m_pPlain);
        break;
      case EEditorKind::Rich:
        run(*m_pRich);
        break;
      case EEditorKind::Html:
        if (m_pHtml->IsSourceShown())
          run(m_pHtml->Source());
        else
          run(m_pHtml->Web());
        break;
      case EEditorKind::Empty:
        break;
    }
  }
  struct SCleaned {
    QString sHtml;      // what the HTML editor may show of it
    QString sWarning;   // about what was removed (empty when nothing was)
    QString sNotShown;  // about what it keeps but cannot show (empty for nothing)
  };
  static SCleaned CleanedHtml(const std::string& sHtml);
  // Says what was removed once what is left shows, not in the middle of showing it.
  void TellRemovedTags(const QString& sWarning);
  // Returns what the HTML cleanup found (nothing for the other kinds).
  SCleaned Load(EEditorKind eKind, const std::string& sContent, bool bShowContent, bool bReadOnly);
  // The open editor's text as the note stores it; none when the user did not change it.
  std::optional<std::string> EditedText() const;
  std::pair<int, int> ScrollAndCaret() const;
  void RestoreScrollAndCaret(int nScroll, int nCaretLine);

  CNoteTree& m_tree;
  QLabel* m_pEmpty;
  QPlainTextEdit* m_pPlain;
  QWidget* m_pRichPage;
  CRichTextEdit* m_pRich;
  CFormatBar* m_pFormatBar;
  CHtmlEditor* m_pHtml;
  EEditorKind m_eKind = EEditorKind::Empty;
  XMLelement* m_pNote = nullptr;
  const CXMLTree* m_pFolder = nullptr;
};

}  // namespace orv
