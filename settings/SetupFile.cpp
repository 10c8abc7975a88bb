#include "settings/SetupFile.h"

#include "platform/AtomicFile.h"
#include "platform/PrivateProfile.h"
#include "settings/CardPath.h"

namespace lumora {
namespace {

bool OpensForReading(const std::filesystem::path& path) {
  std::string head;
  std::error_code ec;
  return std::filesystem::is_regular_file(path, ec) && ReadFileHead(path, 1, head);
}

// Text-mode output: every "\n" becomes CR LF.
std::string ToCrLf(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 16);
  for (char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

}  // namespace

SetupFileLocation FindSetupFile(const std::filesystem::path& cardRoot) {
  for (auto path : {ResolveCardPath(cardRoot, {"cfg", kSetupFileName}),
                    ResolveCardPath(cardRoot, {kSetupFileName})}) {
    if (OpensForReading(path)) return {path, true};
  }
  return {};
}

SetupComments ReadSetupComments(std::string_view text) {
  SetupComments comments;
  bool headPhase = true;
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t end = text.find('\n', pos);
    std::size_t next = end == std::string_view::npos ? text.size() : end + 1;
    std::string_view line =
        text.substr(pos, (end == std::string_view::npos ? text.size() : end) - pos);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    pos = next;
    bool comment = line.find('#') != std::string_view::npos;
    if (headPhase && !comment) {
      headPhase = false;
      continue;
    }
    if (!comment) continue;
    std::string& block = headPhase ? comments.head : comments.tail;
    block.append(line);
    block += '\n';
  }
  return comments;
}

void ReadSetupSection(const IniDocument& doc, std::string_view section, SetupData& data) {
  for (const SetupKeyInfo* k : SetupSectionReadKeys(section)) {
    data.SetRaw(k->offset, static_cast<std::uint16_t>(GetProfileInt(doc, section, k->key, 0)));
  }
}

void WriteSetupSection(IniDocument& doc, std::string_view section, const SetupData& data) {
  for (const SetupKeyInfo* k : SetupSectionWriteKeys(section)) {
    doc.SetValue(section, k->key, FormatProfileInt(SetupFieldValue(data, *k)));
  }
}

bool LoadSetupFile(const std::filesystem::path& path, SetupData& data, SetupComments& comments) {
  std::string text;
  bool opened = ReadWholeFile(path, text);
  comments = opened ? ReadSetupComments(text) : SetupComments{};
  IniDocument doc = IniDocument::Parse(text);
  for (const char* section : kSetupSections) ReadSetupSection(doc, section, data);
  return opened;
}

std::string BuildSetupFileText(const SetupData& data, const SetupComments& comments) {
  IniDocument doc;
  for (const char* section : kSetupSections) WriteSetupSection(doc, section, data);
  return ToCrLf(comments.head) + doc.Serialize() + ToCrLf(comments.tail);
}

bool SaveSetupFile(const std::filesystem::path& cardRoot, const SetupData& data,
                   const SetupComments& comments, std::string* error) {
  SetupFileLocation where = FindSetupFile(cardRoot);
  if (!where.found) {
    if (error) *error = "Can't open a setup file.";
    return false;
  }
  if (!IsFileWritable(where.path)) {
    if (error) *error = "the setup file is read-only: " + where.path.string();
    return false;
  }
  return WriteFileAtomically(where.path, BuildSetupFileText(data, comments), error);
}

}  // namespace lumora
