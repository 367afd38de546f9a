#pragma once
// A page from the web site (the update check's answer) shown as it came: it
// runs no scripts and loads nothing, not even its pictures; its web links
// open in the browser.

#include <QDialog>

class QTextBrowser;

namespace orv {

class CHtmlDlg : public QDialog {
  Q_OBJECT

 public:
  CHtmlDlg(const QString& sTitle, const QString& sHtml, QWidget* pParent = nullptr);

  QTextBrowser& Browser() { return *m_pBrowser; }

 private:
  QTextBrowser* m_pBrowser;
};

}  // namespace orv
