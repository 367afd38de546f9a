#include "ui/dialogs/html_dialog.h"

#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace orv {

namespace {

// Loads no resource at all: a page from outside learns nothing of the
// user's files and tells its server nothing when shown.
class CSealedBrowser : public QTextBrowser {
 public:
  using QTextBrowser::QTextBrowser;
  QVariant loadResource(int, const QUrl&) override { return {}; }
};

}  // namespace

CHtmlDlg::CHtmlDlg(const QString& sTitle, const QString& sHtml, QWidget* pParent)
    : QDialog(pParent), m_pBrowser(new CSealedBrowser(this)) {
  setWindowTitle(sTitle);
  m_pBrowser->setOpenLinks(false);
  m_pBrowser->setHtml(sHtml);
  connect(m_pBrowser, &QTextBrowser::anchorClicked, this, [](const QUrl& url) {
    // Web links only: a link to a local file or program stays shut.
    if (url.scheme() == "https" || url.scheme() == "http") QDesktopServices::openUrl(url);
  });
  auto* pButtons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  connect(pButtons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* pLayout = new QVBoxLayout(this);
  pLayout->addWidget(m_pBrowser);
  pLayout->addWidget(pButtons);
  resize(560, 420);
}

}  // namespace orv
