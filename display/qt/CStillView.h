#pragma once
// Shows one captured still: the picture stretched to 320 x 240, or the
// background when none is loaded. Decoder messages are shown as message boxes.
#include <QString>
#include <QWidget>
#include <filesystem>

#include "display/CDrawBitmap.h"

namespace lumora {

class CStillView : public QWidget {
  Q_OBJECT

 public:
  explicit CStillView(QWidget* parent = nullptr, QString caption = {});

  // Reads and decodes a JPEG file; false (and an empty view) when it cannot.
  bool LoadFile(const std::filesystem::path& path);
  bool LoadMemory(const std::uint8_t* data, std::size_t size);
  const CDrawBitmap& Bitmap() const { return m_bitmap; }
  // The picture as the view draws it (top-down), null when empty.
  QImage Picture() const;
  // Largest still file read (the card's stills are a few hundred KiB).
  static constexpr std::uintmax_t kMaxFileBytes = 64u << 20;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  CDrawBitmap m_bitmap;
  QString m_caption;
};

}  // namespace lumora
