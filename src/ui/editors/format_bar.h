#pragma once
// The rich-text editor's format bar: named styles, font, size, character
// styles, colours, alignment, lists and indent, acting on the editor's
// selection, and the editor's default font. Its keys (Ctrl+B, Ctrl+L, …)
// work while the editor has the focus.

#include <QToolBar>

class QFontComboBox;
class QComboBox;
class QTextCharFormat;
class QTextEdit;

namespace orv {

class CSettingsStore;
class CStyleBox;

class CFormatBar : public QToolBar {
  Q_OBJECT

 public:
  CFormatBar(QTextEdit& edit, CSettingsStore& settings, QWidget* pParent = nullptr);

  // The actions by their command names ("RTF Editor - Bold", …), for menus and tests.
  QAction* Action(const QString& sName) const;
  CStyleBox& Styles() { return *m_pStyles; }
  // The font, size and switches of the text at the caret.
  void ShowCurrentFormat();

 private:
  QAction* AddAction(const QString& sName, const QString& sText, const QString& sGlyph,
                     const QKeySequence& key, std::function<void()> run, bool bCheckable = false);
  void MergeFormat(const QTextCharFormat& format);
  void ToggleList(int nStyle);
  void Indent(int nDelta);
  void ApplyColour(bool bBackground, bool bChoose);
  void ShowClickColours();
  // "rtfFont": the editor's font for text that names none.
  void ChooseDefaultFont();

  QTextEdit& m_edit;
  CSettingsStore& m_settings;
  CStyleBox* m_pStyles;
  QFontComboBox* m_pFont;
  QComboBox* m_pSize;
};

}  // namespace orv
