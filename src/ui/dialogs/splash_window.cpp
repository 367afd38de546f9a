#include "ui/dialogs/splash_window.h"

#include <QApplication>
#include <QDialog>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

#include "ui/dialogs/note_icons.h"

namespace orv {

QString AboutText() {
  return QObject::tr(
             "<b>Orvella</b> %1<br>A notes organiser: folders of note trees in plain "
             "text, HTML and rich text.")
      .arg(QApplication::applicationVersion());
}

CSplashWindow::CSplashWindow()
    : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
  setObjectName("SplashWindow");
  setAttribute(Qt::WA_DeleteOnClose);
  auto* pFrame = new QFrame(this);
  pFrame->setFrameShape(QFrame::Box);
  auto* pOuter = new QVBoxLayout(this);
  pOuter->setContentsMargins(0, 0, 0, 0);
  pOuter->addWidget(pFrame);
  auto* pRow = new QHBoxLayout(pFrame);
  pRow->setContentsMargins(24, 24, 24, 16);
  pRow->setSpacing(20);
  auto* pIcon = new QLabel(pFrame);
  pIcon->setPixmap(AppIcon().pixmap(96, 96));
  pIcon->setAlignment(Qt::AlignTop);
  auto* pText = new QVBoxLayout;
  auto* pAbout = new QLabel(AboutText(), pFrame);
  pAbout->setObjectName("AboutText");
  pAbout->setWordWrap(true);
  QFont large = pAbout->font();
  large.setPointSizeF(large.pointSizeF() * 1.2);
  pAbout->setFont(large);
  auto* pHint = new QLabel(tr("Hit 'Escape' to close this window"), pFrame);
  pHint->setEnabled(false);
  pText->addWidget(pAbout, 1);
  pText->addWidget(pHint);
  pRow->addWidget(pIcon);
  pRow->addLayout(pText, 1);
  setFixedWidth(460);
}

void CSplashWindow::Start() {
  adjustSize();
  if (const QScreen* pScreen = QApplication::primaryScreen())
    move(pScreen->availableGeometry().center() - rect().center());
  show();
  // Escape closes it wherever the focus is: a splash window seldom has it.
  qApp->installEventFilter(this);
  QTimer::singleShot(kShownMs, this, &QWidget::close);
}

bool CSplashWindow::eventFilter(QObject* pWatched, QEvent* pEvent) {
  if (pEvent->type() == QEvent::KeyPress &&
      static_cast<QKeyEvent*>(pEvent)->key() == Qt::Key_Escape) {
    close();
    return true;
  }
  // A question of the start (a document's passphrase) is never left behind it.
  if (pEvent->type() == QEvent::Show && pWatched != this) {
    const auto* pDialog = qobject_cast<const QDialog*>(pWatched);
    if (pDialog && pDialog->isModal()) close();
  }
  return QWidget::eventFilter(pWatched, pEvent);
}

void CSplashWindow::closeEvent(QCloseEvent* pEvent) {
  // Escape and the timer may both close it before it is gone.
  if (!isVisible()) return QWidget::closeEvent(pEvent);
  qApp->removeEventFilter(this);
  emit Closed();
  QWidget::closeEvent(pEvent);
}

}  // namespace orv
