// The list rules on a card written by the sample-card tool: the scan lists
// the recordings of the card's folders (not those of a subfolder), and the
// open-dialog rules keep only the ".avi" files above 10 KiB.
#include "library/CRecordingList.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>

namespace lumora {
namespace {

class SampleCardList : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    folder_ = new test::TempFolder();
    const std::string command =
        std::string(LUMORA_BINARY_DIR "/tools/mkcard/lumora-mkcard ") + "\"" +
        (folder_->path() / "card").string() +
        "\" --seconds 1 --recordings 3 --front 160x96 --rear 96x64 --no-stills"
        " > /dev/null";
    made_ = std::system(command.c_str()) == 0;
  }
  static void TearDownTestSuite() {
    delete folder_;
    folder_ = nullptr;
  }
  static std::filesystem::path Card() { return folder_->path() / "card"; }

  static test::TempFolder* folder_;
  static bool made_;
};

test::TempFolder* SampleCardList::folder_ = nullptr;
bool SampleCardList::made_ = false;

TEST_F(SampleCardList, ScanListsEveryRecordingOfTheKindFolders) {
  ASSERT_TRUE(made_);
  std::set<std::string> expected;
  for (const char* folder : {"NORMAL", "EVENT", "PARKING"}) {
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(Card() / folder, ec)) {
      const std::string ext = entry.path().extension().string();
      if (entry.is_regular_file() && (ext == ".avi" || ext == ".mp4"))
        expected.insert(entry.path().string());
    }
  }
  ASSERT_FALSE(expected.empty());
  CRecordingList list;
  EXPECT_EQ(list.ScanCard(Card()), static_cast<int>(expected.size()));
  std::set<std::string> listed;
  for (const ListRow& row : list.Visible()) listed.insert(row.path);
  EXPECT_EQ(listed, expected);
  // Newest first by the date and time in the names.
  const ListRow& newest = list.Visible().front();
  for (const ListRow& row : list.Visible()) {
    if (row.path.find('^') == std::string::npos && newest.path.find('^') == std::string::npos) {
      EXPECT_GE(std::filesystem::path(newest.path).filename().string(),
                std::filesystem::path(row.path).filename().string());
    }
  }
}

TEST_F(SampleCardList, OpenDialogRulesKeepLargerAviFiles) {
  ASSERT_TRUE(made_);
  std::vector<std::filesystem::path> chosen;
  std::size_t listable = 0;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(Card())) {
    if (!entry.is_regular_file()) continue;
    chosen.push_back(entry.path());
    if (entry.path().string().find(".avi") == std::string::npos) continue;
    if (entry.file_size() / 1024 > 10) ++listable;
  }
  ASSERT_GT(listable, 0u);
  CRecordingList list;
  EXPECT_EQ(list.AddOpened(chosen), static_cast<int>(listable));
  EXPECT_EQ(list.Visible().size(), listable);
  for (const ListRow& row : list.Visible()) {
    EXPECT_EQ(row.kind, "File");
    EXPECT_NE(row.path.find(".avi"), std::string::npos);
  }
}

}  // namespace
}  // namespace lumora
