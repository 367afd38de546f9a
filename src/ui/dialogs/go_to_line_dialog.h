#pragma once
// The Go To Line dialog: asks for a line number, offering the one typed last.

#include <QDialog>

class QLineEdit;

namespace orv {

class CGoToLineDialog : public QDialog {
  Q_OBJECT

 public:
  CGoToLineDialog(int nLineCount, const QString& sLastTyped, QWidget* pParent = nullptr);

  QString Typed() const;
  QLineEdit& Input() { return *m_pInput; }

 private:
  QLineEdit* m_pInput;
};

}  // namespace orv
