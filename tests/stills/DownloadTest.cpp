#include "library/CFileDownload.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include "TestSupport.h"

namespace lumora {
namespace {

namespace fs = std::filesystem;

std::string Pattern(std::size_t bytes) {
  std::string s(bytes, '\0');
  for (std::size_t i = 0; i < bytes; ++i) s[i] = static_cast<char>((i * 131 + 7) % 251);
  return s;
}

TEST(Download, CopiesAndOverwritesAnExistingFile) {
  test::TempFolder dir;
  const std::string content = Pattern(3 * CFileDownload::kChunkBytes + 123);
  const fs::path source = dir.path() / "card" / "NORMAL" / "20150102_030405_N1.avi";
  test::WriteText(source, content);
  fs::create_directories(dir.path() / "pc");
  const fs::path target = CFileDownload::TargetPath(source, dir.path() / "pc");
  EXPECT_EQ(target, dir.path() / "pc" / "20150102_030405_N1.avi");
  test::WriteText(target, "an older copy");

  std::vector<std::uint64_t> seen;
  std::string error;
  const auto result = CFileDownload::Copy(
      source, target,
      [&](std::uint64_t done, std::uint64_t total) {
        EXPECT_EQ(total, content.size());
        seen.push_back(done);
        return true;
      },
      &error);
  ASSERT_EQ(result, DownloadResult::Copied) << error;
  const auto copied = test::ReadBytes(target);
  EXPECT_EQ(std::string(copied.begin(), copied.end()), content);
  ASSERT_EQ(seen.size(), 4u);
  EXPECT_EQ(seen.back(), content.size());
  EXPECT_EQ(test::CountEntries(dir.path() / "pc"), 1);  // no temporary file left
}

TEST(Download, CancelLeavesNoPartialFileAndKeepsTheOldOne) {
  test::TempFolder dir;
  const std::string content = Pattern(2 * CFileDownload::kChunkBytes + 5);
  const fs::path source = dir.path() / "20150102_030405_E1.avi";
  test::WriteText(source, content);
  fs::create_directories(dir.path() / "pc");
  const fs::path fresh = dir.path() / "pc" / "fresh.avi";
  int calls = 0;
  auto cancelAfterOne = [&](std::uint64_t, std::uint64_t) { return ++calls < 2; };
  EXPECT_EQ(CFileDownload::Copy(source, fresh, cancelAfterOne, nullptr), DownloadResult::Cancelled);
  EXPECT_EQ(calls, 2);
  EXPECT_FALSE(fs::exists(fresh));
  EXPECT_EQ(test::CountEntries(dir.path() / "pc"), 0);

  const fs::path existing = dir.path() / "pc" / "20150102_030405_E1.avi";
  test::WriteText(existing, "keep me");
  calls = 0;
  EXPECT_EQ(CFileDownload::Copy(source, existing, cancelAfterOne, nullptr),
            DownloadResult::Cancelled);
  const auto kept = test::ReadBytes(existing);
  EXPECT_EQ(std::string(kept.begin(), kept.end()), "keep me");
  EXPECT_EQ(test::CountEntries(dir.path() / "pc"), 1);
}

TEST(Download, FailuresAreReported) {
  test::TempFolder dir;
  std::string error;
  EXPECT_EQ(CFileDownload::Copy(dir.path() / "missing.avi", dir.path() / "out.avi", {}, &error),
            DownloadResult::Failed);
  EXPECT_FALSE(error.empty());
  const fs::path source = dir.path() / "a.avi";
  test::WriteText(source, "data");
  error.clear();
  EXPECT_EQ(CFileDownload::Copy(source, dir.path() / "no" / "folder" / "a.avi", {}, &error),
            DownloadResult::Failed);
  EXPECT_FALSE(error.empty());
  // Copying a file onto itself must not destroy it.
  EXPECT_EQ(CFileDownload::Copy(source, source, {}, &error), DownloadResult::Failed);
  const auto still = test::ReadBytes(source);
  EXPECT_EQ(std::string(still.begin(), still.end()), "data");
  // An empty file copies as an empty file.
  const fs::path empty = dir.path() / "empty.avi";
  test::WriteText(empty, "");
  fs::create_directories(dir.path() / "pc");
  EXPECT_EQ(CFileDownload::Copy(empty, dir.path() / "pc" / "empty.avi", {}, &error),
            DownloadResult::Copied);
  EXPECT_EQ(fs::file_size(dir.path() / "pc" / "empty.avi"), 0u);
}

// A copy that breaks off half-way (the PC's disk refuses a write, or the card
// is pulled and the recording reads short) fails, keeps the earlier copy
// byte for byte and leaves no temporary file.
TEST(Download, BrokenCopyKeepsTheOldTargetAndLeavesNoTemporaryFile) {
  enum class Break { WriteRefused, SourceVanishes };
  for (Break how : {Break::WriteRefused, Break::SourceVanishes}) {
    SCOPED_TRACE(how == Break::WriteRefused ? "write refused" : "source vanishes");
    test::TempFolder dir;
    const fs::path source =
        dir.Write("card/20150102_030405_N1.avi", Pattern(3 * CFileDownload::kChunkBytes + 17));
    const fs::path target = dir.Write("pc/20150102_030405_N1.avi", "the earlier copy");
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    auto progress = [&](std::uint64_t done, std::uint64_t) {
      if (how == Break::SourceVanishes) fs::resize_file(source, 100);
      if (how == Break::WriteRefused) {
        // Files may grow no further than what is written now.
        rlimit limit{static_cast<rlim_t>(done), old.rlim_max};
        setrlimit(RLIMIT_FSIZE, &limit);
      }
      return true;
    };
    const auto oldHandler = signal(SIGXFSZ, SIG_IGN);
    std::string error;
    const DownloadResult result = CFileDownload::Copy(source, target, progress, &error);
    setrlimit(RLIMIT_FSIZE, &old);
    signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(result, DownloadResult::Failed);
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(test::ReadFile(target), "the earlier copy");
    EXPECT_EQ(test::CountEntries(dir.path() / "pc"), 1);
  }
}

}  // namespace
}  // namespace lumora
