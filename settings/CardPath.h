#pragma once
// Paths on the camera card. The card is FAT, whose names ignore case, while
// the folder may be mounted (or copied) where case matters: each component is
// matched exactly first, then without case among the folder's entries.

#include <filesystem>
#include <initializer_list>
#include <string_view>

namespace lumora {

// root / parts..., each existing component spelled as it is on the card. A
// component that does not exist keeps the given spelling (so the result can
// name a file to create).
std::filesystem::path ResolveCardPath(const std::filesystem::path& root,
                                      std::initializer_list<std::string_view> parts);

}  // namespace lumora
