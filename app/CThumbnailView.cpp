#include "app/CThumbnailView.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFontMetrics>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QToolTip>

#include "display/CThumbnailSource.h"
#include "engine/CThumbnailWorker.h"
#include "res/SkinBitmaps.h"
#include "res/SkinIds.h"

namespace lumora {

CThumbnailView::CThumbnailView(QWidget* parent) : QWidget(parent) {
  setGeometry(kLeft, kTop, kWidth, kHeight);
  hide();
  m_worker = std::make_unique<CThumbnailWorker>(
      [](const std::filesystem::path& path, const std::atomic<bool>& cancel) {
        std::string error;
        return CThumbnailSource::Make(path, kPictureWidth, kPictureHeight, &error, &cancel);
      },
      [this](std::uint64_t batch, int index, std::optional<Thumbnail> picture) {
        // Runs on the worker thread: hand the result to the window's thread.
        // The worker is joined before this view goes, so `this` is alive here;
        // a queued call to a deleted object is dropped by Qt.
        QMetaObject::invokeMethod(
            this,
            [this, batch, index, picture = std::move(picture)]() mutable {
              OnResult(batch, index, std::move(picture));
            },
            Qt::QueuedConnection);
      });
}

CThumbnailView::~CThumbnailView() { m_worker.reset(); }

void CThumbnailView::ShowCard(const std::filesystem::path& cardRoot) {
  ShowFiles(CThumbnailPages::Collect(cardRoot));
}

void CThumbnailView::ShowFiles(std::vector<std::filesystem::path> files) {
  m_pages.Load(std::move(files));
  m_showing = true;
  StartPage();
  show();
  raise();
}

bool CThumbnailView::NextPage() {
  if (!m_showing || !m_pages.NextPage()) return false;
  StartPage();
  return true;
}

bool CThumbnailView::PreviousPage() {
  if (!m_showing || !m_pages.PreviousPage()) return false;
  StartPage();
  return true;
}

void CThumbnailView::Leave() {
  if (!m_showing) return;
  m_showing = false;
  m_worker->Cancel();
  m_slots.clear();
  hide();
}

void CThumbnailView::ReleaseFiles() {
  Leave();
  m_worker->Cancel();
  m_worker->WaitIdle();
}

std::string CThumbnailView::CacheKey(const std::filesystem::path& file) {
  // A file written again (another size or time) is decoded again.
  std::error_code ec;
  const auto size = std::filesystem::file_size(file, ec);
  const auto time = std::filesystem::last_write_time(file, ec);
  return file.string() + '|' + std::to_string(size) + '|' +
         std::to_string(time.time_since_epoch().count());
}

void CThumbnailView::Remember(const std::string& key, const QImage& picture) {
  if (m_cache.count(key) == 0) m_cacheOrder.push_back(key);
  m_cache[key] = picture;
  while (m_cacheOrder.size() > kCacheSize) {
    m_cache.erase(m_cacheOrder.front());
    m_cacheOrder.pop_front();
  }
}

void CThumbnailView::StartPage() {
  m_slots.clear();
  m_pending.clear();
  std::vector<std::filesystem::path> decode;
  for (const auto& file : m_pages.PageFiles()) {
    Slot slot{file, QImage(), false, QString::fromStdString(CThumbnailPages::Details(file))};
    auto cached = m_cache.find(CacheKey(file));
    if (cached != m_cache.end()) {
      slot.picture = cached->second;
      slot.done = true;
    } else {
      m_pending.push_back(static_cast<int>(m_slots.size()));
      decode.push_back(file);
    }
    m_slots.push_back(std::move(slot));
  }
  m_decodeRequests += static_cast<int>(decode.size());
  if (decode.empty()) {
    m_worker->Cancel();
    ++m_batch;  // no result of an earlier page may land on this one
  } else {
    m_batch = m_worker->Start(std::move(decode));
  }
  update();
}

void CThumbnailView::OnResult(std::uint64_t batch, int index, std::optional<Thumbnail> picture) {
  if (batch != m_batch || index < 0 || index >= static_cast<int>(m_pending.size())) return;
  const int slotIndex = m_pending[static_cast<std::size_t>(index)];
  if (slotIndex >= SlotCount()) return;
  Slot& slot = m_slots[static_cast<std::size_t>(slotIndex)];
  slot.done = true;
  if (picture && !picture->Empty()) {
    slot.picture = QImage(picture->rgb.data(), picture->width, picture->height, picture->width * 3,
                          QImage::Format_RGB888)
                       .copy();
  }
  Remember(CacheKey(slot.file), slot.picture);
  update(CellRect(slotIndex));
}

QString CThumbnailView::SlotDetails(int slot) const {
  if (slot < 0 || slot >= SlotCount()) return {};
  return m_slots[static_cast<std::size_t>(slot)].details;
}

bool CThumbnailView::event(QEvent* event) {
  if (event->type() == QEvent::ToolTip) {
    auto* help = static_cast<QHelpEvent*>(event);
    const int slot = SlotAt(help->pos());
    if (slot >= 0) {
      QToolTip::showText(help->globalPos(), SlotDetails(slot), this, CellRect(slot));
    } else {
      QToolTip::hideText();
      event->ignore();
    }
    return true;
  }
  return QWidget::event(event);
}

QRect CThumbnailView::CellRect(int slot) {
  const int column = slot % kColumns;
  const int row = slot / kColumns;
  return QRect(kCellLeft + column * kCellPitchX, kCellTop + row * kCellPitchY, kCellSize,
               kCellSize);
}

QRect CThumbnailView::PictureBox(int slot) {
  const QRect cell = CellRect(slot);
  const int left = cell.left() + (kCellSize - kPictureWidth) / 2;
  const int top = cell.top() + (kCellSize - kPictureHeight - kNameHeight) / 2;
  return QRect(left, top, kPictureWidth, kPictureHeight);
}

QRect CThumbnailView::NameRect(int slot) {
  const QRect box = PictureBox(slot);
  const QRect cell = CellRect(slot);
  return QRect(cell.left() + 1, box.bottom() + 1, kCellSize - 2, kNameHeight);
}

QString CThumbnailView::ShownName(const QString& name, const QFontMetrics& metrics, int width) {
  if (metrics.horizontalAdvance(name) <= width) return name;
  // The recording's date, time and channel matter more than ".avi".
  const int dot = name.lastIndexOf(QLatin1Char('.'));
  if (dot > 0 && metrics.horizontalAdvance(name.left(dot)) <= width) return name.left(dot);
  return metrics.elidedText(name, Qt::ElideMiddle, width);
}

int CThumbnailView::SlotAt(const QPoint& point) const {
  for (int slot = 0; slot < SlotCount(); ++slot) {
    if (CellRect(slot).contains(point)) return slot;
  }
  return -1;
}

bool CThumbnailView::SlotDone(int slot) const {
  return slot >= 0 && slot < SlotCount() && m_slots[static_cast<std::size_t>(slot)].done;
}

QImage CThumbnailView::SlotPicture(int slot) const {
  if (slot < 0 || slot >= SlotCount()) return {};
  return m_slots[static_cast<std::size_t>(slot)].picture;
}

std::filesystem::path CThumbnailView::SlotFile(int slot) const {
  if (slot < 0 || slot >= SlotCount()) return {};
  return m_slots[static_cast<std::size_t>(slot)].file;
}

bool CThumbnailView::WaitForPage(int timeoutMs) {
  QElapsedTimer timer;
  timer.start();
  auto allDone = [this] {
    for (const Slot& slot : m_slots) {
      if (!slot.done) return false;
    }
    return true;
  };
  while (!allDone()) {
    if (timer.elapsed() > timeoutMs) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  }
  return true;
}

void CThumbnailView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (HasSkinBitmap(kBmpThumbnailArea)) {
    painter.drawPixmap(0, 0, SkinBitmap(kBmpThumbnailArea));
  } else {
    painter.fillRect(rect(), QColor(0x1C, 0x21, 0x25));
  }
  QFont font = painter.font();
  font.setPixelSize(10);
  painter.setFont(font);
  const QFontMetrics metrics(font);
  for (int index = 0; index < SlotCount(); ++index) {
    const Slot& slot = m_slots[static_cast<std::size_t>(index)];
    const QRect box = PictureBox(index);
    painter.fillRect(box, Qt::black);
    if (!slot.picture.isNull()) {
      QRect target(QPoint(0, 0), slot.picture.size());
      target.moveCenter(box.center());
      painter.drawImage(target.topLeft(), slot.picture);
    } else if (slot.done) {
      // No picture in this file: a crossed placeholder.
      painter.setPen(QColor(0x80, 0x80, 0x80));
      painter.drawRect(box.adjusted(0, 0, -1, -1));
      painter.drawLine(box.topLeft(), box.bottomRight());
      painter.drawLine(box.topRight(), box.bottomLeft());
    }
    painter.setPen(Qt::white);
    const QString name = QString::fromStdString(slot.file.filename().string());
    const QRect nameRect = NameRect(index);
    painter.drawText(nameRect, Qt::AlignHCenter | Qt::AlignVCenter,
                     ShownName(name, metrics, nameRect.width()));
  }
}

void CThumbnailView::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
  const int slot = SlotAt(event->position().toPoint());
  if (slot < 0) return;
  emit fileChosen(QString::fromStdString(SlotFile(slot).string()));
}

}  // namespace lumora
