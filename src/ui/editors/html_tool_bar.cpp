#include "ui/editors/html_tool_bar.h"

#include <QColorDialog>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QInputDialog>
#include <QMenu>
#include <QSpinBox>
#include <QTextBlock>
#include <QTextList>
#include <QToolButton>
#include <optional>
#include <tuple>

#include "editors/html_fragments.h"
#include "ui/editors/html_document_writer.h"
#include "ui/editors/html_table_edit.h"
#include "ui/editors/rich_text_edit.h"

namespace orv {

namespace {

// The block formats offered, and the tag each one is.
constexpr std::pair<const char*, const char*> kBlockFormats[] = {
    {"Normal", "div"},   {"Heading 1", "h1"}, {"Heading 2", "h2"}, {"Heading 3", "h3"},
    {"Heading 4", "h4"}, {"Heading 5", "h5"}, {"Heading 6", "h6"}, {"Formatted", "pre"}};

// The editor lays text out as it flows; there is no place to pin a box to.
constexpr const char* kNoPositioning =
    "The editor lays text out in flow: it cannot place an element at a fixed position";

constexpr int kIndentStep = 40;  // pixels, as browsers indent a block quote

// Asks for the size of a new table; none when cancelled.
std::optional<std::pair<int, int>> AskTableSize(QWidget* pParent) {
  QDialog dialog(pParent);
  dialog.setObjectName("InsertTableDialog");
  dialog.setWindowTitle(QObject::tr("Insert Table"));
  auto* pRows = new QSpinBox(&dialog);
  pRows->setObjectName("Rows");
  pRows->setRange(1, 100);
  pRows->setValue(2);
  auto* pColumns = new QSpinBox(&dialog);
  pColumns->setObjectName("Columns");
  pColumns->setRange(1, 30);
  pColumns->setValue(2);
  auto* pButtons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
  QObject::connect(pButtons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(pButtons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  auto* pLayout = new QFormLayout(&dialog);
  pLayout->addRow(QObject::tr("&Rows:"), pRows);
  pLayout->addRow(QObject::tr("&Columns:"), pColumns);
  pLayout->addRow(pButtons);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return std::pair{pRows->value(), pColumns->value()};
}

}  // namespace

CHtmlToolBar::CHtmlToolBar(CRichTextEdit& web, QWidget* pParent)
    : QToolBar(tr("HTML Formatting"), pParent), m_web(web) {
  setObjectName("HtmlToolBar");
  setToolButtonStyle(Qt::ToolButtonTextOnly);
  m_pBlockFormat = new QComboBox(this);
  m_pBlockFormat->setFocusPolicy(Qt::ClickFocus);
  m_pBlockFormat->setToolTip(tr("Block format"));
  for (auto [pText, pTag] : kBlockFormats) m_pBlockFormat->addItem(tr(pText));
  addWidget(m_pBlockFormat)->setObjectName("HTML Editor - Block Format");
  connect(m_pBlockFormat, &QComboBox::activated, this, &CHtmlToolBar::SetBlockFormat);
  addSeparator();
  AddAction(
      "HTML Editor - Bold", tr("Bold"), "B", "Ctrl+B",
      [this] {
        QTextCharFormat format;
        format.setFontWeight(m_web.fontWeight() > QFont::Normal ? QFont::Normal : QFont::Bold);
        MergeFormat(format);
      },
      true);
  AddAction(
      "HTML Editor - Italic", tr("Italic"), "I", "Ctrl+I",
      [this] {
        QTextCharFormat format;
        format.setFontItalic(!m_web.fontItalic());
        MergeFormat(format);
      },
      true);
  AddAction(
      "HTML Editor - Underline", tr("Underline"), "U", "Ctrl+U",
      [this] {
        QTextCharFormat format;
        format.setFontUnderline(!m_web.fontUnderline());
        MergeFormat(format);
      },
      true);
  AddAction("HTML Editor - Color", tr("Text Colour..."), "A", nullptr, [this] {
    const QColor colour = QColorDialog::getColor(m_web.textColor(), this);
    if (!colour.isValid()) return;
    QTextCharFormat format;
    format.setForeground(colour);
    MergeFormat(format);
  });
  addSeparator();
  AddAction(
      "HTML Editor - Left Justify", tr("Align Left"), "\u2261\u2190", "Ctrl+L",
      [this] { m_web.setAlignment(Qt::AlignLeft | Qt::AlignAbsolute); }, true);
  AddAction(
      "HTML Editor - Center Justify", tr("Centre"), "\u2261", nullptr,
      [this] { m_web.setAlignment(Qt::AlignHCenter); }, true);
  // Its Ctrl+R is the source view's: the same key cannot do both.
  AddAction(
      "HTML Editor - Right Justify", tr("Align Right"), "\u2192\u2261", nullptr,
      [this] { m_web.setAlignment(Qt::AlignRight | Qt::AlignAbsolute); }, true);
  addSeparator();
  AddAction(
      "HTML Editor - Bullet List", tr("Bullet List"), "\u2022\u2261", nullptr,
      [this] { ToggleList(QTextListFormat::ListDisc); }, true);
  AddAction(
      "HTML Editor - Number List", tr("Number List"), "1.", nullptr,
      [this] { ToggleList(QTextListFormat::ListDecimal); }, true);
  AddAction("HTML Editor - Outdent", tr("Outdent"), "\u21e4", nullptr, [this] { Indent(-1); });
  AddAction("HTML Editor - Indent", tr("Indent"), "\u21e5", nullptr, [this] { Indent(1); });
  addSeparator();
  AddAction("HTML Editor - Hyperlink", tr("Hyperlink..."), tr("Link"), nullptr,
            [this] { InsertHyperlink(); });
  AddAction("HTML Editor - Image", tr("Picture..."), tr("Picture"), nullptr,
            [this] { InsertPicture(); });
  AddTableMenu();
  AddRuleMenu();
  for (auto [pName, pText, pGlyph] :
       {std::tuple{"HTML Editor - Absolute", "Absolute Position", "Absolute"},
        std::tuple{"HTML Editor - Static", "Static Position", "Static"}}) {
    QAction* pAction = AddAction(pName, tr(pText), tr(pGlyph), nullptr, [] {});
    pAction->setEnabled(false);
    pAction->setToolTip(tr(pText) + ": " + tr(kNoPositioning));
  }
  connect(&m_web, &QTextEdit::currentCharFormatChanged, this, [this] { ShowCurrentFormat(); });
  connect(&m_web, &QTextEdit::cursorPositionChanged, this, [this] { ShowCurrentFormat(); });
}

QAction* CHtmlToolBar::AddAction(const char* pName, const QString& sText, const QString& sGlyph,
                                 const char* pKey, std::function<void()> run, bool bCheckable) {
  QAction* pAction = addAction(sGlyph);
  pAction->setObjectName(QString::fromUtf8(pName));
  pAction->setCheckable(bCheckable);
  pAction->setToolTip(sText);
  if (pKey) {
    const QKeySequence key(QString::fromLatin1(pKey));
    pAction->setShortcut(key);
    // Only while the web view has the focus: the same keys mean other things elsewhere.
    pAction->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    m_web.addAction(pAction);
    pAction->setToolTip(sText + " (" + key.toString(QKeySequence::NativeText) + ")");
  }
  connect(pAction, &QAction::triggered, this, [this, run = std::move(run)] {
    if (m_web.isReadOnly()) return;
    run();
    ShowCurrentFormat();
  });
  return pAction;
}

void CHtmlToolBar::AddTableMenu() {
  auto* pMenu = new QMenu(this);
  pMenu->addAction(tr("&Insert Table..."), this, &CHtmlToolBar::InsertTable);
  pMenu->addSeparator();
  const std::pair<ETableCommand, const char*> commands[] = {
      {ETableCommand::InsertRow, "Insert &Row"},
      {ETableCommand::DeleteRow, "&Delete Row"},
      {ETableCommand::InsertColumn, "Insert &Column"},
      {ETableCommand::DeleteColumn, "Delete C&olumn"},
      {ETableCommand::CombineCells, "Co&mbine Cells"},
      {ETableCommand::SplitCell, "&Split Cell"},
      {ETableCommand::DeleteTable, "Delete &Table"}};
  for (const auto& [eCommand, pText] : commands) {
    const ETableCommand eRun = eCommand;
    pMenu->addAction(tr(pText), this, [this, eRun] { RunTableCommand(eRun); });
  }
  QAction* pTable = addAction(QString::fromUtf8("\u25a6"));
  pTable->setObjectName("HTML Editor - Table");
  pTable->setToolTip(tr("Table"));
  pTable->setMenu(pMenu);
  auto* pButton = qobject_cast<QToolButton*>(widgetForAction(pTable));
  if (pButton) pButton->setPopupMode(QToolButton::InstantPopup);
}

void CHtmlToolBar::AddRuleMenu() {
  auto* pMenu = new QMenu(this);
  pMenu->addAction(tr("Insert &Horizontal Line"), this, &CHtmlToolBar::InsertRule);
  pMenu->addAction(tr("Horizontal Line &Properties..."), this, &CHtmlToolBar::EditRuleProperties);
  QAction* pRule = addAction(QString::fromUtf8("\u2015"));
  pRule->setObjectName("HTML Editor - Horizontal Line");
  pRule->setToolTip(tr("Horizontal line"));
  pRule->setMenu(pMenu);
  if (auto* pButton = qobject_cast<QToolButton*>(widgetForAction(pRule)))
    pButton->setPopupMode(QToolButton::InstantPopup);
}

QAction* CHtmlToolBar::Action(const QString& sName) const {
  for (QAction* pAction : actions())
    if (pAction->objectName() == sName) return pAction;
  return nullptr;
}

void CHtmlToolBar::SetSourceShown(bool bSource) {
  for (QAction* pAction : actions()) {
    const bool bPositioning = pAction->objectName() == "HTML Editor - Absolute" ||
                              pAction->objectName() == "HTML Editor - Static";
    if (!bPositioning) pAction->setEnabled(!bSource);
  }
}

void CHtmlToolBar::MergeFormat(const QTextCharFormat& format) {
  m_web.mergeCurrentCharFormat(format);
  m_web.setFocus();
}

void CHtmlToolBar::ToggleList(int nStyle) {
  QTextCursor cursor = m_web.textCursor();
  QTextList* pList = cursor.currentList();
  cursor.beginEditBlock();
  if (pList && pList->format().style() == nStyle) {
    // The same kind again takes the paragraph out of the list.
    pList->remove(cursor.block());
    QTextBlockFormat block = cursor.blockFormat();
    block.setObjectIndex(-1);
    cursor.setBlockFormat(block);
  } else {
    QTextListFormat format;
    format.setStyle(static_cast<QTextListFormat::Style>(nStyle));
    cursor.createList(format);
  }
  cursor.endEditBlock();
  m_web.setFocus();
}

void CHtmlToolBar::Indent(int nDelta) {
  // By margin, as the page would be written: an indent step of Qt's own
  // would not come back from the stored HTML as one.
  QTextCursor cursor = m_web.textCursor();
  const QTextBlock last = m_web.document()->findBlock(cursor.selectionEnd());
  cursor.beginEditBlock();
  for (QTextBlock block = m_web.document()->findBlock(cursor.selectionStart()); block.isValid();
       block = block.next()) {
    QTextCursor at(block);
    QTextBlockFormat format = block.blockFormat();
    format.setLeftMargin(std::max(0.0, format.leftMargin() + nDelta * kIndentStep));
    at.setBlockFormat(format);
    if (block == last) break;
  }
  cursor.endEditBlock();
  m_web.setFocus();
}

void CHtmlToolBar::SetBlockFormat(int nIndex) {
  if (m_web.isReadOnly() || nIndex < 0 || nIndex >= static_cast<int>(std::size(kBlockFormats)))
    return;
  const auto [blockFormat, charFormat] = BlockTagFormats(kBlockFormats[nIndex].second);
  QTextCursor cursor = m_web.textCursor();
  cursor.beginEditBlock();
  QTextBlockFormat block = cursor.blockFormat();
  // What the old tag gave its text goes with it; what the user set stays.
  QTextCharFormat chars;
  if (block.headingLevel() > 0) {
    chars.setProperty(QTextFormat::FontSizeAdjustment, 0);
    chars.setFontWeight(QFont::Normal);
  }
  if (block.nonBreakableLines()) chars.setFontFamilies(QStringList{});
  chars.merge(charFormat);
  for (int nProperty : {QTextFormat::HeadingLevel, QTextFormat::BlockTopMargin,
                        QTextFormat::BlockBottomMargin, QTextFormat::BlockNonBreakableLines})
    block.clearProperty(nProperty);
  block.merge(blockFormat);
  cursor.setBlockFormat(block);
  cursor.movePosition(QTextCursor::StartOfBlock);
  cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
  cursor.mergeCharFormat(chars);
  cursor.endEditBlock();
  m_web.setFocus();
}

void CHtmlToolBar::InsertHyperlink() {
  bool bOk = false;
  const QString sLink = QInputDialog::getText(this, tr("Hyperlink"), tr("Address:"),
                                              QLineEdit::Normal, QStringLiteral("https://"), &bOk)
                            .trimmed();
  if (!bOk || sLink.isEmpty()) return;
  const QString sSelected = m_web.textCursor().selectedText();
  m_web.InsertLink(sLink, sSelected.isEmpty() ? sLink : sSelected);
  m_web.setFocus();
}

void CHtmlToolBar::InsertPicture() {
  if (m_web.isReadOnly()) return;
  const QString sPath = QFileDialog::getOpenFileName(
      this, tr("Insert Picture"), {},
      tr("Pictures (*.png *.jpg *.jpeg *.gif *.bmp *.svg);;All files (*)"));
  if (sPath.isEmpty()) return;
  m_web.textCursor().insertHtml(QString::fromStdString(PictureHtml(sPath.toStdString())));
  m_web.setFocus();
}

void CHtmlToolBar::InsertTable() {
  if (m_web.isReadOnly()) return;
  const std::optional<std::pair<int, int>> size = AskTableSize(this);
  if (!size) return;
  QTextCursor cursor = m_web.textCursor();
  const int nStart = cursor.selectionStart();
  cursor.insertHtml(QString::fromStdString(TableHtml(size->first, size->second)));
  // Typing goes on in the new table's first cell.
  cursor.setPosition(nStart);
  while (!cursor.currentTable() && cursor.movePosition(QTextCursor::NextCharacter)) {
  }
  if (cursor.currentTable()) m_web.setTextCursor(cursor);
  m_web.setFocus();
}

void CHtmlToolBar::RunTableCommand(ETableCommand eCommand) {
  if (m_web.isReadOnly()) return;
  const QString sError = orv::RunTableCommand(m_web.textCursor(), eCommand);
  if (!sError.isEmpty()) emit Refused(sError);
  m_web.setFocus();
}

void CHtmlToolBar::InsertRule() {
  if (m_web.isReadOnly()) return;
  m_web.textCursor().insertHtml("<hr>");
  m_web.setFocus();
}

void CHtmlToolBar::EditRuleProperties() {
  if (m_web.isReadOnly()) return;
  QTextCursor cursor = m_web.textCursor();
  const QTextBlockFormat format = cursor.blockFormat();
  if (!format.hasProperty(QTextFormat::BlockTrailingHorizontalRulerWidth))
    return emit Refused(QString::fromUtf8(kSelectRuleMessage.data(), kSelectRuleMessage.size()));
  const QTextLength width = format.lengthProperty(QTextFormat::BlockTrailingHorizontalRulerWidth);
  bool bOk = false;
  const int nPercent = QInputDialog::getInt(
      this, tr("Horizontal Line Properties"), tr("&Width (percent of the page):"),
      width.type() == QTextLength::PercentageLength ? qRound(width.rawValue()) : 100, 1, 100, 1,
      &bOk);
  if (!bOk) return;
  QTextBlockFormat changed;
  changed.setProperty(QTextFormat::BlockTrailingHorizontalRulerWidth,
                      QTextLength(QTextLength::PercentageLength, nPercent));
  cursor.mergeBlockFormat(changed);
  m_web.setFocus();
}

void CHtmlToolBar::ShowCurrentFormat() {
  const QTextCharFormat format = m_web.currentCharFormat();
  Action("HTML Editor - Bold")->setChecked(format.fontWeight() > QFont::Normal);
  Action("HTML Editor - Italic")->setChecked(format.fontItalic());
  Action("HTML Editor - Underline")->setChecked(format.fontUnderline());
  const Qt::Alignment eAlignment = m_web.alignment();
  Action("HTML Editor - Left Justify")->setChecked(eAlignment & Qt::AlignLeft);
  Action("HTML Editor - Center Justify")->setChecked(eAlignment & Qt::AlignHCenter);
  Action("HTML Editor - Right Justify")->setChecked(eAlignment & Qt::AlignRight);
  const QTextList* pList = m_web.textCursor().currentList();
  const int nStyle = pList ? pList->format().style() : 0;
  Action("HTML Editor - Bullet List")->setChecked(nStyle == QTextListFormat::ListDisc);
  Action("HTML Editor - Number List")->setChecked(nStyle == QTextListFormat::ListDecimal);
  const QTextBlockFormat block = m_web.textCursor().blockFormat();
  const int nHeading = block.headingLevel();
  m_pBlockFormat->setCurrentIndex(nHeading >= 1 && nHeading <= 6 ? nHeading
                                  : block.nonBreakableLines()    ? 7
                                                                 : 0);
}

}  // namespace orv
