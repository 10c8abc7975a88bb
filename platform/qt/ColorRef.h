#pragma once
// Colours are kept as the camera software's 0x00BBGGRR words; this turns one
// into a QColor for painting.

#include <QColor>

#include <cstdint>

namespace lumora {

inline QColor FromColorRef(std::uint32_t ref) {
  return QColor(static_cast<int>(ref & 0xFF), static_cast<int>((ref >> 8) & 0xFF),
                static_cast<int>((ref >> 16) & 0xFF));
}

}  // namespace lumora
