#include "engine/CThumbnailWorker.h"

#include <utility>

namespace lumora {

CThumbnailWorker::CThumbnailWorker(DecodeFn decode, ResultFn result)
    : m_decode(std::move(decode)), m_result(std::move(result)) {
  m_thread = std::thread([this] { Run(); });
}

CThumbnailWorker::~CThumbnailWorker() {
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_quit = true;
    m_cancel = true;
  }
  m_wake.notify_all();
  m_thread.join();
}

std::uint64_t CThumbnailWorker::Start(std::vector<std::filesystem::path> paths) {
  std::uint64_t batch = 0;
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_cancel = true;  // abandon the decode in progress, if any
    m_paths = std::move(paths);
    m_next = 0;
    batch = ++m_batch;
  }
  m_wake.notify_all();
  return batch;
}

void CThumbnailWorker::Cancel() {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_cancel = true;
  m_paths.clear();
  m_next = 0;
  ++m_batch;
}

void CThumbnailWorker::WaitIdle() {
  std::unique_lock<std::mutex> lock(m_mutex);
  m_idle.wait(lock, [this] { return !m_busy && m_next >= m_paths.size(); });
}

void CThumbnailWorker::Run() {
  std::unique_lock<std::mutex> lock(m_mutex);
  for (;;) {
    m_wake.wait(lock, [this] { return m_quit || m_next < m_paths.size(); });
    if (m_quit) return;
    const std::uint64_t batch = m_batch.load();
    const int index = static_cast<int>(m_next);
    const std::filesystem::path path = m_paths[m_next++];
    m_cancel = false;
    m_busy = true;
    lock.unlock();
    std::optional<Thumbnail> picture = m_decode(path, m_cancel);
    lock.lock();
    // A batch started meanwhile makes this result stale.
    if (batch == m_batch.load() && !m_quit) {
      lock.unlock();
      m_result(batch, index, std::move(picture));
      lock.lock();
    }
    m_busy = false;
    if (m_next >= m_paths.size()) m_idle.notify_all();
  }
}

}  // namespace lumora
