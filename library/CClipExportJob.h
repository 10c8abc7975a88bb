#pragma once
// A clip export running on a thread of its own, so that a window can show
// its progress and offer to cancel it: the window polls Progress() and
// Finished() and reads the result at the end.

#include <atomic>
#include <memory>
#include <mutex>
#include <thread>

#include "engine/CClipExport.h"
#include "library/CClipOverlay.h"

namespace lumora {

class CClipExportJob {
 public:
  CClipExportJob() = default;
  CClipExportJob(const CClipExportJob&) = delete;
  CClipExportJob& operator=(const CClipExportJob&) = delete;
  // Cancels a running export and waits for it.
  ~CClipExportJob();

  // Starts the export (with `overlay`, the overlay variant); false when one
  // is running already.
  bool Start(const ClipExportRequest& request, bool overlay, const ClipOverlayOptions& options);
  void Cancel() { m_cancel.store(true); }
  // 0..1.
  double Progress() const { return m_progress.load(); }
  bool Running() const { return m_thread.joinable() && !m_finished.load(); }
  bool Finished() const { return m_finished.load(); }
  // Joins the thread and hands out the result; valid once Finished().
  ClipExportResult TakeResult();

 private:
  std::thread m_thread;
  std::atomic<bool> m_cancel{false};
  std::atomic<bool> m_finished{false};
  std::atomic<double> m_progress{0.0};
  ClipExportResult m_result;
};

}  // namespace lumora
