// The "&Edit" menu: the editors' clipboard commands, the Advanced operations
// on the selection, Go To Line, Track Clipboard and Find.

#include <QApplication>
#include <QMenuBar>
#include <QMessageBox>
#include <QTextBlock>

#include "editors/calculator.h"
#include "editors/go_to_line.h"
#include "editors/text_case.h"
#include "editors/text_lines.h"
#include "editors/web_addresses.h"
#include "ui/dialogs/advanced_find_dialog.h"
#include "ui/dialogs/go_to_line_dialog.h"
#include "ui/editors/editor_pane.h"
#include "ui/editors/find_bar.h"
#include "ui/editors/selection_edit.h"
#include "ui/window/main_window.h"
#include "ui/window/menu_builder.h"
#include "ui/window/note_tree_view.h"

namespace orv {

namespace {

struct SOperation {
  const char* pName;
  const char* pText;
  std::string (*apply)(std::string_view);
};

constexpr SOperation kCaseOperations[] = {
    {"Edit - Advanced - Case - Lowercase", "&Lowercase", LowercaseText},
    {"Edit - Advanced - Case - Uppercase", "&Uppercase", UppercaseText},
    {"Edit - Advanced - Case - Capitalize", "&Capitalize", CapitalizeText},
    {"Edit - Advanced - Case - Sentencize", "&Sentencize", SentencizeText},
    {"Edit - Advanced - Case - Invert Case", "&Invert Case", InvertCaseText},
};

// The rich-text editor's context menu names the case commands its own way.
constexpr const char* kCaseContextTexts[] = {"Lower case", "Upper case", "Capitalize", "Sentencize",
                                             "Invert case"};

constexpr SOperation kLineOperations[] = {
    {"Edit - Advanced - Operations - Join Selected Lines", "&Join Selected Lines",
     JoinSelectedLines},
    {"Edit - Advanced - Operations - Sort Selected Lines", "&Sort Selected Lines",
     SortSelectedLines},
    {"Edit - Advanced - Operations - Tabify Selection", "&Tabify Selection", TabifySelection},
    {"Edit - Advanced - Operations - Untabify Selection", "&Untabify Selection", UntabifySelection},
    {"Edit - Advanced - Operations - Reverse Selected Text", "&Reverse Selected Text",
     ReverseSelectedText},
    {"Edit - Advanced - Operations - Extract Web/Proxy Addresses from Selected",
     "&Extract Web/Proxy Addresses from Selected", ExtractWebAddresses},
};

constexpr const char* kGoToLineCommand = "Edit - Advanced - Case - Go To Line";

// Tabify and Untabify leave their lines selected, so they can be repeated.
bool Reselects(std::string (*apply)(std::string_view)) {
  return apply == TabifySelection || apply == UntabifySelection;
}

}  // namespace

void CMenuBuilder::BuildEditMenu() {
  QMenu* pEdit = m_window.menuBar()->addMenu(QObject::tr("&Edit"));
  auto hasEditor = [this] { return m_window.Editors().ActiveEdit() != nullptr; };
  struct SEditCommand {
    const char* pName;
    const char* pText;
    const char* pSlot;
  };
  for (const SEditCommand& command :
       {SEditCommand{"Edit - Undo", "&Undo", "undo"}, SEditCommand{"Edit - Redo", "&Redo", "redo"},
        SEditCommand{"Edit - Cut", "Cu&t", "cut"}, SEditCommand{"Edit - Copy", "&Copy", "copy"},
        SEditCommand{"Edit - Paste", "&Paste", "paste"},
        SEditCommand{"Edit - Select All", "Select &All", "selectAll"}}) {
    const char* pSlot = command.pSlot;
    Add(
        pEdit, command.pName, QObject::tr(command.pText), [this, pSlot] { RunInEditor(pSlot); },
        hasEditor, {}, EScope::Editor);
  }
  pEdit->addSeparator();
  BuildFindMenu(pEdit);
  pEdit->addSeparator();
  BuildEditAdvancedMenu(pEdit);
  BuildRichTextContextMenu();
}

void CMenuBuilder::BuildEditAdvancedMenu(QMenu* pEdit) {
  QMenu* pAdvanced = pEdit->addMenu(QObject::tr("Ad&vanced"));
  auto hasSelection = [this] { return m_window.Editors().TextCursor().hasSelection(); };
  auto hasEditor = [this] { return m_window.Editors().ActiveEdit() != nullptr; };
  auto add = [&](QMenu* pMenu, const SOperation& operation, const std::function<bool()>& enabled) {
    auto apply = operation.apply;
    Add(
        pMenu, operation.pName, QObject::tr(operation.pText),
        [this, apply] { ApplyToSelection(apply, Reselects(apply)); }, enabled, {}, EScope::Editor);
  };
  QMenu* pCase = pAdvanced->addMenu(QObject::tr("&Case"));
  for (const SOperation& operation : kCaseOperations) add(pCase, operation, hasSelection);
  add(pAdvanced,
      {"Edit - Advanced - Delete Horizontal White Space", "&Delete Horizontal White Space",
       DeleteHorizontalWhiteSpace},
      hasSelection);
  Add(
      pAdvanced, kGoToLineCommand, QObject::tr("&Go To Line..."), [this] { GoToLine(); },
      [this] {
        const EEditorKind eKind = m_window.Editors().Kind();
        return eKind == EEditorKind::Text || eKind == EEditorKind::Rich;
      },
      {}, EScope::Editor);
  QMenu* pOperations = pAdvanced->addMenu(QObject::tr("&Operations"));
  for (const SOperation& operation : kLineOperations) add(pOperations, operation, hasEditor);
  Add(
      pOperations, "Edit - Advanced - Operations - Calculate Selected Expression",
      QObject::tr("&Calculate Selected Expression"), [this] { CalculateSelection(); }, hasEditor,
      {}, EScope::Editor);
  pAdvanced->addSeparator();
  Add(
      pAdvanced, "Edit - Advanced - Track Clipboard", QObject::tr("Track Clipb&oard"),
      [this] { m_window.ToggleTrackClipboard(); }, {},
      [this] { return m_window.IsTrackingClipboard(); });
}

void CMenuBuilder::BuildFindMenu(QMenu* pEdit) {
  CFindBar& bar = m_window.FindBar();
  auto hasEditor = [this] { return m_window.Editors().ActiveEdit() != nullptr; };
  struct SFindCommand {
    const char* pName;
    const char* pText;
    std::function<void()> run;
  };
  const SFindCommand commands[] = {
      {"Edit - Find - Select All", "&Find...", [&bar] { bar.Open(false); }},
      {"Edit - Find - Replace", "R&eplace...", [&bar] { bar.Open(true); }},
      {"Edit - Find - Find Next", "Find &Next", [&bar] { bar.FindNext(false); }},
      {"Edit - Find - Find Previous", "Find Pre&vious", [&bar] { bar.FindNext(true); }},
  };
  for (const SFindCommand& command : commands) {
    QAction* pAction = Add(pEdit, command.pName, QObject::tr(command.pText), command.run, hasEditor,
                           {}, EScope::Editor);
    // Its keys work in the bar too, F3 above all.
    bar.addAction(pAction);
  }
  // Every folder's notes: it needs no editor.
  Add(pEdit, "Edit - Find - Advanced Find", QObject::tr("A&dvanced Find..."), [this] {
    CAdvancedFindDlg dialog(m_tree, m_window.Settings(), m_window.Editors(), &m_window);
    // The folder's remembered scroll may hide the note passed to.
    if (dialog.exec() == QDialog::Accepted) m_window.TreeView().ShowSelected(m_tree.SelectedNote());
  });
}

void CMenuBuilder::BuildRichTextContextMenu() {
  CRichTextEdit& rich = m_window.Editors().RichEdit();
  rich.setContextMenuPolicy(Qt::CustomContextMenu);
  QObject::connect(&rich, &QWidget::customContextMenuRequested, &rich, [this, &rich](QPoint at) {
    std::unique_ptr<QMenu> pMenu(rich.createStandardContextMenu());
    pMenu->addSeparator();
    const bool bCanChange = rich.textCursor().hasSelection() && m_window.Editors().CanEdit();
    auto addCommand = [&](const char* pName, const QString& sText, bool bEnabled) {
      QAction* pCommand = Command(pName);
      QAction* pItem =
          pMenu->addAction(sText + '\t' + pCommand->shortcut().toString(QKeySequence::NativeText),
                           pCommand, &QAction::trigger);
      pItem->setEnabled(bEnabled);
    };
    for (size_t i = 0; i < std::size(kCaseOperations); ++i)
      addCommand(kCaseOperations[i].pName, QObject::tr(kCaseContextTexts[i]), bCanChange);
    addCommand(kGoToLineCommand, QObject::tr("Go to ..."), true);
    pMenu->exec(rich.viewport()->mapToGlobal(at));
  });
}

void CMenuBuilder::ApplyToSelection(std::string (*apply)(std::string_view), bool bReselect) {
  CEditorPane& editors = m_window.Editors();
  const QTextCursor cursor = editors.TextCursor();
  if (!cursor.hasSelection() || !editors.CanEdit()) return;
  editors.SetTextCursor(ReplaceSelection(cursor, apply(SelectionText(cursor)), bReselect));
}

void CMenuBuilder::CalculateSelection() {
  CEditorPane& editors = m_window.Editors();
  const QTextCursor cursor = editors.TextCursor();
  if (cursor.isNull()) return;
  const SCalculation result = CalculateSelectedExpression(SelectionText(cursor));
  if (result.eOutcome != SCalculation::EOutcome::kReplace) {
    QMessageBox box(QMessageBox::NoIcon, QApplication::applicationName(),
                    QString::fromStdString(result.sText), QMessageBox::Ok, &m_window);
    box.exec();
    return;
  }
  if (cursor.hasSelection() && editors.CanEdit())
    editors.SetTextCursor(ReplaceSelection(cursor, result.sText, false));
}

void CMenuBuilder::GoToLine() {
  CEditorPane& editors = m_window.Editors();
  if (editors.Kind() != EEditorKind::Text && editors.Kind() != EEditorKind::Rich) return;
  QTextCursor cursor = editors.TextCursor();
  const QTextDocument& document = *cursor.document();
  CSettingsStore& settings = m_window.Settings();
  CGoToLineDialog dialog(document.blockCount(),
                         QString::fromStdString(settings.GetString(kGoToSection, kGoToLastLineKey,
                                                                   kGoToLastLineDefault)),
                         &m_window);
  if (dialog.exec() != QDialog::Accepted) return;
  const std::string sTyped = dialog.Typed().toStdString();
  settings.SetString(kGoToSection, kGoToLastLineKey, sTyped);
  const int nLine =
      GoToLineTarget(sTyped, document.blockCount(), cursor.blockNumber(), EGoToEditor::kText);
  if (nLine < 0)
    cursor.movePosition(QTextCursor::End);
  else
    cursor.setPosition(document.findBlockByNumber(nLine).position());
  editors.SetTextCursor(cursor);
  if (QWidget* pEdit = editors.ActiveEdit()) pEdit->setFocus();
}

}  // namespace orv
