#include "ui/dialogs/busy_box.h"

#include <QApplication>
#include <QProgressDialog>

namespace orv {

CBusyBox::CBusyBox(QWidget& parent, const QString& sWhat)
    : m_pBox(std::make_unique<QProgressDialog>(sWhat, QString(), 0, 0, &parent)) {
  m_pBox->setWindowTitle("Orvella");
  m_pBox->setWindowModality(Qt::WindowModal);
  m_pBox->setMinimumDuration(0);
  m_pBox->show();
  QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

CBusyBox::~CBusyBox() = default;

}  // namespace orv
