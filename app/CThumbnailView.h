#pragma once
// The thumbnail page of the main window: ten of the card's recordings and
// captured pictures at a time, five across and two down inside the area
// (23, 100)-(628, 350), each with its file name under it. Pictures are made on
// a background thread and appear as they arrive; a file that gives none gets
// a crossed placeholder. Clicking a thumbnail reports its file.
#include <QFontMetrics>
#include <QImage>
#include <QRect>
#include <QString>
#include <QWidget>

#include <cstdint>
#include <deque>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/CThumbnailDecoder.h"
#include "library/CThumbnailPages.h"

namespace lumora {

class CThumbnailWorker;

class CThumbnailView : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kLeft = 23;
  static constexpr int kTop = 100;
  static constexpr int kWidth = 605;   // to x 628
  static constexpr int kHeight = 250;  // to y 350
  static constexpr int kColumns = 5;
  static constexpr int kRows = 2;
  // The cells match the frames of the page's background bitmap (319).
  static constexpr int kCellLeft = 10;
  static constexpr int kCellTop = 10;
  static constexpr int kCellPitchX = 119;
  static constexpr int kCellPitchY = 120;
  static constexpr int kCellSize = 110;
  static constexpr int kPictureWidth = 104;
  static constexpr int kPictureHeight = 78;
  static constexpr int kNameHeight = 20;

  explicit CThumbnailView(QWidget* parent = nullptr);
  ~CThumbnailView() override;

  // Collects the card's files and shows the first page.
  void ShowCard(const std::filesystem::path& cardRoot);
  // Shows these files (first page).
  void ShowFiles(std::vector<std::filesystem::path> files);
  // Paging while the page is shown; false when it is not or at an end.
  bool NextPage();
  bool PreviousPage();
  // Hides the page and drops the decoding in progress.
  void Leave();
  // Leaves the page and waits until the decoding thread holds no file.
  void ReleaseFiles();
  bool IsShowing() const { return m_showing; }
  const CThumbnailPages& Pages() const { return m_pages; }

  // Geometry inside the view: a cell, the box a picture is centred in, the
  // name strip; the slot under a point (-1 outside the slots in use).
  static QRect CellRect(int slot);
  static QRect PictureBox(int slot);
  static QRect NameRect(int slot);
  int SlotAt(const QPoint& point) const;
  // The name under a picture: whole, else without its extension, else
  // shortened in the middle to fit `width`.
  static QString ShownName(const QString& name, const QFontMetrics& metrics, int width);

  // The current page's slots: whether each has its result, the picture
  // (null for a placeholder) and the file.
  int SlotCount() const { return static_cast<int>(m_slots.size()); }
  bool SlotDone(int slot) const;
  QImage SlotPicture(int slot) const;
  std::filesystem::path SlotFile(int slot) const;
  // Runs the event loop until every slot has its result or `timeoutMs` passed.
  bool WaitForPage(int timeoutMs);
  // Pictures kept from earlier pages (paging back decodes nothing again).
  static constexpr std::size_t kCacheSize = 60;
  std::size_t CachedCount() const { return m_cache.size(); }
  // Files the worker was asked to decode, over the view's life.
  int DecodeRequests() const { return m_decodeRequests; }
  // The tooltip of a slot: name, date and size.
  QString SlotDetails(int slot) const;

 signals:
  void fileChosen(const QString& path);

 protected:
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  struct Slot {
    std::filesystem::path file;
    QImage picture;
    bool done = false;
    QString details;
  };
  static std::string CacheKey(const std::filesystem::path& file);
  void Remember(const std::string& key, const QImage& picture);
  void StartPage();
  void OnResult(std::uint64_t batch, int index, std::optional<Thumbnail> picture);

  CThumbnailPages m_pages;
  std::vector<Slot> m_slots;
  std::vector<int> m_pending;             // slot of each file handed to the worker
  std::map<std::string, QImage> m_cache;  // null image: the file gave none
  std::deque<std::string> m_cacheOrder;
  int m_decodeRequests = 0;
  std::uint64_t m_batch = 0;
  bool m_showing = false;
  std::unique_ptr<CThumbnailWorker> m_worker;
};

}  // namespace lumora
