#pragma once
// The thumbnail pages of the main window: the card's recordings and captured
// pictures found inside the card root's sub-folders (files lying in the root
// itself are not shown), ten to a page, paged forward and back within bounds.
#include <filesystem>
#include <string>
#include <vector>

namespace lumora {

enum class ThumbnailKind { Recording, Picture, Other };

class CThumbnailPages {
 public:
  static constexpr int kPerPage = 10;

  // ".avi" / ".mp4" recordings and ".jpg" pictures, any case.
  static ThumbnailKind KindOf(const std::filesystem::path& file);
  // The files shown, from the card root's sub-folders in name order, each
  // sub-folder's files as the file collector walks them.
  static std::vector<std::filesystem::path> Collect(const std::filesystem::path& cardRoot);

  // The details shown with a thumbnail: the file name, its date of last
  // change "YY.MM.DD" and its size in KiB, as the recording lists write them.
  // Empty when the file cannot be read.
  static std::string Details(const std::filesystem::path& file);

  // Starts at the first page.
  void Load(std::vector<std::filesystem::path> files);
  void Clear();
  const std::vector<std::filesystem::path>& Files() const { return m_files; }
  int Page() const { return m_page; }
  // At least one page, even when there is no file.
  int PageCount() const;
  // Moves by one page; false (and no move) at either end.
  bool NextPage();
  bool PreviousPage();
  // The files of the current page (at most ten) and the first one's index.
  std::vector<std::filesystem::path> PageFiles() const;
  int FirstIndex() const { return m_page * kPerPage; }

 private:
  std::vector<std::filesystem::path> m_files;
  int m_page = 0;
};

}  // namespace lumora
