#pragma once
// data_setup.cfg: finding, loading and rewriting the camera's settings file.
//
// The file is INI text (sections IO, INSTALL, LDWS, BNW, FCW, PD, VB, BB, B2B,
// DSP, KVX; every value written as "%d ", CR LF line ends). Lines containing
// "#" are comments the user may have added: those at the top of the file (the
// head block) stay at the top after a save, every later one (the tail block,
// including a key line with a trailing "# ..." comment) is moved to the end.
// Sections and keys this program does not know are dropped by a save.

#include <filesystem>
#include <string>
#include <string_view>

#include "platform/IniDocument.h"
#include "settings/SetupData.h"

namespace lumora {

inline constexpr char kSetupFileName[] = "data_setup.cfg";

// The comment lines of data_setup.cfg, each followed by "\n".
struct SetupComments {
  std::string head;  // comment lines before the first non-comment line
  std::string tail;  // every later line that contains "#"
};

struct SetupFileLocation {
  std::filesystem::path path;  // empty when not found
  bool found = false;
};

// Looks for CARD/cfg/data_setup.cfg, then CARD/data_setup.cfg (names without
// case); the first that opens for reading wins.
SetupFileLocation FindSetupFile(const std::filesystem::path& cardRoot);

// Splits file text into the comment blocks: while no line without "#" has
// been seen, lines containing "#" go to the head; the first line without "#"
// ends the head phase; after it, lines containing "#" go to the tail. Lines
// end at LF; a CR before the LF is not part of the line.
SetupComments ReadSetupComments(std::string_view text);

// Reads the comment blocks and every section (order IO .. KVX) into `data`.
// Keys missing or not numeric read as 0; only the low 16 bits are kept;
// reserved fields of `data` are not touched. When the file does not open,
// returns false, the blocks are empty and every keyed field is 0.
bool LoadSetupFile(const std::filesystem::path& path, SetupData& data, SetupComments& comments);

// One section's reader and writer: exactly that section's keys, in the
// section's order (see SetupSectionReadKeys / SetupSectionWriteKeys).
void ReadSetupSection(const IniDocument& doc, std::string_view section, SetupData& data);
void WriteSetupSection(IniDocument& doc, std::string_view section, const SetupData& data);

// The exact bytes a save produces: the head block, the sections IO .. KVX
// written into an empty file, then the tail block; every line ends in CR LF.
std::string BuildSetupFileText(const SetupData& data, const SetupComments& comments);

// Rewrites the card's data_setup.cfg (located again with FindSetupFile) with
// BuildSetupFileText. The new text goes to a temporary file on the card that
// is renamed over the old one, so a failure part-way (full card, removed
// card) keeps the old file whole. False, with `error` set, when the file is
// not found, is read-only, or cannot be replaced.
bool SaveSetupFile(const std::filesystem::path& cardRoot, const SetupData& data,
                   const SetupComments& comments, std::string* error = nullptr);

}  // namespace lumora
