#include "ui/dialogs/find_runner.h"

namespace orv {

void CFindRunner::Start(const SFindRequest& request, CWork work) {
  Stop();
  TakeHits();
  m_bCancel = false;
  m_bRunning = true;
  const unsigned nGeneration = ++m_nGeneration;
  m_thread = std::thread([this, request, work = std::move(work), nGeneration] {
    const CNoteSearch search(request, &m_bCancel);
    const bool bCompleted = work(search, [this, nGeneration](SFindHit&& hit) {
      bool bFirst = false;
      {
        std::lock_guard lock(m_mutex);
        bFirst = m_pending.empty();
        m_pending.push_back(std::move(hit));
      }
      // One call per batch: the hits that come while it waits join it.
      if (bFirst)
        QMetaObject::invokeMethod(
            this,
            [this, nGeneration] {
              if (nGeneration == m_nGeneration) emit HitsReady();
            },
            Qt::QueuedConnection);
      return true;
    });
    QMetaObject::invokeMethod(
        this,
        [this, bCompleted, nGeneration] {
          if (nGeneration != m_nGeneration) return;
          m_bRunning = false;
          emit Finished(bCompleted);
        },
        Qt::QueuedConnection);
  });
}

void CFindRunner::Stop() {
  m_bCancel = true;
  if (m_thread.joinable()) m_thread.join();
  // The signals still queued belong to a search that is over; its hits
  // stay to be taken.
  ++m_nGeneration;
  m_bRunning = false;
}

std::vector<SFindHit> CFindRunner::TakeHits() {
  std::lock_guard lock(m_mutex);
  return std::exchange(m_pending, {});
}

}  // namespace orv
