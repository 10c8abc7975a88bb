#pragma once
// Seeks asked of the player while it still runs an earlier one. The player
// drops a seek asked during another, so a drag of the seek thumb would lose
// its last places and the thumb would snap back. The queue keeps only the
// newest target that waits and hands it over once the running seek has
// ended, so the place where the button is released always wins.

#include <cstdint>
#include <optional>

namespace lumora {

class SeekQueue {
 public:
  // A seek to `ms`: the target to hand to the player now, or none while the
  // player still seeks (the target then waits, replacing an older one).
  std::optional<std::int64_t> Ask(std::int64_t ms, bool playerSeeking);
  // Polled while Busy: the waiting target once the player's seek has ended.
  std::optional<std::int64_t> Next(bool playerSeeking);
  // True while a target waits or the one handed over last still runs.
  bool Busy(bool playerSeeking) const { return waiting_ || (running_ && playerSeeking); }
  // What the slider and the time label show: the newest target while the
  // seeks run, the player's own position after that.
  std::int64_t Shown(std::int64_t playerPosition, bool playerSeeking) const;
  // Stop or a new recording: nothing waits any more.
  void Clear();

 private:
  std::optional<std::int64_t> waiting_;
  std::optional<std::int64_t> running_;
};

}  // namespace lumora
