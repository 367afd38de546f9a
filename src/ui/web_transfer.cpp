#include "ui/web_transfer.h"

#include <QFutureWatcher>
#include <QMainWindow>
#include <QPromise>
#include <QStatusBar>
#include <QtConcurrent/QtConcurrentRun>
#include <climits>

namespace orv {

namespace {

struct STransferResult {
  std::string sResult;
  QString sFailure;
};

}  // namespace

void RunWebTransfer(QMainWindow& window, std::function<std::string(const FHttpStatus&)> work,
                    std::function<void(const std::string&, const QString&)> done) {
  auto* pWatcher = new QFutureWatcher<STransferResult>(&window);
  QObject::connect(pWatcher, &QFutureWatcherBase::progressTextChanged, &window,
                   [&window](const QString& sText) { window.statusBar()->showMessage(sText); });
  QObject::connect(pWatcher, &QFutureWatcherBase::finished, &window,
                   [&window, pWatcher, done = std::move(done)] {
                     const STransferResult result = pWatcher->result();
                     pWatcher->deleteLater();
                     window.statusBar()->clearMessage();
                     done(result.sResult, result.sFailure);
                   });
  pWatcher->setFuture(
      QtConcurrent::run([work = std::move(work)](QPromise<STransferResult>& promise) {
        // Each text counts one step on: the same value twice would not be passed on.
        promise.setProgressRange(0, INT_MAX);
        int nStep = 0;
        const FHttpStatus status = [&](const std::string& sText) {
          promise.setProgressValueAndText(++nStep, QString::fromStdString(sText));
        };
        try {
          promise.addResult(STransferResult{work(status), {}});
        } catch (const CHttpFailure& failure) {
          promise.addResult(STransferResult{{}, QString::fromStdString(failure.what())});
        }
      }));
}

}  // namespace orv
