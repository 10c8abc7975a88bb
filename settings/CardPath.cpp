#include "settings/CardPath.h"

#include "library/CCardLocator.h"

namespace lumora {

std::filesystem::path ResolveCardPath(const std::filesystem::path& root,
                                      std::initializer_list<std::string_view> parts) {
  std::filesystem::path relative;
  for (std::string_view part : parts) relative /= std::string(part);
  return CCardLocator::Resolve(root, relative).value_or(root / relative);
}

}  // namespace lumora
