#include "ui/editors/format_bar.h"

#include <QApplication>
#include <QColorDialog>
#include <QComboBox>
#include <QFontComboBox>
#include <QFontDialog>
#include <QMenu>
#include <QPainter>
#include <QTextBlock>
#include <QTextEdit>
#include <QTextList>
#include <QToolButton>

#include "ports/settings_defaults.h"
#include "ui/dialogs/colour_ref.h"
#include "ui/dialogs/font_ref.h"
#include "ui/editors/style_box.h"

namespace orv {

namespace {

// A tool button image drawn from a short text ("B", "I", "1."): the format
// bar's buttons then read as a word processor's do, in any theme. A colour
// button shows its colour in a bar under the text.
QIcon GlyphIcon(const QString& sGlyph, const QFont& font, std::optional<QColor> bar = {}) {
  QPixmap pixmap(32, 32);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::TextAntialiasing);
  QFont glyphFont = font;
  glyphFont.setPixelSize(sGlyph.size() > 1 ? 17 : 22);
  painter.setFont(glyphFont);
  painter.setPen(QApplication::palette().color(QPalette::ButtonText));
  if (bar) {
    painter.drawText(pixmap.rect().adjusted(0, 0, 0, -6), Qt::AlignCenter, sGlyph);
    painter.fillRect(QRect(3, 26, 26, 5), *bar);
  } else {
    painter.drawText(pixmap.rect(), Qt::AlignCenter, sGlyph);
  }
  return QIcon(pixmap);
}

}  // namespace

