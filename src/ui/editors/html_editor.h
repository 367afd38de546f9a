#pragma once
// The HTML editor: a WYSIWYG view and a source view of the same note, its
// tool bar above them. Switching views carries the edits over: the source
// view shows what would be stored, and edited source shown in the web view
// goes through the cleanup as a paste does. What the user changed in the
// view shown last is what is stored, so nothing typed in either is lost.

#include <QStackedWidget>
#include <functional>
#include <optional>
#include <string>

#include "ui/editors/rich_text_edit.h"
#include "ui/editors/source_view.h"

namespace orv {

class CHtmlToolBar;

class CHtmlEditor : public QWidget {
  Q_OBJECT

 public:
  explicit CHtmlEditor(QWidget* pParent = nullptr);

  CRichTextEdit& Web() { return *m_pWeb; }
  CSourceView& Source() { return *m_pSource; }
  CHtmlToolBar& ToolBar() { return *m_pToolBar; }
  // Cleans HTML before the web view shows it: a paste, edited source.
  void SetCleanup(std::function<QString(const QString&)> clean);

  // Shows a note in the web view: sShown is its HTML cleaned, sStored what
  // the note holds (shown by the source view until the user edits).
  void Load(const QString& sShown, std::string sStored, bool bReadOnly);
  bool IsSourceShown() const { return m_pViews->currentWidget() == m_pSource; }
  void ShowSource(bool bSource);
  // The edit shown: the web view or the source view.
  QWidget& ShownEdit() const;

  // The note's new HTML; none when the user changed nothing.
  std::optional<std::string> EditedHtml() const;
  // The note holds sStored now (none: what it held).
  void MarkStored(const std::optional<std::string>& sStored);

 signals:
  void ViewSwitched();

 private:
  // The HTML the source view starts from: what would be stored now.
  std::string CurrentHtml() const;

  CHtmlToolBar* m_pToolBar;
  QStackedWidget* m_pViews;
  CRichTextEdit* m_pWeb;
  CSourceView* m_pSource;
  std::function<QString(const QString&)> m_clean;
  std::string m_sStored;
  // Source the web view took over (cleaned), stored unless the web view is edited after.
  std::optional<std::string> m_sCarried;
  // The source view was edited since the web view last showed its text.
  bool m_bSourceAhead = false;
};

}  // namespace orv
