#include "app/SeekQueue.h"

namespace lumora {

std::optional<std::int64_t> SeekQueue::Ask(std::int64_t ms, bool playerSeeking) {
  if (playerSeeking || waiting_) {
    waiting_ = ms;
    return std::nullopt;
  }
  running_ = ms;
  return ms;
}

std::optional<std::int64_t> SeekQueue::Next(bool playerSeeking) {
  if (playerSeeking) return std::nullopt;
  if (!waiting_) {
    running_.reset();
    return std::nullopt;
  }
  running_ = waiting_;
  waiting_.reset();
  return running_;
}

std::int64_t SeekQueue::Shown(std::int64_t playerPosition, bool playerSeeking) const {
  if (waiting_) return *waiting_;
  if (running_ && playerSeeking) return *running_;
  return playerPosition;
}

void SeekQueue::Clear() {
  waiting_.reset();
  running_.reset();
}

}  // namespace lumora