CFormatBar::CFormatBar(QTextEdit& edit, CSettingsStore& settings, QWidget* pParent)
    : QToolBar(tr("RTF Formatting"), pParent), m_edit(edit), m_settings(settings) {
  setObjectName("RtfFormatBar");
  m_pStyles = new CStyleBox(edit, settings, this);
  addWidget(m_pStyles);
  addSeparator();
  m_pFont = new QFontComboBox(this);
  m_pFont->setFocusPolicy(Qt::ClickFocus);
  addWidget(m_pFont);
  connect(m_pFont, &QFontComboBox::textActivated, this, [this](const QString& sFamily) {
    QTextCharFormat format;
    format.setFontFamilies({sFamily});
    MergeFormat(format);
  });
  m_pSize = new QComboBox(this);
  m_pSize->setEditable(true);
  m_pSize->setFocusPolicy(Qt::ClickFocus);
  for (int nSize : QFontDatabase::standardSizes()) m_pSize->addItem(QString::number(nSize));
  addWidget(m_pSize);
  connect(m_pSize, &QComboBox::textActivated, this, [this](const QString& sSize) {
    bool bOk = false;
    double dSize = sSize.toDouble(&bOk);
    if (!bOk || dSize <= 0 || dSize > 1638) return;
    QTextCharFormat format;
    format.setFontPointSize(dSize);
    MergeFormat(format);
  });
  addSeparator();

  AddAction(
      "RTF Editor - Bold", tr("&Bold"), QString::fromUtf8("B"), QKeySequence("Ctrl+B"),
      [this] {
        QTextCharFormat format;
        format.setFontWeight(m_edit.fontWeight() > QFont::Normal ? QFont::Normal : QFont::Bold);
        MergeFormat(format);
      },
      true);
  AddAction(
      "RTF Editor - Italic", tr("&Italic"), QString::fromUtf8("I"), QKeySequence("Ctrl+I"),
      [this] {
        QTextCharFormat format;
        format.setFontItalic(!m_edit.fontItalic());
        MergeFormat(format);
      },
      true);
  AddAction(
      "RTF Editor - Underline", tr("&Underline"), QString::fromUtf8("U"), QKeySequence("Ctrl+U"),
      [this] {
        QTextCharFormat format;
        format.setFontUnderline(!m_edit.fontUnderline());
        MergeFormat(format);
      },
      true);
  AddAction(
      "RTF Editor - Strikeout", tr("S&trikeout"), QString::fromUtf8("S"), {},
      [this] {
        QTextCharFormat format;
        format.setFontStrikeOut(!m_edit.currentCharFormat().fontStrikeOut());
        MergeFormat(format);
      },
      true);
  addSeparator();
  AddAction("RTF Editor - Format Text Color", tr("Text &Colour"), QString::fromUtf8("A"), {},
            [this] { ApplyColour(false, false); });
  AddAction("RTF Editor - Format text Background Color", tr("&Highlight"), QString::fromUtf8("ab"),
            {}, [this] { ApplyColour(true, false); });
  for (bool bBackground : {false, true}) {
    QAction* pAction = Action(bBackground ? "RTF Editor - Format text Background Color"
                                          : "RTF Editor - Format Text Color");
    auto* pButton = qobject_cast<QToolButton*>(widgetForAction(pAction));
    auto* pMenu = new QMenu(this);
    pMenu->addAction(tr("Choose Colour..."), this,
                     [this, bBackground] { ApplyColour(bBackground, true); });
    pButton->setMenu(pMenu);
    pButton->setPopupMode(QToolButton::MenuButtonPopup);
  }
  ShowClickColours();
  addSeparator();
  AddAction(
      "RTF Editor - Paragraph Left", tr("Align &Left"), QString::fromUtf8("\u2261\u2190"),
      QKeySequence("Ctrl+L"), [this] { m_edit.setAlignment(Qt::AlignLeft | Qt::AlignAbsolute); },
      true);
  AddAction(
      "RTF Editor - Paragraph Center", tr("&Centre"), QString::fromUtf8("\u2261"),
      QKeySequence("Ctrl+E"), [this] { m_edit.setAlignment(Qt::AlignHCenter); }, true);
  AddAction(
      "RTF Editor - Paragraph Right", tr("Align &Right"), QString::fromUtf8("\u2192\u2261"),
      QKeySequence("Ctrl+R"), [this] { m_edit.setAlignment(Qt::AlignRight | Qt::AlignAbsolute); },
      true);
  AddAction(
      "RTF Editor - Paragraph Full", tr("&Justify"), QString::fromUtf8("\u2630"),
      QKeySequence("Ctrl+J"), [this] { m_edit.setAlignment(Qt::AlignJustify); }, true);
  addSeparator();
  AddAction(
      "RTF Editor - Bullet", tr("&Bullets"), QString::fromUtf8("\u2022\u2261"),
      QKeySequence("Ctrl+Shift+B"), [this] { ToggleList(QTextListFormat::ListDisc); }, true);
  AddAction(
      "RTF Editor - Numeric Bullet", tr("&Numbering"), QString::fromUtf8("1."), {},
      [this] { ToggleList(QTextListFormat::ListDecimal); }, true);
  AddAction("RTF Editor - Ident Decrease", tr("Decrease &Indent"), QString::fromUtf8("\u21e4"), {},
            [this] { Indent(-1); });
  AddAction("RTF Editor - Ident Increase", tr("Increase I&ndent"), QString::fromUtf8("\u21e5"), {},
            [this] { Indent(1); });
  addSeparator();
  AddAction("RTF Editor - Default Font", tr("&Default Font..."), QString::fromUtf8("Aa"), {},
            [this] { ChooseDefaultFont(); });

  connect(&m_edit, &QTextEdit::currentCharFormatChanged, this, [this] { ShowCurrentFormat(); });
  connect(&m_edit, &QTextEdit::cursorPositionChanged, this, [this] { ShowCurrentFormat(); });
}

QAction* CFormatBar::AddAction(const QString& sName, const QString& sText, const QString& sGlyph,
                               const QKeySequence& key, std::function<void()> run,
                               bool bCheckable) {
  QFont glyphFont = font();
  glyphFont.setBold(sGlyph == "B");
  glyphFont.setItalic(sGlyph == "I");
  glyphFont.setUnderline(sGlyph == "U");
  glyphFont.setStrikeOut(sGlyph == "S");
  QAction* pAction = addAction(GlyphIcon(sGlyph, glyphFont), sText);
  pAction->setObjectName(sName);
  pAction->setCheckable(bCheckable);
  if (!key.isEmpty()) {
    pAction->setShortcut(key);
    // Only while the editor has the focus: the same keys mean other things elsewhere.
    pAction->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    m_edit.addAction(pAction);
  }
  pAction->setToolTip(key.isEmpty() ? sText
                                    : sText + " (" + key.toString(QKeySequence::NativeText) + ")");
  connect(pAction, &QAction::triggered, this, [run = std::move(run), this] {
    run();
    ShowCurrentFormat();
  });
  return pAction;
}

QAction* CFormatBar::Action(const QString& sName) const {
  for (QAction* pAction : actions())
    if (pAction->objectName() == sName) return pAction;
  return nullptr;
}

void CFormatBar::MergeFormat(const QTextCharFormat& format) {
  // A selection takes the format in one undoable step; without one it is
  // the format of what is typed next, and the word at the caret stays as it is.
  m_edit.mergeCurrentCharFormat(format);
  m_edit.setFocus();
}

