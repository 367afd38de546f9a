#include "ui/dialog_driver.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <algorithm>

namespace orv::test {

namespace {
constexpr int kPollMs = 10;
// Long enough for any answer to close its dialog, short enough not to hang.
constexpr int kCloseTimeoutMs = 5000;
}  // namespace

CDialogDriver::CDialogDriver() { QTimer::singleShot(kPollMs, this, &CDialogDriver::Poll); }

CDialogDriver::~CDialogDriver() {
  EXPECT_EQ(m_actions.size(), 0u) << "dialogs expected but never opened";
}

void CDialogDriver::OnNextDialog(FAction action) { m_actions.push_back(std::move(action)); }

void CDialogDriver::OnNextMessage(std::string& rText, QDialogButtonBox::StandardButton eButton) {
  OnNext<QMessageBox>([&rText, eButton](QMessageBox& box) {
    rText = box.text().toStdString();
    eButton == QDialogButtonBox::NoButton ? box.accept() : Press(box, eButton);
  });
}

void CDialogDriver::OnNextFile(const QString& sName, const QString& sFolder) {
  OnNext<QFileDialog>([sName, sFolder](QFileDialog& dialog) {
    if (!sFolder.isEmpty()) dialog.setDirectory(sFolder);
    dialog.findChild<QLineEdit*>("fileNameEdit")->setText(sName);
    static_cast<QDialog&>(dialog).accept();  // as the Save or Open button does
  });
}

void CDialogDriver::Poll() {
  // A new timer each time: a repeating one would not fire again while an
  // action sits in the loop of a dialog it opened.
  QTimer::singleShot(kPollMs, this, &CDialogDriver::Poll);
  auto* pDialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
  if (!pDialog || !pDialog->isVisible()) return;
  // A closed dialog stays the active modal widget until its loop returns.
  std::erase_if(m_handled,
                [](const QPointer<QDialog>& p) { return p.isNull() || !p->isVisible(); });
  if (std::ranges::find(m_handled, QPointer<QDialog>(pDialog)) != m_handled.end()) return;
  m_handled.emplace_back(pDialog);
  if (m_actions.empty()) return FailDialog(*pDialog, "a dialog opened that nobody expected");
  FAction action = std::move(m_actions.front());
  m_actions.pop_front();
  QTimer::singleShot(kCloseTimeoutMs, this, [pOpen = QPointer<QDialog>(pDialog)] {
    if (pOpen && pOpen->isVisible()) FailDialog(*pOpen, "the answer did not close the dialog");
  });
  action(*pDialog);
}

void FailDialog(QDialog& dialog, const char* pWhy) {
  ADD_FAILURE() << pWhy << ": \"" << dialog.windowTitle().toStdString() << "\" ("
                << dialog.metaObject()->className() << ")";
  dialog.reject();
}

void Press(QDialog& dialog, QDialogButtonBox::StandardButton eButton) {
  if (auto* pBox = qobject_cast<QMessageBox*>(&dialog)) {
    QAbstractButton* pButton = pBox->button(static_cast<QMessageBox::StandardButton>(eButton));
    if (!pButton) return FailDialog(dialog, "the message box lacks the button");
    return pButton->click();
  }
  auto* pButtons = dialog.findChild<QDialogButtonBox*>();
  QAbstractButton* pButton = pButtons ? pButtons->button(eButton) : nullptr;
  if (!pButton) return FailDialog(dialog, "the dialog lacks the button");
  pButton->click();
}

void Answering(CDialogDriver::FAction action, const std::function<void()>& run) {
  CDialogDriver driver;
  driver.OnNextDialog(std::move(action));
  run();
}

std::vector<std::string> MessageBoxesShownBy(const std::function<void()>& run, int nExpected) {
  std::vector<std::string> shown;
  CDialogDriver driver;
  for (int i = 0; i < nExpected; ++i) {
    driver.OnNext<QMessageBox>([&](QMessageBox& box) {
      shown.push_back(box.windowTitle().toStdString() + ": " + box.text().toStdString());
      // What a message names ("<SCRIPT>", a file) must show as written.
      EXPECT_EQ(box.textFormat(), Qt::PlainText) << shown.back();
      box.accept();
    });
  }
  run();
  for (int i = 0; i < 50 && driver.Pending() > 0; ++i) QTest::qWait(10);
  return shown;
}

}  // namespace orv::test
