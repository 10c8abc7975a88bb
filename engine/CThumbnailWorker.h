#pragma once
// Makes thumbnails on one background thread so that the window stays
// responsive while a page of recordings is decoded. A new batch replaces the
// one in progress: the running decode is abandoned through the cancel flag
// and its results are dropped.
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "engine/CThumbnailDecoder.h"

namespace lumora {

class CThumbnailWorker {
 public:
  // Decodes one file; `cancel` turns true when the result is no longer wanted.
  using DecodeFn = std::function<std::optional<Thumbnail>(const std::filesystem::path& path,
                                                          const std::atomic<bool>& cancel)>;
  // Called on the worker thread with the batch number, the index of the file
  // in the batch and the picture (nothing when the file gave none).
  using ResultFn =
      std::function<void(std::uint64_t batch, int index, std::optional<Thumbnail> picture)>;

  CThumbnailWorker(DecodeFn decode, ResultFn result);
  ~CThumbnailWorker();
  CThumbnailWorker(const CThumbnailWorker&) = delete;
  CThumbnailWorker& operator=(const CThumbnailWorker&) = delete;

  // Starts a batch (dropping the one in progress); returns its number.
  std::uint64_t Start(std::vector<std::filesystem::path> paths);
  // Drops the batch in progress.
  void Cancel();
  // Waits until the current batch is done or dropped (tests and benchmarks).
  void WaitIdle();
  std::uint64_t CurrentBatch() const { return m_batch.load(); }

 private:
  void Run();

  DecodeFn m_decode;
  ResultFn m_result;
  std::mutex m_mutex;
  std::condition_variable m_wake;
  std::condition_variable m_idle;
  std::vector<std::filesystem::path> m_paths;
  std::size_t m_next = 0;
  bool m_busy = false;
  bool m_quit = false;
  std::atomic<std::uint64_t> m_batch{0};
  std::atomic<bool> m_cancel{false};
  std::thread m_thread;
};

}  // namespace lumora
