// lumora-cli scan [CARD_ROOT]: the recordings on a camera card, classified by
// folder and name, newest first.

#include <algorithm>
#include <iostream>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <system_error>

#include "library/CCardLocator.h"
#include "library/CFileCollector.h"
#include "library/CRecordingName.h"
#include "library/CTextForms.h"
#include "platform/CLinuxDriveEnumerator.h"
#include "tools/cli/CliCommand.h"

namespace {

struct Found {
  std::filesystem::path path;
  lumora::RecordingClass rc;
  std::uintmax_t size = 0;
  std::int64_t key = 0;
};

int RunScan(const std::string& rootArg) {
  using namespace lumora;
  std::filesystem::path root = rootArg;
  if (root.empty()) {
    CLinuxDriveEnumerator drives;
    auto found = CCardLocator::FindCardRoot(drives, CardSearch::RemovableOnly);
    if (!found) found = CCardLocator::FindCardRoot(drives, CardSearch::AnyDrive);
    if (!found) {
      std::cerr << "scan: no drive holds a NORMAL folder; give the card folder\n";
      return cli::kBadInput;
    }
    root = *found;
  }
  std::error_code ec;
  if (!std::filesystem::is_directory(root, ec)) {
    std::cerr << "scan: not a folder: " << root.string() << "\n";
    return cli::kBadInput;
  }
  std::vector<Found> found;
  for (const auto& path : CFileCollector::Collect(root)) {
    auto rc = CRecordingName::Classify(path);
    if (!rc) continue;
    Found f{path, *rc, std::filesystem::file_size(path, ec), 0};
    if (ec) continue;
    f.key = CRecordingName::SortKey(path.string());
    found.push_back(std::move(f));
  }
  std::stable_sort(found.begin(), found.end(), [](const Found& a, const Found& b) {
    if (a.key != b.key) return a.key > b.key;
    return CRecordingName::SortsBefore(a.path.filename().string(), b.path.filename().string());
  });
  nlohmann::json out = nlohmann::json::array();
  for (const Found& f : found) {
    out.push_back(
        {{"path", f.path.string()},
         {"kind", f.rc.kind},
         {"date", f.rc.date},
         {"time", f.rc.time},
         {"channel", f.rc.channel == 0 ? nlohmann::json(nullptr) : nlohmann::json(f.rc.channel)},
         {"size_kib", f.size / 1024},
         {"size_text", CTextForms::FileSizeText(f.size)}});
  }
  std::cout << out.dump(2) << "\n";
  return 0;
}

const cli::CliCommand kScan("scan", "List the recordings of a camera card, newest first",
                            [](CLI::App& sub) -> cli::RunFn {
                              auto root = std::make_shared<std::string>();
                              sub.add_option("CARD_ROOT", *root,
                                             "Card folder (default: find the card among the "
                                             "mounted drives)");
                              return [root] { return RunScan(*root); };
                            });

}  // namespace
