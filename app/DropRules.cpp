#include "app/DropRules.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace lumora {

namespace {

std::string LowerExtension(const std::string& path) {
  std::string ext = std::filesystem::path(path).extension().string();
  std::transform(ext.begin(), ext.end(), ext.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return ext;
}

}  // namespace

DropPlan DropRules::Plan(const std::vector<std::string>& paths, bool ditMode) {
  DropPlan plan;
  std::vector<std::string> recordings;
  std::vector<std::string> folders;
  std::vector<std::string> dits;
  for (const std::string& path : paths) {
    std::error_code ec;
    const std::string ext = LowerExtension(path);
    if (std::filesystem::is_directory(path, ec))
      folders.push_back(path);
    else if (!std::filesystem::is_regular_file(path, ec))
      plan.ignored.push_back(path);
    else if (ext == ".avi" || ext == ".mp4")
      recordings.push_back(path);
    else if (ext == ".dit")
      dits.push_back(path);
    else
      plan.ignored.push_back(path);
  }
  auto ignore = [&plan](const std::vector<std::string>& list) {
    plan.ignored.insert(plan.ignored.end(), list.begin(), list.end());
  };
  if (ditMode) {
    ignore(recordings);
    ignore(folders);
    if (!dits.empty()) {
      plan.action = DropAction::kOpenDitFiles;
      plan.paths = dits;
    }
    return plan;
  }
  plan.ditOutsideDit = !dits.empty();
  ignore(dits);
  if (!recordings.empty()) {
    plan.action = DropAction::kOpenRecordings;
    plan.paths = recordings;
    ignore(folders);
  } else if (!folders.empty()) {
    plan.action = DropAction::kOpenCard;
    plan.paths = {folders.front()};
    ignore({folders.begin() + 1, folders.end()});
  }
  return plan;
}

}  // namespace lumora
