// lumora-cli records FILE: every user-data record of a recording, one JSON
// object per line, in the order the reader hands them out.

#include <cstdint>
#include <filesystem>
#include <iostream>
#include <nlohmann/json.hpp>
#include <string>
#include <system_error>
#include <vector>

#include "engine/CFileManager.h"
#include "tools/cli/CliCommand.h"

namespace {

std::string Kind(const std::uint8_t* data, std::uint32_t length) {
  if (length == 0) return "other";
  switch (data[0]) {
    case 'M':
      return "M";
    case 'A':
      return "A";
    case '$':
      return "$";
    default:
      return "other";
  }
}

std::string Hex(const std::uint8_t* data, std::uint32_t length) {
  static const char kDigits[] = "0123456789abcdef";
  std::string hex;
  hex.reserve(static_cast<std::size_t>(length) * 2);
  for (std::uint32_t i = 0; i < length; ++i) {
    hex.push_back(kDigits[data[i] >> 4]);
    hex.push_back(kDigits[data[i] & 0x0F]);
  }
  return hex;
}

// The sentence without the trailing NULs and line ends the camera pads with.
std::string SentenceText(const std::uint8_t* data, std::uint32_t length) {
  std::string text(reinterpret_cast<const char*>(data), length);
  while (!text.empty() && (text.back() == '\0' || text.back() == '\r' || text.back() == '\n')) {
    text.pop_back();
  }
  return text;
}

int RunRecords(const std::string& file) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(file, ec)) {
    std::cerr << "records: not a readable file: " << file << "\n";
    return cli::kBadInput;
  }
  lumora::CFileManager manager;
  if (manager.Open(file) != 1) {
    std::cerr << "records: cannot open " << file << "\n";
    return cli::kBadInput;
  }
  // Large enough for every record, so none is lost to the too-small rule.
  std::vector<std::uint8_t> buffer(std::max<std::uint32_t>(manager.GetLargestUserDataLength(), 1));
  for (int index = 0;; ++index) {
    std::uint32_t length = static_cast<std::uint32_t>(buffer.size());
    std::uint32_t cts = 0;
    if (manager.GetNextUserData(buffer.data(), &length, &cts) != lumora::kS_OK) break;
    nlohmann::ordered_json out;
    out["index"] = index;
    out["cts"] = cts;
    out["length"] = length;
    const std::string kind = Kind(buffer.data(), length);
    out["kind"] = kind;
    out["hex"] = Hex(buffer.data(), length);
    if (kind == "$") out["text"] = SentenceText(buffer.data(), length);
    std::cout << out.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) << "\n";
  }
  return 0;
}

const cli::CliCommand kRecords{
    "records", "Print every user-data record of a recording as one JSON object per line",
    [](CLI::App& sub) -> cli::RunFn {
      auto file = std::make_shared<std::string>();
      sub.add_option("FILE", *file, "Recording (AVI or MP4)")->required();
      return [file] { return RunRecords(*file); };
    }};

}  // namespace
