// lumora-cli settings [CARD_ROOT] [--set SECTION.KEY=VALUE ...]
// Prints every section and key of the card's data_setup.cfg as JSON; with
// --set, changes the values and rewrites the file the way the settings dialog
// saves it (comments kept, unknown sections dropped).

#include <charconv>
#include <filesystem>
#include <iostream>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "settings/SetupData.h"
#include "settings/SetupFile.h"
#include "tools/cli/CardRootArg.h"
#include "tools/cli/CliCommand.h"

namespace {

using lumora::SetupData;
using Json = nlohmann::ordered_json;

Json Lines(const std::string& block) {
  Json lines = Json::array();
  std::size_t pos = 0;
  while (pos < block.size()) {
    std::size_t end = block.find('\n', pos);
    if (end == std::string::npos) end = block.size();
    lines.push_back(block.substr(pos, end - pos));
    pos = end + 1;
  }
  return lines;
}

Json SettingsJson(const std::filesystem::path& file, const SetupData& data,
                  const lumora::SetupComments& comments) {
  Json out;
  out["file"] = file.string();
  Json sections = Json::object();
  for (const char* section : lumora::kSetupSections) {
    Json keys = Json::object();
    for (const lumora::SetupKeyInfo* k : lumora::SetupSectionWriteKeys(section)) {
      keys[k->key] = lumora::SetupFieldValue(data, *k);
    }
    sections[section] = keys;
  }
  out["sections"] = sections;
  out["comments"] = {{"head", Lines(comments.head)}, {"tail", Lines(comments.tail)}};
  return out;
}

// Applies "SECTION.KEY=VALUE"; false with a message on bad input.
bool ApplySet(const std::string& assignment, SetupData& data, std::string& error) {
  std::size_t dot = assignment.find('.');
  std::size_t eq = assignment.find('=');
  if (dot == std::string::npos || eq == std::string::npos || dot > eq) {
    error = "expected SECTION.KEY=VALUE, got \"" + assignment + "\"";
    return false;
  }
  std::string section = assignment.substr(0, dot);
  std::string key = assignment.substr(dot + 1, eq - dot - 1);
  std::string value = assignment.substr(eq + 1);
  const lumora::SetupKeyInfo* info = lumora::FindSetupKey(section, key);
  if (!info) {
    error = "unknown key " + section + "." + key;
    return false;
  }
  long number = 0;
  const char* first = value.data();
  const char* last = value.data() + value.size();
  if (!value.empty() && value.front() == '+') ++first;
  auto [ptr, ec] = std::from_chars(first, last, number);
  long lo = info->isSigned ? -32768 : 0;
  long hi = info->isSigned ? 32767 : 65535;
  if (value.empty() || ec != std::errc() || ptr != last || number < lo || number > hi) {
    error = std::string("value for ") + info->section + "." + info->key +
            " must be an integer in " + std::to_string(lo) + ".." + std::to_string(hi) +
            ", got \"" + value + "\"";
    return false;
  }
  data.SetRaw(info->offset, static_cast<std::uint16_t>(number));
  return true;
}

int Run(const std::string& givenRoot, const std::vector<std::string>& sets) {
  std::optional<std::filesystem::path> found = cli::CardRootOrFind(givenRoot, "settings");
  if (!found) return cli::kBadInput;
  const std::filesystem::path& cardRoot = *found;
  lumora::SetupFileLocation where = lumora::FindSetupFile(cardRoot);
  if (!where.found) {
    std::cerr << "settings: Can't open a setup file.\n";
    return cli::kBadInput;
  }
  SetupData data;
  lumora::SetupComments comments;
  if (!lumora::LoadSetupFile(where.path, data, comments)) {
    std::cerr << "settings: Can't open a setup file.\n";
    return cli::kBadInput;
  }
  if (!sets.empty()) {
    for (const std::string& s : sets) {
      std::string error;
      if (!ApplySet(s, data, error)) {
        std::cerr << "settings: " << error << "\n";
        return cli::kBadInput;
      }
    }
    std::string error;
    if (!lumora::SaveSetupFile(cardRoot, data, comments, &error)) {
      std::cerr << "settings: the settings were not saved: " << error << "\n";
      return 1;
    }
    data = SetupData{};
    lumora::LoadSetupFile(where.path, data, comments);
  }
  std::cout << SettingsJson(where.path, data, comments)
                   .dump(2, ' ', false, Json::error_handler_t::replace)
            << "\n";
  return 0;
}

const cli::CliCommand kSettings(
    "settings", "Print or change the camera settings file (data_setup.cfg) of a card",
    [](CLI::App& sub) -> cli::RunFn {
      auto root = std::make_shared<std::string>();
      auto sets = std::make_shared<std::vector<std::string>>();
      sub.add_option("CARD_ROOT", *root,
                     "Folder of the camera card (default: the removable card found)");
      sub.add_option("--set", *sets, "SECTION.KEY=VALUE to change (repeatable)")->expected(1, -1);
      return [root, sets] { return Run(*root, *sets); };
    });

}  // namespace
