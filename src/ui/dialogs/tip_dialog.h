#pragma once
// Tip of the Day: one tip of "tips.txt" at a time, Next Tip for another, and
// whether tips show at start-up. Closing it remembers both.

#include <QDialog>

#include "shell/tips_file.h"

class QCheckBox;
class QLabel;
class QPushButton;

namespace orv {

class CTipDlg : public QDialog {
  Q_OBJECT

 public:
  CTipDlg(CSettingsStore& settings, const QString& sTipsFile, QWidget* pParent = nullptr);

  // Shows the dialog, or the warning when the tips file cannot be read.
  // Returns when it is closed.
  void Run();

  QLabel& TipLabel() { return *m_pTip; }
  QPushButton& NextButton() { return *m_pNext; }
  QCheckBox& StartUpBox() { return *m_pStartUp; }

 protected:
  void done(int nResult) override;

 private:
  void ShowTip();

  CTipsFile m_tips;
  QLabel* m_pTip;
  QPushButton* m_pNext;
  QCheckBox* m_pStartUp;
};

}  // namespace orv
