#pragma once
// The private-profile reads the settings files rely on, with the results
// Windows' GetPrivateProfileInt and GetPrivateProfileString give (see
// IniDocument.h for the text rules), on an IniDocument: callers read or write
// many keys of one file (the settings record has 110) and write it back whole,
// replaced atomically.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "platform/IniDocument.h"

namespace lumora {

// Characters GetPrivateProfileInt looks at (its internal buffer).
inline constexpr std::size_t kProfileIntBufferChars = 30;

// Windows' string-to-integer rule for profile values: leading blanks, an
// optional "+" or "-", then "0x" hexadecimal, "0o" octal, "0b" binary or
// decimal digits; conversion stops at the first character that is not a
// digit of the base. No digits give 0. The value wraps modulo 2^32.
std::uint32_t ProfileStringToInt(std::string_view text);

// A found value with one pair of enclosing quotes (both " or both ') removed,
// cut to `bufferSize` - 1 characters. Quotes are removed only when the first
// and last characters are the same quote and the value is longer than one.
std::string ProfileCopyValue(std::string_view value, std::size_t bufferSize);

// GetPrivateProfileString on a document: the value, or `def` with trailing
// blanks removed when the key is missing; cut to bufferSize - 1 characters.
// A buffer size of 0 gives the empty string.
std::string GetProfileString(const IniDocument& doc, std::string_view section, std::string_view key,
                             std::string_view def, std::size_t bufferSize);

// GetPrivateProfileInt on a document: `def` when the key is missing, has no
// "=", or its value is empty; otherwise ProfileStringToInt of the value.
std::uint32_t GetProfileInt(const IniDocument& doc, std::string_view section, std::string_view key,
                            std::int32_t def);

// Loads a file as a document. False when it does not open or is too large;
// `doc` is then empty.
bool LoadProfileDocument(const std::filesystem::path& file, IniDocument& doc);

// "%d " formatting used for every integer value written to the camera's
// settings files: the decimal value followed by one blank.
std::string FormatProfileInt(std::int32_t value);

}  // namespace lumora
