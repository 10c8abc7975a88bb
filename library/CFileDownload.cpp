#include "library/CFileDownload.h"

#include <fstream>
#include <random>
#include <system_error>
#include <vector>

namespace lumora {

std::filesystem::path CFileDownload::TargetPath(const std::filesystem::path& source,
                                                const std::filesystem::path& folder) {
  return folder / source.filename();
}

DownloadResult CFileDownload::Copy(const std::filesystem::path& source,
                                   const std::filesystem::path& target, const ProgressFn& progress,
                                   std::string* error) {
  auto fail = [&](const std::string& text) {
    if (error) *error = text;
    return DownloadResult::Failed;
  };
  std::error_code ec;
  if (!std::filesystem::is_regular_file(source, ec)) return fail("cannot open " + source.string());
  if (std::filesystem::equivalent(source, target, ec)) {
    return fail(target.string() + " is the file itself");
  }
  const std::uint64_t total = std::filesystem::file_size(source, ec);
  if (ec) return fail("cannot read the size of " + source.string());
  std::ifstream in(source, std::ios::binary);
  if (!in) return fail("cannot open " + source.string());

  std::random_device rd;
  const std::filesystem::path temp =
      target.parent_path() /
      ("." + target.filename().string() + ".part-" + std::to_string(rd() % 1000000));
  std::ofstream out(temp, std::ios::binary | std::ios::trunc);
  if (!out) return fail("cannot write to " + target.parent_path().string());
  auto discard = [&] {
    out.close();
    std::error_code ignored;
    std::filesystem::remove(temp, ignored);
  };

  std::vector<char> buffer(kChunkBytes);
  std::uint64_t done = 0;
  while (done < total) {
    const std::size_t want =
        static_cast<std::size_t>(std::min<std::uint64_t>(buffer.size(), total - done));
    in.read(buffer.data(), static_cast<std::streamsize>(want));
    const std::streamsize got = in.gcount();
    if (got <= 0) {
      discard();
      return fail("cannot read " + source.string());
    }
    out.write(buffer.data(), got);
    if (!out) {
      discard();
      return fail("cannot write " + target.string() + " (is the disk full?)");
    }
    done += static_cast<std::uint64_t>(got);
    if (progress && !progress(done, total)) {
      discard();
      return DownloadResult::Cancelled;
    }
  }
  out.flush();
  out.close();
  if (!out) {
    std::filesystem::remove(temp, ec);
    return fail("cannot write " + target.string() + " (is the disk full?)");
  }
  std::filesystem::rename(temp, target, ec);
  if (ec) {
    std::error_code ignored;
    std::filesystem::remove(temp, ignored);
    return fail("cannot replace " + target.string() + ": " + ec.message());
  }
  return DownloadResult::Copied;
}

}  // namespace lumora
