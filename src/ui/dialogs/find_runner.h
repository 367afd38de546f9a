#pragma once
// Runs a find dialog's search on a thread of its own, so the window stays
// responsive on the largest document, and hands the hits over as they come.
// The dialog is modal: nothing changes the document while a search runs.

#include <QObject>
#include <atomic>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "search/note_search.h"

namespace orv {

class CFindRunner : public QObject {
  Q_OBJECT

 public:
  // What a search walks: a folder or the whole document.
  using CWork = std::function<bool(const CNoteSearch&, const CHitSink&)>;

  explicit CFindRunner(QObject* pParent = nullptr) : QObject(pParent) {}
  ~CFindRunner() override { Stop(); }

  // Stops a search still running, then starts this one.
  void Start(const SFindRequest& request, CWork work);
  // Cancels the search and waits for its thread, which ends at the next
  // note; the hits it found are still there to be taken.
  void Stop();
  bool IsRunning() const { return m_bRunning; }
  // The hits found since the last call.
  std::vector<SFindHit> TakeHits();

 signals:
  // Hits wait to be taken.
  void HitsReady();
  // The search went to its end (bCompleted) or was stopped.
  void Finished(bool bCompleted);

 private:
  std::thread m_thread;
  std::atomic<bool> m_bCancel{false};
  std::mutex m_mutex;  // guards m_pending
  std::vector<SFindHit> m_pending;
  bool m_bRunning = false;
  // Tells the signals of a stopped search from those of the next one.
  unsigned m_nGeneration = 0;
};

}  // namespace orv
