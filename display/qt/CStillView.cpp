#include "display/qt/CStillView.h"

#include <QPainter>
#include <fstream>
#include <iterator>
#include <system_error>
#include <vector>

#include "platform/qt/MessageBox.h"

namespace lumora {

CStillView::CStillView(QWidget* parent, QString caption)
    : QWidget(parent), m_caption(std::move(caption)) {
  resize(CDrawBitmap::kDrawWidth, CDrawBitmap::kDrawHeight);
}

bool CStillView::LoadFile(const std::filesystem::path& path) {
  std::error_code ec;
  const auto size = std::filesystem::file_size(path, ec);
  if (ec || size == 0 || size > kMaxFileBytes) {
    m_bitmap.Clear();
    update();
    return false;
  }
  std::ifstream in(path, std::ios::binary);
  std::vector<std::uint8_t> data(static_cast<std::size_t>(size));
  in.read(reinterpret_cast<char*>(data.data()), static_cast<std::streamsize>(data.size()));
  if (in.gcount() != static_cast<std::streamsize>(data.size())) {
    m_bitmap.Clear();
    update();
    return false;
  }
  return LoadMemory(data.data(), data.size());
}

bool CStillView::LoadMemory(const std::uint8_t* data, std::size_t size) {
  const long long copied =
      m_bitmap.LoadFromMemory(data, size, nullptr, 0, 0, [this](const std::string& text) {
        ShowMessageBox(this, QString::fromStdString(text), m_caption, kMbOk, kMbIconNone);
      });
  update();
  return copied >= 0;
}

QImage CStillView::Picture() const {
  if (m_bitmap.Empty()) return {};
  const int stride = static_cast<int>((m_bitmap.Width() * 3 + 3) & ~3);
  QImage bottomUp(m_bitmap.Pixels(), m_bitmap.Width(), m_bitmap.Height(), stride,
                  QImage::Format_BGR888);
  return bottomUp.mirrored(false, true);  // a deep copy, top row first
}

void CStillView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (m_bitmap.Empty()) {
    painter.fillRect(rect(), palette().window());
    return;
  }
  painter.setRenderHint(QPainter::SmoothPixmapTransform);  // the half-tone stretch
  painter.drawImage(QRect(0, 0, CDrawBitmap::kDrawWidth, CDrawBitmap::kDrawHeight), Picture());
}

}  // namespace lumora
