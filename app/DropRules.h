#pragma once
// What a drop of files and folders on the main window does: recordings
// (.avi, .mp4, any case) open as the open dialog's choice does, a folder opens
// as a card, .dit files open in DIT mode as DIT's Open does; anything else,
// and anything that does not exist, is ignored.

#include <string>
#include <vector>

namespace lumora {

enum class DropAction { kNone, kOpenRecordings, kOpenCard, kOpenDitFiles };

struct DropPlan {
  DropAction action = DropAction::kNone;
  std::vector<std::string> paths;    // what the action opens
  std::vector<std::string> ignored;  // what it leaves, in the order dropped
  bool ditOutsideDit = false;        // a .dit file dropped in video-player mode
};

class DropRules {
 public:
  // Recordings win over a folder; of several folders the first opens.
  static DropPlan Plan(const std::vector<std::string>& paths, bool ditMode);
};

}  // namespace lumora
