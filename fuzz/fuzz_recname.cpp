// Recording-name rules: the input is taken as a path on the card.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "library/CRecordingName.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const std::size_t half = size / 2;
  (void)lumora::CRecordingName::Classify(std::filesystem::path(std::string(text)));
  (void)lumora::CRecordingName::Classify(std::filesystem::path("/card/NORMAL") / std::string(text));
  (void)lumora::CRecordingName::KindFromSuffix(text);
  (void)lumora::CRecordingName::ParseName(text);
  (void)lumora::CRecordingName::OrderingForm(text);
  (void)lumora::CRecordingName::SortKey(text);
  (void)lumora::CRecordingName::SortsBefore(text.substr(0, half), text.substr(half));
  (void)lumora::CRecordingName::Upper(text);
  return 0;
}
