#include "settings/CardPath.h"

#include "platform/IniDocument.h"

namespace lumora {

std::filesystem::path ResolveCardPath(const std::filesystem::path& root,
                                      std::initializer_list<std::string_view> parts) {
  namespace fs = std::filesystem;
  fs::path current = root;
  bool searching = true;
  for (std::string_view part : parts) {
    fs::path exact = current / std::string(part);
    std::error_code ec;
    if (!searching || fs::exists(exact, ec)) {
      current = exact;
      continue;
    }
    fs::path match;
    for (fs::directory_iterator it(current, ec), end; !ec && it != end; it.increment(ec)) {
      if (EqualsNoCase(it->path().filename().string(), part)) {
        match = it->path();
        break;
      }
    }
    if (match.empty()) {
      searching = false;  // nothing below a missing folder can exist
      current = exact;
    } else {
      current = match;
    }
  }
  return current;
}

}  // namespace lumora
