#include "library/CClipExportJob.h"

namespace lumora {

CClipExportJob::~CClipExportJob() {
  Cancel();
  if (m_thread.joinable()) m_thread.join();
}

bool CClipExportJob::Start(const ClipExportRequest& request, bool overlay,
                           const ClipOverlayOptions& options) {
  if (m_thread.joinable()) return false;
  m_cancel.store(false);
  m_finished.store(false);
  m_progress.store(0.0);
  m_thread = std::thread([this, request, overlay, options] {
    const auto progress = [this](double fraction) { m_progress.store(fraction); };
    m_result = overlay ? CClipOverlay::Run(request, options, progress, m_cancel)
                       : CClipExport::Run(request, progress, m_cancel);
    m_finished.store(true);
  });
  return true;
}

ClipExportResult CClipExportJob::TakeResult() {
  if (m_thread.joinable()) m_thread.join();
  return m_result;
}

}  // namespace lumora