void CFormatBar::ToggleList(int nStyle) {
  QTextCursor cursor = m_edit.textCursor();
  QTextList* pList = cursor.currentList();
  cursor.beginEditBlock();
  if (pList && pList->format().style() == nStyle) {
    // Switching the same kind off takes the paragraph out of the list.
    QTextBlockFormat block = cursor.blockFormat();
    pList->remove(cursor.block());
    block.setIndent(0);
    block.setObjectIndex(-1);
    cursor.setBlockFormat(block);
  } else {
    QTextListFormat format;
    format.setStyle(static_cast<QTextListFormat::Style>(nStyle));
    format.setIndent(std::max(1, cursor.blockFormat().indent() + 1));
    cursor.createList(format);
  }
  cursor.endEditBlock();
}

void CFormatBar::Indent(int nDelta) {
  QTextCursor cursor = m_edit.textCursor();
  cursor.beginEditBlock();
  if (QTextList* pList = cursor.currentList()) {
    QTextListFormat format = pList->format();
    format.setIndent(std::max(1, format.indent() + nDelta));
    pList->setFormat(format);
  } else {
    QTextBlockFormat format = cursor.blockFormat();
    format.setIndent(std::max(0, format.indent() + nDelta));
    cursor.setBlockFormat(format);
  }
  cursor.endEditBlock();
}

void CFormatBar::ApplyColour(bool bBackground, bool bChoose) {
  const SIntSetting& setting = bBackground ? kClickTextBckColor : kClickTextColor;
  QColor colour = ToQColor(ReadSetting(m_settings, setting));
  if (bChoose) {
    colour = QColorDialog::getColor(colour, this);
    if (!colour.isValid()) return;
    WriteSetting(m_settings, setting, ToColorRef(colour));
    ShowClickColours();
  }
  QTextCharFormat format;
  if (bBackground)
    format.setBackground(colour);
  else
    format.setForeground(colour);
  MergeFormat(format);
}

void CFormatBar::ShowClickColours() {
  Action("RTF Editor - Format Text Color")
      ->setIcon(GlyphIcon("A", font(), ToQColor(ReadSetting(m_settings, kClickTextColor))));
  Action("RTF Editor - Format text Background Color")
      ->setIcon(GlyphIcon("ab", font(), ToQColor(ReadSetting(m_settings, kClickTextBckColor))));
}

void CFormatBar::ChooseDefaultFont() {
  bool bOk = false;
  const QFont font = QFontDialog::getFont(&bOk, m_edit.font(), this, tr("Default Font"));
  if (!bOk) return;
  // Text without a font of its own shows in it, now and after a restart.
  StoreFont(m_settings, kRtfFont, font);
  m_edit.setFont(font);
  ShowCurrentFormat();
}

void CFormatBar::ShowCurrentFormat() {
  QTextCharFormat format = m_edit.currentCharFormat();
  // What the text says, else the document's default font, as the RTF writer has it.
  const QFont font = format.font().resolve(m_edit.document()->defaultFont());
  m_pFont->setCurrentFont(font);
  if (font.pointSizeF() > 0) m_pSize->setEditText(QString::number(font.pointSizeF()));
  Action("RTF Editor - Bold")->setChecked(format.fontWeight() > QFont::Normal);
  Action("RTF Editor - Italic")->setChecked(format.fontItalic());
  Action("RTF Editor - Underline")->setChecked(format.fontUnderline());
  Action("RTF Editor - Strikeout")->setChecked(format.fontStrikeOut());
  Qt::Alignment alignment = m_edit.alignment();
  Action("RTF Editor - Paragraph Left")->setChecked(alignment & Qt::AlignLeft);
  Action("RTF Editor - Paragraph Center")->setChecked(alignment & Qt::AlignHCenter);
  Action("RTF Editor - Paragraph Right")->setChecked(alignment & Qt::AlignRight);
  Action("RTF Editor - Paragraph Full")->setChecked(alignment & Qt::AlignJustify);
  QTextList* pList = m_edit.textCursor().currentList();
  int nStyle = pList ? pList->format().style() : 0;
  Action("RTF Editor - Bullet")->setChecked(nStyle == QTextListFormat::ListDisc);
  Action("RTF Editor - Numeric Bullet")->setChecked(nStyle == QTextListFormat::ListDecimal);
}

}  // namespace orv
