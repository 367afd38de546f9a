#pragma once
// The HTML editor's tool bar: character styles, alignment, lists, indent,
// colour, block format, hyperlink, picture, horizontal lines and the table
// commands, acting on the web view. Its keys (Ctrl+B, Ctrl+L, …) work while
// that view has the focus. A command that cannot run says why through Refused.

#include <QToolBar>
#include <functional>

#include "editors/html_table_rules.h"

class QComboBox;
class QTextCharFormat;

namespace orv {

class CRichTextEdit;

class CHtmlToolBar : public QToolBar {
  Q_OBJECT

 public:
  explicit CHtmlToolBar(CRichTextEdit& web, QWidget* pParent = nullptr);

  // The actions by their command names ("HTML Editor - Bold", …).
  QAction* Action(const QString& sName) const;
  // In the source view the user writes the tags: the buttons rest.
  void SetSourceShown(bool bSource);

  void InsertTable();
  void InsertPicture();
  void RunTableCommand(ETableCommand eCommand);
  void InsertRule();
  // The width of the line at the caret, asked for; refused off a line.
  void EditRuleProperties();

 signals:
  void Refused(const QString& sMessage);

 private:
  QAction* AddAction(const char* pName, const QString& sText, const QString& sGlyph,
                     const char* pKey, std::function<void()> run, bool bCheckable = false);
  void AddTableMenu();
  void AddRuleMenu();
  void MergeFormat(const QTextCharFormat& format);
  void ToggleList(int nStyle);
  void Indent(int nDelta);
  void SetBlockFormat(int nIndex);
  void InsertHyperlink();
  void ShowCurrentFormat();

  CRichTextEdit& m_web;
  QComboBox* m_pBlockFormat;
};

}  // namespace orv
