// Downloading a recording to the PC: the copy replaces an earlier one only
// when it is complete; anything that stops it half-way keeps the earlier copy
// byte for byte (or leaves no file) and never leaves a temporary file.
#include "library/CFileDownload.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

namespace lumora {
namespace {

namespace fs = std::filesystem;

std::string Pattern(std::size_t bytes) {
  std::string s(bytes, '\0');
  for (std::size_t i = 0; i < bytes; ++i) s[i] = static_cast<char>((i * 131 + 7) % 251);
  return s;
}

TEST(Download, CopiesOverAnExistingFileWithProgress) {
  test::TempFolder dir;
  const std::string content = Pattern(3 * CFileDownload::kChunkBytes + 123);
  const fs::path source = dir.Write("card/NORMAL/20150102_030405_N1.avi", content);
  const fs::path target = CFileDownload::TargetPath(source, dir / "pc");
  EXPECT_EQ(target, dir / "pc/20150102_030405_N1.avi");
  dir.Write("pc/20150102_030405_N1.avi", "an older copy");
  std::vector<std::uint64_t> seen;
  std::string error;
  const auto progress = [&](std::uint64_t done, std::uint64_t total) {
    EXPECT_EQ(total, content.size());
    seen.push_back(done);
    return true;
  };
  ASSERT_EQ(CFileDownload::Copy(source, target, progress, &error), DownloadResult::Copied) << error;
  EXPECT_EQ(test::ReadFile(target), content);
  EXPECT_EQ(seen.size(), 4u);
  EXPECT_EQ(seen.back(), content.size());
  EXPECT_EQ(test::CountEntries(dir / "pc"), 1);
  // An empty file copies as an empty file.
  const fs::path empty = dir.Write("card/empty.avi", "");
  EXPECT_EQ(CFileDownload::Copy(empty, dir / "pc/empty.avi", {}, &error), DownloadResult::Copied);
  EXPECT_EQ(fs::file_size(dir / "pc/empty.avi"), 0u);
}

TEST(Download, FailuresAreReported) {
  test::TempFolder dir;
  const fs::path source = dir.Write("a.avi", "data");
  for (const fs::path& from : {dir / "missing.avi", source}) {
    for (const fs::path& to : {dir / "no/folder/a.avi", source}) {  // onto itself too
      SCOPED_TRACE(from.string() + " -> " + to.string());
      std::string error;
      EXPECT_EQ(CFileDownload::Copy(from, to, {}, &error), DownloadResult::Failed);
      EXPECT_FALSE(error.empty());
    }
  }
  EXPECT_EQ(test::ReadFile(source), "data");
}

TEST(Download, InterruptedCopyKeepsTheOldTargetAndLeavesNoTemporaryFile) {
  enum Break { kCancel, kWriteRefused, kSourceShrinks };
  for (Break how : {kCancel, kWriteRefused, kSourceShrinks}) {
    for (bool earlier : {true, false}) {
      SCOPED_TRACE(std::to_string(how) + (earlier ? " over an earlier copy" : " to a new file"));
      test::TempFolder dir;
      const fs::path source =
          dir.Write("card/20150102_030405_N1.avi", Pattern(3 * CFileDownload::kChunkBytes + 17));
      const fs::path target = dir.Dir("pc") / "20150102_030405_N1.avi";
      if (earlier) test::WriteFile(target, "the earlier copy");
      rlimit old{};
      getrlimit(RLIMIT_FSIZE, &old);
      auto progress = [&](std::uint64_t done, std::uint64_t) {
        if (how == kSourceShrinks) fs::resize_file(source, 100);  // the card is pulled
        if (how == kWriteRefused) {  // the disk takes no more than is written now
          const rlimit full{static_cast<rlim_t>(done), old.rlim_max};
          setrlimit(RLIMIT_FSIZE, &full);
        }
        return how != kCancel;
      };
      const auto oldHandler = signal(SIGXFSZ, SIG_IGN);
      std::string error;
      const DownloadResult result = CFileDownload::Copy(source, target, progress, &error);
      setrlimit(RLIMIT_FSIZE, &old);
      signal(SIGXFSZ, oldHandler);
      EXPECT_EQ(result, how == kCancel ? DownloadResult::Cancelled : DownloadResult::Failed);
      EXPECT_EQ(error.empty(), how == kCancel);
      EXPECT_EQ(test::ReadFile(target), earlier ? "the earlier copy" : "");
      EXPECT_EQ(fs::exists(target), earlier);
      EXPECT_EQ(test::CountEntries(dir / "pc"), earlier ? 1 : 0);
    }
  }
}

}  // namespace
}  // namespace lumora
